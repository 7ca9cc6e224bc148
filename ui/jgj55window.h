// The window of a JGJ 55-2011 design: a plain form in four groups beside its
// live results, a Qt view over session::Jgj55Form, which does the work. Every
// value a table supplies stands greyed in its field (the field's placeholder)
// with the table named in its tip; typing a value overrides it. Each keystroke designs again; an
// input that cannot be read or designed marks its field and is named in the status line, without a
// box.
//
//     ui::Jgj55Window window(format, boxes, dialogs, reportDialogs);
//     window.openFile(path);   // or start empty
//     window.show();
//
// Its commands are the window's actions (menu bar 文件 / 计算书 / 帮助, context
// menu and shortcuts): new, open, save, save as, print preview, PDF, copy of
// the report, and F1 for the guide. A note of the design's 注意 or a value
// outside its usual range puts a ⚠ beside its field or figure, its words in
// the tip, and the line above the results counts them.
#pragma once

#include "calc/numberformat.h"
#include "jgj55/design.h"
#include "session/jgj55form.h"
#include "ui/reportcommands.h"

#include <functional>
#include <map>
#include <optional>
#include <string>

#include <QWidget>

class QActionEvent;
class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenuBar;

namespace ui {

class FileDialogs;
class MessageBoxes;

class Jgj55Window : public QWidget {
public:
    Jgj55Window(const calc::NumberFormat& format, MessageBoxes& boxes, FileDialogs& dialogs,
                ReportDialogs& reportDialogs, QWidget* parent = nullptr);

    // Opens a JGJ 55-2011 design file; false (with the reason in the status
    // line) when it cannot be read. A design file of another kind goes where
    // setOpenElsewhere() says.
    bool openFile(const QString& path);
    // The same for the bytes of `path`, already read.
    bool openBytes(const QString& path, const std::string& bytes);
    // Saves to `path`; false with the reason in the status line.
    bool saveFile(const QString& path);

    // The inputs as the fields hold them; nothing when a field holds no
    // number (that field is marked).
    const std::optional<jgj55::Input>& input() const { return m_form.input(); }
    // The design this window shows, as a document (for commands added to it).
    session::Document& document() { return m_form; }
    // The form itself, for a command that changes it; formChanged() then
    // shows what it holds.
    session::Jgj55Form& form() { return m_form; }
    void formChanged() {
        fill();
        refresh();
    }
    // The last design, when the inputs could be designed.
    const std::optional<jgj55::Result>& result() const { return m_form.result(); }
    QString status() const;
    // Whether the design differs from the file it came from (or the start).
    bool isModified() const { return m_form.modified(); }

    // Where a design file of another kind (the classic design) opened here
    // goes instead: the classic window, which asks before it replaces its
    // sheet.
    using OpenElsewhere = std::function<void(const QString& path)>;
    void setOpenElsewhere(OpenElsewhere open) { m_elsewhere = std::move(open); }
    // The report of the last design as plain text; empty when there is none.
    QString reportText() const;

protected:
    // The close box and Alt+F4 ask about unsaved changes first.
    void closeEvent(QCloseEvent* event) override;
    // A command given to the window also stands in its menu bar.
    void actionEvent(QActionEvent* event) override;

private:
    void buildInputs(QHBoxLayout& columns);
    QWidget* buildResults();
    void addCommands();
    static void showMark(QLabel* mark, const std::string& warning);
    // Shows what the form says: marks, tips and placeholders of the fields,
    // the results and the status line.
    void refresh();
    // Puts the form's texts and choices in the controls, without a design
    // for each.
    void fill();
    QString reportHtml() const;
    session::Jgj55Form::ReportStamp reportStamp() const;
    bool askReportDetails();

    void newCommand();
    void openCommand();
    bool saveCommand();
    bool saveAsCommand();
    // Before the design is replaced: true when nothing would be lost, or the
    // user chose to save (and it was saved) or to discard.
    bool mayReplaceDesign();
    void updateTitle();
    void previewCommand();
    void pdfCommand();
    void copyCommand();

    session::Jgj55Form m_form;
    MessageBoxes& m_boxes;
    FileDialogs& m_dialogs;
    ReportDialogs& m_reportDialogs;
    std::map<std::string, QLineEdit*, std::less<>> m_edits;
    std::map<std::string, QComboBox*, std::less<>> m_choices;
    std::map<std::string, QLabel*, std::less<>> m_results;
    std::map<std::string, QLabel*, std::less<>> m_construction;
    std::map<std::string, QLabel*, std::less<>> m_trial;
    // The ⚠ beside each field and figure.
    std::map<std::string, QLabel*, std::less<>> m_marks;
    std::map<std::string, QLabel*, std::less<>> m_resultMarks;
    QLabel* m_noteCount = nullptr;
    QLabel* m_trialTitle = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QLabel* m_status = nullptr;
    QString m_path;
    bool m_filling = false;
    OpenElsewhere m_elsewhere;
};

} // namespace ui
