// The report's document model as any design kind builds it: inline marks for
// subscripts and unbroken runs, the project block, the 注意 list and the
// signature lines, and user text that can neither forge a line nor drive a
// terminal.
#include "report/report.h"
#include "tests/case_names.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using report::Document;

bool hasControl(const std::string& text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n') || byte == 0x7F) {
            return true;
        }
    }
    return text.find("\xC2\x85") != std::string::npos ||
           text.find("\xE2\x80\xA8") != std::string::npos;
}

struct Cleaned {
    const char* name;
    std::string typed;
    std::string shown;
};

class UserText : public ::testing::TestWithParam<Cleaned> {};

TEST_P(UserText, IsOneLineWithoutControlCharacters) {
    EXPECT_EQ(report::userText(GetParam().typed), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, UserText,
    ::testing::Values(Cleaned{"plain", "C30 泵送", "C30 泵送"},
                      Cleaned{"line_break_and_escape", "a\n三、配合比\x1b[2J", "a 三、配合比 [2J"},
                      Cleaned{"carriage_return_tab_del", "1\r2\t3\x7f", "1 2 3 "},
                      Cleaned{"c1_next_line", "x\xC2\x85y", "x y"},
                      Cleaned{"line_separator", "x\xE2\x80\xA8y", "x y"},
                      Cleaned{"bidi_override", "x\xE2\x80\xAEy", "x y"},
                      Cleaned{"marks_cannot_be_forged",
                              "f\x0e"
                              "cu\x0f",
                              "f cu "},
                      Cleaned{"invalid_utf8", "a\xFFz", "a\xEF\xBF\xBDz"},
                      Cleaned{"truncated_sequence", "a\xE4\xB8", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
                      Cleaned{"overlong_slash", "\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"}),
    [](const ::testing::TestParamInfo<Cleaned>& row) { return std::string(row.param.name); });

TEST(Symbol, SubscriptIsAllButTheFirstCharacter) {
    EXPECT_EQ(report::symbol("fcu,0"), "f" + report::sub("cu,0"));
    EXPECT_EQ(report::symbol("γc"), "γ" + report::sub("c"));
    EXPECT_EQ(report::symbol("ρc,c"), "ρ" + report::sub("c,c"));
    EXPECT_EQ(report::symbol("mw0"), "m" + report::sub("w0"));
    EXPECT_EQ(report::symbol("W/C"), "W/C");
    EXPECT_EQ(report::symbol("A"), "A");
    EXPECT_EQ(report::plain(report::symbol("αa") + report::unit("kg/m³")), "αa kg/m³");
}

Document sample() {
    Document d;
    d.title = "计算书";
    d.heading = {"设计依据：规程"};
    d.project = {"某工程\n三、配合比", "", "设计院\x1b[2J"};
    report::Step step{"1. " + report::symbol("fcu,0"),
                      {report::symbol("fcu,0") + " = 26.58" + report::unit("MPa")},
                      {}};
    d.sections.push_back({"一、过程",
                          {step, report::Table{{"项目", "数值"}, {{"砂\n三、配合比", "1\x1b"}}},
                           report::List{"注意", {"第一条", "第二条"}}}});
    d.signatures = report::standardSignatures();
    return d;
}

TEST(ModelText, PlainNotationProjectBlockListAndSignatures) {
    const std::string text = report::toText(sample());
    EXPECT_NE(text.find("工程名称：某工程 三、配合比\n"), std::string::npos) << text;
    EXPECT_NE(text.find("使用部位：\n"), std::string::npos) << text;
    EXPECT_NE(text.find("委托/设计单位：设计院 [2J\n"), std::string::npos) << text;
    EXPECT_NE(text.find("     fcu,0 = 26.58 MPa\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  注意\n     1. 第一条\n     2. 第二条\n"), std::string::npos) << text;
    for (const char* role : {"计算：", "校核：", "审核："}) {
        EXPECT_NE(text.find(std::string("  ") + role), std::string::npos) << role;
    }
    EXPECT_NE(text.find("日期："), std::string::npos);
    // No text of the user's starts a line of its own, or reaches the terminal
    // as a control.
    EXPECT_EQ(text.find("\n三、"), std::string::npos) << text;
    EXPECT_EQ(text.find("\n  三、"), std::string::npos) << text;
    EXPECT_FALSE(hasControl(text));
}

TEST(ModelHtml, SubscriptsUnbrokenUnitsEscapedUserText) {
    Document d = sample();
    d.project.name = "<b>A&B</b>";
    const std::string html = report::toHtml(d);
    EXPECT_NE(html.find("f<sub>cu,0</sub> = 26.58<span class=\"keep\">&nbsp;MPa</span>"),
              std::string::npos)
        << html;
    EXPECT_NE(html.find("工程名称：&lt;b&gt;A&amp;B&lt;/b&gt;"), std::string::npos);
    EXPECT_NE(html.find("<li>第二条</li>"), std::string::npos);
    EXPECT_FALSE(hasControl(html));
}

TEST(ModelHtml, SlashInAKeptUnitGetsAWordJoinerAndMarksAlwaysClose) {
    Document d;
    d.title = "t";
    d.sections.push_back({"s", {report::Paragraph{"100" + report::unit("kg/m³")}}});
    // Marks left open by a builder still give balanced HTML.
    d.sections.back().blocks.emplace_back(report::Paragraph{"x" + std::string(1, '\x0e') + "y"});
    d.sections.back().blocks.emplace_back(report::Paragraph{"z" + std::string(1, '\x02') + "w"});
    const std::string html = report::toHtml(d);
    EXPECT_NE(html.find("100<span class=\"keep\">&nbsp;kg/&#x2060;m³</span>"), std::string::npos)
        << html;
    EXPECT_NE(html.find("<p>x<sub>y</sub></p>"), std::string::npos) << html;
    EXPECT_NE(html.find("<p>z<span class=\"keep\">w</span></p>"), std::string::npos) << html;
}

} // namespace
