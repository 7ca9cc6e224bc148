// Volume method: the volume that cement, water and air leave free in one
// cubic metre (1000 litres) is filled with aggregate at the stone density and
// split by the sand ratio.
#include "calc/arith.h"
#include "calc/conversions.h"
#include "calc/fieldreaders.h"
#include "calc/stages.h"
#include "calc/tracing.h"

namespace calc {

using detail::lenient;
using detail::quotient;
using detail::single;
using detail::strict;

namespace {

// A volume cut to two decimals the way the sheet cuts every figure: written
// with formatFixed2 and read back with parseStrict. The text is shown nowhere.
float cutToTwoDecimals(float volume, const NumberFormat& format, detail::Site site) {
    const StrictValue cut = parseStrict(formatFixed2(volume, format), format);
    if (cut.status != StrictStatus::Ok) {
        detail::fault(site, Reason::Overflow);
    }
    return cut.value;
}

} // namespace

float tijifa(const Sheet& sheet, float tjfsl, std::string_view dx) {
    const detail::TraceStage traced(sheet, Stage::tijifa);
    const NumberFormat& format = sheet.numberFormat();
    const detail::Site site{.stage = Stage::tijifa};
    auto about = [](TextField field) {
        return detail::Site{.stage = Stage::tijifa, .concerned = field};
    };

    const float k = single(1.0 - double(tjfsl), about(Text15));

    // Cement volume in litres, cut to two decimals.
    const float mc0 = strict(sheet, Text4, site);
    const float rhoC = strict(sheet, Text18, site);
    const float Vc = single(quotient(mc0, rhoC, about(Text18)), about(Text4));
    const float VcCut = cutToTwoDecimals(Vc, format, about(Text4));

    // Water volume in litres, cut the same way.
    const float mw0 = strict(sheet, Text26, site);
    const float rhoW = strict(sheet, Text23, site);
    const float Vw = single(quotient(mw0, rhoW, about(Text23)), about(Text26));
    const float VwCut = cutToTwoDecimals(Vw, format, about(Text26));

    // Aggregate volume: each 1 % of air takes 10 litres. Evaluated left to
    // right in double and narrowed once; the narrowing is where ties go to
    // even (698.339996337890625 becomes 698.3399658203125).
    const float alpha = strict(sheet, Text25, site);
    const float V =
        single(1000.0 - 10.0 * double(alpha) - double(VcCut) - double(VwCut), about(Text25));

    // Stone, then sand carried at the stone density, each narrowed once.
    const float rhoG = strict(sheet, Text22, site);
    const float G = single(double(rhoG) * double(V) * double(k), about(Text22));
    const float S = single(quotient(double(G) * double(tjfsl), k, about(Text15)), about(Text15));
    for (const auto& [name, value] : {std::pair{"tjfsl", tjfsl},
                                      {"k", k},
                                      {"Vc", Vc},
                                      {"VcCut", VcCut},
                                      {"Vw", Vw},
                                      {"VwCut", VwCut},
                                      {"V", V},
                                      {"G", G},
                                      {"S", S}}) {
        detail::traceQuantity(sheet, name, value);
    }

    return dx == "1" ? G : S;
}

void tjfjs(Sheet& sheet) {
    const detail::TraceStage traced(sheet, Stage::tjfjs);
    const NumberFormat& format = sheet.numberFormat();
    const detail::Site site{.stage = Stage::tjfjs, .concerned = Text15};

    // The sand ratio is read leniently and afresh for each call of the solver.
    const float sStone = single(lenient(sheet, Text15, site), site);
    detail::setText(sheet, Text13, formatSingle(tijifa(sheet, sStone, "1"), format));
    const float sSand = single(lenient(sheet, Text15, site), site);
    detail::setText(sheet, Text12, formatSingle(tijifa(sheet, sSand, "2"), format));

    // Cement and water are copied as the user or the base stages wrote them.
    detail::setText(sheet, Text11, sheet.text(Text4));
    detail::setText(sheet, Text14, sheet.text(Text26));

    // The proportions divide the texts of the mass row as written there, not
    // the singles that the solver returned.
    const detail::Site ratio{.stage = Stage::tjfjs, .concerned = Text4};
    auto proportion = [&](TextField mass) {
        const double numerator = lenient(sheet, mass, ratio);
        const double cement = lenient(sheet, Text11, ratio);
        return formatFixed2(quotient(numerator, cement, ratio), format);
    };
    detail::setText(sheet, Text33, proportion(Text14));
    detail::setText(sheet, Text32, proportion(Text13));
    detail::setText(sheet, Text31, proportion(Text12));
    detail::setText(sheet, Text30, proportion(Text11));
}

} // namespace calc
