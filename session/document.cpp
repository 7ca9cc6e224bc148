#include "session/document.h"

#include "calc/memorysheet.h"
#include "design/designfile.h"
#include "gbt50107/evaluationfile.h"
#include "jgj55/designfile.h"
#include "report/noticereport.h"
#include "report/numbers.h"
#include "session/classicwindow.h"
#include "session/evaluationform.h"
#include "session/identity.h"
#include "session/jgj55form.h"

#include <cmath>
#include <utility>
#include <variant>

namespace session {

namespace {

// The classic window over a sheet of its own, for a document that no window
// shows: the sheet is made before the window that refers to it.
class SheetOfItsOwn {
protected:
    explicit SheetOfItsOwn(const calc::NumberFormat& format) : m_own(format) {}
    calc::MemorySheet m_own;
};

class ClassicFile : private SheetOfItsOwn, public ClassicWindow {
public:
    explicit ClassicFile(const calc::NumberFormat& format)
        : SheetOfItsOwn(format), ClassicWindow(m_own) {}
};

} // namespace

DocumentKind documentKind(std::string_view bytes) {
    const std::string standard = design::standardOf(bytes);
    if (standard.empty()) {
        return DocumentKind::classic;
    }
    return standard == gbt50107::kStandardName ? DocumentKind::gbt50107 : DocumentKind::jgj55;
}

std::string batchLitresProblem(double litres) {
    if (std::isfinite(litres) && litres >= kMinBatchLitres && litres <= kMaxBatchLitres) {
        return {};
    }
    const calc::NumberFormat usual;
    return "试拌体积应在 " + report::figure(kMinBatchLitres, usual) + " L 到 " +
           report::figure(kMaxBatchLitres, usual) + " L 之间。";
}

std::string Document::fileName() const {
    const std::string& path = file();
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<Box> Document::mayReplace() const {
    if (!modified()) {
        return std::nullopt;
    }
    std::string text =
        file().empty() ? std::string("当前设计已修改，尚未保存。\n打开另一个设计之前，是否保存？")
                       : "设计“" + fileName() + "”已修改。\n打开另一个设计之前，是否保存修改？";
    return Box{.icon = Icon::question,
               .title = std::string(kApplicationName),
               .text = std::move(text),
               .buttons = Buttons::saveDiscardCancel};
}

std::optional<Box> Document::mayClose() const {
    if (!modified()) {
        return std::nullopt;
    }
    std::string text = file().empty()
                           ? std::string("当前设计已修改，尚未保存。\n关闭之前，是否保存？")
                           : "设计“" + fileName() + "”已修改。\n关闭之前，是否保存修改？";
    return Box{.icon = Icon::question,
               .title = std::string(kApplicationName),
               .text = std::move(text),
               .buttons = Buttons::saveDiscardCancel};
}

namespace {

// The notice computed, or why not, in one line.
std::variant<notice::Notice, std::string> noticeOf(const notice::Details& details,
                                                   const std::optional<notice::Basis>& basis,
                                                   const std::string& refusal) {
    if (!basis) {
        return refusal;
    }
    notice::Outcome out = notice::compute(*basis, details);
    if (!out) {
        return out.refusal.message;
    }
    return std::move(*out.notice);
}

} // namespace

Reporting Document::notice(const ReportStamp& stamp) const {
    const NoticeBasis given = noticeBasis();
    auto made = noticeOf(m_notice, given.basis, given.refusal);
    if (auto* why = std::get_if<std::string>(&made)) {
        return {.document = std::nullopt, .refusal = *why};
    }
    report::Options options;
    options.date = stamp.date;
    options.program = stamp.program;
    options.version = stamp.version;
    options.designFile = fileName();
    options.project = reportDetails().project;
    return {.document = report::buildNotice(std::get<notice::Notice>(made), m_notice,
                                            noticeFormat(), options),
            .refusal = {}};
}

Saving Document::noticeJson() const {
    const NoticeBasis given = noticeBasis();
    auto made = noticeOf(m_notice, given.basis, given.refusal);
    if (auto* why = std::get_if<std::string>(&made)) {
        return {.bytes = std::nullopt, .error = *why};
    }
    return {.bytes = notice::resultJson(std::get<notice::Notice>(made)), .error = {}};
}

OpenedFile openFile(std::string_view bytes, FileName file, const calc::NumberFormat& format) {
    std::unique_ptr<Document> document;
    switch (documentKind(bytes)) {
    case DocumentKind::classic:
        document = std::make_unique<ClassicFile>(format);
        break;
    case DocumentKind::jgj55:
        document = std::make_unique<Jgj55Form>(format);
        break;
    case DocumentKind::gbt50107:
        document = std::make_unique<EvaluationForm>(format);
        break;
    }
    OpenedFile opened;
    opened.opening = document->openBytes(bytes, file);
    if (opened.opening.opened) {
        opened.document = std::move(document);
    }
    return opened;
}

} // namespace session
