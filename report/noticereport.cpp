#include "report/noticereport.h"

#include "report/numbers.h"

#include <string>
#include <utility>
#include <vector>

namespace report {

namespace {

struct Row {
    const char* name;
    double notice::Mix::*mass;
    bool admixture = false;
};

constexpr Row kRows[] = {
    {"水泥", &notice::Mix::cement},
    {"粉煤灰", &notice::Mix::flyAsh},
    {"矿渣粉", &notice::Mix::slag},
    {"水", &notice::Mix::water},
    {"砂", &notice::Mix::sand},
    {"石子", &notice::Mix::stone},
    {"外加剂", &notice::Mix::admixture, true},
};

class Builder {
public:
    Builder(const notice::Notice& n, const notice::Details& d, const calc::NumberFormat& format,
            const Options& options)
        : m_n(n), m_d(d), m_format(format), m_options(options) {}

    Document build() const;

private:
    std::string f(double x) const { return figure(x, m_format); }
    std::string withUnit(double x, std::string_view u) const { return keep(f(x) + unit(u)); }
    bool shown(const Row& row) const {
        // Fly ash, slag and admixture only where the mix has them.
        return m_n.lab.*row.mass > 0.0 || (row.mass != &notice::Mix::flyAsh &&
                                           row.mass != &notice::Mix::slag && !row.admixture);
    }
    Section requirements() const;
    Section materials() const;
    Section mix() const;
    Section remarks() const;

    const notice::Notice& m_n;
    const notice::Details& m_d;
    const calc::NumberFormat& m_format;
    const Options& m_options;
};

Document Builder::build() const {
    // The frame of every report of the program, under the notice's title,
    // number and basis, signed by the laboratory.
    Document document = reportFrame(m_n.basis.standard, m_options);
    document.title = "混凝土配合比通知单";
    document.heading.insert(document.heading.begin() + 1,
                            m_n.basis.kind == notice::Basis::Kind::Lab
                                ? "配合比：试验室配合比（经试配、调整与确定）"
                                : "配合比：计算配合比（未经试配调整）");
    if (!m_d.number.empty()) {
        document.heading.insert(document.heading.begin(), "编号：" + userText(m_d.number));
    }
    document.sections = {requirements(), materials(), mix(), remarks()};
    document.signatures = {{"试验"}, {"审核"}, {"批准"}};
    return document;
}

Section Builder::requirements() const {
    Section section{"一、设计要求", {}};
    std::string grade = m_n.basis.strengthClass;
    std::vector<std::string> more;
    if (!m_d.permeability.empty()) {
        more.push_back("抗渗等级 " + userText(m_d.permeability));
    }
    if (!m_d.frost.empty()) {
        more.push_back("抗冻等级 " + userText(m_d.frost));
    }
    for (std::size_t i = 0; i < more.size(); ++i) {
        grade += (i == 0 ? "，" : "、") + more[i];
    }
    Table t{{"项目", "要求"}, {{"强度等级", grade}}};
    if (m_n.basis.slump) {
        t.rows.push_back({"坍落度", withUnit(*m_n.basis.slump, "mm")});
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

Section Builder::materials() const {
    Section section{"二、原材料", {}};
    const notice::Materials& m = m_d.materials;
    const auto text = [](const std::string& given) {
        return given.empty() ? std::string("（未填写）") : userText(given);
    };
    Table t{{"材料", "品种、规格、产地"}, {}};
    t.rows.push_back({"水泥", text(m.cement)});
    t.rows.push_back({"砂", text(m.sand)});
    t.rows.push_back({"石子", text(m.stone)});
    if (m_n.lab.flyAsh > 0.0 || !m.flyAsh.empty()) {
        t.rows.push_back({"粉煤灰", text(m.flyAsh)});
    }
    if (m_n.lab.slag > 0.0 || !m.slag.empty()) {
        t.rows.push_back({"矿渣粉", text(m.slag)});
    }
    if (m_n.lab.admixture > 0.0 || !m.admixture.empty()) {
        t.rows.push_back({"外加剂", text(m.admixture)});
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

Section Builder::mix() const {
    Section section{"三、配合比", {}};
    const bool cementOnly = m_n.basis.waterCement;
    std::string line = (cementOnly ? "水灰比 W/C = " : "水胶比 W/B = ") +
                       ratio(m_n.basis.waterBinder, 1.0, m_format);
    if (m_n.basis.sandRatio) {
        line += "，砂率 βs = " + keep(f(*m_n.basis.sandRatio) + " %");
    }
    section.blocks.emplace_back(Paragraph{line});
    section.blocks.emplace_back(
        Paragraph{"砂含水率 ws = " + keep(f(m_n.sandMoisture) + " %") +
                  "，石子含水率 wg = " + keep(f(m_n.stoneMoisture) + " %")});
    const std::string labTitle = m_n.basis.kind == notice::Basis::Kind::Lab
                                     ? "试验室配合比（kg/m³）"
                                     : "计算配合比（kg/m³）";
    Table t{{"材料", labTitle, cementOnly ? "与水泥之比" : "与胶凝材料之比", "施工配合比（kg/m³）"},
            {}};
    if (m_n.batch) {
        t.header.push_back("每盘 " + keep(f(*m_n.batchVolume) + " m³") + "（kg）");
    }
    for (const Row& row : kRows) {
        if (!shown(row)) {
            continue;
        }
        std::vector<std::string> cells{row.name, f(m_n.lab.*row.mass),
                                       ratio(m_n.lab.*row.mass, m_n.lab.binder, m_format),
                                       f(m_n.construction.*row.mass)};
        if (m_n.batch) {
            cells.push_back(f(*m_n.batch.*row.mass));
        }
        t.rows.push_back(std::move(cells));
    }
    section.blocks.emplace_back(std::move(t));
    return section;
}

Section Builder::remarks() const {
    Section section{"四、说明", {}};
    List list{"", {}};
    list.items.push_back("施工配合比：砂 ms′ = ms (1 + ws)，石子 mg′ = mg (1 + wg)，水 mw′ = mw − "
                         "ms·ws − mg·wg；胶凝材料与外加剂不变。各质量按精确值四舍五入至 1 kg，"
                         "外加剂至 0.01 kg（本程序的约定）。");
    if (m_n.batch) {
        list.items.push_back("每盘用量 = 施工配合比每立方米用量（取上表所列数值）× " +
                             keep(f(*m_n.batchVolume) + " m³") +
                             "，四舍五入至 1 kg，外加剂至 0.01 kg（本程序的约定）。");
    }
    list.items.push_back("本通知单仅适用于上列原材料及含水率；原材料或砂、石含水率变化时，"
                         "本通知单作废，应重新测定含水率并调整施工配合比。");
    section.blocks.emplace_back(std::move(list));
    return section;
}

} // namespace

Document buildNotice(const notice::Notice& notice, const notice::Details& details,
                     const calc::NumberFormat& format, const Options& options) {
    Document document = Builder(notice, details, format, options).build();
    static constexpr std::string_view kSymbols[] = {"ms", "mg", "mw", "ws", "wg", "βs"};
    markSymbols(document, kSymbols);
    return document;
}

} // namespace report
