// The decimal layer: the digits of a double, rounding half away from zero
// with its carry, and the exact arithmetic the JGJ 55-2011 design rounds.
#include "calc/decimal.h"
#include "calc/plainnumbers.h"
#include "tests/case_names.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using calc::decimal::Digits;
using calc::decimal::Exact;
using calc::testing::namedBy;

Digits digitsOf(const char* digits, int exponent, bool negative = false) {
    return {.negative = negative, .digits = digits, .exponent = exponent};
}

// The digits of the binary value as glibc's printf writes them, trailing
// zeros dropped: another way to the same expansion.
Digits printfExpansion(double value) {
    std::vector<char> buffer(1200);
    std::snprintf(buffer.data(), buffer.size(), "%.800e", std::fabs(value));
    const std::string text(buffer.data());
    const std::size_t e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    int exponent = std::stoi(text.substr(e + 1)) - 800;
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    return {.negative = std::signbit(value), .digits = digits, .exponent = exponent};
}

// Every digit of a double: all bit patterns, subnormals and the largest
// included, where the precision asked of the writer must be enough.
TEST(DecimalDigits, ExactIsTheFullExpansionOfTheBinaryValue) {
    std::vector<double> values = {0.1,
                                  1234.567,
                                  std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::min(),
                                  std::nextafter(std::numeric_limits<double>::min(), 0.0),
                                  std::numeric_limits<double>::max(),
                                  0x1p-1022 * 0x1.fffffffffffffp0,
                                  -0x1.8p-1070};
    std::mt19937_64 random(3);
    for (int i = 0; i < 3000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value) && value != 0.0) {
            values.push_back(value);
        }
    }
    for (const double value : values) {
        EXPECT_EQ(calc::decimal::exact(value), printfExpansion(value)) << std::hexfloat << value;
    }
    EXPECT_EQ(calc::decimal::exact(0.1).digits.size(), 55u);
}

TEST(DecimalDigits, ShortestIsWhatReadsBack) {
    EXPECT_EQ(calc::decimal::shortest(0.1), digitsOf("1", -1));
    EXPECT_EQ(calc::decimal::shortest(-38.225), digitsOf("38225", -3, true));
    EXPECT_EQ(calc::decimal::shortest(2400), digitsOf("2400", 0));
    EXPECT_EQ(calc::decimal::shortest(1e-7), digitsOf("1", -7));
    EXPECT_EQ(calc::decimal::shortest(1.5e300), digitsOf("15", 299));
    EXPECT_TRUE(calc::decimal::shortest(0.0).zero());
}

// ---- Rounding half away from zero ------------------------------------------------

struct RoundingCase {
    const char* name;
    Digits in;
    int exponent;
    Digits out;
};

class DecimalRounding : public testing::TestWithParam<RoundingCase> {};

TEST_P(DecimalRounding, RoundsHalfAwayFromZeroCarryingThroughNines) {
    const RoundingCase& c = GetParam();
    EXPECT_EQ(calc::decimal::roundedAt(c.in, c.exponent), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecimalRounding,
    testing::Values(RoundingCase{"tie_up", digitsOf("125", -3), -2, digitsOf("13", -2)},
                    RoundingCase{"below_tie", digitsOf("1249999", -7), -2, digitsOf("12", -2)},
                    RoundingCase{"negative_tie", digitsOf("25", -1, true), 0,
                                 digitsOf("3", 0, true)},
                    RoundingCase{"nines", digitsOf("9995", -3), -2, digitsOf("1000", -2)},
                    RoundingCase{"all_below_half", digitsOf("4", -3), -2, digitsOf("", -2)},
                    RoundingCase{"first_digit_decides", digitsOf("5", -3), -2, digitsOf("1", -2)},
                    RoundingCase{"already_coarse", digitsOf("24", 2), 0, digitsOf("24", 2)},
                    RoundingCase{"tens", digitsOf("1250", 0), 2, digitsOf("13", 2)}),
    namedBy([](const RoundingCase& c) { return std::string(c.name); }));

TEST(DecimalRounding, SignificantDigitsCarryIntoTheNextPower) {
    EXPECT_EQ(calc::decimal::roundedToSignificant(digitsOf("99999995", -1), 7), digitsOf("1", 7));
    EXPECT_EQ(calc::decimal::roundedToSignificant(digitsOf("12345649", -9), 7),
              digitsOf("1234565", -8));
    EXPECT_EQ(calc::decimal::roundedToSignificant(digitsOf("12300", 0), 7), digitsOf("123", 2));
}

TEST(DecimalLayout, PlainAndGeneralForms) {
    EXPECT_EQ(calc::decimal::plainLayout(digitsOf("5", -4), ","), "0,0005");
    EXPECT_EQ(calc::decimal::plainLayout(digitsOf("24", 2), "."), "2400");
    EXPECT_EQ(calc::decimal::plainLayout(digitsOf("1230", -2), "."), "12.30");
    EXPECT_EQ(calc::decimal::plainLayout(digitsOf("", 0), "."), "0");
    EXPECT_EQ(calc::decimal::digitsDownTo(digitsOf("5", -2), -2), "005");
    EXPECT_EQ(calc::decimal::generalLayout(digitsOf("1234568", 1), "."), "1.234568E+07");
    EXPECT_EQ(calc::decimal::generalLayout(digitsOf("1", -5, true), ","), "-1E-05");
    EXPECT_EQ(calc::decimal::generalLayout(digitsOf("9999999", -7), "."), "0.9999999");
    EXPECT_EQ(calc::decimal::generalLayout(digitsOf("123", -7), "."), "1.23E-05");
    EXPECT_EQ(calc::decimal::generalLayout(digitsOf("1", -4), "."), "0.0001");
    EXPECT_EQ(calc::decimal::generalLayout(digitsOf("9999999", 0), "."), "9999999");
}

// ---- Exact arithmetic -------------------------------------------------------------

// Ties of a product, a quotient and a sum of decimal figures, which binary
// arithmetic lands just below, and their neighbours a unit lower.
TEST(Exact, RoundsTheExactValueHalfUp) {
    struct Case {
        Exact value;
        int exponent;
        double rounded;
    };
    const Case cases[] = {
        {Exact::of(237.5) * (Exact(1) - Exact::of(0.32)), 0, 162},
        {Exact::of(237.5) * (Exact(1) - Exact::of(0.3201)), 0, 161},
        {Exact::of(175) / Exact::of(0.56), 0, 313},
        {Exact::of(174.99) / Exact::of(0.56), 0, 312},
        {Exact::of(178) / Exact::of(0.52), 0, 342}, // 342.307…
        {Exact::of(1.15) * Exact::of(61), -1, 70.2},
        {Exact::of(0.1) + Exact::of(0.2), -17, 0.3},
        {Exact(-5) / Exact(2), 0, -3},
        {Exact(2) / Exact(3), -2, 0.67},
        {Exact(1) / Exact(3), -2, 0.33},
        {Exact::scaled(125, 3), -2, 0.13},
        {Exact(1250), 2, 1300},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.value.rounded(c.exponent).toDouble(), c.rounded) << c.rounded;
    }
}

