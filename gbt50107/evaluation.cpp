#include "gbt50107/evaluation.h"

#include "gbt50107/exact.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace gbt50107 {

using exact::Decimal;
using exact::Int;

namespace {

// The numbers of GB/T 50107-2010 and of JGJ 55-2011 4.0.2 that the
// evaluation uses, as exact decimals.
constexpr Decimal kFactor100{95, 2};  // 4.3.2: 100 mm cubes below C60
constexpr Decimal kFactor200{105, 2}; // 200 mm cubes below C60
constexpr Decimal kC20{20, 0};
constexpr Decimal kC30{30, 0};
constexpr Decimal kC60{60, 0};
constexpr Int kMiddleShare = 15; // 4.3.1: per cent of the middle value
constexpr Int kSigmaFloor = 250; // 5.1.2, 5.1.3: 2.5 MPa, in hundredths
constexpr int kPreviousGroups = 45;
constexpr Decimal kKnownSigmaFactor{7, 1}; // 0.7σ0
constexpr Decimal kClassFactorToC20{85, 2};
constexpr Decimal kClassFactorAboveC20{90, 2};
constexpr int kStatisticalGroups = 10; // 5.1.3 from, 5.2 below
constexpr int kKnownSigmaGroups = 3;
constexpr int kDesignGroups = 30;         // JGJ 55-2011 4.0.2
constexpr Int kDesignFloorToC30 = 300;    // hundredths
constexpr Int kDesignFloorAboveC30 = 400; // above C30, below C60

// λ1 and λ2 by the number of groups (5.1.3), λ3 and λ4 (5.2), in hundredths.
Int lambda1(int n) {
    if (n >= 20) {
        return 95;
    }
    return n >= 15 ? 105 : 115;
}
Int lambda2(int n) {
    return n >= 15 ? 85 : 90;
}
Int lambda3(const Decimal& fcuk) {
    return exact::compare(fcuk, kC60) < 0 ? 115 : 110;
}
constexpr Int kLambda4 = 95;

Decimal tenths(Int units) {
    return {units, 1};
}
Decimal hundredths(Int units) {
    return {units, 2};
}

// A value in a message, as the file writes it.
std::string plain(double value) {
    const std::optional<Decimal> d = exact::shortest(value);
    return d ? exact::text(*d, 0) : std::string("?");
}

std::string entryName(Entry entry) {
    switch (entry) {
    case Entry::Fcuk:
        return "「强度等级 fcu,k」";
    case Entry::SpecimenSize:
        return "「试件尺寸」";
    case Entry::SizeFactor:
        return "「尺寸换算系数」";
    case Entry::Method:
        return "「评定方法」";
    case Entry::Sigma0:
        return "「已知标准差 σ0」";
    case Entry::Previous:
        return "「上一期强度代表值」";
    case Entry::Groups:
        break;
    }
    return "「各组强度」";
}

std::string groupName(int group) {
    return "第 " + std::to_string(group + 1) + " 组";
}

std::string nameOf(const Place& place) {
    if (place.entry == Entry::Previous && place.group >= 0) {
        return "上一期第 " + std::to_string(place.group + 1) + " 个代表值";
    }
    if (place.entry != Entry::Groups || place.group < 0) {
        return entryName(place.entry);
    }
    if (place.cell == kValueCell) {
        return groupName(place.group) + "代表值";
    }
    if (place.cell >= 0) {
        return groupName(place.group) + "试件 " + std::to_string(place.cell + 1);
    }
    return groupName(place.group);
}

// The faults found so far, each place once, the known ones first.
class Faults {
public:
    explicit Faults(const std::vector<InputFault>& known) : m_list(known) {}

