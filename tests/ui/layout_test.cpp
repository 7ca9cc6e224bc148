// The window as the user meets it before anything has run: every control by
// name, of its kind, with its caption or start text and its rectangle in
// pixels; the stacking, the tab order and the look of the labels.
//
// The expected figures are written out here in pixels, apart from the layout
// table in twips that they check.
#include "fakes.h"
#include "ui/form1.h"
#include "ui/layout.h"

#include <algorithm>
#include <limits>
#include <map>
#include <numeric>
#include <vector>

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

enum Kind { Frame, Label, Line, Radio, Check, Button };

struct Expected {
    const char* name;
    Kind kind;
    const char* frame; // "" for the client area
    const char* caption;
    int x, y, width, height; // pixels
};

const Expected kControls[] = {
    {"Frame1", Frame, "", "混凝土配置强度", 0, 0, 233, 99},
    {"Frame2", Frame, "", "确定单位用水量", 0, 150, 129, 117},
    {"Frame3", Frame, "", "水泥用量", 0, 100, 129, 49},
    {"Frame4", Frame, "", "确定水灰比(W/C)", 232, 0, 177, 121},
    {"Frame5", Frame, "", "确定砂率", 408, 0, 129, 121},
    {"Frame6", Frame, "", "参数", 130, 98, 105, 93},
    {"Frame7", Frame, "", "混凝土配合比", 236, 120, 299, 71},
    {"Frame8", Frame, "", "计算砂石用量", 130, 192, 257, 139},
    {"Frame9", Frame, "", "关于", 386, 192, 151, 139},
    {"Label26", Label, "", "南坞技师学院 高工11-5", 24, 288, 89, 25},
    {"Text1", Line, "Frame1", "Text1", 144, 22, 61, 18},
    {"Label1", Label, "Frame1", "混凝土强度等级(Fcu,k)：", 8, 24, 145, 17},
    {"Text2", Line, "Frame1", "Text2", 144, 44, 61, 18},
    {"Label2", Label, "Frame1", "混凝土配置强度：", 8, 48, 97, 17},
    {"Text3", Line, "Frame1", "Text3", 54, 68, 61, 18},
    {"Label3", Label, "Frame1", "σ取值：", 8, 72, 49, 17},
    {"Label4", Label, "Frame2", "用水量", 24, 16, 41, 17},
    {"Text26", Line, "Frame2", "Text26", 64, 16, 61, 18},
    {"Text27", Line, "Frame2", "Text27", 64, 44, 61, 18},
    {"Label5", Label, "Frame2", "维勃稠度", 14, 46, 49, 17},
    {"Label6", Label, "Frame2", "塌落度", 24, 72, 41, 25},
    {"Text28", Line, "Frame2", "Text28", 64, 72, 61, 18},
    {"Text29", Line, "Frame2", "Text29", 64, 96, 61, 18},
    {"Label7", Label, "Frame2", "石子粒径", 12, 98, 49, 17},
    {"Text4", Line, "Frame3", "Text4", 60, 22, 61, 18},
    {"Label8", Label, "Frame3", "水泥用量", 8, 24, 49, 17},
    {"Label9", Label, "Frame4", "水泥28天强度", 8, 16, 97, 25},
    {"Text5", Line, "Frame4", "Text5", 96, 16, 61, 18},
    {"Label10", Label, "Frame4", "A", 12, 40, 9, 17},
    {"Text6", Line, "Frame4", "Text6", 24, 40, 61, 18},
    {"Text7", Line, "Frame4", "Text7", 98, 40, 61, 18},
    {"Label11", Label, "Frame4", "B", 88, 44, 17, 17},
    {"Text8", Line, "Frame4", "Text8", 48, 70, 61, 18},
    {"Label14", Label, "Frame4", "富裕系数", 118, 70, 49, 17},
    {"Label12", Label, "Frame4", "水灰比", 8, 72, 41, 25},
    {"Text9", Line, "Frame4", "Text9", 112, 94, 61, 18},
    {"Label13", Label, "Frame4", "灰水比", 8, 96, 57, 17},
    {"Text10", Line, "Frame4", "Text10", 48, 96, 61, 18},
    {"Label15", Label, "Frame5", "砂率", 14, 24, 33, 13},
    {"Text15", Line, "Frame5", "Text15", 40, 24, 61, 18},
    {"Text16", Line, "Frame5", "Text16", 40, 48, 61, 18},
    {"Label16", Label, "Frame5", "石子", 14, 52, 27, 15},
    {"Text17", Line, "Frame5", "Text17", 40, 72, 61, 18},
    {"Label17", Label, "Frame5", "砂子", 16, 80, 27, 15},
    {"细砂", Radio, "Frame6", "细砂", 8, 16, 49, 25},
    {"卵石", Check, "Frame6", "卵石", 56, 16, 47, 17},
    {"粗砂", Radio, "Frame6", "粗砂", 8, 40, 49, 25},
    {"碎石", Check, "Frame6", "碎石", 56, 40, 45, 25},
    {"Text11", Line, "Frame7", "Text11", 10, 24, 61, 18},
    {"Text12", Line, "Frame7", "Text12", 76, 24, 61, 18},
    {"Text13", Line, "Frame7", "Text13", 148, 24, 61, 18},
    {"Text14", Line, "Frame7", "Text14", 218, 24, 61, 18},
    {"Text30", Line, "Frame7", "", 10, 48, 61, 18},
    {"Text31", Line, "Frame7", "", 76, 48, 61, 18},
    {"Text32", Line, "Frame7", "", 148, 48, 61, 18},
    {"Text33", Line, "Frame7", "", 218, 48, 61, 18},
    {"option2", Radio, "Frame8", "质量法", 176, 8, 57, 25},
    {"option1", Radio, "Frame8", "体积法", 8, 16, 57, 17},
    {"Text18", Line, "Frame8", "Text18", 60, 38, 61, 18},
    {"Text22", Line, "Frame8", "Text22", 186, 38, 61, 18},
    {"Label18", Label, "Frame8", "水泥密度", 8, 40, 57, 17},
    {"Label22", Label, "Frame8", "石子密度", 136, 40, 57, 17},
    {"Text19", Line, "Frame8", "Text19", 60, 62, 61, 18},
    {"Text23", Line, "Frame8", "Text23", 186, 62, 61, 18},
    {"Label19", Label, "Frame8", "砂密度", 16, 64, 41, 17},
    {"Label23", Label, "Frame8", "水密度", 144, 64, 41, 17},
    {"Label24", Label, "Frame8", "石子w", 148, 84, 35, 17},
    {"Text24", Line, "Frame8", "Text24", 186, 84, 61, 18},
    {"Label20", Label, "Frame8", "砼密度", 16, 88, 41, 17},
    {"Text20", Line, "Frame8", "Text20", 60, 88, 61, 18},
    {"Text25", Line, "Frame8", "Text25", 186, 108, 61, 18},
    {"Text21", Line, "Frame8", "Text21", 60, 110, 61, 18},
    {"Label21", Label, "Frame8", "砂子w", 24, 112, 33, 17},
    {"Label25", Label, "Frame8", "砼含气量", 136, 112, 49, 17},
    {"Command1", Button, "Frame9", "计算", 18, 16, 57, 25},
    {"Command2", Button, "Frame9", "帮助", 86, 16, 57, 25},
    {"Command3", Button, "Frame9", "清零", 18, 48, 57, 25},
    {"Command4", Button, "Frame9", "退出", 86, 48, 57, 25},
    {"Command5", Button, "Frame9", "更多软件", 40, 88, 81, 17},
    {"Label27", Label, "Frame9", "青禾工作室", 48, 120, 73, 17},
};

