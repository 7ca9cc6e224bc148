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
// The one set of figures computed here are the masses of the trial batch.
#pragma once

#include "calc/sheet.h"
#include "calc/trace.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace report {

struct Options {
    std::string date;          // as it should stand in the heading
    std::string program;       // the program's name
    std::string version;       // and its version
    std::string designFile;    // the design file's name; empty when there is none
    double batchLitres = 20.0; // the volume of the trial batch
};

inline constexpr double kDefaultBatchLitres = 20.0;

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

using Block = std::variant<Paragraph, Step, Table>;

struct Section {
    std::string title;
    std::vector<Block> blocks;
};

struct Document {
    std::string title;
    std::vector<std::string> heading; // date, program, design file
    std::vector<Section> sections;
};

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
enum class Refusal { NoCalculation, Stopped, Changed };
std::string refusalText(Refusal refusal);

} // namespace report
