// The strength evaluation to GB/T 50107-2010: the group value rule, the size
// factors, each method's coefficients at their boundaries, the floors of the
// standard deviations, the conditions judged on exact decimals, and worked
// examples computed by hand.
#include "case_names.h"
#include "gbt50107/evaluation.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace gbt50107;

Input withValues(double fcuk, const std::vector<double>& values) {
    Input in;
    in.fcuk = fcuk;
    for (const double v : values) {
        in.groups.push_back(Group::ofValue(v));
    }
    return in;
}

// `n` group values around 40 MPa: 38.0, 39.0, …, 42.0, 38.0, …
std::vector<double> around40(int n) {
    std::vector<double> values;
    for (int i = 0; i < n; ++i) {
        values.push_back(38.0 + i % 5);
    }
    return values;
}

Evaluation evaluated(const Input& in) {
    const Outcome out = evaluate(in);
    EXPECT_TRUE(out) << (out.faults.empty() ? "" : out.faults.front().message);
    return out ? *out.evaluation : Evaluation{};
}

std::vector<std::string> texts(const Evaluation& e) {
    std::vector<std::string> out;
    for (const Condition& c : e.conditions) {
        out.push_back(conditionText(e, c, calc::NumberFormat{}));
    }
    return out;
}

// --- Worked examples -------------------------------------------------------

// Statistical, σ unknown, C30, ten groups, 合格.
//   Group 1: 33.1, 34.5, 33.2 → mean 100.8 / 3 = 33.6.
//   Group 3: 40.0, 41.5, 48.0 → 48.0 − 41.5 = 6.5 > 0.15 × 41.5 = 6.225,
//            41.5 − 40.0 = 1.5 ≤ 6.225 → the middle one, 41.5.
//   The values: 33.6 37.6 41.5 30.6 36.1 36.9 38.7 35.0 39.1 34.8
//   Σ = 363.9, Σ² = 13328.69, n = 10 → mfcu = 36.39 → 36.4
//   Sfcu = √[(13328.69 − 363.9² / 10) / 9] = √(863.69 / 90) = √9.59656 = 3.0978 → 3.10
//   λ1 = 1.15, λ2 = 0.90 (10 groups)
//   36.4 − 1.15 × 3.10 = 36.4 − 3.565 = 32.835 → 32.8 ≥ 30
//   fcu,min = 30.6 ≥ 0.90 × 30 = 27.0 → 合格
TEST(Gbt50107Example, StatisticalTenGroupsPasses) {
    Input in = withValues(30, {0, 37.6, 0, 30.6, 36.1, 36.9, 38.7, 35.0, 39.1, 34.8});
    in.groups[0] = Group::ofSpecimens(33.1, 34.5, 33.2);
    in.groups[2] = Group::ofSpecimens(40.0, 41.5, 48.0);
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.method, Method::Statistical);
    EXPECT_TRUE(e.chosen);
    EXPECT_EQ(e.groups[0].rule, GroupRule::Mean);
    EXPECT_EQ(e.groups[0].value, 33.6);
    EXPECT_EQ(e.groups[2].rule, GroupRule::Middle);
    EXPECT_TRUE(e.groups[2].highDiffers);
    EXPECT_FALSE(e.groups[2].lowDiffers);
    EXPECT_EQ(e.groups[2].value, 41.5);
    EXPECT_EQ(e.n, 10);
    EXPECT_EQ(e.sum, 363.9);
    EXPECT_EQ(e.sumOfSquares, 13328.69);
    EXPECT_EQ(e.mean, 36.4);
    EXPECT_EQ(e.min, 30.6);
    EXPECT_EQ(e.sd, 3.1);
    EXPECT_EQ(e.sdUsed, 3.1);
    EXPECT_EQ(e.lambda1, 1.15);
    EXPECT_EQ(e.lambda2, 0.9);
    EXPECT_FALSE(e.lambda3);
    EXPECT_FALSE(e.lambda4);
    EXPECT_EQ(texts(e), (std::vector<std::string>{
                            "mfcu − λ1·Sfcu = 36.4 − 1.15 × 3.10 = 32.8 ≥ fcu,k = 30 满足",
                            "fcu,min = 30.6 ≥ λ2·fcu,k = 0.90 × 30 = 27.0 满足"}));
    EXPECT_TRUE(e.passed);
    EXPECT_EQ(verdict(e), "合格");
    EXPECT_FALSE(e.designSigma);
}

