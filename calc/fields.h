// What each field of the design sheet is, in the words of a concrete
// designer: one row per field, read by every place that names a field to the
// user (the window's tooltips, the report of a stopped calculation, the
// design file and the calculation report).
//
//     const calc::FieldInfo& w = calc::fieldInfo(calc::Text8);
//     // w.caption "水灰比", w.symbol "W/C", w.range "0.30～0.65",
//     // w.role FieldRole::ComputedIfEmpty
//
// Texts are UTF-8 and fixed for the life of the program.
#pragma once

#include "calc/sheet.h"

#include <span>
#include <string_view>

namespace calc {

// What a calculation does with a field.
enum class FieldRole {
    // Read by the calculation, never written: design data.
    Input,
    // A base value (fcu,0, W/C, C/W, mc0): computed and written only when the
    // field is empty; a filled field is taken as the user's value.
    ComputedIfEmpty,
    // Written by the sand-and-stone stages and the moisture correction.
    Result,
    // Shown, reset and editable, but read by no calculation: it changes no
    // result.
    RecordedOnly,
};

struct FieldInfo {
    // The field's name on the sheet: "Text8", "option1", "卵石".
    std::string_view name;
    // How the user knows the field: the caption of its label without the
    // closing colon ("混凝土强度等级(Fcu,k)"), a choice's own caption
    // ("体积法"), or, for the unlabelled result rows, what it holds
    // ("配合比中的砂").
    std::string_view caption;
    // The symbol of the design rules, or empty: "fcu,k", "σ", "W/C", "mw0".
    std::string_view symbol;
    // The unit of the value, or empty for a plain fraction or a choice:
    // "MPa", "kg/m³", "g/cm³", "%".
    std::string_view unit;
    // The values a design usually takes, as "low～high" in the unit above
    // ("15～60", "0.26～0.44"), or one value ("1"); empty for the results, the
    // choices and the entries no usual value fits. Shown to the user as a
    // guide: the calculation accepts any value and checks none against it.
    std::string_view range;
    FieldRole role;
    // What the field holds, as a sentence fragment for a tooltip or a report:
    // "水泥强度富余系数（fce = γc · fce,g）".
    std::string_view meaning;
};

// The row of a text field, an option button or a check box.
const FieldInfo& fieldInfo(TextField field);
const FieldInfo& fieldInfo(Option option);
const FieldInfo& fieldInfo(Check check);

// Every field of the sheet: Text1..Text33, then option1, option2, 细砂, 粗砂,
// then 卵石, 碎石.
std::span<const FieldInfo> sheetFields();

// The row of the field with this name ("Text8", "细砂"), or nullptr.
const FieldInfo* findField(std::string_view name);

// "input", "computed-if-empty", "result", "recorded-only": stable names for
// files and tools.
std::string_view roleName(FieldRole role);

} // namespace calc
