// Axis conversions and label layout: every trace point goes through ValueToPixel, and the main
// chart's bottom axis spans 9 kHz to 3 GHz on a logarithmic scale.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kPoints = 1000000;

// A flat chart whose walls, titles and legend draw nothing.
class BenchChart : public TCustomAxisPanel {
public:
    BenchChart()
    {
        SetView3D(false);
        ChartRect = TRect{80, 20, 1380, 620};
        RecalcChartBounds();
        TPlotCanvas3D& canvas = Canvas();
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 1400, 700});
        canvas.SetProjectionCentre(0, TRect{0, 0, 1400, 700});
        canvas.ResetState();
        left = LeftAxis();
        bottom = BottomAxis();
    }
    void Repaint() override {}

    TChartAxis* left = nullptr;
    TChartAxis* bottom = nullptr;

protected:
    void CalcWallsRect() override {}
    int GetWallSize(const TChartAxis&) const override { return 0; }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
    bool IsFreeSeriesColor(TColor, bool, const TChartSeries*) override { return true; }
};

std::vector<double> TraceValues(double lo, double hi)
{
    std::vector<double> v(kPoints);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> d(lo, hi);
    for (double& x : v)
        x = d(random);
    return v;
}

void Setup(TChartAxis& axis, bool logarithmic)
{
    axis.SetRange(logarithmic ? 9.0 : -20.0, logarithmic ? 3000000.0 : 120.0);
    axis.RecalcPixels();
    axis.RecalcRange();
    axis.SetLogarithmic(logarithmic);
    axis.RecalcRange();
}

void ConvertEach(benchmark::State& state, bool logarithmic, bool horizontal, bool fast = false)
{
    BenchChart chart;
    chart.Axes().FastCalc = fast;
    TChartAxis& axis = horizontal ? *chart.bottom : *chart.left;
    Setup(axis, logarithmic);
    const std::vector<double> values = logarithmic ? TraceValues(9.0, 3000000.0) : TraceValues(-20.0, 120.0);
    for (auto _ : state) {
        int64_t sum = 0;
        for (const double v : values)
            sum += axis.ValueToPixel(v);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void ConvertBatch(benchmark::State& state, bool logarithmic)
{
    BenchChart chart;
    TChartAxis& axis = *chart.bottom;
    Setup(axis, logarithmic);
    const std::vector<double> values = logarithmic ? TraceValues(9.0, 3000000.0) : TraceValues(-20.0, 120.0);
    std::vector<int32_t> pixels(values.size());
    for (auto _ : state) {
        axis.ValuesToPixels(values, pixels);
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

void BM_ValueToPixelLinear(benchmark::State& state) { ConvertEach(state, false, true); }
void BM_ValueToPixelLinearVertical(benchmark::State& state) { ConvertEach(state, false, false); }
void BM_ValueToPixelLinearUnclamped(benchmark::State& state) { ConvertEach(state, false, true, true); }
void BM_ValueToPixelLogarithmic(benchmark::State& state) { ConvertEach(state, true, true); }
void BM_ValuesToPixelsLinear(benchmark::State& state) { ConvertBatch(state, false); }
void BM_ValuesToPixelsLogarithmic(benchmark::State& state) { ConvertBatch(state, true); }

void BM_PixelToValueLogarithmic(benchmark::State& state)
{
    BenchChart chart;
    TChartAxis& axis = *chart.bottom;
    Setup(axis, true);
    for (auto _ : state) {
        double sum = 0;
        for (int i = 0; i < kPoints; ++i)
            sum += axis.PixelToValue(80 + i % 1300);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}

// Both layout passes and the drawing of labels, ticks and grid of the 9 kHz - 3 GHz axis. The
// cold variant changes the value format each time, so that the widest label is measured again.
void LogLayout(benchmark::State& state, bool cold, bool events = false)
{
    BenchChart chart;
    if (events) {
        // The application's own frequency labels: 1, 2 and 5 in every decade.
        chart.OnGetNextAxisLabel = [](TChartAxis*, int index, double& value, bool& stop) {
            static constexpr double kMantissa[] = {1, 2, 5};
            const double v = kMantissa[index % 3] * std::pow(10.0, 1 + index / 3);
            stop = v > 3000000.0;
            value = v;
        };
    }
    TChartSeries series;
    series.SetParentChart(&chart);
    series.AddPointXY(9.0, 20.0);
    series.AddPointXY(3000000.0, 80.0);
    TChartAxis& axis = *chart.bottom;
    axis.SetAxisValuesFormat(QStringLiteral("###0.###"));
    axis.SetMinorTickCount(8);
    Setup(axis, true);
    int64_t labels = 0;
    int round = 0;
    for (auto _ : state) {
        if (cold)
            axis.SetAxisValuesFormat((++round & 1) ? QStringLiteral("###0.####") : QStringLiteral("###0.###"));
        TRect rect = chart.ChartRect;
        axis.LayoutAxis(rect, true);
        rect = chart.ChartRect;
        axis.LayoutAxis(rect, false);
        axis.Draw(false);
        labels += axis.Items().Count();
    }
    state.counters["labels"] = benchmark::Counter(static_cast<double>(labels) / state.iterations());
}

void BM_LogAxisLayout(benchmark::State& state) { LogLayout(state, false); }
void BM_LogAxisLayoutCold(benchmark::State& state) { LogLayout(state, true); }
void BM_LogAxisLayoutEventLabels(benchmark::State& state) { LogLayout(state, false, true); }

} // namespace

BENCHMARK(BM_ValueToPixelLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueToPixelLinearVertical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueToPixelLinearUnclamped)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueToPixelLogarithmic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValuesToPixelsLinear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValuesToPixelsLogarithmic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PixelToValueLogarithmic)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogAxisLayout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogAxisLayoutCold)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LogAxisLayoutEventLabels)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
