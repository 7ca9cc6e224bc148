// The real window driven as a user drives it: start-up, the five buttons,
// and what the calculation shows through them.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "fakes.h"
#include "ui/form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class CommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.setBrowser([this](const QUrl& url) {
            opened.push_back(url);
            return browserStarts;
        });
        form.show();
    }

    void press(const char* name) {
        QTest::mouseClick(test::control<QPushButton>(form, name), Qt::LeftButton);
    }

    std::string text(calc::TextField field) { return form.sheet().text(field); }

    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    std::vector<QUrl> opened;
    bool browserStarts = true;
};

TEST_F(CommandsTest, StartUpShowsTheResetSheet) {
    calc::MemorySheet memory;
    calc::qk(memory);
    EXPECT_EQ(test::snapshot(form.sheet()), test::snapshot(memory));
    EXPECT_EQ(text(calc::Text1), "20");
    EXPECT_EQ(text(calc::Text11), "水泥");
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CommandsTest, CalculateFromTheDefaults) {
    press("Command1");
    const std::pair<calc::TextField, const char*> expected[] = {
        {calc::Text2, "26.58"},     {calc::Text8, "0.52"},    {calc::Text10, "1.92"},
        {calc::Text4, "346.15"},    {calc::Text11, "346.15"}, {calc::Text12, "678.7865"},
        {calc::Text13, "1206.731"}, {calc::Text14, "180"},    {calc::Text30, "1.00"},
        {calc::Text31, "1.96"},     {calc::Text32, "3.49"},   {calc::Text33, "0.52"},
    };
    for (const auto& [field, value] : expected) {
        EXPECT_EQ(text(field), value) << calc::fieldName(field);
    }
    EXPECT_TRUE(boxes.shown.empty());

    // A second press recomputes the two rows from the same fields.
    const test::Snapshot once = test::snapshot(form.sheet());
    press("Command1");
    EXPECT_EQ(test::snapshot(form.sheet()), once);
}

