// The field table of the user's guide, in Markdown, on standard output.
#include "tools/fieldtable.h"

#include <iostream>

int main() {
    std::cout << fieldtable::markdownTable();
    return std::cout.good() ? 0 : 1;
}
