// Fuzzes the JGJ 55-2011 design file and the design itself with arbitrary
// bytes as a file: never a crash; whatever the reader accepts survives being
// saved and read again unchanged; and its design is either refused with a
// reason or gives finite figures everywhere, steps and notes included.
#include "jgj55/design.h"
#include "jgj55/designfile.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void finite(double x) {
    require(std::isfinite(x));
}

void finite(const jgj55::Result& r) {
    for (const double x : {r.sigma,       r.fcu0,       r.fce,
                           r.gammaF,      r.gammaS,     r.fb,
                           r.alphaA,      r.alphaB,     r.waterBinderComputed.value_or(0.0),
                           r.waterBinder, r.tableWater, r.water,
                           r.binder,      r.cement,     r.flyAsh,
                           r.slag,        r.admixture,  r.sandRatio,
                           r.sand,        r.stone,      r.apparentDensity}) {
        finite(x);
    }
    if (r.construction) {
        const jgj55::ConstructionMix& c = *r.construction;
        for (const double x : {c.cement, c.flyAsh, c.slag, c.water, c.sand, c.stone, c.admixture}) {
            finite(x);
        }
    }
    for (const jgj55::Step& s : r.steps) {
        finite(s.value);
        for (const double x : s.operands.view()) {
            finite(x);
        }
        for (const double x : s.sourceNumbers.view()) {
            finite(x);
        }
    }
    for (const auto* messages : {&r.notes, &r.warnings}) {
        for (const jgj55::Message& m : *messages) {
            for (const double x : m.numbers) {
                finite(x);
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const jgj55::ReadResult read = jgj55::read(bytes);
    if (!read) {
        require(!read.error.empty());
        return 0;
    }
    const std::string saved = jgj55::serialize(*read.input);
    const jgj55::ReadResult again = jgj55::read(saved);
    require(again && *again.input == *read.input);
    require(jgj55::serialize(*again.input) == saved);

    const jgj55::Outcome out = jgj55::design(*read.input);
    if (out) {
        finite(*out.result);
    } else {
        require(!out.refusal.message.pattern.empty());
        for (const double x : out.refusal.message.numbers) {
            require(!std::isnan(x));
        }
    }
    return 0;
}
