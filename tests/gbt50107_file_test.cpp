// The strength evaluation's edges: its file (exact bytes, round trips, the
// defaults of absent keys, a refusal naming the key), the cells of its
// tables as typed or pasted, its result file and its record.
#include "case_names.h"
#include "gbt50107/cells.h"
#include "gbt50107/evaluationfile.h"
#include "gbt50107/resultjson.h"
#include "report/gbt50107record.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace gbt50107;

EvaluationFile everything() {
    Input in;
    in.fcuk = 62.5;
    in.specimenSize = SpecimenSize::Cube100;
    in.sizeFactor = 0.97;
    in.method = Method::KnownSigma;
    in.sigma0 = 3.46;
    in.previous = {31.5, 32, 33.1, 34, 35, 36, 37, 38, 39, 40, 41.25, 42};
    in.groups = {Group::ofSpecimens(33.1, 35.2, 34.0), Group::ofValue(31.5),
                 Group{{33.1, std::nullopt, 34.0}, std::nullopt}};
    return {in, {"某住宅楼 \"A\" 区", "三层\n梁板", "某建设单位"}};
}

TEST(Gbt50107File, WritesEveryKeyInItsOrderAGroupToALine) {
    Input in;
    in.fcuk = 30;
    in.groups = {Group::ofSpecimens(33.1, 35.2, 34.0), Group::ofValue(31.5)};
    EXPECT_EQ(serialize({in, {"某住宅楼", "三层梁板", ""}}), R"({
  "lanshi-design": 1,
  "standard": "GB/T 50107-2010",
  "gbt50107-2010": {
    "fcuk": 30,
    "specimenSize": 150,
    "sizeFactor": null,
    "method": "auto",
    "sigma0": null,
    "previous": [],
    "groups": [
      [33.1, 35.2, 34],
      31.5
    ]
  },
  "project": {
    "name": "某住宅楼",
    "part": "三层梁板",
    "client": ""
  }
}
)");
}

TEST(Gbt50107File, EveryKeyComesBackAndTheBytesStay) {
    const std::string bytes = serialize(everything());
    const FileReading reading = gbt50107::read(bytes);
    ASSERT_TRUE(reading) << reading.error;
    EXPECT_EQ(*reading.file, everything());
    EXPECT_EQ(serialize(*reading.file), bytes);
    // Ten previous values to a line; an empty specimen is null.
    EXPECT_NE(
        bytes.find("      31.5, 32, 33.1, 34, 35, 36, 37, 38, 39, 40,\n      41.25, 42\n    ],"),
        std::string::npos)
        << bytes;
    EXPECT_NE(bytes.find("[33.1, null, 34]"), std::string::npos);
    EXPECT_NE(bytes.find("\"method\": \"known-sigma\""), std::string::npos);
}

TEST(Gbt50107File, AbsentKeysTakeTheirDefaults) {
    const FileReading reading = gbt50107::read(
        R"({"lanshi-design": 1, "standard": "GB/T 50107-2010", "gbt50107-2010": {"fcuk": 25,
            "sizeFactor": null, "groups": [30.2, [31, 32, 33]]}})");
    ASSERT_TRUE(reading) << reading.error;
    Input expected;
    expected.fcuk = 25;
    expected.groups = {Group::ofValue(30.2), Group::ofSpecimens(31, 32, 33)};
    EXPECT_EQ(reading.file->input, expected);
    EXPECT_EQ(reading.file->input.specimenSize, SpecimenSize::Cube150);
    EXPECT_EQ(reading.file->input.method, Method::Auto);
    EXPECT_TRUE(reading.file->project.empty());
}

TEST(Gbt50107File, AGroupOfTwoIsReadForTheWindowToMark) {
    const FileReading reading = gbt50107::read(
        R"({"lanshi-design": 1, "standard": "GB/T 50107-2010", "gbt50107-2010": {"fcuk": 25,
            "groups": [[31, 32]]}})");
    ASSERT_TRUE(reading) << reading.error;
    const Outcome out = evaluate(reading.file->input);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.faults[0].place, (Place{Entry::Groups, 0, 2}));
}

struct BadFile {
    const char* name;
    const char* body; // inside the top level, after lanshi-design
    const char* message;
};

