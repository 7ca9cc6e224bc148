#include "ui/formsheet.h"

#include "ui/qtext.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

namespace ui {

FormSheet::FormSheet(SheetControls controls, calc::NumberFormat format,
                     std::function<void(const QString&)> notice)
    : m_controls(controls), m_format(std::move(format)), m_notice(std::move(notice)) {}

std::string FormSheet::text(calc::TextField field) const {
    return m_controls.texts[field - 1]->text().toStdString();
}

void FormSheet::setText(calc::TextField field, std::string_view text) {
    m_controls.texts[field - 1]->setText(qt(text));
}

bool FormSheet::isSelected(calc::Option option) const {
    return m_controls.options[int(option)]->isChecked();
}

void FormSheet::select(calc::Option option) {
    // The frame's exclusive group clears the partner.
    m_controls.options[int(option)]->setChecked(true);
}

bool FormSheet::isChecked(calc::Check check) const {
    return m_controls.checks[int(check)]->isChecked();
}

void FormSheet::setChecked(calc::Check check, bool checked) {
    m_controls.checks[int(check)]->setChecked(checked);
}

void FormSheet::showNotice(std::string_view message) {
    m_notice(qt(message));
}

} // namespace ui
