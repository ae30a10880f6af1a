// Chart tools on a long trace: a cursor that follows the mouse and snaps to the nearest of
// 750,000 points has to keep up with every mouse move (target: well under 1 ms per move).
// Smoothing: 20,000 random one-pixel lines on a picture of 1340 x 706 (target: under 25 ns per
// blended pixel), and the main chart's usual load (four traces of 250,000 points on a logarithmic
// axis) drawn with the smoothing tool in at most twice the time without it.
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/AntiAliasCanvas.h"
#include "chart/tools/AntiAliasRaster.h"
#include "chart/tools/AntiAliasTool.h"
#include "chart/tools/CursorTool.h"
#include "chart/tools/NearestTool.h"
#include "platform/gdi/RasterDC.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

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

// ---- smoothing

constexpr int kPictureWidth = 1340;
constexpr int kPictureHeight = 706;

struct RandomLines {
    RandomLines()
    {
        std::mt19937 rnd(20000);
        std::uniform_int_distribution<int> x(0, kPictureWidth - 1), y(0, kPictureHeight - 1);
        while (lines.size() < 20000) {
            const TRect l{x(rnd), y(rnd), x(rnd), y(rnd)};
            if (l.Left == l.Right || l.Top == l.Bottom)
                continue;
            lines.push_back(l);
            // The start pixel and a pair per major step in between.
            pixels += 1 + 2 * (std::max(std::abs(l.Right - l.Left), std::abs(l.Bottom - l.Top)) - 1);
        }
    }
    std::vector<TRect> lines;   // (Left, Top) to (Right, Bottom)
    int64_t pixels = 0;
};

// Through the canvas, as a chart draws: every line a MoveTo and a LineTo on the back buffer.
void BM_AntiAliasLines(benchmark::State& state)
{
    const RandomLines r;
    TAntiAliasCanvas canvas;
    canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, kPictureWidth, kPictureHeight});
    canvas.Pen().SetColor(clNavy);
    for (auto _ : state) {
        for (const TRect& l : r.lines) {
            canvas.MoveTo(l.Left, l.Top);
            canvas.LineTo(l.Right, l.Bottom);
        }
    }
    state.counters["ns_per_pixel"] = benchmark::Counter(static_cast<double>(r.pixels),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_AntiAliasLines)->Unit(benchmark::kMillisecond);

// The rule alone on the same lines: the bare loop the canvas wraps.
void BM_AntiAliasLinesBare(benchmark::State& state)
{
    const RandomLines r;
    QImage picture(kPictureWidth, kPictureHeight, QImage::Format_RGB32);
    picture.fill(Qt::white);
    antialias::BlendTarget target(picture, nullptr);
    target.PenRgb = 0x000080;
    for (auto _ : state)
        for (const TRect& l : r.lines)
            antialias::BlendLine(target, l.Left, l.Top, l.Right, l.Bottom);
    state.counters["ns_per_pixel"] = benchmark::Counter(static_cast<double>(r.pixels),
                                                        benchmark::Counter::kIsIterationInvariantRate |
                                                            benchmark::Counter::kInvert);
}
BENCHMARK(BM_AntiAliasLinesBare)->Unit(benchmark::kMillisecond);

// The main chart's usual load: four traces of 250,000 points on a logarithmic frequency axis of
// 9 kHz .. 3 GHz, 1340 x 706. Arg 0: without the tool, 1: with it; second arg: pen width.
void BM_Chart1LoadAntiAlias(benchmark::State& state)
{
    constexpr int kTracePoints = 250000;
    TChart chart;
    chart.SetView3D(false);
    chart.resize(kPictureWidth, kPictureHeight);
    chart.SetBackColor(0xA4A0A0);
    chart.LeftAxis()->SetRange(-20.0, 120.0);
    chart.BottomAxis()->SetLogarithmic(true);
    chart.BottomAxis()->SetRange(9.0, 3000000.0);
    const TColor colors[4] = {clYellow, clTeal, clWhite, clGray};
    std::vector<double> x(kTracePoints), y(kTracePoints);
    for (int i = 0; i < kTracePoints; ++i)
        x[static_cast<size_t>(i)] = 9.0 + (3000000.0 - 9.0) * i / (kTracePoints - 1);
    uint32_t noise = 12345;
    for (int t = 0; t < 4; ++t) {
        auto& s = chart.AddNewSeries<TLineSeries>();
        s.SetSeriesColor(colors[t]);
        s.LinePen().SetWidth(static_cast<int>(state.range(1)));
        for (int i = 0; i < kTracePoints; ++i) {
            noise = noise * 1664525u + 1013904223u;
            y[static_cast<size_t>(i)] =
                25.0 + 6.0 * t + 8.0 * ((noise >> 8) * (1.0 / 16777216.0)) - 4.0 * std::log10(x[static_cast<size_t>(i)]);
        }
        TChartSeries::UpdateScope update(s);
        s.AddPointsXY(x, y, colors[t]);
    }
    TAntiAliasTool tool;
    if (state.range(0) != 0)
        tool.SetParentChart(&chart);
    chart.RepaintNow();
    for (auto _ : state) {
        chart.Invalidate();
        chart.RepaintNow();
    }
    tool.SetParentChart(nullptr);
}
BENCHMARK(BM_Chart1LoadAntiAlias)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