class Gbt50107BadFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(Gbt50107BadFile, IsRefusedNamingTheKey) {
    const BadFile& row = GetParam();
    const FileReading reading =
        gbt50107::read(std::string(R"({"lanshi-design": 1, )") + row.body + "}");
    ASSERT_FALSE(reading);
    EXPECT_NE(reading.error.find(row.message), std::string::npos) << reading.error;
}

#define BODY(x) R"("standard": "GB/T 50107-2010", "gbt50107-2010": )" x

INSTANTIATE_TEST_SUITE_P(
    Refusals, Gbt50107BadFile,
    ::testing::Values(
        BadFile{"unknown key", BODY(R"({"fcuk": 30, "sigma": 3})"), "「sigma」 不是评定文件的内容"},
        BadFile{"fcuk a text", BODY(R"({"fcuk": "30"})"), "「fcuk」 应为数，文件中是文字 \"30\""},
        BadFile{"size 120", BODY(R"({"specimenSize": 120})"),
                "「specimenSize」 应为 100、150、200 之一"},
        BadFile{"method", BODY(R"({"method": "bayes"})"), "「method」 应为 \"auto\""},
        BadFile{"four specimens", BODY(R"({"groups": [30, [1, 2, 3, 4]]})"),
                "「groups」第 2 组 应为数（代表值）或三个试件强度的数组"},
        BadFile{"no specimens", BODY(R"({"groups": [[]]})"), "「groups」第 1 组 应为"},
        BadFile{"a text specimen", BODY(R"({"groups": [[33, "x", 34]]})"), "第 1 组试件 2 应为数"},
        BadFile{"previous", BODY(R"({"previous": [30, true]})"), "「previous」第 2 个 应为数"},
        BadFile{"project name", BODY(R"({}, "project": {"name": 3})"), "「name」 应为文字"},
        BadFile{"project key", BODY(R"({}, "project": {"site": ""})"),
                "「site」 不是评定文件的内容"},
        BadFile{"top key", BODY(R"({}, "sheet": {})"), "「sheet」 不是评定文件的内容"},
        BadFile{"no body", R"("standard": "GB/T 50107-2010")", "缺少「gbt50107-2010」"},
        BadFile{"other standard", R"("standard": "JGJ 55-2011", "jgj55-2011": {})",
                "「standard」应为 \"GB/T 50107-2010\""},
        BadFile{"not JSON", R"("standard": )", "不是正确的 JSON"}),
    calc::testing::namedBy([](const BadFile& r) { return std::string(r.name); }));

#undef BODY

TEST(Gbt50107File, TellsItsKindFromTheStandard) {
    EXPECT_TRUE(isEvaluationFile(serialize(everything())));
    EXPECT_FALSE(isEvaluationFile(R"({"lanshi-design": 1, "standard": "JGJ 55-2011"})"));
    EXPECT_FALSE(isEvaluationFile(R"({"lanshi-design": 1, "Text1": "30"})"));
    EXPECT_FALSE(isEvaluationFile("not json"));
}

std::string fileOf(double fcuk, const std::vector<double>& values) {
    Input in;
    in.fcuk = fcuk;
    for (const double v : values) {
        in.groups.push_back(Group::ofValue(v));
    }
    return serialize({in, {}});
}

TEST(Gbt50107File, GivesItsSigmaToTheNextDesign) {
    // 30.0 and 40.0 alternating: σ = √(750 / 29) = 5.09.
    std::vector<double> values;
    for (int i = 0; i < 30; ++i) {
        values.push_back(i % 2 == 0 ? 30.0 : 40.0);
    }
    SigmaImport import = importDesignSigma(fileOf(30, values));
    EXPECT_EQ(import.sigma, 5.09);
    EXPECT_EQ(import.groups, 30);
    EXPECT_EQ(import.fcuk, 30);

    values.pop_back();
    import = importDesignSigma(fileOf(30, values));
    EXPECT_FALSE(import.sigma);
    EXPECT_EQ(import.reason, "评定了 29 组，少于 30 组，不能给出强度标准差 σ");

    import = importDesignSigma("{}");
    EXPECT_FALSE(import.sigma);
    EXPECT_NE(import.reason.find("lanshi-design"), std::string::npos);
}

