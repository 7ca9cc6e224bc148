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
    traceRead(sheet, site, field, std::move(text), Conversion::parseStrict, read.value);
    return read.value;
}

double lenient(const Sheet& sheet, std::string_view text, Site site,
               std::optional<TextField> field) {
    const double value = readLenient(text, sheet.numberFormat());
    if (std::isinf(value)) {
        fault(site, Reason::Overflow, field);
    }
    traceRead(sheet, site, field, text, Conversion::readLenient, value);
    return value;
}

double lenient(const Sheet& sheet, TextField field, Site site) {
    return lenient(sheet, sheet.text(field), site, field);
}

} // namespace calc::detail
