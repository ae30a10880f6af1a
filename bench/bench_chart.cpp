// The main chart's load: four traces and two limit lines of width 2 on a logarithmic frequency
// axis, 1340 x 706, at 250,000 and 750,000 points per curve, the whole range and a 10 % window,
// drawn again as it is and after the view moved by a hair; the empty chart (walls, axes, labels
// and grid only); the four traces refilled with new values and drawn once; 750,000 ordered
// points appended at once; and a run of 600 segments of 601 points with a repaint after each.
// QCustomPlot draws the same pictures into the same size in the same run (its replot() alone is
// timed), the way a skilled user of it would: the limit lines from their few corner points in
// step mode, the refill through setData with sorted data. The summary at the end gives both
// times and their ratio for every case, and the bytes a point of a series costs (also as the
// program's own trace path fills it).
#include "app/AppContext.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "instrument/InstrumentState.h"
#include "instrument/ScpiContext.h"
#include "instrument/TraceTransfer.h"
#include "measurement/TracePoints.h"
#include "platform/system/EventPump.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#ifdef ZENDRIK_WITH_QCUSTOMPLOT
#include <qcustomplot.h>
#endif

#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 1340;
constexpr int kHeight = 706;
constexpr double kStartKHz = 9.0;
constexpr double kStopKHz = 3000000.0;
constexpr int kTraces = 4;
constexpr int kLimits = 2;
constexpr int kSegments = 600;
constexpr int kSegmentPoints = 601;

const TColor kTraceColors[kTraces] = {clYellow, clTeal, clWhite, clGray};
const TColor kLimitColors[kLimits] = {0x8000FF, clRed};

// Mean time per drawing of each case, for the summary.
std::map<std::string, double>& Times()
{
    static std::map<std::string, double> times;
    return times;
}

std::string Case(int points, int penWidth, bool zoomed, bool changed)
{
    return std::to_string(points) + " points, width " + std::to_string(penWidth) + (zoomed ? ", 10 % zoom" : ", whole") +
           (changed ? ", view changed" : ", repaint");
}

// A grid of frequencies as the correction grid is (evenly spaced); traces as an analyser shows
// them: a noise floor (normal noise of 3 dB sigma around a flat level) with an emission line every
// 5,000 points; limit lines as the program holds them, their tables' levels on every grid point.
struct Data {
    std::vector<double> x;
    std::vector<std::vector<double>> traces;
    std::vector<std::vector<double>> limits;
};

// The corner points of the two limit tables: each level holds up to the next corner.
struct Corner {
    double kHz, level;
};
const std::vector<Corner> kLimitCorners[kLimits] = {
    {{kStartKHz, 79.0}, {150.0, 66.0}, {500.0, 60.0}, {30000.0, 50.0}, {230000.0, 57.0}, {1000000.0, 60.0},
     {kStopKHz, 60.0}},
    {{kStartKHz, 69.0}, {150.0, 56.0}, {500.0, 50.0}, {30000.0, 40.0}, {230000.0, 47.0}, {1000000.0, 50.0},
     {kStopKHz, 50.0}},
};

double LimitAt(const std::vector<Corner>& corners, double kHz)
{
    double level = corners.front().level;
    for (const Corner& c : corners)
        if (c.kHz <= kHz)
            level = c.level;
    return level;
}

