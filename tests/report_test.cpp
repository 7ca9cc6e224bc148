// The calculation report: each step shows the figures the calculation used,
// the rows exactly as the sheet shows them, and a trial batch computed from
// those rows.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "report/numbers.h"
#include "report/record.h"
#include "report/report.h"
#include "tests/sheet_fixture.h"

#include <cstdlib>
#include <fstream>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using namespace calc;
using calc::testing::resetSheet;

const NumberFormat kDecimalComma{",", ".", 3, "-"};

const report::Options kOptions{"2024-05-01", "普通澜石", "1.00", "", 20.0, {}};

// The sheet calculated with a trace, and the text of its report.
struct Calculated {
    MemorySheet sheet;
    Trace trace;
    std::optional<report::Document> document;

    std::string text() const { return document ? report::toText(*document) : std::string(); }
};

Calculated calculated(MemorySheet sheet, const report::Options& options = kOptions) {
    Calculated c{std::move(sheet), {}, {}};
    calculate(c.sheet, c.trace);
    c.document = report::buildReport(c.sheet, c.trace, options);
    return c;
}

MemorySheet massSheet(NumberFormat format = {}) {
    MemorySheet sheet = resetSheet(std::move(format));
    sheet.select(Option::option2);
    sheet.setText(Text20, "2400");
    return sheet;
}

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// Every line must be in the report, each on a line of its own (blanks around
// it aside), in the order given.
void expectLines(const std::string& text, const std::vector<std::string>& lines) {
    std::size_t from = 0;
    for (const std::string& line : lines) {
        const std::size_t at = text.find(line + "\n", from);
        EXPECT_NE(at, std::string::npos) << "missing, or out of order: " << line << "\n" << text;
        if (at != std::string::npos) {
            from = at + line.size();
        }
    }
}

TEST(Report, WorkedExampleFromTheDefaultsMatchesTheKeptText) {
    const Calculated c = calculated(resetSheet());
    ASSERT_TRUE(c.document);
    const std::string path = LANSHI_REPORT_GOLDEN;
    if (std::getenv("LANSHI_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << c.text();
    }
    EXPECT_EQ(c.text(), fileText(path)) << "to accept a deliberate change: LANSHI_UPDATE_GOLDEN=1";
}

TEST(Report, ShowsEachStepWithTheFiguresItUsed) {
    const std::string text = calculated(resetSheet()).text();
    expectLines(
        text,
        {"普通混凝土配合比设计计算书", "计算日期：2024-05-01", "计算程序：普通澜石 1.00",
         "一、设计资料", "二、计算过程", "     fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4 = 26.58 MPa",
         "     αa·fce = γc × (fce,g × αa) = 1.07 × (32.5 × 0.48) = 1.07 × 15.6 = 16.692 MPa",
         "     W/C = αa·fce / (fcu,0 + αb × αa·fce) = 16.692 / (26.58 + 0.33 × 16.692) = "
         "16.692 / (26.58 + 5.50836) = 16.692 / 32.08836 = 0.5201886 ≈ 0.52",
         "     C/W = 1 / (W/C) = 1 / 0.52 = 1.923077 ≈ 1.92",
         "     mc0 = mw0 / (W/C) = 180 / 0.52 = 346.1538 ≈ 346.15 kg/m³",
         "     346.15 kg/m³ ≥ 260 kg/m³，满足最小水泥用量。",
         "     Vc = mc0 / ρc = 346.15 / 3.1 = 111.6613 ≈ 111.66 L",
         // The aggregate volume as narrowed to even, not 698.3400.
         "     V = 1000 − 10α − Vc − Vw = 1000 − 10 × 1 − 111.66 − 180 = 698.34 L",
         "     mg0 = ρg × V × (1 − βs) = 2.7 × 698.34 × (1 − 0.36) = 2.7 × 698.34 × 0.64 = "
         "1206.731 kg/m³",
         "     ms0 = mg0 × βs / (1 − βs) = 1206.731 × 0.36 / 0.64 = 678.7865 kg/m³",
         "  水泥 : 砂 : 石子 : 水 = 1.00 : 1.96 : 3.49 : 0.52", "四、试拌用量"});
    EXPECT_EQ(text.find("设计文件"), std::string::npos); // no file, no line for it
    EXPECT_EQ(text.find("施工配合比"), std::string::npos);
    EXPECT_EQ(text.find('?'), std::string::npos);
}

TEST(Report, TypedBaseValueIsShownAsGivenNeverAsDerived) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text8, "0.50");
    const std::string text = calculated(std::move(sheet)).text();
    expectLines(text, {"     W/C = 0.50（输入值）", "     C/W = 1 / (W/C) = 1 / 0.50 = 2 ≈ 2.00",
                       "     mc0 = mw0 / (W/C) = 180 / 0.50 = 360 ≈ 360.00 kg/m³"});
    EXPECT_EQ(text.find("W/C = αa·fce"), std::string::npos);
    EXPECT_NE(text.find("  水灰比                      W/C    0.50         输入值，不经计算\n"),
              std::string::npos)
        << text;
}

