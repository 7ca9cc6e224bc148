// What a checker expects of the 计算书: the items by their proper terms, fce
// as a step of its own, the 计算配合比 with masses rounded to the kilogram and
// the apparent density, the 注意 list, subscripts in HTML, figures rounded as
// the window rounds them, and no text of a field that can forge a line.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "design/provenance.h"
#include "jgj55/design.h"
#include "report/jgj55report.h"
#include "report/numbers.h"
#include "report/report.h"
#include "tests/case_names.h"
#include "tests/sheet_fixture.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace calc;

const report::Options kOptions{"2024-05-01", "普通澜石", "1.00", "", 20.0, {}};

using calc::testing::resetSheet;

std::optional<report::Document> documentOf(MemorySheet& sheet) {
    Trace trace;
    calculate(sheet, trace);
    return report::buildReport(sheet, trace, kOptions);
}

std::string textOf(MemorySheet sheet) {
    const auto document = documentOf(sheet);
    return document ? report::toText(*document) : std::string("(no report)");
}

std::string htmlOf(MemorySheet sheet) {
    const auto document = documentOf(sheet);
    return document ? report::toHtml(*document) : std::string("(no report)");
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(ReportContent, ProperTermsBasisAndTheStepsACheckerWrites) {
    const std::string text = textOf(resetSheet());
    for (const char* term :
         {"设计依据：JGJ 55-2000", "强度标准差", "回归系数", "单位用水量", "富余系数",
          "混凝土配制强度", "水泥强度等级值",
          "  2. 水泥实际强度\n     fce = γc·fce,g = 1.07 × 32.5 = 34.775 MPa\n", "  3. 水灰比\n",
          "计算配合比（骨料按干燥状态计）",
          "  取整至 1 kg（kg/m³）   346     679       1207      180\n",
          "计算表观密度 ρc,c = mc + ms + mg + mw = 346.15 + 678.7865 + 1206.731 + 180 = "
          "2411.6675 kg/m³",
          "工程名称：\n", "  审核：________________    日期："}) {
        EXPECT_TRUE(contains(text, term)) << term << "\n" << text;
    }
    for (const char* caption : {"设计配合比", "σ取值", "富裕系数", "注意"}) {
        EXPECT_FALSE(contains(text, caption)) << caption << "\n" << text;
    }
}

TEST(ReportContent, HtmlWritesRealSubscriptsAndKeepsUnitsWhole) {
    const std::string html = htmlOf(resetSheet());
    for (const char* part :
         {"f<sub>cu,0</sub>", "γ<sub>c</sub>", "α<sub>a</sub>", "m<sub>w0</sub>", "β<sub>s</sub>",
          "ρ<sub>c</sub>", "ρ<sub>c,c</sub>", "<span class=\"keep\">&nbsp;kg/&#x2060;m³</span>"}) {
        EXPECT_TRUE(contains(html, part)) << part;
    }
}

TEST(ReportContent, FiguresRoundHalfAwayFromZeroAsTheWindowDoes) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "181");
    sheet.setText(Text20, "2350");
    sheet.select(Option::option2);
    const std::string text = textOf(sheet);
    EXPECT_TRUE(contains(text, "655.5313")) << text;
    EXPECT_FALSE(contains(text, "655.5312")) << text;
}

TEST(ReportContent, AFieldsTextCannotForgeASectionOrDriveATerminal) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text28, "\n三、配合比…\x1b[2J");
    sheet.setText(Text16, "a\r\nb\xC2\x9B"
                          "31m");
    const std::string text = textOf(sheet);
    EXPECT_FALSE(contains(text, "\n三、配合比…")) << text;
    EXPECT_FALSE(contains(text, "\x1b"));
    EXPECT_FALSE(contains(text, "\r"));
    EXPECT_FALSE(contains(text, "\xC2\x9B"));
    EXPECT_TRUE(contains(text, "  坍落度             三、配合比… [2J  mm")) << text;
}

struct Warning {
    const char* name;
    std::function<void(Sheet&)> change;
    std::string expected;
};

class Warnings : public ::testing::TestWithParam<Warning> {};

