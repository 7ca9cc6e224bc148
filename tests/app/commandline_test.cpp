// The command line, read before any application exists.
#include "app/commandline.h"
#include "lanshi/version.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

namespace {

using Action = app::CommandLine::Action;

struct Case {
    const char* name;
    QStringList arguments; // after the program's name
    Action action;
    QString design;
    QString says; // a part of the text printed
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

class CommandLine : public ::testing::TestWithParam<Case> {};

TEST_P(CommandLine, IsReadAsAUserMeansIt) {
    const Case& c = GetParam();
    const app::CommandLine command =
        app::parseCommandLine(QStringList{QStringLiteral("/usr/bin/lanshi")} + c.arguments);
    EXPECT_EQ(command.action, c.action);
    EXPECT_EQ(command.design, c.design);
    EXPECT_TRUE(command.text.contains(c.says)) << command.text.toStdString();
    if (c.action == Action::Error) {
        EXPECT_FALSE(command.text.trimmed().contains(QLatin1Char('\n'))) << "one line";
    }
}

const Case kCases[] = {
    {"Nothing", {}, Action::Window, {}, {}},
    {"ADesign", {"C30 设计.lanshi"}, Action::Window, "C30 设计.lanshi", {}},
    {"ADesignAfterDashes", {"--", "--odd.lanshi"}, Action::Window, "--odd.lanshi", {}},
    {"QtPlatform", {"-platform", "offscreen", "a.lanshi"}, Action::Window, "a.lanshi", {}},
    {"Help", {"--help"}, Action::Help, {}, "--version"},
    {"ShortHelp", {"-h"}, Action::Help, {}, "lanshi [options] [设计文件]"},
    {"HelpWins", {"a.lanshi", "--help"}, Action::Help, {}, "设计文件"},
    {"Version", {"--version"}, Action::Version, {}, "普通澜石 " + QLatin1String(lanshi::kVersion)},
    {"ShortVersion", {"-v"}, Action::Version, {}, QLatin1String(lanshi::kVersion)},
    {"UnknownLong", {"--bogus"}, Action::Error, {}, "未知的选项“--bogus”"},
    {"Report", {"--report", "C30.lanshi", "-o", "C30.pdf"}, Action::Report, "C30.lanshi", {}},
    {"ReportToStandardOutput", {"--report", "a.lanshi", "-o", "-"}, Action::Report, "a.lanshi", {}},
    {"ReportWithoutOutput", {"--report", "a.lanshi"}, Action::Error, {}, "需要用 -o"},
    {"ReportWithoutDesign", {"--report"}, Action::Error, {}, "lanshi："},
    {"OutputWithoutReport", {"-o", "a.pdf"}, Action::Error, {}, "只用于 --report"},
    {"ReportAndADesign",
     {"--report", "a.lanshi", "-o", "-", "b.lanshi"},
     Action::Error,
     {},
     "不能再给“b.lanshi”"},
    {"ZeroBatch",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "0"},
     Action::Error,
     {},
     "试拌体积“0”"},
    {"LargestBatch",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "100000"},
     Action::Report,
     "a.lanshi",
     {}},
    {"BatchAboveTheLargest",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "100000.01"},
     Action::Error,
     {},
     "试拌体积“100000.01”"},
    {"OutputTwice",
     {"--report", "a.lanshi", "-o", "a.pdf", "-o", "b.pdf"},
     Action::Error,
     {},
     "各只能给一次"},
    {"OutputTwiceTheSame",
     {"--report", "a.lanshi", "--output", "a.pdf", "-o", "a.pdf"},
     Action::Error,
     {},
     "各只能给一次"},
    {"ReportTwice",
     {"--report", "a.lanshi", "--report", "b.lanshi", "-o", "-"},
     Action::Error,
     {},
     "各只能给一次"},
    {"WordBatch",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "many"},
     Action::Error,
     {},
     "试拌体积“many”"},
    {"UnknownShort", {"-x", "a.lanshi"}, Action::Error, {}, "未知的选项“-x”"},
    {"TwoDesigns", {"a.lanshi", "b.lanshi"}, Action::Error, {}, "一次只能打开一个设计文件"},
    {"EmptyName", {""}, Action::Error, {}, "空的"},
    {"PlatformWithoutName", {"-platform"}, Action::Error, {}, "lanshi："},
};

TEST(CommandLine, ReportTakesTheOutputAndTheBatchVolume) {
    const app::CommandLine command = app::parseCommandLine(
        {"lanshi", "--report", "a.lanshi", "--output", "r.html", "--batch-volume", "12.5"});
    ASSERT_EQ(command.action, Action::Report);
    EXPECT_EQ(command.output, QStringLiteral("r.html"));
    EXPECT_EQ(command.batchLitres, 12.5);
    EXPECT_EQ(app::parseCommandLine({"lanshi", "--report", "a.lanshi", "-o", "-"}).batchLitres,
              20.0);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(CommandLine, HelpNamesTheProgramAndEveryOption) {
    const QString help =
        app::parseCommandLine({QStringLiteral("lanshi"), QStringLiteral("--help")}).text;
    for (const char* part : {"lanshi", "-h, --help", "-v, --version", ".lanshi"}) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(part))) << part;
    }
    EXPECT_FALSE(help.contains(QStringLiteral("platform"))); // Qt's, not ours to explain
}

// A display is named in the environment or a platform chosen.
TEST(CommandLine, WindowNeedsADisplayOrAPlatform) {
    const char* names[] = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
    QByteArray saved[3];
    for (int i = 0; i < 3; ++i) {
        saved[i] = qgetenv(names[i]);
        qunsetenv(names[i]);
    }
    const app::CommandLine plain = app::parseCommandLine({QStringLiteral("lanshi")});
    EXPECT_FALSE(app::displayAvailable(plain));
    EXPECT_TRUE(app::displayAvailable(app::parseCommandLine(
        {QStringLiteral("lanshi"), QStringLiteral("-platform"), QStringLiteral("offscreen")})));
    for (const char* name : names) {
        qputenv(name, ":1");
        EXPECT_TRUE(app::displayAvailable(plain)) << name;
        qunsetenv(name);
    }
    for (int i = 0; i < 3; ++i) {
        if (!saved[i].isNull()) {
            qputenv(names[i], saved[i]);
        }
    }
    EXPECT_FALSE(app::noDisplayText().contains(QLatin1Char('\n')));
}

} // namespace
