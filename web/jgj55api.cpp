// The WebAssembly module's C entry points of the JGJ 55-2011 form
// (session::Jgj55Form): a form is made, driven and freed by its number, JSON
// text in and JSON text out. web/jgj55api.js wraps them into
// lanshi.jgj55Form(); its head comment is the API's description.
//
// Every entry point returns a NUL-terminated UTF-8 JSON text that stays valid
// until the next call of one of them, and never throws: whatever goes wrong
// is an "error".
#include "design/designfile.h"
#include "lanshi/version.h"
#include "report/report.h"
#include "session/jgj55form.h"
#include "session/trialsheet.h"
#include "web/calls.h"

#include <array>
#include <cstddef>
#include <emscripten/emscripten.h>
#include <exception>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

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
using Form = session::Jgj55Form;

// A form as the page holds it, with the saves it is writing.
struct JgjPage {
    explicit JgjPage(calc::NumberFormat format) : form(std::move(format)) {}
    Form form;
    web::PendingSaves pending;
};

web::Handles<JgjPage> g_forms("JGJ 55-2011 form");

std::string_view view(const char* text) {
    return text == nullptr ? std::string_view() : std::string_view(text);
}

Form& formOf(int id) {
    return g_forms.at(id).form;
}

json fieldsJson() {
    json fields = json::array();
    for (const Form::Field& f : Form::fields()) {
        json field = {{"key", f.key},
                      {"caption", f.caption},
                      {"unit", f.unit},
                      {"kind", f.kind == Form::Kind::Number ? "number" : "choice"},
                      {"group", f.group}};
        if (f.kind == Form::Kind::Choice) {
            json choices = json::array();
            for (const std::string_view c : f.choices) {
                choices.push_back(c);
            }
            field["choices"] = choices;
        }
        fields.push_back(field);
    }
    return fields;
}

json stateJson(const Form& form) {
    json values = json::object();
    json chosen = json::object();
    json placeholders = json::object();
    json greyed = json::object();
    json tips = json::object();
    json marks = json::object();
    json warnings = json::object();
    for (const Form::Field& f : Form::fields()) {
        const std::string key(f.key);
        if (f.kind == Form::Kind::Choice) {
            const int index = form.choice(key);
            values[key] = f.choices[static_cast<std::size_t>(index)];
            chosen[key] = index;
            continue;
        }
        values[key] = form.text(key);
        const Form::FieldState& shown = form.field(key);
        if (!shown.placeholder.empty()) {
            placeholders[key] = shown.placeholder;
            greyed[key] = shown.greyed;
        }
        if (!shown.tip.empty()) {
            tips[key] = shown.tip;
        }
        if (shown.marked) {
            marks[key] = shown.tip;
        }
        if (!shown.warning.empty()) {
            warnings[key] = shown.warning;
        }
    }
    json results = json::array();
    for (const Form::ResultField& r : Form::resultFields()) {
        const Form::ResultState& shown = form.result(r.key);
        results.push_back({{"key", r.key},
                           {"caption", r.caption},
                           {"unit", r.unit},
                           {"group", Form::kResultsGroup},
                           {"text", shown.text},
                           {"tip", shown.tip},
                           {"warning", shown.warning},
                           {"construction", shown.construction},
                           {"trial", shown.trial}});
    }
    json notes = json::array();
    for (const Form::Note& note : form.notes()) {
        notes.push_back({{"text", note.text}, {"key", note.key}, {"onResult", note.onResult}});
    }
    const Form::Status& status = form.status();
    return {{"values", values},
            {"chosen", chosen},
            {"placeholders", placeholders},
            {"greyed", greyed},
            {"tips", tips},
            {"results", results},
            {"marks", marks},
            {"warnings", warnings},
            {"notes", notes},
            {"noteCount", form.noteCount()},
            {"trialTitle", form.trialTitle()},
            {"status", {{"text", status.text}, {"error", status.error}}},
            {"designed", form.result().has_value()},
            {"fileName", form.fileName()},
            {"title", form.title(kProgramName)},
            {"modified", form.modified()},
            {"project", web::projectJson(form.reportDetails().project)},
            {"batchLitres", form.reportDetails().litres}};
}

