// A design document of any kind behind one interface: from a design file's
// bytes to the figures, the report, the result file and back to bytes. The
// classic window (session/classicwindow.h) and the JGJ 55-2011 form
// (session/jgj55form.h) are documents; the desktop's windows, `lanshi FILE`,
// `lanshi --report` and the page call this layer and decide nothing of it
// themselves: which kind a file is, whether a change would be lost, what a
// report is written for.
//
//     const design::FileBytes read = design::readBytes(path);     // the one careful reader
//     session::OpenedFile opened = session::openFile(*read.bytes, {path, path}, format);
//     if (!opened) { ... opened.error ... }
//     session::Document& document = *opened.document;
//     if (const std::string stop = document.calculateForReport(); !stop.empty()) { ... }
//     const session::Reporting made = document.report(stamp);
//
// Standard C++: files are bytes here; dates and the program's name come from
// the front end.
#pragma once

#include "calc/numberformat.h"
#include "notice/notice.h"
#include "report/report.h"
#include "session/box.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace session {

enum class DocumentKind { classic, jgj55, gbt50107 };

// The kind of design file the bytes are, decided here once for every front
// end: a file that names a design standard belongs to that standard's
// document (GB/T 50107-2010 to the strength evaluation; a standard this
// program does not know goes to the JGJ 55-2011 reader, which says what is
// wrong); any other bytes are the classic design's
// (whose reader says what is wrong with them, if anything).
DocumentKind documentKind(std::string_view bytes);

// The trial batch of a report, in litres: one range for every front end.
inline constexpr double kMinBatchLitres = 0.1;
inline constexpr double kMaxBatchLitres = 10000.0;
// Why `litres` can be no trial batch, in Chinese; empty when it can.
std::string batchLitresProblem(double litres);

// What the report is written for, as the user last gave it in the report's
// dialog. A design file keeps both.
struct ReportDetails {
    double litres = report::kDefaultBatchLitres;
    report::Project project;

    friend bool operator==(const ReportDetails&, const ReportDetails&) = default;
};

// What the front end knows of the moment and of itself.
struct ReportStamp {
    std::string date; // as it should stand in the heading
    std::string program;
    std::string version;
};

// A design file as the front end names it.
struct FileName {
    std::string_view path;  // what file() keeps: the desktop's absolute path, the page's name
    std::string_view shown; // how a message names it: the path as the user typed or chose it
};

// An open: done, or why not (in Chinese, the document as it was).
struct Opening {
    bool opened = false;
    std::string error;
    // The file claimed a calculation that could not be derived again: that
    // was set aside (the classic design).
    bool setAside = false;
};

// The bytes of a file (a design file, a result file), or why there are none.
struct Saving {
    std::optional<std::string> bytes;
    std::string error;
    explicit operator bool() const { return bytes.has_value(); }
};

// A report, or why there is none, in Chinese.
struct Reporting {
    std::optional<report::Document> document;
    std::string refusal;
    explicit operator bool() const { return document.has_value(); }
};

class Document {
public:
    Document() = default;
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    virtual ~Document() = default;

    virtual DocumentKind kind() const = 0;

    // Puts a design file of this kind in the document, which from now on is
    // that file's. Refused bytes leave the document exactly as it was.
    virtual Opening openBytes(std::string_view bytes, FileName file) = 0;
    // The design file's bytes as they stand, or why there are none.
    virtual Saving saveBytes() const = 0;
    // The bytes of the last saveBytes() are now the file `file`.
    virtual void savedAs(const Saving& saving, FileName file) = 0;
    // True exactly when saveBytes() would write other bytes than the file
    // it was opened from or last saved to (a new document: than its start),
    // the report's details included.
    virtual bool modified() const = 0;
    // The design file as the front end named it on open or save; empty for a
    // new document.
    virtual const std::string& file() const = 0;

    virtual const ReportDetails& reportDetails() const = 0;
    // Keeps the details for the next report and the next save: a change is
    // a modification like any other.
    virtual void setReportDetails(const ReportDetails& details) = 0;

    // Brings the figures up to date for a report of a document just opened
    // (the classic design: a press on 计算, unless the file's own last
    // calculation still gives its fields). Empty when there are figures to
    // report, else why not, in Chinese.
    virtual std::string calculateForReport() = 0;
    // The report of the figures as they stand.
    virtual Reporting report(const ReportStamp& stamp) const = 0;
    // The figures as the result file of `lanshi --report … -o R.json`.
    virtual Saving resultJson() const = 0;

    // The mix notice (配合比通知单) of the design: its details as the
    // laboratory last gave them (kept in the design file under "notice";
    // a change is a modification like any other), and the notice itself, or
    // why there is none. A kind without a mix has none.
    const notice::Details& noticeDetails() const { return m_notice; }
    void setNoticeDetails(const notice::Details& details) { m_notice = details; }
    Reporting notice(const ReportStamp& stamp) const;
    // Why the design can have no notice yet (no mix: nothing calculated, a
    // stop, an incomplete design), whatever the details; nothing when it can.
    std::optional<std::string> whyNoNotice() const {
        NoticeBasis given = noticeBasis();
        return given.basis ? std::nullopt : std::optional<std::string>(std::move(given.refusal));
    }
    // `lanshi --notice … -o N.json`: the notice's masses as data.
    Saving noticeJson() const;

    // The name alone: the last component of file().
    std::string fileName() const;
    // Before another design replaces the document: the question to ask
    // (保存 / 不保存 / 取消) when it has unsaved changes, else nothing.
    std::optional<Box> mayReplace() const;
    // The same before its window closes or the program ends.
    std::optional<Box> mayClose() const;

protected:
    // What the design gives its notice: its mix per m³ and requirements; a
    // refusal when there is no mix to give (nothing calculated, a stop).
    struct NoticeBasis {
        std::optional<notice::Basis> basis;
        std::string refusal;
    };
    virtual NoticeBasis noticeBasis() const {
        return {std::nullopt, "这类文件没有配合比，不能开具配合比通知单。"};
    }
    // The number format the notice is written in.
    virtual const calc::NumberFormat& noticeFormat() const = 0;

    notice::Details m_notice;
};

// A document of the bytes' kind, made for the command line or a call of the
// page's module: a sheet of its own for the classic design.
struct OpenedFile {
    std::unique_ptr<Document> document;
    Opening opening;
    explicit operator bool() const { return document != nullptr; }
};
OpenedFile openFile(std::string_view bytes, FileName file, const calc::NumberFormat& format);

} // namespace session