Data MakeData(int points)
{
    Data d;
    d.x.resize(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i)
        d.x[static_cast<size_t>(i)] = kStartKHz + (kStopKHz - kStartKHz) * i / (points - 1);
    uint32_t state = 12345;
    auto uniform = [&state] {
        state = state * 1664525u + 1013904223u;
        return ((state >> 8) + 0.5) * (1.0 / 16777216.0);
    };
    // Box-Muller: two uniform numbers give one normal one.
    auto normal = [&uniform] { return std::sqrt(-2.0 * std::log(uniform())) * std::cos(6.283185307179586 * uniform()); };
    for (int t = 0; t < kTraces; ++t) {
        std::vector<double> y(static_cast<size_t>(points));
        for (int i = 0; i < points; ++i) {
            double level = 18.0 + 6.0 * t + 3.0 * normal();
            if (i % 5000 == 2500)
                level += 25.0 + 20.0 * uniform();
            y[static_cast<size_t>(i)] = level;
        }
        d.traces.push_back(std::move(y));
    }
    for (int l = 0; l < kLimits; ++l) {
        std::vector<double> y(static_cast<size_t>(points));
        for (int i = 0; i < points; ++i)
            y[static_cast<size_t>(i)] = LimitAt(kLimitCorners[l], d.x[static_cast<size_t>(i)]);
        d.limits.push_back(std::move(y));
    }
    return d;
}

// ---- ours

struct OurChart {
    TChart chart;
    std::vector<TLineSeries*> traces;
    std::vector<TLineSeries*> limits;

    // Without curves: the walls, axes, labels and grid alone.
    explicit OurChart(int penWidth, bool curves = true)
    {
        chart.SetView3D(false);
        chart.Legend().Hide(); // as on the main chart
        chart.resize(kWidth, kHeight);
        chart.SetBackColor(0xA4A0A0);
        chart.BackWall().SetTransparent(false);
        chart.BackWall().SetColor(clPurple);
        chart.LeftAxis()->Title().SetCaption(QStringLiteral("dBµV  (dBµV/m, dBµA)"));
        chart.LeftAxis()->SetRange(-20.0, 120.0);
        chart.BottomAxis()->SetLogarithmic(true);
        chart.BottomAxis()->SetRange(kStartKHz, kStopKHz);
        chart.BottomAxis()->SetAxisValuesFormat(QStringLiteral("###0.###"));
        if (!curves) {
            // Without series the axes would choose no labels (and so no grid); the empty chart
            // shows them as the main chart does.
            chart.LeftAxis()->SetLabelStyle(talValue);
            chart.BottomAxis()->SetLabelStyle(talValue);
            return;
        }
        for (int t = 0; t < kTraces; ++t) {
            auto& s = chart.AddNewSeries<TLineSeries>();
            s.SetSeriesColor(kTraceColors[t]);
            s.LinePen().SetWidth(penWidth);
            traces.push_back(&s);
        }
        for (int l = 0; l < kLimits; ++l) {
            auto& s = chart.AddNewSeries<TLineSeries>();
            s.SetSeriesColor(kLimitColors[l]);
            s.LinePen().SetWidth(2);
            limits.push_back(&s);
        }
    }

    void Fill(const Data& d)
    {
        auto fill = [&](TLineSeries& s, const std::vector<double>& y, TColor color) {
            TChartSeries::UpdateScope scope(s);
            s.Clear();
            s.ReservePoints(static_cast<int>(d.x.size()));
            s.AddPointsXY(d.x, y, color);
        };
        for (int t = 0; t < kTraces; ++t)
            fill(*traces[static_cast<size_t>(t)], d.traces[static_cast<size_t>(t)], kTraceColors[t]);
        for (int l = 0; l < kLimits; ++l)
            fill(*limits[static_cast<size_t>(l)], d.limits[static_cast<size_t>(l)], kLimitColors[l]);
    }

    // New values for every trace (as after a sweep of the whole range): each cleared and filled
    // again at once.
    void Refill(const Data& d, int shift)
    {
        for (int t = 0; t < kTraces; ++t) {
            TLineSeries& s = *traces[static_cast<size_t>(t)];
            TChartSeries::UpdateScope scope(s);
            s.Clear();
            s.AddPointsXY(d.x, d.traces[static_cast<size_t>((t + shift) % kTraces)], kTraceColors[t]);
        }
    }

    void Draw()
    {
        chart.Invalidate();
        chart.RepaintNow();
    }
};

// The middle tenth of the points.
void ZoomRange(const Data& d, double& low, double& high)
{
    low = d.x[d.x.size() * 45 / 100];
    high = d.x[d.x.size() * 55 / 100];
}

