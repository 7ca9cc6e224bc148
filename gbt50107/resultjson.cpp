#include "gbt50107/resultjson.h"

#include <cmath>

#include <nlohmann/json.hpp>

namespace gbt50107 {

namespace {

using ordered = nlohmann::ordered_json;

ordered number(double x) {
    if (std::trunc(x) == x && std::fabs(x) < 9.0e15) {
        return static_cast<long long>(x);
    }
    return x;
}

ordered optionalNumber(const std::optional<double>& x) {
    return x ? number(*x) : ordered(nullptr);
}

} // namespace

std::string resultJson(const Evaluation& e) {
    ordered out = ordered::object();
    ordered groups = ordered::array();
    ordered excluded = ordered::array();
    for (std::size_t i = 0; i < e.groups.size(); ++i) {
        const GroupValue& g = e.groups[i];
        if (g.rule == GroupRule::LeftOut) {
            excluded.push_back({{"index", i + 1}, {"reason", ruleNote(g)}});
        } else {
            groups.push_back(number(g.value));
        }
    }
    out["groups"] = std::move(groups);
    out["excluded"] = std::move(excluded);
    out["n"] = e.n;
    out["method"] = std::string(methodKey(e.method));
    out["mean"] = number(e.mean);
    out["min"] = number(e.min);
    out["sd"] = optionalNumber(e.sdUsed);
    out["lambda1"] = optionalNumber(e.lambda1);
    out["lambda2"] = optionalNumber(e.lambda2);
    out["lambda3"] = optionalNumber(e.lambda3);
    out["lambda4"] = optionalNumber(e.lambda4);
    ordered conditions = ordered::array();
    for (const Condition& c : e.conditions) {
        conditions.push_back(
            {{"text", conditionText(e, c, calc::NumberFormat{})}, {"holds", c.holds}});
    }
    out["conditions"] = std::move(conditions);
    out["passed"] = e.passed;
    out["designSigma"] = e.designSigma ? number(e.designSigma->value) : ordered(nullptr);
    return out.dump(2, ' ', false) + "\n";
}

} // namespace gbt50107
