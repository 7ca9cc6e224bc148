// Benchmarks of the calculation on an in-memory sheet and of each conversion.
#include "calc/calculate.h"
#include "calc/conversions.h"
#include "calc/memorysheet.h"
#include "calc/roundingroute.h"
#include "calc/stages.h"

#include <benchmark/benchmark.h>

namespace {

using namespace calc;

// Presses "计算" once per iteration, with the four base fields emptied first
// so that every press runs every stage again.
void pressRepeatedly(benchmark::State& state, MemorySheet& sheet) {
    for (auto _ : state) {
        for (TextField field : {Text2, Text8, Text10, Text4}) {
            sheet.setText(field, "");
        }
        benchmark::DoNotOptimize(calculate(sheet));
    }
}

void BM_Calculate_Defaults(benchmark::State& state) {
    MemorySheet sheet;
    qk(sheet);
    pressRepeatedly(state, sheet);
}
BENCHMARK(BM_Calculate_Defaults);

void BM_Calculate_MassMoisture(benchmark::State& state) {
    MemorySheet sheet;
    qk(sheet);
    sheet.select(Option::option2);
    sheet.setText(Text20, "2400");
    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    pressRepeatedly(state, sheet);
}
BENCHMARK(BM_Calculate_MassMoisture);

// A stop costs an exception: the mass method without the concrete mass.
void BM_Calculate_Stop(benchmark::State& state) {
    MemorySheet sheet;
    qk(sheet);
    sheet.select(Option::option2);
    pressRepeatedly(state, sheet);
}
BENCHMARK(BM_Calculate_Stop);

void BM_ParseLenient(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseLenient("678.7865"));
    }
}
BENCHMARK(BM_ParseLenient);

void BM_ParseStrict(benchmark::State& state) {
    const NumberFormat format;
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseStrict("1,234.57", format));
    }
}
BENCHMARK(BM_ParseStrict);

void BM_FormatFixed2(benchmark::State& state) {
    const NumberFormat format;
    double value = 1234.567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(formatFixed2(value, format));
    }
}
BENCHMARK(BM_FormatFixed2);

void BM_FormatSingle(benchmark::State& state) {
    const NumberFormat format;
    float value = 678.7865f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(formatSingle(value, format));
    }
}
BENCHMARK(BM_FormatSingle);

// The same two by the exact rounding route, which builds without an extended
// long double take: the worth of the extended route is the difference.
void BM_FormatFixed2_ExactRoute(benchmark::State& state) {
    const NumberFormat format;
    double value = 1234.567;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(detail::formatFixed2(value, format, detail::RoundingRoute::Exact));
    }
}
BENCHMARK(BM_FormatFixed2_ExactRoute);

void BM_FormatSingle_ExactRoute(benchmark::State& state) {
    const NumberFormat format;
    float value = 678.7865f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(detail::formatSingle(value, format, detail::RoundingRoute::Exact));
    }
}
BENCHMARK(BM_FormatSingle_ExactRoute);

} // namespace