const char* className(Kind kind) {
    switch (kind) {
    case Frame:
        return "QGroupBox";
    case Label:
        return "QLabel";
    case Line:
        return "QLineEdit";
    case Radio:
        return "QRadioButton";
    case Check:
        return "QCheckBox";
    case Button:
        return "QPushButton";
    }
    return "";
}

QString captionOf(const QWidget* w) {
    if (auto* frame = qobject_cast<const QGroupBox*>(w)) {
        return frame->title();
    }
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (auto* field = qobject_cast<const QLineEdit*>(w)) {
        return field->text();
    }
    return {};
}

class LayoutTest : public ::testing::Test {
protected:
    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
};

TEST_F(LayoutTest, EveryControlHasItsNameKindCaptionAndRectangle) {
    for (const Expected& e : kControls) {
        SCOPED_TRACE(e.name);
        QWidget* w = form.findChild<QWidget*>(QString::fromUtf8(e.name));
        ASSERT_NE(w, nullptr);
        EXPECT_STREQ(w->metaObject()->className(), className(e.kind));
        const QString parent = *e.frame ? QString::fromUtf8(e.frame) : QString();
        EXPECT_EQ(w->parentWidget() == &form ? QString() : w->parentWidget()->objectName(), parent);
        EXPECT_EQ(captionOf(w), QString::fromUtf8(e.caption));
        EXPECT_EQ(w->geometry(), QRect(e.x, e.y, e.width, e.height));
    }
}

