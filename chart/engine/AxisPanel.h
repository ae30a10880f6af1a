#ifndef ZENDRIK_CHART_ENGINE_AXISPANEL_H
#define ZENDRIK_CHART_ENGINE_AXISPANEL_H

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"

#include <QString>
#include <functional>
#include <memory>
#include <vector>

class TChartPage;
class TChartSeries;
class TCustomAxisPanel;

// A series event as the chart's listeners receive it.
class TPlotSeriesEvent : public TPlotEvent {
public:
    TChartSeriesEventKind Event = seAdd;
    TCustomChartSeries* Series = nullptr;
};

// Sent to the listeners after the current page changed.
class TChartChangePage : public TPlotEvent {};

using TSeriesNotifyEvent = std::function<void(TCustomAxisPanel* sender, TCustomChartSeries* series)>;

// The extra axes of a chart, behind the six standard ones in the chart's axes list. The
// collection owns them.
class TChartCustomAxes {
public:
    explicit TChartCustomAxes(TCustomAxisPanel& chart) : chart_(chart) {}
    TChartCustomAxes(const TChartCustomAxes&) = delete;
    TChartCustomAxes& operator=(const TChartCustomAxes&) = delete;
    ~TChartCustomAxes();

    int Count() const { return static_cast<int>(items_.size()); }
    TChartAxis* Items(int index) const { return items_.at(static_cast<size_t>(index)).get(); }
    TChartAxis* operator[](int index) const { return Items(index); }
    // A new vertical axis on the chart's own side.
    TChartAxis& Add();
    void Delete(int index);
    void Clear();
    // Same number of axes with the same settings.
    void Assign(const TChartCustomAxes& source);

private:
    TCustomAxisPanel& chart_;
    std::vector<std::unique_ptr<TChartAxis>> items_;
};

// The chart control with axes: the series in drawing order, the six standard axes and the custom
// axes, the tools, paging and the fixed order in which a chart is drawn. The walls, titles,
// legend and the free-colour test are left to the chart that derives from it.
//
// Repaints: the engine's repaint request (ChartParent::Repaint, called by every setter of a
// series, an axis or a tool) is the panel's deferred Invalidate, so many changes give one
// drawing. RepaintNow draws at once.
//
// Ownership: series and tools handed over as unique_ptr belong to the chart and die with it;
// series and tools added by pointer belong to their creator and are only detached when the
// chart goes.
class TCustomAxisPanel : public TCustomPlotPanelExtended, public ChartParent {
    Q_OBJECT
public:
    explicit TCustomAxisPanel(QWidget* parent = nullptr);
    ~TCustomAxisPanel() override;

