// A window's action for a command of the session's table (session/commands.h):
// its object name, text and shortcut from the table, the shortcut working
// wherever the focus is in the window, a field included.
#pragma once

#include "session/commands.h"

#include <string_view>

class QAction;
class QObject;

namespace ui {

// A new action of `parent` for command `name` of the kind's window; the
// command must be in the table.
QAction* commandAction(QObject* parent, session::DocumentKind kind, std::string_view name);

} // namespace ui
