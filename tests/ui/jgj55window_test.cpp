// The JGJ 55-2011 window, offscreen: results as one types, table values
// greyed in place, a wrong input marked without a box, the regional decimal
// symbol, and its files.
#include "design/designfile.h"
#include "fakes.h"
#include "jgj55/designfile.h"
#include "session/commands.h"
#include "ui/filedialogs.h"
#include "ui/jgj55command.h"
#include "ui/jgj55window.h"
#include "ui/reportcommands.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Dialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return openPath; }
    QString saveDesign(QWidget*, const QString&, const QString&) override {
        ++saveAsks;
        return savePath;
    }
    QString openPath;
    QString savePath;
    int saveAsks = 0;
};

class ReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*,
                                                const ui::ReportDetails& proposed) override {
        return proposed;
    }
    QString askPdfPath(QWidget*, const QString&) override { return pdfPath; }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override { ++previews; }
    QString pdfPath;
    int previews = 0;
};

class Jgj55WindowTest : public ::testing::Test {
protected:
    std::unique_ptr<ui::Jgj55Window> make(const calc::NumberFormat& format = {}) {
        auto window = std::make_unique<ui::Jgj55Window>(format, boxes, dialogs, reports);
        window->show();
        return window;
    }
    // Example A of the design's tests: C30, 42.5, 20 % fly ash, 1 % admixture
    // saving 20 %, crushed 20 mm, slump 180 mm.
    void typeExampleA(ui::Jgj55Window& w) {
        test::type(w, "fcuk", "30");
        test::type(w, "maxSize", "20");
        test::type(w, "slump", "180");
        test::type(w, "flyAsh.fraction", "20");
        test::type(w, "admixture.fraction", "1");
        test::type(w, "admixture.waterReduction", "20");
    }
    QString result(ui::Jgj55Window& w, const char* key) {
        return test::control<QLabel>(w, (std::string("result_") + key).c_str())->text();
    }
    QLineEdit* field(ui::Jgj55Window& w, const char* key) {
        return test::control<QLineEdit>(w, key);
    }
    static void trigger(ui::Jgj55Window& w, const char* action) {
        QAction* found = w.findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }

    test::FakeBoxes boxes;
    Dialogs dialogs;
    ReportDialogs reports;
};

