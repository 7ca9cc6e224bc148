// What every C entry point of the WebAssembly module shares: JSON text in,
// one answer out that stays valid until the next call, and the options read
// from the caller's JSON.
#pragma once

#include "calc/numberformat.h"
#include "design/project.h"
#include "session/box.h"
#include "session/document.h"
#include "session/identity.h"

#include <deque>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace web {

using json = nlohmann::ordered_json;

// The answer as NUL-terminated UTF-8 JSON text, kept until the next answer;
// text that is not UTF-8 is replaced, never thrown.
const char* answer(const json& result);
// {"error": why}.
const char* failure(std::string_view why);
// A plain text kept as the answer, as it is.
const char* answerText(std::string text);

// The answer of an entry point: what `call` answers, or {"error": why} for
// whatever it throws, so that no exception leaves the module.
template <typename Call> const char* guarded(Call&& call) {
    try {
        return call();
    } catch (const std::exception& e) {
        return failure(e.what());
    }
}

// The objects the page holds by number (a classic window, a JGJ 55-2011
// form): made, found and freed by the number it was given.
template <typename Object> class Handles {
public:
    // `what` names the kind in the error for a number that holds nothing.
    explicit Handles(std::string what) : m_what(std::move(what)) {}

    int add(std::unique_ptr<Object> object) {
        m_objects.emplace(++m_last, std::move(object));
        return m_last;
    }
    Object& at(int handle) const {
        const auto found = m_objects.find(handle);
        if (found == m_objects.end()) {
            throw std::invalid_argument("no " + m_what + " " + std::to_string(handle) +
                                        " (never made, or deleted)");
        }
        return *found->second;
    }
    // Whether there was one to free.
    bool remove(int handle) { return m_objects.erase(handle) == 1; }

private:
    std::string m_what;
    std::map<int, std::unique_ptr<Object>> m_objects;
    int m_last = 0;
};

// A save whose bytes the page is writing, and the name it writes them as.
struct PendingSave {
    session::Saving saving;
    std::string file;
};

// The saves of one document the page is writing, oldest first. The page
// writes one at a time and says how each went, in order: a write that fails
// after a later one was asked for never marks the later bytes as saved.
class PendingSaves {
public:
    void push(session::Saving saving, std::string file) {
        m_saves.push_back({std::move(saving), std::move(file)});
    }
    // The oldest save, taken off; throws std::invalid_argument when there is none.
    PendingSave take() {
        if (m_saves.empty()) {
            throw std::invalid_argument("no save is waiting to be written");
        }
        PendingSave oldest = std::move(m_saves.front());
        m_saves.pop_front();
        return oldest;
    }

private:
    std::deque<PendingSave> m_saves;
};

// A project block as the page reads it: {name, part, client}.
json projectJson(const design::Project& project);
// The project a call gives ({name, part, client}, each a text; a missing
// line keeps that of `kept`); throws std::invalid_argument for a value that
// is no object.
design::Project projectOption(const json& given, const design::Project& kept);

// A box as the page shows it: {icon: "none" | "information" | "warning" |
// "question", title, text, buttons: [{answer, caption}]}, the answers "ok",
// or "save", "discard" and "cancel" for the question before a design is
// replaced.
json boxJson(const session::Box& box);
json boxesJson(const std::vector<session::Box>& boxes);
// The question before a design is replaced or closed: {"ask": false} when
// there is none, else {"ask": true, "box"}.
json questionJson(const std::optional<session::Box>& question);

// The trial batch a report call gives: the volume, or why it can be none (in
// Chinese, the kept volume standing).
struct BatchLitres {
    double litres = 0.0;
    std::string problem;
};
// `given` is a number, or the text the user typed, read as a number field is
// read in the regional format `format`; in the one range of every front end.
// Throws std::invalid_argument for a value that is neither.
BatchLitres batchLitresOption(const json& given, const calc::NumberFormat& format);

// The mix notice (配合比通知单) of a design as the page's dialog asks it, the
// desktop's dialog's fields in its order: {"fields": [{key, caption, unit,
// kind: "text" | "number", text}], "refusal": why the design has no notice
// yet (no mix), or null}. A number's text is written in `format`; "" is none.
json noticeFieldsJson(const session::Document& document, const calc::NumberFormat& format);
// The dialog's answer kept with the design (`request["details"]`: {key: a
// text, a number's read in `format`, "" for none; a key left out keeps the
// design's}), then the notice of `stamp`: {"text", "html"}, or {"error": why
// not in one line of Chinese, "entry": the key of the field it concerns, or
// ""}. A text that is no number is refused before anything is kept.
json noticeOf(session::Document& document, const json& request, const calc::NumberFormat& format,
              const session::ReportStamp& stamp);

// What a report calls the program when the caller names none: its one name.
inline constexpr std::string_view kProgramName = session::kApplicationName;

// The options of a call: a JSON object; empty or null text is {}.
json optionsOf(const char* text);
// The string under `key`, `fallback` when there is none; throws
// std::invalid_argument when it is not a string.
std::string stringMember(const json& object, const char* key, const std::string& fallback);

} // namespace web
