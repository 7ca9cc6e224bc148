#include "app/commandline.h"

#include "session/document.h"
#include "ui/identity.h"

#include <algorithm>
#include <utility>

#include <QCommandLineParser>
#ifdef Q_OS_WIN
#include <shellapi.h>

#include <qt_windows.h>
#endif
#include <QFileInfo>
#include <QRegularExpression>

namespace app {
namespace {

const QString kProgram = QStringLiteral("lanshi");

QString usageHint() {
    return QStringLiteral("（用 %1 --help 查看用法）").arg(kProgram);
}

// Whether the report can be written to a file of this name: by its
// extension, the one thing that chooses the form.
bool writesTo(const QString& output) {
    const QString suffix = QFileInfo(output).suffix().toLower();
    return suffix == QLatin1String("pdf") || suffix == QLatin1String("html") ||
           suffix == QLatin1String("htm") || suffix == QLatin1String("txt") ||
           suffix == QLatin1String("json");
}

// --report DESIGN -o OUT [--batch-volume LITRES], or --notice DESIGN -o OUT,
// all checked.
template <typename Fail>
CommandLine reportCommand(const QCommandLineParser& parser, const QCommandLineOption& reportOption,
                          const QCommandLineOption& noticeOption, const QCommandLineOption& output,
                          const QCommandLineOption& batch, const Fail& fail) {
    if (parser.isSet(reportOption) && parser.isSet(noticeOption)) {
        return fail(QStringLiteral("--report 和 --notice 不能同时给出"));
    }
    if (parser.isSet(noticeOption) && parser.isSet(batch)) {
        return fail(QStringLiteral("--batch-volume 只用于 --report"));
    }
    const bool notice = parser.isSet(noticeOption);
    const QCommandLineOption& report = notice ? noticeOption : reportOption;
    if (!parser.isSet(report)) {
        return fail(QStringLiteral("-o 和 --batch-volume 只用于 --report"));
    }
    if (!parser.positionalArguments().isEmpty()) {
        return fail(QStringLiteral("--report 已给出设计文件，不能再给“%1”")
                        .arg(parser.positionalArguments().constFirst()));
    }
    if (parser.values(report).size() > 1 || parser.values(output).size() > 1) {
        return fail(QStringLiteral("--report 和 -o 各只能给一次"));
    }
    CommandLine command;
    command.action = CommandLine::Action::Report;
    command.notice = notice;
    command.design = parser.value(report);
    command.output = parser.value(output);
    if (command.design.isEmpty()) {
        return fail(QStringLiteral("设计文件的名字是空的"));
    }
    if (!parser.isSet(output) || command.output.isEmpty()) {
        return fail(QStringLiteral("--report 需要用 -o 给出计算书写入的文件（- 为标准输出）"));
    }
    if (command.output != QLatin1String("-") && !writesTo(command.output)) {
        return fail(QStringLiteral("计算书只写成 .pdf、.html、.htm 或 .txt 文件，结果数据写成 "
                                   ".json 文件（- 为标准输出），"
                                   "不写“%1”")
                        .arg(QFileInfo(command.output).fileName()));
    }
    if (parser.isSet(batch)) {
        bool ok = false;
        const double litres = parser.value(batch).toDouble(&ok);
        // The one range of every front end (session/document.h).
        const std::string problem = ok ? session::batchLitresProblem(litres) : "不是一个数。";
        if (!problem.empty()) {
            return fail(QStringLiteral("试拌体积“%1”：%2")
                            .arg(parser.value(batch), QString::fromStdString(problem)));
        }
        command.batchLitres = litres;
    }
    return command;
}

// Columns a character takes in a terminal: two for the wide characters of
// Chinese, Japanese and Korean text and the full-width forms, one otherwise.
int columnsOf(char32_t c) {
    const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF && c != 0x303F) ||
                      (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
                      (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
                      (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFD);
    return wide ? 2 : 1;
}

// Chinese punctuation that never begins a line.
bool closesLine(char32_t c) {
    return QStringView(u"，。、；：？！）」』”’》").contains(QChar(c));
}

// `text` broken into lines of at most `width` columns: between two Chinese
// characters or at a blank, never inside a Latin word or number, never before
// closing punctuation, and never so that a line starts with "-" (which would
// read as an option).
QStringList wrapped(const QString& text, int width) {
    QStringList lines;
    const QList<uint> chars = text.toUcs4();
    QString line;
    int used = 0;
    qsizetype breakAt = -1; // in `line`: where the last allowed break is
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const auto c = char32_t(chars[i]);
        const bool latin = c < 0x80 && c != u' ';
        const bool afterLatin =
            !line.isEmpty() && line.back().unicode() < 0x80 && line.back() != u' ';
        if (!line.isEmpty() && !closesLine(c) && c != u'-' && !(latin && afterLatin)) {
            breakAt = line.size();
        }
        line += QString::fromUcs4(&c, 1);
        used += columnsOf(c);
        if (used > width && breakAt > 0) {
            lines.append(line.left(breakAt).trimmed());
            line = line.mid(breakAt).trimmed();
            used = 0;
            for (const uint rest : line.toUcs4()) {
                used += columnsOf(char32_t(rest));
            }
            breakAt = -1;
        }
    }
    if (!line.trimmed().isEmpty()) {
        lines.append(line.trimmed());
    }
    return lines;
}

int columnsOf(const QString& text) {
    int columns = 0;
    for (const uint c : text.toUcs4()) {
        columns += columnsOf(char32_t(c));
    }
    return columns;
}

// "-o, --output <文件>"
QString namesOf(const QCommandLineOption& option) {
    QStringList names;
    for (const QString& name : option.names()) {
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    }
    QString entry = names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty()) {
        entry += QStringLiteral(" <%1>").arg(option.valueName());
    }
    return entry;
}

// The usage, wholly in Chinese (Qt's helpText() heads its parts "Usage:" and
// "Options:" and counts every character as one column, so that Chinese value
// names push their descriptions out of line).
QString helpText(const QString& description, const QList<QCommandLineOption>& options,
                 const QString& argument, const QString& argumentText) {
    constexpr int kWidth = 80;
    QList<std::pair<QString, QString>> rows;
    for (const QCommandLineOption& option : options) {
        if (!(option.flags() & QCommandLineOption::HiddenFromHelp)) {
            rows.append({namesOf(option), option.description()});
        }
    }
    int column = columnsOf(argument);
    for (const auto& [names, text] : rows) {
        column = std::max(column, columnsOf(names));
    }
    column += 4; // two blanks before the names, at least two after
    const auto table = [&](const QList<std::pair<QString, QString>>& entries) {
        QString part;
        for (const auto& [names, text] : entries) {
            QString line = QStringLiteral("  ") + names;
            line += QString(column - columnsOf(line), u' ');
            const QStringList lines = wrapped(text, kWidth - column);
            for (qsizetype i = 0; i < lines.size(); ++i) {
                part += (i == 0 ? line : QString(column, u' ')) + lines[i] + u'\n';
            }
        }
        return part;
    };
    QString help = QStringLiteral("用法：%1 [选项] [设计文件]\n"
                                  "      %1 --report 设计文件 -o 文件 [--batch-volume 升]\n"
                                  "      %1 --new jgj55-2011|gbt50107-2010\n\n")
                       .arg(kProgram);
    for (const QString& paragraph : description.split(u'\n')) {
        for (const QString& line : wrapped(paragraph, kWidth)) {
            help += line + u'\n';
        }
    }
    help += QStringLiteral("\n选项：\n") + table(rows);
    help += QStringLiteral("\n参数：\n") + table({{argument, argumentText}});
    return help;
}

// QCommandLineParser's own complaints, which it words in English before any
// translation can be loaded.
QString chineseError(const QString& error) {
    static const QRegularExpression missing(QStringLiteral("^Missing value after '(.*)'\\.?$"));
    static const QRegularExpression unexpected(
        QStringLiteral("^Unexpected value after '(.*)'\\.?$"));
    if (const QRegularExpressionMatch m = missing.match(error); m.hasMatch()) {
        return QStringLiteral("选项“%1”后面缺少它的值").arg(m.captured(1));
    }
    if (const QRegularExpressionMatch m = unexpected.match(error); m.hasMatch()) {
        return QStringLiteral("选项“%1”不带值").arg(m.captured(1));
    }
    return QStringLiteral("命令行有误：%1").arg(error);
}

} // namespace

