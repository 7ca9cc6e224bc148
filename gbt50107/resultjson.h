// The figures of a finished evaluation as one JSON object, for
// `lanshi --report E.lanshi -o NAME.json` and for scripts that check it:
//
//     {"groups": [34.1, 31.5, ...], "excluded": [{"index": 4, "reason": "..."}],
//      "n": 10, "method": "statistical", "mean": 34.5, "min": 30.2, "sd": 3.1,
//      "lambda1": 1.15, "lambda2": 0.9, "lambda3": null, "lambda4": null,
//      "conditions": [{"text": "mfcu − λ1·Sfcu = ...", "holds": true}, ...],
//      "passed": true, "designSigma": null}
//
// `groups` are the values evaluated (converted to the 150 mm cube), in the
// order of the groups, the left-out ones omitted; `excluded` names each
// left-out group by its number from 1, as the record does. `sd` is Sfcu or σ0
// as used (after the 2.5 MPa floor); a λ the method does not use is null.
// Numbers are plain JSON numbers (whole ones without a fraction); the
// conditions' texts write figures with ".".
#pragma once

#include "gbt50107/evaluation.h"

#include <string>

namespace gbt50107 {

// Two-space indented, with a final line feed; the keys in the order above.
std::string resultJson(const Evaluation& evaluation);

} // namespace gbt50107
