// The JGJ 55-2011 form without a window: what the desktop's tests cannot see
// through its controls, and the texts the page is held to.
#include "session/jgj55form.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {

using session::Jgj55Form;

// Example A of the design's tests: C30, 20 % fly ash, 1 % admixture saving
// 20 %, crushed 20 mm, slump 180 mm.
void typeExampleA(Jgj55Form& form) {
    form.setText("fcuk", "30");
    form.setText("maxSize", "20");
    form.setText("slump", "180");
    form.setText("flyAsh.fraction", "20");
    form.setText("admixture.fraction", "1");
    form.setText("admixture.waterReduction", "20");
}

struct BlankCase {
    const char* name;
    const char* text;
    bool blank; // the field counts as empty: no mark, the table's value
};

class Jgj55FormBlank : public ::testing::TestWithParam<BlankCase> {};

// An input method leaves an ideographic space more often than a plain one;
// the field is still empty, as the desktop's fields trim it. A zero-width
// space is no space: the field holds text that is no number.
TEST_P(Jgj55FormBlank, SpacesOfEveryWidthLeaveAFieldEmpty) {
    Jgj55Form form({});
    typeExampleA(form);
    form.setText("sigma", GetParam().text);
    EXPECT_EQ(form.field("sigma").marked, !GetParam().blank);
    EXPECT_EQ(form.result("fcu0").text, GetParam().blank ? "38.2" : "—");
    EXPECT_EQ(form.status().error, !GetParam().blank) << form.status().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, Jgj55FormBlank,
                         ::testing::Values(BlankCase{"Empty", "", true},
                                           BlankCase{"SpacesAndTab", " \t ", true},
                                           BlankCase{"Ideographic", "\u3000\u3000", true},
                                           BlankCase{"NoBreak", "\u00a0", true},
                                           BlankCase{"NarrowNoBreak", "\u202f", true},
                                           BlankCase{"ZeroWidth", "\u200b", false},
                                           BlankCase{"CutSequence", "\xe3\x80", false}),
                         [](const ::testing::TestParamInfo<BlankCase>& row) {
                             return std::string(row.param.name);
                         });

TEST(Jgj55Form, NamesTheFirstUnreadableFieldInTheFormsOrder) {
    Jgj55Form form({});
    typeExampleA(form);
    form.setText("air", "x");
    form.setText("slump", "1x0");
    EXPECT_EQ(form.status(), (Jgj55Form::Status{"「坍落度」不是一个数：1x0", true}));
    EXPECT_TRUE(form.field("slump").marked);
    EXPECT_FALSE(form.field("air").marked);
    EXPECT_EQ(form.field("slump").tip, "「坍落度」不是一个数：1x0");
}

TEST(Jgj55Form, SavingAnUnreadableFormNamesTheFieldAgain) {
    Jgj55Form form({});
    typeExampleA(form);
    form.setText("slump", "1x0");
    form.noReport(Jgj55Form::ReportUse::Copy);
    ASSERT_EQ(form.status().text, "设计尚不完整，没有计算书可复制。");
    EXPECT_FALSE(form.save());
    EXPECT_EQ(form.status().text, "「坍落度」不是一个数：1x0");
}

TEST(Jgj55Form, ARefusedFileLeavesTheFormAsItWas) {
    Jgj55Form form({});
    typeExampleA(form);
    const session::Saving saving = form.save();
    const std::string bytes = *saving.bytes;
    form.saved(saving, {.path = "/home/a.lanshi", .shown = "/home/a.lanshi"});
    EXPECT_EQ(form.title("普通澜石"), "a.lanshi - JGJ 55-2011 配合比设计 - 普通澜石");

    EXPECT_FALSE(
        form.open("{\"lanshi-design\": 1}", {.path = "/home/b.lanshi", .shown = "/home/b.lanshi"}));
    EXPECT_TRUE(form.status().error);
    EXPECT_EQ(form.status().text.rfind("无法打开 /home/b.lanshi：", 0), 0U) << form.status().text;
    EXPECT_EQ(form.text("fcuk"), "30");
    EXPECT_EQ(form.fileName(), "a.lanshi");
    EXPECT_EQ(*form.save().bytes, bytes);
}

TEST(Jgj55Form, OpensIntoTheFieldsInTheRegionalFormat) {
    Jgj55Form usual({});
    typeExampleA(usual);
    usual.setText("maxSize", "31.5");
    const std::string bytes = *usual.save().bytes;

    Jgj55Form german({.decimal = ",", .group = ".", .groupSize = 3, .negative = "-"});
    ASSERT_TRUE(german.open(bytes, {.path = "a.lanshi", .shown = "a.lanshi"}));
    EXPECT_EQ(german.text("maxSize"), "31,5");
    EXPECT_EQ(german.text("flyAsh.fraction"), "20"); // the file's 0.2, as a percentage
    EXPECT_EQ(german.result("sand").text, usual.result("sand").text);
    EXPECT_EQ(*german.save().bytes, bytes);
}

TEST(Jgj55Form, TheReportCarriesTheProjectAndTheFile) {
    Jgj55Form form({});
    EXPECT_FALSE(form.report({}));
    typeExampleA(form);
    form.saved(form.save(), {.path = "桥墩.lanshi", .shown = "桥墩.lanshi"});
    form.setReportDetails(
        {.litres = 25.0, .project = {.name = "澜石大桥", .part = "", .client = ""}});
    const session::Reporting made =
        form.report({.date = "2024-05-01", .program = "普通澜石", .version = "1.00"});
    ASSERT_TRUE(made);
    const std::string text = report::toText(*made.document);
    EXPECT_NE(text.find("澜石大桥"), std::string::npos);
    EXPECT_NE(text.find("桥墩.lanshi"), std::string::npos);
    EXPECT_NE(text.find("25 L"), std::string::npos) << text;
}

} // namespace
