#include "ui/form1.h"

#include "calc/fields.h"
#include "ui/captionlabel.h"
#include "ui/chineseface.h"
#include "ui/commandaction.h"
#include "ui/fieldnotes.h"
#include "ui/identity.h"
#include "ui/keyboard.h"
#include "ui/layout.h"
#include "ui/programicon.h"
#include "ui/qtext.h"
#include "ui/sessionboxes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <limits>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QDesktopServices>
#include <QFont>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>

namespace ui {

namespace {

QRect rectOf(const ControlRow& row) {
    return {pixels(row.left), pixels(row.top), pixels(row.width), pixels(row.height)};
}

constexpr calc::Option kOptions[] = {calc::Option::option1, calc::Option::option2,
                                     calc::Option::细砂, calc::Option::粗砂};
constexpr calc::Check kChecks[] = {calc::Check::卵石, calc::Check::碎石};
constexpr std::string_view kCommands[] = {"Command1", "Command2", "Command3", "Command4",
                                          "Command5"};

// Where the control of this name sits in its array, or -1.
template <typename Item, std::size_t N, typename NameOf>
int indexByName(const Item (&items)[N], std::string_view name, NameOf nameOf) {
    for (std::size_t i = 0; i < N; ++i) {
        if (nameOf(items[i]) == name) {
            return int(i);
        }
    }
    return -1;
}

QLabel* makeLabel(const ControlRow& row, QWidget* parent) {
    auto* label = new CaptionLabel(qt(row.caption), parent);
    // A caption wider than its rectangle wraps inside it and is cut off
    // below; the rectangle never grows to the text.
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    if (row.textColour) {
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, QColor(QRgb(*row.textColour)));
        label->setPalette(palette);
    }
    return label;
}

QLineEdit* makeField(const ControlRow& row, QWidget* parent) {
    // Made empty and given its start text once its length is open: a field
    // made with its text lays that text out three times over as it is built
    // (its own font, then the window's), each time shaping every glyph.
    auto* edit = new QLineEdit(parent);
    // Any text of any length: Qt would otherwise stop at 32767 characters.
    edit->setMaxLength(std::numeric_limits<int>::max());
    edit->setText(qt(row.caption));
    return edit;
}

QRadioButton* makeOption(const ControlRow& row, QWidget* parent) {
    auto* option = new QRadioButton(qt(row.caption), parent);
    // Exclusivity comes from the frame's button group alone.
    option->setAutoExclusive(false);
    option->setChecked(row.checked);
    return option;
}

QCheckBox* makeCheck(const ControlRow& row, QWidget* parent) {
    auto* check = new QCheckBox(qt(row.caption), parent);
    check->setTristate(false);
    check->setChecked(row.checked);
    return check;
}

QPushButton* makeButton(const ControlRow& row, QWidget* parent) {
    auto* button = new QPushButton(qt(row.caption), parent);
    // Enter and Esc in a field must trigger nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

// Builds the controls of the table one row at a time, filing each under its
// role, and wires up what needs two rows: a label and its buddy, the option
// buttons of one frame, the order of the focus.
class Builder {
public:
    explicit Builder(QWidget* form) : m_form(form) {}

    void add(const ControlRow& row) {
        QWidget* parent = row.frame.empty() ? m_form : m_frames.value(qt(row.frame));
        QWidget* control = make(row, parent);
        control->setObjectName(qt(row.name));
        control->setGeometry(rectOf(row));
        if (const calc::FieldInfo* info = calc::findField(row.name)) {
            control->setToolTip(fieldTip(*info));
        }
        if (control->focusPolicy() & Qt::TabFocus) {
            m_tabStops.emplace_back(row.tabIndex, control);
        }
    }

    FormControls finish() {
        // Labels caption their fields for screen readers; no caption has an
        // access key, so the buddy serves only the accessible name.
        for (const auto& [label, buddy] : m_buddies) {
            if (const auto field = calc::textFieldByName(buddy)) {
                label->setBuddy(m_made.sheet.texts[*field - 1]);
            }
        }
        // A field is drawn over any label that reaches under it.
        for (QLineEdit* field : m_made.sheet.texts) {
            field->raise();
        }
        std::sort(m_tabStops.begin(), m_tabStops.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 1; i < m_tabStops.size(); ++i) {
            QWidget::setTabOrder(m_tabStops[i - 1].second, m_tabStops[i].second);
        }
        return m_made;
    }

private:
    QWidget* make(const ControlRow& row, QWidget* parent) {
        switch (row.kind) {
        case Kind::Frame: {
            auto* frame = new QGroupBox(qt(row.caption), parent);
            m_frames.insert(qt(row.name), frame);
            return frame;
        }
        case Kind::Label: {
            QLabel* label = makeLabel(row, parent);
            if (!row.buddy.empty()) {
                m_buddies.emplace_back(label, row.buddy);
            }
            return label;
        }
        case Kind::TextField:
            return addField(row, parent);
        case Kind::OptionButton:
            return addOption(row, parent);
        case Kind::CheckBox: {
            QCheckBox* check = makeCheck(row, parent);
            const int n = indexByName(kChecks, row.name, calc::checkName);
            if (n >= 0) {
                m_made.sheet.checks[std::size_t(n)] = check;
            }
            return check;
        }
        case Kind::Button: {
            QPushButton* button = makeButton(row, parent);
            const int n = indexByName(kCommands, row.name, [](std::string_view c) { return c; });
            if (n >= 0) {
                m_made.commands[std::size_t(n)] = button;
            }
            return button;
        }
        }
        return nullptr;
    }

    QLineEdit* addField(const ControlRow& row, QWidget* parent) {
        QLineEdit* field = makeField(row, parent);
        if (const auto name = calc::textFieldByName(row.name)) {
            m_made.sheet.texts[*name - 1] = field;
        }
        return field;
    }

    QRadioButton* addOption(const ControlRow& row, QWidget* parent) {
        QRadioButton* option = makeOption(row, parent);
        QButtonGroup*& group = m_groups[qt(row.frame)]; // one exclusive group per frame
        if (!group) {
            group = new QButtonGroup(parent);
            group->setExclusive(true);
        }
        group->addButton(option);
        const int n = indexByName(kOptions, row.name, calc::optionName);
        if (n >= 0) {
            m_made.sheet.options[std::size_t(n)] = option;
        }
        return option;
    }

    QWidget* m_form;
    FormControls m_made;
    QHash<QString, QWidget*> m_frames;
    std::map<QString, QButtonGroup*> m_groups;
    std::vector<std::pair<QLabel*, std::string_view>> m_buddies;
    std::vector<std::pair<int, QWidget*>> m_tabStops;
};

} // namespace

Form1::Form1(calc::NumberFormat format, MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), m_boxes(boxes),
      m_browser([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    // A fixed window: nothing to maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(kWindowCaption);
    setWindowIcon(programIcon());
    setFixedSize(pixels(kClientWidth), pixels(kClientHeight));
    // The rectangles are drawn for captions at 12 pixels (9 points at 96 dpi),
    // the usual size of Chinese screen text; a desktop's larger default would
    // push every caption out of its label. A CJK face for Latin letters too
    // keeps "石子w" and "砂子w" inside their narrow labels. One family, not a
    // list: for a list Qt asks fontconfig for the fallbacks of every script
    // the moment the face is first used, for one family only once a
    // character is missing from it.
    QFont face = font();
    if (const QString family = installedChineseFace(); !family.isEmpty()) {
        face.setFamily(family);
    }
    face.setPixelSize(12);
    setFont(face);
    const FormControls controls = build();

    m_sheet =
        std::make_unique<FormSheet>(controls.sheet, std::move(format), [this](const QString& text) {
            m_boxes.show(this, messageBox(session::ClassicWindow::noticeBox(text.toStdString())));
        });
    m_session = std::make_unique<session::ClassicWindow>(*m_sheet);

    // Commands beyond the classic buttons: by their shortcuts and from the
    // context menu of the window (outside the fields, which keep their own).
    m_reports = std::make_unique<ReportCommands>(*this, *m_session, m_boxes);
    addActions(m_reports->actions());
    auto* apart = new QAction(this);
    apart->setSeparator(true);
    addAction(apart);
    QAction* recalculate = commandAction(this, session::DocumentKind::classic, "recalculateAll");
    connect(recalculate, &QAction::triggered, this,
            [this] { carryOut(m_session->recalculateAll()); });
    addAction(recalculate);
    // The foot below the classic client area: what a checker would question
    // after 计算, one line per finding; hidden, and the window its classic
    // size, while there is none.
    m_foot = new QLabel(this);
    m_foot->setObjectName(QStringLiteral("findings"));
    m_foot->setWordWrap(true);
    m_foot->setTextFormat(Qt::PlainText);
    m_foot->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_foot->setStyleSheet(QStringLiteral("QLabel { color: #8a4b00; background: #fff6e0; "
                                         "border-top: 1px solid #d9b36c; padding: 3px 6px; }"));
    m_foot->hide();
    setContextMenuPolicy(Qt::ActionsContextMenu);
    // A text changed by the user's hand (typing, pasting, undo) is the
    // user's value from then on, whatever a calculation wrote there before.
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        connect(m_sheet->field(field), &QLineEdit::textEdited, this,
                [this, field] { m_session->edited(field); });
    }

    // The six events of the window: the load (showEvent) and the five buttons.
    const std::array<void (Form1::*)(), 5> commands = {
        &Form1::calculateCommand, &Form1::helpCommand, &Form1::clearCommand, &Form1::exitCommand,
        &Form1::moreSoftwareCommand};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        connect(controls.commands[i], &QPushButton::clicked, this, commands[i]);
    }
    letReturnClickButtons(*this);
}

