#include "session/classicwindow.h"

#include "calc/stages.h"
#include "design/designfile.h"
#include "design/project.h"
#include "jgj55/designfile.h"
#include "session/identity.h"
#include "session/layout.h"
#include "session/stopreport.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace session {

namespace {

constexpr std::array<std::pair<std::string_view, Event>, 6> kEvents = {{
    {"load", Event::load},
    {"Command1", Event::calculate},
    {"Command2", Event::help},
    {"Command3", Event::clear},
    {"Command4", Event::exit},
    {"Command5", Event::moreSoftware},
}};

constexpr calc::Option kOptions[] = {calc::Option::option1, calc::Option::option2,
                                     calc::Option::细砂, calc::Option::粗砂};

Box warning(std::string text) {
    return {Icon::warning, std::string(kApplicationName), std::move(text)};
}

// The control the focus starts on: the first tab stop, or when that is an
// option button, the selected member of its frame's group, as Tab into a
// group lands on the selected choice.
std::string firstFocus(const calc::Sheet& sheet) {
    const ControlRow& first = firstTabStop();
    if (first.kind == Kind::OptionButton) {
        for (const calc::Option option : kOptions) {
            const ControlRow* row = findRow(calc::optionName(option));
            if (row != nullptr && row->frame == first.frame && sheet.isSelected(option)) {
                return std::string(row->name);
            }
        }
    }
    return std::string(first.name);
}

} // namespace

std::optional<Event> eventByName(std::string_view name) {
    for (const auto& [eventName, event] : kEvents) {
        if (eventName == name) {
            return event;
        }
    }
    return std::nullopt;
}

ClassicWindow::ClassicWindow(calc::Sheet& sheet)
    : m_sheet(sheet), m_saved(design::startDesign(sheet.numberFormat())) {}

Effects ClassicWindow::event(Event event) {
    Effects effects;
    switch (event) {
    case Event::load:
        return load();
    case Event::calculate:
        return calculate();
    case Event::clear:
        calc::qk(m_sheet);
        break;
    case Event::help:
        effects.boxes.push_back({Icon::none, std::string(kHelpTitle), std::string(kHelpText)});
        break;
    case Event::exit:
        // At once: no question, whatever the sheet holds.
        effects.exit = true;
        break;
    case Event::moreSoftware:
        effects.openUrl = std::string(kMakerPage);
        break;
    }
    return effects;
}

Effects ClassicWindow::load() {
    calc::qk(m_sheet);
    Effects effects;
    effects.focus = firstFocus(m_sheet);
    return effects;
}

Effects ClassicWindow::calculate() {
    design::Pressed pressed = design::calculate(m_sheet, m_provenance);
    m_lastStopped = !pressed.outcome.completed();
    m_last.reset();
    m_lastNumber = 0;
    if (pressed.outcome.completed()) {
        m_last = report::LastCalculation{std::move(pressed.trace), report::SheetState::of(m_sheet)};
        m_lastNumber = pressed.calculation;
        return {};
    }
    const calc::Stop& stop = *pressed.outcome.stop;
    Effects effects;
    effects.boxes.push_back(warning(stopReport(stop, m_sheet)));
    // Put the user where the mending is: the field concerned, its text
    // selected so that typing replaces it.
    if (stop.concerned) {
        effects.focus = calc::fieldName(*stop.concerned);
    }
    return effects;
}

Box ClassicWindow::browserFailure(std::string_view url) {
    return warning("无法启动网页浏览器打开 " + std::string(url) + " 。");
}

Box ClassicWindow::noticeBox(std::string_view text) {
    return {Icon::none, std::string(kApplicationName), std::string(text)};
}

bool ClassicWindow::isModified() const {
    return !design::sameSheet(design::capture(m_sheet), m_saved);
}

std::string ClassicWindow::fileName() const {
    const std::size_t slash = m_file.find_last_of('/');
    return slash == std::string::npos ? m_file : m_file.substr(slash + 1);
}

std::string ClassicWindow::caption() const {
    if (m_file.empty()) {
        return std::string(kWindowCaption);
    }
    return std::string(kWindowCaption) + " - " + fileName();
}

