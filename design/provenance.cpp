#include "design/provenance.h"

#include "calc/fields.h"
#include "calc/memorysheet.h"
#include "design/designfile.h"

#include <algorithm>
#include <charconv>
#include <set>
#include <utility>

namespace design {

namespace {

using nlohmann::json;

std::size_t slot(calc::TextField field) {
    return static_cast<std::size_t>(field - 1);
}

// A calculation run again from the entries it started from, on a sheet of
// its own: no notice reaches the user, nothing of the real sheet changes.
struct Run {
    calc::MemorySheet sheet;
    calc::Trace trace;
    calc::Outcome outcome;
};

Run rerun(const Design& before, const calc::NumberFormat& format) {
    Run run{calc::MemorySheet(format), {}, {}};
    apply(before, run.sheet);
    run.outcome = calc::calculate(run.sheet, run.trace);
    return run;
}

// The record of the stage that last wrote the field, or null.
const calc::StageTrace* writerOf(const calc::Trace& trace, calc::TextField field) {
    const calc::StageTrace* writer = nullptr;
    for (const calc::StageTrace& stage : trace.stages) {
        if (stage.written(field)) {
            writer = &stage;
        }
    }
    return writer;
}

bool recordedOnly(calc::TextField field) {
    return calc::fieldInfo(field).role == calc::FieldRole::RecordedOnly;
}

// Whether two sheets agree, byte for byte, in every field a calculation reads
// or writes and in the method; the entries kept for the record only may
// differ.
bool sameCalculatedFields(const calc::Sheet& a, const calc::Sheet& b) {
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        if (!recordedOnly(field) && a.text(field) != b.text(field)) {
            return false;
        }
    }
    return a.isSelected(calc::Option::option1) == b.isSelected(calc::Option::option1) &&
           a.isSelected(calc::Option::option2) == b.isSelected(calc::Option::option2);
}

std::optional<int> positive(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value <= 0) {
        return std::nullopt;
    }
    return value;
}

// What a file says its calculations were, before any of it is believed.
struct Claims {
    std::map<int, Design> before;
    std::map<calc::TextField, int> written;
    int last = 0;
};

std::optional<Claims> claimsOf(const json& value, const calc::NumberFormat& format) {
    if (!value.is_object()) {
        return std::nullopt;
    }
    Claims claims;
    if (const auto last = value.find("last"); last != value.end()) {
        if (!last->is_number_integer() || last->get<long long>() < 0 ||
            last->get<long long>() > 1'000'000) {
            return std::nullopt;
        }
        claims.last = static_cast<int>(last->get<long long>());
    }
    const auto before = value.find("before");
    const auto written = value.find("written");
    if (before == value.end() || !before->is_object() || written == value.end() ||
        !written->is_object()) {
        return std::nullopt;
    }
    for (const auto& [key, entries] : before->items()) {
        const std::optional<int> number = positive(key);
        if (!number || !entries.is_object()) {
            return std::nullopt;
        }
        ReadResult read = open(entries.dump(), format);
        if (!read) {
            return std::nullopt;
        }
        read.design->extras.clear();
        claims.before.emplace(*number, std::move(*read.design));
    }
    for (const auto& [key, number] : written->items()) {
        const std::optional<calc::TextField> field = calc::textFieldByName(key);
        if (!field || !number.is_number_integer() || number.get<long long>() <= 0 ||
            number.get<long long>() > 1'000'000) {
            return std::nullopt;
        }
        claims.written.emplace(*field, static_cast<int>(number.get<long long>()));
    }
    return claims;
}

// An earlier version's record: its working is never read, only which fields
// it says the calculation wrote. Cleared, those give the entries the
// calculation would have started from, which are then checked like any
// other claim.
std::optional<Claims> legacyClaimsOf(const json& record, const Design& design) {
    if (!record.is_object()) {
        return std::nullopt;
    }
    const auto stages = record.find("stages");
    if (stages == record.end() || !stages->is_array()) {
        return std::nullopt;
    }
    Claims claims;
    Design before = design;
    before.extras.clear();
    for (const json& stage : *stages) {
        const auto writes = stage.is_object() ? stage.find("writes") : stage.end();
        if (!stage.is_object() || writes == stage.end() || !writes->is_array()) {
            return std::nullopt;
        }
        for (const json& write : *writes) {
            const auto field = write.is_object() ? write.find("field") : write.end();
            if (!write.is_object() || field == write.end() || !field->is_string()) {
                return std::nullopt;
            }
            const std::optional<calc::TextField> named =
                calc::textFieldByName(field->get<std::string>());
            if (!named) {
                return std::nullopt;
            }
            claims.written[*named] = 1;
            before.text(*named).clear();
        }
    }
    claims.before.emplace(1, std::move(before));
    claims.last = 1;
    return claims;
}

} // namespace

int Provenance::source(calc::TextField field, const calc::Sheet& sheet) const {
    const std::optional<Written>& written = m_written[slot(field)];
    return written && sheet.text(field) == written->text ? written->calculation : 0;
}

void Provenance::edited(calc::TextField field) {
    m_written[slot(field)].reset();
    prune();
}

void Provenance::clear() {
    m_written.fill(std::nullopt);
    m_before.clear();
}