TEST_P(Warnings, AreListedUnder注意AndChangeNoFigure) {
    MemorySheet sheet = resetSheet();
    GetParam().change(sheet);
    MemorySheet plain = sheet;
    calculate(plain);
    const std::string text = textOf(sheet);
    const std::size_t list = text.find("  注意\n     1. ");
    ASSERT_NE(list, std::string::npos) << text;
    EXPECT_NE(text.find(GetParam().expected, list), std::string::npos) << text;
    // The warning is the report's: the sheet ends as without it.
    MemorySheet traced = sheet;
    Trace trace;
    calculate(traced, trace);
    EXPECT_EQ(traced, plain);
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, Warnings,
    ::testing::Values(Warning{"sand_ratio_as_percent", [](Sheet& s) { s.setText(Text15, "36"); },
                              "砂率 βs = 36 不在 0.2～0.5 之间"},
                      Warning{"sand_ratio_low", [](Sheet& s) { s.setText(Text15, "0.19"); },
                              "砂率 βs = 0.19 不在 0.2～0.5 之间"},
                      Warning{"design_strength_below_grade",
                              [](Sheet& s) { s.setText(Text2, "19.9"); },
                              "混凝土配制强度 fcu,0 = 19.9 MPa 低于强度标准值 fcu,k = 20 MPa"},
                      Warning{"water_cement_high", [](Sheet& s) { s.setText(Text8, "0.81"); },
                              "水灰比 W/C = 0.81 不在 0.3～0.8 之间"},
                      Warning{"water_cement_low", [](Sheet& s) { s.setText(Text8, "0.29"); },
                              "水灰比 W/C = 0.29 不在 0.3～0.8 之间"},
                      Warning{"cement_above_550", [](Sheet& s) { s.setText(Text26, "300"); },
                              "水泥用量 mc0 = 576.92 kg/m³ 大于 550 kg/m³"},
                      Warning{"negative_mass",
                              [](Sheet& s) {
                                  s.select(Option::option2);
                                  s.setText(Text20, "500");
                              },
                              "砂用量为 -"},
                      Warning{"zero_mass", [](Sheet& s) { s.setText(Text15, "0"); },
                              "砂用量为 0 kg/m³，不是正数"},
                      Warning{"density_above_2600",
                              [](Sheet& s) {
                                  s.select(Option::option2);
                                  s.setText(Text20, "2700");
                              },
                              "计算表观密度 ρc,c = 2700"}),
    [](const ::testing::TestParamInfo<Warning>& row) { return std::string(row.param.name); });

TEST(ReportContent, BoundariesAreNoWarning) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text15, "0.5");
    sheet.setText(Text8, "0.3");
    sheet.setText(Text2, "20");
    const std::string text = textOf(sheet);
    EXPECT_FALSE(contains(text, "不在")) << text;
    EXPECT_FALSE(contains(text, "低于")) << text;
}

struct Figure {
    double value;
    std::string shown;
};

class Figures : public ::testing::TestWithParam<Figure> {};

