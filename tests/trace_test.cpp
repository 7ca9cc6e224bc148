// The trace of a calculation: it holds every figure the calculation wrote,
// with the very text written, and the values each stage used; taking it
// changes nothing on the sheet.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "tests/sheet_fixture.h"

#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using namespace calc;
using calc::testing::resetSheet;

// A sheet that logs every write the calculation makes, in order.
class WriteLog final : public Sheet {
public:
    explicit WriteLog(MemorySheet& sheet) : m_sheet(sheet) {}
    std::string text(TextField field) const override { return m_sheet.text(field); }
    void setText(TextField field, std::string_view text) override {
        writes.push_back(TraceWrite{field, std::string(text)});
        m_sheet.setText(field, text);
    }
    bool isSelected(Option option) const override { return m_sheet.isSelected(option); }
    void select(Option option) override { m_sheet.select(option); }
    bool isChecked(Check check) const override { return m_sheet.isChecked(check); }
    void setChecked(Check check, bool checked) override { m_sheet.setChecked(check, checked); }
    void showNotice(std::string_view message) override { m_sheet.showNotice(message); }
    const NumberFormat& numberFormat() const override { return m_sheet.numberFormat(); }

    std::vector<TraceWrite> writes;

private:
    MemorySheet& m_sheet;
};

// A sheet whose notice, while it is open, presses "计算" on another window's
// sheet, as the notice's modal loop lets a user do: plainly, or with a trace
// of its own when `inner` is set.
class CalculatesDuringNotice final : public Sheet {
public:
    CalculatesDuringNotice(MemorySheet& sheet, Trace* inner) : m_sheet(sheet), m_inner(inner) {}
    std::string text(TextField field) const override { return m_sheet.text(field); }
    void setText(TextField field, std::string_view text) override { m_sheet.setText(field, text); }
    bool isSelected(Option option) const override { return m_sheet.isSelected(option); }
    void select(Option option) override { m_sheet.select(option); }
    bool isChecked(Check check) const override { return m_sheet.isChecked(check); }
    void setChecked(Check check, bool checked) override { m_sheet.setChecked(check, checked); }
    void showNotice(std::string_view message) override {
        m_sheet.showNotice(message);
        MemorySheet other = resetSheet();
        const Outcome outcome = m_inner ? calculate(other, *m_inner) : calculate(other);
        ASSERT_TRUE(outcome.completed());
    }
    const NumberFormat& numberFormat() const override { return m_sheet.numberFormat(); }

private:
    MemorySheet& m_sheet;
    Trace* m_inner;
};

// A sheet of its own (copyable) that, at the first notice, does one of two
// things a notice's loop could start: calculates on this very sheet without
// a trace, or runs a stage on a copy of itself.
class BusyDuringNotice final : public Sheet {
public:
    enum class Action { CalculateHere, StageOnCopy };
    BusyDuringNotice(MemorySheet sheet, Action action)
        : m_sheet(std::move(sheet)), m_action(action) {}
    std::string text(TextField field) const override { return m_sheet.text(field); }
    void setText(TextField field, std::string_view text) override { m_sheet.setText(field, text); }
    bool isSelected(Option option) const override { return m_sheet.isSelected(option); }
    void select(Option option) override { m_sheet.select(option); }
    bool isChecked(Check check) const override { return m_sheet.isChecked(check); }
    void setChecked(Check check, bool checked) override { m_sheet.setChecked(check, checked); }
    void showNotice(std::string_view message) override {
        m_sheet.showNotice(message);
        if (m_busy) {
            return;
        }
        m_busy = true;
        if (m_action == Action::CalculateHere) {
            ASSERT_TRUE(calculate(*this).completed());
        } else {
            BusyDuringNotice copy = *this;
            第一步(copy);
        }
    }
    const NumberFormat& numberFormat() const override { return m_sheet.numberFormat(); }
    const MemorySheet& sheet() const { return m_sheet; }

private:
    MemorySheet m_sheet;
    Action m_action;
    bool m_busy = false;
};

std::vector<TraceWrite> allWrites(const Trace& trace) {
    std::vector<TraceWrite> writes;
    for (const StageTrace& stage : trace.stages) {
        writes.insert(writes.end(), stage.writes.begin(), stage.writes.end());
    }
    return writes;
}

bool isCase(const nlohmann::json& c) {
    if (!c.is_object()) {
        return false;
    }
    if (!c.contains("fields")) {
        return true;
    }
    for (const auto& [name, text] : c["fields"].items()) {
        if (!textFieldByName(name) || !text.is_string()) {
            return false;
        }
    }
    return true;
}

