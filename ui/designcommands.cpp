#include "ui/designcommands.h"

#include "design/designfile.h"
#include "ui/commandaction.h"
#include "ui/identity.h"
#include "ui/qtext.h"
#include "ui/sessionboxes.h"

#include <optional>
#include <string>

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>

namespace ui {

DesignCommands::DesignCommands(Form1& form, MessageBoxes& boxes, FileDialogs& dialogs)
    : QObject(&form), m_form(form), m_boxes(boxes), m_dialogs(dialogs) {
    struct Command {
        std::string_view name;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"openDesign", [this] { openCommand(); }},
        {"saveDesign", [this] { saveCommand(); }},
        {"saveDesignAs", [this] { saveAsCommand(); }},
    };
    for (const Command& command : commands) {
        QAction* action = commandAction(&form, session::DocumentKind::classic, command.name);
        connect(action, &QAction::triggered, this, command.run);
        // The file commands head the context menu, before the report's.
        form.insertAction(form.reports().actions().value(0), action);
    }
    // 保存 when the user leaves with unsaved changes.
    form.setSave([this] { return saveCommand(); });
    // The classic layout has no room for a menu bar: the window's actions
    // are its context menu. The fields keep their own (cut, copy, paste).
    form.setContextMenuPolicy(Qt::ActionsContextMenu);

    // A file dropped anywhere on the window, on a field too: a field would
    // otherwise take the file's address as text.
    form.setAcceptDrops(true);
    form.installEventFilter(this);
    for (QLineEdit* field : form.findChildren<QLineEdit*>()) {
        field->installEventFilter(this);
        // Typed, pasted, calculated or cleared: the caption's mark follows.
        connect(field, &QLineEdit::textChanged, this, &DesignCommands::updateModified);
    }
    for (QAbstractButton* choice : form.findChildren<QAbstractButton*>()) {
        if (choice->isCheckable()) {
            connect(choice, &QAbstractButton::toggled, this, &DesignCommands::updateModified);
        }
    }
    updateCaption();
}

void DesignCommands::updateModified() {
    m_form.setWindowModified(isModified());
}

bool DesignCommands::isModified() const {
    return m_form.session().modified();
}

QString DesignCommands::currentFile() const {
    return qt(m_form.session().file());
}

bool DesignCommands::openFile(const QString& path) {
    const QFileInfo file(path);
    const std::string absolute = file.absoluteFilePath().toStdString();
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    const session::FileName name{.path = absolute, .shown = shown};
    // Read once, with care: the file system's refusals (missing, a folder, a
    // device or a pipe, unreadable, too large) name what is wrong with the
    // file itself.
    const design::FileBytes read = readDesignBytes(path);
    if (!read) {
        m_boxes.show(&m_form, messageBox(session::ClassicWindow::fileFailure(
                                  session::FileAction::open, name, read.error)));
        return false;
    }
    const session::OpenResult opened = m_form.session().open(*read.bytes, name, bool(m_elsewhere));
    if (opened.elsewhere) {
        m_elsewhere(path, *read.bytes);
        return true;
    }
    for (const session::Box& box : opened.boxes) {
        m_boxes.show(&m_form, messageBox(box));
    }
    if (!opened.opened) {
        return false;
    }
    m_folder = file.absolutePath();
    updateCaption();
    m_form.showFindings();
    return true;
}

bool DesignCommands::openAsked(const QString& path) {
    m_form.show();
    m_form.raise();
    m_form.activateWindow();
    return mayReplaceSheet() && openFile(path);
}

void DesignCommands::openCommand() {
    if (!mayReplaceSheet()) {
        return;
    }
    const QString path = m_dialogs.openDesign(&m_form, folder());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool DesignCommands::saveCommand() {
    const QString path = currentFile();
    return path.isEmpty() ? saveAsCommand() : saveTo(path);
}

bool DesignCommands::saveAsCommand() {
    const QString current = currentFile();
    const QString suggested =
        current.isEmpty() ? QDir(folder()).filePath(QStringLiteral("配合比设计.lanshi")) : current;
    const QString title = current.isEmpty() ? QStringLiteral("保存设计") : QStringLiteral("另存为");
    const QString chosen = m_dialogs.saveDesign(&m_form, title, suggested);
    if (chosen.isEmpty()) {
        return false;
    }
    const QString path = withSuffix(chosen, kDesignSuffix, m_boxes, &m_form);
    return !path.isEmpty() && saveTo(path);
}

bool DesignCommands::saveTo(const QString& path) {
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    const session::Saving saving = m_form.session().saveBytes();
    const QString failure =
        saving ? writeAtomically(path, QByteArray::fromStdString(*saving.bytes), m_fault)
               : QString::fromStdString(saving.error);
    if (!failure.isEmpty()) {
        m_boxes.show(&m_form, messageBox(session::ClassicWindow::fileFailure(
                                  session::FileAction::save, {.path = shown, .shown = shown},
                                  failure.toStdString())));
        return false;
    }
    const QFileInfo file(path);
    const std::string absolute = file.absoluteFilePath().toStdString();
    m_form.session().savedAs(saving, {.path = absolute, .shown = shown});
    m_folder = file.absolutePath();
    updateCaption();
    return true;
}

// Before the sheet is replaced by another design: true when nothing would be
// lost, or the user chose to save (and it was saved) or to discard.
bool DesignCommands::mayReplaceSheet() {
    return mayGoOn(m_boxes, &m_form, m_form.session().mayReplace(),
                   [this] { return saveCommand(); });
}

void DesignCommands::updateCaption() {
    // "[*]" is where Qt shows the mark of unsaved changes ("*"), and nothing
    // while there are none: the classic caption stands as it is. A "[*]" of
    // the file's own name is doubled, which Qt shows as written (the classic
    // caption holds none).
    const QString caption =
        qt(m_form.session().caption()).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    m_form.setWindowTitle(caption + QStringLiteral("[*]"));
    m_form.setWindowModified(isModified());
}

QString DesignCommands::folder() const {
    // The folder of the last file, while it is still there.
    if (!m_folder.isEmpty() && QFileInfo(m_folder).isDir()) {
        return m_folder;
    }
    return startFolder();
}

bool DesignCommands::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (drag->mimeData() && !designFileIn(*drag->mimeData()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
        break;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = drop->mimeData() ? designFileIn(*drop->mimeData()) : QString();
        if (!path.isEmpty()) {
            drop->acceptProposedAction();
            // Opened once the drop is over: a question or a box shown inside
            // it would hold the file manager up until it is answered.
            QTimer::singleShot(0, this, [this, path] {
                if (mayReplaceSheet()) {
                    openFile(path);
                }
            });
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

QString designFileIn(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() &&
            url.toLocalFile().endsWith(QLatin1Char('.') + kDesignSuffix, Qt::CaseInsensitive)) {
            return url.toLocalFile();
        }
    }
    return {};
}

} // namespace ui
