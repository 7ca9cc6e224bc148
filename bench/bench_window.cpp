// Benchmarks of the real window, offscreen: a press on "计算", the start-up
// from constructing Form1 to the window being shown, and saving and opening a
// design file through the window's commands.
#include "calc/calculate.h"
#include "calc/sheet.h"
#include "ui/designcommands.h"
#include "ui/form1.h"
#include "ui/messageboxes.h"

#include <QApplication>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

// Answers every box at once; a benchmark has no one to press OK.
class SilentBoxes final : public ui::MessageBoxes {
public:
    void show(QWidget*, const ui::MessageBox&) override {}
    QMessageBox::StandardButton ask(QWidget*, const ui::Question& question) override {
        return question.escape;
    }
};

// Names every file in a folder of its own; the benchmarks never ask.
class FolderDialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return {}; }
    QString saveDesign(QWidget*, const QString&, const QString&) override {
        return folder.filePath(QStringLiteral("bench.lanshi"));
    }
    QTemporaryDir folder;
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

// The shown window with its design commands, on a calculated sheet.
struct DesignWindow {
    DesignWindow() {
        form.show();
        calc::calculate(form.sheet());
    }
    SilentBoxes boxes;
    FolderDialogs dialogs;
    ui::Form1 form{calc::NumberFormat{}, boxes};
    ui::DesignCommands designs{form, boxes, dialogs};
};

// 保存设计 on a calculated sheet: capture, write the file, replace the old
// one (QSaveFile: a new file, flushed to the disk, renamed over it).
void BM_Window_SaveDesign(benchmark::State& state) {
    DesignWindow window;
    for (auto _ : state) {
        if (!window.designs.saveAsCommand()) {
            state.SkipWithError("the design was not saved");
            break;
        }
    }
}
BENCHMARK(BM_Window_SaveDesign)->Unit(benchmark::kMicrosecond);

// 打开设计 of that file: read, check, put every field and choice on the window.
void BM_Window_OpenDesign(benchmark::State& state) {
    DesignWindow window;
    window.designs.saveAsCommand();
    const QString path = window.designs.currentFile();
    for (auto _ : state) {
        if (!window.designs.openFile(path)) {
            state.SkipWithError("the design did not open");
            break;
        }
    }
}
BENCHMARK(BM_Window_OpenDesign)->Unit(benchmark::kMicrosecond);

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
