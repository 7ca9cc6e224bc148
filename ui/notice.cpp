#include "ui/notice.h"

#include <QLabel>
#include <QPalette>
#include <QTimer>
#include <QWidget>

namespace ui {

QLabel* showNotice(QWidget& window, const QString& text, std::chrono::milliseconds time) {
    auto* note = window.findChild<QLabel*>(QStringLiteral("notice"), Qt::FindDirectChildrenOnly);
    auto* timer =
        window.findChild<QTimer*>(QStringLiteral("noticeTimer"), Qt::FindDirectChildrenOnly);
    if (!note) {
        // A window of its own, as a tooltip is: it may reach beyond the
        // window's fixed rectangle and never covers a control for longer
        // than the note lasts, nor takes the focus.
        note = new QLabel(&window, Qt::ToolTip | Qt::FramelessWindowHint);
        note->setObjectName(QStringLiteral("notice"));
        note->setTextFormat(Qt::PlainText);
        note->setForegroundRole(QPalette::ToolTipText);
        note->setBackgroundRole(QPalette::ToolTipBase);
        note->setAutoFillBackground(true);
        note->setMargin(6);
        note->setFrameStyle(QFrame::Box | QFrame::Plain);
        timer = new QTimer(&window);
        timer->setObjectName(QStringLiteral("noticeTimer"));
        timer->setSingleShot(true);
        QObject::connect(timer, &QTimer::timeout, note, &QWidget::hide);
    }
    note->setText(text);
    note->adjustSize();
    // Centred over the foot of the window, just inside it.
    const QPoint foot = window.mapToGlobal(QPoint(window.width() / 2, window.height()));
    note->move(foot.x() - note->width() / 2, foot.y() - note->height() - 12);
    note->show();
    note->raise();
    timer->start(time);
    return note;
}

} // namespace ui
