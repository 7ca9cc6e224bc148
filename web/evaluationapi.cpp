// The WebAssembly module's C entry points of the strength evaluation's form
// (session::EvaluationForm): a form is made, driven and freed by its number,
// JSON text in and JSON text out. web/evaluationapi.js wraps them into
// lanshi.evaluationForm(); its head comment is the API's description.
//
// Every entry point returns a NUL-terminated UTF-8 JSON text that stays valid
// until the next call of one of them, and never throws: whatever goes wrong
// is an "error".
#include "design/designfile.h"
#include "lanshi/version.h"
#include "report/report.h"
#include "session/evaluationform.h"
#include "web/calls.h"

#include <cstddef>
#include <emscripten/emscripten.h>
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
using web::stringMember;
using Form = session::EvaluationForm;

// A form as the page holds it, with the saves it is writing.
struct EvaluationPage {
    explicit EvaluationPage(calc::NumberFormat format) : form(std::move(format)) {}
    Form form;
    web::PendingSaves pending;
};

web::Handles<EvaluationPage> g_forms("strength evaluation form");

std::string_view view(const char* text) {
    return text == nullptr ? std::string_view() : std::string_view(text);
}

Form& formOf(int id) {
    return g_forms.at(id).form;
}

json fieldsJson() {
    json fields = json::array();
    for (const Form::Field& f : Form::fields()) {
        static constexpr const char* kKinds[] = {"number", "choice", "values"};
        json field = {{"key", f.key},
                      {"caption", f.caption},
                      {"unit", f.unit},
                      {"kind", kKinds[static_cast<int>(f.kind)]}};
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

json cellJson(const Form& form, int row, int column) {
    const Form::CellState& state = form.cellState(row, column);
    json cell = {{"text", form.cell(row, column)}};
    if (!state.placeholder.empty()) {
        cell["placeholder"] = state.placeholder;
    }
    if (!state.tip.empty()) {
        cell["tip"] = state.tip;
    }
    if (state.marked) {
        cell["marked"] = true;
    }
    return cell;
}

json entriesJson(const Form& form) {
    json values = json::object();
    json marks = json::object();
    for (const Form::Field& f : Form::fields()) {
        const std::string key(f.key);
        values[key] = f.kind == Form::Kind::Choice ? json(form.choice(key)) : json(form.text(key));
        if (form.field(key).marked) {
            marks[key] = form.field(key).tip;
        }
    }
    return {{"values", values}, {"marks", marks}};
}

json stateJson(const Form& form) {
    json rows = json::array();
    for (int row = 0; row < form.rowCount(); ++row) {
        json cells = json::array();
        for (int column = 0; column < Form::kColumns; ++column) {
            cells.push_back(cellJson(form, row, column));
        }
        rows.push_back(cells);
    }
    json figures = json::array();
    for (const Form::Figure& f : form.figures()) {
        figures.push_back({{"caption", f.caption}, {"text", f.text}});
    }
    json conditions = json::array();
    for (const Form::ConditionLine& c : form.conditions()) {
        conditions.push_back({{"text", c.text}, {"holds", c.holds}});
    }
    json lines = json::array();
    for (const Form::ChartLine& l : form.chartLines()) {
        static constexpr const char* kRoles[] = {"class", "mean", "limit"};
        lines.push_back(
            {{"role", kRoles[static_cast<int>(l.role)]}, {"label", l.label}, {"value", l.value}});
    }
    json values = json::array();
    for (const std::optional<double>& v : form.chartValues()) {
        values.push_back(v ? json(*v) : json());
    }
    const json entries = entriesJson(form);
    const Form::Status& status = form.status();
    return {{"values", entries.at("values")},
            {"marks", entries.at("marks")},
            {"rows", rows},
            {"evaluated", form.evaluation().has_value()},
            {"passed", form.evaluation() && form.evaluation()->passed},
            {"verdict", form.verdict()},
            {"figures", figures},
            {"conditions", conditions},
            {"chart", {{"values", values}, {"lines", lines}}},
            {"status", {{"text", status.text}, {"error", status.error}}},
            {"fileName", form.fileName()},
            {"title", form.title(kProgramName)},
            {"modified", form.modified()},
            {"project", web::projectJson(form.reportDetails().project)},
            {"batchLitres", form.reportDetails().litres}};
}

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

// The record of the evaluation; the project the caller gives is kept for the
// next record and the next save.
json reportOf(Form& form, const json& given) {
    const Form::ReportUse use = reportUseOf(given);
    session::ReportDetails details = form.reportDetails();
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

} // namespace

extern "C" {

// The entries above the table: [{key, caption, unit, kind ("number",
// "choice" or "values"), choices (a choice's entries)}].
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_fields() {
    return web::guarded([&] { return answer(fieldsJson()); });
}

// A new form in the format of `optionsJson` ({"format": {...}}): {"form":
// its number, "state"} or {"error"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_new(const char* optionsJson) {
    return web::guarded([&] {
        const int id =
            g_forms.add(std::make_unique<EvaluationPage>(formatOption(optionsOf(optionsJson))));
        return answer({{"form", id}, {"state", stateJson(formOf(id))}});
    });
}

// The form's state: {values, marks, rows, evaluated, passed, verdict,
// figures, conditions, chart, status, fileName, title, modified, project}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_state(int id) {
    return web::guarded([&] { return answer(stateJson(formOf(id))); });
}

// One call that changes the form, by `requestJson`: {"call": "setText", key,
// text} | {"call": "choose", key, index} | {"call": "setCell", row, column,
// text} | {"call": "paste", row, column, text} | {"call": "importCsv", text,
// fileName} | {"call": "removeRows", first, count}: the state after it, or
// {"error"} for a call, key or cell it does not know.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_call(int id, const char* requestJson) {
    return web::guarded([&] {
        Form& form = formOf(id);
        const json request = optionsOf(requestJson);
        const std::string call = stringMember(request, "call", "");
        const auto number = [&](const char* name) { return request.value(name, -1); };
        const std::string text = stringMember(request, "text", "");
        bool done = true;
        if (call == "setText") {
            done = form.setText(stringMember(request, "key", ""), text);
        } else if (call == "choose") {
            done = form.choose(stringMember(request, "key", ""), number("index"));
        } else if (call == "setCell") {
            done = form.setCell(number("row"), number("column"), text);
        } else if (call == "paste") {
            form.paste(number("row"), number("column"), text);
        } else if (call == "importCsv") {
            form.importCsv(text, stringMember(request, "fileName", "CSV"));
        } else if (call == "removeRows") {
            form.removeRows(number("first"), number("count"));
        } else {
            return failure("no call \"" + call + "\" of the strength evaluation form");
        }
        if (!done) {
            return failure("no entry or cell for \"" + call + "\"");
        }
        return answer(stateJson(form));
    });
}

