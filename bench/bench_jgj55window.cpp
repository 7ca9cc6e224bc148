// The JGJ 55-2011 window designs again on every keystroke: one typed digit,
// with the whole design, the results, their tips and the greyed table values,
// must stay within a frame (16 ms). Runs in bench_window, offscreen.
#include "ui/filedialogs.h"
#include "ui/jgj55window.h"
#include "ui/messageboxes.h"
#include "ui/reportcommands.h"

#include <QLineEdit>
#include <QTest>
#include <benchmark/benchmark.h>

namespace {

class NoBoxes final : public ui::MessageBoxes {
public:
    void show(QWidget*, const ui::MessageBox&) override {}
    QMessageBox::StandardButton ask(QWidget*, const ui::Question& q) override { return q.escape; }
};

class NoDialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return {}; }
    QString saveDesign(QWidget*, const QString&, const QString&) override { return {}; }
};

class NoReportDialogs final : public ui::ReportDialogs {
public:
    std::optional<ui::ReportDetails> askDetails(QWidget*, const ui::ReportDetails&) override {
        return std::nullopt;
    }
    QString askPdfPath(QWidget*, const QString&) override { return {}; }
    void preview(QWidget*, const std::function<void(QPrinter&)>&) override {}
};

void BM_Jgj55Window_Keystroke(benchmark::State& state) {
    NoBoxes boxes;
    NoDialogs dialogs;
    NoReportDialogs reports;
    ui::Jgj55Window window({}, boxes, dialogs, reports);
    window.show();
    const auto field = [&window](const char* name) {
        return window.findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    field("fcuk")->setText(QStringLiteral("30"));
    field("maxSize")->setText(QStringLiteral("20"));
    field("flyAsh.fraction")->setText(QStringLiteral("20"));
    field("slag.fraction")->setText(QStringLiteral("15"));
    QLineEdit* slump = field("slump");
    slump->setText(QStringLiteral("18"));
    slump->setFocus();
    slump->end(false);
    for (auto _ : state) {
        // One digit typed and taken away again: two designs per iteration.
        QTest::keyClick(slump, Qt::Key_0);
        QTest::keyClick(slump, Qt::Key_Backspace);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_Jgj55Window_Keystroke)->Unit(benchmark::kMillisecond);

} // namespace
