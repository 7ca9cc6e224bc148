// The design sheet over the window's controls: what the calculation writes
// shows in the control, what the user types is what the calculation reads,
// and the regional settings come from the locale.
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "fakes.h"
#include "ui/form1.h"
#include "ui/regional.h"

#include <QCheckBox>
#include <QLocale>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override { form.show(); }

    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
};

TEST_F(BindingTest, TextWrittenThroughTheSheetShowsInTheField) {
    struct Case {
        calc::TextField field;
        const char* name;
        std::string text;
    };
    const Case cases[] = {
        {calc::Text8, "Text8", "0.52"},
        {calc::Text12, "Text12", "砂"},
        {calc::Text30, "Text30", ""},
        {calc::Text2, "Text2", "  26.58 "}, // blanks are kept, not trimmed
        {calc::Text13, "Text13", "1.234568E+07"},
        {calc::Text3, "Text3", "σ = 4 MPa，±0.5"}, // any Unicode text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.sheet().setText(c.field, c.text);
        EXPECT_EQ(test::control<QLineEdit>(form, c.name)->text(), QString::fromStdString(c.text));
        EXPECT_EQ(form.sheet().text(c.field), c.text);
    }
}

TEST_F(BindingTest, WhatTheUserTypesIsWhatTheSheetReads) {
    test::type(form, "Text20", QStringLiteral("2400"));
    EXPECT_EQ(form.sheet().text(calc::Text20), "2400");
    test::type(form, "Text15", QStringLiteral("0.3"));
    QTest::keyClick(test::control<QLineEdit>(form, "Text15"), Qt::Key_5);
    EXPECT_EQ(form.sheet().text(calc::Text15), "0.35");
    test::type(form, "Text8", QString());
    EXPECT_EQ(form.sheet().text(calc::Text8), "");
    // A blank alone is a text, not an empty field.
    test::type(form, "Text2", QStringLiteral(" "));
    EXPECT_EQ(form.sheet().text(calc::Text2), " ");
}

TEST_F(BindingTest, ChoicesFollowTheSheetAndTheUser) {
    calc::Sheet& sheet = form.sheet();
    sheet.select(calc::Option::option2);
    EXPECT_TRUE(test::control<QRadioButton>(form, "option2")->isChecked());
    EXPECT_FALSE(test::control<QRadioButton>(form, "option1")->isChecked());
    sheet.select(calc::Option::粗砂);
    EXPECT_TRUE(test::control<QRadioButton>(form, "粗砂")->isChecked());
    EXPECT_FALSE(sheet.isSelected(calc::Option::细砂));
    EXPECT_TRUE(sheet.isSelected(calc::Option::option2));

    QTest::mouseClick(test::control<QRadioButton>(form, "option1"), Qt::LeftButton);
    EXPECT_TRUE(sheet.isSelected(calc::Option::option1));
    EXPECT_FALSE(sheet.isSelected(calc::Option::option2));

    sheet.setChecked(calc::Check::碎石, true);
    EXPECT_TRUE(test::control<QCheckBox>(form, "碎石")->isChecked());
    QTest::mouseClick(test::control<QCheckBox>(form, "卵石"), Qt::LeftButton);
    EXPECT_FALSE(sheet.isChecked(calc::Check::卵石));
    EXPECT_TRUE(sheet.isChecked(calc::Check::碎石));
}

// The window before its load and after a reset holds exactly what the
// in-memory sheet holds after the same steps.
TEST(BindingStartTest, WindowAndMemorySheetStartAndResetAlike) {
    test::FakeBoxes boxes;
    ui::Form1 form(calc::NumberFormat{}, boxes);
    calc::MemorySheet memory;
    EXPECT_EQ(test::snapshot(form.sheet()), test::snapshot(memory));

    form.sheet().setChecked(calc::Check::碎石, true);
    memory.setChecked(calc::Check::碎石, true);
    calc::qk(form.sheet());
    calc::qk(memory);
    EXPECT_EQ(test::snapshot(form.sheet()), test::snapshot(memory));
}

TEST(BindingStartTest, SheetKeepsTheNumberFormatItWasGiven) {
    test::FakeBoxes boxes;
    const calc::NumberFormat german{",", ".", 3, "-"};
    ui::Form1 form(german, boxes);
    EXPECT_EQ(form.sheet().numberFormat(), german);
    // The reset writes its decimal defaults with the regional symbol.
    calc::qk(form.sheet());
    EXPECT_EQ(form.sheet().text(calc::Text5), "32,5");
}

TEST(RegionalTest, NumberFormatComesFromTheLocale) {
    struct Case {
        QLocale locale;
        calc::NumberFormat expected;
    };
    const Case cases[] = {
        {QLocale::c(), {".", ",", 3, "-"}},
        {QLocale(QLocale::English, QLocale::UnitedStates), {".", ",", 3, "-"}},
        {QLocale(QLocale::Chinese, QLocale::China), {".", ",", 3, "-"}},
        {QLocale(QLocale::German, QLocale::Germany), {",", ".", 3, "-"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        EXPECT_EQ(ui::numberFormatOf(c.locale), c.expected);
    }
}

} // namespace
