#include "web/calls.h"

#include "calc/conversions.h"
#include "calc/decimal.h"
#include "notice/notice.h"
#include "report/report.h"

#include <cmath>
#include <optional>
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

namespace {

std::string_view iconName(session::Icon icon) {
    switch (icon) {
    case session::Icon::none:
        break;
    case session::Icon::information:
        return "information";
    case session::Icon::warning:
        return "warning";
    case session::Icon::question:
        return "question";
    }
    return "none";
}

} // namespace

json boxJson(const session::Box& box) {
    json buttons = json::array();
    if (box.buttons == session::Buttons::saveDiscardCancel) {
        buttons.push_back({{"answer", "save"}, {"caption", "保存"}});
        buttons.push_back({{"answer", "discard"}, {"caption", "不保存"}});
        buttons.push_back({{"answer", "cancel"}, {"caption", "取消"}});
    } else {
        buttons.push_back({{"answer", "ok"}, {"caption", "确定"}});
    }
    return {{"icon", iconName(box.icon)},
            {"title", box.title},
            {"text", box.text},
            {"buttons", std::move(buttons)}};
}

json boxesJson(const std::vector<session::Box>& boxes) {
    json list = json::array();
    for (const session::Box& box : boxes) {
        list.push_back(boxJson(box));
    }
    return list;
}

json questionJson(const std::optional<session::Box>& question) {
    if (!question) {
        return {{"ask", false}};
    }
    return {{"ask", true}, {"box", boxJson(*question)}};
}

BatchLitres batchLitresOption(const json& given, const calc::NumberFormat& format) {
    if (given.is_number()) {
        const double litres = given.get<double>();
        return {.litres = litres, .problem = session::batchLitresProblem(litres)};
    }
    if (!given.is_string()) {
        throw std::invalid_argument("\"batchLitres\" must be a number or a text");
    }
    // The user's text, named in the refusal as the command line names it.
    const std::string text = given.get<std::string>();
    const std::string named = "试拌体积“" + text + "”：";
    if (calc::parseStrict(text, format).status == calc::StrictStatus::NotANumber) {
        return {.litres = 0.0, .problem = named + "不是一个数。"};
    }
    // Read whole, in double precision: "12.5" is 12.5 litres, not a single's.
    const double litres = calc::readLenient(text, format);
    const std::string problem = session::batchLitresProblem(litres);
    return {.litres = litres, .problem = problem.empty() ? problem : named + problem};
}

namespace {

// A number of the details as the page's field shows it, in `format`.
std::string numberText(double value, const calc::NumberFormat& format) {
    if (!std::isfinite(value)) {
        return {};
    }
    const std::string magnitude =
        calc::decimal::plainLayout(calc::decimal::shortest(std::fabs(value)), format.decimal);
    return value < 0.0 ? format.negative + magnitude : magnitude;
}

// A number field's answer: a number, or the text the user typed (read in
// `format`; "" or null for none). The refusal names the field as the dialog
// does.
struct NumberRead {
    std::optional<double> value;
    std::string problem;
};
NumberRead readNumberField(const notice::Field& field, const json& given,
                           const calc::NumberFormat& format) {
    if (given.is_null()) {
        return {};
    }
    if (given.is_number()) {
        return {.value = given.get<double>(), .problem = {}};
    }
    if (!given.is_string()) {
        throw std::invalid_argument("\"" + std::string(field.key) +
                                    "\" must be a number or a text");
    }
    const std::string text = given.get<std::string>();
    if (text.find_first_not_of(" \t") == std::string::npos) {
        return {};
    }
    const std::string named = std::string(field.caption) + "“" + text + "”：";
    if (calc::parseStrict(text, format).status == calc::StrictStatus::NotANumber) {
        return {.value = std::nullopt, .problem = named + "不是一个数。"};
    }
    const double value = calc::readLenient(text, format);
    if (!std::isfinite(value)) {
        return {.value = std::nullopt, .problem = named + "不是一个有限的数。"};
    }
    return {.value = value, .problem = {}};
}

} // namespace

json noticeFieldsJson(const session::Document& document, const calc::NumberFormat& format) {
    notice::Details details = document.noticeDetails();
    json fields = json::array();
    for (const notice::Field& field : notice::fields()) {
        std::string text;
        if (field.number != nullptr) {
            const std::optional<double>& value = details.*field.number;
            text = value ? numberText(*value, format) : std::string();
        } else {
            text = field.text(details);
        }
        fields.push_back({{"key", field.key},
                          {"caption", field.caption},
                          {"unit", field.unit},
                          {"kind", field.number != nullptr ? "number" : "text"},
                          {"text", std::move(text)}});
    }
    const std::optional<std::string> why = document.whyNoNotice();
    return {{"fields", std::move(fields)}, {"refusal", why ? json(*why) : json()}};
}

json noticeOf(session::Document& document, const json& request, const calc::NumberFormat& format,
              const session::ReportStamp& stamp) {
    if (request.contains("details")) {
        const json& given = request.at("details");
        if (!given.is_object()) {
            throw std::invalid_argument("\"details\" must be an object");
        }
        notice::Details details = document.noticeDetails();
        for (const notice::Field& field : notice::fields()) {
            if (!given.contains(field.key)) {
                continue;
            }
            const json& value = given.at(std::string(field.key));
            if (field.number == nullptr) {
                field.text(details) = stringMember(given, std::string(field.key).c_str(), "");
                continue;
            }
            NumberRead read = readNumberField(field, value, format);
            if (!read.problem.empty()) {
                // Nothing kept: the design stays as it was.
                return {{"error", std::move(read.problem)}, {"entry", field.key}};
            }
            details.*field.number = read.value;
        }
        document.setNoticeDetails(details);
    }
    const session::Reporting made = document.notice(stamp);
    if (!made) {
        return {{"error", made.refusal}, {"entry", ""}};
    }
    return {{"text", report::toText(*made.document)}, {"html", report::toHtml(*made.document)}};
}

} // namespace web
