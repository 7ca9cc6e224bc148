// Benchmarks of design files without any window: writing the file's bytes,
// reading them back (in the same format and in another), and reading a file
// from the disk.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "design/designfile.h"

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

// A calculated design, as users save them most.
design::Design calculated() {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    calc::calculate(sheet);
    return design::capture(sheet);
}

void BM_Design_Serialize(benchmark::State& state) {
    const design::Design d = calculated();
    for (auto _ : state) {
        benchmark::DoNotOptimize(design::serialize(d));
    }
}
BENCHMARK(BM_Design_Serialize);

void BM_Design_Open(benchmark::State& state) {
    const std::string bytes = design::serialize(calculated());
    for (auto _ : state) {
        benchmark::DoNotOptimize(design::open(bytes, calc::NumberFormat{}));
    }
}
BENCHMARK(BM_Design_Open);

void BM_Design_OpenUnderAnotherFormat(benchmark::State& state) {
    const std::string bytes = design::serialize(calculated());
    const calc::NumberFormat comma{",", ".", 3, "-"};
    for (auto _ : state) {
        benchmark::DoNotOptimize(design::open(bytes, comma));
    }
}
BENCHMARK(BM_Design_OpenUnderAnotherFormat);

void BM_Design_ReadFile(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("lanshi-bench-" + std::to_string(::getpid()) + ".lanshi");
    std::ofstream(path, std::ios::binary) << design::serialize(calculated());
    for (auto _ : state) {
        if (!design::readFile(path, calc::NumberFormat{})) {
            state.SkipWithError("the file did not open");
            break;
        }
    }
    std::filesystem::remove(path);
}
BENCHMARK(BM_Design_ReadFile);

} // namespace

BENCHMARK_MAIN();
