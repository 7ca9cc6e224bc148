// The volume method, the mass method and the moisture adjustment, each
// against its worked figures, its stops and what a stop leaves written.
#include "calc/calculate.h"
#include "calc/conversions.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "tests/sheet_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace calc;
using calc::testing::faultStop;
using calc::testing::readStop;
using calc::testing::resetSheet;
using calc::testing::stopOf;
using calc::testing::textsOf;
using Texts = std::vector<std::string>;

constexpr std::initializer_list<TextField> kMassRow = {Text11, Text12, Text13, Text14};
constexpr std::initializer_list<TextField> kProportionRow = {Text30, Text31, Text32, Text33};

// The sheet after the base stages from the defaults.
MemorySheet afterBaseStages() {
    MemorySheet sheet = resetSheet();
    第一步(sheet);
    第二步(sheet);
    第三步(sheet);
    第四步(sheet);
    return sheet;
}

// ---- volume method --------------------------------------------------------------

TEST(VolumeMethod, FromTheDefaults) {
    MemorySheet sheet = afterBaseStages();
    tjfjs(sheet);
    EXPECT_EQ(textsOf(sheet, kMassRow), (Texts{"346.15", "678.7865", "1206.731", "180"}));
    EXPECT_EQ(textsOf(sheet, kProportionRow), (Texts{"1.00", "1.96", "3.49", "0.52"}));
}

TEST(VolumeMethod, SolverNarrowsTheAggregateVolumeTiesToEven) {
    // V = 698.339996337890625 lies halfway between two singles; narrowing it
    // upward would give 1206.732 and 678.7866.
    const MemorySheet sheet = afterBaseStages();
    EXPECT_EQ(double(tijifa(sheet, 0.36f, "1")), 1206.7314453125);
    EXPECT_EQ(double(tijifa(sheet, 0.36f, "2")), 678.7864990234375);
}

TEST(VolumeMethod, SolverReturnsTheSandForEverySelectorButExactlyOne) {
    const MemorySheet sheet = afterBaseStages();
    const float sand = tijifa(sheet, 0.36f, "2");
    for (const char* dx : {"", " 1", "01", "1 ", "one", "2"}) {
        EXPECT_EQ(tijifa(sheet, 0.36f, dx), sand) << '"' << dx << '"';
    }
    EXPECT_NE(tijifa(sheet, 0.36f, "1"), sand);
}

TEST(VolumeMethod, EmptySandRatioIsZero) {
    MemorySheet sheet = afterBaseStages();
    sheet.setText(Text15, "");
    tjfjs(sheet);
    EXPECT_EQ(textsOf(sheet, kMassRow), (Texts{"346.15", "0", "1885.518", "180"}));
    EXPECT_EQ(textsOf(sheet, kProportionRow), (Texts{"1.00", "0.00", "5.45", "0.52"}));
}

TEST(VolumeMethod, PercentageSandRatioGivesANegativeStoneWithoutAMessage) {
    MemorySheet sheet = afterBaseStages();
    sheet.setText(Text15, "36");
    tjfjs(sheet);
    EXPECT_EQ(sheet.text(Text13).front(), '-');
    EXPECT_TRUE(sheet.notices().empty());
}

TEST(VolumeMethod, CopiesCementAndWaterVerbatimAndIgnoresSandDensity) {
    MemorySheet sheet = afterBaseStages();
    sheet.setText(Text4, "260");
    sheet.setText(Text26, " 180");
    tjfjs(sheet);
    const Texts rows = textsOf(sheet, {Text11, Text14, Text12, Text13});
    EXPECT_EQ(rows[0], "260");
    EXPECT_EQ(rows[1], " 180");
    sheet.setText(Text19, "99");
    tjfjs(sheet);
    EXPECT_EQ(textsOf(sheet, {Text11, Text14, Text12, Text13}), rows);
}

TEST(VolumeMethod, GroupedCementContentGivesFullValueProportions) {
    MemorySheet sheet = afterBaseStages();
    sheet.setText(Text4, "1,234.57");
    tjfjs(sheet);
    EXPECT_EQ(sheet.text(Text11), "1,234.57");
    // 180 / 1234.57 = 0.1458…, not 180 / 1.
    EXPECT_EQ(sheet.text(Text33), "0.15");
    EXPECT_EQ(sheet.text(Text30), "1.00");
}

struct VolumeStopCase {
    const char* name;
    TextField field;
    const char* text;
    Stop expected;
    bool massRowWritten;
};

class VolumeMethodStops : public ::testing::TestWithParam<VolumeStopCase> {};