// A golden case's sheet, set up as the replay tool sets it up.
MemorySheet sheetOf(const nlohmann::json& c) {
    NumberFormat format;
    if (c.contains("format")) {
        const auto& f = c["format"];
        format.decimal = f.value("decimal", format.decimal);
        format.group = f.value("group", format.group);
        format.groupSize = f.value("groupSize", format.groupSize);
        format.negative = f.value("negative", format.negative);
    }
    MemorySheet sheet(format);
    qk(sheet);
    if (c.contains("fields")) {
        for (const auto& [name, text] : c["fields"].items()) {
            sheet.setText(*textFieldByName(name), text.get<std::string>());
        }
    }
    for (const Option option : {Option::option1, Option::option2}) {
        const std::string key(optionName(option));
        if (c.contains(key)) {
            sheet.setOptionRaw(option, c[key].get<bool>());
        }
    }
    return sheet;
}

TEST(Trace, EveryGoldenCaseWritesTheSameAndTheTraceHoldsEveryWrite) {
    std::ifstream cases(LANSHI_GOLDEN_CASES);
    ASSERT_TRUE(cases) << LANSHI_GOLDEN_CASES;
    int count = 0;
    // One trace taken again case after case, over records left by another
    // calculation, ends as the fresh one does.
    Trace carried;
    for (std::string line; std::getline(cases, line);) {
        const nlohmann::json c = nlohmann::json::parse(line, nullptr, false);
        // The lines that are no valid case test the replay tool, not this.
        if (!isCase(c)) {
            continue;
        }
        ++count;
        SCOPED_TRACE(line);
        MemorySheet plain = sheetOf(c);
        MemorySheet traced = sheetOf(c);
        const int presses = c.value("presses", 1);
        Outcome plainOutcome;
        Outcome tracedOutcome;
        Trace trace;
        WriteLog log(traced);
        for (int press = 0; press < presses; ++press) {
            plainOutcome = calculate(plain);
            log.writes.clear();
            tracedOutcome = calculate(log, trace);
        }
        EXPECT_EQ(traced, plain);
        EXPECT_EQ(tracedOutcome.stop, plainOutcome.stop);
        EXPECT_EQ(trace.stop, plainOutcome.stop);
        // Each write of the last press, in order and with its text, is in the
        // record of the stage that made it.
        EXPECT_EQ(allWrites(trace), log.writes);
        MemorySheet again = sheetOf(c);
        for (int press = 0; press < presses; ++press) {
            calculate(again, carried);
        }
        EXPECT_EQ(carried, trace);
        // Every quantity goes by a name that a saved record can be read back by.
        for (const StageTrace& stage : trace.stages) {
            for (const TraceQuantity& q : stage.quantities) {
                EXPECT_EQ(quantityName(q.name), q.name);
            }
        }
    }
    EXPECT_GT(count, 50);
}

TEST(Trace, DefaultsRecordEachStageWithTheValuesItUsed) {
    MemorySheet sheet = resetSheet();
    Trace trace;
    ASSERT_TRUE(calculate(sheet, trace).completed());
    EXPECT_TRUE(trace.given.empty());

    std::vector<Stage> order;
    for (const StageTrace& stage : trace.stages) {
        order.push_back(stage.stage);
    }
    EXPECT_EQ(order, (std::vector<Stage>{Stage::第一步, Stage::第二步, Stage::第三步, Stage::第四步,
                                         Stage::tjfjs, Stage::tijifa, Stage::tijifa}));

    // 第一步 converts σ before fcu,k.
    const StageTrace& first = trace.stages[0];
    ASSERT_EQ(first.reads.size(), 2u);
    EXPECT_EQ(first.reads[0], (TraceRead{Text3, "4", Conversion::parseStrict, 4.0}));
    EXPECT_EQ(first.reads[1], (TraceRead{Text1, "20", Conversion::parseStrict, 20.0}));
    EXPECT_EQ(first.quantity("fcu0")->value, 20.0 + 4.0 * 1.645);
    EXPECT_FALSE(first.quantity("fcu0")->single);
    EXPECT_EQ(first.writes, (std::vector<TraceWrite>{{Text2, "26.58"}}));

    const StageTrace& second = trace.stages[1];
    EXPECT_EQ(second.read(Text2)->value, double(26.58f));
    EXPECT_EQ(second.quantity("wc")->value, double(0.52018863f));
    EXPECT_TRUE(second.quantity("wc")->single);

    // 第四步 reads Text8 leniently and its own text back strictly.
    const StageTrace& fourth = trace.stages[3];
    EXPECT_EQ(fourth.read(Text8)->conversion, Conversion::readLenient);
    ASSERT_EQ(fourth.reads.size(), 3u);
    EXPECT_EQ(fourth.reads[2], (TraceRead{Text4, "346.15", Conversion::parseStrict, 346.15f}));
    EXPECT_TRUE(fourth.notices.empty());

    // Both calls of the solver, with the volumes cut to two decimals and the
    // aggregate volume narrowed to even.
    for (int call = 0; call < 2; ++call) {
        const StageTrace& solver = *trace.find(Stage::tijifa, call);
        EXPECT_EQ(solver.quantity("VcCut")->value, double(111.66f));
        EXPECT_EQ(solver.quantity("V")->value, 698.3399658203125);
        EXPECT_EQ(solver.quantity("G")->value, 1206.7314453125);
        EXPECT_EQ(solver.quantity("S")->value, 678.7864990234375);
        EXPECT_TRUE(solver.writes.empty());
    }
    EXPECT_EQ(trace.find(Stage::tijifa, 2), nullptr);

    // tjfjs writes both rows; its proportions read the mass row leniently.
    const StageTrace& volume = *trace.find(Stage::tjfjs);
    EXPECT_EQ(volume.writes.size(), 8u);
    EXPECT_EQ(volume.written(Text13)->text, "1206.731");
    EXPECT_EQ(volume.written(Text31)->text, "1.96");
    EXPECT_EQ(volume.read(Text12)->value, 678.7865);
}

