// The volume method, the mass method and the moisture adjustment, each
// against its worked figures, its stops and what a stop leaves written.
#include "calc/calculate.h"
#include "calc/conversions.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "tests/case_names.h"
#include "tests/sheet_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace calc;
using calc::testing::faultStop;
using calc::testing::namedBy;
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

void PrintTo(const VolumeStopCase& c, std::ostream* os) {
    *os << c.name << ": Text" << int(c.field) << " = \"" << c.text << "\" -> "
        << ::testing::PrintToString(c.expected) << (c.massRowWritten ? ", mass row written" : "");
}

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
                       faultStop(Stage::tjfjs, Reason::DivisionByZero, Text4), true}),
    namedBy([](const VolumeStopCase& c) { return std::string(c.name); }));

// ---- mass method ----------------------------------------------------------

struct MassCase {
    const char* cement; // Text4, also the zlshuiniliang handed over
    const char* sandRatio;
    const char* concrete;
    Texts massRow;
    Texts proportionRow;
};

void PrintTo(const MassCase& c, std::ostream* os) {
    *os << "cement " << c.cement << ", sand ratio " << c.sandRatio << ", concrete " << c.concrete
        << " -> " << ::testing::PrintToString(c.massRow) << " / "
        << ::testing::PrintToString(c.proportionRow);
}

class MassMethod : public ::testing::TestWithParam<MassCase> {};

TEST_P(MassMethod, WorkedFigures) {
    const MassCase& c = GetParam();
    MemorySheet sheet = resetSheet();
    const NumberFormat& format = sheet.numberFormat();
    sheet.setText(Text4, c.cement);
    zhiliangfa(sheet, parseStrict(c.sandRatio, format).value, parseStrict(c.cement, format).value,
               180.0f, parseStrict(c.concrete, format).value);
    EXPECT_EQ(textsOf(sheet, kMassRow), c.massRow);
    EXPECT_EQ(textsOf(sheet, kProportionRow), c.proportionRow);
}

INSTANTIATE_TEST_SUITE_P(Table, MassMethod,
                         ::testing::Values(MassCase{"382.98",
                                                    "0.36",
                                                    "2400",
                                                    {"382.98", "661.3272", "1175.693", "180"},
                                                    {"1.00", "1.73", "3.07", "0.47"}},
                                           // The stone is D ÷ zlsl: A − S would give 1138.952.
                                           MassCase{"382.98",
                                                    "0.38",
                                                    "2400",
                                                    {"382.98", "698.0676", "1138.953", "180"},
                                                    {"1.00", "1.82", "2.97", "0.47"}},
                                           MassCase{"382.98",
                                                    "1",
                                                    "2400",
                                                    {"382.98", "1837.02", "0", "180"},
                                                    {"1.00", "4.80", "0.00", "0.47"}},
                                           // The stone proportion divides the stone's text read
                                           // back (1293.283 / 260.48 = 4.96499…), not the single
                                           // 1293.2832… (4.965000…, which would be written 4.97).
                                           MassCase{"260.48",
                                                    "0.34",
                                                    "2400",
                                                    {"260.48", "666.2368", "1293.283", "180"},
                                                    {"1.00", "2.56", "4.96", "0.69"}},
                                           // An assumed mass below cement plus water is not judged.
                                           MassCase{"382.98",
                                                    "0.36",
                                                    "500",
                                                    {"382.98", "-22.67281", "-40.30721", "180"},
                                                    {"1.00", "-0.06", "-0.11", "0.47"}}),
                         namedBy([](const MassCase& c) {
                             return std::string(c.cement) + " " + c.sandRatio + " " + c.concrete;
                         }));

TEST(MassMethod, StopsAtZeroSandRatioBeforeWritingAnything) {
    MemorySheet sheet = resetSheet();
    const MemorySheet before = sheet;
    EXPECT_EQ(stopOf([&] { zhiliangfa(sheet, 0.0f, 382.98f, 180.0f, 2400.0f); }),
              faultStop(Stage::zhiliangfa, Reason::InvalidOperation, Text15));
    EXPECT_EQ(sheet, before);
}

TEST(MassMethod, StopsAtTheFirstProportionForZeroCement) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text4, "0");
    EXPECT_EQ(stopOf([&] { zhiliangfa(sheet, 0.36f, 0.0f, 180.0f, 2400.0f); }),
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
        zhiliangfa(*sheet, 0.36f, 382.98f, 180.0f, 2400.0f);
    }
    EXPECT_EQ(first, second);
}

TEST(MassMethod, GroupedCementContentGivesFullValueProportions) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text4, "1,234.57");
    zhiliangfa(sheet, 0.36f, 1234.57f, 180.0f, 2400.0f);
    EXPECT_EQ(sheet.text(Text11), "1,234.57");
    EXPECT_EQ(sheet.text(Text33), "0.15"); // 180 / 1234.57
    EXPECT_EQ(sheet.text(Text30), "1.00");
}