// Statistical, C30, sixteen groups of which one is left out, 不合格.
//   Group 16: 30.0, 36.0, 42.0 → both differ by 6.0 > 0.15 × 36.0 = 5.4: left out.
//   The fifteen values: 35.2 33.8 36.9 31.4 34.6 37.3 25.2 33.0 35.7 36.1
//                       32.5 34.4 38.0 33.9 35.5
//   Σ = 513.5, Σ² = 17712.31, n = 15 → mfcu = 34.233 → 34.2
//   Sfcu = √[(17712.31 − 513.5² / 15) / 14] = √9.53524 = 3.0879 → 3.09
//   λ1 = 1.05, λ2 = 0.85 (15 groups)
//   34.2 − 1.05 × 3.09 = 34.2 − 3.2445 = 30.9555 → 31.0 ≥ 30 满足
//   fcu,min = 25.2 < 0.85 × 30 = 25.5 不满足 → 不合格
TEST(Gbt50107Example, StatisticalWithALeftOutGroupFails) {
    Input in = withValues(30, {35.2, 33.8, 36.9, 31.4, 34.6, 37.3, 25.2, 33.0, 35.7, 36.1, 32.5,
                               34.4, 38.0, 33.9, 35.5});
    in.groups.push_back(Group::ofSpecimens(30.0, 36.0, 42.0));
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.groups[15].rule, GroupRule::LeftOut);
    EXPECT_EQ(e.n, 15);
    EXPECT_EQ(e.mean, 34.2);
    EXPECT_EQ(e.sd, 3.09);
    EXPECT_EQ(e.lambda1, 1.05);
    EXPECT_EQ(e.lambda2, 0.85);
    EXPECT_EQ(texts(e), (std::vector<std::string>{
                            "mfcu − λ1·Sfcu = 34.2 − 1.05 × 3.09 = 31.0 ≥ fcu,k = 30 满足",
                            "fcu,min = 25.2 < λ2·fcu,k = 0.85 × 30 = 25.5 不满足"}));
    EXPECT_FALSE(e.passed);
    EXPECT_EQ(verdict(e), "不合格（不满足 fcu,min ≥ λ2·fcu,k）");
}

// Known σ0, C25, σ0 = 3.50, three groups, 不合格.
//   28.1 27.0 27.2: Σ = 82.3 → mfcu = 27.433 → 27.4; fcu,min = 27.0
//   mfcu = 27.4 < 25 + 0.7 × 3.50 = 27.45 不满足
//   fcu,min = 27.0 ≥ 25 − 0.7 × 3.50 = 22.55 满足
//   fcu,min = 27.0 ≥ 0.90 × 25 = 22.5 满足 (above C20) → 不合格
TEST(Gbt50107Example, KnownSigmaThreeGroupsFailsOnTheMean) {
    Input in = withValues(25, {28.1, 27.0, 27.2});
    in.sigma0 = 3.5;
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.method, Method::KnownSigma);
    EXPECT_EQ(e.sigmaOrigin, SigmaOrigin::Given);
    EXPECT_EQ(e.mean, 27.4);
    EXPECT_EQ(texts(e), (std::vector<std::string>{
                            "mfcu = 27.4 < fcu,k + 0.7σ0 = 25 + 0.7 × 3.50 = 27.45 不满足",
                            "fcu,min = 27.0 ≥ fcu,k − 0.7σ0 = 25 − 0.7 × 3.50 = 22.55 满足",
                            "fcu,min = 27.0 ≥ 0.90fcu,k = 0.90 × 25 = 22.5 满足"}));
    EXPECT_FALSE(e.lambda1 || e.lambda2 || e.lambda3 || e.lambda4);
    EXPECT_EQ(verdict(e), "不合格（不满足 mfcu ≥ fcu,k + 0.7σ0）");
}

