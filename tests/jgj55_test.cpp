// The JGJ 55-2011 design: worked examples by hand, every table cell reached
// through the calculation, each rule at its boundaries, and refusals.
#include "case_names.h"
#include "jgj55/design.h"
#include "jgj55/rounding.h"

#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace {

using calc::testing::namedBy;
using namespace jgj55;

const Step* stepOf(const Result& r, std::string_view symbol) {
    const Step* found = nullptr;
    for (const Step& s : r.steps) {
        if (s.symbol == symbol) {
            found = &s; // the last step of the symbol: the figure used on
        }
    }
    return found;
}

Result designed(const Input& in) {
    const Outcome out = design(in);
    EXPECT_TRUE(out.result) << plainText(out.refusal.message);
    return out.result.value_or(Result{});
}

// A design whose water-binder ratio is exactly `wb`: a C60, whose ratio is
// given from trial mixes.
Input ratioInput(double wb) {
    Input in;
    in.fcuk = 60;
    in.fce = 69;
    in.waterBinder = wb;
    in.stone = Stone::Crushed;
    in.maxSize = 20;
    in.slump = 50;
    return in;
}

// ---- Worked examples ---------------------------------------------------------

struct Example {
    const char* name;
    Input input;
    double fcu0, fce, gammaF, gammaS, fb, waterBinder, water, binder, cement, flyAsh, slag,
        admixture, sandRatio, sand, stone, apparentDensity;
};

Input exampleA() {
    // C30, P·O 42.5, 20 % grade II fly ash, 1 % admixture saving 20 % water,
    // crushed stone 20 mm, slump 180 mm, mass method.
    Input in;
    in.fcuk = 30;
    in.cementGrade = CementGrade::G42_5;
    in.flyAsh = FlyAsh{.fraction = 0.20};
    in.admixture = Admixture{.fraction = 0.01, .waterReduction = 0.20};
    in.stone = Stone::Crushed;
    in.maxSize = 20;
    in.slump = 180;
    return in;
}

Input exampleB() {
    // C25, measured fce 45.0, 10 % grade III fly ash and 30 % S95 slag, gravel
    // 31.5 mm, slump 50 mm, plain concrete in environment 二a, volume method.
    Input in;
    in.fcuk = 25;
    in.fce = 45.0;
    in.flyAsh = FlyAsh{.fraction = 0.10, .grade = FlyAshGrade::III};
    in.slag = Slag{.fraction = 0.30};
    in.stone = Stone::Gravel;
    in.maxSize = 31.5;
    in.slump = 50;
    in.structure = Structure::Plain;
    in.environment = Environment::IIa;
    in.method = Method::Volume;
    return in;
}

Input exampleC() {
    // C60 (1.15 fcu,k), P·II 52.5 with 20 % fly ash and 10 % slag, W/B 0.30
    // and the water 220 kg/m³ from trial mixes, a reducer saving 30 %, sand
    // ratio 38 %, crushed 20 mm, slump 200 mm, assumed density 2450.
    Input in;
    in.fcuk = 60;
    in.cementType = CementType::PII;
    in.cementGrade = CementGrade::G52_5;
    in.flyAsh = FlyAsh{.fraction = 0.20};
    in.slag = Slag{.fraction = 0.10};
    in.admixture = Admixture{.fraction = 0.02, .waterReduction = 0.30};
    in.waterBinder = 0.30;
    in.water = 220;
    in.sandRatio = 38;
    in.stone = Stone::Crushed;
    in.maxSize = 20;
    in.slump = 200;
    in.assumedDensity = 2450;
    return in;
}

Input exampleD() {
    // C30 pumped concrete: P·O 42.5, 20 % grade II fly ash, 1 % admixture
    // saving 25 % water, 5–25 mm crushed stone, slump 180 mm, environment 二a.
    Input in;
    in.fcuk = 30;
    in.cementGrade = CementGrade::G42_5;
    in.flyAsh = FlyAsh{.fraction = 0.20};
    in.admixture = Admixture{.fraction = 0.01, .waterReduction = 0.25};
    in.stone = Stone::Crushed;
    in.maxSize = 25;
    in.slump = 180;
    in.environment = Environment::IIa;
    return in;
}

