// What the classic window's foot says after 计算, one line per finding and
// without a box: a value the classic rule used as given although what it was
// calculated from has changed since, a field a stage read as 0 because it
// was empty, and a result no concrete can have (a mass of zero or below, a
// sand ratio or a moisture content typed as a percentage where the window
// takes a fraction, a water-cement ratio or a cement content far outside
// what concrete is made with). The calculation itself is unchanged: the
// findings only say what a checker would question.
//
//     const std::vector<std::string> lines = session::classicFindings(sheet, trace);
#pragma once

#include "calc/sheet.h"
#include "calc/trace.h"

#include <string>
#include <vector>

namespace session {

// The findings of a calculation that ran to its end on `sheet`, from its
// `trace` with the working of the values an earlier calculation wrote
// (design::Pressed::trace); the figures as the sheet writes them.
std::vector<std::string> classicFindings(const calc::Sheet& sheet, const calc::Trace& trace);

} // namespace session