// Non-statistical, C25, 100 mm cubes (× 0.95), four groups, 合格.
//   31.2 32.0 30.9 → 94.1 / 3 = 31.367 → 31.4 → × 0.95 = 29.83  → 29.8
//   29.5 30.1 30.6 → 90.2 / 3 = 30.067 → 30.1 → × 0.95 = 28.595 → 28.6
//   33.0 28.0 32.4 → 32.4 − 28.0 = 4.4 ≤ 4.86: 93.4 / 3 = 31.133 → 31.1 → 29.545 → 29.5
//   31.0 given     → × 0.95 = 29.45 → 29.5 (the decimal, not the double below it)
//   Σ = 117.4 → mfcu = 29.35 → 29.4 ≥ 1.15 × 25 = 28.75 满足
//   fcu,min = 28.6 ≥ 0.95 × 25 = 23.75 满足 → 合格
TEST(Gbt50107Example, NonStatistical100mmCubesPass) {
    Input in;
    in.fcuk = 25;
    in.specimenSize = SpecimenSize::Cube100;
    in.groups = {Group::ofSpecimens(31.2, 32.0, 30.9), Group::ofSpecimens(29.5, 30.1, 30.6),
                 Group::ofSpecimens(33.0, 28.0, 32.4), Group::ofValue(31.0)};
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.method, Method::NonStatistical);
    EXPECT_EQ(e.sizeFactor, 0.95);
    std::vector<double> tested;
    std::vector<double> values;
    for (const GroupValue& g : e.groups) {
        tested.push_back(g.tested);
        values.push_back(g.value);
    }
    EXPECT_EQ(tested, (std::vector<double>{31.4, 30.1, 31.1, 31.0}));
    EXPECT_EQ(values, (std::vector<double>{29.8, 28.6, 29.5, 29.5}));
    EXPECT_EQ(e.mean, 29.4);
    EXPECT_EQ(e.min, 28.6);
    EXPECT_EQ(texts(e),
              (std::vector<std::string>{"mfcu = 29.4 ≥ λ3·fcu,k = 1.15 × 25 = 28.75 满足",
                                        "fcu,min = 28.6 ≥ λ4·fcu,k = 0.95 × 25 = 23.75 满足"}));
    EXPECT_EQ(verdict(e), "合格");
}

// --- Boundaries --------------------------------------------------------------

struct LambdaRow {
    int groups;
    Method method;
    std::optional<double> lambda1, lambda2, lambda3, lambda4;
};

class Gbt50107Lambda : public ::testing::TestWithParam<LambdaRow> {};

TEST_P(Gbt50107Lambda, FollowsTheNumberOfGroups) {
    const LambdaRow& row = GetParam();
    const Evaluation e = evaluated(withValues(30, around40(row.groups)));
    EXPECT_EQ(e.method, row.method);
    EXPECT_EQ(e.lambda1, row.lambda1);
    EXPECT_EQ(e.lambda2, row.lambda2);
    EXPECT_EQ(e.lambda3, row.lambda3);
    EXPECT_EQ(e.lambda4, row.lambda4);
    // The conditions use them.
    ASSERT_EQ(e.conditions.size(), 2u);
    EXPECT_EQ(e.conditions[0].coefficient, row.lambda1 ? *row.lambda1 : *row.lambda3);
    EXPECT_EQ(e.conditions[1].coefficient, row.lambda2 ? *row.lambda2 : *row.lambda4);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, Gbt50107Lambda,
                         ::testing::Values(LambdaRow{9, Method::NonStatistical, {}, {}, 1.15, 0.95},
                                           LambdaRow{10, Method::Statistical, 1.15, 0.90, {}, {}},
                                           LambdaRow{14, Method::Statistical, 1.15, 0.90, {}, {}},
                                           LambdaRow{15, Method::Statistical, 1.05, 0.85, {}, {}},
                                           LambdaRow{19, Method::Statistical, 1.05, 0.85, {}, {}},
                                           LambdaRow{20, Method::Statistical, 0.95, 0.85, {}, {}}),
                         calc::testing::namedBy([](const LambdaRow& r) {
                             return std::to_string(r.groups) + " groups";
                         }));

TEST(Gbt50107, Lambda3IsLowerFromC60) {
    Evaluation e = evaluated(withValues(55, {66.0, 67.0, 68.0}));
    EXPECT_EQ(e.lambda3, 1.15);
    EXPECT_EQ(e.conditions[0].right, 63.25); // 1.15 × 55
    e = evaluated(withValues(60, {66.0, 67.0, 68.0}));
    EXPECT_EQ(e.lambda3, 1.10);
    EXPECT_EQ(e.conditions[0].right, 66.0); // 1.10 × 60
    EXPECT_EQ(e.lambda4, 0.95);
}

// The limits are judged as computed: 25 + 0.7 × 3.46 = 27.422, which mfcu =
// 27.4 does not reach, though the limit would round to 27.4.
TEST(Gbt50107, LimitsAreNotRounded) {
    Input in = withValues(25, {27.4, 28.0, 26.8});
    in.sigma0 = 3.46;
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.mean, 27.4);
    EXPECT_EQ(e.conditions[0].right, 27.422);
    EXPECT_FALSE(e.conditions[0].holds);
    EXPECT_EQ(conditionText(e, e.conditions[0], {}),
              "mfcu = 27.4 < fcu,k + 0.7σ0 = 25 + 0.7 × 3.46 = 27.422 不满足");
}

