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

Project projectOf(const Design& design) {
    const auto kept = design.extras.find(std::string(kProjectKey));
    if (kept == design.extras.end() || !kept->second.is_object()) {
        return {};
    }
    return {textOf(kept->second, kName), textOf(kept->second, kPart),
            textOf(kept->second, kClient)};
}

void keepProject(Design& design, const Project& project) {
    if (project.empty()) {
        design.extras.erase(std::string(kProjectKey));
        return;
    }
    nlohmann::json kept = nlohmann::json::object();
    kept[std::string(kName)] = project.name;
    kept[std::string(kPart)] = project.part;
    kept[std::string(kClient)] = project.client;
    design.extras[std::string(kProjectKey)] = std::move(kept);
}

} // namespace design