FormControls Form1::build() {
    Builder builder(this);
    for (const ControlRow& row : formLayout()) {
        builder.add(row);
    }
    return builder.finish();
}

void Form1::showEvent(QShowEvent* event) {
    // Shown again after a close: leaving asks again.
    m_leaving = false;
    if (!m_loaded) {
        m_loaded = true;
        // The load resets the sheet; the focus goes to the first tab stop by
        // Qt's own focus chain, drawn as moved by keyboard (the session
        // names the same control for the page).
        m_session->event(session::Event::load);
        focusFirstStop(*this);
    }
    QWidget::showEvent(event);
}

void Form1::showFindings() {
    const std::vector<std::string>& findings = m_session->findings();
    QStringList lines;
    for (const std::string& line : findings) {
        lines << QStringLiteral("⚠ ") + qt(line);
    }
    const int width = pixels(kClientWidth);
    const int height = pixels(kClientHeight);
    if (lines.isEmpty()) {
        m_foot->hide();
        m_foot->clear();
        setFixedSize(width, height);
        return;
    }
    m_foot->setText(lines.join(QLatin1Char('\n')));
    m_foot->setFixedWidth(width);
    const int footHeight = m_foot->heightForWidth(width);
    m_foot->setGeometry(0, height, width, footHeight);
    m_foot->show();
    setFixedSize(width, height + footHeight);
}