// By hand:
// A: σ = 5.0 (fcu,k ≤ 45); fcu,0 = 30 + 1.645 × 5 = 38.225 → 38.2;
//    fce = 1.16 × 42.5 = 49.3; γf = 0.85 (20 %, upper); γs = 1.00;
//    fb = 0.85 × 49.3 = 41.905 → 41.9;
//    W/B = 0.53 × 41.9 / (38.2 + 0.53 × 0.20 × 41.9) = 22.207 / 42.6414 = 0.5208 → 0.52;
//    mw0′ = 215 + 5 × (180 − 90) / 20 = 237.5; mw0 = 237.5 × 0.8 = 190;
//    mb0 = 190 / 0.52 = 365.38 → 365 (≥ 300); mf0 = 73; mc0 = 292; ma0 = 3.65;
//    βs: 0.50 → 34.5, 0.60 → 37.5, at 0.52 → 35.1, + (180 − 60) / 20 = 41.1 → 41;
//    T = 2400 − 365 − 190 = 1845; ms0 = 0.41 × 1845 = 756.45 → 756; mg0 = 1089.
// B: σ = 5.0; fcu,0 = 25 + 8.225 = 33.225 → 33.2; fce = 45 (measured);
//    γf = 0.85 (10 %, grade III lower); γs = 1.00 (30 %, S95 upper);
//    fb = 0.85 × 45 = 38.25 → 38.3 (a tie, up);
//    W/B = 0.49 × 38.3 / (33.2 + 0.49 × 0.13 × 38.3) = 18.767 / 35.63971 = 0.5266 → 0.53
//    (≤ 0.55 of 二a); mw0 = 170 (gravel 31.5 mm, 35–50 mm);
//    mb0 = 170 / 0.53 = 320.75 → 321 (≥ 280 plain); mf0 = 32.1 → 32; mk0 = 96.3 → 96;
//    mc0 = 193; βs: 20 mm column 31.5 → 34.5, at 0.53 → 32.4; 40 mm 30.5 → 33.5, at
//    0.53 → 31.4; 31.5 mm: 32.4 × 8.5/20 + 31.4 × 11.5/20 = 31.825 → 32;
//    V = 1 − 193/3100 − 32/2200 − 96/2900 − 170/1000 − 0.01 = 0.710093;
//    T = V / (0.32/2650 + 0.68/2700) = 1905.745; ms0 = 609.84 → 610; mg0 = 1295.91 → 1296.
// C: fcu,0 = 1.15 × 60 = 69.0; fce = 1.10 × 52.5 = 57.75 → 57.8 (a tie, up);
//    γf = 0.85, γs = 1.00 (10 %); fb = 0.85 × 57.8 = 49.13 → 49.1; no formula
//    from C60 on: W/B = 0.30 as given; mw0 = 220 × 0.70 = 154; mb0 = 154 / 0.30 =
//    513.3 → 513; mf0 = 102.6 → 103; mk0 = 51.3 → 51; mc0 = 359; ma0 = 10.26;
//    T = 2450 − 513 − 154 = 1783; ms0 = 0.38 × 1783 = 677.54 → 678; mg0 = 1105.
//    Within every range of 7.3.2 for C60–C80 (W/B 0.28–0.34, binder 480–560,
//    βs 35–42 %, cement ≤ 500, admixture 30 % in 25–40 %) and of table 3.0.5-1
//    (W/B ≤ 0.40, P·II: fly ash 20 ≤ 45, slag 10 ≤ 65, together 30 ≤ 65).
// D: fcu,0 = 38.2, fce = 49.3, γf = 0.85, fb = 41.9, W/B = 0.52 (as A; ≤ 0.55 of 二a);
//    mw0′: crushed 75–90 mm row, 25 mm between 20 mm (215) and 31.5 mm (205):
//    215 − 10 × 5 / 11.5 = 210.652…, + 5 × (180 − 90) / 20 = 233.152…;
//    mw0 = 233.152… × 0.75 = 174.86 → 175; mb0 = 175 / 0.52 = 336.5 → 337 (≥ 300);
//    mf0 = 67.4 → 67; mc0 = 270; ma0 = 3.37; fly ash 20 % ≤ 30 % (3.0.5-1, > 0.40, P·O);
//    βs: 25 mm is a quarter of the way from 20 to 40 mm: at 0.50, 34.5 → 32.5 gives
//    34.0; at 0.60, 37.5 → 35.5 gives 37.0; at 0.52, 34.6; + (180 − 60) / 20 = 40.6 → 41;
//    T = 2400 − 337 − 175 = 1888; ms0 = 0.41 × 1888 = 774.08 → 774; mg0 = 1114.
const Example kExamples[] = {
    {"A_mass_flyash_admixture", exampleA(), 38.2, 49.3, 0.85, 1.00, 41.9, 0.52, 190, 365, 292, 73,
     0, 3.65, 41, 756, 1089, 2400},
    {"B_volume_flyash_slag_gravel", exampleB(), 33.2, 45.0, 0.85, 1.00, 38.3, 0.53, 170, 321, 193,
     32, 96, 0, 32, 610, 1296, 2397},
    {"C_high_strength_trial_ratio", exampleC(), 69.0, 57.8, 0.85, 1.00, 49.1, 0.30, 154, 513, 359,
     103, 51, 10.26, 38, 678, 1105, 2450},
    {"D_pumped_25mm_crushed", exampleD(), 38.2, 49.3, 0.85, 1.00, 41.9, 0.52, 175, 337, 270, 67, 0,
     3.37, 41, 774, 1114, 2400},
};

class WorkedExample : public ::testing::TestWithParam<Example> {};

