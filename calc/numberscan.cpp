#include "calc/numberscan.h"

#include <algorithm>

namespace calc {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Where grouping symbols may stand in the integer part: only between whole
// groups, after a first group of one to groupSize digits that does not begin
// with 0. So a decimal comma typed under "." settings is never read as a
// thousand.
class GroupRule {
public:
    explicit GroupRule(int groupSize) : m_size(static_cast<std::size_t>(std::max(groupSize, 0))) {}

    void digit(char c) {
        if (m_groups == 0 && m_length == 0 && c == '0') {
            m_leadingZero = true;
        }
        ++m_length;
    }
    // A grouping symbol after the digits so far: whether it may stand here.
    bool symbol() {
        const bool fits = m_groups == 0 ? m_length >= 1 && m_length <= m_size && !m_leadingZero
                                        : m_length == m_size;
        ++m_groups;
        m_length = 0;
        return fits;
    }
    // Whether the integer part may end here: its last group must be whole.
    bool complete() const { return m_groups == 0 || m_length == m_size; }

private:
    std::size_t m_size;
    std::size_t m_length = 0; // digits since the last grouping symbol
    std::size_t m_groups = 0; // grouping symbols seen
    bool m_leadingZero = false;
};

class Scanner {
public:
    Scanner(std::string_view text, const NumberFormat& format) : m_rest(text), m_format(format) {}

    std::optional<NumberParts> run() {
        NumberParts parts;
        parts.groupSymbol = m_format.group;
        blanks(parts);
        sign(parts);
        if (!integerPart(parts)) {
            return std::nullopt;
        }
        if (take(m_format.decimal)) {
            parts.point = true;
            parts.fraction = digits();
        }
        if (!parts.hasDigits() || !exponent(parts) || !m_rest.empty()) {
            return std::nullopt;
        }
        return parts;
    }

private:
    bool startsWith(std::string_view symbol) const {
        return !symbol.empty() && m_rest.starts_with(symbol);
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
        const std::size_t first = std::min(m_rest.find_first_not_of(' '), m_rest.size());
        parts.lead = m_rest.substr(0, first);
        m_rest.remove_prefix(first);
        const std::size_t end = m_rest.find_last_not_of(' ') + 1;
        parts.trail = m_rest.substr(end);
        m_rest.remove_suffix(m_rest.size() - end);
    }
    void sign(NumberParts& parts) {
        if (take("+")) {
            parts.sign = NumberParts::Sign::Plus;
        } else if (take("-") || (m_format.negative != "+" && take(m_format.negative))) {
            parts.sign = NumberParts::Sign::Minus;
        }
    }
    bool integerPart(NumberParts& parts) {
        const bool grouping = m_format.groups();
        GroupRule rule(m_format.groupSize);
        const std::string_view start = m_rest;
        while (!m_rest.empty()) {
            if (isDigit(m_rest.front())) {
                rule.digit(m_rest.front());
                m_rest.remove_prefix(1);
            } else if (grouping && startsWith(m_format.group) && !startsWith(m_format.decimal)) {
                if (!rule.symbol()) {
                    return false;
                }
                parts.grouped = true;
                m_rest.remove_prefix(m_format.group.size());
            } else {
                break;
            }
        }
        parts.integer = start.substr(0, start.size() - m_rest.size());
        return rule.complete();
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
    return Scanner(text, format).run();
}

} // namespace calc
