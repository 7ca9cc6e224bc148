#include "ui/designio.h"

#include "ui/systemreason.h"

#include <filesystem>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ui {
namespace {

std::filesystem::path nativePath(const QString& path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// The system's own words, when it has any, after ours.
QString withDetail(const QString& reason, const QFileDevice& file) {
    const QString detail = systemReason(file);
    if (detail.isEmpty() || file.error() == QFileDevice::NoError) {
        return reason;
    }
    return QStringLiteral("%1\n（%2）").arg(reason, detail);
}

bool fails(const SaveFault& fault, SaveStep step) {
    return fault && fault(step);
}

} // namespace

design::FileBytes readDesignBytes(const QString& path) {
    return design::readBytes(nativePath(path));
}

QString writeAtomically(const QString& path, const QByteArray& bytes, const SaveFault& fault) {
    const QFileInfo target(path);
    if (target.isDir()) {
        return QStringLiteral("这是一个文件夹的名字，不能保存为文件。");
    }
    if (!target.absoluteDir().exists()) {
        return QStringLiteral("文件夹“%1”不存在。")
            .arg(QDir::toNativeSeparators(target.absolutePath()));
    }
    // QSaveFile never falls back to writing over the old file in place.
    QSaveFile file(path);
    if (fails(fault, SaveStep::Open) || !file.open(QIODevice::WriteOnly)) {
        return withDetail(QStringLiteral("无法在这里创建文件（没有写入权限，或磁盘已满）。"), file);
    }
    if (fails(fault, SaveStep::Write)) {
        // As a disk that fills up halfway: part of the file is written.
        file.write(bytes.left(bytes.size() / 2));
        file.cancelWriting();
        return QStringLiteral("写入文件时出错（磁盘可能已满）。");
    }
    if (file.write(bytes) != bytes.size()) {
        QString reason = withDetail(QStringLiteral("写入文件时出错（磁盘可能已满）。"), file);
        file.cancelWriting();
        return reason;
    }
    if (fails(fault, SaveStep::Commit)) {
        file.cancelWriting();
    }
    if (!file.commit()) {
        return withDetail(QStringLiteral("无法用新文件替换原文件。"), file);
    }
    return {};
}

} // namespace ui
