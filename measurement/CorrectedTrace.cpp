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

// Appends points to a trace: their X and one of their levels.
void AppendPoints(TChartSeries& series, TColor colour, double SegmentPoint::*level,
                  std::span<const SegmentPoint> points)
{
    std::vector<double> xs;
    std::vector<double> ys;
    xs.reserve(points.size());
    ys.reserve(points.size());
    for (const SegmentPoint& point : points) {
        xs.push_back(point.X);
        ys.push_back(point.*level);
    }
    series.AddPointsXY(xs, ys, colour);
}

// Writes points over the `shown` points a trace holds from `at` on, of which the first `same` stay
// as they are, with `after` points behind them. False when the trace holds another count (it was
// changed under the run) or the points would have to go in before others.
bool WriteRange(TChartSeries& series, TColor colour, double SegmentPoint::*level, size_t at, size_t shown,
                size_t same, size_t after, std::span<const SegmentPoint> points)
{
    if (static_cast<size_t>(series.Count()) != at + shown + after || (points.size() != shown && after > 0))
        return false;
    same = std::min({same, shown, points.size()});
    TChartSeries::UpdateScope hold(series);
    if (points.size() == shown) {
        for (size_t k = same; k < points.size(); ++k) {
            series.XValues().SetValueQuiet(static_cast<int>(at + k), points[k].X);
            series.YValues().SetValueQuiet(static_cast<int>(at + k), points[k].*level);
        }
        return true;
    }
    if (shown > same)
        series.DeleteRange(static_cast<int>(at + same), static_cast<int>(shown - same));
    AppendPoints(series, colour, level, points.subspan(same));
    return true;
}

} // namespace

int SegmentResults::Show(TChartSeries& series, TColor colour, Level level, int segment, size_t shown,
                         size_t same, std::span<const SegmentPoint> points) const
{
    size_t before = 0;
    size_t after = 0;
    for (const auto& [number, kept] : segments_) {
        if (number < segment)
            before += kept.size();
        else if (number > segment)
            after += kept.size();
    }
    if (!WriteRange(series, colour, level, before, shown, same, after, points)) {
        std::vector<SegmentPoint> all;
        all.reserve(before + points.size() + after);
        for (const auto& [number, kept] : segments_) {
            if (number == segment)
                all.insert(all.end(), points.begin(), points.end());
            else
                all.insert(all.end(), kept.begin(), kept.end());
        }
        if (!segments_.contains(segment))
            all.insert(all.begin() + static_cast<std::ptrdiff_t>(before), points.begin(), points.end());
        TChartSeries::UpdateScope hold(series);
        series.Clear();
        AppendPoints(series, colour, level, all);
    }
    return static_cast<int>(before);
}

std::pair<int, int> SegmentResults::Keep(SetTraces& set, int segment, std::vector<SegmentPoint> points, bool maxHold)
{
    std::stable_sort(points.begin(), points.end(), [](const SegmentPoint& p, const SegmentPoint& q) { return p.X < q.X; });
    std::vector<SegmentPoint>& held = segments_[segment];
    const size_t had = held.size();
    held = maxHold && !held.empty() ? HeldMaximum(held, points) : std::move(points);
    const size_t rawShown = std::exchange(coming_, 0) == segment ? comingShown_ : had;
    Show(set.Raw, set.RawColour, &SegmentPoint::Raw, segment, rawShown, 0, held);
    const int first = Show(set.Corrected, set.PointColour, &SegmentPoint::Corrected, segment, had, 0, held);
    return {first, first + static_cast<int>(held.size())};
}

void SegmentResults::ShowComing(SetTraces& set, int segment, std::span<const double> xs,
                                std::span<const double> ys)
{
    std::span<const SegmentPoint> held;
    if (const auto found = segments_.find(segment); found != segments_.end())
        held = found->second;
    if (coming_ != segment) {
        coming_ = segment;
        comingShown_ = held.size();
        comingCount_ = 0;
    }
    const size_t count = std::min(xs.size(), ys.size());
    std::vector<SegmentPoint> shown;
    shown.reserve(count + held.size());
    for (size_t k = 0; k < count; ++k)
        shown.push_back({xs[k], ys[k], ys[k]});
    const auto above = count == 0 ? held.begin()
                                  : std::upper_bound(held.begin(), held.end(), xs[count - 1],
                                                     [](double x, const SegmentPoint& p) { return x < p.X; });
    shown.insert(shown.end(), above, held.end());
    const size_t same = std::min(comingCount_, count);
    Show(set.Raw, set.RawColour, &SegmentPoint::Raw, segment, comingShown_, same, shown);
    comingShown_ = shown.size();
    comingCount_ = count;
}

void SegmentResults::DropComing(SetTraces& set)
{
    if (coming_ == 0)
        return;
    ShowComing(set, coming_, {}, {});
    coming_ = 0;
}

std::vector<std::pair<int, int>> SegmentResults::Ranges() const
{
    std::vector<std::pair<int, int>> ranges;
    int first = 0;
    for (const auto& [number, kept] : segments_) {
        ranges.emplace_back(first, first + static_cast<int>(kept.size()));
        first = ranges.back().second;
    }
    return ranges;
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
    if (!maxHold) {
        ListPeaksIn(c, set, first, end);
    } else {
        // A held pass lists what the held trace shows: a segment this pass has not reached yet, or
        // that brought nothing in it, keeps its held peaks in the lists.
        set.Peaks.ClearLists();
        for (const auto& [from, to] : results.Ranges())
            ListPeaksIn(c, set, from, to);
    }
    set.Corrected.Repaint();
}

int RecalcCorrectedTrace(CorrectionPass& c, SetTraces& set, const std::function<void(int, int)>& progress)
{
    set.Corrected.Clear();
    set.Peaks.ClearLists();
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
