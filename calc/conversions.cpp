#include "calc/conversions.h"

#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>

namespace calc {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number spelt in plain ASCII: "-", digits, ".", digits, "e", sign,
// digits. Built by the readers below from whatever symbols the text used, so
// that from_chars sees one form only. Remembers where its first significant
// digit stands, to tell an overflow from an underflow when from_chars cannot
// represent the value.
class PlainNumber {
public:
    void setNegative() { m_text.push_back('-'); }
    void integerDigit(char c) {
        noteDigit(c);
        m_text.push_back(c);
        if (m_seenNonZero) {
            ++m_integerDigitsFromFirst;
        }
    }
    void point() {
        if (m_digits == 0) {
            m_text.push_back('0'); // from_chars wants a digit before the point
        }
        m_text.push_back('.');
    }
    void fractionDigit(char c) {
        if (!m_seenNonZero && c == '0') {
            ++m_leadingFractionZeros;
        }
        noteDigit(c);
        m_text.push_back(c);
    }
    void exponent(bool negative, std::string_view digits) {
        m_text.push_back('e');
        if (negative) {
            m_text.push_back('-');
        }
        m_text.append(digits);
        m_exponent = 0;
        for (char c : digits) {
            // Saturate: any exponent beyond a billion over- or underflows anyway.
            if (m_exponent < 1'000'000'000) {
                m_exponent = m_exponent * 10 + (c - '0');
            }
        }
        if (negative) {
            m_exponent = -m_exponent;
        }
    }
    bool hasDigits() const { return m_digits > 0; }
    bool negative() const { return !m_text.empty() && m_text.front() == '-'; }

    template <typename T> T value() const {
        T result{};
        const char* first = m_text.data();
        const char* last = first + m_text.size();
        const auto [end, ec] = std::from_chars(first, last, result);
        if (ec == std::errc::result_out_of_range) {
            result = tooLarge() ? std::numeric_limits<T>::infinity() : T(0);
            return negative() ? -result : result;
        }
        return result;
    }

private:
    void noteDigit(char c) {
        ++m_digits;
        if (c != '0') {
            m_seenNonZero = true;
        }
    }
    // The decimal exponent of the first significant digit, as far as needed to
    // tell overflow (large positive) from underflow (large negative).
    bool tooLarge() const {
        if (!m_seenNonZero) {
            return false;
        }
        const std::int64_t magnitude = m_integerDigitsFromFirst > 0
                                           ? std::int64_t{m_integerDigitsFromFirst} - 1
                                           : -(std::int64_t{m_leadingFractionZeros} + 1);
        return magnitude + m_exponent > 0;
    }

    std::string m_text;
    std::size_t m_digits = 0;
    bool m_seenNonZero = false;
    std::int64_t m_integerDigitsFromFirst = 0;
    std::int64_t m_leadingFractionZeros = 0;
    std::int64_t m_exponent = 0;
};

// Reads the number that fills the whole text in the regional format, or
// nothing. Grouping symbols are allowed only between whole groups of the
// integer part ("1,234.50"); "0,36", "12,34" and "1,2,3" are not numbers, so
// that a decimal comma typed under "." settings is never read as a thousand.
std::optional<PlainNumber> scanRegional(std::string_view text, const NumberFormat& format) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    auto take = [&text](std::string_view symbol) {
        if (!symbol.empty() && text.starts_with(symbol)) {
            text.remove_prefix(symbol.size());
            return true;
        }
        return false;
    };

    PlainNumber number;
    if (take("+")) {
    } else if (take("-") || (format.negative != "+" && take(format.negative))) {
        number.setNegative();
    }

