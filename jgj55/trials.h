// The laboratory's part of a JGJ 55-2011 design (chapter 6): the trial batch,
// the 试拌配合比 and the three mixes cast for strength, the line fitted to
// their measured strengths, the water-binder ratio chosen from it, the
// adjusted mix and its correction by the measured fresh density, which
// give the laboratory mix (试验室配合比).
//
//     jgj55::Trials trials;
//     trials.strengths = {{.waterBinder = 0.47, .strength = 46.1}, ...};
//     trials.density = 2430;
//     const jgj55::TrialOutcome out = jgj55::runTrials(input, *design.result, trials);
//     if (out) { ... out.result->lab ... } else { ... out.refusal.message ... }
//
// Each mix is proportioned by the design's own steps (jgj55::proportion), so
// that its sand and stone follow the design's method and rounding; every
// other rounded figure is rounded on its exact decimal value (calc/decimal.h).
// The conventions of the program, where the standard leaves the figure to
// the laboratory, are named where they are applied and in the report.
#pragma once

#include "jgj55/design.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace jgj55 {

// One measured strength: a group value given, or the three specimens of
// the group.
struct TrialStrength {
    double waterBinder = 0.0;
    std::optional<double> strength; // MPa
    std::vector<double> specimens;  // MPa, three
    friend bool operator==(const TrialStrength&, const TrialStrength&) = default;
};

// What the laboratory gives; a design file keeps it under "trials" (absent
// keys: none).
struct Trials {
    std::optional<double> mixerCapacity; // L, the mixer's rated capacity
    std::optional<double> water;         // mw, kg/m³, after the admixture
    std::optional<double> sandRatio;     // %
    std::vector<TrialStrength> strengths;
    std::optional<double> density; // ρc,t, kg/m³
    bool empty() const {
        return !mixerCapacity && !water && !sandRatio && strengths.empty() && !density;
    }
    friend bool operator==(const Trials&, const Trials&) = default;
};

// A mix per m³ and its trial batch.
struct TrialMix {
    double waterBinder = 0.0;
    double sandRatio = 0.0; // %
    double water = 0.0;
    double binder = 0.0;
    double cement = 0.0;
    double flyAsh = 0.0;
    double slag = 0.0;
    double admixture = 0.0;
    double sand = 0.0;
    double stone = 0.0;
    double density = 0.0; // ρc,c: binder, water, sand and stone
    // The same masses for the trial batch, kg to 1 g.
    double batchWater = 0.0;
    double batchCement = 0.0;
    double batchFlyAsh = 0.0;
    double batchSlag = 0.0;
    double batchAdmixture = 0.0;
    double batchSand = 0.0;
    double batchStone = 0.0;
    std::vector<Message> notes;    // a binder raised to the minimum
    std::vector<Message> warnings; // a mineral admixture above its limit
};

// A measured strength as it enters the fit.
struct MeasuredStrength {
    double waterBinder = 0.0;
    double binderWater = 0.0; // 1 / (W/B), as the report shows it: to 0.001
    double value = 0.0;       // MPa
    bool fromSpecimens = false;
    std::string rule; // why the group value is what it is; empty for the mean or a given value
};

// The least-squares line f = a + b·(B/W) and its correlation coefficient.
struct Fit {
    double a = 0.0; // MPa, to 0.01 as shown
    double b = 0.0; // MPa, to 0.01 as shown
    double r = 0.0; // to 0.001
    int points = 0;
};

// The density correction (6.2.2, 6.2.3).
struct DensityCorrection {
    double computed = 0.0;          // ρc,c of the adjusted mix
    double measured = 0.0;          // ρc,t
    double delta = 0.0;             // δ, to 0.001
    double differencePercent = 0.0; // |ρc,t − ρc,c| / ρc,c × 100, to 0.1
    bool corrected = false;         // more than 2 %: every material × δ
};

// The eight masses of the laboratory mix per m³.
struct LabMix {
    double binder = 0.0;
    double cement = 0.0;
    double flyAsh = 0.0;
    double slag = 0.0;
    double water = 0.0;
    double sand = 0.0;
    double stone = 0.0;
    double admixture = 0.0;
};

struct Adjustment {
    std::vector<MeasuredStrength> strengths;
    Fit fit;
    double fcu0 = 0.0;
    double binderWater = 0.0;       // B/W at fcu,0, to 0.001 as shown
    double fittedWaterBinder = 0.0; // 1 ÷ B/W rounded down to 0.01
    double waterBinder = 0.0;       // after the environment's limit
    double testedLow = 0.0;         // the range of W/B tested
    double testedHigh = 0.0;
    TrialMix mix; // the adjusted mix
    std::optional<DensityCorrection> correction;
    std::optional<LabMix> lab;     // with the density: the laboratory mix
    std::vector<Message> notes;    // what a rule changed
    std::vector<Message> warnings; // extrapolation, a weak correlation
};

struct TrialResult {
    int sizeLitres = 0;                   // by the maximum size: 20 or 25
    std::optional<double> quarterLitres;  // a quarter of the mixer's capacity
    double batchLitres = 0.0;             // the trial batch, whole litres
    TrialMix base;                        // 试拌配合比
    bool adjusted = false;                // water or sand ratio given for workability
    std::array<TrialMix, 3> mixes;        // W/B − 0.05, W/B, W/B + 0.05
    std::optional<Adjustment> adjustment; // from three measured strengths on
};

// A refused trial input: one line of Chinese naming the entry, and the key
// of "trials" it concerns ("strengths", "density").
struct TrialRefusal {
    std::string message;
    std::string entry;
};

struct TrialOutcome {
    std::optional<TrialResult> result;
    TrialRefusal refusal; // meaningful without a result
    explicit operator bool() const { return result.has_value(); }
};

// The trials of the finished design `design` of `input`.
TrialOutcome runTrials(const Input& input, const Result& design, const Trials& trials);

// The "trials" block of a design file, keys in a fixed order, only those
// given; read strictly, with the reason in Chinese naming the key.
nlohmann::ordered_json trialsBlock(const Trials& trials);
struct TrialsReading {
    std::optional<Trials> trials;
    std::string error;
    explicit operator bool() const { return trials.has_value(); }
};
TrialsReading readTrials(const nlohmann::json& block);
inline constexpr std::string_view kTrialsKey = "trials";

// The "trial" object of `lanshi --report D -o R.json`.
nlohmann::ordered_json trialJson(const TrialResult& trial);

} // namespace jgj55