int Provenance::calculated(const Design& before, const calc::Trace& trace,
                           const calc::Sheet& after) {
    const int number = ++m_count;
    for (const calc::StageTrace& stage : trace.stages) {
        for (const calc::TraceWrite& write : stage.writes) {
            m_written[slot(write.field)] = Written{number, after.text(write.field)};
        }
    }
    Design entries = before;
    entries.extras.clear();
    m_before[number] = std::move(entries);
    prune();
    return number;
}

void Provenance::prune() {
    std::erase_if(m_before, [this](const auto& entry) {
        return std::none_of(m_written.begin(), m_written.end(), [&](const auto& written) {
            return written && written->calculation == entry.first;
        });
    });
}

calc::Trace Provenance::withEarlierWorking(calc::Trace trace, const calc::Sheet& sheet) const {
    std::map<int, Run> runs;
    std::size_t inserted = 0;
    for (auto given = trace.given.begin(); given != trace.given.end();) {
        const int number = source(given->field, sheet);
        const auto before = m_before.find(number);
        if (number == 0 || before == m_before.end()) {
            ++given;
            continue;
        }
        auto run = runs.find(number);
        if (run == runs.end()) {
            run = runs.emplace(number, rerun(before->second, sheet.numberFormat())).first;
        }
        const calc::StageTrace* writer = writerOf(run->second.trace, given->field);
        // Evidence, not memory: the working stands only where it writes the
        // very text the field holds.
        if (!writer || run->second.sheet.text(given->field) != given->text) {
            ++given;
            continue;
        }
        trace.stages.insert(trace.stages.begin() + static_cast<std::ptrdiff_t>(inserted++),
                            *writer);
        given = trace.given.erase(given);
    }
    return trace;
}

json Provenance::toJson(const calc::Sheet& sheet, int last) const {
    json written = json::object();
    std::set<int> cited;
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        if (const int number = source(field, sheet); number > 0) {
            written[calc::fieldName(field)] = number;
            cited.insert(number);
        }
    }
    if (m_before.contains(last)) {
        cited.insert(last);
    } else {
        last = 0;
    }
    json before = json::object();
    for (const int number : cited) {
        before[std::to_string(number)] = json::parse(serialize(m_before.at(number)));
    }
    json out = json::object();
    out["before"] = std::move(before);
    out["written"] = std::move(written);
    if (last > 0) {
        out["last"] = last;
    }
    return out;
}

Pressed calculate(calc::Sheet& sheet, Provenance& provenance) {
    const Design before = capture(sheet);
    Pressed pressed;
    pressed.outcome = calc::calculate(sheet, pressed.trace);
    // The given values are looked up before this calculation is counted: its
    // own writes never touch them.
    calc::Trace shown = provenance.withEarlierWorking(pressed.trace, sheet);
    pressed.calculation = provenance.calculated(before, pressed.trace, sheet);
    pressed.trace = std::move(shown);
    return pressed;
}

struct Opening {
    static Opened open(const Design& design, calc::Sheet& sheet) {
        Opened opened;
        Design plain = design;
        plain.extras.erase(std::string(kCalculationKey));
        plain.extras.erase(std::string(kLegacyRecordKey));
        apply(plain, sheet);

        std::optional<Claims> claims;
        if (const auto kept = design.extras.find(std::string(kCalculationKey));
            kept != design.extras.end()) {
            claims = claimsOf(kept->second, sheet.numberFormat());
        } else if (const auto legacy = design.extras.find(std::string(kLegacyRecordKey));
                   legacy != design.extras.end()) {
            claims = legacyClaimsOf(legacy->second, plain);
            // Its written-out working is never used, whatever it says.
            opened.setAside = true;
        } else {
            return opened;
        }
        if (!claims) {
            opened.setAside = true;
            return opened;
        }

        Provenance& provenance = opened.provenance;
        std::map<int, Run> runs;
        for (const auto& [number, before] : claims->before) {
            runs.emplace(number, rerun(before, sheet.numberFormat()));
        }
        for (const auto& [field, number] : claims->written) {
            const auto run = runs.find(number);
            if (run == runs.end() || !writerOf(run->second.trace, field) ||
                run->second.sheet.text(field) != sheet.text(field)) {
                opened.setAside = true;
                continue;
            }
            provenance.m_written[slot(field)] = Provenance::Written{number, sheet.text(field)};
            provenance.m_before[number] = claims->before.at(number);
        }
        if (!claims->before.empty()) {
            provenance.m_count = claims->before.rbegin()->first;
        }
        if (claims->last > 0) {
            const auto run = runs.find(claims->last);
            if (run != runs.end() && run->second.outcome.completed() &&
                sameCalculatedFields(run->second.sheet, sheet)) {
                provenance.m_before[claims->last] = claims->before.at(claims->last);
                opened.last = provenance.withEarlierWorking(run->second.trace, sheet);
                opened.lastCalculation = claims->last;
            } else {
                opened.setAside = true;
            }
        }
        provenance.prune();
        return opened;
    }
};

void keepCalculation(Design& design, const Provenance& provenance, const calc::Sheet& sheet,
                     int last) {
    design.extras.erase(std::string(kLegacyRecordKey));
    json kept = provenance.toJson(sheet, last);
    if (kept["written"].empty() && !kept.contains("last")) {
        design.extras.erase(std::string(kCalculationKey));
        return;
    }
    design.extras[std::string(kCalculationKey)] = std::move(kept);
}

Opened openInto(const Design& design, calc::Sheet& sheet) {
    return Opening::open(design, sheet);
}

} // namespace design