TEST(Report, CementMinimumSaysTheComputedContentAndTheMinimumTaken) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "120");
    const Calculated c = calculated(std::move(sheet));
    expectLines(
        c.text(),
        {"     mc0 = mw0 / (W/C) = 120 / 0.52 = 230.7692 ≈ 230.77 kg/m³",
         "     230.77 kg/m³ < 260 kg/m³，取最小水泥用量 mc0 = 260 kg/m³（程序提示：水泥用量小"
         "于最小值 故取260）。",
         "     Vc = mc0 / ρc = 260 / 3.1 = 83.87097 ≈ 83.87 L"});

    // A content typed by the user is no minimum case, whatever its size.
    MemorySheet typed = resetSheet();
    typed.setText(Text4, "200");
    expectLines(calculated(std::move(typed)).text(),
                {"     mc0 = 200 kg/m³（输入值）",
                 "     此项在计算前已填写，按输入值采用，不作最小水泥用量检验。"});
}

TEST(Report, MassMethodShowsTheAggregateAndBothSplits) {
    MemorySheet sheet = massSheet();
    sheet.setText(Text4, "382.98");
    const std::string text = calculated(std::move(sheet)).text();
    expectLines(text,
                {"  砂石用量的计算方法：质量法。", "  6. 砂石用量（质量法）",
                 "     A = mcp − mc0 − mw0 = 2400 − 382.98 − 180 = 1837.02 kg/m³",
                 "     ms0 = A × βs = 1837.02 × 0.36 = 661.3272 kg/m³",
                 // The stone by D / βs, as the sheet shows it.
                 "     mg0 = (ms0 − ms0 × βs) / βs = (661.3272 − 238.0778) / 0.36 = 423.2494 / "
                 "0.36 = 1175.693 kg/m³",
                 "  水泥 : 砂 : 石子 : 水 = 1.00 : 1.73 : 3.07 : 0.47"});
    EXPECT_EQ(text.find("Vc = "), std::string::npos);
    EXPECT_NE(text.find("  混凝土拌合物假定表观密度    mcp    2400    kg/m³  质量法用\n"),
              std::string::npos)
        << text;
}

TEST(Report, MoistureCorrectionGivesTheConstructionMixWithTheContentsUsed) {
    MemorySheet sheet = massSheet();
    sheet.setText(Text4, "382.98");
    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    const std::string text = calculated(std::move(sheet)).text();
    expectLines(text,
                {"  8. 含水率调整（施工配合比）", "     砂含水率 ws = 0.03，石子含水率 wg = 0.01",
                 "     ms = (ms/mc) × mc0 = 1.73 × 382.98 = 662.5554 kg/m³",
                 "     ms′ = ms × ws + ms = 662.5554 × 0.03 + 662.5554 = 682.4321 kg/m³",
                 "     mw′ = mw0 − Wg − Ws = 180 − 11.75749 − 19.87666 = 148.3658 kg/m³",
                 "  （一）计算配合比（骨料按干燥状态计）",
                 "  每立方米用量（kg/m³）  382.98  661.3272  1175.693  180",
                 "  水泥 : 砂 : 石子 : 水 = 1.00 : 1.73 : 3.07 : 0.47",
                 "  （二）施工配合比（砂含水率 ws = 0.03，石子含水率 wg = 0.01）",
                 "  每立方米用量（kg/m³）  382.98  682.4321  1187.506  148.3658",
                 // The cement term as in the dry mix, whatever the sheet writes.
                 "  水泥 : 砂 : 石子 : 水 = 1.00 : 1.78 : 3.10 : 0.39",
                 // The trial batch is made of the wet aggregate and the water to add.
                 "  砂    682.4321            13.649", "  水    148.3658            2.967"});
}

TEST(Report, OnlyOneMoistureContentIsListedAsNotUsed) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text21, "0.03");
    const std::string text = calculated(std::move(sheet)).text();
    const std::size_t row = text.find("  砂含水率                    ws     0.03");
    ASSERT_NE(row, std::string::npos) << text;
    EXPECT_EQ(text.find("只填写了一项含水率，未作调整", row), text.find('\n', row) - 42);
    EXPECT_EQ(text.find("施工配合比"), std::string::npos);
}

