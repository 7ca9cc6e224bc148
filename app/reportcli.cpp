#include "app/reportcli.h"

#include "design/designfile.h"
#include "report/report.h"
#include "session/document.h"
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

} // namespace

int runReport(const CommandLine& command, int& argc, char** argv) {
    // Read with care, as the windows read: a device, a pipe or a file over
    // the size limit is refused before anything is read. Through the
    // platform's own form of the name: a Chinese path must reach the file
    // system as the user gave it, on Windows too.
    const design::FileBytes read = ui::readDesignBytes(command.design);
    if (!read) {
        return failed(
            QStringLiteral("无法打开设计文件 %1：%2").arg(command.design, ui::qt(read.error)));
    }
    const std::string path = command.design.toStdString();
    // Opened as the window opens it: for the classic design, what the file
    // says was calculated is calculated again, and believed only where that
    // gives its very fields.
    session::OpenedFile opened = session::openFile(*read.bytes, {.path = path, .shown = path},
                                                   ui::numberFormatOf(QLocale::system()));
    if (!opened) {
        return failed(QStringLiteral("无法打开设计文件 %1：%2")
                          .arg(command.design, ui::qt(opened.opening.error)));
    }
    if (opened.opening.setAside) {
        note(QStringLiteral("%1：文件中的计算记录未被采用（与重新计算的结果不符，或为旧版本所写）；"
                            "计算书只写本程序由文件数据算得的结果")
                 .arg(command.design));
    }
    session::Document& document = *opened.document;
    if (command.batchLitres) {
        session::ReportDetails details = document.reportDetails();
        details.litres = *command.batchLitres;
        document.setReportDetails(details);
    }
    const std::string stopped = document.calculateForReport();
    const session::ReportStamp stamp{.date =
                                         QDate::currentDate().toString(Qt::ISODate).toStdString(),
                                     .program = ui::kApplicationName.toStdString(),
                                     .version = ui::kApplicationVersion.toStdString()};
    if (command.notice) {
        if (!stopped.empty()) {
            return failed(QStringLiteral("%1：%2").arg(command.design, ui::qt(stopped)));
        }
        if (kindOf(command.output) == Kind::Json) {
            const session::Saving json = document.noticeJson();
            return json ? writeBytes(command, *json.bytes)
                        : failed(QStringLiteral("%1：%2").arg(command.design, ui::qt(json.error)));
        }
        const session::Reporting notice = document.notice(stamp);
        if (!notice) {
            return failed(QStringLiteral("%1：%2").arg(command.design, ui::qt(notice.refusal)));
        }
        return writeDocument(*notice.document, command, argc, argv);
    }
    if (kindOf(command.output) == Kind::Json) {
        // A stopped classic calculation is a result too: its fields and the stop.
        const session::Saving json = document.resultJson();
        if (!json) {
            return failed(QStringLiteral("%1：%2").arg(command.design, ui::qt(json.error)));
        }
        return writeBytes(command, *json.bytes);
    }
    if (!stopped.empty()) {
        return failed(QStringLiteral("%1：%2").arg(command.design, ui::qt(stopped)));
    }
    const session::Reporting made = document.report(stamp);
    if (!made) {
        return failed(QStringLiteral("%1：%2").arg(command.design, ui::qt(made.refusal)));
    }
    return writeDocument(*made.document, command, argc, argv);
}

} // namespace app
