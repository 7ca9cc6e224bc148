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
