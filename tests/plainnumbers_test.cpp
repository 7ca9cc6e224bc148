// The plain number reader and writer under every conversion: its edge cases
// through the route this binary takes, and, where a build has both routes,
// the portable one (fast_float, {fmt}) held against the standard library's
// over millions of values.
#include "calc/plainnumbers.h"
#include "tests/case_names.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using calc::testing::namedBy;

template <typename T> std::uint64_t bitsOf(T value) {
    if constexpr (sizeof(T) == 4) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    } else {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        return bits;
    }
}

// ---- reading, through this binary's route ---------------------------------

struct ReadCase {
    const char* name;
    const char* text;
    std::errc error;
    double expected;     // when read without error
    std::size_t matched; // characters taken
};

class ReadPlainNumber : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadPlainNumber, ReadsAsFromCharsDoes) {
    const ReadCase& c = GetParam();
    const std::string text = c.text;
    const double untouched = 12345.0;
    double value = untouched;
    const auto [end, ec] = calc::readPlainNumber(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(ec, c.error);
    if (c.error == std::errc{}) {
        EXPECT_EQ(bitsOf(value), bitsOf(c.expected)) << value;
        EXPECT_EQ(std::size_t(end - text.data()), c.matched);
    } else {
        EXPECT_EQ(value, untouched) << "a failed reading changed the value";
    }
}

const ReadCase kReadCases[] = {
    {"Plain", "346.15", std::errc{}, 346.15, 6},
    {"NegativeZero", "-0", std::errc{}, -0.0, 2},
    {"StopsAtTheFirstOtherCharacter", "1.5kg", std::errc{}, 1.5, 3},
    {"Exponent", "1.2e-3", std::errc{}, 1.2e-3, 6},
    {"SmallestSubnormal", "4.9406564584124654e-324", std::errc{}, 4.9406564584124654e-324, 23},
    {"AboveHalfTheSmallestRoundsUp", "3e-324", std::errc{}, 4.9406564584124654e-324, 6},
    {"LongZeroIsStillZero", "0.000000000000000000000000000000000000000000000e-999", std::errc{},
     0.0, 52},
    {"Overflow", "1e400", std::errc::result_out_of_range, 0, 0},
    {"NegativeOverflow", "-2e308", std::errc::result_out_of_range, 0, 0},
    {"UnderflowToZero", "2e-324", std::errc::result_out_of_range, 0, 0},
    {"NoDigits", "-.e5", std::errc::invalid_argument, 0, 0},
    {"PlusSign", "+1", std::errc::invalid_argument, 0, 0},
    {"Empty", "", std::errc::invalid_argument, 0, 0},
};

INSTANTIATE_TEST_SUITE_P(Texts, ReadPlainNumber, testing::ValuesIn(kReadCases),
                         namedBy([](const ReadCase& c) { return c.name; }));

TEST(ReadPlainNumber, ReadsASingleStraightFromTheText) {
    // Read as a double and then narrowed, this text would round twice and
    // land on the other neighbour: 1 + 2^-24 + 2^-60 is just above the tie.
    const std::string text = "1.00000005960464477550343371987";
    float value = 0;
    calc::readPlainNumber(text.data(), text.data() + text.size(), value);
    EXPECT_EQ(value, std::nextafter(1.0f, 2.0f));

    const std::string tooLarge = "3.4028236e38"; // past the halfway point to 2^128
    float kept = 7.0f;
    EXPECT_EQ(calc::readPlainNumber(tooLarge.data(), tooLarge.data() + tooLarge.size(), kept).ec,
              std::errc::result_out_of_range);
    EXPECT_EQ(kept, 7.0f);
}

// ---- writing, through this binary's route ---------------------------------

struct WriteCase {
    const char* name;
    double value;
    std::chars_format format;
    int precision; // below zero: the shortest form, without a format
    const char* expected;
};

class WritePlainNumber : public testing::TestWithParam<WriteCase> {};

TEST_P(WritePlainNumber, WritesAsToCharsDoes) {
    const WriteCase& c = GetParam();
    std::array<char, 400> buffer{};
    char* const first = buffer.data();
    char* const last = first + buffer.size();
    const auto [end, ec] =
        c.precision < 0 ? calc::writePlainNumber(first, last, c.value)
                        : calc::writePlainNumber(first, last, c.value, c.format, c.precision);
    ASSERT_EQ(ec, std::errc{});
    EXPECT_EQ(std::string(first, end), c.expected);
}

constexpr auto kFixed = std::chars_format::fixed;
constexpr auto kScientific = std::chars_format::scientific;
constexpr auto kGeneral = std::chars_format::general;

const WriteCase kWriteCases[] = {
    {"ShortestFraction", 0.1, kGeneral, -1, "0.1"},
    {"ShortestWhole", 20.0, kGeneral, -1, "20"},
    {"ShortestNegativeZero", -0.0, kGeneral, -1, "-0"},
    {"ShortestPrefersScientificWhenShorter", 1e22, kGeneral, -1, "1e+22"},
    {"ShortestKeepsFixedOnATie", 1e4, kGeneral, -1, "10000"},
    {"ShortestSmallTakesTheExponentWhenShorter", 0.0001, kGeneral, -1, "1e-04"},
    {"ShortestSmallKeepsFixedOnATie", 0.001, kGeneral, -1, "0.001"},
    {"ShortestTiny", 1.5e-7, kGeneral, -1, "1.5e-07"},
    {"ShortestThreeDigitExponent", 5e-324, kGeneral, -1, "5e-324"},
    {"ShortestRoundTripsSeventeenDigits", 0.1 + 0.2, kGeneral, -1, "0.30000000000000004"},
    {"ShortestLargeWholeIsExact", 123456789012345683968.0, kGeneral, -1, "123456789012345683968"},
    {"FixedTwoRoundsTheBinaryValue", 2.675, kFixed, 2, "2.67"},
    {"FixedTwoRoundsUp", 2.0005, kFixed, 3, "2.001"},
    {"FixedNoDecimals", 0.5, kFixed, 0, "0"},
    {"FixedTwoOfAHugeValue", 1e20, kFixed, 2, "100000000000000000000.00"},
    {"ScientificExactDigits", 0.1, kScientific, 20, "1.00000000000000005551e-01"},
    {"ScientificCarries", 9.9999996, kScientific, 6, "1.000000e+01"},
    {"GeneralSevenDigits", 1234.5678, kGeneral, 7, "1234.568"},
    {"GeneralDropsTrailingZeros", 2.5, kGeneral, 7, "2.5"},
    {"GeneralTakesTheExponentForm", 12345678.0, kGeneral, 7, "1.234568e+07"},
    {"GeneralSmall", 0.00012345, kGeneral, 7, "0.00012345"},
    {"GeneralVerySmall", 0.000012345, kGeneral, 7, "1.2345e-05"},
};

INSTANTIATE_TEST_SUITE_P(Values, WritePlainNumber, testing::ValuesIn(kWriteCases),
                         namedBy([](const WriteCase& c) { return c.name; }));

TEST(WritePlainNumber, SaysWhenTheTextDoesNotFit) {
    std::array<char, 4> buffer{};
    const auto result =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), 1234.5, kFixed, 2);
    EXPECT_EQ(result.ec, std::errc::value_too_large);
    EXPECT_EQ(result.ptr, buffer.data() + buffer.size());
    const auto shortest =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), 0.30000000000000004);
    EXPECT_EQ(shortest.ec, std::errc::value_too_large);
}

