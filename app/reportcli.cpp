#include "app/reportcli.h"

#include "calc/memorysheet.h"
#include "calc/trace.h"
#include "design/designfile.h"
#include "design/project.h"
#include "design/provenance.h"
#include "jgj55/designfile.h"
#include "jgj55/resultjson.h"
#include "report/jgj55report.h"
#include "report/report.h"
#include "session/stopreport.h"
#include "ui/designio.h"
#include "ui/identity.h"
#include "ui/qtext.h"
#include "ui/regional.h"
#include "ui/reportprint.h"
#include "ui/systemreason.h"

#include <cerrno>
#include <cstdio>
#include <optional>

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSaveFile>

namespace app {

namespace {

const QString kProgram = QStringLiteral("lanshi");

void write(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// A line on standard error that is no failure.
void note(const QString& what) {
    QString line = QStringLiteral("%1：%2").arg(kProgram, what);
    line.remove(QLatin1Char('\n'));
    write(stderr, (line + QLatin1Char('\n')).toUtf8());
}

int failed(const QString& why) {
    // One line, whatever the reason's own text holds.
    QString line = QStringLiteral("%1：%2").arg(kProgram, why);
    line.remove(QLatin1Char('\n'));
    write(stderr, (line + QLatin1Char('\n')).toUtf8());
    return kReportFailed;
}

enum class Kind { Text, Html, Pdf, Json };

Kind kindOf(const QString& output) {
    const QString suffix = QFileInfo(output).suffix().toLower();
    if (output == QLatin1String("-")) {
        return Kind::Text;
    }
    if (suffix == QLatin1String("pdf")) {
        return Kind::Pdf;
    }
    if (suffix == QLatin1String("json")) {
        return Kind::Json;
    }
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm") ? Kind::Html
                                                                             : Kind::Text;
}

// Written aside and put in place at the end, as the window writes.
QString saveBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return ui::systemReason(file);
    }
    return {};
}

// The report as the output's name asks: text, HTML or PDF.
int writeDocument(const report::Document& document, const CommandLine& command, int& argc,
                  char** argv) {
    QString error;
    switch (kindOf(command.output)) {
    case Kind::Json: // answered before a document is made
    case Kind::Text:
        if (command.output == QLatin1String("-")) {
            write(stdout, QByteArray::fromStdString(report::toText(document)));
            if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
                return failed(
                    QStringLiteral("无法写到标准输出：%1").arg(ui::systemReasonOf(errno)));
            }
            return 0;
        }
        error = saveBytes(command.output, QByteArray::fromStdString(report::toText(document)));
        break;
    case Kind::Html:
        error = saveBytes(command.output, QByteArray::fromStdString(report::toHtml(document)));
        break;
    case Kind::Pdf: {
        // Fonts and the PDF writer need Qt's GUI layer, but no screen.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Standard error carries one line at most, the report's own: Qt's
        // notes on the way (no XDG_RUNTIME_DIR for root, say) are no failure
        // of the report and would read as one. Its critical and fatal
        // messages still go through.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg) {
                std::fprintf(stderr, "%s\n", qPrintable(text));
            }
        });
        const QGuiApplication application(argc, argv);
        error = ui::writeReportPdf(ui::qt(report::toHtml(document)), command.output);
        break;
    }
    }
    if (!error.isEmpty()) {
        return failed(QStringLiteral("无法写入 %1：%2").arg(command.output, error));
    }
    return 0;
}

int writeBytes(const CommandLine& command, const std::string& bytes) {
    if (command.output == QLatin1String("-")) {
        write(stdout, QByteArray::fromStdString(bytes));
        if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
            return failed(QStringLiteral("无法写到标准输出：%1").arg(ui::systemReasonOf(errno)));
        }
        return 0;
    }
    const QString error = saveBytes(command.output, QByteArray::fromStdString(bytes));
    return error.isEmpty() ? 0
                           : failed(QStringLiteral("无法写入 %1：%2").arg(command.output, error));
}

// The 33 field texts after a press on "计算", and where it stopped (null when
// it ran to its end): the classic design's figures as JSON.
std::string classicJson(const calc::Sheet& sheet, const calc::Stop* stopped) {
    nlohmann::ordered_json fields = nlohmann::ordered_json::object();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        fields[std::string(calc::fieldName(field))] = sheet.text(field);
    }
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    out["fields"] = std::move(fields);
    if (stopped != nullptr) {
        const calc::Stop& stop = *stopped;
        out["stop"] = {{"stage", calc::stageName(stop.stage)},
                       {"field", stop.field ? nlohmann::ordered_json(calc::fieldName(*stop.field))
                                            : nlohmann::ordered_json()},
                       {"reason", calc::reasonName(stop.reason)},
                       {"text", session::stopReport(stop, sheet)}};
    } else {
        out["stop"] = nullptr;
    }
    return out.dump(2, ' ', false) + "\n";
}

