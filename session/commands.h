// The commands of the windows beside the classic six events, once for every
// front end: the desktop makes its actions (context menu and shortcuts) from
// this table, and the page its menu and keys, so that a command has one name,
// one text and one shortcut wherever it is given.
//
//     for (const session::Command& c : session::commands(session::DocumentKind::jgj55)) {
//         ... c.name "saveDesign", c.text "保存设计", c.keys "Ctrl+S" ...
//     }
#pragma once

#include "session/document.h"

#include <span>
#include <string_view>

namespace session {

struct Command {
    std::string_view name; // the action's object name: "saveDesign"
    std::string_view text; // its text in a menu: "保存设计"
    std::string_view keys; // its shortcut, as Qt and the page spell it: "Ctrl+S"; may be empty
    // Where the menu draws a line before it.
    bool separated = false;
    // The menu of a window's menu bar that holds it ("文件", "计算书",
    // "帮助"); empty for a command of the context menu alone.
    std::string_view menu = {};
};

// The commands of a window of the kind, in the order of its menu.
std::span<const Command> commands(DocumentKind kind);
// The command `name` of the kind's window; nullptr when it has none.
const Command* findCommand(DocumentKind kind, std::string_view name);

} // namespace session
