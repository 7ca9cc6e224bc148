#include "report/trialsreport.h"

#include "report/numbers.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace report {

namespace {

// One material of a mix: its name, its mass per m³ and in the batch, and
// whether the mix of the design has it at all.
struct Material {
    const char* name;
    double jgj55::TrialMix::*perCubic;
};

constexpr Material kMaterials[] = {
    {"水泥", &jgj55::TrialMix::cement},      {"粉煤灰", &jgj55::TrialMix::flyAsh},
    {"矿渣粉", &jgj55::TrialMix::slag},      {"水", &jgj55::TrialMix::water},
    {"砂", &jgj55::TrialMix::sand},          {"石子", &jgj55::TrialMix::stone},
    {"外加剂", &jgj55::TrialMix::admixture},
};

class Writer {
public:
    Writer(const jgj55::Input& input, const jgj55::Result& design, const jgj55::TrialResult& trial,
           const calc::NumberFormat& format)
        : m_in(input), m_design(design), m_t(trial), m_format(format) {}

    Section build(std::string title) const;

private:
    std::string f(double x) const { return figure(x, m_format); }
    std::string withUnit(double x, std::string_view u) const { return keep(f(x) + unit(u)); }
    // A ratio of the trials with two decimals ("0.50").
    std::string ratio2(double x) const { return ratio(x, 1.0, m_format); }
    // A figure already rounded to 0.001, with its three decimals ("1.020").
    std::string thousandths(double x) const {
        std::array<char, 32> buffer{};
        std::snprintf(buffer.data(), buffer.size(), "%.3f", std::fabs(x));
        std::string text(buffer.data());
        text.replace(text.find('.'), 1, m_format.decimal);
        return x < 0 ? m_format.negative + text : text;
    }
    std::string text(const jgj55::Message& m) const {
        return jgj55::fill(m.pattern, m.numbers, [this](double x) { return f(x); });
    }
    // Fly ash, slag and admixture only where the design has them.
    bool shown(const Material& m) const {
        const jgj55::TrialMix& base = m_t.base;
        return base.*m.perCubic > 0.0 ||
               (m.perCubic != &jgj55::TrialMix::flyAsh && m.perCubic != &jgj55::TrialMix::slag &&
                m.perCubic != &jgj55::TrialMix::admixture);
    }

    void batchVolume(Section& s) const;
    void mixes(Section& s) const;
    void strengths(Section& s, const jgj55::Adjustment& a) const;
    void fit(Section& s, const jgj55::Adjustment& a) const;
    void adjusted(Section& s, const jgj55::Adjustment& a) const;
    void density(Section& s, const jgj55::Adjustment& a) const;
    void lab(Section& s, const jgj55::LabMix& lab) const;
    void conventions(Section& s) const;

