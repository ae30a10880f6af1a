#ifndef ZENDRIK_ENGINE_AXISPARENT_H
#define ZENDRIK_ENGINE_AXISPARENT_H

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotShape.h"
#include "chart/engine/ChartParent.h"

#include <QString>
#include <functional>

class TCanvas3D;
class TChartAxes;
class TChartAxis;
class TChartSeries;

// The chart's label events: rewrite a label text, and supply the label values one by one.
using TAxisGetLabelEvent = std::function<void(TChartAxis* sender, TChartSeries* series, int valueIndex, QString& text)>;
using TAxisGetNextLabelEvent =
    std::function<void(TChartAxis* sender, int labelIndex, double& labelValue, bool& stop)>;

// What an axis needs of the chart that owns it: the chart rectangle, the canvas, the list of
// axes, the series and the chart's label events. The axis panel implements it; the defaults
// describe a flat chart without walls, so a test chart only supplies the abstract members.
class AxisParent : public ChartParent, public PlotShapeOwner {
public:
    virtual TRect ChartRect() const = 0;
    virtual TCanvas3D& Canvas() = 0;
    virtual TChartAxes& AxesList() = 0;

    TCanvas3D& ShapeCanvas() override { return Canvas(); }
    void Invalidate() override { Repaint(); }

    // 3D depth of the chart in pixels; 0 for a flat chart.
    virtual int Width3D() const { return View3D() ? SeriesDepth3D() : 0; }
    virtual bool View3DOrthogonal() const { return true; }
    // The axes list's request for the unclamped linear conversion.
    virtual bool AxesFastCalc() const { return false; }
    // The library's pixel coordinate limit, set by the engine start-up.
    virtual int32_t PixelLimit() const { return PixelCoordinateLimit; }
    // Thickness of the wall on the axis' side (3D charts with walls).
    virtual int AxisWallSize(const TChartAxis& axis) const;
    // Whether the chart shows the axis (for hit tests).
    virtual bool ShowsAxis(const TChartAxis& axis) const;

    // Largest and smallest value of the active series on the axis in its direction; 0 when
    // none has points.
    virtual double MaxValueOfAxis(const TChartAxis& axis);
    virtual double MinValueOfAxis(const TChartAxis& axis);
    // The mark text of a point (the series' value in its value format).
    virtual QString SeriesMarkText(TChartSeries& series, int valueIndex);
    // The legend title of a series (the depth axis writes it).
    virtual QString SeriesLegendTitle(TChartSeries& series);

    TAxisGetLabelEvent OnGetAxisLabel;
    TAxisGetNextLabelEvent OnGetNextAxisLabel;
    // May change the computed label size of an axis before the layout takes it.
    std::function<void(TChartAxis& axis, int& size)> OnAxisLabelsSize;
};

#endif
