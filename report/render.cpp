// The report written out: plain text for the clipboard and the terminal, HTML
// for the browser, the print preview and the PDF.
#include "report/report.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace report {

namespace {

// Columns a text takes in a monospaced face: two for the wide characters of
// Chinese, Japanese and Korean and for the full-width forms, one otherwise.
std::size_t columns(std::string_view text) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::uint32_t code = byte;
        std::size_t length = 1;
        if (byte >= 0xF0) {
            code = byte & 0x07u;
            length = 4;
        } else if (byte >= 0xE0) {
            code = byte & 0x0Fu;
            length = 3;
        } else if (byte >= 0xC0) {
            code = byte & 0x1Fu;
            length = 2;
        }
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
        }
        i += length;
        const bool wide =
            (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
            (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
            (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
            (code >= 0xFFE0 && code <= 0xFFE6);
        width += wide ? 2 : 1;
    }
    return width;
}

// A text of the document as one plain line: marks dropped, and any control
// character or line break left in it (a field's text) made a space, so that
// nothing in it can start a line or drive a terminal.
std::string line(std::string_view marked) {
    return userText(plain(marked));
}

void textTable(std::string& out, const Table& marked) {
    Table table{{}, {}};
    for (const std::string& cell : marked.header) {
        table.header.push_back(line(cell));
    }
    for (const auto& row : marked.rows) {
        std::vector<std::string> cells;
        cells.reserve(row.size());
        for (const std::string& cell : row) {
            cells.push_back(line(cell));
        }
        table.rows.push_back(std::move(cells));
    }
    std::vector<std::size_t> widths(table.header.size(), 0);
    auto measure = [&](const std::vector<std::string>& row) {
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], columns(row[i]));
        }
    };
    measure(table.header);
    for (const auto& row : table.rows) {
        measure(row);
    }
    auto line = [&](const std::vector<std::string>& row) {
        std::string text = "  ";
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i) {
            text += row[i];
            if (i + 1 < row.size()) {
                text.append(widths[i] - columns(row[i]) + 2, ' ');
            }
        }
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        out += text + "\n";
    };
    line(table.header);
    for (const auto& row : table.rows) {
        line(row);
    }
}

std::string escaped(std::string_view raw) {
    const std::string text = userText(raw);
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A run of plain text as HTML; in a kept run with no break opportunity left
// (its spaces non-breaking, a word joiner after each slash, which would
// otherwise allow a break in "kg/m³").
void appendRun(std::string& out, std::string_view run, bool kept) {
    const std::string text = escaped(run);
    if (!kept) {
        out += text;
        return;
    }
    for (const char c : text) {
        if (c == ' ') {
            out += "&nbsp;";
        } else if (c == '/') {
            out += "/&#x2060;";
        } else {
            out += c;
        }
    }
}

// Opens or closes a span of markup where a mark changes whether it is open.
void markSpan(std::string& out, bool& open, bool opening, std::string_view openTag,
              std::string_view closeTag) {
    if (opening != open) {
        out += open ? closeTag : openTag;
        open = opening;
    }
}

// A marked text as HTML: subscripts as <sub>, kept runs as a span that does
// not break. Every span opened is closed, whatever the text holds.
std::string html(std::string_view marked) {
    constexpr std::string_view kKeepTag = "<span class=\"keep\">";
    std::string out;
    std::string run;
    bool subscript = false;
    bool kept = false;
    for (const char c : marked) {
        const bool subscriptMark = c == kSubscriptOpen || c == kSubscriptClose;
        if (!subscriptMark && c != kKeepOpen && c != kKeepClose) {
            run += c;
            continue;
        }
        appendRun(out, run, kept);
        run.clear();
        if (subscriptMark) {
            markSpan(out, subscript, c == kSubscriptOpen, "<sub>", "</sub>");
        } else {
            markSpan(out, kept, c == kKeepOpen, kKeepTag, "</span>");
        }
    }
    appendRun(out, run, kept);
    markSpan(out, subscript, false, "<sub>", "</sub>");
    markSpan(out, kept, false, kKeepTag, "</span>");
    return out;
}

constexpr std::string_view kSignatureBlank = "________________";

std::string signatureLine(const Signature& signature) {
    return signature.role + "：" + std::string(kSignatureBlank) + "    日期：" +
           std::string(kSignatureBlank);
}

std::array<std::pair<std::string_view, const std::string*>, 3>
projectLines(const Document& document) {
    const Project& project = document.project;
    return {{{"工程名称", &project.name},
             {document.partLabel, &project.part},
             {"委托/设计单位", &project.client}}};
}

// Inline, because Qt's rich text, which prints the PDF, applies little of a
// style sheet beyond it.
constexpr std::string_view kCell =
    "padding-left: 5px; padding-right: 5px; padding-top: 2px; padding-bottom: 2px";
// -qt-block-indent is Qt's own, for the print; browsers take the margin of
// the class.
constexpr std::string_view kIndented = "-qt-block-indent: 1";

void htmlTable(std::string& out, const Table& table) {
    // The attributes are for Qt's rich text, which prints the PDF and knows
    // little CSS; the class is for browsers.
    // The header row in <thead>: a table that crosses a page repeats it at
    // the top of the next, in a browser's print and in Qt's rich text.
    out += "<table class=\"grid\" border=\"1\" cellspacing=\"0\" cellpadding=\"3\">\n"
           "<thead><tr>";
    for (const std::string& cell : table.header) {
        out += "<th style=\"" + std::string(kCell) + "\">" + html(cell) + "</th>";
    }
    out += "</tr></thead>\n<tbody>\n";
    for (const auto& row : table.rows) {
        out += "<tr>";
        for (const std::string& cell : row) {
            out += "<td style=\"" + std::string(kCell) + "\">" + html(cell) + "</td>";
        }
        out += "</tr>\n";
    }
    out += "</tbody>\n</table>\n";
}

// A block of a section as HTML.
void htmlBlock(std::string& out, const Block& block) {
    if (const auto* p = std::get_if<Paragraph>(&block)) {
        out += "<p>" + html(p->text) + "</p>\n";
    } else if (const auto* step = std::get_if<Step>(&block)) {
        out += "<h3>" + html(step->title) + "</h3>\n";
        for (const std::string& equation : step->equations) {
            out += "<p class=\"equation\" style=\"" + std::string(kIndented) + "\">" +
                   html(equation) + "</p>\n";
        }
        for (const std::string& note : step->notes) {
            out += "<p class=\"note\" style=\"" + std::string(kIndented) + "\">" + html(note) +
                   "</p>\n";
        }
    } else if (const auto* list = std::get_if<List>(&block)) {
        // A list without a title of its own stands under its section's.
        if (!list->title.empty()) {
            out += "<h3>" + html(list->title) + "</h3>\n";
        }
        out += "<ol>\n";
        for (const std::string& item : list->items) {
            out += "<li>" + html(item) + "</li>\n";
        }
        out += "</ol>\n";
    } else {
        htmlTable(out, std::get<Table>(block));
    }
}

// A block of a section as text.
void textBlock(std::string& out, const Block& block) {
    if (const auto* p = std::get_if<Paragraph>(&block)) {
        out += "  " + line(p->text) + "\n";
    } else if (const auto* step = std::get_if<Step>(&block)) {
        out += "  " + line(step->title) + "\n";
        for (const std::string& equation : step->equations) {
            out += "     " + line(equation) + "\n";
        }
        for (const std::string& note : step->notes) {
            out += "     " + line(note) + "\n";
        }
    } else if (const auto* list = std::get_if<List>(&block)) {
        if (!list->title.empty()) {
            out += "  " + line(list->title) + "\n";
        }
        for (std::size_t i = 0; i < list->items.size(); ++i) {
            out += "     " + std::to_string(i + 1) + ". " + line(list->items[i]) + "\n";
        }
    } else {
        textTable(out, std::get<Table>(block));
    }
}

} // namespace

