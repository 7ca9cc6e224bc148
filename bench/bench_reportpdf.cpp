// The report written as an A4 PDF (offscreen), from the HTML to the file.
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "calc/trace.h"
#include "report/report.h"
#include "ui/reportprint.h"

#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_Report_Pdf(benchmark::State& state) {
    calc::MemorySheet sheet;
    calc::qk(sheet);
    sheet.setText(calc::Text21, "0.03");
    sheet.setText(calc::Text24, "0.01");
    calc::Trace trace;
    calc::calculate(sheet, trace);
    const report::Options options{"2024-05-01", "普通澜石", "1.00", "", 20.0, {}};
    const std::string html = report::toHtml(*report::buildReport(sheet, trace, options));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state) {
        const QString error = ui::writeReportPdf(QString::fromStdString(html), path);
        if (!error.isEmpty()) {
            state.SkipWithError(error.toStdString().c_str());
            break;
        }
    }
}
BENCHMARK(BM_Report_Pdf)->Unit(benchmark::kMillisecond);

} // namespace
