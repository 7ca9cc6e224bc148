// Design files: what is saved comes back exactly, under any number format,
// and whatever is wrong with a file is refused with a reason.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "design/designfile.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

namespace {

using calc::Check;
using calc::Option;

const calc::NumberFormat kDot{};
const calc::NumberFormat kComma{",", ".", 3, "-"};
const calc::NumberFormat kSwiss{".", "\u2019", 3, "-"};
const calc::NumberFormat kMinusSign{",", "\u00A0", 3, "\u2212"};
// What the window takes from a locale that groups no digits: its grouping
// symbol, and a group size of 0.
const calc::NumberFormat kUngrouped{".", ",", 0, "-"};

calc::MemorySheet resetSheet(const calc::NumberFormat& format = kDot) {
    calc::MemorySheet sheet(format);
    calc::qk(sheet);
    return sheet;
}

design::Design opened(const std::string& bytes, const calc::NumberFormat& current = kDot) {
    design::ReadResult read = design::open(bytes, current);
    EXPECT_TRUE(read) << read.error;
    return read ? *read.design : design::Design{};
}

// The file of a reset sheet with some changes made on it.
std::string fileOf(const std::function<void(calc::Sheet&)>& change,
                   const calc::NumberFormat& format = kDot) {
    calc::MemorySheet sheet = resetSheet(format);
    change(sheet);
    return design::serialize(design::capture(sheet));
}

// ---------------------------------------------------------------------------
// Round trip

struct SheetCase {
    const char* name;
    std::function<void(calc::Sheet&)> change;
};

// The case's name in test listings, not its bytes.
void PrintTo(const SheetCase& c, std::ostream* os) {
    *os << c.name;
}

class RoundTrip : public ::testing::TestWithParam<SheetCase> {};

TEST_P(RoundTrip, OpeningWhatWasSavedGivesTheSameSheet) {
    for (const calc::NumberFormat& format : {kDot, kComma, kMinusSign, kUngrouped}) {
        calc::MemorySheet sheet = resetSheet(format);
        GetParam().change(sheet);
        const design::Design saved = design::capture(sheet);
        const design::Design back = opened(design::serialize(saved), format);
        EXPECT_EQ(back, saved);

        calc::MemorySheet other(format);
        design::apply(back, other);
        EXPECT_EQ(design::capture(other), saved);
    }
}

const SheetCase kSheets[] = {
    {"Defaults", [](calc::Sheet&) {}},
    {"EveryResult", [](calc::Sheet& s) { calc::calculate(s); }},
    {"MassMethodWithMoisture",
     [](calc::Sheet& s) {
         s.select(Option::option2);
         s.setText(calc::Text20, "2400");
         s.setText(calc::Text21, "0.03");
         s.setText(calc::Text24, "0.01");
         calc::calculate(s);
     }},
    {"EveryTextEmpty",
     [](calc::Sheet& s) {
         for (int n = 1; n <= calc::kTextFieldCount; ++n) {
             s.setText(calc::TextField(n), "");
         }
     }},
    {"BlanksTabsAndLineBreaks",
     [](calc::Sheet& s) {
         s.setText(calc::Text2, " ");
         s.setText(calc::Text8, "   ");
         s.setText(calc::Text15, " 0.36\t");
         s.setText(calc::Text27, "\r\n");
     }},
    {"ChineseAndSymbols",
     [](calc::Sheet& s) {
         s.setText(calc::Text28, "坍落度 35～50 mm");
         s.setText(calc::Text29, "5–31.5 毫米 \"连续级配\" \\ / 😀");
         s.setText(calc::Text16, std::string("a\0b\x01\x1f", 5));
         s.setText(calc::Text1, "二十");
     }},
    {"OneMegabyteText", [](calc::Sheet& s) { s.setText(calc::Text17, std::string(1 << 20, '7')); }},
    {"OtherChoices",
     [](calc::Sheet& s) {
         s.select(Option::option2);
         s.select(Option::粗砂);
         s.setChecked(Check::卵石, false);
         s.setChecked(Check::碎石, true);
     }},
    {"BothChecks", [](calc::Sheet& s) { s.setChecked(Check::碎石, true); }},
    {"NeitherCheck", [](calc::Sheet& s) { s.setChecked(Check::卵石, false); }},
};

INSTANTIATE_TEST_SUITE_P(Sheets, RoundTrip, ::testing::ValuesIn(kSheets),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(DesignFile, ThousandSaveAndOpenCyclesChangeNoByte) {
    std::string bytes = fileOf(
        [](calc::Sheet& s) {
            calc::calculate(s);
            s.setText(calc::Text29, "5～31.5 “连续”");
            s.setChecked(Check::碎石, true);
        },
        kComma);
    design::Design first = opened(bytes, kComma);
    first.extras["note"] = {{"b", 1.5}, {"a", "x"}};
    const std::string start = design::serialize(first);
    std::string current = start;
    calc::MemorySheet sheet(kComma);
    for (int cycle = 0; cycle < 1000; ++cycle) {
        const design::Design read = opened(current, kComma);
        design::apply(read, sheet);
        design::Design again = design::capture(sheet);
        again.extras = read.extras;
        current = design::serialize(again);
        ASSERT_EQ(current, start) << "cycle " << cycle;
    }
}

TEST(DesignFile, WritesTheDefaultsInThisExactForm) {
    const std::string expected = R"({
  "lanshi-design": 1,
  "format": {"decimal": ".", "group": ",", "groupSize": 3, "negative": "-"},
  "fields": {
    "Text1": "20",
    "Text2": "",
    "Text3": "4",
    "Text4": "",
    "Text5": "32.5",
    "Text6": "0.48",
    "Text7": "0.33",
    "Text8": "",
    "Text9": "1.07",
    "Text10": "",
    "Text11": "水泥",
    "Text12": "砂",
    "Text13": "石子",
    "Text14": "水",
    "Text15": "0.36",
    "Text16": "",
    "Text17": "",
    "Text18": "3.1",
    "Text19": "2.65",
    "Text20": "",
    "Text21": "",
    "Text22": "2.7",
    "Text23": "1",
    "Text24": "",
    "Text25": "1",
    "Text26": "180",
    "Text27": "",
    "Text28": "",
    "Text29": "",
    "Text30": "",
    "Text31": "",
    "Text32": "",
    "Text33": ""
  },
  "option1": true,
  "option2": false,
  "细砂": true,
  "粗砂": false,
  "卵石": true,
  "碎石": false
}
)";
    EXPECT_EQ(design::serialize(design::startDesign(kDot)), expected);
}

