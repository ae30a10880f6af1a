#include "measurement/TraceSmoothing.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "measurement/CorrectionChain.h"
#include "measurement/SmoothRangeStore.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QString Fixed2(double v) { return FormatMachineFixed(v, 2); }

struct RangeEnds {
    int Left = -1;
    int Right = -1;
    bool Valid() const { return Left >= 0 && Left < Right; }
};

RangeEnds EndsOf(TChartSeries& series, double xFrom, double xTo)
{
    return {FindPointIndexByX(series, static_cast<double>(RoundHalfEven(xFrom))),
            FindPointIndexByX(series, static_cast<double>(RoundHalfEven(xTo)))};
}

} // namespace

int FindPointIndexByX(TChartSeries& series, double x)
{
    const int n = series.Count();
    if (n == 0 || std::isnan(x) || x < series.GetMinX() || x > series.GetMaxX())
        return -1;
    const std::span<const double> xs = series.XValues().Values();
    const auto first = std::lower_bound(xs.begin(), xs.end(), x);
    if (first != xs.end() && *first == x)
        return static_cast<int>(first - xs.begin());
    // The next point a whole number of kHz above x; a point at the largest X does not count.
    const double maxX = series.GetMaxX();
    for (auto it = first; it != xs.end() && *it < maxX; ++it) {
        const double k = std::nearbyint(*it - x);
        if (k >= 1 && *it == x + k && it != xs.begin())
            return static_cast<int>(it - xs.begin());
    }
    return -1;
}

void SmoothTraceStretch(TChartSeries& series, TChartSeries& overlay, TChartSeries& compensation, double xFrom,
                        double xTo, TColor colour, DebugLog& debug)
{
    const SeriesLevel left = InterpolateSeries(series, RoundHalfEven(xFrom));
    const SeriesLevel right = InterpolateSeries(series, RoundHalfEven(xTo));
    const RangeEnds ends = EndsOf(series, xFrom, xTo);
    if (ends.Valid()) {
        const int iL = ends.Left;
        const int iR = ends.Right;
        const size_t n = static_cast<size_t>(iR - iL + 1);
        const double span = iR - iL;
        std::vector<double> xs(n), former(n), differences(n), line(n);
        const std::span<const double> ys = series.YValues().Values();
        for (size_t k = 0; k < n; ++k) {
            const double y = ys[static_cast<size_t>(iL) + k];
            line[k] = left.Level + static_cast<double>(k) * (right.Level - left.Level) / span;
            xs[k] = xFrom + static_cast<double>(k) * (xTo - xFrom) / span;
            former[k] = y;
            differences[k] = k == 0 || k + 1 == n ? 0.0 : line[k] - y;
        }
        {
            TChartSeries::UpdateScope overlayUpdate(overlay);
            overlay.AddPointsXY(xs, former, clBlue);
        }
        {
            TChartSeries::UpdateScope compensationUpdate(compensation);
            compensation.AddPointsXY(xs, differences, colour);
        }
        TChartSeries::UpdateScope seriesUpdate(series);
        for (size_t k = 0; k < n; ++k)
            series.YValues().SetValueQuiet(iL + static_cast<int>(k), line[k]);
    }
    debug.LogMessage(QStringLiteral("smooth left  ") + Fixed2(xFrom) + QStringLiteral("kHz:") + Fixed2(left.Level) +
                     QStringLiteral(":") + QString::number(ends.Left));
    debug.LogMessage(QStringLiteral("smooth right ") + Fixed2(xTo) + QStringLiteral("kHz:") + Fixed2(right.Level) +
                     QStringLiteral(":") + QString::number(ends.Right));
}

void UnsmoothTrace(TChartSeries& series, TChartSeries& overlay, TChartSeries& compensation, double xFrom, double xTo,
                   DebugLog& debug)
{
    const RangeEnds ends = EndsOf(series, xFrom, xTo);
    const int source = FindPointIndexByX(overlay, xFrom);
    debug.LogMessage(QStringLiteral("unsmooth index target: ") + QString::number(ends.Left) + QStringLiteral("<->") +
                     QString::number(ends.Right));
    debug.LogMessage(QStringLiteral("unsmooth freq  target: ") + Fixed2(xFrom) + QStringLiteral("kHz<->") +
                     Fixed2(xTo) + QStringLiteral("kHz"));
    debug.LogMessage(QStringLiteral("unsmooth index source: ") + QString::number(source));
    if (!ends.Valid())
        return;
    const int n = ends.Right - ends.Left + 1;
    if (source >= 0 && source + n <= overlay.Count()) {
        const std::span<const double> former = overlay.YValues().Values();
        TChartSeries::UpdateScope seriesUpdate(series);
        for (int k = 0; k < n; ++k)
            series.YValues().SetValueQuiet(ends.Left + k, former[static_cast<size_t>(source + k)]);
    }
    if (source >= 0)
        overlay.DeleteRange(source, n);
    const int compensationStart = FindPointIndexByX(compensation, xFrom);
    if (compensationStart >= 0)
        compensation.DeleteRange(compensationStart, n);
}

void ResetFadeOverlays(TChartSeries& overlay, TChartSeries& compensation, SmoothRangeStore& store)
{
    overlay.Clear();
    compensation.Clear();
    for (int32_t n = 1; n <= store.Count; ++n)
        store.Range(n).State = -1;
}
