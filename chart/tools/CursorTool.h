#ifndef ZENDRIK_CHART_TOOLS_CURSORTOOL_H
#define ZENDRIK_CHART_TOOLS_CURSORTOOL_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/engine/ChartTools.h"
#include "chart/tools/CursorSnap.h"
#include "chart/tools/InvertingPen.h"

#include <functional>

class TChartAxis;
class TChartSeries;
class TCursorTool;
class TCustomAxisPanel;

enum TCursorToolStyle { cssHorizontal, cssVertical, cssBoth, cssScope, cssScopeOnly };
enum TCursorToolScopeStyle { scsRectangle, scsCircle, scsDiamond, scsEmpty, scsCamera };
enum TCursorToolSnapStyle { ssDefault, ssHorizontal, ssVertical };
// The part of a cursor under a point.
enum TCursorClicked { ccNone, ccHorizontal, ccVertical, ccBoth };

using TCursorToolChangeEvent = std::function<void(TCursorTool* sender, int x, int y, double xValue, double yValue,
                                                  TChartSeries* series, int valueIndex)>;
using TCursorToolGetAxisRectEvent = std::function<void(TCursorTool* sender, TRect& rect)>;

// Cursor lines over the chart: a horizontal line, a vertical line, both, or a scope figure, at a
// position kept in axis values. The user drags the lines (or they follow the mouse); with Snap
// they jump to the nearest point of the series. Drawn with an inverting pen, so a move erases
// the cursor where it was and draws it anew on the window surface without drawing the chart.
class TCursorTool : public TPlotCustomToolSeries {
public:
    TCursorTool();

    QString ClassName() const override { return QStringLiteral("TCursorTool"); }
    QString EditorClassName() const override { return QStringLiteral("TCursorToolEditor"); }
    QString Description() const override;
    QString LongDescription() const override;
    void SetParentChart(ChartParent* chart) override;
    void SetSeries(TChartSeries* series) override;

    // --- Settings
    int ClickTolerance() const { return clickTolerance_; }
    void SetClickTolerance(int value) { clickTolerance_ = value; }
    bool FollowMouse() const { return followMouse_; }
    void SetFollowMouse(bool value) { followMouse_ = value; }
    // Half the length of the horizontal line around the cursor; 0 for the whole width.
    int HorizSize() const { return horizSize_; }
    void SetHorizSize(int value) { SetAndRepaint(horizSize_, value); }
    // Half the length of the vertical line; 0 for the whole height.
    int VertSize() const { return vertSize_; }
    void SetVertSize(int value) { SetAndRepaint(vertSize_, value); }
    int ScopeSize() const { return scopeSize_; }
    void SetScopeSize(int value) { SetAndRepaint(scopeSize_, value); }
    TCursorToolScopeStyle ScopeStyle() const { return scopeStyle_; }
    void SetScopeStyle(TCursorToolScopeStyle value) { SetAndRepaint(scopeStyle_, value); }
    bool Snap() const { return snap_; }
    void SetSnap(bool value) { snap_ = value; }
    TCursorToolSnapStyle SnapStyle() const { return snapStyle_; }
    void SetSnapStyle(TCursorToolSnapStyle value) { snapStyle_ = value; }
    TCursorToolStyle Style() const { return style_; }
    void SetStyle(TCursorToolStyle value);
    bool UseSeriesZ() const { return useSeriesZ_; }
    void SetUseSeriesZ(bool value) { SetAndRepaint(useSeriesZ_, value); }
    // The lines span the whole chart rectangle instead of the axes' extent.
    bool FullChart() const { return fullChart_; }
    void SetFullChart(bool value) { SetAndRepaint(fullChart_, value); }

    // --- Position
    double XValue() const { return xValue_; }
    void SetXValue(double value);
    double YValue() const { return yValue_; }
    void SetYValue(double value);
    // The cursor's pixels as last placed; -1 until it was placed.
    int X() const { return x_; }
    int Y() const { return y_; }
    // The point the last snap found, -1 for none.
    int SnappedIndex() const { return lastSnap_; }
    TCursorClicked Dragging() const { return dragging_; }

    // --- Operations
    // The rectangle the lines span (axes' extent or chart rectangle, then OnGetAxisRect).
    TRect GetAxisRect();
    // The part of the cursor under a point (ClickTolerance pixels either way).
    TCursorClicked Clicked(int x, int y);
    // Moves the cursor values onto the nearest point of the series in the series' visible range;
    // the point's index, -1 when nothing snapped (no series, no points).
    int SnapToPoint();

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TCursorToolChangeEvent OnChange;
    TCursorToolChangeEvent OnSnapChange;
    TCursorToolGetAxisRectEvent OnGetAxisRect;

protected:
    void Notification(ChartComponent* removed) override;

private:
    TCustomAxisPanel* Panel() const;
    TChartAxis* HorizontalAxis() const;
    TChartAxis* VerticalAxis() const;
    int SeriesDepth() const;
    bool ProjectsAtDepth() const;
    void ValuesFromPixels(int x, int y, TCursorClicked part);
    void PixelsFromValues();
    void PlaceFirstTime();
    void DrawCursor(InvertingPen::Surface surface);
    void FollowTo(int x, int y);
    void ResnapAndRepaint();

    int clickTolerance_ = 3;
    bool followMouse_ = false;
    int horizSize_ = 0;
    int vertSize_ = 0;
    int scopeSize_ = 4;
    TCursorToolScopeStyle scopeStyle_ = scsRectangle;
    bool snap_ = false;
    TCursorToolSnapStyle snapStyle_ = ssDefault;
    TCursorToolStyle style_ = cssBoth;
    bool fullChart_ = false;
    bool useSeriesZ_ = false;
    TCursorClicked dragging_ = ccNone;
    int lastSnap_ = -1;
    double xValue_ = 0.0;
    double yValue_ = 0.0;
    int x_ = -1;
    int y_ = -1;
    AscendingCheck ascending_;
};

#endif
