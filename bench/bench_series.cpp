// Series and value lists at trace sizes: a 1 GHz span on the 4 kHz correction grid gives about
// 250,000 points per curve.
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/SeriesFunctions.h"
#include "chart/engine/SeriesStream.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace {

constexpr int kTracePoints = 250000;
constexpr int kSegmentPoints = 601;

// A chart with repainting switched off: repaint requests cost a call and nothing else.
class QuietChart : public ChartParent {
public:
    void Repaint() override {}
    TChartSeriesList& SeriesList() override { return list_; }
    TChartTools& Tools() override { return tools_; }

private:
    TChartSeriesList list_;
    TChartTools tools_;
};

std::unique_ptr<TChartSeries> MakeTrace(QuietChart& chart, int points)
{
    auto series = std::make_unique<TChartSeries>();
    series->SetParentChart(&chart);
    for (int i = 0; i < points; ++i)
        series->AddPointXY(9.0 + 4.0 * i, 40.0 + (i % 97) * 0.25);
    return series;
}

void BM_AddPointXYInOrder(benchmark::State& state)
{
    QuietChart chart;
    for (auto _ : state) {
        TChartSeries series;
        series.SetParentChart(&chart);
        for (int i = 0; i <= kTracePoints; ++i)
            series.AddPointXY(9.0 + 4.0 * i, 40.0 + (i % 97) * 0.25);
        benchmark::DoNotOptimize(series.Count());
        series.SetParentChart(nullptr);
    }
    state.SetItemsProcessed(state.iterations() * (kTracePoints + 1));
}
BENCHMARK(BM_AddPointXYInOrder)->Unit(benchmark::kMillisecond);

// One 601-point segment whose points arrive from high to low frequency, placed after the
// 250,000 points already there (the next segment of a sweep) or into their middle.
void BM_DescendingSegmentInto250k(benchmark::State& state)
{
    const bool middle = state.range(0) != 0;
    QuietChart chart;
    auto series = MakeTrace(chart, kTracePoints);
    const double base = middle ? 9.0 + 4.0 * (kTracePoints / 2) + 0.5 : 9.0 + 4.0 * kTracePoints;
    for (auto _ : state) {
        for (int i = kSegmentPoints - 1; i >= 0; --i)
            series->AddPointXY(base + i * (middle ? 0.001 : 4.0), 50.0);
        state.PauseTiming();
        series->DeleteRange(middle ? kTracePoints / 2 + 1 : kTracePoints, kSegmentPoints);
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kSegmentPoints);
}
BENCHMARK(BM_DescendingSegmentInto250k)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A whole 250,000-point trace built from 601-point segments in ascending segment order, each
// segment's points arriving in descending order.
void BM_TraceFromDescendingSegments(benchmark::State& state)
{
    QuietChart chart;
    for (auto _ : state) {
        TChartSeries series;
        series.SetParentChart(&chart);
        const int segments = kTracePoints / kSegmentPoints + 1;
        for (int s = 0; s < segments; ++s)
            for (int i = kSegmentPoints - 1; i >= 0; --i)
                series.AddPointXY(9.0 + 4.0 * (s * kSegmentPoints + i), 50.0);
        benchmark::DoNotOptimize(series.Count());
        series.SetParentChart(nullptr);
    }
}
BENCHMARK(BM_TraceFromDescendingSegments)->Unit(benchmark::kMillisecond);

