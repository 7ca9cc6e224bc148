// The one way the window puts a question or a notice in front of the user.
//
// Form1 shows every box through a MessageBoxes it is given: the program gives
// it ModalMessageBoxes, the platform's modal message box; tests give it a fake
// that records each box and answers at once, so no test waits for a person.
#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

namespace ui {

struct MessageBox {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;

    friend bool operator==(const MessageBox&, const MessageBox&) = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box with one OK button, modal to the application, and returns
    // once the user has closed it.
    virtual void show(QWidget* parent, const MessageBox& box) = 0;
};

class ModalMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget* parent, const MessageBox& box) override;
};

} // namespace ui
