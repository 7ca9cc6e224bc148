// The one action that computes a mix design from the sheet.
//
//     calc::MemorySheet sheet;
//     calc::qk(sheet);
//     const calc::Outcome outcome = calc::calculate(sheet);
//     if (outcome.stop) { /* report *outcome.stop */ }
#pragma once

#include "calc/sheet.h"
#include "calc/stop.h"

#include <optional>

namespace calc {

struct Outcome {
    // Empty when the calculation ran to its end; otherwise where and why it
    // stopped. The fields written before the stop keep their new text.
    std::optional<Stop> stop;

    bool completed() const { return !stop.has_value(); }
};

// Runs the base stages for the empty fields among Text2, Text8, Text10 and
// Text4, then the selected method (option1 volume, option2 mass), then the
// moisture adjustment when both Text21 and Text24 hold text. Never throws a
// CalculationStopped: a stop is returned instead.
Outcome calculate(Sheet& sheet);

} // namespace calc