TEST_F(Jgj55WindowTest, DesignsAsOneTypesWithTheFormulaInTheTip) {
    auto w = make();
    EXPECT_EQ(result(*w, "sand"), "—"); // no strength yet
    typeExampleA(*w);
    EXPECT_EQ(result(*w, "waterBinder"), "0.52");
    EXPECT_EQ(result(*w, "binder"), "365");
    EXPECT_EQ(result(*w, "sand"), "756");
    EXPECT_EQ(result(*w, "stone"), "1089");
    EXPECT_EQ(
        test::control<QLabel>(*w, "result_waterBinder")->toolTip(),
        "W/B = αa·fb / (fcu,0 + αa·αb·fb) = 0.53 × 41.9 / (38.2 + 0.53 × 0.20 × 41.9) = 0.52");
    EXPECT_TRUE(w->status().isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Jgj55WindowTest, ShowsTableValuesGreyedAndTypingOverridesThem) {
    auto w = make();
    typeExampleA(*w);
    EXPECT_TRUE(field(*w, "sigma")->text().isEmpty());
    // The figure greyed in the field, readable in place; the table in the tip.
    const std::pair<const char*, const char*> greyed[] = {
        {"sigma", "5（标准差 σ 取值表）"},
        {"sandRatio", "41（表 5.4.2 混凝土的砂率）"},
        {"water", "237.5（塑性混凝土的用水量表）"},
        {"flyAsh.gammaF", "0.85（表 5.1.3 粉煤灰影响系数 γf 和粒化高炉矿渣粉影响系数 γs）"},
        {"cementDensity", "3100（默认值）"},
    };
    for (const auto& [key, shown] : greyed) {
        const QString text = QString::fromUtf8(shown);
        EXPECT_EQ(field(*w, key)->placeholderText(), text.left(text.indexOf(u'（'))) << key;
        EXPECT_TRUE(field(*w, key)->toolTip().startsWith(text)) << key;
    }
    test::type(*w, "sigma", "4");
    EXPECT_EQ(result(*w, "fcu0"), "36.6"); // 30 + 1.645 × 4 = 36.58
    EXPECT_TRUE(field(*w, "sigma")->placeholderText().isEmpty());
}

TEST_F(Jgj55WindowTest, MarksAWrongInputAndSaysWhyWithoutABox) {
    auto w = make();
    typeExampleA(*w);
    test::type(*w, "slump", "1x0");
    EXPECT_FALSE(field(*w, "slump")->styleSheet().isEmpty());
    EXPECT_TRUE(w->status().contains("坍落度")) << w->status().toStdString();
    EXPECT_EQ(result(*w, "sand"), "—");
    test::type(*w, "slump", "180");
    EXPECT_TRUE(field(*w, "slump")->styleSheet().isEmpty());
    // A dosage beyond table 5.1.3 is refused and its field marked.
    test::type(*w, "flyAsh.fraction", "45");
    EXPECT_FALSE(field(*w, "flyAsh.fraction")->styleSheet().isEmpty());
    EXPECT_TRUE(w->status().contains("试验")) << w->status().toStdString();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Jgj55WindowTest, ReadsAndWritesTheRegionalDecimalSymbol) {
    auto w =
        make(calc::NumberFormat{.decimal = ",", .group = ".", .groupSize = 3, .negative = "-"});
    typeExampleA(*w);
    EXPECT_EQ(result(*w, "waterBinder"), "0,52");
    test::type(*w, "maxSize", "31,5"); // read whole, not cut at the comma
    EXPECT_TRUE(w->status().isEmpty()) << w->status().toStdString();
    EXPECT_EQ(field(*w, "water")->placeholderText(), "227,5");
}

TEST_F(Jgj55WindowTest, SavesAndOpensTheDesignFile) {
    QTemporaryDir folder;
    auto w = make();
    typeExampleA(*w);
    test::control<QComboBox>(*w, "environment")->setCurrentIndex(1); // 二a
    const QString path = folder.filePath("a.lanshi");
    ASSERT_TRUE(w->saveFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const jgj55::ReadResult read = jgj55::read(bytes.toStdString());
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.input->flyAsh->fraction, 0.2);
    EXPECT_EQ(read.input->environment, jgj55::Environment::IIa);
    EXPECT_FALSE(read.input->sigma);

    auto again = make();
    ASSERT_TRUE(again->openFile(path));
    EXPECT_EQ(field(*again, "flyAsh.fraction")->text(), "20");
    EXPECT_EQ(result(*again, "sand"), result(*w, "sand"));
    // Saved again: the same bytes.
    ASSERT_TRUE(again->saveFile(folder.filePath("b.lanshi")));
    QFile second(folder.filePath("b.lanshi"));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), bytes);
    EXPECT_FALSE(again->openFile(folder.filePath("missing.lanshi")));
}

TEST_F(Jgj55WindowTest, SaveAfterSaveAsWritesTheSameFileWithoutAsking) {
    QTemporaryDir folder;
    auto w = make();
    typeExampleA(*w);
    const QString path = folder.filePath("a.lanshi");
    dialogs.savePath = path;
    trigger(*w, "saveDesignAs");
    ASSERT_EQ(dialogs.saveAsks, 1);
    ASSERT_TRUE(QFile::exists(path));

    test::type(*w, "slump", "160");
    dialogs.savePath = folder.filePath("other.lanshi"); // what a second question would give
    trigger(*w, "saveDesign");
    EXPECT_EQ(dialogs.saveAsks, 1);
    EXPECT_FALSE(QFile::exists(dialogs.savePath));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const jgj55::ReadResult read = jgj55::read(file.readAll().toStdString());
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.input->slump, 160);
}

TEST_F(Jgj55WindowTest, SaveAsKeepsASuffixTypedInUpperCase) {
    QTemporaryDir folder;
    auto w = make();
    typeExampleA(*w);
    dialogs.savePath = folder.filePath("C30.LANSHI");
    trigger(*w, "saveDesignAs");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"C30.LANSHI"});
}

