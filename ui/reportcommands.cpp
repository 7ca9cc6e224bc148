#include "ui/reportcommands.h"

#include "calc/trace.h"
#include "ui/commandaction.h"
#include "ui/filedialogs.h"
#include "ui/identity.h"
#include "ui/notice.h"
#include "ui/qtext.h"
#include "ui/reportprint.h"
#include "ui/sessionboxes.h"

#include <cmath>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QWidget>

namespace ui {

namespace {

QString fromUtf8(const std::string& text) {
    return qt(text);
}

} // namespace

std::optional<ReportDetails> QtReportDialogs::askDetails(QWidget* parent,
                                                         const ReportDetails& proposed) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("计算书"));
    auto* form = new QFormLayout(&dialog);
    auto line = [&](const char* name, const std::string& text) {
        auto* edit = new QLineEdit(qt(text), &dialog);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(260);
        return edit;
    };
    QLineEdit* projectName = line("projectName", proposed.project.name);
    QLineEdit* part = line("projectPart", proposed.project.part);
    QLineEdit* client = line("projectClient", proposed.project.client);
    auto* litres = new QDoubleSpinBox(&dialog);
    litres->setObjectName(QStringLiteral("batchLitres"));
    litres->setRange(session::kMinBatchLitres, session::kMaxBatchLitres);
    litres->setDecimals(1);
    litres->setValue(proposed.litres);
    litres->setSuffix(QStringLiteral(" L"));
    form->addRow(QStringLiteral("工程名称："), projectName);
    form->addRow(QStringLiteral("使用部位："), part);
    form->addRow(QStringLiteral("委托/设计单位："), client);
    form->addRow(QStringLiteral("试拌混凝土的体积："), litres);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return ReportDetails{litres->value(),
                         {projectName->text().toStdString(), part->text().toStdString(),
                          client->text().toStdString()}};
}

std::unique_ptr<QFileDialog> pdfDialog(QWidget* parent, const QString& suggested) {
    auto dialog = std::make_unique<QFileDialog>(parent, QStringLiteral("导出 PDF"), QString(),
                                                QStringLiteral("PDF 文件 (*.pdf)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->selectFile(suggested);
    return dialog;
}

QString QtReportDialogs::askPdfPath(QWidget* parent, const QString& suggested) {
    const std::unique_ptr<QFileDialog> dialog = pdfDialog(parent, suggested);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return dialog->selectedFiles().constFirst();
}

void QtReportDialogs::preview(QWidget* parent, const std::function<void(QPrinter&)>& paint) {
    QPrinter printer(QPrinter::HighResolution);
    setReportPage(printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印预览 — 计算书"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                     [&paint](QPrinter* target) { paint(*target); });
    dialog.exec();
}

ReportCommands::ReportCommands(QWidget& window, session::ClassicWindow& session,
                               MessageBoxes& boxes)
    : m_window(window), m_session(session), m_boxes(boxes) {
    // Set apart from the file commands that come before them in the menu.
    auto* separator = new QAction(&window);
    separator->setSeparator(true);
    m_actions.append(separator);
    const struct {
        std::string_view name;
        void (ReportCommands::*command)();
    } commands[] = {
        {"previewReport", &ReportCommands::previewCommand},
        {"exportReportPdf", &ReportCommands::exportPdfCommand},
        {"copyReport", &ReportCommands::copyCommand},
    };
    for (const auto& c : commands) {
        QAction* action = commandAction(&window, session::DocumentKind::classic, c.name);
        QObject::connect(action, &QAction::triggered, &window,
                         [this, command = c.command] { (this->*command)(); });
        m_actions.append(action);
    }
}

ReportCommands::~ReportCommands() = default;

std::optional<report::Document> ReportCommands::document() {
    session::ReportResult made =
        m_session.reportOrBox(QDate::currentDate().toString(Qt::ISODate).toStdString());
    for (const session::Box& box : made.boxes) {
        m_boxes.show(&m_window, messageBox(box));
    }
    return std::move(made.document);
}

bool ReportCommands::askDetails() {
    const std::optional<ReportDetails> details =
        m_dialogs->askDetails(&m_window, m_session.reportDetails());
    if (!details || !session::batchLitresProblem(details->litres).empty()) {
        return false;
    }
    // Kept with the design: its file saves them, so a change is one.
    m_session.setReportDetails(*details);
    m_window.setWindowModified(m_session.modified());
    return true;
}

void ReportCommands::previewCommand() {
    // Refused before the volume is asked: no question for a report that
    // cannot be made.
    if (!document() || !askDetails()) {
        return;
    }
    const std::optional<report::Document> made = document();
    if (!made) {
        return;
    }
    const QString html = fromUtf8(report::toHtml(*made));
    m_dialogs->preview(&m_window, [&html](QPrinter& printer) { paintReport(html, printer); });
}

void ReportCommands::exportPdfCommand() {
    if (!document() || !askDetails()) {
        return;
    }
    const QString designFile = qt(m_session.file());
    const QString base =
        designFile.isEmpty() ? QStringLiteral("计算书") : QFileInfo(designFile).completeBaseName();
    // Beside the design file, while its folder is still there.
    const QFileInfo design(designFile);
    const QString folder = !designFile.isEmpty() && QFileInfo(design.absolutePath()).isDir()
                               ? design.absolutePath()
                               : startFolder();
    const QString chosen =
        m_dialogs->askPdfPath(&m_window, QDir(folder).filePath(base + QStringLiteral(".pdf")));
    if (chosen.isEmpty()) {
        return;
    }
    const QString path = withSuffix(chosen, QStringLiteral("pdf"), m_boxes, &m_window);
    if (path.isEmpty()) {
        return;
    }
    const std::optional<report::Document> made = document();
    if (!made) {
        return;
    }
    const QString error = writeReportPdf(fromUtf8(report::toHtml(*made)), path);
    if (!error.isEmpty()) {
        m_boxes.show(
            &m_window,
            {QMessageBox::Warning, kApplicationName,
             QStringLiteral("无法写入 %1：%2").arg(QDir::toNativeSeparators(path), error)});
        return;
    }
    showNotice(m_window, QStringLiteral("计算书已导出：%1").arg(QDir::toNativeSeparators(path)));
}

void ReportCommands::copyCommand() {
    const std::optional<report::Document> made = document();
    if (!made) {
        return;
    }
    auto* data = new QMimeData;
    data->setText(fromUtf8(report::toText(*made)));
    data->setHtml(fromUtf8(report::toHtml(*made)));
    QApplication::clipboard()->setMimeData(data);
    showNotice(m_window, QStringLiteral("计算书已复制到剪贴板。"));
}

} // namespace ui
