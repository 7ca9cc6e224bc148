#include "calc/calculate.h"

#include "calc/arith.h"
#include "calc/fieldreaders.h"
#include "calc/stages.h"
#include "calc/tracing.h"

#include <array>
#include <cstddef>
#include <optional>

namespace calc {

namespace {

// The driver's own conversions for one stage, in the order given; the first
// that fails stops the calculation.
template <std::size_t N>
std::optional<Stop> readForStage(const Sheet& sheet, Stage stage,
                                 const std::array<TextField, N>& fields,
                                 std::array<float, N>& values) {
    const detail::Site site{.stage = Stage::calculate, .purpose = stage};
    for (std::size_t i = 0; i < N; ++i) {
        const detail::StrictRead read = detail::driverStrict(sheet, fields[i], site);
        if (read.stop) {
            return read.stop;
        }
        values[i] = read.value;
    }
    return std::nullopt;
}

// The moisture adjustment, with the driver's own conversions in their order:
// Text24, Text21, Text4, Text32, Text31, read as they stand after the method.
std::optional<Stop> adjustForMoisture(Sheet& sheet) {
    std::array<float, 5> read{};
    if (auto stop = readForStage(sheet, Stage::tiaozheng,
                                 std::array{Text24, Text21, Text4, Text32, Text31}, read)) {
        return stop;
    }
    const auto [shizhsl, szhsl, snyzl, shizzlb, szzlb] = read;
    // The dry masses it hands back are the adjustment's own business.
    static_cast<void>(tiaozheng(sheet, szzlb, shizzlb, snyzl, szhsl, shizhsl));
    return std::nullopt;
}

// The mass method, with the driver's conversions in the order Text20, Text26,
// Text4, Text15.
std::optional<Stop> massMethod(Sheet& sheet) {
    std::array<float, 4> read{};
    if (auto stop = readForStage(sheet, Stage::zhiliangfa,
                                 std::array{Text20, Text26, Text4, Text15}, read)) {
        return stop;
    }
    const auto [zlbanhewu, zlshuiliang, zlshuiniliang, zlsl] = read;
    zhiliangfa(sheet, zlsl, zlshuiniliang, zlshuiliang, zlbanhewu);
    return std::nullopt;
}

bool bothMoistureContentsGiven(const Sheet& sheet) {
    return !sheet.text(Text21).empty() && !sheet.text(Text24).empty();
}

// The calculation up to its end or to a stop of the driver's own; a stage's
// stop is thrown past it.
std::optional<Stop> run(Sheet& sheet) {
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
            if (auto stop = adjustForMoisture(sheet)) {
                return stop;
            }
        }
    }
    // A separate test: a sheet built outside the window may have both set.
    if (sheet.isSelected(Option::option2)) {
        const bool moisture = bothMoistureContentsGiven(sheet);
        if (auto stop = massMethod(sheet)) {
            return stop;
        }
        if (moisture) {
            return adjustForMoisture(sheet);
        }
    }
    return std::nullopt;
}

} // namespace

namespace detail {

Outcome runCalculation(Sheet& sheet) {
    try {
        return Outcome{run(sheet)};
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
