// The report commands of the window: refused without a calculation that
// still stands, copied to the clipboard, previewed and written as a PDF whose
// text holds every figure of the two result rows.
#include "fakes.h"
#include "report/report.h"
#include "ui/designcommands.h"
#include "ui/filedialogs.h"
#include "ui/form1.h"
#include "ui/identity.h"
#include "ui/reportprint.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using calc::TextField;

// Answers the report's questions as a user would, and records them.
class FakeReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*,
                                                const ui::ReportDetails& proposed) override {
        proposedLitres.push_back(proposed.litres);
        proposedProjects.push_back(proposed.project);
        if (!volume) {
            return std::nullopt;
        }
        return ui::ReportDetails{*volume, project ? *project : proposed.project};
    }
    QString askPdfPath(QWidget*, const QString& suggested) override {
        suggestedPaths.push_back(suggested);
        return pdfPath;
    }
    void preview(QWidget*, const std::function<void(QPrinter&)>& paint) override {
        ++previews;
        if (!previewPdf.isEmpty()) {
            QPrinter printer(QPrinter::HighResolution);
            ui::setReportPage(printer);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(previewPdf);
            paint(printer);
        }
    }

    std::optional<double> volume = 20.0;
    QString pdfPath;
    QString previewPdf;
    std::optional<report::Project> project; // what the user types; none: as proposed
    std::vector<double> proposedLitres;
    std::vector<report::Project> proposedProjects;
    std::vector<QString> suggestedPaths;
    int previews = 0;
};

// The text of a PDF as pdftotext reads it back.
QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed (scripts/install-deps test installs poppler-utils)";
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString withoutBlanks(QString text) {
    text.remove(u' ');
    text.remove(u'\n');
    text.remove(u'\f');
    return text;
}

class ReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.reports().setDialogs(dialogs);
        form.show();
        ASSERT_TRUE(dir.isValid());
    }

    void press(const char* name) {
        QTest::mouseClick(test::control<QPushButton>(form, name), Qt::LeftButton);
    }

    QAction* action(const char* name) {
        QAction* found = form.findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString lastBox() const { return boxes.shown.empty() ? QString() : boxes.shown.back().text; }

    test::FakeBoxes boxes;
    FakeReportDialogs dialogs;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    QTemporaryDir dir;
};

TEST_F(ReportCommandsTest, TheThreeCommandsHaveTheirShortcutsAndStandInTheContextMenu) {
    EXPECT_EQ(form.contextMenuPolicy(), Qt::ActionsContextMenu);
    const std::pair<const char*, QKeySequence> expected[] = {
        {"previewReport", QKeySequence(QStringLiteral("Ctrl+P"))},
        {"exportReportPdf", QKeySequence(QStringLiteral("Ctrl+Shift+E"))},
        {"copyReport", QKeySequence(QStringLiteral("Ctrl+Shift+C"))},
    };
    for (const auto& [name, keys] : expected) {
        QAction* a = action(name);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->shortcut(), keys) << name;
        EXPECT_TRUE(form.actions().contains(a)) << name;
    }
}

