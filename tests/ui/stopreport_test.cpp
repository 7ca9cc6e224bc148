// The words of the report of a stopped calculation, for each way a stage can
// stop.
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "session/stopreport.h"
#include "ui/fieldnotes.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

using calc::Reason;
using calc::Stage;

calc::Stop readStop(Stage stage, calc::TextField field, Stage purpose,
                    Reason reason = Reason::NotANumber) {
    return {stage, field, reason, field, purpose};
}

calc::Stop faultStop(Stage stage, Reason reason, std::optional<calc::TextField> concerned) {
    return {stage, std::nullopt, reason, concerned, stage};
}

TEST(StopReportTest, SaysWhatStoppedWhereAndWhy) {
    struct Case {
        calc::Stop stop;
        std::vector<std::pair<calc::TextField, const char*>> sheet;
        const char* report;
    };
    const Case cases[] = {
        {readStop(Stage::第二步, calc::Text5, Stage::第二步),
         {},
         "计算中止：“水泥28天强度”的内容不是有效数字。\n（第二步读取此项时）"},
        {readStop(Stage::第一步, calc::Text1, Stage::第一步, Reason::Overflow),
         {},
         "计算中止：“混凝土强度等级(Fcu,k)”的数值超出范围。\n（第一步读取此项时）"},
        // Full-width digits, as an input method types them: the window keeps
        // refusing them and says why; a full-width point alone is no hint.
        {readStop(Stage::第二步, calc::Text5, Stage::第二步),
         {{calc::Text5, "４２．５"}},
         "计算中止：“水泥28天强度”的内容不是有效数字（请使用半角数字）。\n（第二步读取此项时）"},
        {readStop(Stage::第二步, calc::Text5, Stage::第二步),
         {{calc::Text5, "42．5"}},
         "计算中止：“水泥28天强度”的内容不是有效数字。\n（第二步读取此项时）"},
        {readStop(Stage::tijifa, calc::Text18, Stage::tijifa),
         {},
         "计算中止：“水泥密度”的内容不是有效数字。\n（体积法读取此项时）"},
        {readStop(Stage::calculate, calc::Text31, Stage::tiaozheng),
         {},
         "计算中止：“配合比中的砂”的内容不是有效数字。\n（含水率调整读取此项时）"},
        {readStop(Stage::calculate, calc::Text15, Stage::zhiliangfa),
         {},
         "计算中止：“砂率”的内容不是有效数字。\n（质量法读取此项时）"},
        {faultStop(Stage::第三步, Reason::DivisionByZero, calc::Text8),
         {{calc::Text8, "0"}},
         "计算中止：第三步 中除数为零（“水灰比”为 0）。"},
        // A zero written with decimals, as 第二步 writes it, is a zero too.
        {faultStop(Stage::第三步, Reason::DivisionByZero, calc::Text8),
         {{calc::Text8, "0.00"}},
         "计算中止：第三步 中除数为零（“水灰比”为 0）。"},
        {faultStop(Stage::tijifa, Reason::DivisionByZero, calc::Text15),
         {{calc::Text15, "1"}},
         "计算中止：体积法 中除数为零，请检查“砂率”。"},
        {faultStop(Stage::tjfjs, Reason::InvalidOperation, calc::Text4),
         {{calc::Text4, "0"}},
         "计算中止：体积法 中出现无效运算（如 0 除以 0），请检查“水泥用量”。"},
        {faultStop(Stage::zhiliangfa, Reason::Overflow, calc::Text4),
         {{calc::Text4, "1e30"}},
         "计算中止：质量法 中结果超出数值范围，请检查“水泥用量”。"},
        {faultStop(Stage::第二步, Reason::Overflow, std::nullopt),
         {},
         "计算中止：第二步 中结果超出数值范围。"},
    };
    for (const Case& c : cases) {
        calc::MemorySheet sheet;
        calc::qk(sheet);
        for (const auto& [field, value] : c.sheet) {
            sheet.setText(field, value);
        }
        EXPECT_EQ(session::stopReport(c.stop, sheet), c.report);
    }
}

TEST(StopReportTest, NamesEveryFieldAsTheUserSeesIt) {
    // A labelled field by its label's caption without the colon, an
    // unlabelled result field by what it holds.
    const std::pair<calc::TextField, const char*> names[] = {
        {calc::Text1, "混凝土强度等级(Fcu,k)"},
        {calc::Text3, "σ取值"},
        {calc::Text6, "A"},
        {calc::Text9, "富裕系数"},
        {calc::Text10, "灰水比"},
        {calc::Text21, "砂子w"},
        {calc::Text26, "用水量"},
        {calc::Text11, "每立方米水泥用量"},
        {calc::Text14, "每立方米用水量"},
        {calc::Text30, "配合比中的水泥"},
        {calc::Text31, "配合比中的砂"},
        {calc::Text33, "配合比中的水"},
    };
    for (const auto& [field, name] : names) {
        EXPECT_EQ(ui::fieldTitle(field).toStdString(), name);
    }
    // No message ever shows a control name, and no two fields share a name
    // that a message could confuse (Frame5's 石子/砂子 are recorded only and
    // never named by a stop, but are told apart from the result rows too).
    QSet<QString> seen;
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        const QString title = ui::fieldTitle(field);
        EXPECT_FALSE(title.isEmpty()) << n;
        EXPECT_FALSE(title.contains(QStringLiteral("Text"))) << n;
        EXPECT_FALSE(title.endsWith(u'：')) << n;
        EXPECT_TRUE(!seen.contains(title)) << title.toStdString();
        seen.insert(title);
    }
}

} // namespace