double Seconds(std::chrono::steady_clock::duration span)
{
    return std::chrono::duration<double>(span).count();
}

// The mean time of timed() over the benchmark's iterations, recorded under key; prepare() runs
// before each, outside the clock.
template <class Prepare, class Timed>
void TimeEach(benchmark::State& state, const std::string& key, Prepare prepare, Timed timed)
{
    double total = 0;
    for (auto _ : state) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        timed();
        total += Seconds(std::chrono::steady_clock::now() - start);
    }
    Times()[key] = total / static_cast<double>(state.iterations());
}

// The chart drawn again as it is (repaint), or after its horizontal range moved by a hair, so that
// nothing drawn before can be reused (view changed, as after a zoom).
void TimeViews(benchmark::State& state, OurChart& our, const Data& d, const std::string& key, bool zoomed,
               bool changed)
{
    double low = kStartKHz, high = kStopKHz;
    if (zoomed)
        ZoomRange(d, low, high);
    our.chart.BottomAxis()->SetRange(low, high);
    our.Draw();
    bool moved = false;
    TimeEach(
        state, key,
        [&] {
            if (changed) {
                moved = !moved;
                our.chart.BottomAxis()->SetRange(moved ? low * (1 + 1e-9) : low, high);
            }
        },
        [&] { our.Draw(); });
}

void BM_Ours(benchmark::State& state)
{
    const int points = static_cast<int>(state.range(0));
    const int penWidth = static_cast<int>(state.range(1));
    const bool zoomed = state.range(2) != 0;
    const bool changed = state.range(3) != 0;
    const Data d = MakeData(points);
    OurChart our(penWidth);
    our.Fill(d);
    TimeViews(state, our, d, "ours: " + Case(points, penWidth, zoomed, changed), zoomed, changed);
}

// One fast line of 750,000 points alone on the chart, its whole range or a 10 % window, drawn
// again as it is or after the view moved by a hair; and the bytes a point of it costs.
void BM_OursFastLine(benchmark::State& state)
{
    const bool zoomed = state.range(0) != 0;
    const bool changed = state.range(1) != 0;
    const Data d = MakeData(750000);
    OurChart our(1, false);
    auto& fast = our.chart.AddNewSeries<TFastLineSeries>();
    fast.SetSeriesColor(kTraceColors[0]);
    {
        TChartSeries::UpdateScope scope(fast);
        fast.ReservePoints(static_cast<int>(d.x.size()));
        fast.AddPointsXY(d.x, d.traces[0]);
    }
    TimeViews(state, our, d, "ours: fast line, " + Case(750000, 1, zoomed, changed), zoomed, changed);
    const double stored = static_cast<double>(fast.XValues().MemoryBytes() + fast.YValues().MemoryBytes() +
                                              fast.PointColors().MemoryBytes());
    const double kept = static_cast<double>(fast.DrawCache().MemoryBytes());
    state.counters["bytes_per_point"] = (stored + kept) / fast.Count();
    Times()["bytes/point: fast line, values and what its drawing keeps"] = (stored + kept) / fast.Count();
}

// Every segment of a run appended to the four traces, the chart repainted after each.
void BM_OursSweep(benchmark::State& state)
{
    const Data d = MakeData(kSegments * kSegmentPoints);
    for (auto _ : state) {
        state.PauseTiming();
        OurChart our(1);
        for (int l = 0; l < kLimits; ++l) {
            TChartSeries::UpdateScope scope(*our.limits[static_cast<size_t>(l)]);
            our.limits[static_cast<size_t>(l)]->AddPointsXY(d.x, d.limits[static_cast<size_t>(l)], kLimitColors[l]);
        }
        state.ResumeTiming();
        double total = 0;
        for (int s = 0; s < kSegments; ++s) {
            const size_t from = static_cast<size_t>(s) * kSegmentPoints;
            for (int t = 0; t < kTraces; ++t) {
                TChartSeries::UpdateScope scope(*our.traces[static_cast<size_t>(t)]);
                our.traces[static_cast<size_t>(t)]->AddPointsXY(
                    std::span<const double>(d.x).subspan(from, kSegmentPoints),
                    std::span<const double>(d.traces[static_cast<size_t>(t)]).subspan(from, kSegmentPoints),
                    kTraceColors[t]);
            }
            const auto start = std::chrono::steady_clock::now();
            our.Draw();
            total += Seconds(std::chrono::steady_clock::now() - start);
        }
        Times()["ours: 600 segments of 601 points, repaint after each"] = total;
    }
}

