#include "jgj55/design.h"

#include "calc/decimal.h"
#include "jgj55/rounding.h"

#include <cmath>
#include <utility>

namespace jgj55 {

namespace {

using calc::decimal::Exact;

// A refusal on its way out of the steps; caught once, in design().
struct Refused {
    Refusal refusal;
};

[[noreturn]] void refuse(std::string input, std::string pattern, std::vector<double> numbers = {}) {
    throw Refused{{.message = {std::move(pattern), std::move(numbers)}, .input = std::move(input)}};
}

// Every step's figure is checked before a later step uses it: an input that
// slipped past the checks below must never carry NaN or infinity into the
// result.
double checked(double value, const char* input, const char* what) {
    if (!std::isfinite(value)) {
        refuse(input, std::string(what) + "的计算结果不是有限数，请检查输入");
    }
    return value;
}

double hundredths(int value) {
    return value / 100.0;
}

// The double of an exact figure, for the result and the report; a figure
// beyond the double range is refused like any other that is not finite.
double number(const Exact& value, const char* input, const char* what) {
    return checked(value.toDouble(), input, what);
}

// A fraction of the binder as a percentage, on its decimal value (0.15 is
// 15 %, not 15.000000000000002 %).
double percentOf(const Exact& fraction) {
    return (fraction * Exact(100)).toDouble();
}

std::string_view stoneColumn(Stone stone) {
    return stoneName(stone);
}

// The table for the kind of coarse aggregate among `tables`; the first when
// none is for it.
template <typename Table, std::size_t N>
const Table& tableFor(const std::array<Table, N>& tables, Stone kind) {
    const Table* found = &tables.front();
    for (const Table& t : tables) {
        if (t.stone == kind) {
            found = &t;
        }
    }
    return *found;
}

// Which of table 5.1.3's bounds a grade takes, and the hundredths added to
// it at a dosage above 0.
struct GammaBound {
    bool upper = true;
    int extraHundredth = 0;
};

class Designer {
public:
    explicit Designer(const Input& input) : m_in(input) {}

    Result run();
    Result proportion(const Proportioning& given);

private:
    void strength();
    void sigmaFloor(double& sigma, Exact& exactSigma);
    void mineralLimits();
    void mineralLimit(Mineral mineral, const Exact& fraction);
    void highStrengthRanges();
    void cementStrength();
    void binderStrength();
    void waterBinder();
    void regressionCoefficients();
    void durabilityLimit();
    void waterContent();
    void binderContent();
    void sandRatio();
    Exact tableSandRatio();
    void aggregates();
    void massMethod();
    void volumeMethod();
    void construction();

    Exact tableWater();
    Exact gamma(const auto& rows, GammaBound bound, const Exact& fraction, const char* input,
                const char* what);

    Step& record(Step step) {
        m_out.steps.push_back(std::move(step));
        return m_out.steps.back();
    }
    // A value taken as it stands, given or read from a table: its step shows
    // the value alone and says where it comes from.
    void taken(std::string_view symbol, std::string_view name, double value, std::string_view unit,
               Origin origin, std::string source, Figures sourceNumbers = {},
               std::string_view rounding = {}) {
        record({.symbol = symbol,
                .name = name,
                .formula = symbol,
                .substituted = "{}",
                .operands = {value},
                .value = value,
                .unit = unit,
                .rounding = rounding,
                .origin = origin,
                .source = std::move(source),
                .sourceNumbers = sourceNumbers});
    }

    // A required input that the rules cannot do without.
    double required(const std::optional<double>& value, const char* input, const char* what) {
        if (!value) {
            refuse(input, std::string("请给出") + what);
        }
        return checked(*value, input, what);
    }
    double positive(double value, const char* input, const char* what) {
        if (!(value > 0.0) || !std::isfinite(value)) {
            refuse(input, std::string(what) + "须为正数，现为 {}", {value});
        }
        return value;
    }
    Stone stone(const char* why) {
        if (!m_in.stone) {
            refuse("stone", std::string("请给出粗骨料品种（碎石或卵石）：") + why);
        }
        return *m_in.stone;
    }
    // Where the maximum size stands among a table's columns (0.1 mm): the
    // column at or below it and the share of the next, refused outside the
    // first and the last column.
    struct ColumnAt {
        std::size_t low = 0;
        Exact share; // 0 at the column itself
    };
    ColumnAt columnAt(std::span<const int> sizesTenth, std::string_view table, Stone kind,
                      const char* ask) {
        const double size = positive(required(m_in.maxSize, "maxSize", "粗骨料最大公称粒径"),
                                     "maxSize", "粗骨料最大公称粒径");
        const Exact tenths = Exact::of(size) * Exact(10);
        const int first = sizesTenth.front();
        const int last = sizesTenth.back();
        if (tenths < Exact(first) || tenths > Exact(last)) {
            refuse("maxSize",
                   "粗骨料最大公称粒径 {} mm 不在" + std::string(table) + "的" +
                       std::string(stoneName(kind)) + " {}～{} mm 之内，" + ask,
                   {size, first / 10.0, last / 10.0});
        }
        ColumnAt at;
        while (at.low + 2 < sizesTenth.size() && tenths > Exact(sizesTenth[at.low + 1])) {
            ++at.low;
        }
        const int low = sizesTenth[at.low];
        const int high = sizesTenth[at.low + 1];
        at.share = (tenths - Exact(low)) / Exact(high - low);
        if (at.share == Exact(1)) {
            ++at.low;
            at.share = Exact(0);
        }
        return at;
    }
    // The table's words for the column read: "，碎石 20 mm 列" or between two.
    static std::string columnWords(Stone kind, const ColumnAt& at, std::span<const int> sizesTenth,
                                   Figures& numbers) {
        numbers.push(sizesTenth[at.low] / 10.0);
        if (at.share.sign() == 0) {
            return "，" + std::string(stoneName(kind)) + " {} mm 列";
        }
        numbers.push(sizesTenth[at.low + 1] / 10.0);
        return "，" + std::string(stoneName(kind)) + " {} mm 列与 {} mm 列之间线性插值";
    }

    const Input& m_in;
    Result m_out;
    double m_fcuk = 0.0;
    double m_flyAshFraction = 0.0;
    double m_slagFraction = 0.0;
    double m_admixtureFraction = 0.0;
    bool m_strength = true; // fce, γf, γs and fb are computed
    // Whether the binder is raised to the structure's minimum.
    bool m_minimum = true;

