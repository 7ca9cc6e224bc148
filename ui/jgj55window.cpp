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

#include <algorithm>
#include <span>

#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QSaveFile>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace ui {

namespace {

using Form = session::Jgj55Form;

const QString kMarked = QStringLiteral("QLineEdit { border: 2px solid #c0392b; }");
const QString kWarned = QStringLiteral("QLineEdit { border: 2px solid #b9770e; }");
const QString kErrorColour = QStringLiteral("color: #c0392b;");
const QString kWarningColour = QStringLiteral("color: #b9770e;");
const QString kWarningMark = QStringLiteral("⚠");
// The results' columns: caption, figure, unit, mark, construction mix,
// trial batch.
constexpr int kResultColumns = 6;

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

    // The groups of inputs in two columns, the results in a third, all in a
    // scroll area: the window fits a 1 024 × 768 screen, and every width is
    // fixed, so that neither typing nor the results move anything.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("content"));
    auto* columns = new QHBoxLayout(content);
    buildInputs(*columns);
    columns->addWidget(buildResults(), 0, Qt::AlignTop);
    columns->addStretch(1);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scroll"));
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_status);
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(m_menuBar);

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

    // As wide as the columns need, within the screen it is on.
    const QSize wanted =
        content->sizeHint() +
        QSize(scroll->verticalScrollBar()->sizeHint().width() + layout->contentsMargins().left() +
                  layout->contentsMargins().right(),
              m_menuBar->sizeHint().height() + m_status->sizeHint().height() +
                  layout->contentsMargins().top() + layout->contentsMargins().bottom() +
                  2 * layout->spacing());
    const QRect screen = this->screen()->availableGeometry();
    resize(std::min(wanted.width(), screen.width()), std::min(wanted.height(), screen.height()));
}

void Jgj55Window::buildInputs(QHBoxLayout& columns) {
    // One group box per group of the form, in the form's order, two groups
    // to a column; each field built and connected in one place.
    const int editWidth = fontMetrics().horizontalAdvance(QStringLiteral("88888.888")) + 12;
    const int unitWidth = fontMetrics().horizontalAdvance(QStringLiteral("kg/m³ ")) + 4;
    const int markWidth = fontMetrics().horizontalAdvance(kWarningMark) + 4;
    QVBoxLayout* column = nullptr;
    QFormLayout* form = nullptr;
    std::string_view group;
    int groups = 0;
    for (const Form::Field& field : Form::fields()) {
        if (form == nullptr || field.group != group) {
            group = field.group;
            if (groups % 2 == 0) {
                column = new QVBoxLayout;
                columns.addLayout(column);
            }
            ++groups;
            auto* box = new QGroupBox(qt(group), this);
            form = new QFormLayout(box);
            form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
            column->addWidget(box);
            if (groups % 2 == 0) {
                column->addStretch(1);
            }
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
            box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            form->addRow(caption, box);
            m_choices.emplace(std::string(field.key), box);
            continue;
        }
        auto* edit = new QLineEdit(this);
        edit->setObjectName(key);
        edit->setAccessibleName(caption);
        edit->setFixedWidth(editWidth);
        auto* row = new QHBoxLayout;
        row->setSpacing(2);
        row->addWidget(edit);
        auto* unitLabel = new QLabel(qt(field.unit), this);
        unitLabel->setFixedWidth(unitWidth);
        row->addWidget(unitLabel);
        auto* mark = new QLabel(this);
        mark->setObjectName(QStringLiteral("mark_") + key);
        mark->setFixedWidth(markWidth);
        row->addWidget(mark);
        form->addRow(caption, row);
        m_edits.emplace(std::string(field.key), edit);
        m_marks.emplace(std::string(field.key), mark);
        connect(edit, &QLineEdit::textChanged, this, [this, key = field.key](const QString& text) {
            if (!m_filling) {
                m_form.setText(key, text.toStdString());
                refresh();
            }
        });
    }
}

QWidget* Jgj55Window::buildResults() {
    // Each figure in a cell wide enough for any it may show; the masses with
    // the construction mix and the trial batch beside them.
    const int figureWidth = fontMetrics().horizontalAdvance(QStringLiteral("88888.888"));
    const int markWidth = fontMetrics().horizontalAdvance(kWarningMark) + 4;
    auto* resultsBox = new QGroupBox(qt(Form::kResultsGroup), this);
    auto* grid = new QGridLayout(resultsBox);
    grid->setHorizontalSpacing(8);
    m_noteCount = new QLabel(this);
    m_noteCount->setObjectName(QStringLiteral("noteCount"));
    m_noteCount->setStyleSheet(kWarningColour);
    m_noteCount->setMinimumHeight(fontMetrics().height());
    grid->addWidget(m_noteCount, 0, 0, 1, kResultColumns);
    const auto heading = [&](const QString& text, int column) {
        auto* label = new QLabel(text, this);
        label->setFixedWidth(figureWidth);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(label, 1, column);
        return label;
    };
    heading(QStringLiteral("计算配合比"), 1);
    heading(QStringLiteral("施工配合比"), 4)
        ->setToolTip(QStringLiteral("给出砂、石子含水率后，按含水率调整的每立方米用量"));
    m_trialTitle = heading(QString(), 5);
    m_trialTitle->setObjectName(QStringLiteral("trialTitle"));
    int line = 2;
    for (const Form::ResultField& row : Form::resultFields()) {
        const QString key = qt(row.key);
        grid->addWidget(new QLabel(qt(row.caption), this), line, 0);
        const auto cell = [&](const QString& name, int column) {
            auto* label = new QLabel(this);
            label->setObjectName(name);
            label->setFixedWidth(figureWidth);
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            label->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                           Qt::TextSelectableByKeyboard);
            grid->addWidget(label, line, column);
            return label;
        };
        m_results.emplace(std::string(row.key), cell(QStringLiteral("result_") + key, 1));
        grid->addWidget(new QLabel(qt(row.unit), this), line, 2);
        auto* mark = new QLabel(this);
        mark->setObjectName(QStringLiteral("mark_result_") + key);
        mark->setFixedWidth(markWidth);
        grid->addWidget(mark, line, 3);
        m_construction.emplace(std::string(row.key),
                               cell(QStringLiteral("construction_") + key, 4));
        m_trial.emplace(std::string(row.key), cell(QStringLiteral("trial_") + key, 5));
        m_resultMarks.emplace(std::string(row.key), mark);
        ++line;
    }
    return resultsBox;
}

