// 使用说明: F1 and the context menu open the installed guide in the browser,
// found beside the program whether installed or in the build tree; when it
// cannot be shown, a box says where the file is. The 帮助 button keeps its
// classic box.
#include "fakes.h"
#include "ui/form1.h"
#include "ui/guidecommand.h"
#include "ui/identity.h"

#include <vector>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void makeFile(const QString& path) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath())) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write("<!DOCTYPE html><title>使用说明</title>");
}

TEST(FindGuideTest, InstalledBesideTheProgramOrInTheBuildTree) {
    struct Case {
        const char* name;
        std::vector<const char*> files; // under the temporary root
        const char* programDir;
        const char* expected; // "" for none
    };
    const Case cases[] = {
        {"installed",
         {"usr/share/doc/lanshi/guide.html"},
         "usr/bin",
         "usr/share/doc/lanshi/guide.html"},
        {"build tree", {"build/docs/guide.html"}, "build", "build/docs/guide.html"},
        {"installed first",
         {"usr/share/doc/lanshi/guide.html", "usr/bin/docs/guide.html"},
         "usr/bin",
         "usr/share/doc/lanshi/guide.html"},
        {"other program's folder", {"usr/share/doc/lanshi/guide.html"}, "opt/bin", ""},
        {"nothing", {}, "usr/bin", ""},
        {"a folder by that name", {"usr/share/doc/lanshi/guide.html/index.html"}, "usr/bin", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        for (const char* file : c.files) {
            makeFile(root.filePath(QString::fromUtf8(file)));
        }
        const QString programDir = root.filePath(QString::fromUtf8(c.programDir));
        QDir().mkpath(programDir);
        const QString expected =
            *c.expected ? QFileInfo(root.filePath(QString::fromUtf8(c.expected))).absoluteFilePath()
                        : QString();
        EXPECT_EQ(ui::findGuide(programDir).toStdString(), expected.toStdString());
        // Where the installed guide belongs, said even when it is missing.
        EXPECT_EQ(ui::installedGuide(root.filePath(QStringLiteral("usr/bin"))).toStdString(),
                  QDir::cleanPath(root.filePath(QStringLiteral("usr/share/doc/lanshi/guide.html")))
                      .toStdString());
    }
}

QString madeDir(const QTemporaryDir& root, const char* relative) {
    const QString dir = root.filePath(QString::fromUtf8(relative));
    QDir().mkpath(dir);
    return dir;
}

class GuideCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root.isValid());
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QString installedPath() const { return QFileInfo(guidePath).absoluteFilePath(); }

    QTemporaryDir root;
    QString programDir = madeDir(root, "usr/bin");
    QString guidePath = root.filePath(QStringLiteral("usr/share/doc/lanshi/guide.html"));
    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    std::vector<QUrl> opened;
    bool browserStarts = true;
    ui::GuideCommand guide{form, boxes, programDir, [this](const QUrl& url) {
                               opened.push_back(url);
                               return browserStarts;
                           }};
};

TEST_F(GuideCommandTest, F1AnywhereInTheWindowOpensTheGuideAsALocalFile) {
    makeFile(guidePath);

    // From a field (its text untouched), from a button, from the window.
    QLineEdit* text8 = test::control<QLineEdit>(form, "Text8");
    text8->setFocus();
    QTest::keyClick(text8, Qt::Key_F1);
    EXPECT_EQ(form.sheet().text(calc::Text8), "");
    QPushButton* calculate = test::control<QPushButton>(form, "Command1");
    calculate->setFocus();
    QTest::keyClick(calculate, Qt::Key_F1);
    EXPECT_EQ(form.sheet().text(calc::Text2), ""); // F1 calculated nothing

    ASSERT_EQ(opened.size(), 2u);
    for (const QUrl& url : opened) {
        EXPECT_TRUE(url.isLocalFile());
        EXPECT_EQ(url.toLocalFile().toStdString(), installedPath().toStdString());
    }
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(GuideCommandTest, WhenTheGuideCannotBeShownABoxSaysWhereItIs) {
    struct Case {
        const char* name;
        bool installed;
        bool browserStarts;
        std::size_t browsersAsked;
    };
    const Case cases[] = {
        {"no browser starts", true, false, 1},
        {"guide missing", false, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(guidePath);
        if (c.installed) {
            makeFile(guidePath);
        }
        browserStarts = c.browserStarts;
        opened.clear();
        boxes.shown.clear();
        QTest::keyClick(&form, Qt::Key_F1);
        EXPECT_EQ(opened.size(), c.browsersAsked);
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].title, ui::kApplicationName);
        EXPECT_TRUE(boxes.shown[0].text.contains(QDir::toNativeSeparators(installedPath())))
            << boxes.shown[0].text.toStdString();
    }
}

TEST_F(GuideCommandTest, InTheContextMenuWhileHelpKeepsItsClassicBox) {
    EXPECT_EQ(form.contextMenuPolicy(), Qt::ActionsContextMenu);
    QAction* action = form.findChild<QAction*>(QStringLiteral("openGuide"));
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(form.actions().contains(action));
    EXPECT_EQ(action->text(), QStringLiteral("使用说明"));
    EXPECT_EQ(action->shortcut(), QKeySequence(Qt::Key_F1));

    // 帮助 shows the one word as ever, and opens no browser.
    test::control<QPushButton>(form, "Command2")->click();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0], (ui::MessageBox{QMessageBox::NoIcon, ui::kHelpTitle, ui::kHelpText}));
    EXPECT_TRUE(opened.empty());
}

} // namespace
