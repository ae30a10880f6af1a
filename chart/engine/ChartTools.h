#ifndef ZENDRIK_CHART_ENGINE_CHARTTOOLS_H
#define ZENDRIK_CHART_ENGINE_CHARTTOOLS_H

#include "chart/engine/ChartElement.h"

#include <optional>
#include <vector>

class SeriesAxis;
class TChartAxes;
class TChartSeries;
class TPlotCustomTool;

// The chart's tools in calling order. The chart owns its tools; a tool joins and leaves this
// list through its ParentChart.
class TChartTools {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TPlotCustomTool* operator[](int index) const { return Get(index); }
    TPlotCustomTool* Get(int index) const;
    int IndexOf(const TPlotCustomTool* tool) const;
    void Add(TPlotCustomTool* tool);
    void Remove(const TPlotCustomTool* tool);

private:
    std::vector<TPlotCustomTool*> items_;
};

// Drawing stages at which the chart calls its tools.
enum TChartToolEvent { cteAfterDraw, cteBeforeDrawSeries, cteBeforeDraw, cteBeforeDrawAxes, cteAfterDrawSeries, cteMouseLeave };
enum TChartMouseEvent { cmeDown, cmeMove, cmeUp };
enum TChartSeriesToolEvent { steBeforeDrawValues, steAfterDrawValues };

// A chart element the chart calls at its drawing stages and for mouse events.
class TPlotCustomTool : public TCustomChartElement {
public:
    TPlotCustomTool() = default;
    ~TPlotCustomTool() override;

    QString ClassName() const override { return QStringLiteral("TPlotCustomTool"); }
    void SetParentChart(ChartParent* chart) override;

    virtual void ChartEvent(TChartToolEvent kind) { (void)kind; }
    virtual void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y)
    {
        (void)kind, (void)button, (void)shift, (void)x, (void)y;
    }
    virtual void SeriesEvent(TChartSeriesToolEvent kind) { (void)kind; }
    virtual void MouseWheel(int delta, int x, int y) { (void)delta, (void)x, (void)y; }
    virtual QString Description() const { return {}; }
    virtual QString LongDescription() const { return {}; }
};

// A tool bound to one series; it loses the series when the series is destroyed.
class TPlotCustomToolSeries : public TPlotCustomTool {
public:
    TPlotCustomToolSeries() = default;
    ~TPlotCustomToolSeries() override = default;

    QString ClassName() const override { return QStringLiteral("TPlotCustomToolSeries"); }
    QString EditorClassName() const override { return QStringLiteral("TSeriesToolEditor"); }
    TChartSeries* Series() const { return series_; }
    virtual void SetSeries(TChartSeries* series);
    // The series' axes; without a series the standard axis an active series uses.
    SeriesAxis* GetHorizAxis() const;
    SeriesAxis* GetVertAxis() const;
    void Assign(const TPlotCustomToolSeries& source);

protected:
    void Notification(ChartComponent* removed) override;

private:
    TChartSeries* series_ = nullptr;
};

// A tool bound to one axis.
class TPlotCustomToolAxis : public TPlotCustomTool {
public:
    TPlotCustomToolAxis() = default;
    ~TPlotCustomToolAxis() override = default;

    QString ClassName() const override { return QStringLiteral("TPlotCustomToolAxis"); }
    QString EditorClassName() const override { return QStringLiteral("TAxisToolEditor"); }
    SeriesAxis* Axis() const { return axis_; }
    virtual void SetAxis(SeriesAxis* axis);
    // The axis is going away: the tool keeps no reference to it.
    void ForgetAxis(const SeriesAxis* axis);
    void Assign(const TPlotCustomToolAxis& source);

    // "AxisID": the axis' place in the chart's axes, absent without an axis.
    std::optional<int> AxisID(const TChartAxes& axes) const;
    void ReadAxisID(const TChartAxes& axes, int id);

private:
    SeriesAxis* axis_ = nullptr;
};

#endif