struct GroupRow {
    const char* name;
    double a, b, c;
    GroupRule rule;
    double tested; // unused for LeftOut
};

class Gbt50107GroupValue : public ::testing::TestWithParam<GroupRow> {};

TEST_P(Gbt50107GroupValue, FollowsTheFifteenPerCentRule) {
    const GroupRow& row = GetParam();
    Input in;
    in.fcuk = 30;
    in.groups = {Group::ofSpecimens(row.a, row.b, row.c), Group::ofValue(40.0)};
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.groups[0].rule, row.rule);
    if (row.rule != GroupRule::LeftOut) {
        EXPECT_EQ(e.groups[0].tested, row.tested);
    }
    EXPECT_EQ(e.n, row.rule == GroupRule::LeftOut ? 1 : 2);
}

INSTANTIATE_TEST_SUITE_P(
    Rule, Gbt50107GroupValue,
    ::testing::Values(
        // The middle one 40.0: 15 % of it is 6.0.
        GroupRow{"low exactly 15 %", 34.0, 40.0, 41.0, GroupRule::Mean, 38.3},
        GroupRow{"low beyond", 33.9, 40.0, 41.0, GroupRule::Middle, 40.0},
        GroupRow{"high exactly 15 %", 39.0, 40.0, 46.0, GroupRule::Mean, 41.7},
        GroupRow{"high beyond", 39.0, 40.0, 46.1, GroupRule::Middle, 40.0},
        GroupRow{"both beyond", 33.9, 40.0, 46.1, GroupRule::LeftOut, 0},
        GroupRow{"both beyond in any order", 46.1, 33.9, 40.0, GroupRule::LeftOut, 0},
        GroupRow{"one beyond in any order", 41.0, 33.9, 40.0, GroupRule::Middle, 40.0},
        // 22.0 − 18.7 is 3.3, exactly 15 % of 22.0, though not in doubles.
        GroupRow{"exact decimals", 18.7, 22.0, 22.5, GroupRule::Mean, 21.1},
        // (33.1 + 35.2 + 34.0) / 3 = 34.1 exactly.
        GroupRow{"mean exact", 33.1, 35.2, 34.0, GroupRule::Mean, 34.1},
        // (33.1 + 33.15 + 33.2) / 3 = 33.15, half up to 33.2.
        GroupRow{"mean half up", 33.1, 33.15, 33.2, GroupRule::Mean, 33.2},
        // 90.45 / 3 = 30.15, half up to 30.2; in doubles it comes out below.
        GroupRow{"mean half up of hundredths", 30.0, 30.05, 30.4, GroupRule::Mean, 30.2},
        GroupRow{"middle rounded", 30.0, 40.05, 40.1, GroupRule::Middle, 40.1}),
    calc::testing::namedBy([](const GroupRow& r) { return std::string(r.name); }));

TEST(Gbt50107, AGivenGroupValueIsRoundedOnItsDecimal) {
    // The double nearest 34.05 lies below it; the decimal rounds up.
    const Evaluation e = evaluated(withValues(30, {34.05, 35.0}));
    EXPECT_EQ(e.groups[0].value, 34.1);
    EXPECT_EQ(e.groups[0].rule, GroupRule::Given);
    EXPECT_EQ(e.mean, 34.6); // (34.1 + 35.0) / 2 = 34.55 → 34.6
}

TEST(Gbt50107, ConvertedValuesAndTheMeanAreRoundedOnTheirDecimals) {
    // 41.0 × 0.95 = 38.95 → 39.0 and 23.0 × 0.95 = 21.85 → 21.9, though the
    // doubles of both products lie below the half.
    Input in = withValues(30, {41.0, 23.0});
    in.specimenSize = SpecimenSize::Cube100;
    Evaluation e = evaluated(in);
    EXPECT_EQ(e.groups[0].value, 39.0);
    EXPECT_EQ(e.groups[1].value, 21.9);
    // Σ = 362.5 over ten groups: mfcu = 36.25 → 36.3, where the double sum
    // divided and rounded gives 36.2.
    e = evaluated(withValues(30, {39.9, 35.4, 39.9, 30.9, 33.6, 42.4, 25.7, 32.1, 40.5, 42.1}));
    EXPECT_EQ(e.sum, 362.5);
    EXPECT_EQ(e.mean, 36.3);
}

struct SizeRow {
    const char* name;
    SpecimenSize size;
    double fcuk;
    std::optional<double> sizeFactor;
    std::optional<double> value; // of a group of 40.0; nothing when refused
};

class Gbt50107Size : public ::testing::TestWithParam<SizeRow> {};

