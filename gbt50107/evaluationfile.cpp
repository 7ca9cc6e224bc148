#include "gbt50107/evaluationfile.h"

#include <array>
#include <cmath>
#include <utility>

#include <nlohmann/json.hpp>

namespace gbt50107 {

namespace {

using json = nlohmann::json;

struct FileFault {
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
        return "文字 " + value.dump(-1, ' ', false, json::error_handler_t::replace);
    case json::value_t::array:
        return "数组";
    case json::value_t::object:
        return "对象";
    default:
        return "数 " + value.dump();
    }
}

[[noreturn]] void wrongKind(const std::string& where, std::string_view wanted, const json& value) {
    throw FileFault{where + " 应为" + std::string(wanted) + "，文件中是" + kindOf(value) + "。"};
}

constexpr std::array<std::pair<std::string_view, Method>, 4> kMethods{{
    {"auto", Method::Auto},
    {"known-sigma", Method::KnownSigma},
    {"statistical", Method::Statistical},
    {"non-statistical", Method::NonStatistical},
}};
constexpr std::array<std::pair<int, SpecimenSize>, 3> kSizes{{
    {100, SpecimenSize::Cube100},
    {150, SpecimenSize::Cube150},
    {200, SpecimenSize::Cube200},
}};

// The keys of an object, each read by its own call; any other key is
// refused.
class ObjectReader {
public:
    ObjectReader(const json& object, std::string where)
        : m_object(object), m_where(std::move(where)) {
        if (!object.is_object()) {
            wrongKind(m_where, "对象", object);
        }
    }

    const json* find(std::string_view key) {
        m_seen.emplace_back(key);
        const auto found = m_object.find(std::string(key));
        return found == m_object.end() ? nullptr : &*found;
    }

    std::string at(std::string_view key) const { return m_where + " 中的 " + keyName(key); }

