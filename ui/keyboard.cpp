#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace ui {

namespace {

// A push button with autoDefault clicks itself on Return and Enter. This lets
// through only the first, plain press: a held key must not calculate or open
// the maker's page again and again, and with Ctrl, Alt or Shift the key is
// left to shortcuts.
class FirstPlainReturnOnly final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || !qobject_cast<QPushButton*>(watched)) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) {
            return false;
        }
        const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::KeypadModifier;
        return key->isAutoRepeat() || others != Qt::NoModifier;
    }
};

} // namespace

void letReturnClickButtons(QWidget& window) {
    auto* filter = new FirstPlainReturnOnly(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
        // The window is no dialog, so no button becomes its default: Return
        // in a field still starts nothing.
        button->setAutoDefault(true);
        button->installEventFilter(filter);
    }
}

void focusFirstStop(QWidget& window) {
    QWidget* first = nullptr;
    for (QWidget* w = window.nextInFocusChain(); w && w != &window; w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(&window)) {
            first = w;
            break;
        }
    }
    if (!first) {
        return;
    }
    if (auto* option = qobject_cast<QAbstractButton*>(first)) {
        const QButtonGroup* group = option->group();
        if (group && group->exclusive() && group->checkedButton()) {
            first = group->checkedButton();
        }
    }
    // The style draws a focus frame only once the keyboard has moved the
    // focus; the user starts by keyboard, so show it from the start.
    window.setAttribute(Qt::WA_KeyboardFocusChange);
    first->setFocus(Qt::TabFocusReason);
}

} // namespace ui
