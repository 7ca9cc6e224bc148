// The four base stages: design strength, water-cement ratio, cement-water
// ratio and cement content. Each reads its inputs from the sheet, including
// the two-decimal texts that the stages before it wrote, so that their
// rounding carries forward exactly as a person working the sheet by hand
// would carry it.
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

void 第一步(Sheet& sheet) {
    const detail::TraceStage traced(sheet, Stage::第一步);
    const detail::Site site{.stage = Stage::第一步};
    const NumberFormat& format = sheet.numberFormat();

    // σ is converted before fcu,k: of two bad fields, Text3 is reported.
    const float sigma = strict(sheet, Text3, site);
    const double p = double(sigma) * 1.645;
    const float fcuk = strict(sheet, Text1, site);
    const double fcu0 = double(fcuk) + p;
    detail::traceQuantity(sheet, "p", p);
    detail::traceQuantity(sheet, "fcu0", fcu0);

    detail::setText(sheet, Text2, formatFixed2(fcu0, format));
}

void 第二步(Sheet& sheet) {
    const detail::TraceStage traced(sheet, Stage::第二步);
    const NumberFormat& format = sheet.numberFormat();
    const detail::Site read{.stage = Stage::第二步};
    // A product that overflows points at the field that entered it last.
    auto after = [](TextField field) {
        return detail::Site{.stage = Stage::第二步, .concerned = field};
    };

    // Each product is exact in double and narrowed to single before the next
    // step uses it.
    const float fceg = strict(sheet, Text5, read);
    const float alphaA = strict(sheet, Text6, read);
    const float a = single(double(fceg) * double(alphaA), after(Text5)); // fce,g αa
    const float gammaC = strict(sheet, Text9, read);
    const float A = single(double(gammaC) * double(a), after(Text9)); // αa fce
    const float alphaB = strict(sheet, Text7, read);
    const float b = single(double(alphaB) * double(A), after(Text7)); // αa αb fce
    const float fcu0 = strict(sheet, Text2, read);
    const float B = single(double(fcu0) + double(b), after(Text2)); // fcu,0 + αa αb fce
    const float wc = single(quotient(A, B, after(Text2)), after(Text2));
    for (const auto& [name, value] :
         {std::pair{"a", a}, {"A", A}, {"b", b}, {"B", B}, {"wc", wc}}) {
        detail::traceQuantity(sheet, name, value);
    }

    detail::setText(sheet, Text8, formatFixed2(wc, format));
}

void 第三步(Sheet& sheet) {
    const detail::TraceStage traced(sheet, Stage::第三步);
    const detail::Site site{.stage = Stage::第三步, .concerned = Text8};
    const NumberFormat& format = sheet.numberFormat();

    // The divisor is the two-decimal text of Text8, not 第二步's unrounded ratio.
    const float wc = strict(sheet, Text8, site);
    const float cw = single(quotient(1.0f, wc, site), site);
    detail::traceQuantity(sheet, "cw", cw);

    detail::setText(sheet, Text10, formatFixed2(cw, format));
}

void 第四步(Sheet& sheet) {
    const detail::TraceStage traced(sheet, Stage::第四步);
    const NumberFormat& format = sheet.numberFormat();

    const double mw0 = lenient(sheet, Text26, {.stage = Stage::第四步});
    const double r = lenient(sheet, Text8, {.stage = Stage::第四步});
    const double mc0 = quotient(mw0, r, {.stage = Stage::第四步, .concerned = Text8});
    detail::traceQuantity(sheet, "mc0", mc0);
    detail::setText(sheet, Text4, formatFixed2(mc0, format));

    // The minimum is tested on the two-decimal text just written, not on mc0:
    // "260.00" stays, "259.99" becomes "260".
    const float x = strict(sheet, Text4, {.stage = Stage::第四步});
    if (x < 260.0f) {
        detail::setText(sheet, Text4, "260");
        detail::showNotice(sheet, kCementMinimumNotice);
    }
}

} // namespace calc
