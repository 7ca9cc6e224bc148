// Half-up rounding of a figure that is a decimal already, on its decimal
// value, and its plain text.
//
// A double that holds an input as written or a figure the design rounded
// stands for its shortest round-trip decimal (what std::to_chars writes
// without a precision): 0.925 is the decimal 0.925 and not the binary number
// just below it, so a figure the engineer would round up by hand is rounded
// up here too. The design's own steps never round a double computed in
// binary: they round the exact value of their formula (calc/decimal.h,
// Exact), so that 237.5 × 0.68 = 161.5 is seen as the tie it is. Both go
// through the decimal layer of calc/decimal.h.
#pragma once

#include <string>

namespace jgj55 {

// `value` rounded half up (ties away from zero) to `decimals` places (0 for
// whole kilograms, 2 for hundredths, at most 6), as the double nearest the
// rounded decimal. A value that is not finite is returned unchanged.
double roundHalfUp(double value, int decimals);

// The shortest round-trip decimal of a finite double in plain notation, with
// "." as the decimal point ("38.2", "0.53", "2400"); "?" when not finite.
std::string shortestDecimal(double value);

// `value` as its shortest decimal with at least `places` decimals (0 to 6),
// zeros added and no digit cut, "." as the decimal point: 0.5 at 2 is
// "0.50", 37 at 1 is "37.0", 4.25 at 1 stays "4.25"; "?" when not finite.
// A figure of a stated precision is written at that precision.
std::string fixedDecimal(double value, int places);

} // namespace jgj55
