// The WebAssembly module's C entry points: the calculation, design files and
// the report, JSON text in and JSON text out. web/api.js wraps them into the
// JavaScript API that the page and the node tests use; its head comment is
// the API's description.
//
// The classic window (session::ClassicWindow) lives in the module between
// calls, under a handle: made by lanshi_classic_new, driven by
// lanshi_classic_call and lanshi_classic_open, freed by lanshi_classic_delete.
//
// Every entry point returns a NUL-terminated UTF-8 JSON text that stays valid
// until the next call, and never throws: whatever goes wrong is an "error".
#include "calc/memorysheet.h"
#include "design/designfile.h"
#include "lanshi/version.h"
#include "report/report.h"
#include "session/classicwindow.h"
#include "session/commands.h"
#include "session/document.h"
#include "session/identity.h"
#include "session/layout.h"
#include "tools/replay.h"
#include "web/calls.h"

#include <cstddef>
#include <emscripten/emscripten.h>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include <nlohmann/json.hpp>

namespace {

using design::formatOption;
using web::answer;
using web::failure;
using web::json;
using web::kProgramName;
using web::optionsOf;
using web::questionJson;
using web::stringMember;

// The report of a design file of either kind as `lanshi --report` makes it,
// through the same document layer: opened under the caller's format, for the
// classic design calculated as a press on "计算" would, with the working of
// the record the file keeps when that record still holds.
json reportOf(std::string_view bytes, const json& given) {
    const calc::NumberFormat format = formatOption(given);
    const std::string designFile = stringMember(given, "designFile", "");
    session::OpenedFile opened =
        session::openFile(bytes, {.path = designFile, .shown = designFile}, format);
    if (!opened) {
        return {{"error", opened.opening.error}};
    }
    session::Document& document = *opened.document;
    if (given.contains("batchLitres")) {
        const web::BatchLitres batch = web::batchLitresOption(given.at("batchLitres"), format);
        if (!batch.problem.empty()) {
            return {{"error", batch.problem}};
        }
        session::ReportDetails details = document.reportDetails();
        details.litres = batch.litres;
        document.setReportDetails(details);
    }
    const std::string stopped = document.calculateForReport();
    if (!stopped.empty()) {
        // A stopped classic calculation says where, in the replay's terms.
        const session::Saving result = document.resultJson();
        json stop = result ? json::parse(*result.bytes).value("stop", json()) : json();
        if (stop.is_object()) {
            stop.erase("text");
            return {{"stop", std::move(stop)}};
        }
        return {{"error", stopped}};
    }
    const session::Reporting made =
        document.report({.date = stringMember(given, "date", ""),
                         .program = stringMember(given, "program", std::string(kProgramName)),
                         .version = stringMember(given, "version", lanshi::kVersion)});
    if (!made) {
        return {{"error", made.refusal}};
    }
    return {{"text", report::toText(*made.document)}, {"html", report::toHtml(*made.document)}};
}

// The classic window as the page drives it: the window's behaviour over an
// in-memory sheet, whose notices (the cement minimum) the page shows as
// boxes before the event's own.
struct ClassicPage {
    explicit ClassicPage(calc::NumberFormat format) : sheet(std::move(format)), window(sheet) {}

    calc::MemorySheet sheet;
    session::ClassicWindow window;
    // The saves whose bytes the page is writing, oldest first, until it says
    // each was written or not.
    web::PendingSaves pending;
};

web::Handles<ClassicPage> g_windows("classic window");

ClassicPage& windowOf(int handle) {
    return g_windows.at(handle);
}

constexpr calc::Option kOptions[] = {calc::Option::option1, calc::Option::option2,
                                     calc::Option::细砂, calc::Option::粗砂};
constexpr calc::Check kChecks[] = {calc::Check::卵石, calc::Check::碎石};

json stateOf(const ClassicPage& page) {
    json texts = json::object();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        texts[calc::fieldName(field)] = page.sheet.text(field);
    }
    json options = json::object();
    for (const calc::Option option : kOptions) {
        options[std::string(calc::optionName(option))] = page.sheet.isSelected(option);
    }
    json checks = json::object();
    for (const calc::Check check : kChecks) {
        checks[std::string(calc::checkName(check))] = page.sheet.isChecked(check);
    }
    return {{"texts", std::move(texts)},
            {"options", std::move(options)},
            {"checks", std::move(checks)},
            {"caption", page.window.caption()},
            {"modified", page.window.modified()},
            {"file", page.window.fileName()},
            {"project", web::projectJson(page.window.reportDetails().project)},
            {"batchLitres", page.window.reportDetails().litres},
            {"findings", page.window.findings()}};
}

calc::TextField textFieldOf(const json& request) {
    const std::string name = stringMember(request, "name", "");
    const std::optional<calc::TextField> field = calc::textFieldByName(name);
    if (!field) {
        throw std::invalid_argument("no text field \"" + name + "\"");
    }
    return *field;
}

