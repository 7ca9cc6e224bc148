// The four conversions between the text of a field and a number, under the
// user's regional number settings.
//
// Every stage reads fields with parseStrict or with a lenient reading, and
// writes results with formatFixed2 or formatSingle. The numeric core is
// std::from_chars / std::to_chars; the regional syntax is taken apart by
// calc/numberscan.h, and written in calc/numberwriting.cpp, and nowhere else;
// the digits, their rounding and their layout are the decimal layer's
// (calc/decimal.h), which the report and the JGJ 55-2011 design share.
#pragma once

#include "calc/numberformat.h"

#include <string>
#include <string_view>

namespace calc {

// Reads the longest leading part of the text that forms a decimal number, after
// removing every blank, tab and line feed wherever it stands. Only "." is a
// decimal point; any other character ends the number. Returns 0 when no digit
// was read, and ±infinity for a value beyond the double range. Never fails.
double parseLenient(std::string_view text);

enum class StrictStatus { Ok, NotANumber, OutOfRange };

struct StrictValue {
    StrictStatus status = StrictStatus::NotANumber;
    float value = 0.0f; // the nearest single; meaningful only when status is Ok
};

// Accepts only a text that is as a whole one number in the regional format:
// blanks (U+0020) around it, an optional sign, digits with grouping symbols
// only between whole groups of the integer part, an optional regional decimal
// symbol with digits, an optional exponent. Returns the nearest single, or
// NotANumber, or OutOfRange when the magnitude read in double precision
// exceeds the largest single.
StrictValue parseStrict(std::string_view text, const NumberFormat& format);

// The lenient reading that the stages use: a text that is as a whole a number
// in the regional format is read at its full value, in double precision (so a
// cement content of "1,234.57", or "0,52" under a decimal comma, is not cut at
// its first symbol); any other text is read by parseLenient.
double readLenient(std::string_view text, const NumberFormat& format);

// Writes the exact binary value rounded to two decimals (ties away from zero),
// with the regional decimal symbol, grouping and negative sign. A value that
// rounds to zero carries no sign. A single is widened exactly before the call.
std::string formatFixed2(double value, const NumberFormat& format);

// Writes a single rounded to at most 7 significant digits (ties away from
// zero), trailing fraction zeros dropped, with the regional decimal symbol and
// no grouping; a leading "-" when negative. Magnitudes of 1E+07 and more, and
// below 1E-04 (zero aside), take the exponent form 1.234568E+07.
std::string formatSingle(float value, const NumberFormat& format);

// Appends a run of integer digits with the regional grouping symbol between
// whole groups counted from the right ("1234567" → "1,234,567"), or as they
// stand where the format groups nothing. The one place that groups digits:
// formatFixed2, and a design file re-spelled into the current format.
void appendGrouped(std::string& out, std::string_view digits, const NumberFormat& format);

} // namespace calc
