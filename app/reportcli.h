// lanshi --report DESIGN -o OUT: the calculation report of a design file,
// made without a window and without a display.
#pragma once

#include "app/commandline.h"

namespace app {

// Opens the design of either kind through the document layer, calculates it
// as a press on "计算" would (the classic design; a JGJ 55-2011 design is
// designed as it opens), and writes the report to command.output: PDF for
// ".pdf", HTML for ".html" or ".htm", plain text for ".txt", the figures as
// JSON for ".json" (the only names the command line lets through), and text
// on standard output for "-". Returns 0 when the report is written; otherwise
// prints one line on standard error (what is wrong with the design file, the
// stop of the calculation naming the field by its caption, the design's
// refusal, or why the output could not be written) and returns
// kReportFailed. `argc` and `argv` are handed to Qt, which a PDF needs.
int runReport(const CommandLine& command, int& argc, char** argv);

inline constexpr int kReportFailed = 1;

} // namespace app
