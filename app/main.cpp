// Start-up of 普通澜石: the command line, then the application, its one
// window and the event loop.
#include "app/commandline.h"
#include "app/reportcli.h"
#include "ui/designcommands.h"
#include "ui/designio.h"
#include "ui/evaluationcommand.h"
#include "ui/evaluationwindow.h"
#include "ui/filedialogs.h"
#include "ui/form1.h"
#include "ui/guidecommand.h"
#include "ui/identity.h"
#include "ui/jgj55command.h"
#include "ui/jgj55window.h"
#include "ui/messageboxes.h"
#include "ui/noticecommand.h"
#include "ui/regional.h"
#include "ui/reportcommands.h"
#include "ui/translations.h"

#include <cstdio>

#include <QApplication>
#include <QLocale>
#include <QSessionManager>

namespace {

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = (text.endsWith(QLatin1Char('\n')) ? text : text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

} // namespace

int main(int argc, char* argv[]) {
    // Read before the application exists: what needs no window needs no
    // display either.
    const app::CommandLine command = app::parseCommandLine(app::argumentsOf(argc, argv));
    switch (command.action) {
    case app::CommandLine::Action::Help:
    case app::CommandLine::Action::Version:
        print(stdout, command.text);
        return 0;
    case app::CommandLine::Action::Error:
        print(stderr, command.text);
        return app::kUsageError;
    case app::CommandLine::Action::Report:
        return app::runReport(command, argc, argv);
    case app::CommandLine::Action::Window:
        break;
    }
    if (!app::displayAvailable(command)) {
        print(stderr, app::noDisplayText());
        return app::kNoDisplay;
    }

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
    ui::QtFileDialogs dialogs;
    // The regional number settings are read here, once, and the calculation
    // keeps them for the life of the window.
    ui::Form1 form(ui::numberFormatOf(QLocale::system()), boxes);
    ui::DesignCommands designs(form, boxes, dialogs);
    // 新建 JGJ 55-2011 设计…, and where a design file of that kind opens.
    ui::QtReportDialogs reportDialogs;
    ui::Jgj55Command jgj55(form, form.sheet().numberFormat(), boxes, dialogs, reportDialogs);
    // 新建强度评定… in both windows, and where an evaluation file opens.
    ui::EvaluationCommand evaluations(form, form.sheet().numberFormat(), boxes, dialogs,
                                      reportDialogs);
    designs.setOpenElsewhere([&](const QString& path, const std::string& bytes) {
        if (session::documentKind(bytes) == session::DocumentKind::gbt50107) {
            evaluations.openEvaluation(path, bytes);
        } else {
            jgj55.openDesign(path, bytes);
        }
    });
    // A file of another kind opened in a JGJ 55-2011 or an evaluation
    // window: the window of its kind opens it.
    const auto openElsewhere = [&](const QString& path) {
        const design::FileBytes read = ui::readDesignBytes(path);
        const session::DocumentKind kind =
            read ? session::documentKind(*read.bytes) : session::DocumentKind::classic;
        if (kind == session::DocumentKind::gbt50107) {
            evaluations.openEvaluation(path, *read.bytes);
        } else if (kind == session::DocumentKind::jgj55) {
            jgj55.openDesign(path, *read.bytes);
        } else {
            designs.openAsked(path); // which says what is wrong with it, if anything
        }
    };
    jgj55.setOpenClassic(openElsewhere);
    evaluations.setOpenElsewhere(openElsewhere);
    evaluations.addTo(form, session::DocumentKind::classic);
    jgj55.setEachWindow([&](ui::Jgj55Window& window) {
        ui::addSigmaImport(window, dialogs);
        evaluations.addTo(window, session::DocumentKind::jgj55);
    });
    // 配合比通知单… in both windows.
    ui::QtNoticeDialogs noticeDialogs;
    ui::NoticeCommand notice(form, session::DocumentKind::classic, form.session(), boxes,
                             reportDialogs, noticeDialogs);
    jgj55.setNoticeDialogs(&noticeDialogs);
    // Last of the window's commands, so 使用说明 ends its context menu.
    ui::GuideCommand guide(form, boxes);
#ifndef QT_NO_SESSIONMANAGER
    // The desktop session ends: every window asks about its unsaved work, as
    // on 退出, while the session lets it ask.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&form](QSessionManager& manager) {
                         if (manager.allowsInteraction() && !form.mayLeave()) {
                             manager.cancel();
                         }
                         manager.release();
                     });
#endif
    if (command.newJgj55) {
        // lanshi --new jgj55-2011: the new design's window alone; closing it
        // ends the program.
        ui::Jgj55Window design(form.sheet().numberFormat(), boxes, dialogs, reportDialogs);
        design.setOpenElsewhere(openElsewhere);
        ui::NoticeCommand designNotice(design, session::DocumentKind::jgj55, design.document(),
                                       boxes, reportDialogs, noticeDialogs);
        ui::addSigmaImport(design, dialogs);
        evaluations.addTo(design, session::DocumentKind::jgj55);
        design.show();
        return QApplication::exec();
    }
    if (command.newEvaluation) {
        // lanshi --new gbt50107-2010: the new evaluation's window alone;
        // closing it ends the program.
        ui::EvaluationWindow evaluation(form.sheet().numberFormat(), boxes, dialogs, reportDialogs);
        evaluation.setOpenElsewhere(openElsewhere);
        evaluation.show();
        return QApplication::exec();
    }
    form.show();
    // After the load's reset, so the design replaces the defaults.
    if (!command.design.isEmpty()) {
        designs.openFile(command.design);
    }
    return QApplication::exec();
}
