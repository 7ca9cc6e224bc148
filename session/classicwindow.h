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

enum class Icon { none, information, warning, question };

// What a box offers: OK alone, or the unsaved-changes choice 保存 / 不保存 /
// 取消 (取消 also when the box is closed without a button).
enum class Buttons { ok, saveDiscardCancel };

// A message box: its icon, title and text (UTF-8, plain text).
struct Box {
    Icon icon = Icon::none;
    std::string title;
    std::string text;
    Buttons buttons = Buttons::ok;

    friend bool operator==(const Box&, const Box&) = default;
};

// What the front end does after an event, in this order: shows each box and
// waits until it is closed, gives the focus to the control of this name
// with its text selected, ends the program, opens the page in a web browser
// (and, when that fails, shows browserFailure()).
struct Effects {
    std::vector<Box> boxes;
    std::optional<std::string> focus;
    bool exit = false;
    std::optional<std::string> openUrl;

    friend bool operator==(const Effects&, const Effects&) = default;
};

// A design file as the front end names it.
struct FileName {
    std::string_view path;  // what file() keeps: the desktop's absolute path, the page's name
    std::string_view shown; // how a box names it: the path as the user typed or chose it
};

// What a box says could not be done with a design file.
enum class FileAction { open, save };

// A design file the front end has read, offered to the window.
struct OpenResult {
    bool opened = false;
    // The box that says why not: the file's name as the front end showed it
    // and the reader's reason, in Chinese.
    std::vector<Box> boxes;
    // The file names a design standard (JGJ 55-2011): it belongs to that
    // window, and this sheet was left as it was.
    bool elsewhere = false;
};

// The bytes of the design file of the sheet, or the box that says why there
// are none.
struct SaveResult {
    std::optional<std::string> bytes;
    std::vector<Box> boxes;
    design::Design design; // what the bytes hold, for saved()
};

// The report of the last calculation, or the box that says why there is none.
struct ReportResult {
    std::optional<report::Document> document;
    std::vector<Box> boxes;
};

class ClassicWindow {
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
    //   exit     (退出) the end, at once, with no question
    //   moreSoftware (更多软件) the maker's page to open
    Effects event(Event event);

    // The user changed the field by hand: its text is the user's now,
    // whatever a calculation wrote there before.
    void edited(calc::TextField field) { m_provenance.edited(field); }

    // The box to show when the web browser could not be started on `url`.
    static Box browserFailure(std::string_view url);
    // The box of a notice the calculation shows through the sheet (the
    // cement minimum): no icon, the application's title.
    static Box noticeBox(std::string_view text);

    // Whether the sheet differs from what was last opened or saved.
    bool isModified() const;
    // The caption: the classic one, and the design file's name after it
    // while one is open. Without the mark of unsaved changes, which each
    // front end draws its own way (isModified()).
    std::string caption() const;
    // The design file the sheet was last opened from or saved to, as the
    // front end named it (the desktop: its absolute path), or empty.
    const std::string& file() const { return m_file; }
    // Its name alone: the last component of file().
    std::string fileName() const;

    // Before the sheet is replaced by another design: the question to ask
    // (保存 / 不保存 / 取消) when it has unsaved changes, else nothing.
    std::optional<Box> mayReplace() const;

    // Whether the bytes are a design of a standard (JGJ 55-2011), which its
    // own window opens: this sheet does not fit it.
    static bool belongsElsewhere(std::string_view bytes);

    // Opens a design file's bytes onto the sheet under the sheet's format. A
    // file of a design standard is left to its own window when `elsewhere`
    // is set and refused with the reader's reason otherwise. On failure the
    // sheet stays exactly as it was.
    OpenResult open(std::string_view bytes, FileName file, bool elsewhere = true);
    // The same for a design the front end has read itself (design::readFile).
    OpenResult open(const design::ReadResult& read, FileName file);

    // The sheet as a design file, with what lets the next open derive the
    // last calculation again and the project of the report; `shown` names
    // the file in the box when it cannot be written (a text that is no
    // UTF-8). Call saved() once the bytes are where they belong.
    SaveResult save(std::string_view shown) const;
    // The bytes of `saving` are now the file `file`: the sheet is unmodified
    // against them, and the caption and the report name the file.
    void saved(const SaveResult& saving, std::string_view file);
    // The box when a file could not be opened or saved: what failed, the
    // file as the user knows it (file.shown), and the reason.
    static Box fileFailure(FileAction action, FileName file, std::string_view reason);

    // The report of the last calculation as it stands, dated `date`, or the
    // box that says why there is none: nothing was calculated, the last
    // calculation stopped, or the sheet has changed since.
    ReportResult report(std::string_view date) const;

    // The volume of the trial batch in litres and the project that the
    // report names; a design file keeps the project.
    double batchLitres() const { return m_batchLitres; }
    void setBatchLitres(double litres) { m_batchLitres = litres; }
    const report::Project& project() const { return m_project; }
    void setProject(const report::Project& project) { m_project = project; }

    const std::optional<report::LastCalculation>& last() const { return m_last; }
    const design::Provenance& provenance() const { return m_provenance; }

private:
    Effects calculate();
    Effects load();

    calc::Sheet& m_sheet;
    design::Design m_saved; // the sheet as last opened or saved
    std::string m_file;
    std::optional<report::LastCalculation> m_last;
    int m_lastNumber = 0; // the provenance's number of m_last
    design::Provenance m_provenance;
    bool m_lastStopped = false;
    double m_batchLitres = report::kDefaultBatchLitres;
    report::Project m_project;
};

} // namespace session