TEST_P(Gbt50107Size, ConvertsToThe150mmCubeOrRefuses) {
    const SizeRow& row = GetParam();
    Input in = withValues(row.fcuk, {40.0});
    in.specimenSize = row.size;
    in.sizeFactor = row.sizeFactor;
    const Outcome out = evaluate(in);
    if (!row.value) {
        ASSERT_FALSE(out);
        ASSERT_EQ(out.faults.size(), 1u);
        EXPECT_EQ(out.faults[0].place, (Place{Entry::SizeFactor}));
        EXPECT_NE(out.faults[0].message.find("尺寸换算系数"), std::string::npos);
        return;
    }
    ASSERT_TRUE(out) << out.faults.front().message;
    EXPECT_EQ(out.evaluation->groups[0].tested, 40.0);
    EXPECT_EQ(out.evaluation->groups[0].value, *row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Factors, Gbt50107Size,
    ::testing::Values(SizeRow{"150 mm", SpecimenSize::Cube150, 30, {}, 40.0},
                      SizeRow{"100 mm C30", SpecimenSize::Cube100, 30, {}, 38.0},
                      SizeRow{"200 mm C30", SpecimenSize::Cube200, 30, {}, 42.0},
                      SizeRow{"100 mm C55", SpecimenSize::Cube100, 55, {}, 38.0},
                      SizeRow{"100 mm C60 without factor", SpecimenSize::Cube100, 60, {}, {}},
                      SizeRow{"200 mm C60 without factor", SpecimenSize::Cube200, 60, {}, {}},
                      SizeRow{"100 mm C60 tested factor", SpecimenSize::Cube100, 60, 0.97, 38.8},
                      SizeRow{"150 mm C60", SpecimenSize::Cube150, 60, {}, 40.0},
                      SizeRow{"factor given below C60", SpecimenSize::Cube100, 30, 0.97, {}},
                      SizeRow{"factor given for 150 mm", SpecimenSize::Cube150, 30, 1.0, {}}),
    calc::testing::namedBy([](const SizeRow& r) { return std::string(r.name); }));

// The limit of fcu,min by class: 0.85fcu,k up to C20, 0.90fcu,k above. With
// σ0 = 4.0 the class limit is the higher one: C20 min ≥ 20 − 2.8 = 17.2, C25
// min ≥ 25 − 2.8 = 22.2.
TEST(Gbt50107, KnownSigmaClassLimitChangesAboveC20) {
    Input in = withValues(20, {25.0, 26.0, 17.5});
    in.sigma0 = 4.0;
    Evaluation e = evaluated(in);
    ASSERT_EQ(e.conditions.size(), 3u);
    EXPECT_EQ(e.conditions[2].coefficient, 0.85);
    EXPECT_EQ(e.conditions[2].right, 17.0);
    EXPECT_TRUE(e.conditions[2].holds); // 17.5 ≥ 17.0; with 0.90 it would fail
    EXPECT_TRUE(e.passed);

    in = withValues(25, {30.0, 31.0, 22.4});
    in.sigma0 = 4.0;
    e = evaluated(in);
    EXPECT_EQ(e.conditions[2].coefficient, 0.90);
    EXPECT_EQ(e.conditions[2].right, 22.5);
    EXPECT_FALSE(e.conditions[2].holds);
    EXPECT_TRUE(e.conditions[1].holds); // 22.4 ≥ 22.2
    EXPECT_EQ(verdict(e), "不合格（不满足 fcu,min ≥ 0.90fcu,k）");
}

// 22 values of 28.0, 22 of 36.0 and one of 32.0: mean 32.0,
// Σ(x − m)² = 44 × 16 = 704, σ0 = √(704 / 44) = 4.00.
std::vector<double> previousPeriod(double low, double high, int each) {
    std::vector<double> values(static_cast<std::size_t>(each), low);
    values.insert(values.end(), static_cast<std::size_t>(each), high);
    values.push_back((low + high) / 2);
    return values;
}

TEST(Gbt50107, Sigma0ComesFromFortyFivePreviousGroups) {
    Input in = withValues(30, {36.0, 35.0, 37.0});
    in.previous = previousPeriod(28.0, 36.0, 22);
    ASSERT_EQ(in.previous.size(), 45u);
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.method, Method::KnownSigma);
    EXPECT_EQ(e.sigmaOrigin, SigmaOrigin::Previous);
    EXPECT_EQ(e.sd, 4.0);
    ASSERT_TRUE(e.previous);
    EXPECT_EQ(e.previous->count, 45);
    EXPECT_EQ(e.previous->sum, 1440.0);

    in.previous.pop_back();
    const Outcome out = evaluate(in);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.faults[0].place, (Place{Entry::Previous}));
    EXPECT_EQ(out.faults[0].message, "由上一期计算 σ0 至少需要 45 组强度代表值，现为 44 组");
}

