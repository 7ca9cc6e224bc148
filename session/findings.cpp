#include "session/findings.h"

#include "calc/conversions.h"
#include "calc/fields.h"

#include <optional>
#include <set>
#include <string_view>

namespace session {

namespace {

using calc::FieldRole;
using calc::TextField;

// How the window names a field: the symbol its label shows in brackets
// ("Fcu,k"), else its caption.
std::string nameOf(TextField field) {
    const std::string_view caption = calc::fieldInfo(field).caption;
    const std::size_t open = caption.find('(');
    const std::size_t close = caption.find(')', open);
    if (open != std::string_view::npos && close != std::string_view::npos && close > open + 1) {
        return std::string(caption.substr(open + 1, close - open - 1));
    }
    return std::string(caption);
}

// A text as the foot shows it: an empty one says so, never a blank.
std::string shown(std::string_view text) {
    return text.find_first_not_of(' ') == std::string_view::npos ? std::string("（空）")
                                                                 : std::string(text);
}

std::optional<double> valueOf(const calc::Sheet& sheet, TextField field) {
    const calc::StrictValue v = calc::parseStrict(sheet.text(field), sheet.numberFormat());
    if (v.status != calc::StrictStatus::Ok) {
        return std::nullopt;
    }
    return calc::readLenient(sheet.text(field), sheet.numberFormat());
}

// The entries a stage read that have changed since it wrote: "Fcu,k 20" as
// they were, "Fcu,k 现为 30" as they are now; both empty when none changed.
struct Changed {
    std::string was;
    std::string now;
};

Changed changedEntries(const calc::Sheet& sheet, const calc::StageTrace& stage) {
    Changed changed;
    for (const calc::TraceRead& r : stage.reads) {
        if (!r.field || stage.written(*r.field) || r.text == sheet.text(*r.field)) {
            continue;
        }
        const FieldRole role = calc::fieldInfo(*r.field).role;
        if (role != FieldRole::Input && role != FieldRole::ComputedIfEmpty) {
            continue;
        }
        if (!changed.was.empty()) {
            changed.was += "、";
            changed.now += "，";
        }
        changed.was += nameOf(*r.field);
        changed.was += ' ';
        changed.was += shown(r.text);
        changed.now += nameOf(*r.field);
        changed.now += " 现为 ";
        changed.now += shown(sheet.text(*r.field));
    }
    return changed;
}

// Base values the classic rule kept from an earlier calculation whose entries
// have changed since.
void staleValues(const calc::Sheet& sheet, const calc::Trace& trace,
                 std::vector<std::string>& lines) {
    std::set<TextField> told;
    for (const calc::StageTrace& stage : trace.stages) {
        for (const calc::TraceWrite& w : stage.writes) {
            if (calc::fieldInfo(w.field).role != FieldRole::ComputedIfEmpty ||
                sheet.text(w.field) != w.text || told.contains(w.field)) {
                continue;
            }
            const Changed changed = changedEntries(sheet, stage);
            if (!changed.was.empty()) {
                told.insert(w.field);
                std::string line = nameOf(w.field);
                line += ' ';
                line += w.text;
                line += " 由 ";
                line += changed.was;
                line += " 算得，";
                line += changed.now;
                line += "（清空该栏后重新计算）";
                lines.push_back(std::move(line));
            }
        }
    }
}

// Fields a stage read leniently while they were empty: read as 0.
void emptyReads(const calc::Trace& trace, std::vector<std::string>& lines) {
    std::set<TextField> told;
    for (const calc::StageTrace& stage : trace.stages) {
        for (const calc::TraceRead& r : stage.reads) {
            if (r.field && r.conversion != calc::Conversion::parseStrict &&
                r.text.find_first_not_of(' ') == std::string::npos &&
                told.insert(*r.field).second) {
                lines.push_back("“" + nameOf(*r.field) + "”是空的，计算中按 0 计");
            }
        }
    }
}

void implausible(const calc::Sheet& sheet, std::vector<std::string>& lines) {
    for (const TextField mass : {calc::Text11, calc::Text12, calc::Text13, calc::Text14}) {
        if (const auto v = valueOf(sheet, mass); v && !(*v > 0.0)) {
            lines.push_back(nameOf(mass) + " " + sheet.text(mass) +
                            " kg 不是正数：这样的配合比不能使用，请检查设计资料");
        }
    }
    // Fractions that a percentage typed in their place makes a hundred times
    // too large.
    for (const auto& [field, example] :
         {std::pair{calc::Text15, "0.36"}, std::pair{calc::Text21, "0.03"},
          std::pair{calc::Text24, "0.01"}}) {
        if (const auto v = valueOf(sheet, field); v && *v > 1.0) {
            const char* what = field == calc::Text15 ? "砂率" : "含水率";
            lines.push_back(nameOf(field) + " " + sheet.text(field) + " 大于 1：本窗口的" + what +
                            "以小数表示，如 " + example);
        }
    }
    if (const auto wc = valueOf(sheet, calc::Text8); wc && (*wc < 0.2 || *wc > 1.2)) {
        lines.push_back(nameOf(calc::Text8) + " " + sheet.text(calc::Text8) +
                        " 不在 0.2～1.2 之间：混凝土的水灰比不会如此，请检查");
    }
    if (const auto mc = valueOf(sheet, calc::Text4); mc && *mc > 1000.0) {
        lines.push_back(nameOf(calc::Text4) + " " + sheet.text(calc::Text4) +
                        " 大于 1000 kg/m³：混凝土的水泥用量不会如此，请检查");
    }
}

} // namespace

std::vector<std::string> classicFindings(const calc::Sheet& sheet, const calc::Trace& trace) {
    std::vector<std::string> lines;
    staleValues(sheet, trace, lines);
    emptyReads(trace, lines);
    implausible(sheet, lines);
    return lines;
}

} // namespace session
