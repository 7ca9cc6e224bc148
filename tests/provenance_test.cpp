// Where a field's text came from, and the working the report shows for it:
// a value an earlier calculation wrote is shown by that calculation's
// working after any number of presses and across save and open; a file's
// claims are calculated again and believed only where they hold.
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "design/designfile.h"
#include "design/project.h"
#include "design/provenance.h"
#include "report/report.h"
#include "tests/case_names.h"
#include "tests/sheet_fixture.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using namespace calc;

const report::Options kOptions{"2024-05-01", "普通澜石", "1.00", "", 20.0, {}};

using calc::testing::resetSheet;

std::string reportOf(const Sheet& sheet, const Trace& trace) {
    const std::optional<report::Document> document = report::buildReport(sheet, trace, kOptions);
    return document ? report::toText(*document) : std::string("(no report)");
}

// The report after `presses` presses of 计算 on the sheet.
std::string afterPresses(MemorySheet sheet, int presses) {
    design::Provenance provenance;
    design::Pressed pressed;
    for (int n = 0; n < presses; ++n) {
        pressed = design::calculate(sheet, provenance);
    }
    return reportOf(sheet, pressed.trace);
}

struct Start {
    const char* name;
    std::function<void(Sheet&)> change;
};

class Presses : public ::testing::TestWithParam<Start> {};

TEST_P(Presses, AnyNumberOfPressesReportsAsTheFirst) {
    MemorySheet sheet = resetSheet();
    GetParam().change(sheet);
    const std::string once = afterPresses(sheet, 1);
    ASSERT_NE(once, "(no report)");
    EXPECT_EQ(afterPresses(sheet, 2), once);
    EXPECT_EQ(afterPresses(sheet, 3), once);
    EXPECT_EQ(once.find("（输入值）"), std::string::npos) << once;
    // Nothing has changed since: no value is said to rest on other inputs.
    EXPECT_EQ(once.find(" 算得，"), std::string::npos) << once;
}

INSTANTIATE_TEST_SUITE_P(
    Sheets, Presses,
    ::testing::Values(Start{"defaults", [](Sheet&) {}},
                      Start{"mass_method",
                            [](Sheet& s) {
                                s.select(Option::option2);
                                s.setText(Text20, "2400");
                            }},
                      Start{"cement_minimum", [](Sheet& s) { s.setText(Text26, "120"); }},
                      Start{"moisture",
                            [](Sheet& s) {
                                s.setText(Text21, "3");
                                s.setText(Text24, "1");
                            }}),
    [](const ::testing::TestParamInfo<Start>& row) { return std::string(row.param.name); });

