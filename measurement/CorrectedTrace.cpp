#include "measurement/CorrectedTrace.h"

#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "measurement/CorrectionChain.h"
#include "measurement/MeasurementState.h"
#include "measurement/PeakLists.h"
#include "measurement/PeakWalk.h"
#include "measurement/RunHost.h"
#include "measurement/RunParameters.h"
#include "platform/system/EventPump.h"

#include <algorithm>
#include <span>
#include <tuple>

namespace {

constexpr double kNoLevel = -100.0;
constexpr int kEventsEvery = 200;

void LogCounts(CorrectionPass& c, SetTraces& set, const QString& rawName, const QString& corName)
{
    if (!c.Debug.DebugMode)
        return;
    auto count = [](const TChartSeries* s) { return QString::number(s ? s->Count() : 0); };
    c.Debug.LogMessage(rawName + QString::number(set.Raw.Count()));
    c.Debug.LogMessage(corName + QString::number(set.Corrected.Count()));
    c.Debug.LogMessage(QStringLiteral("Cnt Series3 cable ") + count(c.Series[SeriesRole::cableCorrection]));
    c.Debug.LogMessage(QStringLiteral("Cnt Series4 lisn ") + count(c.Series[SeriesRole::lisnCorrection]));
    c.Debug.LogMessage(QStringLiteral("Cnt Series4 amp ") + count(c.Series[SeriesRole::amplifierCorrection]));
}

// Appends placeholder points (X counting on from `firstX`, level -100) until the corrected
// trace is `count` long.
void FillCorrected(SetTraces& set, int count, double firstX)
{
    const int have = set.Corrected.Count();
    if (have >= count)
        return;
    std::vector<double> xs(static_cast<size_t>(count - have));
    for (size_t k = 0; k < xs.size(); ++k)
        xs[k] = firstX + static_cast<double>(have) + static_cast<double>(k);
    const std::vector<double> ys(xs.size(), kNoLevel);
    TChartSeries::UpdateScope hold(set.Corrected);
    set.Corrected.AddPointsXY(xs, ys, set.PointColour);
}

// Lists the peaks among the points [first, end) of the corrected trace, each at its own X with the
// limit there; points the limit line does not cover are passed over.
void ListPeaksIn(CorrectionPass& c, SetTraces& set, int first, int end)
{
    end = std::min(end, set.Corrected.Count());
    SeriesLookup limit(&set.Limit);
    PeakWalk walk(set.Peaks, set.Margin, c.Switches.MaxFilter);
    const std::span<const double> xs = set.Corrected.XValues().Values();
    const std::span<const double> ys = set.Corrected.YValues().Values();
    for (int i = std::max(first, 0); i < end; ++i) {
        const double x = xs[static_cast<size_t>(i)];
        const SeriesLevel l = limit.Level(RoundHalfEven(x));
        if (l.Status == 1)
            walk.Point(x, ys[static_cast<size_t>(i)], l.Level);
    }
    walk.Finish();
}

// Both in frequency order: a frequency in both keeps the larger level (a frequency held twice, as
// whole-kHz points of a narrow segment can be, pairs its points in order).
std::vector<SegmentPoint> HeldMaximum(const std::vector<SegmentPoint>& held, const std::vector<SegmentPoint>& points)
{
    std::vector<SegmentPoint> merged;
    merged.reserve(std::max(held.size(), points.size()));
    size_t h = 0;
    size_t p = 0;
    while (h < held.size() || p < points.size()) {
        if (p == points.size() || (h < held.size() && held[h].X < points[p].X))
            merged.push_back(held[h++]);
        else if (h == held.size() || points[p].X < held[h].X)
            merged.push_back(points[p++]);
        else {
            merged.push_back(points[p].Corrected > held[h].Corrected ? points[p] : held[h]);
            ++h;
            ++p;
        }
    }
    return merged;
}

// Writes points from `at` on into both traces: over the points there, the rest appended.
void WritePoints(SetTraces& set, int at, std::span<const SegmentPoint> points)
{
    std::vector<double> xs;
    std::vector<double> raw;
    std::vector<double> corrected;
    xs.reserve(points.size());
    raw.reserve(points.size());
    corrected.reserve(points.size());
    for (const SegmentPoint& point : points) {
        xs.push_back(point.X);
        raw.push_back(point.Raw);
        corrected.push_back(point.Corrected);
    }
    for (auto [series, ys, colour] : {std::tuple{&set.Raw, &raw, set.RawColour},
                                      std::tuple{&set.Corrected, &corrected, set.PointColour}}) {
        TChartSeries::UpdateScope hold(*series);
        if (series->Count() > at)
            series->DeleteRange(at, series->Count() - at);
        series->AddPointsXY(xs, *ys, colour);
    }
}

} // namespace

