#include "calc/stop.h"

#include <string>

namespace calc {

namespace {

// "第二步: not-a-number (Text5)".
std::string message(const Stop& stop) {
    std::string text(stageName(stop.stage));
    text += ": ";
    text += reasonName(stop.reason);
    if (stop.field) {
        text += " (" + fieldName(*stop.field) + ")";
    }
    return text;
}

} // namespace

CalculationStopped::CalculationStopped(const Stop& stop)
    : std::runtime_error(message(stop)), m_stop(stop) {}

std::string_view stageName(Stage stage) {
    switch (stage) {
    case Stage::第一步:
        return "第一步";
    case Stage::第二步:
        return "第二步";
    case Stage::第三步:
        return "第三步";
    case Stage::第四步:
        return "第四步";
    case Stage::tjfjs:
        return "tjfjs";
    case Stage::tijifa:
        return "tijifa";
    case Stage::zhiliangfa:
        return "zhiliangfa";
    case Stage::tiaozheng:
        return "tiaozheng";
    case Stage::calculate:
        return "calculate";
    }
    return {};
}

std::string_view reasonName(Reason reason) {
    switch (reason) {
    case Reason::NotANumber:
        return "not-a-number";
    case Reason::DivisionByZero:
        return "division-by-zero";
    case Reason::InvalidOperation:
        return "invalid-operation";
    case Reason::Overflow:
        return "overflow";
    }
    return {};
}

} // namespace calc
