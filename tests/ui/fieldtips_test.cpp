// What the window tells about each field when the user points at it, and how
// its captions agree with the table of fields that the messages use.
#include "calc/fields.h"
#include "fakes.h"
#include "ui/fieldnotes.h"
#include "ui/form1.h"

#include <QLabel>
#include <gtest/gtest.h>

namespace {

class FieldTipsTest : public ::testing::Test {
protected:
    QString tip(const char* name) { return test::control<QWidget>(form, name)->toolTip(); }

    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
};

const QString kRecordedOnly = QStringLiteral("仅作记录：不参与计算，不改变任何结果。");
const QString kComputedIfEmpty = QStringLiteral("留空时由“计算”求出；已填写时按所填数值使用");

TEST_F(FieldTipsTest, FieldsNoCalculationReadsSayTheyChangeNothing) {
    // 塌落度, 维勃稠度, 石子粒径, the sand-ratio frame's 石子 and 砂子, 砂密度 and
    // the four choices of 参数.
    for (const char* name : {"Text28", "Text27", "Text29", "Text16", "Text17", "Text19", "卵石",
                             "碎石", "细砂", "粗砂"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(tip(name).contains(kRecordedOnly));
        EXPECT_FALSE(tip(name).contains(kComputedIfEmpty));
    }
}

TEST_F(FieldTipsTest, BaseValuesSayAnEmptyFieldIsCalculatedAndAFilledOneKept) {
    // 混凝土配置强度, 水灰比, 灰水比, 水泥用量.
    for (const char* name : {"Text2", "Text8", "Text10", "Text4"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(tip(name).contains(kComputedIfEmpty));
        EXPECT_FALSE(tip(name).contains(kRecordedOnly));
    }
    EXPECT_TRUE(tip("Text4").contains(QStringLiteral("不小于 260")));
}

TEST_F(FieldTipsTest, InputsAndResultsClaimNeitherAndShowTheirUnit) {
    const std::pair<const char*, const char*> fields[] = {
        {"Text1", "MPa"},      {"Text3", "σ"},        {"Text5", "MPa"},     {"Text9", "γc"},
        {"Text15", "βs"},      {"Text18", "g/cm³"},   {"Text20", "质量法"}, {"Text21", "含水率"},
        {"Text25", "%"},       {"Text26", "kg/m³"},   {"Text11", "水泥"},   {"Text31", "砂"},
        {"option2", "质量法"}, {"option1", "体积法"},
    };
    for (const auto& [name, word] : fields) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(tip(name).contains(QString::fromUtf8(word)));
        EXPECT_FALSE(tip(name).contains(kRecordedOnly));
        EXPECT_FALSE(tip(name).contains(kComputedIfEmpty));
    }
}

TEST_F(FieldTipsTest, EveryLabelShowsTheCaptionMessagesUse) {
    int labelled = 0;
    for (QLabel* label : form.findChildren<QLabel*>()) {
        auto* field = qobject_cast<QLineEdit*>(label->buddy());
        if (!field) {
            continue;
        }
        ++labelled;
        const auto which = calc::textFieldByName(field->objectName().toStdString());
        ASSERT_TRUE(which.has_value());
        QString caption = label->text();
        if (caption.endsWith(u'：')) {
            caption.chop(1);
        }
        EXPECT_EQ(caption, ui::fieldTitle(*which)) << label->objectName().toStdString();
    }
    EXPECT_EQ(labelled, 25);
}

} // namespace
