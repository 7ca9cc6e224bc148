// The tables of a JGJ 55-2011 mix design, each once, as data: the design
// (jgj55/design.h) reads its values from here, and the guide and the window
// print them from here, so that the table a reader sees is the table the
// program used.
//
// Values are kept as small integers in their table's own unit (hundredths of
// a coefficient, kilograms, percent) so that interpolation between rows is
// exact arithmetic on integers and a tie of the half-up rounding is a tie.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace jgj55 {

enum class Stone { Crushed, Gravel };
enum class CementGrade { G32_5, G42_5, G52_5 };
// The common portland cements by their codes: P·I, P·II, P·O, P·S·A, P·S·B,
// P·P, P·F, P·C.
enum class CementType { PI, PII, PO, PSA, PSB, PP, PF, PC };
enum class FlyAshGrade { I, II, III };
enum class SlagGrade { S75, S95, S105 };
enum class Structure { Plain, Reinforced, Prestressed };
enum class Environment { I, IIa, IIb, IIIa, IIIb };
enum class Method { Mass, Volume };

// The table names as the report and the guide print them. The standard's
// number is given where the table is known by it.
inline constexpr std::string_view kSigmaTable = "标准差 σ 取值表";
inline constexpr std::string_view kGammaCTable = "水泥强度等级值的富余系数 γc 表";
inline constexpr std::string_view kGammaTable =
    "表 5.1.3 粉煤灰影响系数 γf 和粒化高炉矿渣粉影响系数 γs";
inline constexpr std::string_view kAlphaTable = "回归系数 αa、αb 取值表";
inline constexpr std::string_view kDurabilityTable = "按环境类别的最大水胶比与最低强度等级";
inline constexpr std::string_view kPlasticWaterTable = "塑性混凝土的用水量表";
inline constexpr std::string_view kDryWaterTable = "干硬性混凝土的用水量表";
inline constexpr std::string_view kMinimumBinderTable = "混凝土的最小胶凝材料用量表";
inline constexpr std::string_view kSandRatioTable = "表 5.4.2 混凝土的砂率";
inline constexpr std::string_view kReinforcedAdmixtureTable =
    "表 3.0.5-1 钢筋混凝土中矿物掺合料最大掺量";
inline constexpr std::string_view kPrestressedAdmixtureTable =
    "表 3.0.5-2 预应力混凝土中矿物掺合料最大掺量";

// σ by the characteristic strength: the first row whose bound fcu,k does not
// exceed; above the last bound, kSigmaAbove.
struct SigmaRow {
    int fcukUpTo;   // MPa
    int sigmaTenth; // σ in 0.1 MPa
};
inline constexpr std::array<SigmaRow, 2> kSigmaRows{{{20, 40}, {45, 50}}};
inline constexpr int kSigmaAboveTenth = 60;
// fcu,0 = fcu,k + 1.645σ below this strength class, 1.15·fcu,k from it on;
// from it on, too, the water-binder ratio is found by trial mixes, not by the
// formula.
inline constexpr int kHighStrengthFrom = 60;

// The lowest σ a design takes from strength records (4.0.2): for fcu,k up to
// the first bound, and above it below the high strengths.
struct SigmaFloor {
    int fcukUpTo;
    int sigmaTenth;
};
inline constexpr std::array<SigmaFloor, 2> kSigmaFloors{{{30, 30}, {kHighStrengthFrom, 40}}};

// γc by the cement's strength grade (hundredths), with the grade's strength
// fce,g in 0.1 MPa.
struct GammaCRow {
    CementGrade grade;
    int fcegTenth;
    int gammaHundredth;
};
inline constexpr std::array<GammaCRow, 3> kGammaCRows{{
    {CementGrade::G32_5, 325, 112},
    {CementGrade::G42_5, 425, 116},
    {CementGrade::G52_5, 525, 110},
}};

// Table 5.1.3: a coefficient's range at a dosage (percent of the binder).
struct GammaRow {
    int dosagePercent;
    int lowerHundredth;
    int upperHundredth;
};
inline constexpr std::array<GammaRow, 5> kFlyAshRows{{
    {0, 100, 100},
    {10, 85, 95},
    {20, 75, 85},
    {30, 65, 75},
    {40, 55, 65},
}};
inline constexpr std::array<GammaRow, 6> kSlagRows{{
    {0, 100, 100},
    {10, 100, 100},
    {20, 95, 100},
    {30, 90, 100},
    {40, 80, 90},
    {50, 70, 85},
}};
// S105 slag takes the upper bound and this much more, at any dosage above 0.
inline constexpr int kS105ExtraHundredth = 5;

