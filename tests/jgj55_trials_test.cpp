// The laboratory's trials of a JGJ 55-2011 design, worked by hand: the trial
// batch, the three mixes, the group values at the 15 % boundary, the fitted
// line and the W/B rounded down, the density correction at 2 %, and the
// refusals that name their entry.
#include "jgj55/designfile.h"
#include "jgj55/trials.h"

#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

// The guide's first example: C30, 42.5, 20 % fly ash, 1 % admixture saving
// 20 %, crushed 20 mm, slump 180 mm, mass method: fcu,0 = 38.2, W/B 0.52,
// mw0 = 190, βs = 41 %.
jgj55::Input example() {
    jgj55::Input in;
    in.fcuk = 30;
    in.cementGrade = jgj55::CementGrade::G42_5;
    in.flyAsh = jgj55::FlyAsh{.fraction = 0.2};
    in.admixture = jgj55::Admixture{.fraction = 0.01, .waterReduction = 0.2};
    in.stone = jgj55::Stone::Crushed;
    in.maxSize = 20;
    in.slump = 180;
    return in;
}

struct Trial {
    jgj55::Input input;
    jgj55::Result design;
    jgj55::TrialOutcome outcome;
};

Trial run(const jgj55::Input& in, const jgj55::Trials& trials) {
    const jgj55::Outcome designed = jgj55::design(in);
    EXPECT_TRUE(designed) << jgj55::plainText(designed.refusal.message);
    Trial r{in, designed.result.value_or(jgj55::Result{}), {}};
    r.outcome = jgj55::runTrials(in, r.design, trials);
    return r;
}

// The trial batch (6.1.3) by the maximum size and the mixer's capacity.
struct BatchCase {
    double maxSize;
    std::optional<double> capacity;
    double litres; // 0: refused
};

class TrialBatchVolume : public testing::TestWithParam<BatchCase> {};

TEST_P(TrialBatchVolume, IsTheLargerOfSizeAndQuarterCapacityRoundedUp) {
    const BatchCase c = GetParam();
    jgj55::Input in = example();
    in.maxSize = c.maxSize;
    in.water = 190; // no water table for every size
    in.sandRatio = 40;
    const Trial r = run(in, {.mixerCapacity = c.capacity});
    if (c.litres == 0) {
        ASSERT_FALSE(r.outcome);
        EXPECT_EQ(r.outcome.refusal.entry, "mixerCapacity");
        EXPECT_NE(r.outcome.refusal.message.find("大于搅拌机公称容量"), std::string::npos);
        return;
    }
    ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
    EXPECT_EQ(r.outcome.result->batchLitres, c.litres);
}

INSTANTIATE_TEST_SUITE_P(Cases, TrialBatchVolume,
                         testing::Values(BatchCase{31.5, std::nullopt, 20},
                                         BatchCase{40, std::nullopt, 25},
                                         BatchCase{20, 60, 20},  // a quarter is 15 L
                                         BatchCase{20, 100, 25}, // a quarter is 25 L
                                         BatchCase{40, 90, 25},  // 22.5 L < 25 L
                                         BatchCase{20, 90, 23},  // 22.5 L rounded up
                                         BatchCase{20, 15, 0},   // 20 L do not fit in 15 L
                                         BatchCase{40, 24.5, 0}));

