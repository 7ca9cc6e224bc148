#include "ui/jgj55window.h"

#include "calc/conversions.h"
#include "jgj55/designfile.h"
#include "jgj55/rounding.h"
#include "report/jgj55report.h"
#include "report/numbers.h"
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

// The steps whose figure a field shows greyed when the field is empty.
// The sand ratio shows its final figure with the table it started from.
struct TableValue {
    const char* key;
    const char* symbol;
    const char* table; // the step that read the table
};
constexpr TableValue kTableValues[] = {
    {"sigma", "σ", "σ"},         {"gammaC", "γc", "γc"},       {"flyAsh.gammaF", "γf", "γf"},
    {"slag.gammaS", "γs", "γs"}, {"alphaA", "αa", "αa"},       {"alphaB", "αb", "αb"},
    {"water", "mw0′", "mw0′"},   {"sandRatio", "βs", "βs,表"}, {"assumedDensity", "mcp", "mcp"},
};

// Defaults with no step of their own (the volume method's constants).
struct DefaultValue {
    const char* key;
    double value;
};
constexpr DefaultValue kDefaults[] = {
    {"cementDensity", jgj55::kDefaultCementDensity},
    {"flyAsh.density", jgj55::kDefaultFlyAshDensity},
    {"slag.density", jgj55::kDefaultSlagDensity},
    {"sandDensity", jgj55::kDefaultSandDensity},
    {"stoneDensity", jgj55::kDefaultStoneDensity},
    {"waterDensity", jgj55::kDefaultWaterDensity},
    {"air", jgj55::kDefaultAir},
};

// The results, by the step that computes each.
struct ResultRow {
    const char* key;
    const char* caption;
    const char* symbol;
    const char* unit;
};
constexpr ResultRow kResults[] = {
    {"fcu0", "配制强度 fcu,0", "fcu,0", "MPa"},
    {"fce", "水泥强度 fce", "fce", "MPa"},
    {"gammaF", "粉煤灰影响系数 γf", "γf", ""},
    {"gammaS", "矿渣粉影响系数 γs", "γs", ""},
    {"fb", "胶凝材料强度 fb", "fb", "MPa"},
    {"waterBinder", "水胶比 W/B", "W/B", ""},
    {"water", "用水量 mw0", "mw0", "kg/m³"},
    {"binder", "胶凝材料 mb0", "mb0", "kg/m³"},
    {"cement", "水泥 mc0", "mc0", "kg/m³"},
    {"flyAsh", "粉煤灰 mf0", "mf0", "kg/m³"},
    {"slag", "矿渣粉 mk0", "mk0", "kg/m³"},
    {"admixture", "外加剂 ma0", "ma0", "kg/m³"},
    {"sandRatio", "砂率 βs", "βs", "%"},
    {"sand", "砂 ms0", "ms0", "kg/m³"},
    {"stone", "石子 mg0", "mg0", "kg/m³"},
    {"apparentDensity", "计算表观密度 ρc,c", "ρc,c", "kg/m³"},
};

const jgj55::Step* lastStep(const jgj55::Result& r, std::string_view symbol) {
    const jgj55::Step* found = nullptr;
    for (const jgj55::Step& s : r.steps) {
        if (s.symbol == symbol) {
            found = &s;
        }
    }
    return found;
}

double resultValue(const jgj55::Result& r, std::string_view key) {
    const std::pair<std::string_view, double> values[] = {
        {"fcu0", r.fcu0},
        {"fce", r.fce},
        {"gammaF", r.gammaF},
        {"gammaS", r.gammaS},
        {"fb", r.fb},
        {"waterBinder", r.waterBinder},
        {"water", r.water},
        {"binder", r.binder},
        {"cement", r.cement},
        {"flyAsh", r.flyAsh},
        {"slag", r.slag},
        {"admixture", r.admixture},
        {"sandRatio", r.sandRatio},
        {"sand", r.sand},
        {"stone", r.stone},
        {"apparentDensity", r.apparentDensity},
    };
    for (const auto& [k, v] : values) {
        if (k == key) {
            return v;
        }
    }
    return 0.0;
}

