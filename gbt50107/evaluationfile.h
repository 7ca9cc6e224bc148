// The strength evaluation as a file: the same .lanshi kind as the mix
// designs, told apart by its "standard" key.
//
//     {
//       "lanshi-design": 1,
//       "standard": "GB/T 50107-2010",
//       "gbt50107-2010": {
//         "fcuk": 30,
//         "specimenSize": 150,
//         "sizeFactor": null,
//         "method": "auto",
//         "sigma0": null,
//         "previous": [],
//         "groups": [
//           [33.1, 35.2, 34],
//           31.5
//         ]
//       },
//       "project": {"name": "某住宅楼", "part": "三层梁板", "client": "某建设单位"}
//     }
//
// A group is its three specimen strengths (null for one not given) or its
// group value alone. Reading: a key that is absent takes its default (150 mm,
// "auto", nothing given); a key it does not know, a value of the wrong kind
// or a name outside its list is refused with a message in Chinese naming the
// key. Writing puts every key in one fixed order, a group on one line and
// ten previous values to a line, whole numbers without a fraction, so that a
// file opened and saved untouched keeps its bytes.
#pragma once

#include "design/project.h"
#include "gbt50107/evaluation.h"

#include <optional>
#include <string>
#include <string_view>

namespace gbt50107 {

inline constexpr std::string_view kStandardName = "GB/T 50107-2010";
inline constexpr std::string_view kEvaluationKey = "gbt50107-2010";

// Everything an evaluation file holds.
struct EvaluationFile {
    Input input;
    design::Project project; // part: 施工部位
    friend bool operator==(const EvaluationFile&, const EvaluationFile&) = default;
};

struct FileReading {
    std::optional<EvaluationFile> file; // set when the bytes are a readable evaluation
    std::string error;                  // otherwise what is wrong, in Chinese, one line
    explicit operator bool() const { return file.has_value(); }
};

// The file's bytes: UTF-8 JSON, two-space indented, with a final line feed.
// An empty project leaves no key.
std::string serialize(const EvaluationFile& file);

// Reads the bytes of an evaluation file.
FileReading read(std::string_view bytes);

// Whether the bytes are a JSON object whose "standard" is GB/T 50107-2010:
// such a file is the evaluation's to open.
bool isEvaluationFile(std::string_view bytes);

// The σ an evaluation file gives the next mix design (导入强度标准差… of the
// JGJ 55-2011 window): the file read and evaluated; the σ when it has one,
// otherwise the reason, one line of Chinese.
struct SigmaImport {
    std::optional<double> sigma; // MPa, to 0.01
    double fcuk = 0.0;           // the class it was evaluated for
    int groups = 0;              // the groups it comes from
    std::string reason;          // when there is no σ
};
SigmaImport importDesignSigma(std::string_view bytes);

} // namespace gbt50107
