// The JGJ 55-2011 form without a window: what the desktop's tests cannot see
// through its controls, and the texts the page is held to.
#include "jgj55/inputs.h"
#include "report/numbers.h"
#include "session/jgj55form.h"
#include "session/jgj55ranges.h"

#include <algorithm>
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

struct TypedCase {
    const char* key;
    const char* text;
    std::optional<double> value; // the file's value; nothing: the field is marked
};

// As a Chinese input method types: full-width digits and signs, and a "%"
// after a percentage; a "%" elsewhere, or alone, is no number.
TEST(Jgj55Form, ReadsFullWidthDigitsAndAPercentSign) {
    const TypedCase cases[] = {
        {"fcuk", "３０", 30.0},
        {"fcuk", "＋３５", 35.0},
        {"sigma", "４．５", 4.5},
        {"sigma", "－５", -5.0},
        {"maxSize", "３１．５", 31.5},
        {"flyAsh.fraction", "20%", 0.2},
        {"flyAsh.fraction", "２０％", 0.2},
        {"flyAsh.fraction", " 20 % ", 0.2},
        {"admixture.fraction", "1.2%", 0.012},
        {"sandRatio", "３５％", 35.0},
        {"sandMoisture", "3%", 3.0},
        {"flyAsh.fraction", "%", std::nullopt},
        {"flyAsh.fraction", "20%%", std::nullopt},
        {"slump", "180%", std::nullopt},
        {"fcuk", "３Ｏ", std::nullopt}, // a full-width letter O is no digit
        {"fcuk", "30。", std::nullopt},
    };
    for (const TypedCase& c : cases) {
        Jgj55Form form({});
        typeExampleA(form);
        form.setText(c.key, c.text);
        SCOPED_TRACE(std::string(c.key) + " " + c.text);
        EXPECT_EQ(form.text(c.key), c.text); // kept as typed
        ASSERT_EQ(form.input().has_value(), c.value.has_value()) << form.status().text;
        if (c.value) {
            EXPECT_EQ(jgj55::findInput(c.key)->number(*form.input()), c.value);
        }
    }
}

struct RangeCase {
    const char* key;
    const char* text;
    const char* warning; // empty: within the range
};

// A value outside its usual range is designed all the same; its field says
// the range, and the value meant where the slip is plain.
TEST(Jgj55Form, MarksAValueOutsideItsUsualRangeWithoutRefusingIt) {
    const RangeCase cases[] = {
        {"sandRatio", "0.4", "砂率 0.4 % 不在常用范围 20–50 %，是否应为 40？"},
        {"sandRatio", "20", ""},
        {"sandRatio", "50", ""},
        {"sandRatio", "50.1", "砂率 50.1 % 不在常用范围 20–50 %。"},
        {"sandRatio", "19.9", "砂率 19.9 % 不在常用范围 20–50 %。"},
        {"flyAsh.fraction", "0.2", ""}, // 0.2 % is a usual amount of fly ash: no guess
        {"flyAsh.fraction", "61", "粉煤灰掺量 61 % 不在常用范围 0–60 %。"},
        {"slump", "251", "坍落度 251 mm 不在常用范围 0–250 mm。"},
        {"slump", "0", ""},
        {"assumedDensity", "2.4",
         "假定表观密度 2.4 kg/m³ 不在常用范围 2000–2800 kg/m³，是否应为 2400？"},
        {"assumedDensity", "2801", "假定表观密度 2801 kg/m³ 不在常用范围 2000–2800 kg/m³。"},
        {"sandDensity", "2.65",
         "砂表观密度 2.65 kg/m³ 不在常用范围 2500–2800 kg/m³，是否应为 2650？"},
        {"alphaA", "53", "回归系数 53 不在常用范围 0.3–0.7。"},
        {"fcuk", "９", "强度标准值 9 MPa 不在常用范围 10–100 MPa。"},
        {"sandMoisture", "0.03", ""},
        {"stoneMoisture", "6", "石子含水率 6 % 不在常用范围 0–5 %。"},
    };
    for (const RangeCase& c : cases) {
        Jgj55Form form({});
        typeExampleA(form);
        form.setText("sandMoisture", "3");
        form.setText("stoneMoisture", "1");
        form.setText(c.key, c.text);
        SCOPED_TRACE(std::string(c.key) + " " + c.text);
        EXPECT_EQ(form.field(c.key).warning, c.warning);
        EXPECT_EQ(form.noteCount().find("1 项不在常用范围") != std::string::npos, *c.warning != 0)
            << form.noteCount();
    }
    // The case: 7 kg of sand, designed, with the word beside it.
    Jgj55Form form({});
    typeExampleA(form);
    form.setText("sandRatio", "0.4");
    ASSERT_TRUE(form.result()) << form.status().text;
    EXPECT_FALSE(form.field("sandRatio").marked);
    EXPECT_FALSE(form.status().error);
}

