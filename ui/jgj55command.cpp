#include "ui/jgj55command.h"

#include "ui/commandaction.h"
#include "ui/jgj55window.h"
#include "ui/noticecommand.h"
#include "ui/trialsdialog.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace ui {

Jgj55Command::Jgj55Command(QWidget& window, const calc::NumberFormat& format, MessageBoxes& boxes,
                           FileDialogs& dialogs, ReportDialogs& reportDialogs)
    : QObject(&window), m_window(window), m_format(format), m_boxes(boxes), m_dialogs(dialogs),
      m_reportDialogs(reportDialogs) {
    m_action = commandAction(&window, session::DocumentKind::classic, "newJgj55Design");
    connect(m_action, &QAction::triggered, this, [this] { newDesign(); });
    window.addAction(m_action);
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

Jgj55Window* Jgj55Command::newDesign() {
    // A window of its own, not a child of the classic one: it is closed,
    // moved and minimised by itself.
    auto* design = new Jgj55Window(m_format, m_boxes, m_dialogs, m_reportDialogs);
    design->setAttribute(Qt::WA_DeleteOnClose);
    design->setOpenElsewhere(m_openClassic);
    // The window's document is its JGJ 55-2011 form.
    new TrialsCommand(*design, dynamic_cast<session::Jgj55Form&>(design->document()));
    if (m_noticeDialogs != nullptr) {
        new NoticeCommand(*design, session::DocumentKind::jgj55, design->document(), m_boxes,
                          m_reportDialogs, *m_noticeDialogs);
    }
    if (m_eachWindow) {
        m_eachWindow(*design);
    }
    connect(&m_window, &QObject::destroyed, design, &QObject::deleteLater);
    design->show();
    return design;
}

Jgj55Window* Jgj55Command::openDesign(const QString& path, const std::string& bytes) {
    Jgj55Window* design = newDesign();
    design->openBytes(path, bytes);
    return design;
}

} // namespace ui
