#ifndef ZENDRIK_CHART_TOOLS_COLORLINETOOL_H
#define ZENDRIK_CHART_TOOLS_COLORLINETOOL_H

#include "chart/engine/ChartTools.h"

#include <functional>
#include <optional>

class TChartAxis;
class TChartPen;
class TColorLineTool;
class TCustomAxisPanel;

// A line across the chart at a value of an axis (a vertical line for a horizontal axis), as the
// colour line and the colour band's edges draw and drag it.
namespace axisline {

// The line's pixel along the axis; none when the value lies off the axis.
std::optional<int> Pixel(const TChartAxis& axis, double value);
// Draws the line with the pen on the chart's canvas; in a 3D chart with draw3D on the back plane
// with a line along the depth at the axis' edge, otherwise on the front plane.
void Draw(TCustomAxisPanel& panel, const TChartAxis& axis, int pixel, TChartPen& pen, bool draw3D);
// The point lies on the line (3 pixels either way), within the chart rectangle.
bool Near(const TCustomAxisPanel& panel, const TChartAxis& axis, int pixel, int x, int y);

// The drag of one line: started by a press on it, each move gives a new value (within the axis'
// range unless noLimit), shown either by repainting the chart or by an inverting copy of the
// line moved on the window surface; the end repaints.
class Drag {
public:
    bool Active() const { return active_; }
    void Begin() { active_ = true, xorPixel_ = -1; }
    double Move(TCustomAxisPanel& panel, const TChartAxis& axis, const TChartPen& pen, int x, int y, bool noLimit,
                bool repaint);
    void End(TCustomAxisPanel& panel);
    // A drawing of the chart during the drag covers the window surface: the inverting copy is
    // drawn again with it (after-draw event), so that the next move erases it where it is.
    void RedrawWithChart(TCustomAxisPanel& panel, const TChartAxis& axis, const TChartPen& pen);

private:
    void DrawInverted(TCustomAxisPanel& panel, const TChartAxis& axis, const TChartPen& pen, int pixel,
                      bool onChart = false);

    bool active_ = false;
    int xorPixel_ = -1;
};

} // namespace axisline

enum TColorLineStyle { clCustom, clMaximum, clCenter, clMinimum };

using TColorLineToolEvent = std::function<void(TColorLineTool* sender)>;

// A line across the chart at a value of its axis, at the axis' maximum, centre or minimum; the
// user drags a custom one with the left button.
class TColorLineTool : public TPlotCustomToolAxis {
public:
    TColorLineTool() = default;

    QString ClassName() const override { return QStringLiteral("TColorLineTool"); }
    QString EditorClassName() const override { return QStringLiteral("TColorLineToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;

    double Value() const { return value_; }
    void SetValue(double value) { SetAndRepaint(value_, value); }
    TColorLineStyle Style() const { return style_; }
    void SetStyle(TColorLineStyle value) { SetAndRepaint(style_, value); }
    bool AllowDrag() const { return allowDrag_; }
    void SetAllowDrag(bool value) { allowDrag_ = value; }
    bool DragRepaint() const { return dragRepaint_; }
    void SetDragRepaint(bool value) { dragRepaint_ = value; }
    bool Draw3D() const { return draw3D_; }
    void SetDraw3D(bool value) { SetAndRepaint(draw3D_, value); }
    // Drawn before the series instead of after the whole chart.
    bool DrawBehind() const { return drawBehind_; }
    void SetDrawBehind(bool value) { SetAndRepaint(drawBehind_, value); }
    bool NoLimitDrag() const { return noLimitDrag_; }
    void SetNoLimitDrag(bool value) { noLimitDrag_ = value; }
    bool Dragging() const { return drag_.Active(); }

    // The value the line shows: Value, or the axis' maximum, centre or minimum by Style.
    double LineValue() const;

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TColorLineToolEvent OnBeginDragLine;
    TColorLineToolEvent OnDragLine;
    TColorLineToolEvent OnEndDragLine;

private:
    TCustomAxisPanel* Panel() const;
    TChartAxis* ChartAxis() const;

    double value_ = 0.0;
    TColorLineStyle style_ = clCustom;
    bool allowDrag_ = true;
    bool dragRepaint_ = false;
    bool draw3D_ = true;
    bool drawBehind_ = false;
    bool noLimitDrag_ = false;
    axisline::Drag drag_;
};

#endif