// A design file that names a standard: the JGJ 55-2011 design.
int runJgj55Report(const CommandLine& command, const QByteArray& bytes, int& argc, char** argv) {
    const jgj55::ReadResult read =
        jgj55::read(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    if (!read) {
        return failed(
            QStringLiteral("无法打开设计文件 %1：%2").arg(command.design, ui::qt(read.error)));
    }
    const jgj55::Outcome outcome = jgj55::design(*read.input);
    if (!outcome) {
        return failed(QStringLiteral("%1：%2").arg(
            command.design, ui::qt(jgj55::plainText(outcome.refusal.message))));
    }
    if (kindOf(command.output) == Kind::Json) {
        return writeBytes(command, jgj55::resultJson(*outcome.result));
    }
    report::Options options;
    options.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    options.program = ui::kApplicationName.toStdString();
    options.version = ui::kApplicationVersion.toStdString();
    options.designFile = QFileInfo(command.design).fileName().toStdString();
    options.batchLitres = command.batchLitres;
    const calc::NumberFormat format = ui::numberFormatOf(QLocale::system());
    return writeDocument(report::buildJgj55Report(*read.input, *outcome.result, format, options),
                         command, argc, argv);
}

} // namespace

int runReport(const CommandLine& command, int& argc, char** argv) {
    const calc::NumberFormat format = ui::numberFormatOf(QLocale::system());
    // A design to a standard names it; the classic design never does. A file
    // that cannot be read here is left to the classic reader, which says why.
    {
        QFile file(command.design);
        if (file.open(QIODevice::ReadOnly) && file.size() <= qint64(design::kMaxFileSize)) {
            const QByteArray bytes = file.read(qint64(design::kMaxFileSize));
            if (jgj55::namesAStandard(
                    std::string_view(bytes.constData(), std::size_t(bytes.size())))) {
                return runJgj55Report(command, bytes, argc, argv);
            }
        }
    }
    // Through the platform's own form of the name: a Chinese path must reach
    // the file system as the user gave it, on Windows too.
    const design::ReadResult read = ui::readDesign(command.design, format);
    if (!read) {
        return failed(
            QStringLiteral("无法打开设计文件 %1：%2").arg(command.design, ui::qt(read.error)));
    }
    calc::MemorySheet sheet(format);
    // Opened as the window opens it: what the file says was calculated is
    // calculated again, and believed only where that gives its very fields.
    design::Opened opened = design::openInto(*read.design, sheet);
    if (opened.setAside) {
        note(QStringLiteral("%1：文件中的计算记录未被采用（与重新计算的结果不符，或为旧版本所写）；"
                            "计算书只写本程序由文件数据算得的结果")
                 .arg(command.design));
    }
    // Without a calculation that left these fields, pressing "计算" gives
    // one; a base value an earlier calculation wrote is shown by its working.
    calc::Trace trace;
    if (opened.last) {
        if (kindOf(command.output) == Kind::Json) {
            return writeBytes(command, classicJson(sheet, nullptr));
        }
        trace = std::move(*opened.last);
    } else {
        design::Pressed pressed = design::calculate(sheet, opened.provenance);
        if (kindOf(command.output) == Kind::Json) {
            return writeBytes(
                command,
                classicJson(sheet, pressed.outcome.stop ? &*pressed.outcome.stop : nullptr));
        }
        if (!pressed.outcome.completed()) {
            return failed(QStringLiteral("%1：%2").arg(
                command.design, ui::qt(session::stopReport(*pressed.outcome.stop, sheet))));
        }
        trace = std::move(pressed.trace);
    }

    report::Options options;
    options.date = QDate::currentDate().toString(Qt::ISODate).toStdString();
    options.program = ui::kApplicationName.toStdString();
    options.version = ui::kApplicationVersion.toStdString();
    options.designFile = QFileInfo(command.design).fileName().toStdString();
    options.batchLitres = command.batchLitres;
    const design::Project project = design::projectOf(*read.design);
    options.project = {project.name, project.part, project.client};
    const std::optional<report::Document> document = report::buildReport(sheet, trace, options);
    if (!document) {
        return failed(
            QStringLiteral("%1：没有选择计算砂石用量的方法，没有配合比可写").arg(command.design));
    }

    return writeDocument(*document, command, argc, argv);
}

} // namespace app
