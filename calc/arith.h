// Checked steps of the calculation: every narrowing and quotient that can
// fail goes through here, so that each fault stops the calculation with the
// stage and the field concerned instead of carrying an infinity or a NaN into
// the printed figures. Reading a field is in calc/fieldreaders.h. Internal to
// calc/.
#pragma once

#include "calc/sheet.h"
#include "calc/stop.h"

#include <optional>

namespace calc::detail {

// Where a step runs, for the report of a fault: the stage, the field the user
// should look at, and the stage the work is for (it differs from `stage` only
// for the driver's own conversions). Written with designated initializers:
// {.stage = Stage::第二步, .concerned = Text5}.
struct Site {
    Stage stage;
    std::optional<TextField> concerned = std::nullopt;
    std::optional<Stage> purpose = std::nullopt;
};

// The stop of a fault at `site`; `field` is the field whose text could not
// be read, if that was the fault.
Stop stopAt(Site site, Reason reason, std::optional<TextField> field = std::nullopt);

// Throws the stop of a fault at `site` to the driver.
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

} // namespace calc::detail