// The three mixes by hand, at mw = 185 and βs = 40 % given for workability:
// W/B 0.52: mb = 185 / 0.52 = 355.8 → 356, mf = 71.2 → 71, mc = 285,
// ma = 3.56, T = 2400 − 356 − 185 = 1859, ms = 743.6 → 744, mg = 1115;
// W/B 0.47 at 39 %: mb = 393.6 → 394, mf = 78.8 → 79, mc = 315, ma = 3.94,
// T = 1821, ms = 710.19 → 710, mg = 1111; W/B 0.57 at 41 %: mb = 324.6 →
// 325, mf = 65, mc = 260, ma = 3.25, T = 1890, ms = 774.9 → 775, mg = 1115.
// In 20 L: 285 × 0.02 = 5.7 kg of cement, 3.56 × 0.02 = 0.0712 → 0.071 kg.
TEST(TrialMixes, ThreeMixesWorkedByHand) {
    const Trial r = run(example(), {.mixerCapacity = 60, .water = 185, .sandRatio = 40});
    ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
    const jgj55::TrialResult& t = *r.outcome.result;
    EXPECT_TRUE(t.adjusted);
    struct Expected {
        double wb, sr, mb, mf, mc, ma, ms, mg;
    };
    const Expected expected[] = {{0.47, 39, 394, 79, 315, 3.94, 710, 1111},
                                 {0.52, 40, 356, 71, 285, 3.56, 744, 1115},
                                 {0.57, 41, 325, 65, 260, 3.25, 775, 1115}};
    for (std::size_t i = 0; i < 3; ++i) {
        const jgj55::TrialMix& m = t.mixes[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(m.waterBinder, e.wb);
        EXPECT_EQ(m.sandRatio, e.sr);
        EXPECT_EQ(m.water, 185);
        EXPECT_EQ(m.binder, e.mb);
        EXPECT_EQ(m.flyAsh, e.mf);
        EXPECT_EQ(m.cement, e.mc);
        EXPECT_EQ(m.admixture, e.ma);
        EXPECT_EQ(m.sand, e.ms);
        EXPECT_EQ(m.stone, e.mg);
        EXPECT_EQ(m.density, 2400);
    }
    EXPECT_EQ(t.mixes[1].batchCement, 5.7);
    EXPECT_EQ(t.mixes[1].batchAdmixture, 0.071);
    EXPECT_EQ(t.mixes[1].batchSand, 14.88);
    EXPECT_EQ(t.mixes[0].batchStone, 22.22);
}

// Without an adjustment the 试拌配合比 is the calculated mix, its binder
// raised to the structure's minimum included; the other two are not raised.
TEST(TrialMixes, WithoutAdjustmentTheBaseIsTheCalculatedMix) {
    for (const double fcuk : {30.0, 20.0, 25.0}) {
        jgj55::Input in = example();
        in.fcuk = fcuk; // C20: W/B 0.72 → 190 / 0.72 = 264 < 280, raised
        in.sandRatio = 35;
        if (fcuk == 25.0) { // the volume method with slag and its densities
            in.method = jgj55::Method::Volume;
            in.slag = jgj55::Slag{.fraction = 0.3, .density = 2850};
            in.sandDensity = 2630;
            in.air = 2;
        }
        const Trial r = run(in, {});
        ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
        const jgj55::TrialMix& base = r.outcome.result->base;
        EXPECT_FALSE(r.outcome.result->adjusted);
        EXPECT_EQ(base.binder, r.design.binder);
        EXPECT_EQ(base.cement, r.design.cement);
        EXPECT_EQ(base.sand, r.design.sand);
        EXPECT_EQ(base.stone, r.design.stone);
        EXPECT_EQ(base.admixture, r.design.admixture);
        EXPECT_EQ(r.outcome.result->mixes[1].binder, base.binder);
        if (fcuk == 20.0) {
            EXPECT_EQ(base.binder, 280);
            EXPECT_EQ(base.notes.size(), 1u);
            EXPECT_LT(r.outcome.result->mixes[2].binder, 280);
        }
    }
}

jgj55::TrialStrength given(double wb, double strength) {
    return {.waterBinder = wb, .strength = strength};
}

jgj55::TrialStrength specimens(double wb, double a, double b, double c) {
    return {.waterBinder = wb, .specimens = {a, b, c}};
}

// The worked example's strengths: 0.47: (46.2 + 47.5 + 48.1) / 3 = 47.27 →
// 47.3; 0.52: 41.8; 0.57: 43.0 − 36.9 = 6.1 > 5.535 (15 % of 36.9), the
// middle one, 36.9. Least squares on B/W = 1/0.47, 1/0.52, 1/0.57:
// a = −11.847…, b = 27.827…, r = 0.99975…; B/W at 38.2 = (38.2 + 11.847…) /
// 27.827… = 1.798…, W/B = 0.55602… → 0.55. Sand ratio 40 + 0.03 / 0.05 =
// 40.6 → 41 %; mb = 185 / 0.55 = 336.4 → 336, mf = 67.2 → 67, mc = 269,
// ma = 3.36, T = 1879, ms = 770.39 → 770, mg = 1109, ρc,c = 2400.
// ρc,t = 2450: 50 > 48 (2 %), δ = 1.0208… → 1.021: mc = 274.649 → 275,
// mf = 68.407 → 68, mw = 188.885 → 189, ms = 786.17 → 786, mg = 1132.289 →
// 1132, ma = 3.43056 → 3.43.
jgj55::Trials workedTrials() {
    return {.mixerCapacity = 60,
            .water = 185,
            .sandRatio = 40,
            .strengths = {specimens(0.47, 46.2, 47.5, 48.1), given(0.52, 41.8),
                          specimens(0.57, 35.1, 36.9, 43.0)},
            .density = 2450};
}

TEST(TrialAdjustment, WorkedExampleToTheLaboratoryMix) {
    const Trial r = run(example(), workedTrials());
    ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
    ASSERT_TRUE(r.outcome.result->adjustment);
    const jgj55::Adjustment& a = *r.outcome.result->adjustment;
    EXPECT_EQ(a.strengths[0].value, 47.3);
    EXPECT_EQ(a.strengths[2].value, 36.9);
    EXPECT_FALSE(a.strengths[2].rule.empty());
    EXPECT_EQ(a.fit.a, -11.85);
    EXPECT_EQ(a.fit.b, 27.83);
    EXPECT_EQ(a.fit.r, 1.0); // 0.99975… to 0.001
    EXPECT_EQ(a.binderWater, 1.798);
    EXPECT_EQ(a.waterBinder, 0.55);
    EXPECT_TRUE(a.warnings.empty());
    EXPECT_EQ(a.mix.sandRatio, 41);
    EXPECT_EQ(a.mix.binder, 336);
    EXPECT_EQ(a.mix.cement, 269);
    EXPECT_EQ(a.mix.sand, 770);
    EXPECT_EQ(a.mix.stone, 1109);
    ASSERT_TRUE(a.correction && a.lab);
    EXPECT_EQ(a.correction->delta, 1.021);
    EXPECT_TRUE(a.correction->corrected);
    const jgj55::LabMix& lab = *a.lab;
    EXPECT_EQ(lab.cement, 275);
    EXPECT_EQ(lab.flyAsh, 68);
    EXPECT_EQ(lab.binder, 343);
    EXPECT_EQ(lab.water, 189);
    EXPECT_EQ(lab.sand, 786);
    EXPECT_EQ(lab.stone, 1132);
    EXPECT_EQ(lab.admixture, 3.43);
}

// 4.3.1 at its boundary: 15 % of the middle 40.0 is 6.0. A difference of
// exactly 6.0 keeps the mean, 6.1 takes the middle, both sides refuse.
TEST(TrialStrengths, GroupValueAtTheFifteenPerCentBoundary) {
    struct Case {
        double low, high;
        double value; // 0: refused
    };
    const Case cases[] = {{34.0, 46.0, 40.0}, // both exactly 6.0: the mean
                          {35.0, 46.0, 40.3}, // 121 / 3 = 40.33
                          {35.0, 46.1, 40.0}, // the high one differs
                          {33.9, 45.0, 40.0}, // the low one differs
                          {33.9, 46.1, 0.0}}; // both
    for (const Case& c : cases) {
        jgj55::Trials trials{
            .strengths = {specimens(0.47, c.low, 40.0, c.high), given(0.52, 35), given(0.57, 30)}};
        const Trial r = run(example(), trials);
        SCOPED_TRACE(c.low);
        SCOPED_TRACE(c.high);
        if (c.value == 0.0) {
            ASSERT_FALSE(r.outcome);
            EXPECT_EQ(r.outcome.refusal.entry, "strengths");
            EXPECT_NE(r.outcome.refusal.message.find("第 1 组"), std::string::npos);
            EXPECT_NE(r.outcome.refusal.message.find("均超过"), std::string::npos);
            continue;
        }
        ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
        EXPECT_EQ(r.outcome.result->adjustment->strengths[0].value, c.value);
    }
}

// A design whose fcu,0 is `fcu0Tenths` / 10 (σ = 5: fcu,k + 8.225).
jgj55::Input designAt(double fcuk) {
    jgj55::Input in = example();
    in.fcuk = fcuk;
    in.sigma = 5;
    return in;
}

// Points on f = −10 + 25·(B/W): B/W = 2.5, 2, 1.6 give 52.5, 40, 30. At
// fcu,0 = 40.0 the B/W is 2 exactly, W/B 0.50; at 40.1 it is 2.004, W/B
// 0.499… which goes down to 0.49, not up to 0.50.
TEST(TrialFit, TheChosenRatioIsRoundedDown) {
    const jgj55::Trials trials{.strengths = {given(0.4, 52.5), given(0.5, 40), given(0.625, 30)}};
    const Trial exact = run(designAt(31.8), trials); // 31.8 + 8.225 = 40.025 → 40.0
    ASSERT_TRUE(exact.outcome) << exact.outcome.refusal.message;
    EXPECT_EQ(exact.design.fcu0, 40.0);
    const jgj55::Adjustment& a = *exact.outcome.result->adjustment;
    EXPECT_EQ(a.fit.a, -10);
    EXPECT_EQ(a.fit.b, 25);
    EXPECT_EQ(a.fit.r, 1);
    EXPECT_EQ(a.waterBinder, 0.5);
    EXPECT_FALSE(a.correction); // no density given: no laboratory mix
    EXPECT_FALSE(a.lab);

    const Trial above = run(designAt(31.9), trials); // 40.125 → 40.1
    ASSERT_TRUE(above.outcome) << above.outcome.refusal.message;
    EXPECT_EQ(above.design.fcu0, 40.1);
    EXPECT_EQ(above.outcome.result->adjustment->binderWater, 2.004);
    EXPECT_EQ(above.outcome.result->adjustment->waterBinder, 0.49);
}

// Five points, two off the line: the least-squares figures by hand.
// x = 2.5, 2.5, 2, 1.6, 1.6 and f = 52, 53, 40, 30, 30: x̄ = 2.04, f̄ = 41,
// lxx = 21.62 − 5 × 2.04² = 0.812, lxy = 438.5 − 5 × 2.04 × 41 = 20.3,
// b = 25, a = 41 − 25 × 2.04 = −10, r = 0.9995…. At fcu,0 = 38.2: B/W =
// 48.2 / 25 = 1.928, W/B = 0.5187 → 0.51.
TEST(TrialFit, FivePointsAndAWeakCorrelationWarned) {
    jgj55::Trials trials{.strengths = {given(0.4, 52), given(0.4, 53), given(0.5, 40),
                                       given(0.625, 30), given(0.625, 30)}};
    const Trial r = run(example(), trials);
    ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
    const jgj55::Adjustment& a = *r.outcome.result->adjustment;
    EXPECT_EQ(a.fit.points, 5);
    EXPECT_EQ(a.fit.b, 25);
    EXPECT_EQ(a.fit.a, -10);
    EXPECT_EQ(a.fit.r, 1); // 0.9995… to 0.001
    EXPECT_EQ(a.binderWater, 1.928);
    EXPECT_EQ(a.waterBinder, 0.51);
    EXPECT_TRUE(a.warnings.empty());

    // Scattered strengths: r below 0.9 is warned of, not refused.
    trials.strengths = {given(0.4, 45), given(0.4, 35), given(0.5, 40), given(0.625, 30),
                        given(0.625, 38)};
    const Trial weak = run(example(), trials);
    ASSERT_TRUE(weak.outcome) << weak.outcome.refusal.message;
    const auto& warnings = weak.outcome.result->adjustment->warnings;
    ASSERT_FALSE(warnings.empty());
    EXPECT_NE(warnings.front().pattern.find("小于 0.9"), std::string::npos);
    EXPECT_LT(weak.outcome.result->adjustment->fit.r, 0.9);
}

// A W/B beyond the tested ones is warned of; the sand ratio takes the end
// mix's; a W/B above the environment's limit takes the limit.
TEST(TrialFit, ExtrapolationAndTheEnvironmentLimit) {
    // Near f = −10 + 25·(B/W), tested from 0.40 to 0.47: at fcu,0 = 38.2
    // B/W = 1.928, W/B 0.5187 → 0.51, beyond the tested ratios.
    const jgj55::Trials trials{
        .strengths = {given(0.4, 52.5), given(0.45, 45.556), given(0.47, 43.191)}};
    const Trial r = run(example(), trials);
    ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
    const jgj55::Adjustment& a = *r.outcome.result->adjustment;
    EXPECT_EQ(a.waterBinder, 0.51);
    ASSERT_EQ(a.warnings.size(), 1u);
    EXPECT_NE(a.warnings.front().pattern.find("外推"), std::string::npos);

    jgj55::Input limited = example();
    limited.environment = jgj55::Environment::IIIb; // at most 0.40
    const Trial capped = run(limited, trials);
    ASSERT_TRUE(capped.outcome) << capped.outcome.refusal.message;
    const jgj55::Adjustment& c = *capped.outcome.result->adjustment;
    EXPECT_EQ(c.fittedWaterBinder, 0.51);
    EXPECT_EQ(c.waterBinder, 0.4);
    // The design's own W/B is capped at 0.40 too: its three mixes are 0.35,
    // 0.40, 0.45, and 0.40 is the middle one's sand ratio.
    EXPECT_EQ(c.mix.sandRatio, capped.outcome.result->mixes[1].sandRatio);
}

// Item 8: the mineral-admixture limit of the chosen W/B. 32 % fly ash in
// reinforced concrete with P·O: at 0.51 the row above 0.40 allows 30 %, at
// 0.40 (the environment's cap) the row up to 0.40 allows 35 %.
TEST(TrialAdjustment, MineralLimitAtTheChosenRatio) {
    const jgj55::Trials trials{
        .strengths = {given(0.4, 52.5), given(0.45, 45.556), given(0.47, 43.191)}};
    const auto limitWarnings = [&trials](std::optional<jgj55::Environment> environment) {
        jgj55::Input in = example();
        in.flyAsh->fraction = 0.32;
        in.environment = environment;
        const Trial r = run(in, trials);
        EXPECT_TRUE(r.outcome) << r.outcome.refusal.message;
        std::size_t n = 0;
        for (const jgj55::Message& w : r.outcome.result->adjustment->warnings) {
            n += w.pattern.find("3.0.5") != std::string::npos ? 1 : 0;
        }
        return n;
    };
    EXPECT_EQ(limitWarnings(std::nullopt), 1u);
    EXPECT_EQ(limitWarnings(jgj55::Environment::IIIb), 0u);
}

// 6.2.3 at its boundary: ρc,c = 2400, 2 % is 48 kg. 2448 and 2352 keep the
// mix; 2449 multiplies by δ = 1.0204… → 1.020.
TEST(TrialDensity, TwoPerCentKeepsTheMixAndJustOverCorrectsIt) {
    struct Case {
        double measured;
        double delta;
        bool corrected;
        double sand;
    };
    for (const Case& c : {Case{2448, 1.02, false, 770}, Case{2352, 0.98, false, 770},
                          Case{2449, 1.02, true, 785}, Case{2351, 0.98, true, 755}}) {
        jgj55::Trials trials = workedTrials();
        trials.density = c.measured;
        const Trial r = run(example(), trials);
        ASSERT_TRUE(r.outcome) << r.outcome.refusal.message;
        const jgj55::Adjustment& a = *r.outcome.result->adjustment;
        SCOPED_TRACE(c.measured);
        EXPECT_EQ(a.correction->computed, 2400);
        EXPECT_EQ(a.correction->delta, c.delta);
        EXPECT_EQ(a.correction->corrected, c.corrected);
        EXPECT_EQ(a.lab->sand, c.sand); // 770 × 1.02 = 785.4, × 0.98 = 754.6
    }
}

// Bad input: one line naming the entry.
TEST(TrialRefusals, NameTheEntry) {
    struct Case {
        jgj55::Trials trials;
        std::string entry;
        std::string says;
    };
    const jgj55::TrialStrength ok1 = given(0.47, 47);
    const jgj55::TrialStrength ok2 = given(0.52, 42);
    const Case cases[] = {
        {{.strengths = {ok1, given(0.52, -3), ok2}}, "strengths", "第 2 组的强度须为正数"},
        {{.strengths = {given(0.5, 40), given(0.5, 41)}}, "strengths", "至少要三组"},
        {{.strengths = {given(0.5, 40), given(0.5, 41), given(0.5, 42)}}, "strengths", "都是 0.5"},
        {{.strengths = {given(0.47, 40), given(0.52, 41), given(0.57, 42)}},
         "strengths",
         "强度未随胶水比增大"},
        {{.strengths = {ok1, ok2, given(0.57, 37)}, .density = 0}, "density", "须为正数"},
        {{.density = 2400}, "density", "没有试配强度"},
        {{.strengths = {ok1, ok2, {.waterBinder = 0.57, .specimens = {37, 38}}}},
         "strengths",
         "三个试件"},
        {{.strengths = {ok1, ok2, {.waterBinder = 0.57, .strength = 37, .specimens = {1, 2, 3}}}},
         "strengths",
         "只能给出其一"},
        {{.strengths = {ok1, ok2, given(0, 37)}}, "strengths", "第 3 组的水胶比"},
        {{.mixerCapacity = -60}, "mixerCapacity", "须为正数"},
        {{.water = 0}, "water", "须为正数"},
        {{.sandRatio = 100}, "sandRatio", "砂率"},
        {{.strengths = std::vector<jgj55::TrialStrength>(51, ok1)}, "strengths", "至多 50 组"},
    };
    for (const Case& c : cases) {
        const Trial r = run(example(), c.trials);
        SCOPED_TRACE(c.says);
        ASSERT_FALSE(r.outcome);
        EXPECT_EQ(r.outcome.refusal.entry, c.entry);
        EXPECT_NE(r.outcome.refusal.message.find(c.says), std::string::npos)
            << r.outcome.refusal.message;
        EXPECT_EQ(r.outcome.refusal.message.find('\n'), std::string::npos);
    }
}

// Figures no file holds but a caller may pass: refused with the entry, never
// carried into the arithmetic.
TEST(TrialRefusals, NumbersBeyondReason) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const jgj55::TrialStrength ok1 = given(0.47, 47);
    const jgj55::TrialStrength ok2 = given(0.52, 42);
    for (const double bad : {inf, -inf, nan}) {
        const jgj55::Trials cases[] = {
            {.mixerCapacity = bad},
            {.water = bad},
            {.sandRatio = bad},
            {.strengths = {ok1, ok2, given(0.57, bad)}},
            {.strengths = {ok1, ok2, given(bad, 37)}},
            {.strengths = {ok1, ok2, specimens(0.57, 37, bad, 38)}},
            {.strengths = {ok1, ok2, given(0.57, 37)}, .density = bad},
        };
        for (const jgj55::Trials& trials : cases) {
            const Trial r = run(example(), trials);
            EXPECT_FALSE(r.outcome);
            EXPECT_FALSE(r.outcome.refusal.message.empty());
        }
    }
}

