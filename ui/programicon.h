// The window's icon: the picture of lanshi.svg at 16, 32, 48 and 256 pixels,
// each size drawn for itself (ui/icons/lanshi-N.png).
//
// The desktop is handed every size when the window is created, so every size
// is made at start-up. The pixels are compiled in already decoded (by the
// build tool iconpixels), and the icon only points at them: the PNG decoding
// of the 256-pixel size alone would cost the start-up more than a field.
#pragma once

#include <QIcon>

namespace ui {

// Every size of the window's icon; a size whose pixels are missing from the
// program is left out. (Not named windowIcon: inside a widget that name is
// QWidget's own, the icon the widget has so far.)
QIcon programIcon();

} // namespace ui
