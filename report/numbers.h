// The figures of the report that no field holds, written in the sheet's
// regional number format: the quantities a stage computed on its way, the
// constants of the formulas and the masses of a trial batch.
#pragma once

#include "calc/numberformat.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// A computed quantity at most 7 significant digits, as formatSingle writes a
// single: trailing zeros dropped, no grouping, the exponent form from 1E+07
// and below 1E-04. Doubles are shown the same way, so that the report speaks
// one language for every intermediate figure.
std::string figure(double value, const calc::NumberFormat& format);

// `value` as its shortest decimal with at least `places` decimals, zeros
// added and no digit cut, in the regional format, not grouped: 0.5 at 2 is
// "0.50", 37 at 1 is "37.0", 4.25 at 1 "4.25". "?" when not finite. A figure
// of a stated precision is written at that precision.
std::string fixed(double value, int places, const calc::NumberFormat& format);

// A constant of a formula, written in ASCII ("1.645"), with the regional
// decimal symbol.
std::string constant(std::string_view ascii, const calc::NumberFormat& format);

// `part` / `whole`, two figures of a design each standing for its shortest
// round-trip decimal, rounded half up to two decimals on the exact quotient
// and written as formatFixed2 writes: 4.02 / 268 = 0.015 gives "0.02", where
// the binary quotient 0.0149999… would give "0.01". A whole of zero or a
// figure that is not finite gives formatFixed2 of the binary quotient.
std::string ratio(double part, double whole, const calc::NumberFormat& format);

// `mass` (a text of the sheet, a number as a whole in the regional format)
// times `litres` / 1000, computed exactly in decimal and rounded half up to
// three decimals, that is to the gram; written with the regional symbols and
// grouping. Nothing when the text is no number or the volume is not a
// positive finite number.
std::optional<std::string> trialMass(std::string_view mass, double litres,
                                     const calc::NumberFormat& format);

// `mass` (a text of the sheet, a number as a whole in the regional format)
// rounded to the kilogram, half away from zero on its decimal value, as a
// checker writes it: "346.15" gives "346", "-0.5" gives "-1"; not grouped,
// as the sheet writes its masses. Nothing for any other text.
std::optional<std::string> roundedToKilogram(std::string_view mass,
                                             const calc::NumberFormat& format);

// The exact decimal sum of the masses (texts of the sheet), with as many
// decimals as the finest of them, in the regional format; nothing when any
// is no number as a whole or the sum goes beyond 18 digits. Not grouped.
std::optional<std::string> sumOf(const std::vector<std::string>& masses,
                                 const calc::NumberFormat& format);

} // namespace report