// The chart without curves: what every drawing costs whatever it shows.
void BM_OursEmpty(benchmark::State& state)
{
    OurChart our(1, false);
    our.Draw();
    TimeEach(state, "ours: empty chart (walls, axes, labels, grid)", [] {}, [&] { our.Draw(); });
}

// Every Y of the four traces replaced (each cleared and filled again at once), then one drawing.
void BM_OursRefill(benchmark::State& state)
{
    const int points = static_cast<int>(state.range(0));
    const Data d = MakeData(points);
    OurChart our(1);
    our.Fill(d);
    our.Draw();
    int shift = 0;
    TimeEach(
        state, "ours: " + std::to_string(points) + " points, 4 traces refilled, drawn",
        [&] { shift = (shift + 1) % kTraces; },
        [&] {
            our.Refill(d, shift);
            our.Draw();
        });
}

// One trace of ordered points cleared and filled again at once, without drawing.
void BM_OursAppend(benchmark::State& state)
{
    const Data d = MakeData(750000);
    OurChart our(1);
    our.Fill(d);
    TLineSeries& s = *our.traces[0];
    int shift = 0;
    TimeEach(
        state, "ours: 750000 ordered points filled at once", [&] { shift = (shift + 1) % kTraces; },
        [&] {
            TChartSeries::UpdateScope scope(s);
            s.Clear();
            s.AddPointsXY(d.x, d.traces[static_cast<size_t>(shift)], kTraceColors[0]);
        });
}

// The main chart's 29 series, each read point by point to 750,000 points and drawn: what they
// hold together.
void BM_OursManySeries(benchmark::State& state)
{
    const Data d = MakeData(750000);
    constexpr int kSeries = 29;
    OurChart our(1, false);
    std::vector<TLineSeries*> series;
    for (int k = 0; k < kSeries; ++k) {
        TLineSeries& s = our.chart.AddNewSeries<TLineSeries>();
        TChartSeries::UpdateScope scope(s);
        const std::vector<double>& y = d.traces[static_cast<size_t>(k % kTraces)];
        for (size_t i = 0; i < d.x.size(); ++i)
            s.AddPointXY(d.x[i], y[i], {}, kTraceColors[k % kTraces]);
        series.push_back(&s);
    }
    our.Draw();
    double bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (TLineSeries* s : series)
            bytes += static_cast<double>(s->XValues().MemoryBytes() + s->YValues().MemoryBytes() +
                                         s->PointColors().MemoryBytes() + s->DrawCache().MemoryBytes());
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["MB"] = bytes / 1e6;
    Times()["MB held: 29 series of 750000 points read point by point"] = bytes / 1e6;
}

