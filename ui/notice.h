// A short note that a command succeeded, shown the way a tooltip is: over
// the foot of the window for two seconds, then gone. Nothing waits for it and
// nothing needs closing, unlike a message box.
//
//     ui::showNotice(window, QStringLiteral("计算书已复制到剪贴板。"));
#pragma once

#include <chrono>

#include <QString>

class QLabel;
class QWidget;

namespace ui {

inline constexpr std::chrono::milliseconds kNoticeTime{2000};

// Shows `text` (plain text) in the window's note, replacing what it showed,
// for `time` from now. Returns the note (a child of `window`, named
// "notice"), for tests.
QLabel* showNotice(QWidget& window, const QString& text,
                   std::chrono::milliseconds time = kNoticeTime);

} // namespace ui
