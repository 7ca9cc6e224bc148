// The hooks through which the stages record into a trace (calc/trace.h).
// Internal to calc/.
//
// While calculate(sheet, trace) runs, the caller's sheet carries the recorder
// (Sheet::recorder()); every hook takes the sheet its stage already holds and
// does nothing more when the sheet has no recorder, so that the plain
// calculate() pays one test of a pointer per hook. The stages write and show
// their notices through the hooks below, never through the sheet itself. The
// sheet rather than another argument keeps the stages' signatures those of
// the design procedures they are.
#pragma once

#include "calc/arith.h"
#include "calc/calculate.h"
#include "calc/sheet.h"
#include "calc/trace.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace calc::detail {

class Recorder {
public:
    // Records into `trace`, which the caller has emptied.
    explicit Recorder(Trace& trace) : m_trace(trace) {}

    void begin(Stage stage);
    void end();
    void read(const Site& site, std::optional<TextField> field, std::string_view text,
              Conversion conversion, double value);
    void write(TextField field, std::string_view text);
    void quantity(std::string_view name, double value, bool single);
    void notice(std::string_view message);
    void given(TextField field, std::string_view text);

    // Lays the recorder on the sheet (null lifts it); hands back the one
    // that was there.
    static Recorder* exchange(Sheet& sheet, Recorder* recorder) noexcept {
        Recorder* previous = sheet.m_recorder;
        sheet.m_recorder = recorder;
        return previous;
    }

private:
    // The record of the stage running now; the driver's own record for the
    // purpose when no stage runs.
    StageTrace& current(Stage purpose);

    Trace& m_trace;
    // The records of the stages running now, innermost last, by their place
    // in the trace: tjfjs calls tijifa.
    std::vector<std::size_t> m_running;
};

// A recorder laid on the sheet (or, for null, the sheet's recorder lifted)
// for as long as this lives; what was there before comes back after.
class RecorderOnSheet {
public:
    RecorderOnSheet(Sheet& sheet, Recorder* recorder) noexcept
        : m_sheet(sheet), m_previous(Recorder::exchange(sheet, recorder)) {}
    ~RecorderOnSheet() { Recorder::exchange(m_sheet, m_previous); }
    RecorderOnSheet(const RecorderOnSheet&) = delete;
    RecorderOnSheet& operator=(const RecorderOnSheet&) = delete;

private:
    Sheet& m_sheet;
    Recorder* m_previous;
};

// The calculation itself, recording into whatever recorder the sheet
// carries: calculate(sheet) lifts it first, calculate(sheet, trace) lays its
// own.
Outcome runCalculation(Sheet& sheet);

// Opens the record of a stage for as long as the stage runs, a stop included.
class TraceStage {
public:
    TraceStage(const Sheet& sheet, Stage stage) : m_recorder(sheet.recorder()) {
        if (m_recorder) {
            m_recorder->begin(stage);
        }
    }
    ~TraceStage() {
        if (m_recorder) {
            m_recorder->end();
        }
    }
    TraceStage(const TraceStage&) = delete;
    TraceStage& operator=(const TraceStage&) = delete;

private:
    Recorder* m_recorder;
};

// A read that a reader has just made, with the text it read.
inline void traceRead(const Sheet& sheet, const Site& site, std::optional<TextField> field,
                      std::string_view text, Conversion conversion, double value) {
    if (Recorder* recorder = sheet.recorder()) {
        recorder->read(site, field, text, conversion, value);
    }
}

inline void traceQuantity(const Sheet& sheet, std::string_view name, float value) {
    if (Recorder* recorder = sheet.recorder()) {
        recorder->quantity(name, value, true);
    }
}

inline void traceQuantity(const Sheet& sheet, std::string_view name, double value) {
    if (Recorder* recorder = sheet.recorder()) {
        recorder->quantity(name, value, false);
    }
}

// A stage's write: into the sheet, then into the record of the stage.
inline void setText(Sheet& sheet, TextField field, std::string_view text) {
    sheet.setText(field, text);
    if (Recorder* recorder = sheet.recorder()) {
        recorder->write(field, text);
    }
}

// A stage's notice, recorded first: it is part of the stage's work even
// while the box is still open.
inline void showNotice(Sheet& sheet, std::string_view message) {
    if (Recorder* recorder = sheet.recorder()) {
        recorder->notice(message);
    }
    sheet.showNotice(message);
}

// The driver's test of a base field, reading its text once: a text already
// there is taken as given, and recorded so.
inline bool isGiven(const Sheet& sheet, TextField field) {
    const std::string text = sheet.text(field);
    if (text.empty()) {
        return false;
    }
    if (Recorder* recorder = sheet.recorder()) {
        recorder->given(field, text);
    }
    return true;
}

} // namespace calc::detail
