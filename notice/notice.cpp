#include "notice/notice.h"

#include "calc/decimal.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace notice {

namespace {

using calc::decimal::Exact;

double rounded(const Exact& value, int exponent) {
    return value.rounded(exponent).toDouble();
}

// A figure as the message prints it: its shortest decimal, "." as point.
std::string written(double value) {
    return calc::decimal::plainLayout(calc::decimal::shortest(value), ".");
}

std::optional<NoticeRefusal> moistureProblem(const std::optional<double>& moisture,
                                             std::string_view what, std::string_view key) {
    if (moisture && !(*moisture >= 0.0 && *moisture < 100.0)) {
        return NoticeRefusal{std::string(what) + " " + written(*moisture) +
                                 " % 不在 0 % 与 100 % 之间（含水率以干骨料质量的百分数表示）",
                             std::string(key)};
    }
    return std::nullopt;
}

// Each mass of `mix` times `by`, to 1 kg, the admixture to 0.01 kg.
Mix scaled(const Mix& mix, const Exact& by) {
    const auto kg = [&by](double mass) { return rounded(Exact::of(mass) * by, 0); };
    Mix out;
    out.cement = kg(mix.cement);
    out.flyAsh = kg(mix.flyAsh);
    out.slag = kg(mix.slag);
    out.binder = out.cement + out.flyAsh + out.slag;
    out.water = kg(mix.water);
    out.sand = kg(mix.sand);
    out.stone = kg(mix.stone);
    out.admixture = rounded(Exact::of(mix.admixture) * by, -2);
    return out;
}

} // namespace

Outcome compute(const Basis& basis, const Details& details) {
    Outcome out;
    if (auto problem = moistureProblem(details.sandMoisture, "砂含水率", "sandMoisture")) {
        out.refusal = std::move(*problem);
        return out;
    }
    if (auto problem = moistureProblem(details.stoneMoisture, "石子含水率", "stoneMoisture")) {
        out.refusal = std::move(*problem);
        return out;
    }
    if (details.batchVolume && !(*details.batchVolume > 0.0 && *details.batchVolume <= 10.0)) {
        out.refusal = {"每盘方量 " + written(*details.batchVolume) +
                           " m³ 不在 0 与 10 m³ 之间（大于 0，不超过 10 m³）",
                       "batchVolume"};
        return out;
    }
    const Mix& m = basis.mix;
    for (const auto& [mass, name] :
         {std::pair{m.binder, "胶凝材料"}, std::pair{m.sand, "砂"}, std::pair{m.stone, "石子"}}) {
        if (!(mass > 0.0) || !std::isfinite(mass)) {
            out.refusal = {std::string("配合比中的") + name + "用量 " + written(mass) +
                               " kg/m³ 不是正数，不能开具通知单",
                           {}};
            return out;
        }
    }
    if (!(m.water >= 0.0) || !(m.admixture >= 0.0)) {
        out.refusal = {"配合比中的用水量或外加剂用量为负数，不能开具通知单", {}};
        return out;
    }

    Notice n;
    n.basis = basis;
    n.lab = m;
    n.sandMoisture = details.sandMoisture.value_or(0.0);
    n.stoneMoisture = details.stoneMoisture.value_or(0.0);
    // The water the aggregates bring is taken from the mixing water.
    const Exact ws = Exact::of(n.sandMoisture) / Exact(100);
    const Exact wg = Exact::of(n.stoneMoisture) / Exact(100);
    const Exact ms = Exact::of(m.sand);
    const Exact mg = Exact::of(m.stone);
    Mix& c = n.construction;
    c.cement = rounded(Exact::of(m.cement), 0);
    c.flyAsh = rounded(Exact::of(m.flyAsh), 0);
    c.slag = rounded(Exact::of(m.slag), 0);
    c.binder = c.cement + c.flyAsh + c.slag;
    c.sand = rounded(ms * (Exact(1) + ws), 0);
    c.stone = rounded(mg * (Exact(1) + wg), 0);
    c.water = rounded(Exact::of(m.water) - ms * ws - mg * wg, 0);
    c.admixture = rounded(Exact::of(m.admixture), -2);
    if (c.water < 0.0) {
        out.refusal = {"骨料所含水 " + written(rounded(ms * ws + mg * wg, 0)) +
                           " kg/m³ 多于用水量 " + written(m.water) +
                           " kg/m³：含水率过大，请复核砂、石含水率",
                       "sandMoisture"};
        return out;
    }
    if (details.batchVolume) {
        n.batchVolume = details.batchVolume;
        n.batch = scaled(c, Exact::of(*details.batchVolume));
    }
    out.notice = std::move(n);
    return out;
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

struct Text {
    std::string_view key;
    std::string Details::*member;
};
struct MaterialText {
    std::string_view key;
    std::string Materials::*member;
};
struct Number {
    std::string_view key;
    std::optional<double> Details::*member;
};

constexpr MaterialText kMaterials[] = {
    {"cement", &Materials::cement}, {"sand", &Materials::sand},
    {"stone", &Materials::stone},   {"flyAsh", &Materials::flyAsh},
    {"slag", &Materials::slag},     {"admixture", &Materials::admixture},
};
constexpr Number kNumbers[] = {
    {"sandMoisture", &Details::sandMoisture},
    {"stoneMoisture", &Details::stoneMoisture},
    {"batchVolume", &Details::batchVolume},
};

constexpr Field kFields[] = {
    {"number", "编号", "", nullptr, [](Details& d) -> std::string& { return d.number; }},
    {"sandMoisture", "砂含水率", "%", &Details::sandMoisture, nullptr, 99.9, 1},
    {"stoneMoisture", "石子含水率", "%", &Details::stoneMoisture, nullptr, 99.9, 1},
    {"batchVolume", "每盘方量", "m³", &Details::batchVolume, nullptr, 10.0, 2},
    {"cement", "水泥", "", nullptr, [](Details& d) -> std::string& { return d.materials.cement; }},
    {"sand", "砂", "", nullptr, [](Details& d) -> std::string& { return d.materials.sand; }},
    {"stone", "石子", "", nullptr, [](Details& d) -> std::string& { return d.materials.stone; }},
    {"flyAsh", "粉煤灰", "", nullptr,
     [](Details& d) -> std::string& { return d.materials.flyAsh; }},
    {"slag", "矿渣粉", "", nullptr, [](Details& d) -> std::string& { return d.materials.slag; }},
    {"admixture", "外加剂", "", nullptr,
     [](Details& d) -> std::string& { return d.materials.admixture; }},
    {"permeability", "抗渗等级", "", nullptr,
     [](Details& d) -> std::string& { return d.permeability; }},
    {"frost", "抗冻等级", "", nullptr, [](Details& d) -> std::string& { return d.frost; }},
};

std::string keyName(std::string_view key) {
    return "「notice」中的「" + std::string(key) + "」";
}

} // namespace

