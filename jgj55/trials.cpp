#include "jgj55/trials.h"

#include "calc/decimal.h"
#include "gbt50107/evaluation.h"
#include "jgj55/rounding.h"
#include "jgj55/tables.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace jgj55 {

namespace {

using calc::decimal::Exact;

// The trial batch by the maximum size (6.1.3), in litres.
constexpr double kSmallSizeUpTo = 31.5; // mm
constexpr int kSmallSizeLitres = 20;
constexpr int kLargeSizeLitres = 25;
constexpr int kCapacityShare = 4; // at least a quarter of the mixer's capacity
// The three mixes for strength (6.1.5): W/B ± 0.05, sand ratio ± 1 %.
constexpr int kStepHundredths = 5;
constexpr int kSandStepPercent = 1;
constexpr std::size_t kLeastStrengths = 3;
// Far more than any laboratory casts for one mix (program convention): the
// fit is computed exactly, and a file of thousands of groups must not make
// every keystroke wait.
constexpr std::size_t kMostStrengths = 50;
// The density correction (6.2.3): within 2 % the mix stays as it is.
constexpr int kDensityTolerancePercent = 2;
// A correlation below 0.9 is warned of (program convention).
constexpr int kLeastCorrelationTenths = 9;

struct Refused {
    TrialRefusal refusal;
};

[[noreturn]] void refuse(std::string entry, std::string message) {
    throw Refused{{.message = std::move(message), .entry = std::move(entry)}};
}

std::string written(double value) {
    return shortestDecimal(value);
}

double rounded(const Exact& value, int exponent) {
    return value.rounded(exponent).toDouble();
}

// The smallest whole number not below `value`.
Exact ceilWhole(const Exact& value) {
    Exact r = value.rounded(0);
    if (r < value) {
        r = r + Exact(1);
    }
    return r;
}

// The largest multiple of 0.01 not above `value`.
Exact floorHundredth(const Exact& value) {
    Exact r = value.rounded(-2);
    if (r > value) {
        r = r - Exact::scaled(1, 2);
    }
    return r;
}

Exact absolute(const Exact& value) {
    return value.sign() < 0 ? -value : value;
}

std::string strengthName(std::size_t index) {
    return "试配强度第 " + std::to_string(index + 1) + " 组";
}

// The whole trial computation, refusing by throwing Refused.
class Trialer {
public:
    Trialer(const Input& input, const Result& design, const Trials& trials)
        : m_in(input), m_design(design), m_trials(trials) {}

    TrialResult run();

private:
    void batchVolume();
    TrialMix mixAt(double water, double waterBinder, double sandRatio, bool minimumBinder,
                   const char* what) const;
    void threeMixes();
    std::vector<MeasuredStrength> measured() const;
    void adjust();
    void fit(Adjustment& a, const std::vector<MeasuredStrength>& points) const;
    void environmentLimit(Adjustment& a) const;
    Exact sandRatioAt(const Exact& waterBinder) const;
    void densityCorrection(Adjustment& a) const;

