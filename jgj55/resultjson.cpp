#include "jgj55/resultjson.h"

#include <cmath>
#include <utility>

#include <nlohmann/json.hpp>

namespace jgj55 {

namespace {

using ordered = nlohmann::ordered_json;

ordered number(double x) {
    if (std::trunc(x) == x && std::fabs(x) < 9.0e15) {
        return static_cast<long long>(x);
    }
    return x;
}

ordered texts(const std::vector<Message>& messages) {
    ordered out = ordered::array();
    for (const Message& m : messages) {
        out.push_back(plainText(m));
    }
    return out;
}

} // namespace

std::string resultJson(const Result& r) {
    ordered out = ordered::object();
    const std::pair<const char*, double> figures[] = {
        {"fcu0", r.fcu0},
        {"sigma", r.sigma},
        {"fce", r.fce},
        {"gammaF", r.gammaF},
        {"gammaS", r.gammaS},
        {"fb", r.fb},
        {"alphaA", r.alphaA},
        {"alphaB", r.alphaB},
        {"waterBinderComputed", r.waterBinderComputed},
        {"waterBinder", r.waterBinder},
        {"water", r.water},
        {"binder", r.binder},
        {"cement", r.cement},
        {"flyAsh", r.flyAsh},
        {"slag", r.slag},
        {"admixture", r.admixture},
        {"sandRatio", r.sandRatio},
        {"sand", r.sand},
        {"stone", r.stone},
    };
    for (const auto& [key, value] : figures) {
        out[key] = number(value);
    }
    out["notes"] = texts(r.notes);
    out["warnings"] = texts(r.warnings);
    return out.dump(2, ' ', false) + "\n";
}

} // namespace jgj55