// Tables 3.0.5-1 and 3.0.5-2: the largest share of a mineral admixture in the
// binder (percent) by structure, admixture and water-binder ratio, for
// portland cement (P·I, P·II) and ordinary portland cement (P·O).
enum class Mineral { FlyAsh, Slag, Combined };
struct AdmixtureLimitRow {
    Structure structure;
    Mineral mineral;
    // At a ratio up to kAdmixtureRatioBound and above it; each the column of
    // P·I/P·II, then of P·O.
    std::array<int, 2> upTo;
    std::array<int, 2> above;
};
inline constexpr int kAdmixtureRatioBoundHundredth = 40;
inline constexpr std::array<AdmixtureLimitRow, 6> kAdmixtureLimits{{
    {Structure::Reinforced, Mineral::FlyAsh, {45, 35}, {40, 30}},
    {Structure::Reinforced, Mineral::Slag, {65, 55}, {55, 45}},
    {Structure::Reinforced, Mineral::Combined, {65, 55}, {55, 45}},
    {Structure::Prestressed, Mineral::FlyAsh, {35, 30}, {25, 20}},
    {Structure::Prestressed, Mineral::Slag, {55, 45}, {45, 35}},
    {Structure::Prestressed, Mineral::Combined, {55, 45}, {45, 35}},
}};
// Of another common cement, the part of its mixed material above this
// share counts as mineral admixture (3.0.5, note 1).
inline constexpr int kCementMixedMaterialPercent = 20;

// 7.3.2: the usual ranges of a high-strength mix, by strength class (from
// fcukFrom; the last row is open above). Each range is (lower, upper).
struct HighStrengthRow {
    int fcukFrom;
    std::array<int, 2> waterBinderHundredth;
    std::array<int, 2> binder; // kg/m³
};
inline constexpr std::array<HighStrengthRow, 3> kHighStrengthRows{{
    {60, {28, 34}, {480, 560}},
    {80, {26, 28}, {520, 580}},
    {100, {24, 26}, {550, 600}},
}};
inline constexpr std::array<int, 2> kHighStrengthSandRatio{35, 42}; // %
inline constexpr int kHighStrengthMaxCement = 500;                  // kg/m³
inline constexpr std::array<int, 2> kHighStrengthMineral{25, 40};   // % of binder

// The water tables serve water-binder ratios within this range (5.2.1).
inline constexpr std::array<int, 2> kWaterTableRatioHundredth{40, 80};

// Binder minimums are not applied up to this strength class (3.0.4).
inline constexpr int kMinimumBinderFromAbove = 15;

// The regression coefficients of the water-binder formula by stone.
struct AlphaRow {
    Stone stone;
    int alphaAHundredth;
    int alphaBHundredth;
};
inline constexpr std::array<AlphaRow, 2> kAlphaRows{{
    {Stone::Crushed, 53, 20},
    {Stone::Gravel, 49, 13},
}};

// The largest water-binder ratio and the lowest strength class allowed in
// each environment class.
struct DurabilityRow {
    Environment environment;
    std::string_view name;
    int maxWaterBinderHundredth;
    int minimumClass; // C20 → 20
};
inline constexpr std::array<DurabilityRow, 5> kDurabilityRows{{
    {Environment::I, "一", 60, 20},
    {Environment::IIa, "二a", 55, 25},
    {Environment::IIb, "二b", 50, 30},
    {Environment::IIIa, "三a", 45, 35},
    {Environment::IIIb, "三b", 40, 40},
}};

// A water table: one row per consistency band, one column per maximum size
// (in 0.1 mm, so that 31.5 mm is a whole number), in kg/m³.
struct WaterRow {
    int from; // slump in mm, or Vebe time in s
    int to;
    std::array<int, 4> water;
};
struct WaterTable {
    Stone stone;
    int columns;                    // how many of the four sizes are used
    std::array<int, 4> sizeTenthMm; // the columns' maximum sizes
    std::array<WaterRow, 4> rows;   // plastic: 4 rows; dry-hard: 3
    int rowCount;
};
inline constexpr std::array<WaterTable, 2> kPlasticWater{{
    {Stone::Gravel,
     4,
     {100, 200, 315, 400},
     {{{10, 30, {190, 170, 160, 150}},
       {35, 50, {200, 180, 170, 160}},
       {55, 70, {210, 190, 180, 170}},
       {75, 90, {215, 195, 185, 175}}}},
     4},
    {Stone::Crushed,
     4,
     {160, 200, 315, 400},
     {{{10, 30, {200, 185, 175, 165}},
       {35, 50, {210, 195, 185, 175}},
       {55, 70, {220, 205, 195, 185}},
       {75, 90, {230, 215, 205, 195}}}},
     4},
}};
// Above the last slump row the water rises by this much per kSlumpStep mm.
inline constexpr int kWaterPerSlumpStep = 5;
inline constexpr int kSlumpStep = 20;
inline constexpr int kLowestSlump = 10;

