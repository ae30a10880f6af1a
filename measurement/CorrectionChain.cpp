#include "measurement/CorrectionChain.h"

#include "app/MainChartSeries.h"
#include "app/NumberText.h"
#include "chart/engine/ChartSeries.h"
#include "measurement/RunParameters.h"

#include <algorithm>

namespace {

// The two points around x (X[lo] < x <= X[hi], or lo = 0 at the start) and the level between.
SeriesLevel Between(std::span<const double> xs, std::span<const double> ys, size_t hi, double x)
{
    const size_t lo = hi > 0 ? hi - 1 : 0;
    if (xs[hi] == xs[lo])
        return {ys[lo], 1};
    return {(ys[hi] - ys[lo]) / (xs[hi] - xs[lo]) * (x - xs[lo]) + ys[lo], 1};
}

} // namespace

SeriesLevel InterpolateSeries(TChartSeries& series, int64_t x)
{
    const int count = series.Count();
    const double xd = static_cast<double>(x);
    if (count == 0 || xd < series.GetMinX() || xd > series.GetMaxX())
        return {};
    const std::span<const double> xs = series.XValues().Values();
    const std::span<const double> ys = series.YValues().Values();
    size_t lo = 0;
    size_t hi = static_cast<size_t>(count - 1);
    while (hi - lo > 1) {
        const size_t mid = (lo + hi) / 2;
        if (xd <= xs[mid])
            hi = mid;
        else
            lo = mid;
    }
    if (hi == lo)
        return {ys[lo], 1};
    if (xs[hi] == xs[lo])
        return {ys[lo], 1};
    return {(ys[hi] - ys[lo]) / (xs[hi] - xs[lo]) * (xd - xs[lo]) + ys[lo], 1};
}

void SeriesLookup::Bind(TChartSeries* series)
{
    series_ = series;
    hint_ = 0;
    if (!series || series->Count() == 0) {
        xs_ = {};
        ys_ = {};
        return;
    }
    xs_ = series->XValues().Values();
    ys_ = series->YValues().Values();
    minX_ = series->GetMinX();
    maxX_ = series->GetMaxX();
}

SeriesLevel SeriesLookup::Level(int64_t x)
{
    const double xd = static_cast<double>(x);
    if (xs_.empty() || xd < minX_ || xd > maxX_)
        return {};
    const size_t n = xs_.size();
    if (n == 1)
        return {ys_[0], 1};
    // Everything below lo is known to lie below x; gallop upwards from there, then search the
    // last stride. The first index with X >= x is the binary search's upper point.
    size_t lo = hint_ > 0 && hint_ <= n && xs_[hint_ - 1] < xd ? hint_ : 0;
    size_t hi = lo;
    size_t stride = 1;
    while (hi < n && xs_[hi] < xd) {
        lo = hi + 1;
        hi = lo + stride;
        stride *= 2;
    }
    const size_t end = std::min(hi, n);
    size_t first = static_cast<size_t>(std::lower_bound(xs_.begin() + static_cast<std::ptrdiff_t>(std::min(lo, end)),
                                                        xs_.begin() + static_cast<std::ptrdiff_t>(end), xd) -
                                       xs_.begin());
    first = std::clamp<size_t>(first, 1, n - 1);
    hint_ = first;
    return Between(xs_, ys_, first, xd);
}

SeriesLevel SeriesLookup::LevelAbove(int64_t x)
{
    const double xd = static_cast<double>(x);
    const auto after = std::upper_bound(xs_.begin(), xs_.end(), xd);
    const auto last = after - xs_.begin();
    if (last >= 2 && xs_[static_cast<size_t>(last - 1)] == xd && xs_[static_cast<size_t>(last - 2)] == xd)
        return {ys_[static_cast<size_t>(last - 1)], 1};
    return Level(x);
}

std::optional<int64_t> SeriesLookup::StepIn(int64_t from, int64_t to) const
{
    const double top = static_cast<double>(to);
    for (auto it = std::upper_bound(xs_.begin(), xs_.end(), static_cast<double>(from));
         it != xs_.end() && it + 1 != xs_.end() && *it <= top; ++it) {
        if (*it == *(it + 1))
            return static_cast<int64_t>(*it);
    }
    return std::nullopt;
}

CorrectionChain::CorrectionChain(const MainChartSeries& series, const RunSwitches& switches)
    : cable_(series[SeriesRole::cableCorrection]), lisn_(series[SeriesRole::lisnCorrection]),
      antenna_(series[SeriesRole::antennaFactor]), amplifier_(series[SeriesRole::amplifierCorrection]),
      compensation_(nullptr)
{
    constexpr PerSet<SeriesRole> kCompensation{SeriesRole::compensation1, SeriesRole::compensation2};
    if (switches.UseCompensation)
        compensation_ = series[kCompensation[switches.SelectedSet]];
    Rebind();
}

void CorrectionChain::Rebind()
{
    cableLookup_.Bind(cable_);
    lisnLookup_.Bind(lisn_);
    antennaLookup_.Bind(antenna_);
    amplifierLookup_.Bind(amplifier_);
    compensationLookup_.Bind(compensation_);
}

double CorrectionChain::Total(int64_t x, bool above)
{
    const auto term = [x, above](SeriesLookup& lookup) {
        const SeriesLevel l = above ? lookup.LevelAbove(x) : lookup.Level(x);
        return l.Status == 1 ? l.Level : 0.0;
    };
    return term(cableLookup_) + term(lisnLookup_) - term(antennaLookup_) + term(amplifierLookup_) -
           term(compensationLookup_);
}

double CorrectionChain::Sum(double freqKhz)
{
    return Total(RoundHalfEven(freqKhz), false);
}

double CorrectionChain::SumAbove(int64_t khz)
{
    return Total(khz, true);
}

std::optional<int64_t> CorrectionChain::StepIn(int64_t from, int64_t to) const
{
    std::optional<int64_t> first;
    for (const SeriesLookup* lookup :
         {&cableLookup_, &lisnLookup_, &antennaLookup_, &amplifierLookup_, &compensationLookup_}) {
        const std::optional<int64_t> step = lookup->StepIn(from, to);
        if (step && (!first || *step < *first))
            first = step;
    }
    return first;
}
