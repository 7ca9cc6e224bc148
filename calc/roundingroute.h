// The two ways the formatters round a value to its last written digit.
//
// Both round half away from zero on the exact binary value and give the same
// text for every value. The extended route scales the value in long double
// and lets roundl round it; it is only exact where long double has 64
// significand bits (x87 on x86-64). The exact route rounds the full decimal
// expansion in the decimal layer (calc/decimal.h), as the report does, and
// is what builds take where long double is no wider than double (MSVC, ARM). The tests run both
// here, so the route those builds take is exercised on every build. Internal to calc/.
#pragma once

#include "calc/numberformat.h"

#include <limits>
#include <string>

namespace calc::detail {

enum class RoundingRoute { Extended, Exact };

inline constexpr bool kExtendedRouteAvailable = std::numeric_limits<long double>::digits >= 64;

// The route formatFixed2 and formatSingle take on this build.
inline constexpr RoundingRoute kNativeRoute =
    kExtendedRouteAvailable ? RoundingRoute::Extended : RoundingRoute::Exact;

// formatFixed2 and formatSingle by the given route. Asked for the extended
// route where it is not available, they take the exact one.
std::string formatFixed2(double value, const NumberFormat& format, RoundingRoute route);
std::string formatSingle(float value, const NumberFormat& format, RoundingRoute route);

} // namespace calc::detail