// Whole-number quotients p / q against the rule in integers: half away from
// zero is ⌊(2|p| + |q|) / 2|q|⌋ with the sign of p / q.
TEST(Exact, RoundsQuotientsAsIntegerArithmeticDoes) {
    std::mt19937_64 random(5);
    std::uniform_int_distribution<std::int64_t> numerators(-4'000'000'000'000, 4'000'000'000'000);
    std::uniform_int_distribution<std::int64_t> denominators(1, 2'000'000);
    std::uniform_int_distribution<std::int64_t> small(1, 16); // ties are frequent
    for (int i = 0; i < 20000; ++i) {
        const std::int64_t p = numerators(random);
        const std::int64_t q =
            (i % 4 < 2 ? small(random) : denominators(random)) * (i % 2 == 0 ? 1 : -1);
        const std::int64_t magnitude = (2 * std::abs(p) + std::abs(q)) / (2 * std::abs(q));
        const std::int64_t expected = (p < 0) != (q < 0) ? -magnitude : magnitude;
        const Digits rounded = (Exact(p) / Exact(q)).roundedAt(0);
        const std::string digits = rounded.zero() ? "0" : rounded.digits;
        EXPECT_EQ((rounded.negative ? "-" : "") + digits, std::to_string(expected))
            << p << " / " << q;
    }
}

TEST(Exact, ComparesAndSubtractsExactly) {
    EXPECT_EQ(Exact::of(0.1) + Exact::of(0.2), Exact::of(0.3));
    EXPECT_LT(Exact(1) / Exact(3), Exact::scaled(3333333333333334, 16));
    EXPECT_GT(Exact(-1) / Exact(3), Exact::scaled(-3333333333333334, 16));
    EXPECT_EQ((Exact(2) - Exact(5)).sign(), -1);
    EXPECT_EQ((Exact::of(0.7) - Exact::of(0.7)).sign(), 0);
}

// The double nearest an exact value, checked against division and reading,
// which IEEE arithmetic and from_chars round correctly.
TEST(Exact, ToDoubleIsTheNearestDouble) {
    std::mt19937_64 random(9);
    for (int i = 0; i < 5000; ++i) {
        const auto p = static_cast<std::int64_t>(random() >> 11); // below 2^53
        const auto q = static_cast<std::int64_t>((random() >> 11) | 1);
        EXPECT_EQ((Exact(p) / Exact(q)).toDouble(), double(p) / double(q)) << p << " / " << q;
    }
    for (int i = 0; i < 5000; ++i) {
        // A random run of digits at a random power of ten, subnormals and
        // beyond the range included.
        std::string digits = std::to_string(random() >> (random() % 60));
        digits.erase(0, digits.find_first_not_of('0'));
        const Digits d{.negative = i % 3 == 0,
                       .digits = digits,
                       .exponent = static_cast<int>(random() % 680) - 360};
        const std::string text = (d.negative ? "-" : "") + (d.zero() ? "0" : d.digits) + "e" +
                                 std::to_string(d.exponent);
        double read = 0;
        const auto [end, ec] = calc::readPlainNumber(text.data(), text.data() + text.size(), read);
        if (ec == std::errc{}) {
            EXPECT_EQ(Exact::of(d).toDouble(), read) << text;
            EXPECT_EQ(calc::decimal::toDouble(d), read) << text;
        }
    }
    // Halfway between two doubles goes to the even one; a hair above, up.
    const std::pair<double, double> ties[] = {
        {1.0, 1.0},
        {0x1.0000000000001p0, 0x1.0000000000002p0},
        {0x1p-1074, 0x1p-1073},
        {0x1.ffffffffffffep1023, 0x1.ffffffffffffep1023},
    };
    for (const auto& [low, even] : ties) {
        const Exact half = (Exact::of(calc::decimal::exact(low)) +
                            Exact::of(calc::decimal::exact(std::nextafter(low, HUGE_VAL)))) /
                           Exact(2);
        EXPECT_EQ(half.toDouble(), even) << std::hexfloat << low;
        EXPECT_EQ((half + half * Exact::scaled(1, 30)).toDouble(), std::nextafter(low, HUGE_VAL))
            << std::hexfloat << low;
    }
    EXPECT_EQ(Exact::scaled(1, 400).toDouble(), 0.0);
    EXPECT_EQ(Exact::scaled(1, -400).toDouble(), HUGE_VAL);
}

} // namespace
