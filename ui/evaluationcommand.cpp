#include "ui/evaluationcommand.h"

#include "ui/commandaction.h"
#include "ui/designio.h"
#include "ui/evaluationwindow.h"
#include "ui/filedialogs.h"
#include "ui/jgj55window.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace ui {

EvaluationCommand::EvaluationCommand(QWidget& owner, const calc::NumberFormat& format,
                                     MessageBoxes& boxes, FileDialogs& dialogs,
                                     ReportDialogs& reportDialogs)
    : QObject(&owner), m_owner(owner), m_format(format), m_boxes(boxes), m_dialogs(dialogs),
      m_reportDialogs(reportDialogs) {}

QAction* EvaluationCommand::addTo(QWidget& window, session::DocumentKind kind) {
    QAction* action = commandAction(&window, kind, "newEvaluation");
    connect(action, &QAction::triggered, this, [this] { newEvaluation(); });
    window.addAction(action);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
    return action;
}

EvaluationWindow* EvaluationCommand::newEvaluation() {
    // A window of its own, closed, moved and minimised by itself.
    auto* window = new EvaluationWindow(m_format, m_boxes, m_dialogs, m_reportDialogs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setOpenElsewhere(m_elsewhere);
    connect(&m_owner, &QObject::destroyed, window, &QObject::deleteLater);
    window->show();
    return window;
}

EvaluationWindow* EvaluationCommand::openEvaluation(const QString& path, const std::string& bytes) {
    EvaluationWindow* window = newEvaluation();
    window->openBytes(path, bytes);
    return window;
}

bool importSigmaFrom(Jgj55Window& window, const QString& path) {
    session::Jgj55Form& form = window.form();
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    const design::FileBytes read = readDesignBytes(path);
    bool imported = false;
    if (read) {
        imported =
            form.importSigma(*read.bytes, {.path = QFileInfo(path).absoluteFilePath().toStdString(),
                                           .shown = shown});
    } else {
        form.cannotOpen(shown, read.error);
    }
    window.formChanged();
    return imported;
}

QAction* addSigmaImport(Jgj55Window& window, FileDialogs& dialogs) {
    QAction* action = commandAction(&window, session::DocumentKind::jgj55, "importSigma");
    QObject::connect(action, &QAction::triggered, &window, [&window, &dialogs] {
        const QString path = dialogs.openDesign(&window, startFolder());
        if (!path.isEmpty()) {
            importSigmaFrom(window, path);
        }
    });
    window.addAction(action);
    return action;
}

} // namespace ui
