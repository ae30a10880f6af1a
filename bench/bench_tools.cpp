// Chart tools on a long trace: a cursor that follows the mouse and snaps to the nearest of
// 750,000 points has to keep up with every mouse move (target: well under 1 ms per move).
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/NearestTool.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kPoints = 750000;

// A chart of 1200 x 500 pixels with the trace on it, drawn once.
struct TraceChart {
    TraceChart()
    {
        chart.resize(1200, 500);
        chart.SetView3D(false);
        chart.AddSeries(&trace);
        TChartSeries::UpdateScope update(trace);
        trace.ReservePoints(kPoints);
        for (int i = 0; i < kPoints; ++i)
            trace.AddPointXY(9.0 + 4.0 * i, 40.0 + 20.0 * std::sin(i * 0.001) + (i % 7) * 0.5);
    }
    ~TraceChart() { chart.RemoveSeries(trace); }

    TChart chart;
    TFastLineSeries trace;
};

// One mouse move over the chart: the tool erases the cursor, snaps, draws it anew on the window
// surface and reports the change. The moves sweep across the plot so the snapped point changes.
void BM_CursorMoveWithSnap(benchmark::State& state)
{
    TraceChart scene;
    TChart& chart = scene.chart;
    TFastLineSeries& trace = scene.trace;
    TCursorTool cursor;
    cursor.SetParentChart(&chart);
    cursor.SetSeries(&trace);
    cursor.SetSnap(true);
    cursor.SetFollowMouse(true);
    chart.RepaintNow();
    const TRect r = cursor.GetAxisRect();
    int snapped = 0;
    cursor.OnChange = [&](TCursorTool*, int, int, double, double, TChartSeries*, int index) { snapped = index; };
    int step = 0;
    for (auto _ : state) {
        const int x = r.Left + 1 + (step * 7) % (r.Right - r.Left - 2);
        const int y = r.Top + 1 + (step * 3) % (r.Bottom - r.Top - 2);
        chart.MouseMove(0, x, y);
        benchmark::DoNotOptimize(snapped);
        ++step;
    }
    state.counters["snapped"] = snapped;
}
BENCHMARK(BM_CursorMoveWithSnap)->Unit(benchmark::kMicrosecond);

// One mouse move with the nearest-point tool (search and the inverting redraw of its mark and
// line). Arg 0: the mouse runs along the trace; arg 1: it stays 150 pixels away from it, so
// that many more pixel columns hold a point that might be nearer.
void BM_NearestMove(benchmark::State& state)
{
    TraceChart scene;
    TChart& chart = scene.chart;
    TNearestTool nearest;
    nearest.SetParentChart(&chart);
    nearest.SetSeries(&scene.trace);
    nearest.SetFullRepaint(false);
    chart.RepaintNow();
    const TRect r = chart.ChartRect;
    const TChartAxis& h = *chart.BottomAxis();
    const TChartAxis& v = *chart.LeftAxis();
    const int away = state.range(0) != 0 ? 150 : 0;
    int step = 0;
    for (auto _ : state) {
        const int x = r.Left + 1 + (step * 7) % (r.Right - r.Left - 2);
        const int i = std::clamp(static_cast<int>((h.PixelToValue(x) - 9.0) / 4.0), 0, kPoints - 1);
        const int y = std::clamp(v.ValueToPixel(scene.trace.GetPointY(i)) - away, r.Top, r.Bottom);
        chart.MouseMove(0, x, y);
        benchmark::DoNotOptimize(nearest.Point());
        ++step;
    }
}
BENCHMARK(BM_NearestMove)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
