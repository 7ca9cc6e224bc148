// The strength evaluation's form without a window: pasted and imported
// cells, bad cells marked with their reason and nothing typed lost, the
// figures after each change, and the document (open, save, modified, the
// record and the result file).
#include "session/commands.h"
#include "session/document.h"
#include "session/evaluationform.h"
#include "session/jgj55form.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using session::EvaluationForm;

// The statistical example of the evaluation's tests, C30, ten groups: the
// first and third given as specimens (33.6 by the mean; 41.5, the middle
// one, as 48.0 differs from it by more than 15 %), mfcu 36.4, Sfcu 3.10,
// 36.4 − 1.15 × 3.10 = 32.8 ≥ 30, fcu,min 30.6 ≥ 27.0: 合格.
constexpr const char* kTenGroups = "33.1\t34.5\t33.2\n"
                                   "\t\t\t37.6\n"
                                   "40.0\t41.5\t48.0\n"
                                   "\t\t\t30.6\n"
                                   "\t\t\t36.1\n"
                                   "\t\t\t36.9\n"
                                   "\t\t\t38.7\n"
                                   "\t\t\t35.0\n"
                                   "\t\t\t39.1\n"
                                   "\t\t\t34.8\n";

std::string figure(const EvaluationForm& form, const std::string& caption) {
    for (const EvaluationForm::Figure& f : form.figures()) {
        if (f.caption == caption) {
            return f.text;
        }
    }
    return "(none)";
}

TEST(EvaluationForm, PastedSpreadsheetCellsAreEvaluatedAsTyped) {
    EvaluationForm form({});
    form.setText("fcuk", "30");
    const EvaluationForm::Pasted pasted = form.paste(0, 0, kTenGroups);
    EXPECT_EQ(pasted.rows, 10);
    EXPECT_EQ(pasted.columns, 4);
    EXPECT_EQ(form.rowCount(), 10);
    EXPECT_EQ(form.cell(1, 3), "37.6");
    ASSERT_TRUE(form.evaluation()) << form.status().text;
    EXPECT_EQ(form.verdict(), "合格");
    EXPECT_EQ(figure(form, "平均值 mfcu"), "36.4 MPa");
    EXPECT_EQ(figure(form, "标准差 Sfcu"), "3.10 MPa");
    EXPECT_EQ(figure(form, "λ1"), "1.15");
    EXPECT_EQ(figure(form, "λ3"), "—");
    ASSERT_EQ(form.conditions().size(), 2u);
    EXPECT_EQ(form.conditions()[0].text,
              "mfcu − λ1·Sfcu = 36.4 − 1.15 × 3.10 = 32.8 ≥ fcu,k = 30 满足");
    // The group values the program finds stand greyed where none was typed.
    EXPECT_EQ(form.cellState(0, 3).placeholder, "33.6");
    EXPECT_EQ(form.cellState(2, 3).placeholder, "41.5");
    EXPECT_NE(form.cellState(2, 3).tip.find("取中间值"), std::string::npos);
    EXPECT_EQ(form.cellState(1, 3).placeholder, "");
    // The chart: the class, the mean and the two limits; ten values.
    const auto lines = form.chartLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].value, 30.0);
    EXPECT_EQ(lines[1].value, 36.4);
    EXPECT_NEAR(lines[2].value, 30 + 1.15 * 3.10, 1e-9);
    EXPECT_EQ(lines[3].value, 27.0);
    EXPECT_EQ(form.chartValues().size(), 10u);

    // One more typed value changes every figure at once: eleven groups.
    form.setCell(10, 3, "25.0");
    ASSERT_TRUE(form.evaluation());
    EXPECT_EQ(figure(form, "组数 n"), "11");
    EXPECT_EQ(figure(form, "最小值 fcu,min"), "25.0 MPa");
    EXPECT_EQ(form.verdict().rfind("不合格", 0), 0u) << form.verdict();
}

struct PasteCase {
    const char* name;
    const char* text;
    int row, column;
    int rows, columns, leftOut;
    const char* cell12; // the text of cell (1, 2) afterwards
};

class EvaluationPaste : public ::testing::TestWithParam<PasteCase> {};