// ---- moisture adjustment ----------------------------------------------------------

struct MoistureCase {
    float szzlb, shizzlb, snyzl;
    const char* sand;
    const char* stone;
    Texts massRow;
    Texts proportionRow;
    float dryS, dryG;
};

void PrintTo(const MoistureCase& c, std::ostream* os) {
    *os << "moisture " << c.szzlb << "/" << c.shizzlb << "/" << c.snyzl << ", sand " << c.sand
        << ", stone " << c.stone << " -> " << ::testing::PrintToString(c.massRow) << " / "
        << ::testing::PrintToString(c.proportionRow) << ", dry " << c.dryS << "/" << c.dryG;
}

class MoistureAdjustment : public ::testing::TestWithParam<MoistureCase> {};

TEST_P(MoistureAdjustment, WorkedFigures) {
    const MoistureCase& c = GetParam();
    MemorySheet sheet = resetSheet();
    const NumberFormat& format = sheet.numberFormat();
    const DryMasses dry =
        tiaozheng(sheet, c.szzlb, c.shizzlb, c.snyzl, parseStrict(c.sand, format).value,
                  parseStrict(c.stone, format).value);
    EXPECT_EQ(textsOf(sheet, kMassRow), c.massRow);
    EXPECT_EQ(textsOf(sheet, kProportionRow), c.proportionRow);
    EXPECT_EQ(dry.S, c.dryS);
    EXPECT_EQ(dry.G, c.dryG);
}

INSTANTIATE_TEST_SUITE_P(Table, MoistureAdjustment,
                         ::testing::Values(MoistureCase{1.73f,
                                                        3.07f,
                                                        382.98f,
                                                        "0.03",
                                                        "0.01",
                                                        {"382.98", "682.4321", "1187.506",
                                                         "148.3658"},
                                                        {"1", "1.78", "3.10", "0.39"},
                                                        662.555419921875f,
                                                        1175.7486572265625f},
                                           MoistureCase{1.73f,
                                                        3.07f,
                                                        382.98f,
                                                        "0",
                                                        "0",
                                                        {"382.98", "662.5554", "1175.749", "180"},
                                                        {"1", "1.73", "3.07", "0.47"},
                                                        662.555419921875f,
                                                        1175.7486572265625f},
                                           // The wet sand is S × w + S rounded once: S + Ws would
                                           // give 529.62.
                                           MoistureCase{1.94f,
                                                        3.07f,
                                                        260.0f,
                                                        "0.05",
                                                        "0.01",
                                                        {"260", "529.6201", "806.182", "146.798"},
                                                        {"1", "2.04", "3.10", "0.56"},
                                                        504.4000244140625f,
                                                        798.2000122070312f},
                                           // The proportion is narrowed to single before it is
                                           // written: 1.575 in double would be written 1.57.
                                           MoistureCase{1.50f,
                                                        3.07f,
                                                        260.0f,
                                                        "0.05",
                                                        "0.01",
                                                        {"260", "409.5", "806.182", "152.518"},
                                                        {"1", "1.58", "3.10", "0.59"},
                                                        390.0f,
                                                        798.2000122070312f}),
                         namedBy([](const MoistureCase& c) {
                             return formatSingle(c.szzlb, {}) + " " + formatSingle(c.shizzlb, {}) +
                                    " " + formatSingle(c.snyzl, {}) + " " + c.sand + " " + c.stone;
                         }));

TEST(MoistureAdjustment, WritesTheCementInItsShortForm) {
    MemorySheet sheet = resetSheet();
    tiaozheng(sheet, 1.73f, 3.07f, 260.0f, 0.03f, 0.01f);
    EXPECT_EQ(sheet.text(Text11), "260");
}

TEST(MoistureAdjustment, StopsBeforeWritingWhenTheWaterIsNoNumber) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "");
    const MemorySheet before = sheet;
    EXPECT_EQ(stopOf([&] { tiaozheng(sheet, 1.73f, 3.07f, 382.98f, 0.03f, 0.01f); }),
              readStop(Stage::tiaozheng, Text26));
    EXPECT_EQ(sheet, before);
}

TEST(MoistureAdjustment, ZeroCementWritesTheMassRowThenStops) {
    MemorySheet sheet = resetSheet();
    EXPECT_EQ(stopOf([&] { tiaozheng(sheet, 1.73f, 3.07f, 0.0f, 0.03f, 0.01f); }),
              faultStop(Stage::tiaozheng, Reason::DivisionByZero, Text4));
    EXPECT_EQ(textsOf(sheet, kMassRow), (Texts{"0", "0", "0", "180"}));
    EXPECT_EQ(textsOf(sheet, kProportionRow), (Texts{"", "", "", ""}));
}

} // namespace