TEST(Trace, TypedBaseValuesAreRecordedAsGivenAndTheirStagesDoNotRun) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text8, "0.50");
    sheet.setText(Text10, "abc");
    Trace trace;
    ASSERT_TRUE(calculate(sheet, trace).completed());
    EXPECT_EQ(trace.given, (std::vector<TraceWrite>{{Text8, "0.50"}, {Text10, "abc"}}));
    EXPECT_NE(trace.find(Stage::第一步), nullptr);
    EXPECT_EQ(trace.find(Stage::第二步), nullptr);
    EXPECT_EQ(trace.find(Stage::第三步), nullptr);
    EXPECT_EQ(trace.find(Stage::第四步)->written(Text4)->text, "360.00");
    EXPECT_EQ(trace.givenText(Text8)->text, "0.50");
    EXPECT_EQ(trace.givenText(Text2), nullptr);
}

TEST(Trace, CementMinimumKeepsTheComputedTextTheReplacementAndTheNotice) {
    MemorySheet sheet = resetSheet();
    sheet.setText(Text26, "120");
    Trace trace;
    ASSERT_TRUE(calculate(sheet, trace).completed());
    const StageTrace& fourth = *trace.find(Stage::第四步);
    EXPECT_EQ(fourth.writes, (std::vector<TraceWrite>{{Text4, "230.77"}, {Text4, "260"}}));
    EXPECT_EQ(fourth.notices, std::vector<std::string>{std::string(kCementMinimumNotice)});
    EXPECT_EQ(fourth.quantity("mc0")->value, 120.0 / 0.52);
    EXPECT_EQ(sheet.notices().size(), 1u); // the notice is still shown, once
}

TEST(Trace, DriverConversionsAreRecordedForTheStageTheyServe) {
    MemorySheet sheet = resetSheet();
    sheet.select(Option::option2);
    sheet.setText(Text4, "382.98");
    sheet.setText(Text20, "2400");
    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    Trace trace;
    ASSERT_TRUE(calculate(sheet, trace).completed());

    auto fieldsRead = [](const StageTrace* stage) {
        std::vector<std::optional<TextField>> fields;
        for (const TraceRead& r : stage->reads) {
            fields.push_back(r.field);
        }
        return fields;
    };
    const StageTrace* forMass = trace.driverReadsFor(Stage::zhiliangfa);
    ASSERT_NE(forMass, nullptr);
    EXPECT_EQ(fieldsRead(forMass),
              (std::vector<std::optional<TextField>>{Text20, Text26, Text4, Text15}));
    const StageTrace* forMoisture = trace.driverReadsFor(Stage::tiaozheng);
    ASSERT_NE(forMoisture, nullptr);
    EXPECT_EQ(fieldsRead(forMoisture),
              (std::vector<std::optional<TextField>>{Text24, Text21, Text4, Text32, Text31}));
    // The moisture adjustment starts from the two-decimal proportions.
    EXPECT_EQ(forMoisture->read(Text31)->text, "1.73");

    const StageTrace& mass = *trace.find(Stage::zhiliangfa);
    EXPECT_EQ(mass.quantity("A")->value, 1837.02001953125);
    EXPECT_EQ(mass.quantity("G")->value, 1175.6927490234375);
    // The stone and sand texts read back for the proportions stand in no field.
    EXPECT_EQ(mass.reads[2],
              (TraceRead{std::nullopt, "1175.693", Conversion::readLenient, 1175.693}));

    const StageTrace& moisture = *trace.find(Stage::tiaozheng);
    EXPECT_EQ(moisture.quantity("S")->value, 662.555419921875);
    EXPECT_EQ(moisture.quantity("Swet")->value, 682.4320678710938);
    EXPECT_EQ(moisture.quantity("Wadd")->value, 148.3658447265625);
    EXPECT_EQ(moisture.written(Text30)->text, "1");
}

