// Writing a text over a string whose room is used again. Internal to calc/.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace calc::detail {

// Makes `into` hold `text`. A text no longer than the one `into` holds is
// copied over it and the rest cut off, which is all that a trace taken again
// of a like calculation needs for each text it keeps; a longer one is
// assigned. `text` must not lie inside `into`.
inline void overwrite(std::string& into, std::string_view text) {
    if (text.size() <= into.size()) {
        text.copy(into.data(), text.size());
        into.resize(text.size());
    } else {
        into.assign(text);
    }
}

// The same for a text of no further use, taken over when it is longer.
inline void overwrite(std::string& into, std::string&& text) {
    if (text.size() <= into.size()) {
        text.copy(into.data(), text.size());
        into.resize(text.size());
    } else {
        into = std::move(text);
    }
}

} // namespace calc::detail
