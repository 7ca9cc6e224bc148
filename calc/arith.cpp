#include "calc/arith.h"

#include "calc/conversions.h"
#include "calc/tracing.h"

#include <cmath>
#include <string>

namespace calc::detail {

void fault(Site site, Reason reason, std::optional<TextField> field) {
    Stop stop;
    stop.stage = site.stage;
    stop.field = field;
    stop.reason = reason;
    stop.concerned = field ? field : site.concerned;
    stop.purpose = site.purpose.value_or(site.stage);
    throw CalculationStopped(stop);
}

float single(double x, Site site) {
    if (std::isnan(x)) {
        fault(site, Reason::InvalidOperation);
    }
    const float narrowed = static_cast<float>(x);
    if (std::isinf(narrowed)) {
        fault(site, Reason::Overflow);
    }
    return narrowed;
}

double checked(double x, Site site) {
    if (std::isnan(x)) {
        fault(site, Reason::InvalidOperation);
    }
    if (std::isinf(x)) {
        fault(site, Reason::Overflow);
    }
    return x;
}

double quotient(double dividend, double divisor, Site site) {
    if (divisor == 0.0) {
        fault(site, dividend == 0.0 || std::isnan(dividend) ? Reason::InvalidOperation
                                                            : Reason::DivisionByZero);
    }
    return checked(dividend / divisor, site);
}

float strict(const Sheet& sheet, TextField field, Site site) {
    std::string text = sheet.text(field);
    const StrictValue read = parseStrict(text, sheet.numberFormat());
    switch (read.status) {
    case StrictStatus::Ok:
        break;
    case StrictStatus::NotANumber:
        fault(site, Reason::NotANumber, field);
    case StrictStatus::OutOfRange:
        fault(site, Reason::Overflow, field);
    }
    traceRead(site, field, std::move(text), Conversion::parseStrict, read.value);
    return read.value;
}

double lenient(std::string_view text, const NumberFormat& format, Site site,
               std::optional<TextField> field) {
    const double value = readLenient(text, format);
    if (std::isinf(value)) {
        fault(site, Reason::Overflow, field);
    }
    traceRead(site, field, text, Conversion::readLenient, value);
    return value;
}

double lenient(const Sheet& sheet, TextField field, Site site) {
    return lenient(sheet.text(field), sheet.numberFormat(), site, field);
}

} // namespace calc::detail