// What the report is for, as the page names it: the status line of a form
// without a design says which command found no report.
Form::ReportUse reportUseOf(const json& given) {
    const std::string use = stringMember(given, "use", "preview");
    if (use == "preview") {
        return Form::ReportUse::Preview;
    }
    if (use == "pdf") {
        return Form::ReportUse::Pdf;
    }
    if (use == "copy") {
        return Form::ReportUse::Copy;
    }
    throw std::invalid_argument("\"use\" must be \"preview\", \"pdf\" or \"copy\"");
}

// The report's details the caller gives (project, batchLitres) are kept by
// the form for the next report and the next save, as the desktop keeps what
// its dialog asked.
json reportOf(JgjPage& page, const json& given) {
    Form& form = page.form;
    const Form::ReportUse use = reportUseOf(given);
    Form::ReportDetails details = form.reportDetails();
    if (given.contains("batchLitres")) {
        const web::BatchLitres batch =
            web::batchLitresOption(given.at("batchLitres"), form.format());
        if (!batch.problem.empty()) {
            return {{"error", batch.problem}, {"state", stateJson(form)}};
        }
        details.litres = batch.litres;
    }
    if (given.contains("project")) {
        details.project = web::projectOption(given.at("project"), details.project);
    }
    form.setReportDetails(details);
    const session::Reporting made =
        form.report({.date = stringMember(given, "date", ""),
                     .program = stringMember(given, "program", std::string(kProgramName)),
                     .version = stringMember(given, "version", lanshi::kVersion)});
    if (!made) {
        form.noReport(use);
        return {{"error", form.status().text}, {"state", stateJson(form)}};
    }
    return {{"text", report::toText(*made.document)},
            {"html", report::toHtml(*made.document)},
            {"state", stateJson(form)}};
}

// The trials' texts as the page's table holds them: rows of [W/B, strength,
// specimen 1, 2, 3].
json trialTextsJson(const session::TrialTexts& texts) {
    json rows = json::array();
    for (const session::TrialTexts::Row& row : texts.rows) {
        rows.push_back(
            {row.waterBinder, row.strength, row.specimens[0], row.specimens[1], row.specimens[2]});
    }
    return {{"mixerCapacity", texts.mixerCapacity},
            {"water", texts.water},
            {"sandRatio", texts.sandRatio},
            {"density", texts.density},
            {"rows", rows}};
}

session::TrialTexts trialTextsOf(const json& given) {
    session::TrialTexts texts{.mixerCapacity = stringMember(given, "mixerCapacity", ""),
                              .water = stringMember(given, "water", ""),
                              .sandRatio = stringMember(given, "sandRatio", ""),
                              .density = stringMember(given, "density", ""),
                              .rows = {}};
    if (given.contains("rows")) {
        for (const json& row : given.at("rows")) {
            std::array<std::string, 5> cells;
            for (std::size_t c = 0; c < cells.size() && c < row.size(); ++c) {
                cells[c] = row.at(c).get<std::string>();
            }
            texts.rows.push_back({cells[0], cells[1], {cells[2], cells[3], cells[4]}});
        }
    }
    return texts;
}

// The fit as the page plots it; null before three strengths.
json plotJson(const Form& form) {
    const std::optional<jgj55::TrialOutcome>& out = form.trialOutcome();
    if (!out || !*out || !out->result->adjustment) {
        return nullptr;
    }
    const jgj55::Adjustment& a = *out->result->adjustment;
    json points = json::array();
    for (const jgj55::MeasuredStrength& m : a.strengths) {
        points.push_back({{"binderWater", 1.0 / m.waterBinder}, {"strength", m.value}});
    }
    return {{"points", points},
            {"a", a.fit.a},
            {"b", a.fit.b},
            {"fcu0", a.fcu0},
            {"binderWater", a.binderWater}};
}