void Jgj55Window::addCommands() {
    struct Command {
        std::string_view name;
        std::function<void()> run;
    };
    const Command commands[] = {
        {"newDesign", [this] { newCommand(); }},
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

// Every command the window is given, now or later (配合比通知单… comes from
// outside), stands in the menu the command table names as well, in the
// table's order; the context menu keeps them all.
void Jgj55Window::actionEvent(QActionEvent* event) {
    QWidget::actionEvent(event);
    if (event->type() != QEvent::ActionAdded || m_menuBar == nullptr) {
        return;
    }
    QAction* action = event->action();
    const session::Command* command =
        session::findCommand(session::DocumentKind::jgj55, action->objectName().toStdString());
    if (command == nullptr || command->menu.empty()) {
        return;
    }
    QMenu* menu = nullptr;
    for (QAction* entry : m_menuBar->actions()) {
        if (entry->menu() != nullptr && entry->text() == qt(command->menu)) {
            menu = entry->menu();
        }
    }
    if (menu == nullptr) {
        menu = m_menuBar->addMenu(qt(command->menu));
    }
    // Before the first command that the table puts after this one.
    const std::span<const session::Command> table = session::commands(session::DocumentKind::jgj55);
    const auto place = [&table](const QAction* a) {
        const std::string name = a->objectName().toStdString();
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].name == name) {
                return i;
            }
        }
        return table.size();
    };
    QAction* before = nullptr;
    for (QAction* entry : menu->actions()) {
        if (!entry->isSeparator() && place(entry) > place(action)) {
            before = entry;
            break;
        }
    }
    menu->insertAction(before, action);
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

// A mark beside a field or figure: the sign and its words in the tip, so that
// it is seen without the colour.
void Jgj55Window::showMark(QLabel* mark, const std::string& warning) {
    setIfChanged(mark, warning.empty() ? QString() : kWarningMark, &QLabel::text, &QLabel::setText);
    setIfChanged(mark, qt(warning), &QLabel::toolTip, &QLabel::setToolTip);
    setIfChanged(mark, warning.empty() ? QString() : kWarningColour, &QLabel::styleSheet,
                 &QLabel::setStyleSheet);
}

void Jgj55Window::refresh() {
    for (const auto& [key, edit] : m_edits) {
        const Form::FieldState& shown = m_form.field(key);
        QString style;
        if (shown.marked) {
            style = kMarked;
        } else if (!shown.warning.empty()) {
            style = kWarned;
        }
        setIfChanged(edit, style, &QLineEdit::styleSheet, &QLineEdit::setStyleSheet);
        // The field shows the greyed figure alone; its tip names the table.
        QStringList tip;
        for (const std::string* line : {&shown.warning, &shown.placeholder, &shown.tip}) {
            if (!line->empty()) {
                tip << qt(*line);
            }
        }
        setIfChanged(edit, tip.join(QLatin1Char('\n')), &QLineEdit::toolTip,
                     &QLineEdit::setToolTip);
        setIfChanged(edit, qt(shown.greyed), &QLineEdit::placeholderText,
                     &QLineEdit::setPlaceholderText);
        showMark(m_marks.at(key), shown.warning);
    }
    for (const auto& [key, label] : m_results) {
        const Form::ResultState& shown = m_form.result(key);
        setIfChanged(label, qt(shown.text), &QLabel::text, &QLabel::setText);
        const QString tip =
            shown.warning.empty() ? qt(shown.tip) : qt(shown.warning + "\n" + shown.tip);
        setIfChanged(label, tip, &QLabel::toolTip, &QLabel::setToolTip);
        setIfChanged(label, shown.warning.empty() ? QString() : kWarningColour, &QLabel::styleSheet,
                     &QLabel::setStyleSheet);
        setIfChanged(m_construction.at(key), qt(shown.construction), &QLabel::text,
                     &QLabel::setText);
        setIfChanged(m_trial.at(key), qt(shown.trial), &QLabel::text, &QLabel::setText);
        showMark(m_resultMarks.at(key), shown.warning);
    }
    setIfChanged(m_trialTitle, qt(m_form.trialTitle()), &QLabel::text, &QLabel::setText);
    QStringList notes;
    for (const Form::Note& note : m_form.notes()) {
        notes << qt(note.text);
    }
    const std::string count = m_form.noteCount();
    setIfChanged(m_noteCount,
                 count.empty() ? QString() : kWarningMark + QLatin1Char(' ') + qt(count),
                 &QLabel::text, &QLabel::setText);
    setIfChanged(m_noteCount, notes.join(QLatin1Char('\n')), &QLabel::toolTip, &QLabel::setToolTip);
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

void Jgj55Window::newCommand() {
    if (!mayReplaceDesign()) {
        return;
    }
    m_form.startNew();
    m_path.clear();
    fill();
    refresh();
    updateTitle();
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
