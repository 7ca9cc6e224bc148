// fieldtable: the design sheet's fields as the user's guide shows them, one
// Markdown table made from the program's own field table (calc/fields.h), so
// that the guide never retypes a caption, a unit or a usual range.
//
//     build/tools/fieldtable > fields.md
//
// One row per text field, in the order of the window's frames, with the
// columns 栏目, 符号, 单位, 常用范围, 作用, 含义.
#pragma once

#include "calc/fields.h"
#include "calc/sheet.h"

#include <span>
#include <string>
#include <string_view>

namespace fieldtable {

// The text fields in the order a user meets them on the window: frame by
// frame, from the design strength to the mix-proportion rows.
std::span<const calc::TextField> windowOrder();

// How the guide names a role: 输入, 空则计算, 结果, 仅作记录.
std::string_view roleCaption(calc::FieldRole role);

// The whole table, header and rows, each line ending in "\n".
std::string markdownTable();

} // namespace fieldtable