    // --- ChartParent
    void Repaint() override { Invalidate(); }
    void RepaintNow() { TCustomPlotPanel::Repaint(); }
    TChartSeriesList& SeriesList() override { return seriesList_; }
    const TChartSeriesList& SeriesList() const { return seriesList_; }
    TChartTools& Tools() override { return tools_; }
    TChartAxis* BottomAxis() const override { return bottomAxis_.get(); }
    TChartAxis* TopAxis() const override { return topAxis_.get(); }
    TChartAxis* LeftAxis() const override { return leftAxis_.get(); }
    TChartAxis* RightAxis() const override { return rightAxis_.get(); }
    TChartDepthAxis* DepthAxis() const override { return depthAxis_.get(); }
    TChartDepthAxis* DepthTopAxis() const override { return depthTopAxis_.get(); }
    void InternalAddSeries(TCustomChartSeries& series) override;
    void RemoveSeries(TCustomChartSeries& series) override;
    void BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEventKind kind) override;
    TColor GetDefaultColor(int index) const override;
    TColor GetFreeSeriesColor(bool checkBackground, const TChartSeries* series) override;
    int MaxPointsPerPage() const override;
    int CurrentPage() const override;
    bool View3D() const override { return TCustomPlotPanel::View3D(); }
    void SetView3D(bool value) override { TCustomPlotPanel::SetView3D(value); }
    int SeriesDepth3D() const override { return SeriesWidth3D; }
    bool ZOrderCheck() const override { return ZOrderSwitch(); }
    void SetChartCursor(int cursor) override;
    bool ChartLoading() const override { return IsLoading(); }
    bool ChartDestroying() const override { return destroyingChart_; }
    TCustomAxisPanel* AxisPanel() override { return this; }

    // --- Settings
    int Chart3DPercent() const { return chart3DPercent_; }
    // 1..100; other values raise ChartException and keep the old one.
    void SetChart3DPercent(int value);
    bool AxisBehind() const { return axisBehind_; }
    void SetAxisBehind(bool value) { SetAndInvalidate(axisBehind_, value); }
    bool AxisVisible() const { return axisVisible_; }
    void SetAxisVisible(bool value) override { SetAndInvalidate(axisVisible_, value); }
    bool ClipPoints() const { return clipPoints_; }
    void SetClipPoints(bool value) { SetAndInvalidate(clipPoints_, value); }
    bool View3DWalls() const { return view3DWalls_; }
    void SetView3DWalls(bool value) { SetAndInvalidate(view3DWalls_, value); }
    const std::vector<TColor>& ColorPalette() const { return colorPalette_; }
    void SetColorPalette(const std::vector<TColor>& value);

    // --- Axes, pages, groups
    TChartAxes& Axes() { return axes_; }
    const TChartAxes& Axes() const { return axes_; }
    TChartCustomAxes& CustomAxes() { return customAxes_; }
    void SetCustomAxes(const TChartCustomAxes& value) { customAxes_.Assign(value); }
    TSeriesGroups& SeriesGroups() { return seriesList_.SeriesGroups(); }
    TChartPage& Pages() { return *pages_; }
    const TChartPage& Pages() const { return *pages_; }
    void SetPages(const TChartPage& value);
    // Pages of the current paging (1 without paging).
    int NumPages() const;
    // The visibility the last axis layout computed.
    bool IsAxisVisible(const TChartAxis& axis) const;

    // --- Series
    int SeriesCount() const { return seriesList_.Count(); }
    TCustomChartSeries* Series(int index) const { return seriesList_[index]; }
    TChartSeries* ChartSeries(int index) const;
    int CountActiveSeries() const;
    // Puts a series on this chart; the caller keeps owning it.
    TChartSeries* AddSeries(TChartSeries* series);
    // Puts a series on this chart, which owns it from now on.
    TChartSeries* AddSeries(std::unique_ptr<TChartSeries> series);
    bool OwnsSeries(const TCustomChartSeries* series) const;
    // Hands a series this chart owns over to the caller; it keeps its place in the list. Null
    // for a series the chart does not own.
    std::unique_ptr<TCustomChartSeries> ReleaseSeries(const TCustomChartSeries* series);
    template <class T>
    T& AddNewSeries()
    {
        auto series = std::make_unique<T>();
        T& result = *series;
        AddSeries(std::move(series));
        return result;
    }
    void RemoveSeries(int index);
    // Removes every series (only those the filter accepts when one is given); the ones this
    // chart owns are freed, the others are only detached.
    void FreeAllSeries(const std::function<bool(const TCustomChartSeries&)>& which = {});
    void ExchangeSeries(int index1, int index2);
    void ExchangeSeries(TCustomChartSeries* series1, TCustomChartSeries* series2);
    // The chart owns this tool from now on.
    TPlotCustomTool* AddTool(std::unique_ptr<TPlotCustomTool> tool);

    // First active series on the axis, or any series on it when none is active; null for none.
    TChartSeries* GetAxisSeries(const SeriesAxis* axis) const;
    // Among the same candidates, the one with the most points (the first on a tie).
    TChartSeries* GetAxisSeriesMaxPoints(const SeriesAxis* axis) const;
    int GetMaxValuesCount() const;
    // The data range an automatic axis shows along X (isX) or Y; paging aware.
    double AxisDataMinMax(const TChartAxis& axis, bool isX, bool isMax);
    double MaxXValue(const TChartAxis& axis) { return AxisDataMinMax(axis, true, true); }
    double MaxYValue(const TChartAxis& axis) { return AxisDataMinMax(axis, false, true); }
    double MinXValue(const TChartAxis& axis) { return AxisDataMinMax(axis, true, false); }
    double MinYValue(const TChartAxis& axis) { return AxisDataMinMax(axis, false, false); }

    TCustomChartSeries* SeriesLegend(int itemIndex, bool onlyActive) const;
    TCustomChartSeries* ActiveSeriesLegend(int itemIndex) const { return SeriesLegend(itemIndex, true); }
    QString SeriesTitleLegend(int itemIndex, bool onlyActive) const;
    // Widest point label of all series (each label measured by its widest line).
    int MaxTextWidth();
    // Widest mark text of the active series.
    int MaxMarkWidth();
    // Widest line of a text split at character 13, and the number of lines (0 for no text).
    int MultiLineTextWidth(const QString& text, int& numLines);

    void AssignSeriesColors();
    // Every active series, last to first, reacts to the mouse; true when one is under it.
    bool CheckMouseSeries(int x, int y);
    void BroadcastToolEvent(TChartToolEvent kind);

    void Assign(const TCustomAxisPanel& source);
    // Also the older page properties "MaxPointsPerPage", "Page" and "ScaleLastPage".
    bool ReadLegacyProperty(const QString& name, const QVariant& value) override;

    // Thickness of the wall beside an axis (3D charts with walls); the chart fills it.
    virtual int GetWallSize(const TChartAxis& axis) const = 0;
    virtual bool IsViewMirrored(int z);

    // --- Drawing (AxisPanelDraw.cpp)
    // The whole chart in its fixed order: background, titles and legend, walls, axes behind or
    // in front of the series, tools and the drawing events.
    void DrawChartContents();
    // Depth of one series plane and the chart's 3D size.
    void CalcSize3DWalls();
    // The axes take their room from the chart rectangle.
    void CalcAxisRect();
    // The labels on the ends of the axes keep inside the panel's frame.
    void KeepEndLabelsInside(TRect& work);
    // Series that need room at the ends of an axis widen its range.
    void CalcSeriesRect();
    void DrawAxes();
    void DrawAllSeries();
    virtual void DrawLegendRect(const TRect& rect);
    virtual QString FormattedLegendText(TCustomChartSeries& series, int valueIndex);
    // Background of the legend being drawn (DrawLegendRect keeps symbols of that colour visible).
    TColor LegendBackColor = clWhite;
    // The pen every legend symbol is drawn with while the legend has one of its own; null: each
    // series' own pen.
    TChartPen* LegendPen = nullptr;
    // Width, height and centre of the chart rectangle after it changed.
    void RecalcChartBounds();

    // Working state of the last drawing.
    int32_t SeriesWidth3D = 0;
    int32_t SeriesHeight3D = 0;
    int32_t Width3D = 0;
    int32_t Height3D = 0;
    bool ReversedOrder = false;
    bool SeriesBroadcastLock = false;
    // The coordinate limit the axes clamp to (the engine start-up's value).
    int32_t PixelLimit = PixelCoordinateLimit;

    // Events.
    TSeriesNotifyEvent OnAddSeries;
    TSeriesNotifyEvent OnRemoveSeries;
    TNotifyEvent OnBeforeDrawChart;
    TNotifyEvent OnBeforeDrawAxes;
    TNotifyEvent OnBeforeDrawSeries;
    TNotifyEvent OnPageChange;
    TAxisGetLabelEvent OnGetAxisLabel;
    TAxisGetNextLabelEvent OnGetNextAxisLabel;

