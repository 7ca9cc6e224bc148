#include "ui/evaluationwindow.h"

#include "report/report.h"
#include "ui/commandaction.h"
#include "ui/designio.h"
#include "ui/filedialogs.h"
#include "ui/guidecommand.h"
#include "ui/identity.h"
#include "ui/messageboxes.h"
#include "ui/qtext.h"
#include "ui/reportprint.h"
#include "ui/sessionboxes.h"

#include <algorithm>
#include <cmath>
#include <set>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {

namespace {

using Form = session::EvaluationForm;

const QString kMarked = QStringLiteral("border: 2px solid #c0392b;");
const QString kErrorColour = QStringLiteral("color: #c0392b;");
const QColor kMarkedCell(0xf8, 0xd7, 0xd3);
constexpr int kPlaceholderRole = Qt::UserRole + 1;
// Rows a new table shows, that a lab's batch usually fills.
constexpr int kMinimumRows = 12;

// An empty cell of the group value shows the value the program finds,
// greyed, as a field shows its placeholder.
class PlaceholderDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QString placeholder = index.data(kPlaceholderRole).toString();
        if (placeholder.isEmpty() || !index.data(Qt::DisplayRole).toString().isEmpty()) {
            return;
        }
        painter->save();
        painter->setPen(option.palette.color(QPalette::PlaceholderText));
        painter->drawText(option.rect.adjusted(4, 0, -4, 0), Qt::AlignVCenter | Qt::AlignRight,
                          placeholder);
        painter->restore();
    }
};

template <typename Widget, typename Get, typename Set>
void setIfChanged(Widget* widget, const QString& wanted, Get get, Set set) {
    if ((widget->*get)() != wanted) {
        (widget->*set)(wanted);
    }
}

} // namespace

EvaluationChart::EvaluationChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("chart"));
    setAccessibleName(QStringLiteral("强度代表值走势图"));
}

void EvaluationChart::show(std::vector<std::optional<double>> values,
                           std::vector<session::EvaluationForm::ChartLine> lines) {
    m_values = std::move(values);
    m_lines = std::move(lines);
    update();
}

QSize EvaluationChart::sizeHint() const {
    return {520, 220};
}

QSize EvaluationChart::minimumSizeHint() const {
    return {240, 140};
}

void EvaluationChart::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QRectF area = QRectF(rect()).adjusted(44, 12, -12, -24);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(area);
    std::vector<double> levels;
    for (const auto& v : m_values) {
        if (v) {
            levels.push_back(*v);
        }
    }
    if (levels.empty()) {
        p.setPen(palette().color(QPalette::PlaceholderText));
        p.drawText(area, Qt::AlignCenter, QStringLiteral("评定后在此显示各组强度代表值"));
        return;
    }
    for (const auto& line : m_lines) {
        levels.push_back(line.value);
    }
    double low = *std::min_element(levels.begin(), levels.end());
    double high = *std::max_element(levels.begin(), levels.end());
    const double pad = std::max(1.0, (high - low) * 0.1);
    low = std::floor(low - pad);
    high = std::ceil(high + pad);
    const auto y = [&](double v) {
        return area.bottom() - (v - low) / (high - low) * area.height();
    };
    const auto n = static_cast<double>(m_values.size());
    const auto x = [&](std::size_t i) {
        return area.left() + (static_cast<double>(i) + 0.5) / n * area.width();
    };

    // The scale: the bottom and the top, MPa.
    p.setPen(palette().color(QPalette::Text));
    p.drawText(QRectF(0, area.bottom() - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(low));
    p.drawText(QRectF(0, area.top() - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
               QString::number(high));
    p.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), 18), Qt::AlignCenter,
               QStringLiteral("组（共 %1 组）").arg(m_values.size()));

    // The levels across: the class black, the mean blue, the limits red.
    for (const auto& line : m_lines) {
        QColor colour(0xc0, 0x39, 0x2b);
        Qt::PenStyle style = Qt::DashLine;
        if (line.role == session::EvaluationForm::ChartLine::Role::Class) {
            colour = palette().color(QPalette::Text);
            style = Qt::SolidLine;
        } else if (line.role == session::EvaluationForm::ChartLine::Role::Mean) {
            colour = QColor(0x29, 0x80, 0xb9);
            style = Qt::SolidLine;
        }
        p.setPen(QPen(colour, 1.2, style));
        const double at = y(line.value);
        p.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
        p.drawText(QRectF(area.left() + 4, at - 16, area.width() - 8, 15),
                   Qt::AlignRight | Qt::AlignBottom, qt(line.label));
    }

    // The group values, joined in the table's order; a group left out is a
    // gap.
    p.setPen(QPen(QColor(0x27, 0xae, 0x60), 1.5));
    std::optional<QPointF> previous;
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        if (!m_values[i]) {
            previous.reset();
            continue;
        }
        const QPointF point(x(i), y(*m_values[i]));
        if (previous) {
            p.drawLine(*previous, point);
        }
        p.setBrush(QColor(0x27, 0xae, 0x60));
        p.drawEllipse(point, 3, 3);
        previous = point;
    }
}

