// The Chinese face of the program's windows and printed reports.
#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// The faces the window and the report were drawn for, in order of preference.
QStringList chineseFaces();

// The first of them installed here, or an empty string when none is.
QString installedChineseFace();

} // namespace ui
