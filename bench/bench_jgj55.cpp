// A whole JGJ 55-2011 design, every step recorded: it runs on each keystroke
// of the design's window, so it must stay far below a frame (target ≤ 5 µs).
#include "jgj55/design.h"

#include <benchmark/benchmark.h>

namespace {

jgj55::Input binderWithEverything(jgj55::Method method) {
    jgj55::Input in;
    in.fcuk = 30;
    in.cementGrade = jgj55::CementGrade::G42_5;
    in.flyAsh = jgj55::FlyAsh{
        .fraction = 0.15, .grade = jgj55::FlyAshGrade::II, .gammaF = {}, .density = {}};
    in.slag =
        jgj55::Slag{.fraction = 0.25, .grade = jgj55::SlagGrade::S75, .gammaS = {}, .density = {}};
    in.admixture = jgj55::Admixture{.fraction = 0.01, .waterReduction = 0.2};
    in.stone = jgj55::Stone::Crushed;
    in.maxSize = 31.5;
    in.slump = 180;
    in.environment = jgj55::Environment::IIa;
    in.method = method;
    in.sandMoisture = 3;
    in.stoneMoisture = 1;
    return in;
}

void wholeDesign(benchmark::State& state) {
    const jgj55::Input in =
        binderWithEverything(state.range(0) == 0 ? jgj55::Method::Mass : jgj55::Method::Volume);
    for (auto _ : state) {
        jgj55::Outcome out = jgj55::design(in);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(wholeDesign)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