EvaluationWindow::EvaluationWindow(const calc::NumberFormat& format, MessageBoxes& boxes,
                                   FileDialogs& dialogs, ReportDialogs& reportDialogs,
                                   QWidget* parent)
    : QWidget(parent), m_form(format), m_boxes(boxes), m_dialogs(dialogs),
      m_reportDialogs(reportDialogs) {
    setObjectName(QStringLiteral("evaluationWindow"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* left = new QVBoxLayout;
    buildEntries(left);

    m_table = new QTableWidget(0, Form::kColumns, this);
    m_table->setObjectName(QStringLiteral("groups"));
    m_table->setAccessibleName(QStringLiteral("各组强度"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("试件 1"), QStringLiteral("试件 2"),
                                        QStringLiteral("试件 3"), QStringLiteral("代表值")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_table->setItemDelegate(new PlaceholderDelegate(m_table));
    m_table->setMinimumWidth(360);
    left->addWidget(m_table, 1);
    connect(m_table, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (!m_filling) {
            m_form.setCell(item->row(), item->column(), item->text().toStdString());
            refresh();
        }
    });
    // Paste and Delete in the table are its own: a block of cells at once.
    auto* paste = new QAction(m_table);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    connect(paste, &QAction::triggered, this, [this] { pasteCells(); });
    m_table->addAction(paste);
    auto* clear = new QAction(m_table);
    clear->setShortcut(QKeySequence::Delete);
    clear->setShortcutContext(Qt::WidgetShortcut);
    connect(clear, &QAction::triggered, this, [this] { clearSelectedCells(); });
    m_table->addAction(clear);

    auto* right = new QVBoxLayout;
    m_verdict = new QLabel(this);
    m_verdict->setObjectName(QStringLiteral("verdict"));
    m_verdict->setWordWrap(true);
    QFont big = m_verdict->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_verdict->setFont(big);
    right->addWidget(m_verdict);
    auto* figuresBox = new QGroupBox(QStringLiteral("评定结果"), this);
    auto* figures = new QFormLayout(figuresBox);
    for (const Form::Figure& f : m_form.figures()) {
        auto* label = new QLabel(this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        figures->addRow(qt(f.caption), label);
        m_figures.push_back(label);
    }
    right->addWidget(figuresBox);
    m_conditions = new QLabel(this);
    m_conditions->setObjectName(QStringLiteral("conditions"));
    m_conditions->setWordWrap(true);
    m_conditions->setTextFormat(Qt::RichText);
    m_conditions->setTextInteractionFlags(Qt::TextSelectableByMouse);
    right->addWidget(m_conditions);
    m_chart = new EvaluationChart(this);
    right->addWidget(m_chart, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addWidget(m_status);

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
    updateTitle();
    resize(980, 640);
}

void EvaluationWindow::buildEntries(QVBoxLayout* left) {
    auto* box = new QGroupBox(QStringLiteral("评定条件"), this);
    auto* grid = new QFormLayout(box);
    for (const Form::Field& field : Form::fields()) {
        const QString key = qt(field.key);
        QString caption = qt(field.caption);
        if (!field.unit.empty()) {
            caption += QStringLiteral("（%1）").arg(qt(field.unit));
        }
        if (field.kind == Form::Kind::Choice) {
            auto* choice = new QComboBox(this);
            choice->setObjectName(key);
            choice->setAccessibleName(caption);
            for (const std::string_view entry : field.choices) {
                choice->addItem(qt(entry));
            }
            grid->addRow(caption, choice);
            m_choices.emplace(std::string(field.key), choice);
            continue;
        }
        if (field.kind == Form::Kind::Values) {
            m_previous = new QPlainTextEdit(this);
            m_previous->setObjectName(key);
            m_previous->setAccessibleName(caption);
            m_previous->setPlaceholderText(
                QStringLiteral("σ0 由上一期的代表值算出时填写（至少 45 组），可直接粘贴"));
            m_previous->setMaximumHeight(m_previous->fontMetrics().height() * 4);
            grid->addRow(caption, m_previous);
            connect(m_previous, &QPlainTextEdit::textChanged, this, [this, name = field.key] {
                if (!m_filling) {
                    m_form.setText(name, m_previous->toPlainText().toStdString());
                    refresh();
                }
            });
            continue;
        }
        auto* edit = new QLineEdit(this);
        edit->setObjectName(key);
        edit->setAccessibleName(caption);
        grid->addRow(caption, edit);
        m_edits.emplace(std::string(field.key), edit);
        connect(edit, &QLineEdit::textChanged, this, [this, name = field.key](const QString& t) {
            if (!m_filling) {
                m_form.setText(name, t.toStdString());
                refresh();
            }
        });
    }
    left->addWidget(box);
}

void EvaluationWindow::addCommands() {
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
        {"importCsv", [this] { importCsvCommand(); }},
        {"removeRows", [this] { removeRowsCommand(); }},
    };
    for (const Command& c : commands) {
        QAction* action = commandAction(this, session::DocumentKind::gbt50107, c.name);
        connect(action, &QAction::triggered, this, c.run);
        addAction(action);
        m_table->addAction(action);
    }
    auto* guide = new GuideCommand(*this, m_boxes);
    m_table->addAction(guide->action());
    setContextMenuPolicy(Qt::ActionsContextMenu);
    m_table->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void EvaluationWindow::fill() {
    m_filling = true;
    for (const auto& [key, edit] : m_edits) {
        edit->setText(qt(m_form.text(key)));
    }
    for (const auto& [key, box] : m_choices) {
        box->setCurrentIndex(m_form.choice(key));
    }
    if (m_previous != nullptr) {
        m_previous->setPlainText(qt(m_form.text("previous")));
    }
    m_filling = false;
    fillTable();
}

// The texts of every cell as the form holds them.
void EvaluationWindow::fillTable() {
    m_filling = true;
    m_table->setRowCount(std::max(kMinimumRows, m_form.rowCount() + 1));
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (int column = 0; column < Form::kColumns; ++column) {
            QTableWidgetItem* item = m_table->item(row, column);
            if (item == nullptr) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                m_table->setItem(row, column, item);
            }
            setIfChanged(item, qt(m_form.cell(row, column)), &QTableWidgetItem::text,
                         &QTableWidgetItem::setText);
        }
    }
    m_filling = false;
}

void EvaluationWindow::refreshTable() {
    // One row more than the form holds: the next group is typed there.
    if (m_table->rowCount() < m_form.rowCount() + 1) {
        fillTable();
    }
    // A tip or a colour set is a change of the item too: not the user's.
    m_filling = true;
    for (int row = 0; row < m_table->rowCount(); ++row) {
        for (int column = 0; column < Form::kColumns; ++column) {
            QTableWidgetItem* item = m_table->item(row, column);
            if (item == nullptr) {
                continue;
            }
            const Form::CellState& state = m_form.cellState(row, column);
            const QBrush background = state.marked ? QBrush(kMarkedCell) : QBrush();
            if (item->background() != background) {
                item->setBackground(background);
            }
            if (item->toolTip() != qt(state.tip)) {
                item->setToolTip(qt(state.tip));
            }
            if (item->data(kPlaceholderRole).toString() != qt(state.placeholder)) {
                item->setData(kPlaceholderRole, qt(state.placeholder));
            }
        }
    }
    m_filling = false;
}

void EvaluationWindow::refreshEntries() {
    for (const auto& [key, edit] : m_edits) {
        const Form::CellState& state = m_form.field(key);
        setIfChanged(edit,
                     state.marked ? QStringLiteral("QLineEdit { %1 }").arg(kMarked) : QString(),
                     &QLineEdit::styleSheet, &QLineEdit::setStyleSheet);
        setIfChanged(edit, qt(state.tip), &QLineEdit::toolTip, &QLineEdit::setToolTip);
    }
    for (const auto& [key, box] : m_choices) {
        const Form::CellState& state = m_form.field(key);
        setIfChanged(box, qt(state.tip), &QComboBox::toolTip, &QComboBox::setToolTip);
    }
    if (m_previous != nullptr) {
        const Form::CellState& state = m_form.field("previous");
        setIfChanged(m_previous,
                     state.marked ? QStringLiteral("QPlainTextEdit { %1 }").arg(kMarked)
                                  : QString(),
                     &QPlainTextEdit::styleSheet, &QPlainTextEdit::setStyleSheet);
        setIfChanged(m_previous, qt(state.tip), &QPlainTextEdit::toolTip,
                     &QPlainTextEdit::setToolTip);
    }
}

void EvaluationWindow::refresh() {
    refreshTable();
    refreshEntries();
    const std::vector<Form::Figure>& figures = m_form.figures();
    for (std::size_t i = 0; i < figures.size() && i < m_figures.size(); ++i) {
        setIfChanged(m_figures[i], qt(figures[i].text), &QLabel::text, &QLabel::setText);
    }
    const bool passed = m_form.evaluation() && m_form.evaluation()->passed;
    m_verdict->setText(m_form.evaluation() ? qt(m_form.verdict()) : QStringLiteral("尚未评定"));
    m_verdict->setStyleSheet(!m_form.evaluation() ? QString()
                             : passed             ? QStringLiteral("color: #27ae60;")
                                                  : kErrorColour);
    QString conditions;
    for (const Form::ConditionLine& c : m_form.conditions()) {
        conditions += QStringLiteral("<div style=\"color:%1\">%2</div>")
                          .arg(c.holds ? QStringLiteral("#27ae60") : QStringLiteral("#c0392b"),
                               qt(c.text).toHtmlEscaped());
    }
    m_conditions->setText(conditions);
    m_chart->show(m_form.chartValues(), m_form.chartLines());
    const Form::Status& status = m_form.status();
    m_status->setText(qt(status.text));
    m_status->setStyleSheet(status.error ? kErrorColour : QString());
    setWindowModified(m_form.modified());
}

void EvaluationWindow::updateTitle() {
    const QString title = qt(m_form.title(kApplicationName.toStdString()))
                              .replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(title + QStringLiteral("[*]"));
    setWindowModified(m_form.modified());
}

QString EvaluationWindow::status() const {
    return m_status->text();
}

QString EvaluationWindow::verdict() const {
    return m_verdict->text();
}

void EvaluationWindow::pasteCells() {
    const QString text = QApplication::clipboard()->text();
    if (text.isEmpty()) {
        return;
    }
    const int row = std::max(0, m_table->currentRow());
    const int column = std::max(0, m_table->currentColumn());
    m_form.paste(row, column, text.toStdString());
    fillTable();
    refresh();
}

void EvaluationWindow::clearSelectedCells() {
    const QList<QTableWidgetItem*> selected = m_table->selectedItems();
    m_filling = true;
    for (QTableWidgetItem* item : selected) {
        if (!item->text().isEmpty()) {
            item->setText(QString());
            m_form.setCell(item->row(), item->column(), {});
        }
    }
    m_filling = false;
    refresh();
}

void EvaluationWindow::removeRowsCommand() {
    std::set<int> rows;
    for (const QTableWidgetItem* item : m_table->selectedItems()) {
        rows.insert(item->row());
    }
    if (rows.empty() && m_table->currentRow() >= 0) {
        rows.insert(m_table->currentRow());
    }
    // From the last, so that each row keeps its number until it goes.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        m_form.removeRows(*it, 1);
    }
    fillTable();
    refresh();
}

bool EvaluationWindow::importCsvFile(const QString& path) {
    const design::FileBytes read = readDesignBytes(path);
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    if (!read) {
        m_form.cannotOpen(shown, read.error);
        refresh();
        return false;
    }
    const int added = m_form.importCsv(*read.bytes, QFileInfo(path).fileName().toStdString());
    fillTable();
    refresh();
    return added > 0;
}

void EvaluationWindow::importCsvCommand() {
    const QString folder = m_path.isEmpty() ? startFolder() : QFileInfo(m_path).absolutePath();
    const QString path =
        m_askCsv ? m_askCsv(this, folder)
                 : QFileDialog::getOpenFileName(this, QStringLiteral("导入 CSV"), folder,
                                                QStringLiteral("CSV 文件 (*.csv *.txt)"));
    if (!path.isEmpty()) {
        importCsvFile(path);
    }
}

bool EvaluationWindow::openFile(const QString& path) {
    const design::FileBytes read = readDesignBytes(path);
    if (!read) {
        m_form.cannotOpen(QDir::toNativeSeparators(path).toStdString(), read.error);
        refresh();
        return false;
    }
    return openBytes(path, *read.bytes);
}

bool EvaluationWindow::openBytes(const QString& path, const std::string& bytes) {
    if (m_elsewhere && session::documentKind(bytes) != session::DocumentKind::gbt50107) {
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

bool EvaluationWindow::saveFile(const QString& path) {
    const session::Saving saving = m_form.save();
    if (!saving) {
        refresh();
        return false;
    }
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    const QString failure = writeAtomically(path, QByteArray::fromStdString(*saving.bytes));
    if (!failure.isEmpty()) {
        m_form.cannotSave(shown, failure.toStdString());
        refresh();
        return false;
    }
    m_path = path;
    m_form.saved(saving,
                 {.path = QFileInfo(path).absoluteFilePath().toStdString(), .shown = shown});
    refresh();
    updateTitle();
    return true;
}

void EvaluationWindow::closeEvent(QCloseEvent* event) {
    if (!mayGoOn(m_boxes, this, m_form.mayClose(), [this] { return saveCommand(); })) {
        event->ignore();
        return;
    }
    event->accept();
}

void EvaluationWindow::openCommand() {
    if (!mayGoOn(m_boxes, this, m_form.mayReplace(), [this] { return saveCommand(); })) {
        return;
    }
    const QString path = m_dialogs.openDesign(
        this, m_path.isEmpty() ? startFolder() : QFileInfo(m_path).absolutePath());
    if (!path.isEmpty()) {
        openFile(path);
    }
}

bool EvaluationWindow::saveCommand() {
    return m_path.isEmpty() ? saveAsCommand() : saveFile(m_path);
}

bool EvaluationWindow::saveAsCommand() {
    if (!m_form.saveBytes()) {
        m_form.save(); // names what stands in the way, before any dialog
        refresh();
        return false;
    }
    const QString suggested =
        m_path.isEmpty() ? QDir(startFolder()).filePath(QStringLiteral("强度评定.lanshi")) : m_path;
    const QString chosen = m_dialogs.saveDesign(this, QStringLiteral("另存为"), suggested);
    if (chosen.isEmpty()) {
        return false;
    }
    const QString path = withSuffix(chosen, kDesignSuffix, m_boxes, this);
    return !path.isEmpty() && saveFile(path);
}

session::ReportStamp EvaluationWindow::reportStamp() const {
    return {.date = QDate::currentDate().toString(Qt::ISODate).toStdString(),
            .program = kApplicationName.toStdString(),
            .version = kApplicationVersion.toStdString()};
}

QString EvaluationWindow::reportHtml() const {
    const session::Reporting made = m_form.report(reportStamp());
    return made ? qt(report::toHtml(*made.document)) : QString();
}

QString EvaluationWindow::reportText() const {
    const session::Reporting made = m_form.report(reportStamp());
    return made ? qt(report::toText(*made.document)) : QString();
}

bool EvaluationWindow::askReportDetails() {
    const std::optional<ReportDetails> details =
        m_reportDialogs.askDetails(this, m_form.reportDetails());
    if (!details || !session::batchLitresProblem(details->litres).empty()) {
        return false;
    }
    m_form.setReportDetails(*details);
    refresh();
    return true;
}

void EvaluationWindow::previewCommand() {
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

void EvaluationWindow::pdfCommand() {
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
        m_path.isEmpty() ? QStringLiteral("评定记录") : QFileInfo(m_path).completeBaseName();
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

void EvaluationWindow::copyCommand() {
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