TEST(Report, NoReportOfAStoppedOrEmptyCalculation) {
    MemorySheet stopped = resetSheet();
    stopped.setText(Text5, "abc");
    EXPECT_FALSE(calculated(std::move(stopped)).document);

    // The moisture adjustment stopped after the method had written its rows.
    MemorySheet late = resetSheet();
    late.setText(Text21, "0.03");
    late.setText(Text24, "wet");
    EXPECT_FALSE(calculated(std::move(late)).document);

    MemorySheet neither = resetSheet();
    neither.setOptionRaw(Option::option1, false);
    EXPECT_FALSE(calculated(std::move(neither)).document);

    EXPECT_FALSE(report::buildReport(resetSheet(), Trace{}, kOptions));
}

TEST(Report, DecimalCommaFormatIsUsedForEveryFigure) {
    const Calculated c = calculated(resetSheet(kDecimalComma));
    expectLines(
        c.text(),
        {"     fcu,0 = fcu,k + 1,645σ = 20 + 1,645 × 4 = 26,58 MPa",
         "     346,15 kg/m³ ≥ 260 kg/m³，满足最小水泥用量。",
         "     Vc = mc0 / ρc = 346,15 / 3,1 = 111,6613 ≈ 111,66 L",
         "     V = 1000 − 10α − Vc − Vw = 1000 − 10 × 1 − 111,66 − 180 = 698,34 L",
         "  水泥 : 砂 : 石子 : 水 = 1,00 : 1,96 : 3,49 : 0,52",
         "  试拌 20 L 混凝土：各材料用量 = 每立方米用量 × 20 / 1000，按上表每立方米用量的显示"
         "值计算，四舍五入至 0,001 kg（1 g）。",
         "  水泥  346,15              6,923"});
}

TEST(Report, HeadingNamesTheDesignFileAndTheBatchVolumeIsTheOneChosen) {
    report::Options options = kOptions;
    options.designFile = "C25 梁.lanshi";
    options.batchLitres = 12.5;
    const std::string text = calculated(resetSheet(), options).text();
    expectLines(text, {"设计文件：C25 梁.lanshi", "  水泥  346.15              4.327",
                       "  石子  1206.731            15.084"});
    EXPECT_NE(text.find("试拌 12.5 L 混凝土"), std::string::npos);
}

TEST(Report, HtmlCarriesTheSameFiguresAndEscapesTheUsersTexts) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text28, "<b>70 & 90</b>");
    const Calculated c = calculated(std::move(sheet));
    const std::string html = report::toHtml(*c.document);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
    EXPECT_NE(html.find("&lt;b&gt;70 &amp; 90&lt;/b&gt;"), std::string::npos);
    EXPECT_EQ(html.find("<b>70"), std::string::npos);
    for (const char* figure : {"346.15", "678.7865", "1206.731", "1.96", "3.49",
                               "= 20 + 1.645 × 4 = 26.58<span class=\"keep\">&nbsp;MPa", "6.923"}) {
        EXPECT_NE(html.find(figure), std::string::npos) << figure;
    }
}

struct TrialCase {
    const char* name;
    const char* mass;
    double litres;
    NumberFormat format;
    std::optional<std::string> expected;
};

void PrintTo(const TrialCase& c, std::ostream* os) {
    *os << c.name << ": \"" << c.mass << "\" x " << c.litres << " L under \"" << c.format.decimal
        << "\" \"" << c.format.group << "\" " << c.format.groupSize << " -> "
        << c.expected.value_or("nothing");
}

class TrialMass : public ::testing::TestWithParam<TrialCase> {};

