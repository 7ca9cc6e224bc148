#include "ui/systemreason.h"

#include <array>
#include <cerrno>
#include <cstring>

#include <QCoreApplication>
#include <QFileDevice>

namespace ui {
namespace {

struct Known {
    int error;           // the errno value whose strerror() text is matched
    const char* english; // Qt's own text for it, translated or not
    const char* context; // Qt's translation context of `english`
    const char* chinese;
};

// Qt words four of these itself (QSystemError) and QSaveFile one more; the
// others are the C library's strerror() texts in the current locale.
constexpr std::array kKnown{
    Known{ENOENT, "No such file or directory", "QIODevice", "文件或文件夹不存在"},
    Known{EACCES, "Permission denied", "QIODevice", "没有权限"},
    Known{EPERM, nullptr, nullptr, "没有权限"},
    Known{ENOSPC, "No space left on device", "QIODevice", "磁盘已满"},
    Known{EDQUOT, nullptr, nullptr, "磁盘已满（超出磁盘配额）"},
    Known{EISDIR, "Filename refers to a directory", "QSaveFile", "这是一个文件夹，不是文件"},
    Known{EROFS, nullptr, nullptr, "磁盘是只读的"},
    Known{ENOTDIR, nullptr, nullptr, "路径中有一段不是文件夹"},
    Known{ENAMETOOLONG, nullptr, nullptr, "文件名太长"},
    Known{EMFILE, "Too many open files", "QIODevice", "打开的文件太多"},
    Known{EIO, nullptr, nullptr, "磁盘读写出错"},
};

QString cLibraryText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

QString systemReason(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        return text;
    }
    for (const Known& known : kKnown) {
        const bool matches =
            trimmed.compare(cLibraryText(known.error), Qt::CaseInsensitive) == 0 ||
            (known.english &&
             (trimmed.compare(QLatin1String(known.english), Qt::CaseInsensitive) == 0 ||
              trimmed == QCoreApplication::translate(known.context, known.english)));
        if (matches) {
            return QString::fromUtf8(known.chinese);
        }
    }
    return text;
}

QString systemReason(const QFileDevice& file) {
    return systemReason(file.errorString());
}

QString systemReasonOf(int error) {
    for (const Known& known : kKnown) {
        if (known.error == error) {
            return QString::fromUtf8(known.chinese);
        }
    }
    return cLibraryText(error);
}

} // namespace ui
