// Writing a number as the text of a field: formatFixed2 and formatSingle.
//
// Both round the exact binary value half away from zero, by one of two routes
// (calc/roundingroute.h), and then lay the digits out with the regional
// decimal symbol, grouping and sign.
#include "calc/conversions.h"
#include "calc/roundingroute.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace calc {
namespace detail {
namespace {

// ---- cents ------------------------------------------------------------------

// The extended route: 100·x is exact in 64 significand bits, since x has 53
// and 100 = 25·4 adds five, and roundl rounds that product half away from
// zero, which is the rule. Below 9·10^16 the cents fit a uint64_t. It takes
// about half the work of the exact route (README, Performance).
bool extendedCentsFit(double magnitude) {
    return kExtendedRouteAvailable && magnitude < 9.0e16;
}

std::string extendedCents(double magnitude) {
    const long double cents = std::roundl(static_cast<long double>(magnitude) * 100.0L);
    return std::to_string(static_cast<std::uint64_t>(cents));
}

// The exact route. to_chars rounds correctly to two decimals, but a tie to
// even, so only the ties need a hand. x lies halfway between two cents when
// 100·x = n + ½, that is when 200·x = 25·(8·x) is odd, which happens exactly
// when 8·x is an odd whole number: x ends in .125, .375, .625 or .875. Its
// cents are then 100·x = 25·(8·x)/2, and away from zero (25·(8·x) + 1)/2.
// From 2^50 on a double's spacing is a quarter or more, so 8·x is even and
// there are no ties; below it 8·x is below 2^53 and 25·(8·x) + 1 fits easily.
std::string exactCents(double magnitude) {
    const double eighths = magnitude * 8.0;
    if (magnitude < 0x1p50 && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) == 1.0) {
        return std::to_string((25 * std::uint64_t(eighths) + 1) / 2);
    }
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, 2);
    // "123.45" → "12345"
    std::string cents(buffer.data(), std::size_t(result.ptr - 3 - buffer.data()));
    cents.append(result.ptr - 2, 2);
    return cents;
}

// The magnitude in cents, as decimal digits, at least three of them ("0.05"
// is "005").
std::string centsOf(double magnitude, RoundingRoute route) {
    std::string cents = route == RoundingRoute::Extended && extendedCentsFit(magnitude)
                            ? extendedCents(magnitude)
                            : exactCents(magnitude);
    if (cents.size() < 3) {
        cents.insert(0, 3 - cents.size(), '0');
    }
    return cents;
}

// ---- seven significant digits -----------------------------------------------

struct SignificantDigits {
    std::string digits; // exactly seven
    int exponent = 0;   // of the first digit
};

constexpr long double kPowersOfTenExtended[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,
                                                1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L,
                                                1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L};

// The extended route: a single times 10^k (k ≤ 17) is exact in 64 significand
// bits (24 bits times at most 40 for 10^17), so the value is scaled to seven
// digits before its point and rounded once by roundl. Values outside
// 1E-10 .. 1E+07 take the exact route, which costs about twice as much.
// Fills `out` and returns true, or returns false for a value it leaves to the
// exact route.
bool extendedSevenDigits(float magnitude, SignificantDigits& out) {
    if (!kExtendedRouteAvailable || magnitude < 1e-10f || magnitude >= 1e7f) {
        return false;
    }
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    // log10 may be off by one next to a power of ten. The exact scaled value,
    // before rounding, tells: it must have seven digits before its point.
    // (Judging by the rounded value would let 999999.9 pass as 1000000 and
    // round a 9.999999E-05 to six digits.)
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = 6 - exponent;
        if (scale < 0 || scale > 17) {
            break;
        }
        const long double scaled =
            static_cast<long double>(magnitude) * kPowersOfTenExtended[scale];
        if (scaled >= 1e7L) {
            ++exponent;
        } else if (scaled < 1e6L) {
            --exponent;
        } else {
            const long double rounded = std::roundl(scaled);
            if (rounded >= 1e7L) { // 9999999.5 and up carry into the next digit
                out = {"1000000", exponent + 1};
            } else {
                out = {std::to_string(static_cast<std::uint32_t>(rounded)), exponent};
            }
            return true;
        }
    }
    return false;
}

