// How a calculation stops: one error type for every failure.
//
// A stage, or a conversion the driver makes for one, that cannot go on (a
// field that is not a number, an arithmetic fault) throws CalculationStopped;
// calculate() catches it and hands it back.
// Fields written before the stop keep their new text: nothing is undone.
#pragma once

#include "calc/sheet.h"

#include <optional>
#include <stdexcept>
#include <string_view>

namespace calc {

// The procedures of the calculation. `calculate` is the driver itself, for
// the conversions it makes before calling zhiliangfa and tiaozheng.
enum class Stage {
    第一步,
    第二步,
    第三步,
    第四步,
    tjfjs,
    tijifa,
    zhiliangfa,
    tiaozheng,
    calculate
};

enum class Reason {
    NotANumber,       // a field read strictly does not hold a number
    DivisionByZero,   // a non-zero number divided by zero
    InvalidOperation, // an operation without a result, such as 0 / 0
    Overflow,         // a result, or a number read, beyond the precision in use
};

struct Stop {
    Stage stage = Stage::calculate;
    // The field whose text could not be read; empty when the stop was no read.
    std::optional<TextField> field = std::nullopt;
    Reason reason = Reason::NotANumber;
    // The field the user should look at to mend an arithmetic fault (the divisor
    // that was zero, say); for a failed read it is `field`.
    std::optional<TextField> concerned = std::nullopt;
    // The stage the work was for: `stage` itself, except for the driver's own
    // conversions, which are made for zhiliangfa or tiaozheng.
    Stage purpose = Stage::calculate;

    friend bool operator==(const Stop&, const Stop&) = default;
};

class CalculationStopped : public std::runtime_error {
public:
    explicit CalculationStopped(const Stop& stop);
    const Stop& stop() const { return m_stop; }

private:
    Stop m_stop;
};

// "第二步", "tjfjs", ..., "calculate": the procedure's own name.
std::string_view stageName(Stage stage);
// "not-a-number", "division-by-zero", "invalid-operation", "overflow".
std::string_view reasonName(Reason reason);

} // namespace calc
