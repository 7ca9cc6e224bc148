#include "ui/stopreport.h"

#include "session/stopreport.h"
#include "ui/qtext.h"

namespace ui {

QString stageTitle(const calc::Stop& stop) {
    return qt(session::stageTitle(stop));
}

QString stopReport(const calc::Stop& stop, const calc::Sheet& sheet) {
    return qt(session::stopReport(stop, sheet));
}

} // namespace ui
