#include "jgj55/rounding.h"

#include "calc/decimal.h"

#include <algorithm>
#include <cmath>

namespace jgj55 {

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a figure and its places, as std::round's
double roundHalfUp(double value, int decimals) {
    if (!std::isfinite(value) || value == 0.0) {
        return value;
    }
    const calc::decimal::Digits d = calc::decimal::shortest(value);
    if (d.exponent >= -decimals) {
        return value; // already at or within the precision
    }
    return calc::decimal::toDouble(calc::decimal::roundedAt(d, -decimals));
}

std::string shortestDecimal(double value) {
    if (!std::isfinite(value)) {
        return "?";
    }
    const calc::decimal::Digits d = calc::decimal::shortest(value);
    if (d.zero()) {
        return "0";
    }
    // Plain notation, as to_chars with std::chars_format::fixed and no
    // precision writes the shortest digits: "38.2", "0.53", "2400".
    return (d.negative ? "-" : "") + calc::decimal::plainLayout(d, ".");
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a figure and its places, as roundHalfUp
std::string fixedDecimal(double value, int places) {
    if (!std::isfinite(value)) {
        return "?";
    }
    const calc::decimal::Digits d = calc::decimal::shortest(value);
    const int shown = std::max(places, -d.exponent);
    const std::string all = calc::decimal::digitsDownTo(d, -shown);
    const std::size_t whole = all.size() - static_cast<std::size_t>(shown);
    std::string out = d.negative && !d.zero() ? "-" : "";
    out.append(all, 0, whole);
    if (shown > 0) {
        out += '.';
        out.append(all, whole);
    }
    return out;
}

} // namespace jgj55
