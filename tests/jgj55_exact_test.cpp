// The JGJ 55-2011 design rounds the exact value of each formula half up: ties
// that binary arithmetic lands just below, worked by hand, and a property
// over random designs checked with integer arithmetic of its own.
#include "case_names.h"
#include "jgj55/design.h"
#include "jgj55/resultjson.h"
#include "jgj55/rounding.h"
#include "jgj55/tables.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

using calc::testing::namedBy;
using namespace jgj55;

const Step* firstStep(const Result& r, std::string_view symbol) {
    for (const Step& s : r.steps) {
        if (s.symbol == symbol) {
            return &s;
        }
    }
    return nullptr;
}

// ---- Ties through the calculation ----------------------------------------------

// The first design: C30, 42.5, crushed 20 mm, slump 180 mm, 2 % of
// an admixture saving 32 % of the water.
Input reducer(double waterReduction) {
    Input in;
    in.fcuk = 30;
    in.cementGrade = CementGrade::G42_5;
    in.stone = Stone::Crushed;
    in.maxSize = 20;
    in.slump = 180;
    in.admixture = Admixture{.fraction = 0.02, .waterReduction = waterReduction};
    return in;
}

// A design whose water-binder ratio is `wb` itself: a C60, whose ratio is
// given from trial mixes.
Input ratio(double wb, double water) {
    Input in;
    in.fcuk = 60;
    in.fce = 69;
    in.waterBinder = wb;
    in.stone = Stone::Crushed;
    in.maxSize = 20;
    in.slump = 50;
    in.water = water;
    return in;
}

struct TieCase {
    const char* name;
    std::function<Input()> input;
    const char* figure; // the key of the figure, as the result file names it
    double expected;
};

class Jgj55Tie : public ::testing::TestWithParam<TieCase> {};

TEST_P(Jgj55Tie, RoundsTheExactValueHalfUp) {
    const TieCase& c = GetParam();
    const Outcome out = design(c.input());
    ASSERT_TRUE(out) << plainText(out.refusal.message);
    EXPECT_EQ(figure(*out.result, c.figure), c.expected);
}