// What a full series holds: its value lists (as reserved) and point colours, and the pixels the
// drawing keeps, per point.
void BM_BytesPerPoint(benchmark::State& state)
{
    const Data d = MakeData(750000);
    OurChart our(1);
    our.Fill(d);
    our.Draw();
    TLineSeries& filled = *our.traces[0];
    // A trace read point by point, as an instrument delivers it, into a new series.
    TLineSeries& read = our.chart.AddNewSeries<TLineSeries>();
    {
        TChartSeries::UpdateScope scope(read);
        for (size_t i = 0; i < d.x.size(); ++i)
            read.AddPointXY(d.x[i], d.traces[1][i], {}, kTraceColors[1]);
    }
    our.Draw();
    auto storage = [](TChartSeries& s) {
        return static_cast<double>(s.XValues().MemoryBytes() + s.YValues().MemoryBytes() +
                                   s.PointColors().MemoryBytes()) /
               s.Count();
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(storage(filled));
    state.counters["filled"] = storage(filled);
    state.counters["read"] = storage(read);
    state.counters["kept"] = static_cast<double>(filled.DrawCache().MemoryBytes()) / filled.Count();
    Times()["bytes/point: series filled at once"] = storage(filled);
    Times()["bytes/point: series read point by point"] = storage(read);
    Times()["bytes/point: kept for drawing (the reduced trace)"] =
        static_cast<double>(filled.DrawCache().MemoryBytes()) / filled.Count();
}

// The main chart's 29 series filled as a run fills its raw traces: room made for the pass, then
// segment after segment of 601 points through the program's own trace path, then drawn.
void BM_ProgramTraceFill(benchmark::State& state)
{
    const Data d = MakeData(750000);
    constexpr int kSeries = 29;
    OurChart our(1, false);
    std::vector<TLineSeries*> series;
    for (int k = 0; k < kSeries; ++k) {
        TLineSeries& s = our.chart.AddNewSeries<TLineSeries>();
        const std::vector<double>& y = d.traces[static_cast<size_t>(k % kTraces)];
        StartRawTrace(s, static_cast<int>(d.x.size()));
        for (size_t first = 0; first < d.x.size(); first += kSegmentPoints) {
            TraceReadResult read;
            for (size_t i = first; i < std::min(d.x.size(), first + kSegmentPoints); ++i)
                read.Points.push_back({d.x[i], y[i]});
            AddTracePoints(s, kTraceColors[k % kTraces], read);
        }
        series.push_back(&s);
    }
    our.Draw();
    double points = 0;
    double stored = 0;
    double held = 0;
    for (auto _ : state) {
        points = stored = held = 0;
        for (TLineSeries* s : series) {
            const double values = static_cast<double>(s->XValues().MemoryBytes() + s->YValues().MemoryBytes() +
                                                      s->PointColors().MemoryBytes());
            points += s->Count();
            stored += values;
            held += values + static_cast<double>(s->DrawCache().MemoryBytes());
        }
        benchmark::DoNotOptimize(held);
    }
    state.counters["bytes/point"] = stored / points;
    state.counters["MB"] = held / 1e6;
    Times()["bytes/point: traces the program reads (AddTracePoints)"] = stored / points;
    Times()["MB held: 29 series of 750000 points filled by the program"] = held / 1e6;
}

#ifdef ZENDRIK_WITH_QCUSTOMPLOT

// ---- QCustomPlot with the same curves, pens and axes (no antialiasing, as ours draws)

// The data as QCustomPlot takes it, converted once, before any clock runs.
struct TheirData {
    QVector<double> x;
    std::vector<QVector<double>> traces;

    explicit TheirData(const Data& d) : x(d.x.begin(), d.x.end())
    {
        for (const auto& y : d.traces)
            traces.emplace_back(y.begin(), y.end());
    }
};

struct TheirChart {
    QCustomPlot plot;

    explicit TheirChart(int penWidth, bool curves = true)
    {
        plot.resize(kWidth, kHeight);
        // A hidden widget is told of its size only when shown, and QCustomPlot sizes its picture
        // then: shown (off the screen), it draws at the size ours does, not at 640 x 480.
        plot.setAttribute(Qt::WA_DontShowOnScreen);
        plot.show();
        plot.setNotAntialiasedElements(QCP::aeAll);
        plot.setBackground(QColor(0xA0, 0xA0, 0xA4));
        plot.axisRect()->setBackground(QColor(0x80, 0x00, 0x80));
        plot.xAxis->setScaleType(QCPAxis::stLogarithmic);
        plot.xAxis->setTicker(QSharedPointer<QCPAxisTickerLog>(new QCPAxisTickerLog));
        plot.xAxis->setRange(kStartKHz, kStopKHz);
        plot.yAxis->setRange(-20.0, 120.0);
        plot.yAxis->setLabel(QStringLiteral("dBµV  (dBµV/m, dBµA)"));
        if (!curves)
            return;
        auto qcolor = [](TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); };
        for (int t = 0; t < kTraces; ++t)
            plot.addGraph()->setPen(QPen(qcolor(kTraceColors[t]), penWidth));
        // The limit lines from their tables' corners, each level held up to the next corner.
        for (int l = 0; l < kLimits; ++l) {
            QCPGraph* limit = plot.addGraph();
            limit->setPen(QPen(qcolor(kLimitColors[l]), 2));
            limit->setLineStyle(QCPGraph::lsStepLeft);
            QVector<double> x, y;
            for (const Corner& c : kLimitCorners[l]) {
                x.push_back(c.kHz);
                y.push_back(c.level);
            }
            limit->setData(x, y, true);
        }
    }

    // Whether the picture has the size ours has.
    bool Sized() const { return plot.viewport().size() == QSize(kWidth, kHeight); }

    void Fill(const TheirData& d)
    {
        for (int t = 0; t < kTraces; ++t)
            plot.graph(t)->setData(d.x, d.traces[static_cast<size_t>(t)], true);
    }
};

