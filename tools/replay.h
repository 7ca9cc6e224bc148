// replay: runs whole calculations given as JSON Lines and writes one JSON
// line of results per case, so that golden cases can be kept as data and held
// against any other implementation of the calculation.
//
// Input line (every key optional; unknown keys are ignored):
//   {"id": ..., "fields": {"Text1": "20", ...}, "option1": true, "option2": false,
//    "format": {"decimal": ".", "group": ",", "groupSize": 3, "negative": "-"}}
// A "format" names what differs from the usual one; what it names is read by
// the design file's rule (design::readFormat: a group size from 0 to 9).
// Each case starts from a fresh sheet as the window creates it, runs the
// reset (under the given format), sets the given texts, then the given options
// exactly as given (both clear is allowed), then calculates; "presses": N
// (1 to 100, default 1) calculates N times on the same sheet and reports the
// last.
//
// A line with "lanshi-design" is a design file (design/designfile.h) and is
// read as the program opens one: strictly, each option group with exactly one
// member selected, missing fields and groups from the start state, under the
// format the design names. "presses" and "id" apply to it as to any case.
//
// Output line:
//   {"id": ..., "fields": {"Text1": ..., ..., "Text33": ...}, "notices": [...],
//    "stop": null | {"stage": "第二步", "field": "Text5" | null, "reason": "not-a-number"}}
// A line that is not a valid case gets {"error": "..."} and the next line is read.
#pragma once

#include <string>

namespace replay {

// The output line for one input line: the results of the case, or
// {"error": "..."} when the line is not a valid case. Never throws for bad
// input of any kind (invalid JSON or UTF-8, unknown fields, huge texts).
std::string replayLine(const std::string& line);

} // namespace replay