    const Input& m_in;
    const Result& m_design;
    const Trials& m_trials;
    TrialResult m_out;
    Exact m_fitWaterBinder; // the exact value of b / (fcu,0 − a)
};

TrialResult Trialer::run() {
    batchVolume();
    threeMixes();
    if (!m_trials.strengths.empty()) {
        adjust();
    } else if (m_trials.density) {
        refuse("density", "已给出实测表观密度，但没有试配强度：请先给出至少三组强度");
    }
    return std::move(m_out);
}

// 6.1.3: 20 L up to 31.5 mm, 25 L above; at least a quarter of the mixer's
// rated capacity and not more than it; rounded up to 1 L.
void Trialer::batchVolume() {
    if (!m_in.maxSize) {
        refuse("maxSize", "请给出粗骨料最大公称粒径：试配搅拌量按粒径取 20 L 或 25 L");
    }
    m_out.sizeLitres = *m_in.maxSize <= kSmallSizeUpTo ? kSmallSizeLitres : kLargeSizeLitres;
    Exact litres(m_out.sizeLitres);
    if (m_trials.mixerCapacity) {
        const double capacity = *m_trials.mixerCapacity;
        if (!(capacity > 0.0) || !std::isfinite(capacity)) {
            refuse("mixerCapacity", "搅拌机公称容量须为正数，现为 " + written(capacity) + " L");
        }
        const Exact quarter = Exact::of(capacity) / Exact(kCapacityShare);
        m_out.quarterLitres = quarter.toDouble();
        litres = ceilWhole(std::max(litres, quarter));
        if (litres > Exact::of(capacity)) {
            refuse("mixerCapacity", "试配搅拌量 " + written(litres.toDouble()) +
                                        " L 大于搅拌机公称容量 " + written(capacity) +
                                        " L，请用容量较大的搅拌机");
        }
    }
    m_out.batchLitres = litres.toDouble();
}

// A mix proportioned by the design's own steps, with its trial batch.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): water, W/B, sand ratio as written
TrialMix Trialer::mixAt(double water, double waterBinder, double sandRatio, bool minimumBinder,
                        const char* what) const {
    const Outcome out = proportion(m_in, {.water = water,
                                          .waterBinder = waterBinder,
                                          .sandRatio = sandRatio,
                                          .minimumBinder = minimumBinder});
    if (!out) {
        const std::string& key = out.refusal.input;
        refuse(key == "water" || key == "sandRatio" ? key : std::string(),
               std::string(what) + "：" + plainText(out.refusal.message));
    }
    const Result& r = *out.result;
    TrialMix mix{.waterBinder = r.waterBinder,
                 .sandRatio = r.sandRatio,
                 .water = r.water,
                 .binder = r.binder,
                 .cement = r.cement,
                 .flyAsh = r.flyAsh,
                 .slag = r.slag,
                 .admixture = r.admixture,
                 .sand = r.sand,
                 .stone = r.stone,
                 .density = r.apparentDensity};
    const Exact litres = Exact::of(m_out.batchLitres) / Exact(1000);
    const auto batch = [&litres](double perCubic) {
        return rounded(Exact::of(perCubic) * litres, -3);
    };
    mix.batchWater = batch(mix.water);
    mix.batchCement = batch(mix.cement);
    mix.batchFlyAsh = batch(mix.flyAsh);
    mix.batchSlag = batch(mix.slag);
    mix.batchAdmixture = batch(mix.admixture);
    mix.batchSand = batch(mix.sand);
    mix.batchStone = batch(mix.stone);
    mix.notes = r.notes;
    mix.warnings = r.warnings;
    return mix;
}

// 6.1.4 and 6.1.5: the 试拌配合比 at the design's W/B with the water and
// sand ratio the workability needed, and the mixes at W/B ± 0.05.
void Trialer::threeMixes() {
    if (m_trials.water && (!(*m_trials.water > 0.0) || !std::isfinite(*m_trials.water))) {
        refuse("water", "试拌用水量须为正数，现为 " + written(*m_trials.water) + " kg/m³");
    }
    m_out.adjusted = m_trials.water.has_value() || m_trials.sandRatio.has_value();
    const double water = m_trials.water.value_or(m_design.water);
    const double sandRatio = m_trials.sandRatio.value_or(m_design.sandRatio);
    const double wb = m_design.waterBinder;
    // Without an adjustment this is the calculated mix, its minimum binder
    // included.
    m_out.base = mixAt(water, wb, sandRatio, true, "试拌配合比");
    const Exact step = Exact::scaled(kStepHundredths, 2);
    const Exact low = (Exact::of(wb) - step).rounded(-2);
    const Exact high = (Exact::of(wb) + step).rounded(-2);
    if (low.sign() <= 0) {
        refuse({}, "水胶比 " + written(wb) + " 减 0.05 后不为正，无法做三个配合比的试配");
    }
    const Exact sand = Exact::of(sandRatio);
    m_out.mixes[0] = mixAt(water, low.toDouble(), (sand - Exact(kSandStepPercent)).toDouble(),
                           false, "水胶比较小的配合比");
    m_out.mixes[1] = m_out.base;
    m_out.mixes[2] = mixAt(water, high.toDouble(), (sand + Exact(kSandStepPercent)).toDouble(),
                           false, "水胶比较大的配合比");
}

// One measured strength as it enters the fit: a value given, or the group
// value of three specimens by GB/T 50107's rule.
MeasuredStrength measuredStrength(const TrialStrength& s, std::size_t index) {
    const std::string name = strengthName(index);
    if (!(s.waterBinder > 0.0) || !std::isfinite(s.waterBinder)) {
        refuse("strengths", name + "的水胶比须为正数，现为 " + written(s.waterBinder));
    }
    MeasuredStrength m{.waterBinder = s.waterBinder,
                       .binderWater = rounded(Exact(1) / Exact::of(s.waterBinder), -3)};
    if (s.strength && !s.specimens.empty()) {
        refuse("strengths", name + "既有强度又有试件强度，只能给出其一");
    }
    if (s.strength) {
        if (!(*s.strength > 0.0) || !std::isfinite(*s.strength)) {
            refuse("strengths", name + "的强度须为正数，现为 " + written(*s.strength) + " MPa");
        }
        m.value = *s.strength;
        return m;
    }
    if (s.specimens.size() != 3) {
        refuse("strengths", name + "须有三个试件强度（或一个强度），现有 " +
                                std::to_string(s.specimens.size()) + " 个");
    }
    for (const double specimen : s.specimens) {
        if (!(specimen > 0.0)) {
            refuse("strengths", name + "的试件强度须为正数，现为 " + written(specimen) + " MPa");
        }
    }
    const std::optional<gbt50107::GroupValue> group =
        gbt50107::groupValue(s.specimens[0], s.specimens[1], s.specimens[2]);
    if (!group) {
        refuse("strengths", name + "的试件强度超出可计算的范围");
    }
    if (group->rule == gbt50107::GroupRule::LeftOut) {
        refuse("strengths", name + "：" + gbt50107::ruleNote(*group) + "，请重做该组试验");
    }
    m.value = group->value;
    m.fromSpecimens = true;
    if (group->rule == gbt50107::GroupRule::Middle) {
        m.rule = gbt50107::ruleNote(*group);
    }
    return m;
}

// The strengths as they enter the fit, at least three.
std::vector<MeasuredStrength> Trialer::measured() const {
    if (m_trials.strengths.size() > kMostStrengths) {
        refuse("strengths", "试配强度至多 " + std::to_string(kMostStrengths) + " 组，现有 " +
                                std::to_string(m_trials.strengths.size()) + " 组");
    }
    std::vector<MeasuredStrength> points;
    for (std::size_t i = 0; i < m_trials.strengths.size(); ++i) {
        points.push_back(measuredStrength(m_trials.strengths[i], i));
    }
    if (points.size() < kLeastStrengths) {
        refuse("strengths", "试配强度至少要三组，现有 " + std::to_string(points.size()) + " 组");
    }
    return points;
}

// The least-squares line of strength on B/W, on exact figures, and the
// W/B at fcu,0 rounded down to 0.01.
void Trialer::fit(Adjustment& a, const std::vector<MeasuredStrength>& points) const {
    const Exact n(static_cast<long long>(points.size()));
    Exact sx;
    Exact sy;
    Exact sxx;
    Exact sxy;
    Exact syy;
    for (const MeasuredStrength& p : points) {
        const Exact x = Exact(1) / Exact::of(p.waterBinder);
        const Exact y = Exact::of(p.value);
        sx = sx + x;
        sy = sy + y;
        sxx = sxx + x * x;
        sxy = sxy + x * y;
        syy = syy + y * y;
    }
    const Exact lxx = sxx - sx * sx / n;
    const Exact lxy = sxy - sx * sy / n;
    const Exact lyy = syy - sy * sy / n;
    if (lxx.sign() == 0) {
        refuse("strengths", "各组试配强度的水胶比都是 " + written(points.front().waterBinder) +
                                "，至少要有两个不同的水胶比才能回归");
    }
    const Exact b = lxy / lxx;
    const Exact intercept = (sy - b * sx) / n;
    a.fit.a = rounded(intercept, -2);
    a.fit.b = rounded(b, -2);
    a.fit.points = static_cast<int>(points.size());
    if (b.sign() <= 0) {
        refuse("strengths", "强度未随胶水比增大（回归直线的斜率 b = " + written(a.fit.b) +
                                " MPa），不能由试配强度确定水胶比，请复核试验");
    }
    // r = lxy / √(lxx·lyy) > 0 here; to 0.001 by comparing squares exactly.
    const Exact r2 = lxy * lxy / (lxx * lyy);
    auto thousandths = static_cast<long long>(std::llround(std::sqrt(r2.toDouble()) * 1000.0));
    const auto below = [&r2](long long k) { // r < (2k − 1) / 2000
        const Exact edge = Exact(2 * k - 1) / Exact(2000);
        return r2 < edge * edge;
    };
    while (thousandths > 0 && below(thousandths)) {
        --thousandths;
    }
    while (!below(thousandths + 1)) {
        ++thousandths;
    }
    a.fit.r = static_cast<double>(thousandths) / 1000.0;
    const Exact least = Exact::scaled(kLeastCorrelationTenths, 1);
    if (r2 < least * least) {
        a.warnings.push_back(
            {"相关系数 r = {} 小于 0.9，强度与胶水比的线性关系较弱，宜复核试验", {a.fit.r}});
    }
    const Exact fcu0 = Exact::of(m_design.fcu0);
    a.fcu0 = m_design.fcu0;
    const Exact above = fcu0 - intercept;
    if (above.sign() <= 0) {
        refuse("strengths", "回归直线的截距 a = " + written(a.fit.a) + " MPa 不小于配制强度 " +
                                written(m_design.fcu0) + " MPa，无法求配制强度对应的胶水比");
    }
    a.binderWater = rounded(above / b, -3);
    const Exact chosen = floorHundredth(b / above);
    if (chosen.sign() <= 0) {
        refuse("strengths", "由回归直线求得的水胶比不足 0.01，请复核试配强度");
    }
    a.fittedWaterBinder = chosen.toDouble();
    a.waterBinder = a.fittedWaterBinder;
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](const MeasuredStrength& p, const MeasuredStrength& q) {
            return p.waterBinder < q.waterBinder;
        });
    a.testedLow = low->waterBinder;
    a.testedHigh = high->waterBinder;
    if (chosen < Exact::of(a.testedLow) || chosen > Exact::of(a.testedHigh)) {
        a.warnings.push_back({"选定的水胶比 {} 在试配的水胶比 {}～{} 之外，系由回归直线外推所得，"
                              "宜在其附近补做试配",
                              {a.fittedWaterBinder, a.testedLow, a.testedHigh}});
    }
}