void BM_QCustomPlot(benchmark::State& state)
{
    const int points = static_cast<int>(state.range(0));
    const int penWidth = static_cast<int>(state.range(1));
    const bool zoomed = state.range(2) != 0;
    const bool changed = state.range(3) != 0;
    const Data d = MakeData(points);
    TheirChart their(penWidth);
    if (!their.Sized()) {
        state.SkipWithError("QCustomPlot does not draw at the chart's size");
        return;
    }
    their.Fill(TheirData(d));
    double low = kStartKHz, high = kStopKHz;
    if (zoomed)
        ZoomRange(d, low, high);
    their.plot.xAxis->setRange(low, high);
    their.plot.replot();
    bool moved = false;
    TimeEach(
        state, "qcp: " + Case(points, penWidth, zoomed, changed),
        [&] {
            if (changed) {
                moved = !moved;
                their.plot.xAxis->setRange(moved ? low * (1 + 1e-9) : low, high);
            }
        },
        [&] { their.plot.replot(); });
}

void BM_QCustomPlotEmpty(benchmark::State& state)
{
    TheirChart their(1, false);
    if (!their.Sized()) {
        state.SkipWithError("QCustomPlot does not draw at the chart's size");
        return;
    }
    their.plot.replot();
    TimeEach(state, "qcp: empty chart (walls, axes, labels, grid)", [] {}, [&] { their.plot.replot(); });
}

// The same refill as setData with sorted data (the vectors made beforehand), then replot().
void BM_QCustomPlotRefill(benchmark::State& state)
{
    const int points = static_cast<int>(state.range(0));
    const Data d = MakeData(points);
    TheirChart their(1);
    if (!their.Sized()) {
        state.SkipWithError("QCustomPlot does not draw at the chart's size");
        return;
    }
    const TheirData data(d);
    their.Fill(data);
    their.plot.replot();
    int shift = 0;
    TimeEach(
        state, "qcp: " + std::to_string(points) + " points, 4 traces refilled, drawn",
        [&] { shift = (shift + 1) % kTraces; },
        [&] {
            for (int t = 0; t < kTraces; ++t)
                their.plot.graph(t)->setData(data.x, data.traces[static_cast<size_t>((t + shift) % kTraces)], true);
            their.plot.replot();
        });
}

void BM_QCustomPlotAppend(benchmark::State& state)
{
    const TheirData data(MakeData(750000));
    TheirChart their(1);
    their.plot.graph(0)->setData(data.x, data.traces[0], true);
    int shift = 0;
    TimeEach(
        state, "qcp: 750000 ordered points filled at once", [&] { shift = (shift + 1) % kTraces; },
        [&] { their.plot.graph(0)->setData(data.x, data.traces[static_cast<size_t>(shift)], true); });
}

