// The evaluation's tables as the user types or pastes them: the texts of the
// cells read in the regional number format, each cell that holds no number
// named with its reason, and a spreadsheet's copied cells split into rows.
//
//     const gbt50107::Cells cells = gbt50107::readGroupRows(rows, format);
//     input.groups = cells.groups;
//     const gbt50107::Outcome out = gbt50107::evaluate(input, cells.faults);
//
// The rows keep their places: group k of the result is row k of the table,
// so that every fault names the cell the user sees. Empty rows at the end of
// the table are no groups; an empty row between two groups is a fault.
#pragma once

#include "calc/numberformat.h"
#include "gbt50107/evaluation.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace gbt50107 {

// A row of the table of groups as typed: the three specimen cells and the
// cell of the group value (what the user typed there, never the value the
// program shows for three specimens).
struct GroupRow {
    std::array<std::string, 3> specimens;
    std::string value;
};

struct GroupCells {
    std::vector<Group> groups; // a cell that holds no number is left empty
    std::vector<InputFault> faults;
};

// The groups of the rows, each cell read as a whole number in `format`. A
// cell that is no number is a fault ("第 2 组试件 3 不是一个数：3a.1"), and
// so is a row with one or two specimens, or with specimens and a group
// value; the rest (a strength not above zero, …) is evaluate's.
GroupCells readGroupRows(std::span<const GroupRow> rows, const calc::NumberFormat& format);

struct ValueCells {
    std::vector<double> values;
    std::vector<InputFault> faults; // at Entry::Previous
};

// The previous period's group values, one cell each, read as readGroupRows
// reads a cell; empty cells at the end are none.
ValueCells readPreviousCells(std::span<const std::string> cells, const calc::NumberFormat& format);

// Text copied from a spreadsheet or a CSV file, split into rows (at line
// breaks) and cells: at tabs when the text has any; otherwise at semicolons
// when it has any; otherwise at commas unless the comma is the decimal
// symbol of `format`; otherwise at runs of spaces. Each cell is trimmed and
// freed of the double quotes around it; empty lines at the end are dropped.
std::vector<std::vector<std::string>> splitCells(std::string_view text,
                                                 const calc::NumberFormat& format);

} // namespace gbt50107
