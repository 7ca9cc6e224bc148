// The design sheet over the controls of the window: every stage of the
// calculation reads and writes the window exactly as it would an in-memory
// sheet.
#pragma once

#include "calc/sheet.h"

#include <array>
#include <functional>

#include <QString>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace ui {

struct SheetControls {
    std::array<QLineEdit*, calc::kTextFieldCount> texts{}; // Text1 .. Text33
    std::array<QRadioButton*, calc::kOptionCount> options{};
    std::array<QCheckBox*, calc::kCheckCount> checks{};
};

class FormSheet final : public calc::Sheet {
public:
    // `notice` shows the calculation's notice and returns when it is closed.
    FormSheet(SheetControls controls, calc::NumberFormat format,
              std::function<void(const QString&)> notice);

    std::string text(calc::TextField field) const override;
    void setText(calc::TextField field, std::string_view text) override;
    bool isSelected(calc::Option option) const override;
    void select(calc::Option option) override;
    bool isChecked(calc::Check check) const override;
    void setChecked(calc::Check check, bool checked) override;
    void showNotice(std::string_view message) override;
    const calc::NumberFormat& numberFormat() const override { return m_format; }

    QLineEdit* field(calc::TextField field) const { return m_controls.texts[field - 1]; }

private:
    SheetControls m_controls;
    calc::NumberFormat m_format;
    std::function<void(const QString&)> m_notice;
};

} // namespace ui