TEST(Provenance, TwoPressesOnTheDefaultsGiveTheKeptReport) {
    std::ifstream in(LANSHI_REPORT_GOLDEN, std::ios::binary);
    const std::string golden((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(afterPresses(resetSheet(), 2), golden);
}

TEST(Provenance, SecondPressKeepsTheCementMinimumCheck) {
    MemorySheet sheet = resetSheet();
    const std::string twice = afterPresses(sheet, 2);
    EXPECT_NE(twice.find("满足最小水泥用量"), std::string::npos) << twice;
    EXPECT_EQ(twice.find("输入值，不经计算"), std::string::npos) << twice;
}

TEST(Provenance, ATextTheUserPutInIsTheUsers) {
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    EXPECT_EQ(provenance.source(Text2, sheet), 1);
    EXPECT_EQ(provenance.source(Text11, sheet), 1);
    EXPECT_EQ(provenance.source(Text1, sheet), 0);

    // Typed by hand, even the same text: the user's.
    provenance.edited(Text2);
    EXPECT_EQ(provenance.source(Text2, sheet), 0);
    // Another text than the one written (as 清零 leaves): the user's.
    sheet.setText(Text8, "0.5");
    EXPECT_EQ(provenance.source(Text8, sheet), 0);
    qk(sheet);
    EXPECT_EQ(provenance.source(Text11, sheet), 0);
    EXPECT_EQ(provenance.source(Text10, sheet), 0);
}

TEST(Provenance, OnlyAValueReallyTypedIsShownAsInput) {
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    provenance.edited(Text8); // W/C typed over, as it stood
    const design::Pressed second = design::calculate(sheet, provenance);
    const std::string text = reportOf(sheet, second.trace);
    EXPECT_NE(text.find("W/C = 0.52（输入值）"), std::string::npos) << text;
    // fcu,0 still shows the first calculation's working.
    EXPECT_NE(text.find("fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4"), std::string::npos) << text;
}

TEST(Provenance, AValueKeptFromChangedInputsIsNamedUnder注意) {
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    sheet.setText(Text1, "30");
    provenance.edited(Text1);
    const design::Pressed second = design::calculate(sheet, provenance);
    // The classic rule keeps fcu,0 as it stood.
    EXPECT_EQ(sheet.text(Text2), "26.58");
    const std::string text = reportOf(sheet, second.trace);
    EXPECT_NE(text.find("fcu,0 = 26.58 按 fcu,k = 20 算得，fcu,k 现为 30；清空 fcu,0 后重新计算"),
              std::string::npos)
        << text;
    // Only the value that used fcu,k: W/C used fcu,0, which has not changed.
    EXPECT_EQ(text.find("W/C = 0.52 按"), std::string::npos) << text;
}

// The sheet saved as a design file and opened on a new sheet.
struct Reopened {
    MemorySheet sheet;
    design::Opened opened;
};

std::string savedAfter(const MemorySheet& sheet, const design::Provenance& provenance, int last) {
    design::Design d = design::capture(sheet);
    design::keepCalculation(d, provenance, sheet, last);
    return design::serialize(d);
}

Reopened reopen(const std::string& bytes) {
    Reopened r{MemorySheet(), {}};
    const design::ReadResult read = design::open(bytes, r.sheet.numberFormat());
    EXPECT_TRUE(read) << read.error;
    if (read) {
        r.opened = design::openInto(*read.design, r.sheet);
    }
    return r;
}

TEST(OpenedDesign, SavedAfterTwoPressesReportsAsBeforeTheSave) {
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    const design::Pressed second = design::calculate(sheet, provenance);
    const std::string before = reportOf(sheet, second.trace);

    const Reopened r = reopen(savedAfter(sheet, provenance, second.calculation));
    EXPECT_FALSE(r.opened.setAside);
    ASSERT_TRUE(r.opened.last);
    EXPECT_EQ(reportOf(r.sheet, *r.opened.last), before);
    EXPECT_EQ(r.opened.provenance.source(Text2, r.sheet), 1);

    // A press after the open still shows the working.
    design::Provenance reopened = r.opened.provenance;
    MemorySheet again = r.sheet;
    const design::Pressed third = design::calculate(again, reopened);
    EXPECT_EQ(reportOf(again, third.trace), before);
}

TEST(OpenedDesign, FileWithoutCalculationOpensWithNone) {
    const Reopened r = reopen(design::serialize(design::capture(resetSheet())));
    EXPECT_FALSE(r.opened.last);
    EXPECT_FALSE(r.opened.setAside);
    EXPECT_EQ(r.opened.provenance.source(Text2, r.sheet), 0);
}

// Ways a saved calculation can be made to lie; each is set aside.
struct Forgery {
    const char* name;
    std::function<void(nlohmann::json&)> edit;
    bool keepsLast; // the last calculation still derives (only a provenance claim fails)
};

class Forged : public ::testing::TestWithParam<Forgery> {};

TEST_P(Forged, IsSetAsideAndNothingInventedIsReported) {
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    const design::Pressed pressed = design::calculate(sheet, provenance);
    nlohmann::json file = nlohmann::json::parse(savedAfter(sheet, provenance, pressed.calculation));
    GetParam().edit(file);
    const Reopened r = reopen(file.dump());
    EXPECT_TRUE(r.opened.setAside);
    EXPECT_EQ(r.opened.last.has_value(), GetParam().keepsLast);
    if (r.opened.last) {
        const std::string text = reportOf(r.sheet, *r.opened.last);
        EXPECT_EQ(text.find("= 60 + 1.645"), std::string::npos) << text;
        EXPECT_EQ(r.opened.provenance.source(Text1, r.sheet), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, Forged,
    ::testing::Values(
        Forgery{"entries_edited",
                [](nlohmann::json& f) {
                    f["calculation"]["before"]["1"]["fields"]["Text1"] = "60";
                    f["calculation"]["before"]["1"]["fields"]["Text3"] = "9";
                },
                false},
        Forgery{"field_edited_after_the_save",
                [](nlohmann::json& f) { f["fields"]["Text12"] = "600"; }, false},
        Forgery{"input_edited_after_the_save",
                [](nlohmann::json& f) { f["fields"]["Text1"] = "60"; }, false},
        Forgery{"last_field_edited_after_the_save",
                [](nlohmann::json& f) { f["fields"]["Text33"] = "0.6"; }, false},
        Forgery{"claims_a_field_no_calculation_wrote",
                [](nlohmann::json& f) { f["calculation"]["written"]["Text1"] = 1; }, true},
        Forgery{"claims_an_unknown_calculation",
                [](nlohmann::json& f) { f["calculation"]["last"] = 7; }, false},
        Forgery{"not_an_object", [](nlohmann::json& f) { f["calculation"] = "trust me"; }, false},
        Forgery{
            "bad_entries",
            [](nlohmann::json& f) { f["calculation"]["before"]["1"] = nlohmann::json::array(); },
            false}),
    [](const ::testing::TestParamInfo<Forgery>& row) { return std::string(row.param.name); });

// Without a last calculation only the claims of which fields a calculation
// wrote are checked: when they do not hold, they are set aside and never
// written again.
TEST(OpenedDesign, ClaimsWithoutALastCalculationAreCheckedAndNotSavedAgain) {
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    nlohmann::json file = nlohmann::json::parse(savedAfter(sheet, provenance, 0));
    ASSERT_FALSE(file["calculation"].contains("last"));
    ASSERT_TRUE(file["calculation"]["written"].contains("Text2"));
    // Entries from which the calculation writes 74.81, where the field holds 26.58.
    file["calculation"]["before"]["1"]["fields"]["Text1"] = "60";
    file["calculation"]["before"]["1"]["fields"]["Text3"] = "9";
    const Reopened r = reopen(file.dump());
    EXPECT_TRUE(r.opened.setAside);
    EXPECT_FALSE(r.opened.last);
    EXPECT_EQ(r.opened.provenance.source(Text2, r.sheet), 0);

    // Saved again: only the claims that held (water and the cement's 1.00 do
    // not depend on the strength), and it opens without anything set aside.
    const nlohmann::json again =
        nlohmann::json::parse(savedAfter(r.sheet, r.opened.provenance, r.opened.lastCalculation));
    EXPECT_EQ(again["calculation"]["written"],
              nlohmann::json::parse(R"({"Text14": 1, "Text30": 1})"));
    EXPECT_FALSE(reopen(again.dump()).opened.setAside);
}

TEST(OpenedDesign, EarlierVersionsRecordIsCheckedNotBelieved) {
    // A record of the kind earlier versions wrote, its working edited: 60 and
    // 9 where the fields hold 20 and 4.
    MemorySheet sheet = resetSheet();
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    design::Design d = design::capture(sheet);
    d.extras["record"] = nlohmann::json::parse(R"({"stages": [
        {"stage": "第一步", "reads": [{"field": "Text1", "text": "60"}, {"field": "Text3", "text": "9"}],
         "writes": [{"field": "Text2", "text": "74.81"}]},
        {"stage": "第二步", "writes": [{"field": "Text8", "text": "0.52"}]},
        {"stage": "第三步", "writes": [{"field": "Text10", "text": "1.92"}]},
        {"stage": "第四步", "writes": [{"field": "Text4", "text": "346.15"}]},
        {"stage": "tjfjs", "writes": [{"field": "Text11"}, {"field": "Text12"}, {"field": "Text13"},
            {"field": "Text14"}, {"field": "Text30"}, {"field": "Text31"}, {"field": "Text32"},
            {"field": "Text33"}]}]})");
    const Reopened r = reopen(design::serialize(d));
    EXPECT_TRUE(r.opened.setAside);
    ASSERT_TRUE(r.opened.last);
    const std::string text = reportOf(r.sheet, *r.opened.last);
    EXPECT_EQ(text.find("74.81"), std::string::npos) << text;
    EXPECT_NE(text.find("= 20 + 1.645 × 4"), std::string::npos) << text;
}

TEST(Project, KeptUnderItsKeyAndReadBackOnlyAsTexts) {
    design::Design d = design::capture(resetSheet());
    design::keepProject(d, {"某住宅楼", "", "某设计院"});
    const design::ReadResult read = design::open(design::serialize(d), {});
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(design::projectOf(*read.design), (design::Project{"某住宅楼", "", "某设计院"}));

    // An empty project leaves no key; anything but texts reads as empty.
    design::keepProject(d, {});
    EXPECT_FALSE(d.extras.contains("project"));
    d.extras["project"] = nlohmann::json::parse(R"({"name": 5, "part": "基础", "client": null})");
    EXPECT_EQ(design::projectOf(d), (design::Project{"", "基础", ""}));
    d.extras["project"] = "某工程";
    EXPECT_TRUE(design::projectOf(d).empty());
}

} // namespace
