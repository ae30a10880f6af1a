#ifndef ZENDRIK_CHART_TOOLS_BANDTOOLS_H
#define ZENDRIK_CHART_TOOLS_BANDTOOLS_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/canvas/PlotFilters.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/engine/ChartTools.h"
#include "chart/tools/AnnotationTool.h"
#include "chart/tools/ColorLineTool.h"

#include <memory>
#include <optional>
#include <vector>

class TChartAxis;
class TColorBandTool;
class TCustomAxisPanel;

// How a band is filled: a picture, else a visible gradient, else the colour in the brush's
// style; translucent by Transparency percent.
struct BandFill {
    TChartBrush* Brush = nullptr;
    TColor Color = clWhite;
    TCustomPlotGradient* Gradient = nullptr;
    TPlotPicture* Picture = nullptr;
    int Transparency = 0;
    TChartPen* Frame = nullptr;     // none or hidden: no frame
};

// The band of an axis' value range across the chart, as drawn: clipped to the axis' extent;
// none when the range lies off the axis.
std::optional<TRect> AxisBandRect(const TCustomAxisPanel& panel, const TChartAxis& axis, double from, double to);
// Fills a band rectangle on the chart's canvas (on the back plane of a 3D chart when behind).
void FillBand(TCustomAxisPanel& panel, const TRect& rect, const BandFill& fill, bool behind);

using TColorBandResizedEvent = std::function<void(TColorBandTool* sender)>;

// A coloured band between two values of an axis across the chart: behind the axes, behind the
// series or over the finished chart. With ResizeStart or ResizeEnd its edges are lines in their
// own pens that the user drags like colour lines.
class TColorBandTool : public TPlotCustomToolAxis {
public:
    TColorBandTool();
    ~TColorBandTool() override;

    QString ClassName() const override { return QStringLiteral("TColorBandTool"); }
    QString EditorClassName() const override { return QStringLiteral("TColorBandToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    double StartValue() const { return startValue_; }
    void SetStartValue(double value) { SetAndRepaint(startValue_, value); }
    double EndValue() const { return endValue_; }
    void SetEndValue(double value) { SetAndRepaint(endValue_, value); }
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetAndRepaint(color_, value); }
    TPlotGradient& Gradient() { return *gradient_; }
    TPlotPicture& Picture() { return *picture_; }
    int Transparency() const { return transparency_; }
    void SetTransparency(int value) { SetAndRepaint(transparency_, value); }
    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor value) { cursor_ = value; }
    bool DrawBehind() const { return drawBehind_; }
    void SetDrawBehind(bool value) { SetAndRepaint(drawBehind_, value); }
    bool DrawBehindAxes() const { return drawBehindAxes_; }
    void SetDrawBehindAxes(bool value) { SetAndRepaint(drawBehindAxes_, value); }
    bool ResizeStart() const { return resizeStart_; }
    void SetResizeStart(bool value) { SetAndRepaint(resizeStart_, value); }
    bool ResizeEnd() const { return resizeEnd_; }
    void SetResizeEnd(bool value) { SetAndRepaint(resizeEnd_, value); }
    TChartPen& StartLinePen() { return *startLinePen_; }
    TChartPen& EndLinePen() { return *endLinePen_; }
    // The band's rectangle as it is drawn now; none while it lies off its axis.
    std::optional<TRect> BandRect() const;

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TToolClickEvent OnClick;
    TColorBandResizedEvent OnResized;

private:
    TCustomAxisPanel* Panel() const;
    TChartAxis* ChartAxis() const;
    TChartToolEvent DrawingStage() const;
    bool NearEdge(bool start, int x, int y) const;

    double startValue_ = 0.0;
    double endValue_ = 0.0;
    TColor color_ = clWhite;
    std::unique_ptr<TPlotGradient> gradient_;
    std::unique_ptr<TPlotPicture> picture_;
    int transparency_ = 0;
    TCursor cursor_ = crDefault;
    bool drawBehind_ = true;
    bool drawBehindAxes_ = false;
    bool resizeStart_ = false;
    bool resizeEnd_ = false;
    std::unique_ptr<TChartPen> startLinePen_;
    std::unique_ptr<TChartPen> endLinePen_;
    axisline::Drag startDrag_;
    axisline::Drag endDrag_;
};

// The brush of a grid band: a chart brush with a gradient and a transparency.
class TGridBandBrush : public TChartBrush {
public:
    explicit TGridBandBrush(TNotifyEvent onChange = {});
    ~TGridBandBrush() override;

    TPlotGradient& Gradient() { return *gradient_; }
    int Transparency() const { return transparency_; }
    void SetTransparency(int value);

private:
    std::unique_ptr<TPlotGradient> gradient_;
    int transparency_ = 0;
};

// Fills the spaces between consecutive grid lines of its axis alternately with Band1 and Band2,
// under the grid lines and the series.
class TGridBandTool : public TPlotCustomToolAxis {
public:
    TGridBandTool();

    QString ClassName() const override { return QStringLiteral("TGridBandTool"); }
    QString EditorClassName() const override { return QStringLiteral("TGridBandToolEdit"); }
    QString Description() const override;
    QString LongDescription() const override;

    TGridBandBrush& Band1() { return band1_; }
    TGridBandBrush& Band2() { return band2_; }

    void ChartEvent(TChartToolEvent kind) override;

private:
    void DrawBands(TCustomAxisPanel& panel, TChartAxis& axis);

    TGridBandBrush band1_;
    TGridBandBrush band2_;
    bool drawn_ = false;
};

// The pixels of an axis' grid lines in the drawing under way, ascending. The axis computes its
// label positions only while it draws its labels, which comes after what stands behind it; the
// label pass is run here once more on a scratch picture to learn them.
std::vector<int> AxisGridPositions(TCustomAxisPanel& panel, TChartAxis& axis);

#endif
