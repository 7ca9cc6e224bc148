#include "jgj55/inputs.h"

#include <array>

namespace jgj55 {

namespace {

constexpr std::string_view kMpa = "MPa";
constexpr std::string_view kKg = "kg/m³";
constexpr std::string_view kPercent = "%";

template <typename E> constexpr int v(E value) {
    return static_cast<int>(value);
}

constexpr std::array kCementGrades = {
    ChoiceEntry{"32.5", "32.5", v(CementGrade::G32_5)},
    ChoiceEntry{"42.5", "42.5", v(CementGrade::G42_5)},
    ChoiceEntry{"52.5", "52.5", v(CementGrade::G52_5)},
};
constexpr std::array kCementTypes = {
    ChoiceEntry{"P·I", "P·I", v(CementType::PI)},
    ChoiceEntry{"P·II", "P·II", v(CementType::PII)},
    ChoiceEntry{"P·O", "P·O", v(CementType::PO)},
    ChoiceEntry{"P·S·A", "P·S·A", v(CementType::PSA)},
    ChoiceEntry{"P·S·B", "P·S·B", v(CementType::PSB)},
    ChoiceEntry{"P·P", "P·P", v(CementType::PP)},
    ChoiceEntry{"P·F", "P·F", v(CementType::PF)},
    ChoiceEntry{"P·C", "P·C", v(CementType::PC)},
};
constexpr std::array kFlyAshGrades = {
    ChoiceEntry{"I", "I", v(FlyAshGrade::I)},
    ChoiceEntry{"II", "II", v(FlyAshGrade::II)},
    ChoiceEntry{"III", "III", v(FlyAshGrade::III)},
};
constexpr std::array kSlagGrades = {
    ChoiceEntry{"S75", "S75", v(SlagGrade::S75)},
    ChoiceEntry{"S95", "S95", v(SlagGrade::S95)},
    ChoiceEntry{"S105", "S105", v(SlagGrade::S105)},
};
constexpr std::array kStones = {
    ChoiceEntry{"crushed", "碎石", v(Stone::Crushed)},
    ChoiceEntry{"gravel", "卵石", v(Stone::Gravel)},
};
constexpr std::array kStructures = {
    ChoiceEntry{"plain", "素混凝土", v(Structure::Plain)},
    ChoiceEntry{"reinforced", "钢筋混凝土", v(Structure::Reinforced)},
    ChoiceEntry{"prestressed", "预应力混凝土", v(Structure::Prestressed)},
};
constexpr std::array kEnvironments = {
    ChoiceEntry{"一", "一", v(Environment::I)},
    ChoiceEntry{"二a", "二a", v(Environment::IIa)},
    ChoiceEntry{"二b", "二b", v(Environment::IIb)},
    ChoiceEntry{"三a", "三a", v(Environment::IIIa)},
    ChoiceEntry{"三b", "三b", v(Environment::IIIb)},
};
constexpr std::array kMethods = {
    ChoiceEntry{"mass", "质量法", v(Method::Mass)},
    ChoiceEntry{"volume", "体积法", v(Method::Volume)},
};

// A number of its own: Input::*Member.
template <auto Member>
constexpr InputRow number(std::string_view key, std::string_view caption, std::string_view unit,
                          int typedShift = 0) {
    return {.key = key,
            .caption = caption,
            .unit = unit,
            .typedShift = typedShift,
            .number = [](const Input& in) -> std::optional<double> { return in.*Member; },
            .setNumber = [](Input& in, std::optional<double> value) { in.*Member = value; }};
}

// A number of a group: (Input::*Group)->*Member.
template <auto Group, auto Member>
constexpr InputRow number(std::string_view key, std::string_view caption, std::string_view unit,
                          int typedShift = 0) {
    return {.key = key,
            .caption = caption,
            .unit = unit,
            .typedShift = typedShift,
            .number = [](const Input& in) -> std::optional<double> {
                return in.*Group ? (*(in.*Group)).*Member : std::nullopt;
            },
            .setNumber =
                [](Input& in, std::optional<double> value) {
                    if (value && !(in.*Group)) {
                        (in.*Group).emplace();
                    }
                    if (in.*Group) {
                        (*(in.*Group)).*Member = value;
                    }
                }};
}

template <auto Member>
constexpr InputRow choice(std::string_view key, std::string_view caption,
                          std::span<const ChoiceEntry> entries) {
    using E = typename std::remove_reference_t<decltype(Input{}.*Member)>::value_type;
    return {.key = key,
            .caption = caption,
            .kind = InputRow::Kind::Choice,
            .choices = entries,
            .choice = [](const Input& in) -> std::optional<int> {
                return in.*Member ? std::optional<int>(static_cast<int>(*(in.*Member)))
                                  : std::nullopt;
            },
            .setChoice =
                [](Input& in, std::optional<int> value) {
                    in.*Member = value ? std::optional<E>(static_cast<E>(*value)) : std::nullopt;
                }};
}

template <auto Group, auto Member>
constexpr InputRow choice(std::string_view key, std::string_view caption,
                          std::span<const ChoiceEntry> entries) {
    using G = typename std::remove_reference_t<decltype(Input{}.*Group)>::value_type;
    using E = typename std::remove_reference_t<decltype(G{}.*Member)>::value_type;
    return {.key = key,
            .caption = caption,
            .kind = InputRow::Kind::Choice,
            .choices = entries,
            .choice = [](const Input& in) -> std::optional<int> {
                if (!(in.*Group) || !((*(in.*Group)).*Member)) {
                    return std::nullopt;
                }
                return static_cast<int>(*((*(in.*Group)).*Member));
            },
            .setChoice =
                [](Input& in, std::optional<int> value) {
                    if (value && !(in.*Group)) {
                        (in.*Group).emplace();
                    }
                    if (in.*Group) {
                        (*(in.*Group)).*Member =
                            value ? std::optional<E>(static_cast<E>(*value)) : std::nullopt;
                    }
                }};
}

// In the order the design file writes them.
const std::array kRows = {
    number<&Input::fcuk>("fcuk", "强度标准值 fcu,k", kMpa),
    number<&Input::sigma>("sigma", "标准差 σ", kMpa),
    choice<&Input::cementType>("cementType", "水泥品种", kCementTypes),
    choice<&Input::cementGrade>("cementGrade", "水泥强度等级", kCementGrades),
    number<&Input::gammaC>("gammaC", "富余系数 γc", ""),
    number<&Input::fce>("fce", "实测强度 fce", kMpa),
    number<&Input::flyAsh, &FlyAsh::fraction>("flyAsh.fraction", "粉煤灰掺量 βf", kPercent, 2),
    choice<&Input::flyAsh, &FlyAsh::grade>("flyAsh.grade", "粉煤灰等级", kFlyAshGrades),
    number<&Input::flyAsh, &FlyAsh::gammaF>("flyAsh.gammaF", "影响系数 γf", ""),
    number<&Input::flyAsh, &FlyAsh::density>("flyAsh.density", "粉煤灰密度 ρf", kKg),
    number<&Input::slag, &Slag::fraction>("slag.fraction", "矿渣粉掺量 βk", kPercent, 2),
    choice<&Input::slag, &Slag::grade>("slag.grade", "矿渣粉等级", kSlagGrades),
    number<&Input::slag, &Slag::gammaS>("slag.gammaS", "影响系数 γs", ""),
    number<&Input::slag, &Slag::density>("slag.density", "矿渣粉密度 ρk", kKg),
    number<&Input::admixture, &Admixture::fraction>("admixture.fraction", "外加剂掺量 βa", kPercent,
                                                    2),
    number<&Input::admixture, &Admixture::waterReduction>("admixture.waterReduction", "减水率 β",
                                                          kPercent, 2),
    choice<&Input::stone>("stone", "粗骨料", kStones),
    number<&Input::maxSize>("maxSize", "最大公称粒径", "mm"),
    number<&Input::slump>("slump", "坍落度", "mm"),
    number<&Input::vebe>("vebe", "维勃稠度", "s"),
    number<&Input::waterBinder>("waterBinder", "水胶比 W/B（试配）", ""),
    number<&Input::water>("water", "用水量 mw0′", kKg),
    number<&Input::sandRatio>("sandRatio", "砂率 βs", kPercent),
    number<&Input::alphaA>("alphaA", "回归系数 αa", ""),
    number<&Input::alphaB>("alphaB", "回归系数 αb", ""),
    choice<&Input::structure>("structure", "结构", kStructures),
    choice<&Input::environment>("environment", "环境类别", kEnvironments),
    choice<&Input::method>("method", "计算方法", kMethods),
    number<&Input::assumedDensity>("assumedDensity", "假定表观密度 mcp", kKg),
    number<&Input::air>("air", "含气量 α", kPercent),
    number<&Input::cementDensity>("cementDensity", "水泥密度 ρc", kKg),
    number<&Input::sandDensity>("sandDensity", "砂表观密度 ρs", kKg),
    number<&Input::stoneDensity>("stoneDensity", "石子表观密度 ρg", kKg),
    number<&Input::waterDensity>("waterDensity", "水的密度 ρw", kKg),
    number<&Input::sandMoisture>("sandMoisture", "砂含水率", kPercent),
    number<&Input::stoneMoisture>("stoneMoisture", "石子含水率", kPercent),
};

} // namespace

std::string_view InputRow::group() const {
    const std::size_t dot = key.find('.');
    return dot == std::string_view::npos ? std::string_view() : key.substr(0, dot);
}

std::string_view InputRow::member() const {
    const std::size_t dot = key.find('.');
    return dot == std::string_view::npos ? key : key.substr(dot + 1);
}

const ChoiceEntry* InputRow::entryOf(int value) const {
    for (const ChoiceEntry& entry : choices) {
        if (entry.value == value) {
            return &entry;
        }
    }
    return nullptr;
}

const ChoiceEntry* InputRow::entryNamed(std::string_view name) const {
    for (const ChoiceEntry& entry : choices) {
        if (entry.name == name) {
            return &entry;
        }
    }
    return nullptr;
}

std::span<const InputRow> inputRows() {
    return kRows;
}

const InputRow* findInput(std::string_view key) {
    for (const InputRow& row : kRows) {
        if (row.key == key) {
            return &row;
        }
    }
    return nullptr;
}

bool hasGroup(const Input& input, std::string_view group) {
    if (group == "flyAsh") {
        return input.flyAsh.has_value();
    }
    if (group == "slag") {
        return input.slag.has_value();
    }
    if (group == "admixture") {
        return input.admixture.has_value();
    }
    return false;
}

void makeGroup(Input& input, std::string_view group) {
    if (group == "flyAsh" && !input.flyAsh) {
        input.flyAsh.emplace();
    } else if (group == "slag" && !input.slag) {
        input.slag.emplace();
    } else if (group == "admixture" && !input.admixture) {
        input.admixture.emplace();
    }
}

} // namespace jgj55
