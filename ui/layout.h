// The layout of the main window Form1 (session/layout.h), and the one
// conversion of its twips to Qt's logical pixels.
#pragma once

#include "session/layout.h"

namespace ui {

using session::ControlRow;
using session::findRow;
using session::formLayout;
using session::kClientHeight;
using session::kClientWidth;
using session::Kind;

// Twips to logical pixels: 15 twips are one pixel at 96 dots per inch, and
// Qt's high-DPI scaling keeps the proportions on any other screen.
constexpr int pixels(int twips) {
    return twips / 15;
}

} // namespace ui
