// The JGJ 55-2011 design as a file: the same .lanshi kind as the classic
// design, told apart by its "standard" key.
//
//     {
//       "lanshi-design": 1,
//       "standard": "JGJ 55-2011",
//       "jgj55-2011": {
//         "fcuk": 30,
//         "cementGrade": "42.5",
//         "flyAsh": {"fraction": 0.2, "grade": "II"},
//         "stone": "crushed",
//         "maxSize": 20,
//         "slump": 180
//       }
//     }
//
// Every input is a plain JSON number or one of its listed names
// (jgj55/inputs.h); a key that is absent takes the table or the default. The
// project block of the report may follow under "project", as in the classic
// design file. Writing puts the keys present in
// one fixed order, so a design saved, opened and saved again keeps its bytes.
// Reading is strict: a key it does not know, a value of the wrong kind or a
// name outside its list is refused with a message in Chinese naming it.
#pragma once

#include "design/project.h"
#include "jgj55/design.h"
#include "jgj55/trials.h"

#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace jgj55 {

inline constexpr std::string_view kStandardKey = "standard";
inline constexpr std::string_view kStandardName = "JGJ 55-2011";
inline constexpr std::string_view kDesignKey = "jgj55-2011";

// The analyser sees the notice block's destructor free nested values through a
// std::vector, which throws only when memory runs out.
// NOLINTNEXTLINE(bugprone-exception-escape)
struct ReadResult {
    std::optional<Input> input;                     // set when the bytes are a readable design
    design::Project project;                        // the project block the file keeps
    double batchLitres = design::kUsualBatchLitres; // the report's trial batch
    nlohmann::json notice;                          // the mix notice's block; null for none
    std::optional<Trials> trials;                   // the laboratory's trials; none when absent
    std::string error;                              // otherwise what is wrong, in Chinese, one line
    explicit operator bool() const { return input.has_value(); }
};

// The file's bytes: UTF-8 JSON, two-space indented, with a final line feed.
// A whole number is written without a fraction (30, not 30.0).
// The project block, when not empty, follows the design under "project",
// and the report's trial batch, when not the usual 20 L, under "trialBatch".
// The laboratory's trials (jgj55/trials.h), when there are any, follow
// under "trials", even when empty; the mix notice's block
// (notice/notice.h), when not null, comes next, and last the block that says
// where σ was taken from ("sigmaSource"): the reader lets it pass, and the
// form that imported σ reads and checks it.
std::string serialize(const Input& input, const design::Project& project = {},
                      double batchLitres = design::kUsualBatchLitres,
                      const nlohmann::ordered_json& notice = nullptr,
                      const std::optional<Trials>& trials = std::nullopt,
                      const nlohmann::ordered_json& sigmaSource = nullptr);

inline constexpr std::string_view kSigmaSourceKey = "sigmaSource";

// Reads the bytes of a JGJ 55-2011 design file.
ReadResult read(std::string_view bytes);

} // namespace jgj55