std::string toText(const Document& document) {
    std::string out = line(document.title) + "\n\n";
    for (const std::string& heading : document.heading) {
        out += line(heading) + "\n";
    }
    out += "\n";
    for (const auto& [label, value] : projectLines(document)) {
        out += std::string(label) + "：" + line(*value) + "\n";
    }
    for (const Section& section : document.sections) {
        out += "\n" + line(section.title) + "\n";
        for (const Block& block : section.blocks) {
            out += "\n";
            textBlock(out, block);
        }
    }
    if (!document.signatures.empty()) {
        out += "\n";
        for (const Signature& signature : document.signatures) {
            out += "  " + line(signatureLine(signature)) + "\n";
        }
    }
    return out;
}

std::string toHtml(const Document& document) {
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
        escaped(document.title) +
        "</title>\n<style>\n"
        "body { font-family: 'WenQuanYi Micro Hei', 'Noto Sans CJK SC', sans-serif; "
        "font-size: 10.5pt; }\n"
        "h1 { font-size: 16pt; text-align: center; margin-bottom: 6pt; }\n"
        "h2 { font-size: 12pt; margin-top: 14pt; margin-bottom: 4pt; }\n"
        "h3 { font-size: 10.5pt; margin-top: 8pt; margin-bottom: 2pt; }\n"
        "p { margin-top: 2pt; margin-bottom: 2pt; }\n"
        "p.heading { text-align: center; }\n"
        "p.equation { margin-left: 18pt; }\n"
        "p.note { margin-left: 18pt; color: #444444; }\n"
        "p.project { margin-top: 1pt; margin-bottom: 1pt; }\n"
        "p.signature { margin-top: 10pt; }\n"
        "span.keep { white-space: nowrap; }\n"
        // A heading stays with what follows it; a row is never cut in two.
        "h2, h3 { page-break-after: avoid; break-after: avoid; }\n"
        "table.grid { border-collapse: collapse; margin-top: 4pt; margin-bottom: 4pt; }\n"
        "table.grid thead { display: table-header-group; }\n"
        "table.grid tr { page-break-inside: avoid; break-inside: avoid; }\n"
        "table.grid th, table.grid td { border: 1px solid #666666; }\n"
        "</style>\n</head>\n<body>\n";
    out += "<h1>" + html(document.title) + "</h1>\n";
    for (const std::string& heading : document.heading) {
        out += "<p class=\"heading\">" + html(heading) + "</p>\n";
    }
    for (const auto& [label, value] : projectLines(document)) {
        out += "<p class=\"project\">" + std::string(label) + "：" + html(*value) + "</p>\n";
    }
    for (const Section& section : document.sections) {
        out += "<h2>" + html(section.title) + "</h2>\n";
        for (const Block& block : section.blocks) {
            htmlBlock(out, block);
        }
    }
    for (const Signature& signature : document.signatures) {
        out += "<p class=\"signature\">" + html(signatureLine(signature)) + "</p>\n";
    }
    out += "</body>\n</html>\n";
    return out;
}

} // namespace report
