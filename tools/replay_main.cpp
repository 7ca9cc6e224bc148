// The replay tool: JSON Lines in on standard input, one JSON line out per case.
#include "tools/replay.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    std::string line;
    while (std::getline(std::cin, line)) {
        std::cout << replay::replayLine(line) << '\n';
    }
    return 0;
}
