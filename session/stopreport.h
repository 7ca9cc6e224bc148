// The report of a calculation that stopped: what stopped, where and why, in
// the words of the window, so that the user can mend the field and press
// "计算" again. UTF-8 texts.
#pragma once

#include "calc/sheet.h"
#include "calc/stop.h"

#include <string>

namespace session {

// The stage in words a user knows: 第一步..第四步, 体积法, 质量法, 含水率调整.
// The driver's own conversions count for the stage they were made for.
std::string stageTitle(const calc::Stop& stop);

// How a message names the field: its caption as the user sees it beside the
// field ("水灰比"), or for an unlabelled result field what it holds
// ("配合比中的砂"). Never the control's name.
std::string fieldTitle(calc::TextField field);

// The text of the report, e.g. "计算中止：“水灰比”的内容不是有效数字。"
// or "计算中止：第三步 中除数为零（“水灰比”为 0）。". Fields are named as the
// user sees them, by caption, never by control name. The sheet is
// read to tell whether the field concerned holds zero.
std::string stopReport(const calc::Stop& stop, const calc::Sheet& sheet);

} // namespace session
