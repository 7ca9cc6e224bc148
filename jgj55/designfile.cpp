#include "jgj55/designfile.h"

#include <cmath>
#include <functional>
#include <utility>

#include <nlohmann/json.hpp>

namespace jgj55 {

namespace {

using json = nlohmann::json;
using ordered = nlohmann::ordered_json;

struct FileRefusal {
    std::string message;
};

std::string keyName(std::string_view name) {
    return "「" + std::string(name) + "」";
}

std::string kindOf(const json& value) {
    switch (value.type()) {
    case json::value_t::null:
        return "null";
    case json::value_t::boolean:
        return "真假值";
    case json::value_t::string:
        return "文字 " + value.dump();
    case json::value_t::array:
        return "数组";
    case json::value_t::object:
        return "对象";
    default:
        return "数 " + value.dump();
    }
}

[[noreturn]] void wrongKind(const std::string& where, std::string_view wanted, const json& value) {
    throw FileRefusal{where + " 应为" + std::string(wanted) + "，文件中是" + kindOf(value) + "。"};
}

// Names by their spelling in the file.
template <typename E, std::size_t N> using Names = std::array<std::pair<std::string_view, E>, N>;

constexpr Names<CementGrade, 3> kCementGrades{
    {{"32.5", CementGrade::G32_5}, {"42.5", CementGrade::G42_5}, {"52.5", CementGrade::G52_5}}};
constexpr Names<FlyAshGrade, 3> kFlyAshGrades{
    {{"I", FlyAshGrade::I}, {"II", FlyAshGrade::II}, {"III", FlyAshGrade::III}}};
constexpr Names<SlagGrade, 3> kSlagGrades{
    {{"S75", SlagGrade::S75}, {"S95", SlagGrade::S95}, {"S105", SlagGrade::S105}}};
constexpr Names<Stone, 2> kStones{{{"crushed", Stone::Crushed}, {"gravel", Stone::Gravel}}};
constexpr Names<Structure, 3> kStructures{{{"plain", Structure::Plain},
                                           {"reinforced", Structure::Reinforced},
                                           {"prestressed", Structure::Prestressed}}};
constexpr Names<Environment, 5> kEnvironments{{{"一", Environment::I},
                                               {"二a", Environment::IIa},
                                               {"二b", Environment::IIb},
                                               {"三a", Environment::IIIa},
                                               {"三b", Environment::IIIb}}};
constexpr Names<Method, 2> kMethods{{{"mass", Method::Mass}, {"volume", Method::Volume}}};

template <typename E, std::size_t N> std::string_view spelling(const Names<E, N>& names, E value) {
    for (const auto& [name, v] : names) {
        if (v == value) {
            return name;
        }
    }
    return {};
}

// The keys of an object, each read by its own function, in the order they
// are written; any other key is refused.
class ObjectReader {
public:
    ObjectReader(const json& object, std::string where)
        : m_object(object), m_where(std::move(where)) {
        if (!object.is_object()) {
            wrongKind(m_where, "对象", object);
        }
    }

    std::optional<double> number(std::string_view key) {
        const json* value = find(key);
        if (value == nullptr) {
            return std::nullopt;
        }
        if (!value->is_number()) {
            wrongKind(at(key), "数", *value);
        }
        const double x = value->get<double>();
        if (!std::isfinite(x)) {
            throw FileRefusal{at(key) + " 超出数的范围。"};
        }
        return x;
    }

    template <typename E, std::size_t N>
    std::optional<E> name(std::string_view key, const Names<E, N>& names) {
        const json* value = find(key);
        if (value == nullptr) {
            return std::nullopt;
        }
        std::string list;
        for (const auto& [spelled, v] : names) {
            list += (list.empty() ? "" : "、") + std::string("\"") + std::string(spelled) + "\"";
        }
        if (value->is_string()) {
            for (const auto& [spelled, v] : names) {
                if (value->get<std::string>() == spelled) {
                    return v;
                }
            }
        }
        throw FileRefusal{at(key) + " 应为 " + list + " 之一，文件中是" + kindOf(*value) + "。"};
    }

    const json* object(std::string_view key) { return find(key); }

    std::string at(std::string_view key) const { return m_where + " 中的 " + keyName(key); }