TEST(DesignFile, ExtrasFollowTheSheetInNameOrderAndComeBack) {
    design::Design d = design::startDesign(kDot);
    d.extras["record"] = {{"stages", {1, 2}}};
    d.extras["a-note"] = "备注";
    const std::string bytes = design::serialize(d);
    EXPECT_NE(bytes.find("\"碎石\": false,\n  \"a-note\": \"备注\",\n  \"record\": "),
              std::string::npos)
        << bytes;
    EXPECT_EQ(opened(bytes).extras, d.extras);

    design::Design clash = d;
    clash.extras["fields"] = 1;
    EXPECT_THROW(design::serialize(clash), std::invalid_argument);
}

TEST(DesignFile, ATextThatIsNoUtf8IsNotWritten) {
    design::Design d = design::startDesign(kDot);
    d.text(calc::Text7) = "0.\xff";
    try {
        design::serialize(d);
        FAIL() << "written";
    } catch (const std::invalid_argument& e) {
        EXPECT_NE(std::string(e.what()).find("Text7"), std::string::npos);
    }
}

// ---------------------------------------------------------------------------
// Another number format

struct Respelling {
    const char* name;
    calc::NumberFormat saved;
    std::string text;
    calc::NumberFormat current;
    std::string expected;
};

// The case's name in test listings, not its bytes.
void PrintTo(const Respelling& c, std::ostream* os) {
    *os << c.name;
}

class CrossFormat : public ::testing::TestWithParam<Respelling> {};

TEST_P(CrossFormat, NumbersTakeTheCurrentSymbolsAndOtherTextsStay) {
    const Respelling& c = GetParam();
    const std::string bytes =
        fileOf([&c](calc::Sheet& s) { s.setText(calc::Text29, c.text); }, c.saved);
    EXPECT_EQ(opened(bytes, c.current).text(calc::Text29), c.expected);
}