template <typename E> int indexOf(const std::optional<E>& value, int absent) {
    return value ? static_cast<int>(*value) : absent;
}

} // namespace

Jgj55Window::Jgj55Window(const calc::NumberFormat& format, MessageBoxes& boxes,
                         FileDialogs& dialogs, ReportDialogs& reportDialogs, QWidget* parent)
    : QWidget(parent), m_format(format), m_boxes(boxes), m_dialogs(dialogs),
      m_reportDialogs(reportDialogs) {
    setObjectName(QStringLiteral("jgj55Window"));
    setWindowTitle(QStringLiteral("JGJ 55-2011 配合比设计 - %1").arg(kApplicationName));
    setAttribute(Qt::WA_DeleteOnClose, false);

    auto* inputs = new QHBoxLayout;
    const auto group = [&inputs, this](const QString& title) {
        auto* box = new QGroupBox(title, this);
        auto* form = new QFormLayout(box);
        inputs->addWidget(box, 0, Qt::AlignTop);
        return form;
    };
    const QString mpa = QStringLiteral("MPa");
    const QString kg = QStringLiteral("kg/m³");
    const QString percent = QStringLiteral("%");

    QFormLayout* requirements = group(QStringLiteral("设计要求"));
    addNumber(requirements, "fcuk", QStringLiteral("强度标准值 fcu,k"), mpa);
    addNumber(requirements, "sigma", QStringLiteral("标准差 σ"), mpa);
    addNumber(requirements, "slump", QStringLiteral("坍落度"), QStringLiteral("mm"));
    addNumber(requirements, "vebe", QStringLiteral("维勃稠度"), QStringLiteral("s"));
    addChoice(
        requirements, "structure", QStringLiteral("结构"),
        {QStringLiteral("素混凝土"), QStringLiteral("钢筋混凝土"), QStringLiteral("预应力混凝土")});
    addChoice(requirements, "environment", QStringLiteral("环境类别"),
              {QStringLiteral("一"), QStringLiteral("二a"), QStringLiteral("二b"),
               QStringLiteral("三a"), QStringLiteral("三b"), QStringLiteral("不限")});

    QFormLayout* materials = group(QStringLiteral("原材料"));
    addChoice(materials, "cementGrade", QStringLiteral("水泥强度等级"),
              {QStringLiteral("32.5"), QStringLiteral("42.5"), QStringLiteral("52.5"),
               QStringLiteral("（用实测强度）")});
    addNumber(materials, "gammaC", QStringLiteral("富余系数 γc"), QString());
    addNumber(materials, "fce", QStringLiteral("实测强度 fce"), mpa);
    addChoice(materials, "stone", QStringLiteral("粗骨料"),
              {QStringLiteral("碎石"), QStringLiteral("卵石")});
    addNumber(materials, "maxSize", QStringLiteral("最大公称粒径"), QStringLiteral("mm"));
    addNumber(materials, "cementDensity", QStringLiteral("水泥密度 ρc"), kg);
    addNumber(materials, "sandDensity", QStringLiteral("砂表观密度 ρs"), kg);
    addNumber(materials, "stoneDensity", QStringLiteral("石子表观密度 ρg"), kg);
    addNumber(materials, "waterDensity", QStringLiteral("水的密度 ρw"), kg);
    addNumber(materials, "sandMoisture", QStringLiteral("砂含水率"), percent);
    addNumber(materials, "stoneMoisture", QStringLiteral("石子含水率"), percent);

    QFormLayout* binders = group(QStringLiteral("外加剂与掺合料"));
    addNumber(binders, "flyAsh.fraction", QStringLiteral("粉煤灰掺量 βf"), percent, 100.0);
    addChoice(binders, "flyAsh.grade", QStringLiteral("粉煤灰等级"),
              {QStringLiteral("I"), QStringLiteral("II"), QStringLiteral("III")});
    addNumber(binders, "flyAsh.gammaF", QStringLiteral("影响系数 γf"), QString());
    addNumber(binders, "flyAsh.density", QStringLiteral("粉煤灰密度 ρf"), kg);
    addNumber(binders, "slag.fraction", QStringLiteral("矿渣粉掺量 βk"), percent, 100.0);
    addChoice(binders, "slag.grade", QStringLiteral("矿渣粉等级"),
              {QStringLiteral("S75"), QStringLiteral("S95"), QStringLiteral("S105")});
    addNumber(binders, "slag.gammaS", QStringLiteral("影响系数 γs"), QString());
    addNumber(binders, "slag.density", QStringLiteral("矿渣粉密度 ρk"), kg);
    addNumber(binders, "admixture.fraction", QStringLiteral("外加剂掺量 βa"), percent, 100.0);
    addNumber(binders, "admixture.waterReduction", QStringLiteral("减水率 β"), percent, 100.0);

    QFormLayout* parameters = group(QStringLiteral("计算参数"));
    addNumber(parameters, "water", QStringLiteral("用水量 mw0′"), kg);
    addNumber(parameters, "sandRatio", QStringLiteral("砂率 βs"), percent);
    addNumber(parameters, "alphaA", QStringLiteral("回归系数 αa"), QString());
    addNumber(parameters, "alphaB", QStringLiteral("回归系数 αb"), QString());
    addChoice(parameters, "method", QStringLiteral("计算方法"),
              {QStringLiteral("质量法"), QStringLiteral("体积法")});
    addNumber(parameters, "assumedDensity", QStringLiteral("假定表观密度 mcp"), kg);
    addNumber(parameters, "air", QStringLiteral("含气量 α"), percent);

    auto* resultsBox = new QGroupBox(QStringLiteral("计算结果"), this);
    auto* results = new QFormLayout(resultsBox);
    for (const ResultRow& row : kResults) {
        addResult(results, row.key, QString::fromUtf8(row.caption), QString::fromUtf8(row.unit));
    }
    inputs->addWidget(resultsBox, 0, Qt::AlignTop);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addWidget(m_status);

    // The usual start: a design of the commonest kind, which the user edits.
    m_choices["structure"]->setCurrentIndex(1);
    m_choices["environment"]->setCurrentIndex(5);
    m_choices["cementGrade"]->setCurrentIndex(1);
    m_choices["flyAsh.grade"]->setCurrentIndex(1);
    m_choices["slag.grade"]->setCurrentIndex(1);
    addCommands();
    recompute();
}

