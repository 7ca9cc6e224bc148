#include "ui/noticecommand.h"

#include "report/report.h"
#include "session/identity.h"
#include "ui/commandaction.h"
#include "ui/filedialogs.h"
#include "ui/messageboxes.h"
#include "ui/qtext.h"
#include "ui/reportcommands.h"
#include "ui/reportprint.h"
#include "ui/sessionboxes.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QMimeData>
#include <QPrinter>
#include <QPushButton>

namespace ui {

namespace {

// How a number of the notice is entered: its largest value, its decimals and
// its unit.
struct Entry {
    double high;
    int decimals;
    QString suffix;
};

// A number the notice may leave out: the spin box's lowest value stands for
// "not given".
QDoubleSpinBox* optionalNumber(QDialog& dialog, const char* name, const Entry& entry,
                               const std::optional<double>& value) {
    auto* box = new QDoubleSpinBox(&dialog);
    box->setObjectName(QLatin1String(name));
    box->setDecimals(entry.decimals);
    const double none = -1.0;
    box->setRange(none, entry.high);
    box->setSpecialValueText(QStringLiteral("（不填）"));
    box->setSuffix(entry.suffix);
    box->setValue(value.value_or(none));
    return box;
}

std::optional<double> valueOf(const QDoubleSpinBox* box) {
    return box->value() == box->minimum() ? std::nullopt : std::optional<double>(box->value());
}

session::ReportStamp today() {
    return {.date = QDate::currentDate().toString(Qt::ISODate).toStdString(),
            .program = std::string(session::kApplicationName),
            .version = std::string(session::kApplicationVersion)};
}

} // namespace

std::optional<NoticeDialogs::Answer> QtNoticeDialogs::ask(QWidget* parent,
                                                          const notice::Details& proposed) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("配合比通知单"));
    auto* form = new QFormLayout(&dialog);
    const auto line = [&dialog](const char* name, const std::string& text) {
        auto* edit = new QLineEdit(qt(text), &dialog);
        edit->setObjectName(QLatin1String(name));
        edit->setMinimumWidth(280);
        return edit;
    };
    QLineEdit* number = line("number", proposed.number);
    const Entry moisture{99.9, 1, QStringLiteral(" %")};
    QDoubleSpinBox* sand = optionalNumber(dialog, "sandMoisture", moisture, proposed.sandMoisture);
    QDoubleSpinBox* stone =
        optionalNumber(dialog, "stoneMoisture", moisture, proposed.stoneMoisture);
    QDoubleSpinBox* batch = optionalNumber(dialog, "batchVolume", {10.0, 2, QStringLiteral(" m³")},
                                           proposed.batchVolume);
    const notice::Materials& m = proposed.materials;
    QLineEdit* cement = line("cement", m.cement);
    QLineEdit* sandName = line("sand", m.sand);
    QLineEdit* stoneName = line("stone", m.stone);
    QLineEdit* flyAsh = line("flyAsh", m.flyAsh);
    QLineEdit* slag = line("slag", m.slag);
    QLineEdit* admixture = line("admixture", m.admixture);
    QLineEdit* permeability = line("permeability", proposed.permeability);
    QLineEdit* frost = line("frost", proposed.frost);
    form->addRow(QStringLiteral("编号："), number);
    form->addRow(QStringLiteral("砂含水率："), sand);
    form->addRow(QStringLiteral("石子含水率："), stone);
    form->addRow(QStringLiteral("每盘方量："), batch);
    form->addRow(QStringLiteral("水泥："), cement);
    form->addRow(QStringLiteral("砂："), sandName);
    form->addRow(QStringLiteral("石子："), stoneName);
    form->addRow(QStringLiteral("粉煤灰："), flyAsh);
    form->addRow(QStringLiteral("矿渣粉："), slag);
    form->addRow(QStringLiteral("外加剂："), admixture);
    form->addRow(QStringLiteral("抗渗等级："), permeability);
    form->addRow(QStringLiteral("抗冻等级："), frost);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    std::optional<Use> use;
    for (const auto& [text, chosen] : {std::pair{QStringLiteral("打印预览…"), Use::Preview},
                                       std::pair{QStringLiteral("导出 PDF…"), Use::Pdf},
                                       std::pair{QStringLiteral("复制"), Use::Copy}}) {
        QPushButton* button = buttons->addButton(text, QDialogButtonBox::AcceptRole);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&use, &dialog, c = chosen] {
            use = c;
            dialog.accept();
        });
    }
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted || !use) {
        return std::nullopt;
    }
    Answer answer;
    answer.use = *use;
    notice::Details& d = answer.details;
    d.number = number->text().toStdString();
    d.sandMoisture = valueOf(sand);
    d.stoneMoisture = valueOf(stone);
    d.batchVolume = valueOf(batch);
    d.materials = {.cement = cement->text().toStdString(),
                   .sand = sandName->text().toStdString(),
                   .stone = stoneName->text().toStdString(),
                   .flyAsh = flyAsh->text().toStdString(),
                   .slag = slag->text().toStdString(),
                   .admixture = admixture->text().toStdString()};
    d.permeability = permeability->text().toStdString();
    d.frost = frost->text().toStdString();
    return answer;
}