// Every range holds both its ends, and every input typed as a number has one.
TEST(Jgj55Form, EveryNumberFieldHasARangeThatHoldsItsEnds) {
    for (const Jgj55Form::Field& f : Jgj55Form::fields()) {
        const session::PlausibleRange* range = session::plausibleRange(f.key);
        EXPECT_EQ(range != nullptr, f.kind == Jgj55Form::Kind::Number) << f.key;
        if (range == nullptr) {
            continue;
        }
        EXPECT_LT(range->low, range->high) << f.key;
        for (const double end : {range->low, range->high}) {
            EXPECT_EQ(session::implausible(f.key, f.caption, f.unit, end, {}), "") << f.key;
        }
        const double step = (range->high - range->low) / 1000;
        for (const double out : {range->low - step, range->high + step}) {
            EXPECT_NE(session::implausible(f.key, f.caption, f.unit, out, {}), "") << f.key;
        }
    }
}

// Each note of 注意 stands at the field or figure it concerns, and the line
// above the results counts them.
TEST(Jgj55Form, PutsEachNoteAtWhatItConcerns) {
    Jgj55Form form({});
    typeExampleA(form);
    EXPECT_EQ(form.noteCount(), "");
    form.setText("fcuk", "20");
    const Jgj55Form::Field* environment = Jgj55Form::findField("environment");
    const auto entry = std::find(environment->choices.begin(), environment->choices.end(), "三b");
    ASSERT_NE(entry, environment->choices.end());
    form.choose("environment", static_cast<int>(entry - environment->choices.begin()));
    ASSERT_TRUE(form.result()) << form.status().text;
    EXPECT_EQ(form.noteCount(), "注意 " + std::to_string(form.notes().size()) + " 条");
    ASSERT_GE(form.notes().size(), 2U);
    EXPECT_NE(form.result("waterBinder").warning.find("计算水胶比"), std::string::npos);
    EXPECT_NE(form.field("fcuk").warning.find("低于环境类别三b的最低强度等级"), std::string::npos)
        << form.field("fcuk").warning;
    for (const Jgj55Form::Note& note : form.notes()) {
        EXPECT_FALSE(note.key.empty()) << note.text;
    }
    form.setText("sandRatio", "0.4");
    EXPECT_EQ(form.noteCount(),
              "注意 " + std::to_string(form.notes().size()) + " 条，1 项不在常用范围");
}

// The construction mix and the trial batch stand beside the design's masses
// once the moistures are given.
TEST(Jgj55Form, ShowsTheConstructionMixAndTheTrialBatch) {
    Jgj55Form form({});
    typeExampleA(form);
    EXPECT_EQ(form.result("sand").construction, "");
    EXPECT_EQ(form.result("sand").trial,
              *report::trialMass(form.result("sand").text, 20.0, form.format()));
    form.setText("sandMoisture", "3");
    form.setText("stoneMoisture", "1");
    ASSERT_TRUE(form.result() && form.result()->construction) << form.status().text;
    const std::string sand = report::figure(form.result()->construction->sand, form.format());
    EXPECT_EQ(form.result("sand").construction, sand);
    EXPECT_NE(sand, form.result("sand").text);
    EXPECT_EQ(form.result("fcu0").construction, "");
    form.setReportDetails({.litres = 25.0, .project = {}});
    EXPECT_EQ(form.trialTitle(), "试拌 25 L");
    EXPECT_EQ(form.result("sand").trial, *report::trialMass(sand, 25.0, form.format()));
}

} // namespace
