// Regional number formats drawn from the fuzzer's bytes: every combination of
// the decimal and grouping symbols, group sizes and negative signs that
// systems actually use, so that the properties are checked under each.
#pragma once

#include "calc/numberformat.h"

#include <array>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>

namespace fuzzing {

inline calc::NumberFormat pickFormat(FuzzedDataProvider& data) {
    static const std::array<const char*, 6> decimals = {".",      ",", "\u066B",
                                                        "\u00B7", "'", "\u2396"};
    static const std::array<const char*, 9> groups = {",",      ".", "",       "\u00A0", "\u202F",
                                                      "\u2019", "'", "\u066C", " "};
    static const std::array<const char*, 4> negatives = {"-", "\u2212", "\u200E-", "\u061C-"};
    calc::NumberFormat format;
    format.decimal = data.PickValueInArray(decimals);
    format.group = data.PickValueInArray(groups);
    format.groupSize = data.ConsumeIntegralInRange<int>(0, 4);
    format.negative = data.PickValueInArray(negatives);
    return format;
}

} // namespace fuzzing
