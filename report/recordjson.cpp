#include "report/recordjson.h"

#include <cmath>
#include <string>

namespace report {

using nlohmann::json;

namespace {

constexpr calc::Stage kStages[] = {
    calc::Stage::第一步,     calc::Stage::第二步,    calc::Stage::第三步,
    calc::Stage::第四步,     calc::Stage::tjfjs,     calc::Stage::tijifa,
    calc::Stage::zhiliangfa, calc::Stage::tiaozheng, calc::Stage::calculate,
};
constexpr calc::Reason kReasons[] = {calc::Reason::NotANumber, calc::Reason::DivisionByZero,
                                     calc::Reason::InvalidOperation, calc::Reason::Overflow};

// Thrown inside the reader for any value this program would not have written.
struct NotARecord {};

const json& member(const json& object, const char* key) {
    if (!object.is_object() || !object.contains(key)) {
        throw NotARecord{};
    }
    return object.at(key);
}

std::string text(const json& value) {
    if (!value.is_string()) {
        throw NotARecord{};
    }
    return value.get<std::string>();
}

double number(const json& value) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        throw NotARecord{};
    }
    return value.get<double>();
}

bool flag(const json& value) {
    if (!value.is_boolean()) {
        throw NotARecord{};
    }
    return value.get<bool>();
}

const json& array(const json& value) {
    if (!value.is_array()) {
        throw NotARecord{};
    }
    return value;
}

calc::TextField field(const json& value) {
    const std::optional<calc::TextField> found = calc::textFieldByName(text(value));
    if (!found) {
        throw NotARecord{};
    }
    return *found;
}

calc::Stage stage(const json& value) {
    const std::string name = text(value);
    for (const calc::Stage s : kStages) {
        if (calc::stageName(s) == name) {
            return s;
        }
    }
    throw NotARecord{};
}

calc::Reason reason(const json& value) {
    const std::string name = text(value);
    for (const calc::Reason r : kReasons) {
        if (calc::reasonName(r) == name) {
            return r;
        }
    }
    throw NotARecord{};
}

json optionalField(const std::optional<calc::TextField>& f) {
    return f ? json(calc::fieldName(*f)) : json();
}

std::optional<calc::TextField> optionalField(const json& value) {
    if (value.is_null()) {
        return std::nullopt;
    }
    return field(value);
}

LastCalculation read(const json& in) {
    LastCalculation last;
    const json& after = member(in, "after");
    // The entries recorded only are kept as the design has them: they never
    // decide whether the record still holds.
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto f = static_cast<calc::TextField>(n);
        if (!recordedOnly(f)) {
            last.after.texts[std::size_t(n - 1)] = text(member(after, calc::fieldName(f).c_str()));
        }
    }
    for (const calc::Option option : {calc::Option::option1, calc::Option::option2}) {
        last.after.options[std::size_t(option)] =
            flag(member(after, std::string(calc::optionName(option)).c_str()));
    }

    for (const json& g : array(member(in, "given"))) {
        last.trace.given.push_back({field(member(g, "field")), text(member(g, "text"))});
    }
    for (const json& s : array(member(in, "stages"))) {
        calc::StageTrace record;
        record.stage = stage(member(s, "stage"));
        record.purpose = stage(member(s, "purpose"));
        for (const json& r : array(member(s, "reads"))) {
            const std::optional<calc::Conversion> conversion =
                calc::conversionByName(text(member(r, "conversion")));
            if (!conversion) {
                throw NotARecord{};
            }
            record.reads.push_back({optionalField(member(r, "field")), text(member(r, "text")),
                                    *conversion, number(member(r, "value"))});
        }
        for (const json& w : array(member(s, "writes"))) {
            record.writes.push_back({field(member(w, "field")), text(member(w, "text"))});
        }
        for (const json& q : array(member(s, "quantities"))) {
            const std::optional<std::string_view> name =
                calc::quantityName(text(member(q, "name")));
            if (!name) {
                throw NotARecord{};
            }
            record.quantities.push_back(
                {*name, number(member(q, "value")), flag(member(q, "single"))});
        }
        for (const json& notice : array(member(s, "notices"))) {
            record.notices.push_back(text(notice));
        }
        last.trace.stages.push_back(std::move(record));
    }
    const json& stop = member(in, "stop");
    if (!stop.is_null()) {
        calc::Stop s;
        s.stage = stage(member(stop, "stage"));
        s.field = optionalField(member(stop, "field"));
        s.reason = reason(member(stop, "reason"));
        s.concerned = optionalField(member(stop, "concerned"));
        s.purpose = stage(member(stop, "purpose"));
        last.trace.stop = s;
    }
    return last;
}

} // namespace