TEST_P(WorkedExample, GivesTheFiguresWorkedByHand) {
    const Example& e = GetParam();
    const Result r = designed(e.input);
    EXPECT_DOUBLE_EQ(r.fcu0, e.fcu0);
    EXPECT_DOUBLE_EQ(r.fce, e.fce);
    EXPECT_DOUBLE_EQ(r.gammaF, e.gammaF);
    EXPECT_DOUBLE_EQ(r.gammaS, e.gammaS);
    EXPECT_DOUBLE_EQ(r.fb, e.fb);
    EXPECT_DOUBLE_EQ(r.waterBinder, e.waterBinder);
    EXPECT_DOUBLE_EQ(r.water, e.water);
    EXPECT_DOUBLE_EQ(r.binder, e.binder);
    EXPECT_DOUBLE_EQ(r.cement, e.cement);
    EXPECT_DOUBLE_EQ(r.flyAsh, e.flyAsh);
    EXPECT_DOUBLE_EQ(r.slag, e.slag);
    EXPECT_DOUBLE_EQ(r.admixture, e.admixture);
    EXPECT_DOUBLE_EQ(r.sandRatio, e.sandRatio);
    EXPECT_DOUBLE_EQ(r.sand, e.sand);
    EXPECT_DOUBLE_EQ(r.stone, e.stone);
    EXPECT_DOUBLE_EQ(r.apparentDensity, e.apparentDensity);
    EXPECT_TRUE(r.notes.empty());
    EXPECT_TRUE(r.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(Jgj55, WorkedExample, ::testing::ValuesIn(kExamples),
                         namedBy([](const Example& e) { return std::string(e.name); }));

TEST(Jgj55Steps, EachStepRecordsItsFormulaValuesAndTable) {
    const Result r = designed(exampleB());
    const Step* wb = stepOf(r, "W/B");
    ASSERT_NE(wb, nullptr);
    EXPECT_EQ(wb->formula, "W/B = αa·fb / (fcu,0 + αa·αb·fb)");
    EXPECT_EQ(fill(wb->substituted, wb->operands.view(), shortestDecimal),
              "0.49 × 38.3 / (33.2 + 0.49 × 0.13 × 38.3)");
    EXPECT_EQ(wb->rounding, "0.01");
    const Step* sand = stepOf(r, "βs,表");
    ASSERT_NE(sand, nullptr);
    EXPECT_EQ(fill(sand->source, sand->sourceNumbers.view(), shortestDecimal),
              "表 5.4.2 混凝土的砂率，水胶比 0.5 行与 0.6 行之间线性插值，卵石 20 mm 列与 40 "
              "mm 列之间线性插值");
    EXPECT_DOUBLE_EQ(sand->value, 31.825);
    const Step* water = stepOf(r, "mw0′");
    ASSERT_NE(water, nullptr);
    EXPECT_EQ(water->origin, Origin::Table);
    EXPECT_EQ(fill(water->source, water->sourceNumbers.view(), shortestDecimal),
              "塑性混凝土的用水量表，坍落度 35～50 mm 行，卵石 31.5 mm 列");
}

// ---- Rounding on the decimal value ------------------------------------------

TEST(Jgj55Rounding, RoundsTheShortestDecimalHalfUp) {
    EXPECT_DOUBLE_EQ(roundHalfUp(38.225, 1), 38.2);
    EXPECT_DOUBLE_EQ(roundHalfUp(38.25, 1), 38.3);
    EXPECT_DOUBLE_EQ(roundHalfUp(0.925, 2), 0.93); // binary 0.92499999…
    EXPECT_DOUBLE_EQ(roundHalfUp(1.005, 2), 1.01); // binary 1.00499999…
    EXPECT_DOUBLE_EQ(roundHalfUp(756.45, 0), 756);
    EXPECT_DOUBLE_EQ(roundHalfUp(999.5, 0), 1000);
    EXPECT_DOUBLE_EQ(roundHalfUp(0.004, 2), 0);
    EXPECT_DOUBLE_EQ(roundHalfUp(0.005, 2), 0.01);
    EXPECT_DOUBLE_EQ(roundHalfUp(-2.5, 0), -3);
    EXPECT_DOUBLE_EQ(roundHalfUp(30 + 1.645 * 10, 1), 46.5); // 46.45, a tie
}

// ---- σ and fcu,0 at their boundaries ----------------------------------------

struct StrengthCase {
    double fcuk;
    double sigma;
    double fcu0;
};
class Strength : public ::testing::TestWithParam<StrengthCase> {};

TEST_P(Strength, TakesSigmaFromItsRowAndTheFormulaByClass) {
    Input in = exampleA();
    in.fcuk = GetParam().fcuk;
    in.sandRatio = 35;
    in.water = 190; // the strength takes W/B below the water tables
    if (GetParam().fcuk >= 60) {
        in.waterBinder = 0.30; // from C60 on, from trial mixes
    }
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.sigma, GetParam().sigma);
    EXPECT_DOUBLE_EQ(r.fcu0, GetParam().fcu0);
}

// 20 + 6.58 = 26.58; 25 + 8.225; 45 + 8.225 = 53.225; 50 + 9.87; 55 + 9.87 =
// 64.87; from 60 on 1.15 fcu,k.
INSTANTIATE_TEST_SUITE_P(Jgj55, Strength,
                         ::testing::Values(StrengthCase{20, 4.0, 26.6}, StrengthCase{25, 5.0, 33.2},
                                           StrengthCase{45, 5.0, 53.2}, StrengthCase{50, 6.0, 59.9},
                                           StrengthCase{55, 6.0, 64.9}, StrengthCase{60, 6.0, 69.0},
                                           StrengthCase{80, 6.0, 92.0}),
                         namedBy([](const StrengthCase& c) {
                             return "fcuk_" + std::to_string(int(c.fcuk));
                         }));

TEST(Jgj55Strength, AGivenSigmaReplacesTheTable) {
    Input in = exampleA();
    in.sigma = 10; // 30 + 16.45 = 46.45, a tie at 0.1
    EXPECT_DOUBLE_EQ(designed(in).fcu0, 46.5);
}

TEST(Jgj55Strength, CementGradeTakesItsCoefficient) {
    // 32.5 × 1.12 = 36.4; 42.5 × 1.16 = 49.3; 52.5 × 1.10 = 57.75 → 57.8.
    for (const auto& [grade, fce] :
         {std::pair{CementGrade::G32_5, 36.4}, std::pair{CementGrade::G42_5, 49.3},
          std::pair{CementGrade::G52_5, 57.8}}) {
        Input in = exampleA();
        in.cementGrade = grade;
        in.sandRatio = 35;
        in.water = 190;
        EXPECT_DOUBLE_EQ(designed(in).fce, fce);
    }
    Input given = exampleA();
    given.gammaC = 1.0;
    EXPECT_DOUBLE_EQ(designed(given).fce, 42.5);
}

// ---- Table 5.1.3 --------------------------------------------------------------

struct GammaCase {
    const char* name;
    double flyAsh;
    FlyAshGrade flyAshGrade;
    double slag;
    SlagGrade slagGrade;
    double gammaF;
    double gammaS;
};
class Gamma : public ::testing::TestWithParam<GammaCase> {};

TEST_P(Gamma, TakesTheBoundOfTheGradeBetweenRows) {
    const GammaCase& c = GetParam();
    Input in = exampleA();
    in.flyAsh = FlyAsh{.fraction = c.flyAsh, .grade = c.flyAshGrade};
    in.slag = Slag{.fraction = c.slag, .grade = c.slagGrade};
    in.sandRatio = 35; // a low binder strength leaves the sand table's ratios
    in.water = 190;    // and the water tables' (5.2.1)
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.gammaF, c.gammaF);
    EXPECT_DOUBLE_EQ(r.gammaS, c.gammaS);
}