    bool has(const Place& place) const {
        return std::any_of(m_list.begin(), m_list.end(),
                           [&](const InputFault& f) { return f.place == place; });
    }
    // Whether any fault lies in group `group` of the groups.
    bool inGroup(int group) const {
        return std::any_of(m_list.begin(), m_list.end(), [&](const InputFault& f) {
            return f.place.entry == Entry::Groups && f.place.group == group;
        });
    }
    void add(const Place& place, std::string message) {
        if (!has(place)) {
            m_list.push_back({place, std::move(message)});
        }
    }
    bool empty() const { return m_list.empty(); }
    std::vector<InputFault> take() { return std::move(m_list); }

private:
    std::vector<InputFault> m_list;
};

// A number of the input that must be positive: its exact decimal, or a
// fault at `place`.
std::optional<Decimal> positive(double value, const Place& place, Faults& faults) {
    const std::optional<Decimal> d = exact::fromDouble(value);
    if (!d) {
        faults.add(place, faultMessage(place, "超出可计算的范围（应小于 10000，至多 20 位小数）：" +
                                                  plain(value)));
        return std::nullopt;
    }
    if (d->units <= 0) {
        faults.add(place, faultMessage(place, "应大于 0，现为 " + plain(value)));
        return std::nullopt;
    }
    return d;
}

std::optional<Decimal> optionalPositive(const std::optional<double>& value, const Place& place,
                                        Faults& faults) {
    return value ? positive(*value, place, faults) : std::nullopt;
}

// A group whose every number is sound.
struct SoundGroup {
    bool given = false;
    Decimal value;                    // the group value given alone
    std::array<Decimal, 3> specimens; // otherwise
};

// Checks the cells of group `index`; the group when every cell is sound.
std::optional<SoundGroup> checkGroup(const Group& group, int index, Faults& faults) {
    // A group that already has a fault (a text that is no number) is not
    // judged as a whole again: its empty cell is that text.
    const bool judged = !faults.inGroup(index);
    const auto given =
        static_cast<int>(std::count_if(group.specimens.begin(), group.specimens.end(),
                                       [](const auto& s) { return s.has_value(); }));
    if (given == 0 && !group.value) {
        if (judged) {
            faults.add({Entry::Groups, index, -1},
                       groupName(index) + "没有强度：请填写三个试件强度，或只填代表值");
        }
        return std::nullopt;
    }
    if (given == 0) {
        const auto value = positive(*group.value, {Entry::Groups, index, kValueCell}, faults);
        return value ? std::optional<SoundGroup>(SoundGroup{true, *value, {}}) : std::nullopt;
    }
    bool sound = judged;
    if (group.value && judged) {
        faults.add({Entry::Groups, index, kValueCell},
                   groupName(index) + "已有试件强度，不能另填代表值：代表值由试件强度算出");
        sound = false;
    }
    SoundGroup out;
    for (int k = 0; k < 3; ++k) {
        const Place place{Entry::Groups, index, k};
        const auto& s = group.specimens[static_cast<std::size_t>(k)];
        if (!s && judged) {
            faults.add(place, groupName(index) + "只有 " + std::to_string(given) +
                                  " 个试件强度，缺试件 " + std::to_string(k + 1));
        }
        const std::optional<Decimal> d = s ? positive(*s, place, faults) : std::nullopt;
        sound = sound && d.has_value();
        out.specimens[static_cast<std::size_t>(k)] = d.value_or(Decimal{});
    }
    return sound ? std::optional<SoundGroup>(out) : std::nullopt;
}

// The input as exact decimals, where sound.
struct Sound {
    std::optional<Decimal> fcuk;
    std::optional<Decimal> sizeFactor;
    SizeFactorOrigin sizeFactorOrigin = SizeFactorOrigin::Standard150;
    std::optional<Decimal> sigma0;
    std::vector<Decimal> previous;
    std::vector<SoundGroup> groups;
};

// The factor that converts a group value to the 150 mm cube (4.3.2).
std::optional<Decimal> sizeFactorOf(const Input& in, const std::optional<Decimal>& fcuk,
                                    Faults& faults, SizeFactorOrigin& origin) {
    const Place place{Entry::SizeFactor};
    const std::optional<Decimal> given = optionalPositive(in.sizeFactor, place, faults);
    if (in.specimenSize == SpecimenSize::Cube150) {
        origin = SizeFactorOrigin::Standard150;
        if (in.sizeFactor) {
            faults.add(place, "150 mm 立方体为标准尺寸试件，不用「尺寸换算系数」");
        }
        return Decimal{1, 0};
    }
    if (!fcuk) {
        return std::nullopt;
    }
    const std::string size = std::to_string(millimetres(in.specimenSize));
    if (exact::compare(*fcuk, kC60) < 0) {
        origin = SizeFactorOrigin::Standard;
        const Decimal standard = in.specimenSize == SpecimenSize::Cube100 ? kFactor100 : kFactor200;
        if (in.sizeFactor) {
            faults.add(place, "C60 以下的 " + size + " mm 立方体试件按 " +
                                  exact::text(standard, 2) + " 换算，不另填「尺寸换算系数」");
        }
        return standard;
    }
    origin = SizeFactorOrigin::Tested;
    if (!in.sizeFactor) {
        faults.add(place, "C60 及以上用 " + size +
                              " mm 立方体试件时，「尺寸换算系数」应由试验确定：请填写");
    }
    return given;
}

// Checks every entry and cell, collecting the faults.
Sound check(const Input& in, Faults& faults) {
    Sound sound;
    if (!in.fcuk) {
        faults.add({Entry::Fcuk}, "缺少「强度等级 fcu,k」");
    }
    sound.fcuk = optionalPositive(in.fcuk, {Entry::Fcuk}, faults);
    sound.sizeFactor = sizeFactorOf(in, sound.fcuk, faults, sound.sizeFactorOrigin);
    sound.sigma0 = optionalPositive(in.sigma0, {Entry::Sigma0}, faults);
    if (in.sigma0 && !in.previous.empty()) {
        faults.add({Entry::Sigma0}, "「已知标准差 σ0」与「上一期强度代表值」只能给出一项");
    }
    for (std::size_t i = 0; i < in.previous.size(); ++i) {
        const auto d = positive(in.previous[i], {Entry::Previous, static_cast<int>(i)}, faults);
        sound.previous.push_back(d.value_or(Decimal{}));
    }
    if (in.groups.empty()) {
        faults.add({Entry::Groups}, "没有可评定的组：请至少填写一组强度");
    }
    for (std::size_t i = 0; i < in.groups.size(); ++i) {
        const auto group = checkGroup(in.groups[i], static_cast<int>(i), faults);
        sound.groups.push_back(group.value_or(SoundGroup{}));
    }
    return sound;
}

// The group value (4.3.1) at the tested size and converted (4.3.2), in
// tenths of MPa.
GroupValue valueOf(const SoundGroup& group, const Decimal& factor, Int& convertedTenths) {
    GroupValue out;
    Decimal tested;
    if (group.given) {
        out.rule = GroupRule::Given;
        tested = exact::rounded(group.value, 1);
    } else {
        std::array<Decimal, 3> s = group.specimens;
        std::sort(s.begin(), s.end(),
                  [](const Decimal& a, const Decimal& b) { return exact::compare(a, b) < 0; });
        const int places = std::max({s[0].places, s[1].places, s[2].places});
        const Int low = exact::at(s[0], places);
        const Int middle = exact::at(s[1], places);
        const Int high = exact::at(s[2], places);
        // "More than 15 % of the middle one": 100·(middle − low) > 15·middle.
        out.lowDiffers = 100 * (middle - low) > kMiddleShare * middle;
        out.highDiffers = 100 * (high - middle) > kMiddleShare * middle;
        if (out.lowDiffers && out.highDiffers) {
            out.rule = GroupRule::LeftOut;
            return out;
        }
        if (out.lowDiffers || out.highDiffers) {
            out.rule = GroupRule::Middle;
            tested = exact::rounded(s[1], 1);
        } else {
            out.rule = GroupRule::Mean;
            tested =
                tenths(exact::divideHalfUp((low + middle + high) * 10, 3 * exact::pow10(places)));
        }
    }
    const Decimal converted = exact::rounded(exact::multiply(tested, factor), 1);
    out.tested = exact::toDouble(tested);
    out.value = exact::toDouble(converted);
    convertedTenths = converted.units;
    return out;
}

std::string withLeftOut(int n, int leftOut) {
    std::string text = std::to_string(n) + " 组";
    if (leftOut > 0) {
        text += "（另有 " + std::to_string(leftOut) + " 组不作为评定依据）";
    }
    return text;
}

// The method of the evaluation: the one chosen, or the one the data calls
// for (known σ0 and exactly three groups, ten groups or more, fewer); a
// method the data does not allow is a fault. Never Auto.
std::optional<Method> methodOf(const Input& in, int n, int leftOut, Faults& faults) {
    const bool known = in.sigma0 || !in.previous.empty();
    const std::string groups = withLeftOut(n, leftOut);
    switch (in.method) {
    case Method::Auto:
        if (known && n == kKnownSigmaGroups) {
            return Method::KnownSigma;
        }
        return n >= kStatisticalGroups ? Method::Statistical : Method::NonStatistical;
    case Method::KnownSigma:
        if (!known) {
            faults.add({Entry::Sigma0},
                       "标准差已知的统计方法需要「已知标准差 σ0」或「上一期强度代表值」");
        } else if (n != kKnownSigmaGroups) {
            faults.add({Entry::Method}, "标准差已知的统计方法用于连续三组试件，现为 " + groups);
        }
        break;
    case Method::Statistical:
        if (n < kStatisticalGroups) {
            faults.add({Entry::Method}, "标准差未知的统计方法至少需要 10 组试件，现为 " + groups);
        }
        break;
    case Method::NonStatistical:
        if (n >= kStatisticalGroups) {
            faults.add({Entry::Method},
                       "非统计方法用于少于 10 组试件，现为 " + groups + "，应采用统计方法");
        }
        break;
    }
    return faults.empty() ? std::optional<Method>(in.method) : std::nullopt;
}

// Σx and Σx² of values in tenths, as MPa and MPa².
std::pair<double, double> sums(const std::vector<Int>& values) {
    Int sum = 0;
    Int squares = 0;
    for (const Int x : values) {
        sum += x;
        squares += x * x;
    }
    return {exact::toDouble(tenths(sum)), exact::toDouble(hundredths(squares))};
}

// σ0 in hundredths of MPa: given, or computed from at least 45 groups of the
// previous period.
std::optional<Int> sigma0Of(const Input& in, const Sound& sound, Evaluation& e, Faults& faults) {
    if (sound.sigma0) {
        e.sigmaOrigin = SigmaOrigin::Given;
        return exact::rounded(*sound.sigma0, 2).units;
    }
    const auto count = static_cast<int>(in.previous.size());
    if (count < kPreviousGroups) {
        faults.add({Entry::Previous}, "由上一期计算 σ0 至少需要 45 组强度代表值，现为 " +
                                          std::to_string(count) + " 组");
        return std::nullopt;
    }
    e.sigmaOrigin = SigmaOrigin::Previous;
    // The previous period's values are group values: to 0.1 MPa.
    std::vector<Int> values;
    for (const Decimal& d : sound.previous) {
        values.push_back(exact::rounded(d, 1).units);
    }
    PreviousPeriod period;
    period.count = count;
    for (const Int v : values) {
        period.values.push_back(exact::toDouble(tenths(v)));
    }
    std::tie(period.sum, period.sumOfSquares) = sums(values);
    e.previous = std::move(period);
    return exact::sampleDeviation(values, 1, 2);
}

Condition judged(ConditionKind kind, const Decimal& coefficient, const Decimal& left,
                 const Decimal& right) {
    return {kind, exact::toDouble(coefficient), exact::toDouble(left), exact::toDouble(right),
            exact::compare(left, right) >= 0};
}

// The figures every method judges on.
struct Figures {
    Decimal fcuk;
    Decimal mean; // tenths
    Decimal min;  // tenths
};

void judgeKnownSigma(Evaluation& e, const Figures& f, Int sigmaUsed) {
    const Decimal term = exact::multiply(kKnownSigmaFactor, hundredths(sigmaUsed));
    const Decimal classFactor =
        exact::compare(f.fcuk, kC20) <= 0 ? kClassFactorToC20 : kClassFactorAboveC20;
    e.conditions = {
        judged(ConditionKind::KnownSigmaMean, kKnownSigmaFactor, f.mean, exact::add(f.fcuk, term)),
        judged(ConditionKind::KnownSigmaMin, kKnownSigmaFactor, f.min,
               exact::subtract(f.fcuk, term)),
        judged(ConditionKind::KnownSigmaMinClass, classFactor, f.min,
               exact::multiply(classFactor, f.fcuk)),
    };
}

void judgeStatistical(Evaluation& e, const Figures& f, Int sdUsed) {
    const Decimal l1 = hundredths(lambda1(e.n));
    const Decimal l2 = hundredths(lambda2(e.n));
    e.lambda1 = exact::toDouble(l1);
    e.lambda2 = exact::toDouble(l2);
    // The strength side rounded to 0.1 MPa, as mfcu is.
    const Decimal left =
        exact::rounded(exact::subtract(f.mean, exact::multiply(l1, hundredths(sdUsed))), 1);
    e.conditions = {
        judged(ConditionKind::StatisticalMean, l1, left, f.fcuk),
        judged(ConditionKind::StatisticalMin, l2, f.min, exact::multiply(l2, f.fcuk)),
    };
}

void judgeNonStatistical(Evaluation& e, const Figures& f) {
    const Decimal l3 = hundredths(lambda3(f.fcuk));
    const Decimal l4 = hundredths(kLambda4);
    e.lambda3 = exact::toDouble(l3);
    e.lambda4 = exact::toDouble(l4);
    e.conditions = {
        judged(ConditionKind::NonStatisticalMean, l3, f.mean, exact::multiply(l3, f.fcuk)),
        judged(ConditionKind::NonStatisticalMin, l4, f.min, exact::multiply(l4, f.fcuk)),
    };
}

// The σ for the next design from thirty groups or more: the sample standard
// deviation, not less than 3.0 MPa up to C30 and 4.0 MPa below C60.
void designSigma(Evaluation& e, const Figures& f, const std::vector<Int>& values) {
    if (e.n < kDesignGroups) {
        return;
    }
    if (exact::compare(f.fcuk, kC60) >= 0) {
        e.notes.emplace_back(
            "强度等级不低于 C60：本程序按 JGJ 55-2011 设计时配制强度不用强度标准差，"
            "不给出可用于配合比设计的强度标准差 σ");
        return;
    }
    const Int computed = exact::sampleDeviation(values, 1, 2);
    const Int floor = exact::compare(f.fcuk, kC30) <= 0 ? kDesignFloorToC30 : kDesignFloorAboveC30;
    e.designSigma =
        DesignSigma{exact::toDouble(hundredths(computed)), exact::toDouble(hundredths(floor)),
                    exact::toDouble(hundredths(std::max(computed, floor)))};
}

void noteUnusedSigma(const Input& in, Evaluation& e) {
    if (e.method == Method::KnownSigma || (!in.sigma0 && in.previous.empty())) {
        return;
    }
    const std::string what = in.sigma0 ? "已知标准差 σ0" : "上一期强度代表值";
    if (e.chosen) {
        e.notes.push_back("给出了" + what + "，但本批评定 " + std::to_string(e.n) +
                          " 组而不是连续三组，未采用；按组数选用" +
                          std::string(methodName(e.method)));
    } else {
        e.notes.push_back("评定方法为" + std::string(methodName(e.method)) + "，未采用给出的" +
                          what);
    }
}

// The method's figures and conditions, once the group values are known.
bool judge(const Input& in, const Sound& sound, const std::vector<Int>& values, Evaluation& e,
           Faults& faults) {
    Int sum = 0;
    for (const Int v : values) {
        sum += v;
    }
    const Figures f{*sound.fcuk, tenths(exact::divideHalfUp(sum, e.n)),
                    tenths(*std::min_element(values.begin(), values.end()))};
    std::tie(e.sum, e.sumOfSquares) = sums(values);
    e.mean = exact::toDouble(f.mean);
    e.min = exact::toDouble(f.min);
    if (e.method == Method::KnownSigma) {
        const std::optional<Int> sigma0 = sigma0Of(in, sound, e, faults);
        if (!sigma0) {
            return false;
        }
        e.sd = exact::toDouble(hundredths(*sigma0));
        e.sdUsed = exact::toDouble(hundredths(std::max(*sigma0, kSigmaFloor)));
        judgeKnownSigma(e, f, std::max(*sigma0, kSigmaFloor));
    } else if (e.method == Method::Statistical) {
        const Int sd = exact::sampleDeviation(values, 1, 2);
        e.sd = exact::toDouble(hundredths(sd));
        e.sdUsed = exact::toDouble(hundredths(std::max(sd, kSigmaFloor)));
        judgeStatistical(e, f, std::max(sd, kSigmaFloor));
    } else {
        judgeNonStatistical(e, f);
    }
    e.passed = std::all_of(e.conditions.begin(), e.conditions.end(),
                           [](const Condition& c) { return c.holds; });
    designSigma(e, f, values);
    noteUnusedSigma(in, e);
    return true;
}

} // namespace

