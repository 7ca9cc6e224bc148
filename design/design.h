// A design: everything the user typed and chose on the sheet, as a value that
// outlives the window.
//
//     design::Design d = design::capture(form.sheet());   // what the window shows
//     design::apply(d, memorySheet);                       // the same sheet elsewhere
//
// A design holds the 33 texts verbatim, the four option buttons and the two
// check boxes, and the regional number format its texts are written in.
// Saving and opening it as a file is designfile.h's concern.
#pragma once

#include "calc/numberformat.h"
#include "calc/sheet.h"

#include <array>
#include <map>
#include <string>

#include <nlohmann/json.hpp>

namespace design {

struct Design {
    calc::NumberFormat format;
    std::array<std::string, calc::kTextFieldCount> texts; // Text1 .. Text33
    std::array<bool, calc::kOptionCount> options{};       // option1, option2, 细砂, 粗砂
    std::array<bool, calc::kCheckCount> checks{};         // 卵石, 碎石
    // Keys of the file beyond the sheet, by name: whatever a file carried that
    // this program does not read itself, and whatever a later feature adds
    // (written after the sheet's keys, in the order of their names). Never a
    // key of the sheet itself.
    std::map<std::string, nlohmann::json> extras;

    const std::string& text(calc::TextField field) const { return texts[field - 1]; }
    std::string& text(calc::TextField field) { return texts[field - 1]; }
    bool selected(calc::Option option) const { return options[static_cast<int>(option)]; }
    bool checked(calc::Check check) const { return checks[static_cast<int>(check)]; }

    friend bool operator==(const Design&, const Design&) = default;
};

// The sheet as it stands, in the sheet's number format, with no extras.
Design capture(const calc::Sheet& sheet);

// The sheet as the window shows it right after start-up under `format`: the
// layout's start state, then the reset. What a design file leaves out is
// taken from here.
Design startDesign(const calc::NumberFormat& format);

// Puts every text, option and check of the design on the sheet. The design
// must hold exactly one selected member in each option group; texts are set
// as they stand, whatever the sheet's format (open a file with
// design::open to have its numbers written in the sheet's format).
void apply(const Design& design, calc::Sheet& sheet);

// Whether the two designs put the same texts, options and checks on a sheet
// (format and extras aside): what "changed since it was opened" compares.
bool sameSheet(const Design& a, const Design& b);

} // namespace design
