#include "jgj55/rounding.h"

#include "calc/plainnumbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace jgj55 {

namespace {

// `value` as std::to_chars(first, last, value, format) writes it: the fewest
// digits that read back as the same double. Through calc's plain numbers,
// which have a route of their own where the standard library (Emscripten's)
// writes no floating-point numbers: the smallest precision whose exactly
// rounded text reads back as `value`, which is the shortest text, and of the
// texts that short the nearest.
std::to_chars_result writeShortest(char* first, char* last, double value,
                                   std::chars_format format) {
    constexpr int kMostDigits = 1100; // beyond the last digit of any double
    std::to_chars_result written{first, std::errc::value_too_large};
    for (int precision = 0; precision <= kMostDigits; ++precision) {
        written = calc::writePlainNumber(first, last, value, format, precision);
        double back = 0.0;
        if (written.ec != std::errc{} ||
            (calc::readPlainNumber(first, written.ptr, back).ec == std::errc{} && back == value)) {
            return written;
        }
    }
    return written;
}

// A decimal as its digits and the power of ten of its last digit.
struct Digits {
    bool negative = false;
    std::string digits; // no leading zeros unless the value is zero
    int exponent = 0;   // value = digits × 10^exponent
};

Digits shortest(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] = writeShortest(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::scientific);
    Digits d;
    const char* p = buffer.data();
    if (ec != std::errc{}) {
        d.digits = "0";
        return d;
    }
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    int fraction = 0;
    bool point = false;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
        } else {
            d.digits += *p;
            fraction += point ? 1 : 0;
        }
    }
    int power = 0;
    if (p < end) {
        ++p; // 'e'
        if (*p == '+') {
            ++p;
        }
        std::from_chars(p, end, power);
    }
    d.exponent = power - fraction;
    return d;
}

} // namespace

double roundHalfUp(double value, int decimals) {
    if (!std::isfinite(value) || value == 0.0) {
        return value;
    }
    Digits d = shortest(value);
    const int drop = -decimals - d.exponent; // digits to cut from the right
    if (drop <= 0) {
        return value; // already at or within the precision
    }
    if (static_cast<std::size_t>(drop) > d.digits.size()) {
        return d.negative ? -0.0 : 0.0;
    }
    const bool up = d.digits[d.digits.size() - static_cast<std::size_t>(drop)] >= '5';
    d.digits.erase(d.digits.size() - static_cast<std::size_t>(drop));
    if (up) {
        std::size_t k = d.digits.size();
        while (k > 0 && d.digits[k - 1] == '9') {
            d.digits[--k] = '0';
        }
        if (k == 0) {
            d.digits.insert(d.digits.begin(), '1');
        } else {
            ++d.digits[k - 1];
        }
    }
    if (d.digits.empty()) {
        return d.negative ? -0.0 : 0.0;
    }
    std::string text = (d.negative ? "-" : "") + d.digits + "e" + std::to_string(-decimals);
    double out = 0.0;
    calc::readPlainNumber(text.data(), text.data() + text.size(), out);
    return out;
}

std::string shortestDecimal(double value) {
    if (!std::isfinite(value)) {
        return "?";
    }
    std::array<char, 400> buffer{};
    const auto [end, ec] = writeShortest(buffer.data(), buffer.data() + buffer.size(), value,
                                         std::chars_format::fixed);
    if (ec != std::errc{}) {
        return "?";
    }
    std::string text(buffer.data(), end);
    return text == "-0" ? "0" : text;
}

} // namespace jgj55