using FA = FlyAshGrade;
using SG = SlagGrade;
INSTANTIATE_TEST_SUITE_P(
    Jgj55, Gamma,
    ::testing::Values(GammaCase{"rows0", 0.0, FA::III, 0.0, SG::S105, 1.00, 1.00},
                      GammaCase{"rows10_upper", 0.10, FA::I, 0.10, SG::S95, 0.95, 1.00},
                      GammaCase{"rows10_lower", 0.10, FA::III, 0.10, SG::S75, 0.85, 1.00},
                      GammaCase{"rows10_S105", 0.10, FA::II, 0.10, SG::S105, 0.95, 1.05},
                      GammaCase{"rows20_upper", 0.20, FA::II, 0.20, SG::S95, 0.85, 1.00},
                      GammaCase{"rows20_lower", 0.20, FA::III, 0.20, SG::S75, 0.75, 0.95},
                      GammaCase{"rows30_upper", 0.30, FA::I, 0.30, SG::S95, 0.75, 1.00},
                      GammaCase{"rows30_lower", 0.30, FA::III, 0.30, SG::S75, 0.65, 0.90},
                      GammaCase{"rows40_upper", 0.40, FA::II, 0.40, SG::S95, 0.65, 0.90},
                      GammaCase{"rows40_lower", 0.40, FA::III, 0.40, SG::S75, 0.55, 0.80},
                      GammaCase{"rows40_S105", 0.0, FA::II, 0.40, SG::S105, 1.00, 0.95},
                      GammaCase{"slag50_each", 0.0, FA::II, 0.50, SG::S75, 1.00, 0.70},
                      GammaCase{"slag50_upper", 0.0, FA::II, 0.50, SG::S95, 1.00, 0.85},
                      GammaCase{"slag50_S105", 0.0, FA::II, 0.50, SG::S105, 1.00, 0.90},
                      // Between rows: 15 % → halfway; 0.925 rounds up to 0.93.
                      GammaCase{"between15", 0.15, FA::II, 0.25, SG::S75, 0.90, 0.93},
                      GammaCase{"between35_lower", 0.35, FA::III, 0.45, SG::S95, 0.60, 0.88},
                      GammaCase{"between5_S105", 0.05, FA::III, 0.05, SG::S105, 0.93, 1.05},
                      GammaCase{"between12", 0.12, FA::II, 0.33, SG::S95, 0.93, 0.97}),
    namedBy([](const GammaCase& c) { return std::string(c.name); }));