TEST_F(ReportCommandsTest, RefusedWithoutACalculationThatStillStands) {
    struct Case {
        const char* name;
        std::function<void()> before;
        bool refused;
        const char* why;
    };
    const std::vector<Case> cases{
        {"never calculated", [] {}, true, "还没有完成的计算"},
        {"stopped",
         [this] {
             form.sheet().setText(calc::Text5, "abc");
             press("Command1");
         },
         true, "已中止"},
        {"an input changed since",
         [this] {
             press("Command1");
             test::type(form, "Text1", QStringLiteral("25"));
         },
         true, "有数据被修改"},
        {"a result changed since",
         [this] {
             press("Command1");
             form.sheet().setText(calc::Text31, "2.00");
         },
         true, "有数据被修改"},
        {"a recorded-only entry changed since",
         [this] {
             press("Command1");
             form.sheet().setText(calc::Text28, "70～90");
         },
         false, ""},
        {"calculated again after a stop was mended",
         [this] {
             form.sheet().setText(calc::Text5, "abc");
             press("Command1");
             form.sheet().setText(calc::Text5, "32.5");
             press("Command1");
         },
         false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        press("Command3"); // 清零: the cases share one window, in this order
        c.before();
        boxes.shown.clear();
        QApplication::clipboard()->clear();
        action("copyReport")->trigger();
        if (c.refused) {
            ASSERT_EQ(boxes.shown.size(), 1u);
            EXPECT_TRUE(lastBox().contains(QStringLiteral("请先按\"计算\"")))
                << lastBox().toStdString();
            EXPECT_TRUE(lastBox().contains(QString::fromUtf8(c.why))) << lastBox().toStdString();
            EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
        } else {
            EXPECT_TRUE(boxes.shown.empty());
            EXPECT_TRUE(QApplication::clipboard()->text().contains(
                QStringLiteral("普通混凝土配合比设计计算书")));
        }
    }
}

TEST_F(ReportCommandsTest, RefusedCommandsAskNothingAndWriteNothing) {
    dialogs.pdfPath = dir.filePath(QStringLiteral("none.pdf"));
    action("previewReport")->trigger();
    action("exportReportPdf")->trigger();
    EXPECT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(dialogs.proposedLitres.empty());
    EXPECT_EQ(dialogs.previews, 0);
    EXPECT_FALSE(QFile::exists(dialogs.pdfPath));
}

TEST_F(ReportCommandsTest, CopyPutsTextAndHtmlOnTheClipboard) {
    press("Command1");
    action("copyReport")->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasHtml());
    EXPECT_TRUE(
        data->text().contains(QStringLiteral("水泥 : 砂 : 石子 : 水 = 1.00 : 1.96 : 3.49 : 0.52")));
    EXPECT_TRUE(
        data->text().contains(QStringLiteral("计算程序：普通澜石 ") + ui::kApplicationVersion));
    EXPECT_TRUE(data->html().contains(QStringLiteral(">678.7865</td>")));
    EXPECT_TRUE(boxes.shown.empty());
    // The clipboard copy asks for no volume: it takes the last one chosen.
    EXPECT_TRUE(dialogs.proposedLitres.empty());
}

TEST_F(ReportCommandsTest, ExportedPdfHoldsEveryFigureOfBothRowsAndNothingIsCutOff) {
    // Moisture contents, so that the report runs to its longest form.
    test::type(form, "Text21", QStringLiteral("0.03"));
    test::type(form, "Text24", QStringLiteral("0.01"));
    press("Command1");
    dialogs.volume = 25.0;
    dialogs.pdfPath = dir.filePath(QStringLiteral("C25 梁")); // typed without the extension
    action("exportReportPdf")->trigger();
    EXPECT_TRUE(boxes.shown.empty()) << lastBox().toStdString();
    EXPECT_EQ(dialogs.proposedLitres, std::vector<double>{20.0});
    EXPECT_EQ(form.reports().batchLitres(), 25.0);

    const QString pdf = dir.filePath(QStringLiteral("C25 梁.pdf"));
    ASSERT_TRUE(QFile::exists(pdf));
    const QString text = pdfText(pdf);
    const QString flat = withoutBlanks(text);
    for (const TextField field : {calc::Text11, calc::Text12, calc::Text13, calc::Text14,
                                  calc::Text30, calc::Text31, calc::Text32, calc::Text33}) {
        const QString figure = QString::fromStdString(form.sheet().text(field));
        EXPECT_TRUE(text.contains(figure)) << calc::fieldName(field) << " " << figure.toStdString();
    }
    // Numbered pages; the working with a moisture correction takes more than one.
    EXPECT_TRUE(flat.contains(QStringLiteral("第1页共"))) << text.toStdString();
    EXPECT_TRUE(flat.contains(QStringLiteral("第2页共")));
    EXPECT_TRUE(flat.contains(QStringLiteral("试拌25L混凝土")));

    // Every line of the working is on the pages whole, wrapped perhaps, never cut.
    report::Options options;
    options.batchLitres = 25.0;
    calc::Trace trace = form.reports().last()->trace;
    const std::optional<report::Document> document =
        report::buildReport(form.sheet(), trace, options);
    ASSERT_TRUE(document);
    for (const report::Section& section : document->sections) {
        for (const report::Block& block : section.blocks) {
            if (const auto* step = std::get_if<report::Step>(&block)) {
                for (const std::string& line : step->equations) {
                    const QString plain = QString::fromStdString(report::plain(line));
                    EXPECT_TRUE(flat.contains(withoutBlanks(plain))) << plain.toStdString();
                }
            }
        }
    }
}

TEST_F(ReportCommandsTest, APdfNameTypedWithAnUpperCaseSuffixGetsNoSecondOne) {
    press("Command1");
    dialogs.pdfPath = dir.filePath(QStringLiteral("R.PDF"));
    action("exportReportPdf")->trigger();
    EXPECT_TRUE(boxes.shown.empty()) << lastBox().toStdString();
    EXPECT_TRUE(boxes.asked.empty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("R.PDF")});
}