// The caption and the unit stand in the order the form shows them.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
QLineEdit* Jgj55Window::addNumber(QFormLayout* form, const char* key, const QString& caption,
                                  const QString& unit, double scale) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(key));
    edit->setAccessibleName(caption);
    auto* row = new QHBoxLayout;
    row->addWidget(edit);
    auto* unitLabel = new QLabel(unit, this);
    unitLabel->setMinimumWidth(42);
    row->addWidget(unitLabel);
    form->addRow(caption, row);
    m_fields[key] = Field{edit, caption, scale};
    connect(edit, &QLineEdit::textChanged, this, [this] {
        if (!m_filling) {
            recompute();
        }
    });
    return edit;
}

QComboBox* Jgj55Window::addChoice(QFormLayout* form, const char* key, const QString& caption,
                                  const QStringList& items) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(key));
    box->addItems(items);
    box->setAccessibleName(caption);
    form->addRow(caption, box);
    m_choices[key] = box;
    connect(box, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling) {
            recompute();
        }
    });
    return box;
}

// The caption and the unit stand in the order the form shows them.
// NOLINTNEXTLINE(bugprone-easily-swappable-parameters)
QLabel* Jgj55Window::addResult(QFormLayout* form, const char* key, const QString& caption,
                               const QString& unit) {
    auto* label = new QLabel(this);
    label->setObjectName(QStringLiteral("result_") + QString::fromLatin1(key));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    auto* row = new QHBoxLayout;
    row->addWidget(label, 1);
    row->addWidget(new QLabel(unit, this));
    form->addRow(caption, row);
    m_results[key] = label;
    return label;
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

QString Jgj55Window::figure(double value) const {
    return qt(report::figure(value, m_format));
}

std::optional<double> Jgj55Window::number(const char* key) {
    Field& field = m_fields.at(key);
    const QString text = field.edit->text();
    if (text.trimmed().isEmpty()) {
        return std::nullopt;
    }
    const std::string bytes = text.toStdString();
    if (calc::parseStrict(bytes, m_format).status != calc::StrictStatus::Ok) {
        throw std::pair<std::string, QString>(
            key, QStringLiteral("「%1」不是一个数：%2").arg(field.caption, text));
    }
    // Checked whole by the strict reading, read at its full double value.
    const double value = calc::readLenient(bytes, m_format);
    return field.scale == 1.0 ? value : jgj55::roundHalfUp(value / field.scale, 12);
}

std::optional<jgj55::Input> Jgj55Window::input() {
    using namespace jgj55;
    Input in;
    try {
        in.fcuk = number("fcuk");
        in.sigma = number("sigma");
        in.slump = number("slump");
        in.vebe = number("vebe");
        in.structure = static_cast<Structure>(m_choices["structure"]->currentIndex());
        if (m_choices["environment"]->currentIndex() < 5) {
            in.environment = static_cast<Environment>(m_choices["environment"]->currentIndex());
        }
        if (m_choices["cementGrade"]->currentIndex() < 3) {
            in.cementGrade = static_cast<CementGrade>(m_choices["cementGrade"]->currentIndex());
        }
        in.gammaC = number("gammaC");
        in.fce = number("fce");
        in.stone = static_cast<Stone>(m_choices["stone"]->currentIndex());
        in.maxSize = number("maxSize");
        in.cementDensity = number("cementDensity");
        in.sandDensity = number("sandDensity");
        in.stoneDensity = number("stoneDensity");
        in.waterDensity = number("waterDensity");
        in.sandMoisture = number("sandMoisture");
        in.stoneMoisture = number("stoneMoisture");
        FlyAsh flyAsh{.fraction = number("flyAsh.fraction"),
                      .grade = static_cast<FlyAshGrade>(m_choices["flyAsh.grade"]->currentIndex()),
                      .gammaF = number("flyAsh.gammaF"),
                      .density = number("flyAsh.density")};
        if (flyAsh.fraction || flyAsh.gammaF || flyAsh.density) {
            in.flyAsh = flyAsh;
        }
        Slag slag{.fraction = number("slag.fraction"),
                  .grade = static_cast<SlagGrade>(m_choices["slag.grade"]->currentIndex()),
                  .gammaS = number("slag.gammaS"),
                  .density = number("slag.density")};
        if (slag.fraction || slag.gammaS || slag.density) {
            in.slag = slag;
        }
        Admixture admixture{.fraction = number("admixture.fraction"),
                            .waterReduction = number("admixture.waterReduction")};
        if (admixture.fraction || admixture.waterReduction) {
            in.admixture = admixture;
        }
        in.water = number("water");
        in.sandRatio = number("sandRatio");
        in.alphaA = number("alphaA");
        in.alphaB = number("alphaB");
        in.method = static_cast<Method>(m_choices["method"]->currentIndex());
        in.assumedDensity = number("assumedDensity");
        in.air = number("air");
    } catch (const std::pair<std::string, QString>& bad) {
        mark(bad.first, bad.second);
        return std::nullopt;
    }
    return in;
}

void Jgj55Window::mark(const std::string& key, const QString& why) {
    auto found = m_fields.find(key);
    if (found == m_fields.end()) {
        found = m_fields.find(key + ".fraction");
    }
    if (found != m_fields.end()) {
        found->second.edit->setStyleSheet(
            QStringLiteral("QLineEdit { border: 2px solid #c0392b; }"));
        found->second.edit->setToolTip(why);
    }
    setStatus(why, true);
}

void Jgj55Window::setStatus(const QString& text, bool error) {
    m_status->setText(text);
    m_status->setStyleSheet(error ? QStringLiteral("color: #c0392b;") : QString());
}

QString Jgj55Window::status() const {
    return m_status->text();
}

void Jgj55Window::recompute() {
    for (auto& [key, field] : m_fields) {
        field.edit->setStyleSheet(QString());
        field.edit->setToolTip(QString());
        field.edit->setPlaceholderText(QString());
    }
    m_result.reset();
    m_input = input();
    if (m_input) {
        const jgj55::Outcome out = jgj55::design(*m_input);
        if (out) {
            m_result = out.result;
            setStatus(QString(), false);
        } else {
            mark(out.refusal.input, qt(jgj55::plainText(out.refusal.message)));
        }
    }
    for (const ResultRow& row : kResults) {
        QLabel* label = m_results[row.key];
        if (!m_result) {
            label->setText(QStringLiteral("—"));
            label->setToolTip(QString());
            continue;
        }
        label->setText(figure(resultValue(*m_result, row.key)));
        if (const jgj55::Step* step = lastStep(*m_result, row.symbol)) {
            QString tip = qt(std::string(step->formula));
            if (std::string_view(step->formula) != step->symbol) {
                tip += QStringLiteral(" = ") +
                       qt(jgj55::fill(step->substituted, step->operands.view(),
                                      [this](double x) { return report::figure(x, m_format); }));
            }
            label->setToolTip(tip + QStringLiteral(" = ") + figure(step->value));
        }
    }
    showTableValues();
}

void Jgj55Window::showTableValues() {
    for (const DefaultValue& d : kDefaults) {
        m_fields.at(d.key).edit->setPlaceholderText(figure(d.value) + QStringLiteral("（默认值）"));
    }
    if (!m_result) {
        return;
    }
    for (const TableValue& t : kTableValues) {
        const jgj55::Step* step = lastStep(*m_result, t.symbol);
        const jgj55::Step* read = lastStep(*m_result, t.table);
        Field& field = m_fields.at(t.key);
        if (step == nullptr || read == nullptr || read->origin == jgj55::Origin::Given) {
            continue;
        }
        const QString source =
            qt(jgj55::fill(read->source, read->sourceNumbers.view(),
                           [this](double x) { return report::figure(x, m_format); }));
        field.edit->setPlaceholderText(figure(step->value) + QStringLiteral("（") +
                                       (source.isEmpty()
                                            ? QStringLiteral("计算")
                                            : source.section(QStringLiteral("，"), 0, 0)) +
                                       QStringLiteral("）"));
        field.edit->setToolTip(source);
    }
}

void Jgj55Window::display(const jgj55::Input& in) {
    using namespace jgj55;
    m_filling = true;
    const auto put = [this](const char* key, const std::optional<double>& value) {
        Field& field = m_fields.at(key);
        field.edit->setText(
            value ? qt(report::figure(jgj55::roundHalfUp(*value * field.scale, 10), m_format))
                  : QString());
    };
    put("fcuk", in.fcuk);
    put("sigma", in.sigma);
    put("slump", in.slump);
    put("vebe", in.vebe);
    m_choices["structure"]->setCurrentIndex(indexOf(in.structure, 1));
    m_choices["environment"]->setCurrentIndex(indexOf(in.environment, 5));
    m_choices["cementGrade"]->setCurrentIndex(indexOf(in.cementGrade, 3));
    put("gammaC", in.gammaC);
    put("fce", in.fce);
    m_choices["stone"]->setCurrentIndex(indexOf(in.stone, 0));
    put("maxSize", in.maxSize);
    put("cementDensity", in.cementDensity);
    put("sandDensity", in.sandDensity);
    put("stoneDensity", in.stoneDensity);
    put("waterDensity", in.waterDensity);
    put("sandMoisture", in.sandMoisture);
    put("stoneMoisture", in.stoneMoisture);
    const FlyAsh flyAsh = in.flyAsh.value_or(FlyAsh{});
    put("flyAsh.fraction", flyAsh.fraction);
    m_choices["flyAsh.grade"]->setCurrentIndex(indexOf(flyAsh.grade, 1));
    put("flyAsh.gammaF", flyAsh.gammaF);
    put("flyAsh.density", flyAsh.density);
    const Slag slag = in.slag.value_or(Slag{});
    put("slag.fraction", slag.fraction);
    m_choices["slag.grade"]->setCurrentIndex(indexOf(slag.grade, 1));
    put("slag.gammaS", slag.gammaS);
    put("slag.density", slag.density);
    const Admixture admixture = in.admixture.value_or(Admixture{});
    put("admixture.fraction", admixture.fraction);
    put("admixture.waterReduction", admixture.waterReduction);
    put("water", in.water);
    put("sandRatio", in.sandRatio);
    put("alphaA", in.alphaA);
    put("alphaB", in.alphaB);
    m_choices["method"]->setCurrentIndex(indexOf(in.method, 0));
    put("assumedDensity", in.assumedDensity);
    put("air", in.air);
    m_filling = false;
    recompute();
}

bool Jgj55Window::openFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        setStatus(QStringLiteral("无法打开 %1：%2")
                      .arg(QDir::toNativeSeparators(path), file.errorString()),
                  true);
        return false;
    }
    const QByteArray bytes = file.read(qint64(1024) * 1024 + 1);
    const jgj55::ReadResult read =
        jgj55::read(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!read) {
        setStatus(
            QStringLiteral("无法打开 %1：%2").arg(QDir::toNativeSeparators(path), qt(read.error)),
            true);
        return false;
    }
    m_path = path;
    setWindowTitle(QStringLiteral("%1 - JGJ 55-2011 配合比设计 - %2")
                       .arg(QFileInfo(path).fileName(), kApplicationName));
    display(*read.input);
    return true;
}

