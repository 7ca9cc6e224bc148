// The inline marks of a document's texts and the cleaning of what the user
// typed before it stands in one.
#include "report/report.h"

#include <array>
#include <cstdint>

namespace report {

namespace {

// Decodes one UTF-8 sequence at `i`; nothing for a malformed one (which then
// takes one byte).
struct Decoded {
    std::uint32_t code = 0;
    std::size_t length = 1;
    bool valid = false;
};

Decoded decode(std::string_view text, std::size_t i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {
        return {byte, 1, true};
    }
    std::size_t length = 0;
    std::uint32_t code = 0;
    std::uint32_t least = 0;
    if ((byte & 0xE0u) == 0xC0u) {
        length = 2;
        code = byte & 0x1Fu;
        least = 0x80;
    } else if ((byte & 0xF0u) == 0xE0u) {
        length = 3;
        code = byte & 0x0Fu;
        least = 0x800;
    } else if ((byte & 0xF8u) == 0xF0u) {
        length = 4;
        code = byte & 0x07u;
        least = 0x10000;
    } else {
        return {};
    }
    if (i + length > text.size()) {
        return {};
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0u) != 0x80u) {
            return {};
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        return {};
    }
    return {code, length, true};
}

// Characters that break a line, move the cursor or turn the direction of
// what follows: C0 and C1 controls, DEL, the line and paragraph separators
// and the bidirectional embeddings, overrides and isolates.
bool disruptive(std::uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || code == 0x2028 || code == 0x2029 ||
           (code >= 0x202A && code <= 0x202E) || (code >= 0x2066 && code <= 0x2069);
}

bool isMark(char c) {
    return c == kSubscriptOpen || c == kSubscriptClose || c == kKeepOpen || c == kKeepClose;
}

} // namespace

std::string sub(std::string_view text) {
    return kSubscriptOpen + std::string(text) + kSubscriptClose;
}

std::string keep(std::string_view text) {
    return kKeepOpen + std::string(text) + kKeepClose;
}

std::string symbol(std::string_view plain) {
    // Ratios and one-letter symbols carry no subscript.
    if (plain.empty() || plain.find('/') != std::string_view::npos) {
        return std::string(plain);
    }
    const Decoded first = decode(plain, 0);
    if (first.length >= plain.size()) {
        return std::string(plain);
    }
    return std::string(plain.substr(0, first.length)) + sub(plain.substr(first.length));
}

std::string unit(std::string_view unit) {
    return unit.empty() ? std::string() : keep(" " + std::string(unit));
}

std::string userText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const Decoded d = decode(text, i);
        if (!d.valid) {
            out += "\xEF\xBF\xBD";
            i += 1;
            continue;
        }
        if (disruptive(d.code)) {
            out += ' ';
        } else {
            out.append(text.substr(i, d.length));
        }
        i += d.length;
    }
    return out;
}

std::string plain(std::string_view marked) {
    std::string out;
    out.reserve(marked.size());
    for (const char c : marked) {
        if (!isMark(c)) {
            out += c;
        }
    }
    return out;
}

std::vector<Signature> standardSignatures() {
    return {{"计算"}, {"校核"}, {"审核"}};
}

Document reportFrame(std::string_view basis, const Options& options) {
    Document document;
    document.title = "普通混凝土配合比设计计算书";
    document.heading.push_back("设计依据：" + std::string(basis));
    document.heading.push_back("计算日期：" + options.date);
    document.heading.push_back("计算程序：" + options.program + " " + options.version);
    if (!options.designFile.empty()) {
        document.heading.push_back("设计文件：" + userText(options.designFile));
    }
    document.project = {userText(options.project.name), userText(options.project.part),
                        userText(options.project.client)};
    document.signatures = standardSignatures();
    return document;
}

namespace {

bool wordCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// The symbol of `symbols` (longest first) that stands at `at` as a word of
// its own; empty when none does.
std::string_view symbolAt(std::string_view text, std::size_t at,
                          std::span<const std::string_view> symbols) {
    if (at > 0 && wordCharacter(text[at - 1])) {
        return {};
    }
    std::string_view found;
    for (const std::string_view s : symbols) {
        if (s.size() > found.size() && text.substr(at, s.size()) == s) {
            const std::size_t end = at + s.size();
            const bool primed = text.substr(end).starts_with("′");
            if (end == text.size() || (!wordCharacter(text[end]) && !primed)) {
                found = s;
            }
        }
    }
    return found;
}

std::string marked(std::string_view text, std::span<const std::string_view> symbols) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size();) {
        // What is marked already stays as it is.
        if (text[i] == kSubscriptOpen) {
            const std::size_t close = text.find(kSubscriptClose, i);
            const std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
            out.append(text.substr(i, end - i));
            i = end;
            continue;
        }
        const std::string_view s = symbolAt(text, i, symbols);
        if (s.empty()) {
            out += text[i];
            ++i;
            continue;
        }
        out += symbol(s);
        i += s.size();
    }
    return out;
}

void markAll(std::vector<std::string>& texts, std::span<const std::string_view> symbols) {
    for (std::string& text : texts) {
        text = marked(text, symbols);
    }
}

} // namespace

void markSymbols(Document& document, std::span<const std::string_view> symbols) {
    for (Section& section : document.sections) {
        for (Block& block : section.blocks) {
            if (auto* p = std::get_if<Paragraph>(&block)) {
                p->text = marked(p->text, symbols);
            } else if (auto* step = std::get_if<Step>(&block)) {
                markAll(step->equations, symbols);
                markAll(step->notes, symbols);
            } else if (auto* table = std::get_if<Table>(&block)) {
                markAll(table->header, symbols);
                for (std::vector<std::string>& row : table->rows) {
                    markAll(row, symbols);
                }
            } else if (auto* list = std::get_if<List>(&block)) {
                markAll(list->items, symbols);
            }
        }
    }
}

} // namespace report