TEST_F(LayoutTest, DrawsInOneChineseFaceAtTwelvePixels) {
    if (!QFontDatabase::hasFamily(QStringLiteral("WenQuanYi Micro Hei"))) {
        GTEST_SKIP() << "WenQuanYi Micro Hei is not installed";
    }
    // The face alone, no list of faces behind it: every caption and start
    // text is in it, and a list costs the start-up fontconfig's fallbacks.
    EXPECT_EQ(form.font().families(), QStringList{QStringLiteral("WenQuanYi Micro Hei")});
    EXPECT_EQ(form.font().pixelSize(), 12);
    EXPECT_EQ(test::control<QLineEdit>(form, "Text1")->font().families(), form.font().families());
}

TEST_F(LayoutTest, HasExactlyTheEightyControls) {
    int named = 0;
    for (QWidget* w : form.findChildren<QWidget*>()) {
        // The foot of findings is no control of the classic window: it is
        // added below it, and hidden while there is nothing to say.
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(u"qt_") &&
            w->objectName() != u"findings") {
            ++named;
        }
    }
    EXPECT_EQ(named, 80);
    EXPECT_EQ(form.findChildren<QGroupBox*>().size(), 9);
    EXPECT_EQ(form.findChildren<QLineEdit*>().size(), 33);
    EXPECT_EQ(form.findChildren<QRadioButton*>().size(), 4);
    EXPECT_EQ(form.findChildren<QCheckBox*>().size(), 2);
    EXPECT_EQ(form.findChildren<QPushButton*>().size(), 5);
}

TEST_F(LayoutTest, WindowHasItsCaptionFixedSizeAndIcon) {
    EXPECT_EQ(form.windowTitle(), QString::fromUtf8("澜石    2011423 Beta 1  By\uff1a舟岚"));
    EXPECT_EQ(form.minimumSize(), QSize(536, 331));
    EXPECT_EQ(form.maximumSize(), QSize(536, 331));
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_FALSE(form.windowIcon().pixmap(32, 32).isNull());
    EXPECT_EQ(test::control<QLabel>(form, "Label26")->palette().color(QPalette::WindowText),
              QColor(0, 0, 192));
    // A QObject of its own type, so that qobject_cast and the meta-object see it.
    QWidget* widget = &form;
    EXPECT_EQ(qobject_cast<ui::Form1*>(widget), &form);
    EXPECT_STREQ(form.metaObject()->className(), "ui::Form1");
}

TEST_F(LayoutTest, StartsWithTheLayoutsTextsAndChoices) {
    for (int n = 1; n <= 33; ++n) {
        const QString name = QStringLiteral("Text%1").arg(n);
        EXPECT_EQ(form.findChild<QLineEdit*>(name)->text(), n <= 29 ? name : QString()) << n;
    }
    const std::map<const char*, bool> choices = {
        {"细砂", true},     {"粗砂", false}, {"option1", false},
        {"option2", false}, {"卵石", true},  {"碎石", false},
    };
    for (const auto& [name, on] : choices) {
        EXPECT_EQ(test::control<QAbstractButton>(form, name)->isChecked(), on) << name;
    }
}

