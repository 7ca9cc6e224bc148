// Benchmarks of the calculation with a trace and of the report made from it.
#include "calc/calculate.h"
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "report/report.h"

#include <benchmark/benchmark.h>

namespace {

using namespace calc;

MemorySheet moistureSheet() {
    MemorySheet sheet;
    qk(sheet);
    sheet.setText(Text21, "0.03");
    sheet.setText(Text24, "0.01");
    return sheet;
}

// Every press runs every stage: the four base fields are emptied first.
void emptyBaseFields(MemorySheet& sheet) {
    for (TextField field : {Text2, Text8, Text10, Text4}) {
        sheet.setText(field, "");
    }
}

// The same press as BM_Calculate_Defaults, without and with a trace, on one
// sheet with the moisture correction so that every method record is taken.
void BM_Calculate_NoTrace(benchmark::State& state) {
    MemorySheet sheet = moistureSheet();
    for (auto _ : state) {
        emptyBaseFields(sheet);
        benchmark::DoNotOptimize(calculate(sheet));
    }
}
BENCHMARK(BM_Calculate_NoTrace);

void BM_Calculate_WithTrace(benchmark::State& state) {
    MemorySheet sheet = moistureSheet();
    Trace trace;
    for (auto _ : state) {
        emptyBaseFields(sheet);
        benchmark::DoNotOptimize(calculate(sheet, trace));
    }
}
BENCHMARK(BM_Calculate_WithTrace);

struct Made {
    MemorySheet sheet = moistureSheet();
    Trace trace;
    report::Options options{"2024-05-01", "普通澜石", "1.00", "", 20.0, {}};
    Made() { calculate(sheet, trace); }
};

void BM_Report_Text(benchmark::State& state) {
    const Made made;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            report::toText(*report::buildReport(made.sheet, made.trace, made.options)));
    }
}
BENCHMARK(BM_Report_Text);

void BM_Report_Html(benchmark::State& state) {
    const Made made;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            report::toHtml(*report::buildReport(made.sheet, made.trace, made.options)));
    }
}
BENCHMARK(BM_Report_Html);

} // namespace
