#include "app/commandline.h"

#include "ui/identity.h"

#include <QCommandLineParser>

namespace app {
namespace {

const QString kProgram = QStringLiteral("lanshi");

QString usageHint() {
    return QStringLiteral("（用 %1 --help 查看用法）").arg(kProgram);
}

// --report DESIGN -o OUT [--batch-volume LITRES], all three checked.
template <typename Fail>
CommandLine reportCommand(const QCommandLineParser& parser, const QCommandLineOption& report,
                          const QCommandLineOption& output, const QCommandLineOption& batch,
                          const Fail& fail) {
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
    command.design = parser.value(report);
    command.output = parser.value(output);
    if (command.design.isEmpty()) {
        return fail(QStringLiteral("设计文件的名字是空的"));
    }
    if (!parser.isSet(output) || command.output.isEmpty()) {
        return fail(QStringLiteral("--report 需要用 -o 给出计算书写入的文件（- 为标准输出）"));
    }
    if (parser.isSet(batch)) {
        bool ok = false;
        command.batchLitres = parser.value(batch).toDouble(&ok);
        // A trial batch is a positive volume, within reason for a laboratory
        // mixer or a plant's first batch.
        if (!ok || !(command.batchLitres > 0.0) || command.batchLitres > 100000.0) {
            return fail(QStringLiteral("试拌体积“%1”不是大于 0、不超过 100000 的升数")
                            .arg(parser.value(batch)));
        }
    }
    return command;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's own options are written with one dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("%1：普通混凝土配合比设计。\n"
                       "不带设计文件时窗口显示默认数据；给出设计文件（.lanshi）时，"
                       "窗口启动后打开该设计。\n"
                       "用 --report 时不打开窗口，也不需要图形显示：按“计算”计算该设计，"
                       "把计算书写入 -o 给出的文件（扩展名 .pdf 写 PDF，.html 或 .htm 写 HTML，"
                       "其他写纯文本；- 写到标准输出）。成功时退出状态为 0；否则在标准错误上"
                       "用一行说明原因（计算中止时指出数据项和原因），退出状态非 0。")
            .arg(ui::kApplicationName));
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
        QStringLiteral("计算书写入的文件（.pdf、.html 或文本；- 为标准输出）。"),
        QStringLiteral("文件"));
    const QCommandLineOption batch(QStringLiteral("batch-volume"),
                                   QStringLiteral("试拌用量的混凝土体积，单位 L（默认 20）。"),
                                   QStringLiteral("升"));
    const QCommandLineOption newDesign(
        QStringLiteral("new"),
        QStringLiteral("打开新设计的窗口（jgj55-2011：按 JGJ 55-2011 设计）。"),
        QStringLiteral("种类"));
    parser.addOption(newDesign);
    parser.addOption(report);
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
    parser.addPositionalArgument(QStringLiteral("设计文件"),
                                 QStringLiteral("启动时打开的设计文件（.lanshi）。"),
                                 QStringLiteral("[设计文件]"));

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
        return fail(QStringLiteral("命令行有误：%1").arg(parser.errorText()));
    }
    if (parser.isSet(help)) {
        command.action = CommandLine::Action::Help;
        // Before the application exists Qt cannot name the program itself.
        command.text = parser.helpText().replace(QStringLiteral("<executable_name>"), kProgram);
        return command;
    }
    if (parser.isSet(version)) {
        command.action = CommandLine::Action::Version;
        command.text = QStringLiteral("%1 %2\n").arg(ui::kApplicationName, ui::kApplicationVersion);
        return command;
    }
    if (parser.isSet(report) || parser.isSet(output) || parser.isSet(batch)) {
        return reportCommand(parser, report, output, batch, fail);
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(newDesign)) {
        if (parser.value(newDesign) != QLatin1String("jgj55-2011")) {
            return fail(
                QStringLiteral("--new 只能是 jgj55-2011，给出了“%1”").arg(parser.value(newDesign)));
        }
        if (!files.isEmpty()) {
            return fail(QStringLiteral("--new 不能与设计文件同时给出"));
        }
        command.newJgj55 = true;
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
