// The driver: which stages run for which sheet, and how it stops.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "tests/case_names.h"
#include "tests/sheet_fixture.h"

#include <gtest/gtest.h>

namespace {

using namespace calc;
using calc::testing::namedBy;
using calc::testing::resetSheet;
using calc::testing::textsOf;
using Texts = std::vector<std::string>;

constexpr std::initializer_list<TextField> kResults = {
    Text2, Text8, Text10, Text4, Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33};

MemorySheet massMethodSheet() {
    MemorySheet sheet = resetSheet();
    sheet.select(Option::option2);
    sheet.setText(Text4, "382.98");
    sheet.setText(Text20, "2400");
    return sheet;
}

TEST(Calculate, FromTheDefaults) {
    MemorySheet sheet = resetSheet();
    const Outcome outcome = calculate(sheet);
    EXPECT_TRUE(outcome.completed());
    EXPECT_EQ(textsOf(sheet, kResults),
              (Texts{"26.58", "0.52", "1.92", "346.15", "346.15", "678.7865", "1206.731", "180",
                     "1.00", "1.96", "3.49", "0.52"}));
    EXPECT_TRUE(sheet.notices().empty());
}

TEST(Calculate, TwiceGivesTheSameSheet) {
    for (MemorySheet sheet : {resetSheet(), massMethodSheet()}) {
        sheet.setText(Text21, "0.03");
        sheet.setText(Text24, "0.01");
        ASSERT_TRUE(calculate(sheet).completed());
        const MemorySheet once = sheet;
        ASSERT_TRUE(calculate(sheet).completed());
        EXPECT_EQ(sheet, once);
    }
}

TEST(Calculate, MassMethodWithAndWithoutMoisture) {
    MemorySheet sheet = massMethodSheet();
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(textsOf(sheet, {Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33}),
              (Texts{"382.98", "661.3272", "1175.693", "180", "1.00", "1.73", "3.07", "0.47"}));

    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(textsOf(sheet, {Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33}),
              (Texts{"382.98", "682.4321", "1187.506", "148.3658", "1", "1.78", "3.10", "0.39"}));
}

TEST(Calculate, MoistureOfZeroStillAdjusts) {
    MemorySheet sheet = massMethodSheet();
    sheet.setText(Text21, "0");
    sheet.setText(Text24, "0");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(textsOf(sheet, {Text12, Text13, Text14, Text30, Text31, Text32, Text33}),
              (Texts{"662.5554", "1175.749", "180", "1", "1.73", "3.07", "0.47"}));
}

TEST(Calculate, VolumeMethodWithMoistureShowsTheComputedCementShort) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "120");
    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(sheet.text(Text4), "260");
    EXPECT_EQ(sheet.text(Text11), "260");
    EXPECT_EQ(sheet.text(Text30), "1");
    EXPECT_EQ(sheet.notices().size(), 1u);
}

TEST(Calculate, AdjustedCementFromATwoDecimalContentIsShort) {
    MemorySheet sheet = massMethodSheet();
    sheet.setText(Text4, "260.00");
    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(sheet.text(Text11), "260");
}

TEST(Calculate, TypedIntermediatesAreUsedAndNeverChecked) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text8, "0.5");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(textsOf(sheet, {Text2, Text8, Text10, Text4}),
              (Texts{"26.58", "0.5", "2.00", "360.00"}));

    // All four filled: no base stage runs, so no minimum and no notice, and
    // Text10 is never read, whatever it holds.
    MemorySheet typed = resetSheet();
    typed.setText(Text2, "x");
    typed.setText(Text8, "y");
    typed.setText(Text10, "not a number");
    typed.setText(Text4, "200");
    ASSERT_TRUE(calculate(typed).completed());
    EXPECT_EQ(typed.text(Text11), "200");
    EXPECT_EQ(typed.text(Text2), "x");
    EXPECT_TRUE(typed.notices().empty());
}