std::span<const Field> fields() {
    return kFields;
}

ordered detailsBlock(const Details& details) {
    ordered block = ordered::object();
    if (!details.number.empty()) {
        block["number"] = details.number;
    }
    for (const Number& n : kNumbers) {
        if (const std::optional<double>& value = details.*n.member) {
            block[std::string(n.key)] = numberJson(*value);
        }
    }
    if (!details.materials.empty()) {
        ordered materials = ordered::object();
        for (const MaterialText& t : kMaterials) {
            if (!(details.materials.*t.member).empty()) {
                materials[std::string(t.key)] = details.materials.*t.member;
            }
        }
        block["materials"] = std::move(materials);
    }
    if (!details.permeability.empty()) {
        block["permeability"] = details.permeability;
    }
    if (!details.frost.empty()) {
        block["frost"] = details.frost;
    }
    return block;
}

namespace {

// Each reader below takes one key of the block into the details and returns
// why it cannot, or nothing.
using Problem = std::optional<std::string>;

Problem readMaterials(const json& value, Materials& materials) {
    if (!value.is_object()) {
        return keyName("materials") + " 应为对象。";
    }
    for (const auto& item : value.items()) {
        const std::string& name = item.key();
        const json& text = item.value();
        const auto* t = std::find_if(std::begin(kMaterials), std::end(kMaterials),
                                     [&name](const MaterialText& m) { return m.key == name; });
        if (t == std::end(kMaterials)) {
            return keyName("materials") + "中的「" + name + "」不是原材料之一。";
        }
        if (!text.is_string()) {
            return keyName("materials") + "中的「" + name + "」应为文字。";
        }
        materials.*t->member = text.get<std::string>();
    }
    return std::nullopt;
}

Problem readNumber(const std::string& key, const json& value, Details& d) {
    const auto* n = std::find_if(std::begin(kNumbers), std::end(kNumbers),
                                 [&key](const Number& number) { return number.key == key; });
    if (n == std::end(kNumbers)) {
        return keyName(key) + " 不是通知单的一项。";
    }
    if (!value.is_number() || !std::isfinite(value.get<double>())) {
        return keyName(key) + " 应为数。";
    }
    d.*n->member = value.get<double>();
    return std::nullopt;
}

Problem readEntry(const std::string& key, const json& value, Details& d) {
    if (key == "number" || key == "permeability" || key == "frost") {
        if (!value.is_string()) {
            return keyName(key) + " 应为文字。";
        }
        (key == "number"  ? d.number
         : key == "frost" ? d.frost
                          : d.permeability) = value.get<std::string>();
        return std::nullopt;
    }
    if (key == "materials") {
        return readMaterials(value, d.materials);
    }
    return readNumber(key, value, d);
}

} // namespace

DetailsReading readDetails(const json& block) {
    if (!block.is_object()) {
        return {std::nullopt, "「notice」应为对象。"};
    }
    Details d;
    for (const auto& [key, value] : block.items()) {
        if (Problem why = readEntry(key, value, d)) {
            return {std::nullopt, std::move(*why)};
        }
    }
    return {d, {}};
}

namespace {

ordered massesJson(const Mix& m) {
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

} // namespace

std::string resultJson(const Notice& notice) {
    ordered out = ordered::object();
    out["basis"] = notice.basis.kind == Basis::Kind::Lab ? "lab" : "calculated";
    out["lab"] = massesJson(notice.lab);
    out["sandMoisture"] = numberJson(notice.sandMoisture);
    out["stoneMoisture"] = numberJson(notice.stoneMoisture);
    out["construction"] = massesJson(notice.construction);
    out["batchVolume"] = notice.batchVolume ? numberJson(*notice.batchVolume) : ordered();
    out["batch"] = notice.batch ? massesJson(*notice.batch) : ordered();
    return out.dump(2, ' ', false) + "\n";
}

} // namespace notice
