// The system's reason for a failed file operation, in the user's language.
//
// Qt and the C library explain a failure in English ("Permission denied",
// "No space left on device") unless a translation happens to be loaded; the
// command line has none, and the window's boxes are otherwise Chinese. Every
// reason the window or the command line shows passes through here.
#pragma once

#include <QString>

class QFileDevice;

namespace ui {

// The Chinese words for the system's reason `text` (Qt's errorString() or
// the C library's strerror()) when it is one the program knows: a missing
// file or folder, no permission, a full disk, a folder where a file was
// meant, a read-only disk, and a few more. Any other text comes back as it
// was, so that nothing the system said is lost.
QString systemReason(const QString& text);

// The same for the last error of `file`.
QString systemReason(const QFileDevice& file);

// The same for a C library error number (errno).
QString systemReasonOf(int error);

} // namespace ui
