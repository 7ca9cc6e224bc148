#include "ui/jgj55window.h"

#include "report/report.h"
#include "ui/filedialogs.h"
#include "ui/guidecommand.h"
#include "ui/identity.h"
#include "ui/messageboxes.h"
#include "ui/qtext.h"
#include "ui/reportcommands.h"
#include "ui/reportprint.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
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
    setWindowTitle(qt(m_form.title(kApplicationName.toStdString())));
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
        const char* name;
        QString text;
        QKeySequence keys;
        void (Jgj55Window::*run)();
    };
    const Command commands[] = {
        {"openDesign", QStringLiteral("打开设计…"), QKeySequence(Qt::CTRL | Qt::Key_O),
         &Jgj55Window::openCommand},
        {"saveDesign", QStringLiteral("保存设计"), QKeySequence(Qt::CTRL | Qt::Key_S),
         &Jgj55Window::saveCommand},
        {"saveDesignAs", QStringLiteral("另存为…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         &Jgj55Window::saveAsCommand},
        {"previewReport", QStringLiteral("打印预览…"), QKeySequence(Qt::CTRL | Qt::Key_P),
         &Jgj55Window::previewCommand},
        {"exportReportPdf", QStringLiteral("导出 PDF…"),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), &Jgj55Window::pdfCommand},
        {"copyReport", QStringLiteral("复制计算书"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
         &Jgj55Window::copyCommand},
    };
    for (const Command& c : commands) {
        auto* action = new QAction(c.text, this);
        action->setObjectName(QString::fromLatin1(c.name));
        action->setShortcut(c.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, run = c.run] { (this->*run)(); });
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
}

QString Jgj55Window::status() const {
    return m_status->text();
}

bool Jgj55Window::openFile(const QString& path) {
    const std::string shownAs = QDir::toNativeSeparators(path).toStdString();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_form.cannotOpen(shownAs, file.errorString().toStdString());
        refresh();
        return false;
    }
    const QByteArray bytes = file.read(qint64(1024) * 1024 + 1);
    const std::string name = QFileInfo(path).fileName().toStdString();
    if (!m_form.open(std::string_view(bytes.constData(), std::size_t(bytes.size())),
                     {.name = name, .shownAs = shownAs})) {
        refresh();
        return false;
    }
    m_path = path;
    setWindowTitle(qt(m_form.title(kApplicationName.toStdString())));
    fill();
    refresh();
    return true;
}

bool Jgj55Window::saveFile(const QString& path) {
    const std::optional<std::string> bytes = m_form.save();
    if (!bytes) {
        refresh(); // the field is marked and named
        return false;
    }
    const std::string shownAs = QDir::toNativeSeparators(path).toStdString();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes->data(), qint64(bytes->size())) != qint64(bytes->size()) ||
        !file.commit()) {
        m_form.cannotSave(shownAs, file.errorString().toStdString());
        refresh();
        return false;
    }
    m_path = path;
    const std::string name = QFileInfo(path).fileName().toStdString();
    m_form.saved({.name = name, .shownAs = shownAs});
    setWindowTitle(qt(m_form.title(kApplicationName.toStdString())));
    refresh();
    return true;
}

void Jgj55Window::openCommand() {
    const QString path = m_dialogs.openDesign(
        this, m_path.isEmpty() ? QDir::homePath() : QFileInfo(m_path).absolutePath());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

void Jgj55Window::saveCommand() {
    if (m_path.isEmpty()) {
        saveAsCommand();
    } else {
        saveFile(m_path);
    }
}

void Jgj55Window::saveAsCommand() {
    const QString suggested =
        m_path.isEmpty() ? QDir(QDir::homePath()).filePath(QStringLiteral("JGJ55设计.lanshi"))
                         : m_path;
    QString path = m_dialogs.saveDesign(this, QStringLiteral("另存为"), suggested);
    if (path.isEmpty()) {
        return;
    }
    if (!path.endsWith(QStringLiteral(".") + kDesignSuffix, Qt::CaseInsensitive)) {
        path += QStringLiteral(".") + kDesignSuffix;
    }
    saveFile(path);
}

Form::ReportStamp Jgj55Window::reportStamp() const {
    return {.date = QDate::currentDate().toString(Qt::ISODate).toStdString(),
            .program = kApplicationName.toStdString(),
            .version = kApplicationVersion.toStdString()};
}

QString Jgj55Window::reportHtml() const {
    const std::optional<report::Document> document = m_form.report(reportStamp());
    return document ? qt(report::toHtml(*document)) : QString();
}

QString Jgj55Window::reportText() const {
    const std::optional<report::Document> document = m_form.report(reportStamp());
    return document ? qt(report::toText(*document)) : QString();
}

// The project block and the trial batch, as the classic window asks them;
// false when the user cancels.
bool Jgj55Window::askReportDetails() {
    const Form::ReportDetails& kept = m_form.reportDetails();
    const std::optional<ReportDetails> details = m_reportDialogs.askDetails(
        this, ReportDetails{.litres = kept.litres, .project = kept.project});
    if (!details) {
        return false;
    }
    m_form.setReportDetails({.litres = details->litres, .project = details->project});
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
    const std::optional<report::Document> document = m_form.report(reportStamp());
    if (!document) {
        m_form.noReport(Form::ReportUse::Copy);
        refresh();
        return;
    }
    auto* copied = new QMimeData;
    copied->setText(qt(report::toText(*document)));
    copied->setHtml(qt(report::toHtml(*document)));
    QApplication::clipboard()->setMimeData(copied);
    m_form.reportCopied();
    refresh();
}

} // namespace ui
