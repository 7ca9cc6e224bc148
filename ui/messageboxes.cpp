#include "ui/messageboxes.h"

#include <QAbstractButton>

namespace ui {

std::unique_ptr<QMessageBox> noticeBox(QWidget* parent, const MessageBox& box) {
    auto message =
        std::make_unique<QMessageBox>(box.icon, box.title, box.text, QMessageBox::Ok, parent);
    // Qt would guess: a name or a reason that looks like markup would be
    // rendered, or hide part of itself.
    message->setTextFormat(Qt::PlainText);
    message->setWindowModality(Qt::ApplicationModal);
    return message;
}

std::unique_ptr<QMessageBox> questionBox(QWidget* parent, const Question& question) {
    auto message = std::make_unique<QMessageBox>(question.icon, question.title, question.text,
                                                 question.buttons, parent);
    message->setTextFormat(Qt::PlainText);
    message->setWindowModality(Qt::ApplicationModal);
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Save, "保存"},   {QMessageBox::Discard, "不保存"},
        {QMessageBox::Cancel, "取消"}, {QMessageBox::Ok, "确定"},
        {QMessageBox::Yes, "是"},      {QMessageBox::No, "否"},
    };
    for (const auto& [button, caption] : captions) {
        if (QAbstractButton* shown = message->button(button)) {
            shown->setText(QString::fromUtf8(caption));
        }
    }
    if (message->button(question.escape)) {
        message->setEscapeButton(question.escape);
    }
    return message;
}

void ModalMessageBoxes::show(QWidget* parent, const MessageBox& box) {
    noticeBox(parent, box)->exec();
}

QMessageBox::StandardButton ModalMessageBoxes::ask(QWidget* parent, const Question& question) {
    const std::unique_ptr<QMessageBox> message = questionBox(parent, question);
    message->exec();
    const QMessageBox::StandardButton pressed = message->standardButton(message->clickedButton());
    return pressed == QMessageBox::NoButton ? question.escape : pressed;
}

} // namespace ui
