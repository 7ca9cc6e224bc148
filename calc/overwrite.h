// Writing a text over a string whose room is used again. Internal to calc/.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

namespace calc::detail {

// Copies `count` characters. The texts of a calculation are short numbers,
// and a call of memcpy for each costs more than the copy itself: up to 16
// characters go as two fixed-size blocks that overlap in the middle, each
// block a plain load and store.
inline void copyChars(char* to, const char* from, std::size_t count) {
    if (count >= 8 && count <= 16) {
        std::memcpy(to, from, 8);
        std::memcpy(to + count - 8, from + count - 8, 8);
    } else if (count >= 4 && count < 8) {
        std::memcpy(to, from, 4);
        std::memcpy(to + count - 4, from + count - 4, 4);
    } else if (count > 0 && count < 4) {
        to[0] = from[0];
        to[count / 2] = from[count / 2];
        to[count - 1] = from[count - 1];
    } else if (count > 16) {
        std::memcpy(to, from, count);
    }
}

// Makes `into` hold `text`. A text no longer than the one `into` holds is
// copied over it and the rest cut off, which is all that a trace taken again
// of a like calculation needs for each text it keeps; a longer one is
// assigned. `text` must not lie inside `into`.
inline void overwrite(std::string& into, std::string_view text) {
    if (text.size() <= into.size()) {
        copyChars(into.data(), text.data(), text.size());
        into.resize(text.size());
    } else {
        into.assign(text);
    }
}

// The same for a text of no further use, taken over when it is longer.
inline void overwrite(std::string& into, std::string&& text) {
    if (text.size() <= into.size()) {
        copyChars(into.data(), text.data(), text.size());
        into.resize(text.size());
    } else {
        into = std::move(text);
    }
}

} // namespace calc::detail
