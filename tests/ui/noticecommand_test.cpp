// 配合比通知单… in the classic window: refused with a box before there is a
// mix, its details asked, kept with the design (the caption marks them) and
// the notice copied.
#include "fakes.h"
#include "ui/form1.h"
#include "ui/noticecommand.h"
#include "ui/reportcommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class AnsweringDialogs final : public ui::NoticeDialogs {
public:
    std::optional<Answer> ask(QWidget*, const notice::Details& given) override {
        ++asked;
        proposed = given;
        return answer;
    }
    std::optional<Answer> answer;
    notice::Details proposed;
    int asked = 0;
};

class NoReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*, const ui::ReportDetails&) override {
        return std::nullopt;
    }
    QString askPdfPath(QWidget*, const QString&) override { return {}; }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override { ++previews; }
    int previews = 0;
};

TEST(NoticeCommandTest, AsksKeepsAndCopiesTheNoticeOfTheCalculatedMix) {
    test::FakeBoxes boxes;
    NoReportDialogs reports;
    AnsweringDialogs dialogs;
    ui::Form1 form(calc::NumberFormat{}, boxes);
    ui::NoticeCommand command(form, session::DocumentKind::classic, form.session(), boxes, reports,
                              dialogs);
    form.show();
    ASSERT_EQ(command.action()->shortcut().toString(), QStringLiteral("Ctrl+Shift+N"));

    command.action()->trigger();
    ASSERT_EQ(boxes.shown.size(), 1U) << "nothing calculated: no mix, no question";
    EXPECT_EQ(dialogs.asked, 0);

    QTest::mouseClick(test::control<QPushButton>(form, "Command1"), Qt::LeftButton);
    form.session().savedAs(form.session().saveBytes(), {.path = "/tmp/a.lanshi", .shown = "a"});
    ASSERT_FALSE(form.session().modified());
    notice::Details details;
    details.number = "PB-7";
    details.sandMoisture = 3.5;
    details.stoneMoisture = 0.5;
    details.batchVolume = 0.5;
    dialogs.answer = ui::NoticeDialogs::Answer{details, ui::NoticeDialogs::Use::Copy};
    command.action()->trigger();
    EXPECT_EQ(dialogs.asked, 1);
    EXPECT_EQ(form.session().noticeDetails(), details);
    EXPECT_TRUE(form.isWindowModified()) << "the details are part of the design file";
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.contains(QStringLiteral("混凝土配合比通知单")));
    EXPECT_TRUE(copied.contains(QStringLiteral("PB-7")));
    EXPECT_TRUE(copied.contains(QStringLiteral("703")))
        << copied.toStdString(); // construction sand

    // The details are proposed again next time; a refused moisture is said.
    dialogs.answer->details.sandMoisture = 100;
    dialogs.answer->use = ui::NoticeDialogs::Use::Preview;
    command.action()->trigger();
    EXPECT_EQ(dialogs.proposed, details);
    EXPECT_EQ(reports.previews, 0);
    EXPECT_TRUE(QString::fromStdString(boxes.shown.back().text.toStdString())
                    .contains(QStringLiteral("砂含水率 100 %")));
}

} // namespace
