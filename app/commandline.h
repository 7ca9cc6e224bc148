// The command line of lanshi, read into a plain value before any window or
// application exists, so that `--help`, `--version` and mistakes are answered
// without a display.
//
//     lanshi [DESIGN]     the window, with the design file opened after the reset
//     lanshi --help       the usage, on standard output
//     lanshi --version    the name and version, on standard output
//     lanshi --new jgj55-2011
//                         the window of a new design to JGJ 55-2011
//     lanshi --new gbt50107-2010
//                         the window of a new strength evaluation to
//                         GB/T 50107-2010
//     lanshi --report DESIGN -o OUT [--batch-volume LITRES]
//                         the calculation report of the design, written to OUT
//                         (.pdf, .html/.htm or .txt; .json for its figures as
//                         data; "-" for text on standard output; any other
//                         name is refused), without a window
//     lanshi --notice DESIGN -o OUT
//                         the mix notice (配合比通知单) of the design, as the
//                         report is written
//
// A command that needs no window gets an Action of its own; main() runs it
// and returns before the application is created.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

namespace app {

struct CommandLine {
    enum class Action {
        Window,  // start the window (opening `design` when given)
        Help,    // print `text` on standard output, succeed
        Version, // print `text` on standard output, succeed
        Error,   // print `text` on standard error, fail
        Report,  // write the report of `design` to `output`, no window
    };
    Action action = Action::Window;
    QString design;             // the design file to open at start-up; empty for none
    bool newJgj55 = false;      // Window: a new JGJ 55-2011 design instead of the classic one
    bool newEvaluation = false; // Window: a new strength evaluation instead
    QString platform;           // Qt's -platform, when given
    QString text;               // what Help, Version and Error print, one line or more
    QString output;             // Report: where to write it; "-" for standard output
    bool notice = false;        // Report: the mix notice (--notice) instead of the report
    // Report: the trial batch, in litres, when given; else the design file's own.
    std::optional<double> batchLitres;
};

// Exit status of a command line that was not understood.
inline constexpr int kUsageError = 2;
// Exit status when the window is needed but there is no display.
inline constexpr int kNoDisplay = 1;

// The arguments of main() as the user wrote them. On Windows they are taken
// from the wide command line: argv there is in the ANSI code page, which
// loses every character of a path that the code page cannot hold.
QStringList argumentsOf(int argc, char* argv[]);

// Reads the arguments, the program's name first. Qt's own -platform,
// -display, -style and -stylesheet (with a value) are accepted for the
// application, which reads them again itself.
CommandLine parseCommandLine(const QStringList& arguments);

// Whether a window can be shown: on X11 and Wayland systems a display must be
// named in the environment, or a platform chosen (-platform or
// QT_QPA_PLATFORM); other systems always have one. Without it, Qt would abort
// the program with a message about plugins instead of saying what is missing.
bool displayAvailable(const CommandLine& command);

// The one line that says the window cannot be shown.
QString noDisplayText();

} // namespace app
