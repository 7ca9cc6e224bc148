// The layout of the classic window Form1 as data: one row per control, in the
// window's own measure (twips, 1/1440 inch), and nothing else. The desktop
// builds its 80 controls from this table in one loop, and the web page draws
// the same window from it, so every position, caption and tab stop of the
// window can be read, and changed, in one place.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace session {

enum class Kind { Frame, Label, TextField, OptionButton, CheckBox, Button };

struct ControlRow {
    std::string_view name; // the control's objectName: "Text8", "Frame4", "卵石"
    Kind kind;
    std::string_view frame;   // the frame it sits in; empty for the client area
    std::string_view caption; // its caption, or for a text field its start text
    // The rectangle in twips, relative to the client area for a frame and for
    // a control outside every frame, else to the frame's outer top-left corner.
    int left;
    int top;
    int width;
    int height;
    int tabIndex;             // 0..79; the focus visits controls in this order
    std::string_view buddy{}; // a label: the text field it captions, if any
    bool checked = false;     // an option button selected / check box checked at start
    // A label's own text colour as 0xRRGGBB; the window's colour when empty.
    std::optional<std::uint32_t> textColour = std::nullopt;
};

// Every control of the window: the frames first, so that a frame exists
// before the controls inside it.
std::span<const ControlRow> formLayout();

// The row of the control with this name, or nullptr.
const ControlRow* findRow(std::string_view name);

// The first control of the tab order that takes the focus (a text field,
// an option button, a check box or a button; frames and labels take none).
const ControlRow& firstTabStop();

// The client area of the window in twips.
inline constexpr int kClientWidth = 8040;
inline constexpr int kClientHeight = 4965;

} // namespace session
