// The window by keyboard: Return and Enter on a focused button, Return in a
// field, and where the focus starts.
#include "fakes.h"
#include "ui/form1.h"
#include "ui/keyboard.h"

#include <QApplication>
#include <QButtonGroup>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setBrowser([this](const QUrl&) {
            ++browsers;
            return true;
        });
        form.show();
    }

    QPushButton* focused(const char* name) {
        auto* button = test::control<QPushButton>(form, name);
        button->setFocus(Qt::TabFocusReason);
        return button;
    }

    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    int browsers = 0;
};

TEST_F(KeyboardTest, ReturnAndEnterClickTheFocusedButton) {
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    const Case keys[] = {
        {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Enter, Qt::KeypadModifier},
        {Qt::Key_Enter, Qt::NoModifier},
    };
    for (const Case& c : keys) {
        SCOPED_TRACE(c.key);
        form.sheet().setText(calc::Text2, "");
        QTest::keyClick(focused("Command1"), c.key, c.modifiers);
        EXPECT_EQ(form.sheet().text(calc::Text2), "26.58");

        QTest::keyClick(focused("Command3"), c.key, c.modifiers);
        EXPECT_EQ(form.sheet().text(calc::Text2), "");

        const std::size_t shown = boxes.shown.size();
        QTest::keyClick(focused("Command2"), c.key, c.modifiers);
        EXPECT_EQ(boxes.shown.size(), shown + 1);
    }
    QTest::keyClick(focused("Command5"), Qt::Key_Return);
    EXPECT_EQ(browsers, 1);
}

TEST_F(KeyboardTest, SpaceStillClicksAndOtherKeysDoNot) {
    QTest::keyClick(focused("Command2"), Qt::Key_Space);
    EXPECT_EQ(boxes.shown.size(), 1u);
    // Ctrl+Return and Alt+Return are left to shortcuts; a letter does nothing.
    for (const auto modifier : {Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier}) {
        QTest::keyClick(focused("Command2"), Qt::Key_Return, modifier);
    }
    QTest::keyClick(focused("Command2"), Qt::Key_A);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

TEST_F(KeyboardTest, AHeldReturnClicksOnce) {
    QPushButton* help = focused("Command2");
    QTest::keyPress(help, Qt::Key_Return);
    for (int i = 0; i < 3; ++i) {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"),
                         true);
        QApplication::sendEvent(help, &repeat);
    }
    QTest::keyRelease(help, Qt::Key_Return);
    EXPECT_EQ(boxes.shown.size(), 1u);
}

// Return reaches the buttons by autoDefault, which a style may draw as room
// for a default frame: each button looks exactly as it would without it.
TEST_F(KeyboardTest, ButtonsThatAnswerReturnAreDrawnAsBefore) {
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        ASSERT_TRUE(button->autoDefault());
        const QImage answering = button->grab().toImage();
        button->setAutoDefault(false);
        const QImage plain = button->grab().toImage();
        button->setAutoDefault(true);
        EXPECT_EQ(answering, plain);
    }
}

TEST_F(KeyboardTest, ReturnInAFieldOrOnAChoiceStartsNothing) {
    const test::Snapshot before = test::snapshot(form.sheet());
    for (const char* name : {"Text1", "Text2", "Text33", "细砂", "卵石", "option2"}) {
        auto* control = test::control<QWidget>(form, name);
        control->setFocus(Qt::TabFocusReason);
        QTest::keyClick(control, Qt::Key_Return);
        QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_EQ(test::snapshot(form.sheet()), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(browsers, 0);
}

TEST_F(KeyboardTest, FocusStartsVisiblyOnTheSelectedSandOption) {
    // The first tab stop is 粗砂, an unselected member of the sand group: the
    // focus goes to the group's selected member, 细砂.
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    auto* fine = test::control<QRadioButton>(form, "细砂");
    EXPECT_EQ(QApplication::focusWidget(), fine);
    QStyleOptionButton option;
    option.initFrom(fine);
    EXPECT_TRUE(option.state & QStyle::State_HasFocus);
    EXPECT_TRUE(option.state & QStyle::State_KeyboardFocusChange);
}

TEST(FirstFocusTest, FollowsTheFirstTabStopAndTheSelectionOfItsGroup) {
    struct Case {
        const char* name;
        bool textFirst;   // a text field is the first tab stop
        int checked;      // which of the two options is selected, -1 for none
        const char* want; // the control that takes the focus
    };
    const Case cases[] = {
        {"text field first", true, 1, "edit"},
        {"group, second selected", false, 1, "b"},
        {"group, first selected", false, 0, "a"},
        {"group, none selected", false, -1, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The focus chain follows the order in which the controls are made;
        // a hidden field comes first and is never a stop.
        QWidget window;
        auto* hidden = new QLineEdit(&window);
        hidden->hide();
        QLineEdit* edit = nullptr;
        const auto makeEdit = [&] {
            edit = new QLineEdit(&window);
            edit->setObjectName(QStringLiteral("edit"));
            edit->move(0, 40);
        };
        if (c.textFirst) {
            makeEdit();
        }
        auto* a = new QRadioButton(QStringLiteral("a"), &window);
        a->setObjectName(QStringLiteral("a"));
        auto* b = new QRadioButton(QStringLiteral("b"), &window);
        b->setObjectName(QStringLiteral("b"));
        b->move(0, 20);
        if (!c.textFirst) {
            makeEdit();
        }
        auto* group = new QButtonGroup(&window);
        group->addButton(a);
        group->addButton(b);
        if (c.checked >= 0) {
            (c.checked == 0 ? a : b)->setChecked(true);
        }
        window.show();
        ui::focusFirstStop(window);
        ASSERT_NE(window.focusWidget(), nullptr);
        EXPECT_EQ(window.focusWidget()->objectName().toStdString(), c.want);
        EXPECT_TRUE(window.testAttribute(Qt::WA_KeyboardFocusChange));
    }
}

} // namespace
