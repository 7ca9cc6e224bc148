// A whole JGJ 55-2011 design, every step recorded, and a keystroke in the
// design's form, which designs again and shows every result, tip and table
// value: it must stay within a frame (16 ms).
#include "jgj55/design.h"
#include "session/jgj55form.h"

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

// The form as a keystroke leaves it, without any window: one digit typed
// into the slump and taken away again, two designs per iteration.
void BM_Jgj55Form_SetText(benchmark::State& state) {
    session::Jgj55Form form(calc::NumberFormat{});
    form.setText("fcuk", "30");
    form.setText("maxSize", "20");
    form.setText("flyAsh.fraction", "20");
    form.setText("slag.fraction", "15");
    form.setText("slump", "18");
    if (!form.result()) {
        state.SkipWithError("the form has no design");
        return;
    }
    for (auto _ : state) {
        form.setText("slump", "180");
        form.setText("slump", "18");
        benchmark::DoNotOptimize(form.result("cement"));
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_Jgj55Form_SetText)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
