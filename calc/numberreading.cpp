// Reading a number from the text of a field: parseLenient, parseStrict and
// readLenient.
//
// Each reader spells the number it finds in one plain ASCII form ("-",
// digits, ".", digits, "e", sign, digits), whatever symbols the text used, so
// that std::from_chars sees that form only. The regional syntax is taken apart
// by scanNumber (calc/numberscan.h).
#include "calc/conversions.h"
#include "calc/numberscan.h"
#include "calc/plainnumbers.h"

#include <cassert>
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

// ---- Clinger's fast path ------------------------------------------------
//
// W. D. Clinger, "How to read floating point numbers accurately" (1990), and
// fast_float after it: when the significant digits form a whole number w that
// T holds exactly (w ≤ 2^53 for a double, 2^24 for a single) and 10^p is
// exact in T as well (|p| ≤ 22 for a double, 10 for a single), then w × 10^p,
// or w ÷ 10^−p, is a single IEEE operation on exact operands. It is rounded
// once, so its result is the correctly rounded value of the text.
//
// That holds only while the processor rounds to nearest, the IEEE default.
// Nothing in the program changes the rounding mode, and every stage's own
// arithmetic rests on the same assumption, so the path does not test the
// mode at run time; debug builds assert it.
//
// Every number the sheet itself writes ("0.36", "346.15", "1206.731") takes
// this path; the others go to from_chars, which costs about a third more
// (README, Performance).
template <typename T> struct Clinger;
template <> struct Clinger<double> {
    static constexpr std::uint64_t maxWhole = std::uint64_t{1} << 53;
    static constexpr std::int64_t maxPower = 22;
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
};
template <> struct Clinger<float> {
    static constexpr std::uint64_t maxWhole = std::uint64_t{1} << 24;
    static constexpr std::int64_t maxPower = 10;
    static constexpr float powers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                       1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
};

// The test fast_float makes: 1 + tiny and 1 − tiny round to the same value
// only under round-to-nearest. The volatile keeps the compiler from folding it.
[[maybe_unused]] bool roundsToNearest() {
    static volatile float tiny = FLT_MIN;
    const float t = tiny;
    return t + 1.0f == 1.0f - t;
}

// A decimal number as the readers find it: views of its digits in the text,
// its significant digits as a whole number while they fit (for Clinger's fast
// path), and where its first significant digit stands (to tell an overflow
// from an underflow when from_chars cannot represent the value). Its plain
// ASCII spelling for from_chars is written only when the fast path cannot
// take the number.
// Members in the order a number is read; one such object lives on the stack per read.
// NOLINTNEXTLINE(clang-analyzer-optin.performance.Padding)
class PlainNumber {
public:
    // The integer part may hold `groupSymbol` between its digits; it is
    // skipped. `fraction` and `exponentDigits` hold digits only.
    // The parts in the order they stand in the text.
    // NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
    PlainNumber(bool negative, std::string_view integer, std::string_view groupSymbol, bool point,
                std::string_view fraction, bool exponentNegative, std::string_view exponentDigits,
                bool hasExponent)
        : m_negative(negative), m_integer(integer), m_groupSymbol(groupSymbol), m_point(point),
          m_fraction(fraction), m_exponentNegative(exponentNegative),
          m_exponentDigits(exponentDigits), m_hasExponent(hasExponent) {
        // Counted in locals: the compiler cannot keep members in registers
        // while it reads characters, which may alias them.
        Digits digits;
        forEachIntegerDigit([&digits](char c) {
            digits.note(c);
            ++digits.integer;
            if (digits.seenNonZero) {
                ++digits.integerFromFirst;
            }
        });
        for (const char c : fraction) {
            if (!digits.seenNonZero && c == '0') {
                ++digits.leadingFractionZeros;
            }
            digits.note(c);
        }
        std::int64_t exponent = 0;
        if (hasExponent) {
            for (const char c : exponentDigits) {
                // Saturate: any exponent beyond a billion over- or underflows anyway.
                if (exponent < 1'000'000'000) {
                    exponent = exponent * 10 + (c - '0');
                }
            }
            if (exponentNegative) {
                exponent = -exponent;
            }
        }
        m_integerDigits = digits.integer;
        m_seenNonZero = digits.seenNonZero;
        m_integerDigitsFromFirst = digits.integerFromFirst;
        m_leadingFractionZeros = digits.leadingFractionZeros;
        m_fractionDigits = static_cast<std::int64_t>(fraction.size());
        m_exponent = exponent;
        m_whole = digits.whole;
        m_wholeTooLong = digits.wholeTooLong;
    }