const Respelling kRespellings[] = {
    {"DecimalCommaToPoint", kComma, "0,36", kDot, "0.36"},
    {"PointToDecimalComma", kDot, "0.36", kComma, "0,36"},
    {"GroupedThousands", kComma, "1.234,57", kDot, "1,234.57"},
    {"UngroupedStaysUngrouped", kComma, "1234,5", kDot, "1234.5"},
    {"GroupedIntoTheNewGroupSize", calc::NumberFormat{".", ",", 4, "-"}, "1,2345.5", kDot,
     "12,345.5"},
    {"GroupingDroppedWhereNoneIsUsed", kDot, "1,234.57", calc::NumberFormat{",", "", 0, "-"},
     "1234,57"},
    {"ApostropheGroup", kSwiss, "1\u2019234.5", kComma, "1.234,5"},
    {"Negative", kComma, "-0,5", kDot, "-0.5"},
    {"MinusSignToHyphen", kMinusSign, "\u22121\u00A0234,5", kDot, "-1,234.5"},
    {"HyphenToMinusSign", kDot, "-2.5", kMinusSign, "\u22122,5"},
    {"PlusSignKept", kComma, "+2,5", kDot, "+2.5"},
    {"ExponentKept", kComma, "1,234568E+07", kDot, "1.234568E+07"},
    {"BlanksAroundKept", kComma, "  0,36 ", kDot, "  0.36 "},
    {"WholeNumber", kComma, "180", kDot, "180"},
    {"BeyondTheSingleRange", kComma, "1,5e39", kDot, "1.5e39"},
    {"NoNumberStays", kComma, "水泥", kDot, "水泥"},
    {"NumberFollowedByTextStays", kComma, "0,36abc", kDot, "0,36abc"},
    {"NotANumberUnderTheSavedFormat", kDot, "12,34", kComma, "12,34"},
    {"PointUnderCommaSavedFormatStays", kComma, "0.36", kDot, "0.36"},
    {"SameFormatVerbatim", kDot, "0,36", kDot, "0,36"},
    {"EmptyStaysEmpty", kComma, "", kDot, ""},
};

INSTANTIATE_TEST_SUITE_P(Texts, CrossFormat, ::testing::ValuesIn(kRespellings),
                         [](const auto& row) { return std::string(row.param.name); });

// The figures of a calculation made under a decimal comma, opened under a
// decimal point, are those the calculation makes there.
TEST(DesignFile, ACalculatedDesignMeansTheSameUnderAnotherFormat) {
    const auto calculated = [](const calc::NumberFormat& format) {
        calc::MemorySheet sheet = resetSheet(format);
        sheet.setText(calc::Text26, "300");
        sheet.setText(calc::Text8, "0" + format.decimal + "25");
        calc::calculate(sheet);
        return design::capture(sheet);
    };
    const design::Design comma = calculated(kComma);
    ASSERT_EQ(comma.text(calc::Text4), "1.200,00"); // a grouped figure
    EXPECT_EQ(opened(design::serialize(comma), kDot), calculated(kDot));
    EXPECT_EQ(opened(design::serialize(calculated(kDot)), kComma), comma);
}

// ---------------------------------------------------------------------------
// What a file leaves out

TEST(DesignFile, WhatAFileLeavesOutTakesItsStartState) {
    EXPECT_EQ(opened(R"({"lanshi-design": 1})", kComma), design::startDesign(kComma));

    const design::Design d = opened(R"({"lanshi-design": 1, "fields": {"Text1": "30"}})", kComma);
    EXPECT_EQ(d.text(calc::Text1), "30");
    EXPECT_EQ(d.text(calc::Text5), "32,5"); // the reset under the current format
    EXPECT_EQ(d.text(calc::Text11), "水泥");
    EXPECT_EQ(d.text(calc::Text30), "");
    EXPECT_EQ(d.format, kComma);
}

TEST(DesignFile, OneMemberGivenDecidesItsGroup) {
    struct Case {
        const char* keys;
        Option selected;
    };
    const Case cases[] = {
        {R"("option2": true)", Option::option2},
        {R"("option1": false)", Option::option2},
        {R"("option2": false)", Option::option1},
        {R"("粗砂": true)", Option::粗砂},
        {R"("细砂": false)", Option::粗砂},
        {R"("option1": false, "option2": true)", Option::option2},
    };
    for (const Case& c : cases) {
        const design::Design d = opened(std::string(R"({"lanshi-design": 1, )") + c.keys + "}");
        EXPECT_TRUE(d.selected(c.selected)) << c.keys;
        EXPECT_FALSE(d.selected(calc::partnerOf(c.selected))) << c.keys;
    }
    const design::Design checks = opened(R"({"lanshi-design": 1, "碎石": true})");
    EXPECT_TRUE(checks.checked(Check::卵石));
    EXPECT_TRUE(checks.checked(Check::碎石));
}

TEST(DesignFile, AFileWithoutFormatIsInTheCurrentFormat) {
    const design::Design d = opened(R"({"lanshi-design": 1, "fields": {"Text15": "0,4"}})", kComma);
    EXPECT_EQ(d.text(calc::Text15), "0,4");
}

