// Start-up of 普通澜石: the application, its one window, the event loop.
#include "ui/form1.h"
#include "ui/identity.h"
#include "ui/messageboxes.h"
#include "ui/regional.h"
#include "ui/translations.h"

#include <QApplication>
#include <QLocale>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(ui::kApplicationName);
    QApplication::setApplicationVersion(ui::kApplicationVersion);
    QApplication::setOrganizationName(ui::kOrganizationName);
    QApplication::setOrganizationDomain(ui::kOrganizationDomain);
    // Lets the desktop match the window to lanshi.desktop and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("lanshi"));
    // Qt's own buttons and dialogs in Chinese, like the window itself.
    const std::unique_ptr<QTranslator> chinese = ui::qtChineseTranslations();
    if (chinese) {
        QCoreApplication::installTranslator(chinese.get());
    }

    ui::ModalMessageBoxes boxes;
    // The regional number settings are read here, once, and the calculation
    // keeps them for the life of the window.
    ui::Form1 form(ui::numberFormatOf(QLocale::system()), boxes);
    form.show();
    return QApplication::exec();
}
