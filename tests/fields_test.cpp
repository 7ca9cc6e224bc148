// The table of fields against the sheet and against what the calculation
// really does with each field: a role that is wrong in the table would tell
// the user, in a tooltip or a report, that a field matters when it does not,
// or the other way round.
#include "calc/calculate.h"
#include "calc/fields.h"
#include "calc/plainnumbers.h"
#include "sheet_fixture.h"

#include <charconv>
#include <functional>
#include <optional>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

using calc::FieldRole;
using calc::MemorySheet;
using calc::TextField;

TEST(FieldsTest, OneRowPerFieldOfTheSheetUnderItsName) {
    std::set<std::string_view> names;
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<TextField>(n);
        EXPECT_EQ(calc::fieldInfo(field).name, calc::fieldName(field));
        EXPECT_EQ(calc::findField(calc::fieldName(field)), &calc::fieldInfo(field));
        names.insert(calc::fieldInfo(field).name);
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        const auto option = static_cast<calc::Option>(n);
        EXPECT_EQ(calc::fieldInfo(option).name, calc::optionName(option));
        names.insert(calc::fieldInfo(option).name);
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        const auto check = static_cast<calc::Check>(n);
        EXPECT_EQ(calc::fieldInfo(check).name, calc::checkName(check));
        names.insert(calc::fieldInfo(check).name);
    }
    EXPECT_EQ(calc::sheetFields().size(), names.size());
    for (const calc::FieldInfo& info : calc::sheetFields()) {
        EXPECT_FALSE(info.caption.empty()) << info.name;
        EXPECT_FALSE(info.meaning.empty()) << info.name;
    }
    EXPECT_EQ(calc::findField("Text0"), nullptr);
    EXPECT_EQ(calc::findField("Text34"), nullptr);
    EXPECT_EQ(calc::findField("text8"), nullptr);
}

TEST(FieldsTest, SymbolsAndUnitsOfTheDesignRules) {
    struct Row {
        TextField field;
        std::string_view symbol;
        std::string_view unit;
    };
    const Row rows[] = {
        {calc::Text1, "fcu,k", "MPa"},  {calc::Text2, "fcu,0", "MPa"},  {calc::Text3, "σ", "MPa"},
        {calc::Text4, "mc0", "kg/m³"},  {calc::Text5, "fce,g", "MPa"},  {calc::Text8, "W/C", ""},
        {calc::Text9, "γc", ""},        {calc::Text10, "C/W", ""},      {calc::Text15, "βs", ""},
        {calc::Text18, "ρc", "g/cm³"},  {calc::Text20, "mcp", "kg/m³"}, {calc::Text25, "α", "%"},
        {calc::Text26, "mw0", "kg/m³"}, {calc::Text12, "ms", "kg/m³"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(calc::fieldInfo(row.field).symbol, row.symbol) << row.field;
        EXPECT_EQ(calc::fieldInfo(row.field).unit, row.unit) << row.field;
    }
}

TEST(FieldsTest, RoleNamesAreDistinct) {
    const std::set<std::string_view> names{
        calc::roleName(FieldRole::Input), calc::roleName(FieldRole::ComputedIfEmpty),
        calc::roleName(FieldRole::Result), calc::roleName(FieldRole::RecordedOnly)};
    EXPECT_EQ(names.size(), 4u);
    EXPECT_EQ(calc::roleName(FieldRole::RecordedOnly), "recorded-only");
}

// Every way the calculation can run: each method, and the moisture correction.
struct Way {
    const char* name;
    std::function<void(MemorySheet&)> prepare;
};

const Way kWays[] = {
    {"volume", [](MemorySheet&) {}},
    {"mass",
     [](MemorySheet& s) {
         s.select(calc::Option::option2);
         s.setText(calc::Text20, "2400");
     }},
    {"volume+moisture",
     [](MemorySheet& s) {
         s.setText(calc::Text21, "0.03");
         s.setText(calc::Text24, "0.01");
     }},
    {"mass+moisture",
     [](MemorySheet& s) {
         s.select(calc::Option::option2);
         s.setText(calc::Text20, "2400");
         s.setText(calc::Text21, "0.03");
         s.setText(calc::Text24, "0.01");
     }},
};

struct Calculation {
    MemorySheet sheet;
    calc::Outcome outcome;
};

// A fresh sheet, reset and prepared, with `change` applied before the press.
Calculation calculated(const Way& setup, const std::function<void(MemorySheet&)>& change = {}) {
    Calculation run{calc::testing::resetSheet(), {}};
    setup.prepare(run.sheet);
    if (change) {
        change(run.sheet);
    }
    run.outcome = calc::calculate(run.sheet);
    return run;
}

// Every text but one.
bool sameTextsBut(const MemorySheet& a, const MemorySheet& b, TextField except) {
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<TextField>(n);
        if (field != except && a.text(field) != b.text(field)) {
            return false;
        }
    }
    return true;
}