struct FloorRow {
    const char* name;
    std::optional<double> sigma0;
    std::vector<double> previous;
    std::vector<double> values;
    double sd;
    double used;
};

class Gbt50107Floor : public ::testing::TestWithParam<FloorRow> {};

TEST_P(Gbt50107Floor, AStandardDeviationBelow2point5IsTakenAs2point5) {
    const FloorRow& row = GetParam();
    Input in = withValues(30, row.values);
    in.sigma0 = row.sigma0;
    in.previous = row.previous;
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.sd, row.sd);
    EXPECT_EQ(e.sdUsed, row.used);
    // The conditions use the floored figure: fcu,k − 0.7σ0, or mfcu − λ1·Sfcu
    // = 36.0 − 1.15 × 2.50 = 33.125 → 33.1.
    if (e.method == Method::KnownSigma) {
        EXPECT_DOUBLE_EQ(e.conditions[1].right, 30 - 0.7 * row.used);
    } else {
        EXPECT_EQ(e.conditions[0].left, 33.1);
    }
}

// Ten values 35.0 ×5, 37.0 ×5: mean 36.0, Σ(x − m)² = 10, Sfcu = √(10 / 9) = 1.05.
std::vector<double> tightGroups() {
    return {35.0, 37.0, 35.0, 37.0, 35.0, 37.0, 35.0, 37.0, 35.0, 37.0};
}
// Ten values 33.7 ×5, 38.3 ×5: Σ(x − m)² = 10 × 2.3² = 52.9,
// Sfcu = √(52.9 / 9) = 2.4244 → 2.42.
std::vector<double> nearFloorGroups() {
    return {33.7, 38.3, 33.7, 38.3, 33.7, 38.3, 33.7, 38.3, 33.7, 38.3};
}

INSTANTIATE_TEST_SUITE_P(
    Floors, Gbt50107Floor,
    ::testing::Values(
        FloorRow{"Sfcu below", {}, {}, tightGroups(), 1.05, 2.5},
        FloorRow{"Sfcu just below", {}, {}, nearFloorGroups(), 2.42, 2.5},
        FloorRow{"sigma0 2.49", 2.49, {}, {31.0, 32.0, 33.0}, 2.49, 2.5},
        FloorRow{"sigma0 2.494 rounds to 2.49", 2.494, {}, {31.0, 32.0, 33.0}, 2.49, 2.5},
        FloorRow{"sigma0 2.495 rounds to 2.50", 2.495, {}, {31.0, 32.0, 33.0}, 2.5, 2.5},
        FloorRow{"sigma0 2.51", 2.51, {}, {31.0, 32.0, 33.0}, 2.51, 2.51},
        // 22 × 30.0, 22 × 34.0, 32.0: σ0 = √(176 / 44) = 2.00.
        FloorRow{"sigma0 from the previous period",
                 {},
                 previousPeriod(30.0, 34.0, 22),
                 {31.0, 32.0, 33.0},
                 2.0,
                 2.5}),
    calc::testing::namedBy([](const FloorRow& r) { return std::string(r.name); }));

// 30 groups 38.0 … 42.0: Σ(x − m)² = 6 × 10 = 60, σ = √(60 / 29) = 1.4384 → 1.44.
// 30 groups alternating 30.0 and 40.0: Σ(x − m)² = 30 × 25 = 750,
// σ = √(750 / 29) = 5.0855 → 5.09.
struct DesignRow {
    const char* name;
    double fcuk;
    std::vector<double> values;
    std::optional<double> computed;
    double floor;
    double value;
};

std::vector<double> alternating(int n) {
    std::vector<double> values;
    for (int i = 0; i < n; ++i) {
        values.push_back(i % 2 == 0 ? 30.0 : 40.0);
    }
    return values;
}

class Gbt50107DesignSigma : public ::testing::TestWithParam<DesignRow> {};

