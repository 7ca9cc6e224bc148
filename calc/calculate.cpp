#include "calc/calculate.h"

#include "calc/arith.h"
#include "calc/fieldreaders.h"
#include "calc/stages.h"
#include "calc/tracing.h"

#include <array>
#include <cstddef>

namespace calc {

namespace {

// The driver's own conversions for one stage, in the order given.
template <std::size_t N>
std::array<float, N> readForStage(const Sheet& sheet, Stage stage,
                                  const std::array<TextField, N>& fields) {
    const detail::Site site{.stage = Stage::calculate, .purpose = stage};
    std::array<float, N> values{};
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = detail::strict(sheet, fields[i], site);
    }
    return values;
}

// The moisture adjustment, with the driver's own conversions in their order:
// Text24, Text21, Text4, Text32, Text31, read as they stand after the method.
void adjustForMoisture(Sheet& sheet) {
    const auto [shizhsl, szhsl, snyzl, shizzlb, szzlb] =
        readForStage(sheet, Stage::tiaozheng, std::array{Text24, Text21, Text4, Text32, Text31});
    // The dry masses it hands back are the adjustment's own business.
    static_cast<void>(tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl));
}

// The mass method, with the driver's conversions in the order Text20, Text26,
// Text4, Text15.
void massMethod(Sheet& sheet) {
    const auto [zlbanhewu, zlshuiliang, zlshuiniliang, zlsl] =
        readForStage(sheet, Stage::zhiliangfa, std::array{Text20, Text26, Text4, Text15});
    zhiliangfa(sheet, zlsl, zlshuiniliang, zlshuiliang, zlbanhewu);
}

bool bothMoistureContentsGiven(const Sheet& sheet) {
    return !sheet.text(Text21).empty() && !sheet.text(Text24).empty();
}

// The calculation up to its end; a stop is thrown past it.
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
        return Outcome{};
    } catch (const CalculationStopped& stopped) {
        return Outcome{stopped.stop()};
    }
}

} // namespace detail

Outcome calculate(Sheet& sheet) {
    const detail::RecorderOnSheet plain(sheet, nullptr);
    return detail::runCalculation(sheet);
}

} // namespace calc
