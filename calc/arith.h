// Checked steps of the calculation: every narrowing, quotient and read that
// can fail goes through here, so that each fault stops the calculation with
// the stage and the field concerned instead of carrying an infinity or a NaN
// into the printed figures. Internal to calc/.
#pragma once

#include "calc/sheet.h"
#include "calc/stop.h"

#include <optional>
#include <string_view>

namespace calc::detail {

// Where a step runs, for the report of a fault: the stage, the stage the work
// is for (they differ only for the driver's conversions) and the field the
// user should look at.
struct Site {
    Stage stage;
    std::optional<TextField> concerned = std::nullopt;
    std::optional<Stage> purpose = std::nullopt;
};

[[noreturn]] void fault(Site site, Reason reason, std::optional<TextField> field = std::nullopt);

// x narrowed to single (round to nearest, ties to even). Stops on a NaN
// (invalid operation) and on a result beyond the single range (overflow).
float single(double x, Site site);

// x checked as a double result: NaN is an invalid operation, an infinity an
// overflow.
double checked(double x, Site site);

// dividend / divisor in double precision. A zero divisor is a division by
// zero, or an invalid operation when the dividend is zero too.
double quotient(double dividend, double divisor, Site site);

// The field read with parseStrict under the sheet's number format: a text
// that is not a number, or beyond the single range, stops the calculation.
float strict(const Sheet& sheet, TextField field, Site site);

// The field read leniently (readLenient): never fails, except that a value
// beyond the double range stops the calculation as an overflow.
double lenient(const Sheet& sheet, TextField field, Site site);
// The same for a text that stands in no field (field names none) or that was
// taken from `field`.
double lenient(std::string_view text, const NumberFormat& format, Site site,
               std::optional<TextField> field = std::nullopt);

} // namespace calc::detail
