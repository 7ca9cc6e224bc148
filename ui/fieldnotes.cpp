#include "ui/fieldnotes.h"

#include "session/stopreport.h"
#include "ui/qtext.h"

namespace ui {

QString fieldTip(const calc::FieldInfo& info) {
    QString tip = qt(info.meaning);
    if (!info.symbol.empty() && info.meaning.find(info.symbol) == std::string_view::npos) {
        tip += u' ' + qt(info.symbol);
    }
    if (!info.unit.empty()) {
        tip += QStringLiteral("，") + qt(info.unit);
    }
    switch (info.role) {
    case calc::FieldRole::Input:
        break;
    case calc::FieldRole::ComputedIfEmpty:
        // The reason a changed strength grade leaves an old design strength
        // in place: a filled base value is the user's, and stays.
        tip += QStringLiteral("\n留空时由“计算”求出；已填写时按所填数值使用，不再重新求出"
                              "（改动了前面的数据，请先清空此项）。");
        break;
    case calc::FieldRole::Result:
        tip += QStringLiteral("\n计算结果，由“计算”写入。");
        break;
    case calc::FieldRole::RecordedOnly:
        tip += QStringLiteral("\n仅作记录：不参与计算，不改变任何结果。");
        break;
    }
    return tip;
}

QString fieldTitle(calc::TextField field) {
    return qt(session::fieldTitle(field));
}

} // namespace ui
