// A message box as the session layer asks a front end to show it: the
// desktop shows a QMessageBox, the page a box of its own.
#pragma once

#include <string>

namespace session {

enum class Icon { none, information, warning, question };

// What a box offers: OK alone, or the unsaved-changes choice 保存 / 不保存 /
// 取消 (取消 also when the box is closed without a button).
enum class Buttons { ok, saveDiscardCancel };

// A message box: its icon, title and text (UTF-8, plain text).
struct Box {
    Icon icon = Icon::none;
    std::string title;
    std::string text;
    Buttons buttons = Buttons::ok;

    friend bool operator==(const Box&, const Box&) = default;
};

} // namespace session
