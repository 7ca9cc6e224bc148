// The calculation report (计算书): every step of the last calculation with the
// very figures it used, built from the design sheet and the trace of that
// calculation alone, in Chinese, in the sheet's regional number format.
//
//     calc::Trace trace;
//     calc::calculate(sheet, trace);
//     report::Options options{.date = "2024-05-01", ...};
//     if (auto document = report::buildReport(sheet, trace, options)) {
//         std::string text = report::toText(*document);
//         std::string html = report::toHtml(*document);
//     }
//
// Every figure is a text of the sheet, a text the calculation wrote, or a
// quantity the trace recorded: no figure is computed again by another route.
// The figures computed here are only those a checker adds beside the
// working: fce = γc·fce,g on its own, the masses rounded to the kilogram,
// their sum (the calculated apparent density) and the trial batch. Warnings
// go to a 注意 list at the end of the working and change no figure.
//
// The model itself (sections, steps, tables, lists, the project block, the
// signature lines and the inline marks) knows nothing of this one design
// kind: another kind's report fills the same Document.
#pragma once

#include "calc/sheet.h"
#include "calc/trace.h"
#include "design/project.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace report {

// The project a report is for: the design file's project block
// (design/project.h). Plain user text: made one line, without control
// characters, where the report shows it.
using Project = design::Project;

struct Options {
    std::string date;          // as it should stand in the heading
    std::string program;       // the program's name
    std::string version;       // and its version
    std::string designFile;    // the design file's name; empty when there is none
    double batchLitres = 20.0; // the volume of the trial batch
    Project project;           // the block at the top
};

inline constexpr double kDefaultBatchLitres = design::kUsualBatchLitres;

// Inline markup. Every text of a document below may carry two kinds of span,
// opened and closed by control characters that no user text keeps
// (userText() removes them): a subscript (f_cu,0 as f<sub>cu,0</sub>) and a
// run that is never broken across lines (a figure with its unit). The text
// form drops the marks and keeps the plain notation ("fcu,0", "26.58 MPa");
// HTML turns them into <sub> and a run without break opportunities.
inline constexpr char kSubscriptOpen = '\x0e';
inline constexpr char kSubscriptClose = '\x0f';
inline constexpr char kKeepOpen = '\x02';
inline constexpr char kKeepClose = '\x03';

// `text` as a subscript.
std::string sub(std::string_view text);
// `text` kept on one line.
std::string keep(std::string_view text);
// A symbol of the design rules written plainly ("fcu,0", "γc", "mw0", "W/C",
// "ρc,c") with its subscript marked: the first character stands on the line,
// the rest below it; "W/C", "C/W", "A", "V" and other one-letter or ratio
// symbols stay as they are.
std::string symbol(std::string_view plain);
// " kg/m³" as a run that stays with the figure before it; empty for an empty
// unit.
std::string unit(std::string_view unit);
// A text the user typed, made safe to stand in a document: one line (every
// line break, tab and other control character, C0 and C1, becomes a space,
// the line and paragraph separators too), so that it can neither open a
// mark nor start a line of its own. Invalid UTF-8 bytes become U+FFFD.
std::string userText(std::string_view text);
// The text without its marks, as the text form shows it.
std::string plain(std::string_view marked);

// A line of text.
struct Paragraph {
    std::string text;
};

// One step of the working: a title and its equations, each the formula, the
// values substituted and the result, followed by what was decided on the way.
struct Step {
    std::string title;
    std::vector<std::string> equations;
    std::vector<std::string> notes;
};

struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// A numbered list under a title of its own ("注意"): warnings and remarks
// that stop nothing and change no figure.
struct List {
    std::string title;
    std::vector<std::string> items;
};

using Block = std::variant<Paragraph, Step, Table, List>;

struct Section {
    std::string title;
    std::vector<Block> blocks;
};

// A line to be signed by hand at the end: "计算：______ 日期：______".
struct Signature {
    std::string role; // 计算, 校核, 审核
};

struct Document {
    std::string title;
    std::vector<std::string> heading; // basis, date, program, design file
    Project project;                  // shown at the top, below the title
    // The caption of the project's part: where a mix is used (使用部位), or
    // where the concrete evaluated was placed (施工部位).
    std::string partLabel = "使用部位";
    std::vector<Section> sections;
    std::vector<Signature> signatures; // shown at the end
};

// Marks the subscript of every symbol of `symbols` ("mb0", "ρc,c") that stands
// as a word of its own in a text of the sections: in equations, notes,
// paragraphs, tables and lists, however often it is named, so that HTML and
// print show each the same way. Longer symbols are matched first ("fce,g"
// before "fce"); a symbol already marked stays as it is. The plain text
// does not change.
void markSymbols(Document& document, std::span<const std::string_view> symbols);

// The signature lines every report ends with: 计算, 校核, 审核.
std::vector<Signature> standardSignatures();

// The frame every report of this program shares, whatever the design kind:
// the title, the heading (the design basis `basis`, the date, the program and
// the design file), the project block and the signature lines; the caller
// adds the sections.
Document reportFrame(std::string_view basis, const Options& options);

// The report of the calculation that `trace` recorded on `sheet`; nothing
// when that calculation stopped or computed no mix (no method selected).
std::optional<Document> buildReport(const calc::Sheet& sheet, const calc::Trace& trace,
                                    const Options& options);

// The report as plain text (UTF-8, lines ending in "\n", tables aligned for a
// monospaced face in which a Chinese character takes two columns).
std::string toText(const Document& document);

// The report as one HTML page (UTF-8), styled for the screen and for A4.
std::string toHtml(const Document& document);

// Why no report can be made, for the box that says so.
enum class NoReport { NoCalculation, Stopped, Changed };
std::string refusalText(NoReport why);

} // namespace report
