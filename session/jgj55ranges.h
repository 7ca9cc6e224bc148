// Where the value of each input of a JGJ 55-2011 design usually lies, as
// data beside the form's fields. A value outside is not refused: the form
// marks its field with the range and, where the slip is plain (a fraction
// typed in a percent field, a density in g/cm³), the value meant.
//
//     session::implausible("sandRatio", "砂率 βs", "%", 0.4, format);
//     // "砂率 0.4 % 不在常用范围 20–50 %，是否应为 40？"
//
// The ranges are this program's own choice, wide enough for every usual
// mix; they are no limits of the standard.
#pragma once

#include "calc/numberformat.h"

#include <span>
#include <string>
#include <string_view>

namespace session {

// A range in the units the field is typed in (a percentage for a fraction of
// the binder), both ends included.
struct PlausibleRange {
    std::string_view key; // the design file's key: "sandRatio"
    double low = 0.0;
    double high = 0.0;
};

// Every input's range, in the order of the form's groups.
std::span<const PlausibleRange> plausibleRanges();
// The range of `key`; nullptr for an input without one (a choice).
const PlausibleRange* plausibleRange(std::string_view key);

// What the form says of `typed` in the field `key` (caption and unit as the
// form shows them): empty within the range or for a key without one; else
// the field's name, the value, the range and the likely value meant.
std::string implausible(std::string_view key, std::string_view caption, std::string_view unit,
                        double typed, const calc::NumberFormat& format);

} // namespace session
