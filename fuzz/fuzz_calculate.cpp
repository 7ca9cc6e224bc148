// Fuzzes the whole calculation on an in-memory sheet whose texts, options and
// number format come from the fuzzer's bytes.
#include "calc/calculate.h"
#include "calc/conversions.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "fuzz/fuzz_formats.h"

#include <array>
#include <cstdint>
#include <string>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// The fields a calculation reads, and Text10, which it only tests for empty.
constexpr std::array<calc::TextField, 21> kInputs = {
    calc::Text1,  calc::Text2,  calc::Text3,  calc::Text4,  calc::Text5,  calc::Text6,
    calc::Text7,  calc::Text8,  calc::Text9,  calc::Text10, calc::Text15, calc::Text18,
    calc::Text20, calc::Text21, calc::Text22, calc::Text23, calc::Text24, calc::Text25,
    calc::Text26, calc::Text31, calc::Text32};

bool writable(calc::TextField field) {
    switch (field) {
    case calc::Text2:
    case calc::Text8:
    case calc::Text10:
    case calc::Text4:
    case calc::Text11:
    case calc::Text12:
    case calc::Text13:
    case calc::Text14:
    case calc::Text30:
    case calc::Text31:
    case calc::Text32:
    case calc::Text33:
        return true;
    default:
        return false;
    }
}

// Plausible texts more often than not, so that the calculation gets deep.
std::string pickText(FuzzedDataProvider& data, const calc::NumberFormat& format) {
    switch (data.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
        return data.ConsumeRandomLengthString(64);
    case 1:
        return "";
    default: {
        const float value = data.ConsumeFloatingPointInRange<float>(-5000.0f, 5000.0f);
        return data.ConsumeBool() ? calc::formatSingle(value, format)
                                  : calc::formatFixed2(value, format);
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    calc::MemorySheet sheet(fuzzing::pickFormat(data));
    calc::qk(sheet);
    sheet.setOptionRaw(calc::Option::option1, data.ConsumeBool());
    sheet.setOptionRaw(calc::Option::option2, data.ConsumeBool());
    const int edits = data.ConsumeIntegralInRange<int>(0, 12);
    for (int i = 0; i < edits; ++i) {
        const calc::TextField field = data.PickValueInArray(kInputs);
        sheet.setText(field, pickText(data, sheet.numberFormat()));
    }
    const calc::MemorySheet before = sheet;

    const calc::Outcome outcome = calc::calculate(sheet);

    // Only the fields a stage writes may change; the rest keep their text.
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        if (!writable(field)) {
            require(sheet.text(field) == before.text(field));
        }
    }
    // What a stage wrote is a number (its own format), or a copy of the
    // cement or water text; a stop leaves the other fields as they were.
    for (calc::TextField field : {calc::Text2, calc::Text8, calc::Text10, calc::Text12,
                                  calc::Text13, calc::Text31, calc::Text32, calc::Text33}) {
        if (sheet.text(field) != before.text(field)) {
            require(calc::parseStrict(sheet.text(field), sheet.numberFormat()).status !=
                    calc::StrictStatus::NotANumber);
        }
    }
    require(sheet.notices().size() <= 1);

    // Pressing again on a completed sheet changes nothing.
    if (outcome.completed()) {
        calc::MemorySheet again = sheet;
        require(calc::calculate(again).completed());
        require(again == sheet);
    }
    return 0;
}
