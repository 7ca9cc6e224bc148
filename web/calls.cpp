#include "web/calls.h"

#include <stdexcept>
#include <utility>

namespace web {

namespace {

std::string g_answer;

} // namespace

const char* answer(const json& result) {
    return answerText(result.dump(-1, ' ', false, json::error_handler_t::replace));
}

const char* failure(std::string_view why) {
    return answer({{"error", why}});
}

const char* answerText(std::string text) {
    g_answer = std::move(text);
    return g_answer.c_str();
}

json optionsOf(const char* text) {
    json options = json::parse(text == nullptr || *text == '\0' ? "{}" : text);
    if (!options.is_object()) {
        throw std::invalid_argument("the options must be a JSON object");
    }
    return options;
}

std::string stringMember(const json& object, const char* key, const std::string& fallback) {
    if (!object.contains(key)) {
        return fallback;
    }
    if (!object.at(key).is_string()) {
        throw std::invalid_argument(std::string("\"") + key + "\" must be a string");
    }
    return object.at(key).get<std::string>();
}

json projectJson(const design::Project& project) {
    return {{"name", project.name}, {"part", project.part}, {"client", project.client}};
}

design::Project projectOption(const json& given, const design::Project& kept) {
    if (!given.is_object()) {
        throw std::invalid_argument("\"project\" must be an object");
    }
    return {.name = stringMember(given, "name", kept.name),
            .part = stringMember(given, "part", kept.part),
            .client = stringMember(given, "client", kept.client)};
}

} // namespace web
