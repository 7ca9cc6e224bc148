// The window of a JGJ 55-2011 design: a plain form in four groups beside its
// live results. Every value a table supplies stands greyed in its field
// (the field's placeholder) with the table named in its tip; typing a value
// overrides it. Each keystroke designs again; an input that cannot be read or
// designed marks its field and is named in the status line, without a box.
//
//     ui::Jgj55Window window(format, boxes, dialogs, reportDialogs);
//     window.openFile(path);   // or start empty
//     window.show();
//
// Its commands are the window's actions (context menu and shortcuts): open,
// save, save as, print preview, PDF, copy of the report, and F1 for the guide.
#pragma once

#include "calc/numberformat.h"
#include "jgj55/design.h"
#include "report/report.h"
#include "ui/reportcommands.h"

#include <map>
#include <optional>
#include <string>

#include <QWidget>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;

namespace ui {

class FileDialogs;
class MessageBoxes;

class Jgj55Window : public QWidget {
public:
    Jgj55Window(const calc::NumberFormat& format, MessageBoxes& boxes, FileDialogs& dialogs,
                ReportDialogs& reportDialogs, QWidget* parent = nullptr);

    // Opens a JGJ 55-2011 design file; false (with the reason in the status
    // line) when it cannot be read.
    bool openFile(const QString& path);
    // Saves to `path`; false with the reason in the status line.
    bool saveFile(const QString& path);

    // The inputs as the fields hold them; nothing when a field holds no
    // number (that field is marked).
    std::optional<jgj55::Input> input();
    // The last design, when the inputs could be designed.
    const std::optional<jgj55::Result>& result() const { return m_result; }
    QString status() const;
    // The report of the last design as plain text; empty when there is none.
    QString reportText() const;
    // Designs the fields again, as a keystroke does.
    void recompute();

private:
    struct Field {
        QLineEdit* edit = nullptr;
        QString caption;
        double scale = 1.0; // the file's value × scale is the field's (% of a fraction)
    };

    QLineEdit* addNumber(QFormLayout* form, const char* key, const QString& caption,
                         const QString& unit, double scale = 1.0);
    QComboBox* addChoice(QFormLayout* form, const char* key, const QString& caption,
                         const QStringList& items);
    QLabel* addResult(QFormLayout* form, const char* key, const QString& caption,
                      const QString& unit);
    void addCommands();
    void display(const jgj55::Input& in);
    void showTableValues();
    void mark(const std::string& key, const QString& why);
    void setStatus(const QString& text, bool error);
    std::optional<double> number(const char* key);
    QString figure(double value) const;
    QString reportHtml() const;
    report::Options reportOptions() const;

    void openCommand();
    void saveCommand();
    void saveAsCommand();
    void previewCommand();
    void pdfCommand();
    void copyCommand();

    calc::NumberFormat m_format;
    MessageBoxes& m_boxes;
    FileDialogs& m_dialogs;
    ReportDialogs& m_reportDialogs;
    std::map<std::string, Field> m_fields;
    std::map<std::string, QComboBox*> m_choices;
    std::map<std::string, QLabel*> m_results;
    QLabel* m_status = nullptr;
    QString m_path;
    // The project and trial batch last asked for the report.
    ReportDetails m_details;
    bool m_filling = false;
    std::optional<jgj55::Input> m_input;
    std::optional<jgj55::Result> m_result;
};

} // namespace ui
