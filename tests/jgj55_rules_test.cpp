// The JGJ 55-2011 rules that decide whether a table or a formula may be used
// at all, each at its boundary: sizes between and beyond the tables'
// columns, the mineral-admixture limits of 3.0.5, the binder minimum's
// exemption (3.0.4), the W/B route from C60 on, the water tables' range of
// W/B (5.2.1), the dry-hard sand ratio (5.4.2) and the σ floors (4.0.2).
#include "case_names.h"
#include "jgj55/design.h"
#include "jgj55/designfile.h"
#include "jgj55/resultjson.h"
#include "jgj55/rounding.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using calc::testing::namedBy;
using namespace jgj55;

const Step* lastStep(const Result& r, std::string_view symbol) {
    const Step* found = nullptr;
    for (const Step& s : r.steps) {
        if (s.symbol == symbol) {
            found = &s;
        }
    }
    return found;
}

Result designed(const Input& in) {
    const Outcome out = jgj55::design(in);
    EXPECT_TRUE(out) << plainText(out.refusal.message);
    return out.result.value_or(Result{});
}

bool anyHas(const std::vector<Message>& messages, std::string_view text) {
    for (const Message& m : messages) {
        if (plainText(m).find(text) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// C30, P·O 42.5, crushed 20 mm, slump 50 mm, reinforced, mass method.
Input base() {
    Input in;
    in.fcuk = 30;
    in.cementGrade = CementGrade::G42_5;
    in.stone = Stone::Crushed;
    in.maxSize = 20;
    in.slump = 50;
    return in;
}

// ---- Sizes between the tables' columns ----------------------------------------

struct SizeCase {
    const char* name;
    Stone stone;
    double size;
    std::optional<double> slump;
    std::optional<double> vebe;
    double tableWater; // mw0′
    std::optional<double> sandMiddle;
    const char* columns; // the columns the source names
};
class BetweenColumns : public ::testing::TestWithParam<SizeCase> {};

TEST_P(BetweenColumns, TakesTheStraightLineBetweenTheTwoColumns) {
    const SizeCase& c = GetParam();
    Input in = base();
    in.stone = c.stone;
    in.maxSize = c.size;
    in.slump = c.slump;
    in.vebe = c.vebe;
    in.waterBinder = 0.50;
    if (c.vebe) {
        in.sandRatio = 35; // dry-hard: from trials
    }
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.tableWater, c.tableWater);
    const Step* water = lastStep(r, "mw0′");
    ASSERT_NE(water, nullptr);
    EXPECT_NE(fill(water->source, water->sourceNumbers.view(), shortestDecimal).find(c.columns),
              std::string::npos)
        << water->source;
    if (c.sandMiddle) {
        const Step* sand = lastStep(r, "βs,表");
        ASSERT_NE(sand, nullptr);
        EXPECT_DOUBLE_EQ(sand->value, *c.sandMiddle);
        const bool between = std::string_view(c.columns).find("插值") != std::string_view::npos;
        EXPECT_EQ(fill(sand->source, sand->sourceNumbers.view(), shortestDecimal)
                          .find("列之间线性插值") != std::string::npos,
                  between);
    }
}

// By hand, at W/B 0.50. Plastic, 35–50 mm: gravel 20 → 180, 31.5 → 170, so
// 25 mm gives 180 − 10 × 5 / 11.5 = 4040 / 23; crushed 195 → 185, 4385 / 23.
// Dry-hard, 5–10 s: gravel 20 → 170, 40 → 155, a quarter of the way: 166.25;
// crushed 180 → 165: 176.25. Sand ratio at 0.50: gravel 20 mm 31.5, 40 mm
// 30.5 → 31.25; crushed 34.5, 32.5 → 34.0. Crushed 18 mm, between 16 (210)
// and 20 (195) mm: 210 − 15 / 2 = 202.5, sand 35.5 → 34.5 halfway: 35.0.
INSTANTIATE_TEST_SUITE_P(
    Jgj55, BetweenColumns,
    ::testing::Values(
        SizeCase{"gravel_25_plastic",
                 Stone::Gravel,
                 25,
                 50,
                 {},
                 4040.0 / 23,
                 31.25,
                 "卵石 20 mm 列与 31.5 mm 列之间线性插值"},
        SizeCase{"crushed_25_plastic",
                 Stone::Crushed,
                 25,
                 50,
                 {},
                 4385.0 / 23,
                 34.0,
                 "碎石 20 mm 列与 31.5 mm 列之间线性插值"},
        SizeCase{"gravel_25_dry",
                 Stone::Gravel,
                 25,
                 {},
                 10,
                 166.25,
                 {},
                 "卵石 20 mm 列与 40 mm 列之间线性插值"},
        SizeCase{"crushed_25_dry",
                 Stone::Crushed,
                 25,
                 {},
                 10,
                 176.25,
                 {},
                 "碎石 20 mm 列与 40 mm 列之间线性插值"},
        SizeCase{"crushed_18_plastic",
                 Stone::Crushed,
                 18,
                 50,
                 {},
                 202.5,
                 35.0,
                 "碎石 16 mm 列与 20 mm 列之间线性插值"},
        SizeCase{"gravel_40_plastic", Stone::Gravel, 40, 50, {}, 160, 30.5, "卵石 40 mm 列"}),
    namedBy([](const SizeCase& c) { return std::string(c.name); }));

TEST(Jgj55Sizes, BeyondTheFirstOrLastColumnIsRefusedNamingTheRange) {
    struct Case {
        Stone stone;
        double size;
        std::optional<double> vebe;
        std::optional<double> sandRatio;
        const char* range;
    };
    const Case cases[] = {
        {Stone::Gravel, 9.5, {}, {}, "卵石 10～40 mm"},
        {Stone::Gravel, 41, {}, {}, "卵石 10～40 mm"},
        {Stone::Crushed, 41, {}, {}, "碎石 16～40 mm"},
        {Stone::Gravel, 9.5, 10, 35, "卵石 10～40 mm"},
        // The water given, the sand table still has its own range.
        {Stone::Crushed, 15, {}, {}, "碎石 16～40 mm"},
    };
    for (const Case& c : cases) {
        Input in = base();
        in.stone = c.stone;
        in.maxSize = c.size;
        in.waterBinder = 0.50;
        if (c.vebe) {
            in.slump.reset();
            in.vebe = c.vebe;
            in.sandRatio = c.sandRatio;
        }
        const Outcome out = jgj55::design(in);
        ASSERT_FALSE(out) << c.size;
        EXPECT_EQ(out.refusal.input, "maxSize");
        EXPECT_NE(plainText(out.refusal.message).find(c.range), std::string::npos)
            << plainText(out.refusal.message);
    }
    // With the water given, 15 mm crushed is refused by the sand table alone;
    // with the sand ratio given too, it designs.
    Input in = base();
    in.maxSize = 15;
    in.water = 190;
    Outcome out = jgj55::design(in);
    ASSERT_FALSE(out);
    EXPECT_NE(plainText(out.refusal.message).find("表 5.4.2"), std::string::npos);
    in.sandRatio = 35;
    EXPECT_TRUE(jgj55::design(in));
}

// ---- Mineral admixture limits (3.0.5) ----------------------------------------

struct LimitCase {
    const char* name;
    Structure structure;
    CementType cement;
    double wb;
    double flyAsh;
    double slag;
    int warnings;
    const char* text; // in the warning, or in a note for other cements
};
class MineralLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(MineralLimit, WarnsAboveTheRowOfTheStructureCementAndRatio) {
    const LimitCase& c = GetParam();
    Input in = base();
    in.structure = c.structure;
    in.cementType = c.cement;
    in.waterBinder = c.wb;
    in.water = 190;
    in.sandRatio = 35;
    // Coefficients from trials: dosages beyond table 5.1.3 are not refused.
    in.flyAsh = FlyAsh{.fraction = c.flyAsh, .gammaF = 0.6};
    in.slag = Slag{.fraction = c.slag, .gammaS = 0.8};
    const Result r = designed(in);
    EXPECT_EQ(static_cast<int>(r.warnings.size()), c.warnings)
        << (r.warnings.empty() ? "" : plainText(r.warnings.front()));
    if (c.text[0] != '\0') {
        EXPECT_TRUE(anyHas(r.warnings, c.text) || anyHas(r.notes, c.text)) << c.text;
    }
    // Each names the field a form marks.
    for (const Message& m : r.warnings) {
        EXPECT_EQ(m.input, plainText(m).starts_with("粒化") ? "slag" : "flyAsh") << plainText(m);
    }
}

using S = Structure;
using C = CementType;
INSTANTIATE_TEST_SUITE_P(
    Jgj55, MineralLimit,
    ::testing::Values(
        // Reinforced, fly ash: ≤ 0.40 45 / 35, > 0.40 40 / 30.
        LimitCase{"rc_fa_PI_040_at", S::Reinforced, C::PI, 0.40, 0.45, 0, 0, ""},
        LimitCase{
            "rc_fa_PI_040_over", S::Reinforced, C::PI, 0.40, 0.46, 0, 1,
            "粉煤灰掺量 46% 超过表 3.0.5-1 钢筋混凝土中矿物掺合料最大掺量的粉煤灰、水胶比 ≤ 0.40 "
            "行、硅酸盐水泥列的最大掺量 45%"},
        LimitCase{"rc_fa_PO_040_at", S::Reinforced, C::PO, 0.40, 0.35, 0, 0, ""},
        LimitCase{"rc_fa_PO_040_over", S::Reinforced, C::PO, 0.40, 0.36, 0, 1, "最大掺量 35%"},
        LimitCase{"rc_fa_PII_041_at", S::Reinforced, C::PII, 0.41, 0.40, 0, 0, ""},
        LimitCase{"rc_fa_PII_041_over", S::Reinforced, C::PII, 0.41, 0.41, 0, 1,
                  "水胶比 > 0.40 行、硅酸盐水泥列的最大掺量 40%"},
        LimitCase{"rc_fa_PO_041_over", S::Reinforced, C::PO, 0.41, 0.31, 0, 1, "最大掺量 30%"},
        // Reinforced, slag: 65 / 55, 55 / 45.
        LimitCase{"rc_sl_PI_040_over", S::Reinforced, C::PI, 0.40, 0, 0.66, 1, "最大掺量 65%"},
        LimitCase{"rc_sl_PO_040_at", S::Reinforced, C::PO, 0.40, 0, 0.55, 0, ""},
        LimitCase{"rc_sl_PI_041_over", S::Reinforced, C::PI, 0.41, 0, 0.56, 1, "最大掺量 55%"},
        LimitCase{"rc_sl_PO_041_over", S::Reinforced, C::PO, 0.41, 0, 0.46, 1, "最大掺量 45%"},
        // Together: each its own row, the sum the combined row (55 / 45 for P·O).
        LimitCase{"rc_both_PO_040_at", S::Reinforced, C::PO, 0.40, 0.30, 0.25, 0, ""},
        LimitCase{"rc_both_PO_040_sum", S::Reinforced, C::PO, 0.40, 0.30, 0.26, 1,
                  "复合掺合料掺量 56% 超过"},
        LimitCase{"rc_both_PI_041_sum", S::Reinforced, C::PI, 0.41, 0.30, 0.26, 1,
                  "复合掺合料掺量 56%"},
        LimitCase{"rc_both_PO_041_all", S::Reinforced, C::PO, 0.41, 0.31, 0.46, 3, ""},
        // Prestressed: fly ash 35 / 30, 25 / 20; slag 55 / 45, 45 / 35;
        // together 55 / 45, 45 / 35.
        LimitCase{"ps_fa_PI_040_over", S::Prestressed, C::PI, 0.40, 0.36, 0, 1,
                  "表 3.0.5-2 预应力混凝土中矿物掺合料最大掺量"},
        LimitCase{"ps_fa_PO_040_at", S::Prestressed, C::PO, 0.40, 0.30, 0, 0, ""},
        LimitCase{"ps_fa_PI_041_over", S::Prestressed, C::PI, 0.41, 0.26, 0, 1, "最大掺量 25%"},
        LimitCase{"ps_fa_PO_041_at", S::Prestressed, C::PO, 0.41, 0.20, 0, 0, ""},
        LimitCase{"ps_fa_PO_041_over", S::Prestressed, C::PO, 0.41, 0.21, 0, 1, "最大掺量 20%"},
        LimitCase{"ps_sl_PO_040_over", S::Prestressed, C::PO, 0.40, 0, 0.46, 1, "最大掺量 45%"},
        LimitCase{"ps_sl_PI_041_at", S::Prestressed, C::PI, 0.41, 0, 0.45, 0, ""},
        LimitCase{"ps_sl_PO_041_over", S::Prestressed, C::PO, 0.41, 0, 0.36, 1, "最大掺量 35%"},
        LimitCase{"ps_both_PI_040_sum", S::Prestressed, C::PI, 0.40, 0.30, 0.26, 1,
                  "复合掺合料掺量 56%"},
        LimitCase{"ps_both_PO_041_at", S::Prestressed, C::PO, 0.41, 0.15, 0.20, 0, ""},
        LimitCase{"ps_both_PO_041_sum", S::Prestressed, C::PO, 0.41, 0.15, 0.21, 1,
                  "复合掺合料掺量 36%"},
        // Plain concrete: no limit; another cement: no check, and the note.
        LimitCase{"plain_no_check", S::Plain, C::PO, 0.41, 0.45, 0.10, 0, ""},
        LimitCase{"other_cement_note", S::Reinforced, C::PSA, 0.41, 0.45, 0, 0,
                  "水泥品种 P·S·A 不在表 3.0.5 之列"}),
    namedBy([](const LimitCase& c) { return std::string(c.name); }));

// ---- The binder minimum of 3.0.4 ----------------------------------------------

TEST(Jgj55Rules, TheBinderMinimumIsNotAppliedUpToC15) {
    for (const auto& [fcuk, binder] : {std::pair{15.0, 167.0}, std::pair{20.0, 280.0}}) {
        Input in = base();
        in.fcuk = fcuk;
        in.waterBinder = 0.60;
        in.water = 100; // 100 / 0.60 = 166.7 → 167, below the 280 of 钢筋混凝土
        in.sandRatio = 35;
        const Result r = designed(in);
        EXPECT_DOUBLE_EQ(r.binder, binder) << fcuk;
        EXPECT_EQ(anyHas(r.notes, "第 3.0.4 条"), fcuk == 15.0) << fcuk;
    }
}

// ---- The W/B route: the formula below C60, trials from C60 on -----------------

TEST(Jgj55Rules, FromC60OnTheRatioMustBeGiven) {
    Input in = base();
    in.fcuk = 55;
    in.water = 180;
    in.sandRatio = 38;
    Result r = designed(in);
    ASSERT_TRUE(r.waterBinderComputed);
    EXPECT_DOUBLE_EQ(r.waterBinder, *r.waterBinderComputed);

    in.fcuk = 60;
    const Outcome out = jgj55::design(in);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.refusal.input, "waterBinder");
    EXPECT_EQ(plainText(out.refusal.message),
              "C60 及以上的高强混凝土，水胶比应经试配确定（JGJ 55-2011 第 7.3 节），请给出水胶比");

    in.waterBinder = 0.31;
    r = designed(in);
    EXPECT_FALSE(r.waterBinderComputed);
    EXPECT_DOUBLE_EQ(r.waterBinder, 0.31);
    EXPECT_NE(resultJson(r).find("\"waterBinderComputed\": null"), std::string::npos);

    // A given ratio needs no cement strength: none given, none computed.
    in.cementGrade.reset();
    in.fcuk = 30;
    r = designed(in);
    EXPECT_FALSE(r.waterBinderComputed);
    EXPECT_FALSE(figure(r, "fb"));
    EXPECT_DOUBLE_EQ(r.binder, 581); // 180 / 0.31 = 580.6
}

TEST(Jgj55Rules, AGivenRatioBelowC60IsUsedWithTheFormulasBesideIt) {
    // The formula: 0.53 × 49.3 / (38.2 + 0.53 × 0.20 × 49.3) = 0.6017 → 0.60.
    Input in = base();
    in.waterBinder = 0.48;
    in.environment = Environment::IIb; // 0.50: does not cap 0.48
    const Result r = designed(in);
    EXPECT_DOUBLE_EQ(r.waterBinder, 0.48);
    ASSERT_TRUE(r.waterBinderComputed);
    EXPECT_DOUBLE_EQ(*r.waterBinderComputed, 0.60);
    EXPECT_TRUE(r.notes.empty());
    EXPECT_TRUE(anyHas(r.checks, "W/B 0.48 ≤ 0.50（二b） 满足"));

    in.waterBinder = 0.52; // capped at 0.50 with its note
    const Result capped = designed(in);
    EXPECT_DOUBLE_EQ(capped.waterBinder, 0.50);
    EXPECT_TRUE(anyHas(capped.notes, "给定水胶比 0.52 大于环境类别二b的最大水胶比 0.50，取 0.50"));
}

struct HighCase {
    const char* name;
    double fcuk;
    double wb;
    double water; // mw0′, no reducer
    double sandRatio;
    double flyAsh;
    std::vector<const char*> warned; // the ranges left
};
class HighStrength : public ::testing::TestWithParam<HighCase> {};

TEST_P(HighStrength, WarnsOfEachRangeOf732Left) {
    const HighCase& c = GetParam();
    Input in = base();
    in.fcuk = c.fcuk;
    in.cementGrade = CementGrade::G52_5;
    in.waterBinder = c.wb;
    in.water = c.water;
    in.sandRatio = c.sandRatio;
    in.flyAsh = FlyAsh{.fraction = c.flyAsh};
    const Result r = designed(in);
    ASSERT_EQ(r.warnings.size(), c.warned.size())
        << (r.warnings.empty() ? "" : plainText(r.warnings.front()));
    for (const char* text : c.warned) {
        EXPECT_TRUE(anyHas(r.warnings, text)) << text;
    }
    // The five ranges: each left is warned of, each met is a check.
    int met = 0;
    for (const Message& m : r.checks) {
        met += plainText(m).find("第 7.3.2 条") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(met + static_cast<int>(c.warned.size()), 5);
}

// mb0 = water / W/B: 150 / 0.30 = 500; 150 / 0.27 = 555.6 → 556; 150 / 0.25 = 600.
INSTANTIATE_TEST_SUITE_P(
    Jgj55, HighStrength,
    ::testing::Values(
        HighCase{"c60_inside", 60, 0.30, 150, 38, 0.30, {}},
        HighCase{"c60_wb_0_35",
                 60,
                 0.35,
                 175,
                 38,
                 0.30,
                 {"水胶比 0.35 不在高强混凝土宜取的 0.28～0.34"}},
        // 150 / 0.30 = 500 of binder, 30 % fly ash: 350 of cement.
        HighCase{"c60_binder_cement_sand_admixture",
                 60,
                 0.28,
                 160, // 571 of binder, 20 % fly ash: 457 of cement
                 43,
                 0.20,
                 {"胶凝材料用量 571 kg/m³ 不在高强混凝土宜取的 480～560 kg/m³", "砂率 43% 不在",
                  "矿物掺合料掺量 20% 不在高强混凝土宜取的 25%～40%"}},
        HighCase{"c60_cement_above_500",
                 60,
                 0.30,
                 165,
                 38,
                 0.00, // 550, all cement
                 {"水泥用量 550 kg/m³ 大于高强混凝土宜取的 500 kg/m³", "矿物掺合料掺量 0% 不在"}},
        HighCase{"c80_inside", 80, 0.27, 150, 38, 0.30, {}},
        HighCase{"c80_wb_0_29",
                 80,
                 0.29,
                 160,
                 38,
                 0.30,
                 {"水胶比 0.29 不在高强混凝土宜取的 0.26～0.28"}},
        HighCase{"c100_inside", 100, 0.25, 145, 38, 0.30, {}},
        HighCase{"c100_binder_620",
                 100,
                 0.25,
                 155,
                 38,
                 0.30,
                 {"胶凝材料用量 620 kg/m³ 不在高强混凝土宜取的 550～600 kg/m³"}}),
    namedBy([](const HighCase& c) { return std::string(c.name); }));

// ---- Water tables only between W/B 0.40 and 0.80 (5.2.1) ----------------------

TEST(Jgj55Rules, TheWaterTablesServeRatiosFrom040To080) {
    struct Case {
        double wb;
        const char* refusal; // empty: the table serves it
    };
    const Case cases[] = {
        {0.39, "水胶比 0.39 小于 0.40，用水量应经试验确定，请给出用水量 mw0′"},
        {0.40, ""},
        {0.80, ""},
        {0.81, "水胶比 0.81 大于 0.80，用水量应经试验确定，请给出用水量 mw0′"},
    };
    for (const Case& c : cases) {
        Input in = base();
        in.waterBinder = c.wb;
        in.sandRatio = 35; // 0.80 is beyond table 5.4.2
        in.structure = Structure::Plain;
        const Outcome out = jgj55::design(in);
        if (c.refusal[0] == '\0') {
            EXPECT_TRUE(out) << c.wb << plainText(out.refusal.message);
            continue;
        }
        ASSERT_FALSE(out) << c.wb;
        EXPECT_EQ(out.refusal.input, "water");
        EXPECT_EQ(plainText(out.refusal.message), c.refusal);
        in.water = 180; // the water from trials
        EXPECT_TRUE(jgj55::design(in)) << c.wb;
    }
}

// ---- Dry-hard mixes take their sand ratio from trials (5.4.2) ------------------

TEST(Jgj55Rules, ADryHardMixNeedsAGivenSandRatio) {
    for (const std::optional<double> slump : {std::optional<double>(), std::optional<double>(5)}) {
        Input in = base();
        in.slump = slump;
        in.vebe = 10;
        const Outcome out = jgj55::design(in);
        ASSERT_FALSE(out);
        EXPECT_EQ(out.refusal.input, "sandRatio");
        EXPECT_NE(plainText(out.refusal.message).find("第 5.4.2 条"), std::string::npos);
        in.sandRatio = 30;
        EXPECT_DOUBLE_EQ(designed(in).sandRatio, 30);
    }
}

// ---- σ floors (4.0.2) -----------------------------------------------------------

TEST(Jgj55Rules, AGivenSigmaIsRaisedToItsFloor) {
    struct Case {
        double fcuk;
        double sigma;
        double used;
        double fcu0;
        bool note;
    };
    // 30 + 1.645 × 3.0 = 34.935 → 34.9; 35 + 1.645 × 4.0 = 41.58 → 41.6.
    const Case cases[] = {
        {30, 2.9, 3.0, 34.9, true},  {30, 3.0, 3.0, 34.9, false},  {35, 3.9, 4.0, 41.6, true},
        {35, 4.0, 4.0, 41.6, false}, {30.5, 3.9, 4.0, 37.1, true}, // above C30 the 4.0 floor: 30.5
                                                                   // + 6.58
    };
    for (const Case& c : cases) {
        Input in = base();
        in.fcuk = c.fcuk;
        in.sigma = c.sigma;
        const Result r = designed(in);
        EXPECT_DOUBLE_EQ(r.sigma, c.used) << c.fcuk << " " << c.sigma;
        EXPECT_DOUBLE_EQ(r.fcu0, c.fcu0) << c.fcuk << " " << c.sigma;
        EXPECT_EQ(anyHas(r.notes, "第 4.0.2 条"), c.note) << c.fcuk << " " << c.sigma;
        if (c.note) {
            EXPECT_EQ(r.notes.front().input, "sigma");
        }
    }
}

// ---- Messages write their figures at the report's precision ---------------------

TEST(Jgj55Rules, TheVolumeMethodsRefusalWritesTheVolumeToTheLitre) {
    // W/B 0.60, mw0 195, mb0 325: V = 1 − 325/3100 − 0.195 − 0.80 = −0.09984 → −0.100.
    Input in = base();
    in.method = Method::Volume;
    in.air = 80;
    const Outcome out = jgj55::design(in);
    ASSERT_FALSE(out);
    EXPECT_EQ(plainText(out.refusal.message),
              "胶凝材料、水与空气已占满 1 m³，砂石的体积为 -0.100 m³");
}

// ---- The design file's new keys --------------------------------------------------

TEST(Jgj55Rules, TheFileKeepsTheCementTypeAndTheGivenRatio) {
    Input in = base();
    in.cementType = CementType::PSB;
    in.waterBinder = 0.42;
    const std::string bytes = serialize(in);
    EXPECT_NE(bytes.find(R"("cementType": "P·S·B")"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find(R"("waterBinder": 0.42)"), std::string::npos) << bytes;
    const ReadResult back = read(bytes);
    ASSERT_TRUE(back) << back.error;
    EXPECT_EQ(*back.input, in);

    const ReadResult wrong = read(R"({"lanshi-design": 1, "standard": "JGJ 55-2011",
        "jgj55-2011": {"cementType": "PO"}})");
    ASSERT_FALSE(wrong);
    EXPECT_NE(wrong.error.find("\"P·O\""), std::string::npos) << wrong.error;
}

} // namespace