TEST(Jgj55Gamma, DosageBeyondTheLastRowAsksForTheTestedCoefficient) {
    Input in = exampleA();
    in.sandRatio = 35;
    in.water = 190;
    in.flyAsh = FlyAsh{.fraction = 0.41};
    Outcome out = design(in);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.refusal.input, "flyAsh");
    EXPECT_NE(out.refusal.message.pattern.find("试验"), std::string::npos);
    in.flyAsh->gammaF = 0.6;
    EXPECT_DOUBLE_EQ(designed(in).gammaF, 0.6);

    in = exampleA();
    in.sandRatio = 35;
    in.water = 190;
    in.slag = Slag{.fraction = 0.51};
    out = design(in);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.refusal.input, "slag");
    in.slag->gammaS = 0.7;
    in.flyAsh.reset();
    EXPECT_DOUBLE_EQ(designed(in).gammaS, 0.7);
}

// ---- W/B and the durability limits -------------------------------------------

struct EnvironmentCase {
    Environment environment;
    double limit;
    double lowestClass;
};
class Durability : public ::testing::TestWithParam<EnvironmentCase> {};

TEST_P(Durability, CapsTheRatioAtTheLimitWithANote) {
    const EnvironmentCase& c = GetParam();
    Input above = ratioInput(c.limit + 0.01);
    above.environment = c.environment;
    above.sandRatio = 35;
    Result r = designed(above);
    EXPECT_FALSE(r.waterBinderComputed); // C60: no formula
    EXPECT_DOUBLE_EQ(r.waterBinder, c.limit);
    EXPECT_EQ(r.notes.size(), 1u);

    Input at = ratioInput(c.limit);
    at.environment = c.environment;
    r = designed(at);
    EXPECT_DOUBLE_EQ(r.waterBinder, c.limit);
    EXPECT_TRUE(r.notes.empty());
}

TEST_P(Durability, WarnsOfAStrengthClassBelowTheLowest) {
    const EnvironmentCase& c = GetParam();
    Input in = exampleA();
    in.environment = c.environment;
    in.sandRatio = 35;
    in.fcuk = c.lowestClass;
    EXPECT_TRUE(designed(in).warnings.empty());
    in.fcuk = c.lowestClass - 5;
    EXPECT_EQ(designed(in).warnings.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Jgj55, Durability,
                         ::testing::Values(EnvironmentCase{Environment::I, 0.60, 20},
                                           EnvironmentCase{Environment::IIa, 0.55, 25},
                                           EnvironmentCase{Environment::IIb, 0.50, 30},
                                           EnvironmentCase{Environment::IIIa, 0.45, 35},
                                           EnvironmentCase{Environment::IIIb, 0.40, 40}),
                         namedBy([](const EnvironmentCase& c) {
                             return "limit_" + std::to_string(int(c.limit * 100 + 0.5));
                         }));

// ---- Water tables --------------------------------------------------------------

struct WaterCase {
    Stone stone;
    double size;
    std::optional<double> slump;
    std::optional<double> vebe;
    double water; // mw0′
};
class Water : public ::testing::TestWithParam<WaterCase> {};

TEST_P(Water, ReadsTheCellOfTheConsistencyAndSize) {
    const WaterCase& c = GetParam();
    Input in = exampleA();
    in.admixture.reset();
    in.stone = c.stone;
    in.maxSize = c.size;
    in.slump = c.slump;
    in.vebe = c.vebe;
    in.sandRatio = 35; // the sand table has no 10 mm crushed or 16 mm gravel column
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.tableWater, c.water);
    EXPECT_DOUBLE_EQ(r.water, roundHalfUp(c.water, 0));
}

