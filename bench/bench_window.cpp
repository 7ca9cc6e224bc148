// Benchmarks of the real window, offscreen: a press on "计算", and the
// start-up from constructing Form1 to the window being shown.
#include "calc/sheet.h"
#include "ui/form1.h"
#include "ui/messageboxes.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// Answers every box at once; a benchmark has no one to press OK.
class SilentBoxes final : public ui::MessageBoxes {
public:
    void show(QWidget*, const ui::MessageBox&) override {}
};

void BM_Window_Calculate(benchmark::State& state) {
    SilentBoxes boxes;
    ui::Form1 form(calc::NumberFormat{}, boxes);
    form.show();
    QPushButton* calculate = form.findChild<QPushButton*>(QStringLiteral("Command1"));
    calc::Sheet& sheet = form.sheet();
    for (auto _ : state) {
        // Empty base fields, so that every press runs every stage again.
        for (calc::TextField field : {calc::Text2, calc::Text8, calc::Text10, calc::Text4}) {
            sheet.setText(field, "");
        }
        calculate->click();
    }
    if (sheet.text(calc::Text13) != "1206.731") {
        state.SkipWithError("the window did not calculate the defaults");
    }
}
BENCHMARK(BM_Window_Calculate);

void BM_Window_Startup(benchmark::State& state) {
    SilentBoxes boxes;
    for (auto _ : state) {
        ui::Form1 form(calc::NumberFormat{}, boxes);
        form.show();
        if (!QTest::qWaitForWindowExposed(&form)) {
            state.SkipWithError("the window was never exposed");
            break;
        }
    }
}
BENCHMARK(BM_Window_Startup)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
