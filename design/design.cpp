#include "design/design.h"

#include "calc/memorysheet.h"
#include "calc/stages.h"

namespace design {

Design capture(const calc::Sheet& sheet) {
    Design design;
    design.format = sheet.numberFormat();
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        design.texts[n - 1] = sheet.text(static_cast<calc::TextField>(n));
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        design.options[n] = sheet.isSelected(static_cast<calc::Option>(n));
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        design.checks[n] = sheet.isChecked(static_cast<calc::Check>(n));
    }
    return design;
}

Design startDesign(const calc::NumberFormat& format) {
    calc::MemorySheet sheet(format);
    calc::qk(sheet);
    return capture(sheet);
}

void apply(const Design& design, calc::Sheet& sheet) {
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        sheet.setText(static_cast<calc::TextField>(n), design.texts[n - 1]);
    }
    // Selecting one member clears the other, so only the selected ones are set.
    for (int n = 0; n < calc::kOptionCount; ++n) {
        if (design.options[n]) {
            sheet.select(static_cast<calc::Option>(n));
        }
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        sheet.setChecked(static_cast<calc::Check>(n), design.checks[n]);
    }
}

bool sameSheet(const Design& a, const Design& b) {
    return a.texts == b.texts && a.options == b.options && a.checks == b.checks;
}

} // namespace design
