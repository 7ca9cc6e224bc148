#include "report/numbers.h"

#include "calc/conversions.h"
#include "calc/decimal.h"
#include "calc/numberscan.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace report {

namespace {

using calc::decimal::Digits;
using calc::decimal::Exact;

// Replaces the "." of an ASCII number by the regional decimal symbol.
std::string regionalDecimal(std::string_view ascii, const calc::NumberFormat& format) {
    std::string out;
    for (const char c : ascii) {
        if (c == '.') {
            out += format.decimal;
        } else {
            out += c;
        }
    }
    return out;
}

// The exact decimal value of a text taken apart by calc::scanNumber; nothing
// when its exponent is beyond any figure of the report.
std::optional<Digits> digitsOf(const calc::NumberParts& parts) {
    Digits d;
    d.negative = parts.negative();
    d.digits = parts.integerDigits();
    d.digits += parts.fraction;
    d.exponent = -static_cast<int>(parts.fraction.size());
    if (!parts.exponent.empty()) {
        int exponent = 0;
        const std::string_view e = parts.exponentDigits;
        const auto [end, ec] = std::from_chars(e.data(), e.data() + e.size(), exponent);
        if (ec != std::errc{} || end != e.data() + e.size() || exponent > 400) {
            return std::nullopt;
        }
        d.exponent += parts.exponentNegative ? -exponent : exponent;
    }
    d.digits.erase(0, d.digits.find_first_not_of('0'));
    return d;
}

// A text of the sheet that is a number as a whole, as its exact decimal
// value; nothing for any other text.
std::optional<Digits> valueOf(std::string_view text, const calc::NumberFormat& format) {
    if (calc::parseStrict(text, format).status != calc::StrictStatus::Ok) {
        return std::nullopt;
    }
    const std::optional<calc::NumberParts> parts = calc::scanNumber(text, format);
    return parts ? digitsOf(*parts) : std::nullopt;
}

// "-" (the regional negative sign) when negative and not zero, then the
// digits with `places` of them after the regional decimal symbol; the whole
// part grouped when `grouped`.
std::string written(const Digits& d, int places, bool grouped, const calc::NumberFormat& format) {
    std::string out = d.negative && !d.zero() ? format.negative : std::string();
    const std::string all = calc::decimal::digitsDownTo(d, -places);
    const std::string_view whole =
        std::string_view(all).substr(0, all.size() - static_cast<std::size_t>(places));
    if (grouped) {
        calc::appendGrouped(out, whole, format);
    } else {
        out += whole;
    }
    if (places > 0) {
        out += format.decimal;
        out.append(all, whole.size());
    }
    return out;
}

} // namespace

std::string figure(double value, const calc::NumberFormat& format) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? "0" : "?";
    }
    // Every digit of the binary value, so that the seventh is rounded on the
    // decimal value itself, half away from zero as the window rounds, never
    // to the nearest even.
    const Digits seven = calc::decimal::roundedToSignificant(calc::decimal::exact(value), 7);
    return calc::decimal::generalLayout(seven, format.decimal);
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a figure and its places
std::string fixed(double value, int places, const calc::NumberFormat& format) {
    if (!std::isfinite(value)) {
        return "?";
    }
    const Digits d = calc::decimal::shortest(value);
    return written(d, std::max(places, -d.exponent), false, format);
}

std::string constant(std::string_view ascii, const calc::NumberFormat& format) {
    return regionalDecimal(ascii, format);
}

std::string ratio(double part, double whole, const calc::NumberFormat& format) {
    if (whole == 0.0 || !std::isfinite(part) || !std::isfinite(whole)) {
        return calc::formatFixed2(part / whole, format);
    }
    return written((Exact::of(part) / Exact::of(whole)).roundedAt(-2), 2, true, format);
}

std::optional<std::string> trialMass(std::string_view mass, double litres,
                                     const calc::NumberFormat& format) {
    if (!(litres > 0.0) || !std::isfinite(litres)) {
        return std::nullopt;
    }
    const std::optional<Digits> m = valueOf(mass, format);
    if (!m) {
        return std::nullopt;
    }
    // mass × litres / 1000, the volume as written (its shortest decimal),
    // every digit kept; then half up to the gram.
    const Exact grams = Exact::of(*m) * Exact::of(litres) / Exact(1000);
    return written(grams.roundedAt(-3), 3, true, format);
}

std::optional<std::string> roundedToKilogram(std::string_view mass,
                                             const calc::NumberFormat& format) {
    const std::optional<Digits> m = valueOf(mass, format);
    if (!m) {
        return std::nullopt;
    }
    // Half up on the magnitude: half away from zero.
    return written(calc::decimal::roundedAt(*m, 0), 0, false, format);
}

std::optional<std::string> sumOf(const std::vector<std::string>& masses,
                                 const calc::NumberFormat& format) {
    std::vector<Digits> terms;
    int exponent = 0;
    for (const std::string& mass : masses) {
        std::optional<Digits> m = valueOf(mass, format);
        if (!m) {
            return std::nullopt;
        }
        exponent = std::min(exponent, m->exponent);
        terms.push_back(std::move(*m));
    }
    // Exact in integers of the finest unit; the sheet's masses have a few
    // digits, anything beyond 18 is no mass of a mix.
    long long total = 0;
    for (const Digits& term : terms) {
        std::string digits = calc::decimal::digitsDownTo(term, exponent);
        digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
        if (digits.size() > 18) {
            return std::nullopt;
        }
        long long magnitude = 0;
        for (const char c : digits) {
            magnitude = magnitude * 10 + (c - '0');
        }
        if (__builtin_add_overflow(total, term.negative ? -magnitude : magnitude, &total)) {
            return std::nullopt;
        }
    }
    const bool negative = total < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(total)
                                                  : static_cast<unsigned long long>(total);
    const Digits sum{.negative = negative,
                     .digits = magnitude == 0 ? std::string() : std::to_string(magnitude),
                     .exponent = exponent};
    return written(sum, -exponent, false, format);
}

} // namespace report