// The block of the design file: written and read back to the same trials;
// a wrong key or kind refused with its name.
TEST(TrialsFile, KeptInTheDesignFile) {
    jgj55::Trials trials = workedTrials();
    trials.strengths.push_back({.waterBinder = 0.6}); // incomplete: kept as typed
    const std::string bytes = jgj55::serialize(example(), {}, 20, nullptr, trials);
    EXPECT_NE(bytes.find(R"("specimens")"), std::string::npos) << bytes;
    const jgj55::ReadResult read = jgj55::read(bytes);
    ASSERT_TRUE(read) << read.error;
    ASSERT_TRUE(read.trials);
    EXPECT_EQ(*read.trials, trials);
    EXPECT_EQ(jgj55::serialize(*read.input, {}, 20, nullptr, read.trials), bytes);

    // An empty block is trials all the same.
    const jgj55::ReadResult empty =
        jgj55::read(jgj55::serialize(example(), {}, 20, nullptr, jgj55::Trials{}));
    ASSERT_TRUE(empty.trials);
    EXPECT_TRUE(empty.trials->empty());
    EXPECT_FALSE(jgj55::read(jgj55::serialize(example())).trials);

    for (const auto& [block, says] :
         {std::pair{R"({"density": "2400"})", "「density」 应为数"},
          std::pair{R"({"strengths": [{"strength": 40}]})", "缺少「waterBinder」"},
          std::pair{R"({"strengths": [{"waterBinder": 0.5, "cube": 40}]})", "「cube」"},
          std::pair{R"({"slump": 180})", "「slump」 不是试配的一项"}}) {
        const std::string file =
            R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30}, )"
            R"("trials": )" +
            std::string(block) + "}";
        const jgj55::ReadResult bad = jgj55::read(file);
        EXPECT_FALSE(bad);
        EXPECT_NE(bad.error.find(says), std::string::npos) << bad.error;
    }
}

} // namespace