// What the page does after an event (or 全部重新计算): the calculation's
// notices first, as the desktop shows them while the calculation runs, then
// the event's boxes; before it ends the session with unsaved changes, the
// question `leaving`.
json effectsOf(ClassicPage& page, const std::function<session::Effects()>& run) {
    const std::size_t before = page.sheet.notices().size();
    const session::Effects effects = run();
    json boxes = json::array();
    for (std::size_t i = before; i < page.sheet.notices().size(); ++i) {
        boxes.push_back(web::boxJson(session::ClassicWindow::noticeBox(page.sheet.notices()[i])));
    }
    for (const session::Box& box : effects.boxes) {
        boxes.push_back(web::boxJson(box));
    }
    return {{"boxes", std::move(boxes)},
            {"focus", effects.focus ? json(*effects.focus) : json()},
            {"exit", effects.exit},
            {"leaving", effects.leaving ? web::boxJson(*effects.leaving) : json()},
            {"openUrl", effects.openUrl ? json(*effects.openUrl) : json()},
            {"browserFailure",
             effects.openUrl
                 ? web::boxJson(session::ClassicWindow::browserFailure(*effects.openUrl))
                 : json()},
            {"state", stateOf(page)}};
}

// The file name a design is saved under: the one asked for, else the file's
// own, else the desktop's proposal; with the design file's extension.
std::string saveNameOf(const ClassicPage& page, std::string asked) {
    if (asked.empty()) {
        asked = page.window.fileName().empty() ? "配合比设计.lanshi" : page.window.fileName();
    }
    constexpr std::string_view suffix = ".lanshi";
    auto lower = [](std::string text) {
        for (char& c : text) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<char>(c - 'A' + 'a');
            }
        }
        return text;
    };
    if (asked.size() < suffix.size() ||
        lower(asked.substr(asked.size() - suffix.size())) != suffix) {
        asked += suffix;
    }
    return asked;
}

json reportOfWindow(ClassicPage& page, const json& request) {
    // What the desktop asks before a report: the project and the volume of
    // the trial batch; both stay with the window for the next report and are
    // saved with the design (a change of either is a change of the design).
    session::ReportDetails details = page.window.reportDetails();
    if (request.contains("project")) {
        details.project = web::projectOption(request.at("project"), {});
    }
    if (request.contains("batchLitres")) {
        const web::BatchLitres batch =
            web::batchLitresOption(request.at("batchLitres"), page.sheet.numberFormat());
        if (!batch.problem.empty()) {
            return {{"error", batch.problem}, {"state", stateOf(page)}};
        }
        details.litres = batch.litres;
    }
    page.window.setReportDetails(details);
    const session::ReportResult made = page.window.reportOrBox(stringMember(request, "date", ""));
    if (!made.document) {
        return {{"boxes", web::boxesJson(made.boxes)}, {"state", stateOf(page)}};
    }
    return {{"text", report::toText(*made.document)},
            {"html", report::toHtml(*made.document)},
            {"state", stateOf(page)}};
}

json selectCall(ClassicPage& page, const json& request) {
    const std::string name = stringMember(request, "name", "");
    for (const calc::Option option : kOptions) {
        if (calc::optionName(option) == name) {
            // The partner of its group clears, as in the window's frame.
            page.sheet.select(option);
            return stateOf(page);
        }
    }
    throw std::invalid_argument("no option button \"" + name + "\"");
}

json setCheckedCall(ClassicPage& page, const json& request) {
    const std::string name = stringMember(request, "name", "");
    if (!request.contains("checked") || !request.at("checked").is_boolean()) {
        throw std::invalid_argument("\"checked\" must be true or false");
    }
    for (const calc::Check check : kChecks) {
        if (calc::checkName(check) == name) {
            page.sheet.setChecked(check, request.at("checked").get<bool>());
            return stateOf(page);
        }
    }
    throw std::invalid_argument("no check box \"" + name + "\"");
}

json eventCall(ClassicPage& page, const json& request) {
    const std::string name = stringMember(request, "name", "");
    const std::optional<session::Event> event = session::eventByName(name);
    if (!event) {
        throw std::invalid_argument("no event \"" + name + "\"");
    }
    return effectsOf(page, [&] { return page.window.event(*event); });
}

json saveCall(ClassicPage& page, const json& request) {
    const std::string file = saveNameOf(page, stringMember(request, "file", ""));
    const session::Saving saving = page.window.saveBytes();
    if (!saving) {
        return {{"boxes",
                 web::boxesJson({session::ClassicWindow::fileFailure(
                     session::FileAction::save, {.path = file, .shown = file}, saving.error)})}};
    }
    // Saved only once the page has written them (or handed them to the
    // browser as a download): a refused write leaves the sheet modified.
    page.pending.push(saving, file);
    return {{"text", *saving.bytes}, {"file", file}, {"state", stateOf(page)}};
}