TEST_P(Figures, SevenDigitsHalfAwayFromZero) {
    EXPECT_EQ(report::figure(GetParam().value, {}), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, Figures,
    ::testing::Values(Figure{655.53125, "655.5313"}, Figure{-655.53125, "-655.5313"},
                      Figure{0.52018857, "0.5201886"}, Figure{9999999.5, "1E+07"},
                      Figure{123456789.0, "1.234568E+08"}, Figure{0.0001, "0.0001"},
                      Figure{0.00001, "1E-05"}, Figure{2.5, "2.5"}, Figure{1e300, "1E+300"}),
    [](const ::testing::TestParamInfo<Figure>& row) {
        return calc::testing::caseName(row.index, row.param.shown);
    });

TEST(Masses, RoundedToTheKilogramHalfAwayFromZero) {
    const calc::NumberFormat comma{",", ".", 3, "-"};
    const std::vector<std::pair<std::string, std::string>> rows{
        {"346.15", "346"}, {"678.5", "679"},  {"678.4999", "678"}, {"-0.5", "-1"},
        {"-0.4", "0"},     {"999.5", "1000"}, {"180", "180"},      {"0.5", "1"}};
    for (const auto& [mass, rounded] : rows) {
        EXPECT_EQ(report::roundedToKilogram(mass, {}), rounded) << mass;
    }
    EXPECT_EQ(report::roundedToKilogram("1.206,5", comma), "1207");
    EXPECT_FALSE(report::roundedToKilogram("水泥", {}));
}

TEST(Masses, SumIsExactInDecimal) {
    EXPECT_EQ(report::sumOf({"346.15", "678.7865", "1206.731", "180"}, {}), "2411.6675");
    EXPECT_EQ(report::sumOf({"0.1", "0.2"}, {}), "0.3");
    EXPECT_EQ(report::sumOf({"100", "-250.5"}, {}), "-150.5");
    EXPECT_FALSE(report::sumOf({"100", "砂"}, {}));
}

// ---- The report of a JGJ 55-2011 design -------------------------------------

report::Document jgj55Document(const jgj55::Input& in) {
    const jgj55::Outcome out = jgj55::design(in);
    EXPECT_TRUE(out) << jgj55::plainText(out.refusal.message);
    return out ? report::buildJgj55Report(in, *out.result, {}, kOptions) : report::Document{};
}

// The first block of type B in the section of this title, or null.
template <typename B>
const B* firstIn(const report::Document& document, const std::string& section) {
    for (const report::Section& s : document.sections) {
        if (s.title != section) {
            continue;
        }
        for (const report::Block& block : s.blocks) {
            if (const B* found = std::get_if<B>(&block)) {
                return found;
            }
        }
    }
    return nullptr;
}

TEST(Jgj55ReportContent, TheMixTableGivesEachMassToTheBinder) {
    // C25, fce 45.0, 10 % grade III fly ash, 30 % S95 slag, gravel 31.5 mm,
    // slump 50 mm, plain concrete in 二a, volume method: mb0 = 321, mc0 = 193,
    // mf0 = 32, mk0 = 96, mw0 = 170, ms0 = 610, mg0 = 1296.
    jgj55::Input in;
    in.fcuk = 25;
    in.fce = 45.0;
    in.flyAsh.emplace().fraction = 0.10;
    in.flyAsh->grade = jgj55::FlyAshGrade::III;
    in.slag.emplace().fraction = 0.30;
    in.stone = jgj55::Stone::Gravel;
    in.maxSize = 31.5;
    in.slump = 50;
    in.structure = jgj55::Structure::Plain;
    in.environment = jgj55::Environment::IIa;
    in.method = jgj55::Method::Volume;
    const report::Document document = jgj55Document(in);
    const report::Table* mix = firstIn<report::Table>(document, "三、配合比");
    ASSERT_NE(mix, nullptr);
    // 193 / 321 = 0.601, 32 / 321 = 0.0997, 96 / 321 = 0.299, 170 / 321 = 0.530,
    // 610 / 321 = 1.900, 1296 / 321 = 4.037: the cement is a part of the binder.
    const std::vector<std::vector<std::string>> rows{
        {"水泥", "193", "0.60"}, {"粉煤灰", "32", "0.10"}, {"矿渣粉", "96", "0.30"},
        {"水", "170", "0.53"},   {"砂", "610", "1.90"},    {"石子", "1296", "4.04"}};
    EXPECT_EQ(mix->rows, rows);
}

TEST(Jgj55ReportContent, TheDesignsWarningsAreListedUnder注意) {
    // Environment 三a, whose lowest strength class is C35: C20, its W/B of
    // 0.53 × 49.3 / (26.6 + 0.53 × 0.2 × 49.3) = 0.82 also held to 0.45 (a
    // note); and C30 with αa = 0.34, W/B = 0.40, the warning alone.
    jgj55::Input c20;
    c20.fcuk = 20;
    c20.cementGrade = jgj55::CementGrade::G42_5;
    c20.stone = jgj55::Stone::Crushed;
    c20.maxSize = 20;
    c20.slump = 50;
    c20.environment = jgj55::Environment::IIIa;
    jgj55::Input c30 = c20;
    c30.fcuk = 30;
    c30.alphaA = 0.34;
    const std::pair<jgj55::Input, std::vector<std::string>> cases[] = {
        {c20,
         {"计算水胶比 0.82 大于环境类别三a的最大水胶比 0.45，取 0.45。",
          "强度等级 C20 低于环境类别三a的最低强度等级 C35。"}},
        {c30, {"强度等级 C30 低于环境类别三a的最低强度等级 C35。"}},
    };
    for (const auto& [in, expected] : cases) {
        const report::Document document = jgj55Document(in);
        const report::List* notes = firstIn<report::List>(document, "二、计算过程");
        ASSERT_NE(notes, nullptr) << report::toText(document);
        EXPECT_EQ(notes->title, "注意");
        EXPECT_EQ(notes->items, expected) << report::toText(document);
    }
}

// Every figure at its stated precision; passed checks with both sides; the
// construction mix to the kilogram and its trial batch to the gram.
TEST(Jgj55ReportContent, WritesFiguresAtTheirPrecisionAndTheChecksMet) {
    // C25, P·O 32.5, 15 % fly ash (γf 0.90), W/B 0.50 from trials, crushed
    // 20 mm, slump 50, 二a: mw0 = 195, mb0 = 390, mf0 = 58.5 → 59, mc0 = 331;
    // fb = 0.90 × 36.4 = 32.76 → 32.8; βs 34.5 → 35 (a tie, up);
    // T = 2400 − 390 − 195 = 1815, ms0 = 635.25 → 635, mg0 = 1180.
    // Wet at 3 % and 1 %: 654.05 → 654 kg, 1191.8 → 1192 kg, water
    // 195 − 19.05 − 11.8 = 164.15 → 164 kg; 20 L: 13.080, 23.840, 3.280 kg.
    jgj55::Input in;
    in.fcuk = 25;
    in.cementGrade = jgj55::CementGrade::G32_5;
    in.flyAsh.emplace().fraction = 0.15;
    in.admixture = jgj55::Admixture{.fraction = 0.015, .waterReduction = 0};
    in.waterBinder = 0.5;
    in.stone = jgj55::Stone::Crushed;
    in.maxSize = 20;
    in.slump = 50;
    in.environment = jgj55::Environment::IIa;
    in.sandMoisture = 3;
    in.stoneMoisture = 1;
    const std::string text = report::toText(jgj55Document(in));
    for (const char* shown :
         {"γf = 0.90（精确至 0.01）", "fb = γf·γs·fce = 0.90 × 1.00 × 36.4 = 32.8 MPa",
          "W/B = 0.50\n", "mb0 = mw0 / (W/B) = 195 / 0.50 = 390 kg/m³", "βa = 1.5 %",
          "W/B 0.50 ≤ 0.55（二a） 满足", "C25 ≥ C25（二a） 满足",
          "mb0 390 ≥ 320（钢筋混凝土） 满足", "粉煤灰 15% ≤ 30%（表 3.0.5-1） 满足", " 13.080\n",
          " 23.840\n", " 3.280\n", "说明（本程序的约定）"}) {
        EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
    }
    const std::size_t wet = text.find("（二）施工配合比");
    ASSERT_NE(wet, std::string::npos) << text;
    const std::string table = text.substr(wet, text.find("四、试拌用量") - wet);
    for (const char* row : {"  砂      654 ", "  石子    1192 ", "  水      164 "}) {
        EXPECT_NE(table.find(row), std::string::npos) << row << "\n" << table;
    }
}

} // namespace

