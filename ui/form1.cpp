#include "ui/form1.h"

#include "calc/calculate.h"
#include "calc/fields.h"
#include "calc/stages.h"
#include "ui/captionlabel.h"
#include "ui/fieldnotes.h"
#include "ui/identity.h"
#include "ui/keyboard.h"
#include "ui/layout.h"
#include "ui/qtext.h"
#include "ui/stopreport.h"

#include <algorithm>
#include <limits>
#include <map>
#include <vector>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDesktopServices>
#include <QFont>
#include <QGroupBox>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace ui {

namespace {

QRect rectOf(const ControlRow& row) {
    return {pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height)};
}

QWidget* makeControl(const ControlRow& row, QWidget* parent) {
    const QString caption = qt(row.caption);
    switch (row.kind) {
    case Kind::Frame:
        return new QGroupBox(caption, parent);
    case Kind::Label: {
        auto* label = new CaptionLabel(caption, parent);
        // A caption wider than its rectangle wraps inside it and is cut off
        // below; the rectangle never grows to the text.
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case Kind::TextField: {
        auto* edit = new QLineEdit(caption, parent);
        // Any text of any length: Qt would otherwise stop at 32767 characters.
        edit->setMaxLength(std::numeric_limits<int>::max());
        return edit;
    }
    case Kind::OptionButton: {
        auto* option = new QRadioButton(caption, parent);
        // Exclusivity comes from the frame's button group alone.
        option->setAutoExclusive(false);
        option->setChecked(row.on);
        return option;
    }
    case Kind::CheckBox: {
        auto* check = new QCheckBox(caption, parent);
        check->setTristate(false);
        check->setChecked(row.on);
        return check;
    }
    case Kind::Button: {
        auto* button = new QPushButton(caption, parent);
        // Enter and Esc in a field must trigger nothing.
        button->setAutoDefault(false);
        button->setDefault(false);
        return button;
    }
    }
    return nullptr;
}

} // namespace

Form1::Form1(calc::NumberFormat format, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_boxes(boxes),
      m_browser([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    // A fixed window: nothing to maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(kWindowCaption);
    QIcon icon;
    for (const int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/lanshi/lanshi-%1.png").arg(size), QSize(size, size));
    }
    setWindowIcon(icon);
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    // The rectangles are drawn for captions at 12 pixels (9 points at 96 dpi),
    // the usual size of Chinese screen text; a desktop's larger default would
    // push every caption out of its label. A CJK face for Latin letters too
    // keeps "石子w" and "砂子w" inside their narrow labels.
    QFont face = font();
    face.setFamilies(
        {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), face.family()});
    face.setPixelSize(12);
    setFont(face);
    build();

    SheetControls controls;
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        controls.texts[n - 1] = findChild<QLineEdit*>(qt(calc::fieldName(field)));
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        controls.options[n] =
            findChild<QRadioButton*>(qt(calc::optionName(static_cast<calc::Option>(n))));
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        controls.checks[n] =
            findChild<QCheckBox*>(qt(calc::checkName(static_cast<calc::Check>(n))));
    }
    m_sheet = std::make_unique<FormSheet>(controls, std::move(format), [this](const QString& text) {
        m_boxes.show(this, {QMessageBox::NoIcon, kApplicationName, text});
    });

    // Commands beyond the classic buttons: by their shortcuts and from the
    // context menu of the window (outside the fields, which keep their own).
    m_reports = std::make_unique<ReportCommands>(*this, *m_sheet, m_boxes);
    addActions(m_reports->actions());
    setContextMenuPolicy(Qt::ActionsContextMenu);

    // The six events of the window: the load (showEvent) and the five buttons.
    const std::pair<const char*, void (Form1::*)()> commands[] = {
        {"Command1", &Form1::calculateCommand},    {"Command2", &Form1::helpCommand},
        {"Command3", &Form1::clearCommand},        {"Command4", &Form1::exitCommand},
        {"Command5", &Form1::moreSoftwareCommand},
    };
    for (const auto& [name, command] : commands) {
        connect(findChild<QPushButton*>(QLatin1String(name)), &QPushButton::clicked, this, command);
    }
    letReturnClickButtons(*this);
}

void Form1::build() {
    QHash<QString, QWidget*> byName;
    std::map<QString, QButtonGroup*> groups; // one exclusive group per frame
    std::vector<std::pair<int, QWidget*>> tabStops;

    for (const ControlRow& row : formLayout()) {
        QWidget* parent = row.frame.empty() ? this : byName.value(qt(row.frame));
        QWidget* control = makeControl(row, parent);
        control->setObjectName(qt(row.name));
        control->setGeometry(rectOf(row));
        byName.insert(control->objectName(), control);

        if (const calc::FieldInfo* info = calc::findField(row.name)) {
            control->setToolTip(fieldTip(*info));
        }
        if (auto* option = qobject_cast<QRadioButton*>(control)) {
            QButtonGroup*& group = groups[qt(row.frame)];
            if (!group) {
                group = new QButtonGroup(parent);
                group->setExclusive(true);
            }
            group->addButton(option);
        }
        if (control->focusPolicy() & Qt::TabFocus) {
            tabStops.emplace_back(row.tabIndex, control);
        }
    }

    // Labels caption their fields for screen readers; no caption has an
    // access key, so the buddy serves only the accessible name.
    for (const ControlRow& row : formLayout()) {
        if (!row.captions.empty()) {
            static_cast<QLabel*>(byName.value(qt(row.name)))
                ->setBuddy(byName.value(qt(row.captions)));
        }
    }

    // A field is drawn over any label that reaches under it.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->raise();
    }

    if (QWidget* school = byName.value(QStringLiteral("Label26"))) {
        QPalette palette = school->palette();
        palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
        school->setPalette(palette);
    }

    std::sort(tabStops.begin(), tabStops.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < tabStops.size(); ++i) {
        setTabOrder(tabStops[i - 1].second, tabStops[i].second);
    }
}

void Form1::showEvent(QShowEvent* event) {
    if (!m_loaded) {
        m_loaded = true;
        calc::qk(*m_sheet);
        focusFirstStop(*this);
    }
    QWidget::showEvent(event);
}

void Form1::calculateCommand() {
    const calc::Outcome outcome = m_reports->calculate();
    if (outcome.completed()) {
        return;
    }
    const calc::Stop& stop = *outcome.stop;
    m_boxes.show(this, {QMessageBox::Warning, kApplicationName, stopReport(stop, *m_sheet)});
    // Put the user where the mending is: the field concerned, its text
    // selected so that typing replaces it.
    if (stop.concerned) {
        QLineEdit* field = m_sheet->field(*stop.concerned);
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
}

void Form1::helpCommand() {
    m_boxes.show(this, {QMessageBox::NoIcon, kHelpTitle, kHelpText});
}

void Form1::clearCommand() {
    calc::qk(*m_sheet);
}

void Form1::exitCommand() {
    // At once: no question, no close events that could hold the program up.
    QCoreApplication::exit(0);
}

void Form1::moreSoftwareCommand() {
    const QUrl page(kMakerPage);
    if (!m_browser(page)) {
        m_boxes.show(this, {QMessageBox::Warning, kApplicationName,
                            QStringLiteral("无法启动网页浏览器打开 %1 。").arg(page.toString())});
    }
}

} // namespace ui
