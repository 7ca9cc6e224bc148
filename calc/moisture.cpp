// Moisture adjustment: wet aggregate is heavier by the water it carries, and
// that water is taken off the water still to be added.
#include "calc/arith.h"
#include "calc/conversions.h"
#include "calc/fieldreaders.h"
#include "calc/stages.h"
#include "calc/tracing.h"

namespace calc {

using detail::quotient;
using detail::single;
using detail::strict;

// The singles stand in the order and under the names of the design rules,
// which the callers and the tests follow; a type per quantity would hide them.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
DryMasses tiaozheng(Sheet& sheet, float szzlb, float shizzlb, float snyzl, float szhsl,
                    float shizhsl) {
    const detail::TraceStage traced(sheet, Stage::tiaozheng);
    const NumberFormat& format = sheet.numberFormat();
    const detail::Site sand{.stage = Stage::tiaozheng, .concerned = Text21};
    const detail::Site stone{.stage = Stage::tiaozheng, .concerned = Text24};
    const detail::Site water{.stage = Stage::tiaozheng, .concerned = Text26};

    // The dry masses come from the two-decimal proportions times the cement,
    // not from the method's mass row. A wet mass is computed afresh from the
    // dry one (S × w + S), rounded once, not as S + Ws.
    const float S = single(double(szzlb) * double(snyzl), sand);
    const float Ws = single(double(S) * double(szhsl), sand);
    const float Swet = single(double(S) * double(szhsl) + double(S), sand);
    const float G = single(double(shizzlb) * double(snyzl), stone);
    const float Wg = single(double(G) * double(shizhsl), stone);
    const float Gwet = single(double(G) * double(shizhsl) + double(G), stone);
    const float mw0 = strict(sheet, Text26, water);
    const float Wadd = single(double(mw0) - double(Wg) - double(Ws), water);
    for (const auto& [name, value] : {std::pair{"S", S},
                                      {"Ws", Ws},
                                      {"Swet", Swet},
                                      {"G", G},
                                      {"Wg", Wg},
                                      {"Gwet", Gwet},
                                      {"Wadd", Wadd}}) {
        detail::traceQuantity(sheet, name, value);
    }

    detail::setText(sheet, Text14, formatSingle(Wadd, format));
    detail::setText(sheet, Text13, formatSingle(Gwet, format));
    detail::setText(sheet, Text12, formatSingle(Swet, format));
    detail::setText(sheet, Text11, formatSingle(snyzl, format));

    // Quotients of the singles themselves, narrowed, then written with two
    // decimals; no text is read back.
    const detail::Site ratio{.stage = Stage::tiaozheng, .concerned = Text4};
    auto perCement = [&](float mass) {
        return formatFixed2(single(quotient(mass, snyzl, ratio), ratio), format);
    };
    detail::setText(sheet, Text33, perCement(Wadd));
    detail::setText(sheet, Text32, perCement(Gwet));
    detail::setText(sheet, Text31, perCement(Swet));
    detail::setText(sheet, Text30, "1");
    return {.S = S, .G = G};
}

} // namespace calc
