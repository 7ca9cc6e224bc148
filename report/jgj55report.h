// The calculation report of a JGJ 55-2011 design, in the report model of the
// classic one (report/report.h), so that it is written as text, HTML and PDF
// by the same code and looks the same.
//
//     const jgj55::Outcome out = jgj55::design(input);
//     if (out) {
//         report::Document d = report::buildJgj55Report(input, *out.result, format, options);
//         std::string text = report::toText(d);
//     }
//
// Every figure is one the design computed or the user gave: the steps come
// from the design's own record; only the trial batch is multiplied here.
#pragma once

#include "calc/numberformat.h"
#include "jgj55/design.h"
#include "jgj55/trials.h"
#include "report/report.h"

namespace report {

// The report of `result`, designed from `input`, with figures written in
// `format`; with the laboratory's trials, a chapter 试配、调整与确定.
Document buildJgj55Report(const jgj55::Input& input, const jgj55::Result& result,
                          const calc::NumberFormat& format, const Options& options,
                          const jgj55::TrialResult* trial = nullptr);

} // namespace report
