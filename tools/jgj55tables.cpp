#include "tools/jgj55tables.h"

#include "jgj55/tables.h"

namespace jgj55tables {

namespace {

std::string row(const std::vector<std::string>& cells) {
    std::string line = "|";
    for (const std::string& cell : cells) {
        line += " " + cell + " |";
    }
    return line + "\n";
}

} // namespace

std::string markdownTables() {
    std::string out;
    for (const jgj55::PrintedTable& table : jgj55::printedTables()) {
        out += "**" + table.title + "**\n\n";
        out += row(table.header);
        out += row(std::vector<std::string>(table.header.size(), "---"));
        for (const std::vector<std::string>& cells : table.rows) {
            out += row(cells);
        }
        out += "\n";
    }
    return out;
}

} // namespace jgj55tables
