// Helpers shared by the calculation tests: fresh sheets and readable output
// for the sheet and the stop in failure messages.
#pragma once

#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/stop.h"

#include <optional>
#include <ostream>
#include <utility>
#include <vector>

namespace calc {

inline void PrintTo(const Stop& stop, std::ostream* os) {
    *os << stageName(stop.stage) << " / " << reasonName(stop.reason)
        << " field=" << (stop.field ? fieldName(*stop.field) : "none")
        << " concerned=" << (stop.concerned ? fieldName(*stop.concerned) : "none")
        << " purpose=" << stageName(stop.purpose);
}

inline void PrintTo(const MemorySheet& sheet, std::ostream* os) {
    for (int n = 1; n <= kTextFieldCount; ++n) {
        *os << "\n  " << fieldName(TextField(n)) << "=\"" << sheet.text(TextField(n)) << '"';
    }
}

namespace testing {

// A sheet as the window shows it after start-up: created, then reset.
inline MemorySheet resetSheet(NumberFormat format = {}) {
    MemorySheet sheet(std::move(format));
    qk(sheet);
    return sheet;
}

// The stop a stage makes, or nothing when it runs to its end.
template <typename Stage> std::optional<Stop> stopOf(Stage&& stage) {
    try {
        stage();
    } catch (const CalculationStopped& stopped) {
        return stopped.stop();
    }
    return std::nullopt;
}

// The stop of a field that could not be read.
inline Stop readStop(Stage stage, TextField field, Reason reason = Reason::NotANumber) {
    return Stop{
        .stage = stage, .field = field, .reason = reason, .concerned = field, .purpose = stage};
}

// The stop of an arithmetic fault, with the field the user should look at.
inline Stop faultStop(Stage stage, Reason reason, TextField concerned) {
    return Stop{.stage = stage, .reason = reason, .concerned = concerned, .purpose = stage};
}

// The texts of some fields, in the order given.
inline std::vector<std::string> textsOf(const Sheet& sheet,
                                        std::initializer_list<TextField> fields) {
    std::vector<std::string> texts;
    for (TextField f : fields) {
        texts.push_back(sheet.text(f));
    }
    return texts;
}

} // namespace testing
} // namespace calc
