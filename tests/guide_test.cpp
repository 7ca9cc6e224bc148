// The user's guide against the program: every figure that a worked example of
// docs/guide.md quotes (in backticks) must be what the program computes for
// the example's inputs -- a text of the window after 计算, or a figure of the
// calculation report, which shows the intermediate steps -- so the guide
// cannot drift from the program. Also the field table that the build puts
// into the guide.
#include "calc/fields.h"
#include "calc/memorysheet.h"
#include "calc/trace.h"
#include "design/designfile.h"
#include "gbt50107/evaluationfile.h"
#include "jgj55/designfile.h"
#include "report/gbt50107record.h"
#include "report/jgj55report.h"
#include "report/report.h"
#include "session/document.h"
#include "tools/fieldtable.h"
#include "tools/jgj55tables.h"
#include "tools/replay.h"

#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::json;

std::string readGuide() {
    std::ifstream in(LANSHI_GUIDE_MD, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << LANSHI_GUIDE_MD;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// One worked example: the case its marker gives, and the figures it quotes.
struct Example {
    std::string heading;
    std::string input; // a replay case
    std::vector<std::string> figures;
};

// Each "<!-- 算例 {case} -->" opens an example that runs to the next heading
// or the next example.
std::vector<Example> examplesOf(const std::string& markdown) {
    // A heading is a line that begins with "# ", the first line too.
    const std::string guide = '\n' + markdown;
    static const std::string kOpen = "<!-- 算例 ";
    static const std::string kClose = " -->";
    std::vector<Example> examples;
    for (std::size_t at = guide.find(kOpen); at != std::string::npos;
         at = guide.find(kOpen, at + 1)) {
        const std::size_t caseEnd = guide.find(kClose, at);
        if (caseEnd == std::string::npos) {
            ADD_FAILURE() << "an example marker is not closed";
            break;
        }
        Example example;
        example.input = guide.substr(at + kOpen.size(), caseEnd - at - kOpen.size());
        const std::size_t headingAt = guide.rfind("\n# ", at);
        if (headingAt != std::string::npos) {
            example.heading =
                guide.substr(headingAt + 3, guide.find('\n', headingAt + 1) - headingAt - 3);
        }
        const std::size_t bodyAt = caseEnd + kClose.size();
        const std::size_t end = std::min(guide.find("\n# ", bodyAt), guide.find(kOpen, bodyAt));
        const std::string body =
            guide.substr(bodyAt, end == std::string::npos ? end : end - bodyAt);
        static const std::regex quoted("`([^`]+)`");
        for (auto it = std::sregex_iterator(body.begin(), body.end(), quoted);
             it != std::sregex_iterator(); ++it) {
            example.figures.push_back((*it)[1].str());
        }
        examples.push_back(std::move(example));
    }
    return examples;
}

// The figures of a text: "16.692", "1,234.57", "1.234568E+07".
std::set<std::string> figuresIn(const std::string& text) {
    static const std::regex figure(R"(\d+(?:[.,]\d+)*(?:E[+-]\d+)?)");
    std::set<std::string> figures;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), figure);
         it != std::sregex_iterator(); ++it) {
        figures.insert(it->str());
    }
    return figures;
}

// The calculation report of the example, as a press on 计算 would make it.
std::string reportOf(const Example& example) {
    const design::ReadResult read = design::open(example.input, calc::NumberFormat{});
    if (!read) {
        ADD_FAILURE() << "the example is no design: " << read.error;
        return {};
    }
    calc::MemorySheet sheet;
    design::apply(*read.design, sheet);
    calc::Trace trace;
    calc::calculate(sheet, trace);
    report::Options options;
    options.date = "2024-05-01";
    const std::optional<report::Document> document = report::buildReport(sheet, trace, options);
    if (!document) {
        ADD_FAILURE() << "no report for the example";
        return {};
    }
    return report::toText(*document);
}

// What the program shows for the example: the 33 field texts after the
// calculation, and the figures of its report.
struct Computed {
    json output;
    std::set<std::string> texts;
    std::set<std::string> reported;
};

Computed compute(const Example& example) {
    Computed computed;
    computed.output = json::parse(replay::replayLine(example.input));
    if (computed.output.contains("fields")) {
        for (const auto& [name, text] : computed.output["fields"].items()) {
            computed.texts.insert(text.get<std::string>());
        }
    }
    computed.reported = figuresIn(reportOf(example));
    return computed;
}