TEST(Calculate, OnlyOneMoistureContentMeansNoAdjustment) {
    for (TextField filled : {Text21, Text24}) {
        MemorySheet sheet = massMethodSheet();
        sheet.setText(filled, "abc");
        ASSERT_TRUE(calculate(sheet).completed());
        EXPECT_EQ(sheet.text(Text30), "1.00");
    }
}

TEST(Calculate, NeitherOptionRunsOnlyTheBaseStages) {
    MemorySheet sheet = resetSheet();
    sheet.setOptionRaw(Option::option1, false);
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(sheet.text(Text4), "346.15");
    EXPECT_EQ(textsOf(sheet, {Text11, Text30}), (Texts{"水泥", ""}));
}

struct DriverStopCase {
    const char* name;
    bool mass;
    std::vector<std::pair<TextField, const char*>> edits;
    Stop expected;
    Texts resultsAfter; // kResults after the stop
};

void PrintTo(const DriverStopCase& c, std::ostream* os) {
    *os << c.name << (c.mass ? " (mass method)" : " (volume method)") << ": edits "
        << ::testing::PrintToString(c.edits) << " -> " << ::testing::PrintToString(c.expected)
        << ", results after " << ::testing::PrintToString(c.resultsAfter);
}

class DriverStops : public ::testing::TestWithParam<DriverStopCase> {};

TEST_P(DriverStops, StopWhereTheFirstBadFieldIsMet) {
    const DriverStopCase& c = GetParam();
    MemorySheet sheet = c.mass ? massMethodSheet() : resetSheet();
    for (const auto& [field, text] : c.edits) {
        sheet.setText(field, text);
    }
    const Outcome outcome = calculate(sheet);
    ASSERT_FALSE(outcome.completed()) << c.name;
    EXPECT_EQ(*outcome.stop, c.expected) << c.name;
    EXPECT_EQ(textsOf(sheet, kResults), c.resultsAfter) << c.name;
}

Stop driverRead(Stage purpose, TextField field) {
    return Stop{.stage = Stage::calculate,
                .field = field,
                .reason = Reason::NotANumber,
                .concerned = field,
                .purpose = purpose};
}

const Texts kBaseOnly = {"26.58", "0.52", "1.92", "346.15", "水泥", "砂",
                         "石子",  "水",   "",     "",       "",     ""};

INSTANTIATE_TEST_SUITE_P(
    Table, DriverStops,
    ::testing::Values(
        DriverStopCase{"mass method without concrete mass",
                       true,
                       {{Text4, ""}, {Text20, ""}},
                       driverRead(Stage::zhiliangfa, Text20),
                       kBaseOnly},
        DriverStopCase{"mass method converts Text20 before Text15",
                       true,
                       {{Text4, ""}, {Text20, "?"}, {Text15, ""}},
                       driverRead(Stage::zhiliangfa, Text20),
                       kBaseOnly},
        DriverStopCase{"mass method with empty sand ratio",
                       true,
                       {{Text4, ""}, {Text15, ""}},
                       driverRead(Stage::zhiliangfa, Text15),
                       kBaseOnly},
        DriverStopCase{"moisture not a number after the volume method",
                       false,
                       {{Text21, "0.03"}, {Text24, "wet"}},
                       driverRead(Stage::tiaozheng, Text24),
                       {"26.58", "0.52", "1.92", "346.15", "346.15", "678.7865", "1206.731", "180",
                        "1.00", "1.96", "3.49", "0.52"}},
        DriverStopCase{"blanks in a base field are no empty field",
                       false,
                       {{Text2, " "}},
                       Stop{Stage::第二步, Text2, Reason::NotANumber, Text2, Stage::第二步},
                       {" ", "", "", "", "水泥", "砂", "石子", "水", "", "", "", ""}},
        DriverStopCase{
            "third stage divides by zero",
            false,
            {{Text8, "0"}},
            Stop{Stage::第三步, std::nullopt, Reason::DivisionByZero, Text8, Stage::第三步},
            {"26.58", "0", "", "", "水泥", "砂", "石子", "水", "", "", "", ""}},
        DriverStopCase{"mass method converts Text26 before Text4",
                       true,
                       {{Text26, "x"}, {Text4, "y"}},
                       driverRead(Stage::zhiliangfa, Text26),
                       {"26.58", "0.52", "1.92", "y", "水泥", "砂", "石子", "水", "", "", "", ""}},
        DriverStopCase{"both moisture contents bad: Text24 is read first",
                       false,
                       {{Text21, "wet"}, {Text24, "damp"}},
                       driverRead(Stage::tiaozheng, Text24),
                       {"26.58", "0.52", "1.92", "346.15", "346.15", "678.7865", "1206.731", "180",
                        "1.00", "1.96", "3.49", "0.52"}},
        DriverStopCase{"both moisture contents bad after the mass method",
                       true,
                       {{Text21, "wet"}, {Text24, "damp"}},
                       driverRead(Stage::tiaozheng, Text24),
                       {"26.58", "0.52", "1.92", "382.98", "382.98", "661.3272", "1175.693", "180",
                        "1.00", "1.73", "3.07", "0.47"}}),
    namedBy([](const DriverStopCase& c) { return std::string(c.name); }));