    const jgj55::Input& m_in;
    const jgj55::Result& m_design;
    const jgj55::TrialResult& m_t;
    const calc::NumberFormat& m_format;
};

void Writer::batchVolume(Section& s) const {
    std::string line = "试配搅拌量：粗骨料最大公称粒径 " +
                       withUnit(m_in.maxSize.value_or(0), "mm") +
                       (m_t.sizeLitres == 20 ? "，不大于 31.5 mm，取 " : "，大于 31.5 mm，取 ") +
                       withUnit(m_t.sizeLitres, "L");
    if (m_t.quarterLitres) {
        line += "；搅拌机公称容量的 1/4 为 " + withUnit(*m_t.quarterLitres, "L") +
                "，取两者的较大者并向上取整至 1 L";
    }
    line += "：V = " + withUnit(m_t.batchLitres, "L") + "。";
    s.blocks.emplace_back(Paragraph{std::move(line)});
}

void Writer::mixes(Section& s) const {
    const jgj55::TrialMix& b = m_t.base;
    std::string line =
        "试拌配合比：水胶比 W/B = " + ratio2(b.waterBinder) + "（计算配合比的水胶比），";
    line += "用水量 mw = " + withUnit(b.water, "kg/m³") +
            (m_t.adjusted ? "，砂率 βs = " + withUnit(b.sandRatio, "%") + "（试拌调整工作性后）"
                          : "，砂率 βs = " + withUnit(b.sandRatio, "%") + "（即计算配合比）");
    line += "；胶凝材料用量 mb = mw / (W/B)，精确至 1 kg，各组分按掺量计，砂、石按" +
            std::string(jgj55::methodName(m_design.method)) + "计算。";
    s.blocks.emplace_back(Paragraph{std::move(line)});
    s.blocks.emplace_back(
        Paragraph{"强度试验的三个配合比：水胶比为试拌配合比的 W/B 及 W/B ± 0.05，用水量相同，"
                  "砂率分别减小和增大 1%。"});
    Table t{{"项目", "配合比 1", "配合比 2（试拌配合比）", "配合比 3"}, {}};
    const auto row = [&t, this](std::string name, double jgj55::TrialMix::*member) {
        std::vector<std::string> cells{std::move(name)};
        for (const jgj55::TrialMix& m : m_t.mixes) {
            cells.push_back(f(m.*member));
        }
        t.rows.push_back(std::move(cells));
    };
    t.rows.push_back({"水胶比 W/B", ratio2(m_t.mixes[0].waterBinder),
                      ratio2(m_t.mixes[1].waterBinder), ratio2(m_t.mixes[2].waterBinder)});
    row("砂率 βs（%）", &jgj55::TrialMix::sandRatio);
    row("胶凝材料 mb（kg/m³）", &jgj55::TrialMix::binder);
    for (const Material& m : kMaterials) {
        if (shown(m)) {
            row(std::string(m.name) + "（kg/m³）", m.perCubic);
        }
    }
    row("计算表观密度 ρc,c（kg/m³）", &jgj55::TrialMix::density);
    for (const Material& m : kMaterials) {
        if (!shown(m)) {
            continue;
        }
        std::vector<std::string> cells{std::string(m.name) + "，试拌 " + f(m_t.batchLitres) +
                                       " L（kg）"};
        for (const jgj55::TrialMix& mix : m_t.mixes) {
            const std::optional<std::string> mass =
                trialMass(f(mix.*m.perCubic), m_t.batchLitres, m_format);
            cells.push_back(mass.value_or("—"));
        }
        t.rows.push_back(std::move(cells));
    }
    s.blocks.emplace_back(std::move(t));
    for (const jgj55::TrialMix& mix : m_t.mixes) {
        for (const jgj55::Message& note : mix.notes) {
            s.blocks.emplace_back(
                Paragraph{"水胶比 " + ratio2(mix.waterBinder) + "：" + text(note) + "。"});
        }
    }
}

void Writer::strengths(Section& s, const jgj55::Adjustment& a) const {
    s.blocks.emplace_back(Paragraph{
        "实测 28 d 立方体抗压强度：一组给出三个试件强度时，按 GB/T 50107-2010 第 4.3.1 条取"
        "代表值（平均值精确至 0.1 MPa；最大值或最小值与中间值之差超过中间值的 15% 时取中间值）。"});
    Table t{{"组", "水胶比 W/B", "胶水比 B/W", "强度 fcu（MPa）", "说明"}, {}};
    for (std::size_t i = 0; i < a.strengths.size(); ++i) {
        const jgj55::MeasuredStrength& m = a.strengths[i];
        std::string note = m.fromSpecimens ? (m.rule.empty() ? "三个试件的平均值" : m.rule)
                                           : std::string("给出的强度");
        t.rows.push_back({std::to_string(i + 1), ratio2(m.waterBinder), thousandths(m.binderWater),
                          f(m.value), std::move(note)});
    }
    s.blocks.emplace_back(std::move(t));
}

void Writer::fit(Section& s, const jgj55::Adjustment& a) const {
    Step step;
    step.title = "强度与胶水比的关系（最小二乘法，" + std::to_string(a.fit.points) + " 组）";
    step.equations.push_back("fcu = a + b·(B/W)，a = " + withUnit(a.fit.a, "MPa") + "，b = " +
                             withUnit(a.fit.b, "MPa") + "，相关系数 r = " + thousandths(a.fit.r));
    // A negative intercept is added: 38.2 + 11.85, not 38.2 − -11.85.
    const std::string less = a.fit.a < 0.0 ? " + " + f(-a.fit.a) : " − " + f(a.fit.a);
    step.equations.push_back("B/W = (fcu,0 − a) / b = (" + f(a.fcu0) + less + ") / " + f(a.fit.b) +
                             " = " + thousandths(a.binderWater));
    step.equations.push_back("W/B = 1 / (B/W) = " + ratio2(a.fittedWaterBinder) +
                             "（向下取至 0.01，使其强度不低于配制强度）");
    step.notes.push_back("配制强度 fcu,0 = " + withUnit(a.fcu0, "MPa") + "；试配的水胶比为 " +
                         ratio2(a.testedLow) + "～" + ratio2(a.testedHigh) + "。");
    s.blocks.emplace_back(std::move(step));
}

void Writer::adjusted(Section& s, const jgj55::Adjustment& a) const {
    const jgj55::TrialMix& m = a.mix;
    s.blocks.emplace_back(Paragraph{
        "调整后的配合比：水胶比 W/B = " + ratio2(a.waterBinder) +
        "，用水量 mw = " + withUnit(m.water, "kg/m³") + "（同试拌配合比），胶凝材料用量 mb = " +
        withUnit(m.binder, "kg/m³") + "，砂率 βs = " + withUnit(m.sandRatio, "%") +
        "（在三个配合比的砂率之间按水胶比线性插值，精确至 1%）。"});
    Table t{{"材料", "每立方米用量（kg）"}, {}};
    for (const Material& material : kMaterials) {
        if (shown(material)) {
            t.rows.push_back({material.name, f(m.*material.perCubic)});
        }
    }
    s.blocks.emplace_back(std::move(t));
}

void Writer::density(Section& s, const jgj55::Adjustment& a) const {
    const jgj55::TrialMix& m = a.mix;
    Step step;
    step.title = "表观密度校正";
    std::string sum = "ρc,c = mc + mf + mk + ms + mg + mw = " + f(m.cement) + " + " + f(m.flyAsh) +
                      " + " + f(m.slag) + " + " + f(m.sand) + " + " + f(m.stone) + " + " +
                      f(m.water) + " = " + withUnit(m.density, "kg/m³");
    step.equations.push_back(std::move(sum));
    if (!a.correction) {
        step.notes.push_back("未给出实测表观密度 ρc,t，试验室配合比尚未确定。");
        s.blocks.emplace_back(std::move(step));
        return;
    }
    const jgj55::DensityCorrection& d = *a.correction;
    step.equations.push_back("ρc,t = " + withUnit(d.measured, "kg/m³") +
                             "（实测），δ = ρc,t / ρc,c = " + f(d.measured) + " / " +
                             f(d.computed) + " = " + thousandths(d.delta) + "（精确至 0.001）");
    step.equations.push_back("|ρc,t − ρc,c| / ρc,c = " + withUnit(d.differencePercent, "%") +
                             (d.corrected ? "，大于 2%" : "，不大于 2%"));
    step.notes.push_back(d.corrected ? "配合比中每项材料用量均乘以校正系数 δ（精确至 1 kg，"
                                       "外加剂精确至 0.01 kg）。"
                                     : "调整后的配合比维持不变，即为试验室配合比。");
    s.blocks.emplace_back(std::move(step));
}

void Writer::lab(Section& s, const jgj55::LabMix& lab) const {
    s.blocks.emplace_back(Paragraph{"试验室配合比（骨料按干燥状态计）："});
    Table t{{"材料", "每立方米用量（kg）", "与胶凝材料用量之比"}, {}};
    const auto add = [&](const char* name, double mass) {
        t.rows.push_back({name, f(mass), ratio(mass, lab.binder, m_format)});
    };
    add("水泥", lab.cement);
    if (lab.flyAsh > 0.0) {
        add("粉煤灰", lab.flyAsh);
    }
    if (lab.slag > 0.0) {
        add("矿渣粉", lab.slag);
    }
    add("水", lab.water);
    add("砂", lab.sand);
    add("石子", lab.stone);
    if (lab.admixture > 0.0) {
        add("外加剂", lab.admixture);
    }
    s.blocks.emplace_back(std::move(t));
    s.blocks.emplace_back(Paragraph{
        "胶凝材料 : 水 : 砂 : 石子 = 1 : " + ratio(lab.water, lab.binder, m_format) + " : " +
        ratio(lab.sand, lab.binder, m_format) + " : " + ratio(lab.stone, lab.binder, m_format)});
}

void Writer::conventions(Section& s) const {
    s.blocks.emplace_back(List{
        "程序的约定",
        {"回归系数 a、b 写至 0.01 MPa，r 写至 0.001，B/W 写至 0.001；选定的水胶比由未修约的回归"
         "结果求得。",
         "选定的水胶比超出三个配合比的水胶比时，砂率取端部配合比的砂率。",
         "校正系数 δ 精确至 0.001，校正时各材料按修约后的 δ 计算。",
         "各项数值均按十进制数值四舍五入。"}});
}

Section Writer::build(std::string title) const {
    Section s{std::move(title), {}};
    batchVolume(s);
    mixes(s);
    if (!m_t.adjustment) {
        s.blocks.emplace_back(Paragraph{"尚未给出试配强度（至少三组），未确定试验室配合比。"});
        conventions(s);
        return s;
    }
    const jgj55::Adjustment& a = *m_t.adjustment;
    strengths(s, a);
    fit(s, a);
    adjusted(s, a);
    density(s, a);
    if (a.lab) {
        lab(s, *a.lab);
    }
    if (!a.notes.empty() || !a.warnings.empty()) {
        List list{"注意", {}};
        for (const jgj55::Message& m : a.notes) {
            list.items.push_back(text(m) + "。");
        }
        for (const jgj55::Message& m : a.warnings) {
            list.items.push_back(text(m) + "。");
        }
        s.blocks.emplace_back(std::move(list));
    }
    conventions(s);
    return s;
}

} // namespace

Section trialsSection(std::string title, const jgj55::Input& input, const jgj55::Result& design,
                      const jgj55::TrialResult& trial, const calc::NumberFormat& format) {
    return Writer(input, design, trial, format).build(std::move(title));
}

} // namespace report
