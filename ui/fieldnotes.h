// What each text field of the window means, in the words of a concrete
// designer: the tooltip a student reads when pointing at the field, and how a
// message names the field.
#pragma once

#include "calc/sheet.h"

#include <QString>

namespace ui {

// The field's meaning and unit, for its tooltip ("水灰比 W/C").
QString fieldTip(calc::TextField field);

// How a message names the field: its label caption without the closing
// colon, or for the unlabelled fields of the mix-proportion frame what they
// hold, followed by the control name: "水灰比 (Text8)", "砂配合比 (Text31)".
QString fieldTitle(calc::TextField field);

} // namespace ui
