#include "report/numbers.h"

#include "calc/conversions.h"
#include "calc/plainnumbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <vector>

namespace report {

namespace {

// Replaces the "." of an ASCII number by the regional decimal symbol.
std::string regionalDecimal(std::string_view ascii, const calc::NumberFormat& format) {
    std::string out;
    for (const char c : ascii) {
        if (c == '.') {
            out += format.decimal;
        } else {
            out += c;
        }
    }
    return out;
}

// A decimal number as its digits (most significant first, no leading zeros)
// and the count of them that stand after the decimal point.
struct Decimal {
    std::string digits;
    int scale = 0;
};

// Reads an ASCII number ("-12.50", "1.234568E+07") exactly; nothing for a
// negative number or any other text.
std::optional<Decimal> decimalOf(std::string_view text) {
    Decimal d;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '+') {
        ++i;
    }
    bool point = false;
    bool any = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            d.digits += c;
            d.scale += point ? 1 : 0;
            any = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) {
        return std::nullopt;
    }
    if (i < text.size()) {
        if (text[i] != 'e' && text[i] != 'E') {
            return std::nullopt;
        }
        int exponent = 0;
        std::string_view rest = text.substr(i + 1);
        if (!rest.empty() && rest.front() == '+') {
            rest.remove_prefix(1);
        }
        const auto [end, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), exponent);
        if (ec != std::errc{} || end != rest.data() + rest.size() || std::abs(exponent) > 400) {
            return std::nullopt;
        }
        d.scale -= exponent;
    }
    if (d.scale < 0) {
        d.digits.append(std::size_t(-d.scale), '0');
        d.scale = 0;
    }
    const std::size_t first = d.digits.find_first_not_of('0');
    d.digits.erase(0, first == std::string::npos ? d.digits.size() : first);
    return d;
}

// The exact product of two digit strings.
std::string multiply(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) {
        return {};
    }
    std::vector<int> sum(a.size() + b.size(), 0);
    for (std::size_t i = a.size(); i-- > 0;) {
        for (std::size_t j = b.size(); j-- > 0;) {
            sum[i + j + 1] += (a[i] - '0') * (b[j] - '0');
        }
    }
    for (std::size_t k = sum.size(); k-- > 1;) {
        sum[k - 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    std::string out;
    for (const int digit : sum) {
        if (!out.empty() || digit != 0) {
            out += char('0' + digit);
        }
    }
    return out;
}

// Integer digits grouped as the regional settings group them.
std::string grouped(const std::string& integer, const calc::NumberFormat& format) {
    if (!format.groups()) {
        return integer;
    }
    std::string out;
    const std::size_t size = std::size_t(format.groupSize);
    for (std::size_t i = 0; i < integer.size(); ++i) {
        if (i > 0 && (integer.size() - i) % size == 0) {
            out += format.group;
        }
        out += integer[i];
    }
    return out;
}

} // namespace

std::string figure(double value, const calc::NumberFormat& format) {
    if (value == 0.0 || !std::isfinite(value)) {
        return value == 0.0 ? "0" : "?";
    }
    std::array<char, 64> buffer{};
    const auto [end, ec] = calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(),
                                                  value, std::chars_format::general, 7);
    std::string text(buffer.data(), ec == std::errc{} ? end : buffer.data());
    // "1.234568e+07" is written 1.234568E+07.
    std::replace(text.begin(), text.end(), 'e', 'E');
    return regionalDecimal(text, format);
}

std::string constant(std::string_view ascii, const calc::NumberFormat& format) {
    return regionalDecimal(ascii, format);
}

namespace {

// A text that parseStrict accepts, in ASCII: blanks and grouping symbols
// dropped, the regional decimal symbol and sign replaced.
std::string asciiNumber(std::string_view text, const calc::NumberFormat& format) {
    std::string ascii;
    while (!text.empty()) {
        if (!format.negative.empty() && text.starts_with(format.negative)) {
            ascii += '-';
            text.remove_prefix(format.negative.size());
        } else if (text.starts_with(format.decimal)) {
            ascii += '.';
            text.remove_prefix(format.decimal.size());
        } else if (format.groups() && text.starts_with(format.group)) {
            text.remove_prefix(format.group.size());
        } else {
            if (text.front() != ' ') {
                ascii += text.front();
            }
            text.remove_prefix(1);
        }
    }
    return ascii;
}

// Digits with `scale` of them after the decimal point, rounded half up to
// three: the result has exactly three after the point and one before.
std::string roundedToGrams(std::string digits, int scale) {
    const int missing = scale + 1 - int(digits.size());
    if (missing > 0) {
        digits.insert(0, static_cast<std::size_t>(missing), '0');
    }
    if (scale > 3) {
        const std::size_t dropped = static_cast<std::size_t>(scale - 3);
        const bool up = digits[digits.size() - dropped] >= '5';
        digits.erase(digits.size() - dropped);
        if (up) {
            // Carry through the nines: 0.9995 becomes 1.000.
            std::size_t k = digits.size();
            while (k > 0 && digits[k - 1] == '9') {
                digits[--k] = '0';
            }
            if (k == 0) {
                digits.insert(digits.begin(), '1');
            } else {
                ++digits[k - 1];
            }
        }
    }
    return digits;
}

} // namespace

std::optional<std::string> trialMass(std::string_view mass, double litres,
                                     const calc::NumberFormat& format) {
    if (!(litres > 0.0) || !std::isfinite(litres) ||
        calc::parseStrict(mass, format).status != calc::StrictStatus::Ok) {
        return std::nullopt;
    }
    const std::string ascii = asciiNumber(mass, format);
    const bool negative = !ascii.empty() && ascii.front() == '-';
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), litres);
    const std::optional<Decimal> m =
        decimalOf(negative ? std::string_view(ascii).substr(1) : ascii);
    const std::optional<Decimal> v =
        decimalOf(std::string_view(buffer.data(), std::size_t(end - buffer.data())));
    if (!m || !v || ec != std::errc{}) {
        return std::nullopt;
    }

    // mass × litres / 1000, with every digit kept; then half up to 3 places.
    const std::string digits =
        roundedToGrams(multiply(m->digits, v->digits), m->scale + v->scale + 3);
    const std::string integer = digits.substr(0, digits.size() - 3);
    const std::string fraction = digits.substr(digits.size() - 3);
    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string out = (negative && !zero) ? format.negative : std::string();
    const std::size_t lead = std::min(integer.find_first_not_of('0'), integer.size() - 1);
    out += grouped(integer.substr(lead), format);
    out += format.decimal;
    out += fraction;
    return out;
}

} // namespace report
