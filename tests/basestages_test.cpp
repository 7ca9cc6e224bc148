// The design sheet's reset and the four base stages, each on a fresh sheet.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "tests/case_names.h"
#include "tests/sheet_fixture.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace calc;
using calc::testing::faultStop;
using calc::testing::namedBy;
using calc::testing::readStop;
using calc::testing::resetSheet;
using calc::testing::stopOf;

TEST(MemorySheet, StartsAsTheWindowIsCreated) {
    const MemorySheet sheet;
    for (int n = 1; n <= 29; ++n) {
        EXPECT_EQ(sheet.text(TextField(n)), "Text" + std::to_string(n));
    }
    for (TextField f : {Text30, Text31, Text32, Text33}) {
        EXPECT_EQ(sheet.text(f), "");
    }
    EXPECT_TRUE(sheet.isSelected(Option::细砂));
    EXPECT_FALSE(sheet.isSelected(Option::粗砂));
    EXPECT_FALSE(sheet.isSelected(Option::option1));
    EXPECT_FALSE(sheet.isSelected(Option::option2));
    EXPECT_TRUE(sheet.isChecked(Check::卵石));
    EXPECT_FALSE(sheet.isChecked(Check::碎石));
}

TEST(MemorySheet, SelectingAnOptionClearsOnlyItsPartner) {
    MemorySheet sheet;
    sheet.select(Option::option2);
    sheet.select(Option::粗砂);
    EXPECT_TRUE(sheet.isSelected(Option::option2));
    EXPECT_TRUE(sheet.isSelected(Option::粗砂));
    EXPECT_FALSE(sheet.isSelected(Option::细砂));
    sheet.select(Option::option1);
    EXPECT_FALSE(sheet.isSelected(Option::option2));
    EXPECT_TRUE(sheet.isSelected(Option::粗砂));
}

TEST(FieldNames, RoundTripAndRejectNearMisses) {
    for (int n = 1; n <= kTextFieldCount; ++n) {
        EXPECT_EQ(textFieldByName(fieldName(TextField(n))), TextField(n));
    }
    for (const char* bad : {"Text0", "Text34", "Text08", "text8", "Text", "Text8 ", "Text-1", ""}) {
        EXPECT_FALSE(textFieldByName(bad).has_value()) << bad;
    }
}

// ---- qk -----------------------------------------------------------------

// A sheet that records every write, to check the reset's order and reach.
class RecordingSheet final : public Sheet {
public:
    explicit RecordingSheet(NumberFormat format = {}) : m_sheet(std::move(format)) {}
    std::string text(TextField f) const override { return m_sheet.text(f); }
    void setText(TextField f, std::string_view t) override {
        writes.push_back(fieldName(f) + "=" + std::string(t));
        m_sheet.setText(f, t);
    }
    bool isSelected(Option o) const override { return m_sheet.isSelected(o); }
    void select(Option o) override {
        writes.push_back(std::string(optionName(o)) + " selected");
        m_sheet.select(o);
    }
    bool isChecked(Check c) const override { return m_sheet.isChecked(c); }
    void setChecked(Check c, bool on) override {
        writes.push_back(std::string(checkName(c)) + (on ? " checked" : " unchecked"));
        m_sheet.setChecked(c, on);
    }
    void showNotice(std::string_view m) override { m_sheet.showNotice(m); }
    const NumberFormat& numberFormat() const override { return m_sheet.numberFormat(); }

    std::vector<std::string> writes;

private:
    MemorySheet m_sheet;
};

TEST(Reset, WritesTheDefaultsInOrderAndNothingElse) {
    RecordingSheet sheet;
    qk(sheet);
    const std::vector<std::string> expected = {
        "Text1=20",   "Text2=",      "Text3=4",       "Text5=32.5",       "Text9=1.07",
        "Text8=",     "Text10=",     "细砂 selected", "option1 selected", "卵石 checked",
        "Text26=180", "Text6=0.48",  "Text7=0.33",    "Text4=",           "Text15=0.36",
        "Text18=3.1", "Text19=2.65", "Text22=2.7",    "Text23=1",         "Text25=1",
        "Text27=",    "Text28=",     "Text29=",       "Text24=",          "Text20=",
        "Text21=",    "Text11=水泥", "Text12=砂",     "Text13=石子",      "Text14=水",
        "Text16=",    "Text17="};
    EXPECT_EQ(sheet.writes, expected);
}

TEST(Reset, WritesDecimalDefaultsWithTheRegionalDecimalSymbol) {
    MemorySheet sheet(NumberFormat{",", ".", 3, "-"});
    qk(sheet);
    EXPECT_EQ(sheet.text(Text5), "32,5");
    EXPECT_EQ(sheet.text(Text9), "1,07");
    EXPECT_EQ(sheet.text(Text6), "0,48");
    EXPECT_EQ(sheet.text(Text7), "0,33");
    EXPECT_EQ(sheet.text(Text15), "0,36");
    EXPECT_EQ(sheet.text(Text18), "3,1");
    EXPECT_EQ(sheet.text(Text19), "2,65");
    EXPECT_EQ(sheet.text(Text22), "2,7");
    // And the defaults calculate under those settings.
    EXPECT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(sheet.text(Text8), "0,52");
    EXPECT_EQ(sheet.text(Text4), "346,15");
    EXPECT_EQ(sheet.text(Text13), "1206,731");
}

