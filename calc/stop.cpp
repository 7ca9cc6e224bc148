#include "calc/stop.h"

#include <string>

namespace calc {

CalculationStopped::CalculationStopped(const Stop& stop)
    : std::runtime_error(std::string(stageName(stop.stage)) + ": " +
                         std::string(reasonName(stop.reason)) +
                         (stop.field ? " (" + fieldName(*stop.field) + ")" : std::string())),
      m_stop(stop) {}

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
