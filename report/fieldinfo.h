// How the report names each field of the design sheet: its caption, its
// symbol in the design formulas and its unit.
#pragma once

#include "calc/sheet.h"

#include <string_view>

namespace report {

struct FieldInfo {
    std::string_view caption;  // as a designer names the entry
    std::string_view symbol;   // in the formulas: "fcu,k", "W/C", "ρc"; empty when none
    std::string_view unit;     // "MPa", "kg/m³"; empty for a plain number
    bool recordedOnly = false; // shown and kept, but read by no calculation
};

FieldInfo fieldInfo(calc::TextField field);

} // namespace report