// The environment's largest W/B (table 3.0.4), as the design applies it.
void Trialer::environmentLimit(Adjustment& a) const {
    if (!m_in.environment) {
        return;
    }
    for (const DurabilityRow& row : kDurabilityRows) {
        const Exact limit = Exact::scaled(row.maxWaterBinderHundredth, 2);
        if (row.environment == *m_in.environment && Exact::of(a.waterBinder) > limit) {
            a.notes.push_back(
                {"选定的水胶比 {} 大于环境类别" + std::string(row.name) + "的最大水胶比 {}，取 {}",
                 {a.waterBinder, limit.toDouble(), limit.toDouble()}});
            a.waterBinder = limit.toDouble();
        }
    }
}

// The sand ratio at `waterBinder`, in proportion between the three mixes'
// (their end values beyond them), to 1 % (program convention).
Exact Trialer::sandRatioAt(const Exact& waterBinder) const {
    const std::array<TrialMix, 3>& m = m_out.mixes;
    if (waterBinder <= Exact::of(m[0].waterBinder)) {
        return Exact::of(m[0].sandRatio).rounded(0);
    }
    if (waterBinder >= Exact::of(m[2].waterBinder)) {
        return Exact::of(m[2].sandRatio).rounded(0);
    }
    const std::size_t k = waterBinder <= Exact::of(m[1].waterBinder) ? 0 : 1;
    const Exact x0 = Exact::of(m[k].waterBinder);
    const Exact x1 = Exact::of(m[k + 1].waterBinder);
    const Exact y0 = Exact::of(m[k].sandRatio);
    const Exact y1 = Exact::of(m[k + 1].sandRatio);
    return (y0 + (y1 - y0) * (waterBinder - x0) / (x1 - x0)).rounded(0);
}

