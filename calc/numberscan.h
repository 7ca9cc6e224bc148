// The syntax of a number in the user's regional format, taken apart once for
// everyone who needs its pieces: the readers of calc/conversions.h, a design
// file's numbers written again for another format, and the report's trial
// masses, which are computed from the digits themselves.
#pragma once

#include "calc/numberformat.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace calc {

// A text that is as a whole one number, cut at its joints. Every view points
// into the scanned text; `groupSymbol` into the format's grouping symbol.
struct NumberParts {
    enum class Sign { None, Plus, Minus };

    std::string_view lead;    // blanks before the number
    Sign sign = Sign::None;   // "+", or "-" / the regional negative sign
    std::string_view integer; // the integer part as written, grouping symbols included
    bool grouped = false;     // whether a grouping symbol stands in it
    bool point = false;       // whether the decimal symbol was written
    std::string_view fraction;
    std::string_view exponent;       // "E+07" as written, or empty
    bool exponentNegative = false;   // the sign of the exponent
    std::string_view exponentDigits; // the digits of the exponent
    std::string_view trail;          // blanks after the number
    std::string_view groupSymbol;

    bool negative() const { return sign == Sign::Minus; }
    // A grouping symbol only ever follows a digit, so an integer part as
    // written holds a digit when it holds anything.
    bool hasDigits() const { return !integer.empty() || !fraction.empty(); }
    // Calls f(c) for each digit of the integer part, most significant first.
    template <typename F> void forEachIntegerDigit(F&& f) const {
        std::string_view rest = integer;
        while (!rest.empty()) {
            if (rest.front() >= '0' && rest.front() <= '9') {
                f(rest.front());
                rest.remove_prefix(1);
            } else {
                rest.remove_prefix(groupSymbol.size());
            }
        }
    }
    // The digits of the integer part, grouping symbols dropped.
    std::string integerDigits() const;
};

// Takes apart the text if it is, as a whole, one number in the regional
// format: blanks (U+0020) around it, an optional sign, digits with grouping
// symbols only between whole groups of the integer part ("1,234,567", not
// "0,36", "12,34" or "1,2,3"), an optional decimal symbol with digits, an
// optional exponent ("E", a sign, at least one digit). Nothing for any other
// text.
std::optional<NumberParts> scanNumber(std::string_view text, const NumberFormat& format);

} // namespace calc