    // The number rounded to the nearest T (ties to even); ±infinity beyond
    // T's range and ±0 below it.
    template <typename T> T value() const {
        const std::int64_t power = m_exponent - m_fractionDigits;
        if (!m_wholeTooLong && m_whole <= Clinger<T>::maxWhole && power >= -Clinger<T>::maxPower &&
            power <= Clinger<T>::maxPower) {
            assert(roundsToNearest());
            const auto whole = static_cast<T>(m_whole);
            const T magnitude =
                power >= 0 ? whole * Clinger<T>::powers[power] : whole / Clinger<T>::powers[-power];
            return m_negative ? -magnitude : magnitude;
        }
        T result{};
        const std::string text = spelled();
        const char* first = text.data();
        const auto [end, ec] = readPlainNumber(first, first + text.size(), result);
        if (ec == std::errc::result_out_of_range) {
            result = tooLarge() ? std::numeric_limits<T>::infinity() : T(0);
            return m_negative ? -result : result;
        }
        return result;
    }

private:
    // "-", digits, ".", digits, "e", "-", digits: the form from_chars reads.
    std::string spelled() const {
        std::string text;
        text.reserve(m_integer.size() + m_fraction.size() + m_exponentDigits.size() + 5);
        if (m_negative) {
            text.push_back('-');
        }
        forEachIntegerDigit([&text](char c) { text.push_back(c); });
        if (m_point) {
            if (m_integerDigits == 0) {
                text.push_back('0'); // from_chars wants a digit before the point
            }
            text.push_back('.');
            text.append(m_fraction);
        }
        if (m_hasExponent) {
            text.push_back('e');
            if (m_exponentNegative) {
                text.push_back('-');
            }
            text.append(m_exponentDigits);
        }
        return text;
    }
    // Calls f(c) for each digit of the integer part, most significant first.
    template <typename F> void forEachIntegerDigit(F&& f) const {
        if (m_groupSymbol.empty()) {
            for (const char c : m_integer) {
                f(c);
            }
            return;
        }
        std::string_view rest = m_integer;
        while (!rest.empty()) {
            if (isDigit(rest.front())) {
                f(rest.front());
                rest.remove_prefix(1);
            } else {
                rest.remove_prefix(m_groupSymbol.size());
            }
        }
    }
    struct Digits {
        std::size_t integer = 0;
        bool seenNonZero = false;
        std::int64_t integerFromFirst = 0;
        std::int64_t leadingFractionZeros = 0;
        std::uint64_t whole = 0; // the significant digits as a whole number
        int wholeDigits = 0;
        bool wholeTooLong = false;

        void note(char c) {
            if (c != '0') {
                seenNonZero = true;
            }
            if (!seenNonZero) {
                return;
            }
            if (++wholeDigits > 18) {
                wholeTooLong = true;
            } else {
                whole = whole * 10 + std::uint64_t(c - '0');
            }
        }
    };

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

    bool m_negative;
    std::string_view m_integer;
    std::string_view m_groupSymbol;
    bool m_point;
    std::string_view m_fraction;
    bool m_exponentNegative;
    std::string_view m_exponentDigits;
    bool m_hasExponent;
    std::size_t m_integerDigits = 0;
    bool m_seenNonZero = false;
    std::int64_t m_integerDigitsFromFirst = 0;
    std::int64_t m_leadingFractionZeros = 0;
    std::int64_t m_fractionDigits = 0;
    std::int64_t m_exponent = 0;
    std::uint64_t m_whole = 0; // the significant digits as a whole number
    bool m_wholeTooLong = false;
};

// ---- the regional reading ---------------------------------------------------

// The number that fills the whole text in the regional format; nothing for
// any other text.
std::optional<PlainNumber> scanRegional(std::string_view text, const NumberFormat& format) {
    const std::optional<NumberParts> parts = scanNumber(text, format);
    if (!parts) {
        return std::nullopt;
    }
    // Without a grouping symbol in it, the integer part is digits only.
    return PlainNumber(parts->negative(), parts->integer,
                       parts->grouped ? parts->groupSymbol : std::string_view{}, parts->point,
                       parts->fraction, parts->exponentNegative, parts->exponentDigits,
                       !parts->exponent.empty());
}

// ---- the lenient reading ------------------------------------------------------

// Walks a text in which blanks, tabs and line feeds do not count.
class BlankBlindCursor {
public:
    explicit BlankBlindCursor(std::string_view text) : m_text(text) {}

    char peek() {
        while (m_i < m_text.size() &&
               (m_text[m_i] == ' ' || m_text[m_i] == '\t' || m_text[m_i] == '\n')) {
            ++m_i;
        }
        return m_i < m_text.size() ? m_text[m_i] : '\0';
    }
    char next() {
        const char c = peek();
        ++m_i;
        return c;
    }

private:
    std::string_view m_text;
    std::size_t m_i = 0;
};

} // namespace

double parseLenient(std::string_view text) {
    // The blanks may stand between the digits, so the digits are gathered
    // first and read as one number afterwards.
    BlankBlindCursor cursor(text);
    bool negative = false;
    if (cursor.peek() == '+') {
        cursor.next();
    } else if (cursor.peek() == '-') {
        cursor.next();
        negative = true;
    }
    std::string integer;
    while (isDigit(cursor.peek())) {
        integer.push_back(cursor.next());
    }
    bool point = false;
    std::string fraction;
    if (cursor.peek() == '.') {
        cursor.next();
        point = true;
        while (isDigit(cursor.peek())) {
            fraction.push_back(cursor.next());
        }
    }
    if (integer.empty() && fraction.empty()) {
        return 0.0;
    }
    bool exponentNegative = false;
    std::string exponentDigits;
    if (cursor.peek() == 'E' || cursor.peek() == 'e') {
        // The exponent counts only when digits follow; otherwise the number
        // ends before the letter.
        cursor.next();
        exponentNegative = cursor.peek() == '-';
        if (cursor.peek() == '+' || exponentNegative) {
            cursor.next();
        }
        while (isDigit(cursor.peek())) {
            exponentDigits.push_back(cursor.next());
        }
    }
    const PlainNumber number(negative, integer, {}, point, fraction, exponentNegative,
                             exponentDigits, !exponentDigits.empty());
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

} // namespace calc
