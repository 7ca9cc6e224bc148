// The boxes of the window's behaviour (session/classicwindow.h) as the
// window's own MessageBoxes show them.
#pragma once

#include "session/classicwindow.h"
#include "ui/messageboxes.h"

#include <functional>
#include <optional>

namespace ui {

// A box with one OK button.
MessageBox messageBox(const session::Box& box);

// A box that asks: 保存 / 不保存 / 取消, closed without a button as 取消.
Question question(const session::Box& box);

// The unsaved-changes question (session::Document::mayReplace / mayClose),
// asked through `boxes` when there is one: true when nothing would be lost,
// or the user chose 不保存, or chose 保存 and `save` saved; false for 取消
// and for a save that did not happen.
bool mayGoOn(MessageBoxes& boxes, QWidget* parent, const std::optional<session::Box>& asked,
             const std::function<bool()>& save);

} // namespace ui
