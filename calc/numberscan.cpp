#include "calc/numberscan.h"

#include <algorithm>

namespace calc {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

class Scanner {
public:
    Scanner(std::string_view text, const NumberFormat& format) : m_rest(text), m_format(format) {}

    bool run(NumberParts& parts) {
        parts.groupSymbol = m_format.group;
        blanks(parts);
        sign(parts);
        if (!integerPart(parts)) {
            return false;
        }
        if (take(m_format.decimal)) {
            parts.point = true;
            parts.fraction = digits();
        }
        return parts.hasDigits() && exponent(parts) && m_rest.empty();
    }

private:
    // Symbols are mostly one byte, so the first byte decides most cases.
    bool startsWith(std::string_view symbol) const {
        return !symbol.empty() && !m_rest.empty() && m_rest.front() == symbol.front() &&
               m_rest.starts_with(symbol);
    }
    bool take(std::string_view symbol) {
        if (!startsWith(symbol)) {
            return false;
        }
        m_rest.remove_prefix(symbol.size());
        return true;
    }
    std::string_view digits() {
        std::size_t n = 0;
        while (n < m_rest.size() && isDigit(m_rest[n])) {
            ++n;
        }
        const std::string_view run = m_rest.substr(0, n);
        m_rest.remove_prefix(n);
        return run;
    }
    void blanks(NumberParts& parts) {
        std::size_t first = 0;
        while (first < m_rest.size() && m_rest[first] == ' ') {
            ++first;
        }
        parts.lead = m_rest.substr(0, first);
        m_rest.remove_prefix(first);
        std::size_t end = m_rest.size();
        while (end > 0 && m_rest[end - 1] == ' ') {
            --end;
        }
        parts.trail = m_rest.substr(end);
        m_rest.remove_suffix(m_rest.size() - end);
    }
    void sign(NumberParts& parts) {
        if (!m_rest.empty() && isDigit(m_rest.front()) && !startsWith(m_format.negative)) {
            return; // the common case: no sign at all
        }
        if (take("+")) {
            parts.sign = NumberParts::Sign::Plus;
        } else if (take("-") || (m_format.negative != "+" && take(m_format.negative))) {
            parts.sign = NumberParts::Sign::Minus;
        }
    }
    // Grouping symbols may stand only between whole groups, after a first
    // group of one to groupSize digits that does not begin with 0. So a
    // decimal comma typed under "." settings is never read as a thousand.
    bool integerPart(NumberParts& parts) {
        const std::string_view start = m_rest;
        const bool leadingZero = !m_rest.empty() && m_rest.front() == '0';
        std::size_t length = digits().size(); // digits since the last grouping symbol
        bool complete = true;
        if (m_format.groups()) {
            const auto size = static_cast<std::size_t>(std::max(m_format.groupSize, 0));
            bool first = true;
            while (startsWith(m_format.group) && !startsWith(m_format.decimal)) {
                const bool fits =
                    first ? length >= 1 && length <= size && !leadingZero : length == size;
                if (!fits) {
                    return false;
                }
                first = false;
                parts.grouped = true;
                m_rest.remove_prefix(m_format.group.size());
                length = digits().size();
            }
            complete = first || length == size;
        }
        parts.integer = start.substr(0, start.size() - m_rest.size());
        return complete;
    }
    // "E", an optional sign and at least one digit; nothing at all is fine too.
    bool exponent(NumberParts& parts) {
        if (m_rest.empty() || (m_rest.front() != 'E' && m_rest.front() != 'e')) {
            return true;
        }
        const std::string_view start = m_rest;
        m_rest.remove_prefix(1);
        parts.exponentNegative = take("-");
        if (!parts.exponentNegative) {
            take("+");
        }
        parts.exponentDigits = digits();
        parts.exponent = start.substr(0, start.size() - m_rest.size());
        return !parts.exponentDigits.empty();
    }

    std::string_view m_rest;
    const NumberFormat& m_format;
};

} // namespace

std::string NumberParts::integerDigits() const {
    std::string digits;
    digits.reserve(integer.size());
    forEachIntegerDigit([&digits](char c) { digits.push_back(c); });
    return digits;
}

std::optional<NumberParts> scanNumber(std::string_view text, const NumberFormat& format) {
    // One object, filled in place and returned without a copy.
    std::optional<NumberParts> parts(std::in_place);
    if (!Scanner(text, format).run(*parts)) {
        parts.reset();
    }
    return parts;
}

} // namespace calc
