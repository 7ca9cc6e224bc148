#include "calc/trace.h"

#include "calc/overwrite.h"
#include "calc/tracing.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace calc {

namespace detail {

namespace {

// A cursor over every entry the list holds now.
template <typename Cursor, typename Entry> void start(Cursor& cursor, std::vector<Entry>& list) {
    cursor.next = list.data();
    cursor.end = list.data() + list.size();
}

// Drops the entries after those the cursor has filled.
template <typename Cursor, typename Entry>
void trim(const Cursor& cursor, std::vector<Entry>& list) {
    if (cursor.next != cursor.end) {
        list.erase(list.begin() + (cursor.next - list.data()), list.end());
    }
}

} // namespace

// The stage and the purpose differ only for the driver's own record. Inline,
// as close() below: every stage opens and closes a record, and begin() and
// end() are their only other work.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
inline void Recorder::open(Filling& filling, Stage stage, Stage purpose) {
    // The driver's record is done once any other opens.
    if (m_driverOpen) {
        close(m_driver);
        m_driverOpen = false;
    }
    if (m_used == m_trace.stages.size()) {
        m_trace.stages.emplace_back();
    }
    StageTrace& record = m_trace.stages[m_used];
    record.stage = stage;
    record.purpose = purpose;
    filling.record = m_used++;
    start(filling.reads, record.reads);
    start(filling.writes, record.writes);
    start(filling.quantities, record.quantities);
    start(filling.notices, record.notices);
}

inline void Recorder::close(const Filling& filling) {
    // A record filled as far as it reaches keeps every entry it holds.
    if (filling.reads.next == filling.reads.end && filling.writes.next == filling.writes.end &&
        filling.quantities.next == filling.quantities.end &&
        filling.notices.next == filling.notices.end) {
        return;
    }
    StageTrace& record = m_trace.stages[filling.record];
    trim(filling.reads, record.reads);
    trim(filling.writes, record.writes);
    trim(filling.quantities, record.quantities);
    trim(filling.notices, record.notices);
}

void Recorder::finish() {
    // A stage's record was closed by its end, a stop included; the driver's
    // is closed here.
    if (m_driverOpen) {
        close(m_driver);
        m_driverOpen = false;
    }
    m_trace.stages.resize(m_used);
    trim(m_given, m_trace.given);
}

void Recorder::begin(Stage stage) {
    Filling& filling = m_open.at(m_depth);
    open(filling, stage, stage);
    ++m_depth;
    m_top = &filling;
}

void Recorder::end() {
    close(*m_top);
    --m_depth;
    m_top = m_depth > 0 ? &m_open[m_depth - 1] : nullptr;
}

Recorder::Filling& Recorder::openDriverRecord(Stage purpose) {
    open(m_driver, Stage::calculate, purpose);
    m_driverOpen = true;
    m_driverPurpose = purpose;
    return m_driver;
}

void Recorder::notice(std::string_view message) {
    overwrite(next(current(Stage::calculate), &Filling::notices, &StageTrace::notices), message);
}

void Recorder::write(TextField field, std::string_view text) {
    TraceWrite& write = next(current(Stage::calculate), &Filling::writes, &StageTrace::writes);
    write.field = field;
    overwrite(write.text, text);
}

void Recorder::write(TextField field, std::string&& text) {
    TraceWrite& write = next(current(Stage::calculate), &Filling::writes, &StageTrace::writes);
    write.field = field;
    overwrite(write.text, std::move(text));
}

void Recorder::given(TextField field, std::string_view text) {
    TraceWrite& given =
        m_given.next == m_given.end ? grow(m_given, m_trace.given) : *m_given.next++;
    given.field = field;
    overwrite(given.text, text);
}

} // namespace detail

std::string_view conversionName(Conversion conversion) {
    return conversion == Conversion::parseStrict ? "parseStrict" : "readLenient";
}

std::optional<Conversion> conversionByName(std::string_view name) {
    if (name == "parseStrict") {
        return Conversion::parseStrict;
    }
    if (name == "readLenient") {
        return Conversion::readLenient;
    }
    return std::nullopt;
}

std::optional<std::string_view> quantityName(std::string_view name) {
    // Every name a stage records, first by stage: 第一步, 第二步, 第三步,
    // 第四步, tijifa, zhiliangfa, tiaozheng.
    static constexpr std::string_view kNames[] = {
        "p",  "fcu0",  "a", "A", "b", "B", "wc", "cw", "mc0",  "tjfsl", "k",    "Vc",  "VcCut",
        "Vw", "VwCut", "V", "G", "S", "P", "D",  "Ws", "Swet", "Wg",    "Gwet", "Wadd"};
    for (const std::string_view known : kNames) {
        if (known == name) {
            return known;
        }
    }
    return std::nullopt;
}

const TraceRead* StageTrace::read(TextField field) const {
    for (const TraceRead& r : reads) {
        if (r.field == field) {
            return &r;
        }
    }
    return nullptr;
}

const TraceWrite* StageTrace::written(TextField field) const {
    for (auto w = writes.rbegin(); w != writes.rend(); ++w) {
        if (w->field == field) {
            return &*w;
        }
    }
    return nullptr;
}

const TraceQuantity* StageTrace::quantity(std::string_view name) const {
    for (const TraceQuantity& q : quantities) {
        if (q.name == name) {
            return &q;
        }
    }
    return nullptr;
}

const StageTrace* Trace::find(Stage stage, int nth) const {
    for (const StageTrace& record : stages) {
        if (record.stage == stage && nth-- == 0) {
            return &record;
        }
    }
    return nullptr;
}

const StageTrace* Trace::driverReadsFor(Stage purpose) const {
    for (const StageTrace& record : stages) {
        if (record.stage == Stage::calculate && record.purpose == purpose) {
            return &record;
        }
    }
    return nullptr;
}

const TraceWrite* Trace::givenText(TextField field) const {
    for (const TraceWrite& g : given) {
        if (g.field == field) {
            return &g;
        }
    }
    return nullptr;
}

Outcome calculate(Sheet& sheet, Trace& trace) {
    trace.stop.reset();
    detail::Recorder recorder(trace);
    Outcome outcome;
    {
        const detail::RecorderOnSheet recording(sheet, &recorder);
        outcome = detail::runCalculation(sheet);
    }
    recorder.finish();
    trace.stop = outcome.stop;
    return outcome;
}

} // namespace calc
