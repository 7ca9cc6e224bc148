#include "design/respell.h"

#include "calc/conversions.h"
#include "calc/numberscan.h"

#include <bit>
#include <cstdint>
#include <optional>

namespace design {
namespace {

bool sameReading(const calc::StrictValue& a, const calc::StrictValue& b) {
    return a.status == b.status &&
           (a.status != calc::StrictStatus::Ok ||
            std::bit_cast<std::uint32_t>(a.value) == std::bit_cast<std::uint32_t>(b.value));
}

} // namespace

std::string respell(std::string_view text, const calc::NumberFormat& from,
                    const calc::NumberFormat& to) {
    if (from == to) {
        return std::string(text);
    }
    const std::optional<calc::NumberParts> parts = calc::scanNumber(text, from);
    if (!parts) {
        return std::string(text);
    }
    const calc::StrictValue before = calc::parseStrict(text, from);
    std::string out(parts->lead);
    if (parts->sign == calc::NumberParts::Sign::Plus) {
        out += '+';
    } else if (parts->negative()) {
        out += to.negative;
    }
    if (parts->grouped) {
        calc::appendGrouped(out, parts->integerDigits(), to);
    } else {
        out += parts->integer;
    }
    if (parts->point) {
        out += to.decimal;
        out += parts->fraction;
    }
    out += parts->exponent;
    out += parts->trail;
    // The new spelling must be the same number to the new format; where the
    // symbols of the two formats clash, the text is better left as it was.
    if (!sameReading(calc::parseStrict(out, to), before)) {
        return std::string(text);
    }
    return out;
}

} // namespace design
