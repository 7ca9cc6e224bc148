// Reference renderings of formatSingle and formatFixed2 under the usual
// settings, built another way: from the exact decimal expansion that glibc's
// printf writes, rounded by hand (half away from zero). Slow and plain, for
// checking the fast conversions against, in tests and in the fuzzer.
#pragma once

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace reference {

// Adds one to the decimal digits, carrying; returns true when a digit was
// added in front ("999" → "1000").
inline bool incrementDigits(std::string& digits) {
    for (auto i = digits.rbegin(); i != digits.rend(); ++i) {
        if (*i != '9') {
            ++*i;
            return false;
        }
        *i = '0';
    }
    digits.insert(digits.begin(), '1');
    return true;
}

inline std::string single(float value) {
    if (value == 0.0f) {
        return "0";
    }
    std::vector<char> buffer(200);
    std::snprintf(buffer.data(), buffer.size(), "%.130e", std::fabs(double(value)));
    const std::string exact(buffer.data());
    const std::size_t mark = exact.find('e');
    int exponent = std::stoi(exact.substr(mark + 1));
    std::string digits = exact.substr(0, 1) + exact.substr(2, 6);
    if (exact[8] >= '5' && incrementDigits(digits)) {
        digits.pop_back();
        ++exponent;
    }
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    std::string out = value < 0 ? "-" : "";
    if (exponent < -4 || exponent >= 7) {
        out += digits.substr(0, 1);
        if (digits.size() > 1) {
            out += "." + digits.substr(1);
        }
        char tail[16];
        std::snprintf(tail, sizeof tail, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + tail;
    }
    if (exponent < 0) {
        return out + "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    }
    const std::size_t whole = std::size_t(exponent) + 1;
    if (digits.size() <= whole) {
        return out + digits + std::string(whole - digits.size(), '0');
    }
    return out + digits.substr(0, whole) + "." + digits.substr(whole);
}

inline std::string fixed2(double value) {
    std::vector<char> buffer(1500);
    std::snprintf(buffer.data(), buffer.size(), "%.1100f", std::fabs(value));
    const std::string exact(buffer.data());
    const std::size_t point = exact.find('.');
    std::string cents = exact.substr(0, point) + exact.substr(point + 1, 2);
    if (exact[point + 3] >= '5') {
        incrementDigits(cents);
    }
    const bool zero = cents.find_first_not_of('0') == std::string::npos;
    const std::string whole = cents.substr(0, cents.size() - 2);
    std::string grouped;
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) {
            grouped += ',';
        }
        grouped += whole[i];
    }
    return (std::signbit(value) && !zero ? "-" : "") + grouped + "." +
           cents.substr(cents.size() - 2);
}

} // namespace reference
