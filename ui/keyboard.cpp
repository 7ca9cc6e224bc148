#include "ui/keyboard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>

namespace ui {

namespace {

class ReturnClicksButton final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const Qt::KeyboardModifiers others = key->modifiers() & ~Qt::KeypadModifier;
        if (!isReturn || others != Qt::NoModifier) {
            return false;
        }
        // One press, one click: a held Return must not calculate or open the
        // maker's page again and again.
        if (!key->isAutoRepeat()) {
            static_cast<QPushButton*>(watched)->click();
        }
        return true;
    }
};

} // namespace

void letReturnClickButtons(QWidget& window) {
    auto* filter = new ReturnClicksButton(&window);
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
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
