// The design-file commands on the real window: open, save and save-as by
// shortcut and context menu, a dropped file, the question about unsaved
// changes, and every way a file or a save can fail.
#include "app/commandline.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "design/designfile.h"
#include "fakes.h"
#include "ui/designcommands.h"
#include "ui/form1.h"
#include "ui/identity.h"

#include <deque>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Answers the file dialogs with names queued by the test; an empty queue is
// a cancelled dialog.
class FakeDialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString& folder) override {
        openFolders.push_back(folder);
        return next(opens);
    }
    QString saveDesign(QWidget*, const QString& title, const QString& suggested) override {
        saveTitles.push_back(title);
        saveSuggestions.push_back(suggested);
        return next(saves);
    }
    std::deque<QString> opens, saves;
    QStringList openFolders, saveTitles, saveSuggestions;

private:
    static QString next(std::deque<QString>& names) {
        if (names.empty()) {
            return {};
        }
        QString name = names.front();
        names.pop_front();
        return name;
    }
};

std::string contents(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void put(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

class DesignCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form.show();
        // Shortcuts reach only the active window.
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QString file(const char* name) const { return folder.filePath(QString::fromUtf8(name)); }
    calc::Sheet& sheet() { return form.sheet(); }
    // The caption as the title bar shows it, Qt's "[*]" mark resolved.
    QString caption() const { return form.windowHandle()->title(); }

    // A design file of the reset sheet with one text changed.
    QString designFile(const char* name, calc::TextField field, const char* text) {
        calc::MemorySheet memory;
        calc::qk(memory);
        memory.setText(field, text);
        const QString path = file(name);
        put(path, design::serialize(design::capture(memory)));
        return path;
    }

    void trigger(const char* action) {
        QAction* found = form.findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }

    // Drags the file onto the target and drops it there; whether the drag
    // was welcome.
    static bool drop(QWidget* target, const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        data.setText(QUrl::fromLocalFile(path).toString());
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent release(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &release);
        QApplication::processEvents();
        return enter.isAccepted();
    }

    // The names of the files in the folder: nothing stray is left by a save.
    QStringList filesInFolder() const {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    }

    QTemporaryDir folder;
    test::FakeBoxes boxes;
    FakeDialogs dialogs;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    ui::DesignCommands designs{form, boxes, dialogs};
};

TEST_F(DesignCommandsTest, SaveThenOpenGivesBackEveryFieldAndChoice) {
    // Pasted: QTest types only ASCII keys.
    test::control<QLineEdit>(form, "Text28")->setText(QStringLiteral("坍落度 35～50 mm"));
    test::type(form, "Text16", QStringLiteral("  "));
    test::type(form, "Text1", QString());
    sheet().setText(calc::Text29, std::string(1 << 20, '5'));
    QTest::mouseClick(test::control<QRadioButton>(form, "option2"), Qt::LeftButton);
    QTest::mouseClick(test::control<QRadioButton>(form, "粗砂"), Qt::LeftButton);
    sheet().setChecked(calc::Check::碎石, true);
    sheet().setChecked(calc::Check::卵石, false);
    test::type(form, "Text20", QStringLiteral("2400"));
    test::type(form, "Text1", QStringLiteral("30"));
    QTest::mouseClick(test::control<QPushButton>(form, "Command1"), Qt::LeftButton);
    const test::Snapshot saved = test::snapshot(sheet());
    ASSERT_EQ(saved.texts[calc::Text30 - 1], "1.00"); // calculated

    dialogs.saves.push_back(file("c30"));
    trigger("saveDesign");
    EXPECT_EQ(designs.currentFile(), file("c30.lanshi")); // the extension added
    EXPECT_EQ(dialogs.saveTitles, QStringList{QStringLiteral("保存设计")});

    QTest::mouseClick(test::control<QPushButton>(form, "Command3"), Qt::LeftButton);
    ASSERT_NE(test::snapshot(sheet()), saved);
    boxes.answers.push_back(QMessageBox::Discard);
    dialogs.opens.push_back(file("c30.lanshi"));
    trigger("openDesign");
    EXPECT_EQ(test::snapshot(sheet()), saved);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_FALSE(designs.isModified());
}

TEST_F(DesignCommandsTest, TheCaptionNamesTheFileOnlyWhileOneIsOpen) {
    EXPECT_EQ(caption(), ui::kWindowCaption);
    dialogs.saves.push_back(file("设计 一.lanshi"));
    ASSERT_TRUE(designs.saveAsCommand());
    EXPECT_EQ(caption(), ui::kWindowCaption + QStringLiteral(" - 设计 一.lanshi"));
    ASSERT_TRUE(designs.openFile(designFile("b.LANSHI", calc::Text1, "25")));
    EXPECT_EQ(caption(), ui::kWindowCaption + QStringLiteral(" - b.LANSHI"));
    EXPECT_EQ(sheet().text(calc::Text1), "25");
}

TEST_F(DesignCommandsTest, SaveWritesToTheOpenFileWithoutAsking) {
    const QString path = designFile("open.lanshi", calc::Text1, "25");
    ASSERT_TRUE(designs.openFile(path));
    test::type(form, "Text3", QStringLiteral("5"));
    EXPECT_TRUE(designs.isModified());
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.saveTitles.isEmpty());
    EXPECT_FALSE(designs.isModified());
    const design::ReadResult read = design::readFile(path.toStdString(), {});
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.design->text(calc::Text3), "5");
    EXPECT_EQ(read.design->text(calc::Text1), "25");

    // Save as offers the open file and leaves it alone when cancelled.
    QTest::keyClick(&form, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialogs.saveSuggestions, QStringList{path});
    EXPECT_EQ(dialogs.saveTitles, QStringList{QStringLiteral("另存为")});
    EXPECT_EQ(designs.currentFile(), path);
}

