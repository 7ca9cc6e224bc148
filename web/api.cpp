// The WebAssembly module's C entry points: the calculation, design files and
// the report, JSON text in and JSON text out. web/api.js wraps them into the
// JavaScript API that the page and the node tests use; its head comment is
// the API's description.
//
// Every entry point returns a NUL-terminated UTF-8 JSON text that stays valid
// until the next call, and never throws: whatever goes wrong is an "error".
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stop.h"
#include "calc/trace.h"
#include "design/designfile.h"
#include "design/project.h"
#include "design/provenance.h"
#include "lanshi/version.h"
#include "report/report.h"
#include "tools/replay.h"

#include <cstddef>
#include <emscripten/emscripten.h>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::ordered_json;

// What the report calls the program when the caller names none.
constexpr const char* kProgramName = "普通澜石";

std::string g_result;

const char* answer(const json& result) {
    g_result = result.dump(-1, ' ', false, json::error_handler_t::replace);
    return g_result.c_str();
}

const char* failure(std::string_view why) {
    return answer({{"error", why}});
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

// The regional number format the caller works in, in the keys of a design
// file's "format"; the usual settings where a key is missing.
calc::NumberFormat formatOf(const json& options) {
    calc::NumberFormat format;
    if (!options.contains("format")) {
        return format;
    }
    const json& given = options.at("format");
    if (!given.is_object()) {
        throw std::invalid_argument("\"format\" must be an object");
    }
    format.decimal = stringMember(given, "decimal", format.decimal);
    format.group = stringMember(given, "group", format.group);
    format.negative = stringMember(given, "negative", format.negative);
    if (given.contains("groupSize")) {
        const json& size = given.at("groupSize");
        if (!size.is_number_integer() || size.get<long long>() < 0 ||
            size.get<long long>() > 1000) {
            throw std::invalid_argument("\"groupSize\" must be a whole number from 0 to 1000");
        }
        format.groupSize = size.get<int>();
    }
    if (format.decimal.empty()) {
        throw std::invalid_argument("\"decimal\" must not be empty");
    }
    return format;
}

json optionsOf(const char* text) {
    const json options = json::parse(text == nullptr || *text == '\0' ? "{}" : text);
    if (!options.is_object()) {
        throw std::invalid_argument("the options must be a JSON object");
    }
    return options;
}

json stopOf(const calc::Stop& stop) {
    return {{"stage", calc::stageName(stop.stage)},
            {"field", stop.field ? json(calc::fieldName(*stop.field)) : json()},
            {"reason", calc::reasonName(stop.reason)}};
}

// The report of a design file as `lanshi --report` makes it: opened under the
// caller's format, calculated as a press on "计算" would, with the working of
// the record the file keeps when that record still holds.
json reportOf(std::string_view bytes, const json& given) {
    const calc::NumberFormat format = formatOf(given);
    const design::ReadResult read = design::open(bytes, format);
    if (!read) {
        return {{"error", read.error}};
    }
    calc::MemorySheet sheet(format);
    // Opened as the window opens it: what the file says was calculated is
    // calculated again, and believed only where that gives its very fields.
    design::Opened opened = design::openInto(*read.design, sheet);
    calc::Trace trace;
    if (opened.last) {
        trace = std::move(*opened.last);
    } else {
        design::Pressed pressed = design::calculate(sheet, opened.provenance);
        if (!pressed.outcome.completed()) {
            return {{"stop", stopOf(*pressed.outcome.stop)}};
        }
        trace = std::move(pressed.trace);
    }

    report::Options options;
    options.date = stringMember(given, "date", "");
    options.program = stringMember(given, "program", kProgramName);
    options.version = stringMember(given, "version", lanshi::kVersion);
    options.designFile = stringMember(given, "designFile", "");
    const design::Project project = design::projectOf(*read.design);
    options.project = {project.name, project.part, project.client};
    if (given.contains("batchLitres")) {
        const json& litres = given.at("batchLitres");
        if (!litres.is_number() || !(litres.get<double>() > 0.0)) {
            throw std::invalid_argument("\"batchLitres\" must be a number above zero");
        }
        options.batchLitres = litres.get<double>();
    }
    const std::optional<report::Document> document = report::buildReport(sheet, trace, options);
    if (!document) {
        return {{"error", "没有选择计算砂石用量的方法，没有配合比可写"}};
    }
    return {{"text", report::toText(*document)}, {"html", report::toHtml(*document)}};
}

} // namespace

extern "C" {

// One replay case (tools/replay.h) in, its line of results out.
EMSCRIPTEN_KEEPALIVE const char* lanshi_replay(const char* line) {
    try {
        g_result = replay::replayLine(line == nullptr ? "" : line);
        return g_result.c_str();
    } catch (const std::exception& e) {
        return failure(e.what());
    }
}

// A design file's bytes, opened under the format `optionsJson` names
// ({"format": {...}}): {"text": the file as this program writes that design}
// or {"error": why it cannot be opened, in Chinese}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_open_design(const char* bytes, std::size_t size,
                                                    const char* optionsJson) {
    try {
        const calc::NumberFormat format = formatOf(optionsOf(optionsJson));
        const design::ReadResult read = design::open(std::string_view(bytes, size), format);
        if (!read) {
            return failure(read.error);
        }
        return answer({{"text", design::serialize(*read.design)}});
    } catch (const std::exception& e) {
        return failure(e.what());
    }
}

// A design as JSON text, taken as it stands (its texts verbatim, in the format
// it names): {"text": the bytes of its design file} or {"error": why not}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_save_design(const char* designJson) {
    try {
        const design::ReadResult read =
            design::openAsSaved(designJson == nullptr ? std::string_view() : designJson);
        if (!read) {
            return failure(read.error);
        }
        return answer({{"text", design::serialize(*read.design)}});
    } catch (const std::exception& e) {
        return failure(e.what());
    }
}

// The report (计算书) of a design file's bytes, under the options of
// `optionsJson` ({"format", "date", "program", "version", "designFile",
// "batchLitres"}): {"text", "html"}, or {"stop": {"stage", "field", "reason"}}
// when the calculation stops, or {"error": why not}.
EMSCRIPTEN_KEEPALIVE const char* lanshi_report(const char* bytes, std::size_t size,
                                               const char* optionsJson) {
    try {
        return answer(reportOf(std::string_view(bytes, size), optionsOf(optionsJson)));
    } catch (const std::exception& e) {
        return failure(e.what());
    }
}

} // extern "C"