std::string placeName(const Place& place) {
    return nameOf(place);
}

std::string faultMessage(const Place& place, std::string_view what) {
    const std::string name = nameOf(place);
    const char last = name.back();
    // A space after a figure or a letter, none after a Chinese word.
    const bool word = (last >= '0' && last <= '9') || (last >= 'a' && last <= 'z');
    return name + (word ? " " : "") + std::string(what);
}

int millimetres(SpecimenSize size) {
    switch (size) {
    case SpecimenSize::Cube100:
        return 100;
    case SpecimenSize::Cube200:
        return 200;
    case SpecimenSize::Cube150:
        break;
    }
    return 150;
}

std::string_view methodKey(Method method) {
    switch (method) {
    case Method::KnownSigma:
        return "known-sigma";
    case Method::Statistical:
        return "statistical";
    case Method::NonStatistical:
        return "non-statistical";
    case Method::Auto:
        break;
    }
    return "auto";
}

std::string_view methodName(Method method) {
    switch (method) {
    case Method::KnownSigma:
        return "统计方法（标准差已知）";
    case Method::Statistical:
        return "统计方法（标准差未知）";
    case Method::NonStatistical:
        return "非统计方法";
    case Method::Auto:
        break;
    }
    return "自动选择";
}

std::string_view methodClause(Method method) {
    switch (method) {
    case Method::KnownSigma:
        return "5.1.2";
    case Method::Statistical:
        return "5.1.3";
    case Method::NonStatistical:
        return "5.2";
    case Method::Auto:
        break;
    }
    return {};
}

