// The report of a calculation that stopped (session/stopreport.h), as the
// window's boxes show it.
#pragma once

#include "calc/sheet.h"
#include "calc/stop.h"

#include <QString>

namespace ui {

// The stage in words a user knows (session::stageTitle).
QString stageTitle(const calc::Stop& stop);

// The text of the report (session::stopReport).
QString stopReport(const calc::Stop& stop, const calc::Sheet& sheet);

} // namespace ui
