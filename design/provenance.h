// Where the text of each field came from: typed, pasted, opened or reset by
// the user, or written by a calculation and unchanged since. A field the
// classic rule takes as given (a base value already filled) is only "the
// user's value" when the user put it there; when a calculation wrote it, the
// report shows that calculation's working for it, after any number of
// presses, across save and open and through `lanshi --report`.
//
//     design::Provenance provenance;
//     design::Pressed pressed = design::calculate(sheet, provenance); // 计算
//     provenance.edited(calc::Text2);                                // typed by hand
//     design::Opened opened = design::openInto(fileDesign, sheet);    // 打开设计
//
// Nothing here is taken on trust: the working of an earlier calculation is
// computed again from the entries that calculation started from, and used
// only where it writes exactly the text the field holds. A design file keeps
// those entries and the provenance, never a working (design/designfile.h).
#pragma once

#include "calc/calculate.h"
#include "calc/sheet.h"
#include "calc/trace.h"
#include "design/design.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace design {

// The key of a design file that keeps the provenance and the calculations'
// entries.
inline constexpr std::string_view kCalculationKey = "calculation";
// The key under which earlier versions kept a written-out working. Read as a
// claim to be checked, never written.
inline constexpr std::string_view kLegacyRecordKey = "record";

class Provenance {
public:
    // The calculation (counted from 1) that wrote the field's present text,
    // or 0 when the text is the user's: typed, pasted, opened from a file
    // that cannot show otherwise, or put there by 清零 (any text other than
    // the one written counts as the user's).
    int source(calc::TextField field, const calc::Sheet& sheet) const;

    // The user changed the field by hand (typing, pasting, undo).
    void edited(calc::TextField field);
    // Every text is the user's (a new sheet).
    void clear();

    // A calculation ran from `before` and left `after`, writing what `trace`
    // says; it becomes the newest calculation. Returns its number.
    int calculated(const Design& before, const calc::Trace& trace, const calc::Sheet& after);

    // `trace` with every base value it took as given, but which an earlier
    // calculation wrote into the field unchanged, shown by that
    // calculation's own working: its stage computed again from the entries
    // it started from, used only when it writes the very text the field
    // holds. Other given values stay given.
    calc::Trace withEarlierWorking(calc::Trace trace, const calc::Sheet& sheet) const;

    // The provenance as a design file keeps it: the fields a calculation
    // wrote that still hold its text, and each such calculation's entries;
    // `last` the calculation whose working a report shows (0 for none).
    nlohmann::json toJson(const calc::Sheet& sheet, int last) const;

    int newest() const { return m_count; }

    friend bool operator==(const Provenance&, const Provenance&) = default;

private:
    friend struct Opening;
    struct Written {
        int calculation = 0;
        std::string text;
        friend bool operator==(const Written&, const Written&) = default;
    };
    void prune();

    std::array<std::optional<Written>, calc::kTextFieldCount> m_written;
    std::map<int, Design> m_before; // the entries of each calculation still cited
    int m_count = 0;
};

// One press of 计算 on `sheet`: the calculation with its trace, the
// provenance brought up to date, and the trace the report shows (earlier
// working included; see Provenance::withEarlierWorking).
struct Pressed {
    calc::Outcome outcome;
    calc::Trace trace;
    int calculation = 0;
};
Pressed calculate(calc::Sheet& sheet, Provenance& provenance);

// A design put on a sheet, with the calculation that left its fields.
struct Opened {
    Provenance provenance;
    // The last calculation, computed again from the file's entries and equal
    // to the file's fields byte for byte; nothing otherwise.
    std::optional<calc::Trace> last;
    int lastCalculation = 0;
    // The file claimed a calculation or a provenance that could not be
    // derived again (a record edited by hand, say), or carried an earlier
    // version's written-out working: that was set aside.
    bool setAside = false;
};

// Keeps in `design` (a design about to be saved) what a later open needs to
// derive `provenance` and the calculation numbered `last` again (0: none).
void keepCalculation(Design& design, const Provenance& provenance, const calc::Sheet& sheet,
                     int last);

// Puts `design` on `sheet` and derives again what its calculation keys
// claim (kCalculationKey, or an earlier version's kLegacyRecordKey).
Opened openInto(const Design& design, calc::Sheet& sheet);

} // namespace design
