#include "report/numbers.h"

#include "calc/conversions.h"
#include "calc/numberscan.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace report {

namespace {

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

// A decimal number as its digits (most significant first, no leading zeros)
// and the count of them that stand after the decimal point.
struct Decimal {
    std::string digits;
    int scale = 0;
};

// The digits of a number taken apart by calc::scanNumber, its sign aside;
// nothing when its exponent is beyond any figure of the report.
std::optional<Decimal> decimalOf(const calc::NumberParts& parts) {
    Decimal d;
    d.digits = parts.integerDigits();
    d.digits += parts.fraction;
    d.scale = static_cast<int>(parts.fraction.size());
    if (!parts.exponent.empty()) {
        int exponent = 0;
        const std::string_view e = parts.exponentDigits;
        const auto [end, ec] = std::from_chars(e.data(), e.data() + e.size(), exponent);
        if (ec != std::errc{} || end != e.data() + e.size() || exponent > 400) {
            return std::nullopt;
        }
        d.scale += parts.exponentNegative ? exponent : -exponent;
    }
    if (d.scale < 0) {
        d.digits.append(static_cast<std::size_t>(-d.scale), '0');
        d.scale = 0;
    }
    const std::size_t first = d.digits.find_first_not_of('0');
    d.digits.erase(0, first == std::string::npos ? d.digits.size() : first);
    return d;
}

// The exact product of two digit strings.
std::string multiply(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return {};
    }
    std::vector<int> sum(a.size() + b.size(), 0);
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
        }
    }
    for (std::size_t k = sum.size(); k-- > 1;) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    std::string out;
    for (const int digit : sum) {
        if (!out.empty() || digit != 0) {
            out += char('0' + digit);
        }
    }
    return out;
}

} // namespace

std::string figure(double value, const calc::NumberFormat& format) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? "0" : "?";
    }
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::general, 7);
    std::string text(buffer.data(), ec == std::errc{} ? end : buffer.data());
    // "1.234568e+07" is written 1.234568E+07.
    std::replace(text.begin(), text.end(), 'e', 'E');
    return regionalDecimal(text, format);
}

std::string constant(std::string_view ascii, const calc::NumberFormat& format) {
    return regionalDecimal(ascii, format);
}

namespace {

// Digits with `scale` of them after the decimal point, rounded half up to
// three: the result has exactly three after the point and one before.
std::string roundedToGrams(std::string digits, int scale) {
    const int missing = scale + 1 - int(digits.size());
    if (missing > 0) {
        digits.insert(0, static_cast<std::size_t>(missing), '0');
    }
    if (scale > 3) {
        const std::size_t dropped = static_cast<std::size_t>(scale - 3);
        const bool up = digits[digits.size() - dropped] >= '5';
        digits.erase(digits.size() - dropped);
        if (up) {
            // Carry through the nines: 0.9995 becomes 1.000.
            std::size_t k = digits.size();
            while (k > 0 && digits[k - 1] == '9') {
                digits[--k] = '0';
            }
            if (k == 0) {
                digits.insert(digits.begin(), '1');
            } else {
                ++digits[k - 1];
            }
        }
    }
    return digits;
}

} // namespace

std::optional<std::string> trialMass(std::string_view mass, double litres,
                                     const calc::NumberFormat& format) {
    if (!(litres > 0.0) || !std::isfinite(litres) ||
        calc::parseStrict(mass, format).status != calc::StrictStatus::Ok) {
        return std::nullopt;
    }
    const std::optional<calc::NumberParts> massParts = calc::scanNumber(mass, format);
    // The volume in the plain ASCII spelling std::to_chars gives it.
    std::array<char, 64> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), litres);
    const calc::NumberFormat plain{".", "", 0, "-"};
    const std::optional<calc::NumberParts> litreParts =
        ec == std::errc{} ? calc::scanNumber(std::string_view(buffer.data(), end), plain)
                          : std::nullopt;
    if (!massParts || !litreParts) {
        return std::nullopt;
    }
    const bool negative = massParts->negative();
    const std::optional<Decimal> m = decimalOf(*massParts);
    const std::optional<Decimal> v = decimalOf(*litreParts);
    if (!m || !v) {
        return std::nullopt;
    }

    // mass × litres / 1000, with every digit kept; then half up to 3 places.
    const std::string digits =
        roundedToGrams(multiply(m->digits, v->digits), m->scale + v->scale + 3);
    const std::string integer = digits.substr(0, digits.size() - 3);
    const std::string fraction = digits.substr(digits.size() - 3);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero) ? format.negative : std::string();
    const std::size_t lead = std::min(integer.find_first_not_of('0'), integer.size() - 1);
    calc::appendGrouped(out, std::string_view(integer).substr(lead), format);
    out += format.decimal;
    out += fraction;
    return out;
}

} // namespace report
