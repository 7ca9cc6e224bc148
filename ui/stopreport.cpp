#include "ui/stopreport.h"

#include "calc/conversions.h"
#include "ui/fieldnotes.h"

namespace ui {

using calc::Reason;
using calc::Stage;

namespace {

// A caption in Chinese quotation marks, so that a short one ("A", "砂率")
// reads as a name within the sentence.
QString quoted(const QString& caption) {
    return u'“' + caption + u'”';
}

} // namespace

QString stageTitle(const calc::Stop& stop) {
    switch (stop.stage == Stage::calculate ? stop.purpose : stop.stage) {
    case Stage::第一步:
        return QStringLiteral("第一步");
    case Stage::第二步:
        return QStringLiteral("第二步");
    case Stage::第三步:
        return QStringLiteral("第三步");
    case Stage::第四步:
        return QStringLiteral("第四步");
    case Stage::tjfjs:
    case Stage::tijifa:
        return QStringLiteral("体积法");
    case Stage::zhiliangfa:
        return QStringLiteral("质量法");
    case Stage::tiaozheng:
        return QStringLiteral("含水率调整");
    case Stage::calculate:
        break;
    }
    return QStringLiteral("计算");
}

QString stopReport(const calc::Stop& stop, const calc::Sheet& sheet) {
    const QString stage = stageTitle(stop);
    const QString lead = QStringLiteral("计算中止：");

    // A field that could not be read: the field is what the user must mend,
    // the stage only says how far the calculation came.
    if (stop.field) {
        const QString field = quoted(fieldTitle(*stop.field));
        const QString what = stop.reason == Reason::Overflow
                                 ? QStringLiteral("的数值超出范围。")
                                 : QStringLiteral("的内容不是有效数字。");
        return lead + field + what + QStringLiteral("\n（%1读取此项时）").arg(stage);
    }

    QString what;
    switch (stop.reason) {
    case Reason::DivisionByZero:
        what = QStringLiteral(" 中除数为零");
        break;
    case Reason::InvalidOperation:
        what = QStringLiteral(" 中出现无效运算（如 0 除以 0）");
        break;
    case Reason::Overflow:
    case Reason::NotANumber:
        what = QStringLiteral(" 中结果超出数值范围");
        break;
    }
    if (!stop.concerned) {
        return lead + stage + what + u'。';
    }
    const QString field = quoted(fieldTitle(*stop.concerned));
    // Say "is 0" only when the field does read as zero: the zero divisor is
    // not always the field itself (1 - 砂率 is zero for a sand ratio of 1).
    const bool zero = calc::readLenient(sheet.text(*stop.concerned), sheet.numberFormat()) == 0.0;
    if (stop.reason == Reason::DivisionByZero && zero) {
        return lead + stage + what + QStringLiteral("（%1为 0）。").arg(field);
    }
    return lead + stage + what + QStringLiteral("，请检查%1。").arg(field);
}

} // namespace ui
