// The project a design is for, as its 计算书 names it at the top: kept in the
// design file beside the sheet, under its own key.
//
//     "project": {"name": "某住宅楼", "part": "基础", "client": "某设计院"}
#pragma once

#include "design/design.h"

#include <string>
#include <string_view>

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

} // namespace design
