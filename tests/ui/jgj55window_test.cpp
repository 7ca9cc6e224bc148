// The JGJ 55-2011 window, offscreen: results as one types, table values
// greyed in place, a wrong input marked without a box, the regional decimal
// symbol, and its files.
#include "fakes.h"
#include "jgj55/designfile.h"
#include "ui/filedialogs.h"
#include "ui/jgj55command.h"
#include "ui/jgj55window.h"
#include "ui/reportcommands.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Dialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return openPath; }
    QString saveDesign(QWidget*, const QString&, const QString&) override { return savePath; }
    QString openPath;
    QString savePath;
};

class ReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*,
                                                const ui::ReportDetails& proposed) override {
        return proposed;
    }
    QString askPdfPath(QWidget*, const QString&) override { return pdfPath; }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override { ++previews; }
    QString pdfPath;
    int previews = 0;
};

class Jgj55WindowTest : public ::testing::Test {
protected:
    std::unique_ptr<ui::Jgj55Window> make(const calc::NumberFormat& format = {}) {
        auto window = std::make_unique<ui::Jgj55Window>(format, boxes, dialogs, reports);
        window->show();
        return window;
    }
    // Example A of the design's tests: C30, 42.5, 20 % fly ash, 1 % admixture
    // saving 20 %, crushed 20 mm, slump 180 mm.
    void typeExampleA(ui::Jgj55Window& w) {
        test::type(w, "fcuk", "30");
        test::type(w, "maxSize", "20");
        test::type(w, "slump", "180");
        test::type(w, "flyAsh.fraction", "20");
        test::type(w, "admixture.fraction", "1");
        test::type(w, "admixture.waterReduction", "20");
    }
    QString result(ui::Jgj55Window& w, const char* key) {
        return test::control<QLabel>(w, (std::string("result_") + key).c_str())->text();
    }
    QLineEdit* field(ui::Jgj55Window& w, const char* key) {
        return test::control<QLineEdit>(w, key);
    }

    test::FakeBoxes boxes;
    Dialogs dialogs;
    ReportDialogs reports;
};

TEST_F(Jgj55WindowTest, DesignsAsOneTypesWithTheFormulaInTheTip) {
    auto w = make();
    EXPECT_EQ(result(*w, "sand"), "—"); // no strength yet
    typeExampleA(*w);
    EXPECT_EQ(result(*w, "waterBinder"), "0.52");
    EXPECT_EQ(result(*w, "binder"), "365");
    EXPECT_EQ(result(*w, "sand"), "756");
    EXPECT_EQ(result(*w, "stone"), "1089");
    EXPECT_EQ(test::control<QLabel>(*w, "result_waterBinder")->toolTip(),
              "W/B = αa·fb / (fcu,0 + αa·αb·fb) = 0.53 × 41.9 / (38.2 + 0.53 × 0.2 × 41.9) = 0.52");
    EXPECT_TRUE(w->status().isEmpty());
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Jgj55WindowTest, ShowsTableValuesGreyedAndTypingOverridesThem) {
    auto w = make();
    typeExampleA(*w);
    EXPECT_TRUE(field(*w, "sigma")->text().isEmpty());
    EXPECT_EQ(field(*w, "sigma")->placeholderText(), "5（标准差 σ 取值表）");
    EXPECT_EQ(field(*w, "sandRatio")->placeholderText(), "41（表 5.4.2 混凝土的砂率）");
    EXPECT_EQ(field(*w, "water")->placeholderText(), "237.5（塑性混凝土的用水量表）");
    EXPECT_EQ(field(*w, "flyAsh.gammaF")->placeholderText(),
              "0.85（表 5.1.3 粉煤灰影响系数 γf 和粒化高炉矿渣粉影响系数 γs）");
    EXPECT_EQ(field(*w, "cementDensity")->placeholderText(), "3100（默认值）");
    test::type(*w, "sigma", "4");
    EXPECT_EQ(result(*w, "fcu0"), "36.6"); // 30 + 1.645 × 4 = 36.58
    EXPECT_TRUE(field(*w, "sigma")->placeholderText().isEmpty());
}