// 6.2.2 and 6.2.3: the adjusted mix against the measured fresh density.
void Trialer::densityCorrection(Adjustment& a) const {
    const TrialMix& mix = a.mix;
    LabMix lab{.binder = mix.binder,
               .cement = mix.cement,
               .flyAsh = mix.flyAsh,
               .slag = mix.slag,
               .water = mix.water,
               .sand = mix.sand,
               .stone = mix.stone,
               .admixture = mix.admixture};
    const double measured = *m_trials.density;
    if (!(measured > 0.0) || !std::isfinite(measured)) {
        refuse("density", "实测表观密度 ρc,t 须为正数，现为 " + written(measured) + " kg/m³");
    }
    const Exact t = Exact::of(measured);
    const Exact c = Exact::of(mix.density);
    DensityCorrection d{.computed = mix.density, .measured = measured};
    const Exact delta = (t / c).rounded(-3);
    d.delta = delta.toDouble();
    const Exact difference = absolute(t - c);
    d.differencePercent = rounded(difference * Exact(100) / c, -1);
    d.corrected = difference * Exact(100) > c * Exact(kDensityTolerancePercent);
    if (d.corrected) {
        const auto kg = [&delta](double mass) { return rounded(Exact::of(mass) * delta, 0); };
        lab.cement = kg(mix.cement);
        lab.flyAsh = kg(mix.flyAsh);
        lab.slag = kg(mix.slag);
        lab.binder = lab.cement + lab.flyAsh + lab.slag;
        lab.water = kg(mix.water);
        lab.sand = kg(mix.sand);
        lab.stone = kg(mix.stone);
        lab.admixture = rounded(Exact::of(mix.admixture) * delta, -2);
    }
    a.correction = d;
    a.lab = lab;
}