std::vector<WaterCase> waterCells() {
    std::vector<WaterCase> cases;
    const double gravelSizes[] = {10, 20, 31.5, 40};
    const double crushedSizes[] = {16, 20, 31.5, 40};
    // The upper slump of each row, and a slump just into the row.
    const double slumps[][2] = {{30, 10}, {50, 35}, {70, 55}, {90, 75}};
    const double gravel[4][4] = {
        {190, 170, 160, 150}, {200, 180, 170, 160}, {210, 190, 180, 170}, {215, 195, 185, 175}};
    const double crushed[4][4] = {
        {200, 185, 175, 165}, {210, 195, 185, 175}, {220, 205, 195, 185}, {230, 215, 205, 195}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            cases.push_back({Stone::Gravel, gravelSizes[c], slumps[r][c % 2], {}, gravel[r][c]});
            cases.push_back(
                {Stone::Crushed, crushedSizes[c], slumps[r][(c + 1) % 2], {}, crushed[r][c]});
        }
    }
    // A slump between rows belongs to the row above it: 32 mm to 35–50 mm.
    cases.push_back({Stone::Crushed, 20, 32, {}, 195});
    // Above 90 mm: 5 kg per 20 mm in proportion.
    cases.push_back({Stone::Crushed, 20, 91, {}, 215.25});
    cases.push_back({Stone::Crushed, 20, 180, {}, 237.5});
    cases.push_back({Stone::Gravel, 40, 100, {}, 177.5});
    // Dry-hard: rows 16–20, 11–15, 5–10 s.
    const double dryGravel[3][3] = {{175, 160, 145}, {180, 165, 150}, {185, 170, 155}};
    const double dryCrushed[3][3] = {{180, 170, 155}, {185, 175, 160}, {190, 180, 165}};
    const double gravelDry[] = {10, 20, 40};
    const double crushedDry[] = {16, 20, 40};
    const double vebes[][2] = {{20, 16}, {15, 11}, {10, 5}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            cases.push_back({Stone::Gravel, gravelDry[c], {}, vebes[r][c % 2], dryGravel[r][c]});
            cases.push_back({Stone::Crushed, crushedDry[c], std::optional<double>(5),
                             vebes[r][(c + 1) % 2], dryCrushed[r][c]});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Jgj55, Water, ::testing::ValuesIn(waterCells()),
                         namedBy([](const WaterCase& c) {
                             return std::string(c.stone == Stone::Gravel ? "gravel" : "crushed") +
                                    "_" + shortestDecimal(c.size) + "_" +
                                    (c.vebe ? "vebe_" + shortestDecimal(*c.vebe)
                                            : "slump_" + shortestDecimal(*c.slump));
                         }));

TEST(Jgj55Water, RefusesWhatTheTablesCannotAnswer) {
    struct Case {
        std::optional<double> slump;
        std::optional<double> vebe;
        double size;
        const char* input;
    };
    for (const Case& c :
         {Case{9, {}, 20, "slump"}, Case{{}, {}, 20, "slump"}, Case{50, {}, 15.9, "maxSize"},
          Case{50, {}, 41, "maxSize"}, Case{{}, 21, 20, "vebe"}, Case{{}, 4, 20, "vebe"},
          Case{{}, 10, 15.9, "maxSize"}, Case{{}, 10, 40.5, "maxSize"}}) {
        Input in = exampleA();
        in.slump = c.slump;
        in.vebe = c.vebe;
        in.maxSize = c.size;
        in.sandRatio = 35;
        const Outcome out = design(in);
        ASSERT_FALSE(out) << c.input;
        EXPECT_EQ(out.refusal.input, c.input);
    }
    Input given = exampleA();
    given.slump = 5;
    given.water = 180;
    given.sandRatio = 35;
    EXPECT_DOUBLE_EQ(designed(given).water, 144); // 180 × 0.8
}

// ---- Minimum binder content ----------------------------------------------------

struct MinimumCase {
    double wb;
    Structure structure;
    double binder;
};
class MinimumBinder : public ::testing::TestWithParam<MinimumCase> {};

TEST_P(MinimumBinder, RaisesTheBinderToTheRowOfTheRatioAndStructure) {
    const MinimumCase& c = GetParam();
    Input in = ratioInput(c.wb);
    in.water = 100; // far below any minimum
    in.structure = c.structure;
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.binder, c.binder);
    EXPECT_EQ(r.notes.size(), 1u);
    EXPECT_DOUBLE_EQ(r.cement, c.binder);
}

using St = Structure;
INSTANTIATE_TEST_SUITE_P(
    Jgj55, MinimumBinder,
    ::testing::Values(MinimumCase{0.40, St::Plain, 330}, MinimumCase{0.45, St::Prestressed, 330},
                      MinimumCase{0.46, St::Plain, 320}, MinimumCase{0.50, St::Reinforced, 320},
                      MinimumCase{0.51, St::Plain, 280}, MinimumCase{0.55, St::Plain, 280},
                      MinimumCase{0.55, St::Reinforced, 300},
                      MinimumCase{0.52, St::Prestressed, 300}, MinimumCase{0.56, St::Plain, 250},
                      MinimumCase{0.56, St::Reinforced, 280},
                      MinimumCase{0.70, St::Prestressed, 300}),
    namedBy([](const MinimumCase& c) {
        return "wb" + std::to_string(int(c.wb * 100 + 0.5)) + "_" +
               std::to_string(static_cast<int>(c.structure));
    }));

TEST(Jgj55MinimumBinder, KeepsABinderAboveTheMinimum) {
    Input in = ratioInput(0.50);
    in.water = 161; // 161 / 0.5 = 322 > 320
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.binder, 322);
    EXPECT_TRUE(r.notes.empty());
}

// ---- Table 5.4.2 ----------------------------------------------------------------

struct SandCase {
    Stone stone;
    double size;
    double wb;
    double middle; // the table's value before the slump and the rounding
};
class SandRatio : public ::testing::TestWithParam<SandCase> {};

