// The baseline of the cold start-up: a bare Qt window of the window's size
// with one label and one field, started, shown and timed as startup_probe
// times the real one. bench/startup.sh runs the two in turn and prints the
// ratio, since absolute times on a shared machine swing by half between runs.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

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
        std::fprintf(stderr, "startup_bare: set LANSHI_LAUNCHED_NS=$(date +%%s%%N)\n");
        return 2;
    }
    const long long start = std::atoll(launched);
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(536, 331); // the window's client area, 8040 × 4965 twips
    QLabel label(QStringLiteral("强度等级"), &window);
    label.setGeometry(8, 8, 145, 17);
    QLineEdit field(&window);
    field.setGeometry(160, 8, 81, 21);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "startup_bare: the window was never exposed\n");
        return 1;
    }
    std::printf("bare window shown after %.0f ms, cpu %.1f ms\n", millisecondsSince(start),
                cpuMilliseconds());
    return 0;
}
