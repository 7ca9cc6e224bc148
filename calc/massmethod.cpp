// Mass method: whatever of the assumed mass of one cubic metre of fresh
// concrete is not cement or water is aggregate, split by the sand ratio.
#include "calc/arith.h"
#include "calc/conversions.h"
#include "calc/fieldreaders.h"
#include "calc/stages.h"
#include "calc/tracing.h"

#include <string>

namespace calc {

using detail::lenient;
using detail::quotient;
using detail::single;

// The singles stand in the order and under the names of the design rules,
// which the callers and the tests follow; a type per quantity would hide them.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
void zhiliangfa(Sheet& sheet, float zlsl, float zlshuiniliang, float zlshuiliang, float zlbanhewu) {
    const detail::TraceStage traced(sheet, Stage::zhiliangfa);
    const NumberFormat& format = sheet.numberFormat();
    const detail::Site concrete{.stage = Stage::zhiliangfa, .concerned = Text20};
    const detail::Site sandRatio{.stage = Stage::zhiliangfa, .concerned = Text15};

    // Each step is evaluated in double and rounded to single once, when stored.
    // The stone is D ÷ zlsl, not A − S: the two differ in the last bits, which
    // show in the seven-digit text ("1138.953", not "1138.952"), and a sand
    // ratio of zero makes this step the invalid quotient 0 ÷ 0.
    const float A =
        single(double(zlbanhewu) - double(zlshuiniliang) - double(zlshuiliang), concrete);
    const float S = single(double(A) * double(zlsl), sandRatio);
    const float P = single(double(S) * double(zlsl), sandRatio);
    const float D = single(double(S) - double(P), sandRatio);
    const float G = single(quotient(D, zlsl, sandRatio), sandRatio);
    for (const auto& [name, value] : {std::pair{"A", A}, {"S", S}, {"P", P}, {"D", D}, {"G", G}}) {
        detail::traceQuantity(sheet, name, value);
    }

    // The mass row: cement and water exactly as displayed, not reformatted.
    detail::setText(sheet, Text11, sheet.text(Text4));
    detail::setText(sheet, Text14, sheet.text(Text26));
    const std::string stoneText = formatSingle(G, format);
    const std::string sandText = formatSingle(S, format);
    detail::setText(sheet, Text13, stoneText);
    detail::setText(sheet, Text12, sandText);

    // The proportions: the masses as their texts read back, divided by the
    // cement text read afresh from Text11 for each of them.
    const detail::Site ratio{.stage = Stage::zhiliangfa, .concerned = Text4};
    auto perCement = [&](double mass) {
        const double K = lenient(sheet, Text11, ratio);
        return formatFixed2(quotient(mass, K, ratio), format);
    };
    detail::setText(sheet, Text33, perCement(lenient(sheet, Text14, ratio)));
    detail::setText(sheet, Text32, perCement(lenient(sheet, stoneText, ratio)));
    detail::setText(sheet, Text31, perCement(lenient(sheet, sandText, ratio)));
    detail::setText(sheet, Text30, perCement(lenient(sheet, Text11, ratio)));
}

} // namespace calc