std::optional<Box> ClassicWindow::mayReplace() const {
    if (!isModified()) {
        return std::nullopt;
    }
    std::string text =
        m_file.empty() ? std::string("当前设计已修改，尚未保存。\n打开另一个设计之前，是否保存？")
                       : "设计“" + fileName() + "”已修改。\n打开另一个设计之前，是否保存修改？";
    return Box{.icon = Icon::question,
               .title = std::string(kApplicationName),
               .text = std::move(text),
               .buttons = Buttons::saveDiscardCancel};
}

Box ClassicWindow::fileFailure(FileAction action, FileName file, std::string_view reason) {
    const char* what = action == FileAction::open ? "无法打开设计文件" : "无法保存设计文件";
    return warning(what + ("“" + std::string(file.shown) + "”：\n") + std::string(reason));
}

bool ClassicWindow::belongsElsewhere(std::string_view bytes) {
    return jgj55::namesAStandard(bytes);
}

OpenResult ClassicWindow::open(std::string_view bytes, FileName file, bool elsewhere) {
    // A JGJ 55-2011 design does not fit this sheet: its own window opens it.
    if (elsewhere && belongsElsewhere(bytes)) {
        OpenResult left;
        left.elsewhere = true;
        return left;
    }
    return open(design::open(bytes, m_sheet.numberFormat()), file);
}

OpenResult ClassicWindow::open(const design::ReadResult& read, FileName file) {
    if (!read) {
        OpenResult refused;
        refused.boxes.push_back(fileFailure(FileAction::open, file, read.error));
        return refused;
    }
    // The design goes on the sheet, and what its file says was calculated is
    // calculated again: only what that confirms is kept.
    const design::Opened opened = design::openInto(*read.design, m_sheet);
    m_file = std::string(file.path);
    m_saved = design::capture(m_sheet);
    m_lastStopped = false;
    m_provenance = opened.provenance;
    m_last.reset();
    m_lastNumber = 0;
    // The calculation the design was saved after, when it gives the very
    // fields of the file: its report can be made at once.
    if (opened.last) {
        m_last = report::LastCalculation{*opened.last, report::SheetState::of(m_sheet)};
        m_lastNumber = opened.lastCalculation;
    }
    const design::Project project = design::projectOf(*read.design);
    m_project = {project.name, project.part, project.client};
    OpenResult done;
    done.opened = true;
    return done;
}

SaveResult ClassicWindow::save(std::string_view shown) const {
    SaveResult saving;
    saving.design = design::capture(m_sheet);
    const bool holds = m_last && m_last->stillHolds(m_sheet);
    design::keepCalculation(saving.design, m_provenance, m_sheet, holds ? m_lastNumber : 0);
    design::keepProject(saving.design, {m_project.name, m_project.part, m_project.client});
    try {
        saving.bytes = design::serialize(saving.design);
    } catch (const std::invalid_argument& e) {
        saving.boxes.push_back(
            fileFailure(FileAction::save, {.path = shown, .shown = shown}, e.what()));
    }
    return saving;
}

void ClassicWindow::saved(const SaveResult& saving, std::string_view file) {
    m_file = std::string(file);
    m_saved = saving.design;
}

ReportResult ClassicWindow::report(std::string_view date) const {
    std::optional<report::Refusal> refusal;
    if (!m_last) {
        refusal = m_lastStopped ? report::Refusal::Stopped : report::Refusal::NoCalculation;
    } else if (!m_last->stillHolds(m_sheet)) {
        refusal = report::Refusal::Changed;
    }
    ReportResult result;
    if (!refusal) {
        report::Options options;
        options.date = std::string(date);
        options.program = std::string(kApplicationName);
        options.version = std::string(kApplicationVersion);
        options.designFile = fileName();
        options.batchLitres = m_batchLitres;
        options.project = m_project;
        result.document = report::buildReport(m_sheet, m_last->trace, options);
        if (!result.document) {
            refusal = report::Refusal::NoCalculation;
        }
    }
    if (refusal) {
        result.boxes.push_back(
            {Icon::information, std::string(kApplicationName), report::refusalText(*refusal)});
    }
    return result;
}

} // namespace session
