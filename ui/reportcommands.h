// The report commands of the window: 打印预览… (Ctrl+P), 导出 PDF…
// (Ctrl+Shift+E) and 复制计算书 (Ctrl+Shift+C), and the record of the last
// calculation they report on.
//
// Form1 runs every calculation through calculate() here, so that the trace
// of the last one is at hand; a report is made only while that calculation
// completed and the sheet still holds what it left (report/record.h).
#pragma once

#include "calc/calculate.h"
#include "calc/sheet.h"
#include "design/design.h"
#include "design/provenance.h"
#include "report/record.h"
#include "report/report.h"
#include "ui/messageboxes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include <QList>
#include <QString>

class QAction;
class QFileDialog;
class QPrinter;
class QWidget;

namespace ui {

// What the preview and the export ask before the report is made: the
// project it is for and the volume of the trial batch.
struct ReportDetails {
    double litres = report::kDefaultBatchLitres;
    report::Project project;
};

// Everything the report commands ask of the user, so that tests can answer
// without a modal dialog.
class ReportDialogs {
public:
    virtual ~ReportDialogs() = default;
    // The project and the volume of the trial batch in litres, proposing
    // `proposed`; nothing when the user cancels.
    virtual std::optional<ReportDetails> askDetails(QWidget* parent,
                                                    const ReportDetails& proposed) = 0;
    // Where to write the PDF, proposing `suggested`; empty when cancelled.
    virtual QString askPdfPath(QWidget* parent, const QString& suggested) = 0;
    // Qt's print preview, painting its pages with `paint`; the user prints
    // from it.
    virtual void preview(QWidget* parent, const std::function<void(QPrinter&)>& paint) = 0;
};

// The dialog QtReportDialogs asks for the PDF's name with, made but not
// shown: it adds ".pdf" to a name typed without it before it asks whether to
// replace an existing file, so the question is about the file written.
std::unique_ptr<QFileDialog> pdfDialog(QWidget* parent, const QString& suggested);

class QtReportDialogs final : public ReportDialogs {
public:
    std::optional<ReportDetails> askDetails(QWidget* parent,
                                            const ReportDetails& proposed) override;
    QString askPdfPath(QWidget* parent, const QString& suggested) override;
    void preview(QWidget* parent, const std::function<void(QPrinter&)>& paint) override;
};

class ReportCommands {
public:
    // The commands act on `sheet` in `window`; every box goes through `boxes`.
    ReportCommands(QWidget& window, calc::Sheet& sheet, MessageBoxes& boxes);
    ~ReportCommands();

    // Runs the calculation with a trace and keeps it as the last one; the
    // fields it writes become the calculation's (design/provenance.h).
    calc::Outcome calculate();
    // The user changed the field by hand: its text is the user's now.
    void fieldEdited(calc::TextField field) { m_provenance.edited(field); }

    // The three commands, with their shortcuts, for the window's context menu.
    QList<QAction*> actions() const { return m_actions; }

    void previewCommand();
    void exportPdfCommand();
    void copyCommand();

    // The report of the last calculation as it stands, or nothing (after a
    // box that says why) when there is none to make.
    std::optional<report::Document> document();

    void setDialogs(ReportDialogs& dialogs) { m_dialogs = &dialogs; }
    // The design file the sheet came from; its name goes into the heading.
    void setDesignFile(const QString& path) { m_designFile = path; }
    double batchLitres() const { return m_batchLitres; }
    // The project the report names; a design file keeps it.
    const report::Project& project() const { return m_project; }
    void setProject(const report::Project& project) { m_project = project; }

    const std::optional<report::LastCalculation>& last() const { return m_last; }

    const design::Provenance& provenance() const { return m_provenance; }

    // Keeps in a design about to be saved what lets the next open derive the
    // last calculation and the provenance again.
    void keepCalculationIn(design::Design& design) const;
    // A design file has been opened from `path` onto the sheet: the
    // calculation and provenance derived again from it (design::openInto)
    // become this window's.
    void openedDesign(const QString& path, const design::Opened& opened);

private:
    bool askDetails();

    QWidget& m_window;
    calc::Sheet& m_sheet;
    MessageBoxes& m_boxes;
    QtReportDialogs m_qtDialogs;
    ReportDialogs* m_dialogs = &m_qtDialogs;
    QList<QAction*> m_actions;
    std::optional<report::LastCalculation> m_last;
    int m_lastNumber = 0; // the provenance's number of m_last
    design::Provenance m_provenance;
    bool m_lastStopped = false;
    double m_batchLitres = report::kDefaultBatchLitres;
    report::Project m_project;
    QString m_designFile;
};

} // namespace ui
