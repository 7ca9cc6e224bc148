#include "app/commandline.h"

#include "ui/identity.h"

#include <QCommandLineParser>

namespace app {
namespace {

const QString kProgram = QStringLiteral("lanshi");

QString usageHint() {
    return QStringLiteral("（用 %1 --help 查看用法）").arg(kProgram);
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's own options are written with one dash ("-platform offscreen").
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("%1：普通混凝土配合比设计。\n"
                       "不带设计文件时窗口显示默认数据；给出设计文件（.lanshi）时，"
                       "窗口启动后打开该设计。")
            .arg(ui::kApplicationName));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("显示本帮助并退出。"));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("显示程序的名称和版本并退出。"));
    parser.addOption(help);
    parser.addOption(version);
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
    const QStringList files = parser.positionalArguments();
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