TEST(DesignFile, UnknownKeysAreKeptAsideAndOtherwiseIgnored) {
    const design::Design d =
        opened(R"({"lanshi-design": 1, "later": {"x": [1]}, "id": 3, "fields": {}})");
    EXPECT_TRUE(design::sameSheet(d, design::startDesign(kDot)));
    ASSERT_EQ(d.extras.size(), 2u);
    EXPECT_EQ(d.extras.at("later"), nlohmann::json({{"x", {1}}}));
}

TEST(DesignFile, AByteOrderMarkIsNoPartOfTheText) {
    EXPECT_EQ(opened("\xEF\xBB\xBF{\"lanshi-design\": 1}"), design::startDesign(kDot));
}

// ---------------------------------------------------------------------------
// Files that are no design

struct BadFile {
    const char* name;
    std::string bytes;
    std::string says; // a part of the message
};

// The case's name in test listings, not its bytes.
void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

class Refused : public ::testing::TestWithParam<BadFile> {};

TEST_P(Refused, WithAMessageThatSaysWhy) {
    const design::ReadResult read = design::open(GetParam().bytes, kDot);
    ASSERT_FALSE(read);
    EXPECT_NE(read.error.find(GetParam().says), std::string::npos) << read.error;
}

std::string truncatedFile() {
    const std::string whole = design::serialize(design::startDesign(kDot));
    return whole.substr(0, whole.find("Text9"));
}

// The file of a reset sheet, cut just after the first occurrence of `after`.
std::string cutAfter(std::string_view after) {
    const std::string whole = design::serialize(design::startDesign(kDot));
    return whole.substr(0, whole.find(after) + after.size());
}

std::string nested(int depth) {
    return R"({"lanshi-design": 1, "x": )" + std::string(depth, '[') + std::string(depth, ']') +
           "}";
}

const BadFile kBadFiles[] = {
    {"Empty", "", "空的"},
    {"OnlyBlanks", " \n\t\r\n", "空的"},
    {"NotJson", "lanshi-design = 1", "第 1 行第 1 列附近有语法错误"},
    {"SyntaxErrorPlace", "{\"lanshi-design\": 1,\n  \"fields\": {\"Text1\" \"20\"}}",
     "第 2 行第 25 列附近有语法错误"},
    {"SyntaxErrorColumnCountsCharacters", "{\"lanshi-design\": 1, \"细砂\": tru}",
     "第 1 行第 31 列"},
    {"Truncated", truncatedFile(), "不完整"},
    {"TruncatedInAText", cutAfter("\"Text1\": \"2"), "不完整"},
    {"TruncatedAfterAComma", cutAfter("\"lanshi-design\": 1,\n"), "不完整"},
    {"TruncatedInANumber", R"({"lanshi-design": 1)", "不完整"},
    {"TruncatedInAWord", R"({"lanshi-design": 1, "细砂": tr)", "不完整"},
    {"WrongLastByte", R"({"lanshi-design": 1])", "第 1 行第 20 列附近有语法错误"},
    {"TrailingContent", R"({"lanshi-design": 1} {})", "语法错误"},
    {"InvalidUtf8", "{\"lanshi-design\": 1,\n \"fields\": {\"Text1\": \"2\xC0\xAF\"}}",
     "第 2 行第 24 列不是有效的 UTF-8"},
    {"Surrogate", "{\"lanshi-design\": 1, \"x\": \"\xED\xA0\x80\"}", "UTF-8"},
    {"Binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "二进制"},
    {"TooLarge", std::string(design::kMaxFileSize + 1, ' '), "太大"},
    {"NestedTooDeep", nested(100), "嵌套"},
    {"NumberBeyondDouble", R"({"lanshi-design": 1, "x": 7777777777777777e77777})", "超出范围"},
    {"Array", "[1, 2]", "顶层"},
    {"String", "\"lanshi\"", "顶层"},
    {"NoVersion", R"({"fields": {"Text1": "20"}})", "缺少 “lanshi-design”"},
    {"VersionText", R"({"lanshi-design": "1"})", "应为正整数"},
    {"VersionZero", R"({"lanshi-design": 0})", "应为正整数"},
    {"VersionFraction", R"({"lanshi-design": 1.5})", "应为正整数"},
    {"NewerVersion", R"({"lanshi-design": 2})", "较新版本"},
    {"FieldsArray", R"({"lanshi-design": 1, "fields": ["20"]})", "“fields” 应为对象"},
    {"NumberForText", R"({"lanshi-design": 1, "fields": {"Text5": 32.5}})", "“Text5” 应为文字"},
    {"NullForText", R"({"lanshi-design": 1, "fields": {"Text5": null}})", "“Text5” 应为文字"},
    {"UnknownField", R"({"lanshi-design": 1, "fields": {"Text34": ""}})", "“Text34” 不是字段名"},
    {"MisspeltField", R"({"lanshi-design": 1, "fields": {"text1": "20"}})", "“text1”"},
    {"TextForBoolean", R"({"lanshi-design": 1, "option1": "true"})",
     "“option1” 应为 true 或 false"},
    {"NumberForCheck", R"({"lanshi-design": 1, "碎石": 1})", "“碎石” 应为 true 或 false"},
    {"BothSelected", R"({"lanshi-design": 1, "option1": true, "option2": true})", "同时选中"},
    {"NeitherSelected", R"({"lanshi-design": 1, "细砂": false, "粗砂": false})", "都未选中"},
    {"FormatText", R"({"lanshi-design": 1, "format": "zh_CN"})", "“format” 应为对象"},
    {"FormatIncomplete", R"({"lanshi-design": 1, "format": {"decimal": ","}})", "缺少 “group”"},
    {"FormatGroupSizeFraction",
     R"({"lanshi-design": 1, "format": {"decimal": ".", "group": ",", "groupSize": 3.5, "negative": "-"}})",
     "“groupSize” 应为整数"},
    {"FormatGroupSizeLarge",
     R"({"lanshi-design": 1, "format": {"decimal": ".", "group": ",", "groupSize": 10, "negative": "-"}})",
     "0 到 9"},
    {"FormatEmptyDecimal",
     R"({"lanshi-design": 1, "format": {"decimal": "", "group": ",", "groupSize": 3, "negative": "-"}})",
     "不能为空"},
    {"FormatDigitSymbol",
     R"({"lanshi-design": 1, "format": {"decimal": "0", "group": ",", "groupSize": 3, "negative": "-"}})",
     "不能含有数字"},
    {"DesignToAStandard",
     R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30}})",
     "「新建 JGJ 55-2011 设计」"},
};

