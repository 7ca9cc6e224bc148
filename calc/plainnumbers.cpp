// The two routes of readPlainNumber and writePlainNumber (calc/plainnumbers.h).
//
// The build says which routes exist: LANSHI_STANDARD_PLAIN_NUMBERS where the
// standard library has floating-point from_chars and to_chars,
// LANSHI_PORTABLE_PLAIN_NUMBERS where fast_float and {fmt} are at hand, and
// LANSHI_USE_PORTABLE_PLAIN_NUMBERS when the public functions take the
// portable one.
#include "calc/plainnumbers.h"

#ifndef LANSHI_STANDARD_PLAIN_NUMBERS
#define LANSHI_STANDARD_PLAIN_NUMBERS 0
#endif
#ifndef LANSHI_PORTABLE_PLAIN_NUMBERS
#define LANSHI_PORTABLE_PLAIN_NUMBERS 0
#endif
#ifndef LANSHI_USE_PORTABLE_PLAIN_NUMBERS
#define LANSHI_USE_PORTABLE_PLAIN_NUMBERS 0
#endif

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>

#if LANSHI_PORTABLE_PLAIN_NUMBERS
#include <fast_float/fast_float.h>
#include <fmt/format.h>
#endif

#if !LANSHI_STANDARD_PLAIN_NUMBERS && !LANSHI_PORTABLE_PLAIN_NUMBERS
#error "no way to read and write floating-point numbers: install fast_float and {fmt}"
#endif