TEST(FieldsTest, EachTextFieldsRoleIsWhatTheCalculationDoesWithIt) {
    for (const Way& setup : kWays) {
        const Calculation base = calculated(setup);
        ASSERT_TRUE(base.outcome.completed()) << setup.name;
    }
    const char* junk = "不是数";
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<TextField>(n);
        const calc::FieldInfo& info = calc::fieldInfo(field);
        SCOPED_TRACE(std::string(info.name));
        const auto junkIn = [&](MemorySheet& s) { s.setText(field, junk); };

        switch (info.role) {
        case FieldRole::RecordedOnly:
            // Anything at all in the field leaves every result as it was.
            for (const Way& setup : kWays) {
                const Calculation run = calculated(setup, junkIn);
                EXPECT_TRUE(run.outcome.completed()) << setup.name;
                EXPECT_TRUE(sameTextsBut(run.sheet, calculated(setup).sheet, field)) << setup.name;
                EXPECT_EQ(run.sheet.text(field), junk);
            }
            break;
        case FieldRole::Input: {
            // Never written, and read by at least one way of calculating.
            bool matters = false;
            for (const Way& setup : kWays) {
                const Calculation base = calculated(setup);
                MemorySheet before = calc::testing::resetSheet();
                setup.prepare(before);
                EXPECT_EQ(base.sheet.text(field), before.text(field)) << setup.name;
                const Calculation run = calculated(setup, junkIn);
                matters = matters || !run.outcome.completed() ||
                          !sameTextsBut(run.sheet, base.sheet, field);
            }
            EXPECT_TRUE(matters);
            break;
        }
        case FieldRole::ComputedIfEmpty:
            for (const Way& setup : kWays) {
                // Empty after the reset, filled by the calculation...
                MemorySheet before = calc::testing::resetSheet();
                EXPECT_EQ(before.text(field), "");
                const Calculation base = calculated(setup);
                ASSERT_NE(base.sheet.text(field), "") << setup.name;
                // ...and a typed value is kept, not computed again.
                const std::string typed = "1" + base.sheet.text(field);
                const Calculation run =
                    calculated(setup, [&](MemorySheet& s) { s.setText(field, typed); });
                EXPECT_EQ(run.sheet.text(field), typed) << setup.name;
            }
            break;
        case FieldRole::Result:
            // Written by every completed calculation, whatever it held.
            for (const Way& setup : kWays) {
                const Calculation base = calculated(setup);
                const Calculation run = calculated(setup, junkIn);
                EXPECT_TRUE(run.outcome.completed()) << setup.name;
                EXPECT_NE(run.sheet.text(field), junk) << setup.name;
                EXPECT_EQ(run.sheet.text(field), base.sheet.text(field)) << setup.name;
            }
            break;
        }
    }
}