TEST_F(ReportCommandsTest, CancelledQuestionsWriteNothing) {
    press("Command1");
    dialogs.volume = std::nullopt;
    dialogs.pdfPath = dir.filePath(QStringLiteral("a.pdf"));
    action("exportReportPdf")->trigger();
    action("previewReport")->trigger();
    EXPECT_EQ(dialogs.previews, 0);
    EXPECT_TRUE(dialogs.suggestedPaths.empty());

    dialogs.volume = 20.0;
    dialogs.pdfPath.clear(); // cancelled at the file dialog
    action("exportReportPdf")->trigger();
    EXPECT_EQ(dialogs.suggestedPaths.size(), 1u);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ReportCommandsTest, PreviewPaintsThePagesOfTheReport) {
    press("Command1");
    dialogs.previewPdf = dir.filePath(QStringLiteral("preview.pdf"));
    action("previewReport")->trigger();
    EXPECT_EQ(dialogs.previews, 1);
    const QString text = pdfText(dialogs.previewPdf);
    EXPECT_TRUE(text.contains(QStringLiteral("普通混凝土配合比设计计算书")));
    EXPECT_TRUE(text.contains(QStringLiteral("1206.731")));
}

TEST_F(ReportCommandsTest, AFileThatCannotBeWrittenIsNamedInABox) {
    press("Command1");
    dialogs.pdfPath = dir.filePath(QStringLiteral("missing/folder/out.pdf"));
    action("exportReportPdf")->trigger();
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(lastBox().contains(QStringLiteral("out.pdf")));
}

// Names every design file at once, as a user who types the same name.
class FixedFileDialogs final : public ui::FileDialogs {
public:
    explicit FixedFileDialogs(QString path) : m_path(std::move(path)) {}
    QString openDesign(QWidget*, const QString&) override { return m_path; }
    QString saveDesign(QWidget*, const QString&, const QString&) override { return m_path; }

private:
    QString m_path;
};

QString copied(ui::Form1& form) {
    QApplication::clipboard()->clear();
    form.findChild<QAction*>(QStringLiteral("copyReport"))->trigger();
    return QApplication::clipboard()->text();
}

TEST_F(ReportCommandsTest, ADesignSavedAfterACalculationReopensWithItsWorking) {
    const QString path = dir.filePath(QStringLiteral("C20.lanshi"));
    FixedFileDialogs files(path);
    ui::DesignCommands designs(form, boxes, files);
    test::type(form, "Text21", QStringLiteral("0.03"));
    test::type(form, "Text24", QStringLiteral("0.01"));
    press("Command1");
    const QString beforeSaving = copied(form);
    ASSERT_TRUE(designs.saveCommand());
    const QString saved = copied(form);
    // The file's name joins the heading; nothing else changes.
    EXPECT_EQ(QString(saved).remove(QStringLiteral("设计文件：C20.lanshi\n")), beforeSaving);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const nlohmann::json json = nlohmann::json::parse(file.readAll().toStdString());
    ASSERT_TRUE(json.contains("calculation"));
    EXPECT_FALSE(json.contains("record"));

    // Another window opens the design and makes the same report at once: the
    // base values derived, not taken as typed.
    test::FakeBoxes otherBoxes;
    ui::Form1 other{calc::NumberFormat{}, otherBoxes};
    other.show();
    ui::DesignCommands otherDesigns(other, otherBoxes, files);
    ASSERT_TRUE(otherDesigns.openFile(path));
    const QString reopened = copied(other);
    EXPECT_TRUE(otherBoxes.shown.empty());
    EXPECT_EQ(reopened, saved);
    EXPECT_TRUE(reopened.contains(QStringLiteral("fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4")));
    EXPECT_FALSE(reopened.contains(QStringLiteral("（输入值）")));
}

TEST_F(ReportCommandsTest, ADesignWithoutAMatchingRecordOpensWithoutALastCalculation) {
    const QString path = dir.filePath(QStringLiteral("edited.lanshi"));
    FixedFileDialogs files(path);
    ui::DesignCommands designs(form, boxes, files);
    press("Command1");
    ASSERT_TRUE(designs.saveCommand());

    // Edited by hand after saving: the strength grade no longer matches.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    nlohmann::json json = nlohmann::json::parse(file.readAll().toStdString());
    file.close();
    json["fields"]["Text1"] = "25";
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QByteArray::fromStdString(json.dump()));
    file.close();

    test::FakeBoxes otherBoxes;
    ui::Form1 other{calc::NumberFormat{}, otherBoxes};
    other.show();
    ui::DesignCommands otherDesigns(other, otherBoxes, files);
    ASSERT_TRUE(otherDesigns.openFile(path));
    EXPECT_EQ(other.sheet().text(calc::Text1), "25");
    EXPECT_TRUE(copied(other).isEmpty());
    ASSERT_EQ(otherBoxes.shown.size(), 1u);
    EXPECT_TRUE(otherBoxes.shown.back().text.contains(QStringLiteral("请先按\"计算\"")));

    // Opening it also ends the last calculation of the window it opens in.
    ASSERT_TRUE(designs.openFile(path));
    boxes.shown.clear();
    EXPECT_TRUE(copied(form).isEmpty());
    EXPECT_EQ(boxes.shown.size(), 1u);
}

} // namespace

