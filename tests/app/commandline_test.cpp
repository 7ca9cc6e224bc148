// The command line, read before any application exists.
#include "app/commandline.h"
#include "lanshi/version.h"

#include <set>

#include <QByteArray>
#include <QRegularExpression>
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
    {"ShortHelp", {"-h"}, Action::Help, {}, "用法：lanshi [选项] [设计文件]"},
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
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "10000"},
     Action::Report,
     "a.lanshi",
     {}},
    {"BatchAboveTheLargest",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "10000.01"},
     Action::Error,
     {},
     "试拌体积“10000.01”：试拌体积应在 0.1 L 到 10000 L 之间。"},
    {"BatchBelowTheSmallest",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume", "0.09"},
     Action::Error,
     {},
     "试拌体积“0.09”"},
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
    // Only the forms it writes, so that "-o x.doc" never makes a text file
    // under a name that promises a Word document.
    {"OutputAsWord", {"--report", "a.lanshi", "-o", "x.doc"}, Action::Error, {}, ".pdf、.html"},
    {"OutputWithoutExtension",
     {"--report", "a.lanshi", "-o", "dir.pdf/report"},
     Action::Error,
     {},
     "不写“report”"},
    {"OutputAsText", {"--report", "a.lanshi", "-o", "r.TXT"}, Action::Report, "a.lanshi", {}},
    {"OutputAsHtm", {"--report", "a.lanshi", "-o", "r.htm"}, Action::Report, "a.lanshi", {}},
    {"UnknownShort", {"-x", "a.lanshi"}, Action::Error, {}, "未知的选项“-x”"},
    {"TwoDesigns", {"a.lanshi", "b.lanshi"}, Action::Error, {}, "一次只能打开一个设计文件"},
    {"EmptyName", {""}, Action::Error, {}, "空的"},
    {"PlatformWithoutName", {"-platform"}, Action::Error, {}, "lanshi："},
    // Qt's parser words these in English.
    {"ReportWithoutValue", {"--report"}, Action::Error, {}, "选项“--report”后面缺少它的值"},
    {"BatchWithoutValue",
     {"--report", "a.lanshi", "-o", "-", "--batch-volume"},
     Action::Error,
     {},
     "选项“--batch-volume”后面缺少"},
    {"HelpWithAValue", {"--help=all"}, Action::Error, {}, "选项“--help”不带值"},
};

TEST(CommandLine, ReportTakesTheOutputAndTheBatchVolume) {
    const app::CommandLine command = app::parseCommandLine(
        {"lanshi", "--report", "a.lanshi", "--output", "r.html", "--batch-volume", "12.5"});
    ASSERT_EQ(command.action, Action::Report);
    EXPECT_EQ(command.output, QStringLiteral("r.html"));
    EXPECT_EQ(command.batchLitres, 12.5);
    // Not given: the design file's own, or the usual 20 L.
    EXPECT_EQ(app::parseCommandLine({"lanshi", "--report", "a.lanshi", "-o", "-"}).batchLitres,
              std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Arguments, CommandLine, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return std::string(row.param.name); });

// --new names the window of one of the two new kinds, and no file beside it.
TEST(CommandLine, NewOpensTheWindowOfItsKind) {
    const auto read = [](const char* kind) {
        return app::parseCommandLine(
            {QStringLiteral("lanshi"), QStringLiteral("--new"), QString::fromUtf8(kind)});
    };
    const app::CommandLine jgj55 = read("jgj55-2011");
    EXPECT_TRUE(jgj55.newJgj55);
    EXPECT_FALSE(jgj55.newEvaluation);
    const app::CommandLine evaluation = read("gbt50107-2010");
    EXPECT_EQ(evaluation.action, Action::Window);
    EXPECT_TRUE(evaluation.newEvaluation);
    EXPECT_FALSE(evaluation.newJgj55);
    const app::CommandLine other = read("gb50107");
    EXPECT_EQ(other.action, Action::Error);
    EXPECT_EQ(other.text, "lanshi：--new 只能是 jgj55-2011 或 gbt50107-2010，给出了“gb50107”（用 "
                          "lanshi --help 查看用法）");
}