// The exact route: the full decimal expansion, in which the digit after the
// seventh decides, 5 or more rounding away from zero. A single is M × 2^E with
// M below 2^24, whose expansion has at most 8 + 0.7·(−E) significant digits
// when E < 0 (M × 5^−E over a power of ten) and 8 + 0.31·E when E ≥ 0; asking
// to_chars for that many keeps it exact.
SignificantDigits exactSevenDigits(float magnitude) {
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    const int e = binaryExponent - 24;
    const int precision = 8 + (e < 0 ? (-e * 7 + 9) / 10 : (e * 31 + 99) / 100);
    std::array<char, 160> buffer{};
    const auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), double(magnitude),
                      std::chars_format::scientific, std::min(precision, 120));
    const std::string_view exact(buffer.data(), std::size_t(result.ptr - buffer.data()));
    const std::size_t mark = exact.find('e');
    int exponent = 0;
    std::from_chars(exact.data() + mark + (exact[mark + 1] == '+' ? 2 : 1),
                    exact.data() + exact.size(), exponent);

    // "d.ddd…" → the first eight significant digits.
    std::string digits;
    digits.push_back(exact[0]);
    digits.append(exact.substr(2, 7));
    const bool up = digits[7] >= '5';
    digits.resize(7);
    if (!up) {
        return {digits, exponent};
    }
    // Add one to the seventh digit, carrying; 9999999 becomes 1000000 with
    // the exponent one higher.
    int i = 6;
    while (i >= 0 && digits[std::size_t(i)] == '9') {
        digits[std::size_t(i)] = '0';
        --i;
    }
    if (i < 0) {
        return {"1000000", exponent + 1};
    }
    ++digits[std::size_t(i)];
    return {digits, exponent};
}

SignificantDigits sevenSignificantDigits(float magnitude, RoundingRoute route) {
    SignificantDigits digits;
    if (route == RoundingRoute::Extended && extendedSevenDigits(magnitude, digits)) {
        return digits;
    }
    return exactSevenDigits(magnitude);
}

// The digits laid out without exponent: "1234.5", "0.0005".
void appendPlain(std::string& out, const std::string& digits, int exponent,
                 const NumberFormat& format) {
    if (exponent < 0) {
        out.push_back('0');
        out.append(format.decimal);
        out.append(std::size_t(-exponent - 1), '0');
        out.append(digits);
        return;
    }
    const std::size_t integerDigits = std::size_t(exponent) + 1;
    if (digits.size() <= integerDigits) {
        out.append(digits);
        out.append(integerDigits - digits.size(), '0');
        return;
    }
    out.append(digits, 0, integerDigits);
    out.append(format.decimal);
    out.append(digits, integerDigits);
}

// The digits laid out with an exponent of at least two digits: "1.234568E+07".
void appendScientific(std::string& out, const std::string& digits, int exponent,
                      const NumberFormat& format) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
        out.append(format.decimal);
        out.append(digits, 1);
    }
    out.append(exponent < 0 ? "E-" : "E+");
    const int size = std::abs(exponent);
    if (size < 10) {
        out.push_back('0');
    }
    out.append(std::to_string(size));
}

} // namespace

std::string formatFixed2(double value, const NumberFormat& format, RoundingRoute route) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value < 0 ? format.negative + "Infinity" : "Infinity");
    }
    const std::string cents = centsOf(std::fabs(value), route);
    const bool zero = cents.find_first_not_of('0') == std::string::npos;

    std::string out;
    if (std::signbit(value) && !zero) {
        out = format.negative;
    }
    const std::string_view digits(cents);
    appendGrouped(out, digits.substr(0, digits.size() - 2), format);
    out.append(format.decimal);
    out.append(digits.substr(digits.size() - 2));
    return out;
}

std::string formatSingle(float value, const NumberFormat& format, RoundingRoute route) {
    if (value == 0.0f) {
        return "0"; // negative zero too
    }
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    }
    auto [digits, exponent] = sevenSignificantDigits(std::fabs(value), route);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string out;
    if (value < 0) {
        out.push_back('-');
    }
    if (exponent >= 7 || exponent < -4) {
        appendScientific(out, digits, exponent, format);
    } else {
        appendPlain(out, digits, exponent, format);
    }
    return out;
}

} // namespace detail

std::string formatFixed2(double value, const NumberFormat& format) {
    return detail::formatFixed2(value, format, detail::kNativeRoute);
}

std::string formatSingle(float value, const NumberFormat& format) {
    return detail::formatSingle(value, format, detail::kNativeRoute);
}

void appendGrouped(std::string& out, std::string_view digits, const NumberFormat& format) {
    if (!format.groups()) {
        out.append(digits);
        return;
    }
    const auto size = std::size_t(format.groupSize);
    std::size_t first = digits.size() % size;
    if (first == 0) {
        first = size;
    }
    out.append(digits.substr(0, first));
    for (std::size_t i = first; i < digits.size(); i += size) {
        out.append(format.group);
        out.append(digits.substr(i, size));
    }
}

} // namespace calc
