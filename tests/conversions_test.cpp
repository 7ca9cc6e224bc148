// The four conversions, under the usual settings and under other regional
// number formats: each row of a table names the format it holds under.
#include "calc/conversions.h"
#include "calc/numberscan.h"
#include "calc/roundingroute.h"
#include "tests/case_names.h"
#include "tests/reference_format.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using calc::formatFixed2;
using calc::formatSingle;
using calc::NumberFormat;
using calc::parseLenient;
using calc::parseStrict;
using calc::readLenient;
using calc::StrictStatus;
using calc::detail::RoundingRoute;
using calc::testing::namedBy;

const NumberFormat kUsual{};
const NumberFormat kGerman{",", ".", 3, "-"};
const NumberFormat kFrench{",", "\u202F", 3, "-"};     // narrow no-break space
const NumberFormat kSwiss{".", "\u2019", 3, "\u2212"}; // apostrophe, minus sign
const NumberFormat kNoGrouping{".", "", 0, "-"};
const NumberFormat kPairs{".", ",", 2, "-"};        // groups of two digits
const NumberFormat kCommaForBoth{",", ",", 3, "-"}; // a grouping symbol equal to the decimal one

const char* formatName(const NumberFormat* format) {
    if (format == &kGerman) {
        return "German";
    }
    if (format == &kFrench) {
        return "French";
    }
    if (format == &kSwiss) {
        return "Swiss";
    }
    if (format == &kNoGrouping) {
        return "NoGrouping";
    }
    if (format == &kPairs) {
        return "Pairs";
    }
    if (format == &kCommaForBoth) {
        return "CommaForBoth";
    }
    return "Usual";
}

// Both ways of rounding run on every build; only the extended one depends on
// the platform's long double.
constexpr RoundingRoute kRoutes[] = {RoundingRoute::Extended, RoundingRoute::Exact};

const char* routeName(RoundingRoute route) {
    return route == RoundingRoute::Extended ? "Extended" : "Exact";
}

} // namespace

// A failing row names its format and its rounding route.
namespace calc {
void PrintTo(const NumberFormat* format, std::ostream* os) {
    *os << formatName(format);
}
namespace detail {
void PrintTo(RoundingRoute route, std::ostream* os) {
    *os << routeName(route);
}
} // namespace detail
} // namespace calc