// 6.2.1 to 6.2.3 and the design's checks again.
void Trialer::adjust() {
    Adjustment a;
    a.strengths = measured();
    fit(a, a.strengths);
    environmentLimit(a);
    const Exact sandRatio = sandRatioAt(Exact::of(a.waterBinder));
    a.mix = mixAt(m_out.base.water, a.waterBinder, sandRatio.toDouble(), true, "调整后的配合比");
    for (const Message& note : a.mix.notes) {
        a.notes.push_back(note);
    }
    for (const Message& warning : a.mix.warnings) {
        a.warnings.push_back(warning);
    }
    if (m_trials.density) {
        densityCorrection(a);
    }
    m_out.adjustment = std::move(a);
}

} // namespace

TrialOutcome runTrials(const Input& input, const Result& design, const Trials& trials) {
    try {
        return {.result = Trialer(input, design, trials).run(), .refusal = {}};
    } catch (const Refused& refused) {
        return {.result = std::nullopt, .refusal = refused.refusal};
    }
}

namespace {

using ordered = nlohmann::ordered_json;
using json = nlohmann::json;

ordered numberJson(double x) {
    if (std::trunc(x) == x && std::fabs(x) < 9.0e15) {
        return static_cast<long long>(x);
    }
    return x;
}

struct Number {
    std::string_view key;
    std::optional<double> Trials::*member;
};
constexpr Number kNumbers[] = {
    {"mixerCapacity", &Trials::mixerCapacity},
    {"water", &Trials::water},
    {"sandRatio", &Trials::sandRatio},
};
constexpr std::string_view kStrengths = "strengths";
constexpr std::string_view kDensity = "density";

std::string keyName(std::string_view key) {
    return "「trials」中的「" + std::string(key) + "」";
}

struct ReadRefusal {
    std::string message;
};

double numberAt(const json& value, const std::string& where) {
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        throw ReadRefusal{where + " 应为数。"};
    }
    return value.get<double>();
}

TrialStrength strengthFrom(const json& entry, std::size_t index) {
    const std::string where = keyName(kStrengths) + "第 " + std::to_string(index + 1) + " 项";
    if (!entry.is_object()) {
        throw ReadRefusal{where + " 应为对象。"};
    }
    TrialStrength s;
    bool hasRatio = false;
    for (const auto& [key, value] : entry.items()) {
        std::string at = where;
        at += "的「";
        at += key;
        at += "」";
        if (key == "waterBinder") {
            s.waterBinder = numberAt(value, at);
            hasRatio = true;
        } else if (key == "strength") {
            s.strength = numberAt(value, at);
        } else if (key == "specimens") {
            if (!value.is_array()) {
                throw ReadRefusal{at + " 应为数组。"};
            }
            for (const json& specimen : value) {
                s.specimens.push_back(numberAt(specimen, at));
            }
        } else {
            throw ReadRefusal{at + " 不是试配强度的一项。"};
        }
    }
    if (!hasRatio) {
        throw ReadRefusal{where + "缺少「waterBinder」。"};
    }
    return s;
}

} // namespace

ordered trialsBlock(const Trials& trials) {
    ordered block = ordered::object();
    for (const Number& n : kNumbers) {
        if (const std::optional<double>& value = trials.*n.member) {
            block[std::string(n.key)] = numberJson(*value);
        }
    }
    if (!trials.strengths.empty()) {
        ordered list = ordered::array();
        for (const TrialStrength& s : trials.strengths) {
            ordered entry = ordered::object();
            entry["waterBinder"] = numberJson(s.waterBinder);
            if (s.strength) {
                entry["strength"] = numberJson(*s.strength);
            }
            if (!s.specimens.empty()) {
                ordered specimens = ordered::array();
                for (const double x : s.specimens) {
                    specimens.push_back(numberJson(x));
                }
                entry["specimens"] = std::move(specimens);
            }
            list.push_back(std::move(entry));
        }
        block[std::string(kStrengths)] = std::move(list);
    }
    if (trials.density) {
        block[std::string(kDensity)] = numberJson(*trials.density);
    }
    return block;
}

