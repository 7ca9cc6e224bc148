#include "gbt50107/cells.h"

#include "calc/conversions.h"

#include <algorithm>
#include <optional>

namespace gbt50107 {

namespace {

// Blanks around a cell: ASCII spaces and tabs, the no-break space and the
// ideographic space that a Chinese input method types.
std::string_view trimmed(std::string_view text) {
    static constexpr std::string_view kNoBreak = "\xC2\xA0";
    static constexpr std::string_view kIdeographic = "\xE3\x80\x80";
    bool changed = true;
    while (changed && !text.empty()) {
        changed = false;
        for (const std::string_view blank :
             {std::string_view(" "), std::string_view("\t"), std::string_view("\r"),
              std::string_view("\n"), kNoBreak, kIdeographic}) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                changed = true;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                changed = true;
            }
        }
    }
    return text;
}

// A cell's number; nothing for an empty cell; a fault for any other text.
struct CellReading {
    bool typed = false;
    std::optional<double> value;
};

CellReading readCell(std::string_view text, const Place& place, const calc::NumberFormat& format,
                     std::vector<InputFault>& faults) {
    const std::string_view cell = trimmed(text);
    if (cell.empty()) {
        return {};
    }
    if (calc::parseStrict(cell, format).status != calc::StrictStatus::Ok) {
        faults.push_back({place, faultMessage(place, "不是一个数：" + std::string(cell))});
        return {true, std::nullopt};
    }
    // Checked whole by the strict reading, read at its full double value.
    return {true, calc::readLenient(cell, format)};
}

std::string groupName(std::size_t row) {
    return "第 " + std::to_string(row + 1) + " 组";
}

bool blankRow(const GroupRow& row) {
    return std::all_of(row.specimens.begin(), row.specimens.end(),
                       [](const std::string& s) { return trimmed(s).empty(); }) &&
           trimmed(row.value).empty();
}

// One row: its group, and the faults of its cells.
Group readRow(const GroupRow& row, std::size_t index, const calc::NumberFormat& format,
              std::vector<InputFault>& faults) {
    const int at = static_cast<int>(index);
    const std::string name = groupName(index);
    Group group;
    int typed = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        const CellReading cell =
            readCell(row.specimens[k], {Entry::Groups, at, static_cast<int>(k)}, format, faults);
        typed += cell.typed ? 1 : 0;
        group.specimens[k] = cell.value;
    }
    const CellReading value = readCell(row.value, {Entry::Groups, at, kValueCell}, format, faults);
    if (typed == 0) {
        group.value = value.value;
        return group;
    }
    if (value.value) {
        faults.push_back({{Entry::Groups, at, kValueCell},
                          name + "已有试件强度，不能另填代表值：代表值由试件强度算出"});
    }
    for (std::size_t k = 0; k < 3 && typed < 3; ++k) {
        if (trimmed(row.specimens[k]).empty()) {
            faults.push_back({{Entry::Groups, at, static_cast<int>(k)},
                              name + "只有 " + std::to_string(typed) + " 个试件强度，缺试件 " +
                                  std::to_string(k + 1)});
        }
    }
    return group;
}

// Splits one line at `separator`, keeping separators inside double quotes.
std::vector<std::string> splitLine(std::string_view line, char separator) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (const char c : line) {
        if (c == '"') {
            quoted = !quoted;
            cells.back() += c;
        } else if (c == separator && !quoted) {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

std::vector<std::string> splitAtSpaces(std::string_view line) {
    std::vector<std::string> cells;
    std::string cell;
    for (const char c : line) {
        if (c == ' ') {
            if (!cell.empty()) {
                cells.push_back(std::move(cell));
                cell.clear();
            }
        } else {
            cell += c;
        }
    }
    if (!cell.empty() || cells.empty()) {
        cells.push_back(std::move(cell));
    }
    return cells;
}

// A cell freed of its blanks and of the double quotes around it ("" inside
// stands for one ").
std::string unquoted(std::string_view raw) {
    const std::string_view cell = trimmed(raw);
    if (cell.size() < 2 || cell.front() != '"' || cell.back() != '"') {
        return std::string(cell);
    }
    std::string out;
    const std::string_view inside = cell.substr(1, cell.size() - 2);
    for (std::size_t i = 0; i < inside.size(); ++i) {
        out += inside[i];
        if (inside[i] == '"' && i + 1 < inside.size() && inside[i + 1] == '"') {
            ++i;
        }
    }
    return std::string(trimmed(out));
}

} // namespace

GroupCells readGroupRows(std::span<const GroupRow> rows, const calc::NumberFormat& format) {
    std::size_t end = rows.size();
    while (end > 0 && blankRow(rows[end - 1])) {
        --end;
    }
    GroupCells out;
    for (std::size_t i = 0; i < end; ++i) {
        if (blankRow(rows[i])) {
            out.faults.push_back({{Entry::Groups, static_cast<int>(i), -1},
                                  groupName(i) + "是空行：请填写强度，或删去这一行"});
            out.groups.emplace_back();
            continue;
        }
        out.groups.push_back(readRow(rows[i], i, format, out.faults));
    }
    return out;
}

ValueCells readPreviousCells(std::span<const std::string> cells, const calc::NumberFormat& format) {
    std::size_t end = cells.size();
    while (end > 0 && trimmed(cells[end - 1]).empty()) {
        --end;
    }
    ValueCells out;
    for (std::size_t i = 0; i < end; ++i) {
        const Place place{Entry::Previous, static_cast<int>(i)};
        const CellReading cell = readCell(cells[i], place, format, out.faults);
        if (!cell.typed) {
            out.faults.push_back({place, faultMessage(place, "是空的：请填写，或删去")});
        }
        out.values.push_back(cell.value.value_or(0.0));
    }
    return out;
}

std::vector<std::vector<std::string>> splitCells(std::string_view text,
                                                 const calc::NumberFormat& format) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '\n' || text[i] == '\r') {
            lines.push_back(text.substr(start, i - start));
            if (i + 1 < text.size() && text[i] == '\r' && text[i + 1] == '\n') {
                ++i;
            }
            start = i + 1;
        }
    }
    while (!lines.empty() && trimmed(lines.back()).empty()) {
        lines.pop_back();
    }
    char separator = ' ';
    if (text.find('\t') != std::string_view::npos) {
        separator = '\t';
    } else if (text.find(';') != std::string_view::npos) {
        separator = ';';
    } else if (text.find(',') != std::string_view::npos && format.decimal != ",") {
        separator = ',';
    }
    std::vector<std::vector<std::string>> rows;
    for (const std::string_view line : lines) {
        std::vector<std::string> cells =
            separator == ' ' ? splitAtSpaces(line) : splitLine(line, separator);
        for (std::string& cell : cells) {
            cell = unquoted(cell);
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

} // namespace gbt50107
