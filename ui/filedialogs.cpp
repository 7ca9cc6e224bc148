#include "ui/filedialogs.h"

#include <QFileDialog>

namespace ui {

QString QtFileDialogs::openDesign(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("打开设计"), folder, kDesignFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): as QFileDialog's own
QString QtFileDialogs::saveDesign(QWidget* parent, const QString& title, const QString& suggested) {
    QFileDialog dialog(parent, title, QString(), kDesignFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // A name typed without the extension gets it before the dialog asks
    // whether to replace an existing file, so the question is about the file
    // that will be written.
    dialog.setDefaultSuffix(kDesignSuffix);
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

} // namespace ui
