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

#include <vector>

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

// A number the notice may leave out: the spin box's lowest value stands for
// "not given".
QDoubleSpinBox* optionalNumber(QDialog& dialog, const notice::Field& field,
                               const std::optional<double>& value) {
    auto* box = new QDoubleSpinBox(&dialog);
    box->setObjectName(qt(std::string(field.key)));
    box->setDecimals(field.decimals);
    const double none = -1.0;
    box->setRange(none, field.largest);
    box->setSpecialValueText(QStringLiteral("（不填）"));
    box->setSuffix(QStringLiteral(" ") + qt(std::string(field.unit)));
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
    // One editor per entry of the details, in the order every front end asks
    // them: a spin box for a number, a line for a text.
    notice::Details shown = proposed;
    std::vector<QWidget*> editors;
    for (const notice::Field& field : notice::fields()) {
        QWidget* editor = nullptr;
        if (field.number != nullptr) {
            editor = optionalNumber(dialog, field, shown.*field.number);
        } else {
            auto* edit = new QLineEdit(qt(field.text(shown)), &dialog);
            edit->setObjectName(qt(std::string(field.key)));
            edit->setMinimumWidth(280);
            editor = edit;
        }
        form->addRow(qt(std::string(field.caption)) + QStringLiteral("："), editor);
        editors.push_back(editor);
    }
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
    std::size_t i = 0;
    for (const notice::Field& field : notice::fields()) {
        QWidget* editor = editors[i++];
        if (field.number != nullptr) {
            d.*field.number = valueOf(static_cast<QDoubleSpinBox*>(editor));
        } else {
            field.text(d) = static_cast<QLineEdit*>(editor)->text().toStdString();
        }
    }
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
