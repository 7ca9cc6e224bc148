// The window of a strength evaluation to GB/T 50107-2010: the entries above
// a table of groups (three specimen columns and the group value), the
// verdict, the figures and the conditions beside it and a run chart of the
// group values below, a Qt view over session::EvaluationForm, which does the
// work. Each keystroke evaluates again; a bad cell is marked and named in
// its tip and the status line, never in a box. A spreadsheet's cells paste
// into the table (Ctrl+V at the current cell) and a CSV file imports.
//
//     ui::EvaluationWindow window(format, boxes, dialogs, reportDialogs);
//     window.openFile(path);   // or start empty
//     window.show();
//
// Its commands are the window's actions (context menu and shortcuts), from
// the session's table: open, save, save as, print preview, PDF, copy of the
// record, CSV import, removing rows, and F1 for the guide.
#pragma once

#include "calc/numberformat.h"
#include "session/evaluationform.h"
#include "ui/reportcommands.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTableWidget;
class QVBoxLayout;

namespace ui {

class FileDialogs;
class MessageBoxes;

// The run chart: each group value in the table's order, the class, the mean
// and each condition's limit drawn across.
class EvaluationChart : public QWidget {
public:
    explicit EvaluationChart(QWidget* parent = nullptr);
    void show(std::vector<std::optional<double>> values,
              std::vector<session::EvaluationForm::ChartLine> lines);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::optional<double>> m_values;
    std::vector<session::EvaluationForm::ChartLine> m_lines;
};

class EvaluationWindow : public QWidget {
public:
    EvaluationWindow(const calc::NumberFormat& format, MessageBoxes& boxes, FileDialogs& dialogs,
                     ReportDialogs& reportDialogs, QWidget* parent = nullptr);

    // Opens an evaluation file; false (with the reason in the status line)
    // when it cannot be read. A design file of another kind goes where
    // setOpenElsewhere() says.
    bool openFile(const QString& path);
    bool openBytes(const QString& path, const std::string& bytes);
    bool saveFile(const QString& path);

    session::EvaluationForm& form() { return m_form; }
    session::Document& document() { return m_form; }
    QString status() const;
    QString verdict() const;
    bool isModified() const { return m_form.modified(); }
    QTableWidget* table() const { return m_table; }
    // The record as plain text; empty when there is none.
    QString reportText() const;

    // Puts the clipboard's text in the table from its current cell.
    void pasteCells();
    // Imports the CSV file at `path`.
    bool importCsvFile(const QString& path);

    using OpenElsewhere = std::function<void(const QString& path)>;
    void setOpenElsewhere(OpenElsewhere open) { m_elsewhere = std::move(open); }
    // How 导入 CSV… asks for the file (tests answer without a dialog).
    using AskCsv = std::function<QString(QWidget* parent, const QString& folder)>;
    void setAskCsv(AskCsv ask) { m_askCsv = std::move(ask); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildEntries(QVBoxLayout* left);
    void addCommands();
    // Shows what the form says: the marks, tips and greyed values of the
    // cells and entries, the verdict, the figures, the chart, the status.
    void refresh();
    void refreshTable();
    void refreshEntries();
    void fill();
    void fillTable();
    session::ReportStamp reportStamp() const;
    QString reportHtml() const;
    bool askReportDetails();

    void openCommand();
    bool saveCommand();
    bool saveAsCommand();
    void updateTitle();
    void previewCommand();
    void pdfCommand();
    void copyCommand();
    void importCsvCommand();
    void removeRowsCommand();
    void clearSelectedCells();

    session::EvaluationForm m_form;
    MessageBoxes& m_boxes;
    FileDialogs& m_dialogs;
    ReportDialogs& m_reportDialogs;
    std::map<std::string, QLineEdit*, std::less<>> m_edits;
    std::map<std::string, QComboBox*, std::less<>> m_choices;
    QPlainTextEdit* m_previous = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_verdict = nullptr;
    std::vector<QLabel*> m_figures;
    QLabel* m_conditions = nullptr;
    EvaluationChart* m_chart = nullptr;
    QLabel* m_status = nullptr;
    QString m_path;
    bool m_filling = false;
    OpenElsewhere m_elsewhere;
    AskCsv m_askCsv;
};

} // namespace ui
