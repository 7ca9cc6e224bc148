#include "tools/replay.h"

#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "design/designfile.h"

#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace replay {
namespace {

// Ordered, so that the output lists Text1 to Text33 in their order.
using json = nlohmann::ordered_json;

// What is wrong with a case, as the wrong format of one is
// (design::formatOption).
class CaseError : public std::invalid_argument {
    using std::invalid_argument::invalid_argument;
};

// Writes the texts the case gives under "fields" into the sheet.
void setFields(calc::MemorySheet& sheet, const json& input) {
    if (!input.contains("fields")) {
        return;
    }
    const json& fields = input.at("fields");
    if (!fields.is_object()) {
        throw CaseError("\"fields\" must be an object");
    }
    for (const auto& [name, text] : fields.items()) {
        const std::optional<calc::TextField> field = calc::textFieldByName(name);
        if (!field) {
            throw CaseError("unknown field \"" + name + "\" (Text1 to Text33)");
        }
        if (!text.is_string()) {
            throw CaseError("the text of " + name + " must be a string");
        }
        sheet.setText(*field, text.get<std::string>());
    }
}

json runCase(const json& input, const std::string& line) {
    if (!input.is_object()) {
        throw CaseError("a case must be a JSON object");
    }
    // A design file is a case as it stands: read by the design reader, under
    // the format it was saved with, so the calculation sees what the window
    // would show after opening it there.
    const bool isDesign = input.contains(design::kVersionKey);
    std::optional<design::Design> opened;
    if (isDesign) {
        design::ReadResult read = design::openAsSaved(line);
        if (!read) {
            throw CaseError(read.error);
        }
        opened = std::move(read.design);
    }
    // A case names only what differs from the usual format; what it names is
    // read by the design file's own rule.
    calc::MemorySheet sheet(opened ? opened->format : design::formatOption(input));
    calc::qk(sheet);

    if (opened) {
        design::apply(*opened, sheet);
    } else {
        setFields(sheet, input);
    }
    for (const calc::Option option : {calc::Option::option1, calc::Option::option2}) {
        const std::string key(calc::optionName(option));
        if (!opened && input.contains(key)) {
            if (!input.at(key).is_boolean()) {
                throw CaseError("\"" + key + "\" must be true or false");
            }
            sheet.setOptionRaw(option, input.at(key).get<bool>());
        }
    }

    // Pressing "计算" more than once on the same sheet; the last press is reported.
    int presses = 1;
    if (input.contains("presses")) {
        const json& given = input.at("presses");
        if (!given.is_number_integer() || given.get<long long>() < 1 ||
            given.get<long long>() > 100) {
            throw CaseError("\"presses\" must be a whole number from 1 to 100");
        }
        presses = given.get<int>();
    }
    calc::Outcome outcome;
    for (int press = 0; press < presses; ++press) {
        outcome = calc::calculate(sheet);
    }

    json output;
    if (input.contains("id")) {
        output["id"] = input.at("id");
    }
    json fields = json::object();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        fields[calc::fieldName(field)] = sheet.text(field);
    }
    output["fields"] = std::move(fields);
    output["notices"] = sheet.notices();
    if (outcome.stop) {
        const calc::Stop& stop = *outcome.stop;
        output["stop"] = {{"stage", calc::stageName(stop.stage)},
                          {"field", stop.field ? json(calc::fieldName(*stop.field)) : json()},
                          {"reason", calc::reasonName(stop.reason)}};
    } else {
        output["stop"] = nullptr;
    }
    return output;
}

} // namespace

std::string replayLine(const std::string& line) {
    json result;
    try {
        result = runCase(json::parse(line), line);
    } catch (const json::exception& e) {
        result = {{"error", e.what()}};
    } catch (const std::invalid_argument& e) {
        result = {{"error", e.what()}};
    }
    // Texts came in as valid UTF-8 and the calculation writes only its own
    // symbols, but a replacement character is better than no line at all.
    return result.dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace replay
