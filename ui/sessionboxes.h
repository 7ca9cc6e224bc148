// The boxes of the window's behaviour (session/classicwindow.h) as the
// window's own MessageBoxes show them.
#pragma once

#include "session/classicwindow.h"
#include "ui/messageboxes.h"

namespace ui {

// A box with one OK button.
MessageBox messageBox(const session::Box& box);

// A box that asks: 保存 / 不保存 / 取消, closed without a button as 取消.
Question question(const session::Box& box);

} // namespace ui
