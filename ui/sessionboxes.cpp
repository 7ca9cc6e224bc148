#include "ui/sessionboxes.h"

#include "ui/qtext.h"

namespace ui {

namespace {

QMessageBox::Icon iconOf(session::Icon icon) {
    switch (icon) {
    case session::Icon::none:
        break;
    case session::Icon::information:
        return QMessageBox::Information;
    case session::Icon::warning:
        return QMessageBox::Warning;
    case session::Icon::question:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageBox messageBox(const session::Box& box) {
    return {iconOf(box.icon), qt(box.title), qt(box.text)};
}

Question question(const session::Box& box) {
    return {iconOf(box.icon), qt(box.title), qt(box.text),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel};
}

bool mayGoOn(MessageBoxes& boxes, QWidget* parent, const std::optional<session::Box>& asked,
             const std::function<bool()>& save) {
    if (!asked) {
        return true;
    }
    switch (boxes.ask(parent, question(*asked))) {
    case QMessageBox::Save:
        return save && save();
    case QMessageBox::Discard:
        return true;
    default:
        return false;
    }
}

} // namespace ui
