#include "ui/commandaction.h"

#include "ui/qtext.h"

#include <QAction>
#include <QKeySequence>

namespace ui {

QAction* commandAction(QObject* parent, session::DocumentKind kind, std::string_view name) {
    const session::Command* command = session::findCommand(kind, name);
    Q_ASSERT(command != nullptr);
    auto* action = new QAction(qt(command->text), parent);
    action->setObjectName(qt(command->name));
    if (!command->keys.empty()) {
        action->setShortcut(QKeySequence(qt(command->keys)));
    }
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

} // namespace ui
