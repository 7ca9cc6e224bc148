#include "ui/jgj55window.h"

#include "report/report.h"
#include "ui/commandaction.h"
#include "ui/designio.h"
#include "ui/filedialogs.h"
#include "ui/guidecommand.h"
#include "ui/identity.h"
#include "ui/messageboxes.h"
#include "ui/qtext.h"
#include "ui/reportcommands.h"
#include "ui/reportprint.h"
#include "ui/sessionboxes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QSaveFile>
#include <QVBoxLayout>

namespace ui {

namespace {

using Form = session::Jgj55Form;

const QString kMarked = QStringLiteral("QLineEdit { border: 2px solid #c0392b; }");
const QString kErrorColour = QStringLiteral("color: #c0392b;");

// Sets a property only when it changes: a keystroke designs again and shows
// every field anew, and most of them stay as they were.
template <typename Widget, typename Get, typename Set>
void setIfChanged(Widget* widget, const QString& wanted, Get get, Set set) {
    if ((widget->*get)() != wanted) {
        (widget->*set)(wanted);
    }
}

} // namespace

Jgj55Window::Jgj55Window(const calc::NumberFormat& format, MessageBoxes& boxes,
                         FileDialogs& dialogs, ReportDialogs& reportDialogs, QWidget* parent)
    : QWidget(parent), m_form(format), m_boxes(boxes), m_dialogs(dialogs),
      m_reportDialogs(reportDialogs) {
    setObjectName(QStringLiteral("jgj55Window"));
    updateTitle();
    setAttribute(Qt::WA_DeleteOnClose, false);

    // One group box per group of the form, in the form's order, each field
    // built and connected in one place.
    auto* inputs = new QHBoxLayout;
    QFormLayout* form = nullptr;
    std::string_view group;
    for (const Form::Field& field : Form::fields()) {
        if (form == nullptr || field.group != group) {
            group = field.group;
            auto* box = new QGroupBox(qt(group), this);
            form = new QFormLayout(box);
            inputs->addWidget(box, 0, Qt::AlignTop);
        }
        const QString key = qt(field.key);
        const QString caption = qt(field.caption);
        if (field.kind == Form::Kind::Choice) {
            auto* box = new QComboBox(this);
            box->setObjectName(key);
            for (const std::string_view entry : field.choices) {
                box->addItem(qt(entry));
            }
            box->setAccessibleName(caption);
            form->addRow(caption, box);
            m_choices.emplace(std::string(field.key), box);
            continue;
        }
        auto* edit = new QLineEdit(this);
        edit->setObjectName(key);
        edit->setAccessibleName(caption);
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        auto* unitLabel = new QLabel(qt(field.unit), this);
        unitLabel->setMinimumWidth(42);
        row->addWidget(unitLabel);
        form->addRow(caption, row);
        m_edits.emplace(std::string(field.key), edit);
        connect(edit, &QLineEdit::textChanged, this, [this, key = field.key](const QString& text) {
            if (!m_filling) {
                m_form.setText(key, text.toStdString());
                refresh();
            }
        });
    }

    auto* resultsBox = new QGroupBox(qt(Form::kResultsGroup), this);
    auto* results = new QFormLayout(resultsBox);
    for (const Form::ResultField& row : Form::resultFields()) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("result_") + qt(row.key));
        label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        auto* line = new QHBoxLayout;
        line->addWidget(label, 1);
        line->addWidget(new QLabel(qt(row.unit), this));
        results->addRow(qt(row.caption), line);
        m_results.emplace(std::string(row.key), label);
    }
    inputs->addWidget(resultsBox, 0, Qt::AlignTop);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(m_status);

    // The usual start, which the form chose: set before the choices are
    // connected, so that it is not designed once per choice.
    fill();
    for (const auto& [key, box] : m_choices) {
        connect(box, &QComboBox::currentIndexChanged, this, [this, name = key](int index) {
            if (!m_filling) {
                m_form.choose(name, index);
                refresh();
            }
        });
    }
    addCommands();
    refresh();
}