// An evaluation file's bytes opened into the form under `fileName`:
// {"opened", "elsewhere": the kind a design file of another kind belongs to
// ("classic" or "jgj55"), "state"}; the status line says why not.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_open(int id, const char* bytes, std::size_t size,
                                                      const char* fileName) {
    return web::guarded([&] {
        Form& form = formOf(id);
        const std::string_view bytesRead(bytes, size);
        const session::DocumentKind kind = session::documentKind(bytesRead);
        if (kind != session::DocumentKind::gbt50107) {
            return answer(
                {{"opened", false},
                 {"elsewhere", kind == session::DocumentKind::jgj55 ? "jgj55" : "classic"},
                 {"state", stateJson(form)}});
        }
        const bool opened = form.open(bytesRead, {.path = view(fileName), .shown = view(fileName)});
        return answer({{"opened", opened}, {"elsewhere", json()}, {"state", stateJson(form)}});
    });
}

// The bytes of the evaluation file: {"text", "state"}, or {"state"} alone
// when a cell holds text the file cannot keep (named in the status line).
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_save(int id) {
    return web::guarded([&] {
        EvaluationPage& page = g_forms.at(id);
        const session::Saving saving = page.form.save();
        if (!saving) {
            return answer({{"state", stateJson(page.form)}});
        }
        page.pending.push(saving, {});
        return answer({{"text", *saving.bytes}, {"state", stateJson(page.form)}});
    });
}

// How the page's write of the saved bytes as `fileName` went: written (an
// empty `reason`) or refused for `reason`. {"state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_saved(int id, const char* fileName,
                                                       const char* reason) {
    return web::guarded([&] {
        EvaluationPage& page = g_forms.at(id);
        const web::PendingSave written = page.pending.take();
        if (view(reason).empty()) {
            page.form.saved(written.saving, {.path = view(fileName), .shown = view(fileName)});
        } else {
            page.form.cannotSave(view(fileName), view(reason));
        }
        return answer({{"state", stateJson(page.form)}});
    });
}

// The record under `optionsJson` ({"date", "program", "version", "project",
// "use"}): {"text", "html", "state"} or {"error", "state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_report(int id, const char* optionsJson) {
    return web::guarded([&] { return answer(reportOf(formOf(id), optionsOf(optionsJson))); });
}

// Before another evaluation replaces the form's: {"ask": false}, or {"ask":
// true, "box"} when it has unsaved changes.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_may_replace(int id) {
    return web::guarded([&] {
        const std::optional<session::Box> question = formOf(id).mayReplace();
        if (!question) {
            return answer({{"ask", false}});
        }
        return answer({{"ask", true}, {"box", web::boxJson(*question)}});
    });
}

// The page put the record on the clipboard. {"state"}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_copied(int id) {
    return web::guarded([&] {
        Form& form = formOf(id);
        form.reportCopied();
        return answer({{"state", stateJson(form)}});
    });
}

// Frees the form: {"deleted": whether there was one}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_gbt50107_delete(int id) {
    return web::guarded([&] { return answer({{"deleted", g_forms.remove(id)}}); });
}

} // extern "C"
