// The laboratory's trials as a window shows them: the texts the user types,
// in the regional number format, read into the trials the design file keeps
// (jgj55/trials.h) and written back from them, and the chapter
// 试配、调整与确定 of the design as a document of its own. The desktop's
// trials dialog (ui/trialsdialog) is a view over this.
//
//     session::TrialTexts texts = session::trialTexts(*form.trials(), form.format());
//     texts.rows[1].strength = "41,8";                       // a decimal comma
//     const session::TrialTextsReading read = session::readTrialTexts(texts, form.format());
//     if (read) { form.setTrials(*read.trials); } else { ... read.error ... }
#pragma once

#include "calc/numberformat.h"
#include "jgj55/trials.h"
#include "report/report.h"
#include "session/jgj55form.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace session {

struct TrialTexts {
    std::string mixerCapacity; // L
    std::string water;         // kg/m³
    std::string sandRatio;     // %
    std::string density;       // kg/m³
    // One measured group: its W/B and its strength, or three specimens.
    struct Row {
        std::string waterBinder;
        std::string strength;
        std::array<std::string, 3> specimens;
        bool blank() const;
    };
    std::vector<Row> rows;
};

struct TrialTextsReading {
    std::optional<jgj55::Trials> trials;
    std::string error; // the field that is no number, named, in Chinese
    explicit operator bool() const { return trials.has_value(); }
};

// The trials of the texts: a blank text leaves its value out, a blank row
// is no group, the specimens given are kept as given (the trials say what
// is missing). Refused when a text is no number, or a row has figures but
// no W/B.
TrialTextsReading readTrialTexts(const TrialTexts& texts, const calc::NumberFormat& format);

// The texts of `trials`, with at least `rows` rows.
TrialTexts trialTexts(const jgj55::Trials& trials, const calc::NumberFormat& format,
                      std::size_t rows = 0);

// The chapter 试配、调整与确定 of the form's design, as a document of its
// own (before any trial figure is given: the batch and the three mixes);
// nothing without a design or when the trials are refused (the form's
// status says why).
std::optional<report::Document> trialsChapter(const Jgj55Form& form);

} // namespace session