// The trials typed (`texts`, when given) kept by the form, and what they give.
json trialsOf(Form& form, const json& given) {
    std::string problem;
    if (given.contains("texts")) {
        const session::TrialTextsReading read =
            session::readTrialTexts(trialTextsOf(given.at("texts")), form.format());
        if (read) {
            // Nothing typed in a design without trials leaves it without them.
            const bool nothing = read.trials->empty() && !form.trials();
            form.setTrials(nothing ? std::nullopt : read.trials);
        } else {
            problem = read.error;
        }
    }
    const std::optional<jgj55::TrialOutcome>& out = form.trialOutcome();
    if (problem.empty() && !form.result()) {
        problem = "设计尚不完整，不能试配。" + form.status().text;
    } else if (problem.empty() && out && !*out) {
        problem = "试配：" + out->refusal.message;
    }
    const std::optional<report::Document> chapter = session::trialsChapter(form);
    return {{"texts", trialTextsJson(session::trialTexts(form.trials().value_or(jgj55::Trials{}),
                                                         form.format(), 6))},
            {"html", chapter ? report::toHtml(*chapter) : std::string()},
            {"problem", problem},
            {"plot", plotJson(form)},
            {"state", stateJson(form)}};
}

} // namespace

extern "C" {

// The laboratory's trials of the form's design: with {"texts": {mixerCapacity,
// water, sandRatio, density, rows: [[W/B, strength, specimen 1, 2, 3], …]}}
// the texts typed are read in the form's format and kept with the design (a
// text that is no number is named in "problem" and changes nothing); with {}
// only asked. {"texts" (as the form keeps them, six rows at least), "html"
// (the chapter 试配、调整与确定, "" without a design), "problem" ("" when all
// is well), "plot" ({points: [{binderWater, strength}], a, b, fcu0,
// binderWater} or null), "state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_trials(int id, const char* requestJson) {
    return web::guarded([&] { return answer(trialsOf(formOf(id), optionsOf(requestJson))); });
}

// The form's inputs in the order it shows them: [{key, caption, unit, kind
// ("number" or "choice"), group, choices (a choice's entries)}].
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_fields() {
    return web::guarded([&] { return answer(fieldsJson()); });
}

// A new form in the format of `optionsJson` ({"format": {...}}):
// {"form": its number, "state": …} or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_new(const char* optionsJson) {
    return web::guarded([&] {
        const int id = g_forms.add(std::make_unique<JgjPage>(formatOption(optionsOf(optionsJson))));
        return answer({{"form", id}, {"state", stateJson(formOf(id))}});
    });
}

// The form's state: {values, chosen, placeholders, greyed (the
// placeholder's figure alone, what the field shows), tips, results, marks,
// warnings, notes, noteCount, trialTitle, status, designed, fileName, title,
// modified, project, batchLitres}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_state(int id) {
    return web::guarded([&] { return answer(stateJson(formOf(id))); });
}

// `text` typed into number field `key`: the state after the design.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the field, then its text.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_set_text(int id, const char* key, const char* text) {
    return web::guarded([&] {
        Form& form = formOf(id);
        if (!form.setText(view(key), view(text))) {
            return failure("no number field \"" + std::string(view(key)) + "\"");
        }
        return answer(stateJson(form));
    });
}

// Entry `index` chosen in choice field `key`: the state after the design.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_choose(int id, const char* key, int index) {
    return web::guarded([&] {
        Form& form = formOf(id);
        if (!form.choose(view(key), index)) {
            return failure("no choice field \"" + std::string(view(key)) + "\" with entry " +
                           std::to_string(index));
        }
        return answer(stateJson(form));
    });
}

// A design file's bytes opened into the form under `fileName`:
// {"opened": bool, "state"}; the status line says why not.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_open(int id, const char* bytes, std::size_t size,
                                                   const char* fileName) {
    return web::guarded([&] {
        Form& form = formOf(id);
        const std::string_view bytesRead(bytes, size);
        // A design of another kind belongs to its own view; the form stays.
        if (session::documentKind(bytesRead) != session::DocumentKind::jgj55) {
            return answer(
                {{"opened", false}, {"elsewhere", "classic"}, {"state", stateJson(form)}});
        }
        const bool opened = form.open(bytesRead, {.path = view(fileName), .shown = view(fileName)});
        return answer({{"opened", opened}, {"elsewhere", json()}, {"state", stateJson(form)}});
    });
}

