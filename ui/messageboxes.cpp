#include "ui/messageboxes.h"

#include <QAbstractButton>

namespace ui {

void ModalMessageBoxes::show(QWidget* parent, const MessageBox& box) {
    QMessageBox message(box.icon, box.title, box.text, QMessageBox::Ok, parent);
    message.setWindowModality(Qt::ApplicationModal);
    message.exec();
}

QMessageBox::StandardButton ModalMessageBoxes::ask(QWidget* parent, const Question& question) {
    QMessageBox message(question.icon, question.title, question.text, question.buttons, parent);
    message.setWindowModality(Qt::ApplicationModal);
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {
        {QMessageBox::Save, "保存"},   {QMessageBox::Discard, "不保存"},
        {QMessageBox::Cancel, "取消"}, {QMessageBox::Ok, "确定"},
        {QMessageBox::Yes, "是"},      {QMessageBox::No, "否"},
    };
    for (const auto& [button, caption] : captions) {
        if (QAbstractButton* shown = message.button(button)) {
            shown->setText(QString::fromUtf8(caption));
        }
    }
    if (message.button(question.escape)) {
        message.setEscapeButton(question.escape);
    }
    message.exec();
    const QMessageBox::StandardButton pressed = message.standardButton(message.clickedButton());
    return pressed == QMessageBox::NoButton ? question.escape : pressed;
}

} // namespace ui
