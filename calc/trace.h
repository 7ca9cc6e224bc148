// What a calculation did, stage by stage: the record from which the
// calculation report shows every step with the very figures it used.
//
//     calc::Trace trace;
//     const calc::Outcome outcome = calc::calculate(sheet, trace);
//     for (const calc::StageTrace& stage : trace.stages) { ... }
//
// A trace is taken only when one is asked for (the overload of calculate()
// below); the plain calculate() records nothing and costs nothing more. The
// trace never changes what the calculation writes.
#pragma once

#include "calc/calculate.h"
#include "calc/sheet.h"
#include "calc/stop.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calc {

// How a text became a number.
enum class Conversion {
    parseStrict, // the whole text is one number in the regional format, or the read fails
    readLenient, // the longest leading number; never fails
};

std::string_view conversionName(Conversion conversion); // "parseStrict", "readLenient"
std::optional<Conversion> conversionByName(std::string_view name);

// The name of a quantity that some stage records, as the stages spell it
// ("Vc", "Swet"); nothing for any other text.
std::optional<std::string_view> quantityName(std::string_view name);

struct TraceRead {
    // The field read; none for a text that stands in no field (a mass text
    // that the mass method reads back before the proportions).
    std::optional<TextField> field;
    std::string text;
    Conversion conversion = Conversion::parseStrict;
    // The number read: a single widened exactly for parseStrict, a double for
    // readLenient.
    double value = 0.0;

    friend bool operator==(const TraceRead&, const TraceRead&) = default;
};

struct TraceWrite {
    TextField field = Text1;
    std::string text;

    friend bool operator==(const TraceWrite&, const TraceWrite&) = default;
};

// A quantity that a stage computes on its way and shows nowhere on the sheet
// (the volumes of the volume method, the aggregate mass of the mass method,
// the water the wet aggregate carries), under the name of the stage's local.
// The name is one of quantityNames(), which outlive every trace.
struct TraceQuantity {
    std::string_view name;
    double value = 0.0;
    bool single = true; // held in single precision (else double)

    friend bool operator==(const TraceQuantity&, const TraceQuantity&) = default;
};

// One run of one stage. The driver's own conversions before zhiliangfa and
// tiaozheng make a record of their own: stage calculate, purpose the stage
// they are for.
struct StageTrace {
    Stage stage = Stage::calculate;
    Stage purpose = Stage::calculate;
    std::vector<TraceRead> reads;   // in the order made
    std::vector<TraceWrite> writes; // in the order made
    std::vector<TraceQuantity> quantities;
    std::vector<std::string> notices; // the notices shown, in order

    // The first read of the field, the last text written into it, the
    // quantity of that name; null when there is none.
    const TraceRead* read(TextField field) const;
    const TraceWrite* written(TextField field) const;
    const TraceQuantity* quantity(std::string_view name) const;

    friend bool operator==(const StageTrace&, const StageTrace&) = default;
};

struct Trace {
    // Every stage that ran, in the order it started; a stage called by
    // another (tijifa by tjfjs) follows its caller's record.
    std::vector<StageTrace> stages;
    // The base values taken from a text already in their field (Text2, Text8,
    // Text10, Text4), with that text: their stage did not run.
    std::vector<TraceWrite> given;
    // Where the calculation stopped; empty when it ran to its end.
    std::optional<Stop> stop;

    bool completed() const { return !stop.has_value(); }
    // The n-th record (from 0) of the stage, or null.
    const StageTrace* find(Stage stage, int nth = 0) const;
    // The driver's conversions made for the stage, or null.
    const StageTrace* driverReadsFor(Stage purpose) const;
    // The text the base field was taken from, when it was taken as given.
    const TraceWrite* givenText(TextField field) const;

    friend bool operator==(const Trace&, const Trace&) = default;
};

// calculate() that also records what it does into `trace` (emptied first).
// The sheet ends exactly as the plain calculate() leaves it.
Outcome calculate(Sheet& sheet, Trace& trace);

} // namespace calc
