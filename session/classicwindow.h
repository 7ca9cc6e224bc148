// What the classic window does, apart from drawing itself: its six events
// (the load and the five buttons), a field edited by hand, the design file
// it was opened from or saved to and whether the sheet has changed since,
// and the report of its last calculation. Both front ends drive it: the
// desktop (ui/, over its controls) and the web page (web/, over an
// in-memory sheet).
//
//     session::ClassicWindow window(sheet);
//     const session::Effects shown = window.event(session::Event::calculate);
//     for (const session::Box& box : shown.boxes) { ... show it ... }
//     if (shown.focus) { ... focus that field, its text selected ... }
//
// Nothing here shows, asks, reads or writes anything itself: each call hands
// back what the front end is to do, in order (the boxes, then the focus, the
// end of the program, a page to open). The calculation's own notice (the
// cement minimum) goes, as always, through the sheet's showNotice while the
// calculation runs, before the event's boxes.
#pragma once

#include "calc/sheet.h"
#include "design/design.h"
#include "design/designfile.h"
#include "design/provenance.h"
#include "report/record.h"
#include "report/report.h"
#include "session/box.h"
#include "session/document.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace session {

// The six events of the classic window: its load and a press on each of
// Command1 .. Command5.
enum class Event { load, calculate, help, clear, exit, moreSoftware };

// The event of this name: "load", "Command1" .. "Command5"; nothing for any
// other name.
std::optional<Event> eventByName(std::string_view name);

// What the front end does after an event, in this order: shows each box and
// waits until it is closed, gives the focus to the control of this name
// with its text selected, ends the program, opens the page in a web browser
// (and, when that fails, shows browserFailure()). Before it ends the program
// with unsaved changes, it asks `leaving` (保存 / 不保存 / 取消): 保存 saves
// first and ends only when saved, 取消 (or closing the box) ends nothing.
struct Effects {
    std::vector<Box> boxes;
    std::optional<std::string> focus;
    bool exit = false;
    std::optional<Box> leaving;
    std::optional<std::string> openUrl;

    friend bool operator==(const Effects&, const Effects&) = default;
};

// What a box says could not be done with a design file.
enum class FileAction { open, save };

// A design file the front end has read, offered to the window.
struct OpenResult {
    bool opened = false;
    // The box that says why not: the file's name as the front end showed it
    // and the reader's reason, in Chinese.
    std::vector<Box> boxes;
    // The file is a design of another kind (JGJ 55-2011): it belongs to that
    // window, and this sheet was left as it was.
    bool elsewhere = false;
};

// The report of the last calculation, or the box that says why there is none.
struct ReportResult {
    std::optional<report::Document> document;
    std::vector<Box> boxes;
};

class ClassicWindow : public Document {
public:
    // The window over `sheet`, which must outlive it. Until a design file is
    // opened the sheet is compared with its state after the load
    // (design::startDesign), which is what a new window shows.
    explicit ClassicWindow(calc::Sheet& sheet);

    calc::Sheet& sheet() { return m_sheet; }
    const calc::Sheet& sheet() const { return m_sheet; }

    // Runs the event and returns what the front end is to do:
    //   load     the reset; the focus to the first tab stop (for an option
    //            button, the selected member of its group)
    //   calculate (计算) the calculation with its provenance, kept for the
    //            report; when it stops, the stop report in a warning box and
    //            the focus to the field concerned, if any
    //   help     (帮助) the help box
    //   clear    (清零) the reset
    //   exit     (退出) the end; first the question when the design has
    //            unsaved changes
    //   moreSoftware (更多软件) the maker's page to open
    Effects event(Event event);

    // The user changed the field by hand: its text is the user's now,
    // whatever a calculation wrote there before.
    void edited(calc::TextField field) { m_provenance.edited(field); }

    // 全部重新计算: empties every base value (配制强度, 水灰比, 灰水比,
    // 水泥用量) that a calculation wrote and the user has not typed since,
    // then calculates, as 计算 does: values the user typed stay given.
    Effects recalculateAll();

    // What the window's foot says after the last 计算 that ran to its end
    // (session/findings.h); nothing after a stop, a reset or an open.
    const std::vector<std::string>& findings() const { return m_findings; }

    // The box to show when the web browser could not be started on `url`.
    static Box browserFailure(std::string_view url);
    // The box of a notice the calculation shows through the sheet (the
    // cement minimum): no icon, the application's title.
    static Box noticeBox(std::string_view text);

    // The caption: the classic one, and the design file's name after it
    // while one is open. Without the mark of unsaved changes, which each
    // front end draws its own way (modified()).
    std::string caption() const;

    // Opens a design file's bytes onto the sheet under the sheet's format.
    // A file of another kind is left to its own window when `elsewhere` is
    // set and refused with the reader's reason otherwise. On failure the
    // sheet stays exactly as it was.
    OpenResult open(std::string_view bytes, FileName file, bool elsewhere = true);
    // The box when a file could not be opened or saved: what failed, the
    // file as the user knows it (file.shown), and the reason.
    static Box fileFailure(FileAction action, FileName file, std::string_view reason);

    // The report of the last calculation as it stands, dated `date`, or the
    // box that says why there is none: nothing was calculated, the last
    // calculation stopped, or the sheet has changed since.
    ReportResult reportOrBox(std::string_view date) const;

    const std::optional<report::LastCalculation>& last() const { return m_last; }
    const design::Provenance& provenance() const { return m_provenance; }

    // The document: the design file of the sheet, with what lets the next
    // open derive the last calculation again and the report's details.
    DocumentKind kind() const override { return DocumentKind::classic; }
    Opening openBytes(std::string_view bytes, FileName file) override;
    Saving saveBytes() const override;
    void savedAs(const Saving& saving, FileName file) override;
    bool modified() const override;
    const std::string& file() const override { return m_file; }
    const ReportDetails& reportDetails() const override { return m_details; }
    void setReportDetails(const ReportDetails& details) override { m_details = details; }
    std::string calculateForReport() override;
    Reporting report(const ReportStamp& stamp) const override;
    // The 33 field texts and where the last calculation stopped (null when
    // it ran to its end).
    Saving resultJson() const override;

protected:
    NoticeBasis noticeBasis() const override;
    const calc::NumberFormat& noticeFormat() const override { return m_sheet.numberFormat(); }

private:
    void press();
    Effects calculate();
    Effects load();
    std::optional<report::NoReport> reportRefusal() const;

    calc::Sheet& m_sheet;
    design::Design m_saved; // the sheet as last opened or saved
    ReportDetails m_savedDetails;
    notice::Details m_savedNotice;
    // The file's notice block could be read: saving writes the details back
    // in its place (a block it could not read is kept as it was).
    bool m_noticeRead = true;
    std::string m_file;
    std::optional<report::LastCalculation> m_last;
    int m_lastNumber = 0; // the provenance's number of m_last
    design::Provenance m_provenance;
    std::optional<calc::Stop> m_lastStop;
    ReportDetails m_details;
    std::vector<std::string> m_findings;
};

} // namespace session
