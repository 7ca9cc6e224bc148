// How the design-file commands ask the user for a file name.
//
// DesignCommands asks through a FileDialogs it is given: the program gives it
// QtFileDialogs, Qt's file dialogs; tests give it a fake that answers with
// names of their own, so no test waits for a person.
#pragma once

#include "ui/messageboxes.h"

#include <QString>

class QWidget;

namespace ui {

// The one filter of every design-file dialog, and the extension it names.
inline const QString kDesignFilter = QStringLiteral("混凝土配合比设计 (*.lanshi)");
inline const QString kDesignSuffix = QStringLiteral("lanshi");

// The folder a file dialog starts in before the user has chosen one: the
// documents folder when it exists, else the home folder, else the current
// folder; always one that exists, as an absolute path. (A fresh account, or
// root, often has no Documents folder, and a dialog offering a name in it
// fails when the user accepts.)
QString startFolder();

// `path` with `suffix` (without the dot) added when it does not end in it.
// Qt's save dialogs add it themselves before they ask about replacing a
// file; a name that comes back without it (from a platform's own dialog)
// names a file nobody was asked about, so when that file exists the user is
// asked here, through `boxes`. Returns the name to write, or an empty string
// when the user would not replace the file.
QString withSuffix(QString path, const QString& suffix, MessageBoxes& boxes, QWidget* parent);

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The existing design file the user chose, starting in `folder`; empty
    // when the user cancelled.
    virtual QString openDesign(QWidget* parent, const QString& folder) = 0;
    // The name to save the design under, offering `suggested` (a full path);
    // empty when the user cancelled. The user has already agreed to replace
    // an existing file of that name.
    // NOLINTNEXTLINE(bugprone-easily-swappable-parameters): as QFileDialog's own
    virtual QString saveDesign(QWidget* parent, const QString& title, const QString& suggested) = 0;
};

class QtFileDialogs final : public FileDialogs {
public:
    QString openDesign(QWidget* parent, const QString& folder) override;
    QString saveDesign(QWidget* parent, const QString& title, const QString& suggested) override;
};

} // namespace ui
