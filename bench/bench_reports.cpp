// Chart files and the CSV export at the sizes of long measurements: twelve traces of 250,000
// points saved and loaded (also with every trace in descending X order), four 375,000-point
// curves exported as CSV, and the printed report of four 250,000-point traces with 500 peaks.
#include "app/Log.h"
#include "measurement/PeakLists.h"
#include "reports/ChartFiles.h"
#include "reports/ChartRecord.h"
#include "reports/CsvExport.h"
#include "reports/PrintReport.h"
#include "reports/ReportHeader.h"
#include "reports/ReportPrinter.h"
#include "tests/reports/ReportChart.h"

#include <QApplication>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

using reportstest::ReportChart;

void Fill(TChartSeries& series, int points, int seed)
{
    std::vector<double> x(static_cast<size_t>(points)), y(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i) {
        x[static_cast<size_t>(i)] = 9.0 + i * (3000000.0 - 9.0) / (points - 1);
        y[static_cast<size_t>(i)] = 40.0 + 20.0 * std::sin(i * 0.001 * seed) + (i % 7) * 0.01;
    }
    TChartSeries::UpdateScope scope(series);
    series.AddPointsXY(x, y);
}

void FillChart(ReportChart& chart)
{
    for (int n : chartfile::kChartFileSeries)
        Fill(chart.Series(n), 250000, n);
}

void BM_SaveChartFile(benchmark::State& state)
{
    QTemporaryDir dir;
    ReportChart chart;
    FillChart(chart);
    const QString file = dir.filePath("big.drw");
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveChartFile(file, chart.Context));
    state.SetBytesProcessed(state.iterations() * 24 * (15 + 12 * 250000));
}

void LoadBench(benchmark::State& state, bool descending)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("big.drw");
    {
        ReportChart source;
        FillChart(source);
        if (descending) {
            // The same points, each trace written from its highest frequency down.
            for (int n : chartfile::kChartFileSeries)
                source.Series(n).XValues().SetOrder(loDescending);
            for (int n : chartfile::kChartFileSeries) {
                TChartSeries& s = source.Series(n);
                std::vector<double> x(s.XValues().Values().rbegin(), s.XValues().Values().rend());
                std::vector<double> y(s.YValues().Values().rbegin(), s.YValues().Values().rend());
                s.Clear();
                TChartSeries::UpdateScope scope(s);
                s.AddPointsXY(x, y);
            }
        }
        SaveChartFile(file, source.Context);
    }
    ReportChart chart;
    for (auto _ : state) {
        benchmark::DoNotOptimize(LoadChartFile(file, chart.Context));
        if (chart.Series(1).Count() != 250000 || chart.Series(1).XValues().First() != 9.0)
            state.SkipWithError("load gave the wrong trace");
    }
}

void BM_LoadChartFile(benchmark::State& state) { LoadBench(state, false); }
void BM_LoadChartFileDescending(benchmark::State& state) { LoadBench(state, true); }

void BM_CsvFourCurves(benchmark::State& state)
{
    QTemporaryDir dir;
    ReportChart chart;
    for (int n : {7, 9, 1, 8})
        Fill(chart.Series(n), 375000, n);
    CsvTicks ticks{};
    ticks[0] = ticks[1] = ticks[2] = ticks[3] = true;
    const QString file = dir.filePath("four.csv");
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteCsvFile(file, chart.Context.Series, ticks, {}));
}

// The whole "Print Report" to a 600-dpi A4 PDF: chart metafile, layout, pages, PDF.
void BM_PrintReportPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    ReportChart chart;
    chart.resize(1340, 500);
    for (int n : {1, 2, 7, 8})
        Fill(chart.Series(n), 250000, n);
    ReportHeaderItems header;
    PeakLists set1(MeasureSet::Set1), set2(MeasureSet::Set2);
    for (int i = 0; i < 500; ++i)
        set1.AddPeak(150.0 + i * 40.0, 45.0 + (i % 13) * 0.5, 50.0);
    MessageLog messages;
    const PrintReportSources sources{&chart, &header, &set1.Grid, &set2.Grid, &messages, nullptr};
    const QString file = dir.filePath("report.pdf");
    for (auto _ : state) {
        PdfFilePrinter pdf(file);
        if (!PrintReport(sources, pdf))
            state.SkipWithError("the report was not printed");
    }
    state.counters["pdf_bytes"] = static_cast<double>(QFileInfo(file).size());
}

} // namespace

BENCHMARK(BM_SaveChartFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadChartFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadChartFileDescending)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CsvFourCurves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintReportPdf)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
