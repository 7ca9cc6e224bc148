// The last calculation as JSON, for the optional "record" key of a design
// file: a design saved after a calculation keeps its working, and opening it
// restores that calculation as long as the fields still hold what it left.
//
//     "record": {
//       "after": {"Text1": "20", ..., "option1": true, "option2": false},
//       "given": [{"field": "Text8", "text": "0.50"}],
//       "stages": [{"stage": "第一步", "purpose": "第一步",
//                   "reads": [{"field": "Text3", "text": "4", "conversion": "parseStrict",
//                              "value": 4.0}],
//                   "writes": [{"field": "Text2", "text": "26.58"}],
//                   "quantities": [{"name": "fcu0", "value": 26.58, "single": false}],
//                   "notices": []}, ...]
//     }
//
// "after" holds the texts of the fields a calculation reads or writes and the
// method options; the entries recorded only are the design's own business.
// Numbers are written with every digit, so a record reads back exactly.
#pragma once

#include "report/record.h"

#include <optional>

#include <nlohmann/json.hpp>

namespace report {

nlohmann::json recordToJson(const LastCalculation& last);

// The record, or nothing when the value is not one this program wrote (a
// missing key, a wrong type, an unknown stage or field): a design file is
// then opened without it.
std::optional<LastCalculation> recordFromJson(const nlohmann::json& json);

// The record restored as the last calculation of `sheet`, when the sheet holds
// in every field what the recorded calculation left; nothing otherwise.
std::optional<LastCalculation> restoreRecord(const nlohmann::json& json, const calc::Sheet& sheet);

} // namespace report