TEST_F(LayoutTest, FocusVisitsControlsByTabIndex) {
    QStringList expected = {"粗砂",    "细砂",     "碎石",     "卵石",     "option1",
                            "option2", "Command1", "Command2", "Command3", "Command4"};
    for (int n = 1; n <= 33; ++n) {
        expected << QStringLiteral("Text%1").arg(n);
    }
    expected << "Command5";

    // Walk the focus chain once round from the first stop.
    QWidget* first = form.findChild<QWidget*>(QStringLiteral("粗砂"));
    QStringList visited;
    QWidget* w = first;
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            visited << w->objectName();
        }
        w = w->nextInFocusChain();
    } while (w != first && visited.size() <= expected.size());
    EXPECT_EQ(visited, expected);
}

// The order of the focus must not rest on how a sort treats two equal
// indexes: each of 0..79 belongs to exactly one row.
TEST(LayoutTable, TabIndexesAreZeroToSeventyNineEachUsedOnce) {
    std::vector<int> indexes;
    for (const ui::ControlRow& row : ui::formLayout()) {
        indexes.push_back(row.tabIndex);
    }
    std::sort(indexes.begin(), indexes.end());
    std::vector<int> expected(80);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(indexes, expected);
}

TEST_F(LayoutTest, OptionGroupsAreExclusiveWithinTheirFrame) {
    auto* option1 = test::control<QRadioButton>(form, "option1");
    auto* option2 = test::control<QRadioButton>(form, "option2");
    auto* fine = test::control<QRadioButton>(form, "细砂");
    auto* coarse = test::control<QRadioButton>(form, "粗砂");
    form.show();

    QTest::mouseClick(option2, Qt::LeftButton);
    EXPECT_TRUE(option2->isChecked());
    EXPECT_FALSE(option1->isChecked());
    QTest::mouseClick(option1, Qt::LeftButton);
    EXPECT_TRUE(option1->isChecked());
    EXPECT_FALSE(option2->isChecked());
    EXPECT_TRUE(fine->isChecked()); // the other group is untouched

    QTest::mouseClick(coarse, Qt::LeftButton);
    EXPECT_TRUE(coarse->isChecked());
    EXPECT_FALSE(fine->isChecked());
    EXPECT_TRUE(option1->isChecked());

    // Clicking the selected member keeps it selected.
    QTest::mouseClick(coarse, Qt::LeftButton);
    EXPECT_TRUE(coarse->isChecked());
}

TEST_F(LayoutTest, CheckBoxesAreIndependentAndTwoState) {
    auto* pebble = test::control<QCheckBox>(form, "卵石");
    auto* crushed = test::control<QCheckBox>(form, "碎石");
    form.show();
    EXPECT_FALSE(pebble->isTristate());
    EXPECT_FALSE(crushed->isTristate());

    QTest::mouseClick(crushed, Qt::LeftButton);
    EXPECT_TRUE(crushed->isChecked());
    EXPECT_TRUE(pebble->isChecked());
    QTest::mouseClick(pebble, Qt::LeftButton);
    QTest::mouseClick(pebble, Qt::LeftButton);
    QTest::mouseClick(pebble, Qt::LeftButton);
    EXPECT_EQ(pebble->checkState(), Qt::Unchecked);
    EXPECT_TRUE(crushed->isChecked());
}