namespace {

// A cement content from an empty water, kept after the water is typed back:
// the 注意 says both, with every figure filled in.
TEST(ReportWarnings, AnEmptyFieldIsSaidNeverLeftBlank) {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    design::Provenance provenance;
    sheet.setText(calc::Text26, "");
    sheet.setText(calc::Text4, "");
    design::calculate(sheet, provenance);
    ASSERT_EQ(sheet.text(calc::Text4), "260");
    sheet.setText(calc::Text26, "195");
    provenance.edited(calc::Text26);
    const design::Pressed pressed = design::calculate(sheet, provenance);
    ASSERT_TRUE(pressed.outcome.completed());
    const auto document = report::buildReport(sheet, pressed.trace, {});
    ASSERT_TRUE(document);
    const std::string text = report::toText(*document);
    EXPECT_NE(text.find("mc0 = 260 按 mw0 = （空）"), std::string::npos) << text;
    EXPECT_EQ(text.find("=  "), std::string::npos) << text;
}

// A JGJ 55-2011 design's proportions to the binder are its masses over mb0
// rounded half up on the exact quotient, as a checker divides them.
TEST(Jgj55Proportions, AreRoundedOnTheExactQuotient) {
    const calc::NumberFormat comma{",", ".", 3, "-"};
    EXPECT_EQ(report::ratio(4.02, 268, {}), "0.02"); // 0.015; the binary quotient is below it
    EXPECT_EQ(report::ratio(4.01, 268, {}), "0.01"); // 0.01496…
    EXPECT_EQ(report::ratio(1089, 365, {}), "2.98");
    EXPECT_EQ(report::ratio(123456, 1, {}), "123,456.00");
    EXPECT_EQ(report::ratio(4.02, 268, comma), "0,02");

    // mb0 = 161 / 0.60 = 268.3 → 268 (plain concrete, above its 250), and
    // ma0 = 268 × 1.5 % = 4.02: the admixture's row reads 4.02 and 0.02.
    jgj55::Input in;
    in.fcuk = 60;
    in.fce = 69;
    in.waterBinder = 0.60;
    in.stone = jgj55::Stone::Crushed;
    in.maxSize = 20;
    in.slump = 50;
    in.water = 161;
    in.structure = jgj55::Structure::Plain;
    in.admixture = jgj55::Admixture{.fraction = 0.015, .waterReduction = 0};
    const jgj55::Outcome out = jgj55::design(in);
    ASSERT_TRUE(out);
    ASSERT_EQ(out.result->admixture, 4.02);
    const std::string text =
        report::toText(report::buildJgj55Report(in, *out.result, {}, kOptions));
    const std::size_t row = text.find("外加剂", text.find("三、配合比"));
    ASSERT_NE(row, std::string::npos) << text;
    const std::string line = text.substr(row, text.find('\n', row) - row);
    EXPECT_NE(line.find("0.02"), std::string::npos) << line;
    EXPECT_EQ(line.find("0.01"), std::string::npos) << line;
}

} // namespace
