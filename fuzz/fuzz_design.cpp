// Fuzzes the design reader with arbitrary bytes as a file: it must never
// crash, and whatever it accepts must survive being saved and opened again
// unchanged, under the format it was read for and under another.
#include "calc/memorysheet.h"
#include "calc/numberformat.h"
#include "design/designfile.h"
#include "design/provenance.h"
#include "fuzz/fuzz_formats.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The last bytes choose the current number format; the rest is the file,
    // so seeds that are whole design files stay whole.
    const std::size_t formatBytes = size < 8 ? size : 8;
    FuzzedDataProvider choice(data + size - formatBytes, formatBytes);
    const calc::NumberFormat current = fuzzing::pickFormat(choice);
    const std::string_view bytes(reinterpret_cast<const char*>(data), size - formatBytes);

    const design::ReadResult read = design::open(bytes, current);
    if (!read) {
        require(!read.error.empty());
        return 0;
    }
    const design::Design& first = *read.design;
    require(first.format == current);
    // Exactly one member of each option group.
    require(first.options[0] != first.options[1] && first.options[2] != first.options[3]);

    // Saved and opened under the same format: the same design, the same bytes.
    const std::string saved = design::serialize(first);
    const design::ReadResult again = design::open(saved, current);
    require(again && design::sameSheet(*again.design, first));
    require(design::serialize(*again.design) == saved);

    // Opened as saved, the texts come back verbatim whatever the format.
    const design::ReadResult asSaved = design::openAsSaved(saved);
    require(asSaved && asSaved.design->texts == first.texts);

    // Under the usual format and back: every number is one again.
    const design::ReadResult elsewhere = design::open(saved, calc::NumberFormat{});
    require(elsewhere.design.has_value());

    // Whatever the file claims was calculated: opening never trusts it, and
    // puts exactly the file's sheet on the sheet.
    calc::MemorySheet sheet(current);
    const design::Opened opened = design::openInto(first, sheet);
    require(design::sameSheet(design::capture(sheet), first));
    require(!opened.last || opened.last->completed());
    return 0;
}
