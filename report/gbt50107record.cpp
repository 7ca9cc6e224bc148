#include "report/gbt50107record.h"

#include <algorithm>
#include <utility>

namespace report {

namespace {

using gbt50107::ConditionKind;
using gbt50107::Evaluation;
using gbt50107::GroupRule;
using gbt50107::GroupValue;
using gbt50107::Method;
using gbt50107::SizeFactorOrigin;

class Builder {
public:
    Builder(const gbt50107::Input& input, const Evaluation& evaluation,
            const calc::NumberFormat& format, const Options& options)
        : m_in(input), m_e(evaluation), m_format(format), m_options(options) {}

    Document build() const;

private:
    // A figure with at least `places` decimals, in the regional format.
    std::string d(double x, int places) const { return gbt50107::decimalText(x, places, m_format); }
    std::string strength(double x) const { return d(x, 1); }
    std::string withUnit(const std::string& figure, std::string_view u) const {
        return keep(figure + unit(u));
    }
    std::string fcuk() const { return d(m_e.fcuk, 0); }
    bool converted() const { return m_e.sizeFactorOrigin != SizeFactorOrigin::Standard150; }
    int leftOut() const {
        return static_cast<int>(
            std::count_if(m_e.groups.begin(), m_e.groups.end(),
                          [](const GroupValue& g) { return g.rule == GroupRule::LeftOut; }));
    }

    Section data() const;
    std::string sizeText() const;
    std::string methodText() const;
    Section groups() const;
    std::vector<std::string> groupRow(std::size_t index) const;
    Section working() const;
    Step deviation() const;
    Step sigma0() const;
    Step lambdas() const;
    Section judgement() const;
    Section designSigma() const;
    List choices() const;
    std::string deviationFormula(double sum, double squares, int n) const;