void Jgj55Window::addCommands() {
    struct Command {
        std::string_view name;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"openDesign", [this] { openCommand(); }},
        {"saveDesign", [this] { saveCommand(); }},
        {"saveDesignAs", [this] { saveAsCommand(); }},
        {"previewReport", [this] { previewCommand(); }},
        {"exportReportPdf", [this] { pdfCommand(); }},
        {"copyReport", [this] { copyCommand(); }},
    };
    for (const Command& c : commands) {
        QAction* action = commandAction(this, session::DocumentKind::jgj55, c.name);
        connect(action, &QAction::triggered, this, c.run);
        addAction(action);
    }
    // F1 opens the guide, as in the classic window; it adds itself to the
    // context menu.
    new GuideCommand(*this, m_boxes);
    setContextMenuPolicy(Qt::ActionsContextMenu);
}

void Jgj55Window::fill() {
    m_filling = true;
    for (const auto& [key, edit] : m_edits) {
        edit->setText(qt(m_form.text(key)));
    }
    for (const auto& [key, box] : m_choices) {
        box->setCurrentIndex(m_form.choice(key));
    }
    m_filling = false;
}

void Jgj55Window::refresh() {
    for (const auto& [key, edit] : m_edits) {
        const Form::FieldState& shown = m_form.field(key);
        setIfChanged(edit, shown.marked ? kMarked : QString(), &QLineEdit::styleSheet,
                     &QLineEdit::setStyleSheet);
        setIfChanged(edit, qt(shown.tip), &QLineEdit::toolTip, &QLineEdit::setToolTip);
        setIfChanged(edit, qt(shown.placeholder), &QLineEdit::placeholderText,
                     &QLineEdit::setPlaceholderText);
    }
    for (const auto& [key, label] : m_results) {
        const Form::ResultState& shown = m_form.result(key);
        setIfChanged(label, qt(shown.text), &QLabel::text, &QLabel::setText);
        setIfChanged(label, qt(shown.tip), &QLabel::toolTip, &QLabel::setToolTip);
    }
    const Form::Status& status = m_form.status();
    m_status->setText(qt(status.text));
    m_status->setStyleSheet(status.error ? kErrorColour : QString());
    setWindowModified(m_form.modified());
}

void Jgj55Window::updateTitle() {
    // "[*]" is where Qt shows the mark of unsaved changes; a "[*]" of the
    // file's own name is doubled, which Qt shows as written.
    const QString title = qt(m_form.title(kApplicationName.toStdString()))
                              .replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(m_form.modified());
}

QString Jgj55Window::status() const {
    return m_status->text();
}

bool Jgj55Window::openFile(const QString& path) {
    // Read with care, as every design file is: never beyond the size limit,
    // never from a device or a pipe.
    const design::FileBytes read = readDesignBytes(path);
    if (!read) {
        m_form.cannotOpen(QDir::toNativeSeparators(path).toStdString(), read.error);
        refresh();
        return false;
    }
    return openBytes(path, *read.bytes);
}

bool Jgj55Window::openBytes(const QString& path, const std::string& bytes) {
    if (m_elsewhere && session::documentKind(bytes) != session::DocumentKind::jgj55) {
        m_elsewhere(path);
        return false;
    }
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    if (!m_form.open(bytes, {.path = absolute, .shown = shown})) {
        refresh();
        return false;
    }
    m_path = path;
    fill();
    refresh();
    updateTitle();
    return true;
}

bool Jgj55Window::saveFile(const QString& path) {
    const session::Saving saving = m_form.save();
    if (!saving) {
        refresh(); // the field is marked and named
        return false;
    }
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    // Written aside and put in place whole, as the classic window saves.
    const QString failure = writeAtomically(path, QByteArray::fromStdString(*saving.bytes));
    if (!failure.isEmpty()) {
        m_form.cannotSave(shown, failure.toStdString());
        refresh();
        return false;
    }
    m_path = path;
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    m_form.saved(saving, {.path = absolute, .shown = shown});
    refresh();
    updateTitle();
    return true;
}

void Jgj55Window::closeEvent(QCloseEvent* event) {
    if (!mayGoOn(m_boxes, this, m_form.mayClose(), [this] { return saveCommand(); })) {
        event->ignore();
        return;
    }
    event->accept();
}