    // Refuses the first key that no read asked for.
    void finish() const {
        for (const auto& [key, value] : m_object.items()) {
            bool known = false;
            for (const std::string& seen : m_seen) {
                known = known || seen == key;
            }
            if (!known) {
                throw FileRefusal{m_where + " 中的 " + keyName(key) + " 不是此设计的输入项。"};
            }
        }
    }

private:
    const json* find(std::string_view key) {
        m_seen.emplace_back(key);
        const auto found = m_object.find(std::string(key));
        return found == m_object.end() ? nullptr : &*found;
    }

    const json& m_object;
    std::string m_where;
    std::vector<std::string> m_seen;
};

FlyAsh readFlyAsh(const json& value, const std::string& where) {
    ObjectReader r(value, where);
    FlyAsh f;
    f.fraction = r.number("fraction");
    f.grade = r.name("grade", kFlyAshGrades);
    f.gammaF = r.number("gammaF");
    f.density = r.number("density");
    r.finish();
    return f;
}

Slag readSlag(const json& value, const std::string& where) {
    ObjectReader r(value, where);
    Slag s;
    s.fraction = r.number("fraction");
    s.grade = r.name("grade", kSlagGrades);
    s.gammaS = r.number("gammaS");
    s.density = r.number("density");
    r.finish();
    return s;
}

Admixture readAdmixture(const json& value, const std::string& where) {
    ObjectReader r(value, where);
    Admixture a;
    a.fraction = r.number("fraction");
    a.waterReduction = r.number("waterReduction");
    r.finish();
    return a;
}

Input readInput(const json& value) {
    ObjectReader r(value, keyName(kDesignKey));
    Input in;
    in.fcuk = r.number("fcuk");
    in.sigma = r.number("sigma");
    in.cementGrade = r.name("cementGrade", kCementGrades);
    in.gammaC = r.number("gammaC");
    in.fce = r.number("fce");
    if (const json* v = r.object("flyAsh")) {
        in.flyAsh = readFlyAsh(*v, r.at("flyAsh"));
    }
    if (const json* v = r.object("slag")) {
        in.slag = readSlag(*v, r.at("slag"));
    }
    if (const json* v = r.object("admixture")) {
        in.admixture = readAdmixture(*v, r.at("admixture"));
    }
    in.stone = r.name("stone", kStones);
    in.maxSize = r.number("maxSize");
    in.slump = r.number("slump");
    in.vebe = r.number("vebe");
    in.water = r.number("water");
    in.sandRatio = r.number("sandRatio");
    in.alphaA = r.number("alphaA");
    in.alphaB = r.number("alphaB");
    in.structure = r.name("structure", kStructures);
    in.environment = r.name("environment", kEnvironments);
    in.method = r.name("method", kMethods);
    in.assumedDensity = r.number("assumedDensity");
    in.air = r.number("air");
    in.cementDensity = r.number("cementDensity");
    in.sandDensity = r.number("sandDensity");
    in.stoneDensity = r.number("stoneDensity");
    in.waterDensity = r.number("waterDensity");
    in.sandMoisture = r.number("sandMoisture");
    in.stoneMoisture = r.number("stoneMoisture");
    r.finish();
    return in;
}

// A number as the file writes it: whole numbers without a fraction, so that
// a hand-written 30 stays 30; others as their shortest round-trip form.
ordered numberJson(double x) {
    if (std::trunc(x) == x && std::fabs(x) < 9.0e15) {
        return static_cast<long long>(x);
    }
    return x;
}

void put(ordered& object, std::string_view key, const std::optional<double>& value) {
    if (value) {
        object[std::string(key)] = numberJson(*value);
    }
}

template <typename E, std::size_t N>
void put(ordered& object, std::string_view key, const std::optional<E>& value,
         const Names<E, N>& names) {
    if (value) {
        object[std::string(key)] = std::string(spelling(names, *value));
    }
}

} // namespace

std::string serialize(const Input& in) {
    ordered d = ordered::object();
    put(d, "fcuk", in.fcuk);
    put(d, "sigma", in.sigma);
    put(d, "cementGrade", in.cementGrade, kCementGrades);
    put(d, "gammaC", in.gammaC);
    put(d, "fce", in.fce);
    if (in.flyAsh) {
        ordered f = ordered::object();
        put(f, "fraction", in.flyAsh->fraction);
        put(f, "grade", in.flyAsh->grade, kFlyAshGrades);
        put(f, "gammaF", in.flyAsh->gammaF);
        put(f, "density", in.flyAsh->density);
        d["flyAsh"] = std::move(f);
    }
    if (in.slag) {
        ordered s = ordered::object();
        put(s, "fraction", in.slag->fraction);
        put(s, "grade", in.slag->grade, kSlagGrades);
        put(s, "gammaS", in.slag->gammaS);
        put(s, "density", in.slag->density);
        d["slag"] = std::move(s);
    }
    if (in.admixture) {
        ordered a = ordered::object();
        put(a, "fraction", in.admixture->fraction);
        put(a, "waterReduction", in.admixture->waterReduction);
        d["admixture"] = std::move(a);
    }
    put(d, "stone", in.stone, kStones);
    put(d, "maxSize", in.maxSize);
    put(d, "slump", in.slump);
    put(d, "vebe", in.vebe);
    put(d, "water", in.water);
    put(d, "sandRatio", in.sandRatio);
    put(d, "alphaA", in.alphaA);
    put(d, "alphaB", in.alphaB);
    put(d, "structure", in.structure, kStructures);
    put(d, "environment", in.environment, kEnvironments);
    put(d, "method", in.method, kMethods);
    put(d, "assumedDensity", in.assumedDensity);
    put(d, "air", in.air);
    put(d, "cementDensity", in.cementDensity);
    put(d, "sandDensity", in.sandDensity);
    put(d, "stoneDensity", in.stoneDensity);
    put(d, "waterDensity", in.waterDensity);
    put(d, "sandMoisture", in.sandMoisture);
    put(d, "stoneMoisture", in.stoneMoisture);

    ordered file = ordered::object();
    file["lanshi-design"] = 1;
    file[std::string(kStandardKey)] = std::string(kStandardName);
    file[std::string(kDesignKey)] = std::move(d);
    // A text cannot hold invalid UTF-8 here: every text is one of the names.
    return file.dump(2, ' ', false) + "\n";
}

namespace {

// A design is a few hundred bytes two levels deep; anything much larger or
// deeper is no design, and is refused before it is built in memory.
constexpr std::size_t kMaxBytes = std::size_t{1024} * 1024;
constexpr int kMaxDepth = 8;

json parseBounded(std::string_view bytes) {
    if (bytes.size() > kMaxBytes) {
        throw FileRefusal{"文件太大，不是澜石的设计文件。"};
    }
    const json::parser_callback_t deep = [](int depth, json::parse_event_t, json&) {
        if (depth > kMaxDepth) {
            throw FileRefusal{"文件中的对象嵌套过深，不是澜石的设计文件。"};
        }
        return true;
    };
    return json::parse(bytes.begin(), bytes.end(), deep, true, false);
}

} // namespace

ReadResult read(std::string_view bytes) {
    try {
        const json file = parseBounded(bytes);
        ObjectReader top(file, "文件的顶层");
        const json* version = top.object("lanshi-design");
        if (version == nullptr) {
            throw FileRefusal{"缺少「lanshi-design」，这不是澜石的设计文件。"};
        }
        if (!version->is_number_integer() || version->get<long long>() != 1) {
            throw FileRefusal{"「lanshi-design」应为 1（格式版本），文件中是" + kindOf(*version) +
                              "。"};
        }
        const json* standard = top.object(kStandardKey);
        if (standard == nullptr || !standard->is_string() ||
            standard->get<std::string>() != kStandardName) {
            throw FileRefusal{"「standard」应为 \"JGJ 55-2011\"，文件中是" +
                              (standard == nullptr ? std::string("空缺") : kindOf(*standard)) +
                              "。"};
        }
        const json* body = top.object(kDesignKey);
        if (body == nullptr) {
            throw FileRefusal{"缺少「jgj55-2011」，文件中没有设计的输入。"};
        }
        top.finish();
        return {readInput(*body), {}};
    } catch (const json::parse_error&) {
        return {std::nullopt, "文件不是正确的 JSON，无法读取。"};
    } catch (const json::out_of_range&) {
        return {std::nullopt, "文件中有超出范围的数，无法读取。"};
    } catch (const json::exception&) {
        return {std::nullopt, "文件内容无法读取。"};
    } catch (const FileRefusal& refusal) {
        return {std::nullopt, refusal.message};
    }
}

bool namesAStandard(std::string_view bytes) {
    try {
        const json file = parseBounded(bytes);
        return file.is_object() && file.contains(std::string(kStandardKey));
    } catch (const json::exception&) {
        return false;
    } catch (const FileRefusal&) {
        return false;
    }
}

} // namespace jgj55
