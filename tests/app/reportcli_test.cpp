// lanshi --report, run in-process: the report of a design file, its record
// used when it still holds, and one line for every failure.
#include "app/reportcli.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "design/design.h"
#include "design/designfile.h"
#include "report/record.h"
#include "report/recordjson.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

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

    // Writes the sheet as a design file, with the record of `last` if given.
    QString designFile(const char* name, const calc::Sheet& sheet,
                       const report::LastCalculation* last = nullptr) {
        design::Design d = design::capture(sheet);
        if (last) {
            d.extras["record"] = report::recordToJson(*last);
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
        return app::runReport(command, argc, argv);
    }

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

TEST_F(ReportCommandLine, ARecordThatStillHoldsKeepsTheWorking) {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    report::LastCalculation last;
    ASSERT_TRUE(calc::calculate(sheet, last.trace).completed());
    last.after = report::SheetState::of(sheet);

    // The base values are filled in now: without the record they are given.
    ASSERT_EQ(run(designFile("plain.lanshi", sheet), out("plain.txt")), 0);
    EXPECT_NE(contents(out("plain.txt")).find("fcu,0 = 26.58 MPa（输入值）"), std::string::npos);

    ASSERT_EQ(run(designFile("kept.lanshi", sheet, &last), out("kept.txt")), 0);
    const std::string kept = contents(out("kept.txt"));
    EXPECT_NE(kept.find("fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4 = 26.58 MPa"), std::string::npos);
    EXPECT_EQ(kept.find("输入值"), std::string::npos);

    // A record of other fields is not used.
    calc::MemorySheet edited = sheet;
    edited.setText(calc::Text1, "25");
    ASSERT_EQ(run(designFile("edited.lanshi", edited, &last), out("edited.txt")), 0);
    EXPECT_NE(contents(out("edited.txt")).find("fcu,0 = 26.58 MPa（输入值）"), std::string::npos);
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