TEST_P(VolumeMethodStops, LeaveExactlyTheFieldsWrittenSoFar) {
    const VolumeStopCase& c = GetParam();
    MemorySheet sheet = afterBaseStages();
    sheet.setText(c.field, c.text);
    const MemorySheet before = sheet;
    EXPECT_EQ(stopOf([&] { tjfjs(sheet); }), c.expected) << c.name;
    if (c.massRowWritten) {
        EXPECT_NE(textsOf(sheet, kMassRow), textsOf(before, kMassRow)) << c.name;
        EXPECT_EQ(textsOf(sheet, kProportionRow), textsOf(before, kProportionRow)) << c.name;
    } else {
        EXPECT_EQ(sheet, before) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, VolumeMethodStops,
    ::testing::Values(
        VolumeStopCase{"sand ratio 1", Text15, "1",
                       faultStop(Stage::tijifa, Reason::InvalidOperation, Text15), false},
        VolumeStopCase{"cement text", Text4, "x", readStop(Stage::tijifa, Text4), false},
        VolumeStopCase{"cement density", Text18, "", readStop(Stage::tijifa, Text18), false},
        VolumeStopCase{"water", Text26, "1 80", readStop(Stage::tijifa, Text26), false},
        VolumeStopCase{"water density", Text23, "?", readStop(Stage::tijifa, Text23), false},
        VolumeStopCase{"air", Text25, "1%", readStop(Stage::tijifa, Text25), false},
        VolumeStopCase{"stone density", Text22, "2,7", readStop(Stage::tijifa, Text22), false},
        VolumeStopCase{"zero cement density", Text18, "0",
                       faultStop(Stage::tijifa, Reason::DivisionByZero, Text18), false},
        VolumeStopCase{"zero water density", Text23, "0",
                       faultStop(Stage::tijifa, Reason::DivisionByZero, Text23), false},
        VolumeStopCase{"sand ratio beyond single", Text15, "1e39",
                       faultStop(Stage::tjfjs, Reason::Overflow, Text15), false},
        VolumeStopCase{"sand ratio beyond double", Text15, "1e999",
                       readStop(Stage::tjfjs, Text15, Reason::Overflow), false},
        VolumeStopCase{"stone beyond single", Text22, "3e38",
                       faultStop(Stage::tijifa, Reason::Overflow, Text22), false},
        VolumeStopCase{"zero cement", Text4, "0",
                       faultStop(Stage::tjfjs, Reason::DivisionByZero, Text4), true}));

// ---- mass method ----------------------------------------------------------

struct MassCase {
    const char* sandRatio;
    Texts massRow;
    Texts proportionRow;
};

class MassMethod : public ::testing::TestWithParam<MassCase> {};

TEST_P(MassMethod, WorkedFigures) {
    const MassCase& c = GetParam();
    MemorySheet sheet = resetSheet();
    sheet.setText(Text4, "382.98");
    float zlsl = parseStrict(c.sandRatio, sheet.numberFormat()).value;
    float cement = 382.98f, water = 180.0f, concrete = 2400.0f;
    zhiliangfa(sheet, zlsl, cement, water, concrete);
    EXPECT_EQ(textsOf(sheet, kMassRow), c.massRow);
    EXPECT_EQ(textsOf(sheet, kProportionRow), c.proportionRow);
}

INSTANTIATE_TEST_SUITE_P(Table, MassMethod,
                         ::testing::Values(MassCase{"0.36",
                                                    {"382.98", "661.3272", "1175.693", "180"},
                                                    {"1.00", "1.73", "3.07", "0.47"}},
                                           // The stone is D ÷ zlsl: A − S would give 1138.952.
                                           MassCase{"0.38",
                                                    {"382.98", "698.0676", "1138.953", "180"},
                                                    {"1.00", "1.82", "2.97", "0.47"}},
                                           MassCase{"1",
                                                    {"382.98", "1837.02", "0", "180"},
                                                    {"1.00", "4.80", "0.00", "0.47"}}));

TEST(MassMethod, StopsAtZeroSandRatioBeforeWritingAnything) {
    MemorySheet sheet = resetSheet();
    const MemorySheet before = sheet;
    float zlsl = 0, cement = 382.98f, water = 180, concrete = 2400;
    EXPECT_EQ(stopOf([&] { zhiliangfa(sheet, zlsl, cement, water, concrete); }),
              faultStop(Stage::zhiliangfa, Reason::InvalidOperation, Text15));
    EXPECT_EQ(sheet, before);
}

TEST(MassMethod, StopsAtTheFirstProportionForZeroCement) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text4, "0");
    float zlsl = 0.36f, cement = 0, water = 180, concrete = 2400;
    EXPECT_EQ(stopOf([&] { zhiliangfa(sheet, zlsl, cement, water, concrete); }),
              faultStop(Stage::zhiliangfa, Reason::DivisionByZero, Text4));
    EXPECT_EQ(sheet.text(Text11), "0");
    EXPECT_EQ(sheet.text(Text14), "180");
    EXPECT_EQ(textsOf(sheet, kProportionRow), (Texts{"", "", "", ""}));
}

