#include "session/classicwindow.h"

#include "calc/conversions.h"
#include "calc/decimal.h"
#include "calc/fields.h"
#include "calc/stages.h"
#include "design/designfile.h"
#include "design/project.h"
#include "session/findings.h"
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
        m_findings.clear();
        break;
    case Event::help:
        effects.boxes.push_back({Icon::none, std::string(kHelpTitle), std::string(kHelpText)});
        break;
    case Event::exit:
        // Unsaved work is never dropped without a question.
        effects.exit = true;
        effects.leaving = mayClose();
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

void ClassicWindow::press() {
    design::Pressed pressed = design::calculate(m_sheet, m_provenance);
    m_lastStop = pressed.outcome.stop;
    m_last.reset();
    m_lastNumber = 0;
    m_findings.clear();
    if (pressed.outcome.completed()) {
        m_findings = classicFindings(m_sheet, pressed.trace);
        m_last = report::LastCalculation{std::move(pressed.trace), report::SheetState::of(m_sheet)};
        m_lastNumber = pressed.calculation;
    }
}

Effects ClassicWindow::recalculateAll() {
    for (const calc::TextField field : {calc::Text2, calc::Text8, calc::Text10, calc::Text4}) {
        if (m_provenance.source(field, m_sheet) != 0) {
            m_sheet.setText(field, "");
        }
    }
    return calculate();
}

