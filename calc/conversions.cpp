#include "calc/conversions.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace calc {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Powers of ten that are exact in each precision, for the fast path below.
constexpr double kExactPowersDouble[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr float kExactPowersSingle[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                        1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

template <typename T> struct FastPath;
template <> struct FastPath<double> {
    static constexpr std::uint64_t maxMantissa = std::uint64_t{1} << 53;
    static constexpr std::int64_t maxPower = 22;
    static double power(std::int64_t e) { return kExactPowersDouble[e]; }
};
template <> struct FastPath<float> {
    static constexpr std::uint64_t maxMantissa = std::uint64_t{1} << 24;
    static constexpr std::int64_t maxPower = 10;
    static float power(std::int64_t e) { return kExactPowersSingle[e]; }
};

// A decimal number spelt in plain ASCII: "-", digits, ".", digits, "e", sign,
// digits. Built by the readers below from whatever symbols the text used, so
// that from_chars sees one form only. Remembers where its first significant
// digit stands, to tell an overflow from an underflow when from_chars cannot
// represent the value, and the digits as a whole number while they fit, for
// the exact fast path that short numbers (all the sheet's own) take.
class PlainNumber {
public:
    void setNegative() {
        m_negative = true;
        m_text.push_back('-');
    }
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
        ++m_fractionDigits;
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

    // The number rounded to the nearest T (ties to even); ±infinity beyond
    // T's range and ±0 below it.
    template <typename T> T value() const {
        // A whole number of at most 24 (53) bits and a power of ten that is
        // exact in T: one multiplication or division, rounded once, gives the
        // correctly rounded result.
        const std::int64_t power = m_exponent - m_fractionDigits;
        if (!m_mantissaTooLong && m_mantissa <= FastPath<T>::maxMantissa &&
            power >= -FastPath<T>::maxPower && power <= FastPath<T>::maxPower) {
            const T whole = static_cast<T>(m_mantissa);
            const T magnitude =
                power >= 0 ? whole * FastPath<T>::power(power) : whole / FastPath<T>::power(-power);
            return m_negative ? -magnitude : magnitude;
        }
        T result{};
        const char* first = m_text.data();
        const char* last = first + m_text.size();
        const auto [end, ec] = std::from_chars(first, last, result);
        if (ec == std::errc::result_out_of_range) {
            result = tooLarge() ? std::numeric_limits<T>::infinity() : T(0);
            return m_negative ? -result : result;
        }
        return result;
    }

private:
    void noteDigit(char c) {
        ++m_digits;
        if (c != '0') {
            m_seenNonZero = true;
        }
        if (m_seenNonZero) {
            if (++m_mantissaDigits > 18) {
                m_mantissaTooLong = true;
            } else {
                m_mantissa = m_mantissa * 10 + std::uint64_t(c - '0');
            }
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

    // The ASCII spelling, kept inline for the short numbers a sheet holds.
    class Spelling {
    public:
        void push_back(char c) {
            if (m_size < m_inline.size()) {
                m_inline[m_size] = c;
            } else {
                if (m_size == m_inline.size()) {
                    m_long.assign(m_inline.data(), m_size);
                }
                m_long.push_back(c);
            }
            ++m_size;
        }
        void append(std::string_view text) {
            for (char c : text) {
                push_back(c);
            }
        }
        const char* data() const {
            return m_size <= m_inline.size() ? m_inline.data() : m_long.data();
        }
        std::size_t size() const { return m_size; }

    private:
        std::array<char, 40> m_inline;
        std::size_t m_size = 0;
        std::string m_long;
    };

    Spelling m_text;
    bool m_negative = false;
    std::size_t m_digits = 0;
    bool m_seenNonZero = false;
    std::int64_t m_integerDigitsFromFirst = 0;
    std::int64_t m_leadingFractionZeros = 0;
    std::int64_t m_fractionDigits = 0;
    std::int64_t m_exponent = 0;
    std::uint64_t m_mantissa = 0; // the significant digits as a whole number
    int m_mantissaDigits = 0;
    bool m_mantissaTooLong = false;
};

// Whether the text begins with the symbol (never with an empty one); the first
// byte is compared before the rest, since most calls meet a digit.
bool startsWith(std::string_view text, std::string_view symbol) {
    return !symbol.empty() && !text.empty() && text.front() == symbol.front() &&
           text.starts_with(symbol);
}

// Reads the number that fills the whole text in the regional format into
// `number`, or returns false. Grouping symbols are allowed only between whole
// groups of the integer part ("1,234.50"); "0,36", "12,34" and "1,2,3" are not
// numbers, so that a decimal comma typed under "." settings is never read as
// a thousand.
bool scanRegional(std::string_view text, const NumberFormat& format, PlainNumber& number) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    auto take = [&text](std::string_view symbol) {
        if (startsWith(text, symbol)) {
            text.remove_prefix(symbol.size());
            return true;
        }
        return false;
    };

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
        } else if (grouping && startsWith(text, format.group) &&
                   !startsWith(text, format.decimal)) {
            const bool firstGroupOk =
                groups > 0 ||
                (groupLength >= 1 && groupLength <= std::size_t(format.groupSize) && !leadingZero);
            const bool laterGroupOk = groups == 0 || groupLength == std::size_t(format.groupSize);
            if (!firstGroupOk || !laterGroupOk) {
                return false;
            }
            text.remove_prefix(format.group.size());
            ++groups;
            groupLength = 0;
        } else {
            break;
        }
    }
    if (groups > 0 && groupLength != std::size_t(format.groupSize)) {
        return false;
    }

    if (take(format.decimal)) {
        number.point();
        while (!text.empty() && isDigit(text.front())) {
            number.fractionDigit(text.front());
            text.remove_prefix(1);
        }
    }
    if (!number.hasDigits()) {
        return false;
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
            return false;
        }
        number.exponent(negative, text.substr(0, n));
        text.remove_prefix(n);
    }
    if (!text.empty()) {
        return false;
    }
    return true;
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

// Extended precision (64 significand bits) holds a double times 100 and a
// single times 10^k (k ≤ 17) exactly, so a value can be scaled and rounded
// once, ties away from zero, by roundl. Where long double is no wider than
// double, the slower exact routes below are taken instead.
constexpr bool kExtendedIsExact = std::numeric_limits<long double>::digits >= 64;

constexpr long double kPowersOfTenExtended[] = {1e0L,  1e1L,  1e2L,  1e3L,  1e4L,  1e5L,
                                                1e6L,  1e7L,  1e8L,  1e9L,  1e10L, 1e11L,
                                                1e12L, 1e13L, 1e14L, 1e15L, 1e16L, 1e17L};

struct SignificantDigits {
    std::string digits; // exactly seven
    int exponent;       // of the first digit
};

// The magnitude of a single rounded to seven significant digits, ties away
// from zero, with the decimal exponent of its first digit.
SignificantDigits sevenSignificantDigits(float magnitude) {
    if (kExtendedIsExact && magnitude >= 1e-10f && magnitude < 1e7f) {
        int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
        // log10 may be off by one next to a power of ten. The exact scaled
        // value, before rounding, tells: it must have seven digits before its
        // point. (Judging by the rounded value would let 999999.9 pass as
        // 1000000 and round a 9.999999E-05 to six digits.)
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
                    return {"1000000", exponent + 1};
                }
                return {std::to_string(static_cast<std::uint32_t>(rounded)), exponent};
            }
        }
    }

    // The exact decimal expansion: the digit after the seventh decides, 5 or
    // more rounding away from zero. A single is M × 2^E with M below 2^24,
    // whose expansion has at most 8 + 0.7·(−E) significant digits when E < 0
    // (M × 5^−E over a power of ten) and 8 + 0.31·E when E ≥ 0; asking
    // to_chars for that many keeps it exact.
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent);
    const int e = binaryExponent - 24;
    const int precision = 8 + (e < 0 ? (-e * 7 + 9) / 10 : (e * 31 + 99) / 100);
    std::array<char, 160> buffer;
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
    return {digits, exponent};
}