TrialsReading readTrials(const json& block) {
    try {
        if (!block.is_object()) {
            throw ReadRefusal{"「trials」应为对象。"};
        }
        Trials t;
        for (const auto& [key, value] : block.items()) {
            if (key == kStrengths) {
                if (!value.is_array()) {
                    throw ReadRefusal{keyName(key) + " 应为数组。"};
                }
                for (std::size_t i = 0; i < value.size(); ++i) {
                    t.strengths.push_back(strengthFrom(value[i], i));
                }
                continue;
            }
            if (key == kDensity) {
                t.density = numberAt(value, keyName(key));
                continue;
            }
            const Number* found = nullptr;
            for (const Number& n : kNumbers) {
                if (n.key == key) {
                    found = &n;
                }
            }
            if (found == nullptr) {
                throw ReadRefusal{keyName(key) + " 不是试配的一项。"};
            }
            t.*found->member = numberAt(value, keyName(key));
        }
        return {std::move(t), {}};
    } catch (const ReadRefusal& refusal) {
        return {std::nullopt, refusal.message};
    }
}

namespace {

ordered mixJson(const TrialMix& m) {
    ordered o = ordered::object();
    o["waterBinder"] = numberJson(m.waterBinder);
    o["sandRatio"] = numberJson(m.sandRatio);
    o["water"] = numberJson(m.water);
    o["binder"] = numberJson(m.binder);
    o["cement"] = numberJson(m.cement);
    o["flyAsh"] = numberJson(m.flyAsh);
    o["slag"] = numberJson(m.slag);
    o["admixture"] = numberJson(m.admixture);
    o["sand"] = numberJson(m.sand);
    o["stone"] = numberJson(m.stone);
    return o;
}

ordered labJson(const LabMix& m) {
    ordered o = ordered::object();
    o["binder"] = numberJson(m.binder);
    o["cement"] = numberJson(m.cement);
    o["flyAsh"] = numberJson(m.flyAsh);
    o["slag"] = numberJson(m.slag);
    o["water"] = numberJson(m.water);
    o["sand"] = numberJson(m.sand);
    o["stone"] = numberJson(m.stone);
    o["admixture"] = numberJson(m.admixture);
    return o;
}

ordered messagesJson(const std::vector<Message>& messages) {
    ordered out = ordered::array();
    for (const Message& m : messages) {
        out.push_back(plainText(m));
    }
    return out;
}

} // namespace

ordered trialJson(const TrialResult& trial) {
    ordered out = ordered::object();
    out["batchLitres"] = numberJson(trial.batchLitres);
    ordered mixes = ordered::array();
    for (const TrialMix& m : trial.mixes) {
        mixes.push_back(mixJson(m));
    }
    out["mixes"] = std::move(mixes);
    const std::optional<Adjustment>& a = trial.adjustment;
    if (a) {
        out["fit"] = ordered{
            {"a", numberJson(a->fit.a)}, {"b", numberJson(a->fit.b)}, {"r", numberJson(a->fit.r)}};
        out["binderWater"] = numberJson(a->binderWater);
        out["waterBinder"] = numberJson(a->waterBinder);
        out["adjusted"] = mixJson(a->mix);
        out["computedDensity"] = numberJson(a->mix.density);
    } else {
        out["fit"] = nullptr;
        out["binderWater"] = nullptr;
        out["waterBinder"] = nullptr;
        out["adjusted"] = nullptr;
        out["computedDensity"] = nullptr;
    }
    const DensityCorrection* d = a && a->correction ? &*a->correction : nullptr;
    out["measuredDensity"] = d != nullptr ? numberJson(d->measured) : ordered();
    out["delta"] = d != nullptr ? numberJson(d->delta) : ordered();
    out["corrected"] = d != nullptr ? ordered(d->corrected) : ordered();
    out["lab"] = a && a->lab ? labJson(*a->lab) : ordered();
    out["notes"] = a ? messagesJson(a->notes) : ordered::array();
    out["warnings"] = a ? messagesJson(a->warnings) : ordered::array();
    return out;
}

} // namespace jgj55
