// The window by keyboard, as on the desktop the classic window comes from:
// Return and Enter click the push button that has the focus, and the focus
// starts, visibly, on the first stop of the tab order.
//
//     letReturnClickButtons(form); // once the buttons exist
//     focusFirstStop(form);        // when the window is first shown
//
// Return in a text field still starts nothing: no button is the window's
// default button.
#pragma once

class QWidget;

namespace ui {

// Makes Return and Enter (the keypad's too) click whichever push button of
// `window` has the focus, as Space already does. A held key clicks once.
void letReturnClickButtons(QWidget& window);

// Gives the focus to the first control of `window`'s tab order that takes
// it; when that is an option button of an exclusive group, to the group's
// selected member instead, as Tab into a group lands on the selected choice.
// Marks the focus as moved by keyboard, so that the style draws it.
void focusFirstStop(QWidget& window);

} // namespace ui