TEST(Calculate, EmptySandRatioWithTheVolumeMethodIsZero) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text15, "");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(textsOf(sheet, {Text12, Text13, Text31, Text32}),
              (Texts{"0", "1885.518", "0.00", "5.45"}));
}

TEST(Calculate, ChangedInputsNeedTheIntermediatesEmptied) {
    MemorySheet sheet = resetSheet();
    ASSERT_TRUE(calculate(sheet).completed());
    sheet.setText(Text1, "30");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(sheet.text(Text2), "26.58");
    sheet.setText(Text2, "");
    sheet.setText(Text8, "");
    sheet.setText(Text10, "");
    sheet.setText(Text4, "");
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(sheet.text(Text2), "36.58");
}

} // namespace

namespace {

// Every parameterised row of the calculation tests is named after what it
// holds, not numbered, so that a failing row reads the same in every run.
TEST(TestNames, EveryParameterisedRowHasAReadableName) {
    const ::testing::UnitTest& all = *::testing::UnitTest::GetInstance();
    int rows = 0;
    for (int s = 0; s < all.total_test_suite_count(); ++s) {
        const ::testing::TestSuite& suite = *all.GetTestSuite(s);
        for (int t = 0; t < suite.total_test_count(); ++t) {
            const ::testing::TestInfo& info = *suite.GetTestInfo(t);
            if (info.value_param() == nullptr) {
                continue;
            }
            ++rows;
            const std::string name = info.name();
            const std::string row = name.substr(name.rfind('/') + 1);
            EXPECT_EQ(row.find_first_not_of("0123456789"), 0u)
                << suite.name() << "." << name << " is only numbered";
        }
    }
    EXPECT_GT(rows, 100);
}

// The message a stop carries for whoever logs it: stage, reason and the
// field, one- and two-digit field numbers alike.
TEST(Calculate, AStopSpellsWhereAndWhy) {
    const std::pair<Stop, std::string_view> rows[] = {
        {Stop{.stage = Stage::zhiliangfa, .field = Text20, .reason = Reason::NotANumber},
         "zhiliangfa: not-a-number (Text20)"},
        {Stop{.stage = Stage::第二步, .field = Text5, .reason = Reason::Overflow},
         "第二步: overflow (Text5)"},
        {Stop{.stage = Stage::tijifa, .reason = Reason::DivisionByZero, .concerned = Text18},
         "tijifa: division-by-zero"},
        {Stop{.stage = Stage::calculate, .field = Text33, .reason = Reason::InvalidOperation},
         "calculate: invalid-operation (Text33)"},
    };
    for (const auto& [stop, message] : rows) {
        const CalculationStopped stopped(stop);
        EXPECT_EQ(std::string_view(stopped.what()), message);
        EXPECT_EQ(stopped.stop(), stop);
    }
}

} // namespace