// By hand. Each tie is followed by a neighbour just below it, which must
// round down: one input a unit lower in its eighth or so decimal, or, where
// the step's operands are rounded figures themselves, the nearest quotient
// below a half they can make.
const TieCase kTies[] = {
    // mw0′ = 215 + 5 × (180 − 90) / 20 = 237.5; × (1 − 0.32) = 161.5 → 162.
    {"mw0_237_5_x_0_68", [] { return reducer(0.32); }, "water", 162},
    // 237.5 × 0.67999999 = 161.499997625 → 161.
    {"mw0_237_5_x_0_67999999", [] { return reducer(0.32000001); }, "water", 161},
    // Crushed 40 mm, slump 50: mw0′ = 175; × (1 − 0.30) = 122.5 → 123.
    {"mw0_175_x_0_70",
     [] {
         Input in = reducer(0.30);
         in.maxSize = 40;
         in.slump = 50;
         return in;
     },
     "water", 123},
    // 175 × 0.69999999 = 122.49999825 → 122.
    {"mw0_175_x_0_69999999",
     [] {
         Input in = reducer(0.30000001);
         in.maxSize = 40;
         in.slump = 50;
         return in;
     },
     "water", 122},
    // fcu,0 = 1.15 × 61 = 70.15 → 70.2; 1.15 × 60.99999 = 70.1499885 → 70.1.
    // (A given sand ratio: the strength takes W/B below table 5.4.2.)
    {"fcu0_1_15_x_61",
     [] {
         Input in = reducer(0.2);
         in.fcuk = 61;
         in.waterBinder = 0.45;
         in.sandRatio = 35;
         return in;
     },
     "fcu0", 70.2},
    {"fcu0_1_15_x_60_99999",
     [] {
         Input in = reducer(0.2);
         in.fcuk = 60.99999;
         in.waterBinder = 0.45;
         in.sandRatio = 35;
         return in;
     },
     "fcu0", 70.1},
    // fce = 1.18 × 52.5 = 61.95 → 62.0; 1.17999 × 52.5 = 61.949475 → 61.9.
    {"fce_1_18_x_52_5",
     [] {
         Input in = reducer(0.2);
         in.cementGrade = CementGrade::G52_5;
         in.gammaC = 1.18;
         in.sandRatio = 35;
         return in;
     },
     "fce", 62.0},
    {"fce_1_17999_x_52_5",
     [] {
         Input in = reducer(0.2);
         in.cementGrade = CementGrade::G52_5;
         in.gammaC = 1.17999;
         in.sandRatio = 35;
         return in;
     },
     "fce", 61.9},
    // mb0 = 175 / 0.56 = 312.5 → 313. Of whole kilograms over hundredths,
    // 217 / 0.69 = 314.4927… comes nearest a half from below → 314.
    {"mb0_175_over_0_56", [] { return ratio(0.56, 175); }, "binder", 313},
    {"mb0_217_over_0_69", [] { return ratio(0.69, 217); }, "binder", 314},
    // mb0 = 175 / 0.50 = 350; mf0 = 350 × 0.35 = 122.5 → 123, so mc0 = 227;
    // 350 × 0.34999999 = 122.4999965 → 122.
    {"mf0_350_x_0_35",
     [] {
         Input in = ratio(0.50, 175);
         in.flyAsh = FlyAsh{.fraction = 0.35, .gammaF = 1};
         return in;
     },
     "flyAsh", 123},
    {"mc0_after_mf0_tie",
     [] {
         Input in = ratio(0.50, 175);
         in.flyAsh = FlyAsh{.fraction = 0.35, .gammaF = 1};
         return in;
     },
     "cement", 227},
    {"mf0_350_x_0_34999999",
     [] {
         Input in = ratio(0.50, 175);
         in.flyAsh = FlyAsh{.fraction = 0.34999999, .gammaF = 1};
         return in;
     },
     "flyAsh", 122},
    // Crushed 31.5 mm at 0.50: 34.5 × 8.5/20 + 32.5 × 11.5/20 = 33.35 %;
    // slump 63: + 3/20 = 33.5 → 34; slump 62.99999: 33.4999995 → 33.
    {"sand_ratio_33_5",
     [] {
         Input in = ratio(0.50, 150);
         in.maxSize = 31.5;
         in.slump = 63;
         return in;
     },
     "sandRatio", 34},
    {"sand_ratio_33_4999995",
     [] {
         Input in = ratio(0.50, 150);
         in.maxSize = 31.5;
         in.slump = 62.99999;
         return in;
     },
     "sandRatio", 33},
    // Volume method: mb0 = 150 / 0.45 = 333.3 → 333, all cement;
    // V = 1 − 333/3150 − 150/1000 − 0.01 × 3 = 5/7; T = V × 2650 (sand and
    // stone alike); ms0 = 0.35 × 13250/7 = 662.5 → 663. With 3.000001 % of
    // air V is 10^-8 less: 662.5 − 0.35 × 2650 × 10^-8 → 662.
    {"volume_sand_662_5",
     [] {
         Input in = ratio(0.45, 150);
         in.method = Method::Volume;
         in.cementDensity = 3150;
         in.air = 3;
         in.sandRatio = 35;
         in.sandDensity = 2650;
         in.stoneDensity = 2650;
         return in;
     },
     "sand", 663},
    {"volume_sand_662_4999907",
     [] {
         Input in = ratio(0.45, 150);
         in.method = Method::Volume;
         in.cementDensity = 3150;
         in.air = 3.000001;
         in.sandRatio = 35;
         in.sandDensity = 2650;
         in.stoneDensity = 2650;
         return in;
     },
     "sand", 662},
};