TEST_P(TrialMass, IsTheRowTextTimesTheVolumeRoundedHalfUpToTheGram) {
    const TrialCase& c = GetParam();
    EXPECT_EQ(report::trialMass(c.mass, c.litres, c.format), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TrialMass,
    ::testing::Values(
        TrialCase{"Cement", "346.15", 20, {}, "6.923"},
        TrialCase{"SevenDigits", "678.7865", 20, {}, "13.576"},
        // 3.6005 exactly: half up, where a double product (3.60049999...) would give 3.600.
        TrialCase{"ExactTieRoundsUp", "180.025", 20, {}, "3.601"},
        TrialCase{"BelowHalfRoundsDown", "180.0249", 20, {}, "3.600"},
        TrialCase{"CarryThroughNines", "49.99995", 20, {}, "1.000"},
        TrialCase{"Grouped", "1,234.57", 20, {}, "24.691"},
        TrialCase{"ExponentForm", "1.234568E+07", 20, {}, "246,913.600"},
        TrialCase{"Blanks", " 180 ", 20, {}, "3.600"}, TrialCase{"Tiny", "0.0001", 20, {}, "0.000"},
        TrialCase{"Negative", "-148.3658", 20, {}, "-2.967"},
        TrialCase{"FractionalVolume", "346.15", 12.5, {}, "4.327"},
        TrialCase{"LargeVolume", "346.15", 1000, {}, "346.150"},
        TrialCase{"DecimalComma", "346,15", 20, kDecimalComma, "6,923"},
        TrialCase{"DecimalCommaGrouped", "1.234,57", 20, kDecimalComma, "24,691"},
        TrialCase{"NotANumber", "水泥", 20, {}, std::nullopt},
        TrialCase{"ZeroVolume", "346.15", 0, {}, std::nullopt},
        TrialCase{"NegativeVolume", "346.15", -20, {}, std::nullopt}),
    [](const ::testing::TestParamInfo<TrialCase>& row) { return std::string(row.param.name); });

struct FigureCase {
    const char* name;
    double value;
    NumberFormat format;
    const char* expected;
};

TEST(Figure, SevenSignificantDigitsInTheRegionalFormat) {
    const std::vector<FigureCase> cases{
        {"Single", double(0.52018863f), {}, "0.5201886"},
        {"DoubleSum", 20.0 + 4.0 * 1.645, {}, "26.58"},
        {"Whole", 180.0, {}, "180"},
        {"TieToEvenVolume", 698.3399658203125, {}, "698.34"},
        {"Exponent", 12345678.0, {}, "1.234568E+07"},
        {"JustBelowExponent", 9999999.0, {}, "9999999"},
        {"Small", 0.00001234, {}, "1.234E-05"},
        {"Zero", 0.0, {}, "0"},
        {"NegativeZero", -0.0, {}, "0"},
        {"Negative", -2.5, {}, "-2.5"},
        {"DecimalComma", 111.66129302978516, kDecimalComma, "111,6613"},
    };
    for (const FigureCase& c : cases) {
        EXPECT_EQ(report::figure(c.value, c.format), c.expected) << c.name;
    }
}

TEST(LastCalculation, HoldsWhileOnlyRecordedEntriesChange) {
    MemorySheet sheet = resetSheet();
    report::LastCalculation last;
    ASSERT_TRUE(calculate(sheet, last.trace).completed());
    last.after = report::SheetState::of(sheet);
    EXPECT_TRUE(last.stillHolds(sheet));

    struct Edit {
        const char* name;
        std::function<void(MemorySheet&)> apply;
        bool holds;
    };
    const std::vector<Edit> edits{
        {"slump", [](MemorySheet& s) { s.setText(Text28, "90"); }, true},
        {"sand density", [](MemorySheet& s) { s.setText(Text19, "2.6"); }, true},
        {"sand-ratio frame", [](MemorySheet& s) { s.setText(Text16, "x"); }, true},
        {"crushed stone", [](MemorySheet& s) { s.setChecked(Check::碎石, true); }, true},
        {"coarse sand", [](MemorySheet& s) { s.select(Option::粗砂); }, true},
        {"strength grade", [](MemorySheet& s) { s.setText(Text1, "25"); }, false},
        {"a result", [](MemorySheet& s) { s.setText(Text13, "1206.73"); }, false},
        {"proportion", [](MemorySheet& s) { s.setText(Text33, ""); }, false},
        {"concrete mass", [](MemorySheet& s) { s.setText(Text20, "2400"); }, false},
        {"method", [](MemorySheet& s) { s.select(Option::option2); }, false},
    };
    for (const Edit& edit : edits) {
        MemorySheet changed = sheet;
        edit.apply(changed);
        EXPECT_EQ(last.stillHolds(changed), edit.holds) << edit.name;
    }
}

TEST(Refusal, EveryReasonAsksForACalculation) {
    for (const auto refusal :
         {report::NoReport::NoCalculation, report::NoReport::Stopped, report::NoReport::Changed}) {
        const std::string text = report::refusalText(refusal);
        EXPECT_NE(text.find("请先按\"计算\""), std::string::npos);
    }
    EXPECT_NE(report::refusalText(report::NoReport::Stopped),
              report::refusalText(report::NoReport::Changed));
}

} // namespace