// The JGJ 55-2011 reader takes a file of up to 1 MiB: one byte more is too
// large, however it ends, and not a JSON text cut short.
TEST_F(Jgj55WindowTest, RefusesAFileJustOverTheSizeLimitAsTooLarge) {
    // The one limit of every design file, of either kind.
    constexpr auto kLimit = qsizetype(design::kMaxFileSize);
    QTemporaryDir folder;
    auto w = make();
    typeExampleA(*w);
    ASSERT_TRUE(w->saveFile(folder.filePath("a.lanshi")));
    QFile saved(folder.filePath("a.lanshi"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const qsizetype close = bytes.lastIndexOf('}');
    ASSERT_GT(close, 0);
    // Blanks before the closing brace, the file's last byte: the design fills
    // the file to `size`, and a read cut short would end in an open object.
    const auto padded = [&](const char* name, qsizetype size) {
        const QString path = folder.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.left(close) + QByteArray(size - close - 1, ' ') + '}');
        return path;
    };
    auto again = make();
    EXPECT_TRUE(again->openFile(padded("limit.lanshi", kLimit))) << again->status().toStdString();
    EXPECT_FALSE(again->openFile(padded("over.lanshi", kLimit + 1)));
    EXPECT_TRUE(again->status().contains("文件太大")) << again->status().toStdString();
}

TEST_F(Jgj55WindowTest, TheClassicWindowGainsOneCommandThatOpensTheNewWindow) {
    QWidget classic;
    ui::Jgj55Command command(classic, {}, boxes, dialogs, reports);
    ASSERT_EQ(classic.actions().size(), 1);
    EXPECT_EQ(classic.actions().front()->text(), "新建 JGJ 55-2011 设计…");
    EXPECT_EQ(classic.actions().front()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
    ui::Jgj55Window* opened = command.newDesign();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    opened->close();
}

TEST_F(Jgj55WindowTest, CopiesTheReport) {
    auto w = make();
    EXPECT_TRUE(w->reportText().isEmpty());
    typeExampleA(*w);
    EXPECT_TRUE(w->reportText().contains("设计依据：JGJ 55-2011"));
    EXPECT_TRUE(w->reportText().contains("计算：________________"));
}

} // namespace

namespace {

// 打开设计 asks before an edited design is replaced, as the classic window
// does: 取消 keeps it, 不保存 opens the other; the caption marks the edit.
TEST_F(Jgj55WindowTest, OpenAsksBeforeAnEditedDesignIsReplaced) {
    QTemporaryDir folder;
    auto w = make();
    typeExampleA(*w);
    ASSERT_TRUE(w->saveFile(folder.filePath("a.lanshi")));
    EXPECT_FALSE(w->isWindowModified());
    test::type(*w, "slump", "160");
    EXPECT_TRUE(w->isWindowModified());
    EXPECT_TRUE(w->windowTitle().endsWith(QStringLiteral("[*]")));

    auto other = make();
    typeExampleA(*other);
    test::type(*other, "fcuk", "40");
    ASSERT_TRUE(other->saveFile(folder.filePath("b.lanshi")));

    dialogs.openPath = folder.filePath("b.lanshi");
    trigger(*w, "openDesign"); // no answer: 取消
    ASSERT_EQ(boxes.asked.size(), 1U);
    EXPECT_EQ(field(*w, "slump")->text(), "160");
    EXPECT_EQ(field(*w, "fcuk")->text(), "30");

    boxes.answers = {QMessageBox::Discard};
    trigger(*w, "openDesign");
    EXPECT_EQ(field(*w, "fcuk")->text(), "40");
    EXPECT_FALSE(w->isWindowModified());
}

// A classic design opened here goes to the classic window; this design
// stays as it is.
TEST_F(Jgj55WindowTest, AClassicDesignGoesToTheClassicWindow) {
    QTemporaryDir folder;
    const QString classic = folder.filePath("c.lanshi");
    QFile file(classic);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"lanshi-design": 1, "fields": {"Text1": "25"}})");
    file.close();
    auto w = make();
    typeExampleA(*w);
    QString handed;
    w->setOpenElsewhere([&handed](const QString& path) { handed = path; });
    EXPECT_FALSE(w->openFile(classic));
    EXPECT_EQ(handed, classic);
    EXPECT_EQ(field(*w, "fcuk")->text(), "30");
    EXPECT_FALSE(w->status().contains(QStringLiteral("standard"))) << w->status().toStdString();
}

} // namespace