// Cases typed into the window and set on an in-memory sheet: the window
// must end exactly as the memory sheet does.
TEST_F(CommandsTest, WindowCalculatesAsTheMemorySheet) {
    struct Case {
        const char* what;
        bool massMethod;
        std::vector<std::pair<calc::TextField, const char*>> entries;
    };
    const Case cases[] = {
        {"mass method",
         true,
         {{calc::Text20, "2400"}, {calc::Text15, "0.36"}, {calc::Text4, "382.98"}}},
        {"mass method with moisture",
         true,
         {{calc::Text20, "2400"},
          {calc::Text15, "0.36"},
          {calc::Text4, "382.98"},
          {calc::Text21, "0.03"},
          {calc::Text24, "0.01"}}},
        {"volume method with moisture", false, {{calc::Text21, "0.03"}, {calc::Text24, "0.01"}}},
        {"typed water-cement ratio", false, {{calc::Text8, "0.45"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        press("Command3");
        calc::MemorySheet memory;
        calc::qk(memory);
        if (c.massMethod) {
            QTest::mouseClick(test::control<QRadioButton>(form, "option2"), Qt::LeftButton);
            memory.select(calc::Option::option2);
        } else {
            QTest::mouseClick(test::control<QRadioButton>(form, "option1"), Qt::LeftButton);
            memory.select(calc::Option::option1);
        }
        for (const auto& [field, value] : c.entries) {
            test::type(form, calc::fieldName(field).c_str(), QString::fromUtf8(value));
            memory.setText(field, value);
        }
        press("Command1");
        EXPECT_TRUE(calc::calculate(memory).completed());
        EXPECT_EQ(test::snapshot(form.sheet()), test::snapshot(memory));
        EXPECT_TRUE(boxes.shown.empty());
        // The proportion row was written by this calculation.
        EXPECT_FALSE(text(calc::Text30).empty());
    }
}

TEST_F(CommandsTest, SmallCementContentGivesTheNoticeOnce) {
    test::type(form, "Text26", QStringLiteral("120"));
    press("Command1");
    ASSERT_EQ(boxes.shown.size(), 1u);
    const ui::MessageBox notice{QMessageBox::NoIcon, QStringLiteral("普通澜石"),
                                QStringLiteral("水泥用量小于最小值 故取260")};
    EXPECT_EQ(boxes.shown[0], notice);
    EXPECT_EQ(text(calc::Text4), "260");
    EXPECT_EQ(text(calc::Text11), "260");
}

TEST_F(CommandsTest, ClearAfterCalculationKeepsTheProportions) {
    QTest::mouseClick(test::control<QRadioButton>(form, "粗砂"), Qt::LeftButton);
    QTest::mouseClick(test::control<QCheckBox>(form, "碎石"), Qt::LeftButton);
    test::type(form, "Text16", QStringLiteral("5-25"));
    press("Command1");
    const std::vector<std::string> proportions = {"1.00", "1.96", "3.49", "0.52"};

    press("Command3");
    calc::MemorySheet memory;
    calc::qk(memory);
    for (int n = 30; n <= 33; ++n) {
        memory.setText(static_cast<calc::TextField>(n), proportions[n - 30]);
    }
    memory.setChecked(calc::Check::碎石, true);
    EXPECT_EQ(test::snapshot(form.sheet()), test::snapshot(memory));
}

TEST_F(CommandsTest, HelpShowsItsBoxAndChangesNothing) {
    test::type(form, "Text27", QStringLiteral("20"));
    press("Command1");
    const test::Snapshot before = test::snapshot(form.sheet());
    press("Command2");
    ASSERT_EQ(boxes.shown.size(), 1u);
    const ui::MessageBox help{QMessageBox::NoIcon, QStringLiteral("青禾工作室"),
                              QStringLiteral("澜石")};
    EXPECT_EQ(boxes.shown[0], help);
    EXPECT_EQ(test::snapshot(form.sheet()), before);
}

TEST_F(CommandsTest, TypingAndChoosingStartNothing) {
    const test::Snapshot before = test::snapshot(form.sheet());
    test::type(form, "Text1", QStringLiteral("30"));
    QTest::mouseClick(test::control<QRadioButton>(form, "option2"), Qt::LeftButton);
    QTest::mouseClick(test::control<QCheckBox>(form, "碎石"), Qt::LeftButton);

    test::Snapshot expected = before;
    expected.texts[0] = "30";
    expected.options = {false, true, true, false};
    expected.checks = {true, true};
    EXPECT_EQ(test::snapshot(form.sheet()), expected);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(opened.empty());
}

// A stop names the field in the words of the window and puts the user on it.
TEST_F(CommandsTest, StopIsReportedAndTheFieldConcernedHasTheFocus) {
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, const char*>> entries;
        bool massMethod;
        const char* focus;
        const char* report;
    };
    const Case cases[] = {
        {"not a number",
         {{"Text8", "abc"}},
         false,
         "Text8",
         "计算中止：“水灰比”的内容不是有效数字。\n（第三步读取此项时）"},
        {"zero divisor",
         {{"Text8", "0"}},
         false,
         "Text8",
         "计算中止：第三步 中除数为零（“水灰比”为 0）。"},
        {"mass method without concrete density",
         {},
         true,
         "Text20",
         "计算中止：“砼密度”的内容不是有效数字。\n（质量法读取此项时）"},
        {"moisture not a number",
         {{"Text21", "0.03"}, {"Text24", "1%"}},
         false,
         "Text24",
         "计算中止：“石子w”的内容不是有效数字。\n（含水率调整读取此项时）"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        press("Command3");
        boxes.shown.clear();
        QTest::mouseClick(test::control<QRadioButton>(form, c.massMethod ? "option2" : "option1"),
                          Qt::LeftButton);
        for (const auto& [name, value] : c.entries) {
            test::type(form, name, QString::fromUtf8(value));
        }
        test::control<QPushButton>(form, "Command1")->setFocus();
        const std::string concerned = form.sheet().text(*calc::textFieldByName(c.focus));

        press("Command1");
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].icon, QMessageBox::Warning);
        EXPECT_EQ(boxes.shown[0].title, QStringLiteral("普通澜石"));
        EXPECT_EQ(boxes.shown[0].text, QString::fromUtf8(c.report));

        auto* field = test::control<QLineEdit>(form, c.focus);
        EXPECT_EQ(form.focusWidget(), field);
        EXPECT_EQ(field->selectedText().toStdString(), concerned);
    }
}

TEST_F(CommandsTest, StopKeepsWhatWasWrittenBeforeIt) {
    QTest::mouseClick(test::control<QRadioButton>(form, "option2"), Qt::LeftButton);
    press("Command1");
    EXPECT_EQ(text(calc::Text2), "26.58");
    EXPECT_EQ(text(calc::Text4), "346.15");
    EXPECT_EQ(text(calc::Text11), "水泥"); // the method never ran
    EXPECT_EQ(text(calc::Text30), "");
}

TEST_F(CommandsTest, MoreSoftwareOpensTheMakersPageEachPress) {
    const test::Snapshot before = test::snapshot(form.sheet());
    press("Command5");
    press("Command5");
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], QUrl(QStringLiteral("https://github.com/qinghestudio")));
    EXPECT_EQ(opened[1], opened[0]);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(test::snapshot(form.sheet()), before);
}

TEST_F(CommandsTest, MoreSoftwareSaysSoWhenNoBrowserStarts) {
    browserStarts = false;
    const test::Snapshot before = test::snapshot(form.sheet());
    press("Command5");
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].title, QStringLiteral("普通澜石"));
    EXPECT_TRUE(boxes.shown[0].text.contains(u"https://github.com/qinghestudio"));
    EXPECT_EQ(test::snapshot(form.sheet()), before);
}

TEST_F(CommandsTest, ExitEndsTheEventLoopAtOnce) {
    QTimer::singleShot(0, &form, [this] { press("Command4"); });
    // Should 退出 fail to end the loop, end it from here with another code.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(boxes.shown.empty());
}

} // namespace