TEST_F(Jgj55WindowTest, MarksAWrongInputAndSaysWhyWithoutABox) {
    auto w = make();
    typeExampleA(*w);
    test::type(*w, "slump", "1x0");
    EXPECT_FALSE(field(*w, "slump")->styleSheet().isEmpty());
    EXPECT_TRUE(w->status().contains("坍落度")) << w->status().toStdString();
    EXPECT_EQ(result(*w, "sand"), "—");
    test::type(*w, "slump", "180");
    EXPECT_TRUE(field(*w, "slump")->styleSheet().isEmpty());
    // A dosage beyond table 5.1.3 is refused and its field marked.
    test::type(*w, "flyAsh.fraction", "45");
    EXPECT_FALSE(field(*w, "flyAsh.fraction")->styleSheet().isEmpty());
    EXPECT_TRUE(w->status().contains("试验")) << w->status().toStdString();
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(Jgj55WindowTest, ReadsAndWritesTheRegionalDecimalSymbol) {
    auto w =
        make(calc::NumberFormat{.decimal = ",", .group = ".", .groupSize = 3, .negative = "-"});
    typeExampleA(*w);
    EXPECT_EQ(result(*w, "waterBinder"), "0,52");
    test::type(*w, "maxSize", "31,5"); // read whole, not cut at the comma
    EXPECT_TRUE(w->status().isEmpty()) << w->status().toStdString();
    EXPECT_EQ(field(*w, "water")->placeholderText(), "227,5（塑性混凝土的用水量表）");
}

TEST_F(Jgj55WindowTest, SavesAndOpensTheDesignFile) {
    QTemporaryDir folder;
    auto w = make();
    typeExampleA(*w);
    test::control<QComboBox>(*w, "environment")->setCurrentIndex(1); // 二a
    const QString path = folder.filePath("a.lanshi");
    ASSERT_TRUE(w->saveFile(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const jgj55::ReadResult read = jgj55::read(bytes.toStdString());
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.input->flyAsh->fraction, 0.2);
    EXPECT_EQ(read.input->environment, jgj55::Environment::IIa);
    EXPECT_FALSE(read.input->sigma);

    auto again = make();
    ASSERT_TRUE(again->openFile(path));
    EXPECT_EQ(field(*again, "flyAsh.fraction")->text(), "20");
    EXPECT_EQ(result(*again, "sand"), result(*w, "sand"));
    // Saved again: the same bytes.
    ASSERT_TRUE(again->saveFile(folder.filePath("b.lanshi")));
    QFile second(folder.filePath("b.lanshi"));
    ASSERT_TRUE(second.open(QIODevice::ReadOnly));
    EXPECT_EQ(second.readAll(), bytes);
    EXPECT_FALSE(again->openFile(folder.filePath("missing.lanshi")));
}

TEST_F(Jgj55WindowTest, TheClassicWindowGainsOneCommandThatOpensTheNewWindow) {
    QWidget classic;
    ui::Jgj55Command command(classic, {}, boxes, dialogs, reports);
    ASSERT_EQ(classic.actions().size(), 1);
    EXPECT_EQ(classic.actions().front()->text(), "新建 JGJ 55-2011 设计…");
    EXPECT_EQ(classic.actions().front()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_J));
    ui::Jgj55Window* opened = command.newDesign();
    ASSERT_NE(opened, nullptr);
    EXPECT_TRUE(opened->isVisible());
    opened->close();
}

TEST_F(Jgj55WindowTest, CopiesTheReport) {
    auto w = make();
    EXPECT_TRUE(w->reportText().isEmpty());
    typeExampleA(*w);
    EXPECT_TRUE(w->reportText().contains("设计依据：JGJ 55-2011"));
    EXPECT_TRUE(w->reportText().contains("计算：________________"));
}

} // namespace
