// The hooks through which the stages record into a trace (calc/trace.h).
// Internal to calc/.
//
// While calculate(sheet, trace) runs, the caller's sheet carries the recorder
// (Sheet::recorder()); every hook takes the sheet its stage already holds and
// does nothing more when the sheet has no recorder, so that the plain
// calculate() pays one test of a pointer per hook. The stages write and show
// their notices through the hooks below, never through the sheet itself. The sheet rather
// than another argument keeps the stages' signatures those of the design
// procedures they are.
#pragma once

#include "calc/arith.h"
#include "calc/calculate.h"
#include "calc/overwrite.h"
#include "calc/sheet.h"
#include "calc/trace.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calc::detail {

class Recorder {
public:
    explicit Recorder(Trace& trace)
        : m_trace(trace), m_given{trace.given.data(), trace.given.data() + trace.given.size()} {}

    void begin(Stage stage);
    void end();
    // The three below run for every figure a stage touches, and are kept
    // inline: the record is filled in place, the text read written over the
    // one the entry holds (calc/overwrite.h), the quantity's name (a string
    // literal) not copied at all.
    void read(const Site& site, std::optional<TextField> field, std::string&& text,
              Conversion conversion, double value) {
        TraceRead& read = nextRead(site);
        read.field = field;
        overwrite(read.text, std::move(text));
        read.conversion = conversion;
        read.value = value;
    }
    void read(const Site& site, std::optional<TextField> field, std::string_view text,
              Conversion conversion, double value) {
        TraceRead& read = nextRead(site);
        read.field = field;
        overwrite(read.text, text);
        read.conversion = conversion;
        read.value = value;
    }
    // Whether a stage runs: its record is open, and a read can go from the
    // sheet straight into it (takeStageRead), the one copy made of the text.
    // The driver's reads go by read() above, since a failed one must not
    // open the driver's record.
    bool inStage() const { return m_top != nullptr; }
    // The next read of the stage running, to be filled in place, or given
    // back when the read fails: the record holds no failed read.
    TraceRead& takeStageRead() { return next(*m_top, &Filling::reads, &StageTrace::reads); }
    void giveBackStageRead() { --m_top->reads.next; }

    // Out of line: inlined into the stages, GCC 12 takes a copy of a short
    // literal for an overlapping one (a false -Wrestrict).
    void write(TextField field, std::string_view text);
    void write(TextField field, std::string&& text);
    void quantity(std::string_view name, double value, bool single) {
        TraceQuantity& quantity =
            next(current(Stage::calculate), &Filling::quantities, &StageTrace::quantities);
        quantity.name = name;
        quantity.value = value;
        quantity.single = single;
    }
    void notice(std::string_view message);
    void given(TextField field, std::string_view text);
    // Drops the records, and the entries of records, that the calculation
    // did not reach.
    void finish();

    // Lays the recorder on the sheet (null lifts it); hands back the one
    // that was there.
    static Recorder* exchange(Sheet& sheet, Recorder* recorder) noexcept {
        Recorder* previous = sheet.m_recorder;
        sheet.m_recorder = recorder;
        return previous;
    }

private:
    // The entries of one list of a record that this calculation fills:
    // the next to fill and the end of those the list holds.
    template <typename Entry> struct Cursor {
        Entry* next = nullptr;
        Entry* end = nullptr;
    };
    // A record being filled. The entries a record kept from the trace's
    // previous calculation are filled again in place, their strings keeping
    // their room, and whatever is left over is dropped once the record is
    // done: a trace taken again of a like calculation constructs and
    // destroys nothing.
    struct Filling {
        std::size_t record = 0;
        Cursor<TraceRead> reads;
        Cursor<TraceWrite> writes;
        Cursor<TraceQuantity> quantities;
        Cursor<std::string> notices;
    };

    // The next entry of the list `member` of the record being filled.
    template <typename Entry>
    Entry& next(Filling& filling, Cursor<Entry> Filling::*cursor,
                std::vector<Entry> StageTrace::*member) {
        Cursor<Entry>& at = filling.*cursor;
        if (at.next == at.end) [[unlikely]] {
            return grow(at, m_trace.stages[filling.record].*member);
        }
        return *at.next++;
    }
    // A list full: one entry more.
    template <typename Entry> static Entry& grow(Cursor<Entry>& at, std::vector<Entry>& list) {
        const std::size_t used = list.size();
        list.emplace_back();
        at.next = list.data() + used + 1;
        at.end = list.data() + list.size();
        return list[used];
    }
    TraceRead& nextRead(const Site& site) {
        return next(current(site.purpose ? *site.purpose : site.stage), &Filling::reads,
                    &StageTrace::reads);
    }

    // Opens the next record into `filling`.
    void open(Filling& filling, Stage stage, Stage purpose);
    void close(const Filling& filling);
    // The record of the stage running now; the driver's own record for the
    // purpose when no stage runs.
    Filling& current(Stage purpose) {
        if (m_top) {
            return *m_top;
        }
        if (m_driverOpen && m_driverPurpose == purpose) {
            return m_driver;
        }
        return openDriverRecord(purpose);
    }
    // The driver's conversions for one stage share a record, opened by the
    // first of them.
    Filling& openDriverRecord(Stage purpose);

    Trace& m_trace;
    // The records of the stages running now, innermost last: a stage calls
    // at most one other (tjfjs calls tijifa).
    std::array<Filling, 4> m_open{};
    std::size_t m_depth = 0;
    Filling* m_top = nullptr; // the innermost of them, null when no stage runs
    // The driver's record being filled, when the last record opened is one.
    Filling m_driver;
    bool m_driverOpen = false;
    Stage m_driverPurpose = Stage::calculate; // the purpose of that record, while open
    std::size_t m_used = 0;                   // records of this calculation so far
    Cursor<TraceWrite> m_given;               // the base values taken as given
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

// A read that a reader has just made, with the text it read (moved into the
// trace when there is one).
inline void traceRead(const Sheet& sheet, const Site& site, std::optional<TextField> field,
                      std::string&& text, Conversion conversion, double value) {
    if (Recorder* recorder = sheet.recorder()) {
        recorder->read(site, field, std::move(text), conversion, value);
    }
}

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

// A stage's write: into the sheet, then into the record of the stage. The
// text is moved into the trace when there is one.
inline void setText(Sheet& sheet, TextField field, std::string_view text) {
    sheet.setText(field, text);
    if (Recorder* recorder = sheet.recorder()) {
        recorder->write(field, text);
    }
}

inline void setText(Sheet& sheet, TextField field, std::string&& text) {
    sheet.setText(field, text);
    if (Recorder* recorder = sheet.recorder()) {
        recorder->write(field, std::move(text));
    }
}

inline void setText(Sheet& sheet, TextField field, const char* text) {
    setText(sheet, field, std::string_view(text));
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
