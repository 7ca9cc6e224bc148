// 试配、调整… in the JGJ 55-2011 window, offscreen: the trials typed beside
// the design are worked out as one types, kept in the design (the caption
// marks the change), a text that is no number or a bad strength named, and
// a change of the design's fields shown again.
#include "fakes.h"
#include "ui/filedialogs.h"
#include "ui/jgj55window.h"
#include "ui/reportcommands.h"
#include "ui/trialsdialog.h"

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <QTextBrowser>
#include <gtest/gtest.h>

namespace {

class NoFiles final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return {}; }
    QString saveDesign(QWidget*, const QString&, const QString&) override { return {}; }
};

class NoReports final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*, const ui::ReportDetails&) override {
        return std::nullopt;
    }
    QString askPdfPath(QWidget*, const QString&) override { return {}; }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override {}
};

// The guide's trial example, without the strengths of its second group.
const std::string kDesign =
    R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30, )"
    R"("cementGrade": "42.5", "flyAsh": {"fraction": 0.2}, "admixture": {"fraction": 0.01, )"
    R"("waterReduction": 0.2}, "stone": "crushed", "maxSize": 20, "slump": 180}, )"
    R"("trials": {"mixerCapacity": 60, "water": 185, "sandRatio": 40, "strengths": [)"
    R"({"waterBinder": 0.47, "specimens": [46.2, 47.5, 48.1]}, )"
    R"({"waterBinder": 0.57, "specimens": [35.1, 36.9, 43.0]}], "density": 2450}})";

void edit(QTableWidget& table, int row, int column, const char* text) {
    table.item(row, column)->setText(QString::fromUtf8(text));
}

TEST(TrialsDialogTest, WorksTheTrialsOutAsOneTypesAndKeepsThem) {
    test::FakeBoxes boxes;
    NoFiles files;
    NoReports reports;
    // The window under a decimal comma: the trials are typed the same way.
    ui::Jgj55Window window({.decimal = ",", .group = ".", .groupSize = 3, .negative = "-"}, boxes,
                           files, reports);
    auto& form = dynamic_cast<session::Jgj55Form&>(window.document());
    ui::TrialsCommand command(window, form);
    window.show();
    ASSERT_TRUE(window.openBytes(QStringLiteral("/tmp/t.lanshi"), kDesign));
    ASSERT_EQ(command.action()->shortcut().toString(), QStringLiteral("Ctrl+Shift+T"));
    command.action()->trigger();
    ui::TrialsDialog* dialog = command.dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->field("water")->text(), QStringLiteral("185"));
    QTableWidget& table = *dialog->strengths();
    EXPECT_EQ(table.item(0, 2)->text(), QStringLiteral("46,2"));
    // Two groups: refused until the third is typed.
    EXPECT_NE(dialog->problem().indexOf(QStringLiteral("至少要三组")), -1)
        << dialog->problem().toStdString();
    EXPECT_FALSE(window.isWindowModified());

    edit(table, 2, 0, "0,52");
    edit(table, 2, 1, "41,8");
    EXPECT_TRUE(dialog->problem().isEmpty()) << dialog->problem().toStdString();
    const QString shown = dialog->view()->toPlainText();
    EXPECT_NE(shown.indexOf(QStringLiteral("试验室配合比")), -1);
    EXPECT_NE(shown.indexOf(QStringLiteral("1,021")), -1) << shown.toStdString();
    ASSERT_TRUE(form.trialOutcome() && *form.trialOutcome());
    EXPECT_EQ(form.trialOutcome()->result->adjustment->lab->stone, 1132);
    EXPECT_TRUE(window.isWindowModified());

    // A text that is no number is named and changes nothing; a negative
    // strength is the trials' to refuse.
    edit(table, 2, 1, "4x");
    EXPECT_NE(dialog->problem().indexOf(QStringLiteral("「第 3 组强度」不是一个数")), -1)
        << dialog->problem().toStdString();
    EXPECT_EQ(form.trials()->strengths.size(), 3U);
    edit(table, 2, 1, "-41,8");
    EXPECT_NE(dialog->problem().indexOf(QStringLiteral("第 3 组的强度须为正数")), -1)
        << dialog->problem().toStdString();
    EXPECT_EQ(form.result()->waterBinder, 0.52); // the design stays
    edit(table, 2, 1, "41,8");

    // A design field changed in the window: its mixes shown again.
    test::control<QLineEdit>(window, "fcuk")->setText(QStringLiteral("35"));
    EXPECT_NE(dialog->view()->toPlainText(), shown);
    if (qEnvironmentVariableIsSet("LANSHI_SCREENSHOT")) {
        dialog->grab().save(qEnvironmentVariable("LANSHI_SCREENSHOT"));
    }
}

} // namespace
