#include "chart/engine/PlotFunction.h"

#include "chart/canvas/DateTimeSteps.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/SeriesTexts.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

TPlotFunction::~TPlotFunction() = default;

void TPlotFunction::SetPeriod(double value)
{
    // Not-a-number is refused with the negative values: no period count or span follows from it.
    if (!(value >= 0.0))
        throw ChartException(seriestexts::FunctionPeriod());
    if (period_ == value)
        return;
    period_ = value;
    Recalculate();
}

void TPlotFunction::SetPeriodStyle(TFunctionPeriodStyle value)
{
    if (periodStyle_ == value)
        return;
    periodStyle_ = value;
    Recalculate();
}

void TPlotFunction::SetPeriodAlign(TFunctionPeriodAlign value)
{
    if (periodAlign_ == value)
        return;
    periodAlign_ = value;
    Recalculate();
}

void TPlotFunction::EndUpdate()
{
    if (!updating_)
        return;
    updating_ = false;
    Recalculate();
}

void TPlotFunction::Recalculate()
{
    if (!updating_ && parent_)
        parent_->CheckDataSource();
}

void TPlotFunction::Assign(const TPlotFunction& source)
{
    period_ = source.period_;
    periodStyle_ = source.periodStyle_;
    periodAlign_ = source.periodAlign_;
}

std::span<const double> TPlotFunction::SourceValues(TChartSeries& source) const
{
    const QString& name = parent_ ? parent_->MandatoryValueList().ValueSource() : QString();
    if (name.isEmpty())
        return source.MandatoryValueList().Values();
    return source.GetYValueList(name).Values();
}

std::span<const double> TPlotFunction::PeriodValues(TChartSeries& source, int first, int last) const
{
    const std::span<const double> all = SourceValues(source);
    if (first == -1 && last == -1)
        return all;
    const int n = static_cast<int>(all.size());
    first = std::max(first, 0);
    last = std::min(last, n - 1);
    if (last < first)
        return {};
    return all.subspan(static_cast<size_t>(first), static_cast<size_t>(last - first + 1));
}

std::optional<double> TPlotFunction::Calculate(TChartSeries& source, int first, int last)
{
    (void)source, (void)first, (void)last;
    return 0.0;
}

std::optional<double> TPlotFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    (void)sources, (void)valueIndex;
    return 0.0;
}

void TPlotFunction::AddFunctionPoint(bool yMandatory, double x, double y)
{
    if (!parent_)
        return;
    if (yMandatory)
        parent_->AddPointXY(x, y);
    else
        parent_->AddPointXY(y, x);
}

void TPlotFunction::AddPoints(TChartSeries* source)
{
    if (updating_ || !source || !parent_)
        return;
    std::vector<TChartSeries*> sources;
    TDataSourcesList& list = parent_->DataSources();
    for (int i = 0; i < list.Count(); ++i)
        if (auto* series = dynamic_cast<TChartSeries*>(list[i]))
            sources.push_back(series);
    if (sources.size() >= 2)
        CalculateManySources(sources);
    else if (source->Count() > 0)
        CalculateDispatch(*source, source->NotMandatoryValueList());
}

void TPlotFunction::CalculateDispatch(TChartSeries& source, TChartValueList& listX)
{
    if (period_ != 0.0)
        CalculateByPeriod(source, listX);
    else
        CalculateAllPoints(source, listX);
}

void TPlotFunction::CalculatePeriod(TChartSeries& source, int first, int last, double x)
{
    if (const std::optional<double> value = Calculate(source, first, last))
        AddFunctionPoint(source.YMandatory(), x, *value);
}

void TPlotFunction::CalculateAllPoints(TChartSeries& source, TChartValueList& listX)
{
    const std::optional<double> value = Calculate(source, -1, -1);
    if (!value)
        return;
    const double low = listX.MinValue();
    const double high = listX.MaxValue();
    if (parent_ && parent_->SinglePoint) {
        AddFunctionPoint(source.YMandatory(), low + (high - low) * 0.5, *value);
    } else {
        AddFunctionPoint(source.YMandatory(), low, *value);
        AddFunctionPoint(source.YMandatory(), high, *value);
    }
}

double TPlotFunction::AlignedX(double start, double end) const
{
    switch (periodAlign_) {
    case paFirst: return start;
    case paLast: return end;
    case paCenter: break;
    }
    return (start + end) * 0.5;
}

// Periods of a number of points take at least one point each, so that a period rounding to
// none cannot stall the walk. Periods of X end where their start stops growing (a period below
// the resolution of the X values) or where X is not a number: past that point no later period
// could ever be reached.
void TPlotFunction::CalculateByPeriod(TChartSeries& source, TChartValueList& listX)
{
    const std::span<const double> xs = listX.Values();
    const int64_t n = static_cast<int64_t>(xs.size());
    if (n == 0)
        return;

    if (periodStyle_ == psNumPoints) {
        const double rounded = std::nearbyint(std::min(period_, static_cast<double>(n) + 1.0));
        const int64_t perPeriod = std::max<int64_t>(1, static_cast<int64_t>(rounded));
        for (int64_t i = 0; i + perPeriod - 1 < n; i += perPeriod) {
            const int64_t last = i + perPeriod - 1;
            const double x = AlignedX(xs[static_cast<size_t>(i)], xs[static_cast<size_t>(last)]);
            CalculatePeriod(source, static_cast<int>(i), static_cast<int>(last), x);
        }
        return;
    }

    // On date-time X a period that is one of the label steps moves along the calendar (months
    // and years have no fixed length); any other period is added as it is.
    const int step = listX.DateTime() ? FindDateTimeStepIndex(period_) : DateTimeStepCount;
    const bool yMandatory = source.YMandatory();
    const std::optional<double> emptyValue = EmptyPeriodValue();
    double start = xs[0];
    int64_t i = 0;
    while (i < n) {
        if (!std::isfinite(xs[static_cast<size_t>(i)]))
            break;
        const double periodStart = start;
        const double next = step < DateTimeStepCount ? IncDateTimeStep(step, start, period_, true) : start + period_;
        if (!(next > start) || !std::isfinite(next))
            break;
        start = next;
        const double end = start - 0.001 * period_;
        const double x = AlignedX(periodStart, end);
        if (xs[static_cast<size_t>(i)] < end) {
            int64_t last = i;
            while (last < n - 1 && xs[static_cast<size_t>(last + 1)] < end)
                ++last;
            CalculatePeriod(source, static_cast<int>(i), static_cast<int>(last), x);
            i = last + 1;
        } else if (emptyValue) {
            AddFunctionPoint(yMandatory, x, *emptyValue);
        }
    }
}

// The source with the most points gives the X values and labels; every point index of it gets
// one value over the sources that reach that index.
void TPlotFunction::CalculateManySources(const std::vector<TChartSeries*>& sources)
{
    TChartSeries* xSource = sources.front();
    for (TChartSeries* s : sources)
        if (s->Count() > xSource->Count())
            xSource = s;
    const std::span<const double> xs = xSource->NotMandatoryValueList().Values();
    const bool yMandatory = parent_->YMandatory();
    for (int t = 0; t < static_cast<int>(xs.size()); ++t) {
        const std::optional<double> value = CalculateMany(sources, t);
        if (!value)
            continue;
        const QString label = xSource->XLabel(t);
        if (yMandatory)
            parent_->AddPointXY(xs[static_cast<size_t>(t)], *value, label);
        else
            parent_->AddPointXY(*value, xs[static_cast<size_t>(t)], label);
    }
}
