#include "calc/fieldreaders.h"

#include "calc/conversions.h"
#include "calc/tracing.h"

#include <cmath>
#include <string>
#include <string_view>

namespace calc::detail {

namespace {

bool stands(const StrictValue& read) {
    return read.status == StrictStatus::Ok;
}
bool stands(double read) {
    return !std::isinf(read);
}
double recorded(const StrictValue& read) {
    return read.value;
}
double recorded(double read) {
    return read;
}

// A read of a field into the trace the sheet carries, recorded when it
// stands. A stage's read goes from the sheet straight into the stage's
// record, the one copy made of the text; the driver's is recorded once it
// stands, since a failed one must not open the driver's record.
template <auto convert>
auto readTraced(Recorder& recorder, const Sheet& sheet, TextField field, const Site& site,
                Conversion conversion) {
    if (recorder.inStage()) {
        TraceRead& read = recorder.takeStageRead();
        sheet.copyText(field, read.text);
        const auto result = convert(read.text, sheet.numberFormat());
        if (stands(result)) {
            read.field = field;
            read.conversion = conversion;
            read.value = recorded(result);
        } else {
            recorder.giveBackStageRead();
        }
        return result;
    }
    std::string text = sheet.text(field);
    const auto result = convert(text, sheet.numberFormat());
    if (stands(result)) {
        recorder.read(site, field, std::move(text), conversion, recorded(result));
    }
    return result;
}

// The field read strictly and, when it holds a number and a trace is taken,
// recorded. The text lives only in here: a stop is thrown by the caller once
// it is gone, and kept out of line, so that the caller's frame holds nothing
// to clean up and unwinding passes it without a look at a cleanup table.
[[gnu::noinline]] StrictValue readStrict(const Sheet& sheet, TextField field, const Site& site) {
    if (Recorder* recorder = sheet.recorder()) {
        return readTraced<parseStrict>(*recorder, sheet, field, site, Conversion::parseStrict);
    }
    return parseStrict(sheet.text(field), sheet.numberFormat());
}

// The same for the lenient reading of a field; infinity for an overflow.
double readLenientField(const Sheet& sheet, TextField field, const Site& site) {
    if (Recorder* recorder = sheet.recorder()) {
        return readTraced<readLenient>(*recorder, sheet, field, site, Conversion::readLenient);
    }
    return readLenient(sheet.text(field), sheet.numberFormat());
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