void BM_QCustomPlotSweep(benchmark::State& state)
{
    const Data d = MakeData(kSegments * kSegmentPoints);
    for (auto _ : state) {
        state.PauseTiming();
        TheirChart their(1);
        state.ResumeTiming();
        double total = 0;
        for (int s = 0; s < kSegments; ++s) {
            const size_t from = static_cast<size_t>(s) * kSegmentPoints;
            for (int t = 0; t < kTraces; ++t) {
                const auto& y = d.traces[static_cast<size_t>(t)];
                their.plot.graph(t)->addData(
                    QVector<double>(d.x.begin() + static_cast<long>(from),
                                    d.x.begin() + static_cast<long>(from + kSegmentPoints)),
                    QVector<double>(y.begin() + static_cast<long>(from), y.begin() + static_cast<long>(from + kSegmentPoints)),
                    true);
            }
            const auto start = std::chrono::steady_clock::now();
            their.plot.replot();
            total += Seconds(std::chrono::steady_clock::now() - start);
        }
        Times()["qcp: 600 segments of 601 points, repaint after each"] = total;
    }
}

#endif

void Cases(benchmark::internal::Benchmark* b)
{
    for (int points : {250000, 750000})
        for (int width : {1, 2})
            for (int zoomed : {0, 1})
                for (int changed : {0, 1})
                    b->Args({points, width, zoomed, changed});
}

void PrintSummary()
{
    std::printf("\n%-56s %10s %10s %7s\n", "case", "ours ms", "qcp ms", "ratio");
    for (const auto& [name, seconds] : Times()) {
        if (name.rfind("ours: ", 0) != 0)
            continue;
        const std::string what = name.substr(6);
        const auto their = Times().find("qcp: " + what);
        if (their == Times().end())
            std::printf("%-56s %10.2f\n", what.c_str(), seconds * 1e3);
        else
            std::printf("%-56s %10.2f %10.2f %7.2f\n", what.c_str(), seconds * 1e3, their->second * 1e3,
                        seconds / their->second);
    }
    for (const auto& [name, value] : Times())
        if (name.rfind("bytes", 0) == 0 || name.rfind("MB", 0) == 0)
            std::printf("%-56s %10.2f\n", name.c_str(), value);
}

} // namespace

// The chart with a margin line added: the limit shifted, dotted, which keeps every segment.
void BM_OursDottedMarginLine(benchmark::State& state)
{
    const Data d = MakeData(750000);
    OurChart our(1);
    auto& margin = our.chart.AddNewSeries<TLineSeries>();
    margin.LinePen().SetStyle(psDot);
    {
        TChartSeries::UpdateScope scope(margin);
        margin.AddPointsXY(d.x, d.limits[0], clOlive);
    }
    our.Draw();
    TimeEach(state, "ours: 750000 points, width 1 + a dotted margin line, whole", [] {}, [&] { our.Draw(); });
}

BENCHMARK(BM_OursEmpty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ours)->Apply(Cases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursRefill)->Arg(250000)->Arg(750000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursAppend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursDottedMarginLine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OursFastLine)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);
#ifdef ZENDRIK_WITH_QCUSTOMPLOT
BENCHMARK(BM_QCustomPlotEmpty)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlot)->Apply(Cases)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotRefill)->Arg(250000)->Arg(750000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QCustomPlotAppend)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_OursSweep)->Iterations(1)->Unit(benchmark::kMillisecond);
#ifdef ZENDRIK_WITH_QCUSTOMPLOT
BENCHMARK(BM_QCustomPlotSweep)->Iterations(1)->Unit(benchmark::kMillisecond);
#endif
BENCHMARK(BM_BytesPerPoint)->Iterations(1);
BENCHMARK(BM_OursManySeries)->Iterations(1);
BENCHMARK(BM_ProgramTraceFill)->Iterations(1);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintSummary();
    return 0;
}
