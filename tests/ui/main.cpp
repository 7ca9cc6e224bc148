// One QApplication for every test of the window, offscreen unless the caller
// chose a platform, and a watchdog: a modal box that slips past the window's
// seam fails the test and is closed instead of waiting for a person.
#include <cstdlib>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);

    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "a modal window opened outside the seam: "
                          << modal->windowTitle().toStdString();
            modal->close();
        }
    });
    watchdog.start(200);

    return RUN_ALL_TESTS();
}
