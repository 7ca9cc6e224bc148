#include "ui/filedialogs.h"

#include "ui/identity.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace ui {

QString startFolder() {
    for (const QString& folder :
         {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()}) {
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            return QFileInfo(folder).absoluteFilePath();
        }
    }
    return QDir::currentPath();
}

QString QtFileDialogs::openDesign(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("打开设计"), folder, kDesignFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

QString withSuffix(QString path, const QString& suffix, MessageBoxes& boxes, QWidget* parent) {
    if (path.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive)) {
        return path;
    }
    path += QLatin1Char('.') + suffix;
    if (!QFileInfo::exists(path)) {
        return path;
    }
    const QString text =
        QStringLiteral("“%1”已经存在。\n要替换它吗？").arg(QDir::toNativeSeparators(path));
    if (boxes.ask(parent, {QMessageBox::Warning, kApplicationName, text,
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No}) !=
        QMessageBox::Yes) {
        return {};
    }
    return path;
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
