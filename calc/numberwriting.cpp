// Writing a number as the text of a field: formatFixed2 and formatSingle.
//
// Both round the exact binary value half away from zero, by one of two routes
// (calc/roundingroute.h), and then lay the digits out with the regional
// decimal symbol, grouping and sign. The exact route's digits, its rounding
// and the layout of seven digits are the decimal layer's (calc/decimal.h).
#include "calc/conversions.h"
#include "calc/decimal.h"
#include "calc/roundingroute.h"

#include <cmath>
#include <cstdint>
#include <optional>
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

// The exact route: every digit of the binary value, rounded half away from
// zero at the cents by the decimal layer.
std::string exactCents(double magnitude) {
    return decimal::digitsDownTo(decimal::roundedAt(decimal::exact(magnitude), -2), -2);
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

constexpr long double kPowersOfTenExtended[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,
                                                1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L,
                                                1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L};

// The extended route: a single times 10^k (k ≤ 17) is exact in 64 significand
// bits (24 bits times at most 40 for 10^17), so the value is scaled to seven
// digits before its point and rounded once by roundl. Values outside
// 1E-10 .. 1E+07 take the exact route, which costs about twice as much.
// Returns the seven digits, or nothing for a value it leaves to the exact
// route.
std::optional<decimal::Digits> extendedSevenDigits(float magnitude) {
    if (!kExtendedRouteAvailable || magnitude < 1e-10f || magnitude >= 1e7f) {
        return std::nullopt;
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
            // 9999999.5 and up carry into an eighth digit, which is a zero.
            const long double rounded = std::roundl(scaled);
            return decimal::Digits{.negative = false,
                                   .digits = std::to_string(static_cast<std::uint32_t>(rounded)),
                                   .exponent = -scale};
        }
    }
    return std::nullopt;
}

// The exact route: every digit of the binary value, rounded half away from
// zero to seven by the decimal layer.
decimal::Digits sevenSignificantDigits(float magnitude, RoundingRoute route) {
    if (route == RoundingRoute::Extended) {
        if (std::optional<decimal::Digits> digits = extendedSevenDigits(magnitude)) {
            return *std::move(digits);
        }
    }
    return decimal::roundedToSignificant(decimal::exact(magnitude), 7);
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
    decimal::Digits digits = sevenSignificantDigits(std::fabs(value), route);
    digits.negative = value < 0;
    return decimal::generalLayout(digits, format.decimal);
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