INSTANTIATE_TEST_SUITE_P(Jgj55, Jgj55Tie, ::testing::ValuesIn(kTies),
                         namedBy([](const TieCase& c) { return std::string(c.name); }));

// What the report substitutes and the result file writes are the figures the
// design went on with: 162, then 162 / 0.60 = 270.
TEST(Jgj55Tie, TheStepsAndTheResultFileCarryTheRoundedTie) {
    const Outcome out = design(reducer(0.32));
    ASSERT_TRUE(out);
    const Step* water = firstStep(*out.result, "mw0");
    ASSERT_NE(water, nullptr);
    EXPECT_EQ(fill(water->substituted, water->operands.view(), shortestDecimal),
              "237.5 × (1 − 0.32)");
    EXPECT_EQ(water->value, 162);
    const Step* binder = firstStep(*out.result, "mb0");
    ASSERT_NE(binder, nullptr);
    EXPECT_EQ(fill(binder->substituted, binder->operands.view(), shortestDecimal), "162 / 0.6");
    EXPECT_EQ(binder->value, 270);
    const std::string json = resultJson(*out.result);
    EXPECT_NE(json.find("\"water\": 162,"), std::string::npos) << json;
}

// ---- Every rounded figure, by integer arithmetic -----------------------------------

// A decimal input: `units` of 10^-places, and its double as a design file
// holds it.
struct Scaled {
    std::int64_t units = 0;
    int places = 0;
    double value() const { return double(units) / std::pow(10.0, places); }
};

// GCC and Clang have it on 64-bit targets; -pedantic wants it named an extension.
__extension__ typedef __int128 Wide; // NOLINT(modernize-use-using)

