// Half-up rounding of a design figure on its decimal value.
//
// The decimal value of a double is taken to be its shortest round-trip
// decimal (what std::to_chars writes without a precision): 38.225, computed
// as 30 + 1.645 × 5, is the decimal 38.225 and not the binary number just
// below it, so a figure the engineer would round up by hand is rounded up
// here too.
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

} // namespace jgj55
