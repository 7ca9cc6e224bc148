// The figures of a finished JGJ 55-2011 design as one JSON object, for
// `lanshi --report DESIGN -o NAME.json` and for scripts that check a design:
//
//     {"fcu0": 38.2, "sigma": 5, ..., "stone": 1089, "notes": [...], "warnings": [...]}
//
// Numbers are plain JSON numbers (whole ones without a fraction); notes and
// warnings are sentences with their figures written with ".".
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