TEST(Reset, KeepsProportionsAndCrushedStoneAndChecksPebble) {
    MemorySheet sheet;
    qk(sheet);
    ASSERT_TRUE(calculate(sheet).completed());
    sheet.setChecked(Check::碎石, true);
    sheet.setChecked(Check::卵石, false);
    sheet.select(Option::option2);
    sheet.select(Option::粗砂);
    sheet.setText(Text19, "9");
    qk(sheet);
    EXPECT_EQ(sheet.text(Text30), "1.00");
    EXPECT_EQ(sheet.text(Text31), "1.96");
    EXPECT_EQ(sheet.text(Text32), "3.49");
    EXPECT_EQ(sheet.text(Text33), "0.52");
    EXPECT_TRUE(sheet.isChecked(Check::碎石));
    EXPECT_TRUE(sheet.isChecked(Check::卵石));
    EXPECT_TRUE(sheet.isSelected(Option::option1));
    EXPECT_TRUE(sheet.isSelected(Option::细砂));
    EXPECT_EQ(sheet.text(Text19), "2.65");
    EXPECT_EQ(sheet.text(Text11), "水泥");
    EXPECT_EQ(sheet.text(Text2), "");
}

// ---- the base stages ------------------------------------------------------

TEST(BaseStages, FromTheDefaults) {
    MemorySheet sheet = resetSheet();
    第一步(sheet);
    EXPECT_EQ(sheet.text(Text2), "26.58");
    第二步(sheet);
    EXPECT_EQ(sheet.text(Text8), "0.52");
    第三步(sheet);
    EXPECT_EQ(sheet.text(Text10), "1.92");
    第四步(sheet);
    EXPECT_EQ(sheet.text(Text4), "346.15");
    EXPECT_TRUE(sheet.notices().empty());
}

struct CementCase {
    const char* water;
    const char* ratio;
    const char* cement;
    int notices;
};

void PrintTo(const CementCase& c, std::ostream* os) {
    *os << "water " << c.water << ", W/C " << c.ratio << " -> cement " << c.cement << ", "
        << c.notices << " notices";
}

class CementMinimum : public ::testing::TestWithParam<CementCase> {};

TEST_P(CementMinimum, IsTestedOnTheTwoDecimalText) {
    const CementCase& c = GetParam();
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, c.water);
    sheet.setText(Text8, c.ratio);
    第四步(sheet);
    EXPECT_EQ(sheet.text(Text4), c.cement);
    ASSERT_EQ(int(sheet.notices().size()), c.notices);
    if (c.notices > 0) {
        EXPECT_EQ(sheet.notices().front(), "水泥用量小于最小值 故取260");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CementMinimum,
    ::testing::Values(CementCase{"180", "0.52", "346.15", 0},
                      CementCase{"135.2", "0.52", "260.00", 0}, CementCase{"120", "0.52", "260", 1},
                      CementCase{"", "0.52", "260", 1}, CementCase{"abc", "0.52", "260", 1},
                      CementCase{"1234.567", "1", "1,234.57", 0},
                      CementCase{"180", "0.5 2", "346.15", 0},
                      // 253.85: the minimum is 260, not 250.
                      CementCase{"132", "0.52", "260", 1},
                      // 259.99 and 260.01 either side of it.
                      CementCase{"135.195", "0.52", "260", 1},
                      CementCase{"135.205", "0.52", "260.01", 0},
                      // A grouped content is read back whole.
                      CementCase{"60000", "0.52", "115,384.62", 0}),
    namedBy([](const CementCase& c) { return std::string(c.water) + " over " + c.ratio; }));

// The notice is shown after "260" is written, so the sheet reads "260" while
// the box is open.
TEST(CementMinimum, NoticeComesAfterTheWrite) {
    struct Watcher final : Sheet {
        MemorySheet inner;
        std::string seenWhileOpen;
        std::string text(TextField f) const override { return inner.text(f); }
        void setText(TextField f, std::string_view t) override { inner.setText(f, t); }
        bool isSelected(Option o) const override { return inner.isSelected(o); }
        void select(Option o) override { inner.select(o); }
        bool isChecked(Check c) const override { return inner.isChecked(c); }
        void setChecked(Check c, bool on) override { inner.setChecked(c, on); }
        void showNotice(std::string_view) override { seenWhileOpen = inner.text(Text4); }
        const NumberFormat& numberFormat() const override { return inner.numberFormat(); }
    } sheet;
    qk(sheet);
    sheet.setText(Text26, "120");
    sheet.setText(Text8, "0.52");
    第四步(sheet);
    EXPECT_EQ(sheet.seenWhileOpen, "260");
}

