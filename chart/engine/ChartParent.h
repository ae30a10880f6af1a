#ifndef ZENDRIK_CHART_ENGINE_CHARTPARENT_H
#define ZENDRIK_CHART_ENGINE_CHARTPARENT_H

#include "chart/canvas/PlotColor.h"

class ChartComponent;
class TCustomAxisPanel;
class SeriesAxis;
class TChartSeries;
class TChartSeriesList;
class TChartTools;
class TCustomChartSeries;

// Kinds of the series events the chart broadcasts to its listeners.
enum TChartSeriesEventKind {
    seAdd = 0,
    seRemove = 1,
    seChangeTitle = 2,
    seChangeColor = 3,
    seSwap = 4,
    seChangeActive = 5,
    seDataChanged = 6
};

// Colour i of the library's built-in palette of 20 colours (cycling).
TColor LibraryPaletteColor(int index);

// What series and tools need of the chart that holds them. The axis panel implements it; the
// defaults keep a bare chart usable (no axes, no paging, 2D, library palette), so that tests
// only supply the repaint and the lists.
class ChartParent {
public:
    virtual ~ChartParent() = default;

    virtual void Repaint() = 0;
    virtual TChartSeriesList& SeriesList() = 0;
    virtual TChartTools& Tools() = 0;

    // Standard axes; none in a bare chart.
    virtual SeriesAxis* BottomAxis() const { return nullptr; }
    virtual SeriesAxis* TopAxis() const { return nullptr; }
    virtual SeriesAxis* LeftAxis() const { return nullptr; }
    virtual SeriesAxis* RightAxis() const { return nullptr; }
    virtual SeriesAxis* DepthAxis() const { return nullptr; }
    virtual SeriesAxis* DepthTopAxis() const { return nullptr; }
    virtual void SetAxisVisible(bool value) { (void)value; }

    // Joining and leaving: the defaults keep the series list and broadcast the event.
    virtual void InternalAddSeries(TCustomChartSeries& series);
    virtual void RemoveSeries(TCustomChartSeries& series);
    virtual void BroadcastSeriesEvent(TCustomChartSeries* series, TChartSeriesEventKind kind);
    virtual void SeriesChanged(TCustomChartSeries* series) { (void)series; }
    // A series of this chart is about to be freed: whoever holds it must forget it now.
    virtual void SeriesFreeing(TCustomChartSeries& series) { (void)series; }

    // Palette.
    virtual TColor GetDefaultColor(int index) const { return LibraryPaletteColor(index); }
    virtual TColor GetFreeSeriesColor(bool checkBackground, const TChartSeries* series);

    // Data sources.
    virtual bool IsValidDataSource(TChartSeries& series, ChartComponent* source);
    virtual void CheckDatasource(TChartSeries& series);

    // Paging and depth.
    virtual int MaxPointsPerPage() const { return 0; }
    virtual int CurrentPage() const { return 1; }
    virtual bool View3D() const { return false; }
    virtual void SetView3D(bool value) { (void)value; }
    virtual int SeriesDepth3D() const { return 0; }
    virtual bool ZOrderCheck() const { return false; }
    int MaxZOrder() const { return maxZOrder_; }
    void SetMaxZOrder(int value) { maxZOrder_ = value; }

    // The mouse cursor shown over the chart (a series under the mouse may change it).
    virtual void SetChartCursor(int cursor) { (void)cursor; }

    virtual bool ChartLoading() const { return false; }
    virtual bool ChartDestroying() const { return false; }

    // The axis panel behind this parent; null for a bare chart (drawing needs a panel).
    virtual TCustomAxisPanel* AxisPanel() { return nullptr; }

private:
    int maxZOrder_ = 0;
};

#endif