// --- Cells -----------------------------------------------------------------

GroupRow row(std::string a, std::string b, std::string c, std::string value = {}) {
    return {{std::move(a), std::move(b), std::move(c)}, std::move(value)};
}

TEST(Gbt50107Cells, EachBadCellIsNamedAndTheRowsKeepTheirPlaces) {
    const std::vector<GroupRow> rows{
        row("33.1", "35.2", "34.0"),      row("33.1", "35.2", "3a.1"),
        row("", "", "", "31.5"),          row("", "", ""),
        row("33.1", "", "34.0"),          row("33.1", "35.2", "34.0", "34.1"),
        row(" ", "", "", "\xE3\x80\x80"), // blanks at the end: no group
    };
    const GroupCells cells = readGroupRows(rows, calc::NumberFormat{});
    ASSERT_EQ(cells.groups.size(), 6u);
    EXPECT_EQ(cells.groups[0], Group::ofSpecimens(33.1, 35.2, 34.0));
    EXPECT_EQ(cells.groups[2], Group::ofValue(31.5));
    std::vector<std::pair<Place, std::string>> faults;
    for (const InputFault& f : cells.faults) {
        faults.emplace_back(f.place, f.message);
    }
    const std::vector<std::pair<Place, std::string>> expected{
        {{Entry::Groups, 1, 2}, "第 2 组试件 3 不是一个数：3a.1"},
        {{Entry::Groups, 3, -1}, "第 4 组是空行：请填写强度，或删去这一行"},
        {{Entry::Groups, 4, 1}, "第 5 组只有 2 个试件强度，缺试件 2"},
        {{Entry::Groups, 5, kValueCell},
         "第 6 组已有试件强度，不能另填代表值：代表值由试件强度算出"},
    };
    EXPECT_EQ(faults, expected);

    // Evaluated with the cells' faults: nothing is said twice, and a strength
    // below zero in another row is added.
    Input in;
    in.fcuk = 30;
    in.groups = cells.groups;
    in.groups[0].specimens[1] = -35.2;
    const Outcome out = evaluate(in, cells.faults);
    ASSERT_FALSE(out);
    ASSERT_EQ(out.faults.size(), expected.size() + 1);
    EXPECT_EQ(out.faults.back().place, (Place{Entry::Groups, 0, 1}));
}

TEST(Gbt50107Cells, AreReadInTheRegionalFormat) {
    calc::NumberFormat comma;
    comma.decimal = ",";
    comma.group = ".";
    const std::vector<GroupRow> rows{row("33,1", " 35,2 ", "34")};
    const GroupCells cells = readGroupRows(rows, comma);
    EXPECT_TRUE(cells.faults.empty());
    EXPECT_EQ(cells.groups[0], Group::ofSpecimens(33.1, 35.2, 34.0));
    EXPECT_FALSE(readGroupRows(rows, calc::NumberFormat{}).faults.empty());
}

TEST(Gbt50107Cells, PreviousValuesAreReadOneACell) {
    const std::vector<std::string> cells{"31.5", "x", "", "32", "", ""};
    const ValueCells read = readPreviousCells(cells, calc::NumberFormat{});
    EXPECT_EQ(read.values.size(), 4u);
    ASSERT_EQ(read.faults.size(), 2u);
    EXPECT_EQ(read.faults[0].place, (Place{Entry::Previous, 1}));
    EXPECT_EQ(read.faults[0].message, "上一期第 2 个代表值不是一个数：x");
    EXPECT_EQ(read.faults[1].place, (Place{Entry::Previous, 2}));
}

struct PasteRow {
    const char* name;
    const char* text;
    bool commaDecimal;
    std::vector<std::vector<std::string>> rows;
};

class Gbt50107Paste : public ::testing::TestWithParam<PasteRow> {};

