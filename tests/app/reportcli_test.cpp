// lanshi --report, run in-process: the report of a design file, its record
// used when it still holds, and one line for every failure.
#include "app/reportcli.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "design/design.h"
#include "design/designfile.h"
#include "design/provenance.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <unistd.h>

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string contents(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class ReportCommandLine : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // Writes the sheet as a design file, with the calculation numbered
    // `last` of `provenance` if given.
    QString designFile(const char* name, const calc::Sheet& sheet,
                       const design::Provenance* provenance = nullptr, int last = 0,
                       const std::function<void(design::Design&)>& edit = {}) {
        design::Design d = design::capture(sheet);
        if (provenance) {
            design::keepCalculation(d, *provenance, sheet, last);
        }
        if (edit) {
            edit(d);
        }
        const QString path = dir.filePath(QString::fromUtf8(name));
        std::ofstream(path.toStdString(), std::ios::binary) << design::serialize(d);
        return path;
    }

    // Runs lanshi --report DESIGN -o OUT and returns its exit status.
    int run(const QString& design, const QString& output, double litres = 20.0) {
        app::CommandLine command;
        command.action = app::CommandLine::Action::Report;
        command.design = design;
        command.output = output;
        command.batchLitres = litres;
        int argc = 1;
        char name[] = "lanshi";
        char* argv[] = {name, nullptr};
        // Standard error, as the user would read it.
        std::fflush(stderr);
        const QString errors = dir.filePath(QStringLiteral("stderr.txt"));
        std::FILE* capture = std::fopen(errors.toStdString().c_str(), "w+");
        const int saved = ::dup(2);
        ::dup2(::fileno(capture), 2);
        const int status = app::runReport(command, argc, argv);
        std::fflush(stderr);
        ::dup2(saved, 2);
        ::close(saved);
        std::fclose(capture);
        lastErrors = contents(errors);
        return status;
    }

    std::string lastErrors;

    QString out(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dir;
};

TEST_F(ReportCommandLine, WritesTextOrHtmlByTheExtension) {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    const QString design = designFile("C20.lanshi", sheet);
    ASSERT_EQ(run(design, out("r.txt"), 25.0), 0);
    const std::string text = contents(out("r.txt"));
    EXPECT_NE(text.find("设计文件：C20.lanshi\n"), std::string::npos);
    EXPECT_NE(text.find("水泥 : 砂 : 石子 : 水 = 1.00 : 1.96 : 3.49 : 0.52"), std::string::npos);
    EXPECT_NE(text.find("试拌 25 L 混凝土"), std::string::npos);

    for (const char* name : {"r.html", "r.HTML", "r.htm"}) {
        ASSERT_EQ(run(design, out(name)), 0) << name;
        EXPECT_EQ(contents(out(name)).rfind("<!DOCTYPE html>", 0), 0u) << name;
    }
    EXPECT_EQ(contents(out("r.txt")).find("<!DOCTYPE html>"), std::string::npos);
}

TEST_F(ReportCommandLine, AfterTwoPressesTheWorkingIsTheFirstPresssAndNothingIsNoted) {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    design::Provenance provenance;
    design::calculate(sheet, provenance);
    const design::Pressed second = design::calculate(sheet, provenance);
    ASSERT_TRUE(second.outcome.completed());

    // Without what the calculation kept, the filled base values are the user's.
    ASSERT_EQ(run(designFile("plain.lanshi", sheet), out("plain.txt")), 0);
    EXPECT_NE(contents(out("plain.txt")).find("fcu,0 = 26.58 MPa（输入值）"), std::string::npos);
    EXPECT_EQ(lastErrors, "");

    ASSERT_EQ(
        run(designFile("kept.lanshi", sheet, &provenance, second.calculation), out("kept.txt")), 0);
    const std::string kept = contents(out("kept.txt"));
    EXPECT_NE(kept.find("fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4 = 26.58 MPa"), std::string::npos);
    EXPECT_NE(kept.find("满足最小水泥用量"), std::string::npos);
    EXPECT_EQ(kept.find("输入值"), std::string::npos);
    EXPECT_EQ(lastErrors, "");
}

TEST_F(ReportCommandLine, ARecordEditedByHandIsSetAsideAndSaidSo) {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    design::Provenance provenance;
    const design::Pressed pressed = design::calculate(sheet, provenance);
    // The entries changed so that a working of 60 and 9 would follow.
    const QString design =
        designFile("edited.lanshi", sheet, &provenance, pressed.calculation, [](design::Design& d) {
            nlohmann::json& entries = d.extras["calculation"]["before"]["1"]["fields"];
            entries["Text1"] = "60";
            entries["Text3"] = "9";
        });
    ASSERT_EQ(run(design, out("edited.txt")), 0);
    const std::string text = contents(out("edited.txt"));
    EXPECT_EQ(text.find("60 + 1.645 × 9"), std::string::npos) << text;
    EXPECT_NE(text.find("fcu,0 = 26.58 MPa（输入值）"), std::string::npos) << text;
    EXPECT_NE(lastErrors.find("edited.lanshi"), std::string::npos) << lastErrors;
    EXPECT_NE(lastErrors.find("计算记录未被采用"), std::string::npos) << lastErrors;
    EXPECT_EQ(std::count(lastErrors.begin(), lastErrors.end(), '\n'), 1) << lastErrors;

    // An earlier version's record, its working edited: never printed.
    const QString old = designFile("old.lanshi", sheet, nullptr, 0, [](design::Design& d) {
        d.extras["record"] = nlohmann::json::parse(
            R"({"stages": [{"stage": "第一步", "writes": [{"field": "Text2", "text": "74.81"}],
                "reads": [{"field": "Text1", "text": "60"}]}]})");
    });
    ASSERT_EQ(run(old, out("old.txt")), 0);
    EXPECT_EQ(contents(out("old.txt")).find("74.81"), std::string::npos);
    EXPECT_NE(lastErrors.find("计算记录未被采用"), std::string::npos) << lastErrors;
}