TEST(Trace, AStopIsRecordedWithWhatRanBeforeIt) {
    MemorySheet sheet = resetSheet();
    sheet.select(Option::option2); // Text20 empty
    Trace trace;
    const Outcome outcome = calculate(sheet, trace);
    ASSERT_FALSE(outcome.completed());
    EXPECT_FALSE(trace.completed());
    EXPECT_EQ(trace.stop, outcome.stop);
    EXPECT_EQ(trace.stop->field, Text20);
    EXPECT_NE(trace.find(Stage::第四步), nullptr);
    EXPECT_EQ(trace.find(Stage::zhiliangfa), nullptr);
    // The failed conversion was the first; nothing was read for the stage.
    EXPECT_EQ(trace.driverReadsFor(Stage::zhiliangfa), nullptr);
}

TEST(Trace, ATraceIsReplacedNotExtendedAndAPlainCalculationRecordsNothing) {
    MemorySheet sheet = resetSheet();
    Trace trace;
    ASSERT_TRUE(calculate(sheet, trace).completed());
    // Pressed again: the base fields are filled now, so all four are given.
    ASSERT_TRUE(calculate(sheet, trace).completed());
    EXPECT_EQ(trace.given.size(), 4u);
    EXPECT_EQ(trace.stages.size(), 3u); // tjfjs and its two solver calls
    const Trace second = trace;
    // No recorder is left behind: a plain calculation touches no trace.
    ASSERT_TRUE(calculate(sheet).completed());
    EXPECT_EQ(trace, second);
}

// The trace belongs to the sheet calculated: a calculation on another sheet,
// started while the traced one shows its notice, adds nothing to it, and one
// traced there gets a trace of its own, the same as when run alone.
TEST(Trace, ACalculationStartedFromAnOpenNoticeKeepsOutOfTheOuterTrace) {
    auto belowMinimum = [] {
        MemorySheet sheet = resetSheet();
        sheet.setText(Text26, "120");
        return sheet;
    };
    MemorySheet alone = belowMinimum();
    Trace expected;
    ASSERT_TRUE(calculate(alone, expected).completed());
    ASSERT_EQ(expected.stages.size(), 7u);
    MemorySheet defaults = resetSheet();
    Trace expectedInner;
    ASSERT_TRUE(calculate(defaults, expectedInner).completed());

    for (const bool innerTraced : {false, true}) {
        SCOPED_TRACE(innerTraced ? "inner calculation traced" : "inner calculation plain");
        MemorySheet sheet = belowMinimum();
        Trace inner;
        CalculatesDuringNotice nesting(sheet, innerTraced ? &inner : nullptr);
        Trace outer;
        ASSERT_TRUE(calculate(nesting, outer).completed());
        EXPECT_EQ(outer.stages.size(), 7u);
        EXPECT_EQ(outer, expected);
        EXPECT_EQ(sheet, alone);
        EXPECT_EQ(inner, innerTraced ? expectedInner : Trace{});
    }
}

// The recorder belongs to the traced calculation, not to the sheet: a plain
// calculation started on the same sheet from the open notice records
// nothing, nor does a stage run on a copy of the sheet, and the sheet
// carries no recorder once the traced calculation is over.
TEST(Trace, WorkStartedFromAnOpenNoticeOnTheSameSheetOrItsCopyKeepsOutOfTheTrace) {
    MemorySheet belowMinimum = resetSheet();
    belowMinimum.setText(Text26, "120");
    MemorySheet alone = belowMinimum;
    Trace expected;
    ASSERT_TRUE(calculate(alone, expected).completed());
    ASSERT_EQ(expected.stages.size(), 7u);

    for (const auto action :
         {BusyDuringNotice::Action::CalculateHere, BusyDuringNotice::Action::StageOnCopy}) {
        SCOPED_TRACE(action == BusyDuringNotice::Action::CalculateHere ? "calculated here"
                                                                       : "stage on a copy");
        BusyDuringNotice sheet(belowMinimum, action);
        Trace outer;
        ASSERT_TRUE(calculate(sheet, outer).completed());
        EXPECT_EQ(outer.stages.size(), 7u);
        EXPECT_EQ(outer, expected);
        EXPECT_EQ(sheet.recorder(), nullptr);
    }
}

} // namespace
