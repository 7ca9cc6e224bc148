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

// The field read leniently (readLenient): never fails, except that a value
// beyond the double range stops the calculation as an overflow.
double lenient(const Sheet& sheet, TextField field, Site site);
// The same for a text that stands in no field (field names none) or that was
// taken from `field`, read under the sheet's number format.
double lenient(const Sheet& sheet, std::string_view text, Site site,
               std::optional<TextField> field = std::nullopt);

} // namespace calc::detail
