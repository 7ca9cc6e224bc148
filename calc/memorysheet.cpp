#include "calc/memorysheet.h"

#include <utility>

namespace calc {

MemorySheet::MemorySheet(NumberFormat format) : m_format(std::move(format)) {
    for (int n = 1; n <= 29; ++n) {
        m_texts[n - 1] = fieldName(static_cast<TextField>(n));
    }
    m_options[static_cast<int>(Option::细砂)] = true;
    m_checks[static_cast<int>(Check::卵石)] = true;
}

std::string MemorySheet::text(TextField field) const {
    return m_texts[field - 1];
}

void MemorySheet::setText(TextField field, std::string_view text) {
    m_texts[field - 1].assign(text);
}

bool MemorySheet::isSelected(Option option) const {
    return m_options[static_cast<int>(option)];
}

void MemorySheet::select(Option option) {
    m_options[static_cast<int>(option)] = true;
    m_options[static_cast<int>(partnerOf(option))] = false;
}

void MemorySheet::setOptionRaw(Option option, bool selected) {
    m_options[static_cast<int>(option)] = selected;
}

bool MemorySheet::isChecked(Check check) const {
    return m_checks[static_cast<int>(check)];
}

void MemorySheet::setChecked(Check check, bool checked) {
    m_checks[static_cast<int>(check)] = checked;
}

void MemorySheet::showNotice(std::string_view message) {
    m_notices.emplace_back(message);
}

} // namespace calc