TEST_F(DesignCommandsTest, ANameTypedWithAnUpperCaseSuffixGetsNoSecondOne) {
    dialogs.saves.push_back(file("C30.LANSHI"));
    ASSERT_TRUE(designs.saveAsCommand());
    EXPECT_EQ(designs.currentFile(), file("C30.LANSHI"));
    EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("C30.LANSHI")});
    EXPECT_TRUE(boxes.asked.empty());
}

TEST_F(DesignCommandsTest, ShortcutsWorkWhileAFieldHasTheFocus) {
    const QString path = designFile("keys.lanshi", calc::Text3, "6");
    dialogs.opens.push_back(path);
    test::control<QLineEdit>(form, "Text5")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(sheet().text(calc::Text3), "6");
    EXPECT_EQ(dialogs.openFolders.size(), 1);
}

TEST_F(DesignCommandsTest, TheContextMenuOffersTheThreeCommandsOutsideTheFields) {
    QStringList offered;
    QTimer::singleShot(0, [&offered] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (const QAction* action : menu->actions()) {
                offered << action->text() + QLatin1Char('|') + action->shortcut().toString();
            }
            menu->close();
        }
    });
    // On a label: the right click goes to the window.
    QWidget* label = test::control<QWidget>(form, "Label9");
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5),
                            label->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(label, &click);
    // The file commands, then the report's, set apart.
    EXPECT_EQ(
        offered,
        (QStringList{QStringLiteral("打开设计…|Ctrl+O"), QStringLiteral("保存设计|Ctrl+S"),
                     QStringLiteral("另存为…|Ctrl+Shift+S"), QStringLiteral("|"),
                     QStringLiteral("打印预览…|Ctrl+P"), QStringLiteral("导出 PDF…|Ctrl+Shift+E"),
                     QStringLiteral("复制计算书|Ctrl+Shift+C"), QStringLiteral("|"),
                     QStringLiteral("全部重新计算|Ctrl+Shift+R")}));
    EXPECT_EQ(test::control<QLineEdit>(form, "Text1")->contextMenuPolicy(), Qt::DefaultContextMenu);
}

TEST_F(DesignCommandsTest, ADroppedDesignOpensAndOtherDropsAreLeftAlone) {
    const QString path = designFile("dropped.lanshi", calc::Text26, "175");
    EXPECT_FALSE(drop(&form, file("notes.txt")));
    EXPECT_EQ(sheet().text(calc::Text26), "180");

    // Dropped on a field, the file opens instead of its address being typed.
    EXPECT_TRUE(drop(test::control<QLineEdit>(form, "Text1"), path));
    EXPECT_EQ(sheet().text(calc::Text26), "175");
    EXPECT_EQ(sheet().text(calc::Text1), "20");
    EXPECT_EQ(designs.currentFile(), path);
}

// ---------------------------------------------------------------------------
// The question about unsaved changes