namespace {

// Closing the JGJ window with unsaved changes asks, as the classic one does.
TEST_F(Jgj55WindowTest, ClosingAnEditedDesignAsks) {
    auto w = make();
    w->close();
    EXPECT_TRUE(boxes.asked.empty()) << "a new design, untouched";
    w->show();
    typeExampleA(*w);
    w->close(); // 取消
    ASSERT_EQ(boxes.asked.size(), 1U);
    EXPECT_TRUE(w->isVisible());
    boxes.answers = {QMessageBox::Discard};
    w->close();
    EXPECT_FALSE(w->isVisible());
}

// On a 1 024 × 768 screen every column shows without scrolling sideways, and
// neither typing nor the results nor a long status line move anything; every
// figure and greyed value is readable in its cell.
TEST_F(Jgj55WindowTest, FitsA1024ScreenAndKeepsItsWidth) {
    auto w = make();
    w->resize(1024, 768);
    QCoreApplication::processEvents();
    auto* scroll = w->findChild<QScrollArea*>(QStringLiteral("scroll"));
    ASSERT_NE(scroll, nullptr);
    const auto noSidewaysScroll = [&] {
        QCoreApplication::processEvents();
        EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    };
    noSidewaysScroll();
    const int content = scroll->widget()->sizeHint().width();
    typeExampleA(*w);
    test::type(*w, "sandMoisture", "3.5");
    test::type(*w, "stoneMoisture", "1");
    test::type(*w, "assumedDensity", "2350.125");
    EXPECT_EQ(w->width(), 1024);
    EXPECT_EQ(scroll->widget()->sizeHint().width(), content);
    noSidewaysScroll();
    // A status line longer than the screen is wide wraps.
    EXPECT_FALSE(w->openFile(QStringLiteral("/无此文件夹/") + QString(120, u'长') +
                             QStringLiteral(".lanshi")));
    QCoreApplication::processEvents();
    EXPECT_GT(w->fontMetrics().horizontalAdvance(w->status()), 1024);
    EXPECT_EQ(w->width(), 1024);
    EXPECT_EQ(scroll->widget()->sizeHint().width(), content);

    const auto fits = [](const QWidget* cell, const QString& text) {
        EXPECT_LE(cell->fontMetrics().horizontalAdvance(text), cell->contentsRect().width())
            << cell->objectName().toStdString() << " " << text.toStdString();
    };
    for (QLabel* label : w->findChildren<QLabel*>()) {
        if (label->objectName().startsWith(QStringLiteral("result_")) ||
            label->objectName().startsWith(QStringLiteral("construction_")) ||
            label->objectName().startsWith(QStringLiteral("trial_"))) {
            fits(label, label->text());
        }
    }
    for (QLineEdit* edit : w->findChildren<QLineEdit*>()) {
        // A line edit's text sits inside its frame and margins.
        fits(edit, edit->placeholderText() + QStringLiteral("  "));
    }
    EXPECT_FALSE(test::control<QLabel>(*w, "construction_sand")->text().isEmpty());
    EXPECT_EQ(test::control<QLabel>(*w, "trialTitle")->text(), "试拌 20 L");
}

// The menu bar holds the commands of the command table, each with its
// shortcut, in the table's menus; 新建 asks first, then starts anew.
TEST_F(Jgj55WindowTest, TheMenuBarHoldsTheFileReportAndHelpCommands) {
    auto w = make();
    auto* bar = w->findChild<QMenuBar*>(QStringLiteral("menuBar"));
    ASSERT_NE(bar, nullptr);
    std::vector<std::pair<QString, QStringList>> menus;
    for (QAction* entry : bar->actions()) {
        QStringList names;
        for (QAction* a : entry->menu()->actions()) {
            names << a->objectName();
            const session::Command* c =
                session::findCommand(session::DocumentKind::jgj55, a->objectName().toStdString());
            ASSERT_NE(c, nullptr);
            EXPECT_EQ(a->shortcut(),
                      QKeySequence(QString::fromUtf8(c->keys.data(), c->keys.size())));
        }
        menus.emplace_back(entry->text(), names);
    }
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"文件", {"newDesign", "openDesign", "saveDesign", "saveDesignAs"}},
        {"计算书", {"previewReport", "exportReportPdf", "copyReport"}},
        {"帮助", {"openGuide"}},
    };
    EXPECT_EQ(menus, expected);
    // A command given later (配合比通知单… comes from outside) joins its menu.
    auto* notice = new QAction(w.get());
    notice->setObjectName(QStringLiteral("mixNotice"));
    w->addAction(notice);
    EXPECT_EQ(bar->actions()[1]->menu()->actions().last(), notice);

    typeExampleA(*w);
    ASSERT_TRUE(w->isModified());
    bar->actions()[1]->menu()->actions()[0]->trigger(); // 打印预览
    EXPECT_EQ(reports.previews, 1);
    boxes.answers = {QMessageBox::Cancel};
    bar->actions()[0]->menu()->actions()[0]->trigger(); // 新建, cancelled
    EXPECT_EQ(field(*w, "fcuk")->text(), "30");
    boxes.answers = {QMessageBox::Discard};
    bar->actions()[0]->menu()->actions()[0]->trigger();
    EXPECT_EQ(boxes.asked.size(), 2U);
    EXPECT_TRUE(field(*w, "fcuk")->text().isEmpty());
    EXPECT_FALSE(w->isModified());
    EXPECT_EQ(result(*w, "sand"), "—");
}