namespace {

// ---- parseLenient -------------------------------------------------------

struct LenientCase {
    const char* text;
    double expected;
};

void PrintTo(const LenientCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" -> " << c.expected;
}

class ParseLenient : public testing::TestWithParam<LenientCase> {};

TEST_P(ParseLenient, ReadsTheLeadingNumber) {
    const LenientCase& c = GetParam();
    EXPECT_EQ(parseLenient(c.text), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseLenient,
    testing::Values(LenientCase{"", 0.0}, LenientCase{"12 3.5kg", 123.5}, LenientCase{"abc", 0.0},
                    LenientCase{"1e3", 1000.0}, LenientCase{"0,36", 0.0},
                    LenientCase{"1,234.50", 1.0}, LenientCase{"-0.5", -0.5},
                    LenientCase{"   ", 0.0}, LenientCase{"\t1\n8 0", 180.0}, LenientCase{"+7", 7.0},
                    LenientCase{".5", 0.5}, LenientCase{"5.", 5.0}, LenientCase{"&H10", 0.0},
                    LenientCase{"0x10", 0.0}, LenientCase{"1e", 1.0}, LenientCase{"2E+", 2.0},
                    LenientCase{"2.5e-1x", 0.25}, LenientCase{"-", 0.0}, LenientCase{".", 0.0},
                    LenientCase{"1 e 3", 1000.0}, LenientCase{"\r5", 0.0},
                    LenientCase{"1e-400", 0.0}, LenientCase{"0.36", 0.36}),
    namedBy([](const LenientCase& c) { return std::string(c.text); }));

TEST(ParseLenient, BeyondTheDoubleRangeIsInfinite) {
    EXPECT_EQ(parseLenient("1e400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseLenient("-1e400"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseLenient(std::string(400, '9')), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseLenient("0." + std::string(400, '0') + "1e300"), 1e-101);
}

TEST(ParseLenient, ExponentsTooLongForAnyIntegerSaturate) {
    EXPECT_EQ(parseLenient("1e99999999999999999999999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(parseLenient("1e-99999999999999999999999"), 0.0);
    EXPECT_EQ(parseLenient("0e99999999999999999999999"), 0.0);
}

// ---- parseStrict ----------------------------------------------------------

struct StrictCase {
    const char* text;
    const NumberFormat* format;
    StrictStatus status;
    float expected;
};

void PrintTo(const StrictCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" under " << formatName(c.format) << " -> " << int(c.status) << ' '
        << c.expected;
}

class ParseStrict : public testing::TestWithParam<StrictCase> {};

TEST_P(ParseStrict, AcceptsOnlyAWholeNumber) {
    const StrictCase& c = GetParam();
    const calc::StrictValue read = parseStrict(c.text, *c.format);
    ASSERT_EQ(read.status, c.status) << '"' << c.text << '"';
    if (c.status == StrictStatus::Ok) {
        EXPECT_EQ(read.value, c.expected) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(read.value), std::signbit(c.expected)) << '"' << c.text << '"';
    }
}

constexpr auto Ok = StrictStatus::Ok;
constexpr auto Nan = StrictStatus::NotANumber;
constexpr auto Range = StrictStatus::OutOfRange;

INSTANTIATE_TEST_SUITE_P(
    Usual, ParseStrict,
    testing::Values(
        StrictCase{"", &kUsual, Nan, 0}, StrictCase{"   ", &kUsual, Nan, 0},
        StrictCase{" 0.36 ", &kUsual, Ok, 0.36f}, StrictCase{"0.36abc", &kUsual, Nan, 0},
        StrictCase{"1,234.50", &kUsual, Ok, 1234.5f},
        StrictCase{"1.234568E+07", &kUsual, Ok, 12345680.0f}, StrictCase{"1e39", &kUsual, Range, 0},
        StrictCase{"-1e39", &kUsual, Range, 0}, StrictCase{"3.4028235E+38", &kUsual, Range, 0},
        StrictCase{"3.4028234E+38", &kUsual, Ok, FLT_MAX}, StrictCase{".5", &kUsual, Ok, 0.5f},
        StrictCase{"5.", &kUsual, Ok, 5.0f}, StrictCase{".", &kUsual, Nan, 0},
        StrictCase{"-", &kUsual, Nan, 0}, StrictCase{"+2", &kUsual, Ok, 2.0f},
        StrictCase{"-0.5", &kUsual, Ok, -0.5f}, StrictCase{"-0", &kUsual, Ok, -0.0f},
        StrictCase{"\t1", &kUsual, Nan, 0}, StrictCase{"1 2", &kUsual, Nan, 0},
        StrictCase{"1e", &kUsual, Nan, 0}, StrictCase{"1e-50", &kUsual, Ok, 0.0f},
        StrictCase{"-1e-50", &kUsual, Ok, -0.0f}, StrictCase{"1E-05", &kUsual, Ok, 1e-5f},
        StrictCase{"1,234,567", &kUsual, Ok, 1234567.0f},
        StrictCase{"12,345.5e1", &kUsual, Ok, 123455.0f},
        // Grouping only between whole groups of the integer part: a
        // decimal comma typed by mistake is no number at all.
        StrictCase{"0,36", &kUsual, Nan, 0}, StrictCase{"12,34", &kUsual, Nan, 0},
        StrictCase{"1,2,3", &kUsual, Nan, 0}, StrictCase{"0,360", &kUsual, Nan, 0},
        StrictCase{"1,23,456", &kUsual, Nan, 0}, StrictCase{"1,2345,678", &kUsual, Nan, 0},
        StrictCase{"1234,567", &kUsual, Nan, 0}, StrictCase{",123", &kUsual, Nan, 0},
        StrictCase{"1,234,", &kUsual, Nan, 0}, StrictCase{"1.234,5", &kUsual, Nan, 0},
        StrictCase{"１２", &kUsual, Nan, 0}, StrictCase{"0x10", &kUsual, Nan, 0},
        // A first group may have as many digits as a whole group, no more,
        // and no leading zero.
        StrictCase{"123,456", &kUsual, Ok, 123456.0f},
        StrictCase{"-123,456.5", &kUsual, Ok, -123456.5f}, StrictCase{"0,123", &kUsual, Nan, 0},
        StrictCase{"115,384.62", &kUsual, Ok, 115384.62f},
        // Too many digits for the quick reading: the grouped text is spelled
        // plain for from_chars, its grouping symbols dropped.
        StrictCase{"12,345,678,901,234,567,890.5", &kUsual, Ok, 12345678901234567890.5f},
        // The range is judged in double: the largest single itself, and the
        // tie above it that the double rounds back down to it, are numbers;
        // anything whose double lies beyond is not.
        StrictCase{"340282346638528859811704183484516925440", &kUsual, Ok, FLT_MAX},
        StrictCase{"-340282346638528859811704183484516925440", &kUsual, Ok, -FLT_MAX},
        StrictCase{"340282346638528878701170114963097780224", &kUsual, Ok, FLT_MAX},
        StrictCase{"340282346638528878701170114963097780225", &kUsual, Range, 0},
        StrictCase{"340282346638528897590636046441678635008", &kUsual, Range, 0}),
    namedBy([](const StrictCase& c) { return std::string(c.text); }));

INSTANTIATE_TEST_SUITE_P(
    Regional, ParseStrict,
    testing::Values(
        StrictCase{"0,36", &kGerman, Ok, 0.36f}, StrictCase{"1.234,5", &kGerman, Ok, 1234.5f},
        StrictCase{"0.36", &kGerman, Nan, 0}, StrictCase{"3.1", &kGerman, Nan, 0},
        StrictCase{"1,234568E+07", &kGerman, Ok, 12345680.0f},
        StrictCase{"1\u202F234,57", &kFrench, Ok, 1234.57f},
        StrictCase{"1 234,57", &kFrench, Nan, 0}, StrictCase{"\u22120.50", &kSwiss, Ok, -0.5f},
        StrictCase{"-0.50", &kSwiss, Ok, -0.5f}, StrictCase{"1\u2019234.57", &kSwiss, Ok, 1234.57f},
        StrictCase{"1,234", &kNoGrouping, Nan, 0}, StrictCase{"1234.5", &kNoGrouping, Ok, 1234.5f},
        StrictCase{"1,23,45", &kPairs, Ok, 12345.0f}, StrictCase{"12,34", &kPairs, Ok, 1234.0f},
        StrictCase{"123,45", &kPairs, Nan, 0}, StrictCase{"12,345", &kPairs, Nan, 0},
        StrictCase{"1,5", &kCommaForBoth, Ok, 1.5f}, StrictCase{"1,234,5", &kCommaForBoth, Nan, 0}),
    namedBy([](const StrictCase& c) { return std::string(formatName(c.format)) + " " + c.text; }));

TEST(ParseStrict, RoundsStraightToTheNearestSingle) {
    EXPECT_EQ(double(parseStrict("0.36", kUsual).value), 0.36000001430511475);
    EXPECT_EQ(double(parseStrict("3.1", kUsual).value), 3.0999999046325684);
    // A 400-digit number within the single range is read, not refused.
    const std::string longOne = "1." + std::string(400, '0') + "1";
    EXPECT_EQ(parseStrict(longOne, kUsual).value, 1.0f);
}

// Seven digits do not tell every single apart: 1.00000006E+28 is written
// "1E+28", which reads back as the single nearest 10^28, a neighbour. The
// text, not the single, is what the sheet carries forward (found by fuzzing).
TEST(FormatSingle, SevenDigitsReadBackAsTheNearestSingleToTheText) {
    const float above = 1.00000006e28f;
    EXPECT_EQ(formatSingle(above, kUsual), "1E+28");
    EXPECT_EQ(parseStrict("1E+28", kUsual).value, 1e28f);
    EXPECT_NE(1e28f, above);
    EXPECT_EQ(formatSingle(1e28f, kUsual), "9.999999E+27");
    // Just below a power of ten the first guess of the exponent is one too
    // high; seven digits must still be written, not six rounded up.
    EXPECT_EQ(formatSingle(9.999999e-05f, kUsual), "9.999999E-05");
}

// The fast paths against the plain reference, over the places where they can
// go wrong: next to every power of ten (where the first guess of the decimal
// exponent is off by one), at ties, and over random bit patterns.
class FormatSingleRoute : public testing::TestWithParam<RoundingRoute> {};

TEST_P(FormatSingleRoute, MatchesTheReferenceEverywhere) {
    const RoundingRoute route = GetParam();
    if (route == RoundingRoute::Extended && !calc::detail::kExtendedRouteAvailable) {
        GTEST_SKIP() << "long double is no wider than double here";
    }
    std::vector<float> values;
    for (int k = -45; k <= 38; ++k) {
        float around = std::pow(10.0f, float(k));
        for (int step = 0; step < 40; ++step) {
            around = std::nextafter(around, 0.0f);
        }
        for (int step = 0; step < 80; ++step, around = std::nextafter(around, INFINITY)) {
            values.push_back(around);
        }
    }
    std::mt19937 random(7);
    for (int i = 0; i < 200000; ++i) {
        const auto bits = static_cast<std::uint32_t>(random());
        float value;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            values.push_back(value);
        }
    }
    for (int i = 0; i < 20000; ++i) { // halfway between two seven-digit texts
        values.push_back(float(std::uniform_int_distribution<int>(1000000, 9999999)(random)) +
                         0.5f);
    }
    int mismatches = 0;
    for (float value : values) {
        const std::string expected = reference::single(value);
        const std::string written = calc::detail::formatSingle(value, kUsual, route);
        if (written != expected && ++mismatches <= 10) {
            ADD_FAILURE() << std::hexfloat << value << ": " << written << " instead of "
                          << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Routes, FormatSingleRoute, testing::ValuesIn(kRoutes),
                         [](const auto& row) { return routeName(row.param); });

class FormatFixed2Route : public testing::TestWithParam<RoundingRoute> {};

TEST_P(FormatFixed2Route, MatchesTheReferenceEverywhere) {
    const RoundingRoute route = GetParam();
    if (route == RoundingRoute::Extended && !calc::detail::kExtendedRouteAvailable) {
        GTEST_SKIP() << "long double is no wider than double here";
    }
    std::vector<double> values;
    std::mt19937_64 random(11);
    for (int i = 0; i < 25000; ++i) {
        values.push_back(std::uniform_real_distribution<double>(-2e6, 2e6)(random));
        values.push_back(double(std::int64_t(random() % 16000000) - 8000000) / 8.0); // ties
        values.push_back(std::ldexp(double(random() >> 11), int(random() % 120) - 80));
        const float single = std::uniform_real_distribution<float>(-3000.0f, 3000.0f)(random);
        values.push_back(single);
    }
    int mismatches = 0;
    for (double value : values) {
        const std::string expected = reference::fixed2(value);
        const std::string written = calc::detail::formatFixed2(value, kUsual, route);
        if (written != expected && ++mismatches <= 10) {
            ADD_FAILURE() << std::hexfloat << value << ": " << written << " instead of "
                          << expected;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(Routes, FormatFixed2Route, testing::ValuesIn(kRoutes),
                         [](const auto& row) { return routeName(row.param); });

// ---- readLenient: the lenient reading of the stages -----------------------

struct ReadCase {
    const char* text;
    const NumberFormat* format;
    double expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" under " << formatName(c.format) << " -> " << c.expected;
}

class ReadLenient : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadLenient, ReadsARegionalNumberWholeAndAnythingElseLeniently) {
    const ReadCase& c = GetParam();
    EXPECT_EQ(readLenient(c.text, *c.format), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReadLenient,
    testing::Values(ReadCase{"1,234.57", &kUsual, 1234.57}, ReadCase{"0,52", &kGerman, 0.52},
                    ReadCase{"0,36", &kUsual, 0.0}, ReadCase{"12 3.5kg", &kUsual, 123.5},
                    ReadCase{"0.36", &kGerman, 0.36}, ReadCase{"180", &kUsual, 180.0},
                    ReadCase{"", &kUsual, 0.0}, ReadCase{"1\u202F234,57", &kFrench, 1234.57},
                    ReadCase{"1e400", &kUsual, std::numeric_limits<double>::infinity()}),
    namedBy([](const ReadCase& c) { return std::string(formatName(c.format)) + " " + c.text; }));

// ---- formatFixed2 -----------------------------------------------------------

struct Fixed2Case {
    double value;
    const NumberFormat* format;
    const char* expected;
};

void PrintTo(const Fixed2Case& c, std::ostream* os) {
    *os << c.value << " under " << formatName(c.format) << " -> \"" << c.expected << '"';
}

class FormatFixed2 : public testing::TestWithParam<Fixed2Case> {};

TEST_P(FormatFixed2, WritesTwoDecimals) {
    const Fixed2Case& c = GetParam();
    EXPECT_EQ(formatFixed2(c.value, *c.format), c.expected) << c.value;
    for (const RoundingRoute route : kRoutes) {
        EXPECT_EQ(calc::detail::formatFixed2(c.value, *c.format, route), c.expected)
            << c.value << " by the " << routeName(route) << " route";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatFixed2,
    testing::Values(Fixed2Case{26.58, &kUsual, "26.58"}, Fixed2Case{375, &kUsual, "375.00"},
                    Fixed2Case{0, &kUsual, "0.00"}, Fixed2Case{-0.0, &kUsual, "0.00"},
                    Fixed2Case{0.5, &kUsual, "0.50"}, Fixed2Case{1234.567, &kUsual, "1,234.57"},
                    Fixed2Case{-0.5, &kUsual, "-0.50"}, Fixed2Case{0.125, &kUsual, "0.13"},
                    Fixed2Case{-0.125, &kUsual, "-0.13"}, Fixed2Case{2.675, &kUsual, "2.67"},
                    Fixed2Case{0.375, &kUsual, "0.38"}, Fixed2Case{1.005, &kUsual, "1.00"},
                    Fixed2Case{-0.001, &kUsual, "0.00"}, Fixed2Case{-0.004999, &kUsual, "0.00"},
                    Fixed2Case{-0.005, &kUsual, "-0.01"}, Fixed2Case{999.995, &kUsual, "1,000.00"},
                    Fixed2Case{0.05, &kUsual, "0.05"},
                    Fixed2Case{123456.125, &kUsual, "123,456.13"},
                    Fixed2Case{1e15, &kUsual, "1,000,000,000,000,000.00"},
                    Fixed2Case{1e20, &kUsual, "100,000,000,000,000,000,000.00"},
                    Fixed2Case{259.99999999999994, &kUsual, "260.00"},
                    Fixed2Case{1234.567, &kGerman, "1.234,57"}, Fixed2Case{0.52, &kGerman, "0,52"},
                    Fixed2Case{1234.567, &kFrench, "1\u202F234,57"},
                    Fixed2Case{-1234.5, &kSwiss, "\u22121\u2019234.50"},
                    Fixed2Case{1234567.5, &kNoGrouping, "1234567.50"},
                    // The last ties a double can hold, and the first magnitude
                    // past them, where every value is a whole number of quarters.
                    Fixed2Case{562949953421312.125, &kUsual, "562,949,953,421,312.13"},
                    Fixed2Case{-562949953421311.875, &kUsual, "-562,949,953,421,311.88"},
                    Fixed2Case{1125899906842624.25, &kUsual, "1,125,899,906,842,624.25"},
                    Fixed2Case{8.9999999999999984e16, &kUsual, "89,999,999,999,999,984.00"},
                    Fixed2Case{9e16, &kUsual, "90,000,000,000,000,000.00"},
                    Fixed2Case{0.005, &kUsual, "0.01"}, Fixed2Case{0.015, &kUsual, "0.01"}),
    namedBy([](const Fixed2Case& c) {
        return std::string(formatName(c.format)) + " " + c.expected;
    }));

TEST(FormatFixed2, WidensASingleExactly) {
    // The single nearest 0.52018863 is written from its own binary value.
    EXPECT_EQ(formatFixed2(0.52018863f, kUsual), "0.52");
    EXPECT_EQ(formatFixed2(0.125f, kUsual), "0.13");
    // 2.675f is 2.6749999523…, below the tie.
    EXPECT_EQ(formatFixed2(2.675f, kUsual), "2.67");
}

// ---- formatSingle -----------------------------------------------------------

struct SingleCase {
    float value;
    const NumberFormat* format;
    const char* expected;
};

void PrintTo(const SingleCase& c, std::ostream* os) {
    *os << c.value << " under " << formatName(c.format) << " -> \"" << c.expected << '"';
}

class FormatSingle : public testing::TestWithParam<SingleCase> {};

TEST_P(FormatSingle, WritesUpToSevenDigits) {
    const SingleCase& c = GetParam();
    EXPECT_EQ(formatSingle(c.value, *c.format), c.expected) << c.value;
    for (const RoundingRoute route : kRoutes) {
        EXPECT_EQ(calc::detail::formatSingle(c.value, *c.format, route), c.expected)
            << c.value << " by the " << routeName(route) << " route";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatSingle,
    testing::Values(
        SingleCase{642.3457f, &kUsual, "642.3457"}, SingleCase{642.34567f, &kUsual, "642.3456"},
        SingleCase{1.0f, &kUsual, "1"}, SingleCase{0.5f, &kUsual, "0.5"},
        SingleCase{1234.5f, &kUsual, "1234.5"}, SingleCase{12345678.0f, &kUsual, "1.234568E+07"},
        SingleCase{9999999.0f, &kUsual, "9999999"}, SingleCase{-2.5f, &kUsual, "-2.5"},
        SingleCase{0.0f, &kUsual, "0"}, SingleCase{-0.0f, &kUsual, "0"},
        SingleCase{1234568.5f, &kUsual, "1234569"}, SingleCase{1234567.5f, &kUsual, "1234568"},
        SingleCase{1.5e-5f, &kUsual, "1.5E-05"}, SingleCase{1e-4f, &kUsual, "0.0001"},
        SingleCase{1e7f, &kUsual, "1E+07"}, SingleCase{FLT_MAX, &kUsual, "3.402823E+38"},
        SingleCase{1e-45f, &kUsual, "1.401298E-45"}, SingleCase{678.7865f, &kUsual, "678.7865"},
        SingleCase{1206.7314453125f, &kUsual, "1206.731"}, SingleCase{0.36f, &kUsual, "0.36"},
        SingleCase{16777216.0f, &kUsual, "1.677722E+07"}, SingleCase{1.0999999f, &kUsual, "1.1"},
        SingleCase{-1234.5f, &kSwiss, "-1234.5"}, SingleCase{678.7865f, &kGerman, "678,7865"},
        SingleCase{12345678.0f, &kGerman, "1,234568E+07"},
        // Seven digits that carry into an eighth, on either side of the
        // plain form's limits.
        SingleCase{999999.9375f, &kUsual, "999999.9"},
        SingleCase{999999.96875f, &kUsual, "1000000"}, SingleCase{0.00999999977f, &kUsual, "0.01"},
        SingleCase{-16777215.0f, &kUsual, "-1.677722E+07"}),
    namedBy([](const SingleCase& c) {
        return std::string(formatName(c.format)) + " " + c.expected;
    }));

// ---- the parts of a regional number ------------------------------------------

// What scanNumber found, spelled for comparison: the blanks counted, the
// sign, the integer digits in brackets (a "g" when grouped), the fraction
// after its decimal symbol, the exponent with its own sign and digits.
std::string describe(const std::optional<calc::NumberParts>& parts) {
    if (!parts) {
        return "none";
    }
    const char* signs[] = {"", "+", "-"};
    std::string out = std::to_string(parts->lead.size()) + "|";
    out += signs[static_cast<int>(parts->sign)];
    out += "[" + parts->integerDigits() + "]" + (parts->grouped ? "g" : "");
    if (parts->point) {
        out += "." + std::string(parts->fraction);
    }
    if (!parts->exponent.empty()) {
        out += " " + std::string(parts->exponent) + "=" + (parts->exponentNegative ? "-" : "+") +
               std::string(parts->exponentDigits);
    }
    return out + "|" + std::to_string(parts->trail.size());
}

struct ScanCase {
    const char* text;
    const NumberFormat* format;
    const char* parts;
};

void PrintTo(const ScanCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" under " << formatName(c.format) << " -> " << c.parts;
}

class ScanNumber : public testing::TestWithParam<ScanCase> {};

TEST_P(ScanNumber, TakesAWholeNumberApartAtItsJoints) {
    const ScanCase& c = GetParam();
    const std::optional<calc::NumberParts> parts = calc::scanNumber(c.text, *c.format);
    EXPECT_EQ(describe(parts), c.parts) << '"' << c.text << '"';
    if (parts) {
        // The pieces, blanks included, are the text itself, cut.
        const std::string_view text(c.text);
        EXPECT_EQ(parts->lead.data(), text.data());
        EXPECT_EQ(parts->trail.data() + parts->trail.size(), text.data() + text.size());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ScanNumber,
    testing::Values(ScanCase{"  -1,234.50E+07 ", &kUsual, "2|-[1234]g.50 E+07=+07|1"},
                    ScanCase{"1234", &kUsual, "0|[1234]|0"}, ScanCase{"+5", &kUsual, "0|+[5]|0"},
                    ScanCase{".5", &kUsual, "0|[].5|0"}, ScanCase{"5.", &kUsual, "0|[5].|0"},
                    ScanCase{"1e-5", &kUsual, "0|[1] e-5=-5|0"},
                    ScanCase{"2E3", &kUsual, "0|[2] E3=+3|0"},
                    ScanCase{"1,234,567", &kUsual, "0|[1234567]g|0"},
                    ScanCase{"1.234.567,89", &kGerman, "0|[1234567]g.89|0"},
                    ScanCase{"1\u202F234,5", &kFrench, "0|[1234]g.5|0"},
                    ScanCase{"\u22121\u2019234.5", &kSwiss, "0|-[1234]g.5|0"},
                    ScanCase{"-3", &kSwiss, "0|-[3]|0"},
                    ScanCase{"1,23,45", &kPairs, "0|[12345]g|0"},
                    ScanCase{"1234,5", &kCommaForBoth, "0|[1234].5|0"},
                    // Where no number is.
                    ScanCase{"", &kUsual, "none"}, ScanCase{"   ", &kUsual, "none"},
                    ScanCase{".", &kUsual, "none"}, ScanCase{"-", &kUsual, "none"},
                    ScanCase{"--5", &kUsual, "none"}, ScanCase{"0,36", &kUsual, "none"},
                    ScanCase{"12,34", &kUsual, "none"}, ScanCase{"1,2,3", &kUsual, "none"},
                    ScanCase{"1,234,", &kUsual, "none"}, ScanCase{",123", &kUsual, "none"},
                    ScanCase{"1234,567", &kUsual, "none"}, ScanCase{"1,234", &kNoGrouping, "none"},
                    ScanCase{"1E", &kUsual, "none"}, ScanCase{"1E+", &kUsual, "none"},
                    ScanCase{"1.5.", &kUsual, "none"}, ScanCase{"1 2", &kUsual, "none"},
                    ScanCase{"1.5kg", &kUsual, "none"}, ScanCase{"\t1", &kUsual, "none"}),
    namedBy([](const ScanCase& c) { return std::string(formatName(c.format)) + " " + c.text; }));

// ---- round trips ------------------------------------------------------------

class RoundTrip : public testing::TestWithParam<const NumberFormat*> {};

TEST_P(RoundTrip, WhatTheFormattersWriteParseStrictReadsBack) {
    const NumberFormat& format = *GetParam();
    for (float v : {0.0f, 1.0f, -1.0f, 0.36f, 26.58f, 346.15f, 1206.731f, 1234.57f, -98765.43f,
                    12345678.0f, 3.0e38f, 1.5e-5f, FLT_MIN, FLT_MAX}) {
        const std::string single = formatSingle(v, format);
        const calc::StrictValue s = parseStrict(single, format);
        ASSERT_EQ(s.status, StrictStatus::Ok) << single;
        EXPECT_EQ(formatSingle(s.value, format), single);

        if (std::fabs(v) < 1e30f) {
            const std::string fixed = formatFixed2(v, format);
            const calc::StrictValue f = parseStrict(fixed, format);
            ASSERT_EQ(f.status, StrictStatus::Ok) << fixed;
            EXPECT_EQ(formatFixed2(f.value, format), fixed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, RoundTrip,
                         testing::Values(&kUsual, &kGerman, &kFrench, &kSwiss, &kNoGrouping,
                                         &kPairs),
                         namedBy(formatName));

TEST(ParseLenient, StopsAtTheRegionalSymbolsWhereReadLenientReadsWhole) {
    struct Case {
        const NumberFormat* format;
        double lenient;
    };
    for (const Case& c : {Case{&kUsual, 1.0}, Case{&kGerman, 1.234}, Case{&kFrench, 1.0},
                          Case{&kSwiss, 1.0}, Case{&kNoGrouping, 1234.57}}) {
        const std::string written = formatFixed2(1234.567, *c.format);
        EXPECT_EQ(parseLenient(written), c.lenient) << written;
        EXPECT_EQ(readLenient(written, *c.format), 1234.57) << written;
    }
    // formatSingle writes no grouping: only the decimal symbol cuts the number.
    EXPECT_EQ(parseLenient(formatSingle(678.7865f, kGerman)), 678.0);
}

} // namespace
