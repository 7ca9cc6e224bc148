#include "ui/trialsdialog.h"

#include "report/report.h"
#include "ui/commandaction.h"
#include "ui/qtext.h"

#include <algorithm>
#include <array>

#include <QAction>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ui {

namespace {

constexpr int kColumns = 5; // W/B, strength, three specimens

const jgj55::Adjustment* adjustmentOf(const session::Jgj55Form& form) {
    const std::optional<jgj55::TrialOutcome>& out = form.trialOutcome();
    if (!out || !*out || !out->result->adjustment) {
        return nullptr;
    }
    return &*out->result->adjustment;
}

// The plot's scale: from the data's range, with a margin.
struct Scale {
    double low = 0.0;
    double high = 1.0;
    double at(double x, double from, double to) const {
        return from + (x - low) / (high - low) * (to - from);
    }
};

Scale scaleOf(double low, double high) {
    const double margin = std::max((high - low) * 0.1, 0.05 * std::max(1.0, high));
    return {low - margin, high + margin};
}

} // namespace

TrialPlot::TrialPlot(const session::Jgj55Form& form, QWidget* parent)
    : QWidget(parent), m_form(form) {
    setObjectName(QStringLiteral("trialPlot"));
    setMinimumSize(320, 220);
}

void TrialPlot::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    const jgj55::Adjustment* a = adjustmentOf(m_form);
    if (a == nullptr) {
        p.drawText(rect(), Qt::AlignCenter,
                   QStringLiteral("给出至少三组强度后显示强度与胶水比的关系"));
        return;
    }
    double xLow = a->binderWater;
    double xHigh = a->binderWater;
    double yLow = a->fcu0;
    double yHigh = a->fcu0;
    for (const jgj55::MeasuredStrength& m : a->strengths) {
        xLow = std::min(xLow, 1.0 / m.waterBinder);
        xHigh = std::max(xHigh, 1.0 / m.waterBinder);
        yLow = std::min(yLow, m.value);
        yHigh = std::max(yHigh, m.value);
    }
    const Scale xs = scaleOf(xLow, xHigh);
    const Scale ys = scaleOf(yLow, yHigh);
    const QRectF area = QRectF(rect()).adjusted(48, 12, -12, -36);
    const auto point = [&](double x, double y) {
        return QPointF(xs.at(x, area.left(), area.right()), ys.at(y, area.bottom(), area.top()));
    };
    p.setRenderHint(QPainter::Antialiasing);
    p.drawRect(area);
    p.drawText(QRectF(area.left(), area.bottom() + 4, area.width(), 28),
               Qt::AlignHCenter | Qt::AlignBottom, QStringLiteral("胶水比 B/W"));
    p.drawText(QRectF(0, area.top(), 46, 20), Qt::AlignLeft, QStringLiteral("MPa"));
    // The fitted line across the plot, inside its frame.
    p.setClipRect(area);
    p.setPen(QPen(palette().highlight().color(), 2));
    p.drawLine(point(xs.low, a->fit.a + a->fit.b * xs.low),
               point(xs.high, a->fit.a + a->fit.b * xs.high));
    // fcu,0 and the chosen B/W.
    p.setPen(QPen(Qt::darkRed, 1, Qt::DashLine));
    p.drawLine(point(xs.low, a->fcu0), point(xs.high, a->fcu0));
    p.drawLine(point(a->binderWater, ys.low), point(a->binderWater, ys.high));
    p.drawText(point(xs.low, a->fcu0) + QPointF(4, -4), QStringLiteral("fcu,0"));
    // The measured points.
    p.setPen(palette().text().color());
    p.setBrush(palette().text());
    for (const jgj55::MeasuredStrength& m : a->strengths) {
        p.drawEllipse(point(1.0 / m.waterBinder, m.value), 3.5, 3.5);
    }
}

TrialsDialog::TrialsDialog(QWidget& window, session::Jgj55Form& form)
    : QDialog(&window), m_window(window), m_form(form) {
    setObjectName(QStringLiteral("trialsDialog"));
    setWindowTitle(QStringLiteral("试配、调整与确定"));
    auto* layout = new QHBoxLayout(this);
    auto* left = new QVBoxLayout;
    auto* fields = new QFormLayout;
    const auto line = [this](const char* name) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        connect(edit, &QLineEdit::textEdited, this, [this] { edited(); });
        return edit;
    };
    m_capacity = line("mixerCapacity");
    m_water = line("water");
    m_sandRatio = line("sandRatio");
    m_density = line("density");
    fields->addRow(QStringLiteral("搅拌机公称容量（L）："), m_capacity);
    fields->addRow(QStringLiteral("试拌用水量 mw（kg/m³）："), m_water);
    fields->addRow(QStringLiteral("试拌砂率 βs（%）："), m_sandRatio);
    left->addLayout(fields);
    left->addWidget(
        new QLabel(QStringLiteral("28 d 抗压强度（MPa）：每组填强度，或三个试件强度"), this));
    m_table = new QTableWidget(kRows, kColumns, this);
    m_table->setObjectName(QStringLiteral("strengths"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("水胶比"), QStringLiteral("强度"),
                                        QStringLiteral("试件 1"), QStringLiteral("试件 2"),
                                        QStringLiteral("试件 3")});
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    connect(m_table, &QTableWidget::itemChanged, this, [this] { edited(); });
    left->addWidget(m_table);
    auto* densityRow = new QFormLayout;
    densityRow->addRow(QStringLiteral("实测表观密度 ρc,t（kg/m³）："), m_density);
    left->addLayout(densityRow);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("trialsStatus"));
    m_status->setWordWrap(true);
    left->addWidget(m_status);
    m_plot = new TrialPlot(form, this);
    left->addWidget(m_plot);
    layout->addLayout(left, 2);
    m_view = new QTextBrowser(this);
    m_view->setObjectName(QStringLiteral("trialsView"));
    m_view->setMinimumWidth(480);
    layout->addWidget(m_view, 3);
    // The design's fields change the mixes: shown again after each change
    // the window has made to the design.
    for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
        connect(edit, &QLineEdit::textChanged, this, [this] { refresh(); });
    }
    for (QComboBox* box : window.findChildren<QComboBox*>()) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
    }
    resize(1100, 640);
    fill();
    refresh();
}

