// The report commands of the window: 打印预览… (Ctrl+P), 导出 PDF…
// (Ctrl+Shift+E) and 复制计算书 (Ctrl+Shift+C), and the record of the last
// calculation they report on.
//
// The last calculation and its report are the session's
// (session::ClassicWindow::report): a report is made only while that
// calculation completed and the sheet still holds what it left
// (report/record.h). These commands ask the details, show, print, export and
// copy it.
#pragma once

#include "report/record.h"
#include "report/report.h"
#include "session/classicwindow.h"
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
using ReportDetails = session::ReportDetails;

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
    // The commands report on `session`'s last calculation in `window`;
    // every box goes through `boxes`.
    ReportCommands(QWidget& window, session::ClassicWindow& session, MessageBoxes& boxes);
    ~ReportCommands();

    // The three commands, with their shortcuts, for the window's context menu.
    QList<QAction*> actions() const { return m_actions; }

    void previewCommand();
    void exportPdfCommand();
    void copyCommand();

    // The report of the last calculation as it stands, or nothing (after a
    // box that says why) when there is none to make.
    std::optional<report::Document> document();

    void setDialogs(ReportDialogs& dialogs) { m_dialogs = &dialogs; }
    double batchLitres() const { return m_session.reportDetails().litres; }
    // The project the report names; a design file keeps it.
    const report::Project& project() const { return m_session.reportDetails().project; }

    const std::optional<report::LastCalculation>& last() const { return m_session.last(); }

private:
    bool askDetails();

    QWidget& m_window;
    session::ClassicWindow& m_session;
    MessageBoxes& m_boxes;
    QtReportDialogs m_qtDialogs;
    ReportDialogs* m_dialogs = &m_qtDialogs;
    QList<QAction*> m_actions;
};

} // namespace ui
