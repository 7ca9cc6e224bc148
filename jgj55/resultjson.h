// The figures of a finished JGJ 55-2011 design as one JSON object, for
// `lanshi --report DESIGN -o NAME.json` and for scripts that check a design:
//
//     {"fcu0": 38.2, "sigma": 5, ..., "stone": 1089, "notes": [...], "warnings": [...],
//      "checks": [...]}
//
// Numbers are plain JSON numbers (whole ones without a fraction); a figure
// the design did not compute (the formula's W/B, αa and αb from C60 on) is
// null. Notes, warnings and the checks met are sentences with their figures
// written with ".".
#pragma once

#include "jgj55/design.h"
#include "jgj55/trials.h"

#include <string>

namespace jgj55 {

// Two-space indented, with a final line feed; the keys in the design's order.
// With the laboratory's trials, their figures follow under "trial"
// (jgj55::trialJson).
std::string resultJson(const Result& result, const TrialResult* trial = nullptr);

} // namespace jgj55
