// A design sheet held in memory: the same fields as the window, for tests and
// tools that calculate without any window.
#pragma once

#include "calc/sheet.h"

#include <array>
#include <string>
#include <vector>

namespace calc {

class MemorySheet final : public Sheet {
public:
    // Starts as the window is created, before the reset: Text1..Text29 hold
    // their own names, Text30..Text33 are empty, 细砂 is selected and 卵石
    // checked, every other choice clear.
    explicit MemorySheet(NumberFormat format = {});

    std::string text(TextField field) const override;
    void setText(TextField field, std::string_view text) override;
    bool isSelected(Option option) const override;
    void select(Option option) override;
    bool isChecked(Check check) const override;
    void setChecked(Check check, bool checked) override;
    void showNotice(std::string_view message) override;
    const NumberFormat& numberFormat() const override { return m_format; }

    // Sets one option without touching its partner, so that a sheet built
    // outside the window can have neither (or both) members of a group set.
    void setOptionRaw(Option option, bool selected);

    // Every notice shown so far, oldest first.
    const std::vector<std::string>& notices() const { return m_notices; }

    // Same texts, choices, notices and number format.
    friend bool operator==(const MemorySheet& a, const MemorySheet& b) {
        return a.m_format == b.m_format && a.m_texts == b.m_texts && a.m_options == b.m_options &&
               a.m_checks == b.m_checks && a.m_notices == b.m_notices;
    }

private:
    NumberFormat m_format;
    std::array<std::string, kTextFieldCount> m_texts;
    std::array<bool, kOptionCount> m_options{};
    std::array<bool, kCheckCount> m_checks{};
    std::vector<std::string> m_notices;
};

} // namespace calc
