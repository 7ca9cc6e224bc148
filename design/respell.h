// Numbers of a design saved under one regional number format, written again
// for another, so that a design means the same figures wherever it is opened.
#pragma once

#include "calc/numberformat.h"

#include <string>
#include <string_view>

namespace design {

// A text that is, as a whole, a number under `from` (what parseStrict accepts,
// values beyond the single range included) written with the symbols of `to`:
// its sign, grouping and decimal symbol change, its digits, exponent and
// surrounding blanks stay as they are; a grouped integer part is grouped
// again in the groups of `to`. Any other text, and any text when the two
// formats are the same, is returned unchanged. So is a number that `to`
// could not read back to the same value (formats whose symbols clash).
std::string respell(std::string_view text, const calc::NumberFormat& from,
                    const calc::NumberFormat& to);

} // namespace design
