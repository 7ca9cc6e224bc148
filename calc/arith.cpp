#include "calc/arith.h"

#include <cmath>

namespace calc::detail {

Stop stopAt(Site site, Reason reason, std::optional<TextField> field) {
    return Stop{
        .stage = site.stage,
        .field = field,
        .reason = reason,
        .concerned = field ? field : site.concerned,
        .purpose = site.purpose.value_or(site.stage),
    };
}

void fault(Site site, Reason reason, std::optional<TextField> field) {
    throw CalculationStopped(stopAt(site, reason, field));
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

} // namespace calc::detail