NoticeCommand::NoticeCommand(QWidget& window, session::DocumentKind kind,
                             session::Document& document, MessageBoxes& boxes,
                             ReportDialogs& reports, NoticeDialogs& dialogs)
    : QObject(&window), m_window(window), m_document(document), m_boxes(boxes), m_reports(reports),
      m_dialogs(dialogs) {
    m_action = commandAction(&window, kind, "mixNotice");
    connect(m_action, &QAction::triggered, this, [this] { run(); });
    window.addAction(m_action);
}

void NoticeCommand::run() {
    const auto inform = [this](const std::string& text, session::Icon icon) {
        m_boxes.show(&m_window, messageBox({icon, std::string(session::kApplicationName), text}));
    };
    // Refused before anything is asked: a design without a mix has no notice.
    if (const std::optional<std::string> why = m_document.whyNoNotice()) {
        inform(*why, session::Icon::information);
        return;
    }
    const std::optional<NoticeDialogs::Answer> answer =
        m_dialogs.ask(&m_window, m_document.noticeDetails());
    if (!answer) {
        return;
    }
    // Kept with the design, whatever follows: a save writes them.
    m_document.setNoticeDetails(answer->details);
    m_window.setWindowModified(m_document.modified());
    const session::Reporting made = m_document.notice(today());
    if (!made) {
        inform(made.refusal, session::Icon::warning);
        return;
    }
    const QString html = qt(report::toHtml(*made.document));
    switch (answer->use) {
    case NoticeDialogs::Use::Preview:
        m_reports.preview(&m_window, [&html](QPrinter& printer) { paintReport(html, printer); });
        break;
    case NoticeDialogs::Use::Pdf: {
        const QFileInfo design(qt(m_document.file()));
        const QString base = m_document.file().empty()
                                 ? QStringLiteral("配合比通知单")
                                 : design.completeBaseName() + QStringLiteral("-通知单");
        const QString folder = !m_document.file().empty() && design.absoluteDir().exists()
                                   ? design.absolutePath()
                                   : startFolder();
        const QString chosen =
            m_reports.askPdfPath(&m_window, QDir(folder).filePath(base + QStringLiteral(".pdf")));
        const QString path = chosen.isEmpty()
                                 ? QString()
                                 : withSuffix(chosen, QStringLiteral("pdf"), m_boxes, &m_window);
        if (path.isEmpty()) {
            return;
        }
        if (const QString error = writeReportPdf(html, path); !error.isEmpty()) {
            inform("无法写入 " + QDir::toNativeSeparators(path).toStdString() + "：\n" +
                       error.toStdString(),
                   session::Icon::warning);
        }
        break;
    }
    case NoticeDialogs::Use::Copy: {
        auto* copied = new QMimeData;
        copied->setText(qt(report::toText(*made.document)));
        copied->setHtml(html);
        QApplication::clipboard()->setMimeData(copied);
        break;
    }
    }
}

} // namespace ui
