// 新建强度评定… in the classic and the JGJ 55-2011 windows (their context
// menus, Ctrl+G): a new window of a strength evaluation to GB/T 50107-2010;
// the place where an evaluation file opened from any window goes; and
// 导入强度标准差… of the JGJ 55-2011 window, which takes the σ an evaluation
// file gives the next design.
#pragma once

#include "calc/numberformat.h"
#include "session/document.h"

#include <functional>
#include <string>

#include <QObject>
#include <QString>

class QAction;
class QWidget;

namespace ui {

class EvaluationWindow;
class FileDialogs;
class Jgj55Window;
class MessageBoxes;
class ReportDialogs;

class EvaluationCommand : public QObject {
public:
    // The windows it makes close with `owner`, which must outlive the
    // command, as must the rest.
    EvaluationCommand(QWidget& owner, const calc::NumberFormat& format, MessageBoxes& boxes,
                      FileDialogs& dialogs, ReportDialogs& reportDialogs);

    // Adds 新建强度评定… to the actions (the context menu) of `window`, a
    // window of `kind`.
    QAction* addTo(QWidget& window, session::DocumentKind kind);

    // A new window with a new evaluation, shown; deleted when closed.
    EvaluationWindow* newEvaluation();
    // A new window with the evaluation file `path`, whose `bytes` were read.
    EvaluationWindow* openEvaluation(const QString& path, const std::string& bytes);

    // Where a design file of another kind opened in an evaluation window goes.
    void setOpenElsewhere(std::function<void(const QString&)> open) {
        m_elsewhere = std::move(open);
    }

private:
    QWidget& m_owner;
    calc::NumberFormat m_format;
    MessageBoxes& m_boxes;
    FileDialogs& m_dialogs;
    ReportDialogs& m_reportDialogs;
    std::function<void(const QString&)> m_elsewhere;
};

// Adds 导入强度标准差… to the JGJ 55-2011 window: an evaluation file asked
// through `dialogs`, its σ put in the design's field σ and its source kept;
// the status line says what was taken, or why nothing was.
QAction* addSigmaImport(Jgj55Window& window, FileDialogs& dialogs);
// The command itself, for `path` (tests call it without a dialog).
bool importSigmaFrom(Jgj55Window& window, const QString& path);

} // namespace ui
