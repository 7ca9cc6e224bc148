// The digits of a figure, in one place for every writer of the program: the
// sheet's fields (calc/conversions.h), the report's figures (report/numbers.h)
// and the JGJ 55-2011 design's rounded figures (jgj55/rounding.h).
//
// A figure goes through three steps, each done here and nowhere else:
// - its digits: the shortest decimal that reads back as a double (what a
//   design file holds, "a value as written"), or every digit of the binary
//   value (what the classic writer rounds);
// - rounding half away from zero (half up on the magnitude) at a decimal
//   place or to a count of significant digits, carrying through the nines;
// - laying the digits out: plain ("0.0005", "2400") or in the general form of
//   seven digits ("1.234568E+07").
//
// Exact is a rational number for the design rules that round "half up on the
// decimal value": products, quotients, sums and differences of decimal
// figures computed without any binary rounding, so that 237.5 × 0.68 is
// 161.5 and rounds to 162.
//
//     const Digits d = calc::decimal::shortest(38.225);         // 38225 × 10^-3
//     const Digits r = calc::decimal::roundedAt(d, -1);         // 3823 × 10^-1
//     std::string text = calc::decimal::plainLayout(r, ".");    // "38.3"
//
//     const Exact water = Exact::of(237.5) * (Exact(1) - Exact::of(0.32)); // 161.5
//     const double mw0 = water.rounded(0).toDouble();                        // 162
//
// Standard C++; the digits of a double are those of calc/plainnumbers.h.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calc::decimal {

// A decimal number: ±digits × 10^exponent. `digits` has no leading zeros and
// is empty for zero; trailing zeros may stand in it ("2400" × 10^0).
struct Digits {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool zero() const { return digits.empty(); }
    // The power of ten of the first digit: 1 for 38.2, -2 for 0.05.
    // Meaningless for zero.
    int leading() const { return exponent + static_cast<int>(digits.size()) - 1; }

    friend bool operator==(const Digits&, const Digits&) = default;
};

// ---- Digits of a double -------------------------------------------------------

// The shortest decimal that reads back as `value` (std::to_chars without a
// precision): 0.1 is 1 × 10^-1, not the binary number just above it. `value`
// must be finite.
Digits shortest(double value);

// Every digit of the binary value of `value`: 0.1 is
// 1000000000000000055511151231257827021181583404541015625 × 10^-55. A single
// widened to a double has the same digits. `value` must be finite.
Digits exact(double value);

// ---- Rounding half away from zero ---------------------------------------------

// `d` rounded to a multiple of 10^exponent (-2 for hundredths, 0 for whole
// units), half away from zero: 0.125 at -2 is 0.13, -2.5 at 0 is -3, 9.995 at
// -2 is 10.00. The result's exponent is `exponent` (its digits may end in
// zeros), or d's own when d is already that coarse. The sign stays, zero or not.
Digits roundedAt(Digits d, int exponent);

// `d` rounded to `count` significant digits (count ≥ 1), half away from zero,
// trailing zeros dropped: 9999999.5 to 7 is 1000000 × 10^1.
Digits roundedToSignificant(Digits d, int count);

// Adds one in the last place of a run of decimal digits, carrying through the
// nines ("0999" → "1000"). Returns true when the carry ran out of digits and a
// "1" was put in front ("999" → "1000").
bool addOneInTheLastPlace(std::string& digits);

// ---- Laying digits out ---------------------------------------------------------

// The magnitude's digits down to the place 10^exponent, with at least one
// digit before that place's point: 123.45 at -2 is "12345", 0.05 at -2 is
// "005", 2.4 × 10^3 at 0 is "2400". Digits below the place are cut, not
// rounded: round first.
std::string digitsDownTo(const Digits& d, int exponent);

// The magnitude written without exponent, `point` between the whole and the
// fraction digits, as many fraction digits as d's exponent asks for:
// "1234.5", "0.0005", "2400", "12.30"; "0" for zero. No sign.
std::string plainLayout(const Digits& d, std::string_view point);

// The general form of the classic writer for digits already rounded to at
// most seven significant ones: the exponent form "1.234568E+07", "1E-05" from
// 10^7 on and below 10^-4, else the plain form; a leading "-" when negative.
// "0" for zero.
std::string generalLayout(const Digits& d, std::string_view point);

// ---- Exact arithmetic ------------------------------------------------------------

// A whole number of any size, for Exact.
class Natural {
public:
    Natural() = default;
    explicit Natural(std::uint64_t value);
    // From decimal digits ("" is zero).
    static Natural fromDigits(std::string_view digits);
    static Natural powerOfTen(int n); // n ≥ 0

    bool zero() const { return m_limbs.empty(); }
    int bitLength() const;
    bool bit(int index) const;
    // The lowest 64 bits.
    std::uint64_t low64() const;
    // The decimal digits, no leading zeros; empty for zero.
    std::string digits() const;

    Natural& operator+=(const Natural& other);
    Natural& operator-=(const Natural& other); // other must not exceed *this
    friend Natural operator+(Natural a, const Natural& b) { return a += b; }
    friend Natural operator-(Natural a, const Natural& b) { return a -= b; }
    friend Natural operator*(const Natural& a, const Natural& b);
    Natural shiftedLeft(int bits) const;

    // The quotient and remainder of a / b; b must not be zero.
    static std::pair<Natural, Natural> divide(const Natural& a, const Natural& b);

    friend std::strong_ordering operator<=>(const Natural& a, const Natural& b);
    friend bool operator==(const Natural&, const Natural&) = default;

private:
    void trim();
    std::vector<std::uint32_t> m_limbs; // least significant first, no zero on top
};

// A rational number held exactly: a sign, a numerator and a denominator of
// any size. Nothing is ever rounded until asked for.
class Exact {
public:
    Exact() = default;
    Exact(long long whole); // NOLINT(google-explicit-constructor): 1 − β reads as written
    // `units` × 10^-places: hundredths(93) is scaled(93, 2) = 0.93.
    static Exact scaled(long long units, int places);
    static Exact of(const Digits& d);
    // The value as written: the shortest decimal that reads back as `value`
    // (0.1 is one tenth). `value` must be finite.
    static Exact of(double value);

    friend Exact operator+(const Exact& a, const Exact& b);
    friend Exact operator-(const Exact& a, const Exact& b);
    friend Exact operator*(const Exact& a, const Exact& b);
    // b must not be zero.
    friend Exact operator/(const Exact& a, const Exact& b);
    Exact operator-() const;

    friend std::strong_ordering operator<=>(const Exact& a, const Exact& b);
    friend bool operator==(const Exact& a, const Exact& b) { return (a <=> b) == 0; }

    int sign() const { return m_numerator.zero() ? 0 : (m_negative ? -1 : 1); }

    // The value rounded half away from zero to a multiple of 10^exponent,
    // decided exactly: a quotient such as 175 / 0.56 = 312.5 is a tie, and
    // 178 / 0.52 = 342.307… is decided by its remainder, not by a digit.
    Digits roundedAt(int exponent) const;
    // The same, as an Exact: the figure a later step computes with.
    Exact rounded(int exponent) const { return of(roundedAt(exponent)); }

    // The double nearest the value (ties to even); ±infinity beyond the
    // double range.
    double toDouble() const;

private:
    bool m_negative = false;
    Natural m_numerator;
    Natural m_denominator{1};
};

// The double nearest `d` (ties to even), ±infinity beyond the range.
double toDouble(const Digits& d);

} // namespace calc::decimal
