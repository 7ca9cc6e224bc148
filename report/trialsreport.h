// The chapter 试配、调整与确定 of the JGJ 55-2011 report: the trial batch,
// the three mixes with their batch masses, the measured strengths, the
// fitted line and the W/B chosen from it, the adjusted mix, the density
// correction and the laboratory mix, every figure as jgj55::runTrials
// computed it, and the program's conventions named.
#pragma once

#include "calc/numberformat.h"
#include "jgj55/design.h"
#include "jgj55/trials.h"
#include "report/report.h"

#include <string>

namespace report {

// The chapter, titled `title` ("五、试配、调整与确定").
Section trialsSection(std::string title, const jgj55::Input& input, const jgj55::Result& design,
                      const jgj55::TrialResult& trial, const calc::NumberFormat& format);

} // namespace report
