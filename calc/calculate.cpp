#include "calc/calculate.h"

#include "calc/arith.h"
#include "calc/fieldreaders.h"
#include "calc/stages.h"
#include "calc/tracing.h"

namespace calc {

namespace {

// The moisture adjustment, with the driver's own conversions in their order:
// Text24, Text21, Text4, Text32, Text31, read as they stand after the method.
void adjustForMoisture(Sheet& sheet) {
    const detail::Site site{.stage = Stage::calculate, .purpose = Stage::tiaozheng};
    const float shizhsl = detail::strict(sheet, Text24, site);
    const float szhsl = detail::strict(sheet, Text21, site);
    const float snyzl = detail::strict(sheet, Text4, site);
    const float shizzlb = detail::strict(sheet, Text32, site);
    const float szzlb = detail::strict(sheet, Text31, site);
    // The dry masses it hands back are the adjustment's own business.
    static_cast<void>(tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl));
}

// The mass method, with the driver's conversions in the order Text20, Text26,
// Text4, Text15.
void massMethod(Sheet& sheet) {
    const detail::Site site{.stage = Stage::calculate, .purpose = Stage::zhiliangfa};
    const float zlbanhewu = detail::strict(sheet, Text20, site);
    const float zlshuiliang = detail::strict(sheet, Text26, site);
    const float zlshuiniliang = detail::strict(sheet, Text4, site);
    const float zlsl = detail::strict(sheet, Text15, site);
    zhiliangfa(sheet, zlsl, zlshuiniliang, zlshuiliang, zlbanhewu);
}

bool bothMoistureContentsGiven(const Sheet& sheet) {
    return !sheet.text(Text21).empty() && !sheet.text(Text24).empty();
}

void run(Sheet& sheet) {
    // Each test reads its field at the moment it is made, after the stages
    // before it have written. A filled field is the user's value.
    if (!detail::isGiven(sheet, Text2)) {
        第一步(sheet);
    }
    if (!detail::isGiven(sheet, Text8)) {
        第二步(sheet);
    }
    if (!detail::isGiven(sheet, Text10)) {
        第三步(sheet);
    }
    if (!detail::isGiven(sheet, Text4)) {
        第四步(sheet);
    }

    if (sheet.isSelected(Option::option1)) {
        const bool moisture = bothMoistureContentsGiven(sheet);
        tjfjs(sheet);
        if (moisture) {
            adjustForMoisture(sheet);
        }
    }
    // A separate test: a sheet built outside the window may have both set.
    if (sheet.isSelected(Option::option2)) {
        const bool moisture = bothMoistureContentsGiven(sheet);
        massMethod(sheet);
        if (moisture) {
            adjustForMoisture(sheet);
        }
    }
}

} // namespace

namespace detail {

Outcome runCalculation(Sheet& sheet) {
    try {
        run(sheet);
    } catch (const CalculationStopped& stopped) {
        return Outcome{stopped.stop()};
    }
    return Outcome{};
}

} // namespace detail

Outcome calculate(Sheet& sheet) {
    const detail::RecorderOnSheet plain(sheet, nullptr);
    return detail::runCalculation(sheet);
}

} // namespace calc
