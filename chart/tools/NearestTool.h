#ifndef ZENDRIK_CHART_TOOLS_NEARESTTOOL_H
#define ZENDRIK_CHART_TOOLS_NEARESTTOOL_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/ChartPen.h"
#include "chart/engine/ChartTools.h"
#include "chart/tools/CursorSnap.h"
#include "chart/tools/InvertingPen.h"

#include <functional>
#include <memory>
#include <span>

class TChartAxis;
class TCustomAxisPanel;
class TNearestTool;

// The point of first..last whose pixel lies nearest to the pixel (x, y): Euclidean pixel
// distance, only points nearer than 10000 pixels, the first of equals; -1 for none. With
// xAscending and an axis whose pixels follow its values in order, the search goes outward from
// the mouse's X and gives the same point as a scan.
int NearestPixelIndex(std::span<const double> xs, std::span<const double> ys, int first, int last,
                      const TChartAxis& horizontal, const TChartAxis& vertical, int x, int y, bool xAscending);

enum TNearestToolStyle { hsNone, hsCircle, hsRectangle, hsDiamond, hsSeries };

using TNearestToolChangeEvent = std::function<void(TNearestTool* sender)>;

// Marks the point of its series nearest to the mouse, and draws a line from the mouse to it.
// With FullRepaint off the mark is drawn with an inverting pen, and a move erases it where it
// was and draws it anew on the window surface.
class TNearestTool : public TPlotCustomToolSeries {
public:
    TNearestTool();
    ~TNearestTool() override;

    QString ClassName() const override { return QStringLiteral("TNearestTool"); }
    QString EditorClassName() const override { return QStringLiteral("TNearestToolEdit"); }
    QString Description() const override;
    QString LongDescription() const override;
    void SetSeries(TChartSeries* series) override;

    TNearestToolStyle Style() const { return style_; }
    void SetStyle(TNearestToolStyle value) { SetAndRepaint(style_, value); }
    int Size() const { return size_; }
    void SetSize(int value) { SetAndRepaint(size_, value); }
    bool DrawLine() const { return drawLine_; }
    void SetDrawLine(bool value) { SetAndRepaint(drawLine_, value); }
    TChartPen& LinePen() { return *linePen_; }
    bool FullRepaint() const { return fullRepaint_; }
    void SetFullRepaint(bool value) { fullRepaint_ = value; }

    // The point found last, -1 for none; the mouse position it was found from.
    int Point() const { return point_; }
    TPoint MousePosition() const { return mouse_; }
    // The point of the series nearest to a pixel in the series' visible range.
    int NearestPoint(int x, int y);

    void ChartEvent(TChartToolEvent kind) override;
    void ChartMouseEvent(TChartMouseEvent kind, int button, int shift, int x, int y) override;

    TNearestToolChangeEvent OnChange;

protected:
    void Notification(ChartComponent* removed) override;

private:
    TCustomAxisPanel* Panel() const;
    void DrawMark(InvertingPen* xorPen);
    void Show(int point, int x, int y);

    TNearestToolStyle style_ = hsCircle;
    int size_ = 20;
    bool drawLine_ = true;
    std::unique_ptr<TChartPen> linePen_;
    bool fullRepaint_ = true;
    int point_ = -1;
    TPoint mouse_{-1, -1};
    AscendingCheck ascending_;
};

#endif
