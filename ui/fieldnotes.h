// How the window speaks of a field of the design sheet: its tooltip and the
// name a message gives it, both read from the one table of fields
// (calc/fields.h).
#pragma once

#include "calc/fields.h"

#include <QString>

namespace ui {

// The tooltip of a field: what it holds, its symbol and unit, and what a
// calculation does with it ("留空时由“计算”求出……" for a base value, "仅作记录……"
// for a field that no calculation reads).
QString fieldTip(const calc::FieldInfo& info);

// How a message names the field (session::fieldTitle): its caption as the
// user sees it beside the field ("水灰比"), or for an unlabelled result field
// what it holds ("配合比中的砂"). Never the control's name.
QString fieldTitle(calc::TextField field);

} // namespace ui
