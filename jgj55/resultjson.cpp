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

std::string resultJson(const Result& r, const TrialResult* trial) {
    ordered out = ordered::object();
    // The figures in the design's order; a script reads them by these keys.
    static constexpr const char* kKeys[] = {
        "fcu0",        "sigma",     "fce",
        "gammaF",      "gammaS",    "fb",
        "alphaA",      "alphaB",    "waterBinderComputed",
        "waterBinder", "water",     "binder",
        "cement",      "flyAsh",    "slag",
        "admixture",   "sandRatio", "sand",
        "stone",
    };
    for (const char* key : kKeys) {
        const std::optional<double> value = figure(r, key);
        out[key] = value ? number(*value) : ordered(nullptr);
    }
    out["notes"] = texts(r.notes);
    out["warnings"] = texts(r.warnings);
    out["checks"] = texts(r.checks);
    if (trial != nullptr) {
        out["trial"] = trialJson(*trial);
    }
    return out.dump(2, ' ', false) + "\n";
}

} // namespace jgj55
