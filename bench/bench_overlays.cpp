// The main chart's overlays: a repaint of a full chart (a 300,000-point trace per set) with
// 1,000 peaks, their numbers and 500 re-measure crosses, and 100 marker flags; the overlays alone
// on that chart; and the level read-out of the mouse and the markers on a 300,000-point trace.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "mainwindow/ChartOverlays.h"
#include "mainwindow/LevelReadout.h"
#include "mainwindow/MainWindowColors.h"
#include "mainwindow/MarkStamps.h"
#include "mainwindow/MarkerStore.h"
#include "measurement/PeakLists.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <ctime>
#include <cmath>
#include <random>
#include <vector>

namespace {

constexpr int kTracePoints = 300000;
constexpr int kPeaksPerSet = 500;

// A flat chart whose walls, titles and legend draw nothing, at the main window's chart size.
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

class LineTrace : public TChartSeries {
public:
    void DrawValue(int valueIndex) override
    {
        TCanvas3D& canvas = static_cast<TCustomAxisPanel*>(ParentChart()->AxisPanel())->Canvas();
        const int x = XToPixel(valueIndex);
        const int y = YToPixel(valueIndex);
        if (valueIndex == FirstValueIndex) {
            // A line series draws with its own pen, whatever the overlays left on the canvas.
            canvas.Pen().SetStyle(psSolid);
            canvas.Pen().SetWidth(1);
            canvas.Pen().SetColor(clGreen);
            canvas.MoveTo(x, y);
        } else
            canvas.LineTo(x, y);
    }
};

// 150 kHz to 1 GHz in kHz, a level that wanders between 0 and 80 dBuV.
void FillTrace(TChartSeries& series, int seed)
{
    std::vector<double> x(kTracePoints), y(kTracePoints);
    for (int i = 0; i < kTracePoints; ++i) {
        x[static_cast<size_t>(i)] = 150.0 + i * (1000000.0 - 150.0) / (kTracePoints - 1);
        y[static_cast<size_t>(i)] = 40.0 + 30.0 * std::sin(i * 0.0007 * seed) + (i % 11);
    }
    TChartSeries::UpdateScope scope(series);
    series.ReservePoints(kTracePoints);
    series.AddPointsXY(x, y);
}

void FillPeaks(PeakLists& peaks, int seed)
{
    std::mt19937_64 rng(static_cast<uint64_t>(seed));
    std::uniform_real_distribution<double> f(200, 999000), level(5, 75);
    for (int i = 0; i < kPeaksPerSet; ++i)
        peaks.AddPeak(f(rng), level(rng), 80);
    QStringList freqs, levels;
    for (int i = 0; i < kPeaksPerSet; i += 2) {
        freqs << peaks.Freqs.stringList()[i];
        levels << peaks.Levels.stringList()[i];
    }
    peaks.MeasureFreqs.setStringList(freqs);
    peaks.MeasureLevels.setStringList(levels);
}

void FillMarkers(MarkerStore& store, int seed)
{
    std::mt19937_64 rng(static_cast<uint64_t>(seed));
    std::uniform_int_distribution<int32_t> f(200, 999000), row(60, 600);
    for (int32_t n = 1; n <= MarkerStore::kCapacity; ++n)
        store.Marker(n) = MakeMarker(n, f(rng), 42.5, row(rng));
    store.Count = MarkerStore::kCapacity;
}

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Scene {
    BenchChart chart;
    LineTrace set1, set2;
    PeakLists peaks1{MeasureSet::Set1}, peaks2{MeasureSet::Set2};
    MarkerStore markers1, markers2;
    MainWindowColors colors = StartupColors();
    OverlayScene scene{colors, colors.ChartBackground};
    MarkStamps stamps;
    bool overlays = true;
    double overlaySeconds = 0;

    Scene()
    {
        chart.AddSeries(&set1);
        chart.AddSeries(&set2);
        FillTrace(set1, 1);
        FillTrace(set2, 2);
        FillPeaks(peaks1, 1);
        FillPeaks(peaks2, 2);
        FillMarkers(markers1, 1);
        FillMarkers(markers2, 2);
        scene.Sets[MeasureSet::Set1].Peaks = &peaks1;
        scene.Sets[MeasureSet::Set2].Peaks = &peaks2;
        scene.Sets[MeasureSet::Set1].Markers = &markers1;
        scene.Sets[MeasureSet::Set2].Markers = &markers2;
        scene.ShowMarkerNumbers = true;
        chart.OnBeforeDrawSeries = [this] {
            if (!overlays)
                return;
            // The thread's processor time: the machine is shared, and a wait for a processor is
            // no time the overlays took.
            const double start = ThreadSeconds();
            DrawMainChartOverlays(Painter(), scene);
            overlaySeconds += ThreadSeconds() - start;
        };
        // The first paint makes the stamps; the ones after it only copy them.
        chart.RepaintNow();
        chart.Invalidate();
        chart.RepaintNow();
    }
    ~Scene()
    {
        chart.RemoveSeries(set1);
        chart.RemoveSeries(set2);
    }
    OverlayPainter Painter() { return {chart.Canvas(), *chart.BottomAxis(), *chart.LeftAxis(), &stamps}; }
};

// The whole paint, with the overlays' share of it.
void BM_RepaintWithOverlays(benchmark::State& state)
{
    Scene s;
    s.overlays = state.range(0) != 0;
    s.overlaySeconds = 0;
    const int stamps = s.stamps.Count();
    for (auto _ : state) {
        s.chart.Invalidate();
        s.chart.RepaintNow();
    }
    state.counters["overlay_ms"] =
        benchmark::Counter(s.overlaySeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["stamps_made"] = s.stamps.Count() - stamps;
}

// The overlays alone, drawn into the buffer of the painted chart, with and without the peak
// numbers.
void BM_OverlaysOnly(benchmark::State& state)
{
    Scene s;
    s.scene.ShowMarkerNumbers = state.range(0) != 0;
    const OverlayPainter p = s.Painter();
    DrawMainChartOverlays(p, s.scene);
    for (auto _ : state)
        DrawMainChartOverlays(p, s.scene);
}

// The first paint after a start: every circle, cross and flag is drawn once for its stamp.
void BM_OverlaysMakingStamps(benchmark::State& state)
{
    Scene s;
    for (auto _ : state) {
        MarkStamps fresh;
        OverlayPainter p = s.Painter();
        p.Stamps = &fresh;
        DrawMainChartOverlays(p, s.scene);
    }
}

// The read-out of the mouse and the markers: 10,000 look-ups at random frequencies.
void BM_LevelReadout(benchmark::State& state)
{
    LineTrace trace;
    FillTrace(trace, 3);
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<int64_t> f(100, 1000100);
    std::vector<int64_t> xs(10000);
    for (int64_t& x : xs)
        x = f(rng);
    for (auto _ : state) {
        double sum = 0;
        for (int64_t x : xs)
            sum += InterpolateSeriesLevel(trace, x).Level;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(xs.size()));
    state.counters["per_readout"] = benchmark::Counter(
        static_cast<double>(xs.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_RepaintWithOverlays)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverlaysOnly)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OverlaysMakingStamps)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LevelReadout)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