// The bytes of the form's design file: {"text": the file (UTF-8 JSON),
// "state"}, or {"state"} alone when a field holds no number (marked and named
// in the status line). The form takes the file as its own only when the page
// says the bytes were written (lanshi_jgj55_saved).
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_save(int id) {
    return web::guarded([&] {
        JgjPage& page = g_forms.at(id);
        const session::Saving saving = page.form.save();
        if (!saving) {
            return answer({{"state", stateJson(page.form)}});
        }
        page.pending.push(saving, {});
        return answer({{"text", *saving.bytes}, {"state", stateJson(page.form)}});
    });
}

// How the page's write of the saved bytes as `fileName` went: written (an
// empty `reason`), the form's file from now on; or refused for `reason`,
// which the status line gives. {"state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_saved(int id, const char* fileName,
                                                    const char* reason) {
    return web::guarded([&] {
        JgjPage& page = g_forms.at(id);
        const web::PendingSave written = page.pending.take();
        if (view(reason).empty()) {
            page.form.saved(written.saving, {.path = view(fileName), .shown = view(fileName)});
        } else {
            page.form.cannotSave(view(fileName), view(reason));
        }
        return answer({{"state", stateJson(page.form)}});
    });
}

// The report of the form's design under `optionsJson` ({"date", "program",
// "version", "batchLitres" (a number, or the text the user typed),
// "project": {"name", "part", "client"}, "use": "preview" | "pdf" |
// "copy"}): {"text", "html", "state"}, or {"error": why not, "state"}: a
// refused trial batch (the kept one stands), or no design (the status line's
// words).
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_report(int id, const char* optionsJson) {
    return web::guarded([&] { return answer(reportOf(g_forms.at(id), optionsOf(optionsJson))); });
}

// Before another design replaces the form's: {"ask": false}, or {"ask":
// true, "box": the question (保存 / 不保存 / 取消)} when it has unsaved changes.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_may_replace(int id) {
    return web::guarded([&] { return answer(questionJson(formOf(id).mayReplace())); });
}

// Before the form is closed (the page's session ends): as
// lanshi_jgj55_may_replace, with the question of closing.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_may_close(int id) {
    return web::guarded([&] { return answer(questionJson(formOf(id).mayClose())); });
}

// 导入强度标准差…: the σ that the evaluation file's bytes (named `fileName`)
// give the next design, in the field σ with its source: {"imported", "state"};
// the status line says what was taken, or why nothing was.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_import_sigma(int id, const char* bytes,
                                                           std::size_t size, const char* fileName) {
    return web::guarded([&] {
        Form& form = formOf(id);
        const bool imported = form.importSigma(std::string_view(bytes, size),
                                               {.path = view(fileName), .shown = view(fileName)});
        return answer({{"imported", imported}, {"state", stateJson(form)}});
    });
}

// The page put the form's report on the clipboard: the status line says so.
// {"state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_copied(int id) {
    return web::guarded([&] {
        Form& form = formOf(id);
        form.reportCopied();
        return answer({{"state", stateJson(form)}});
    });
}

// 配合比通知单… of the form's design, the dialog's fields first: {"fields":
// [{key, caption, unit, kind, text}], "refusal": why there is no notice yet,
// or null}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_notice_fields(int id) {
    return web::guarded([&] {
        const Form& form = formOf(id);
        return answer(web::noticeFieldsJson(form, form.format()));
    });
}

// The notice of the form's design under `optionsJson` ({"date", "program",
// "version", "details": {key: text}}), the details kept with the design
// first: {"text", "html", "state"} or {"error", "entry", "state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_notice(int id, const char* optionsJson) {
    return web::guarded([&] {
        Form& form = formOf(id);
        const json given = optionsOf(optionsJson);
        json made =
            web::noticeOf(form, given, form.format(),
                          {.date = stringMember(given, "date", ""),
                           .program = stringMember(given, "program", std::string(kProgramName)),
                           .version = stringMember(given, "version", lanshi::kVersion)});
        made["state"] = stateJson(form);
        return answer(made);
    });
}

// Frees the form: {"deleted": whether there was one}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_jgj55_delete(int id) {
    return web::guarded([&] { return answer({{"deleted", g_forms.remove(id)}}); });
}

} // extern "C"
