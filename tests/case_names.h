// Readable, stable names for the rows of parameterised tests, so that ctest
// lists "ParseStrict/Usual.AcceptsOnlyAWholeNumber/r04_1_234_50" instead of
// the bytes of the row's struct.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace calc::testing {

// "r07_" and the text with every run of other characters than ASCII letters
// and digits turned into one "_", cut to 40 characters. The row number keeps
// names unique; the text makes them readable.
inline std::string caseName(std::size_t index, std::string_view text) {
    std::string name = "r" + std::string(index < 10 ? "0" : "") + std::to_string(index);
    bool gap = true;
    for (const char c : text) {
        const bool plain =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (plain) {
            if (gap) {
                name.push_back('_');
            }
            name.push_back(c);
            gap = false;
        } else {
            gap = true;
        }
        if (name.size() >= 40) {
            break;
        }
    }
    return name;
}

// A name generator for INSTANTIATE_TEST_SUITE_P that names each row after
// what `describe` says of its parameter.
template <typename Describe> auto namedBy(Describe describe) {
    return [describe](const auto& row) { return caseName(row.index, describe(row.param)); };
}

} // namespace calc::testing