QStringList argumentsOf(int argc, char* argv[]) {
    QStringList arguments;
#ifdef Q_OS_WIN
    Q_UNUSED(argv);
    int count = 0;
    if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i) {
            arguments << QString::fromWCharArray(wide[i]);
        }
        LocalFree(wide);
        if (count == argc) {
            return arguments;
        }
        arguments.clear();
    }
#endif
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's own options are written with one dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QString description =
        QStringLiteral("%1：普通混凝土配合比设计。\n"
                       "不带设计文件时窗口显示默认数据；给出设计文件（.lanshi）时，"
                       "窗口启动后打开该设计。\n"
                       "用 --report 时不打开窗口，也不需要图形显示：按“计算”计算该设计，"
                       "把计算书写入 -o 给出的文件（扩展名 .pdf 写 PDF，.html 或 .htm 写 HTML，"
                       ".txt 写纯文本，.json 写结果数据；- 写到标准输出）。成功时退出状态为 "
                       "0；否则在标准错误上"
                       "用一行说明原因（计算中止时指出数据项和原因），退出状态非 0。")
            .arg(ui::kApplicationName);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示本帮助并退出。"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("显示程序的名称和版本并退出。"));
    parser.addOption(help);
    parser.addOption(version);
    const QCommandLineOption report(QStringLiteral("report"),
                                    QStringLiteral("计算该设计文件并写出计算书，不打开窗口。"),
                                    QStringLiteral("设计文件"));
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral(
            "计算书写入的文件（.pdf、.html、.htm 或 .txt；.json 为结果数据；- 为标准输出）。"),
        QStringLiteral("文件"));
    const QCommandLineOption batch(QStringLiteral("batch-volume"),
                                   QStringLiteral("试拌用量的混凝土体积，单位 L（默认 20）。"),
                                   QStringLiteral("升"));
    const QCommandLineOption notice(
        QStringLiteral("notice"),
        QStringLiteral("写出该设计的配合比通知单（施工配合比与每盘用量），不打开窗口。"),
        QStringLiteral("设计文件"));
    const QCommandLineOption newDesign(
        QStringLiteral("new"),
        QStringLiteral("打开新设计的窗口（jgj55-2011：按 JGJ 55-2011 设计；gbt50107-2010：按 "
                       "GB/T 50107-2010 检验评定混凝土强度）。"),
        QStringLiteral("种类"));
    parser.addOption(newDesign);
    parser.addOption(report);
    parser.addOption(notice);
    parser.addOption(output);
    parser.addOption(batch);
    QCommandLineOption platform(QStringLiteral("platform"), QString(), QStringLiteral("名称"));
    platform.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(platform);
    for (const char* name : {"display", "style", "stylesheet"}) {
        QCommandLineOption qtOption(QLatin1String(name), QString(), QStringLiteral("值"));
        qtOption.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(qtOption);
    }
    const QString argument = QStringLiteral("设计文件");
    const QString argumentText = QStringLiteral("启动时打开的设计文件（.lanshi）。");
    parser.addPositionalArgument(argument, argumentText, QStringLiteral("[设计文件]"));

    CommandLine command;
    const auto fail = [&command](const QString& text) {
        command.action = CommandLine::Action::Error;
        command.text = QStringLiteral("%1：%2%3").arg(kProgram, text, usageHint());
        return command;
    };
    if (!parser.parse(arguments.isEmpty() ? QStringList{kProgram} : arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString& name = unknown.constFirst();
            return fail(
                QStringLiteral("未知的选项“%1%2”")
                    .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
        }
        return fail(chineseError(parser.errorText()));
    }
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::Help;
        command.text =
            helpText(description, {help, version, newDesign, report, notice, output, batch},
                     argument, argumentText);
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
        command.text = QStringLiteral("%1 %2\n").arg(ui::kApplicationName, ui::kApplicationVersion);
        return command;
    }
    if (parser.isSet(report) || parser.isSet(notice) || parser.isSet(output) ||
        parser.isSet(batch)) {
        return reportCommand(parser, report, notice, output, batch, fail);
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(newDesign)) {
        const QString kind = parser.value(newDesign);
        if (kind != QLatin1String("jgj55-2011") && kind != QLatin1String("gbt50107-2010")) {
            return fail(
                QStringLiteral("--new 只能是 jgj55-2011 或 gbt50107-2010，给出了“%1”").arg(kind));
        }
        if (!files.isEmpty()) {
            return fail(QStringLiteral("--new 不能与设计文件同时给出"));
        }
        command.newJgj55 = kind == QLatin1String("jgj55-2011");
        command.newEvaluation = !command.newJgj55;
    }
    if (files.size() > 1) {
        return fail(QStringLiteral("一次只能打开一个设计文件，给出了 %1 个").arg(files.size()));
    }
    if (!files.isEmpty()) {
        if (files.constFirst().isEmpty()) {
            return fail(QStringLiteral("设计文件的名字是空的"));
        }
        command.design = files.constFirst();
    }
    command.platform = parser.value(platform);
    return command;
}

bool displayAvailable(const CommandLine& command) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
    return !command.platform.isEmpty() || !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
#else
    Q_UNUSED(command);
    return true;
#endif
}

QString noDisplayText() {
    return QStringLiteral("%1：没有可用的图形显示（DISPLAY 和 WAYLAND_DISPLAY 都未设置），"
                          "无法打开窗口。")
        .arg(kProgram);
}

} // namespace app