// The magnitude in cents, as decimal digits, rounded ties away from zero.
std::string centsOf(double magnitude) {
    if (kExtendedIsExact && magnitude < 9.0e16) {
        const long double cents = std::roundl(static_cast<long double>(magnitude) * 100.0L);
        return std::to_string(static_cast<std::uint64_t>(cents));
    }
    // A value lies exactly halfway between two cents only when eight times it
    // is an odd whole number (x.125, x.375, x.625, x.875). to_chars would round
    // such a tie to even; the cent is taken away from zero instead.
    const double eighths = magnitude * 8.0;
    if (magnitude < 0x1p50 && eighths == std::floor(eighths) && std::fmod(eighths, 2.0) == 1.0) {
        return std::to_string((25 * std::uint64_t(eighths) + 1) / 2);
    }
    std::array<char, 400> buffer;
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                      std::chars_format::fixed, 2);
    // "123.45" → "12345"
    std::string cents(buffer.data(), std::size_t(result.ptr - 3 - buffer.data()));
    cents.append(result.ptr - 2, 2);
    return cents;
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
    PlainNumber number;
    if (!scanRegional(text, format, number)) {
        return {StrictStatus::NotANumber, 0.0f};
    }
    // The range is judged on the value as read in double precision; within it
    // the text is rounded straight to the nearest single, not through a double.
    const double wide = number.value<double>();
    if (!(std::fabs(wide) <= double(FLT_MAX))) {
        return {StrictStatus::OutOfRange, 0.0f};
    }
    return {StrictStatus::Ok, number.value<float>()};
}

double readLenient(std::string_view text, const NumberFormat& format) {
    if (PlainNumber number; scanRegional(text, format, number)) {
        return number.value<double>();
    }
    return parseLenient(text);
}

std::string formatFixed2(double value, const NumberFormat& format) {
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value < 0 ? format.negative + "Infinity" : "Infinity");
    }
    const double magnitude = std::fabs(value);

    // Cents as decimal digits, at least three of them ("0.05" is "005").
    std::string cents = centsOf(magnitude);
    if (cents.size() < 3) {
        cents.insert(0, 3 - cents.size(), '0');
    }
    const bool zero = cents.find_first_not_of('0') == std::string_view::npos;

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

std::string formatSingle(float value, const NumberFormat& format) {
    if (value == 0.0f) {
        return "0"; // negative zero too
    }
    if (!std::isfinite(value)) {
        return std::isnan(value) ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
    }
    auto [digits, exponent] = sevenSignificantDigits(std::fabs(value));
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