TEST(FieldsTest, ChoicesThatNoCalculationReadsChangeNoResult) {
    using calc::Check;
    using calc::Option;
    for (const Way& setup : kWays) {
        const Calculation base = calculated(setup);
        const std::function<void(MemorySheet&)> changes[] = {
            [](MemorySheet& s) { s.select(Option::粗砂); },
            [](MemorySheet& s) { s.setChecked(Check::卵石, false); },
            [](MemorySheet& s) { s.setChecked(Check::碎石, true); },
        };
        for (const auto& change : changes) {
            EXPECT_TRUE(sameTextsBut(calculated(setup, change).sheet, base.sheet, calc::Text1))
                << setup.name;
        }
    }
    for (const Option option : {Option::细砂, Option::粗砂}) {
        EXPECT_EQ(calc::fieldInfo(option).role, FieldRole::RecordedOnly);
    }
    for (const Check check : {Check::卵石, Check::碎石}) {
        EXPECT_EQ(calc::fieldInfo(check).role, FieldRole::RecordedOnly);
    }
    // The method is read: the two options give different sand.
    const Calculation volume =
        calculated(kWays[0], [](MemorySheet& s) { s.setText(calc::Text20, "2400"); });
    const Calculation mass = calculated(kWays[1]);
    EXPECT_NE(volume.sheet.text(calc::Text12), mass.sheet.text(calc::Text12));
    EXPECT_EQ(calc::fieldInfo(Option::option1).role, FieldRole::Input);
    EXPECT_EQ(calc::fieldInfo(Option::option2).role, FieldRole::Input);
}

// A usual range read back as numbers: "15～60" or one value "1".
struct Bounds {
    double low = 0;
    double high = 0;
};

std::optional<Bounds> boundsOf(std::string_view range) {
    const auto number = [](std::string_view text) -> std::optional<double> {
        double value = 0;
        const auto [end, error] =
            calc::readPlainNumber(text.data(), text.data() + text.size(), value);
        if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
            return std::nullopt;
        }
        return value;
    };
    constexpr std::string_view kTilde = "～";
    const std::size_t at = range.find(kTilde);
    if (at == std::string_view::npos) {
        const auto value = number(range);
        return value ? std::optional(Bounds{*value, *value}) : std::nullopt;
    }
    const auto low = number(range.substr(0, at));
    const auto high = number(range.substr(at + kTilde.size()));
    if (!low || !high || !(*low < *high)) {
        return std::nullopt;
    }
    return Bounds{*low, *high};
}

TEST(FieldsTest, UsualRangesAreWellFormedAndOnlyWhereAValueIsTyped) {
    for (const calc::FieldInfo& info : calc::sheetFields()) {
        SCOPED_TRACE(std::string(info.name));
        if (!info.range.empty()) {
            EXPECT_TRUE(boundsOf(info.range).has_value()) << info.range;
        }
        const bool choice = !info.name.starts_with("Text");
        if (info.role == FieldRole::Result || choice) {
            EXPECT_EQ(info.range, "");
        }
        // What the calculation reads or computes from typed numbers has a
        // range the user can hold a value against.
        if (!choice && (info.role == FieldRole::Input || info.role == FieldRole::ComputedIfEmpty)) {
            EXPECT_NE(info.range, "");
        }
    }
}

// The defaults are a usual design, and so is what the calculation makes of
// them: a range that excludes them is a range typed wrong.
TEST(FieldsTest, DefaultsAndTheirBaseValuesLieWithinTheUsualRanges) {
    for (const Way& setup : kWays) {
        const Calculation run = calculated(setup);
        ASSERT_TRUE(run.outcome.completed()) << setup.name;
        for (int n = 1; n <= calc::kTextFieldCount; ++n) {
            const auto field = static_cast<TextField>(n);
            const calc::FieldInfo& info = calc::fieldInfo(field);
            const auto bounds = boundsOf(info.range);
            const std::string text = run.sheet.text(field);
            if (!bounds || text.empty()) {
                continue;
            }
            double value = 0;
            calc::readPlainNumber(text.data(), text.data() + text.size(), value);
            EXPECT_GE(value, bounds->low) << setup.name << ' ' << info.name << '=' << text;
            EXPECT_LE(value, bounds->high) << setup.name << ' ' << info.name << '=' << text;
        }
    }
    // Pinned: the two ranges the guide quotes.
    EXPECT_EQ(calc::fieldInfo(calc::Text1).range, "15～60");
    EXPECT_EQ(calc::fieldInfo(calc::Text15).range, "0.26～0.44");
}

} // namespace
