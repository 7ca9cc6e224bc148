#include "report/numbers.h"

#include "calc/conversions.h"
#include "calc/numberscan.h"
#include "calc/plainnumbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
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

// Adds one in the last place of a string of decimal digits, carrying
// through the nines: "0.9995" rounded to three places is "1.000". Returns
// whether the carry ran out of digits and a "1" was put in front.
bool addOneInTheLastPlace(std::string& digits) {
    std::size_t k = digits.size();
    while (k > 0 && digits[k - 1] == '9') {
        digits[--k] = '0';
    }
    if (k == 0) {
        digits.insert(digits.begin(), '1');
        return true;
    }
    ++digits[k - 1];
    return false;
}

constexpr std::size_t kSignificant = 7;

// A magnitude's significant digits, at most seven, and the power of ten of
// the first.
struct Significant {
    std::string digits;
    int exponent = 0;
};

// Every digit of the binary value (a double has at most 767 significant
// ones), so that the seventh is rounded on the decimal value itself, half
// away from zero as the window rounds, never to the nearest even; trailing
// zeros dropped. Nothing when the digits cannot be written.
std::optional<Significant> sevenSignificant(double magnitude) {
    std::array<char, 1100> buffer{};
    const auto [end, ec] = calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(),
                                                  magnitude, std::chars_format::scientific, 800);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    const std::string_view exact(buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    const std::size_t e = exact.find('e');
    Significant out;
    std::from_chars(exact.data() + e + 1 + (exact[e + 1] == '+' ? 1 : 0),
                    exact.data() + exact.size(), out.exponent);
    std::string& digits = out.digits;
    for (const char c : exact.substr(0, e)) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    // 800 digits after the first were asked for: there are always more than 7.
    digits.resize(std::max(digits.size(), kSignificant + 1), '0');
    const bool up = digits[kSignificant] >= '5';
    digits.resize(kSignificant);
    if (up && addOneInTheLastPlace(digits)) {
        // All nines: one digit more, one place higher.
        digits.pop_back();
        ++out.exponent;
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    return out;
}

// The digits in the three layouts of the general format: "1.234568E+07"
// beyond seven places or below 0.0001, else "0.00123", "12300", "12.3".
std::string generalLayout(const Significant& figure) {
    const std::string& digits = figure.digits;
    const int exponent = figure.exponent;
    std::string text;
    if (exponent < -4 || exponent >= static_cast<int>(kSignificant)) {
        text += digits.substr(0, 1);
        if (digits.size() > 1) {
            text += "." + digits.substr(1);
        }
        const int magnitude = std::abs(exponent);
        text += std::string("E") + (exponent < 0 ? "-" : "+") + (magnitude < 10 ? "0" : "") +
                std::to_string(magnitude);
    } else if (exponent < 0) {
        text += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            text += digits + std::string(whole - digits.size(), '0');
        } else {
            text += digits.substr(0, whole) + "." + digits.substr(whole);
        }
    }
    return text;
}

} // namespace

std::string figure(double value, const calc::NumberFormat& format) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? "0" : "?";
    }
    const std::optional<Significant> digits = sevenSignificant(std::fabs(value));
    if (!digits) {
        return "?";
    }
    return regionalDecimal((value < 0.0 ? "-" : "") + generalLayout(*digits), format);
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
            addOneInTheLastPlace(digits);
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
    const auto [end, ec] =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), litres);
    const calc::NumberFormat plain{".", "", 0, "-"};
    const std::optional<calc::NumberParts> litreParts =
        ec == std::errc{}
            ? calc::scanNumber(std::string_view(buffer.data(), std::size_t(end - buffer.data())),
                               plain)
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

namespace {

// A text of the sheet that is a number as a whole, as its sign and exact
// decimal digits; nothing for any other text.
struct Signed {
    bool negative = false;
    Decimal decimal;
};

std::optional<Signed> signedOf(std::string_view text, const calc::NumberFormat& format) {
    if (calc::parseStrict(text, format).status != calc::StrictStatus::Ok) {
        return std::nullopt;
    }
    const std::optional<calc::NumberParts> parts = calc::scanNumber(text, format);
    const std::optional<Decimal> d = parts ? decimalOf(*parts) : std::nullopt;
    if (!d) {
        return std::nullopt;
    }
    return Signed{parts->negative(), *d};
}

// "-" and grouped digits with `scale` after the regional decimal symbol.
// Not grouped, as the sheet writes its masses.
std::string written(bool negative, std::string digits, int scale,
                    const calc::NumberFormat& format) {
    const int missing = scale + 1 - static_cast<int>(digits.size());
    if (missing > 0) {
        digits.insert(0, static_cast<std::size_t>(missing), '0');
    }
    const std::size_t point = digits.size() - static_cast<std::size_t>(scale);
    std::string integer = digits.substr(0, point);
    const std::size_t lead = std::min(integer.find_first_not_of('0'), integer.size() - 1);
    integer.erase(0, lead);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = negative && !zero ? format.negative : std::string();
    out += integer;
    if (scale > 0) {
        out += format.decimal + digits.substr(point);
    }
    return out;
}

} // namespace

std::optional<std::string> roundedToKilogram(std::string_view mass,
                                             const calc::NumberFormat& format) {
    const std::optional<Signed> m = signedOf(mass, format);
    if (!m) {
        return std::nullopt;
    }
    // Half up on the magnitude: half away from zero.
    std::string digits = m->decimal.digits;
    const int scale = m->decimal.scale;
    bool up = false;
    if (scale > 0) {
        const int missing = scale + 1 - static_cast<int>(digits.size());
        if (missing > 0) {
            digits.insert(0, static_cast<std::size_t>(missing), '0');
        }
        up = digits[digits.size() - static_cast<std::size_t>(scale)] >= '5';
        digits.erase(digits.size() - static_cast<std::size_t>(scale));
    }
    if (up) {
        addOneInTheLastPlace(digits);
    }
    if (digits.empty()) {
        digits = "0";
    }
    return written(m->negative, digits, 0, format);
}

std::optional<std::string> sumOf(const std::vector<std::string>& masses,
                                 const calc::NumberFormat& format) {
    std::vector<Signed> terms;
    int scale = 0;
    for (const std::string& mass : masses) {
        std::optional<Signed> m = signedOf(mass, format);
        if (!m) {
            return std::nullopt;
        }
        scale = std::max(scale, m->decimal.scale);
        terms.push_back(std::move(*m));
    }
    // Exact in integers of the finest unit; the sheet's masses have a few
    // digits, anything beyond 18 is no mass of a mix.
    long long total = 0;
    for (const Signed& term : terms) {
        std::string digits = term.decimal.digits;
        digits.append(static_cast<std::size_t>(scale - term.decimal.scale), '0');
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
    return written(negative, std::to_string(magnitude), scale, format);
}

} // namespace report