TEST_P(Gbt50107Paste, SplitsIntoRowsAndCells) {
    const PasteRow& row = GetParam();
    calc::NumberFormat format;
    if (row.commaDecimal) {
        format.decimal = ",";
        format.group = ".";
    }
    EXPECT_EQ(splitCells(row.text, format), row.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Gbt50107Paste,
    ::testing::Values(
        PasteRow{"spreadsheet",
                 "33.1\t35.2\t34.0\r\n31.5\r\n\r\n",
                 false,
                 {{"33.1", "35.2", "34.0"}, {"31.5"}}},
        PasteRow{"empty cell kept", "33.1\t\t34.0\n", false, {{"33.1", "", "34.0"}}},
        PasteRow{"csv", "\"33.1\",35.2, 34.0\n31.5", false, {{"33.1", "35.2", "34.0"}, {"31.5"}}},
        PasteRow{"csv quoted comma decimal", "\"33,1\";35,2;34\n", true, {{"33,1", "35,2", "34"}}},
        PasteRow{"spaces", "33.1  35.2 34.0\n31.5", false, {{"33.1", "35.2", "34.0"}, {"31.5"}}},
        PasteRow{"comma decimal with spaces", "33,1 35,2 34\n", true, {{"33,1", "35,2", "34"}}}),
    calc::testing::namedBy([](const PasteRow& r) { return std::string(r.name); }));

// --- The result file and the record ----------------------------------------

// The example of a statistical evaluation with a group left out
// (gbt50107_test.cpp): fifteen groups, C30, 不合格 on fcu,min.
Input fifteenGroupsAndOneLeftOut() {
    Input in;
    in.fcuk = 30;
    for (const double v : {35.2, 33.8, 36.9, 31.4, 34.6, 37.3, 25.2, 33.0, 35.7, 36.1, 32.5, 34.4,
                           38.0, 33.9, 35.5}) {
        in.groups.push_back(Group::ofValue(v));
    }
    in.groups.insert(in.groups.begin() + 2, Group::ofSpecimens(30.0, 36.0, 42.0));
    return in;
}

TEST(Gbt50107Result, IsTheFiguresAsJson) {
    const Outcome out = evaluate(fifteenGroupsAndOneLeftOut());
    ASSERT_TRUE(out);
    const std::string json = resultJson(*out.evaluation);
    EXPECT_EQ(json.substr(json.find("\"excluded\"")), R"("excluded": [
    {
      "index": 3,
      "reason": "最大值和最小值与中间值之差均超过中间值的 15%，不作为评定依据"
    }
  ],
  "n": 15,
  "method": "statistical",
  "mean": 34.2,
  "min": 25.2,
  "sd": 3.09,
  "lambda1": 1.05,
  "lambda2": 0.85,
  "lambda3": null,
  "lambda4": null,
  "conditions": [
    {
      "text": "mfcu − λ1·Sfcu = 34.2 − 1.05 × 3.09 = 31.0 ≥ fcu,k = 30 满足",
      "holds": true
    },
    {
      "text": "fcu,min = 25.2 < λ2·fcu,k = 0.85 × 30 = 25.5 不满足",
      "holds": false
    }
  ],
  "passed": false,
  "designSigma": null
}
)");
    // The values used, without the left-out group.
    EXPECT_EQ(json.substr(0, json.find("31.4")),
              "{\n  \"groups\": [\n    35.2,\n    33.8,\n    36.9,\n    ");
}

report::Options options() {
    report::Options o;
    o.date = "2024-05-01";
    o.program = "普通澜石";
    o.version = "1.00";
    o.designFile = "三层梁板.lanshi";
    o.project = {"某住宅楼", "三层梁板", "某建设单位"};
    return o;
}

std::string recordText(const Input& in, const calc::NumberFormat& format = {}) {
    const Outcome out = evaluate(in);
    EXPECT_TRUE(out);
    return out ? report::toText(report::buildGbt50107Record(in, *out.evaluation, format, options()))
               : std::string();
}