namespace {

// The window tells a value it wrote from a value the user typed.
TEST_F(ReportCommandsTest, ASecondPressReportsAsTheFirstAndOnlyTypedValuesAreInputs) {
    press("Command1");
    const QString once = copied(form);
    ASSERT_FALSE(once.isEmpty());
    press("Command1");
    EXPECT_EQ(copied(form), once);
    press("Command1");
    EXPECT_EQ(copied(form), once);

    // Typed by hand over what the calculation wrote, even the same text.
    test::type(form, "Text8", QStringLiteral("0.52"));
    press("Command1");
    const QString typed = copied(form);
    EXPECT_TRUE(typed.contains(QStringLiteral("W/C = 0.52（输入值）"))) << typed.toStdString();
    EXPECT_TRUE(typed.contains(QStringLiteral("fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4")));

    // 清零 leaves nothing of the calculations: the next press is a first one.
    press("Command3");
    press("Command1");
    EXPECT_EQ(copied(form), once);
}

TEST_F(ReportCommandsTest, TheProjectIsAskedWithTheVolumeShownAndKeptInTheDesign) {
    const QString path = dir.filePath(QStringLiteral("project.lanshi"));
    FixedFileDialogs files(path);
    ui::DesignCommands designs(form, boxes, files);
    press("Command1");
    dialogs.project = report::Project{"某住宅楼\n三、配合比", "基础", "某设计院"};
    dialogs.previewPdf = dir.filePath(QStringLiteral("preview.pdf"));
    action("previewReport")->trigger();
    ASSERT_EQ(dialogs.proposedProjects.size(), 1u);
    EXPECT_TRUE(dialogs.proposedProjects.front().empty());
    const QString text = copied(form);
    EXPECT_TRUE(text.contains(QStringLiteral("工程名称：某住宅楼 三、配合比\n")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("使用部位：基础\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("委托/设计单位：某设计院\n")));

    // Saved with the design, and proposed again after it is opened elsewhere.
    ASSERT_TRUE(designs.saveCommand());
    test::FakeBoxes otherBoxes;
    ui::Form1 other{calc::NumberFormat{}, otherBoxes};
    FakeReportDialogs otherDialogs;
    other.reports().setDialogs(otherDialogs);
    other.show();
    ui::DesignCommands otherDesigns(other, otherBoxes, files);
    ASSERT_TRUE(otherDesigns.openFile(path));
    EXPECT_TRUE(copied(other).contains(QStringLiteral("使用部位：基础\n")));
    otherDialogs.previewPdf = dir.filePath(QStringLiteral("other.pdf"));
    other.findChild<QAction*>(QStringLiteral("previewReport"))->trigger();
    ASSERT_EQ(otherDialogs.proposedProjects.size(), 1u);
    EXPECT_EQ(otherDialogs.proposedProjects.front().part, "基础");
}

TEST_F(ReportCommandsTest, SavedAfterTwoPressesAndOpenedReportsAsTheFirstPress) {
    const QString path = dir.filePath(QStringLiteral("twice.lanshi"));
    FixedFileDialogs files(path);
    ui::DesignCommands designs(form, boxes, files);
    press("Command1");
    press("Command1");
    ASSERT_TRUE(designs.saveCommand());
    const QString saved = copied(form);

    test::FakeBoxes otherBoxes;
    ui::Form1 other{calc::NumberFormat{}, otherBoxes};
    other.show();
    ui::DesignCommands otherDesigns(other, otherBoxes, files);
    ASSERT_TRUE(otherDesigns.openFile(path));
    EXPECT_EQ(copied(other), saved);
    EXPECT_FALSE(saved.contains(QStringLiteral("输入值")));
    // And a press after the open too.
    QTest::mouseClick(test::control<QPushButton>(other, "Command1"), Qt::LeftButton);
    EXPECT_EQ(copied(other), saved);
}

} // namespace

namespace {

// The first block whose text starts with `text`.
QTextBlock blockStarting(const QTextDocument& document, const QString& text) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().startsWith(text)) {
            return block;
        }
    }
    return {};
}

// A heading at a page's foot, the first line of what it heads on the next
// page: moved there with it, whatever stands between (a step's heading under
// a section's, a table's header row).
TEST(ReportPages, AHeadingIsNeverLeftAloneAtThePageFoot) {
    struct Case {
        const char* name;
        QString tail;
        QString heading;   // the heading that must move
        QString footAfter; // the page ends just below this block
        QString content;   // the first line that must stand with the heading
    };
    const QString table = QStringLiteral(
        "<table border=\"1\"><thead><tr><th>材料</th><th>试拌用量（kg）</th></tr></thead>"
        "<tbody><tr><td>水泥</td><td>7.320</td></tr><tr><td>砂</td><td>14.900</td></tr>"
        "</tbody></table>");
    const std::vector<Case> cases = {
        {"a step's heading", QStringLiteral("<h3>5. 砂石用量</h3><p>V<sub>c</sub> = 111.66 L</p>"),
         QStringLiteral("5. 砂石用量"), QStringLiteral("5. 砂石用量"), QStringLiteral("V")},
        {"a section's heading over a step's",
         QStringLiteral("<h2>三、计算过程</h2><h3>1. 配制强度</h3><p>f = 38.2 MPa</p>"),
         QStringLiteral("三、计算过程"), QStringLiteral("1. 配制强度"), QStringLiteral("f = ")},
        {"a section's heading over a table", QStringLiteral("<h2>四、试拌用量</h2>") + table,
         QStringLiteral("四、试拌用量"), QStringLiteral("材料"), QStringLiteral("水泥")},
        {"a step's heading over a table", QStringLiteral("<h3>试拌用量</h3>") + table,
         QStringLiteral("试拌用量"), QStringLiteral("材料"), QStringLiteral("水泥")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString html;
        for (int n = 0; n < 12; ++n) {
            html += QStringLiteral("<p>第 %1 行</p>").arg(n);
        }
        html += c.tail + QStringLiteral("<p>末行</p>");
        QTextDocument document;
        document.setHtml(html);
        document.setPageSize(QSizeF(400, 100000));
        const QTextBlock heading = blockStarting(document, c.heading);
        const QTextBlock content = blockStarting(document, c.content);
        ASSERT_TRUE(heading.isValid() && content.isValid());
        QAbstractTextDocumentLayout* layout = document.documentLayout();
        // A page that ends just below `footAfter`: what the heading heads
        // starts on the next one.
        const qreal foot =
            layout->blockBoundingRect(blockStarting(document, c.footAfter)).bottom() + 1;
        document.setPageSize(QSizeF(400, foot));
        auto pageOf = [&](const QTextBlock& block) {
            return static_cast<int>(layout->blockBoundingRect(block).top() / foot);
        };
        auto firstLinePage = [&] {
            return static_cast<int>((layout->blockBoundingRect(content).top() +
                                     content.layout()->lineAt(0).rect().bottom() - 0.01) /
                                    foot);
        };
        ASSERT_NE(pageOf(heading), firstLinePage()) << "the page should end between them";
        ui::keepHeadingsWithNext(document);
        EXPECT_EQ(pageOf(heading), firstLinePage());
        EXPECT_EQ(pageOf(heading), 1);
    }
}

// A table longer than a page: its header row heads each page it crosses.
TEST(ReportPages, ATableThatCrossesAPageRepeatsItsHeaderRow) {
    report::Document document;
    document.title = QStringLiteral("普通混凝土配合比设计计算书").toStdString();
    report::Table table{{"材料名称", "试拌用量（kg）"}, {}};
    for (int n = 1; n <= 90; ++n) {
        table.rows.push_back({"第" + std::to_string(n) + "行", std::to_string(n) + ".000"});
    }
    document.sections.push_back({"四、试拌用量", {table}});
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("long.pdf"));
    ASSERT_EQ(ui::writeReportPdf(QString::fromStdString(report::toHtml(document)), path),
              QString());
    const QStringList pages = pdfText(path).split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    int rowsSeen = 0;
    for (const QString& page : pages) {
        const int rows = static_cast<int>(page.count(QStringLiteral("行")));
        if (rows == 0) {
            continue;
        }
        rowsSeen += rows;
        const QString text = withoutBlanks(page);
        EXPECT_TRUE(text.contains(QStringLiteral("材料名称试拌用量（kg）"))) << page.toStdString();
    }
    EXPECT_EQ(rowsSeen, 90);
}

} // namespace
