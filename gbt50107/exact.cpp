#include "gbt50107/exact.h"

#include "calc/plainnumbers.h"

#include <array>
#include <cmath>
#include <string>
#include <system_error>

namespace gbt50107::exact {

Int pow10(int n) {
    Int p = 1;
    for (int i = 0; i < n; ++i) {
        p *= 10;
    }
    return p;
}

namespace {

// The power of ten after the 'e' of "1.5e-05", from `p` to `end`.
int exponentOf(const char* p, const char* end) {
    const bool minus = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) {
        ++p;
    }
    int power = 0;
    for (; p < end; ++p) {
        power = power * 10 + (*p - '0');
    }
    return minus ? -power : power;
}

} // namespace

std::optional<Decimal> shortest(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e30) {
        return std::nullopt;
    }
    std::array<char, 64> buffer{};
    const auto [end, ec] =
        calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(), value);
    if (ec != std::errc{}) {
        return std::nullopt;
    }
    // "-12.345" or "1.5e-05": digits, a point, an exponent.
    Decimal d;
    const char* p = buffer.data();
    const bool negative = p < end && *p == '-';
    p += negative ? 1 : 0;
    bool point = false;
    int fraction = 0;
    for (; p < end && *p != 'e'; ++p) {
        if (*p == '.') {
            point = true;
        } else {
            d.units = d.units * 10 + (*p - '0');
            fraction += point ? 1 : 0;
        }
    }
    d.places = fraction - (p < end ? exponentOf(p + 1, end) : 0);
    if (d.places < 0) {
        d.units *= pow10(-d.places);
        d.places = 0;
    }
    while (d.places > 0 && d.units % 10 == 0) {
        d.units /= 10;
        --d.places;
    }
    if (d.places > 38) {
        return std::nullopt;
    }
    d.units = negative ? -d.units : d.units;
    return d;
}

std::optional<Decimal> fromDouble(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= kLimit) {
        return std::nullopt;
    }
    const std::optional<Decimal> d = shortest(value);
    if (!d || d->places > kMaxPlaces) {
        return std::nullopt;
    }
    return d;
}

namespace {

std::string digitsOf(Int u) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(u % 10)));
        u /= 10;
    } while (u > 0);
    return digits;
}

} // namespace

std::string text(const Decimal& d, int minPlaces) {
    const Decimal shown = d.places < minPlaces ? Decimal{at(d, minPlaces), minPlaces} : d;
    const bool negative = shown.units < 0;
    std::string digits = digitsOf(negative ? -shown.units : shown.units);
    const auto places = static_cast<std::size_t>(shown.places);
    if (digits.size() <= places) {
        digits.insert(0, places - digits.size() + 1, '0');
    }
    if (places > 0) {
        digits.insert(digits.size() - places, ".");
    }
    return (negative && shown.units != 0 ? "-" : "") + digits;
}

Int at(const Decimal& d, int places) {
    return d.units * pow10(places - d.places);
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a fraction's two terms, in order
Int divideHalfUp(Int num, Int den) {
    const bool negative = num < 0;
    const Int magnitude = negative ? -num : num;
    const Int q = (2 * magnitude + den) / (2 * den);
    return negative ? -q : q;
}

Decimal rounded(const Decimal& d, int places) {
    if (d.places <= places) {
        return {at(d, places), places};
    }
    return {divideHalfUp(d.units, pow10(d.places - places)), places};
}

Decimal add(const Decimal& a, const Decimal& b) {
    const int places = std::max(a.places, b.places);
    return {at(a, places) + at(b, places), places};
}

Decimal subtract(const Decimal& a, const Decimal& b) {
    return add(a, {-b.units, b.places});
}

Decimal multiply(const Decimal& a, const Decimal& b) {
    return {a.units * b.units, a.places + b.places};
}

int compare(const Decimal& a, const Decimal& b) {
    const int places = std::max(a.places, b.places);
    const Int x = at(a, places);
    const Int y = at(b, places);
    return x < y ? -1 : (x > y ? 1 : 0);
}

double toDouble(const Decimal& d) {
    const bool negative = d.units < 0;
    const std::string written = (negative ? "-" : "") + digitsOf(negative ? -d.units : d.units) +
                                "e" + std::to_string(-d.places);
    double value = 0.0;
    calc::readPlainNumber(written.data(), written.data() + written.size(), value);
    return value;
}

Int sampleDeviation(std::span<const Int> values, int places, int outPlaces) {
    const auto n = static_cast<Int>(values.size());
    Int sum = 0;
    Int squares = 0;
    for (const Int x : values) {
        sum += x;
        squares += x * x;
    }
    // The squared deviation in units of 10^-outPlaces is A / B; the rounded
    // k is the largest with k − ½ ≤ √(A/B), that is (2k − 1)²·B ≤ 4A.
    const Int scale = pow10(outPlaces - places);
    const Int a = (n * squares - sum * sum) * scale * scale;
    const Int b = n * (n - 1);
    Int k =
        static_cast<Int>(std::llround(std::sqrt(static_cast<double>(a) / static_cast<double>(b))));
    const auto fits = [&](Int c) { return (2 * c - 1) * (2 * c - 1) * b <= 4 * a; };
    while (k > 0 && !fits(k)) {
        --k;
    }
    while (fits(k + 1)) {
        ++k;
    }
    return k;
}

} // namespace gbt50107::exact