protected:
    // Filled by the chart: walls, titles and legend, the free-colour test.
    virtual void CalcWallsRect() = 0;
    virtual void DrawTitlesAndLegend(bool beforeSeries) = 0;
    virtual void DrawWalls() = 0;
    virtual bool IsFreeSeriesColor(TColor color, bool checkBackground, const TChartSeries* skip) = 0;

    virtual void DoAfterDraw();
    virtual void DoBeforeDrawAxes();
    virtual void DoBeforeDrawChart();
    virtual void DoBeforeDrawSeries();

    void InternalDraw(const TRect& userRect) override;
    void leaveEvent(QEvent* event) override;

private:
    friend class TChartPage;
    void NotifyPageChange();
    bool ComputeAxisVisible(const TChartAxis& axis) const;
    void AssignDepthIndexes();
    void DrawSeriesAlone(TChartSeries& series);
    void DrawSeriesSameZ(const std::vector<TChartSeries*>& group);
    void DrawSeriesMarks(TChartSeries& series);
    bool ClipSeries(const TChartSeries& series) const;
    void ClipSeriesArea();

    bool destroyingChart_ = false;
    int chart3DPercent_ = 15;
    bool axisBehind_ = true;
    bool axisVisible_ = true;
    bool clipPoints_ = true;
    bool view3DWalls_ = true;
    std::vector<TColor> colorPalette_;
    TChartSeriesList seriesList_{this};
    TChartTools tools_;
    TChartAxes axes_{*this};
    TChartCustomAxes customAxes_{*this};
    std::unique_ptr<TChartAxis> bottomAxis_;
    std::unique_ptr<TChartAxis> topAxis_;
    std::unique_ptr<TChartAxis> leftAxis_;
    std::unique_ptr<TChartAxis> rightAxis_;
    std::unique_ptr<TChartDepthAxis> depthAxis_;
    std::unique_ptr<TChartDepthAxis> depthTopAxis_;
    std::unique_ptr<TChartPage> pages_;
    std::vector<std::unique_ptr<TCustomChartSeries>> ownedSeries_;
    std::vector<std::unique_ptr<TPlotCustomTool>> ownedTools_;
};

#endif