    const gbt50107::Input& m_in;
    const Evaluation& m_e;
    const calc::NumberFormat& m_format;
    const Options& m_options;
};

Document Builder::build() const {
    Document document;
    document.title = "混凝土强度检验评定记录";
    document.heading = {"评定依据：GB/T 50107-2010《混凝土强度检验评定标准》",
                        "评定日期：" + m_options.date,
                        "计算程序：" + m_options.program + " " + m_options.version};
    if (!m_options.designFile.empty()) {
        document.heading.push_back("评定文件：" + userText(m_options.designFile));
    }
    document.project = {userText(m_options.project.name), userText(m_options.project.part),
                        userText(m_options.project.client)};
    document.partLabel = "施工部位";
    document.sections = {data(), groups(), working(), judgement()};
    if (m_e.designSigma) {
        document.sections.push_back(designSigma());
    }
    document.sections.push_back({"说明", {choices()}});
    document.signatures = {{"计算"}, {"审核"}, {"监理"}};
    return document;
}

std::string Builder::sizeText() const {
    const std::string size = std::to_string(gbt50107::millimetres(m_e.specimenSize)) + " mm 立方体";
    switch (m_e.sizeFactorOrigin) {
    case SizeFactorOrigin::Standard:
        return size + "，尺寸换算系数 " + d(m_e.sizeFactor, 2) + "（C60 以下按标准取用）";
    case SizeFactorOrigin::Tested:
        return size + "，尺寸换算系数 " + d(m_e.sizeFactor, 2) + "（由试验确定）";
    case SizeFactorOrigin::Standard150:
        break;
    }
    return size + "（标准尺寸试件）";
}

std::string Builder::methodText() const {
    return std::string(gbt50107::methodName(m_e.method)) + "，第 " +
           std::string(gbt50107::methodClause(m_e.method)) + " 条" +
           (m_e.chosen ? "（由程序选用）" : "（由用户选定）");
}

Section Builder::data() const {
    Section section{"一、评定资料", {}};
    Table t{{"项目", "内容"}, {}};
    t.rows.push_back(
        {"混凝土强度等级", "C" + fcuk() + "（fcu,k = " + withUnit(fcuk(), "MPa") + "）"});
    t.rows.push_back({"试件尺寸", sizeText()});
    t.rows.push_back({"评定方法", methodText()});
    std::string count = "n = " + std::to_string(m_e.n);
    if (leftOut() > 0) {
        count += "（另有 " + std::to_string(leftOut()) + " 组不作为评定依据）";
    }
    t.rows.push_back({"参加评定的组数", count});
    if (m_in.sigma0) {
        t.rows.push_back({"已知标准差 σ0", withUnit(d(*m_in.sigma0, 2), "MPa")});
    }
    if (!m_in.previous.empty()) {
        t.rows.push_back({"上一期强度代表值", std::to_string(m_in.previous.size()) + " 组"});
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

std::vector<std::string> Builder::groupRow(std::size_t index) const {
    const gbt50107::Group& group = m_in.groups[index];
    const GroupValue& g = m_e.groups[index];
    std::vector<std::string> row{std::to_string(index + 1)};
    for (const auto& s : group.specimens) {
        row.push_back(s ? strength(*s) : "—");
    }
    const bool out = g.rule == GroupRule::LeftOut;
    row.push_back(out ? "—" : strength(g.tested));
    if (converted()) {
        row.push_back(out ? "—" : strength(g.value));
    }
    row.push_back(gbt50107::ruleNote(g));
    return row;
}

Section Builder::groups() const {
    Section section{"二、各组强度代表值", {}};
    Table t{{"组号", "试件 1", "试件 2", "试件 3", "代表值（MPa）"}, {}};
    if (converted()) {
        t.header.back() =
            "代表值（" + std::to_string(gbt50107::millimetres(m_e.specimenSize)) + " mm，MPa）";
        t.header.emplace_back("换算为 150 mm（MPa）");
    }
    t.header.emplace_back("说明");
    for (std::size_t i = 0; i < m_in.groups.size() && i < m_e.groups.size(); ++i) {
        t.rows.push_back(groupRow(i));
    }
    section.blocks.emplace_back(Paragraph{
        "每组三个试件强度的算术平均值为该组的强度代表值，精确至 0.1 MPa；最大值或最小值与中间值"
        "之差超过中间值的 15% 时，取中间值；两者均超过时，该组不作为评定依据（GB/T 50107-2010 "
        "第 4.3.1 条）。"});
    if (converted()) {
        section.blocks.emplace_back(
            Paragraph{"非标准尺寸试件的代表值乘以尺寸换算系数 " + d(m_e.sizeFactor, 2) +
                      "，换算为 150 mm 立方体试件的强度，精确至 0.1 MPa（第 4.3.2 条）。"});
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

// √[(Σfcu,i² − n·mfcu²) / (n − 1)] with the figures put in.
std::string Builder::deviationFormula(double sum, double squares, int n) const {
    return "√[(Σfcu,i² − n·mfcu²) / (n − 1)] = √[(" + d(squares, 2) + " − " + d(sum, 1) + "² / " +
           std::to_string(n) + ") / " + std::to_string(n - 1) + "]";
}

Step Builder::deviation() const {
    Step step{"标准差 " + symbol("Sfcu"), {}, {}};
    step.equations.push_back("Sfcu = " + deviationFormula(m_e.sum, m_e.sumOfSquares, m_e.n) +
                             " = " + withUnit(d(*m_e.sd, 2), "MPa") + "（精确至 " +
                             keep("0.01 MPa") + "）");
    step.notes.emplace_back("式中 n·mfcu² 按未修约的平均值计算，即 (Σfcu,i)² / n。");
    if (*m_e.sdUsed != *m_e.sd) {
        step.notes.push_back("Sfcu 小于 " + d(2.5, 1) +
                             " MPa，取 Sfcu = " + withUnit(d(*m_e.sdUsed, 2), "MPa") + "。");
    }
    return step;
}

Step Builder::sigma0() const {
    Step step{"已知标准差 " + symbol("σ0"), {}, {}};
    if (m_e.previous) {
        const gbt50107::PreviousPeriod& p = *m_e.previous;
        step.equations.push_back("σ0 = " + deviationFormula(p.sum, p.sumOfSquares, p.count) +
                                 " = " + withUnit(d(*m_e.sd, 2), "MPa") + "（精确至 " +
                                 keep("0.01 MPa") + "）");
        step.notes.push_back("由上一期 " + std::to_string(p.count) +
                             " 组强度代表值计算（见下表），式中 n·mfcu² 按未修约的平均值计算。");
    } else {
        step.equations.push_back("σ0 = " + withUnit(d(*m_e.sd, 2), "MPa") + "（给出的值，精确至 " +
                                 keep("0.01 MPa") + "）");
    }
    if (*m_e.sdUsed != *m_e.sd) {
        step.notes.push_back("σ0 小于 " + d(2.5, 1) +
                             " MPa，取 σ0 = " + withUnit(d(*m_e.sdUsed, 2), "MPa") + "。");
    }
    return step;
}

Step Builder::lambdas() const {
    Step step{"合格评定系数", {}, {}};
    const auto two = [this](const std::optional<double>& x) { return d(x.value_or(0.0), 2); };
    if (m_e.method == Method::Statistical) {
        const std::string range1 =
            m_e.n >= 20 ? "20 组及以上" : (m_e.n >= 15 ? "15～19 组" : "10～14 组");
        const std::string range2 = m_e.n >= 15 ? "15 组及以上" : "10～14 组";
        step.equations.push_back("λ1 = " + two(m_e.lambda1) + "（" + range1 +
                                 "），λ2 = " + two(m_e.lambda2) + "（" + range2 + "）");
    } else {
        step.equations.push_back("λ3 = " + two(m_e.lambda3) + "（" +
                                 (m_e.fcuk < 60.0 ? "C60 以下" : "C60 及以上") +
                                 "），λ4 = " + two(m_e.lambda4));
    }
    return step;
}

Section Builder::working() const {
    Section section{"三、评定计算", {}};
    section.blocks.emplace_back(
        Step{"平均值 " + symbol("mfcu"),
             {"mfcu = Σfcu,i / n = " + d(m_e.sum, 1) + " / " + std::to_string(m_e.n) + " = " +
              withUnit(strength(m_e.mean), "MPa") + "（精确至 " + keep("0.1 MPa") + "）"},
             {}});
    section.blocks.emplace_back(Step{
        "最小值 " + symbol("fcu,min"), {"fcu,min = " + withUnit(strength(m_e.min), "MPa")}, {}});
    if (m_e.method == Method::Statistical) {
        section.blocks.emplace_back(deviation());
    } else if (m_e.method == Method::KnownSigma) {
        section.blocks.emplace_back(sigma0());
        if (m_e.previous) {
            Table t{{"", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}, {}};
            for (std::size_t i = 0; i < m_e.previous->values.size(); i += 10) {
                std::vector<std::string> row{std::to_string(i + 1) + "～"};
                for (std::size_t k = i; k < i + 10; ++k) {
                    row.push_back(
                        k < m_e.previous->values.size() ? strength(m_e.previous->values[k]) : "");
                }
                t.rows.push_back(std::move(row));
            }
            section.blocks.emplace_back(std::move(t));
        }
    }
    if (m_e.method != Method::KnownSigma) {
        section.blocks.emplace_back(lambdas());
    }
    return section;
}

Section Builder::judgement() const {
    Section section{"四、评定", {}};
    List list{"评定条件（GB/T 50107-2010 第 " + std::string(gbt50107::methodClause(m_e.method)) +
                  " 条）",
              {}};
    for (const gbt50107::Condition& c : m_e.conditions) {
        list.items.push_back(gbt50107::conditionText(m_e, c, m_format));
    }
    section.blocks.emplace_back(std::move(list));
    section.blocks.emplace_back(Paragraph{"评定结论：" + gbt50107::verdict(m_e)});
    return section;
}

Section Builder::designSigma() const {
    const gbt50107::DesignSigma& s = *m_e.designSigma;
    Section section{"五、可用于配合比设计的强度标准差 σ", {}};
    const std::string floor = s.floor < 4.0 ? "C30 及以下" : "C30 以上、C60 以下";
    section.blocks.emplace_back(
        Step{"强度标准差 σ（JGJ 55-2011 第 4.0.2 条）",
             {"σ = " + deviationFormula(m_e.sum, m_e.sumOfSquares, m_e.n) + " = " +
                  withUnit(d(s.computed, 2), "MPa"),
              floor + "不小于 " + withUnit(d(s.floor, 1), "MPa") +
                  "，取 σ = " + withUnit(d(s.value, 2), "MPa")},
             {"由本批参加评定的 " + std::to_string(m_e.n) + " 组同一强度等级的强度代表值计算。"}});
    return section;
}

// Where the program made a choice of its own, for the checker.
List Builder::choices() const {
    List list{"本程序的做法", {}};
    list.items.emplace_back("各条件左边的强度值（mfcu、fcu,min、mfcu − λ1·Sfcu）精确至 0.1 MPa 后"
                            "判定；右边的限值按算得的值判定，不修约。");
    if (m_e.chosen) {
        list.items.emplace_back(
            "评定方法由程序选用：给出已知标准差且为连续三组时用第 5.1.2 条，"
            "10 组及以上用第 5.1.3 条，其余用第 5.2 条；组数不计不作为评定依据的组。");
    }
    if (converted()) {
        list.items.emplace_back("非标准尺寸试件先求代表值并精确至 0.1 MPa，再乘以尺寸换算系数并"
                                "精确至 0.1 MPa；只给出代表值的组，其代表值按所选试件尺寸换算。");
    }
    if (m_e.previous) {
        list.items.emplace_back("上一期的强度代表值按已换算为 150 mm 立方体试件的强度计，各精确至 "
                                "0.1 MPa。");
    }
    for (const std::string& note : m_e.notes) {
        list.items.push_back(note + "。");
    }
    return list;
}

} // namespace

Document buildGbt50107Record(const gbt50107::Input& input, const gbt50107::Evaluation& evaluation,
                             const calc::NumberFormat& format, const Options& options) {
    return Builder(input, evaluation, format, options).build();
}

} // namespace report
