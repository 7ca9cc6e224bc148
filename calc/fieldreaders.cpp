#include "calc/fieldreaders.h"

#include "calc/conversions.h"
#include "calc/tracing.h"

#include <cmath>
#include <string>

namespace calc::detail {

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