json savedCall(ClassicPage& page, const json& /*request*/) {
    // From here the sheet is unmodified against the bytes written.
    const web::PendingSave written = page.pending.take();
    page.window.savedAs(written.saving, {.path = written.file, .shown = written.file});
    return stateOf(page);
}

json cannotSaveCall(ClassicPage& page, const json& request) {
    const web::PendingSave refused = page.pending.take();
    // The browser's reason, in the box the desktop shows for a failed save.
    const session::Box box = session::ClassicWindow::fileFailure(
        session::FileAction::save, {.path = refused.file, .shown = refused.file},
        stringMember(request, "reason", ""));
    return {{"boxes", web::boxesJson({box})}, {"state", stateOf(page)}};
}

// 配合比通知单…: the dialog's fields with the design's details, or why the
// sheet has no notice yet; then the details the dialog gave kept with the
// design (a change the caption marks) and the notice.
json noticeOfWindow(ClassicPage& page, const json& request) {
    json made =
        web::noticeOf(page.window, request, page.sheet.numberFormat(),
                      {.date = stringMember(request, "date", ""),
                       .program = stringMember(request, "program", std::string(kProgramName)),
                       .version = stringMember(request, "version", lanshi::kVersion)});
    made["state"] = stateOf(page);
    return made;
}

using ClassicCall = json (*)(ClassicPage&, const json&);

// The calls of the classic window by the name the page gives them.
constexpr std::pair<std::string_view, ClassicCall> kClassicCalls[] = {
    {"state", [](ClassicPage& page, const json&) { return stateOf(page); }},
    {"setText",
     [](ClassicPage& page, const json& request) {
         page.sheet.setText(textFieldOf(request), stringMember(request, "text", ""));
         return stateOf(page);
     }},
    {"edited",
     [](ClassicPage& page, const json& request) {
         page.window.edited(textFieldOf(request));
         return stateOf(page);
     }},
    {"select", selectCall},
    {"setChecked", setCheckedCall},
    {"event", eventCall},
    {"recalculateAll",
     [](ClassicPage& page, const json&) {
         return effectsOf(page, [&] { return page.window.recalculateAll(); });
     }},
    {"mayReplace",
     [](ClassicPage& page, const json&) { return questionJson(page.window.mayReplace()); }},
    {"mayClose",
     [](ClassicPage& page, const json&) { return questionJson(page.window.mayClose()); }},
    {"save", saveCall},
    {"saved", savedCall},
    {"cannotSave", cannotSaveCall},
    {"report", reportOfWindow},
    {"noticeFields",
     [](ClassicPage& page, const json&) {
         return web::noticeFieldsJson(page.window, page.sheet.numberFormat());
     }},
    {"notice", noticeOfWindow},
};

json classicCall(int handle, const json& request) {
    ClassicPage& page = windowOf(handle);
    const std::string call = stringMember(request, "call", "");
    for (const auto& [name, carryOut] : kClassicCalls) {
        if (name == call) {
            return carryOut(page, request);
        }
    }
    throw std::invalid_argument("no call \"" + call + "\" of the classic window");
}

// The window kinds the page names.
constexpr std::pair<std::string_view, session::DocumentKind> kKinds[] = {
    {"classic", session::DocumentKind::classic},
    {"jgj55", session::DocumentKind::jgj55},
    {"gbt50107", session::DocumentKind::gbt50107},
};

json commandsOf(std::string_view kindName) {
    for (const auto& [name, kind] : kKinds) {
        if (name != kindName) {
            continue;
        }
        json commands = json::array();
        for (const session::Command& command : session::commands(kind)) {
            commands.push_back({{"name", command.name},
                                {"text", command.text},
                                {"keys", command.keys},
                                {"separated", command.separated}});
        }
        return {{"commands", std::move(commands)}};
    }
    throw std::invalid_argument("no window kind \"" + std::string(kindName) +
                                "\" (\"classic\", \"jgj55\" or \"gbt50107\")");
}

json layoutRow(const session::ControlRow& row) {
    static constexpr const char* kinds[] = {"Frame",        "Label",    "TextField",
                                            "OptionButton", "CheckBox", "Button"};
    return {{"name", row.name},
            {"kind", kinds[static_cast<int>(row.kind)]},
            {"frame", row.frame},
            {"caption", row.caption},
            {"left", row.left},
            {"top", row.top},
            {"width", row.width},
            {"height", row.height},
            {"tabIndex", row.tabIndex},
            {"buddy", row.buddy},
            {"checked", row.checked},
            {"textColour", row.textColour ? json(*row.textColour) : json()}};
}

} // namespace

