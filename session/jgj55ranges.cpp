#include "session/jgj55ranges.h"

#include "report/numbers.h"

namespace session {

namespace {

constexpr PlausibleRange kRanges[] = {
    {"fcuk", 10, 100},
    {"sigma", 2, 8},
    {"slump", 0, 250},
    {"vebe", 0, 60},
    {"gammaC", 1, 1.2},
    {"fce", 25, 70},
    {"maxSize", 10, 80},
    {"cementDensity", 2800, 3200},
    {"sandDensity", 2500, 2800},
    {"stoneDensity", 2500, 2900},
    {"waterDensity", 990, 1010},
    {"sandMoisture", 0, 15},
    {"stoneMoisture", 0, 5},
    {"flyAsh.fraction", 0, 60},
    {"flyAsh.gammaF", 0.5, 1},
    {"flyAsh.density", 1900, 2800},
    {"slag.fraction", 0, 70},
    {"slag.gammaS", 0.5, 1.1},
    {"slag.density", 2600, 3100},
    {"admixture.fraction", 0, 5},
    {"admixture.waterReduction", 0, 40},
    {"waterBinder", 0.24, 0.8},
    {"water", 100, 260},
    {"sandRatio", 20, 50},
    {"alphaA", 0.3, 0.7},
    {"alphaB", 0.05, 0.3},
    {"assumedDensity", 2000, 2800},
    {"air", 0, 10},
};

bool within(const PlausibleRange& range, double value) {
    return value >= range.low && value <= range.high;
}

// The name of a field without its symbol: "砂率 βs" → "砂率".
std::string_view nameOf(std::string_view caption) {
    return caption.substr(0, caption.find(' '));
}

} // namespace

std::span<const PlausibleRange> plausibleRanges() {
    return kRanges;
}

const PlausibleRange* plausibleRange(std::string_view key) {
    for (const PlausibleRange& range : kRanges) {
        if (range.key == key) {
            return &range;
        }
    }
    return nullptr;
}

// The field, then what it shows of it, as the form passes them.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
std::string implausible(std::string_view key, std::string_view caption, std::string_view unit,
                        double typed, const calc::NumberFormat& format) {
    const PlausibleRange* range = plausibleRange(key);
    if (range == nullptr || within(*range, typed)) {
        return {};
    }
    const auto f = [&format](double x) { return report::figure(x, format); };
    const std::string withUnit = unit.empty() ? std::string() : " " + std::string(unit);
    std::string text = std::string(nameOf(caption)) + " " + f(typed) + withUnit + " 不在常用范围 " +
                       f(range->low) + "–" + f(range->high) + withUnit;
    // The plain slips: a fraction typed where the field takes a percentage,
    // a density in g/cm³ where it takes kg/m³.
    double scale = 0.0;
    if (unit == "%") {
        scale = 100.0;
    } else if (unit == "kg/m³") {
        scale = 1000.0;
    }
    if (typed != 0.0 && scale != 0.0 && within(*range, typed * scale)) {
        return text + "，是否应为 " + f(typed * scale) + "？";
    }
    return text + "。";
}

} // namespace session