TEST_F(LayoutTest, TextFieldsAreEditableWithoutLengthLimit) {
    for (QLineEdit* field : form.findChildren<QLineEdit*>()) {
        SCOPED_TRACE(field->objectName().toStdString());
        EXPECT_FALSE(field->isReadOnly());
        EXPECT_TRUE(field->isEnabled());
        EXPECT_EQ(field->echoMode(), QLineEdit::Normal);
        EXPECT_TRUE(field->alignment() & Qt::AlignLeft);
        EXPECT_EQ(field->maxLength(), std::numeric_limits<int>::max());
    }
    // Beyond Qt's usual 32767, through the sheet and by typing.
    const std::string longText(100000, '7');
    form.sheet().setText(calc::Text30, longText);
    EXPECT_EQ(form.sheet().text(calc::Text30), longText);
    form.show();
    auto* field = test::control<QLineEdit>(form, "Text30");
    field->setFocus();
    field->end(false);
    QTest::keyClicks(field, "8");
    EXPECT_EQ(field->text().size(), 100001);
}

// Labels reach under the field beside them; wherever they do, the field is
// what the user sees and clicks.
TEST_F(LayoutTest, FieldsLieOverTheLabelsTheyOverlap) {
    QStringList overlapping;
    for (QLabel* label : form.findChildren<QLabel*>()) {
        for (QLineEdit* field : form.findChildren<QLineEdit*>()) {
            if (field->parentWidget() != label->parentWidget()) {
                continue;
            }
            const QRect shared = label->geometry() & field->geometry();
            if (shared.isEmpty()) {
                continue;
            }
            overlapping << label->objectName();
            EXPECT_EQ(field->parentWidget()->childAt(shared.center()), field)
                << label->objectName().toStdString() << " over "
                << field->objectName().toStdString();
        }
    }
    for (const char* name : {"Label1", "Label9", "Label11", "Label22"}) {
        EXPECT_TRUE(overlapping.contains(QString::fromUtf8(name))) << name;
    }
}

TEST_F(LayoutTest, LabelsWrapInsideTheirRectangleAndCaptionTheirFields) {
    const std::pair<const char*, const char*> captions[] = {
        {"Label1", "Text1"},   {"Label2", "Text2"},   {"Label3", "Text3"},   {"Label4", "Text26"},
        {"Label5", "Text27"},  {"Label6", "Text28"},  {"Label7", "Text29"},  {"Label8", "Text4"},
        {"Label9", "Text5"},   {"Label10", "Text6"},  {"Label11", "Text7"},  {"Label12", "Text8"},
        {"Label13", "Text10"}, {"Label14", "Text9"},  {"Label15", "Text15"}, {"Label16", "Text16"},
        {"Label17", "Text17"}, {"Label18", "Text18"}, {"Label19", "Text19"}, {"Label20", "Text20"},
        {"Label21", "Text21"}, {"Label22", "Text22"}, {"Label23", "Text23"}, {"Label24", "Text24"},
        {"Label25", "Text25"},
    };
    for (const auto& [labelName, fieldName] : captions) {
        auto* label = test::control<QLabel>(form, labelName);
        EXPECT_EQ(label->buddy(), test::control<QLineEdit>(form, fieldName)) << labelName;
    }
    form.show();
    for (QLabel* label : form.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_TRUE(label->wordWrap());
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_FALSE(label->text().contains(u'&'));
    }
    // Shown with a real font, a label keeps its rectangle whatever its text.
    auto* label1 = test::control<QLabel>(form, "Label1");
    EXPECT_EQ(label1->size(), QSize(145, 17));
    EXPECT_EQ(test::control<QLabel>(form, "Label26")->buddy(), nullptr);
    EXPECT_EQ(test::control<QLabel>(form, "Label27")->buddy(), nullptr);
}

TEST_F(LayoutTest, NoButtonAnswersEnterOrEscape) {
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        // autoDefault lets a focused button answer Return; being no
        // dialog, the window makes none of them its default.
        EXPECT_FALSE(button->isDefault());
    }
    form.show();
    const test::Snapshot before = test::snapshot(form.sheet());
    for (const char* name : {"Text1", "Text8", "Text31"}) {
        auto* field = test::control<QLineEdit>(form, name);
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QTest::keyClick(field, Qt::Key_Enter);
        QTest::keyClick(field, Qt::Key_Escape);
    }
    EXPECT_EQ(test::snapshot(form.sheet()), before);
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(form.isVisible());
}

} // namespace
