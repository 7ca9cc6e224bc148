// Design files on disk, for the window: reading through the design module,
// and saving so that a failure never costs the user the file they had.
#pragma once

#include "calc/numberformat.h"
#include "design/designfile.h"

#include <functional>

#include <QByteArray>
#include <QString>

namespace ui {

// The bytes of the design file at `path`, of any kind, read with care
// (design::readBytes): never beyond the size limit, never from a device or a
// pipe; or what is wrong with the file.
design::FileBytes readDesignBytes(const QString& path);

// The steps of a save, where tests make one fail as a full disk, a lost
// folder or a refused rename would: the real code then goes the way it goes
// after such a failure. Tests run as root, so no permission can be taken away
// from them.
enum class SaveStep { Open, Write, Commit };
using SaveFault = std::function<bool(SaveStep)>; // true: the step fails

// Writes `bytes` to `path` atomically: into a new file beside it, which
// replaces the old file only once it is whole. Whatever fails, the old file
// stays as it was and no stray file is left behind. Returns an empty string
// on success, otherwise the reason, in Chinese.
QString writeAtomically(const QString& path, const QByteArray& bytes, const SaveFault& fault = {});

} // namespace ui