TEST(Gbt50107Record, ShowsEveryFigureConditionAndTheVerdict) {
    const std::string text = recordText(fifteenGroupsAndOneLeftOut());
    for (const char* line : {
             "混凝土强度检验评定记录\n",
             "评定依据：GB/T 50107-2010《混凝土强度检验评定标准》\n",
             "评定文件：三层梁板.lanshi\n",
             "施工部位：三层梁板\n",
             "C30（fcu,k = 30 MPa）",
             "150 mm 立方体（标准尺寸试件）",
             "统计方法（标准差未知），第 5.1.3 条（由程序选用）",
             "n = 15（另有 1 组不作为评定依据）",
             "  3     30.0    36.0    42.0    —              "
             "最大值和最小值与中间值之差均超过中间值的 15%，不作为评定依据\n",
             "mfcu = Σfcu,i / n = 513.5 / 15 = 34.2 MPa（精确至 0.1 MPa）",
             "fcu,min = 25.2 MPa",
             "Sfcu = √[(Σfcu,i² − n·mfcu²) / (n − 1)] = √[(17712.31 − 513.5² / 15) / 14] = 3.09 "
             "MPa",
             "λ1 = 1.05（15～19 组），λ2 = 0.85（15 组及以上）",
             "1. mfcu − λ1·Sfcu = 34.2 − 1.05 × 3.09 = 31.0 ≥ fcu,k = 30 满足\n",
             "2. fcu,min = 25.2 < λ2·fcu,k = 0.85 × 30 = 25.5 不满足\n",
             "评定结论：不合格（不满足 fcu,min ≥ λ2·fcu,k）\n",
             "右边的限值按算得的值判定，不修约",
             "计算：________________",
             "审核：________________",
             "监理：________________",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
    EXPECT_EQ(text.find("可用于配合比设计的强度标准差"), std::string::npos);
    EXPECT_EQ(text.find("使用部位"), std::string::npos);
}

TEST(Gbt50107Record, GivesTheSigmaForDesignFromThirtyGroups) {
    Input in;
    in.fcuk = 30;
    for (int i = 0; i < 30; ++i) {
        in.groups.push_back(Group::ofValue(38.0 + i % 5));
    }
    const std::string text = recordText(in);
    for (const char* line : {
             "五、可用于配合比设计的强度标准差 σ",
             "σ = √[(Σfcu,i² − n·mfcu²) / (n − 1)] = √[(48060.00 − 1200.0² / 30) / 29] = 1.44 MPa",
             "C30 及以下不小于 3.0 MPa，取 σ = 3.00 MPa",
             "Sfcu 小于 2.5 MPa，取 Sfcu = 2.50 MPa。",
             "λ1 = 0.95（20 组及以上）",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(Gbt50107Record, ShowsTheSizeConversionAndSaysHowItWasDone) {
    Input in;
    in.fcuk = 25;
    in.specimenSize = SpecimenSize::Cube100;
    in.groups = {Group::ofSpecimens(31.2, 32.0, 30.9), Group::ofValue(31.0)};
    const std::string text = recordText(in);
    for (const char* line : {
             "100 mm 立方体，尺寸换算系数 0.95（C60 以下按标准取用）",
             "代表值（100 mm，MPa）  换算为 150 mm（MPa）",
             "  1     31.2    32.0    30.9    31.4                   29.8",
             "  2     —       —       —       31.0                   29.5",
             "非标准尺寸试件先求代表值并精确至 0.1 MPa，再乘以尺寸换算系数",
             "λ3 = 1.15（C60 以下），λ4 = 0.95",
         }) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(Gbt50107Record, WritesFiguresInTheRegionalFormatAndAsHtml) {
    calc::NumberFormat comma;
    comma.decimal = ",";
    comma.group = ".";
    Input in;
    in.fcuk = 25;
    in.sigma0 = 2.1;
    in.groups = {Group::ofValue(28.1), Group::ofValue(27.0), Group::ofValue(27.2)};
    const std::string text = recordText(in, comma);
    EXPECT_NE(text.find("σ0 = 2,10 MPa（给出的值"), std::string::npos) << text;
    EXPECT_NE(text.find("σ0 小于 2,5 MPa，取 σ0 = 2,50 MPa"), std::string::npos) << text;
    EXPECT_NE(text.find("mfcu = 27,4 ≥ fcu,k + 0.7σ0 = 25 + 0,7 × 2,50 = 26,75 满足"),
              std::string::npos)
        << text;
    const Outcome out = evaluate(in);
    const std::string html =
        report::toHtml(report::buildGbt50107Record(in, *out.evaluation, comma, options()));
    EXPECT_NE(html.find("<h1>混凝土强度检验评定记录</h1>"), std::string::npos);
    EXPECT_NE(html.find("施工部位：三层梁板"), std::string::npos);
    EXPECT_NE(html.find("<sub>fcu</sub>"), std::string::npos);
}

} // namespace