    // Integer part: digits, with grouping symbols between whole groups.
    const bool grouping = format.groups();
    std::size_t groupLength = 0; // digits since the last grouping symbol
    std::size_t groups = 0;      // grouping symbols seen
    bool leadingZero = false;
    while (!text.empty()) {
        if (isDigit(text.front())) {
            if (groups == 0 && groupLength == 0 && text.front() == '0') {
                leadingZero = true;
            }
            number.integerDigit(text.front());
            text.remove_prefix(1);
            ++groupLength;
        } else if (grouping && text.starts_with(format.group) &&
                   !text.starts_with(format.decimal)) {
            const bool firstGroupOk =
                groups > 0 ||
                (groupLength >= 1 && groupLength <= std::size_t(format.groupSize) && !leadingZero);
            const bool laterGroupOk = groups == 0 || groupLength == std::size_t(format.groupSize);
            if (!firstGroupOk || !laterGroupOk) {
                return std::nullopt;
            }
            text.remove_prefix(format.group.size());
            ++groups;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (groups > 0 && groupLength != std::size_t(format.groupSize)) {
        return std::nullopt;
    }

    if (take(format.decimal)) {
        number.point();
        while (!text.empty() && isDigit(text.front())) {
            number.fractionDigit(text.front());
            text.remove_prefix(1);
        }
    }
    if (!number.hasDigits()) {
        return std::nullopt;
    }

    if (!text.empty() && (text.front() == 'E' || text.front() == 'e')) {
        text.remove_prefix(1);
        bool negative = false;
        if (take("-")) {
            negative = true;
        } else {
            take("+");
        }
        std::size_t n = 0;
        while (n < text.size() && isDigit(text[n])) {
            ++n;
        }
        if (n == 0) {
            return std::nullopt;
        }
        number.exponent(negative, text.substr(0, n));
        text.remove_prefix(n);
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    return number;
}

// Appends the integer digits with the regional grouping symbol between groups.
void appendGrouped(std::string& out, std::string_view digits, const NumberFormat& format) {
    if (!format.groups()) {
        out.append(digits);
        return;
    }
    const std::size_t size = std::size_t(format.groupSize);
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

} // namespace

double parseLenient(std::string_view text) {
    // Blanks, tabs and line feeds do not count wherever they stand.
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n')) {
            ++i;
        }
    };
    auto peek = [&]() -> char {
        skipBlanks();
        return i < text.size() ? text[i] : '\0';
    };

    PlainNumber number;
    if (peek() == '+') {
        ++i;
    } else if (peek() == '-') {
        ++i;
        number.setNegative();
    }
    while (isDigit(peek())) {
        number.integerDigit(text[i++]);
    }
    if (peek() == '.') {
        ++i;
        number.point();
        while (isDigit(peek())) {
            number.fractionDigit(text[i++]);
        }
    }
    if (!number.hasDigits()) {
        return 0.0;
    }
    if (peek() == 'E' || peek() == 'e') {
        // The exponent counts only when digits follow; otherwise the number
        // ends before the letter.
        ++i;
        bool negative = false;
        if (peek() == '+' || peek() == '-') {
            negative = text[i] == '-';
            ++i;
        }
        std::string digits;
        while (isDigit(peek())) {
            digits.push_back(text[i++]);
        }
        if (!digits.empty()) {
            number.exponent(negative, digits);
        }
    }
    return number.value<double>();
}

StrictValue parseStrict(std::string_view text, const NumberFormat& format) {
    const std::optional<PlainNumber> number = scanRegional(text, format);
    if (!number) {
        return {StrictStatus::NotANumber, 0.0f};
    }
    // The range is judged on the value as read in double precision; within it
    // the text is rounded straight to the nearest single, not through a double.
    const double wide = number->value<double>();
    if (!(std::fabs(wide) <= double(FLT_MAX))) {
        return {StrictStatus::OutOfRange, 0.0f};
    }
    return {StrictStatus::Ok, number->value<float>()};
}

double readLenient(std::string_view text, const NumberFormat& format) {
    if (const std::optional<PlainNumber> number = scanRegional(text, format)) {
        return number->value<double>();
    }
    return parseLenient(text);
}

std::string formatFixed2(double value, const NumberFormat& format) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value < 0 ? format.negative + "Infinity" : "Infinity");
    }
    const double magnitude = std::fabs(value);

    // Cents as decimal digits, at least three of them ("0.05" is "005").
    std::array<char, 400> buffer{};
    std::string_view cents;
    std::string tie;
    // A value lies exactly halfway between two cents only when eight times it is
    // an odd whole number (x.125, x.375, x.625, x.875). to_chars would round such
    // a tie to even; the cent is taken away from zero instead.
    const double eighths = magnitude * 8.0;
    if (magnitude < 0x1p50 && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) == 1.0) {
        tie = std::to_string((25 * std::uint64_t(eighths) + 1) / 2);
        cents = tie;
    } else {
        const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                          std::chars_format::fixed, 2);
        // "123.45" → "12345"
        char* point = result.ptr - 3;
        point[0] = point[1];
        point[1] = point[2];
        cents = std::string_view(buffer.data(), std::size_t(result.ptr - 1 - buffer.data()));
    }
    std::string padded;
    if (cents.size() < 3) {
        padded = std::string(3 - cents.size(), '0') + std::string(cents);
        cents = padded;
    }
    const bool zero = cents.find_first_not_of('0') == std::string_view::npos;

    std::string out;
    if (std::signbit(value) && !zero) {
        out = format.negative;
    }
    appendGrouped(out, cents.substr(0, cents.size() - 2), format);
    out.append(format.decimal);
    out.append(cents.substr(cents.size() - 2));
    return out;
}

std::string formatSingle(float value, const NumberFormat& format) {
    if (value == 0.0f) {
        return "0"; // negative zero too
    }
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    }
    // The exact decimal expansion of a single has at most 112 significant
    // digits, so 120 digits after the first hold it whole, and the digit after
    // the seventh decides the rounding: 5 or more rounds away from zero.
    std::array<char, 160> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(),
                                      std::fabs(double(value)), std::chars_format::scientific, 120);
    const std::string_view exact(buffer.data(), std::size_t(result.ptr - buffer.data()));
    const std::size_t e = exact.find('e');
    int exponent = 0;
    std::from_chars(exact.data() + e + (exact[e + 1] == '+' ? 2 : 1), exact.data() + exact.size(),
                    exponent);

    // "d.ddd…" → the first eight significant digits.
    std::string digits;
    digits.push_back(exact[0]);
    digits.append(exact.substr(2, 7));
    const bool up = digits[7] >= '5';
    digits.resize(7);
    if (up) {
        int i = 6;
        while (i >= 0 && digits[std::size_t(i)] == '9') {
            digits[std::size_t(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++digits[std::size_t(i)];
        } else {
            digits = "1000000";
            ++exponent;
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string out;
    if (value < 0) {
        out.push_back('-');
    }
    if (exponent >= 7 || exponent < -4) {
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
    } else if (exponent >= 0) {
        const std::size_t integerDigits = std::size_t(exponent) + 1;
        if (digits.size() <= integerDigits) {
            out.append(digits);
            out.append(integerDigits - digits.size(), '0');
        } else {
            out.append(digits, 0, integerDigits);
            out.append(format.decimal);
            out.append(digits, integerDigits);
        }
    } else {
        out.push_back('0');
        out.append(format.decimal);
        out.append(std::size_t(-exponent - 1), '0');
        out.append(digits);
    }
    return out;
}

} // namespace calc
