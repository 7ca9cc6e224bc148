// A seeded monkey: thousands of random actions on the real window (typing
// into fields, choosing options, ticking boxes, pressing 计算, 清零 and 帮助,
// answering every box), each mirrored on an in-memory sheet. After every
// step the two must show the same sheet, and the window the same boxes.
#include "calc/calculate.h"
#include "calc/conversions.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "fakes.h"
#include "ui/form1.h"

#include <random>
#include <string>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

// Characters a user might type, hostile ones included (full-width digits,
// CJK, a decimal comma, signs and exponent letters), but no key that moves
// the focus or presses a button.
const QString kAlphabet = QString::fromUtf8("0123456789012345.,-+eE aZ%０５水\u00A0");

class Monkey {
public:
    explicit Monkey(unsigned seed) : m_random(seed) {}

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(m_random); }

    // Random characters half the time, a number in one of the sheet's own
    // forms otherwise, so that calculations often get deep.
    QString text() {
        if (pick(2) == 0) {
            QString typed;
            const int length = pick(10);
            for (int i = 0; i < length; ++i) {
                typed.append(kAlphabet.at(pick(int(kAlphabet.size()))));
            }
            return typed;
        }
        const float value = std::uniform_real_distribution<float>(-50.0f, 3000.0f)(m_random);
        const calc::NumberFormat usual;
        const std::string written =
            pick(2) == 0 ? calc::formatFixed2(value, usual) : calc::formatSingle(value, usual);
        return QString::fromStdString(written);
    }

private:
    std::mt19937 m_random;
};

// Types over a field's text as a user would. QTest's own typing knows only
// ASCII keys, so other characters arrive as key events that carry their text,
// as an input method delivers them.
void typeAnything(QWidget& form, const char* name, const QString& text) {
    QLineEdit* field = test::control<QLineEdit>(form, name);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(field, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

TEST(MonkeyTest, WindowAndMemorySheetStayAlike) {
    test::FakeBoxes boxes;
    ui::Form1 form(calc::NumberFormat{}, boxes);
    form.setBrowser([](const QUrl&) { return true; });
    form.show();

    calc::MemorySheet memory;
    calc::qk(memory);
    std::size_t expectedBoxes = 0;
    int completed = 0;
    int stopped = 0;

    Monkey monkey(20261207);
    const char* const options[] = {"option1", "option2", "细砂", "粗砂"};
    const char* const checks[] = {"卵石", "碎石"};
    constexpr int kSteps = 3000;
    for (int step = 0; step < kSteps; ++step) {
        std::string action;
        switch (monkey.pick(8)) {
        case 0:
        case 1:
        case 2: { // type into a field (more often into the fields the calculation reads)
            const int number =
                monkey.pick(3) == 0 ? 1 + monkey.pick(calc::kTextFieldCount) : 1 + monkey.pick(26);
            const auto field = static_cast<calc::TextField>(number);
            const QString typed = monkey.text();
            typeAnything(form, calc::fieldName(field).c_str(), typed);
            memory.setText(field, typed.toStdString());
            action = "type \"" + typed.toStdString() + "\" into " + calc::fieldName(field);
            break;
        }
        case 3: { // choose an option button
            const int which = monkey.pick(4);
            QTest::mouseClick(test::control<QRadioButton>(form, options[which]), Qt::LeftButton);
            memory.select(static_cast<calc::Option>(which));
            action = std::string("select ") + options[which];
            break;
        }
        case 4: { // tick or untick a check box
            const int which = monkey.pick(2);
            QTest::mouseClick(test::control<QCheckBox>(form, checks[which]), Qt::LeftButton);
            const auto check = static_cast<calc::Check>(which);
            memory.setChecked(check, !memory.isChecked(check));
            action = std::string("toggle ") + checks[which];
            break;
        }
        case 5:
        case 6: { // 计算
            QTest::mouseClick(test::control<QPushButton>(form, "Command1"), Qt::LeftButton);
            const std::size_t noticesBefore = memory.notices().size();
            const calc::Outcome outcome = calc::calculate(memory);
            expectedBoxes += memory.notices().size() - noticesBefore + (outcome.stop ? 1 : 0);
            ++(outcome.completed() ? completed : stopped);
            action = "计算";
            break;
        }
        default: { // 清零, or now and then 帮助
            if (monkey.pick(4) == 0) {
                QTest::mouseClick(test::control<QPushButton>(form, "Command2"), Qt::LeftButton);
                ++expectedBoxes;
                action = "帮助";
            } else {
                QTest::mouseClick(test::control<QPushButton>(form, "Command3"), Qt::LeftButton);
                calc::qk(memory);
                action = "清零";
            }
            break;
        }
        }
        ASSERT_EQ(test::snapshot(form.sheet()), test::snapshot(memory))
            << "after step " << step << ": " << action;
        ASSERT_EQ(boxes.shown.size(), expectedBoxes) << "after step " << step << ": " << action;
    }
    EXPECT_TRUE(form.isVisible());
    // The walk reached both ends of a calculation often, and the notice too.
    EXPECT_GT(completed, 50);
    EXPECT_GT(stopped, 50);
    EXPECT_FALSE(memory.notices().empty());
}

} // namespace