    void finish() const {
        for (const auto& [key, value] : m_object.items()) {
            if (std::find(m_seen.begin(), m_seen.end(), key) == m_seen.end()) {
                throw FileFault{m_where + " 中的 " + keyName(key) + " 不是评定文件的内容。"};
            }
        }
    }

private:
    const json& m_object;
    std::string m_where;
    std::vector<std::string> m_seen;
};

double numberAt(const json& value, const std::string& where) {
    if (!value.is_number()) {
        wrongKind(where, "数", value);
    }
    const double x = value.get<double>();
    if (!std::isfinite(x)) {
        throw FileFault{where + " 超出数的范围。"};
    }
    return x;
}

// A number or null; absent is null.
std::optional<double> optionalNumber(ObjectReader& r, std::string_view key) {
    const json* value = r.find(key);
    if (value == nullptr || value->is_null()) {
        return std::nullopt;
    }
    return numberAt(*value, r.at(key));
}

std::string groupAt(const std::string& where, std::size_t index) {
    return where + "第 " + std::to_string(index + 1) + " 组";
}

Group readGroup(const json& value, const std::string& where) {
    if (value.is_number()) {
        return Group::ofValue(numberAt(value, where));
    }
    if (!value.is_array() || value.empty() || value.size() > 3) {
        wrongKind(where, "数（代表值）或三个试件强度的数组", value);
    }
    Group group;
    for (std::size_t k = 0; k < value.size(); ++k) {
        if (!value[k].is_null()) {
            group.specimens[k] = numberAt(value[k], where + "试件 " + std::to_string(k + 1));
        }
    }
    return group;
}

Input readInput(const json& body) {
    ObjectReader r(body, keyName(kEvaluationKey));
    Input in;
    in.fcuk = optionalNumber(r, "fcuk");
    if (const json* size = r.find("specimenSize"); size != nullptr && !size->is_null()) {
        const auto found = std::find_if(kSizes.begin(), kSizes.end(), [&](const auto& s) {
            return size->is_number() && size->get<double>() == s.first;
        });
        if (found == kSizes.end()) {
            wrongKind(r.at("specimenSize"), " 100、150、200 之一", *size);
        }
        in.specimenSize = found->second;
    }
    in.sizeFactor = optionalNumber(r, "sizeFactor");
    if (const json* method = r.find("method"); method != nullptr && !method->is_null()) {
        const auto found = std::find_if(kMethods.begin(), kMethods.end(), [&](const auto& m) {
            return method->is_string() && method->get<std::string>() == m.first;
        });
        if (found == kMethods.end()) {
            wrongKind(r.at("method"),
                      " \"auto\"、\"known-sigma\"、\"statistical\"、\"non-statistical\" 之一",
                      *method);
        }
        in.method = found->second;
    }
    in.sigma0 = optionalNumber(r, "sigma0");
    if (const json* previous = r.find("previous"); previous != nullptr) {
        if (!previous->is_array()) {
            wrongKind(r.at("previous"), "数组", *previous);
        }
        for (std::size_t i = 0; i < previous->size(); ++i) {
            in.previous.push_back(
                numberAt((*previous)[i], r.at("previous") + "第 " + std::to_string(i + 1) + " 个"));
        }
    }
    if (const json* groups = r.find("groups"); groups != nullptr) {
        if (!groups->is_array()) {
            wrongKind(r.at("groups"), "数组", *groups);
        }
        for (std::size_t i = 0; i < groups->size(); ++i) {
            in.groups.push_back(readGroup((*groups)[i], groupAt(r.at("groups"), i)));
        }
    }
    r.finish();
    return in;
}

design::Project readProject(const json& value) {
    ObjectReader r(value, keyName(design::kProjectKey));
    design::Project project;
    for (const auto& [key, line] :
         {std::pair{"name", &project.name}, {"part", &project.part}, {"client", &project.client}}) {
        if (const json* text = r.find(key); text != nullptr) {
            if (!text->is_string()) {
                wrongKind(r.at(key), "文字", *text);
            }
            *line = text->get<std::string>();
        }
    }
    r.finish();
    return project;
}

// A number as the file writes it: whole numbers without a fraction, others
// as their shortest round-trip form.
std::string number(double x) {
    if (std::trunc(x) == x && std::fabs(x) < 9.0e15) {
        return json(static_cast<long long>(x)).dump();
    }
    return json(x).dump();
}

std::string optionalNumber(const std::optional<double>& x) {
    return x ? number(*x) : "null";
}

std::string text(std::string_view s) {
    return json(std::string(s)).dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string groupText(const Group& g) {
    if (!g.hasSpecimens() && g.value) {
        return number(*g.value);
    }
    return "[" + optionalNumber(g.specimens[0]) + ", " + optionalNumber(g.specimens[1]) + ", " +
           optionalNumber(g.specimens[2]) + "]";
}

std::string previousText(const std::vector<double>& previous) {
    if (previous.empty()) {
        return "[]";
    }
    constexpr std::size_t kPerLine = 10;
    std::string out = "[";
    for (std::size_t i = 0; i < previous.size(); ++i) {
        out += (i % kPerLine == 0 ? "\n      " : " ") + number(previous[i]) +
               (i + 1 < previous.size() ? "," : "");
    }
    return out + "\n    ]";
}

std::string groupsText(const std::vector<Group>& groups) {
    if (groups.empty()) {
        return "[]";
    }
    std::string out = "[";
    for (std::size_t i = 0; i < groups.size(); ++i) {
        out += "\n      " + groupText(groups[i]) + (i + 1 < groups.size() ? "," : "");
    }
    return out + "\n    ]";
}

constexpr std::size_t kMaxBytes = std::size_t{4} * 1024 * 1024;
constexpr int kMaxDepth = 8;

json parseBounded(std::string_view bytes) {
    if (bytes.size() > kMaxBytes) {
        throw FileFault{"文件太大，不是澜石的评定文件。"};
    }
    const json::parser_callback_t deep = [](int depth, json::parse_event_t, json&) {
        if (depth > kMaxDepth) {
            throw FileFault{"文件中的对象嵌套过深，不是澜石的评定文件。"};
        }
        return true;
    };
    return json::parse(bytes.begin(), bytes.end(), deep, true, false);
}

EvaluationFile readFile(const json& file) {
    ObjectReader top(file, "文件的顶层");
    const json* version = top.find("lanshi-design");
    if (version == nullptr) {
        throw FileFault{"缺少「lanshi-design」，这不是澜石的设计文件。"};
    }
    if (!version->is_number_integer() || version->get<long long>() != 1) {
        throw FileFault{"「lanshi-design」应为 1（格式版本），文件中是" + kindOf(*version) + "。"};
    }
    const json* standard = top.find("standard");
    if (standard == nullptr || !standard->is_string() ||
        standard->get<std::string>() != kStandardName) {
        throw FileFault{"「standard」应为 \"GB/T 50107-2010\"，文件中是" +
                        (standard == nullptr ? std::string("空缺") : kindOf(*standard)) + "。"};
    }
    const json* body = top.find(kEvaluationKey);
    if (body == nullptr) {
        throw FileFault{"缺少「gbt50107-2010」，文件中没有评定的输入。"};
    }
    EvaluationFile out{readInput(*body), {}};
    if (const json* project = top.find(design::kProjectKey); project != nullptr) {
        out.project = readProject(*project);
    }
    top.finish();
    return out;
}

} // namespace

std::string serialize(const EvaluationFile& file) {
    const Input& in = file.input;
    std::string out = "{\n  \"lanshi-design\": 1,\n  \"standard\": " + text(kStandardName) +
                      ",\n  " + text(kEvaluationKey) + ": {\n";
    out += "    \"fcuk\": " + optionalNumber(in.fcuk) + ",\n";
    out += "    \"specimenSize\": " + std::to_string(millimetres(in.specimenSize)) + ",\n";
    out += "    \"sizeFactor\": " + optionalNumber(in.sizeFactor) + ",\n";
    out += "    \"method\": " + text(methodKey(in.method)) + ",\n";
    out += "    \"sigma0\": " + optionalNumber(in.sigma0) + ",\n";
    out += "    \"previous\": " + previousText(in.previous) + ",\n";
    out += "    \"groups\": " + groupsText(in.groups) + "\n  }";
    if (!file.project.empty()) {
        out += ",\n  " + text(design::kProjectKey) +
               ": {\n    \"name\": " + text(file.project.name) +
               ",\n    \"part\": " + text(file.project.part) +
               ",\n    \"client\": " + text(file.project.client) + "\n  }";
    }
    return out + "\n}\n";
}

FileReading read(std::string_view bytes) {
    try {
        return {readFile(parseBounded(bytes)), {}};
    } catch (const json::parse_error&) {
        return {std::nullopt, "文件不是正确的 JSON，无法读取。"};
    } catch (const json::out_of_range&) {
        return {std::nullopt, "文件中有超出范围的数，无法读取。"};
    } catch (const json::exception&) {
        return {std::nullopt, "文件内容无法读取。"};
    } catch (const FileFault& fault) {
        return {std::nullopt, fault.message};
    }
}

bool isEvaluationFile(std::string_view bytes) {
    try {
        const json file = parseBounded(bytes);
        if (!file.is_object()) {
            return false;
        }
        const auto standard = file.find("standard");
        return standard != file.end() && standard->is_string() &&
               standard->get<std::string>() == kStandardName;
    } catch (const json::exception&) {
        return false;
    } catch (const FileFault&) {
        return false;
    }
}

SigmaImport importDesignSigma(std::string_view bytes) {
    SigmaImport out;
    const FileReading reading = read(bytes);
    if (!reading) {
        out.reason = reading.error;
        return out;
    }
    const Outcome outcome = evaluate(reading.file->input);
    if (!outcome) {
        out.reason = "评定文件中的输入有误：" + outcome.faults.front().message;
        return out;
    }
    const Evaluation& e = *outcome.evaluation;
    out.fcuk = e.fcuk;
    out.groups = e.n;
    if (e.designSigma) {
        out.sigma = e.designSigma->value;
    } else if (e.n < 30) {
        out.reason = "评定了 " + std::to_string(e.n) + " 组，少于 30 组，不能给出强度标准差 σ";
    } else {
        out.reason = e.notes.empty() ? std::string("评定不给出强度标准差 σ") : e.notes.front();
    }
    return out;
}

} // namespace gbt50107