std::string_view entryKey(Entry entry) {
    switch (entry) {
    case Entry::Fcuk:
        return "fcuk";
    case Entry::SpecimenSize:
        return "specimenSize";
    case Entry::SizeFactor:
        return "sizeFactor";
    case Entry::Method:
        return "method";
    case Entry::Sigma0:
        return "sigma0";
    case Entry::Previous:
        return "previous";
    case Entry::Groups:
        break;
    }
    return "groups";
}

std::string ruleNote(const GroupValue& group) {
    const std::string low = "最小值与中间值之差超过中间值的 15%";
    const std::string high = "最大值与中间值之差超过中间值的 15%";
    switch (group.rule) {
    case GroupRule::Middle:
        return (group.lowDiffers ? low : high) + "，取中间值";
    case GroupRule::LeftOut:
        return "最大值和最小值与中间值之差均超过中间值的 15%，不作为评定依据";
    case GroupRule::Given:
        return "给出的代表值";
    case GroupRule::Mean:
        break;
    }
    return {};
}

std::optional<GroupValue> groupValue(double a, double b, double c) {
    SoundGroup group;
    const std::array<double, 3> strengths{a, b, c};
    for (std::size_t k = 0; k < strengths.size(); ++k) {
        const std::optional<Decimal> d = exact::fromDouble(strengths[k]);
        if (!d || d->units <= 0) {
            return std::nullopt;
        }
        group.specimens[k] = *d;
    }
    Int converted = 0;
    return valueOf(group, Decimal{1, 0}, converted);
}