Effects ClassicWindow::calculate() {
    press();
    if (!m_lastStop) {
        return {};
    }
    const calc::Stop& stop = *m_lastStop;
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

bool ClassicWindow::modified() const {
    return !design::sameSheet(design::capture(m_sheet), m_saved) || m_details != m_savedDetails ||
           m_notice != m_savedNotice;
}

std::string ClassicWindow::caption() const {
    if (m_file.empty()) {
        return std::string(kWindowCaption);
    }
    return std::string(kWindowCaption) + " - " + fileName();
}

Box ClassicWindow::fileFailure(FileAction action, FileName file, std::string_view reason) {
    const char* what = action == FileAction::open ? "无法打开设计文件" : "无法保存设计文件";
    return warning(what + ("“" + std::string(file.shown) + "”：\n") + std::string(reason));
}

OpenResult ClassicWindow::open(std::string_view bytes, FileName file, bool elsewhere) {
    // A design of another kind does not fit this sheet: its own window opens it.
    OpenResult result;
    if (elsewhere && documentKind(bytes) != DocumentKind::classic) {
        result.elsewhere = true;
        return result;
    }
    const Opening opening = openBytes(bytes, file);
    result.opened = opening.opened;
    if (!opening.opened) {
        result.boxes.push_back(fileFailure(FileAction::open, file, opening.error));
    }
    return result;
}

Opening ClassicWindow::openBytes(std::string_view bytes, FileName file) {
    const design::ReadResult read = design::open(bytes, m_sheet.numberFormat());
    if (!read) {
        return {.opened = false, .error = read.error};
    }
    // The design goes on the sheet, and what its file says was calculated is
    // calculated again: only what that confirms is kept.
    const design::Opened opened = design::openInto(*read.design, m_sheet);
    m_file = std::string(file.path);
    m_saved = design::capture(m_sheet);
    m_lastStop.reset();
    m_findings.clear();
    m_provenance = opened.provenance;
    m_last.reset();
    m_lastNumber = 0;
    // The calculation the design was saved after, when it gives the very
    // fields of the file: its report can be made at once.
    if (opened.last) {
        m_last = report::LastCalculation{*opened.last, report::SheetState::of(m_sheet)};
        m_lastNumber = opened.lastCalculation;
    }
    m_details = {.litres = design::batchLitresOf(*read.design),
                 .project = design::projectOf(*read.design)};
    m_savedDetails = m_details;
    m_notice = {};
    m_noticeRead = true;
    if (const auto kept = read.design->extras.find(std::string(notice::kNoticeKey));
        kept != read.design->extras.end()) {
        const notice::DetailsReading notice = notice::readDetails(kept->second);
        m_noticeRead = notice.details.has_value();
        m_notice = notice.details.value_or(notice::Details{});
    }
    m_savedNotice = m_notice;
    return {.opened = true, .error = {}, .setAside = opened.setAside};
}

Saving ClassicWindow::saveBytes() const {
    design::Design saving = design::capture(m_sheet);
    const bool holds = m_last && m_last->stillHolds(m_sheet);
    design::keepCalculation(saving, m_provenance, m_sheet, holds ? m_lastNumber : 0);
    design::keepProject(saving, m_details.project);
    design::keepBatchLitres(saving, m_details.litres);
    if (!m_notice.empty()) {
        saving.extras[std::string(notice::kNoticeKey)] =
            nlohmann::json(notice::detailsBlock(m_notice));
    } else if (m_noticeRead) {
        saving.extras.erase(std::string(notice::kNoticeKey));
    }
    try {
        return {.bytes = design::serialize(saving), .error = {}};
    } catch (const std::invalid_argument& e) {
        return {.bytes = std::nullopt, .error = e.what()};
    }
}

void ClassicWindow::savedAs(const Saving& saving, FileName file) {
    m_file = std::string(file.path);
    // The sheet the bytes hold, as they hold it.
    if (saving.bytes) {
        if (const design::ReadResult read = design::openAsSaved(*saving.bytes)) {
            m_saved = *read.design;
        }
    }
    m_savedDetails = m_details;
    m_savedNotice = m_notice;
}

std::optional<report::NoReport> ClassicWindow::reportRefusal() const {
    if (!m_last) {
        return m_lastStop ? report::NoReport::Stopped : report::NoReport::NoCalculation;
    }
    if (!m_last->stillHolds(m_sheet)) {
        return report::NoReport::Changed;
    }
    return std::nullopt;
}

Reporting ClassicWindow::report(const ReportStamp& stamp) const {
    std::optional<report::NoReport> refusal = reportRefusal();
    if (!refusal) {
        report::Options options;
        options.date = stamp.date;
        options.program = stamp.program;
        options.version = stamp.version;
        options.designFile = fileName();
        options.batchLitres = m_details.litres;
        options.project = m_details.project;
        std::optional<report::Document> document =
            report::buildReport(m_sheet, m_last->trace, options);
        if (document) {
            return {.document = std::move(document), .refusal = {}};
        }
        refusal = report::NoReport::NoCalculation;
    }
    // After a stop the command line and the page say where it stopped.
    if (m_lastStop && !m_last) {
        return {.document = std::nullopt, .refusal = stopReport(*m_lastStop, m_sheet)};
    }
    return {.document = std::nullopt, .refusal = report::refusalText(*refusal)};
}

ReportResult ClassicWindow::reportOrBox(std::string_view date) const {
    ReportResult result;
    if (const std::optional<report::NoReport> refusal = reportRefusal()) {
        result.boxes.push_back(
            {Icon::information, std::string(kApplicationName), report::refusalText(*refusal)});
        return result;
    }
    Reporting made = report({.date = std::string(date),
                             .program = std::string(kApplicationName),
                             .version = std::string(kApplicationVersion)});
    if (!made) {
        result.boxes.push_back({Icon::information, std::string(kApplicationName),
                                report::refusalText(report::NoReport::NoCalculation)});
        return result;
    }
    result.document = std::move(made.document);
    return result;
}

std::string ClassicWindow::calculateForReport() {
    // What the file says was calculated, when it still holds, is the report;
    // otherwise a press on 计算 gives one.
    if (m_last && m_last->stillHolds(m_sheet)) {
        return {};
    }
    press();
    return m_lastStop ? stopReport(*m_lastStop, m_sheet) : std::string();
}

Document::NoticeBasis ClassicWindow::noticeBasis() const {
    if (reportRefusal()) {
        return {std::nullopt, "没有可用的计算结果：请先按“计算”，算完后再开具配合比通知单。"};
    }
    const calc::NumberFormat& format = m_sheet.numberFormat();
    const auto number = [&format](std::string_view text) -> std::optional<double> {
        if (calc::parseStrict(text, format).status != calc::StrictStatus::Ok) {
            return std::nullopt;
        }
        return calc::readLenient(text, format);
    };
    // The dry masses: those the method wrote, before any moisture correction.
    std::array<std::string, 4> dry = {m_sheet.text(calc::Text11), m_sheet.text(calc::Text12),
                                      m_sheet.text(calc::Text13), m_sheet.text(calc::Text14)};
    for (const calc::StageTrace& stage : m_last->trace.stages) {
        if (stage.stage == calc::Stage::tjfjs || stage.stage == calc::Stage::zhiliangfa) {
            const calc::TextField fields[] = {calc::Text11, calc::Text12, calc::Text13,
                                              calc::Text14};
            for (std::size_t i = 0; i < dry.size(); ++i) {
                if (const calc::TraceWrite* w = stage.written(fields[i])) {
                    dry[i] = w->text;
                }
            }
        }
    }
    notice::Basis basis;
    basis.kind = notice::Basis::Kind::Calculated;
    basis.standard = "JGJ 55-2000《普通混凝土配合比设计规程》（水灰比法）";
    basis.waterCement = true;
    const std::optional<double> cement = number(dry[0]);
    const std::optional<double> sand = number(dry[1]);
    const std::optional<double> stone = number(dry[2]);
    const std::optional<double> water = number(dry[3]);
    const std::optional<double> wc = number(m_sheet.text(calc::Text8));
    if (!cement || !sand || !stone || !water || !wc) {
        return {std::nullopt, "配合比中有不是数的用量，不能开具配合比通知单。"};
    }
    basis.mix = {
        .binder = *cement, .cement = *cement, .water = *water, .sand = *sand, .stone = *stone};
    basis.waterBinder = *wc;
    if (const auto beta = number(m_sheet.text(calc::Text15))) {
        basis.sandRatio = (calc::decimal::Exact::of(*beta) * calc::decimal::Exact(100)).toDouble();
    }
    basis.slump = number(m_sheet.text(calc::Text28));
    basis.strengthClass = "C" + std::string(m_sheet.text(calc::Text1));
    return {std::move(basis), {}};
}

Saving ClassicWindow::resultJson() const {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        fields[std::string(calc::fieldName(field))] = m_sheet.text(field);
    }
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    out["fields"] = std::move(fields);
    if (m_lastStop && !m_last) {
        const calc::Stop& stop = *m_lastStop;
        out["stop"] = {{"stage", calc::stageName(stop.stage)},
                       {"field", stop.field ? nlohmann::ordered_json(calc::fieldName(*stop.field))
                                            : nlohmann::ordered_json()},
                       {"reason", calc::reasonName(stop.reason)},
                       {"text", stopReport(stop, m_sheet)}};
    } else {
        out["stop"] = nullptr;
    }
    return {.bytes = out.dump(2, ' ', false) + "\n", .error = {}};
}

} // namespace session