bool Jgj55Window::saveFile(const QString& path) {
    const std::optional<jgj55::Input> in = input();
    if (!in) {
        return false; // the field is marked and named
    }
    const std::string bytes = jgj55::serialize(*in);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !file.commit()) {
        setStatus(QStringLiteral("无法保存到 %1：%2")
                      .arg(QDir::toNativeSeparators(path), file.errorString()),
                  true);
        return false;
    }
    m_path = path;
    setWindowTitle(QStringLiteral("%1 - JGJ 55-2011 配合比设计 - %2")
                       .arg(QFileInfo(path).fileName(), kApplicationName));
    setStatus(QStringLiteral("已保存到 %1").arg(QDir::toNativeSeparators(path)), false);
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

report::Options Jgj55Window::reportOptions() const {
    report::Options options;
    options.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    options.program = kApplicationName.toStdString();
    options.version = kApplicationVersion.toStdString();
    options.designFile =
        m_path.isEmpty() ? std::string() : QFileInfo(m_path).fileName().toStdString();
    options.batchLitres = m_details.litres;
    options.project = m_details.project;
    return options;
}

QString Jgj55Window::reportHtml() const {
    if (!m_result || !m_input) {
        return {};
    }
    return qt(
        report::toHtml(report::buildJgj55Report(*m_input, *m_result, m_format, reportOptions())));
}

