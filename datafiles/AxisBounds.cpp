#include "datafiles/AxisBounds.h"

#include "chart/engine/ChartAxis.h"

#include <cmath>

double ChartAxisBounds::Minimum() const
{
    return axis_.Minimum();
}

double ChartAxisBounds::Maximum() const
{
    return axis_.Maximum();
}

void ChartAxisBounds::SetMinimum(double value)
{
    axis_.SetMinimum(value);
}

void ChartAxisBounds::SetMaximum(double value)
{
    axis_.SetMaximum(value);
}

namespace datafiles {

bool SetAxisPair(AxisBounds& axis, double minimum, double maximum)
{
    if (!std::isfinite(minimum) || !std::isfinite(maximum) || minimum > maximum)
        return false;
    if (maximum >= axis.Minimum()) {
        axis.SetMaximum(maximum);
        axis.SetMinimum(minimum);
    } else {
        axis.SetMinimum(minimum);
        axis.SetMaximum(maximum);
    }
    return true;
}

} // namespace datafiles