bool Jgj55Window::mayReplaceDesign() {
    return mayGoOn(m_boxes, this, m_form.mayReplace(), [this] { return saveCommand(); });
}

void Jgj55Window::openCommand() {
    if (!mayReplaceDesign()) {
        return;
    }
    const QString path = m_dialogs.openDesign(
        this, m_path.isEmpty() ? QDir::homePath() : QFileInfo(m_path).absolutePath());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool Jgj55Window::saveCommand() {
    return m_path.isEmpty() ? saveAsCommand() : saveFile(m_path);
}

bool Jgj55Window::saveAsCommand() {
    const QString suggested =
        m_path.isEmpty() ? QDir(QDir::homePath()).filePath(QStringLiteral("JGJ55设计.lanshi"))
                         : m_path;
    const QString chosen = m_dialogs.saveDesign(this, QStringLiteral("另存为"), suggested);
    if (chosen.isEmpty()) {
        return false;
    }
    const QString path = withSuffix(chosen, kDesignSuffix, m_boxes, this);
    return !path.isEmpty() && saveFile(path);
}

Form::ReportStamp Jgj55Window::reportStamp() const {
    return {.date = QDate::currentDate().toString(Qt::ISODate).toStdString(),
            .program = kApplicationName.toStdString(),
            .version = kApplicationVersion.toStdString()};
}

QString Jgj55Window::reportHtml() const {
    const session::Reporting made = m_form.report(reportStamp());
    return made ? qt(report::toHtml(*made.document)) : QString();
}

QString Jgj55Window::reportText() const {
    const session::Reporting made = m_form.report(reportStamp());
    return made ? qt(report::toText(*made.document)) : QString();
}

// The project block and the trial batch, as the classic window asks them;
// false when the user cancels.
bool Jgj55Window::askReportDetails() {
    const std::optional<ReportDetails> details =
        m_reportDialogs.askDetails(this, m_form.reportDetails());
    if (!details || !session::batchLitresProblem(details->litres).empty()) {
        return false;
    }
    m_form.setReportDetails(*details);
    refresh(); // a change of the details is a change of the design file
    return true;
}

void Jgj55Window::previewCommand() {
    if (!m_form.report(reportStamp())) {
        m_form.noReport(Form::ReportUse::Preview);
        refresh();
        return;
    }
    if (!askReportDetails()) {
        return;
    }
    const QString html = reportHtml();
    m_reportDialogs.preview(this, [&html](QPrinter& printer) { paintReport(html, printer); });
}

void Jgj55Window::pdfCommand() {
    if (!m_form.report(reportStamp())) {
        m_form.noReport(Form::ReportUse::Pdf);
        refresh();
        return;
    }
    if (!askReportDetails()) {
        return;
    }
    const QString html = reportHtml();
    const QString base =
        m_path.isEmpty() ? QStringLiteral("计算书") : QFileInfo(m_path).completeBaseName();
    const QString folder = m_path.isEmpty() || !QFileInfo(m_path).absoluteDir().exists()
                               ? startFolder()
                               : QFileInfo(m_path).absolutePath();
    const QString chosen =
        m_reportDialogs.askPdfPath(this, QDir(folder).filePath(base + QStringLiteral(".pdf")));
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withSuffix(chosen, QStringLiteral("pdf"), m_boxes, this);
    if (path.isEmpty()) {
        return;
    }
    const QString error = writeReportPdf(html, path);
    m_form.reportExported(QDir::toNativeSeparators(path).toStdString(), error.toStdString());
    refresh();
}

void Jgj55Window::copyCommand() {
    const session::Reporting made = m_form.report(reportStamp());
    if (!made) {
        m_form.noReport(Form::ReportUse::Copy);
        refresh();
        return;
    }
    auto* copied = new QMimeData;
    copied->setText(qt(report::toText(*made.document)));
    copied->setHtml(qt(report::toHtml(*made.document)));
    QApplication::clipboard()->setMimeData(copied);
    m_form.reportCopied();
    refresh();
}

} // namespace ui
