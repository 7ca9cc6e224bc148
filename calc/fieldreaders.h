// Reading a field as a number for a stage: the two conversions of the sheet,
// checked, so that a text that is no number, or a number beyond the precision
// in use, stops the calculation naming the field. Internal to calc/.
#pragma once

#include "calc/arith.h"
#include "calc/numberformat.h"
#include "calc/sheet.h"

#include <optional>
#include <string_view>

namespace calc::detail {

// The field read with parseStrict under the sheet's number format: a text
// that is not a number, or beyond the single range, stops the calculation.
float strict(const Sheet& sheet, TextField field, Site site);

// A strict read, or the stop it makes.
struct StrictRead {
    float value = 0.0f;
    std::optional<Stop> stop;
};

// The same read for the driver's own conversions, handing a failure back as
// its stop: the driver is where every stop ends, and throwing to itself would
// cost it an unwinding (most of a stopped calculation's time) for nothing.
StrictRead driverStrict(const Sheet& sheet, TextField field, Site site);

// The field read leniently (readLenient): never fails, except that a value
// beyond the double range stops the calculation as an overflow.
double lenient(const Sheet& sheet, TextField field, Site site);
// The same for a text that stands in no field (field names none) or that was
// taken from `field`, read under the sheet's number format.
double lenient(const Sheet& sheet, std::string_view text, Site site,
               std::optional<TextField> field = std::nullopt);

} // namespace calc::detail