Wide power10(int n) {
    Wide p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

// A figure of the design known to have `places` decimals, in those units.
std::int64_t unitsOf(double figure, int places) {
    return std::llround(figure * std::pow(10.0, places));
}

// num / den (both positive) rounded half up to a whole number; counts the
// exact ties it meets.
int gTies = 0;
std::int64_t halfUp(Wide num, Wide den) {
    if (2 * (num % den) == den) {
        ++gTies;
    }
    return static_cast<std::int64_t>((2 * num + den) / (2 * den));
}

// A random design with few decimals in every input, so that every figure
// has an exact value in 128-bit integers; ties come often (a water of
// x.5 kg, a reduction of whole percent).
struct RandomDesign {
    Input input;
    Scaled fcuk, sigma, gammaC, flyAsh, slag, admixture, reduction, water, alphaA, alphaB,
        sandRatio, air;
    std::int64_t densities[6] = {}; // ρc ρf ρk ρs ρg ρw
};

RandomDesign randomDesign(std::mt19937& random) {
    const auto pick = [&random](int from, int to) {
        return std::uniform_int_distribution<int>(from, to)(random);
    };
    const auto chance = [&](int percent) { return pick(1, 100) <= percent; };
    RandomDesign d;
    Input& in = d.input;
    d.fcuk = {pick(30, 160) * 5, 1}; // 15.0 … 80.0 by 0.5
    in.fcuk = d.fcuk.value();
    if (*in.fcuk >= 60) {
        in.waterBinder = pick(40, 60) / 100.0; // from trial mixes, not the formula
    }
    if (chance(30)) {
        d.sigma = {pick(20, 80), 1};
        in.sigma = d.sigma.value();
    }
    in.cementGrade = static_cast<CementGrade>(pick(0, 2));
    if (chance(40)) {
        d.gammaC = {pick(100, 125), 2};
        in.gammaC = d.gammaC.value();
    }
    // Whole percent, or now and then half-percent steps (12.5 %).
    d.flyAsh = chance(20) ? Scaled{pick(0, 80) * 5, 3} : Scaled{chance(60) ? pick(0, 40) : 0, 2};
    d.slag = {chance(50) ? pick(0, 50) : 0, 2};
    if (d.flyAsh.units != 0 || chance(30)) {
        in.flyAsh = FlyAsh{.fraction = d.flyAsh.value(), .grade = FlyAshGrade(pick(0, 2))};
    }
    if (d.slag.units != 0) {
        in.slag = Slag{.fraction = d.slag.value(), .grade = SlagGrade(pick(0, 2))};
    }
    d.admixture = {pick(0, 30), 3};
    d.reduction = {pick(0, 35), 2};
    if (chance(70)) {
        in.admixture =
            Admixture{.fraction = d.admixture.value(), .waterReduction = d.reduction.value()};
    }
    in.stone = chance(50) ? Stone::Crushed : Stone::Gravel;
    const double sizes[] = {10, 16, 20, 31.5, 40};
    in.maxSize = sizes[pick(0, 4)];
    in.slump = pick(10, 240);
    if (chance(40)) {
        d.water = {pick(2800, 4600) * 5, 2}; // 140.00 … 230.00 by 0.05
        in.water = d.water.value();
    }
    if (chance(30)) {
        d.alphaA = {pick(40, 60), 2};
        d.alphaB = {pick(5, 25), 2};
        in.alphaA = d.alphaA.value();
        in.alphaB = d.alphaB.value();
    }
    if (chance(25)) {
        d.sandRatio = {pick(250, 450), 1};
        in.sandRatio = d.sandRatio.value();
    }
    in.structure = Structure(pick(0, 2));
    if (chance(50)) {
        in.environment = Environment(pick(0, 4));
    }
    in.method = chance(50) ? Method::Mass : Method::Volume;
    in.assumedDensity = pick(2300, 2500);
    const int typical[6] = {3100, 2200, 2900, 2650, 2700, 1000};
    for (int k = 0; k < 6; ++k) {
        d.densities[k] = typical[k] + (k == 5 ? pick(-10, 10) : pick(-150, 150));
    }
    in.cementDensity = double(d.densities[0]);
    if (in.flyAsh) {
        in.flyAsh->density = double(d.densities[1]);
    }
    if (in.slag) {
        in.slag->density = double(d.densities[2]);
    }
    in.sandDensity = double(d.densities[3]);
    in.stoneDensity = double(d.densities[4]);
    in.waterDensity = double(d.densities[5]);
    d.air = {pick(0, 50), 1};
    in.air = d.air.value();
    return d;
}

// Checks every rounded figure of a finished design against the half-up
// rounding of its exact value, computed here from the inputs and the
// figures of the earlier steps.
void checkFigures(const RandomDesign& d, const Result& r) {
    const Input& in = d.input;
    // fcu,0 to 0.1 MPa, in units of 10^-4: fcu,k has one decimal, 1.645σ four.
    const Wide fcuk = d.fcuk.units * 1000;
    const Wide sigma = unitsOf(r.sigma, 1);
    const Wide fcu0 = *in.fcuk < 60 ? fcuk + 1645 * sigma : 115 * d.fcuk.units * 10;
    EXPECT_EQ(unitsOf(r.fcu0, 1), halfUp(fcu0, 1000)) << "fcu,0";
    if (!in.fce) {
        // fce = γc·fce,g to 0.1 MPa, in units of 10^-3.
        const Step* gammaStep = firstStep(r, "γc");
        ASSERT_NE(gammaStep, nullptr);
        const std::int64_t gammaC = unitsOf(gammaStep->value, 2);
        const std::int64_t grade[] = {325, 425, 525};
        EXPECT_EQ(unitsOf(r.fce, 1), halfUp(Wide(gammaC) * grade[int(*in.cementGrade)], 100))
            << "fce";
    }
    // γf and γs to 0.01 from table 5.1.3 at the dosage, by the grade's bound.
    const auto gamma = [](const auto& rows, std::int64_t fractionUnits, int places, bool upper,
                          int extra) {
        // percent = fraction × 100, in units of 10^-(places - 2)
        const Wide scale = power10(places - 2);
        const Wide percent = fractionUnits;
        std::size_t k = 0;
        while (k + 2 < rows.size() && percent > rows[k + 1].dosagePercent * scale) {
            ++k;
        }
        const auto value = [upper](const GammaRow& row) {
            return upper ? row.upperHundredth : row.lowerHundredth;
        };
        const Wide span = (rows[k + 1].dosagePercent - rows[k].dosagePercent) * scale;
        const Wide from = percent - rows[k].dosagePercent * scale;
        // hundredths × span
        Wide hundredths = value(rows[k]) * (span - from) + value(rows[k + 1]) * from;
        if (percent > 0) {
            hundredths += extra * span;
        }
        return halfUp(hundredths, span);
    };
    if (!(in.flyAsh && in.flyAsh->gammaF)) {
        const FlyAshGrade grade =
            in.flyAsh ? in.flyAsh->grade.value_or(FlyAshGrade::II) : FlyAshGrade::II;
        EXPECT_EQ(unitsOf(r.gammaF, 2),
                  gamma(kFlyAshRows, d.flyAsh.units, d.flyAsh.places, grade != FlyAshGrade::III, 0))
            << "γf";
    }
    const SlagGrade slagGrade = in.slag ? in.slag->grade.value_or(SlagGrade::S95) : SlagGrade::S95;
    EXPECT_EQ(unitsOf(r.gammaS, 2), gamma(kSlagRows, d.slag.units, 2, slagGrade != SlagGrade::S75,
                                          slagGrade == SlagGrade::S105 ? kS105ExtraHundredth : 0))
        << "γs";
    // fb = γf·γs·fce to 0.1 MPa, in units of 10^-5.
    const Wide fb = Wide(unitsOf(r.gammaF, 2)) * unitsOf(r.gammaS, 2) * unitsOf(r.fce, 1);
    EXPECT_EQ(unitsOf(r.fb, 1), halfUp(fb, 10000)) << "fb";
    // W/B = αa·fb / (fcu,0 + αa·αb·fb) to 0.01: with αa = A/100, αb = B/100,
    // fb = F/10, fcu,0 = C/10, W/B = 100·A·F / (10^4·C + A·B·F).
    const Wide a = unitsOf(r.alphaA, 2);
    const Wide b = unitsOf(r.alphaB, 2);
    const Wide f = unitsOf(r.fb, 1);
    const Wide c = unitsOf(r.fcu0, 1);
    ASSERT_EQ(r.waterBinderComputed.has_value(), *in.fcuk < 60);
    if (r.waterBinderComputed) {
        EXPECT_EQ(unitsOf(*r.waterBinderComputed, 2),
                  halfUp(100 * 100 * a * f, 10000 * c + a * b * f))
            << "W/B";
    }
    // mw0 = mw0′(1 − β) to 1 kg: mw0′ has at most two decimals (a given
    // water, or 5 kg per 20 mm of slump), β two.
    const Wide tableWater = unitsOf(r.tableWater, 2);
    const Wide beta = in.admixture ? d.reduction.units : 0;
    EXPECT_EQ(unitsOf(r.water, 0), halfUp(tableWater * (100 - beta), 10000)) << "mw0";
    // mb0 = mw0 / (W/B) to 1 kg, before the minimum.
    const Step* binderStep = firstStep(r, "mb0");
    ASSERT_NE(binderStep, nullptr);
    EXPECT_EQ(unitsOf(binderStep->value, 0),
              halfUp(Wide(unitsOf(r.water, 0)) * 100, unitsOf(r.waterBinder, 2)))
        << "mb0";
    // mf0, mk0 to 1 kg; ma0 to 0.01 kg; mc0 what is left.
    const Wide binder = unitsOf(r.binder, 0);
    EXPECT_EQ(unitsOf(r.flyAsh, 0),
              halfUp(binder * (in.flyAsh ? d.flyAsh.units : 0), power10(d.flyAsh.places)))
        << "mf0";
    EXPECT_EQ(unitsOf(r.slag, 0), halfUp(binder * d.slag.units, 100)) << "mk0";
    EXPECT_EQ(unitsOf(r.admixture, 2), halfUp(binder * (in.admixture ? d.admixture.units : 0), 10))
        << "ma0";
    EXPECT_EQ(r.cement, r.binder - r.flyAsh - r.slag) << "mc0";
    // βs to 1 %: the table's middle (a multiple of 1/4000 %) plus 1 % per
    // 20 mm of slump above 60.
    if (!in.sandRatio) {
        const Step* table = firstStep(r, "βs,表");
        ASSERT_NE(table, nullptr);
        const Wide middle = unitsOf(table->value * 4, 3); // in 1/4000 %
        const Wide raise = *in.slump > 60 ? (Wide(*in.slump) - 60) * 200 : 0;
        EXPECT_EQ(unitsOf(r.sandRatio, 0), halfUp(middle + raise, 4000)) << "βs";
    }
    const Wide ratio10 = in.sandRatio ? d.sandRatio.units : unitsOf(r.sandRatio, 0) * 10;
    const Wide water = unitsOf(r.water, 0);
    if (r.method == Method::Mass) {
        // ms0 = βs·T to 1 kg, T = mcp − mb0 − mw0.
        const Wide total = Wide(*in.assumedDensity) - binder - water;
        EXPECT_EQ(unitsOf(r.sand, 0), halfUp(ratio10 * total, 1000)) << "ms0 (mass)";
        EXPECT_EQ(r.stone, double(total) - r.sand) << "mg0 (mass)";
        return;
    }
    // V·L = L − mc0·L/ρc − mf0·L/ρf − mk0·L/ρk − mw0·L/ρw − α·L/100 with
    // L = 1000·ρc·ρf·ρk·ρw (α has one decimal); T = V / P with
    // P·1000·ρs·ρg = βs10·ρg + (1000 − βs10)·ρs; ms0 = βs·T, mg0 = (1 − βs)·T.
    const std::int64_t* rho = d.densities;
    const Wide cement = unitsOf(r.cement, 0);
    const Wide flyAsh = unitsOf(r.flyAsh, 0);
    const Wide slag = unitsOf(r.slag, 0);
    const Wide rf = in.flyAsh ? rho[1] : static_cast<std::int64_t>(kDefaultFlyAshDensity);
    const Wide rk = in.slag ? rho[2] : static_cast<std::int64_t>(kDefaultSlagDensity);
    const Wide product = Wide(rho[0]) * rf * rk * rho[5];
    const Wide l = 1000 * product;
    const Wide volume = l -
                        1000 * (cement * (product / rho[0]) + flyAsh * (product / rf) +
                                slag * (product / rk) + water * (product / rho[5])) -
                        d.air.units * product;
    const Wide perCubic = ratio10 * rho[4] + (1000 - ratio10) * rho[3];
    const Wide sandNum = ratio10 * volume * rho[3] * rho[4];
    const Wide stoneNum = (1000 - ratio10) * volume * rho[3] * rho[4];
    EXPECT_EQ(unitsOf(r.sand, 0), halfUp(sandNum, l * perCubic)) << "ms0 (volume)";
    EXPECT_EQ(unitsOf(r.stone, 0), halfUp(stoneNum, l * perCubic)) << "mg0 (volume)";
}

TEST(Jgj55Exact, EveryRoundedFigureIsTheHalfUpOfItsExactValue) {
    std::mt19937 random(32);
    int designed = 0;
    gTies = 0;
    for (int i = 0; i < 4000; ++i) {
        const RandomDesign d = randomDesign(random);
        const Outcome out = design(d.input);
        if (!out) {
            continue;
        }
        ++designed;
        SCOPED_TRACE("design " + std::to_string(i));
        checkFigures(d, *out.result);
        if (HasFailure()) {
            break;
        }
    }
    // Most designs are designable, and ties are met often enough to matter.
    EXPECT_GT(designed, 1500);
    EXPECT_GT(gTies, 200);
}

} // namespace
