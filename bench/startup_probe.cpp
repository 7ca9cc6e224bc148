// Cold start-up of the window, phase by phase: what lanshi's main() does,
// timed from the moment the shell launched this process (LANSHI_LAUNCHED_NS,
// nanoseconds since the epoch) to the window being exposed. Run by
// bench/startup.sh, once per process, since a cold start happens only once.
#include "ui/form1.h"
#include "ui/messageboxes.h"
#include "ui/regional.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

#include <QApplication>
#include <QLocale>
#include <QTest>

namespace {

double millisecondsSince(long long startNs) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return double(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() - startNs) /
           1e6;
}

double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

} // namespace

int main(int argc, char* argv[]) {
    const char* launched = std::getenv("LANSHI_LAUNCHED_NS");
    if (launched == nullptr) {
        std::fprintf(stderr, "startup_probe: set LANSHI_LAUNCHED_NS=$(date +%%s%%N)\n");
        return 2;
    }
    const long long start = std::atoll(launched);
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
