// 使用说明 (F1, and in the window's context menu): the user's guide, an HTML
// page installed with the program, opened in the user's web browser. When no
// browser starts, or the guide is not where it belongs, a box says where the
// file is (or should be), so the user can open it by hand.
//
//     ui::GuideCommand guide(form, boxes);  // after the window's other commands
//
// The 帮助 button keeps its classic box; this command is separate from it.
#pragma once

#include "ui/messageboxes.h"

#include <functional>

#include <QObject>
#include <QString>
#include <QUrl>

class QAction;
class QWidget;

namespace ui {

// Where the guide is for a program in `programDir`: installed beside it
// (<bindir>/../share/doc/lanshi/guide.html), or in the build tree
// (build/docs/guide.html beside build/lanshi). The first that exists, as an
// absolute path, or an empty string.
QString findGuide(const QString& programDir);

// Where the installed guide belongs for a program in `programDir`, for the
// box that says it is missing.
QString installedGuide(const QString& programDir);

class GuideCommand : public QObject {
public:
    // Opens a local file in the user's browser; returns whether one started.
    using Opener = std::function<bool(const QUrl&)>;

    // Adds 使用说明 (F1) to `window`'s actions, which are its context menu.
    // `window` and `boxes` must outlive the command. By default the guide is
    // looked for beside the running program and opened through
    // QDesktopServices.
    GuideCommand(QWidget& window, MessageBoxes& boxes, QString programDir = {}, Opener open = {});

    // Opens the guide, or shows the box that says where it is.
    void openGuide();

    QAction* action() const { return m_action; }

private:
    QWidget& m_window;
    MessageBoxes& m_boxes;
    QString m_programDir;
    Opener m_open;
    QAction* m_action = nullptr;
};

} // namespace ui