TEST(GuideTest, EveryFigureOfAWorkedExampleIsWhatTheProgramComputes) {
    const std::vector<Example> examples = examplesOf(readGuide());
    ASSERT_GE(examples.size(), 2u) << "the guide has lost its worked examples";
    for (const Example& example : examples) {
        SCOPED_TRACE(example.heading);
        const Computed computed = compute(example);
        ASSERT_FALSE(computed.output.contains("error")) << computed.output.dump();
        // An example shows a calculation that runs to its end.
        EXPECT_TRUE(computed.output["stop"].is_null()) << computed.output["stop"].dump();
        EXPECT_GE(example.figures.size(), 8u) << "too few figures to be a worked example";
        for (const std::string& figure : example.figures) {
            EXPECT_TRUE(computed.texts.contains(figure) || computed.reported.contains(figure))
                << "the guide quotes " << figure << ", which the program does not show";
        }
        // Its results are the whole of both rows, as the window shows them.
        const std::set<std::string> quoted(example.figures.begin(), example.figures.end());
        for (const char* row :
             {"Text11", "Text12", "Text13", "Text14", "Text30", "Text31", "Text32", "Text33"}) {
            const std::string text = computed.output["fields"][row].get<std::string>();
            EXPECT_TRUE(quoted.contains(text)) << row << " = " << text << " is not in the example";
        }
    }
}

TEST(GuideTest, ExamplesAreFoundWithTheirCasesAndFigures) {
    // The reader itself, on a guide of two examples and a heading between.
    const std::string guide = "# 一\n<!-- 算例 {} -->\n得 `26.58` 与 `0.52`。\n"
                              "# 二\n不算 `9`。\n<!-- 算例 {\"fields\": {\"Text1\": \"30\"}} -->\n"
                              "| `1` | `2` |\n";
    const std::vector<Example> examples = examplesOf(guide);
    ASSERT_EQ(examples.size(), 2u);
    EXPECT_EQ(examples[0].heading, "一");
    EXPECT_EQ(examples[0].input, "{}");
    EXPECT_EQ(examples[0].figures, (std::vector<std::string>{"26.58", "0.52"}));
    EXPECT_EQ(examples[1].heading, "二");
    EXPECT_EQ(examples[1].input, R"({"fields": {"Text1": "30"}})");
    EXPECT_EQ(examples[1].figures, (std::vector<std::string>{"1", "2"}));
}

TEST(GuideTest, FiguresAreReadWholeFromTheReport) {
    EXPECT_EQ(
        figuresIn("αa·fce = 1.07 × 15.6 = 16.692 MPa；V = 698.34 L，1,234.57 与 1.234568E+07"),
        (std::set<std::string>{"1.07", "15.6", "16.692", "698.34", "1,234.57", "1.234568E+07"}));
    // A figure is never found inside a longer one.
    EXPECT_FALSE(figuresIn("W/C = 0.5201886 ≈ 0.52").contains("0.520"));
}

TEST(GuideTest, TheFieldTableHasEveryTextFieldOnceWithSixCells) {
    std::set<calc::TextField> seen;
    for (const calc::TextField field : fieldtable::windowOrder()) {
        EXPECT_TRUE(seen.insert(field).second) << calc::fieldName(field) << " twice";
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(calc::kTextFieldCount));

    std::istringstream table(fieldtable::markdownTable());
    std::vector<std::string> lines;
    for (std::string line; std::getline(table, line);) {
        lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 2u + calc::kTextFieldCount);
    static const std::regex unescapedBar(R"((^|[^\\])\|)");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto bars =
            std::distance(std::sregex_iterator(lines[i].begin(), lines[i].end(), unescapedBar),
                          std::sregex_iterator());
        EXPECT_EQ(bars, 7) << lines[i];
    }
    // The row of a field: its caption, symbol, unit, usual range and role.
    const std::string text15 = lines[2 + 14];
    EXPECT_EQ(text15, "| 砂率 | βs | — | 0.26～0.44 | 输入 | " +
                          std::string(calc::fieldInfo(calc::Text15).meaning) + " |");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "| 混凝土强度等级(Fcu,k) | fcu,k | MPa | 15～60 | 输入 | " +
                            std::string(calc::fieldInfo(calc::Text1).meaning) + " |"),
              lines.end());
}

