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

} // namespace

void Calc_Cor_Single(CorrectionPass& c, SetTraces& set, bool maxHold, int samples)
{
    c.Debug.LogMessage(QStringLiteral("@Calc_Cor_Single"));
    if (samples <= 0)
        return;
    c.Messages.Append(c.State.CorFastPath ? QStringLiteral("Info: measurement calc cor fast")
                                               : QStringLiteral("Info: measurement calc cor slow"));
    LogCounts(c, set, QStringLiteral("Cnt Series raw "), QStringLiteral("Cnt Series cor "));

    const int rawCount = set.Raw.Count();
    const bool repeat = set.Corrected.Count() >= rawCount;
    c.Debug.LogMessage(repeat ? QStringLiteral("run=true") : QStringLiteral("run=false"));
    FillCorrected(set, rawCount, set.Corrected.Count() > 0 ? set.Corrected.GetMaxX() : 0.0);

    const int first = rawCount - samples;
    if (first < 0) {
        c.Host.ShowErrorBox(QStringLiteral("Error CountRawData<Samples #001"));
        return;
    }

    CorrectionChain chain(c.Series, c.Switches);
    SeriesLookup master(c.Series[SeriesRole::masterCorrection]);
    const std::span<const double> rx = set.Raw.XValues().Values();
    const std::span<const double> ry = set.Raw.YValues().Values();
    TChartValueList& cx = set.Corrected.XValues();
    TChartValueList& cy = set.Corrected.YValues();
    const std::span<const double> stored = cy.Values();
    const bool keepLarger = maxHold && repeat;
    if (set.HeldRaw && set.HeldRaw->size() < static_cast<size_t>(rawCount))
        set.HeldRaw->resize(static_cast<size_t>(rawCount), kNoLevel);

    for (int i = first; i < rawCount; ++i) {
        const double x = rx[static_cast<size_t>(i)];
        const double y = ry[static_cast<size_t>(i)];
        // The master curve only where it already covers the point: below its start (or while
        // it is still short) the terms are read one by one.
        const SeriesLevel m = master.Level(RoundHalfEven(x));
        double corrected;
        if (m.Status == 1) {
            c.State.CorFastPath = true;
            corrected = y - m.Level;
        } else {
            c.State.CorFastPath = false;
            corrected = y - chain.Sum(x);
        }
        if (!keepLarger || corrected > stored[static_cast<size_t>(i)]) {
            cy.SetValueQuiet(i, corrected);
            if (set.HeldRaw)
                (*set.HeldRaw)[static_cast<size_t>(i)] = y;
        }
        cx.SetValueQuiet(i, x);
    }
    set.Corrected.Repaint();
}

void ListSegmentPeaks(CorrectionPass& c, SetTraces& set, int samples)
{
    const int rawCount = set.Raw.Count();
    // More points than the raw trace holds: the correction pass has refused them with a box.
    if (samples <= 0 || samples > rawCount)
        return;
    ListPeaksIn(c, set, rawCount - samples, rawCount);
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
