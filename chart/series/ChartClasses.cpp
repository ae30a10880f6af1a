#include "chart/series/ChartClasses.h"

#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartTools.h"

namespace {

QString Key(const QString& className)
{
    return className.toUpper();
}

} // namespace

bool TChartClassFactory::IsRegistered(const QString& className) const
{
    return creators_.count(Key(className)) > 0;
}

void TChartClassFactory::Register(const QString& className, Creator create)
{
    if (className.isEmpty() || !create)
        return;
    creators_.emplace(Key(className), std::move(create));
}

void TChartClassFactory::Register(const TChartSeriesClass& cls)
{
    if (!cls.Create)
        return;
    Register(cls.Name, [create = cls.Create]() -> std::unique_ptr<ChartComponent> { return create(); });
}

void TChartClassFactory::Register(const TPlotToolClass& cls)
{
    if (!cls.Create)
        return;
    Register(cls.Name, [create = cls.Create]() -> std::unique_ptr<ChartComponent> { return create(); });
}

void TChartClassFactory::Unregister(const QString& className)
{
    creators_.erase(Key(className));
}

std::unique_ptr<ChartComponent> TChartClassFactory::Create(const QString& className) const
{
    const auto it = creators_.find(Key(className));
    return it == creators_.end() ? nullptr : it->second();
}
