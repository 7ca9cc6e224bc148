// Fuzzes the strength evaluation with arbitrary bytes, as a file and as text
// pasted into its table: never a crash; whatever the reader accepts survives
// being saved and read again unchanged; an evaluation is either refused with
// a reason for every fault or gives finite figures, and its record and
// result file are written.
#include "gbt50107/cells.h"
#include "gbt50107/evaluationfile.h"
#include "gbt50107/resultjson.h"
#include "report/gbt50107record.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void evaluated(const gbt50107::Input& input, const std::vector<gbt50107::InputFault>& known) {
    const gbt50107::Outcome out = gbt50107::evaluate(input, known);
    if (!out) {
        require(!out.faults.empty());
        for (const gbt50107::InputFault& f : out.faults) {
            require(!f.message.empty());
        }
        return;
    }
    const gbt50107::Evaluation& e = *out.evaluation;
    require(e.n > 0 && std::isfinite(e.mean) && std::isfinite(e.min));
    for (const gbt50107::Condition& c : e.conditions) {
        require(std::isfinite(c.left) && std::isfinite(c.right));
    }
    require(!gbt50107::resultJson(e).empty());
    require(!report::toText(report::buildGbt50107Record(input, e, {}, {})).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const gbt50107::FileReading read = gbt50107::read(bytes);
    if (read) {
        const std::string saved = gbt50107::serialize(*read.file);
        const gbt50107::FileReading again = gbt50107::read(saved);
        require(again && *again.file == *read.file);
        require(gbt50107::serialize(*again.file) == saved);
        evaluated(read.file->input, {});
    } else {
        require(!read.error.empty());
    }

    // The bytes as cells pasted into the table, three specimens and a value
    // to a row.
    std::vector<gbt50107::GroupRow> rows;
    for (const std::vector<std::string>& cells : gbt50107::splitCells(bytes, {})) {
        gbt50107::GroupRow row;
        for (std::size_t k = 0; k < cells.size() && k < 4; ++k) {
            (k < 3 ? row.specimens[k] : row.value) = cells[k];
        }
        rows.push_back(std::move(row));
    }
    const gbt50107::GroupCells cells = gbt50107::readGroupRows(rows, {});
    gbt50107::Input input;
    input.fcuk = 30;
    input.groups = cells.groups;
    evaluated(input, cells.faults);
    return 0;
}
