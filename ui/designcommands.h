// The design-file commands of the window: 打开设计… (Ctrl+O), 保存设计
// (Ctrl+S) and 另存为… (Ctrl+Shift+S), by their shortcuts and in the window's
// context menu (a right click anywhere outside the fields), and a .lanshi
// file dropped on the window.
//
//     ui::DesignCommands designs(form, boxes, dialogs);
//     form.show();                      // the load resets the sheet
//     designs.openFile(fileFromCommandLine);
//
// While no file is open the window's caption is the classic one; with a file
// open, the file's name follows it; and while the sheet differs from what was
// last opened or saved, Qt's mark of unsaved changes ("*") ends it. Opening another design when the
// sheet has changed since it was opened or saved asks first (保存 / 不保存 / 取消); the classic
// commands never ask. Every box goes through `boxes`, every file name through `dialogs`.
// What a file holds, whether the sheet has changed and the caption are the
// session's (session/classicwindow.h); these commands read and write the files.
#pragma once

#include "ui/designio.h"
#include "ui/filedialogs.h"
#include "ui/form1.h"
#include "ui/messageboxes.h"

#include <functional>

#include <QObject>
#include <QString>

class QMimeData;

namespace ui {

class DesignCommands : public QObject {
public:
    // Adds the commands to `form`, which must outlive them, as must `boxes`
    // and `dialogs`.
    DesignCommands(Form1& form, MessageBoxes& boxes, FileDialogs& dialogs);

    // Opens the design file without asking first (at start-up, after the
    // window's load). On failure a box names the file and what is wrong with
    // it, and the sheet stays exactly as it was. Returns whether it opened.
    bool openFile(const QString& path);

    // 打开设计…: asks about unsaved changes, then for a file, then opens it.
    void openCommand();
    // 保存设计: to the file the design came from, or as 另存为… the first time.
    // Returns whether the design was saved.
    bool saveCommand();
    // 另存为…: asks for a name (the extension is added when left out), then
    // saves. Returns whether the design was saved.
    bool saveAsCommand();
    // A design file brought from elsewhere (another window): asked about
    // unsaved changes first, then opened on the sheet, the window shown and
    // raised. Returns whether it was opened.
    bool openAsked(const QString& path);

    // The design file the sheet was last opened from or saved to (an
    // absolute path), or empty.
    QString currentFile() const;
    // Whether the sheet differs from what was last opened or saved (from the
    // start state while no file was opened).
    bool isModified() const;

    // Where a design file of another kind (JGJ 55-2011) is opened instead of
    // on this sheet, which it does not fit, with the bytes read; without it
    // such a file is refused with the reader's reason.
    using OpenElsewhere = std::function<void(const QString& path, const std::string& bytes)>;
    void setOpenElsewhere(OpenElsewhere open) { m_elsewhere = std::move(open); }

    // For tests: makes steps of every following save fail.
    void setSaveFault(SaveFault fault) { m_fault = std::move(fault); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool mayReplaceSheet();
    bool saveTo(const QString& path);
    void updateCaption();
    void updateModified();
    QString folder() const;

    Form1& m_form;
    MessageBoxes& m_boxes;
    FileDialogs& m_dialogs;
    QString m_folder; // where the last file was, for the next dialog
    SaveFault m_fault;
    OpenElsewhere m_elsewhere;
};

// The first local .lanshi file among dragged data, or an empty string.
QString designFileIn(const QMimeData& data);

} // namespace ui
