// What a new user meets around the classic window: the folder a save dialog
// offers, the caption's mark of unsaved changes, a PDF that never replaces a
// file unasked, boxes that show names as written, a note instead of a box on
// success, the 帮助 button's tooltip, and the system's reasons in Chinese.
#include "fakes.h"
#include "ui/designcommands.h"
#include "ui/designio.h"
#include "ui/filedialogs.h"
#include "ui/form1.h"
#include "ui/guidecommand.h"
#include "ui/identity.h"
#include "ui/messageboxes.h"
#include "ui/notice.h"
#include "ui/reportcommands.h"
#include "ui/reportprint.h"
#include "ui/systemreason.h"

#include <cerrno>
#include <cstring>
#include <deque>
#include <fstream>
#include <optional>
#include <sstream>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

class FakeFileDialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString& folder) override {
        openFolders.append(folder);
        return {};
    }
    QString saveDesign(QWidget*, const QString&, const QString& suggested) override {
        suggestions.append(suggested);
        if (saves.empty()) {
            return {};
        }
        QString name = saves.front();
        saves.pop_front();
        return name;
    }
    std::deque<QString> saves;
    QStringList openFolders, suggestions;
};

class FakeReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*,
                                                const ui::ReportDetails& proposed) override {
        return proposed;
    }
    QString askPdfPath(QWidget*, const QString& suggested) override {
        suggestions.append(suggested);
        return pdfPath;
    }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override {}
    QString pdfPath;
    QStringList suggestions;
};

std::string contents(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void put(const QString& path, const std::string& bytes) {
    std::ofstream(path.toStdString(), std::ios::binary) << bytes;
}

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_old(qgetenv(name)), m_had(qEnvironmentVariableIsSet(name)) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }
    ~ScopedEnv() {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    QByteArray m_old;
    bool m_had;
};

class RoughEdgesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        form.reports().setDialogs(reportDialogs);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QString file(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
    // The caption as the title bar shows it, the "[*]" mark resolved.
    QString shownCaption() const { return form.windowHandle()->title(); }
    void press(const char* name) {
        QTest::mouseClick(test::control<QPushButton>(form, name), Qt::LeftButton);
    }
    void trigger(const char* name) {
        auto* action = form.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    QLabel* notice() { return form.findChild<QLabel*>(QStringLiteral("notice")); }

    QTemporaryDir dir;
    test::FakeBoxes boxes;
    FakeFileDialogs fileDialogs;
    FakeReportDialogs reportDialogs;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    ui::DesignCommands designs{form, boxes, fileDialogs};
};

TEST_F(RoughEdgesTest, SaveOffersAFolderThatExists) {
    const ScopedEnv config("XDG_CONFIG_HOME", QByteArray()); // no user-dirs.dirs of the host
    const QString home = file("home");
    ASSERT_TRUE(QDir().mkpath(home));
    struct Case {
        const char* name;
        QString home;
        bool documents; // a Documents folder in it
        QString offered;
    };
    const Case cases[] = {
        {"documents", home, true, QDir(home).filePath(QStringLiteral("Documents"))},
        {"home without documents", home, false, home},
        {"no home", file("gone"), false, QDir::currentPath()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ScopedEnv homeVariable("HOME", c.home.toUtf8());
        const QString documents = QDir(home).filePath(QStringLiteral("Documents"));
        ASSERT_TRUE(c.documents ? QDir().mkpath(documents) : QDir(documents).removeRecursively());
        fileDialogs.suggestions.clear();
        fileDialogs.openFolders.clear();
        trigger("saveDesign");
        boxes.answers = {QMessageBox::Discard}; // the calculation below changed the sheet
        trigger("openDesign");
        ASSERT_EQ(fileDialogs.suggestions.size(), 1);
        const QFileInfo suggested(fileDialogs.suggestions.constFirst());
        EXPECT_EQ(suggested.fileName(), QStringLiteral("配合比设计.lanshi"));
        EXPECT_TRUE(QFileInfo(suggested.absolutePath()).isDir())
            << suggested.absolutePath().toStdString();
        EXPECT_EQ(QFileInfo(suggested.absolutePath()).canonicalFilePath(),
                  QFileInfo(c.offered).canonicalFilePath());
        EXPECT_EQ(fileDialogs.openFolders, QStringList{suggested.absolutePath()});

        // The PDF too, while no design file names a folder.
        press("Command1");
        reportDialogs.suggestions.clear();
        trigger("exportReportPdf");
        ASSERT_EQ(reportDialogs.suggestions.size(), 1);
        EXPECT_TRUE(
            QFileInfo(QFileInfo(reportDialogs.suggestions.constFirst()).absolutePath()).isDir());
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(RoughEdgesTest, TheCaptionMarksUnsavedChangesTheQtWay) {
    // Unmodified, the title bar shows the classic caption as it is.
    EXPECT_FALSE(form.isWindowModified());
    EXPECT_EQ(shownCaption(), ui::kWindowCaption);

    test::type(form, "Text1", QStringLiteral("30"));
    EXPECT_TRUE(form.isWindowModified());
    EXPECT_EQ(shownCaption(), ui::kWindowCaption + u'*');
    test::type(form, "Text1", QStringLiteral("20")); // back as it was
    EXPECT_FALSE(form.isWindowModified());

    QTest::mouseClick(test::control<QRadioButton>(form, "option2"), Qt::LeftButton);
    EXPECT_TRUE(form.isWindowModified());
    fileDialogs.saves.push_back(file("设计 [*] 一.lanshi"));
    ASSERT_TRUE(designs.saveCommand());
    EXPECT_FALSE(form.isWindowModified());
    EXPECT_EQ(shownCaption(), ui::kWindowCaption + QStringLiteral(" - 设计 [*] 一.lanshi"));

    press("Command1"); // a calculation writes its results
    EXPECT_TRUE(form.isWindowModified());
    EXPECT_EQ(shownCaption(), ui::kWindowCaption + QStringLiteral(" - 设计 [*] 一.lanshi*"));
    ASSERT_TRUE(designs.openFile(file("设计 [*] 一.lanshi")));
    EXPECT_FALSE(form.isWindowModified());
    press("Command3"); // 清零 returns to the defaults, not to the file
    EXPECT_TRUE(form.isWindowModified());
}

TEST_F(RoughEdgesTest, ANameWithoutItsExtensionNeverReplacesAFileUnasked) {
    press("Command1");
    put(file("old.pdf"), "the old report");
    put(file("old.lanshi"), "{\"lanshi-design\":1}");
    struct Case {
        const char* name;
        QMessageBox::StandardButton answer;
        bool replaced;
    };
    for (const Case& c :
         {Case{"kept", QMessageBox::No, false}, Case{"replaced", QMessageBox::Yes, true}}) {
        SCOPED_TRACE(c.name);
        boxes.asked.clear();
        boxes.answers = {c.answer};
        reportDialogs.pdfPath = file("old"); // as a platform dialog may return it
        trigger("exportReportPdf");
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_TRUE(boxes.asked[0].text.contains(QDir::toNativeSeparators(file("old.pdf"))));
        EXPECT_EQ(contents(file("old.pdf")) == "the old report", !c.replaced);

        boxes.asked.clear();
        boxes.answers = {c.answer};
        fileDialogs.saves.push_back(file("old"));
        EXPECT_EQ(designs.saveAsCommand(), c.replaced);
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_EQ(contents(file("old.lanshi")) == "{\"lanshi-design\":1}", !c.replaced);
    }
    EXPECT_FALSE(QFileInfo::exists(file("old"))); // nothing under the bare name

    // Qt's own dialog adds the extension before its overwrite question.
    const std::unique_ptr<QFileDialog> dialog = ui::pdfDialog(&form, file("计算书.pdf"));
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("pdf"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
}

TEST_F(RoughEdgesTest, BoxesShowTheirTextAsPlainText) {
    const QString text = QStringLiteral("无法打开设计文件“<b>C30</b>&amp;.lanshi”");
    const auto notice = ui::noticeBox(&form, {QMessageBox::Warning, ui::kApplicationName, text});
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    EXPECT_EQ(notice->text(), text);
    const auto question =
        ui::questionBox(&form, {QMessageBox::Question, ui::kApplicationName, text,
                                QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                QMessageBox::Cancel});
    EXPECT_EQ(question->textFormat(), Qt::PlainText);
    EXPECT_EQ(question->button(QMessageBox::Discard)->text(), QStringLiteral("不保存"));
    // Every label of the box shows the characters as written.
    for (QMessageBox* box : {notice.get(), question.get()}) {
        for (const QLabel* label : box->findChildren<QLabel*>()) {
            if (label->text() == text) {
                EXPECT_EQ(label->textFormat(), Qt::PlainText);
            }
        }
    }
}

TEST_F(RoughEdgesTest, SuccessIsANoteThatGoesAwayNotABox) {
    press("Command1");
    reportDialogs.pdfPath = file("计算书.pdf");
    trigger("exportReportPdf");
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_TRUE(boxes.asked.empty());
    ASSERT_TRUE(QFileInfo::exists(file("计算书.pdf")));
    ASSERT_NE(notice(), nullptr);
    EXPECT_TRUE(notice()->isVisible());
    EXPECT_TRUE(notice()->text().contains(QDir::toNativeSeparators(file("计算书.pdf"))));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    trigger("copyReport");
    EXPECT_TRUE(notice()->text().contains(QStringLiteral("剪贴板")));
    EXPECT_TRUE(notice()->isVisible());
    EXPECT_EQ(form.findChildren<QLabel*>(QStringLiteral("notice")).size(), 1);
    // Gone after two seconds, with no one closing it.
    EXPECT_TRUE(QTest::qWaitFor([this] { return !notice()->isVisible(); },
                                int(ui::kNoticeTime.count()) + 1500));
    EXPECT_TRUE(boxes.shown.empty());

    // A failure still says so in a box, and no note claims success.
    reportDialogs.pdfPath = file("no/such/folder/r.pdf");
    trigger("exportReportPdf");
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_FALSE(notice()->isVisible());
}

TEST_F(RoughEdgesTest, TheHelpButtonsTooltipSaysWhereTheRestIs) {
    ui::GuideCommand guide(form, boxes, dir.path(), [](const QUrl&) { return true; });
    const QString tip = test::control<QPushButton>(form, "Command2")->toolTip();
    for (const char* part : {"F1", "使用说明", "右键", "计算书", "设计"}) {
        EXPECT_TRUE(tip.contains(QString::fromUtf8(part))) << part;
    }
    press("Command2"); // the classic box, as it always was
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (ui::MessageBox{QMessageBox::NoIcon, ui::kHelpTitle, ui::kHelpText}));
}

// The system's reasons, as Qt and the C library word them in English.
TEST(SystemReason, KnownReasonsInChinese) {
    struct Case {
        QString system;
        const char* chinese;
    };
    const Case cases[] = {
        {QStringLiteral("No such file or directory"), "不存在"},
        {QString::fromLocal8Bit(std::strerror(ENOENT)), "不存在"},
        {QStringLiteral("Permission denied"), "没有权限"},
        {QString::fromLocal8Bit(std::strerror(EACCES)), "没有权限"},
        {QString::fromLocal8Bit(std::strerror(EPERM)), "没有权限"},
        {QStringLiteral("No space left on device"), "磁盘已满"},
        {QString::fromLocal8Bit(std::strerror(EDQUOT)), "磁盘已满"},
        {QString::fromLocal8Bit(std::strerror(EISDIR)), "文件夹"},
        {QStringLiteral("Filename refers to a directory"), "文件夹"},
        {QString::fromLocal8Bit(std::strerror(EROFS)), "只读"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ui::systemReason(c.system).contains(QString::fromUtf8(c.chinese)), true)
            << c.system.toStdString() << " -> " << ui::systemReason(c.system).toStdString();
    }
    EXPECT_EQ(ui::systemReasonOf(ENOSPC), QStringLiteral("磁盘已满"));
    // What the program does not know is kept, not hidden.
    EXPECT_EQ(ui::systemReason(QStringLiteral("Some odd failure")),
              QStringLiteral("Some odd failure"));
}

// Real failures of the file system, in the words the window shows.
TEST(SystemReason, TheWindowsFileBoxesGiveTheReasonInChinese) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QRegularExpression english(QStringLiteral("[A-Za-z]{3,}"));
    const QString folder = dir.filePath(QStringLiteral("a folder.pdf"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString intoFolder = ui::writeReportPdf(QStringLiteral("<p>x</p>"), folder);
    EXPECT_TRUE(intoFolder.contains(QStringLiteral("文件夹"))) << intoFolder.toStdString();
    const QString missing =
        ui::writeReportPdf(QStringLiteral("<p>x</p>"), dir.filePath(QStringLiteral("no/r.pdf")));
    EXPECT_TRUE(missing.contains(QStringLiteral("不存在"))) << missing.toStdString();
    // Root may write almost anywhere, but not into /sys.
    const QString refused = ui::writeAtomically(QStringLiteral("/sys/设计.lanshi"), "{}");
    EXPECT_FALSE(refused.isEmpty());
    EXPECT_FALSE(english.match(refused).hasMatch()) << refused.toStdString();
}

} // namespace