// Full-width digits and a "%" are read as typed with an input method.
TEST_F(Jgj55WindowTest, ReadsWhatAChineseInputMethodTypes) {
    auto w = make();
    // The text an input method commits to the field.
    const auto commit = [&](const char* key, const QString& text) {
        QLineEdit* edit = field(*w, key);
        edit->setFocus();
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(edit, &event);
    };
    commit("fcuk", "３０");
    commit("maxSize", "２０");
    commit("slump", "１８０");
    commit("flyAsh.fraction", "20%");
    commit("admixture.fraction", "１％");
    commit("admixture.waterReduction", "20 %");
    EXPECT_TRUE(w->status().isEmpty()) << w->status().toStdString();
    EXPECT_EQ(result(*w, "sand"), "756"); // as example A typed plainly
}

// A note of 注意 and a value outside its range stand at their field or
// figure as a ⚠ with the words in its tip; the line above the results counts.
TEST_F(Jgj55WindowTest, MarksEachWarningWhereItConcernsAndCountsThem) {
    auto w = make();
    typeExampleA(*w);
    const auto mark = [&](const char* name) { return test::control<QLabel>(*w, name); };
    EXPECT_TRUE(mark("noteCount")->text().isEmpty());
    EXPECT_TRUE(mark("mark_fcuk")->text().isEmpty());
    test::type(*w, "fcuk", "20");
    auto* environment = test::control<QComboBox>(*w, "environment");
    environment->setCurrentIndex(environment->findText(QStringLiteral("三b")));
    EXPECT_EQ(mark("mark_fcuk")->text(), "⚠");
    EXPECT_TRUE(mark("mark_fcuk")->toolTip().contains("最低强度等级"));
    EXPECT_EQ(mark("mark_result_waterBinder")->text(), "⚠");
    EXPECT_TRUE(mark("mark_result_waterBinder")->toolTip().contains("计算水胶比"));
    EXPECT_TRUE(mark("noteCount")->text().startsWith("⚠ 注意 "))
        << mark("noteCount")->text().toStdString();

    test::type(*w, "sandRatio", "0.4");
    EXPECT_EQ(mark("mark_sandRatio")->text(), "⚠");
    EXPECT_EQ(mark("mark_sandRatio")->toolTip(), "砂率 0.4 % 不在常用范围 20–50 %，是否应为 40？");
    EXPECT_FALSE(field(*w, "sandRatio")->styleSheet().isEmpty());
    EXPECT_TRUE(field(*w, "sandRatio")->toolTip().startsWith("砂率 0.4 %"));
    EXPECT_TRUE(mark("noteCount")->text().endsWith("，1 项不在常用范围"));
    EXPECT_NE(result(*w, "sand"), "—"); // designed all the same
    test::type(*w, "sandRatio", "40");
    EXPECT_TRUE(mark("mark_sandRatio")->text().isEmpty());
    EXPECT_TRUE(field(*w, "sandRatio")->styleSheet().isEmpty());
}

} // namespace