// Tabs, semicolons, commas and line breaks separate cells; a block lands
// from the cell pasted into, and what finds no column is counted, never put
// elsewhere.
TEST_P(EvaluationPaste, CellsLandFromThePastedCell) {
    const PasteCase& c = GetParam();
    EvaluationForm form({});
    const EvaluationForm::Pasted pasted = form.paste(c.row, c.column, c.text);
    EXPECT_EQ(pasted.rows, c.rows);
    EXPECT_EQ(pasted.columns, c.columns);
    EXPECT_EQ(pasted.leftOut, c.leftOut);
    EXPECT_EQ(form.cell(1, 2), c.cell12);
    if (c.leftOut > 0) {
        EXPECT_TRUE(form.status().error);
        EXPECT_NE(form.status().text.find("未粘贴"), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Separators, EvaluationPaste,
    ::testing::Values(PasteCase{"Tabs", "1\t2\t3\n4\t5\t6\n", 0, 0, 2, 3, 0, "6"},
                      PasteCase{"Commas", "1,2,3\r\n4,5,6\r\n", 0, 0, 2, 3, 0, "6"},
                      PasteCase{"Semicolons", "1;2;3\n4;5;6", 0, 0, 2, 3, 0, "6"},
                      PasteCase{"OneColumn", "31.5\n32.5\n", 0, 2, 2, 1, 0, "32.5"},
                      PasteCase{"FromSecondColumn", "7\t8\t9\n", 1, 1, 1, 3, 0, "8"},
                      PasteCase{"TooWide", "1\t2\t3\t4\t5\n", 1, 1, 1, 3, 2, "2"}),
    [](const ::testing::TestParamInfo<PasteCase>& row) { return std::string(row.param.name); });

struct BadCase {
    const char* name;
    int row, column;
    const char* text;
    const char* message; // what the mark and the status line say
};

class EvaluationBadCell : public ::testing::TestWithParam<BadCase> {};

// A bad cell is marked with its reason, the status line names it, and the
// cell keeps what was typed; the rest of the table stays as it was.
TEST_P(EvaluationBadCell, IsMarkedNamedAndKept) {
    const BadCase& c = GetParam();
    EvaluationForm form({});
    form.setText("fcuk", "30");
    form.paste(0, 0, "33.1\t35.2\t34.0\n31.5\t30.2\t32.8\n");
    form.setCell(c.row, c.column, c.text);
    EXPECT_FALSE(form.evaluation());
    EXPECT_EQ(form.verdict(), "");
    EXPECT_TRUE(form.cellState(c.row, c.column).marked);
    EXPECT_EQ(form.cellState(c.row, c.column).tip, c.message);
    EXPECT_TRUE(form.status().error);
    EXPECT_EQ(form.status().text.rfind(c.message, 0), 0u) << form.status().text;
    EXPECT_EQ(form.cell(c.row, c.column), c.text);
    EXPECT_EQ(form.cell(0, 1), "35.2");
    EXPECT_FALSE(form.cellState(0, 1).marked);
    EXPECT_EQ(figure(form, "平均值 mfcu"), "—");
}

INSTANTIATE_TEST_SUITE_P(
    Cells, EvaluationBadCell,
    ::testing::Values(BadCase{"Letter", 1, 2, "3a.1", "第 2 组试件 3 不是一个数：3a.1"},
                      BadCase{"TwoSpecimens", 1, 1, "", "第 2 组只有 2 个试件强度，缺试件 2"},
                      BadCase{"ValueBesideSpecimens", 0, 3, "34",
                              "第 1 组已有试件强度，不能另填代表值：代表值由试件强度算出"}),
    [](const ::testing::TestParamInfo<BadCase>& row) { return std::string(row.param.name); });

TEST(EvaluationForm, NonPositiveStrengthsAndEmptyEvaluationsAreNamed) {
    EvaluationForm form({});
    form.setText("fcuk", "30");
    EXPECT_FALSE(form.evaluation());
    EXPECT_TRUE(form.status().error);
    EXPECT_FALSE(form.status().text.empty());
    form.paste(0, 0, "33.1\t-3\t0\n");
    EXPECT_TRUE(form.cellState(0, 1).marked);
    EXPECT_TRUE(form.cellState(0, 2).marked);
    EXPECT_EQ(form.cellState(0, 1).tip.rfind("第 1 组试件 2", 0), 0u) << form.cellState(0, 1).tip;
    EXPECT_NE(form.status().text.find("另有 1 处"), std::string::npos) << form.status().text;
    // A letter in an entry above the table marks that entry.
    form.setText("fcuk", "C30");
    EXPECT_TRUE(form.field("fcuk").marked);
    EXPECT_EQ(form.field("fcuk").tip, "「强度等级 fcu,k」不是一个数：C30");
}

TEST(EvaluationForm, CsvImportSkipsItsHeadingAndAddsAfterTheTable) {
    EvaluationForm form({});
    form.setText("fcuk", "25");
    form.setCell(0, 3, "30.1");
    form.setCell(3, 0, ""); // empty rows at the end take nothing
    const int added =
        form.importCsv("试件1,试件2,试件3\n28.x,29.0,30.0\n31.0,32.0,33.0,\n27.5\n", "组.csv");
    EXPECT_EQ(added, 3);
    EXPECT_EQ(form.rowCount(), 4);
    EXPECT_EQ(form.cell(0, 3), "30.1");
    EXPECT_EQ(form.cell(3, 3), "27.5");
    EXPECT_EQ(form.cell(1, 0), "28.x");
    EXPECT_EQ(form.cellState(1, 0).tip, "第 2 组试件 1 不是一个数：28.x");
    EXPECT_EQ(form.importCsv("组号,强度\n", "空.csv"), 0);
    EXPECT_EQ(form.status().text, "“空.csv”中没有强度数据，未导入。");
    EXPECT_EQ(form.rowCount(), 4);
}

TEST(EvaluationForm, CsvImportReportsTheRowsItAdded) {
    EvaluationForm form({});
    form.setText("fcuk", "25");
    EXPECT_EQ(form.importCsv("31.0,32.0,33.0\n29.0,30.0,31.0\n", "组.csv"), 2);
    EXPECT_EQ(form.status().text, "已从“组.csv”导入 2 组。");
    EXPECT_FALSE(form.status().error);
    form.removeRows(0, 1);
    EXPECT_EQ(form.rowCount(), 1);
    EXPECT_EQ(form.cell(0, 0), "29.0");
}

TEST(EvaluationForm, SavesOpensAndSavesTheSameBytes) {
    EvaluationForm form({});
    EXPECT_FALSE(form.modified());
    form.setText("fcuk", "30");
    form.paste(0, 0, kTenGroups);
    form.setText("previous", "35.1 36.2\n34.0");
    form.choose("method", 2);
    EXPECT_TRUE(form.modified());
    const session::Saving saving = form.save();
    ASSERT_TRUE(saving) << saving.error;
    EXPECT_NE(saving.bytes->find("\"method\": \"statistical\""), std::string::npos);
    EXPECT_NE(saving.bytes->find("[40, 41.5, 48]"), std::string::npos);
    form.saved(saving, {"/tmp/e.lanshi", "e.lanshi"});
    EXPECT_FALSE(form.modified());
    EXPECT_EQ(form.title("普通澜石"), "e.lanshi - 混凝土强度检验评定 - 普通澜石");

    EvaluationForm again({});
    ASSERT_TRUE(again.open(*saving.bytes, {"/tmp/e.lanshi", "e.lanshi"}));
    EXPECT_FALSE(again.modified());
    EXPECT_EQ(again.text("fcuk"), "30");
    EXPECT_EQ(again.text("previous"), "35.1 36.2 34");
    EXPECT_EQ(again.choice("method"), 2);
    EXPECT_EQ(again.cell(2, 2), "48");
    EXPECT_EQ(again.cell(1, 3), "37.6");
    EXPECT_EQ(*again.saveBytes().bytes, *saving.bytes);
    EXPECT_EQ(again.verdict(), "合格");
}

TEST(EvaluationForm, TextTheFileCannotKeepIsNeitherSavedNorLost) {
    EvaluationForm form({});
    form.setText("fcuk", "30");
    form.setCell(0, 0, "3a");
    const session::Saving saving = form.save();
    EXPECT_FALSE(saving);
    EXPECT_EQ(saving.error, "无法保存：第 1 组试件 1 不是一个数：3a");
    EXPECT_EQ(form.status().text, saving.error);
    EXPECT_TRUE(form.modified());
    EXPECT_EQ(form.cell(0, 0), "3a");
    // Two specimens are kept (null for the third); a value beside them is not.
    form.setCell(0, 0, "33");
    form.setCell(0, 1, "34");
    EXPECT_TRUE(form.saveBytes());
    form.setCell(0, 3, "34");
    EXPECT_EQ(form.saveBytes().error,
              "无法保存：第 1 组代表值与试件强度不能同时保存：请删去其中之一");
}

TEST(EvaluationDocument, IsAKindOfItsOwnForEveryFrontEnd) {
    EvaluationForm form({});
    form.setText("fcuk", "30");
    form.paste(0, 0, kTenGroups);
    const std::string bytes = *form.saveBytes().bytes;
    EXPECT_EQ(session::documentKind(bytes), session::DocumentKind::gbt50107);
    session::OpenedFile opened = session::openFile(bytes, {"e.lanshi", "e.lanshi"}, {});
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened.document->kind(), session::DocumentKind::gbt50107);
    EXPECT_EQ(opened.document->calculateForReport(), "");
    const session::Reporting made = opened.document->report({"2026-01-01", "普通澜石", "1"});
    ASSERT_TRUE(made);
    EXPECT_EQ(made.document->title, "混凝土强度检验评定记录");
    const session::Saving json = opened.document->resultJson();
    ASSERT_TRUE(json);
    EXPECT_NE(json.bytes->find("\"passed\": true"), std::string::npos);
    EXPECT_TRUE(opened.document->whyNoNotice());
    // The window's menu: the record's own copy, CSV import, and the guide.
    EXPECT_EQ(session::findCommand(session::DocumentKind::gbt50107, "copyReport")->text,
              "复制评定记录");
    EXPECT_NE(session::findCommand(session::DocumentKind::gbt50107, "importCsv"), nullptr);
    EXPECT_NE(session::findCommand(session::DocumentKind::classic, "newEvaluation"), nullptr);
    EXPECT_NE(session::findCommand(session::DocumentKind::jgj55, "newEvaluation"), nullptr);
    EXPECT_NE(session::findCommand(session::DocumentKind::jgj55, "importSigma"), nullptr);
}

TEST(EvaluationDocument, AnEvaluationThatCannotBeMadeHasNoRecord) {
    session::OpenedFile opened = session::openFile(
        R"({"lanshi-design": 1, "standard": "GB/T 50107-2010", "gbt50107-2010": {"fcuk": 30}})",
        {"e.lanshi", "e.lanshi"}, {});
    ASSERT_TRUE(opened);
    EXPECT_NE(opened.document->calculateForReport(), "");
    EXPECT_FALSE(opened.document->report({}));
    EXPECT_FALSE(opened.document->resultJson());
}

} // namespace