INSTANTIATE_TEST_SUITE_P(Files, Refused, ::testing::ValuesIn(kBadFiles),
                         [](const auto& row) { return std::string(row.param.name); });

// ---------------------------------------------------------------------------
// Reading from disk

class ReadFile : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("lanshi-design-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path write(const std::string& name, const std::string& bytes) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string refusal(const std::filesystem::path& path) {
        const design::ReadResult read = design::readFile(path, kDot);
        EXPECT_FALSE(read);
        return read.error;
    }

    std::filesystem::path folder;
};

TEST_F(ReadFile, ReadsASavedFileUnderAChineseName) {
    const std::string bytes = fileOf([](calc::Sheet& s) { calc::calculate(s); }, kComma);
    const design::ReadResult read = design::readFile(write("C20 配合比.lanshi", bytes), kComma);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(design::serialize(*read.design), bytes);
}

// A design file grown with blanks to exactly `size` bytes.
std::string paddedTo(std::size_t size) {
    std::string bytes = design::serialize(design::startDesign(kDot));
    bytes.resize(size, ' ');
    return bytes;
}

TEST_F(ReadFile, OpensAFileOfExactlyTheLargestSize) {
    const std::string largest = paddedTo(design::kMaxFileSize);
    ASSERT_EQ(largest.size(), std::size_t{4194304});
    const design::ReadResult read = design::readFile(write("largest.lanshi", largest), kDot);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(*read.design, design::startDesign(kDot));
    EXPECT_TRUE(design::open(largest, kDot)) << "the same bytes, given as they are";
    EXPECT_FALSE(design::open(largest + " ", kDot));
}

TEST_F(ReadFile, RefusesWhatIsNoReadableFile) {
    EXPECT_NE(refusal(folder / "missing.lanshi").find("不存在"), std::string::npos);
    std::filesystem::create_directory(folder / "folder.lanshi");
    EXPECT_NE(refusal(folder / "folder.lanshi").find("文件夹"), std::string::npos);
    ASSERT_EQ(::mkfifo((folder / "pipe.lanshi").c_str(), 0600), 0);
    EXPECT_NE(refusal(folder / "pipe.lanshi").find("不是普通文件"), std::string::npos);
    const std::string big(design::kMaxFileSize + 10, ' ');
    EXPECT_NE(refusal(write("big.lanshi", big)).find("太大"), std::string::npos);
    const std::string justOver = paddedTo(design::kMaxFileSize + 1);
    EXPECT_NE(refusal(write("over.lanshi", justOver)).find("太大"), std::string::npos);
    EXPECT_NE(refusal(write("empty.lanshi", "")).find("空的"), std::string::npos);
}

} // namespace
