#ifndef ZENDRIK_CHART_TOOLS_SERIESTOOLS_H
#define ZENDRIK_CHART_TOOLS_SERIESTOOLS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotFilters.h"
#include "chart/engine/ChartTools.h"

#include <memory>
#include <optional>

// A picture behind the series, stretched over the series' value range (or the axes' ranges
// without a series), so that it follows zooming and scrolling.
class TChartImageTool : public TPlotCustomToolSeries {
public:
    TChartImageTool();
    ~TChartImageTool() override;

    QString ClassName() const override { return QStringLiteral("TChartImageTool"); }
    QString EditorClassName() const override { return QStringLiteral("TChartImageToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    TPlotPicture& Picture() { return *picture_; }
    // The rectangle the picture is stretched into, in pixels; none without axes or points.
    std::optional<TRect> ImageRect() const;

    void ChartEvent(TChartToolEvent kind) override;

protected:
    std::unique_ptr<TChartPen> CreateChartPen() override;

private:
    std::unique_ptr<TPlotPicture> picture_;
};

// Keeps its series inside the rectangle of the series' own axes: the canvas is clipped to it
// before the series draws and unclipped after.
class TClipSeriesTool : public TPlotCustomToolSeries {
public:
    TClipSeriesTool() = default;

    QString ClassName() const override { return QStringLiteral("TClipSeriesTool"); }
    QString Description() const override;
    QString LongDescription() const override;

    void SeriesEvent(TChartSeriesToolEvent kind) override;

private:
    bool clipped_ = false;
};

#endif