TEST(CommandLine, HelpNamesTheProgramAndEveryOption) {
    const QString help =
        app::parseCommandLine({QStringLiteral("lanshi"), QStringLiteral("--help")}).text;
    for (const char* part : {"lanshi", "-h, --help", "-v, --version", ".lanshi"}) {
        EXPECT_TRUE(help.contains(QString::fromUtf8(part))) << part;
    }
    EXPECT_FALSE(help.contains(QStringLiteral("platform"))); // Qt's, not ours to explain
}

// main()'s arguments reach the parser as the user wrote them, Chinese names
// included (on Windows from the wide command line, which this test does not
// reach; here from UTF-8).
TEST(CommandLine, ArgumentsKeepChineseNames) {
    char program[] = "lanshi";
    char design[] = "设计 一（C30）.lanshi";
    char* argv[] = {program, design, nullptr};
    const QStringList arguments = app::argumentsOf(2, argv);
    ASSERT_EQ(arguments.size(), 2);
    EXPECT_EQ(arguments[1], QStringLiteral("设计 一（C30）.lanshi"));
    EXPECT_EQ(app::parseCommandLine(arguments).design, arguments[1]);
}

// Columns in a terminal: Chinese characters and full-width forms take two.
int columns(const QString& text) {
    int n = 0;
    for (const uint c : text.toUcs4()) {
        n += (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xFF00 && c <= 0xFF60) ? 2 : 1;
    }
    return n;
}

TEST(CommandLine, HelpIsChineseInAlignedColumns) {
    const QString help =
        app::parseCommandLine({QStringLiteral("lanshi"), QStringLiteral("--help")}).text;
    // Latin words are the program's, its options' and the file kinds' names.
    QString latin = help;
    latin.remove(QRegularExpression(QStringLiteral(
        R"(--?[a-z][a-z-]*|\blanshi\b|\.(lanshi|pdf|html|htm|txt|json)\b|\b(PDF|HTML|L|JGJ)\b|\bGB/T\b|\b(jgj55-2011|gbt50107-2010)\b)")));
    const QRegularExpressionMatch word =
        QRegularExpression(QStringLiteral("[A-Za-z_]+")).match(latin);
    EXPECT_FALSE(word.hasMatch()) << word.captured().toStdString() << "\n" << help.toStdString();
    EXPECT_TRUE(help.startsWith(QStringLiteral("用法：lanshi ")));

    // Below 选项 and 参数 each entry's text starts in the same column, its
    // wrapped lines too, and no line is wider than a terminal.
    std::set<int> starts;
    bool inTable = false;
    int entries = 0;
    for (const QString& line : help.split(u'\n')) {
        EXPECT_LE(columns(line), 80) << line.toStdString();
        if (line == QStringLiteral("选项：") || line == QStringLiteral("参数：")) {
            inTable = true;
            continue;
        }
        if (!inTable || line.isEmpty()) {
            continue;
        }
        ASSERT_TRUE(line.startsWith(QStringLiteral("  "))) << line.toStdString();
        const qsizetype gap = line.indexOf(QStringLiteral("  "), 2);
        const qsizetype text = line.trimmed().isEmpty() ? -1 : [&] {
            qsizetype at = gap < 0 ? 0 : gap;
            while (at < line.size() && line[at] == u' ') {
                ++at;
            }
            return at;
        }();
        ASSERT_GT(text, 0) << line.toStdString();
        starts.insert(columns(line.left(text)));
        entries += line[2] != u' ' ? 1 : 0;
    }
    EXPECT_EQ(starts.size(), 1u) << help.toStdString();
    EXPECT_EQ(entries, 8); // seven options and the design file
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
