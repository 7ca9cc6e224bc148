#include "session/stopreport.h"

#include "calc/conversions.h"
#include "calc/fields.h"
#include "session/typedinput.h"

namespace session {

using calc::Reason;
using calc::Stage;

namespace {

// A caption in Chinese quotation marks, so that a short one ("A", "砂率")
// reads as a name within the sentence.
std::string quoted(calc::TextField field) {
    return "“" + fieldTitle(field) + "”";
}

} // namespace

std::string stageTitle(const calc::Stop& stop) {
    switch (stop.stage == Stage::calculate ? stop.purpose : stop.stage) {
    case Stage::第一步:
        return "第一步";
    case Stage::第二步:
        return "第二步";
    case Stage::第三步:
        return "第三步";
    case Stage::第四步:
        return "第四步";
    case Stage::tjfjs:
    case Stage::tijifa:
        return "体积法";
    case Stage::zhiliangfa:
        return "质量法";
    case Stage::tiaozheng:
        return "含水率调整";
    case Stage::calculate:
        break;
    }
    return "计算";
}

std::string fieldTitle(calc::TextField field) {
    return std::string(calc::fieldInfo(field).caption);
}

std::string stopReport(const calc::Stop& stop, const calc::Sheet& sheet) {
    const std::string stage = stageTitle(stop);
    const std::string lead = "计算中止：";

    // A field that could not be read: the field is what the user must mend,
    // the stage only says how far the calculation came.
    if (stop.field) {
        // Full-width digits, as an input method types them, are no number
        // to this window: say so, the rule stays.
        const bool fullWidth = hasFullWidthDigits(sheet.text(*stop.field));
        const char* what = stop.reason == Reason::Overflow ? "的数值超出范围。"
                           : fullWidth ? "的内容不是有效数字（请使用半角数字）。"
                                       : "的内容不是有效数字。";
        return lead + quoted(*stop.field) + what + "\n（" + stage + "读取此项时）";
    }

    const char* what = "";
    switch (stop.reason) {
    case Reason::DivisionByZero:
        what = " 中除数为零";
        break;
    case Reason::InvalidOperation:
        what = " 中出现无效运算（如 0 除以 0）";
        break;
    case Reason::Overflow:
    case Reason::NotANumber:
        what = " 中结果超出数值范围";
        break;
    }
    if (!stop.concerned) {
        return lead + stage + what + "。";
    }
    const std::string field = quoted(*stop.concerned);
    // Say "is 0" only when the field does read as zero: the zero divisor is
    // not always the field itself (1 - 砂率 is zero for a sand ratio of 1).
    const bool zero = calc::readLenient(sheet.text(*stop.concerned), sheet.numberFormat()) == 0.0;
    if (stop.reason == Reason::DivisionByZero && zero) {
        return lead + stage + what + "（" + field + "为 0）。";
    }
    return lead + stage + what + "，请检查" + field + "。";
}

} // namespace session
