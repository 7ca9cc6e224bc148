#include "calc/fieldreaders.h"

#include "calc/conversions.h"
#include "calc/tracing.h"

#include <cmath>
#include <string>

namespace calc::detail {

namespace {

// The field read strictly and, when it holds a number, recorded. The text
// lives only in here: a stop is thrown by the caller once it is gone, and
// kept out of line, so that the caller's frame holds nothing to clean up and
// unwinding passes it without a look at a cleanup table.
[[gnu::noinline]] StrictValue readStrict(const Sheet& sheet, TextField field, const Site& site) {
    std::string text = sheet.text(field);
    const StrictValue read = parseStrict(text, sheet.numberFormat());
    if (read.status == StrictStatus::Ok) {
        traceRead(sheet, site, field, std::move(text), Conversion::parseStrict, read.value);
    }
    return read;
}

// The same for the lenient reading of a field; infinity for an overflow.
double readLenientField(const Sheet& sheet, TextField field, const Site& site) {
    std::string text = sheet.text(field);
    const double value = readLenient(text, sheet.numberFormat());
    if (!std::isinf(value)) {
        traceRead(sheet, site, field, std::move(text), Conversion::readLenient, value);
    }
    return value;
}

// The fault of a strict read that failed.
Reason failure(StrictStatus status) {
    return status == StrictStatus::NotANumber ? Reason::NotANumber : Reason::Overflow;
}

} // namespace

float strict(const Sheet& sheet, TextField field, Site site) {
    const StrictValue read = readStrict(sheet, field, site);
    if (read.status != StrictStatus::Ok) {
        fault(site, failure(read.status), field);
    }
    return read.value;
}

StrictRead driverStrict(const Sheet& sheet, TextField field, Site site) {
    const StrictValue read = readStrict(sheet, field, site);
    if (read.status != StrictStatus::Ok) {
        return StrictRead{.value = 0.0f, .stop = stopAt(site, failure(read.status), field)};
    }
    return StrictRead{.value = read.value, .stop = std::nullopt};
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
    const double value = readLenientField(sheet, field, site);
    if (std::isinf(value)) {
        fault(site, Reason::Overflow, field);
    }
    return value;
}

} // namespace calc::detail