json recordToJson(const LastCalculation& last) {
    json after = json::object();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto f = static_cast<calc::TextField>(n);
        if (!recordedOnly(f)) {
            after[calc::fieldName(f)] = last.after.texts[std::size_t(n - 1)];
        }
    }
    for (const calc::Option option : {calc::Option::option1, calc::Option::option2}) {
        after[std::string(calc::optionName(option))] = last.after.options[std::size_t(option)];
    }

    json given = json::array();
    for (const calc::TraceWrite& g : last.trace.given) {
        given.push_back({{"field", calc::fieldName(g.field)}, {"text", g.text}});
    }
    json stages = json::array();
    for (const calc::StageTrace& s : last.trace.stages) {
        json reads = json::array();
        for (const calc::TraceRead& r : s.reads) {
            reads.push_back({{"field", optionalField(r.field)},
                             {"text", r.text},
                             {"conversion", calc::conversionName(r.conversion)},
                             {"value", r.value}});
        }
        json writes = json::array();
        for (const calc::TraceWrite& w : s.writes) {
            writes.push_back({{"field", calc::fieldName(w.field)}, {"text", w.text}});
        }
        json quantities = json::array();
        for (const calc::TraceQuantity& q : s.quantities) {
            quantities.push_back({{"name", q.name}, {"value", q.value}, {"single", q.single}});
        }
        stages.push_back({{"stage", calc::stageName(s.stage)},
                          {"purpose", calc::stageName(s.purpose)},
                          {"reads", std::move(reads)},
                          {"writes", std::move(writes)},
                          {"quantities", std::move(quantities)},
                          {"notices", s.notices}});
    }
    json stop;
    if (last.trace.stop) {
        const calc::Stop& s = *last.trace.stop;
        stop = {{"stage", calc::stageName(s.stage)},
                {"field", optionalField(s.field)},
                {"reason", calc::reasonName(s.reason)},
                {"concerned", optionalField(s.concerned)},
                {"purpose", calc::stageName(s.purpose)}};
    }
    return {{"after", std::move(after)},
            {"given", std::move(given)},
            {"stages", std::move(stages)},
            {"stop", std::move(stop)}};
}

std::optional<LastCalculation> recordFromJson(const json& in) {
    try {
        return read(in);
    } catch (const NotARecord&) {
        return std::nullopt;
    } catch (const json::exception&) {
        return std::nullopt;
    }
}

std::optional<LastCalculation> restoreRecord(const json& in, const calc::Sheet& sheet) {
    std::optional<LastCalculation> last = recordFromJson(in);
    if (!last || !last->trace.completed() || last->trace.stages.empty()) {
        return std::nullopt;
    }
    // What the record leaves out (the entries recorded only) is the sheet's.
    const SheetState now = SheetState::of(sheet);
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        if (recordedOnly(static_cast<calc::TextField>(n))) {
            last->after.texts[std::size_t(n - 1)] = now.texts[std::size_t(n - 1)];
        }
    }
    last->after.options[std::size_t(calc::Option::细砂)] =
        now.options[std::size_t(calc::Option::细砂)];
    last->after.options[std::size_t(calc::Option::粗砂)] =
        now.options[std::size_t(calc::Option::粗砂)];
    last->after.checks = now.checks;
    if (!last->stillHolds(sheet)) {
        return std::nullopt;
    }
    return last;
}

} // namespace report