TEST(MassMethod, ResultDependsOnlyOnItsInputs) {
    MemorySheet first = resetSheet();
    first.setText(Text4, "382.98");
    MemorySheet second = first;
    for (TextField f : {Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33}) {
        second.setText(f, "junk");
    }
    for (MemorySheet* sheet : {&first, &second}) {
        float zlsl = 0.36f, cement = 382.98f, water = 180, concrete = 2400;
        zhiliangfa(*sheet, zlsl, cement, water, concrete);
    }
    EXPECT_EQ(first, second);
}

TEST(MassMethod, GroupedCementContentGivesFullValueProportions) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text4, "1,234.57");
    float zlsl = 0.36f, cement = 1234.57f, water = 180, concrete = 2400;
    zhiliangfa(sheet, zlsl, cement, water, concrete);
    EXPECT_EQ(sheet.text(Text11), "1,234.57");
    EXPECT_EQ(sheet.text(Text33), "0.15"); // 180 / 1234.57
    EXPECT_EQ(sheet.text(Text30), "1.00");
}

// ---- moisture adjustment ----------------------------------------------------------

struct MoistureCase {
    const char* sand;
    const char* stone;
    Texts massRow;
    Texts proportionRow;
    float dryS, dryG;
};

class MoistureAdjustment : public ::testing::TestWithParam<MoistureCase> {};

TEST_P(MoistureAdjustment, WorkedFigures) {
    const MoistureCase& c = GetParam();
    MemorySheet sheet = resetSheet();
    const NumberFormat& format = sheet.numberFormat();
    float szzlb = 1.73f, shizzlb = 3.07f, snyzl = 382.98f;
    float szhsl = parseStrict(c.sand, format).value;
    float shizhsl = parseStrict(c.stone, format).value;
    tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl);
    EXPECT_EQ(textsOf(sheet, kMassRow), c.massRow);
    EXPECT_EQ(textsOf(sheet, kProportionRow), c.proportionRow);
    EXPECT_EQ(szzlb, c.dryS);
    EXPECT_EQ(shizzlb, c.dryG);
    EXPECT_EQ(snyzl, 382.98f);
}

INSTANTIATE_TEST_SUITE_P(Table, MoistureAdjustment,
                         ::testing::Values(MoistureCase{"0.03",
                                                        "0.01",
                                                        {"382.98", "682.4321", "1187.506",
                                                         "148.3658"},
                                                        {"1", "1.78", "3.10", "0.39"},
                                                        662.555419921875f,
                                                        1175.7486572265625f},
                                           MoistureCase{"0",
                                                        "0",
                                                        {"382.98", "662.5554", "1175.749", "180"},
                                                        {"1", "1.73", "3.07", "0.47"},
                                                        662.555419921875f,
                                                        1175.7486572265625f}));

TEST(MoistureAdjustment, WritesTheCementInItsShortForm) {
    MemorySheet sheet = resetSheet();
    float szzlb = 1.73f, shizzlb = 3.07f, snyzl = 260.0f, szhsl = 0.03f, shizhsl = 0.01f;
    tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl);
    EXPECT_EQ(sheet.text(Text11), "260");
}

TEST(MoistureAdjustment, StopsBeforeWritingWhenTheWaterIsNoNumber) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "");
    const MemorySheet before = sheet;
    float szzlb = 1.73f, shizzlb = 3.07f, snyzl = 382.98f, szhsl = 0.03f, shizhsl = 0.01f;
    EXPECT_EQ(stopOf([&] { tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl); }),
              readStop(Stage::tiaozheng, Text26));
    EXPECT_EQ(sheet, before);
}

TEST(MoistureAdjustment, ZeroCementWritesTheMassRowThenStops) {
    MemorySheet sheet = resetSheet();
    float szzlb = 1.73f, shizzlb = 3.07f, snyzl = 0, szhsl = 0.03f, shizhsl = 0.01f;
    EXPECT_EQ(stopOf([&] { tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl); }),
              faultStop(Stage::tiaozheng, Reason::DivisionByZero, Text4));
    EXPECT_EQ(textsOf(sheet, kMassRow), (Texts{"0", "0", "0", "180"}));
    EXPECT_EQ(textsOf(sheet, kProportionRow), (Texts{"", "", "", ""}));
}

} // namespace