TEST_P(Gbt50107DesignSigma, IsGivenFromThirtyGroupsWithItsFloor) {
    const DesignRow& row = GetParam();
    const Evaluation e = evaluated(withValues(row.fcuk, row.values));
    if (!row.computed) {
        EXPECT_FALSE(e.designSigma);
        return;
    }
    ASSERT_TRUE(e.designSigma);
    EXPECT_EQ(e.designSigma->computed, *row.computed);
    EXPECT_EQ(e.designSigma->floor, row.floor);
    EXPECT_EQ(e.designSigma->value, row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Floors, Gbt50107DesignSigma,
    ::testing::Values(DesignRow{"C30 floor", 30, around40(30), 1.44, 3.0, 3.0},
                      DesignRow{"C35 floor", 35, around40(30), 1.44, 4.0, 4.0},
                      DesignRow{"C55 floor", 55, around40(30), 1.44, 4.0, 4.0},
                      DesignRow{"C35 above the floor", 35, alternating(30), 5.09, 4.0, 5.09},
                      DesignRow{"29 groups", 30, around40(29), {}, 0, 0},
                      DesignRow{"C60", 60, around40(30), {}, 0, 0}),
    calc::testing::namedBy([](const DesignRow& r) { return std::string(r.name); }));

TEST(Gbt50107, FromC60NoDesignSigmaIsGivenAndTheRecordSaysWhy) {
    const Evaluation e = evaluated(withValues(60, around40(30)));
    EXPECT_FALSE(e.designSigma);
    ASSERT_EQ(e.notes.size(), 1u);
    EXPECT_NE(e.notes[0].find("C60"), std::string::npos);
}

// --- The method --------------------------------------------------------------

struct MethodRow {
    const char* name;
    Method method;
    int groups;
    std::optional<double> sigma0;
    std::optional<Method> used; // nothing when refused
    Entry place;                // of the refusal
};

class Gbt50107Method : public ::testing::TestWithParam<MethodRow> {};

TEST_P(Gbt50107Method, IsChosenOrRefusedWithItsReason) {
    const MethodRow& row = GetParam();
    Input in = withValues(30, around40(row.groups));
    in.method = row.method;
    in.sigma0 = row.sigma0;
    const Outcome out = evaluate(in);
    if (row.used) {
        ASSERT_TRUE(out) << out.faults.front().message;
        EXPECT_EQ(out.evaluation->method, *row.used);
        EXPECT_EQ(out.evaluation->chosen, row.method == Method::Auto);
        return;
    }
    ASSERT_FALSE(out);
    ASSERT_EQ(out.faults.size(), 1u);
    EXPECT_EQ(out.faults[0].place, (Place{row.place}));
}

INSTANTIATE_TEST_SUITE_P(
    Choice, Gbt50107Method,
    ::testing::Values(
        MethodRow{"auto known three", Method::Auto, 3, 3.0, Method::KnownSigma, {}},
        MethodRow{"auto known four", Method::Auto, 4, 3.0, Method::NonStatistical, {}},
        MethodRow{"auto known ten", Method::Auto, 10, 3.0, Method::Statistical, {}},
        MethodRow{"auto three", Method::Auto, 3, {}, Method::NonStatistical, {}},
        MethodRow{"statistical nine", Method::Statistical, 9, {}, {}, Entry::Method},
        MethodRow{"statistical ten", Method::Statistical, 10, {}, Method::Statistical, {}},
        MethodRow{"known without sigma0", Method::KnownSigma, 3, {}, {}, Entry::Sigma0},
        MethodRow{"known with four", Method::KnownSigma, 4, 3.0, {}, Entry::Method},
        MethodRow{"non-statistical ten", Method::NonStatistical, 10, {}, {}, Entry::Method},
        MethodRow{
            "non-statistical nine", Method::NonStatistical, 9, {}, Method::NonStatistical, {}}),
    calc::testing::namedBy([](const MethodRow& r) { return std::string(r.name); }));

TEST(Gbt50107, AKnownSigmaNotUsedIsNoted) {
    Input in = withValues(30, around40(5));
    in.sigma0 = 3.0;
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.method, Method::NonStatistical);
    ASSERT_EQ(e.notes.size(), 1u);
    EXPECT_NE(e.notes[0].find("未采用"), std::string::npos);
}

TEST(Gbt50107, LeftOutGroupsDoNotCountForTheMethod) {
    // Ten groups of which one is left out: nine evaluated, so not statistical.
    Input in = withValues(30, around40(9));
    in.groups.push_back(Group::ofSpecimens(30.0, 36.0, 42.0));
    const Evaluation e = evaluated(in);
    EXPECT_EQ(e.n, 9);
    EXPECT_EQ(e.method, Method::NonStatistical);
}

// --- Bad input -------------------------------------------------------------