TEST_P(SandRatio, TakesTheMiddleOfTheRangeBetweenRowsAndColumns) {
    const SandCase& c = GetParam();
    Input in = ratioInput(c.wb);
    in.stone = c.stone;
    in.maxSize = c.size;
    in.water = 150;
    const Result r = designed(in);
    const Step* table = stepOf(r, "βs,表");
    ASSERT_NE(table, nullptr);
    EXPECT_DOUBLE_EQ(table->value, c.middle);
    EXPECT_DOUBLE_EQ(r.sandRatio, roundHalfUp(c.middle, 0));
}

std::vector<SandCase> sandCells() {
    std::vector<SandCase> cases;
    const double ratios[] = {0.40, 0.50, 0.60, 0.70};
    const double gravel[4][3] = {
        {29, 28, 27}, {32.5, 31.5, 30.5}, {35.5, 34.5, 33.5}, {38.5, 37.5, 36.5}};
    const double crushed[4][3] = {
        {32.5, 31.5, 29.5}, {35.5, 34.5, 32.5}, {38.5, 37.5, 35.5}, {41.5, 40.5, 38.5}};
    const double gravelSizes[] = {10, 20, 40};
    const double crushedSizes[] = {16, 20, 40};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 3; ++c) {
            cases.push_back({Stone::Gravel, gravelSizes[c], ratios[r], gravel[r][c]});
            cases.push_back({Stone::Crushed, crushedSizes[c], ratios[r], crushed[r][c]});
        }
    }
    cases.push_back({Stone::Crushed, 20, 0.45, 33.0});    // between rows
    cases.push_back({Stone::Gravel, 10, 0.67, 37.6});     // 35.5 + 0.7 × 3
    cases.push_back({Stone::Crushed, 31.5, 0.50, 33.35}); // 34.5 × 8.5/20 + 32.5 × 11.5/20
    cases.push_back({Stone::Gravel, 31.5, 0.40, 27.425}); // 28 × 0.425 + 27 × 0.575
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Jgj55, SandRatio, ::testing::ValuesIn(sandCells()),
                         namedBy([](const SandCase& c) {
                             return std::string(c.stone == Stone::Gravel ? "gravel" : "crushed") +
                                    "_" + shortestDecimal(c.size) + "_wb" + shortestDecimal(c.wb);
                         }));

TEST(Jgj55SandRatio, ARatioOutsideTheTableNeedsAGivenSandRatio) {
    for (const double wb : {0.39, 0.71}) {
        Input in = ratioInput(wb);
        in.water = 150; // below 0.40 the water tables do not serve either
        const Outcome out = design(in);
        ASSERT_FALSE(out) << wb;
        EXPECT_EQ(out.refusal.input, "sandRatio");
        in.sandRatio = 36.5; // a given ratio is used as given
        EXPECT_DOUBLE_EQ(designed(in).sandRatio, 36.5);
    }
}

TEST(Jgj55SandRatio, RisesOnePercentPerTwentyMillimetresAboveSixty) {
    // Crushed 20 mm at 0.50: 34.5.
    const std::pair<double, double> cases[] = {{60, 35}, {70, 35}, {80, 36}, {90, 36}, {180, 41}};
    for (const auto& [slump, ratio] : cases) {
        Input in = ratioInput(0.50);
        in.slump = slump;
        EXPECT_DOUBLE_EQ(designed(in).sandRatio, ratio) << slump;
    }
}

TEST(Jgj55SandRatio, RisesInProportionBetweenTheTwentyMillimetreSteps) {
    // 70 mm raises the table's ratio by 0.5 %, 130 mm by 3.5 %, before the
    // rounding to 1 %: neither a whole step more nor a whole step less.
    struct Row {
        double wb, water, slump, ratio, sand, stone;
    };
    const Row rows[] = {
        // Crushed 20 mm at 0.45: 33.0; mb0 = 160 / 0.45 = 355.6 → 356; T = 1884.
        {0.45, 160, 70, 34, 641, 1243},  // 33.5 → 34; 0.34 × 1884 = 640.56
        {0.45, 160, 130, 37, 697, 1187}, // 36.5 → 37; 0.37 × 1884 = 697.08
        // At 0.50: 34.5; mb0 = 165 / 0.50 = 330; T = 1905.
        {0.50, 165, 70, 35, 667, 1238},  // 35.0; 0.35 × 1905 = 666.75
        {0.50, 165, 130, 38, 724, 1181}, // 38.0; 0.38 × 1905 = 723.9
    };
    for (const Row& row : rows) {
        Input in = ratioInput(row.wb);
        in.water = row.water;
        in.slump = row.slump;
        const Result r = designed(in);
        EXPECT_DOUBLE_EQ(r.sandRatio, row.ratio) << row.wb << " " << row.slump;
        EXPECT_DOUBLE_EQ(r.sand, row.sand) << row.wb << " " << row.slump;
        EXPECT_DOUBLE_EQ(r.stone, row.stone) << row.wb << " " << row.slump;
    }
}

// ---- Methods and the construction mix -------------------------------------------