TEST(GuideTest, TheGuideHasOnePlaceForTheFieldTable) {
    const std::string guide = readGuide();
    const std::string marker = "<!-- 字段表 -->";
    const std::size_t at = guide.find(marker);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(guide.find(marker, at + 1), std::string::npos);
}

// The JGJ 55-2011 examples: "<!-- JGJ 55-2011 算例 {design file} -->" opens
// one that runs to the next heading; every figure it quotes in backticks must
// stand in the report the program makes of that design.
TEST(GuideTest, EveryFigureOfAJgj55ExampleIsInTheProgramsReport) {
    const std::string guide = '\n' + readGuide();
    static const std::string kOpen = "<!-- JGJ 55-2011 算例 ";
    static const std::string kClose = " -->";
    int examples = 0;
    for (std::size_t at = guide.find(kOpen); at != std::string::npos;
         at = guide.find(kOpen, at + 1)) {
        const std::size_t caseEnd = guide.find(kClose, at);
        ASSERT_NE(caseEnd, std::string::npos);
        const std::string file = guide.substr(at + kOpen.size(), caseEnd - at - kOpen.size());
        const jgj55::ReadResult read = jgj55::read(file);
        ASSERT_TRUE(read) << read.error;
        const jgj55::Outcome out = jgj55::design(*read.input);
        ASSERT_TRUE(out) << jgj55::plainText(out.refusal.message);
        report::Options options;
        options.date = "2024-05-01";
        const std::set<std::string> reported = figuresIn(report::toText(
            report::buildJgj55Report(*read.input, *out.result, calc::NumberFormat{}, options)));
        const std::size_t bodyAt = caseEnd + kClose.size();
        const std::size_t end = guide.find("\n# ", bodyAt);
        const std::string body =
            guide.substr(bodyAt, end == std::string::npos ? end : end - bodyAt);
        static const std::regex quoted("`([^`]+)`");
        int figures = 0;
        for (auto it = std::sregex_iterator(body.begin(), body.end(), quoted);
             it != std::sregex_iterator(); ++it, ++figures) {
            EXPECT_TRUE(reported.contains((*it)[1].str()))
                << "example " << examples + 1 << " quotes " << (*it)[1].str()
                << ", which its report does not show";
        }
        EXPECT_GE(figures, 10);
        ++examples;
    }
    EXPECT_EQ(examples, 3);
}

// The strength evaluation's example: "<!-- GB/T 50107-2010 算例 {evaluation
// file} -->" opens it, running to the next heading; every text it quotes in
// backticks must stand in the record the program makes of that file, a
// figure as a whole figure.
TEST(GuideTest, EveryFigureOfAnEvaluationExampleIsInTheProgramsRecord) {
    const std::string guide = '\n' + readGuide();
    static const std::string kOpen = "<!-- GB/T 50107-2010 算例 ";
    static const std::string kClose = " -->";
    int examples = 0;
    for (std::size_t at = guide.find(kOpen); at != std::string::npos;
         at = guide.find(kOpen, at + 1)) {
        const std::size_t caseEnd = guide.find(kClose, at);
        ASSERT_NE(caseEnd, std::string::npos);
        const std::string file = guide.substr(at + kOpen.size(), caseEnd - at - kOpen.size());
        const gbt50107::FileReading read = gbt50107::read(file);
        ASSERT_TRUE(read) << read.error;
        const gbt50107::Outcome out = gbt50107::evaluate(read.file->input);
        ASSERT_TRUE(out) << out.faults.front().message;
        report::Options options;
        options.date = "2024-05-01";
        const std::string record = report::toText(report::buildGbt50107Record(
            read.file->input, *out.evaluation, calc::NumberFormat{}, options));
        const std::set<std::string> figures = figuresIn(record);
        const std::size_t bodyAt = caseEnd + kClose.size();
        const std::size_t end = guide.find("\n# ", bodyAt);
        const std::string body =
            guide.substr(bodyAt, end == std::string::npos ? end : end - bodyAt);
        static const std::regex quoted("`([^`]+)`");
        int quotes = 0;
        for (auto it = std::sregex_iterator(body.begin(), body.end(), quoted);
             it != std::sregex_iterator(); ++it, ++quotes) {
            const std::string text = (*it)[1].str();
            const bool figure = figuresIn(text) == std::set<std::string>{text};
            EXPECT_TRUE(figure ? figures.contains(text) : record.find(text) != std::string::npos)
                << "the example quotes " << text << ", which its record does not show";
        }
        EXPECT_GE(quotes, 10);
        ++examples;
    }
    EXPECT_EQ(examples, 1);
}

