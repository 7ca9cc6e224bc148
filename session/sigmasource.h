// Where the σ of a JGJ 55-2011 design was taken from, when 导入强度标准差…
// took it from a strength evaluation to GB/T 50107-2010: the evaluation
// file's name, its class and the groups the σ comes from. The design file
// keeps it under "sigmaSource"; the 计算书 says it beside the design data.
// It holds only while the design's σ is the one imported: a σ typed since
// is the user's own.
//
//     "sigmaSource": {"file": "三层梁板.lanshi", "fcuk": 30, "groups": 35, "sigma": 4.12}
#pragma once

#include "calc/numberformat.h"

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace session {

struct SigmaSource {
    std::string file; // the evaluation file's name, without its folder
    double fcuk = 0.0;
    int groups = 0;
    double sigma = 0.0; // MPa, to 0.01
    friend bool operator==(const SigmaSource&, const SigmaSource&) = default;
};

// The σ an evaluation file gives the next design, with its source; or why
// it gives none, in Chinese.
struct SigmaImport {
    std::optional<SigmaSource> source;
    std::string reason;
};
SigmaImport importSigma(std::string_view bytes, std::string_view fileName);

nlohmann::ordered_json sigmaSourceBlock(const SigmaSource& source);
// The block of the design file `bytes` (read by jgj55::read, which lets it
// pass); nothing without one, or for a block that is not one (a file edited
// by hand): the σ is then the user's own.
std::optional<SigmaSource> sigmaSourceFrom(std::string_view bytes);

// "C30": the class of `fcuk`.
std::string strengthClass(double fcuk);
// `value` as the shortest text that reads back as it, in `format`.
std::string shortestText(double value, const calc::NumberFormat& format);

// The sentence of the 计算书: "强度标准差 σ = 4.12 MPa 取自强度检验评定
// “三层梁板.lanshi”（C30，35 组，GB/T 50107-2010）。"
std::string sigmaSourceNote(const SigmaSource& source, const calc::NumberFormat& format);

} // namespace session