// Minimum and maximum after one change on 250,000 points: an overwritten level (0: any point,
// the figures are kept when the old level was neither extreme; 2: always the point holding the
// maximum, which forces a full pass) and an appended point (1: the cache is extended in place).
void BM_MinMaxAfterOneChange(benchmark::State& state)
{
    const int mode = static_cast<int>(state.range(0));
    QuietChart chart;
    auto series = MakeTrace(chart, kTracePoints);
    std::mt19937 rng(1);
    double x = 9.0 + 4.0 * kTracePoints;
    int peak = 96;
    benchmark::DoNotOptimize(series->GetMaxY());
    for (auto _ : state) {
        if (mode == 1) {
            series->AddPointXY(x, 60.0);
            x += 4.0;
        } else if (mode == 2) {
            series->YValues().SetValue(peak, series->GetPointY(peak) - 0.125);
            peak = (peak + 97) % kTracePoints;
        } else {
            series->YValues().SetValue(static_cast<int>(rng() % kTracePoints), 30.0 + (rng() % 1000) * 0.1);
        }
        benchmark::DoNotOptimize(series->GetMinY());
        benchmark::DoNotOptimize(series->GetMaxY());
    }
}
BENCHMARK(BM_MinMaxAfterOneChange)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Locate of an existing frequency in the sorted X list, and of a level in the unsorted Y list.
void BM_Locate250k(benchmark::State& state)
{
    const bool sortedX = state.range(0) == 0;
    QuietChart chart;
    auto series = MakeTrace(chart, kTracePoints);
    std::mt19937 rng(2);
    for (auto _ : state) {
        const int i = static_cast<int>(rng() % kTracePoints);
        if (sortedX)
            benchmark::DoNotOptimize(series->XValues().Locate(9.0 + 4.0 * i));
        else
            benchmark::DoNotOptimize(series->YValues().Locate(40.0 + 24.25 + 0.001));
    }
}
BENCHMARK(BM_Locate250k)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// Removing 100,000 points from the middle of a 250,000-point trace: one range delete against
// single deletes (each moves the rest of every column).
void BM_Delete100k(benchmark::State& state)
{
    const bool single = state.range(0) != 0;
    QuietChart chart;
    for (auto _ : state) {
        state.PauseTiming();
        auto series = MakeTrace(chart, kTracePoints);
        state.ResumeTiming();
        if (single) {
            for (int i = 0; i < 100000; ++i)
                series->Delete(50000);
        } else {
            series->DeleteRange(50000, 100000);
        }
        benchmark::DoNotOptimize(series->Count());
        state.PauseTiming();
        series.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Delete100k)->Arg(0)->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Delete100k)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// A fed series copying a whole trace, as after a bulk update of its source.
void BM_AssignValues250k(benchmark::State& state)
{
    QuietChart chart;
    auto source = MakeTrace(chart, kTracePoints);
    TChartSeries copy;
    copy.SetParentChart(&chart);
    for (auto _ : state) {
        copy.AssignValues(*source);
        benchmark::DoNotOptimize(copy.Count());
    }
    copy.SetParentChart(nullptr);
}
BENCHMARK(BM_AssignValues250k)->Unit(benchmark::kMillisecond);

// An average over every 10 points of a million-point source, recalculated as after a change of
// the source (target: under 40 ms).
void BM_AverageEvery10Of1M(benchmark::State& state)
{
    QuietChart chart;
    auto source = std::make_unique<TChartSeries>();
    source->SetParentChart(&chart);
    {
        TChartSeries::UpdateScope scope(*source);
        std::mt19937 rng(1);
        double x = 0.0;
        for (int i = 0; i < 1000000; ++i) {
            x += 0.5 + (rng() % 1000) * 1e-3;
            source->AddPointXY(x, (rng() % 10000) * 0.01);
        }
    }
    TChartSeries average;
    average.SetParentChart(&chart);
    auto function = std::make_unique<TAverageFunction>();
    function->SetPeriod(10);
    average.SetFunction(std::move(function));
    average.SetDataSource(source.get());
    for (auto _ : state) {
        average.CheckDataSource();
        benchmark::DoNotOptimize(average.Count());
    }
    average.SetParentChart(nullptr);
}
BENCHMARK(BM_AverageEvery10Of1M)->Unit(benchmark::kMillisecond);

// Storing a 250,000-point trace with its own X values and colours and reading it back
// (target: under 25 ms for both).
void BM_WriteReadSeriesData250k(benchmark::State& state)
{
    QuietChart chart;
    auto source = MakeTrace(chart, kTracePoints);
    for (int i = 0; i < kTracePoints; i += 2)
        source->SetPointColor(i, static_cast<TColor>(0x102030 + i));
    TChartSeries copy;
    copy.SetParentChart(&chart);
    size_t bytes = 0;
    for (auto _ : state) {
        const QByteArray blob = WriteSeriesData(*source);
        ReadSeriesData(copy, blob);
        bytes = static_cast<size_t>(blob.size());
        benchmark::DoNotOptimize(copy.Count());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
    copy.SetParentChart(nullptr);
}
BENCHMARK(BM_WriteReadSeriesData250k)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