QString Jgj55Window::reportText() const {
    if (!m_result || !m_input) {
        return {};
    }
    return qt(
        report::toText(report::buildJgj55Report(*m_input, *m_result, m_format, reportOptions())));
}

void Jgj55Window::previewCommand() {
    if (reportHtml().isEmpty()) {
        setStatus(QStringLiteral("设计尚不完整，没有计算书可预览。") + m_status->text(), true);
        return;
    }
    // The project block and the trial batch, as the classic window asks them.
    const std::optional<ReportDetails> details = m_reportDialogs.askDetails(this, m_details);
    if (!details) {
        return;
    }
    m_details = *details;
    const QString html = reportHtml();
    m_reportDialogs.preview(this, [&html](QPrinter& printer) { paintReport(html, printer); });
}

void Jgj55Window::pdfCommand() {
    if (reportHtml().isEmpty()) {
        setStatus(QStringLiteral("设计尚不完整，没有计算书可导出。"), true);
        return;
    }
    const std::optional<ReportDetails> details = m_reportDialogs.askDetails(this, m_details);
    if (!details) {
        return;
    }
    m_details = *details;
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
    setStatus(error.isEmpty()
                  ? QStringLiteral("计算书已导出到 %1").arg(QDir::toNativeSeparators(path))
                  : QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), error),
              !error.isEmpty());
}

void Jgj55Window::copyCommand() {
    const QString html = reportHtml();
    if (html.isEmpty()) {
        setStatus(QStringLiteral("设计尚不完整，没有计算书可复制。"), true);
        return;
    }
    auto* copied = new QMimeData;
    copied->setText(reportText());
    copied->setHtml(html);
    QApplication::clipboard()->setMimeData(copied);
    setStatus(QStringLiteral("计算书已复制。"), false);
}

} // namespace ui
