// The one way the window puts a question or a notice in front of the user.
//
// Form1 and its design-file commands show every box through a MessageBoxes
// they are given: the program gives them ModalMessageBoxes, the platform's
// modal message box; tests give them a fake that records each box and
// answers at once, so no test waits for a person.
#pragma once

#include <memory>

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

// A box that asks: its buttons, and what closing it without a button means.
struct Question {
    QMessageBox::Icon icon = QMessageBox::Question;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape = QMessageBox::Cancel;

    friend bool operator==(const Question&, const Question&) = default;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows the box with one OK button, modal to the application, and returns
    // once the user has closed it.
    virtual void show(QWidget* parent, const MessageBox& box) = 0;
    // Asks the question, modal to the application, and returns the button the
    // user pressed; `escape` when the box was closed without one.
    virtual QMessageBox::StandardButton ask(QWidget* parent, const Question& question) = 0;
};

// The boxes ModalMessageBoxes shows, made but not yet shown. Their text is
// plain text, whatever it holds: a file named "<b>C30</b>.lanshi" is shown
// with its angle brackets, never as rich text.
std::unique_ptr<QMessageBox> noticeBox(QWidget* parent, const MessageBox& box);
std::unique_ptr<QMessageBox> questionBox(QWidget* parent, const Question& question);

class ModalMessageBoxes final : public MessageBoxes {
public:
    void show(QWidget* parent, const MessageBox& box) override;
    // The buttons carry Chinese captions of their own ("保存", "不保存",
    // "取消", ...), whatever translations are loaded.
    QMessageBox::StandardButton ask(QWidget* parent, const Question& question) override;
};

} // namespace ui