// The trials' example: "<!-- JGJ 55-2011 试配算例 {design file} -->" opens
// it, running to the next heading; every figure it quotes must stand in the
// report (with its chapter 试配、调整与确定) or in the mix notice the program
// makes of that file.
TEST(GuideTest, EveryFigureOfTheTrialExampleIsInTheReportOrTheNotice) {
    const std::string guide = '\n' + readGuide();
    static const std::string kOpen = "<!-- JGJ 55-2011 试配算例 ";
    static const std::string kClose = " -->";
    const std::size_t at = guide.find(kOpen);
    ASSERT_NE(at, std::string::npos) << "the guide has lost its trial example";
    EXPECT_EQ(guide.find(kOpen, at + 1), std::string::npos);
    const std::size_t caseEnd = guide.find(kClose, at);
    ASSERT_NE(caseEnd, std::string::npos);
    const std::string file = guide.substr(at + kOpen.size(), caseEnd - at - kOpen.size());
    session::OpenedFile opened = session::openFile(file, {.path = "g", .shown = "g"}, {});
    ASSERT_TRUE(opened) << opened.opening.error;
    session::Document& document = *opened.document;
    ASSERT_EQ(document.calculateForReport(), "");
    const session::ReportStamp stamp{.date = "2024-05-01", .program = "p", .version = "1"};
    const session::Reporting report = document.report(stamp);
    const session::Reporting notice = document.notice(stamp);
    ASSERT_TRUE(report) << report.refusal;
    ASSERT_TRUE(notice) << notice.refusal;
    const std::string reportText = report::toText(*report.document);
    ASSERT_NE(reportText.find("试配、调整与确定"), std::string::npos);
    const std::set<std::string> shown =
        figuresIn(reportText + "\n" + report::toText(*notice.document));
    const std::size_t bodyAt = caseEnd + kClose.size();
    const std::size_t end = guide.find("\n# ", bodyAt);
    const std::string body = guide.substr(bodyAt, end == std::string::npos ? end : end - bodyAt);
    static const std::regex quoted("`([^`]+)`");
    int figures = 0;
    for (auto it = std::sregex_iterator(body.begin(), body.end(), quoted);
         it != std::sregex_iterator(); ++it, ++figures) {
        EXPECT_TRUE(shown.contains((*it)[1].str()))
            << "the trial example quotes " << (*it)[1].str()
            << ", which neither its report nor its notice shows";
    }
    EXPECT_GE(figures, 20);
}

TEST(GuideTest, TheJgj55TablesComeFromTheDesignsData) {
    const std::string guide = readGuide();
    const std::string marker = "<!-- JGJ 55-2011 表 -->";
    const std::size_t at = guide.find(marker);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(guide.find(marker, at + 1), std::string::npos);
    const std::string tables = jgj55tables::markdownTables();
    // Nine tables, each a title and a header rule.
    std::size_t titles = 0;
    for (std::size_t p = tables.find("**表"); p != std::string::npos;
         p = tables.find("**表", p + 1)) {
        ++titles;
    }
    // The four the standard numbers: 5.1.3, 5.4.2, 3.0.5-1 and 3.0.5-2.
    EXPECT_EQ(titles, 4u);
    EXPECT_NE(tables.find("| 0.70 | 36～41 | 35～40 | 34～39 | 39～44 | 38～43 | 36～41 |"),
              std::string::npos)
        << tables;
    EXPECT_NE(tables.find("| 75～90 mm | 215 | 195 | 185 | 175 | 230 | 215 | 205 | 195 |"),
              std::string::npos)
        << tables;
    // Table 3.0.5-2, prestressed: fly ash above W/B 0.40, 25 % and 20 %.
    const std::size_t prestressed = tables.find("**表 3.0.5-2");
    ASSERT_NE(prestressed, std::string::npos) << tables;
    EXPECT_NE(tables.find("| 粉煤灰 | > 0.40 | 25 | 20 |", prestressed), std::string::npos)
        << tables;
}

} // namespace