namespace {

// An evaluation file of `groups` group values around 40 MPa (38.0 to 42.0
// in turn) for class `fcuk`: thirty of them have Sfcu 1.44, so the σ for
// design is its floor, 3.0 up to C30 and 4.0 above.
std::string evaluationFile(int fcuk, int groups) {
    EvaluationForm form({});
    form.setText("fcuk", std::to_string(fcuk));
    for (int i = 0; i < groups; ++i) {
        form.setCell(i, 3, std::to_string(38 + i % 5));
    }
    return *form.saveBytes().bytes;
}

struct SigmaCase {
    const char* name;
    int designClass; // 0: not typed
    int evaluated;   // the evaluation's class
    int groups;
    const char* sigma; // the field σ afterwards; empty: refused
    const char* status;
};

class Jgj55SigmaImport : public ::testing::TestWithParam<SigmaCase> {};

// 导入强度标准差… takes the σ for design, floors included, only from thirty
// groups or more of the design's own class; a refusal leaves σ as it was.
TEST_P(Jgj55SigmaImport, TakesTheDesignSigmaOfTheSameClass) {
    const SigmaCase& c = GetParam();
    session::Jgj55Form form({});
    if (c.designClass > 0) {
        form.setText("fcuk", std::to_string(c.designClass));
    }
    form.setText("sigma", "5.5");
    const bool imported = form.importSigma(evaluationFile(c.evaluated, c.groups),
                                           {"/data/评定.lanshi", "评定.lanshi"});
    EXPECT_EQ(imported, std::string(c.sigma) != "5.5");
    EXPECT_EQ(form.text("sigma"), c.sigma);
    // The note first; what the design still lacks may follow.
    EXPECT_EQ(form.status().text.rfind(c.status, 0), 0u) << form.status().text;
    EXPECT_EQ(form.sigmaSource().has_value(), imported);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Jgj55SigmaImport,
    ::testing::Values(
        SigmaCase{"C30FloorThree", 30, 30, 30, "3",
                  "强度标准差 σ = 3.00 MPa 取自强度检验评定“评定.lanshi”（C30，30 组，GB/T "
                  "50107-2010）。"},
        SigmaCase{"C35FloorFour", 35, 35, 30, "4",
                  "强度标准差 σ = 4.00 MPa 取自强度检验评定“评定.lanshi”（C35，30 组，GB/T "
                  "50107-2010）。"},
        SigmaCase{"ClassNotTypedYet", 0, 30, 31, "3",
                  "强度标准差 σ = 3.00 MPa 取自强度检验评定“评定.lanshi”（C30，31 组，GB/T "
                  "50107-2010）。"},
        SigmaCase{
            "TwentyNineGroups", 30, 30, 29, "5.5",
            "无法从 评定.lanshi 导入强度标准差：评定了 29 组，少于 30 组，不能给出强度标准差 σ"},
        SigmaCase{"AnotherClass", 35, 30, 30, "5.5",
                  "无法从 评定.lanshi 导入强度标准差：评定的强度等级为 C30，设计为 C35：σ "
                  "应取自同一强度等级的混凝土"}),
    [](const ::testing::TestParamInfo<SigmaCase>& row) { return std::string(row.param.name); });

TEST(Jgj55SigmaImport, TheSourceIsKeptInTheFileAndReportUntilSigmaIsTyped) {
    session::Jgj55Form form({});
    form.setText("fcuk", "30");
    form.setText("slump", "180");
    form.setText("maxSize", "20");
    ASSERT_TRUE(form.importSigma(evaluationFile(30, 30), {"/data/评定.lanshi", "评定.lanshi"}));
    const session::Saving saving = form.save();
    ASSERT_TRUE(saving) << saving.error;
    EXPECT_NE(saving.bytes->find(R"("sigmaSource": {)"), std::string::npos) << *saving.bytes;
    const session::Reporting made = form.report({"2026-01-01", "普通澜石", "1"});
    ASSERT_TRUE(made) << made.refusal;
    EXPECT_NE(report::toText(*made.document).find("取自强度检验评定“评定.lanshi”"),
              std::string::npos);

    session::Jgj55Form opened({});
    ASSERT_TRUE(opened.open(*saving.bytes, {"d.lanshi", "d.lanshi"}));
    ASSERT_TRUE(opened.sigmaSource());
    EXPECT_EQ(opened.sigmaSource()->groups, 30);
    EXPECT_FALSE(opened.modified());
    EXPECT_EQ(*opened.saveBytes().bytes, *saving.bytes);
    // A σ typed since is the user's own: the source goes.
    opened.setText("sigma", "3.5");
    EXPECT_FALSE(opened.sigmaSource());
    EXPECT_EQ(opened.saveBytes().bytes->find("sigmaSource"), std::string::npos);
    // A file whose source names another σ than its own is not believed.
    std::string edited = *saving.bytes;
    edited.replace(edited.find("\"sigma\": 3,"), 11, "\"sigma\": 3.5,");
    session::Jgj55Form doubted({});
    ASSERT_TRUE(doubted.open(edited, {"d.lanshi", "d.lanshi"}));
    EXPECT_FALSE(doubted.sigmaSource());
}

} // namespace
