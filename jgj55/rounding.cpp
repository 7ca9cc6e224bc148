#include "jgj55/rounding.h"

#include "calc/plainnumbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace jgj55 {

namespace {

// A decimal as its digits and the power of ten of its last digit.
struct Digits {
    bool negative = false;
    std::string digits; // no leading zeros unless the value is zero
    int exponent = 0;   // value = digits × 10^exponent
};

// The shortest round-trip decimal, through calc's writer: std::to_chars
// where the library has it, its portable twin where it has not (WebAssembly).
// Its text is plain ("38.225") or scientific ("1e-07"), whichever is shorter;
// both give the same digits and power here, leading zeros of "0.05" aside,
// which no rounding below minds.
Digits shortest(double value) {
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), value);
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
        const bool minus = p < end && *p == '-';
        if (p < end && (*p == '-' || *p == '+')) {
            ++p;
        }
        for (; p < end; ++p) {
            power = power * 10 + (*p - '0');
        }
        power = minus ? -power : power;
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
    // The shortest digits written out in plain notation, as to_chars with
    // std::chars_format::fixed and no precision writes them.
    const Digits d = shortest(value);
    const std::size_t first = std::min(d.digits.find_first_not_of('0'), d.digits.size());
    std::string digits = d.digits.substr(first);
    if (digits.empty()) {
        return "0";
    }
    std::string text;
    if (d.exponent >= 0) {
        text = digits + std::string(static_cast<std::size_t>(d.exponent), '0');
    } else {
        const auto fraction = static_cast<std::size_t>(-d.exponent);
        if (digits.size() <= fraction) {
            digits.insert(0, fraction - digits.size() + 1, '0');
        }
        text = digits.substr(0, digits.size() - fraction) + "." +
               digits.substr(digits.size() - fraction);
        // Trailing zeros after the point are never part of the shortest form.
        while (text.back() == '0') {
            text.pop_back();
        }
        if (text.back() == '.') {
            text.pop_back();
        }
    }
    return (d.negative ? "-" : "") + text;
}

} // namespace jgj55
