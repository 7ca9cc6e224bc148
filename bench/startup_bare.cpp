// The baseline of the cold start-up: a bare Qt window of the window's size
// with one label and one field, started, shown and timed as startup_probe
// times the real one. bench/startup.sh runs the two in turn and prints the
// ratio, since absolute times on a shared machine swing by half between runs.
#include "startupclock.h"

#include <cstdio>
#include <optional>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

using startup::cpuMilliseconds;
using startup::millisecondsSince;

int main(int argc, char* argv[]) {
    const std::optional<long long> launched = startup::launchedNs("startup_bare");
    if (!launched) {
        return 2;
    }
    const long long start = *launched;
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
