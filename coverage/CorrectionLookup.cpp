#include "coverage/CorrectionLookup.h"

#include "chart/engine/ChartSeries.h"

#include <span>

double CorrectionAtKhz(const TChartSeries& series, int64_t khz)
{
    const std::span<const double> xs = series.XValues().Values();
    const std::span<const double> ys = series.YValues().Values();
    if (xs.empty() || ys.size() != xs.size())
        return 0.0;
    const double x = static_cast<double>(khz);
    if (x < xs.front() || x > xs.back())
        return 0.0;
    size_t lo = 0;
    size_t hi = xs.size() - 1;
    while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        if (x <= xs[mid])
            hi = mid;
        else
            lo = mid;
    }
    // One point, or two at the same frequency: the level there, not 0 / 0.
    if (xs[hi] == xs[lo])
        return ys[lo];
    return (ys[hi] - ys[lo]) / (xs[hi] - xs[lo]) * (x - xs[lo]) + ys[lo];
}
