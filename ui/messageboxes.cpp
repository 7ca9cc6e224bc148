#include "ui/messageboxes.h"

namespace ui {

void ModalMessageBoxes::show(QWidget* parent, const MessageBox& box) {
    QMessageBox message(box.icon, box.title, box.text, QMessageBox::Ok, parent);
    message.setWindowModality(Qt::ApplicationModal);
    message.exec();
}

} // namespace ui
