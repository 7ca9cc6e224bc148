// Mass method: whatever of the assumed mass of one cubic metre of fresh
// concrete is not cement or water is aggregate, split by the sand ratio.
#include "calc/arith.h"
#include "calc/conversions.h"
#include "calc/stages.h"
#include "calc/tracing.h"

#include <string>

namespace calc {

using detail::lenient;
using detail::quotient;
using detail::single;

void zhiliangfa(Sheet& sheet, float& zlsl, float& zlshuiniliang, float& zlshuiliang,
                float& zlbanhewu) {
    const detail::TraceStage traced(Stage::zhiliangfa);
    const NumberFormat& format = sheet.numberFormat();

    // Each step is evaluated in double and rounded to single once, when stored.
    // The stone is D ÷ zlsl, not A − S: the two differ in the last bits, which
    // show in the seven-digit text ("1138.953", not "1138.952"), and a sand
    // ratio of zero makes this step the invalid quotient 0 ÷ 0.
    const float A = single(double(zlbanhewu) - double(zlshuiniliang) - double(zlshuiliang),
                           {Stage::zhiliangfa, Text20});
    const float S = single(double(A) * double(zlsl), {Stage::zhiliangfa, Text15});
    const float P = single(double(S) * double(zlsl), {Stage::zhiliangfa, Text15});
    const float D = single(double(S) - double(P), {Stage::zhiliangfa, Text15});
    const float G =
        single(quotient(D, zlsl, {Stage::zhiliangfa, Text15}), {Stage::zhiliangfa, Text15});
    for (const auto& [name, value] : {std::pair{"A", A}, {"S", S}, {"P", P}, {"D", D}, {"G", G}}) {
        detail::traceQuantity(name, value);
    }

    // The mass row: cement and water exactly as displayed, not reformatted.
    sheet.setText(Text11, sheet.text(Text4));
    sheet.setText(Text14, sheet.text(Text26));
    const std::string stoneText = formatSingle(G, format);
    const std::string sandText = formatSingle(S, format);
    sheet.setText(Text13, stoneText);
    sheet.setText(Text12, sandText);

    // The proportions: the masses as their texts read back, divided by the
    // cement text read afresh from Text11 for each of them.
    const detail::Site ratio{Stage::zhiliangfa, Text4};
    auto perCement = [&](double mass) {
        const double K = lenient(sheet, Text11, ratio);
        return formatFixed2(quotient(mass, K, ratio), format);
    };
    sheet.setText(Text33, perCement(lenient(sheet, Text14, ratio)));
    sheet.setText(Text32, perCement(lenient(stoneText, format, ratio)));
    sheet.setText(Text31, perCement(lenient(sandText, format, ratio)));
    sheet.setText(Text30, perCement(lenient(sheet, Text11, ratio)));
}

} // namespace calc
