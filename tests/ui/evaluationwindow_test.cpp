// The strength evaluation's window, offscreen: the verdict and the figures
// as one types into the table, a pasted block, a bad cell marked without a
// box, its files, leaving when modified, and the commands the other windows
// gain (新建强度评定…, 导入强度标准差…).
#include "fakes.h"
#include "ui/evaluationcommand.h"
#include "ui/evaluationwindow.h"
#include "ui/filedialogs.h"
#include "ui/jgj55window.h"
#include "ui/reportcommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Dialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return openPath; }
    QString saveDesign(QWidget*, const QString&, const QString&) override { return savePath; }
    QString openPath;
    QString savePath;
};

class ReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*,
                                                const ui::ReportDetails& proposed) override {
        return proposed;
    }
    QString askPdfPath(QWidget*, const QString&) override { return {}; }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override { ++previews; }
    int previews = 0;
};

bool write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class EvaluationWindowTest : public ::testing::Test {
protected:
    std::unique_ptr<ui::EvaluationWindow> make() {
        auto window =
            std::make_unique<ui::EvaluationWindow>(calc::NumberFormat{}, boxes, dialogs, reports);
        window->show();
        return window;
    }
    // Types into a cell as a user does: the editor opened, the text typed,
    // Enter.
    static void typeCell(ui::EvaluationWindow& w, int row, int column, const QString& text) {
        QTableWidget* table = w.table();
        table->setCurrentCell(row, column);
        table->editItem(table->item(row, column));
        auto* editor =
            qobject_cast<QLineEdit*>(table->indexWidget(table->model()->index(row, column)));
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        // The delegate commits the text on its next turn of the event loop.
        QApplication::processEvents();
    }
    static void trigger(QWidget& w, const char* action) {
        QAction* found = w.findChild<QAction*>(QLatin1String(action));
        ASSERT_NE(found, nullptr) << action;
        found->trigger();
    }

    test::FakeBoxes boxes;
    Dialogs dialogs;
    ReportDialogs reports;
};

TEST_F(EvaluationWindowTest, TheVerdictFollowsEveryCellTyped) {
    auto w = make();
    EXPECT_EQ(w->verdict(), "尚未评定");
    test::type(*w, "fcuk", "25");
    typeCell(*w, 0, 0, "30.1");
    typeCell(*w, 0, 1, "31.2");
    typeCell(*w, 0, 2, "29.8");
    // One group, non-statistical: mfcu 30.4 ≥ 1.15 × 25 = 28.75.
    EXPECT_EQ(w->verdict(), "合格") << w->status().toStdString();
    EXPECT_EQ(w->table()->item(0, 3)->data(Qt::UserRole + 1).toString(), "30.4");
    typeCell(*w, 1, 3, "20.0");
    // fcu,min 20.0 < 0.95 × 25 = 23.75.
    EXPECT_TRUE(w->verdict().startsWith("不合格")) << w->verdict().toStdString();
    EXPECT_TRUE(w->findChild<QLabel*>("conditions")->text().contains("不满足"));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(w->isWindowModified());
}

TEST_F(EvaluationWindowTest, APastedBlockLandsAndABadCellIsMarkedWithoutABox) {
    auto w = make();
    test::type(*w, "fcuk", "30");
    w->table()->setCurrentCell(0, 0);
    QApplication::clipboard()->setText("33.1\t35.2\t34.0\n31.5\tx\t32.8\n");
    w->pasteCells();
    EXPECT_EQ(w->table()->item(1, 0)->text(), "31.5");
    EXPECT_EQ(w->table()->item(1, 1)->text(), "x");
    EXPECT_EQ(w->table()->item(1, 1)->toolTip(), "第 2 组试件 2 不是一个数：x");
    EXPECT_NE(w->table()->item(1, 1)->background(), QBrush());
    EXPECT_EQ(w->table()->item(1, 0)->background(), QBrush());
    EXPECT_TRUE(w->status().startsWith("第 2 组试件 2 不是一个数：x"));
    EXPECT_EQ(w->verdict(), "尚未评定");
    EXPECT_TRUE(boxes.shown.empty());
    typeCell(*w, 1, 1, "33.0");
    EXPECT_EQ(w->table()->item(1, 1)->toolTip(), "");
    // Two groups: mfcu (34.1 + 32.4) / 2 = 33.3 < 1.15 × 30 = 34.5.
    EXPECT_EQ(w->verdict(), "不合格（不满足 mfcu ≥ λ3·fcu,k）");
}

