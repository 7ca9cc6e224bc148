#include "calc/trace.h"

#include "calc/tracing.h"

#include <utility>

namespace calc {

namespace detail {

// The stage and the purpose differ only for the driver's own record.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
StageTrace& Recorder::open(Stage stage, Stage purpose) {
    // A record left from the trace's previous calculation is taken again,
    // its lists emptied but their room kept: pressing "计算" again with a
    // trace allocates nothing once the trace has held a calculation alike.
    if (m_used == m_trace.stages.size()) {
        m_trace.stages.emplace_back();
    }
    StageTrace& record = m_trace.stages[m_used++];
    record.stage = stage;
    record.purpose = purpose;
    record.reads.clear();
    record.writes.clear();
    record.quantities.clear();
    record.notices.clear();
    return record;
}

void Recorder::finish() {
    m_trace.stages.resize(m_used);
}

void Recorder::begin(Stage stage) {
    m_top = &open(stage, stage);
    m_open.at(m_depth++) = m_used - 1;
}

void Recorder::end() {
    --m_depth;
    m_top = m_depth > 0 ? &m_trace.stages[m_open[m_depth - 1]] : nullptr;
}

StageTrace& Recorder::driverRecord(Stage purpose) {
    // The driver's conversions for one stage share a record, opened by the
    // first of them.
    if (m_used == 0 || m_trace.stages[m_used - 1].stage != Stage::calculate ||
        m_trace.stages[m_used - 1].purpose != purpose) {
        return open(Stage::calculate, purpose);
    }
    return m_trace.stages[m_used - 1];
}

void Recorder::notice(std::string_view message) {
    current(Stage::calculate).notices.emplace_back(message);
}

void Recorder::write(TextField field, std::string_view text) {
    TraceWrite& write = current(Stage::calculate).writes.emplace_back();
    write.field = field;
    write.text = text;
}

void Recorder::write(TextField field, std::string&& text) {
    TraceWrite& write = current(Stage::calculate).writes.emplace_back();
    write.field = field;
    write.text = std::move(text);
}

void Recorder::given(TextField field, std::string_view text) {
    m_trace.given.push_back(TraceWrite{field, std::string(text)});
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
    trace.given.clear();
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
