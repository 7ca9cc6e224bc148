// Whole numbers of any size and the exact rationals built on them
// (calc/decimal.h). Schoolbook arithmetic on 32-bit limbs: the design's
// figures have a few dozen digits, and a step computes a handful of them.
#include "calc/decimal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace calc::decimal {

namespace {

constexpr std::uint64_t kLimbBase = std::uint64_t{1} << 32;
constexpr std::uint32_t kNineDigits = 1000000000; // the largest power of ten in a limb

} // namespace

// ---- Natural ---------------------------------------------------------------------

Natural::Natural(std::uint64_t value) {
    while (value != 0) {
        m_limbs.push_back(static_cast<std::uint32_t>(value));
        value >>= 32;
    }
}

void Natural::trim() {
    while (!m_limbs.empty() && m_limbs.back() == 0) {
        m_limbs.pop_back();
    }
}

int Natural::bitLength() const {
    if (m_limbs.empty()) {
        return 0;
    }
    return static_cast<int>(32 * (m_limbs.size() - 1) + std::bit_width(m_limbs.back()));
}

bool Natural::bit(int index) const {
    const auto limb = static_cast<std::size_t>(index / 32);
    return limb < m_limbs.size() && ((m_limbs[limb] >> (index % 32)) & 1U) != 0;
}

std::uint64_t Natural::low64() const {
    std::uint64_t value = 0;
    for (std::size_t i = std::min<std::size_t>(m_limbs.size(), 2); i-- > 0;) {
        value = (value << 32) | m_limbs[i];
    }
    return value;
}

Natural Natural::fromDigits(std::string_view digits) {
    Natural n;
    // Nine digits at a time: n = n × 10^9 + the next nine.
    std::size_t first = digits.size() % 9;
    if (first == 0) {
        first = 9;
    }
    std::size_t at = 0;
    for (std::size_t take = first; at < digits.size(); at += take, take = 9) {
        std::uint32_t chunk = 0;
        std::uint32_t scale = 1;
        for (const char c : digits.substr(at, take)) {
            chunk = chunk * 10 + static_cast<std::uint32_t>(c - '0');
            scale *= 10;
        }
        std::uint64_t carry = chunk;
        for (std::uint32_t& limb : n.m_limbs) {
            const std::uint64_t product = std::uint64_t{limb} * scale + carry;
            limb = static_cast<std::uint32_t>(product);
            carry = product >> 32;
        }
        if (carry != 0) {
            n.m_limbs.push_back(static_cast<std::uint32_t>(carry));
        }
    }
    return n;
}

Natural Natural::powerOfTen(int n) {
    return fromDigits("1" + std::string(static_cast<std::size_t>(std::max(n, 0)), '0'));
}

std::string Natural::digits() const {
    // Nine digits at a time from the bottom: the remainders of dividing by 10^9.
    std::vector<std::uint32_t> rest = m_limbs;
    std::string out;
    while (!rest.empty()) {
        std::uint64_t remainder = 0;
        for (std::size_t i = rest.size(); i-- > 0;) {
            const std::uint64_t current = (remainder << 32) | rest[i];
            rest[i] = static_cast<std::uint32_t>(current / kNineDigits);
            remainder = current % kNineDigits;
        }
        while (!rest.empty() && rest.back() == 0) {
            rest.pop_back();
        }
        std::string chunk = std::to_string(remainder);
        if (!rest.empty()) {
            chunk.insert(0, 9 - chunk.size(), '0');
        }
        out.insert(0, chunk);
    }
    return out;
}

Natural& Natural::operator+=(const Natural& other) {
    if (m_limbs.size() < other.m_limbs.size()) {
        m_limbs.resize(other.m_limbs.size(), 0);
    }
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < m_limbs.size(); ++i) {
        const std::uint64_t sum =
            std::uint64_t{m_limbs[i]} + (i < other.m_limbs.size() ? other.m_limbs[i] : 0) + carry;
        m_limbs[i] = static_cast<std::uint32_t>(sum);
        carry = sum >> 32;
        if (carry == 0 && i >= other.m_limbs.size()) {
            break;
        }
    }
    if (carry != 0) {
        m_limbs.push_back(static_cast<std::uint32_t>(carry));
    }
    return *this;
}

