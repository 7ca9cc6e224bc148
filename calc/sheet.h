// The design sheet: every field of the one window, and the interface through
// which each calculation stage reads and writes them.
//
// A stage never knows whether it runs against the window's controls or an
// in-memory sheet (calc/memorysheet.h); both implement Sheet. Text is UTF-8.
#pragma once

#include "calc/numberformat.h"

#include <optional>
#include <string>
#include <string_view>

namespace calc {

namespace detail {
class Recorder;
} // namespace detail

// The text fields, numbered as on the window: Text1 .. Text33.
// clang-format off
enum TextField : int {
    Text1 = 1, Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10,
    Text11, Text12, Text13, Text14, Text15, Text16, Text17, Text18, Text19, Text20,
    Text21, Text22, Text23, Text24, Text25, Text26, Text27, Text28, Text29, Text30,
    Text31, Text32, Text33
};
// clang-format on
inline constexpr int kTextFieldCount = 33;

// Option buttons, in two exclusive groups: option1/option2 (the method) and
// 细砂/粗砂 (the sand).
enum class Option { option1, option2, 细砂, 粗砂 };
inline constexpr int kOptionCount = 4;

// Independent check boxes.
enum class Check { 卵石, 碎石 };
inline constexpr int kCheckCount = 2;

// "Text8" for Text8.
std::string fieldName(TextField field);
// Text8 for "Text8"; nothing for any other text.
std::optional<TextField> textFieldByName(std::string_view name);
std::string_view optionName(Option option);
std::string_view checkName(Check check);
// The other member of the option's exclusive group.
Option partnerOf(Option option);

class Sheet {
public:
    virtual ~Sheet() = default;

    // The whole text of a field; empty means no characters at all.
    virtual std::string text(TextField field) const = 0;
    // Replaces the whole text of a field, touching no other field.
    virtual void setText(TextField field, std::string_view text) = 0;

    virtual bool isSelected(Option option) const = 0;
    // Selects the option and clears the other member of its group.
    virtual void select(Option option) = 0;

    virtual bool isChecked(Check check) const = 0;
    virtual void setChecked(Check check, bool checked) = 0;

    // Shows a modal notice with one OK button and returns once it is closed.
    virtual void showNotice(std::string_view message) = 0;

    // The regional number settings in force for every conversion.
    virtual const NumberFormat& numberFormat() const = 0;

    // The recorder of the trace being taken of a calculation on this sheet:
    // set only while calculate(sheet, trace) runs, null otherwise. The
    // stages' reads, writes and quantities go to the recorder of the sheet
    // they work on, so a calculation on another sheet (one started while a
    // notice of a traced one is open) records nowhere; a plain calculation
    // started on this very sheet lifts the recorder for as long as it runs.
    detail::Recorder* recorder() const noexcept { return m_recorder; }

protected:
    Sheet() = default;
    explicit Sheet(detail::Recorder& recorder) noexcept : m_recorder(&recorder) {}
    // A copy is a sheet of its own: the recorder stays with the original.
    Sheet(const Sheet& /*other*/) noexcept {}
    // Nothing is copied, so assigning a sheet to itself is harmless too.
    // NOLINTNEXTLINE(bugprone-unhandled-self-assignment)
    Sheet& operator=(const Sheet& /*other*/) noexcept { return *this; }

private:
    friend class detail::Recorder;
    detail::Recorder* m_recorder = nullptr;
};

} // namespace calc
