#include "ui/designcommands.h"

#include "design/project.h"
#include "jgj55/designfile.h"
#include "ui/identity.h"
#include "ui/qtext.h"
#include "ui/reportcommands.h"

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
    : QObject(&form), m_form(form), m_boxes(boxes), m_dialogs(dialogs),
      // The window's load leaves the sheet in its start state, which is what
      // a new sheet compares with until a file is opened.
      m_saved(design::startDesign(form.sheet().numberFormat())) {
    struct Command {
        const char* name;
        const char* text;
        const char* keys;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"openDesign", "打开设计…", "Ctrl+O", [this] { openCommand(); }},
        {"saveDesign", "保存设计", "Ctrl+S", [this] { saveCommand(); }},
        {"saveDesignAs", "另存为…", "Ctrl+Shift+S", [this] { saveAsCommand(); }},
    };
    for (const Command& command : commands) {
        auto* action = new QAction(QString::fromUtf8(command.text), &form);
        action->setObjectName(QLatin1String(command.name));
        action->setShortcut(QKeySequence(QLatin1String(command.keys)));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, command.run);
        // The file commands head the context menu, before the report's.
        form.insertAction(form.reports().actions().value(0), action);
    }
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
    return !design::sameSheet(design::capture(m_form.sheet()), m_saved);
}

bool DesignCommands::openFile(const QString& path) {
    if (m_elsewhere) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly) && file.size() <= qint64(design::kMaxFileSize)) {
            const QByteArray bytes = file.readAll();
            if (jgj55::namesAStandard(
                    std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
                m_elsewhere(path);
                return true;
            }
        }
    }
    const design::ReadResult read = readDesign(path, m_form.sheet().numberFormat());
    if (!read) {
        showFailure(QStringLiteral("无法打开设计文件"), path, qt(read.error));
        return false;
    }
    // The design goes on the sheet, and what its file says was calculated is
    // calculated again: only what that confirms is kept.
    const design::Opened opened = design::openInto(*read.design, m_form.sheet());
    const QFileInfo file(path);
    m_path = file.absoluteFilePath();
    m_folder = file.absolutePath();
    m_saved = design::capture(m_form.sheet());
    updateCaption();
    // The calculation the design was saved after, when it gives the very
    // fields of the file: its report can be made at once.
    m_form.reports().openedDesign(m_path, opened);
    const design::Project project = design::projectOf(*read.design);
    m_form.reports().setProject({project.name, project.part, project.client});
    return true;
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
    return m_path.isEmpty() ? saveAsCommand() : saveTo(m_path);
}

bool DesignCommands::saveAsCommand() {
    const QString suggested =
        m_path.isEmpty() ? QDir(folder()).filePath(QStringLiteral("配合比设计.lanshi")) : m_path;
    const QString title = m_path.isEmpty() ? QStringLiteral("保存设计") : QStringLiteral("另存为");
    const QString chosen = m_dialogs.saveDesign(&m_form, title, suggested);
    if (chosen.isEmpty()) {
        return false;
    }
    const QString path = withSuffix(chosen, kDesignSuffix, m_boxes, &m_form);
    return !path.isEmpty() && saveTo(path);
}

bool DesignCommands::saveTo(const QString& path) {
    design::Design sheet = design::capture(m_form.sheet());
    m_form.reports().keepCalculationIn(sheet);
    const report::Project& project = m_form.reports().project();
    design::keepProject(sheet, {project.name, project.part, project.client});
    QByteArray bytes;
    try {
        bytes = QByteArray::fromStdString(design::serialize(sheet));
    } catch (const std::invalid_argument& e) {
        showFailure(QStringLiteral("无法保存设计文件"), path, qt(e.what()));
        return false;
    }
    const QString failure = writeAtomically(path, bytes, m_fault);
    if (!failure.isEmpty()) {
        showFailure(QStringLiteral("无法保存设计文件"), path, failure);
        return false;
    }
    const QFileInfo file(path);
    m_path = file.absoluteFilePath();
    m_folder = file.absolutePath();
    m_saved = sheet;
    updateCaption();
    m_form.reports().setDesignFile(m_path);
    return true;
}

// Before the sheet is replaced by another design: true when nothing would be
// lost, or the user chose to save (and it was saved) or to discard.
bool DesignCommands::mayReplaceSheet() {
    if (!isModified()) {
        return true;
    }
    const QString text =
        m_path.isEmpty()
            ? QStringLiteral("当前设计已修改，尚未保存。\n打开另一个设计之前，是否保存？")
            : QStringLiteral("设计“%1”已修改。\n打开另一个设计之前，是否保存修改？")
                  .arg(QFileInfo(m_path).fileName());
    switch (m_boxes.ask(&m_form, {QMessageBox::Question, kApplicationName, text,
                                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                  QMessageBox::Cancel})) {
    case QMessageBox::Save:
        return saveCommand();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

void DesignCommands::showFailure(const QString& what, const QString& path, const QString& reason) {
    m_boxes.show(
        &m_form,
        {QMessageBox::Warning, kApplicationName,
         QStringLiteral("%1“%2”：\n%3").arg(what, QDir::toNativeSeparators(path), reason)});
}

void DesignCommands::updateCaption() {
    // "[*]" is where Qt shows the mark of unsaved changes ("*"), and nothing
    // while there are none: the classic caption stands as it is. A "[*]" of
    // the file's own name is doubled, which Qt shows as written.
    const QString name =
        QFileInfo(m_path).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    m_form.setWindowTitle(m_path.isEmpty()
                              ? kWindowCaption + QStringLiteral("[*]")
                              : QStringLiteral("%1 - %2[*]").arg(kWindowCaption, name));
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
