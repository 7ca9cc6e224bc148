// designfile: design files through the program's own reader and writer, for
// holding other builds of them (the WebAssembly module) against this one.
//
//   designfile save            a design as JSON text on standard input, taken
//                              as it stands → the bytes of its design file
//   designfile open [FORMAT]   a design file's bytes on standard input, opened
//                              under FORMAT ({"decimal": ",", "group": ".",
//                              "groupSize": 3, "negative": "-"}; the usual
//                              settings without it) → the file this program
//                              writes for what it opened
//
// The file goes to standard output; a refusal goes to standard error as one
// line, with exit status 1. Wrong usage exits with 2.
#include "design/designfile.h"

#include <cstdio>
#include <exception>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace {

calc::NumberFormat formatOf(const std::string& text) {
    const design::FormatReading read = design::readPartialFormat(nlohmann::json::parse(text));
    if (!read) {
        throw std::invalid_argument(read.error);
    }
    return *read.format;
}

int usage() {
    std::cerr << "usage: designfile save | designfile open [FORMAT-JSON]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        return usage();
    }
    const std::string_view command = argv[1];
    if (command != "save" && command != "open") {
        return usage();
    }
    if (command == "save" && argc != 2) {
        return usage();
    }
    std::ios::sync_with_stdio(false);
    const std::string bytes{std::istreambuf_iterator<char>(std::cin),
                            std::istreambuf_iterator<char>()};
    try {
        const design::ReadResult read =
            command == "save"
                ? design::openAsSaved(bytes)
                : design::open(bytes, argc == 3 ? formatOf(argv[2]) : calc::NumberFormat{});
        if (!read) {
            std::cerr << "designfile: " << read.error << '\n';
            return 1;
        }
        std::cout << design::serialize(*read.design);
        return std::cout.flush() ? 0 : 1;
    } catch (const std::exception& e) {
        std::cerr << "designfile: " << e.what() << '\n';
        return 1;
    }
}
