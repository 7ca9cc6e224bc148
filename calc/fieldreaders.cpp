#include "calc/fieldreaders.h"

#include "calc/conversions.h"
#include "calc/tracing.h"

#include <cmath>
#include <string>
#include <string_view>

namespace calc::detail {

namespace {

// The fault of a strict read that failed.
Reason failure(StrictStatus status) {
    return status == StrictStatus::NotANumber ? Reason::NotANumber : Reason::Overflow;
}

} // namespace

float strict(const Sheet& sheet, TextField field, Site site) {
    const std::string text = sheet.text(field);
    const StrictValue read = parseStrict(text, sheet.numberFormat());
    if (read.status != StrictStatus::Ok) {
        fault(site, failure(read.status), field);
    }
    traceRead(sheet, site, field, text, Conversion::parseStrict, read.value);
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
