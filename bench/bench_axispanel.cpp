// The chart's drawing of long traces: finding the visible points of a 750,000-point trace, the
// per-point drawing loop, a whole chart drawn with two such traces, and a linear axis' labels.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kPoints = 750000;

// A flat chart whose walls, titles and legend draw nothing.
class BenchChart : public TCustomAxisPanel {
public:
    BenchChart()
    {
        SetView3D(false);
        resize(1340, 706);
    }

protected:
    void CalcWallsRect() override { CalcSize3DWalls(); }
    int GetWallSize(const TChartAxis&) const override { return 0; }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
    bool IsFreeSeriesColor(TColor, bool, const TChartSeries*) override { return true; }
};

// What a line series does per point: the pixel of the point and a segment to it.
class LineTrace : public TChartSeries {
public:
    void DrawValue(int valueIndex) override
    {
        TCanvas3D& canvas = static_cast<TCustomAxisPanel*>(ParentChart()->AxisPanel())->Canvas();
        const int x = XToPixel(valueIndex);
        const int y = YToPixel(valueIndex);
        if (valueIndex == FirstValueIndex)
            canvas.MoveTo(x, y);
        else
            canvas.LineTo(x, y);
    }
};

class EmptyValues : public TChartSeries {
public:
    void DrawValue(int valueIndex) override { benchmark::DoNotOptimize(valueIndex); }
};

// 9 kHz to 3 GHz in kHz, as the emission traces are, with a level that wanders.
void Fill(TChartSeries& series, int seed)
{
    std::vector<double> x(kPoints), y(kPoints);
    for (int i = 0; i < kPoints; ++i) {
        x[static_cast<size_t>(i)] = 9.0 + i * (3000000.0 - 9.0) / (kPoints - 1);
        y[static_cast<size_t>(i)] = 40.0 + 20.0 * std::sin(i * 0.001 * seed) + (i % 7);
    }
    TChartSeries::UpdateScope scope(series);
    series.ReservePoints(kPoints);
    series.AddPointsXY(x, y);
}

void BM_CalcFirstLastVisibleIndex(benchmark::State& state)
{
    BenchChart chart;
    LineTrace series;
    chart.AddSeries(&series);
    Fill(series, 1);
    chart.RepaintNow();
    chart.BottomAxis()->SetRange(150.0, 30000.0);
    chart.RepaintNow();
    for (auto _ : state) {
        series.CalcFirstLastVisibleIndex();
        benchmark::DoNotOptimize(series.LastValueIndex);
    }
    state.counters["visible"] = series.LastValueIndex - series.FirstValueIndex + 1;
    chart.RemoveSeries(series);
}

void DrawLoop(benchmark::State& state, TChartSeries& series)
{
    BenchChart chart;
    chart.AddSeries(&series);
    Fill(series, 1);
    chart.RepaintNow();
    series.CalcFirstLastVisibleIndex();
    for (auto _ : state)
        series.DrawAllValues();
    state.counters["points"] = series.LastValueIndex - series.FirstValueIndex + 1;
    chart.RemoveSeries(series);
}

void BM_DrawAllValuesLoopOnly(benchmark::State& state)
{
    EmptyValues series;
    DrawLoop(state, series);
}

void BM_DrawAllValuesLines(benchmark::State& state)
{
    LineTrace series;
    DrawLoop(state, series);
}

// The whole drawing of a chart with a raw and a corrected trace, zoomed out.
void BM_DrawChartTwoTraces(benchmark::State& state)
{
    BenchChart chart;
    LineTrace raw, corrected;
    chart.AddSeries(&raw);
    chart.AddSeries(&corrected);
    Fill(raw, 1);
    Fill(corrected, 2);
    for (auto _ : state) {
        chart.Invalidate();
        chart.RepaintNow();
    }
    chart.RemoveSeries(raw);
    chart.RemoveSeries(corrected);
}

// The level axis of the main chart: labels laid out so that none overlaps.
void BM_LinearAxisLabels(benchmark::State& state)
{
    BenchChart chart;
    LineTrace series;
    chart.AddSeries(&series);
    series.AddPointXY(9, -20);
    series.AddPointXY(3000000, 120);
    chart.RepaintNow();
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetAxisValuesFormat(QStringLiteral("###0.###"));
    double low = -20.0;
    for (auto _ : state) {
        // A new range every time, as zooming gives: nothing measured before is reused.
        low = low > -19.0 ? -20.0 : low + 0.001;
        axis.SetRange(low, 120.0);
        axis.RecalcPixels();
        axis.RecalcRange();
        TRect rect = chart.ChartRect;
        axis.LayoutAxis(rect, false);
        axis.Draw(false);
    }
    state.counters["labels"] = axis.Items().Count();
    chart.RemoveSeries(series);
}

} // namespace

BENCHMARK(BM_CalcFirstLastVisibleIndex)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawAllValuesLoopOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawAllValuesLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DrawChartTwoTraces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LinearAxisLabels)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
