// The user's regional number settings, taken from a Qt locale once at
// start-up and handed to the calculation as a plain value.
#pragma once

#include "calc/numberformat.h"

class QLocale;

namespace ui {

// The decimal symbol, grouping symbol, size of the lowest group and negative
// sign of the locale. The C (POSIX) locale, which has no regional settings of
// its own, gives the usual settings: ".", "," in threes, "-".
calc::NumberFormat numberFormatOf(const QLocale& locale);

} // namespace ui