// ---- the portable route against the standard one ---------------------------

#if LANSHI_STANDARD_PLAIN_NUMBERS && LANSHI_PORTABLE_PLAIN_NUMBERS

// Doubles where conversions go wrong: random bit patterns over the whole
// range, both neighbours of every power of two and of ten, whole numbers
// around 2^53 and beyond, the subnormals, and short decimals.
std::vector<double> awkwardDoubles() {
    std::vector<double> values;
    std::mt19937_64 random(19);
    for (int i = 0; i < 300000; ++i) {
        const std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (int e = -1074; e <= 1023; ++e) {
        const double power = std::ldexp(1.0, e);
        values.insert(values.end(),
                      {power, std::nextafter(power, 0.0), std::nextafter(power, INFINITY)});
    }
    for (int k = -323; k <= 308; ++k) {
        const double power = std::pow(10.0, k);
        values.insert(values.end(),
                      {power, std::nextafter(power, 0.0), std::nextafter(power, INFINITY)});
    }
    for (int i = 0; i < 20000; ++i) {
        values.push_back(std::ldexp(double(random() >> 11), int(random() % 40) + 1));
        values.push_back(double(std::int64_t(random() % 2000000) - 1000000) / 1000.0);
        values.push_back(double(float(std::uniform_real_distribution<double>(0, 5000)(random))));
    }
    values.insert(values.end(), {0.0, -0.0, std::numeric_limits<double>::max(),
                                 std::numeric_limits<double>::denorm_min()});
    return values;
}

template <typename Write> int countWriteMismatches(const std::vector<double>& values, Write write) {
    int mismatches = 0;
    std::array<char, 1200> a{};
    std::array<char, 1200> b{};
    for (const double value : values) {
        const auto standard = write(true, a.data(), a.data() + a.size(), value);
        const auto portable = write(false, b.data(), b.data() + b.size(), value);
        const std::string expected(a.data(), standard.ptr);
        const std::string written(b.data(), portable.ptr);
        if ((standard.ec != portable.ec || expected != written) && ++mismatches <= 10) {
            ADD_FAILURE() << std::hexfloat << value << ": " << written << " instead of "
                          << expected;
        }
    }
    return mismatches;
}

TEST(PortablePlainNumbers, WriteTheShortestFormAsTheStandardLibrary) {
    EXPECT_EQ(countWriteMismatches(awkwardDoubles(),
                                   [](bool standard, char* first, char* last, double value) {
                                       return standard
                                                  ? calc::detail::standardWrite(first, last, value)
                                                  : calc::detail::portableWrite(first, last, value);
                                   }),
              0);
}

struct PrecisionCase {
    const char* name;
    std::chars_format format;
    std::vector<int> precisions;
};

class PortablePrecision : public testing::TestWithParam<PrecisionCase> {};

TEST_P(PortablePrecision, WritesAsTheStandardLibrary) {
    std::vector<double> values = awkwardDoubles();
    values.resize(60000); // random patterns and powers of two; every precision below
    for (const int precision : GetParam().precisions) {
        SCOPED_TRACE(precision);
        const auto format = GetParam().format;
        EXPECT_EQ(countWriteMismatches(values,
                                       [&](bool standard, char* first, char* last, double value) {
                                           return standard
                                                      ? calc::detail::standardWrite(
                                                            first, last, value, format, precision)
                                                      : calc::detail::portableWrite(
                                                            first, last, value, format, precision);
                                       }),
                  0);
    }
}

const PrecisionCase kPrecisionCases[] = {
    {"Fixed", kFixed, {0, 1, 2, 3, 17}},
    {"Scientific", kScientific, {0, 6, 8, 16, 40, 120}},
    {"General", kGeneral, {1, 6, 7, 17}},
};

INSTANTIATE_TEST_SUITE_P(Formats, PortablePrecision, testing::ValuesIn(kPrecisionCases),
                         namedBy([](const PrecisionCase& c) { return c.name; }));

// Texts the readers see: the shortest and the long spellings of awkward
// doubles, and random decimals of up to 40 digits with exponents well past
// both ends of the range, read as doubles and as singles.
std::vector<std::string> awkwardTexts() {
    std::vector<std::string> texts;
    std::array<char, 64> buffer{};
    for (const double value : awkwardDoubles()) {
        const auto end = calc::detail::standardWrite(buffer.data(), buffer.data() + buffer.size(),
                                                     value, kScientific, 17)
                             .ptr;
        texts.emplace_back(buffer.data(), end);
        if (texts.size() % 4 == 0) {
            const auto shortest =
                calc::detail::standardWrite(buffer.data(), buffer.data() + buffer.size(), value)
                    .ptr;
            texts.emplace_back(buffer.data(), shortest);
        }
    }
    std::mt19937 random(23);
    for (int i = 0; i < 200000; ++i) {
        std::string text = random() % 2 ? "-" : "";
        const int digits = int(random() % 40) + 1;
        const int point = int(random() % std::uint32_t(digits + 1));
        for (int d = 0; d < digits; ++d) {
            if (d == point) {
                text.push_back('.');
            }
            text.push_back(char('0' + random() % 10));
        }
        text += "e" + std::to_string(int(random() % 720) - 360);
        texts.push_back(text);
    }
    return texts;
}

template <typename T> int countReadMismatches(const std::vector<std::string>& texts) {
    int mismatches = 0;
    for (const std::string& text : texts) {
        T standard = T(-1.25);
        T portable = T(-1.25);
        const auto a = calc::detail::standardRead(text.data(), text.data() + text.size(), standard);
        const auto b = calc::detail::portableRead(text.data(), text.data() + text.size(), portable);
        if ((a.ec != b.ec || a.ptr != b.ptr || bitsOf(standard) != bitsOf(portable)) &&
            ++mismatches <= 10) {
            ADD_FAILURE() << text << ": " << portable << " (" << int(b.ec) << ") instead of "
                          << standard << " (" << int(a.ec) << ")";
        }
    }
    return mismatches;
}

TEST(PortablePlainNumbers, ReadDoublesAndSinglesAsTheStandardLibrary) {
    const std::vector<std::string> texts = awkwardTexts();
    EXPECT_EQ(countReadMismatches<double>(texts), 0);
    EXPECT_EQ(countReadMismatches<float>(texts), 0);
}

#endif

} // namespace
