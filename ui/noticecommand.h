// 配合比通知单… in a design's window: the notice's details asked in one dialog
// and kept in the design (a change the caption marks and a save writes),
// then the notice previewed for printing, exported as a PDF or copied.
//
//     ui::NoticeCommand notice(window, session::DocumentKind::classic, document, boxes,
//                              reportDialogs, noticeDialogs);
#pragma once

#include "notice/notice.h"
#include "session/document.h"

#include <optional>

#include <QObject>

class QAction;
class QWidget;

namespace ui {

class MessageBoxes;
class ReportDialogs;

// What the command asks of the user, so that tests can answer without a
// modal dialog.
class NoticeDialogs {
public:
    enum class Use { Preview, Pdf, Copy };
    struct Answer {
        notice::Details details;
        Use use = Use::Preview;
    };
    virtual ~NoticeDialogs() = default;
    // The details, proposing `proposed`, and what to do with the notice;
    // nothing when the user cancels.
    virtual std::optional<Answer> ask(QWidget* parent, const notice::Details& proposed) = 0;
};

class QtNoticeDialogs final : public NoticeDialogs {
public:
    std::optional<Answer> ask(QWidget* parent, const notice::Details& proposed) override;
};

class NoticeCommand : public QObject {
public:
    // Adds the command to `window`; every argument must outlive it.
    NoticeCommand(QWidget& window, session::DocumentKind kind, session::Document& document,
                  MessageBoxes& boxes, ReportDialogs& reports, NoticeDialogs& dialogs);

    // The command: refused with a box when the design has no mix yet.
    void run();

    QAction* action() const { return m_action; }

private:
    QWidget& m_window;
    session::Document& m_document;
    MessageBoxes& m_boxes;
    ReportDialogs& m_reports;
    NoticeDialogs& m_dialogs;
    QAction* m_action = nullptr;
};

} // namespace ui
