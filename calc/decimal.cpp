// Digits of a double, rounding half away from zero and the layouts
// (calc/decimal.h). The exact arithmetic is in calc/exact.cpp.
#include "calc/decimal.h"

#include "calc/plainnumbers.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

namespace calc::decimal {

namespace {

// The digits of a number as calc::writePlainNumber writes it: "-38.225",
// "1e-07", "1.2345e+20". Leading zeros ("0.05") are dropped.
Digits parsePlain(std::string_view text) {
    Digits d;
    if (!text.empty() && text.front() == '-') {
        d.negative = true;
        text.remove_prefix(1);
    }
    const std::size_t mark = text.find('e');
    int power = 0;
    if (mark != std::string_view::npos) {
        std::string_view exponent = text.substr(mark + 1);
        if (!exponent.empty() && exponent.front() == '+') {
            exponent.remove_prefix(1);
        }
        std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
    }
    const std::string_view mantissa = text.substr(0, mark);
    const std::size_t point = mantissa.find('.');
    const std::string_view whole = mantissa.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
    d.digits.reserve(whole.size() + fraction.size());
    d.digits.append(whole);
    d.digits.append(fraction);
    d.exponent = power - static_cast<int>(fraction.size());
    d.digits.erase(0, std::min(d.digits.find_first_not_of('0'), d.digits.size()));
    return d;
}

void dropTrailingZeros(Digits& d) {
    const std::size_t last = d.digits.find_last_not_of('0');
    const std::size_t keep = last == std::string::npos ? 0 : last + 1;
    d.exponent += static_cast<int>(d.digits.size() - keep);
    d.digits.resize(keep);
}

// Appends digits × 10^exponent without exponent: "1234.5", "0.0005",
// "2400", "0" for no digits.
void appendPlain(std::string& out, std::string_view digits, int exponent, std::string_view point) {
    if (digits.empty()) {
        digits = "0";
    }
    if (exponent >= 0) {
        out += digits;
        out.append(static_cast<std::size_t>(exponent), '0');
        return;
    }
    const int whole = static_cast<int>(digits.size()) + exponent; // digits before the point
    if (whole <= 0) {
        out += '0';
        out += point;
        out.append(static_cast<std::size_t>(-whole), '0');
        out += digits;
        return;
    }
    out += digits.substr(0, static_cast<std::size_t>(whole));
    out += point;
    out += digits.substr(static_cast<std::size_t>(whole));
}

// How many digits after the first the full expansion of a finite, non-zero
// magnitude has at most. The magnitude is m × 2^e with m odd: for e ≥ 0 a
// whole number below 2^(bits + e); for e < 0, m × 5^-e over 10^-e, whose
// digits are those of m × 5^-e, a number below 2^bits × 5^-e. A number below
// 2^a × 5^b has at most ⌊a·log10 2 + b·log10 5⌋ + 1 digits; the two
// logarithms are taken a little high (0.30103, 0.69898), which can only ask
// for a zero more.
int exactPrecision(double magnitude) {
    int binaryExponent = 0;
    const double fraction = std::frexp(magnitude, &binaryExponent);
    auto significand = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
    int e = binaryExponent - 53;
    const int zeros = std::countr_zero(significand);
    significand >>= zeros;
    e += zeros;
    const int bits = static_cast<int>(std::bit_width(significand));
    const long twos = e >= 0 ? bits + e : bits;
    const long fives = e >= 0 ? 0 : -e;
    return static_cast<int>((twos * 30103 + fives * 69898) / 100000);
}

} // namespace

Digits shortest(double value) {
    if (!std::isfinite(value)) {
        return {};
    }
    std::array<char, 64> buffer{};
    const auto [end, ec] = writePlainNumber(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc{}) {
        return {};
    }
    return parsePlain(
        std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
}

Digits exact(double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return {.negative = std::signbit(value), .digits = {}, .exponent = 0};
    }
    // A double has at most 767 significant digits.
    std::array<char, 800> buffer{};
    const auto [end, ec] =
        writePlainNumber(buffer.data(), buffer.data() + buffer.size(), value,
                         std::chars_format::scientific, exactPrecision(std::fabs(value)));
    if (ec != std::errc{}) {
        return {};
    }
    Digits d =
        parsePlain(std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
    dropTrailingZeros(d);
    return d;
}

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

Digits roundedAt(Digits d, int exponent) {
    if (d.exponent >= exponent) {
        return d; // already a multiple of 10^exponent
    }
    const auto drop = static_cast<std::size_t>(exponent - d.exponent);
    const std::size_t size = d.digits.size();
    d.exponent = exponent;
    if (drop > size) {
        d.digits.clear(); // below half a unit of the place
        return d;
    }
    // The first digit cut decides: 5 or more, away from zero.
    const bool up = d.digits[size - drop] >= '5';
    d.digits.resize(size - drop);
    if (up) {
        addOneInTheLastPlace(d.digits);
    }
    return d;
}

Digits roundedToSignificant(Digits d, int count) {
    if (d.zero()) {
        return d;
    }
    const int place = d.leading() - count + 1;
    d = roundedAt(std::move(d), place);
    // 9999999.5 carried to 10000000: one significant digit.
    dropTrailingZeros(d);
    return d;
}

std::string digitsDownTo(const Digits& d, int exponent) {
    std::string out = d.digits;
    if (d.exponent > exponent) {
        out.append(static_cast<std::size_t>(d.exponent - exponent), '0');
    } else {
        const auto cut = static_cast<std::size_t>(exponent - d.exponent);
        out.resize(cut >= out.size() ? 0 : out.size() - cut);
    }
    const auto minimum = static_cast<std::size_t>(exponent < 0 ? 1 - exponent : 1);
    if (out.size() < minimum) {
        out.insert(0, minimum - out.size(), '0');
    }
    return out;
}

std::string plainLayout(const Digits& d, std::string_view point) {
    std::string out;
    appendPlain(out, d.digits, d.exponent, point);
    return out;
}

std::string generalLayout(const Digits& d, std::string_view point) {
    if (d.zero()) {
        return "0";
    }
    // The digits without their trailing zeros: the last written is not 0.
    const std::string_view all = d.digits;
    const std::string_view digits = all.substr(0, all.find_last_not_of('0') + 1);
    const int lead = d.leading();
    std::string out = d.negative ? "-" : "";
    if (lead < 7 && lead >= -4) {
        appendPlain(out, digits, lead + 1 - static_cast<int>(digits.size()), point);
        return out;
    }
    out += digits.front();
    if (digits.size() > 1) {
        out += point;
        out += digits.substr(1);
    }
    out += lead < 0 ? "E-" : "E+";
    const int size = std::abs(lead);
    if (size < 10) {
        out += '0';
    }
    out += std::to_string(size);
    return out;
}

double toDouble(const Digits& d) {
    if (d.zero()) {
        return d.negative ? -0.0 : 0.0;
    }
    const std::string text = (d.negative ? "-" : "") + d.digits + "e" + std::to_string(d.exponent);
    double value = 0.0;
    const auto [end, ec] = readPlainNumber(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Beyond the range, or not zero but below the least double.
        const double magnitude = d.leading() > 0 ? HUGE_VAL : 0.0;
        return d.negative ? -magnitude : magnitude;
    }
    return value;
}

} // namespace calc::decimal