Outcome evaluate(const Input& in, const std::vector<InputFault>& known) {
    Faults faults(known);
    const Sound sound = check(in, faults);
    if (!faults.empty()) {
        return {std::nullopt, faults.take()};
    }
    Evaluation e;
    e.fcuk = exact::toDouble(*sound.fcuk);
    e.specimenSize = in.specimenSize;
    e.sizeFactor = exact::toDouble(*sound.sizeFactor);
    e.sizeFactorOrigin = sound.sizeFactorOrigin;
    std::vector<Int> values;
    int leftOut = 0;
    for (const SoundGroup& group : sound.groups) {
        Int converted = 0;
        e.groups.push_back(valueOf(group, *sound.sizeFactor, converted));
        if (e.groups.back().rule == GroupRule::LeftOut) {
            ++leftOut;
        } else {
            values.push_back(converted);
        }
    }
    e.n = static_cast<int>(values.size());
    if (e.n == 0) {
        faults.add({Entry::Groups}, "各组都不作为评定依据，没有可评定的组");
        return {std::nullopt, faults.take()};
    }
    const std::optional<Method> method = methodOf(in, e.n, leftOut, faults);
    if (!method) {
        return {std::nullopt, faults.take()};
    }
    e.chosen = in.method == Method::Auto;
    e.method = *method;
    if (!judge(in, sound, values, e, faults)) {
        return {std::nullopt, faults.take()};
    }
    return {std::move(e), {}};
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a figure and its places, as std::round's
std::string decimalText(double value, int minPlaces, const calc::NumberFormat& format) {
    const std::optional<Decimal> d = exact::shortest(value);
    if (!d) {
        return "?";
    }
    std::string out;
    for (const char c : exact::text(*d, minPlaces)) {
        if (c == '.') {
            out += format.decimal;
        } else if (c == '-') {
            out += format.negative;
        } else {
            out += c;
        }
    }
    return out;
}

std::string conditionFormula(const Condition& c) {
    switch (c.kind) {
    case ConditionKind::KnownSigmaMean:
        return "mfcu ≥ fcu,k + 0.7σ0";
    case ConditionKind::KnownSigmaMin:
        return "fcu,min ≥ fcu,k − 0.7σ0";
    case ConditionKind::KnownSigmaMinClass:
        return "fcu,min ≥ " + decimalText(c.coefficient, 2, {}) + "fcu,k";
    case ConditionKind::StatisticalMean:
        return "mfcu − λ1·Sfcu ≥ fcu,k";
    case ConditionKind::StatisticalMin:
        return "fcu,min ≥ λ2·fcu,k";
    case ConditionKind::NonStatisticalMean:
        return "mfcu ≥ λ3·fcu,k";
    case ConditionKind::NonStatisticalMin:
        break;
    }
    return "fcu,min ≥ λ4·fcu,k";
}

std::string conditionText(const Evaluation& e, const Condition& c,
                          const calc::NumberFormat& format) {
    const auto strength = [&](double x) { return decimalText(x, 1, format); };
    const auto two = [&](double x) { return decimalText(x, 2, format); };
    const std::string fcuk = decimalText(e.fcuk, 0, format);
    const std::string sd = two(e.sdUsed.value_or(0.0));
    std::string left;
    std::string right;
    switch (c.kind) {
    case ConditionKind::KnownSigmaMean:
        left = "mfcu = " + strength(c.left);
        right =
            "fcu,k + 0.7σ0 = " + fcuk + " + " + decimalText(c.coefficient, 1, format) + " × " + sd;
        break;
    case ConditionKind::KnownSigmaMin:
        left = "fcu,min = " + strength(c.left);
        right =
            "fcu,k − 0.7σ0 = " + fcuk + " − " + decimalText(c.coefficient, 1, format) + " × " + sd;
        break;
    case ConditionKind::KnownSigmaMinClass:
        left = "fcu,min = " + strength(c.left);
        right = two(c.coefficient) + "fcu,k = " + two(c.coefficient) + " × " + fcuk;
        break;
    case ConditionKind::StatisticalMean:
        left = "mfcu − λ1·Sfcu = " + strength(e.mean) + " − " + two(c.coefficient) + " × " + sd +
               " = " + strength(c.left);
        right = "fcu,k";
        break;
    case ConditionKind::StatisticalMin:
    case ConditionKind::NonStatisticalMin:
        left = "fcu,min = " + strength(c.left);
        right = std::string(c.kind == ConditionKind::StatisticalMin ? "λ2" : "λ4") +
                "·fcu,k = " + two(c.coefficient) + " × " + fcuk;
        break;
    case ConditionKind::NonStatisticalMean:
        left = "mfcu = " + strength(c.left);
        right = "λ3·fcu,k = " + two(c.coefficient) + " × " + fcuk;
        break;
    }
    const bool plainLimit = c.kind == ConditionKind::StatisticalMean;
    return left + (c.holds ? " ≥ " : " < ") + right + " = " +
           (plainLimit ? fcuk : strength(c.right)) + (c.holds ? " 满足" : " 不满足");
}

std::string verdict(const Evaluation& e) {
    std::string failing;
    for (const Condition& c : e.conditions) {
        if (!c.holds) {
            failing += (failing.empty() ? "" : "，") + conditionFormula(c);
        }
    }
    return failing.empty() ? "合格" : "不合格（不满足 " + failing + "）";
}

} // namespace gbt50107
