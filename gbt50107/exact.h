// Exact decimal arithmetic for the evaluation: every strength, mean and limit
// is a decimal, and a figure rounded "half up" is rounded on its decimal
// value, never on the nearest binary double. (33.1 + 35.2 + 34.0) / 3 is
// 34.1 exactly here, and a standard deviation is rounded by comparing
// squares of integers.
//
// A value is an integer count of units of 10^-places. Inputs are taken at
// their shortest round-trip decimal (the digits the user typed) and must lie
// below kLimit with at most kMaxPlaces decimals: within that, every sum,
// product and square the evaluation forms stays far inside 128 bits.
#pragma once

#include <optional>
#include <span>
#include <string>

namespace gbt50107::exact {

__extension__ typedef __int128 Int; // NOLINT(modernize-use-using): __extension__ needs typedef

inline constexpr int kMaxPlaces = 20;
inline constexpr double kLimit = 10000.0;

// units × 10^-places.
struct Decimal {
    Int units = 0;
    int places = 0;
};

// 10^n for 0 ≤ n ≤ 38.
Int pow10(int n);

// The decimal a double stands for: its shortest round-trip digits, without
// trailing zeros after the point. Nothing when it is not finite or beyond
// 10^30 in magnitude.
std::optional<Decimal> shortest(double value);

// The shortest decimal of an input: nothing also when it is not below
// kLimit in magnitude or has more than kMaxPlaces decimals.
std::optional<Decimal> fromDouble(double value);

// The decimal in plain ASCII ("-12.50"), with at least `minPlaces` decimals.
std::string text(const Decimal& d, int minPlaces);

// `d` in units of 10^-places (places ≥ d.places).
Int at(const Decimal& d, int places);

// The quotient rounded half away from zero; den > 0.
Int divideHalfUp(Int num, Int den);

// `d` rounded half away from zero to `places` decimals.
Decimal rounded(const Decimal& d, int places);

Decimal add(const Decimal& a, const Decimal& b);
Decimal subtract(const Decimal& a, const Decimal& b);
Decimal multiply(const Decimal& a, const Decimal& b);
// -1, 0 or 1 as a is less than, equal to or greater than b.
int compare(const Decimal& a, const Decimal& b);

// The double nearest the decimal.
double toDouble(const Decimal& d);

// The sample standard deviation of values given in units of 10^-places
// (√[(Σx² − (Σx)²/n) ÷ (n − 1)], with the exact mean), rounded half up to
// `outPlaces` (≥ places) decimals, in units of 10^-outPlaces. At least two
// values.
Int sampleDeviation(std::span<const Int> values, int places, int outPlaces);

} // namespace gbt50107::exact
