#include "chart/engine/SeriesFunctions.h"

#include "chart/engine/ChartSeries.h"

#include <algorithm>
#include <numeric>

namespace {

// The values of point t of the sources that reach it, in source order.
std::span<const double> ValuesAt(const std::vector<TChartSeries*>& sources, int t, std::vector<double>& buffer,
                                 const QString& valueSource)
{
    buffer.clear();
    for (TChartSeries* s : sources) {
        const std::span<const double> v =
            valueSource.isEmpty() ? s->MandatoryValueList().Values() : s->GetYValueList(valueSource).Values();
        if (t < static_cast<int>(v.size()))
            buffer.push_back(v[static_cast<size_t>(t)]);
    }
    return buffer;
}

std::optional<double> Sum(std::span<const double> v)
{
    return std::accumulate(v.begin(), v.end(), 0.0);
}

std::optional<double> Difference(std::span<const double> v)
{
    if (v.empty())
        return std::nullopt;
    double r = v[0];
    for (size_t i = 1; i < v.size(); ++i)
        r -= v[i];
    return r;
}

std::optional<double> Product(std::span<const double> v)
{
    if (v.empty())
        return std::nullopt;
    double r = v[0];
    for (size_t i = 1; i < v.size(); ++i)
        r *= v[i];
    return r;
}

// A division by zero gives no value, as the trace arithmetic leaves such a point out.
std::optional<double> Quotient(std::span<const double> v)
{
    if (v.empty())
        return std::nullopt;
    double r = v[0];
    for (size_t i = 1; i < v.size(); ++i) {
        if (v[i] == 0.0)
            return std::nullopt;
        r /= v[i];
    }
    return r;
}

std::optional<double> Highest(std::span<const double> v)
{
    if (v.empty())
        return std::nullopt;
    return *std::max_element(v.begin(), v.end());
}

std::optional<double> Lowest(std::span<const double> v)
{
    if (v.empty())
        return std::nullopt;
    return *std::min_element(v.begin(), v.end());
}

std::optional<double> Mean(std::span<const double> v)
{
    if (v.empty())
        return std::nullopt;
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

// The many-sources values read the same column as the period values do.
QString ValueSourceOf(const TPlotFunction& f)
{
    const TChartSeries* parent = f.ParentSeries();
    if (!parent)
        return {};
    return (parent->YMandatory() ? parent->YValues() : parent->XValues()).ValueSource();
}

template <class F>
std::optional<double> Many(const TPlotFunction& f, const std::vector<TChartSeries*>& sources, int t, F reduce)
{
    std::vector<double> buffer;
    buffer.reserve(sources.size());
    return reduce(ValuesAt(sources, t, buffer, ValueSourceOf(f)));
}

template <class T>
std::unique_ptr<TPlotFunction> Make()
{
    return std::make_unique<T>();
}

} // namespace

std::optional<double> TAddFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Sum(PeriodValues(source, first, last));
}
std::optional<double> TAddFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Sum);
}

std::optional<double> TSubtractFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Difference(PeriodValues(source, first, last));
}
std::optional<double> TSubtractFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Difference);
}

std::optional<double> TMultiplyFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Product(PeriodValues(source, first, last));
}
std::optional<double> TMultiplyFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Product);
}

std::optional<double> TDivideFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Quotient(PeriodValues(source, first, last));
}
std::optional<double> TDivideFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Quotient);
}

std::optional<double> THighFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Highest(PeriodValues(source, first, last));
}
std::optional<double> THighFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Highest);
}

std::optional<double> TLowFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Lowest(PeriodValues(source, first, last));
}
std::optional<double> TLowFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Lowest);
}

std::optional<double> TAverageFunction::Calculate(TChartSeries& source, int first, int last)
{
    return Mean(PeriodValues(source, first, last));
}
std::optional<double> TAverageFunction::CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex)
{
    return Many(*this, sources, valueIndex, Mean);
}

const std::vector<TPlotFunctionClass>& PlotFunctionClasses()
{
    static const std::vector<TPlotFunctionClass> classes = {
        {QStringLiteral("TAddFunction"), PlotMsg::FunctionAdd, &Make<TAddFunction>},
        {QStringLiteral("TSubtractFunction"), PlotMsg::FunctionSubtract, &Make<TSubtractFunction>},
        {QStringLiteral("TMultiplyFunction"), PlotMsg::FunctionMultiply, &Make<TMultiplyFunction>},
        {QStringLiteral("TDivideFunction"), PlotMsg::FunctionDivide, &Make<TDivideFunction>},
        {QStringLiteral("THighFunction"), PlotMsg::FunctionHigh, &Make<THighFunction>},
        {QStringLiteral("TLowFunction"), PlotMsg::FunctionLow, &Make<TLowFunction>},
        {QStringLiteral("TAverageFunction"), PlotMsg::FunctionAverage, &Make<TAverageFunction>},
    };
    return classes;
}

const TPlotFunctionClass* FindPlotFunctionClass(const QString& className)
{
    for (const TPlotFunctionClass& c : PlotFunctionClasses())
        if (c.ClassName.compare(className, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}
