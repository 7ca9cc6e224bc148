// 新建 JGJ 55-2011 设计… in the classic window: a command of its context
// menu (Ctrl+J) that opens a new window of a JGJ 55-2011 design, and the
// place where a JGJ 55-2011 design file opened from the classic window goes.
// Nothing of the classic window changes besides its one new menu entry.
#pragma once

#include "calc/numberformat.h"

#include <functional>
#include <string>

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace ui {

class FileDialogs;
class Jgj55Window;
class MessageBoxes;
class NoticeDialogs;
class ReportDialogs;

class Jgj55Command : public QObject {
public:
    // Adds the command to `window`, which must outlive it, as must the rest.
    Jgj55Command(QWidget& window, const calc::NumberFormat& format, MessageBoxes& boxes,
                 FileDialogs& dialogs, ReportDialogs& reportDialogs);

    // A new window with a new design, shown; it is deleted when closed.
    Jgj55Window* newDesign();
    // A new window with the design of `path`, whose `bytes` were read (its
    // status line says why when they are no design).
    Jgj55Window* openDesign(const QString& path, const std::string& bytes);

    QAction* action() const { return m_action; }

    // How each new window's 配合比通知单… asks for the notice's details.
    void setNoticeDialogs(NoticeDialogs* dialogs) { m_noticeDialogs = dialogs; }

    // What every new window gets besides (commands of other windows' kinds).
    void setEachWindow(std::function<void(Jgj55Window&)> add) { m_eachWindow = std::move(add); }

    // Where a classic design opened in a JGJ 55-2011 window goes.
    void setOpenClassic(std::function<void(const QString&)> open) {
        m_openClassic = std::move(open);
    }

private:
    QWidget& m_window;
    calc::NumberFormat m_format;
    MessageBoxes& m_boxes;
    FileDialogs& m_dialogs;
    ReportDialogs& m_reportDialogs;
    QAction* m_action = nullptr;
    std::function<void(const QString&)> m_openClassic;
    NoticeDialogs* m_noticeDialogs = nullptr;
    std::function<void(Jgj55Window&)> m_eachWindow;
};

} // namespace ui