QLineEdit* TrialsDialog::field(const char* name) const {
    return findChild<QLineEdit*>(QLatin1String(name));
}

// The texts of the form's trials, in the fields.
void TrialsDialog::fill() {
    m_filling = true;
    m_shown = m_form.trials();
    const session::TrialTexts texts =
        session::trialTexts(m_form.trials().value_or(jgj55::Trials{}), m_form.format(), kRows);
    m_capacity->setText(qt(texts.mixerCapacity));
    m_water->setText(qt(texts.water));
    m_sandRatio->setText(qt(texts.sandRatio));
    m_density->setText(qt(texts.density));
    m_table->setRowCount(std::max<int>(kRows, static_cast<int>(texts.rows.size())));
    for (int r = 0; r < m_table->rowCount(); ++r) {
        const session::TrialTexts::Row row = static_cast<std::size_t>(r) < texts.rows.size()
                                                 ? texts.rows[std::size_t(r)]
                                                 : session::TrialTexts::Row{};
        const std::array<std::string, kColumns> cells{
            row.waterBinder, row.strength, row.specimens[0], row.specimens[1], row.specimens[2]};
        for (int c = 0; c < kColumns; ++c) {
            m_table->setItem(r, c, new QTableWidgetItem(qt(cells[std::size_t(c)])));
        }
    }
    m_filling = false;
}

// The texts read into the design's trials: a field that is no number is
// named here and leaves the trials as they were.
void TrialsDialog::edited() {
    if (m_filling) {
        return;
    }
    session::TrialTexts texts{.mixerCapacity = m_capacity->text().toStdString(),
                              .water = m_water->text().toStdString(),
                              .sandRatio = m_sandRatio->text().toStdString(),
                              .density = m_density->text().toStdString(),
                              .rows = {}};
    for (int r = 0; r < m_table->rowCount(); ++r) {
        std::array<std::string, kColumns> cells;
        for (int c = 0; c < kColumns; ++c) {
            const QTableWidgetItem* item = m_table->item(r, c);
            cells[std::size_t(c)] = item != nullptr ? item->text().toStdString() : std::string();
        }
        texts.rows.push_back({cells[0], cells[1], {cells[2], cells[3], cells[4]}});
    }
    const session::TrialTextsReading read = session::readTrialTexts(texts, m_form.format());
    if (!read) {
        m_status->setText(qt(read.error));
        return;
    }
    // Nothing typed in a design without trials leaves it without them.
    const bool nothing = read.trials->empty() && !m_form.trials();
    m_form.setTrials(nothing ? std::nullopt : read.trials);
    m_shown = m_form.trials();
    m_window.setWindowModified(m_form.modified());
    refresh();
}

QString TrialsDialog::problem() const {
    return m_status->text();
}

void TrialsDialog::refresh() {
    if (m_form.trials() != m_shown) {
        fill();
    }
    const std::optional<jgj55::TrialOutcome>& out = m_form.trialOutcome();
    QString status;
    if (!m_form.result()) {
        status = QStringLiteral("设计尚不完整，不能试配。") + qt(m_form.status().text);
    } else if (out && !*out) {
        status = qt("试配：" + out->refusal.message);
    }
    m_status->setText(status);
    const std::optional<report::Document> chapter = session::trialsChapter(m_form);
    m_view->setHtml(chapter ? qt(report::toHtml(*chapter)) : QString());
    m_plot->update();
}

TrialsCommand::TrialsCommand(QWidget& window, session::Jgj55Form& form)
    : QObject(&window), m_window(window), m_form(form) {
    m_action = commandAction(&window, session::DocumentKind::jgj55, "trialMixes");
    connect(m_action, &QAction::triggered, this, [this] { run(); });
    window.addAction(m_action);
}

void TrialsCommand::run() {
    if (m_dialog == nullptr) {
        m_dialog = new TrialsDialog(m_window, m_form);
    }
    m_dialog->refresh();
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

} // namespace ui
