#include "design/project.h"

namespace design {

namespace {

constexpr std::string_view kName = "name";
constexpr std::string_view kPart = "part";
constexpr std::string_view kClient = "client";

std::string textOf(const nlohmann::json& object, std::string_view key) {
    const auto found = object.find(std::string(key));
    return found != object.end() && found->is_string() ? found->get<std::string>() : std::string();
}

} // namespace

Project projectFrom(const nlohmann::json& block) {
    if (!block.is_object()) {
        return {};
    }
    return {textOf(block, kName), textOf(block, kPart), textOf(block, kClient)};
}

nlohmann::ordered_json projectBlock(const Project& project) {
    nlohmann::ordered_json block = nlohmann::ordered_json::object();
    block[std::string(kName)] = project.name;
    block[std::string(kPart)] = project.part;
    block[std::string(kClient)] = project.client;
    return block;
}

Project projectOf(const Design& design) {
    const auto kept = design.extras.find(std::string(kProjectKey));
    return kept == design.extras.end() ? Project{} : projectFrom(kept->second);
}

void keepProject(Design& design, const Project& project) {
    if (project.empty()) {
        design.extras.erase(std::string(kProjectKey));
        return;
    }
    design.extras[std::string(kProjectKey)] = nlohmann::json(projectBlock(project));
}

std::optional<double> batchLitresFrom(const nlohmann::json& block) {
    if (!block.is_object()) {
        return std::nullopt;
    }
    const auto litres = block.find("litres");
    if (litres == block.end() || !litres->is_number() || !(litres->get<double>() > 0.0)) {
        return std::nullopt;
    }
    return litres->get<double>();
}

nlohmann::ordered_json trialBatchBlock(double litres) {
    nlohmann::ordered_json block = nlohmann::ordered_json::object();
    // A whole number of litres as it is typed, without a fraction.
    if (litres == static_cast<double>(static_cast<long long>(litres))) {
        block["litres"] = static_cast<long long>(litres);
    } else {
        block["litres"] = litres;
    }
    return block;
}

double batchLitresOf(const Design& design) {
    const auto kept = design.extras.find(std::string(kTrialBatchKey));
    if (kept == design.extras.end()) {
        return kUsualBatchLitres;
    }
    return batchLitresFrom(kept->second).value_or(kUsualBatchLitres);
}

void keepBatchLitres(Design& design, double litres) {
    if (litres == kUsualBatchLitres) {
        design.extras.erase(std::string(kTrialBatchKey));
        return;
    }
    design.extras[std::string(kTrialBatchKey)] = nlohmann::json(trialBatchBlock(litres));
}

} // namespace design
