#include "session/sigmasource.h"

#include "gbt50107/evaluation.h"
#include "gbt50107/evaluationfile.h"
#include "jgj55/designfile.h"
#include "report/report.h"

#include <cmath>

namespace session {

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the file's bytes, then its name
SigmaImport importSigma(std::string_view bytes, std::string_view fileName) {
    const gbt50107::SigmaImport imported = gbt50107::importDesignSigma(bytes);
    if (!imported.sigma) {
        return {std::nullopt, imported.reason};
    }
    return {SigmaSource{.file = std::string(fileName),
                        .fcuk = imported.fcuk,
                        .groups = imported.groups,
                        .sigma = *imported.sigma},
            {}};
}

nlohmann::ordered_json sigmaSourceBlock(const SigmaSource& source) {
    nlohmann::ordered_json block = nlohmann::ordered_json::object();
    block["file"] = source.file;
    // Whole numbers as whole numbers, as every design file writes them.
    if (std::floor(source.fcuk) == source.fcuk && std::fabs(source.fcuk) < 1e9) {
        block["fcuk"] = static_cast<long long>(source.fcuk);
    } else {
        block["fcuk"] = source.fcuk;
    }
    block["groups"] = source.groups;
    block["sigma"] = source.sigma;
    return block;
}

std::optional<SigmaSource> sigmaSourceFrom(std::string_view bytes) {
    const nlohmann::json design = nlohmann::json::parse(bytes, nullptr, false);
    if (!design.is_object() || !design.contains(jgj55::kSigmaSourceKey)) {
        return std::nullopt;
    }
    const nlohmann::json& block = design[std::string(jgj55::kSigmaSourceKey)];
    if (!block.is_object() || block.size() != 4) {
        return std::nullopt;
    }
    const auto file = block.find("file");
    const auto fcuk = block.find("fcuk");
    const auto groups = block.find("groups");
    const auto sigma = block.find("sigma");
    if (file == block.end() || !file->is_string() || fcuk == block.end() || !fcuk->is_number() ||
        groups == block.end() || !groups->is_number_integer() || sigma == block.end() ||
        !sigma->is_number()) {
        return std::nullopt;
    }
    const long long count = groups->get<long long>();
    if (count < 1 || count > 1000000) {
        return std::nullopt;
    }
    return SigmaSource{.file = report::userText(file->get<std::string>()),
                       .fcuk = fcuk->get<double>(),
                       .groups = static_cast<int>(count),
                       .sigma = sigma->get<double>()};
}

std::string strengthClass(double fcuk) {
    return "C" + gbt50107::decimalText(fcuk, 0, calc::NumberFormat{});
}

std::string shortestText(double value, const calc::NumberFormat& format) {
    return gbt50107::decimalText(value, 0, format);
}

std::string sigmaSourceNote(const SigmaSource& source, const calc::NumberFormat& format) {
    return "强度标准差 σ = " + gbt50107::decimalText(source.sigma, 2, format) +
           " MPa 取自强度检验评定“" + report::userText(source.file) + "”（" +
           strengthClass(source.fcuk) + "，" + std::to_string(source.groups) +
           " 组，GB/T 50107-2010）。";
}

} // namespace session
