#include "design/respell.h"

#include "calc/conversions.h"

#include <cstdint>
#include <cstring>

namespace design {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool startsWith(std::string_view text, std::string_view symbol) {
    return !symbol.empty() && text.starts_with(symbol);
}

// The parts of a number as the strict reading takes them apart: blanks, sign,
// integer digits (grouping symbols dropped), decimal symbol, fraction digits,
// exponent and blanks. Follows the strict reading step for step; it is only
// ever given texts that reading has accepted.
struct Parts {
    std::string_view lead, trail;
    enum class Sign { None, Plus, Minus } sign = Sign::None;
    std::string integer;
    bool grouped = false;
    bool point = false;
    std::string_view fraction;
    std::string_view exponent; // "E+07", or empty
};

Parts split(std::string_view text, const calc::NumberFormat& format) {
    Parts parts;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    parts.lead = text.substr(0, first);
    parts.trail = text.substr(last + 1);
    text = text.substr(first, last + 1 - first);

    auto take = [&text](std::string_view symbol) {
        if (startsWith(text, symbol)) {
            text.remove_prefix(symbol.size());
            return true;
        }
        return false;
    };
    if (take("+")) {
        parts.sign = Parts::Sign::Plus;
    } else if (take("-") || (format.negative != "+" && take(format.negative))) {
        parts.sign = Parts::Sign::Minus;
    }
    const bool grouping = format.groups();
    while (!text.empty()) {
        if (isDigit(text.front())) {
            parts.integer.push_back(text.front());
            text.remove_prefix(1);
        } else if (grouping && startsWith(text, format.group) &&
                   !startsWith(text, format.decimal)) {
            parts.grouped = true;
            text.remove_prefix(format.group.size());
        } else {
            break;
        }
    }
    if (take(format.decimal)) {
        parts.point = true;
        std::size_t n = 0;
        while (n < text.size() && isDigit(text[n])) {
            ++n;
        }
        parts.fraction = text.substr(0, n);
        text.remove_prefix(n);
    }
    parts.exponent = text;
    return parts;
}

// The bits of a single (the libc++ of the WebAssembly build has no bit_cast).
std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

bool sameReading(const calc::StrictValue& a, const calc::StrictValue& b) {
    return a.status == b.status &&
           (a.status != calc::StrictStatus::Ok || bitsOf(a.value) == bitsOf(b.value));
}

} // namespace

std::string respell(std::string_view text, const calc::NumberFormat& from,
                    const calc::NumberFormat& to) {
    if (from == to) {
        return std::string(text);
    }
    const calc::StrictValue before = calc::parseStrict(text, from);
    if (before.status == calc::StrictStatus::NotANumber) {
        return std::string(text);
    }
    const Parts parts = split(text, from);
    std::string out(parts.lead);
    if (parts.sign == Parts::Sign::Plus) {
        out += '+';
    } else if (parts.sign == Parts::Sign::Minus) {
        out += to.negative;
    }
    if (parts.grouped) {
        calc::appendGrouped(out, parts.integer, to);
    } else {
        out += parts.integer;
    }
    if (parts.point) {
        out += to.decimal;
        out += parts.fraction;
    }
    out += parts.exponent;
    out += parts.trail;
    // The new spelling must be the same number to the new format; where the
    // symbols of the two formats clash, the text is better left as it was.
    if (!sameReading(calc::parseStrict(out, to), before)) {
        return std::string(text);
    }
    return out;
}

} // namespace design