TEST(Gbt50107, EveryBadCellIsNamedWithItsReason) {
    Input in;
    in.groups = {Group::ofSpecimens(33.1, -3.0, 34.0),
                 Group{{33.1, 35.2, std::nullopt}, std::nullopt}, Group::ofValue(0.0),
                 Group{{std::nullopt, std::nullopt, std::nullopt}, std::nullopt},
                 Group{{33.1, std::nullopt, std::nullopt}, 33.0}};
    const Outcome out = evaluate(in);
    ASSERT_FALSE(out);
    std::vector<std::pair<Place, std::string>> faults;
    for (const InputFault& f : out.faults) {
        faults.emplace_back(f.place, f.message);
    }
    const std::vector<std::pair<Place, std::string>> expected{
        {{Entry::Fcuk}, "缺少「强度等级 fcu,k」"},
        {{Entry::Groups, 0, 1}, "第 1 组试件 2 应大于 0，现为 -3"},
        {{Entry::Groups, 1, 2}, "第 2 组只有 2 个试件强度，缺试件 3"},
        {{Entry::Groups, 2, kValueCell}, "第 3 组代表值应大于 0，现为 0"},
        {{Entry::Groups, 3, -1}, "第 4 组没有强度：请填写三个试件强度，或只填代表值"},
        {{Entry::Groups, 4, kValueCell},
         "第 5 组已有试件强度，不能另填代表值：代表值由试件强度算出"},
        {{Entry::Groups, 4, 1}, "第 5 组只有 1 个试件强度，缺试件 2"},
        {{Entry::Groups, 4, 2}, "第 5 组只有 1 个试件强度，缺试件 3"},
    };
    EXPECT_EQ(faults, expected);
}

TEST(Gbt50107, AnEmptyEvaluationIsRefused) {
    Input in;
    in.fcuk = 30;
    const Outcome out = evaluate(in);
    ASSERT_FALSE(out);
    ASSERT_EQ(out.faults.size(), 1u);
    EXPECT_EQ(out.faults[0].place, (Place{Entry::Groups}));
    EXPECT_EQ(out.faults[0].message, "没有可评定的组：请至少填写一组强度");
}

TEST(Gbt50107, EntriesAreCheckedWithTheCells) {
    Input in = withValues(-30, {35.0, 1e6});
    in.sigma0 = 3.0;
    in.previous = {32.0, -1.0};
    const Outcome out = evaluate(in);
    ASSERT_FALSE(out);
    std::vector<Place> places;
    for (const InputFault& f : out.faults) {
        places.push_back(f.place);
    }
    EXPECT_EQ(
        places,
        (std::vector<Place>{
            {Entry::Fcuk}, {Entry::Sigma0}, {Entry::Previous, 1}, {Entry::Groups, 1, kValueCell}}));
    EXPECT_EQ(out.faults[0].message, "「强度等级 fcu,k」应大于 0，现为 -30");
    EXPECT_NE(out.faults[3].message.find("超出可计算的范围"), std::string::npos);
}

TEST(Gbt50107, AllGroupsLeftOutIsRefused) {
    Input in;
    in.fcuk = 30;
    in.groups = {Group::ofSpecimens(30.0, 36.0, 42.0)};
    const Outcome out = evaluate(in);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.faults[0].message, "各组都不作为评定依据，没有可评定的组");
}

TEST(Gbt50107, KnownFaultsOfTextsAreKeptAndTheirCellsNotJudgedAgain) {
    Input in = withValues(30, {35.0});
    in.groups.push_back(Group{{33.0, std::nullopt, -1.0}, std::nullopt});
    const std::vector<InputFault> known{{{Entry::Groups, 1, 1}, "第 2 组试件 2 不是一个数：3a"}};
    const Outcome out = evaluate(in, known);
    ASSERT_FALSE(out);
    ASSERT_EQ(out.faults.size(), 2u);
    EXPECT_EQ(out.faults[0].message, "第 2 组试件 2 不是一个数：3a");
    // The cell that is no number is not also "missing"; the other bad cell is named.
    EXPECT_EQ(out.faults[1].place, (Place{Entry::Groups, 1, 2}));
}

TEST(Gbt50107, ConditionTextsFollowTheRegionalFormat) {
    const Evaluation e = evaluated(withValues(25, {28.1, 27.0, 27.2, 30.0}));
    calc::NumberFormat comma;
    comma.decimal = ",";
    comma.group = ".";
    EXPECT_EQ(conditionText(e, e.conditions[0], comma),
              "mfcu = 28,1 < λ3·fcu,k = 1,15 × 25 = 28,75 不满足");
    EXPECT_EQ(decimalText(-3.1, 2, comma), "-3,10");
    EXPECT_EQ(decimalText(27, 1, {}), "27.0");
}

} // namespace
