// Long and hostile texts in every field a calculation reads: the calculation
// completes or stops with a report, never crashes, hangs or writes garbage.
#include "calc/calculate.h"
#include "calc/conversions.h"
#include "calc/memorysheet.h"
#include "tests/sheet_fixture.h"

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace calc;
using calc::testing::resetSheet;

struct Hostile {
    const char* name;
    std::string text;
};

std::vector<Hostile> hostileTexts() {
    return {
        {"1 MB of digits", std::string(1 << 20, '9')},
        {"1 MB of blanks then a digit", std::string(1 << 20, ' ') + "1"},
        {"1 MB of letters", std::string(1 << 20, 'x')},
        {"1 MB fraction", "0." + std::string(1 << 20, '3')},
        {"NUL inside", std::string("0.3\0"
                                   "6",
                                   5)},
        {"control characters", "\x01\x02\x1b[2J0.36\x7f"},
        {"carriage return", "0.36\r"},
        {"invalid UTF-8", "\xff\xfe\xc3\x28"},
        {"truncated UTF-8", "0.3\xe6"},
        {"full-width digits", "０.３６"},
        {"400-digit number", std::string(400, '7')},
        {"400-digit fraction", "0." + std::string(400, '0') + "1"},
        {"huge exponent", "1e99999999999999999999"},
        {"tiny exponent", "1e-99999999999999999999"},
        {"negative", "-180"},
        {"grouping garbage", ",,,,"},
        {"only a sign", "-"},
        {"right-to-left mark", "\u200f0.36"},
    };
}

// The fields that the calculation reads, strictly or leniently.
constexpr TextField kReadFields[] = {Text1,  Text2,  Text3,  Text4,  Text5,  Text6,  Text7,
                                     Text8,  Text9,  Text15, Text18, Text20, Text21, Text22,
                                     Text23, Text24, Text25, Text26, Text31, Text32};

// The fields a calculation may write; every other field must keep its text.
const std::set<TextField> kWritable = {Text2,  Text8,  Text10, Text4,  Text11, Text12,
                                       Text13, Text14, Text30, Text31, Text32, Text33};

class HostileInput : public ::testing::TestWithParam<bool> {};

TEST_P(HostileInput, EveryReadFieldCompletesOrStopsCleanly) {
    const bool massMethod = GetParam();
    for (const Hostile& hostile : hostileTexts()) {
        for (TextField field : kReadFields) {
            MemorySheet sheet = resetSheet();
            if (massMethod) {
                sheet.select(Option::option2);
                sheet.setText(Text20, "2400");
            }
            sheet.setText(Text21, "0.03");
            sheet.setText(Text24, "0.01");
            sheet.setText(field, hostile.text);
            const MemorySheet before = sheet;

            const auto start = std::chrono::steady_clock::now();
            const Outcome outcome = calculate(sheet);
            const auto elapsed = std::chrono::steady_clock::now() - start;
            EXPECT_LT(elapsed, std::chrono::seconds(2))
                << hostile.name << " in " << fieldName(field);

            if (outcome.stop) {
                EXPECT_TRUE(outcome.stop->concerned.has_value() || outcome.stop->field.has_value())
                    << hostile.name << " in " << fieldName(field);
            }
            for (int n = 1; n <= kTextFieldCount; ++n) {
                const auto f = TextField(n);
                if (!kWritable.contains(f)) {
                    EXPECT_EQ(sheet.text(f), before.text(f))
                        << hostile.name << " in " << fieldName(field) << " changed "
                        << fieldName(f);
                }
            }
            // What the calculation wrote is a number, or a text it copied.
            for (TextField f :
                 {Text2, Text8, Text10, Text12, Text13, Text30, Text31, Text32, Text33}) {
                if (sheet.text(f) != before.text(f)) {
                    const StrictValue read = parseStrict(sheet.text(f), sheet.numberFormat());
                    EXPECT_NE(read.status, StrictStatus::NotANumber)
                        << hostile.name << " in " << fieldName(field) << " wrote \""
                        << sheet.text(f) << "\" into " << fieldName(f);
                }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Methods, HostileInput, ::testing::Values(false, true),
                         [](const auto& row) { return row.param ? "Mass" : "Volume"; });

} // namespace