TEST(Jgj55Methods, MassMethodFillsTheAssumedDensity) {
    Input in = exampleA();
    in.assumedDensity = 2450;
    const Result r = designed(in);
    // T = 2450 − 365 − 190 = 1895; ms0 = 0.41 × 1895 = 776.95 → 777; mg0 = 1118.
    EXPECT_DOUBLE_EQ(r.sand, 777);
    EXPECT_DOUBLE_EQ(r.stone, 1118);
    EXPECT_DOUBLE_EQ(r.apparentDensity, 2450);
}

TEST(Jgj55Methods, VolumeMethodUsesTheGivenDensitiesAndAir) {
    Input in = exampleB();
    in.air = 2;
    in.cementDensity = 3000;
    in.flyAsh->density = 2300;
    in.slag->density = 2800;
    in.sandDensity = 2600;
    in.stoneDensity = 2750;
    const Result r = designed(in);
    // V = 1 − 193/3000 − 32/2300 − 96/2800 − 0.17 − 0.02 = 0.697468…;
    // T = V / (0.32/2600 + 0.68/2750) = 1883.27…; ms0 = 602.65 → 603; mg0 = 1280.62 → 1281.
    EXPECT_DOUBLE_EQ(r.sand, 603);
    EXPECT_DOUBLE_EQ(r.stone, 1281);
}

TEST(Jgj55Methods, ConstructionMixCarriesTheAggregatesWater) {
    Input in = exampleA();
    in.sandMoisture = 3;
    in.stoneMoisture = 1;
    const Result r = designed(in);
    ASSERT_TRUE(r.construction);
    // 756 × 1.03, 1089 × 1.01, 190 − 22.68 − 10.89.
    EXPECT_NEAR(r.construction->sand, 778.68, 1e-9);
    EXPECT_NEAR(r.construction->stone, 1099.89, 1e-9);
    EXPECT_NEAR(r.construction->water, 156.43, 1e-9);
    EXPECT_DOUBLE_EQ(r.construction->cement, 292);
    EXPECT_DOUBLE_EQ(r.sand, 756); // the design itself stays dry

    in.stoneMoisture.reset(); // as on the classic sheet: both or none
    EXPECT_FALSE(designed(in).construction);
}

// ---- Refusals: never NaN, never a crash -------------------------------------------

TEST(Jgj55Refusals, RefusesWhatCannotBeDesignedNamingTheInput) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        const char* input;
        void (*spoil)(Input&, double, double);
    };
    const Case cases[] = {
        {"fcuk", [](Input& in, double, double) { in.fcuk.reset(); }},
        {"fcuk", [](Input& in, double n, double) { in.fcuk = n; }},
        {"fcuk", [](Input& in, double, double) { in.fcuk = -5; }},
        {"cementGrade", [](Input& in, double, double) { in.cementGrade.reset(); }},
        {"sigma", [](Input& in, double, double i) { in.sigma = i; }},
        {"flyAsh", [](Input& in, double, double) { in.flyAsh->fraction = -0.1; }},
        {"slag", [](Input& in, double, double) { in.slag = Slag{.fraction = 0.8}; }},
        {"admixture", [](Input& in, double, double) { in.admixture->waterReduction = 1; }},
        {"stone", [](Input& in, double, double) { in.stone.reset(); }},
        {"maxSize", [](Input& in, double n, double) { in.maxSize = n; }},
        {"assumedDensity", [](Input& in, double, double) { in.assumedDensity = 500; }},
        {"alphaA", [](Input& in, double, double) { in.alphaA = 0; }},
        {"water", [](Input& in, double, double i) { in.water = i; }},
        {"sandRatio", [](Input& in, double, double) { in.sandRatio = 100; }},
        {"air",
         [](Input& in, double, double) {
             in.method = Method::Volume;
             in.air = 95;
         }},
        {"cementDensity",
         [](Input& in, double, double) {
             in.method = Method::Volume;
             in.cementDensity = 0;
         }},
        {"sandMoisture",
         [](Input& in, double n, double) {
             in.sandMoisture = n;
             in.stoneMoisture = 1;
         }},
    };
    for (const Case& c : cases) {
        Input in = exampleA();
        c.spoil(in, nan, inf);
        const Outcome out = design(in);
        ASSERT_FALSE(out) << c.input;
        EXPECT_EQ(out.refusal.input, c.input);
        EXPECT_FALSE(out.refusal.message.pattern.empty());
    }
}

TEST(Jgj55Tables, PrintsEveryTableWithItsRows) {
    const std::vector<PrintedTable> tables = printedTables();
    ASSERT_EQ(tables.size(), 11u);
    // Table 5.1.3 lists the slag's six rows; the fly ash has none at 50 %.
    EXPECT_EQ(tables[2].rows.size(), 6u);
    EXPECT_EQ(tables[2].rows[5][1], "—");
    EXPECT_EQ(tables[2].rows[2][2], "0.95～1.00");
    // The sand table: four ratios by six columns.
    EXPECT_EQ(tables[8].rows.size(), 4u);
    EXPECT_EQ(tables[8].rows[3].back(), "36～41");
}

} // namespace
