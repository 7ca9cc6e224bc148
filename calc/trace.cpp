#include "calc/trace.h"

#include "calc/tracing.h"

#include <string>

namespace calc {

namespace detail {

void Recorder::begin(Stage stage) {
    m_running.push_back(m_trace.stages.size());
    StageTrace& record = m_trace.stages.emplace_back();
    record.stage = stage;
    record.purpose = stage;
}

void Recorder::end() {
    m_running.pop_back();
}

StageTrace& Recorder::current(Stage purpose) {
    if (!m_running.empty()) {
        return m_trace.stages[m_running.back()];
    }
    // The driver's conversions for one stage share a record, opened by the
    // first of them.
    if (m_trace.stages.empty() || m_trace.stages.back().stage != Stage::calculate ||
        m_trace.stages.back().purpose != purpose) {
        StageTrace& record = m_trace.stages.emplace_back();
        record.stage = Stage::calculate;
        record.purpose = purpose;
    }
    return m_trace.stages.back();
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
void Recorder::read(const Site& site, std::optional<TextField> field, std::string_view text,
                    Conversion conversion, double value) {
    current(site.purpose.value_or(site.stage))
        .reads.push_back(TraceRead{field, std::string(text), conversion, value});
}

void Recorder::write(TextField field, std::string_view text) {
    current(Stage::calculate).writes.push_back(TraceWrite{field, std::string(text)});
}

void Recorder::quantity(std::string_view name, double value, bool single) {
    current(Stage::calculate).quantities.push_back(TraceQuantity{name, value, single});
}

void Recorder::notice(std::string_view message) {
    current(Stage::calculate).notices.emplace_back(message);
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
    trace = Trace{};
    detail::Recorder recorder(trace);
    const detail::RecorderOnSheet recording(sheet, &recorder);
    const Outcome outcome = detail::runCalculation(sheet);
    trace.stop = outcome.stop;
    return outcome;
}

} // namespace calc
