#ifndef ZENDRIK_CHART_SERIES_CHARTCLASSES_H
#define ZENDRIK_CHART_SERIES_CHARTCLASSES_H

#include <QString>
#include <functional>
#include <map>
#include <memory>

class ChartComponent;
class TChartSeries;
class TPlotCustomTool;

// A class of chart part as the registries know it: its name and its virtual constructor. There
// is one instance per class (SeriesClassOf, ToolClassOf), so two references to one class are
// the same object.
template <class Base> struct TChartPartClass {
    QString Name;
    std::unique_ptr<Base> (*Create)() = nullptr;
};
using TChartSeriesClass = TChartPartClass<TChartSeries>;
using TPlotToolClass = TChartPartClass<TPlotCustomTool>;

// The class reference of a series or tool type that is made without arguments. The name is
// the one the type reports (ClassName), read once from a sample.
template <class T> const TChartSeriesClass& SeriesClassOf()
{
    static const TChartSeriesClass cls {
        T().ClassName(), []() -> std::unique_ptr<TChartSeries> { return std::make_unique<T>(); }};
    return cls;
}

template <class T> const TPlotToolClass& ToolClassOf()
{
    static const TPlotToolClass cls {
        T().ClassName(), []() -> std::unique_ptr<TPlotCustomTool> { return std::make_unique<T>(); }};
    return cls;
}

// The classes a stored chart creates its parts by: one map from class name to constructor, for
// series, functions and tools alike. Names are compared without regard to case.
class TChartClassFactory {
public:
    using Creator = std::function<std::unique_ptr<ChartComponent>()>;

    int Count() const { return static_cast<int>(creators_.size()); }
    bool IsRegistered(const QString& className) const;
    // A name that is registered already keeps its first constructor.
    void Register(const QString& className, Creator create);
    void Register(const TChartSeriesClass& cls);
    void Register(const TPlotToolClass& cls);
    void Unregister(const QString& className);
    void Clear() { creators_.clear(); }

    // A new part of the named class; null for a name that is not registered.
    std::unique_ptr<ChartComponent> Create(const QString& className) const;
    // The same, null also when the part is not a T.
    template <class T> std::unique_ptr<T> CreateAs(const QString& className) const
    {
        std::unique_ptr<ChartComponent> part = Create(className);
        if (auto* typed = dynamic_cast<T*>(part.get())) {
            part.release();
            return std::unique_ptr<T>(typed);
        }
        return nullptr;
    }

private:
    std::map<QString, Creator> creators_;
};

#endif