void Form1::carryOut(const session::Effects& effects) {
    showFindings();
    for (const session::Box& box : effects.boxes) {
        m_boxes.show(this, messageBox(box));
    }
    // Put the user where the mending is: the field concerned, its text
    // selected so that typing replaces it.
    if (effects.focus) {
        if (const auto field = calc::textFieldByName(*effects.focus)) {
            QLineEdit* edit = m_sheet->field(*field);
            edit->setFocus(Qt::OtherFocusReason);
            edit->selectAll();
        }
    }
    if (effects.exit && mayLeave()) {
        // Asked, when there was anything to lose: no close event holds the
        // program up after that.
        QCoreApplication::exit(0);
    }
    if (effects.openUrl) {
        const QUrl page(qt(*effects.openUrl));
        if (!m_browser(page)) {
            m_boxes.show(this,
                         messageBox(session::ClassicWindow::browserFailure(*effects.openUrl)));
        }
    }
}

bool Form1::mayLeave() {
    // A window never shown holds no work of the user's.
    if (!mayGoOn(m_boxes, this, m_loaded ? m_session->mayClose() : std::nullopt, m_save)) {
        return false;
    }
    // The JGJ 55-2011 windows end with this one: each asks about its own.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && !window->close()) {
            return false;
        }
    }
    m_leaving = true;
    return true;
}

void Form1::closeEvent(QCloseEvent* event) {
    if (!m_leaving && !mayLeave()) {
        event->ignore();
        return;
    }
    event->accept();
}

void Form1::calculateCommand() {
    carryOut(m_session->event(session::Event::calculate));
}

void Form1::helpCommand() {
    carryOut(m_session->event(session::Event::help));
}

void Form1::clearCommand() {
    carryOut(m_session->event(session::Event::clear));
}

void Form1::exitCommand() {
    carryOut(m_session->event(session::Event::exit));
}

void Form1::moreSoftwareCommand() {
    carryOut(m_session->event(session::Event::moreSoftware));
}

} // namespace ui