Natural& Natural::operator-=(const Natural& other) {
    std::uint64_t borrow = 0;
    for (std::size_t i = 0; i < m_limbs.size(); ++i) {
        const std::uint64_t subtrahend = (i < other.m_limbs.size() ? other.m_limbs[i] : 0) + borrow;
        const std::uint64_t minuend = m_limbs[i];
        borrow = minuend < subtrahend ? 1 : 0;
        m_limbs[i] = static_cast<std::uint32_t>(minuend + borrow * kLimbBase - subtrahend);
        if (borrow == 0 && i >= other.m_limbs.size()) {
            break;
        }
    }
    trim();
    return *this;
}

Natural operator*(const Natural& a, const Natural& b) {
    Natural product;
    if (a.zero() || b.zero()) {
        return product;
    }
    product.m_limbs.assign(a.m_limbs.size() + b.m_limbs.size(), 0);
    for (std::size_t i = 0; i < a.m_limbs.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.m_limbs.size(); ++j) {
            const std::uint64_t t =
                std::uint64_t{a.m_limbs[i]} * b.m_limbs[j] + product.m_limbs[i + j] + carry;
            product.m_limbs[i + j] = static_cast<std::uint32_t>(t);
            carry = t >> 32;
        }
        product.m_limbs[i + b.m_limbs.size()] = static_cast<std::uint32_t>(carry);
    }
    product.trim();
    return product;
}

Natural Natural::shiftedLeft(int bits) const {
    if (zero() || bits <= 0) {
        return *this;
    }
    Natural out;
    const auto limbs = static_cast<std::size_t>(bits / 32);
    const int rest = bits % 32;
    out.m_limbs.assign(limbs, 0);
    std::uint32_t carry = 0;
    for (const std::uint32_t limb : m_limbs) {
        out.m_limbs.push_back(rest == 0 ? limb : (limb << rest) | carry);
        carry = rest == 0 ? 0 : limb >> (32 - rest);
    }
    if (carry != 0) {
        out.m_limbs.push_back(carry);
    }
    return out;
}

std::strong_ordering operator<=>(const Natural& a, const Natural& b) {
    if (a.m_limbs.size() != b.m_limbs.size()) {
        return a.m_limbs.size() <=> b.m_limbs.size();
    }
    for (std::size_t i = a.m_limbs.size(); i-- > 0;) {
        if (a.m_limbs[i] != b.m_limbs[i]) {
            return a.m_limbs[i] <=> b.m_limbs[i];
        }
    }
    return std::strong_ordering::equal;
}

std::pair<Natural, Natural> Natural::divide(const Natural& a, const Natural& b) {
    if (a < b) {
        return {Natural{}, a};
    }
    // Long division one bit at a time: bring down the next bit of a, and
    // take b away whenever the remainder holds it.
    Natural quotient;
    quotient.m_limbs.assign(a.m_limbs.size(), 0);
    Natural remainder;
    remainder.m_limbs.reserve(b.m_limbs.size() + 1);
    for (int i = a.bitLength() - 1; i >= 0; --i) {
        // remainder = 2·remainder + the bit
        std::uint32_t carry = a.bit(i) ? 1U : 0U;
        for (std::uint32_t& limb : remainder.m_limbs) {
            const std::uint32_t out = limb >> 31;
            limb = (limb << 1) | carry;
            carry = out;
        }
        if (carry != 0) {
            remainder.m_limbs.push_back(carry);
        }
        if (remainder >= b) {
            remainder -= b;
            quotient.m_limbs[static_cast<std::size_t>(i / 32)] |= 1U << (i % 32);
        }
    }
    quotient.trim();
    return {std::move(quotient), std::move(remainder)};
}

// ---- Exact -----------------------------------------------------------------------

Exact::Exact(long long whole)
    : m_negative(whole < 0), m_numerator(whole < 0 ? 0ULL - static_cast<unsigned long long>(whole)
                                                   : static_cast<unsigned long long>(whole)) {}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): a number and its places, as written
Exact Exact::scaled(long long units, int places) {
    Exact x(units);
    if (places > 0) {
        x.m_denominator = Natural::powerOfTen(places);
    } else if (places < 0) {
        x.m_numerator = x.m_numerator * Natural::powerOfTen(-places);
    }
    return x;
}

Exact Exact::of(const Digits& d) {
    Exact x;
    x.m_numerator = Natural::fromDigits(d.digits);
    x.m_negative = d.negative && !x.m_numerator.zero();
    if (d.exponent >= 0) {
        x.m_numerator = x.m_numerator * Natural::powerOfTen(d.exponent);
    } else {
        x.m_denominator = Natural::powerOfTen(-d.exponent);
    }
    return x;
}

Exact Exact::of(double value) {
    return of(shortest(value));
}