std::pair<int, int> SegmentResults::Keep(SetTraces& set, int segment, std::vector<SegmentPoint> points, bool maxHold)
{
    std::stable_sort(points.begin(), points.end(), [](const SegmentPoint& p, const SegmentPoint& q) { return p.X < q.X; });
    size_t before = 0;
    size_t after = 0;
    for (const auto& [number, kept] : segments_) {
        if (number < segment)
            before += kept.size();
        else if (number > segment)
            after += kept.size();
    }
    std::vector<SegmentPoint>& held = segments_[segment];
    const size_t had = held.size();
    held = maxHold && !held.empty() ? HeldMaximum(held, points) : std::move(points);
    const int first = static_cast<int>(before);
    const int end = first + static_cast<int>(held.size());
    const auto shown = static_cast<int>(before + had + after);
    if (set.Raw.Count() == shown && set.Corrected.Count() == shown && (after == 0 || held.size() == had)) {
        // The traces show the results as they were: only this segment's points change.
        if (after == 0) {
            WritePoints(set, first, held);
        } else {
            for (size_t k = 0; k < held.size(); ++k) {
                const int i = first + static_cast<int>(k);
                set.Raw.XValues().SetValueQuiet(i, held[k].X);
                set.Raw.YValues().SetValueQuiet(i, held[k].Raw);
                set.Corrected.XValues().SetValueQuiet(i, held[k].X);
                set.Corrected.YValues().SetValueQuiet(i, held[k].Corrected);
            }
            set.Raw.Repaint();
        }
        return {first, end};
    }
    std::vector<SegmentPoint> all;
    all.reserve(before + held.size() + after);
    for (const auto& [number, kept] : segments_)
        all.insert(all.end(), kept.begin(), kept.end());
    WritePoints(set, 0, all);
    return {first, end};
}

void CorrectSegment(CorrectionPass& c, SetTraces& set, SegmentResults& results, int segment,
                    const TChartSeries& measured, bool maxHold)
{
    c.Debug.LogMessage(QStringLiteral("@Calc_Cor_Single"));
    const int samples = measured.Count();
    if (samples <= 0)
        return;
    c.Messages.Append(c.State.CorFastPath ? QStringLiteral("Info: measurement calc cor fast")
                                          : QStringLiteral("Info: measurement calc cor slow"));
    LogCounts(c, set, QStringLiteral("Cnt Series raw "), QStringLiteral("Cnt Series cor "));
    c.Debug.LogMessage(results.Has(segment) ? QStringLiteral("run=true") : QStringLiteral("run=false"));

    CorrectionChain chain(c.Series, c.Switches);
    SeriesLookup master(c.Series[SeriesRole::masterCorrection]);
    const std::span<const double> rx = measured.XValues().Values();
    const std::span<const double> ry = measured.YValues().Values();
    std::vector<SegmentPoint> points(static_cast<size_t>(samples));
    for (size_t i = 0; i < points.size(); ++i) {
        const double x = rx[i];
        const double y = ry[i];
        // The master curve only where it already covers the point: below its start (or while
        // it is still short) the terms are read one by one.
        const SeriesLevel m = master.Level(RoundHalfEven(x));
        c.State.CorFastPath = m.Status == 1;
        points[i] = {x, y, y - (m.Status == 1 ? m.Level : chain.Sum(x))};
    }
    const auto [first, end] = results.Keep(set, segment, std::move(points), maxHold);
    ListPeaksIn(c, set, first, end);
    set.Corrected.Repaint();
}

int RecalcCorrectedTrace(CorrectionPass& c, SetTraces& set, const std::function<void(int, int)>& progress)
{
    set.Corrected.Clear();
    set.Peaks.Clear();
    const int rawCount = set.Raw.Count();
    FillCorrected(set, rawCount, 0.0);
    if (progress)
        progress(0, rawCount);
    ClearStopRequest(c.State);
    c.Host.SetChartAutoRepaint(false);
    LogCounts(c, set, QStringLiteral("Cnt Series1 raw "), QStringLiteral("Cnt Series7 cor "));

    CorrectionChain chain(c.Series, c.Switches);
    const bool debugLines = c.Debug.DebugMode;
    int done = 0;
    for (int i = 0; i < rawCount; ++i) {
        if (i % kEventsEvery == 0) {
            if (progress)
                progress(i, rawCount);
            c.Pump.ProcessEvents();
            // The window may have changed any series meanwhile: read them afresh, and end the
            // walk when the traces themselves were changed under it.
            if (set.Raw.Count() != rawCount || set.Corrected.Count() != rawCount)
                break;
            chain.Rebind();
        }
        if (c.State.StopRequested)
            break;
        const double x = set.Raw.XValues().Values()[static_cast<size_t>(i)];
        const double y = set.Raw.YValues().Values()[static_cast<size_t>(i)];
        const double corrected = y - chain.Sum(x);
        set.Corrected.YValues().SetValueQuiet(i, corrected);
        set.Corrected.XValues().SetValueQuiet(i, x);
        done = i + 1;
        if (debugLines)
            c.Messages.Append(QStringLiteral("Info:  @ ") + FormatMachineFixed(x, 2) + QStringLiteral("kHz ") +
                              QString::number(rawCount - i));
    }
    ListPeaksIn(c, set, 0, done);
    // A stopped walk leaves no placeholder points behind.
    if (done < set.Corrected.Count())
        set.Corrected.DeleteRange(done, set.Corrected.Count() - done);
    if (progress)
        progress(done, rawCount);
    c.Host.SetChartAutoRepaint(true);
    c.Host.RepaintChart();
    return done;
}
