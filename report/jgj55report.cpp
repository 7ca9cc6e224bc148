#include "report/jgj55report.h"

#include "jgj55/rounding.h"
#include "report/numbers.h"
#include "report/trialsreport.h"

#include <array>
#include <utility>

namespace report {

namespace {

using jgj55::Origin;

// The decimals a step's figure is written with: its own, or those of its
// rounding ("0.01" → 2, "0.1 MPa" → 1, "1 kg" → 0); -1 when it states none.
int placesOf(const jgj55::Step& s) {
    if (s.places >= 0 || s.rounding.empty()) {
        return s.places;
    }
    const std::string_view r = s.rounding;
    if (!r.starts_with("0.")) {
        return 0;
    }
    const std::size_t end = r.find_first_not_of("0123456789", 2);
    return static_cast<int>((end == std::string_view::npos ? r.size() : end) - 2);
}

class Builder {
public:
    Builder(const jgj55::Input& input, const jgj55::Result& result,
            const calc::NumberFormat& format, const Options& options,
            const jgj55::TrialResult* trial)
        : m_in(input), m_r(result), m_format(format), m_options(options), m_trial(trial) {}

    Document build() const;

private:
    std::string f(double x) const { return figure(x, m_format); }
    // A figure with at least `places` decimals (0.90, 37.0); -1: as it is.
    std::string f(double x, int places) const {
        return places < 0 ? figure(x, m_format) : fixed(x, places, m_format);
    }
    // A mass of the construction mix, to the kilogram (the admixture keeps its
    // 0.01 kg).
    std::string kilogram(double x) const {
        return roundedToKilogram(f(x), m_format).value_or(f(x));
    }
    // A mass over the binder, to 0.01 on the exact quotient.
    std::string toBinder(double mass) const { return ratio(mass, m_r.binder, m_format); }
    std::string fill(std::string_view pattern, std::span<const double> numbers) const {
        return jgj55::fill(pattern, numbers, [this](double x, int places) { return f(x, places); });
    }
    std::string text(const jgj55::Message& m) const { return fill(m.pattern, m.numbers); }
    std::string withUnit(double x, std::string_view u, int places = -1) const {
        return keep(f(x, places) + unit(u));
    }
    // A fraction of the binder as a percentage on its decimal value.
    std::string percent(double fraction) const {
        return withUnit(jgj55::roundHalfUp(fraction * 100.0, 6), "%");
    }

    Section designData() const;
    void binderRows(Table& t) const;
    void densityRows(Table& t) const;
    Section working() const;
    void lists(Section& section) const;
    Section mix() const;
    Section trialBatch() const;