Exact Exact::operator-() const {
    Exact x = *this;
    x.m_negative = !m_negative && !m_numerator.zero();
    return x;
}

Exact operator+(const Exact& a, const Exact& b) {
    // a/c + b/d = (a·d + b·c) / (c·d), the signs taken apart.
    Natural left = a.m_numerator * b.m_denominator;
    Natural right = b.m_numerator * a.m_denominator;
    Exact sum;
    sum.m_denominator = a.m_denominator * b.m_denominator;
    if (a.m_negative == b.m_negative) {
        sum.m_numerator = left + right;
        sum.m_negative = a.m_negative;
    } else if (left >= right) {
        sum.m_numerator = left - right;
        sum.m_negative = a.m_negative;
    } else {
        sum.m_numerator = right - left;
        sum.m_negative = b.m_negative;
    }
    if (sum.m_numerator.zero()) {
        sum.m_negative = false;
    }
    return sum;
}

Exact operator-(const Exact& a, const Exact& b) {
    return a + -b;
}

Exact operator*(const Exact& a, const Exact& b) {
    Exact product;
    product.m_numerator = a.m_numerator * b.m_numerator;
    product.m_denominator = a.m_denominator * b.m_denominator;
    product.m_negative = a.m_negative != b.m_negative && !product.m_numerator.zero();
    return product;
}

Exact operator/(const Exact& a, const Exact& b) {
    Exact quotient;
    quotient.m_numerator = a.m_numerator * b.m_denominator;
    quotient.m_denominator = a.m_denominator * b.m_numerator;
    quotient.m_negative = a.m_negative != b.m_negative && !quotient.m_numerator.zero();
    return quotient;
}

std::strong_ordering operator<=>(const Exact& a, const Exact& b) {
    if (a.sign() != b.sign()) {
        return a.sign() <=> b.sign();
    }
    const std::strong_ordering magnitudes =
        a.m_numerator * b.m_denominator <=> b.m_numerator * a.m_denominator;
    return a.m_negative ? 0 <=> magnitudes : magnitudes;
}

Digits Exact::roundedAt(int exponent) const {
    // The value in units of 10^exponent, as a whole quotient and a remainder.
    Natural numerator = m_numerator;
    Natural denominator = m_denominator;
    if (exponent < 0) {
        numerator = numerator * Natural::powerOfTen(-exponent);
    } else {
        denominator = denominator * Natural::powerOfTen(exponent);
    }
    auto [units, remainder] = Natural::divide(numerator, denominator);
    // Half a unit or more left over: one unit more, away from zero.
    if (remainder + remainder >= denominator) {
        units += Natural(1);
    }
    return {
        .negative = m_negative && !units.zero(), .digits = units.digits(), .exponent = exponent};
}

double Exact::toDouble() const {
    if (m_numerator.zero()) {
        return 0.0;
    }
    // A quotient of 62 or 63 bits: the value is q × 2^-shift, and what is
    // left of the division only tells whether anything lies below q's last
    // bit.
    const int shift = 62 - (m_numerator.bitLength() - m_denominator.bitLength());
    const auto [q, remainder] =
        shift >= 0 ? Natural::divide(m_numerator.shiftedLeft(shift), m_denominator)
                   : Natural::divide(m_numerator, m_denominator.shiftedLeft(-shift));
    const std::uint64_t bits = q.low64();
    const int width = static_cast<int>(std::bit_width(bits));
    const int top = width - 1 - shift; // the value lies in [2^top, 2^(top + 1))
    if (top < -1075) {
        return m_negative ? -0.0 : 0.0; // below half the least double
    }
    // 53 significant bits, fewer below the least normal double.
    const int precision = top < -1022 ? 53 - (-1022 - top) : 53;
    // 9 to 63 bits: the quotient has 62 or 63, the double at most 53.
    const int drop = std::clamp(width - precision, 1, 63);
    std::uint64_t kept = bits >> drop;
    const std::uint64_t rest = bits & ((std::uint64_t{1} << drop) - 1);
    const std::uint64_t half = std::uint64_t{1} << (drop - 1);
    // Round to nearest, ties to even; a remainder of the division is below
    // q's last bit, so it breaks a tie upwards.
    if (rest > half || (rest == half && (!remainder.zero() || (kept & 1U) != 0))) {
        ++kept;
    }
    const double magnitude = std::ldexp(static_cast<double>(kept), drop - shift);
    return m_negative ? -magnitude : magnitude;
}

} // namespace calc::decimal
