#ifndef ZENDRIK_CHART_ENGINE_PLOTFUNCTION_H
#define ZENDRIK_CHART_ENGINE_PLOTFUNCTION_H

#include "chart/engine/ChartComponent.h"

#include <QString>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class TChartSeries;
class TChartValueList;

enum TFunctionPeriodStyle { psNumPoints, psRange };
enum TFunctionPeriodAlign { paFirst, paCenter, paLast };

// Turns the points of the series feeding a series into that series' points: the source is cut
// into periods (a number of points or a span of X), the concrete function gives one value per
// period, and the value becomes a point of the series the function belongs to. With two or more
// sources the function combines the sources point by point instead.
//
// The series owns its function (TChartSeries::SetFunction); the function only refers back to it.
class TPlotFunction : public ChartComponent {
public:
    TPlotFunction() = default;
    ~TPlotFunction() override;

    QString ClassName() const override { return QStringLiteral("TPlotFunction"); }
    virtual QString EditorClassName() const { return QStringLiteral("TPlotFunctionEditor"); }
    // A new function of the same class with the same period settings, for a copied series.
    virtual std::unique_ptr<TPlotFunction> NewOfSameClass() const = 0;

    // Settings; each change recalculates the series.
    double Period() const { return period_; }
    // A negative (or not-a-number) period raises ChartException and keeps the old one.
    void SetPeriod(double value);
    TFunctionPeriodStyle PeriodStyle() const { return periodStyle_; }
    void SetPeriodStyle(TFunctionPeriodStyle value);
    TFunctionPeriodAlign PeriodAlign() const { return periodAlign_; }
    void SetPeriodAlign(TFunctionPeriodAlign value);
    // The function editor offers the period settings.
    bool CanUsePeriod = true;

    TChartSeries* ParentSeries() const { return parent_; }

    // Several changes, one recalculation at the end.
    void BeginUpdate() { updating_ = true; }
    void EndUpdate();
    bool Updating() const { return updating_; }
    // Reloads the series from its sources (which brings the calculation back here).
    void Recalculate();

    // Computes the series' points from source (the series is cleared by the caller).
    virtual void AddPoints(TChartSeries* source);
    // The series was cleared.
    virtual void Clear() {}

    // One value over the points first..last of source (-1, -1: all points); none when the
    // points give no value (a division by zero).
    virtual std::optional<double> Calculate(TChartSeries& source, int first, int last);
    // One value over point valueIndex of every source that has it; none when no source gives one.
    virtual std::optional<double> CalculateMany(const std::vector<TChartSeries*>& sources, int valueIndex);
    // The value of a period of X that holds no point; none adds no point for it.
    virtual std::optional<double> EmptyPeriodValue() const { return std::nullopt; }

    void Assign(const TPlotFunction& source);

protected:
    // The values of source the function works on: the list named by the series' mandatory
    // list's ValueSource, else the source's mandatory list.
    std::span<const double> SourceValues(TChartSeries& source) const;
    // first..last of source's values, or all of them for -1, -1.
    std::span<const double> PeriodValues(TChartSeries& source, int first, int last) const;

    virtual void CalculatePeriod(TChartSeries& source, int first, int last, double x);
    virtual void CalculateAllPoints(TChartSeries& source, TChartValueList& listX);
    virtual void CalculateByPeriod(TChartSeries& source, TChartValueList& listX);
    virtual void CalculateDispatch(TChartSeries& source, TChartValueList& listX);
    void AddFunctionPoint(bool yMandatory, double x, double y);

private:
    friend class TChartSeries;
    void SetParentSeriesField(TChartSeries* series) { parent_ = series; }
    void CalculateManySources(const std::vector<TChartSeries*>& sources);
    double AlignedX(double start, double end) const;

    double period_ = 0.0;
    TFunctionPeriodStyle periodStyle_ = psNumPoints;
    TFunctionPeriodAlign periodAlign_ = paCenter;
    TChartSeries* parent_ = nullptr;
    bool updating_ = false;
};

#endif
