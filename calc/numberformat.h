// The user's regional number settings, as the calculation needs them.
//
// The window reads the system's settings once at start-up and hands them to
// the calculation as a value; tests and tools build the value they want. The
// default is the usual settings: "." decimal, "," grouping in threes, "-".
#pragma once

#include <string>

namespace calc {

struct NumberFormat {
    std::string decimal = ".";  // decimal symbol (UTF-8, may be several bytes)
    std::string group = ",";    // grouping symbol; empty means no grouping
    int groupSize = 3;          // digits per group; 0 or less means no grouping
    std::string negative = "-"; // sign written before a negative number

    bool groups() const { return groupSize > 0 && !group.empty() && group != decimal; }

    friend bool operator==(const NumberFormat&, const NumberFormat&) = default;
};

} // namespace calc
