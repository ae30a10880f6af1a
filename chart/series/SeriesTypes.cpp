#include "chart/series/SeriesTypes.h"

#include <algorithm>

const TPlotSeriesType* TPlotSeriesTypes::FindSeriesClass(const TChartSeriesClass& seriesClass) const
{
    for (const TPlotSeriesType& type : items_)
        if (type.SeriesClass == &seriesClass && !type.FunctionClass)
            return &type;
    return nullptr;
}

const TPlotSeriesType* TPlotSeriesTypes::FindSeriesClass(const QString& className) const
{
    for (const TPlotSeriesType& type : items_)
        if (type.SeriesClass && !type.FunctionClass
            && type.SeriesClass->Name.compare(className, Qt::CaseInsensitive) == 0)
            return &type;
    return nullptr;
}

void TPlotSeriesTypes::Register(const TPlotSeriesType& type)
{
    if (type.SubIndex == 0)
        for (const TPlotSeriesType& existing : items_)
            if (existing.SeriesClass == type.SeriesClass && existing.FunctionClass == type.FunctionClass)
                return;
    items_.push_back(type);
}

int TPlotToolTypes::IndexOf(const TPlotToolClass& toolClass) const
{
    const auto it = std::find(items_.begin(), items_.end(), &toolClass);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TPlotToolTypes::Add(const TPlotToolClass& toolClass)
{
    if (!Contains(toolClass))
        items_.push_back(&toolClass);
}

void TPlotToolTypes::Remove(const TPlotToolClass& toolClass)
{
    items_.erase(std::remove(items_.begin(), items_.end(), &toolClass), items_.end());
}