TEST_F(ReportCommandLine, FailuresWriteNothing) {
    calc::MemorySheet stopped;
    calc::qk(stopped);
    stopped.setText(calc::Text5, "abc");
    EXPECT_EQ(run(designFile("stopped.lanshi", stopped), out("s.txt")), app::kReportFailed);
    EXPECT_EQ(run(dir.filePath(QStringLiteral("missing.lanshi")), out("m.txt")),
              app::kReportFailed);
    calc::MemorySheet fine;
    calc::qk(fine);
    EXPECT_EQ(run(designFile("fine.lanshi", fine), dir.filePath(QStringLiteral("no/such/r.txt"))),
              app::kReportFailed);
    EXPECT_FALSE(QFile::exists(out("s.txt")));
    EXPECT_FALSE(QFile::exists(out("m.txt")));
}

} // namespace

namespace {

// C30, P·O 42.5, 20 % fly ash, 1 % admixture saving 20 %, crushed 20 mm,
// slump 180 mm, in environment 三a: W/B 0.52 held to 0.45, and C30 below C35.
constexpr const char* kJgj55Design = R"({"lanshi-design": 1, "standard": "JGJ 55-2011",
    "jgj55-2011": {"fcuk": 30, "cementGrade": "42.5", "flyAsh": {"fraction": 0.2},
    "admixture": {"fraction": 0.01, "waterReduction": 0.2}, "stone": "crushed",
    "maxSize": 20, "slump": 180, "environment": "三a"}})";

// By hand: fcu,0 = 38.225 → 38.2; fb = 0.85 × 49.3 = 41.905 → 41.9; W/B =
// 22.207 / 42.6414 = 0.52 → 0.45; mw0 = 237.5 × 0.8 = 190; mb0 = 190 / 0.45 =
// 422.2 → 422; mf0 = 84.4 → 84; mc0 = 338; ma0 = 4.22; βs at 0.45 = 33.0 +
// (180 − 60) / 20 = 39; T = 2400 − 422 − 190 = 1788; ms0 = 697.32 → 697; mg0 = 1091.
TEST_F(ReportCommandLine, AJgj55DesignsFiguresAsJsonUnderTheirDocumentedKeys) {
    const QString design = out("C30.lanshi");
    std::ofstream(design.toStdString(), std::ios::binary) << kJgj55Design;
    ASSERT_EQ(run(design, out("R.json")), 0) << lastErrors;
    EXPECT_EQ(contents(out("R.json")), R"({
  "fcu0": 38.2,
  "sigma": 5,
  "fce": 49.3,
  "gammaF": 0.85,
  "gammaS": 1,
  "fb": 41.9,
  "alphaA": 0.53,
  "alphaB": 0.2,
  "waterBinderComputed": 0.52,
  "waterBinder": 0.45,
  "water": 190,
  "binder": 422,
  "cement": 338,
  "flyAsh": 84,
  "slag": 0,
  "admixture": 4.22,
  "sandRatio": 39,
  "sand": 697,
  "stone": 1091,
  "notes": [
    "计算水胶比 0.52 大于环境类别三a的最大水胶比 0.45，取 0.45"
  ],
  "warnings": [
    "强度等级 C30 低于环境类别三a的最低强度等级 C35"
  ],
  "checks": [
    "W/B 0.45 ≤ 0.45（三a） 满足",
    "mb0 422 ≥ 330（钢筋混凝土） 满足",
    "粉煤灰 20% ≤ 30%（表 3.0.5-1） 满足"
  ]
}
)");
    EXPECT_EQ(lastErrors, "");
}

TEST_F(ReportCommandLine, AJgj55DesignsTrialBatchIsForTheVolumeAsked) {
    const QString design = out("C30.lanshi");
    std::ofstream(design.toStdString(), std::ios::binary) << kJgj55Design;
    ASSERT_EQ(run(design, out("r.txt"), 25.0), 0) << lastErrors;
    const std::string text = contents(out("r.txt"));
    const std::size_t batch = text.find("四、试拌用量");
    ASSERT_NE(batch, std::string::npos) << text;
    EXPECT_NE(text.find("试拌 25 L 混凝土", batch), std::string::npos) << text;
    // Each mass × 25 / 1000, to the gram: 338 → 8.450, 697 → 17.425, 4.22 → 0.1055 → 0.106.
    for (const char* mass :
         {" 8.450\n", " 2.100\n", " 4.750\n", " 17.425\n", " 27.275\n", " 0.106\n"}) {
        EXPECT_NE(text.find(mass, batch), std::string::npos) << mass << text.substr(batch);
    }
}

} // namespace
