// The project a design is for, as its 计算书 names it at the top: kept in the
// design file beside the sheet, under its own key.
//
//     "project": {"name": "某住宅楼", "part": "基础", "client": "某设计院"}
#pragma once

#include "design/design.h"

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace design {

inline constexpr std::string_view kProjectKey = "project";

struct Project {
    std::string name;   // 工程名称
    std::string part;   // 使用部位
    std::string client; // 委托/设计单位

    bool empty() const { return name.empty() && part.empty() && client.empty(); }
    friend bool operator==(const Project&, const Project&) = default;
};

// The design's project; empty lines for a file without one, and for any
// entry that is not a text.
Project projectOf(const Design& design);

// Keeps the project in the design (about to be saved); an empty one leaves
// no key.
void keepProject(Design& design, const Project& project);

// The project block of a design file of any kind, read forgivingly as the
// classic file's is: an entry that is not a text is an empty line.
Project projectFrom(const nlohmann::json& block);
// The block as a design file writes it: name, part, client, in this order.
nlohmann::ordered_json projectBlock(const Project& project);

// The trial batch the report was last asked for, in litres, kept under its
// own key when it is not the usual one: {"litres": 25}.
inline constexpr std::string_view kTrialBatchKey = "trialBatch";
inline constexpr double kUsualBatchLitres = 20.0;
// The litres of a "trialBatch" block; nothing for a block without a number
// above zero.
std::optional<double> batchLitresFrom(const nlohmann::json& block);
nlohmann::ordered_json trialBatchBlock(double litres);

// The classic design's trial batch: kept among its extras.
double batchLitresOf(const Design& design);
void keepBatchLitres(Design& design, double litres);

} // namespace design
