// classicevents: the classic window's events on an in-memory sheet, through
// the same session::ClassicWindow the desktop window drives, for holding the
// web page's window (the WebAssembly module) against the desktop's.
//
// One JSON object per line on standard input:
//   {"format": {...}, "fields": {"Text5": "abc", ...}, "option2": true, "碎石": true,
//    "events": ["Command1", ...]}
// The window is made under the format (the usual one without it), loaded,
// given the texts as typed by hand, the option buttons given as true
// selected and the check boxes set as given, then sent the events. One line out per
// line in:
//   {"events": [{"boxes": [{"icon", "title", "text"}], "focus", "exit",
//                "openUrl"}, ...], "fields": {"Text1": ..., ...}}
// the notices of a calculation as boxes before the event's own, as the
// desktop shows them; or {"error": "..."} for a line that is no such case.
#include "calc/memorysheet.h"
#include "design/designfile.h"
#include "session/classicwindow.h"

#include <cstddef>
#include <exception>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include <nlohmann/json.hpp>

namespace {

using json = nlohmann::ordered_json;

constexpr const char* kIcons[] = {"none", "information", "warning", "question"};

json boxOf(const session::Box& box) {
    return {{"icon", kIcons[static_cast<int>(box.icon)]}, {"title", box.title}, {"text", box.text}};
}

// The texts, options and checks of the case, put on the loaded window as the
// user would.
void enter(const json& input, calc::MemorySheet& sheet, session::ClassicWindow& window) {
    const json fields = input.value("fields", json::object());
    for (const auto& [name, text] : fields.items()) {
        const std::optional<calc::TextField> field = calc::textFieldByName(name);
        if (!field || !text.is_string()) {
            throw std::invalid_argument("no text field \"" + name + "\" with a text");
        }
        sheet.setText(*field, text.get<std::string>());
        window.edited(*field);
    }
    for (const calc::Option option :
         {calc::Option::option1, calc::Option::option2, calc::Option::细砂, calc::Option::粗砂}) {
        if (input.value(std::string(calc::optionName(option)), false)) {
            sheet.select(option);
        }
    }
    for (const calc::Check check : {calc::Check::卵石, calc::Check::碎石}) {
        const std::string name(calc::checkName(check));
        if (input.contains(name)) {
            sheet.setChecked(check, input.at(name).get<bool>());
        }
    }
}

json effectsOf(calc::MemorySheet& sheet, session::ClassicWindow& window, const json& name) {
    const std::optional<session::Event> event =
        session::eventByName(name.is_string() ? name.get<std::string>() : "");
    if (!event) {
        throw std::invalid_argument("no event " + name.dump());
    }
    const std::size_t before = sheet.notices().size();
    const session::Effects effects = window.event(*event);
    json boxes = json::array();
    for (std::size_t i = before; i < sheet.notices().size(); ++i) {
        boxes.push_back(boxOf(session::ClassicWindow::noticeBox(sheet.notices()[i])));
    }
    for (const session::Box& box : effects.boxes) {
        boxes.push_back(boxOf(box));
    }
    return {{"boxes", std::move(boxes)},
            {"focus", effects.focus ? json(*effects.focus) : json()},
            {"exit", effects.exit},
            {"openUrl", effects.openUrl ? json(*effects.openUrl) : json()}};
}

json run(const json& input) {
    calc::MemorySheet sheet(design::formatOption(input));
    session::ClassicWindow window(sheet);
    window.event(session::Event::load);
    enter(input, sheet, window);
    json events = json::array();
    for (const json& name : input.value("events", json::array())) {
        events.push_back(effectsOf(sheet, window, name));
    }
    json fields = json::object();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        fields[calc::fieldName(field)] = sheet.text(field);
    }
    return {{"events", std::move(events)}, {"fields", std::move(fields)}};
}

} // namespace

int main() {
    try {
        std::string line;
        while (std::getline(std::cin, line)) {
            json output;
            try {
                output = run(json::parse(line));
            } catch (const std::exception& e) {
                output = {{"error", e.what()}};
            }
            std::cout << output.dump(-1, ' ', false, json::error_handler_t::replace) << '\n';
        }
    } catch (const std::exception& e) {
        std::cerr << "classicevents: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
