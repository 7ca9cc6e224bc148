#include "report/record.h"

#include "calc/fields.h"

namespace report {

SheetState SheetState::of(const calc::Sheet& sheet) {
    SheetState state;
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        state.texts[std::size_t(n - 1)] = sheet.text(static_cast<calc::TextField>(n));
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        state.options[std::size_t(n)] = sheet.isSelected(static_cast<calc::Option>(n));
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        state.checks[std::size_t(n)] = sheet.isChecked(static_cast<calc::Check>(n));
    }
    return state;
}

bool recordedOnly(calc::TextField field) {
    return calc::fieldInfo(field).role == calc::FieldRole::RecordedOnly;
}

bool LastCalculation::stillHolds(const calc::Sheet& sheet) const {
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        if (!recordedOnly(field) && sheet.text(field) != after.texts[std::size_t(n - 1)]) {
            return false;
        }
    }
    // The method decides which stages run; the sand and stone choices are
    // recorded only.
    for (const calc::Option option : {calc::Option::option1, calc::Option::option2}) {
        if (sheet.isSelected(option) != after.options[std::size_t(option)]) {
            return false;
        }
    }
    return true;
}

} // namespace report