    // The figures the steps compute with, exactly: each input as written
    // (the shortest decimal of its double), each table value as printed and
    // each step's rounded figure. A rounded step rounds the exact value of
    // its formula half up, so that 237.5 × 0.68 = 161.5 gives 162 as it
    // does by hand; the doubles of the result are only written from these.
    struct ExactFigures {
        Exact fcuk;
        Exact flyAshFraction;
        Exact slagFraction;
        Exact admixtureFraction;
        Exact fcu0;
        Exact fce;
        Exact gammaF;
        Exact gammaS;
        Exact fb;
        Exact alphaA;
        Exact alphaB;
        Exact waterBinder;
        Exact water;
        Exact binder;
        Exact cement;
        Exact flyAsh;
        Exact slag;
        Exact sandRatio;
        Exact sand;
        Exact stone;
    } m_x;
};

Result Designer::run() {
    m_out.steps.reserve(40);
    m_fcuk = positive(required(m_in.fcuk, "fcuk", "混凝土立方体抗压强度标准值 fcu,k"), "fcuk",
                      "混凝土立方体抗压强度标准值 fcu,k");
    if (m_in.flyAsh) {
        m_flyAshFraction = m_in.flyAsh->fraction.value_or(0.0);
    }
    if (m_in.slag) {
        m_slagFraction = m_in.slag->fraction.value_or(0.0);
    }
    if (m_in.admixture) {
        m_admixtureFraction = m_in.admixture->fraction.value_or(0.0);
    }
    if (!(m_flyAshFraction >= 0.0 && m_flyAshFraction < 1.0)) {
        refuse("flyAsh", "粉煤灰掺量须在 0 与 1 之间（以胶凝材料质量的分数计），现为 {}",
               {m_flyAshFraction});
    }
    if (!(m_slagFraction >= 0.0 && m_slagFraction < 1.0)) {
        refuse("slag", "矿渣粉掺量须在 0 与 1 之间（以胶凝材料质量的分数计），现为 {}",
               {m_slagFraction});
    }
    m_x.fcuk = Exact::of(m_fcuk);
    m_x.flyAshFraction = Exact::of(m_flyAshFraction);
    m_x.slagFraction = Exact::of(m_slagFraction);
    if (!(m_x.flyAshFraction + m_x.slagFraction < Exact(1))) {
        refuse("slag", "粉煤灰与矿渣粉掺量之和须小于 1，胶凝材料中须有水泥");
    }
    if (!(m_admixtureFraction >= 0.0 && m_admixtureFraction < 1.0)) {
        refuse("admixture", "外加剂掺量须在 0 与 1 之间（以胶凝材料质量的分数计），现为 {}",
               {m_admixtureFraction});
    }
    m_x.admixtureFraction = Exact::of(m_admixtureFraction);
    strength();
    // A W/B given from trial mixes needs no strength of the binder: without
    // the cement's grade or strength the formula's ratio is not shown.
    m_strength = m_in.fce || m_in.cementGrade || !m_in.waterBinder;
    if (m_strength) {
        cementStrength();
        binderStrength();
    }
    waterBinder();
    waterContent();
    binderContent();
    sandRatio();
    mineralLimits();
    highStrengthRanges();
    aggregates();
    construction();
    return std::move(m_out);
}

// A mix at a given water, ratio and sand ratio: the design's steps 6 and 8
// alone.
Result Designer::proportion(const Proportioning& given) {
    m_minimum = given.minimumBinder;
    // The grade decides whether a minimum binder applies at all (none up to C15).
    m_fcuk = m_in.fcuk.value_or(0.0);
    m_flyAshFraction = m_in.flyAsh ? m_in.flyAsh->fraction.value_or(0.0) : 0.0;
    m_slagFraction = m_in.slag ? m_in.slag->fraction.value_or(0.0) : 0.0;
    m_admixtureFraction = m_in.admixture ? m_in.admixture->fraction.value_or(0.0) : 0.0;
    if (!(m_flyAshFraction >= 0.0 && m_slagFraction >= 0.0 && m_admixtureFraction >= 0.0 &&
          m_flyAshFraction + m_slagFraction < 1.0 && m_admixtureFraction < 1.0)) {
        refuse("flyAsh", "掺合料或外加剂的掺量不在 0 与 1 之间");
    }
    m_x.flyAshFraction = Exact::of(m_flyAshFraction);
    m_x.slagFraction = Exact::of(m_slagFraction);
    m_x.admixtureFraction = Exact::of(m_admixtureFraction);
    m_out.water = positive(given.water, "water", "用水量 mw");
    m_x.water = Exact::of(m_out.water);
    m_out.waterBinder = positive(given.waterBinder, "waterBinder", "水胶比 W/B");
    m_out.waterBinderComputed = m_out.waterBinder;
    m_x.waterBinder = Exact::of(m_out.waterBinder);
    binderContent();
    if (m_minimum) {
        // The mix the laboratory keeps is held to the admixture limits at its
        // own W/B, as the design is at its.
        mineralLimits();
    }
    if (!(given.sandRatio > 0.0 && given.sandRatio < 100.0)) {
        refuse("sandRatio", "砂率须在 0 与 100 % 之间，现为 {}%", {given.sandRatio});
    }
    m_out.sandRatio = given.sandRatio;
    m_x.sandRatio = Exact::of(given.sandRatio);
    aggregates();
    return std::move(m_out);
}

// Step 1: the standard deviation and the design strength.
void Designer::strength() {
    double sigma = 0.0;
    Exact exactSigma;
    if (m_in.sigma) {
        sigma = positive(*m_in.sigma, "sigma", "强度标准差 σ");
        exactSigma = Exact::of(sigma);
        taken("σ", "强度标准差", sigma, "MPa", Origin::Given, "给定");
        m_out.steps.back().places = 1;
        sigmaFloor(sigma, exactSigma);
    } else {
        int tenth = kSigmaAboveTenth;
        std::string source = std::string(kSigmaTable) + "，fcu,k > {} 行";
        Figures numbers{double(kSigmaRows.back().fcukUpTo)};
        for (const SigmaRow& row : kSigmaRows) {
            if (m_fcuk <= row.fcukUpTo) {
                tenth = row.sigmaTenth;
                source = std::string(kSigmaTable) + "，fcu,k ≤ {} 行";
                numbers = {double(row.fcukUpTo)};
                break;
            }
        }
        sigma = tenth / 10.0;
        exactSigma = Exact::scaled(tenth, 1);
        taken("σ", "强度标准差", sigma, "MPa", Origin::Table, source, numbers);
        m_out.steps.back().places = 1;
    }
    m_out.sigma = sigma;

    double fcu0 = 0.0;
    if (m_fcuk < kHighStrengthFrom) {
        m_x.fcu0 = (m_x.fcuk + Exact::scaled(1645, 3) * exactSigma).rounded(-1);
        fcu0 = number(m_x.fcu0, "fcuk", "配制强度");
        record({.symbol = "fcu,0",
                .name = "配制强度",
                .formula = "fcu,0 = fcu,k + 1.645σ",
                .substituted = "{} + 1.645 × {.1}",
                .operands = {m_fcuk, sigma},
                .value = fcu0,
                .unit = "MPa",
                .rounding = "0.1 MPa",
                .source = "fcu,k < {} MPa",
                .sourceNumbers = {double(kHighStrengthFrom)}});
    } else {
        m_x.fcu0 = (Exact::scaled(115, 2) * m_x.fcuk).rounded(-1);
        fcu0 = number(m_x.fcu0, "fcuk", "配制强度");
        record({.symbol = "fcu,0",
                .name = "配制强度",
                .formula = "fcu,0 = 1.15fcu,k",
                .substituted = "1.15 × {}",
                .operands = {m_fcuk},
                .value = fcu0,
                .unit = "MPa",
                .rounding = "0.1 MPa",
                .source = "fcu,k ≥ {} MPa",
                .sourceNumbers = {double(kHighStrengthFrom)}});
    }
    m_out.fcu0 = fcu0;
}

// 4.0.2: a σ from strength records is not taken below its floor.
void Designer::sigmaFloor(double& sigma, Exact& exactSigma) {
    if (m_fcuk >= kHighStrengthFrom) {
        return; // σ is not used from C60 on
    }
    const bool low = m_fcuk <= kSigmaFloors.front().fcukUpTo;
    const SigmaFloor& floor = low ? kSigmaFloors.front() : kSigmaFloors.back();
    const Exact lowest = Exact::scaled(floor.sigmaTenth, 1);
    if (!(exactSigma < lowest)) {
        return;
    }
    const double value = floor.sigmaTenth / 10.0;
    m_out.notes.push_back({std::string("给定的强度标准差 σ = {} MPa 小于 ") +
                               (low ? "fcu,k ≤ {} MPa" : "{} MPa < fcu,k < {} MPa") +
                               " 时的下限 {.1} MPa（JGJ 55-2011 第 4.0.2 条），取 {.1} MPa",
                           low ? std::vector<double>{sigma, double(floor.fcukUpTo), value, value}
                               : std::vector<double>{sigma, double(kSigmaFloors.front().fcukUpTo),
                                                     double(kHighStrengthFrom), value, value}});
    m_out.notes.back().input = "sigma";
    sigma = value;
    exactSigma = lowest;
    taken("σ", "强度标准差（下限）", sigma, "MPa", Origin::Computed,
          "给定值小于 JGJ 55-2011 第 4.0.2 条的下限，取下限");
    m_out.steps.back().places = 1;
}

// Step 2: the cement's 28-day strength, measured or from its grade.
void Designer::cementStrength() {
    if (m_in.fce) {
        m_out.fce = positive(*m_in.fce, "fce", "水泥 28 d 胶砂抗压强度 fce");
        m_x.fce = Exact::of(m_out.fce);
        taken("fce", "水泥 28 d 胶砂抗压强度", m_out.fce, "MPa", Origin::Given, "实测");
        return;
    }
    if (!m_in.cementGrade) {
        refuse("cementGrade", "请给出水泥强度等级，或实测的水泥 28 d 胶砂抗压强度 fce");
    }
    const GammaCRow* row = &kGammaCRows.front();
    for (const GammaCRow& r : kGammaCRows) {
        if (r.grade == *m_in.cementGrade) {
            row = &r;
        }
    }
    const double fceg = row->fcegTenth / 10.0;
    double gammaC = hundredths(row->gammaHundredth);
    Exact exactGammaC = Exact::scaled(row->gammaHundredth, 2);
    if (m_in.gammaC) {
        gammaC = positive(*m_in.gammaC, "gammaC", "水泥强度等级值的富余系数 γc");
        exactGammaC = Exact::of(gammaC);
        taken("γc", "水泥强度等级值的富余系数", gammaC, "", Origin::Given, "给定");
    } else {
        taken("γc", "水泥强度等级值的富余系数", gammaC, "", Origin::Table,
              std::string(kGammaCTable) + "，强度等级 {.1} 列", {fceg});
        m_out.steps.back().places = 2;
    }
    m_x.fce = (exactGammaC * Exact::scaled(row->fcegTenth, 1)).rounded(-1);
    m_out.fce = number(m_x.fce, "gammaC", "水泥 28 d 胶砂抗压强度");
    record({.symbol = "fce",
            .name = "水泥 28 d 胶砂抗压强度",
            .formula = "fce = γc·fce,g",
            .substituted = "{.2} × {.1}",
            .operands = {gammaC, fceg},
            .value = m_out.fce,
            .unit = "MPa",
            .rounding = "0.1 MPa"});
}

// A coefficient of table 5.1.3 at a dosage: between two rows, the straight
// line through the two rows' values of the chosen bound, and its extra at a
// dosage above 0.
Exact Designer::gamma(const auto& rows, GammaBound bound, const Exact& fraction, const char* input,
                      const char* what) {
    const Exact percent = fraction * Exact(100);
    if (percent > Exact(rows.back().dosagePercent)) {
        refuse(input,
               std::string(what) + "掺量 {}% 超出表 5.1.3 的范围（至 {}%），请给出由试验求得的" +
                   "影响系数",
               {percent.toDouble(), double(rows.back().dosagePercent)});
    }
    std::size_t r = 0;
    while (r + 2 < rows.size() && percent > Exact(rows[r + 1].dosagePercent)) {
        ++r;
    }
    const auto value = [bound](const GammaRow& row) {
        return Exact(bound.upper ? row.upperHundredth : row.lowerHundredth);
    };
    const Exact span(rows[r + 1].dosagePercent - rows[r].dosagePercent);
    const Exact d = percent - Exact(rows[r].dosagePercent);
    // In hundredths: the rows' values weighted by the distance to each row.
    Exact inHundredths = (value(rows[r]) * (span - d) + value(rows[r + 1]) * d) / span;
    if (percent.sign() > 0) {
        inHundredths = inHundredths + Exact(bound.extraHundredth);
    }
    return (inHundredths / Exact(100)).rounded(-2);
}

// Step 3: the influence coefficients of fly ash and slag, and the binder's
// 28-day strength.
void Designer::binderStrength() {
    if (m_in.flyAsh && m_in.flyAsh->gammaF) {
        m_out.gammaF = positive(*m_in.flyAsh->gammaF, "flyAsh", "粉煤灰影响系数 γf");
        m_x.gammaF = Exact::of(m_out.gammaF);
        taken("γf", "粉煤灰影响系数", m_out.gammaF, "", Origin::Given, "给定（试验求得）");
    } else {
        // Grades I and II take the upper bound, grade III the lower.
        const FlyAshGrade grade =
            m_in.flyAsh ? m_in.flyAsh->grade.value_or(FlyAshGrade::II) : FlyAshGrade::II;
        const GammaBound bound{.upper = grade != FlyAshGrade::III};
        m_x.gammaF = gamma(kFlyAshRows, bound, m_x.flyAshFraction, "flyAsh", "粉煤灰");
        m_out.gammaF = number(m_x.gammaF, "flyAsh", "粉煤灰");
        taken("γf", "粉煤灰影响系数", m_out.gammaF, "", Origin::Table,
              std::string(kGammaTable) + "，掺量 {}%，" + std::string(flyAshGradeName(grade)) +
                  " 级粉煤灰取" + (bound.upper ? "上限" : "下限"),
              {percentOf(m_x.flyAshFraction)}, "0.01");
    }
    if (m_in.slag && m_in.slag->gammaS) {
        m_out.gammaS = positive(*m_in.slag->gammaS, "slag", "矿渣粉影响系数 γs");
        m_x.gammaS = Exact::of(m_out.gammaS);
        taken("γs", "粒化高炉矿渣粉影响系数", m_out.gammaS, "", Origin::Given, "给定（试验求得）");
    } else {
        // S75 takes the lower bound, S95 the upper, S105 the upper and 0.05.
        const SlagGrade grade =
            m_in.slag ? m_in.slag->grade.value_or(SlagGrade::S95) : SlagGrade::S95;
        const GammaBound bound{.upper = grade != SlagGrade::S75,
                               .extraHundredth =
                                   grade == SlagGrade::S105 ? kS105ExtraHundredth : 0};
        m_x.gammaS = gamma(kSlagRows, bound, m_x.slagFraction, "slag", "矿渣粉");
        m_out.gammaS = number(m_x.gammaS, "slag", "矿渣粉");
        std::string rule = grade == SlagGrade::S75   ? "取下限"
                           : grade == SlagGrade::S95 ? "取上限"
                                                     : "取上限加 0.05";
        taken("γs", "粒化高炉矿渣粉影响系数", m_out.gammaS, "", Origin::Table,
              std::string(kGammaTable) + "，掺量 {}%，" + std::string(slagGradeName(grade)) +
                  " 级矿渣粉" + rule,
              {percentOf(m_x.slagFraction)}, "0.01");
    }
    m_x.fb = (m_x.gammaF * m_x.gammaS * m_x.fce).rounded(-1);
    m_out.fb = number(m_x.fb, "fce", "胶凝材料强度");
    record({.symbol = "fb",
            .name = "胶凝材料 28 d 胶砂抗压强度",
            .formula = "fb = γf·γs·fce",
            .substituted = "{.2} × {.2} × {.1}",
            .operands = {m_out.gammaF, m_out.gammaS, m_out.fce},
            .value = m_out.fb,
            .unit = "MPa",
            .rounding = "0.1 MPa"});
    if (m_x.fb.sign() <= 0) {
        refuse("fce", "胶凝材料强度 fb 为 0，无法计算水胶比");
    }
}

// The regression coefficients αa and αb: given, or by the coarse aggregate.
void Designer::regressionCoefficients() {
    if (m_in.alphaA && m_in.alphaB) {
        m_out.alphaA = positive(*m_in.alphaA, "alphaA", "回归系数 αa");
        m_out.alphaB = checked(*m_in.alphaB, "alphaB", "回归系数 αb");
    }
    const bool tableA = !m_in.alphaA;
    const bool tableB = !m_in.alphaB;
    if (tableA || tableB) {
        const Stone kind = stone("回归系数 αa、αb 按粗骨料品种取值");
        for (const AlphaRow& row : kAlphaRows) {
            if (row.stone == kind) {
                m_out.alphaA = tableA ? hundredths(row.alphaAHundredth)
                                      : positive(*m_in.alphaA, "alphaA", "回归系数 αa");
                m_out.alphaB = tableB ? hundredths(row.alphaBHundredth)
                                      : checked(*m_in.alphaB, "alphaB", "回归系数 αb");
            }
        }
    }
    if (m_out.alphaB < 0.0) {
        refuse("alphaB", "回归系数 αb 不能为负，现为 {}", {m_out.alphaB});
    }
    // Given or the table's hundredths, each is its shortest decimal.
    m_x.alphaA = Exact::of(m_out.alphaA);
    m_x.alphaB = Exact::of(m_out.alphaB);
    const std::string alphaSource = std::string(kAlphaTable) + "，" +
                                    std::string(m_in.stone ? stoneColumn(*m_in.stone) : "") + "列";
    taken("αa", "回归系数", m_out.alphaA, "", tableA ? Origin::Table : Origin::Given,
          tableA ? alphaSource : "给定");
    m_out.steps.back().places = 2;
    taken("αb", "回归系数", m_out.alphaB, "", tableB ? Origin::Table : Origin::Given,
          tableB ? alphaSource : "给定");
    m_out.steps.back().places = 2;
}

// Step 4: the water-binder ratio, from strength below C60 (5.1.1) or given
// from trial mixes, then the durability limit. A given ratio is used as it
// stands; below C60 the formula's ratio is shown beside it.
void Designer::waterBinder() {
    const bool formula = m_fcuk < kHighStrengthFrom && m_strength;
    const bool given = m_in.waterBinder.has_value();
    if (!formula && !given) {
        refuse("waterBinder", "C60 及以上的高强混凝土，水胶比应经试配确定（JGJ 55-2011 第 7.3 "
                              "节），请给出水胶比");
    }
    if (formula) {
        regressionCoefficients();
        const Exact below = m_x.fcu0 + m_x.alphaA * m_x.alphaB * m_x.fb;
        if (below.sign() <= 0) {
            refuse("alphaA", "水胶比公式的分母 fcu,0 + αa·αb·fb 不为正，无法计算");
        }
        const Exact computed = (m_x.alphaA * m_x.fb / below).rounded(-2);
        const double wb = number(computed, "alphaA", "水胶比");
        m_out.waterBinderComputed = wb;
        record(
            {.symbol = "W/B",
             .name = given ? "水胶比（按公式计算，供参考）" : "水胶比",
             .formula = "W/B = αa·fb / (fcu,0 + αa·αb·fb)",
             .substituted = "{.2} × {.1} / ({.1} + {.2} × {.2} × {.1})",
             .operands = {m_out.alphaA, m_out.fb, m_out.fcu0, m_out.alphaA, m_out.alphaB, m_out.fb},
             .value = wb,
             .rounding = "0.01"});
        if (!given && computed.sign() <= 0) {
            refuse("alphaA", "计算的水胶比为 {.2}，不能用于设计", {wb});
        }
        m_x.waterBinder = computed;
        m_out.waterBinder = wb;
    }
    if (given) {
        const double wb = positive(*m_in.waterBinder, "waterBinder", "水胶比 W/B");
        m_x.waterBinder = Exact::of(wb);
        m_out.waterBinder = wb;
        taken("W/B", "水胶比", wb, "", Origin::Given,
              formula ? "给定（经试配确定）" : "给定（经试配确定，JGJ 55-2011 第 7.3 节）");
        m_out.steps.back().places = 2;
    }
    durabilityLimit();
}

// The water-binder ratio within the largest the environment allows, and a
// warning when the strength class is below the environment's lowest.
void Designer::durabilityLimit() {
    if (!m_in.environment) {
        return;
    }
    for (const DurabilityRow& row : kDurabilityRows) {
        if (row.environment != *m_in.environment) {
            continue;
        }
        const double limit = hundredths(row.maxWaterBinderHundredth);
        if (m_x.waterBinder > Exact::scaled(row.maxWaterBinderHundredth, 2)) {
            m_out.notes.push_back(
                {std::string(m_in.waterBinder ? "给定水胶比 {.2} " : "计算水胶比 {.2} ") +
                     "大于环境类别" + std::string(row.name) + "的最大水胶比 {.2}，取 {.2}",
                 {m_out.waterBinder, limit, limit}});
            m_out.notes.back().input = "environment";
            m_x.waterBinder = Exact::scaled(row.maxWaterBinderHundredth, 2);
            m_out.waterBinder = limit;
            taken("W/B", "水胶比（耐久性限值）", limit, "", Origin::Table,
                  std::string(kDurabilityTable) + "，环境类别" + std::string(row.name) + "行");
            m_out.steps.back().places = 2;
        }
        const std::string env = "（" + std::string(row.name) + "）";
        m_out.checks.push_back({"W/B {.2} ≤ {.2}" + env + " 满足", {m_out.waterBinder, limit}});
        if (m_fcuk < row.minimumClass) {
            m_out.warnings.push_back(
                {"强度等级 C{} 低于环境类别" + std::string(row.name) + "的最低强度等级 C{}",
                 {m_fcuk, double(row.minimumClass)}});
            m_out.warnings.back().input = "fcuk";
        } else {
            m_out.checks.push_back(
                {"C{} ≥ C{}" + env + " 满足", {m_fcuk, double(row.minimumClass)}});
        }
    }
}

// The table's water for the stone, its size and the consistency; a size
// between two columns takes the straight line between them, not rounded.
Exact Designer::tableWater() {
    const Stone kind = stone("用水量按粗骨料品种查表");
    const bool plastic = m_in.slump && *m_in.slump >= kLowestSlump;
    if (!plastic && !m_in.vebe) {
        if (m_in.slump) {
            refuse("slump", "坍落度 {} mm 小于 10 mm，属干硬性混凝土，请给出维勃稠度",
                   {*m_in.slump});
        }
        refuse("slump", "请给出坍落度（塑性混凝土）或维勃稠度（干硬性混凝土）");
    }
    // 5.2.1: the tables are for ratios of 0.40 to 0.80.
    const auto [lowest, highest] = kWaterTableRatioHundredth;
    if (m_x.waterBinder < Exact::scaled(lowest, 2)) {
        refuse("water", "水胶比 {.2} 小于 {.2}，用水量应经试验确定，请给出用水量 mw0′",
               {m_out.waterBinder, hundredths(lowest)});
    }
    if (m_x.waterBinder > Exact::scaled(highest, 2)) {
        refuse("water", "水胶比 {.2} 大于 {.2}，用水量应经试验确定，请给出用水量 mw0′",
               {m_out.waterBinder, hundredths(highest)});
    }
    const WaterTable* table = &tableFor(plastic ? kPlasticWater : kDryWater, kind);
    const std::string name(plastic ? kPlasticWaterTable : kDryWaterTable);
    const std::span<const int> sizes(table->sizeTenthMm.data(),
                                     static_cast<std::size_t>(table->columns));
    const ColumnAt at = columnAt(sizes, name, kind, "请给出用水量");
    // A row's water at the size.
    const auto cell = [&at](const WaterRow& row) {
        Exact low(row.water[at.low]);
        if (at.share.sign() == 0) {
            return low;
        }
        return low + (Exact(row.water[at.low + 1]) - low) * at.share;
    };
    // The row read ("{}" for its bounds), what is added after the column(s)
    // in the source, and the step's formula.
    struct Read {
        std::string_view rowWords;
        std::string_view more;
        std::string_view formula;
        std::string_view substituted;
        Figures operands;
    };
    const auto read = [&](const WaterRow& row, const Read& how, const Exact& value) {
        Figures numbers{double(row.from), double(row.to)};
        std::string source =
            name + std::string(how.rowWords) + columnWords(kind, at, sizes, numbers);
        source += how.more;
        record({.symbol = "mw0′",
                .name = "未掺外加剂时的用水量",
                .formula = how.formula,
                .substituted = how.substituted,
                .operands = how.operands,
                .value = number(value, "slump", "用水量"),
                .unit = "kg/m³",
                .origin = Origin::Table,
                .source = std::move(source),
                .sourceNumbers = numbers});
        return value;
    };
    if (plastic) {
        const double slump = checked(*m_in.slump, "slump", "坍落度");
        // A slump belongs to the first row whose upper bound it does not
        // exceed: 32 mm reads the 35–50 mm row.
        for (int r = 0; r < table->rowCount; ++r) {
            const WaterRow& row = table->rows[static_cast<std::size_t>(r)];
            if (slump <= row.to) {
                const Exact water = cell(row);
                return read(row,
                            {.rowWords = "，坍落度 {}～{} mm 行",
                             .more = "",
                             .formula = "mw0′",
                             .substituted = "{}",
                             .operands = {water.toDouble()}},
                            water);
            }
        }
        // Above the last row: its water and 5 kg for every 20 mm more, in
        // proportion and not rounded (100 mm adds 2.5 kg).
        const WaterRow& last = table->rows[static_cast<std::size_t>(table->rowCount - 1)];
        const Exact base = cell(last);
        const Exact water = base + Exact(kWaterPerSlumpStep) * (Exact::of(slump) - Exact(last.to)) /
                                       Exact(kSlumpStep);
        return read(last,
                    {.rowWords = "，坍落度 {}～{} mm 行",
                     .more = "，每增大 20 mm 加 5 kg",
                     .formula = "mw0′ = mw0,90 + 5 × (坍落度 − 90) / 20",
                     .substituted = "{} + 5 × ({} − {}) / 20",
                     .operands = {base.toDouble(), slump, double(last.to)}},
                    water);
    }
    const double vebe = checked(*m_in.vebe, "vebe", "维勃稠度");
    for (int r = table->rowCount - 1; r >= 0; --r) {
        const WaterRow& row = table->rows[static_cast<std::size_t>(r)];
        // Rows from the longest time (16–20 s) down; a time belongs to the
        // shortest whose upper bound it does not exceed.
        if (vebe >= table->rows[static_cast<std::size_t>(table->rowCount - 1)].from &&
            vebe <= row.to) {
            const Exact water = cell(row);
            return read(row,
                        {.rowWords = "，维勃稠度 {}～{} s 行",
                         .more = "",
                         .formula = "mw0′",
                         .substituted = "{}",
                         .operands = {water.toDouble()}},
                        water);
        }
    }
    refuse("vebe", "维勃稠度 {} s 不在" + name + "的 5～20 s 之内，请给出用水量", {vebe});
}

// Step 5: the water, less what the admixture saves.
void Designer::waterContent() {
    Exact water;
    if (m_in.water) {
        const double given = positive(*m_in.water, "water", "用水量 mw0′");
        water = Exact::of(given);
        taken("mw0′", "未掺外加剂时的用水量", given, "kg/m³", Origin::Given, "给定");
    } else {
        water = tableWater();
    }
    m_out.tableWater = number(water, "water", "用水量");
    const double beta = m_in.admixture ? m_in.admixture->waterReduction.value_or(0.0) : 0.0;
    if (!(beta >= 0.0 && beta < 1.0)) {
        refuse("admixture", "外加剂减水率须在 0 与 1 之间（以分数计），现为 {}", {beta});
    }
    m_x.water = (water * (Exact(1) - Exact::of(beta))).rounded(0);
    m_out.water = number(m_x.water, "water", "用水量");
    record({.symbol = "mw0",
            .name = "用水量",
            .formula = "mw0 = mw0′(1 − β)",
            .substituted = "{} × (1 − {})",
            .operands = {m_out.tableWater, beta},
            .value = m_out.water,
            .unit = "kg/m³",
            .rounding = "1 kg"});
    if (m_x.water.sign() <= 0) {
        refuse("water", "用水量为 0，无法设计");
    }
}

// Step 6: the binder, at least the minimum for the ratio and the structure,
// and its parts.
void Designer::binderContent() {
    m_x.binder = (m_x.water / m_x.waterBinder).rounded(0);
    double binder = number(m_x.binder, "water", "胶凝材料用量");
    record({.symbol = "mb0",
            .name = "胶凝材料用量",
            .formula = "mb0 = mw0 / (W/B)",
            .substituted = "{} / {.2}",
            .operands = {m_out.water, m_out.waterBinder},
            .value = binder,
            .unit = "kg/m³",
            .rounding = "1 kg"});
    const Structure structure = m_in.structure.value_or(Structure::Reinforced);
    const auto column = static_cast<std::size_t>(structure);
    const MinimumBinderRow* row = &kMinimumBinderRows.back();
    for (const MinimumBinderRow& r : kMinimumBinderRows) {
        if (r.waterBinderUpToHundredth != 0 &&
            m_x.waterBinder <= Exact::scaled(r.waterBinderUpToHundredth, 2)) {
            row = &r;
            break;
        }
    }
    const double minimum = row->binder[column];
    if (m_fcuk <= kMinimumBinderFromAbove) {
        // 3.0.4 leaves C15 and below without a minimum.
        m_out.notes.push_back({"强度等级 C{} 不高于 C{}，按 JGJ 55-2011 第 3.0.4 条不受最小胶凝材料"
                               "用量的限制",
                               {m_fcuk, double(kMinimumBinderFromAbove)}});
        m_out.notes.back().input = "fcuk";
    } else if (!m_minimum) {
        // A trial mix at W/B ± 0.05 keeps the binder its water gives.
    } else if (!(m_x.binder < Exact(row->binder[column]))) {
        m_out.checks.push_back({"mb0 {} ≥ {}（" + std::string(structureName(structure)) + "） 满足",
                                {binder, minimum}});
    } else {
        m_out.notes.push_back({"胶凝材料用量 {} kg/m³ 小于" +
                                   std::string(structureName(structure)) +
                                   "在水胶比 {.2} 时的最小胶凝材料用量 {} kg/m³，取 {} kg/m³",
                               {binder, m_out.waterBinder, minimum, minimum}});
        m_out.notes.back().input = "structure";
        binder = minimum;
        m_x.binder = row->binder[column];
        const std::string rowText =
            row->waterBinderUpToHundredth != 0 ? "水胶比 ≤ {.2} 行" : "水胶比 > {.2} 行";
        const double bound = row->waterBinderUpToHundredth != 0
                                 ? hundredths(row->waterBinderUpToHundredth)
                                 : hundredths(kMinimumBinderRows[2].waterBinderUpToHundredth);
        taken("mb0", "胶凝材料用量（最小用量）", binder, "kg/m³", Origin::Table,
              std::string(kMinimumBinderTable) + "，" + rowText + "，" +
                  std::string(structureName(structure)) + "列",
              {bound});
    }
    m_out.binder = binder;
    m_x.flyAsh = (m_x.binder * m_x.flyAshFraction).rounded(0);
    m_out.flyAsh = number(m_x.flyAsh, "flyAsh", "粉煤灰用量");
    record({.symbol = "mf0",
            .name = "粉煤灰用量",
            .formula = "mf0 = mb0·βf",
            .substituted = "{} × {}",
            .operands = {binder, m_flyAshFraction},
            .value = m_out.flyAsh,
            .unit = "kg/m³",
            .rounding = "1 kg"});
    m_x.slag = (m_x.binder * m_x.slagFraction).rounded(0);
    m_out.slag = number(m_x.slag, "slag", "矿渣粉用量");
    record({.symbol = "mk0",
            .name = "矿渣粉用量",
            .formula = "mk0 = mb0·βk",
            .substituted = "{} × {}",
            .operands = {binder, m_slagFraction},
            .value = m_out.slag,
            .unit = "kg/m³",
            .rounding = "1 kg"});
    m_x.cement = m_x.binder - m_x.flyAsh - m_x.slag;
    m_out.cement = number(m_x.cement, "slag", "水泥用量");
    record({.symbol = "mc0",
            .name = "水泥用量",
            .formula = "mc0 = mb0 − mf0 − mk0",
            .substituted = "{} − {} − {}",
            .operands = {binder, m_out.flyAsh, m_out.slag},
            .value = m_out.cement,
            .unit = "kg/m³"});
    if (m_x.cement.sign() <= 0) {
        refuse("slag", "扣除粉煤灰和矿渣粉后水泥用量为 {} kg/m³，须为正", {m_out.cement});
    }
    m_out.admixture =
        number((m_x.binder * m_x.admixtureFraction).rounded(-2), "admixture", "外加剂用量");
    record({.symbol = "ma0",
            .name = "外加剂用量",
            .formula = "ma0 = mb0·βa",
            .substituted = "{} × {}",
            .operands = {binder, m_admixtureFraction},
            .value = m_out.admixture,
            .unit = "kg/m³",
            .rounding = "0.01 kg"});
}

// The middle of table 5.4.2's range for the water-binder ratio and the
// coarse aggregate, in proportion between rows and between columns.
Exact Designer::tableSandRatio() {
    const Stone kind = stone("砂率按粗骨料品种查表 5.4.2");
    const SandRatioTable* table = &tableFor(kSandRatio, kind);
    const auto& rows = table->waterBinderHundredth;
    const int first = rows.front();
    const int last = rows.back();
    const Exact& ratio = m_x.waterBinder;
    if (ratio < Exact::scaled(first, 2) || ratio > Exact::scaled(last, 2)) {
        refuse("sandRatio", "水胶比 {.2} 在表 5.4.2 的 {.2}～{.2} 之外，请给出砂率",
               {m_out.waterBinder, hundredths(first), hundredths(last)});
    }
    const ColumnAt at = columnAt(table->sizeTenthMm, kSandRatioTable, kind, "请给出砂率");
    // The row above the ratio and the share of the next.
    std::size_t r = 0;
    while (r + 2 < rows.size() && ratio > Exact::scaled(rows[r + 1], 2)) {
        ++r;
    }
    const Exact share =
        (ratio - Exact::scaled(rows[r], 2)) / Exact::scaled(rows[r + 1] - rows[r], 2);
    // The middle of a cell's range, and of a row at the size.
    const auto middleOf = [](const SandRatioCell& c) {
        return Exact(c.lower + c.upper) / Exact(2);
    };
    const auto rowAt = [&](std::size_t row) {
        Exact low = middleOf(table->cells[row][at.low]);
        if (at.share.sign() == 0) {
            return low;
        }
        return low + (middleOf(table->cells[row][at.low + 1]) - low) * at.share;
    };
    const Exact upper = rowAt(r);
    Exact middle = share.sign() == 0 ? upper : upper + (rowAt(r + 1) - upper) * share;
    Figures numbers;
    std::string rowText;
    if (share.sign() == 0 || share == Exact(1)) {
        rowText = "水胶比 {.2} 行";
        numbers.push(hundredths(rows[share.sign() == 0 ? r : r + 1]));
    } else {
        rowText = "水胶比 {.2} 行与 {.2} 行之间线性插值";
        numbers.push(hundredths(rows[r]));
        numbers.push(hundredths(rows[r + 1]));
    }
    const std::string columnText = columnWords(kind, at, table->sizeTenthMm, numbers);
    taken("βs,表", "砂率（表中范围的中值）", middle.toDouble(), "%", Origin::Table,
          std::string(kSandRatioTable) + "，" + rowText + columnText, numbers);
    return middle;
}

// Step 7: the sand ratio, given or from table 5.4.2.
void Designer::sandRatio() {
    if (m_in.sandRatio) {
        const double given = checked(*m_in.sandRatio, "sandRatio", "砂率");
        if (!(given > 0.0 && given < 100.0)) {
            refuse("sandRatio", "砂率须在 0 与 100 % 之间，现为 {}%", {given});
        }
        m_out.sandRatio = given;
        m_x.sandRatio = Exact::of(given);
        taken("βs", "砂率", given, "%", Origin::Given, "给定");
        return;
    }
    if (!(m_in.slump && *m_in.slump >= kLowestSlump)) {
        // 5.4.2: the table is for slumps of 10 to 60 mm (and above, by its
        // rule); a dry-hard mix takes its sand ratio from trial mixes.
        refuse("sandRatio", "干硬性混凝土（坍落度小于 10 mm）的砂率应经试验确定，表 5.4.2 不适用"
                            "（JGJ 55-2011 第 5.4.2 条），请给出砂率");
    }
    const Exact middle = tableSandRatio();
    if (m_in.slump && *m_in.slump > kSandRatioSlumpFrom) {
        // 1 % for every 20 mm of slump above 60 mm, in proportion.
        const double slump = checked(*m_in.slump, "slump", "砂率");
        m_x.sandRatio =
            (middle + (Exact::of(slump) - Exact(kSandRatioSlumpFrom)) / Exact(kSlumpStep))
                .rounded(0);
        m_out.sandRatio = number(m_x.sandRatio, "slump", "砂率");
        record({.symbol = "βs",
                .name = "砂率",
                .formula = "βs = βs,表 + (坍落度 − 60) / 20",
                .substituted = "{} + ({} − 60) / 20",
                .operands = {middle.toDouble(), slump},
                .value = m_out.sandRatio,
                .unit = "%",
                .rounding = "1%",
                .source = "坍落度大于 60 mm，每增大 20 mm 砂率增大 1%"});
    } else {
        m_x.sandRatio = middle.rounded(0);
        m_out.sandRatio = number(m_x.sandRatio, "slump", "砂率");
        record({.symbol = "βs",
                .name = "砂率",
                .formula = "βs = βs,表",
                .substituted = "{}",
                .operands = {middle.toDouble()},
                .value = m_out.sandRatio,
                .unit = "%",
                .rounding = "1%"});
    }
    if (!(m_out.sandRatio > 0.0 && m_out.sandRatio < 100.0)) {
        refuse("slump", "砂率 {}% 不在 0 与 100% 之间", {m_out.sandRatio});
    }
}

namespace {

// The admixture's share of the binder in percent.
Exact percentExact(const Exact& fraction) {
    return fraction * Exact(100);
}

int cementColumn(CementType type) {
    return type == CementType::PO ? 1 : 0;
}

} // namespace

// 3.0.5: the largest share of fly ash, slag and both together, by structure,
// cement and the final ratio; a share above it is a warning (the standard
// says 宜), not a refusal.
void Designer::mineralLimits() {
    const Structure structure = m_in.structure.value_or(Structure::Reinforced);
    const CementType cement = m_in.cementType.value_or(CementType::PO);
    const bool any = m_x.flyAshFraction.sign() > 0 || m_x.slagFraction.sign() > 0;
    if (structure == Structure::Plain || !any) {
        return;
    }
    if (cement != CementType::PI && cement != CementType::PII && cement != CementType::PO) {
        m_out.notes.push_back({"水泥品种 " + std::string(cementTypeName(cement)) +
                                   " 不在表 3.0.5 之列，未检查矿物掺合料最大掺量；此种水泥中 {}% "
                                   "以上的混合材量应计入矿物掺合料（JGJ 55-2011 第 3.0.5 条注 1）",
                               {double(kCementMixedMaterialPercent)}});
        m_out.notes.back().input = "cementType";
        return;
    }
    const bool both = m_x.flyAshFraction.sign() > 0 && m_x.slagFraction.sign() > 0;
    if (m_x.flyAshFraction.sign() > 0) {
        mineralLimit(Mineral::FlyAsh, m_x.flyAshFraction);
    }
    if (m_x.slagFraction.sign() > 0) {
        mineralLimit(Mineral::Slag, m_x.slagFraction);
    }
    if (both) {
        mineralLimit(Mineral::Combined, m_x.flyAshFraction + m_x.slagFraction);
    }
}

// One row of table 3.0.5-1 or 3.0.5-2 for P·I, P·II or P·O: met, or a warning.
void Designer::mineralLimit(Mineral mineral, const Exact& fraction) {
    const Structure structure = m_in.structure.value_or(Structure::Reinforced);
    const CementType cement = m_in.cementType.value_or(CementType::PO);
    const bool upTo = m_x.waterBinder <= Exact::scaled(kAdmixtureRatioBoundHundredth, 2);
    const auto column = static_cast<std::size_t>(cementColumn(cement));
    const std::string_view table =
        structure == Structure::Reinforced ? kReinforcedAdmixtureTable : kPrestressedAdmixtureTable;
    // "表 3.0.5-1": the table's number alone.
    const std::string number(table.substr(0, table.find(' ', table.find(' ') + 1)));
    const std::string name(mineralName(mineral));
    for (const AdmixtureLimitRow& row : kAdmixtureLimits) {
        if (row.structure != structure || row.mineral != mineral) {
            continue;
        }
        const int limit = upTo ? row.upTo[column] : row.above[column];
        const Exact percent = percentExact(fraction);
        if (!(percent > Exact(limit))) {
            std::string met = name;
            met += " {}% ≤ {}%（";
            met += number;
            met += "） 满足";
            m_out.checks.push_back({std::move(met), {percent.toDouble(), double(limit)}});
            continue;
        }
        std::string over = name;
        over += "掺量 {}% 超过";
        over += table;
        over += "的";
        over += name;
        over += upTo ? "、水胶比 ≤ {.2} 行、" : "、水胶比 > {.2} 行、";
        over += cement == CementType::PO ? "普通硅酸盐水泥" : "硅酸盐水泥";
        over += "列的最大掺量 {}%（宜不大于）";
        m_out.warnings.push_back(
            {std::move(over),
             {percent.toDouble(), hundredths(kAdmixtureRatioBoundHundredth), double(limit)},
             mineral == Mineral::Slag ? "slag" : "flyAsh"});
    }
}

// 7.3.2: the usual ranges of a high-strength mix, each a warning when left.
void Designer::highStrengthRanges() {
    if (m_fcuk < kHighStrengthFrom) {
        return;
    }
    const HighStrengthRow* row = &kHighStrengthRows.front();
    for (const HighStrengthRow& r : kHighStrengthRows) {
        if (m_fcuk >= r.fcukFrom) {
            row = &r;
        }
    }
    const auto outside = [this](const std::string& what, const Exact& value, double shown,
                                const Exact& lower, const Exact& upper, const std::string& range,
                                std::vector<double> bounds) {
        std::vector<double> numbers{shown};
        numbers.insert(numbers.end(), bounds.begin(), bounds.end());
        if (value < lower || value > upper) {
            m_out.warnings.push_back(
                {what + " 不在高强混凝土宜取的 " + range + " 之内（JGJ 55-2011 第 7.3.2 条）",
                 std::move(numbers)});
            return true;
        }
        m_out.checks.push_back({what + " 在 " + range + " 之内（第 7.3.2 条） 满足", numbers});
        return false;
    };
    const auto about = [this](const char* input) { m_out.warnings.back().input = input; };
    const auto [wbLow, wbHigh] = row->waterBinderHundredth;
    if (outside("水胶比 {.2}", m_x.waterBinder, m_out.waterBinder, Exact::scaled(wbLow, 2),
                Exact::scaled(wbHigh, 2), "{.2}～{.2}", {hundredths(wbLow), hundredths(wbHigh)})) {
        about("waterBinder");
    }
    const auto [bLow, bHigh] = row->binder;
    if (outside("胶凝材料用量 {} kg/m³", m_x.binder, m_out.binder, Exact(bLow), Exact(bHigh),
                "{}～{} kg/m³", {double(bLow), double(bHigh)})) {
        about("water");
    }
    const auto [sLow, sHigh] = kHighStrengthSandRatio;
    if (outside("砂率 {}%", m_x.sandRatio, m_out.sandRatio, Exact(sLow), Exact(sHigh), "{}%～{}%",
                {double(sLow), double(sHigh)})) {
        about("sandRatio");
    }
    if (m_x.cement > Exact(kHighStrengthMaxCement)) {
        m_out.warnings.push_back({"水泥用量 {} kg/m³ 大于高强混凝土宜取的 {} kg/m³（JGJ 55-2011 "
                                  "第 7.3.2 条）",
                                  {m_out.cement, double(kHighStrengthMaxCement)}});
        m_out.warnings.back().input = "flyAsh";
    } else {
        m_out.checks.push_back({"水泥用量 {} ≤ {} kg/m³（第 7.3.2 条） 满足",
                                {m_out.cement, double(kHighStrengthMaxCement)}});
    }
    const auto [mLow, mHigh] = kHighStrengthMineral;
    const Exact mineral = percentExact(m_x.flyAshFraction + m_x.slagFraction);
    if (outside("矿物掺合料掺量 {}%", mineral, mineral.toDouble(), Exact(mLow), Exact(mHigh),
                "{}%～{}%", {double(mLow), double(mHigh)})) {
        about("flyAsh");
    }
}

// Step 8: sand and stone, by the mass or the volume method.
void Designer::aggregates() {
    m_out.method = m_in.method.value_or(Method::Mass);
    const double binder = m_out.binder;
    const double water = m_out.water;
    if (m_out.method == Method::Mass) {
        massMethod();
    } else {
        volumeMethod();
    }
    const Exact apparent = m_x.binder + m_x.water + m_x.sand + m_x.stone;
    m_out.apparentDensity = number(apparent, "assumedDensity", "计算表观密度");
    record({.symbol = "ρc,c",
            .name = "计算表观密度",
            .formula = "ρc,c = mb0 + mw0 + ms0 + mg0",
            .substituted = "{} + {} + {} + {}",
            .operands = {binder, water, m_out.sand, m_out.stone},
            .value = m_out.apparentDensity,
            .unit = "kg/m³"});
}

// The mass method: the aggregates fill the assumed mass of a cubic metre.
void Designer::massMethod() {
    const double mcp = positive(m_in.assumedDensity.value_or(kDefaultAssumedDensity),
                                "assumedDensity", "混凝土拌合物的假定表观密度 mcp");
    taken("mcp", "混凝土拌合物的假定表观密度", mcp, "kg/m³",
          m_in.assumedDensity ? Origin::Given : Origin::Default,
          m_in.assumedDensity ? "给定" : "默认值（通常 2350～2450 kg/m³）");
    const Exact total = Exact::of(mcp) - m_x.binder - m_x.water;
    const double totalValue = number(total, "assumedDensity", "砂石总量");
    record({.symbol = "T",
            .name = "砂石总量",
            .formula = "T = mcp − mb0 − mw0",
            .substituted = "{} − {} − {}",
            .operands = {mcp, m_out.binder, m_out.water},
            .value = totalValue,
            .unit = "kg/m³"});
    if (total.sign() <= 0) {
        refuse("assumedDensity", "假定表观密度 {} kg/m³ 不足以容纳胶凝材料与水，砂石总量为 {}",
               {mcp, totalValue});
    }
    // βs is in percent.
    m_x.sand = (m_x.sandRatio * total / Exact(100)).rounded(0);
    m_out.sand = number(m_x.sand, "sandRatio", "砂用量");
    record({.symbol = "ms0",
            .name = "砂用量",
            .formula = "ms0 = βs·T",
            .substituted = "{}% × {}",
            .operands = {m_out.sandRatio, totalValue},
            .value = m_out.sand,
            .unit = "kg/m³",
            .rounding = "1 kg"});
    m_x.stone = total - m_x.sand;
    m_out.stone = number(m_x.stone, "sandRatio", "粗骨料用量");
    record({.symbol = "mg0",
            .name = "粗骨料用量",
            .formula = "mg0 = T − ms0",
            .substituted = "{} − {}",
            .operands = {totalValue, m_out.sand},
            .value = m_out.stone,
            .unit = "kg/m³"});
}

// The volume method: the aggregates fill what the binder, the water and the
// air leave of a cubic metre.
void Designer::volumeMethod() {
    const auto density = [this](const std::optional<double>& given, double fallback,
                                const char* input, const char* name) {
        return positive(given.value_or(fallback), input, name);
    };
    const double rc =
        density(m_in.cementDensity, kDefaultCementDensity, "cementDensity", "水泥密度 ρc");
    const double rf = density(m_in.flyAsh ? m_in.flyAsh->density : std::nullopt,
                              kDefaultFlyAshDensity, "flyAsh", "粉煤灰密度 ρf");
    const double rk = density(m_in.slag ? m_in.slag->density : std::nullopt, kDefaultSlagDensity,
                              "slag", "矿渣粉密度 ρk");
    const double rs =
        density(m_in.sandDensity, kDefaultSandDensity, "sandDensity", "砂的表观密度 ρs");
    const double rg =
        density(m_in.stoneDensity, kDefaultStoneDensity, "stoneDensity", "粗骨料的表观密度 ρg");
    const double rw =
        density(m_in.waterDensity, kDefaultWaterDensity, "waterDensity", "水的密度 ρw");
    const double air = checked(m_in.air.value_or(kDefaultAir), "air", "含气量");
    if (!(air >= 0.0 && air < 100.0)) {
        refuse("air", "含气量须在 0 与 100% 之间，现为 {}%", {air});
    }
    const Exact volume = Exact(1) - m_x.cement / Exact::of(rc) - m_x.flyAsh / Exact::of(rf) -
                         m_x.slag / Exact::of(rk) - m_x.water / Exact::of(rw) -
                         Exact::scaled(1, 2) * Exact::of(air);
    const double volumeValue = number(volume, "air", "砂石体积");
    record({.symbol = "V",
            .name = "砂石的体积",
            .formula = "V = 1 − mc0/ρc − mf0/ρf − mk0/ρk − mw0/ρw − 0.01α",
            .substituted = "1 − {}/{} − {}/{} − {}/{} − {}/{} − 0.01 × {}",
            .operands = {m_out.cement, rc, m_out.flyAsh, rf, m_out.slag, rk, m_out.water, rw, air},
            .value = volumeValue,
            .unit = "m³"});
    if (volume.sign() <= 0) {
        // The volume to the litre, as a checker reads it.
        refuse("air", "胶凝材料、水与空气已占满 1 m³，砂石的体积为 {.3} m³",
               {roundHalfUp(volumeValue, 3)});
    }
    const Exact fraction = m_x.sandRatio / Exact(100);
    const Exact total = volume / (fraction / Exact::of(rs) + (Exact(1) - fraction) / Exact::of(rg));
    const double fractionValue = number(fraction, "sandRatio", "砂率");
    const double totalValue = number(total, "sandDensity", "砂石总量");
    record({.symbol = "T",
            .name = "砂石总量",
            .formula = "T = V / (βs/ρs + (1 − βs)/ρg)",
            .substituted = "{} / ({}/{} + (1 − {})/{})",
            .operands = {volumeValue, fractionValue, rs, fractionValue, rg},
            .value = totalValue,
            .unit = "kg/m³"});
    m_x.sand = (fraction * total).rounded(0);
    m_out.sand = number(m_x.sand, "sandRatio", "砂用量");
    record({.symbol = "ms0",
            .name = "砂用量",
            .formula = "ms0 = βs·T",
            .substituted = "{} × {}",
            .operands = {fractionValue, totalValue},
            .value = m_out.sand,
            .unit = "kg/m³",
            .rounding = "1 kg"});
    m_x.stone = ((Exact(1) - fraction) * total).rounded(0);
    m_out.stone = number(m_x.stone, "sandRatio", "粗骨料用量");
    record({.symbol = "mg0",
            .name = "粗骨料用量",
            .formula = "mg0 = (1 − βs)·T",
            .substituted = "(1 − {}) × {}",
            .operands = {fractionValue, totalValue},
            .value = m_out.stone,
            .unit = "kg/m³",
            .rounding = "1 kg"});
}

// Step 9: the construction mix. As on the classic sheet it is made only when
// both moisture contents are given: the wet aggregate is heavier by its
// moisture and the water it carries comes off the water to be added. No
// figure of it is rounded.
void Designer::construction() {
    if (!m_in.sandMoisture || !m_in.stoneMoisture) {
        return;
    }
    const double ws = checked(*m_in.sandMoisture, "sandMoisture", "砂的含水率");
    const double wg = checked(*m_in.stoneMoisture, "stoneMoisture", "石子的含水率");
    if (ws < 0.0 || ws >= 100.0) {
        refuse("sandMoisture", "砂的含水率须在 0 与 100% 之间，现为 {}%", {ws});
    }
    if (wg < 0.0 || wg >= 100.0) {
        refuse("stoneMoisture", "石子的含水率须在 0 与 100% 之间，现为 {}%", {wg});
    }
    const Exact sandWet = Exact::of(ws) / Exact(100);
    const Exact stoneWet = Exact::of(wg) / Exact(100);
    ConstructionMix mix{.cement = m_out.cement,
                        .flyAsh = m_out.flyAsh,
                        .slag = m_out.slag,
                        .water = 0.0,
                        .sand = 0.0,
                        .stone = 0.0,
                        .admixture = m_out.admixture};
    mix.sand = number(m_x.sand * (Exact(1) + sandWet), "sandMoisture", "施工配合比的砂用量");
    record({.symbol = "ms",
            .name = "施工配合比的砂用量",
            .formula = "ms = ms0(1 + ws)",
            .substituted = "{} × (1 + {}%)",
            .operands = {m_out.sand, ws},
            .value = mix.sand,
            .unit = "kg/m³"});
    mix.stone =
        number(m_x.stone * (Exact(1) + stoneWet), "stoneMoisture", "施工配合比的粗骨料用量");
    record({.symbol = "mg",
            .name = "施工配合比的粗骨料用量",
            .formula = "mg = mg0(1 + wg)",
            .substituted = "{} × (1 + {}%)",
            .operands = {m_out.stone, wg},
            .value = mix.stone,
            .unit = "kg/m³"});
    const Exact water = m_x.water - m_x.sand * sandWet - m_x.stone * stoneWet;
    mix.water = number(water, "sandMoisture", "施工配合比的用水量");
    record({.symbol = "mw",
            .name = "施工配合比的用水量",
            .formula = "mw = mw0 − ms0·ws − mg0·wg",
            .substituted = "{} − {} × {}% − {} × {}%",
            .operands = {m_out.water, m_out.sand, ws, m_out.stone, wg},
            .value = mix.water,
            .unit = "kg/m³"});
    if (water.sign() < 0) {
        m_out.warnings.push_back(
            {"骨料带入的水多于用水量，施工配合比的加水量为 {} kg/m³", {mix.water}});
        m_out.warnings.back().input = "sandMoisture";
    }
    m_out.construction = mix;
}

} // namespace

Outcome design(const Input& input) {
    try {
        return Outcome{.result = Designer(input).run(), .refusal = {}};
    } catch (const Refused& refused) {
        return Outcome{.result = std::nullopt, .refusal = refused.refusal};
    }
}

Outcome proportion(const Input& input, const Proportioning& given) {
    try {
        return Outcome{.result = Designer(input).proportion(given), .refusal = {}};
    } catch (const Refused& refused) {
        return Outcome{.result = std::nullopt, .refusal = refused.refusal};
    }
}

std::optional<double> figure(const Result& result, std::string_view key) {
    // The formula's figures exist below C60 only.
    if (key == "waterBinderComputed") {
        return result.waterBinderComputed;
    }
    if ((key == "alphaA" || key == "alphaB") && !result.waterBinderComputed) {
        return std::nullopt;
    }
    // fb is never 0 in a design that computed the binder's strength.
    if ((key == "fce" || key == "gammaF" || key == "gammaS" || key == "fb") && result.fb == 0.0) {
        return std::nullopt;
    }
    static constexpr std::pair<std::string_view, double Result::*> kFigures[] = {
        {"fcu0", &Result::fcu0},
        {"sigma", &Result::sigma},
        {"fce", &Result::fce},
        {"gammaF", &Result::gammaF},
        {"gammaS", &Result::gammaS},
        {"fb", &Result::fb},
        {"alphaA", &Result::alphaA},
        {"alphaB", &Result::alphaB},
        {"waterBinder", &Result::waterBinder},
        {"tableWater", &Result::tableWater},
        {"water", &Result::water},
        {"binder", &Result::binder},
        {"cement", &Result::cement},
        {"flyAsh", &Result::flyAsh},
        {"slag", &Result::slag},
        {"admixture", &Result::admixture},
        {"sandRatio", &Result::sandRatio},
        {"sand", &Result::sand},
        {"stone", &Result::stone},
        {"apparentDensity", &Result::apparentDensity},
    };
    for (const auto& [name, member] : kFigures) {
        if (name == key) {
            return result.*member;
        }
    }
    return std::nullopt;
}

std::string fill(std::string_view pattern, std::span<const double> numbers,
                 const std::function<std::string(double, int)>& write) {
    std::string out;
    std::size_t next = 0;
    while (!pattern.empty()) {
        if (next < numbers.size() && pattern.starts_with("{}")) {
            out += write(numbers[next++], -1);
            pattern.remove_prefix(2);
        } else if (next < numbers.size() && pattern.size() >= 4 && pattern.starts_with("{.") &&
                   pattern[2] >= '0' && pattern[2] <= '6' && pattern[3] == '}') {
            out += write(numbers[next++], pattern[2] - '0');
            pattern.remove_prefix(4);
        } else {
            out += pattern.front();
            pattern.remove_prefix(1);
        }
    }
    return out;
}

std::string fill(std::string_view pattern, std::span<const double> numbers,
                 const std::function<std::string(double)>& write) {
    return fill(pattern, numbers, [&write](double x, int) { return write(x); });
}

std::string plainText(const Message& message) {
    return fill(message.pattern, message.numbers, [](double v, int places) {
        return places < 0 ? shortestDecimal(v) : fixedDecimal(v, places);
    });
}

} // namespace jgj55
