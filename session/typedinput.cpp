#include "session/typedinput.h"

#include <cstddef>

namespace session {

namespace {

// The full-width forms U+FF01..U+FF3F are written EF BC 81..BF in UTF-8, and
// the half-width form of each is its last byte less 0x60. A lead byte EF is
// never a continuation byte, so a match is always a whole character.
constexpr unsigned char kLead = 0xEF;
constexpr unsigned char kSecond = 0xBC;
constexpr std::size_t kLength = 3;

// The half-width form of the full-width character at `at`; 0 when there is
// none there that a number may hold.
char halfOf(std::string_view text, std::size_t at) {
    if (at + kLength > text.size() || static_cast<unsigned char>(text[at]) != kLead ||
        static_cast<unsigned char>(text[at + 1]) != kSecond) {
        return 0;
    }
    const auto last = static_cast<unsigned char>(text[at + 2]);
    const auto half = static_cast<char>(last - 0x60);
    const bool digit = half >= '0' && half <= '9';
    const bool sign = half == '.' || half == '-' || half == '+' || half == '%';
    return digit || sign ? half : char{0};
}

bool isAsciiSpace(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string halfWidth(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const char half = halfOf(text, at);
        if (half != 0) {
            out += half;
            at += kLength;
        } else {
            out += text[at];
            ++at;
        }
    }
    return out;
}

bool hasFullWidthDigits(std::string_view text) {
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char half = halfOf(text, at);
        if (half >= '0' && half <= '9') {
            return true;
        }
    }
    return false;
}

std::string typedNumber(std::string_view text, bool percentField) {
    std::string out = halfWidth(text);
    if (!percentField) {
        return out;
    }
    std::size_t end = out.size();
    while (end > 0 && isAsciiSpace(out[end - 1])) {
        --end;
    }
    if (end == 0 || out[end - 1] != '%') {
        return out;
    }
    std::size_t before = end - 1;
    while (before > 0 && isAsciiSpace(out[before - 1])) {
        --before;
    }
    if (before == 0) {
        return out; // "%" alone: no number
    }
    return out.substr(0, before);
}

} // namespace session