    const jgj55::Input& m_in;
    const jgj55::Result& m_r;
    const calc::NumberFormat& m_format;
    const Options& m_options;
    const jgj55::TrialResult* m_trial;
};

Document Builder::build() const {
    Document document =
        reportFrame("JGJ 55-2011《普通混凝土配合比设计规程》（水胶比法）", m_options);
    document.sections = {designData(), working(), mix(), trialBatch()};
    if (m_trial != nullptr) {
        document.sections.push_back(
            trialsSection("五、试配、调整与确定", m_in, m_r, *m_trial, m_format));
    }
    // Every symbol of the design with its subscript, wherever it is named.
    static constexpr std::string_view kSymbols[] = {
        "fcu,0", "fcu,k", "fce,g", "fce", "fb",  "γc",  "γf",  "γs",   "αa",   "αb", "mw0,90",
        "mw0′",  "mw0",   "mb0",   "mc0", "mf0", "mk0", "ma0", "ms0",  "mg0",  "ms", "mg",
        "mw",    "mcp",   "βs,表", "βs",  "βf",  "βk",  "βa",  "ρc,c", "ρc,t", "ρc", "ρs",
        "ρg",    "ρw",    "ρf",    "ρk",  "ws",  "wg",  "fcu", "mb",   "mc",   "mf", "mk"};
    markSymbols(document, kSymbols);
    return document;
}

void addRow(Table& t, std::string name, std::string value) {
    t.rows.push_back({std::move(name), std::move(value)});
}

// The cement and what is mixed with it: one row for each given.
void Builder::binderRows(Table& t) const {
    const auto row = [&t](std::string name, std::string value) {
        addRow(t, std::move(name), std::move(value));
    };
    const std::string type(jgj55::cementTypeName(m_in.cementType.value_or(jgj55::CementType::PO)));
    if (m_in.fce) {
        row("水泥", type + "，实测 28 d 胶砂抗压强度 fce = " + withUnit(*m_in.fce, "MPa"));
    } else if (m_in.cementGrade) {
        row("水泥", type + " " + std::string(jgj55::cementGradeName(*m_in.cementGrade)) +
                        (m_in.gammaC ? "，富余系数 γc = " + f(*m_in.gammaC, 2) : ""));
    } else {
        row("水泥", type);
    }
    const double flyAsh = m_in.flyAsh ? m_in.flyAsh->fraction.value_or(0.0) : 0.0;
    const double slag = m_in.slag ? m_in.slag->fraction.value_or(0.0) : 0.0;
    if (flyAsh > 0.0) {
        row("粉煤灰", std::string(jgj55::flyAshGradeName(
                          m_in.flyAsh->grade.value_or(jgj55::FlyAshGrade::II))) +
                          " 级，掺量 βf = " + percent(flyAsh));
    }
    if (slag > 0.0) {
        row("粒化高炉矿渣粉",
            std::string(jgj55::slagGradeName(m_in.slag->grade.value_or(jgj55::SlagGrade::S95))) +
                " 级，掺量 βk = " + percent(slag));
    }
    if (m_in.admixture) {
        row("外加剂", "掺量 βa = " + percent(m_in.admixture->fraction.value_or(0)) +
                          "，减水率 β = " + percent(m_in.admixture->waterReduction.value_or(0)));
    }
}

// The densities and the air of the volume method, the given ones or the
// defaults it takes.
void Builder::densityRows(Table& t) const {
    addRow(
        t, "密度（kg/m³）",
        "水泥 " + f(m_in.cementDensity.value_or(jgj55::kDefaultCementDensity)) + "，粉煤灰 " +
            f(m_in.flyAsh && m_in.flyAsh->density ? *m_in.flyAsh->density
                                                  : jgj55::kDefaultFlyAshDensity) +
            "，矿渣粉 " +
            f(m_in.slag && m_in.slag->density ? *m_in.slag->density : jgj55::kDefaultSlagDensity) +
            "，砂 " + f(m_in.sandDensity.value_or(jgj55::kDefaultSandDensity)) + "，石子 " +
            f(m_in.stoneDensity.value_or(jgj55::kDefaultStoneDensity)) + "，水 " +
            f(m_in.waterDensity.value_or(jgj55::kDefaultWaterDensity)));
    addRow(t, "含气量 α", withUnit(m_in.air.value_or(jgj55::kDefaultAir), "%"));
}

// One row per input, each a plain test of whether it was given.
Section Builder::designData() const {
    Section section{"一、设计资料", {}};
    Table t{{"项目", "内容"}, {}};
    const auto row = [&t](std::string name, std::string value) {
        addRow(t, std::move(name), std::move(value));
    };
    const auto given = [&](const std::optional<double>& v, std::string_view u) {
        return v ? withUnit(*v, u) : std::string("按表取值");
    };
    row("混凝土强度等级", "C" + f(m_in.fcuk.value_or(0)));
    row("强度标准差 σ", m_in.sigma ? withUnit(*m_in.sigma, "MPa") : "按表取值");
    binderRows(t);
    if (m_in.stone) {
        row("粗骨料", std::string(jgj55::stoneName(*m_in.stone)) +
                          (m_in.maxSize ? "，最大公称粒径 " + withUnit(*m_in.maxSize, "mm") : ""));
    }
    if (m_in.slump) {
        row("坍落度", withUnit(*m_in.slump, "mm"));
    }
    if (m_in.vebe) {
        row("维勃稠度", withUnit(*m_in.vebe, "s"));
    }
    row("结构",
        std::string(jgj55::structureName(m_in.structure.value_or(jgj55::Structure::Reinforced))));
    row("环境类别", m_in.environment ? std::string(jgj55::environmentName(*m_in.environment))
                                     : "未给出（不按耐久性限制水胶比）");
    row("水胶比 W/B", m_in.waterBinder ? f(*m_in.waterBinder, 2) + "（试配确定）"
                      : m_in.fcuk.value_or(0) < jgj55::kHighStrengthFrom ? "按公式计算"
                                                                         : "未给出");
    row("用水量 mw0′", given(m_in.water, "kg/m³"));
    row("砂率 βs", given(m_in.sandRatio, "%"));
    row("砂石用量的计算方法", std::string(jgj55::methodName(m_r.method)));
    if (m_r.method == jgj55::Method::Volume) {
        densityRows(t);
    }
    if (m_in.sandMoisture && m_in.stoneMoisture) {
        row("骨料含水率", "砂 " + withUnit(*m_in.sandMoisture, "%") + "，石子 " +
                              withUnit(*m_in.stoneMoisture, "%"));
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

Section Builder::working() const {
    Section section{"二、计算过程", {}};
    for (const jgj55::Step& s : m_r.steps) {
        Step step;
        step.title = std::string(s.name) + " " + symbol(s.symbol);
        std::string line(s.formula);
        const std::string substituted = fill(s.substituted, s.operands.view());
        const std::string result = withUnit(s.value, s.unit, placesOf(s));
        // A step that only takes a value shows it once: "σ = 5.0 MPa".
        if (s.formula == s.symbol) {
            line += " = " + result;
        } else {
            line += " = ";
            line += substituted;
            line += " = ";
            line += result;
        }
        if (!s.rounding.empty()) {
            line += "（精确至 " + keep(constant(s.rounding, m_format)) + "）";
        }
        step.equations.push_back(std::move(line));
        if (!s.source.empty()) {
            const std::string source = fill(s.source, s.sourceNumbers.view());
            switch (s.origin) {
            case Origin::Table:
                step.notes.push_back("查" + source + "。");
                break;
            case Origin::Given:
            case Origin::Default:
            case Origin::Computed:
                step.notes.push_back(source + "。");
                break;
            }
        }
        section.blocks.emplace_back(std::move(step));
    }
    lists(section);
    return section;
}

// 注意 (what a rule changed, what to look at), 校核 (the limits met) and
// 说明 (the program's own conventions where the standard leaves a choice).
void Builder::lists(Section& section) const {
    if (!m_r.notes.empty() || !m_r.warnings.empty()) {
        List list{"注意", {}};
        for (const jgj55::Message& m : m_r.notes) {
            list.items.push_back(text(m) + "。");
        }
        for (const jgj55::Message& m : m_r.warnings) {
            list.items.push_back(text(m) + "。");
        }
        section.blocks.emplace_back(std::move(list));
    }
    if (!m_r.checks.empty()) {
        List list{"校核", {}};
        for (const jgj55::Message& m : m_r.checks) {
            list.items.push_back(text(m));
        }
        section.blocks.emplace_back(std::move(list));
    }
    // NOLINTBEGIN(bugprone-suspicious-missing-comma): sentences split over lines
    List conventions{
        "说明（本程序的约定）",
        {"表中数值在相邻两列（粗骨料最大公称粒径）或相邻两行（水胶比、掺量）之间按线性插值取用，"
         "插值时不取整。",
         "砂率取表 5.4.2 中所列范围的中值。",
         "粉煤灰影响系数 γf：I、II 级取表 5.1.3 的上限，III 级取下限；矿渣粉影响系数 γs：S75 "
         "取下限，"
         "S95 取上限，S105 取上限加 0.05。",
         "坍落度大于 90 mm 时每增大 20 mm 用水量加 5 kg，大于 60 mm 时每增大 20 mm 砂率加 1%，"
         "均按比例计入，不取整档。",
         "只在标明“精确至”的步骤四舍五入，其余各步用前面步骤的取整值精确计算。"}};
    // NOLINTEND(bugprone-suspicious-missing-comma)
    if (m_in.fcuk.value_or(0) >= jgj55::kHighStrengthFrom) {
        conventions.items.emplace_back(
            "C60 及以上按 JGJ 55-2011 第 7.3 节由试配给出水胶比；第 7.3.2 条的砂率、水泥用量和"
            "矿物掺合料掺量范围对 C60 及以上各级均作检查，C100 以上按 C100 一行检查。");
    }
    section.blocks.emplace_back(std::move(conventions));
}

namespace {
struct Mass {
    const char* name;
    double value;
};
} // namespace

Section Builder::mix() const {
    Section section{"三、配合比", {}};
    const double binder = m_r.binder;
    // The masses in the order of the mix table.
    // NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
    const auto masses = [&](double cement, double flyAsh, double slag, double water, double sand,
                            double stone, double admixture) {
        std::vector<Mass> list{{"水泥", cement}};
        if (m_r.flyAsh > 0.0) {
            list.push_back({"粉煤灰", flyAsh});
        }
        if (m_r.slag > 0.0) {
            list.push_back({"矿渣粉", slag});
        }
        list.push_back({"水", water});
        list.push_back({"砂", sand});
        list.push_back({"石子", stone});
        if (m_r.admixture > 0.0) {
            list.push_back({"外加剂", admixture});
        }
        return list;
    };
    // The construction mix's masses are written to the kilogram.
    const auto table = [&](const std::vector<Mass>& list, bool kilograms) {
        Table t{{"材料", "每立方米用量（kg）", "与胶凝材料用量之比"}, {}};
        for (const Mass& m : list) {
            t.rows.push_back(
                {m.name,
                 kilograms && std::string_view(m.name) != "外加剂" ? kilogram(m.value) : f(m.value),
                 toBinder(m.value)});
        }
        return t;
    };
    section.blocks.emplace_back(Paragraph{
        "（一）计算配合比（骨料按干燥状态计），胶凝材料用量 mb0 = " + withUnit(binder, "kg/m³")});
    section.blocks.emplace_back(table(
        masses(m_r.cement, m_r.flyAsh, m_r.slag, m_r.water, m_r.sand, m_r.stone, m_r.admixture),
        false));
    section.blocks.emplace_back(Paragraph{"胶凝材料 : 水 : 砂 : 石子 = 1 : " + toBinder(m_r.water) +
                                          " : " + toBinder(m_r.sand) + " : " +
                                          toBinder(m_r.stone)});
    section.blocks.emplace_back(Paragraph{
        "计算表观密度 ρc,c = mb0 + mw0 + ms0 + mg0 = " + f(binder) + " + " + f(m_r.water) + " + " +
        f(m_r.sand) + " + " + f(m_r.stone) + " = " + withUnit(m_r.apparentDensity, "kg/m³")});
    if (m_r.construction) {
        const jgj55::ConstructionMix& c = *m_r.construction;
        section.blocks.emplace_back(
            Paragraph{"（二）施工配合比（砂含水率 ws = " + withUnit(*m_in.sandMoisture, "%") +
                      "，石子含水率 wg = " + withUnit(*m_in.stoneMoisture, "%") +
                      "，各材料用量精确至 1 kg）"});
        section.blocks.emplace_back(
            table(masses(c.cement, c.flyAsh, c.slag, c.water, c.sand, c.stone, c.admixture), true));
    }
    return section;
}

Section Builder::trialBatch() const {
    Section section{"四、试拌用量", {}};
    const std::string litres = f(m_options.batchLitres);
    const bool wet = m_r.construction.has_value();
    section.blocks.emplace_back(Paragraph{
        "试拌 " + litres + " L 混凝土：各材料用量 = 每立方米用量 × " + litres + " / 1000，按" +
        (wet ? "施工配合比" : "计算配合比") + "每立方米用量的显示值计算，四舍五入至 " +
        constant("0.001", m_format) + " kg（1 g）。"});
    Table t{{"材料", "每立方米用量（kg）", "试拌用量（kg）"}, {}};
    const auto add = [&](const char* name, double perCubic) {
        // The construction mix as its table shows it, to the kilogram.
        const std::string shown =
            wet && std::string_view(name) != "外加剂" ? kilogram(perCubic) : f(perCubic);
        const std::optional<std::string> mass = trialMass(shown, m_options.batchLitres, m_format);
        t.rows.push_back({name, shown, mass ? *mass : "—"});
    };
    const jgj55::ConstructionMix c =
        m_r.construction.value_or(jgj55::ConstructionMix{.cement = m_r.cement,
                                                         .flyAsh = m_r.flyAsh,
                                                         .slag = m_r.slag,
                                                         .water = m_r.water,
                                                         .sand = m_r.sand,
                                                         .stone = m_r.stone,
                                                         .admixture = m_r.admixture});
    add("水泥", c.cement);
    if (c.flyAsh > 0.0) {
        add("粉煤灰", c.flyAsh);
    }
    if (c.slag > 0.0) {
        add("矿渣粉", c.slag);
    }
    add("水", c.water);
    add("砂", c.sand);
    add("石子", c.stone);
    if (c.admixture > 0.0) {
        add("外加剂", c.admixture);
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

} // namespace

Document buildJgj55Report(const jgj55::Input& input, const jgj55::Result& result,
                          const calc::NumberFormat& format, const Options& options,
                          const jgj55::TrialResult* trial) {
    return Builder(input, result, format, options, trial).build();
}

} // namespace report