inline constexpr std::array<WaterTable, 2> kDryWater{{
    {Stone::Gravel,
     3,
     {100, 200, 400, 0},
     {{{16, 20, {175, 160, 145, 0}},
       {11, 15, {180, 165, 150, 0}},
       {5, 10, {185, 170, 155, 0}},
       {0, 0, {0, 0, 0, 0}}}},
     3},
    {Stone::Crushed,
     3,
     {160, 200, 400, 0},
     {{{16, 20, {180, 170, 155, 0}},
       {11, 15, {185, 175, 160, 0}},
       {5, 10, {190, 180, 165, 0}},
       {0, 0, {0, 0, 0, 0}}}},
     3},
}};

// The minimum binder content by water-binder ratio (the first row whose bound
// the ratio does not exceed; the last row has none) and structure (plain,
// reinforced, prestressed), kg/m³.
struct MinimumBinderRow {
    int waterBinderUpToHundredth; // 0 for the last row
    std::array<int, 3> binder;
};
inline constexpr std::array<MinimumBinderRow, 4> kMinimumBinderRows{{
    {45, {330, 330, 330}},
    {50, {320, 320, 320}},
    {55, {280, 300, 300}},
    {0, {250, 280, 300}},
}};

// Table 5.4.2: the sand ratio's range (percent) by water-binder ratio (rows)
// and stone size (columns, 0.1 mm). The design takes the middle of a range.
struct SandRatioCell {
    int lower;
    int upper;
};
struct SandRatioTable {
    Stone stone;
    std::array<int, 3> sizeTenthMm;
    std::array<int, 4> waterBinderHundredth;
    std::array<std::array<SandRatioCell, 3>, 4> cells;
};
inline constexpr std::array<SandRatioTable, 2> kSandRatio{{
    {Stone::Gravel,
     {100, 200, 400},
     {40, 50, 60, 70},
     {{{{{26, 32}, {25, 31}, {24, 30}}},
       {{{30, 35}, {29, 34}, {28, 33}}},
       {{{33, 38}, {32, 37}, {31, 36}}},
       {{{36, 41}, {35, 40}, {34, 39}}}}}},
    {Stone::Crushed,
     {160, 200, 400},
     {40, 50, 60, 70},
     {{{{{30, 35}, {29, 34}, {27, 32}}},
       {{{33, 38}, {32, 37}, {30, 35}}},
       {{{36, 41}, {35, 40}, {33, 38}}},
       {{{39, 44}, {38, 43}, {36, 41}}}}}},
}};
// A slump above this raises the table's sand ratio by 1 % per kSlumpStep mm.
inline constexpr int kSandRatioSlumpFrom = 60;

// Defaults where an input is absent (kg/m³; air content in %).
inline constexpr double kDefaultAssumedDensity = 2400.0;
inline constexpr double kDefaultCementDensity = 3100.0;
inline constexpr double kDefaultFlyAshDensity = 2200.0;
inline constexpr double kDefaultSlagDensity = 2900.0;
inline constexpr double kDefaultSandDensity = 2650.0;
inline constexpr double kDefaultStoneDensity = 2700.0;
inline constexpr double kDefaultWaterDensity = 1000.0;
inline constexpr double kDefaultAir = 1.0;

// A table laid out for printing: a title, a header row and body rows of
// texts, numbers written with "." (the guide's and the window's writers put
// in the regional symbol where they need it).
struct PrintedTable {
    std::string title;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// Every table above, in the order of the design's steps.
std::vector<PrintedTable> printedTables();

// The names of the enumerations as the design file and the report spell them.
std::string_view stoneName(Stone stone);         // 碎石 / 卵石
std::string_view cementGradeName(CementGrade g); // 32.5 / 42.5 / 52.5
std::string_view cementTypeName(CementType t);   // P·I / P·O / ...
std::string_view mineralName(Mineral m); // 粉煤灰 / 粒化高炉矿渣粉 / 复合掺合料
std::string_view flyAshGradeName(FlyAshGrade g); // I / II / III
std::string_view slagGradeName(SlagGrade g);     // S75 / S95 / S105
std::string_view structureName(Structure s); // 素混凝土 / 钢筋混凝土 / 预应力混凝土
std::string_view environmentName(Environment e); // 一 / 二a / ...
std::string_view methodName(Method m);           // 质量法 / 体积法

} // namespace jgj55