extern "C" {

// The classic window's layout table, in twips: {"controls": [...],
// "clientWidth", "clientHeight"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_layout() {
    return web::guarded([&] {
        json controls = json::array();
        for (const session::ControlRow& row : session::formLayout()) {
            controls.push_back(layoutRow(row));
        }
        return answer({{"controls", std::move(controls)},
                       {"clientWidth", session::kClientWidth},
                       {"clientHeight", session::kClientHeight}});
    });
}

// The commands of a window of `kind` ("classic" or "jgj55") beside its
// events, in the order of its menu: {"commands": [{name, text, keys,
// separated}]}, the table the desktop makes its actions from, or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_commands(const char* kind) {
    return web::guarded(
        [&] { return answer(commandsOf(kind == nullptr ? std::string_view() : kind)); });
}

// Who the program is: {caption, applicationName, version, helpTitle,
// helpText, makerPage}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_identity() {
    return web::guarded([&] {
        return answer({{"caption", session::kWindowCaption},
                       {"applicationName", session::kApplicationName},
                       {"version", session::kApplicationVersion},
                       {"helpTitle", session::kHelpTitle},
                       {"helpText", session::kHelpText},
                       {"makerPage", session::kMakerPage}});
    });
}

// A new classic window under the format of `optionsJson` ({"format": {...}}),
// before its load: {"handle": n} or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_classic_new(const char* optionsJson) {
    return web::guarded([&] {
        const int handle =
            g_windows.add(std::make_unique<ClassicPage>(formatOption(optionsOf(optionsJson))));
        return answer({{"handle", handle}});
    });
}

// One call on the classic window `handle`: {"call": "state" | "setText" |
// "edited" | "select" | "setChecked" | "event" | "recalculateAll" |
// "mayReplace" | "mayClose" | "save" | "saved" | "cannotSave" | "report" |
// "noticeFields" | "notice", ...its arguments}; its answer (web/api.js tells
// which) or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_classic_call(int handle, const char* requestJson) {
    return web::guarded([&] { return answer(classicCall(handle, optionsOf(requestJson))); });
}

// A design file's bytes opened on the classic window `handle`, named
// `fileName`: {opened, boxes, elsewhere: "jgj55-2011" or null, state} or
// {"error"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_classic_open(int handle, const char* bytes,
                                                     std::size_t size, const char* fileName) {
    return web::guarded([&] {
        ClassicPage& page = windowOf(handle);
        const std::string name = fileName == nullptr ? std::string() : std::string(fileName);
        const session::OpenResult opened =
            page.window.open(std::string_view(bytes, size), {.path = name, .shown = name});
        return answer({{"opened", opened.opened},
                       {"boxes", web::boxesJson(opened.boxes)},
                       {"elsewhere", opened.elsewhere ? json("jgj55-2011") : json()},
                       {"state", stateOf(page)}});
    });
}

// Frees the classic window `handle`; nothing when there is none.
EMSCRIPTEN_KEEPALIVE void lanshi_classic_delete(int handle) {
    g_windows.remove(handle);
}

// One replay case (tools/replay.h) in, its line of results out.
EMSCRIPTEN_KEEPALIVE const char* lanshi_replay(const char* line) {
    return web::guarded(
        [&] { return web::answerText(replay::replayLine(line == nullptr ? "" : line)); });
}

// A design file's bytes, opened under the format `optionsJson` names
// ({"format": {...}}): {"text": the file as this program writes that design}
// or {"error": why it cannot be opened, in Chinese}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_open_design(const char* bytes, std::size_t size,
                                                    const char* optionsJson) {
    return web::guarded([&] {
        const calc::NumberFormat format = formatOption(optionsOf(optionsJson));
        const design::ReadResult read = design::open(std::string_view(bytes, size), format);
        if (!read) {
            return failure(read.error);
        }
        return answer({{"text", design::serialize(*read.design)}});
    });
}

// A design as JSON text, taken as it stands (its texts verbatim, in the format
// it names): {"text": the bytes of its design file} or {"error": why not}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_save_design(const char* designJson) {
    return web::guarded([&] {
        const design::ReadResult read =
            design::openAsSaved(designJson == nullptr ? std::string_view() : designJson);
        if (!read) {
            return failure(read.error);
        }
        return answer({{"text", design::serialize(*read.design)}});
    });
}

// The report (计算书) of a design file's bytes, under the options of
// `optionsJson` ({"format", "date", "program", "version", "designFile",
// "batchLitres"}): {"text", "html"}, or {"stop": {"stage", "field", "reason"}}
// when the calculation stops, or {"error": why not}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_report(const char* bytes, std::size_t size,
                                               const char* optionsJson) {
    return web::guarded(
        [&] { return answer(reportOf(std::string_view(bytes, size), optionsOf(optionsJson))); });
}

} // extern "C"
