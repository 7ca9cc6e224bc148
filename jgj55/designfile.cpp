#include "jgj55/designfile.h"

#include "design/designfile.h"
#include "jgj55/inputs.h"
#include "jgj55/rounding.h"

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

    // A choice by its entry's name. A strength grade may be written as the
    // number it reads as (42.5) as well as its text ("42.5").
    std::optional<int> choice(std::string_view key, const InputRow& row) {
        const json* value = find(key);
        if (value == nullptr) {
            return std::nullopt;
        }
        std::string list;
        for (const ChoiceEntry& entry : row.choices) {
            list += (list.empty() ? "" : "、") + std::string("\"") + std::string(entry.name) + "\"";
        }
        std::string name;
        if (value->is_string()) {
            name = value->get<std::string>();
        } else if (value->is_number() && row.key == "cementGrade") {
            name = shortestDecimal(value->get<double>());
        }
        if (const ChoiceEntry* entry = row.entryNamed(name); entry != nullptr && !name.empty()) {
            return entry->value;
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

void readRow(ObjectReader& r, const InputRow& row, Input& in) {
    if (row.kind == InputRow::Kind::Number) {
        row.setNumber(in, r.number(row.member()));
    } else {
        row.setChoice(in, r.choice(row.member(), row));
    }
}

// The rows of one group, read from its object; the group is present, if
// empty, whenever the file names it.
void readGroup(const json& value, const std::string& where, std::span<const InputRow> rows,
               Input& in) {
    ObjectReader r(value, where);
    makeGroup(in, rows.front().group());
    for (const InputRow& row : rows) {
        readRow(r, row, in);
    }
    r.finish();
}

// The rows from `at` that belong to the group of the row at `at`.
std::span<const InputRow> groupAt(std::span<const InputRow> rows, std::size_t at) {
    std::size_t end = at;
    while (end < rows.size() && rows[end].group() == rows[at].group()) {
        ++end;
    }
    return rows.subspan(at, end - at);
}

Input readInput(const json& value) {
    ObjectReader r(value, keyName(kDesignKey));
    Input in;
    const std::span<const InputRow> rows = inputRows();
    for (std::size_t i = 0; i < rows.size();) {
        if (rows[i].group().empty()) {
            readRow(r, rows[i], in);
            ++i;
            continue;
        }
        const std::span<const InputRow> group = groupAt(rows, i);
        if (const json* v = r.object(rows[i].group())) {
            readGroup(*v, r.at(rows[i].group()), group, in);
        }
        i += group.size();
    }
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

void putRow(ordered& object, const InputRow& row, const Input& in) {
    if (row.kind == InputRow::Kind::Number) {
        put(object, row.member(), row.number(in));
    } else if (const std::optional<int> value = row.choice(in)) {
        if (const ChoiceEntry* entry = row.entryOf(*value)) {
            object[std::string(row.member())] = std::string(entry->name);
        }
    }
}

} // namespace

std::string serialize(const Input& in, const design::Project& project, double batchLitres,
                      const ordered& notice, const std::optional<Trials>& trials,
                      const ordered& sigmaSource) {
    ordered d = ordered::object();
    const std::span<const InputRow> rows = inputRows();
    for (std::size_t i = 0; i < rows.size();) {
        if (rows[i].group().empty()) {
            putRow(d, rows[i], in);
            ++i;
            continue;
        }
        const std::span<const InputRow> group = groupAt(rows, i);
        if (hasGroup(in, rows[i].group())) {
            ordered members = ordered::object();
            for (const InputRow& row : group) {
                putRow(members, row, in);
            }
            d[std::string(rows[i].group())] = std::move(members);
        }
        i += group.size();
    }

    ordered file = ordered::object();
    file["lanshi-design"] = 1;
    file[std::string(kStandardKey)] = std::string(kStandardName);
    file[std::string(kDesignKey)] = std::move(d);
    if (!project.empty()) {
        file[std::string(design::kProjectKey)] = design::projectBlock(project);
    }
    if (batchLitres != design::kUsualBatchLitres) {
        file[std::string(design::kTrialBatchKey)] = design::trialBatchBlock(batchLitres);
    }
    if (trials) {
        file[std::string(kTrialsKey)] = trialsBlock(*trials);
    }
    if (!notice.is_null()) {
        file["notice"] = notice;
    }
    if (!sigmaSource.is_null()) {
        file[std::string(kSigmaSourceKey)] = sigmaSource;
    }
    // A text cannot hold invalid UTF-8 here: every text is one of the names.
    return file.dump(2, ' ', false) + "\n";
}

namespace {

// A design is a few hundred bytes two levels deep; anything much larger or
// deeper is no design, and is refused before it is built in memory.
constexpr int kMaxDepth = 8;

json parseBounded(std::string_view bytes) {
    if (bytes.size() > design::kMaxFileSize) {
        throw FileRefusal{design::tooLarge(bytes.size())};
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

namespace {

ReadResult refused(std::string why) {
    ReadResult result;
    result.error = std::move(why);
    return result;
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
        ReadResult result;
        if (const json* block = top.object(design::kProjectKey)) {
            result.project = design::projectFrom(*block);
        }
        if (const json* block = top.object("notice")) {
            result.notice = *block;
        }
        if (const json* block = top.object(kTrialsKey)) {
            TrialsReading trials = readTrials(*block);
            if (!trials) {
                throw FileRefusal{trials.error};
            }
            result.trials = std::move(trials.trials);
        }
        top.object(kSigmaSourceKey); // the form's own (session/sigmasource.h)
        if (const json* block = top.object(design::kTrialBatchKey)) {
            result.batchLitres =
                design::batchLitresFrom(*block).value_or(design::kUsualBatchLitres);
        }
        top.finish();
        result.input = readInput(*body);
        return result;
    } catch (const json::parse_error&) {
        return refused("文件不是正确的 JSON，无法读取。");
    } catch (const json::out_of_range&) {
        return refused("文件中有超出范围的数，无法读取。");
    } catch (const json::exception&) {
        return refused("文件内容无法读取。");
    } catch (const FileRefusal& refusal) {
        return refused(refusal.message);
    }
}

} // namespace jgj55