TEST(BaseStages, UseTheTextsOfEarlierFields) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text8, "0.5");
    第三步(sheet);
    EXPECT_EQ(sheet.text(Text10), "2.00");

    sheet.setText(Text2, "30");
    第二步(sheet);
    // 16.692 / (30 + 5.50836) = 0.4700…
    EXPECT_EQ(sheet.text(Text8), "0.47");
}

struct StopCase {
    const char* name;
    std::vector<std::pair<TextField, const char*>> edits;
    void (*stage)(Sheet&);
    Stop expected;
};

void PrintTo(const StopCase& c, std::ostream* os) {
    *os << c.name << ": edits " << ::testing::PrintToString(c.edits) << " -> "
        << ::testing::PrintToString(c.expected);
}

class BaseStageStops : public ::testing::TestWithParam<StopCase> {};

TEST_P(BaseStageStops, StopBeforeTheOutputIsWritten) {
    const StopCase& c = GetParam();
    MemorySheet sheet = resetSheet();
    sheet.setText(Text2, "26.58");
    sheet.setText(Text8, "0.52");
    for (const auto& [field, text] : c.edits) {
        sheet.setText(field, text);
    }
    const MemorySheet before = sheet;
    EXPECT_EQ(stopOf([&] { c.stage(sheet); }), c.expected) << c.name;
    EXPECT_EQ(sheet, before) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, BaseStageStops,
    ::testing::Values(
        StopCase{
            "sigma first", {{Text1, "x"}, {Text3, ""}}, 第一步, readStop(Stage::第一步, Text3)},
        StopCase{"fcuk", {{Text1, "2O"}}, 第一步, readStop(Stage::第一步, Text1)},
        StopCase{"blanks", {{Text1, "   "}}, 第一步, readStop(Stage::第一步, Text1)},
        StopCase{"order 5 before 6",
                 {{Text6, "?"}, {Text5, "?"}},
                 第二步,
                 readStop(Stage::第二步, Text5)},
        StopCase{"order 9 before 7",
                 {{Text7, "?"}, {Text9, "?"}},
                 第二步,
                 readStop(Stage::第二步, Text9)},
        StopCase{"text2 last", {{Text2, "x"}}, 第二步, readStop(Stage::第二步, Text2)},
        StopCase{"too large",
                 {{Text5, "1e39"}},
                 第二步,
                 readStop(Stage::第二步, Text5, Reason::Overflow)},
        StopCase{"product overflows",
                 {{Text5, "3e38"}, {Text6, "2"}},
                 第二步,
                 faultStop(Stage::第二步, Reason::Overflow, Text5)},
        StopCase{"B zero",
                 {{Text2, "-5.508360"}},
                 第二步,
                 faultStop(Stage::第二步, Reason::DivisionByZero, Text2)},
        StopCase{"A and B zero",
                 {{Text5, "0"}, {Text2, "0"}},
                 第二步,
                 faultStop(Stage::第二步, Reason::InvalidOperation, Text2)},
        StopCase{"ratio zero",
                 {{Text8, "0"}},
                 第三步,
                 faultStop(Stage::第三步, Reason::DivisionByZero, Text8)},
        StopCase{"ratio tiny",
                 {{Text8, "1e-39"}},
                 第三步,
                 faultStop(Stage::第三步, Reason::Overflow, Text8)},
        StopCase{"ratio text", {{Text8, "0,52"}}, 第三步, readStop(Stage::第三步, Text8)},
        StopCase{"ratio written zero",
                 {{Text8, "0.00"}},
                 第三步,
                 faultStop(Stage::第三步, Reason::DivisionByZero, Text8)},
        StopCase{"lenient zero",
                 {{Text8, "abc"}},
                 第四步,
                 faultStop(Stage::第四步, Reason::DivisionByZero, Text8)},
        StopCase{"both zero",
                 {{Text8, ""}, {Text26, ""}},
                 第四步,
                 faultStop(Stage::第四步, Reason::InvalidOperation, Text8)},
        StopCase{"water beyond double",
                 {{Text26, "1e400"}},
                 第四步,
                 readStop(Stage::第四步, Text26, Reason::Overflow)}),
    namedBy([](const StopCase& c) { return std::string(c.name); }));

// A stop after the first write of 第四步 leaves that write in place.
TEST(BaseStageStops, CementTooLargeToReadBackKeepsItsText) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "1e300");
    sheet.setText(Text8, "0.5");
    EXPECT_EQ(stopOf([&] { 第四步(sheet); }), readStop(Stage::第四步, Text4, Reason::Overflow));
    EXPECT_EQ(sheet.text(Text4).substr(0, 4), "2,00");
    EXPECT_TRUE(sheet.notices().empty());
}

} // namespace