namespace calc {
namespace detail {

#if LANSHI_STANDARD_PLAIN_NUMBERS

std::from_chars_result standardRead(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value);
}

std::from_chars_result standardRead(const char* first, const char* last, float& value) {
    return std::from_chars(first, last, value);
}

std::to_chars_result standardWrite(char* first, char* last, double value) {
    return std::to_chars(first, last, value);
}

std::to_chars_result standardWrite(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
    if (format == std::chars_format::hex) {
        return {last, std::errc::invalid_argument};
    }
    return std::to_chars(first, last, value, format, precision);
}

#endif

#if LANSHI_PORTABLE_PLAIN_NUMBERS

namespace {

// fast_float writes ±infinity or ±0 for a number beyond the range, where the
// standard reader reports result_out_of_range and leaves the value alone.
// "inf" and "nan" spelled out are numbers like any other.
bool outOfRange(std::string_view matched, double result) {
    if (!matched.empty() && matched.front() == '-') {
        matched.remove_prefix(1);
    }
    if (matched.empty() ||
        !(matched.front() == '.' || (matched.front() >= '0' && matched.front() <= '9'))) {
        return false;
    }
    if (std::isinf(result)) {
        return true;
    }
    if (result != 0.0) {
        return false;
    }
    const std::string_view mantissa = matched.substr(0, matched.find_first_of("eE"));
    return mantissa.find_first_of("123456789") != std::string_view::npos;
}

template <typename T>
std::from_chars_result readPortably(const char* first, const char* last, T& value) {
    T result{};
    const auto answer = fast_float::from_chars(first, last, result);
    if (answer.ec != std::errc{}) {
        return {answer.ptr, answer.ec};
    }
    if (outOfRange(std::string_view(first, std::size_t(answer.ptr - first)), double(result))) {
        return {answer.ptr, std::errc::result_out_of_range};
    }
    value = result;
    return {answer.ptr, std::errc{}};
}

std::to_chars_result copyOut(char* first, char* last, std::string_view text) {
    if (text.size() > std::size_t(last - first)) {
        return {last, std::errc::value_too_large};
    }
    return {std::copy(text.begin(), text.end(), first), std::errc{}};
}

// The shortest round-trip digits of a finite, non-zero magnitude and the
// decimal exponent of the first one: 1234.5 → "12345", 3. {fmt} finds them
// (Dragonbox: the shortest, and of those the nearest); its own choice between
// fixed and scientific is not the standard's, so only the digits are taken.
void shortestDigits(double magnitude, std::string& digits, int& exponent) {
    const std::string text = fmt::format("{}", magnitude);
    const std::size_t mark = text.find('e');
    const std::string_view mantissa = std::string_view(text).substr(0, mark);
    int pointAfter = int(mantissa.find('.'));
    if (pointAfter < 0) {
        pointAfter = int(mantissa.size());
    }
    digits.clear();
    for (const char c : mantissa) {
        if (c != '.') {
            digits.push_back(c);
        }
    }
    exponent = pointAfter - 1;
    if (mark != std::string::npos) {
        exponent += std::stoi(text.substr(mark + 1));
    }
    const std::size_t lead = digits.find_first_not_of('0');
    digits.erase(0, lead);
    exponent -= int(lead);
    digits.erase(digits.find_last_not_of('0') + 1);
}

} // namespace

std::from_chars_result portableRead(const char* first, const char* last, double& value) {
    return readPortably(first, last, value);
}

std::from_chars_result portableRead(const char* first, const char* last, float& value) {
    return readPortably(first, last, value);
}

std::to_chars_result portableWrite(char* first, char* last, double value) {
    if (value == 0.0 || !std::isfinite(value)) {
        return portableWrite(first, last, value, std::chars_format::general, 6);
    }
    std::string digits;
    int exponent = 0;
    shortestDigits(std::fabs(value), digits, exponent);
    const int n = int(digits.size());
    const int scientificLength = n + (n > 1 ? 1 : 0) + 2 + (std::abs(exponent) >= 100 ? 3 : 2);
    const int fixedLength =
        exponent >= n - 1 ? exponent + 1 : (exponent >= 0 ? n + 1 : n + 1 - exponent);

    std::string text = std::signbit(value) ? "-" : "";
    if (fixedLength <= scientificLength) {
        if (exponent >= n - 1) {
            // A whole number: of all the equally long spellings the exact value
            // is the nearest, beyond 2^53 too.
            return copyOut(first, last, fmt::format("{:.0f}", value));
        }
        if (exponent >= 0) {
            text.append(digits, 0, std::size_t(exponent) + 1);
            text.push_back('.');
            text.append(digits, std::size_t(exponent) + 1);
        } else {
            text.append("0.");
            text.append(std::size_t(-exponent - 1), '0');
            text.append(digits);
        }
        return copyOut(first, last, text);
    }
    text.push_back(digits[0]);
    if (n > 1) {
        text.push_back('.');
        text.append(digits, 1);
    }
    text.append(exponent < 0 ? "e-" : "e+");
    if (std::abs(exponent) < 10) {
        text.push_back('0');
    }
    text.append(std::to_string(std::abs(exponent)));
    return copyOut(first, last, text);
}

std::to_chars_result portableWrite(char* first, char* last, double value, std::chars_format format,
                                   int precision) {
    if (!std::isfinite(value)) {
        // printf's spelling, which the standard writer shares.
        std::string text = std::signbit(value) ? "-" : "";
        text += std::isnan(value) ? "nan" : "inf";
        return copyOut(first, last, text);
    }
    precision = std::max(precision, 0);
    std::string text;
    switch (format) {
    case std::chars_format::fixed:
        text = fmt::format("{:.{}f}", value, precision);
        break;
    case std::chars_format::scientific:
        text = fmt::format("{:.{}e}", value, precision);
        break;
    case std::chars_format::general:
        text = fmt::format("{:.{}g}", value, precision);
        break;
    default:
        return {last, std::errc::invalid_argument};
    }
    return copyOut(first, last, text);
}

#endif

} // namespace detail

#if LANSHI_USE_PORTABLE_PLAIN_NUMBERS
#define LANSHI_PLAIN_ROUTE(name) detail::portable##name
#else
#define LANSHI_PLAIN_ROUTE(name) detail::standard##name
#endif

std::from_chars_result readPlainNumber(const char* first, const char* last, double& value) {
    return LANSHI_PLAIN_ROUTE(Read)(first, last, value);
}

std::from_chars_result readPlainNumber(const char* first, const char* last, float& value) {
    return LANSHI_PLAIN_ROUTE(Read)(first, last, value);
}

std::to_chars_result writePlainNumber(char* first, char* last, double value) {
    return LANSHI_PLAIN_ROUTE(Write)(first, last, value);
}

std::to_chars_result writePlainNumber(char* first, char* last, double value,
                                      std::chars_format format, int precision) {
    return LANSHI_PLAIN_ROUTE(Write)(first, last, value, format, precision);
}

bool plainNumbersArePortable() {
    return LANSHI_USE_PORTABLE_PLAIN_NUMBERS != 0;
}

} // namespace calc
