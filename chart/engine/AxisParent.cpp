#include "chart/engine/AxisParent.h"

#include "app/NumberText.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesRoutines.h"

#include <algorithm>

int AxisParent::AxisWallSize(const TChartAxis& axis) const
{
    (void)axis;
    return 0;
}

bool AxisParent::ShowsAxis(const TChartAxis& axis) const
{
    return axis.Visible();
}

namespace {

// Extreme of the points of the active series drawn on the axis, along the axis' direction.
double SeriesExtreme(AxisParent& chart, const TChartAxis& axis, bool largest)
{
    bool found = false;
    double result = 0.0;
    TChartSeriesList& list = chart.SeriesList();
    for (int i = 0; i < list.Count(); ++i) {
        auto* series = dynamic_cast<TChartSeries*>(list[i]);
        if (!series || !series->Active() || series->Count() == 0 || !series->AssociatedToAxis(&axis))
            continue;
        double value = 0.0;
        if (axis.Horizontal())
            value = largest ? series->GetMaxX() : series->GetMinX();
        else
            value = largest ? series->GetMaxY() : series->GetMinY();
        if (!found || (largest ? value > result : value < result))
            result = value;
        found = true;
    }
    return result;
}

} // namespace

double AxisParent::MaxValueOfAxis(const TChartAxis& axis)
{
    return SeriesExtreme(*this, axis, true);
}

double AxisParent::MinValueOfAxis(const TChartAxis& axis)
{
    return SeriesExtreme(*this, axis, false);
}

QString AxisParent::SeriesMarkText(TChartSeries& series, int valueIndex)
{
    const QString& format = series.ValueFormat().isEmpty() ? PlotMessage(PlotMsg::FmtValue) : series.ValueFormat();
    const double value = series.YMandatory() ? series.GetPointY(valueIndex) : series.GetPointX(valueIndex);
    return FormatFloat(format, value);
}

QString AxisParent::SeriesLegendTitle(TChartSeries& series)
{
    return SeriesTitleOrName(series);
}
