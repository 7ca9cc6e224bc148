// Cold start-up of the window, phase by phase: what lanshi's main() does,
// timed from the moment the shell launched this process (LANSHI_LAUNCHED_NS,
// nanoseconds since the epoch) to the window being exposed. Run by
// bench/startup.sh, once per process, since a cold start happens only once.
#include "startupclock.h"
#include "ui/form1.h"
#include "ui/messageboxes.h"
#include "ui/regional.h"

#include <cstdio>
#include <optional>

#include <QApplication>
#include <QLocale>
#include <QTest>

using startup::cpuMilliseconds;
using startup::millisecondsSince;

int main(int argc, char* argv[]) {
    const std::optional<long long> launched = startup::launchedNs("startup_probe");
    if (!launched) {
        return 2;
    }
    const long long start = *launched;
    const double atMain = millisecondsSince(start);
    QApplication app(argc, argv);
    const double atApplication = millisecondsSince(start);
    ui::ModalMessageBoxes boxes;
    ui::Form1 form(ui::numberFormatOf(QLocale::system()), boxes);
    const double atForm = millisecondsSince(start);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form)) {
        std::fprintf(stderr, "startup_probe: the window was never exposed\n");
        return 1;
    }
    const double atShown = millisecondsSince(start);
    std::printf(
        "shown after %.0f ms (main %.0f, QApplication %.0f, Form1 %.0f, show %.0f), cpu %.1f ms\n",
        atShown, atMain, atApplication - atMain, atForm - atApplication, atShown - atForm,
        cpuMilliseconds());
    return 0;
}