TEST_F(DesignCommandsTest, AnUnchangedSheetIsReplacedWithoutAQuestion) {
    dialogs.opens.push_back(designFile("a.lanshi", calc::Text1, "25"));
    trigger("openDesign");
    // A calculation and a clear that end where the sheet started change nothing.
    test::type(form, "Text1", QStringLiteral("25"));
    dialogs.opens.push_back(designFile("b.lanshi", calc::Text1, "35"));
    trigger("openDesign");
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(sheet().text(calc::Text1), "35");
}

TEST_F(DesignCommandsTest, CancelKeepsTheSheetAndAsksForNoFile) {
    test::type(form, "Text1", QStringLiteral("45"));
    boxes.answers.push_back(QMessageBox::Cancel);
    dialogs.opens.push_back(designFile("a.lanshi", calc::Text1, "25"));
    trigger("openDesign");
    ASSERT_EQ(boxes.asked.size(), 1u);
    EXPECT_EQ(boxes.asked[0].buttons,
              QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    EXPECT_TRUE(dialogs.openFolders.isEmpty());
    EXPECT_EQ(sheet().text(calc::Text1), "45");

    // Closing the box is a cancel too.
    trigger("openDesign");
    EXPECT_EQ(boxes.asked.size(), 2u);
    EXPECT_EQ(sheet().text(calc::Text1), "45");
}

// The two stones are a part of the design as much as any text: ticking one
// alone, after opening or after saving, is a change the user is asked about
// before 打开设计… or a dropped file replaces the sheet.
TEST_F(DesignCommandsTest, TickingOnlyAStoneIsAChange) {
    const QString dropped = designFile("dropped.lanshi", calc::Text26, "175");
    for (const char* stone : {"卵石", "碎石"}) {
        for (const bool afterSave : {false, true}) {
            SCOPED_TRACE(std::string(stone) + (afterSave ? " after saving" : " after opening"));
            ASSERT_TRUE(designs.openFile(designFile("a.lanshi", calc::Text1, "25")));
            if (afterSave) {
                dialogs.saves.push_back(file("saved.lanshi"));
                ASSERT_TRUE(designs.saveAsCommand());
            }
            auto* check = test::control<QCheckBox>(form, stone);
            const bool wasChecked = check->isChecked();
            QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
            ASSERT_NE(check->isChecked(), wasChecked);
            boxes.asked.clear();

            boxes.answers.push_back(QMessageBox::Cancel);
            trigger("openDesign");
            EXPECT_EQ(boxes.asked.size(), 1u);
            EXPECT_TRUE(dialogs.openFolders.isEmpty());

            boxes.answers.push_back(QMessageBox::Cancel);
            drop(&form, dropped);
            EXPECT_EQ(boxes.asked.size(), 2u);
            EXPECT_EQ(sheet().text(calc::Text26), "180");
            EXPECT_EQ(check->isChecked(), !wasChecked);
        }
    }
}

TEST_F(DesignCommandsTest, SaveFirstSavesThenOpens) {
    const QString first = designFile("first.lanshi", calc::Text1, "25");
    ASSERT_TRUE(designs.openFile(first));
    test::type(form, "Text1", QStringLiteral("27"));
    boxes.answers.push_back(QMessageBox::Save);
    dialogs.opens.push_back(designFile("second.lanshi", calc::Text1, "35"));
    trigger("openDesign");
    EXPECT_NE(boxes.asked.at(0).text.indexOf(QStringLiteral("first.lanshi")), -1);
    EXPECT_NE(contents(first).find("\"Text1\": \"27\""), std::string::npos);
    EXPECT_EQ(sheet().text(calc::Text1), "35");
}

TEST_F(DesignCommandsTest, ASaveThatFailsOrIsCancelledOpensNothing) {
    test::type(form, "Text1", QStringLiteral("27"));
    // No file yet: saving asks for a name; cancelling that cancels the open.
    boxes.answers = {QMessageBox::Save, QMessageBox::Save};
    dialogs.opens.push_back(designFile("other.lanshi", calc::Text1, "35"));
    trigger("openDesign");
    EXPECT_EQ(dialogs.saveTitles.size(), 1);
    EXPECT_TRUE(dialogs.openFolders.isEmpty());

    designs.setSaveFault([](ui::SaveStep step) { return step == ui::SaveStep::Write; });
    dialogs.saves.push_back(file("new.lanshi"));
    trigger("openDesign");
    EXPECT_TRUE(dialogs.openFolders.isEmpty());
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(sheet().text(calc::Text1), "27");
    EXPECT_TRUE(designs.currentFile().isEmpty());
}

// Unsaved work is never dropped without a question: the close box and 退出
// ask only when something would be lost, 取消 keeps the window, 不保存 ends
// it, 保存 saves first.
TEST_F(DesignCommandsTest, LeavingAsksOnlyWhenSomethingWouldBeLost) {
    form.close();
    EXPECT_TRUE(boxes.asked.empty()) << "nothing changed since the start";
    EXPECT_FALSE(form.isVisible());

    form.show();
    test::type(form, "Text1", QStringLiteral("27"));
    form.close(); // no answer: 取消
    ASSERT_EQ(boxes.asked.size(), 1U);
    EXPECT_EQ(boxes.asked[0].text,
              QStringLiteral("当前设计已修改，尚未保存。\n关闭之前，是否保存？"));
    EXPECT_TRUE(form.isVisible());

    QTest::mouseClick(test::control<QPushButton>(form, "Command4"), Qt::LeftButton);
    EXPECT_EQ(boxes.asked.size(), 2U) << "退出 asks too";
    EXPECT_TRUE(form.isVisible());

    boxes.answers = {QMessageBox::Save};
    dialogs.saves = {file("left.lanshi")};
    QTest::mouseClick(test::control<QPushButton>(form, "Command4"), Qt::LeftButton);
    EXPECT_NE(contents(file("left.lanshi")).find("\"Text1\": \"27\""), std::string::npos);

    test::type(form, "Text1", QStringLiteral("28"));
    boxes.answers = {QMessageBox::Discard};
    form.close();
    EXPECT_FALSE(form.isVisible());
}

// ---------------------------------------------------------------------------
// Files that cannot be opened

TEST_F(DesignCommandsTest, ABadFileLeavesTheSheetAndSaysWhichAndWhy) {
    test::type(form, "Text1", QStringLiteral("27"));
    QTest::mouseClick(test::control<QPushButton>(form, "Command1"), Qt::LeftButton);
    const test::Snapshot before = test::snapshot(sheet());
    const QString good = designFile("good.lanshi", calc::Text1, "25");
    const std::string whole = contents(good);

    QDir(folder.path()).mkdir(QStringLiteral("folder.lanshi"));
    struct Case {
        const char* name;
        std::string bytes;
        const char* says;
    };
    const Case cases[] = {
        {"not-json.lanshi", "Text1 = 20", "语法错误"},
        {"truncated.lanshi", whole.substr(0, whole.size() / 2), "不完整"},
        {"utf16.lanshi", std::string("\xFF\xFE{\0\"\0", 6), "二进制"},
        {"latin1.lanshi", "{\"lanshi-design\": 1, \"fields\": {\"Text28\": \"caf\xE9\"}}",
         "第 1 行第 47 列不是有效的 UTF-8"},
        {"empty.lanshi", "", "空的"},
        {"huge.lanshi", std::string(design::kMaxFileSize + 1, ' '), "太大"},
        {"number.lanshi", R"({"lanshi-design": 1, "fields": {"Text1": 20}})", "“Text1” 应为文字"},
        {"flag.lanshi", R"({"lanshi-design": 1, "卵石": "是"})", "“卵石” 应为 true 或 false"},
        {"newer.lanshi", R"({"lanshi-design": 2, "fields": {}})", "较新版本"},
        {"both.lanshi", R"({"lanshi-design": 1, "option1": true, "option2": true})", "同时选中"},
        {"folder.lanshi", "", "文件夹"},
        {"missing.lanshi", "", "不存在"},
        // Never opened, never read: no hang, no memory filled with zeros.
        {"zero.lanshi", "", "不是普通文件"},
        {"fifo.lanshi", "", "不是普通文件"},
    };
    QFile::link(QStringLiteral("/dev/zero"), file("zero.lanshi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file("fifo.lanshi")).constData(), 0600), 0);
    for (const Case& c : cases) {
        const QString path = file(c.name);
        const std::string_view name(c.name);
        if (name != "folder.lanshi" && name != "missing.lanshi" && name != "zero.lanshi" &&
            name != "fifo.lanshi") {
            put(path, c.bytes);
        }
        boxes.shown.clear();
        EXPECT_FALSE(designs.openFile(path)) << c.name;
        EXPECT_EQ(test::snapshot(sheet()), before) << c.name;
        ASSERT_EQ(boxes.shown.size(), 1u) << c.name;
        EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Warning);
        const QString text = boxes.shown[0].text;
        EXPECT_TRUE(text.startsWith(QStringLiteral("无法打开设计文件“%1”").arg(path))) << c.name;
        EXPECT_NE(text.indexOf(QString::fromUtf8(c.says)), -1)
            << c.name << ": " << text.toStdString();
        EXPECT_EQ(caption(), ui::kWindowCaption + u'*') << c.name; // still unsaved
        EXPECT_TRUE(designs.currentFile().isEmpty()) << c.name;
    }
}

// ---------------------------------------------------------------------------
// Saves that fail

TEST_F(DesignCommandsTest, AFailedSaveKeepsTheOldFileTheSheetAndTheFolderClean) {
    const QString path = designFile("kept.lanshi", calc::Text1, "25");
    ASSERT_TRUE(designs.openFile(path));
    const std::string old = contents(path);
    test::type(form, "Text1", QStringLiteral("27"));
    const test::Snapshot edited = test::snapshot(sheet());

    for (const ui::SaveStep failing :
         {ui::SaveStep::Open, ui::SaveStep::Write, ui::SaveStep::Commit}) {
        designs.setSaveFault([failing](ui::SaveStep step) { return step == failing; });
        boxes.shown.clear();
        EXPECT_FALSE(designs.saveCommand());
        EXPECT_EQ(contents(path), old);
        EXPECT_EQ(filesInFolder(), QStringList{QStringLiteral("kept.lanshi")});
        EXPECT_EQ(test::snapshot(sheet()), edited);
        EXPECT_TRUE(designs.isModified());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_TRUE(
            boxes.shown[0].text.startsWith(QStringLiteral("无法保存设计文件“%1”").arg(path)));
    }
    designs.setSaveFault({});
    EXPECT_TRUE(designs.saveCommand());
    EXPECT_NE(contents(path), old);
}

TEST_F(DesignCommandsTest, SavingWhereNoFileCanBeKeepsTheOldName) {
    const QString path = designFile("kept.lanshi", calc::Text1, "25");
    ASSERT_TRUE(designs.openFile(path));
    QDir(folder.path()).mkdir(QStringLiteral("taken.lanshi"));
    struct Case {
        QString name;
        const char* says;
    };
    const Case cases[] = {
        {file("taken.lanshi"), "文件夹的名字"},
        {file("gone/x.lanshi"), "不存在"},
    };
    for (const Case& c : cases) {
        boxes.shown.clear();
        dialogs.saves.push_back(c.name);
        EXPECT_FALSE(designs.saveAsCommand());
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_NE(boxes.shown[0].text.indexOf(QString::fromUtf8(c.says)), -1)
            << boxes.shown[0].text.toStdString();
        EXPECT_EQ(designs.currentFile(), path);
        EXPECT_EQ(caption(), ui::kWindowCaption + QStringLiteral(" - kept.lanshi"));
    }
}

TEST_F(DesignCommandsTest, ASaveReplacesTheFileWhole) {
    const QString path = file("big.lanshi");
    sheet().setText(calc::Text17, std::string(1 << 20, '9'));
    dialogs.saves.push_back(path);
    ASSERT_TRUE(designs.saveCommand());
    const std::string big = contents(path);
    sheet().setText(calc::Text17, "");
    ASSERT_TRUE(designs.saveCommand());
    EXPECT_LT(contents(path).size(), big.size() / 100);
    EXPECT_EQ(contents(path), design::serialize(design::capture(sheet())));
}

// `lanshi FILE`: the start-up as main() runs it, the file named relative to
// the working folder as a shell gives it.
TEST(StartUp, TheCommandLineDesignReplacesTheDefaultsAfterTheLoad) {
    QTemporaryDir folder;
    calc::MemorySheet memory;
    calc::qk(memory);
    memory.setText(calc::Text1, "40");
    memory.select(calc::Option::option2);
    put(folder.filePath(QStringLiteral("c40.lanshi")), design::serialize(design::capture(memory)));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const app::CommandLine command =
        app::parseCommandLine({QStringLiteral("lanshi"), QStringLiteral("c40.lanshi")});

    test::FakeBoxes boxes;
    FakeDialogs dialogs;
    ui::Form1 form(calc::NumberFormat{}, boxes);
    ui::DesignCommands designs(form, boxes, dialogs);
    form.show();
    EXPECT_TRUE(designs.openFile(command.design));
    QDir::setCurrent(previous);
    EXPECT_EQ(test::snapshot(form.sheet()), test::snapshot(memory));
    EXPECT_EQ(designs.currentFile(), folder.filePath(QStringLiteral("c40.lanshi")));
    EXPECT_FALSE(designs.isModified());
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
