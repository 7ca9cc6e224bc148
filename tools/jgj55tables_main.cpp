// The JGJ 55-2011 tables of the user's guide, in Markdown, on standard output.
#include "tools/jgj55tables.h"

#include <iostream>

int main() {
    std::cout << jgj55tables::markdownTables();
    return std::cout.good() ? 0 : 1;
}
