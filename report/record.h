// The last calculation, kept beside the sheet so that its report can be made
// later: the trace and what the sheet held when the calculation ended.
//
// The report is only true to the sheet while every field the calculation
// read or wrote still holds what the calculation left; the entries that no
// calculation reads (塌落度, 砂密度, 卵石, ...) are shown as they stand when
// the report is made and may change freely in between.
#pragma once

#include "calc/sheet.h"
#include "calc/trace.h"

#include <array>
#include <string>

namespace report {

struct SheetState {
    std::array<std::string, calc::kTextFieldCount> texts;
    std::array<bool, calc::kOptionCount> options{};
    std::array<bool, calc::kCheckCount> checks{};

    static SheetState of(const calc::Sheet& sheet);
    friend bool operator==(const SheetState&, const SheetState&) = default;
};

// Whether no calculation reads the field (its text is kept for the record).
bool recordedOnly(calc::TextField field);

struct LastCalculation {
    calc::Trace trace;
    SheetState after;

    // Whether the sheet still holds what the calculation left in every field
    // and method option that a calculation reads or writes.
    bool stillHolds(const calc::Sheet& sheet) const;

    friend bool operator==(const LastCalculation&, const LastCalculation&) = default;
};

} // namespace report