TEST_F(EvaluationWindowTest, SavesOpensAndAsksBeforeLeavingWhenModified) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("e.lanshi");
    {
        auto w = make();
        test::type(*w, "fcuk", "30");
        typeCell(*w, 0, 3, "34.5");
        dialogs.savePath = path;
        trigger(*w, "saveDesign");
        EXPECT_FALSE(w->isWindowModified());
        EXPECT_TRUE(w->windowTitle().startsWith("e.lanshi - 混凝土强度检验评定"));
        typeCell(*w, 1, 3, "35.5");
        // Leaving asks; 取消 keeps the window and what was typed.
        boxes.answers = {QMessageBox::Cancel};
        EXPECT_FALSE(w->close());
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_TRUE(boxes.asked[0].text.contains("已修改"));
        EXPECT_EQ(w->table()->item(1, 3)->text(), "35.5");
        boxes.answers = {QMessageBox::Discard};
        EXPECT_TRUE(w->close());
    }
    auto again = make();
    ASSERT_TRUE(again->openFile(path)) << again->status().toStdString();
    EXPECT_EQ(test::control<QLineEdit>(*again, "fcuk")->text(), "30");
    EXPECT_EQ(again->table()->item(0, 3)->text(), "34.5");
    EXPECT_EQ(again->table()->item(1, 3)->text(), "");
    EXPECT_FALSE(again->isWindowModified());
    EXPECT_TRUE(again->reportText().contains("混凝土强度检验评定记录"));
    trigger(*again, "previewReport");
    EXPECT_EQ(reports.previews, 1);
}

TEST_F(EvaluationWindowTest, ADesignOfAnotherKindGoesToItsOwnWindow) {
    const QTemporaryDir dir;
    const QString path = dir.filePath("jgj.lanshi");
    ASSERT_TRUE(write(path, R"({"lanshi-design": 1, "standard": "JGJ 55-2011",
                              "jgj55-2011": {"fcuk": 30}})"));
    auto w = make();
    test::type(*w, "fcuk", "30");
    QString sent;
    w->setOpenElsewhere([&](const QString& elsewhere) { sent = elsewhere; });
    EXPECT_FALSE(w->openFile(path));
    EXPECT_EQ(sent, path);
    EXPECT_EQ(test::control<QLineEdit>(*w, "fcuk")->text(), "30");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(EvaluationWindowTest, ImportsACsvFileAfterTheTyped) {
    const QTemporaryDir dir;
    const QString csv = dir.filePath("组.csv");
    ASSERT_TRUE(write(csv, "试件1,试件2,试件3\n31.0,32.0,33.0\n29.0,30.0,31.0\n"));
    auto w = make();
    test::type(*w, "fcuk", "25");
    typeCell(*w, 0, 3, "30.0");
    w->setAskCsv([&](QWidget*, const QString&) { return csv; });
    trigger(*w, "importCsv");
    EXPECT_EQ(w->table()->item(1, 0)->text(), "31.0");
    EXPECT_EQ(w->table()->item(2, 2)->text(), "31.0");
    EXPECT_EQ(w->form().rowCount(), 3);
    EXPECT_EQ(w->status(), "已从“组.csv”导入 2 组。");
}

TEST_F(EvaluationWindowTest, BothWindowsOfferANewEvaluationAndJgjTakesItsSigma) {
    QWidget owner;
    ui::EvaluationCommand evaluations(owner, {}, boxes, dialogs, reports);
    ui::Jgj55Window design({}, boxes, dialogs, reports);
    QAction* action = evaluations.addTo(design, session::DocumentKind::jgj55);
    EXPECT_EQ(action->text(), "新建强度评定…");
    EXPECT_TRUE(design.actions().contains(action));
    action->trigger();
    // A window of its own, not a child: found among the top-level ones.
    ui::EvaluationWindow* made = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        made = made != nullptr ? made : dynamic_cast<ui::EvaluationWindow*>(top);
    }
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->isVisible());

    // 导入强度标准差…: thirty groups of C30 give σ = 3.0 (its floor).
    const QTemporaryDir dir;
    const QString path = dir.filePath("评定.lanshi");
    QByteArray groups;
    for (int i = 0; i < 30; ++i) {
        groups += (i == 0 ? "" : ", ") + QByteArray::number(38 + i % 5);
    }
    ASSERT_TRUE(write(path, R"({"lanshi-design": 1, "standard": "GB/T 50107-2010",
                              "gbt50107-2010": {"fcuk": 30, "groups": [)" +
                                groups + "]}}"));
    ui::addSigmaImport(design, dialogs);
    test::type(design, "fcuk", "30");
    dialogs.openPath = path;
    trigger(design, "importSigma");
    EXPECT_EQ(test::control<QLineEdit>(design, "sigma")->text(), "3");
    EXPECT_TRUE(design.status().contains("取自强度检验评定“评定.lanshi”"))
        << design.status().toStdString();
    // An evaluation without a σ for design is refused with its reason.
    ASSERT_TRUE(write(path, R"({"lanshi-design": 1, "standard": "GB/T 50107-2010",
                              "gbt50107-2010": {"fcuk": 30, "groups": [35, 36, 37]}})"));
    EXPECT_FALSE(ui::importSigmaFrom(design, path));
    EXPECT_TRUE(design.status().contains("少于 30 组")) << design.status().toStdString();
    EXPECT_EQ(test::control<QLineEdit>(design, "sigma")->text(), "3");
    delete made;
}

} // namespace
