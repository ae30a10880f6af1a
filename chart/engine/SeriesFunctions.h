#ifndef ZENDRIK_CHART_ENGINE_SERIESFUNCTIONS_H
#define ZENDRIK_CHART_ENGINE_SERIESFUNCTIONS_H

#include "chart/engine/PlotFunction.h"
#include "chart/engine/PlotMessages.h"

#include <QString>
#include <memory>
#include <vector>

// The calculated series the gallery offers. Over one source they reduce the values of a period;
// over several sources they combine the values of the sources at each point index (only the
// sources that reach that index take part).
//
// Add: the sum (an empty period of X sums to 0). Subtract: the first value less the others.
// Multiply: the product. Divide: the first value divided by the others, no point when one of
// them is 0. High and Low: the largest and smallest value. Average: the mean.
template <class Derived>
class TPlotFunctionOf : public TPlotFunction {
public:
    std::unique_ptr<TPlotFunction> NewOfSameClass() const override
    {
        auto copy = std::make_unique<Derived>();
        copy->Assign(*this);
        return copy;
    }
};

class TAddFunction : public TPlotFunctionOf<TAddFunction> {
public:
    QString ClassName() const override { return QStringLiteral("TAddFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
    std::optional<double> EmptyPeriodValue() const override { return 0.0; }
};

class TSubtractFunction : public TPlotFunctionOf<TSubtractFunction> {
public:
    QString ClassName() const override { return QStringLiteral("TSubtractFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

class TMultiplyFunction : public TPlotFunctionOf<TMultiplyFunction> {
public:
    QString ClassName() const override { return QStringLiteral("TMultiplyFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

class TDivideFunction : public TPlotFunctionOf<TDivideFunction> {
public:
    QString ClassName() const override { return QStringLiteral("TDivideFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

class THighFunction : public TPlotFunctionOf<THighFunction> {
public:
    QString ClassName() const override { return QStringLiteral("THighFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

class TLowFunction : public TPlotFunctionOf<TLowFunction> {
public:
    QString ClassName() const override { return QStringLiteral("TLowFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

class TAverageFunction : public TPlotFunctionOf<TAverageFunction> {
public:
    QString ClassName() const override { return QStringLiteral("TAverageFunction"); }
    std::optional<double> Calculate(TChartSeries& source, int first, int last) override;
    std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex) override;
};

// A function class as the series registry and the form reader find it: by class name, with the
// library text that names it in the gallery.
struct TPlotFunctionClass {
    QString ClassName;
    PlotMsg Description;
    std::unique_ptr<TPlotFunction> (*Create)();
};

// Add, Subtract, Multiply, Divide, High, Low, Average, in that order.
const std::vector<TPlotFunctionClass>& PlotFunctionClasses();
// Null for a class name that is not among them (compared without regard to case).
const TPlotFunctionClass* FindPlotFunctionClass(const QString& className);

#endif
