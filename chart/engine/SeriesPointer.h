#ifndef ZENDRIK_CHART_ENGINE_SERIESPOINTER_H
#define ZENDRIK_CHART_ENGINE_SERIESPOINTER_H

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/canvas/PlotShape.h"

#include <memory>

class TCanvas3D;
class TChartSeries;
struct TSeriesMarkPosition;

enum TSeriesPointerStyle {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot,
    psNothing,
    psLeftTriangle,
    psRightTriangle,
    psHexagon
};

enum TArrowHeadStyle { ahNone, ahLine, ahSolid };

// The symbol drawn at a point: a small rectangle, circle, triangle, cross ... centred at the
// point and sized by two half sizes; in a 3D chart a cube, sphere or pyramid through the
// series' depth. Its colour is the brush colour; clDefault takes the point's colour.
class TSeriesPointer : public TPlotCustomShapeBrushPen {
public:
    explicit TSeriesPointer(TChartSeries* series = nullptr, PlotShapeOwner* chart = nullptr);
    ~TSeriesPointer() override;

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    bool Dark3D() const { return dark3D_; }
    void SetDark3D(bool value) { SetAndRepaint(dark3D_, value); }
    bool Draw3D() const { return draw3D_; }
    void SetDraw3D(bool value) { SetAndRepaint(draw3D_, value); }
    // Created on first use, hidden.
    TPlotGradient& Gradient();
    bool HasGradient() const { return gradient_ != nullptr; }
    void SetGradient(const TPlotGradient& value) { Gradient().Assign(value); }
    int HorizSize() const { return horizSize_; }
    // Below 1 raises ChartException; the old size stays.
    void SetHorizSize(int value);
    int VertSize() const { return vertSize_; }
    void SetVertSize(int value);
    bool InflateMargins() const { return inflateMargins_; }
    void SetInflateMargins(bool value) { SetAndRepaint(inflateMargins_, value); }
    TPlotShadow& Shadow() { return *shadow_; }
    void SetShadow(const TPlotShadow& value) { shadow_->Assign(value); }
    TSeriesPointerStyle Style() const { return style_; }
    void SetStyle(TSeriesPointerStyle value) { SetAndRepaint(style_, value); }
    int Transparency() const { return transparency_; }
    void SetTransparency(int value) { SetAndRepaint(transparency_, value); }
    TColor GetColor() { return Brush().Color(); }
    void SetColor(TColor value) { Brush().SetColor(value); }
    TChartSeries* Series() const { return series_; }
    // Whether the sizes are the user's to change; a series whose symbols size themselves turns it
    // off, and editors then leave the sizes alone.
    bool AllowChangeSize() const { return allowChangeSize_; }
    void SetAllowChangeSize(bool value) { allowChangeSize_ = value; }

    // At least the half size + 1 at each end while the pointer is shown and inflates margins.
    void CalcHorizMargins(int& left, int& right) const;
    void CalcVerticalMargins(int& top, int& bottom) const;
    // Selects the pen and brush for a point of the given colour.
    void PrepareCanvas(TCanvas3D& canvas, TColor color);
    // The same on the chart's canvas with the pointer's own colour.
    void PrepareCanvas();
    // One symbol centred at (x, y); the caller prepared pen and brush.
    void DrawPointer(TCanvas3D& canvas, bool is3D, int x, int y, int horizHalf, int vertHalf, TColor color,
                     TSeriesPointerStyle style);
    // DrawPointer on the chart's canvas with the chart's 3D setting and the pointer's sizes.
    void Draw(int x, int y, TColor color, TSeriesPointerStyle style);

protected:
    // Callouts keep their gradient as it is; symbols take the point colour as its end colour.
    virtual bool AdaptsGradient() const { return true; }
    bool ChartIs3D() const;

private:
    void DrawShape(TCanvas3D& canvas, bool is3D, int x, int y, int h, int v, TSeriesPointerStyle style);
    void DrawGradient(TCanvas3D& canvas, int x, int y, int h, int v, TSeriesPointerStyle style);
    void DepthOf(int& startZ, int& middleZ, int& endZ) const;

    bool allowChangeSize_ = true;
    bool dark3D_ = true;
    bool draw3D_ = true;
    std::unique_ptr<TPlotGradient> gradient_;
    int horizSize_ = 4;
    bool inflateMargins_ = true;
    TChartSeries* series_ = nullptr;
    std::unique_ptr<TPlotShadow> shadow_;
    TSeriesPointerStyle style_ = psRectangle;
    int transparency_ = 0;
    int vertSize_ = 4;
};

// A pointer with an arrow, joining a mark or an annotation to its point.
class TCallout : public TSeriesPointer {
public:
    explicit TCallout(TChartSeries* series = nullptr, PlotShapeOwner* chart = nullptr);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    TWhitePen& Arrow() { return *arrow_; }
    void SetArrow(const TChartPen& value) { arrow_->Assign(value); }
    TArrowHeadStyle ArrowHead() const { return arrowHead_; }
    void SetArrowHead(TArrowHeadStyle value) { SetAndRepaint(arrowHead_, value); }
    int ArrowHeadSize() const { return arrowHeadSize_; }
    void SetArrowHeadSize(int value) { SetAndRepaint(arrowHeadSize_, value); }
    int Distance() const { return distance_; }
    void SetDistance(int value) { SetAndRepaint(distance_, value); }

    // The arrow from -> to (and on to corner with both segments) at depth z, then, without an
    // arrow head, the symbol at the start.
    void Draw(TColor color, TPoint from, TPoint to, TPoint corner, int z, bool bothSegments);

protected:
    bool AdaptsGradient() const override { return false; }

private:
    std::unique_ptr<TWhitePen> arrow_;
    TArrowHeadStyle arrowHead_ = ahNone;
    int arrowHeadSize_ = 8;
    int distance_ = 0;
};

// The callout of a series' marks: hidden at first; it lifts a mark away from its point.
class TMarksCallout : public TCallout {
public:
    explicit TMarksCallout(TChartSeries* series = nullptr, PlotShapeOwner* chart = nullptr);

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    int Length() const { return length_; }
    void SetLength(int value) { SetAndRepaint(length_, value); }
    int DefaultLength() const { return defaultLength_; }
    void SetDefaultLength(int value) { defaultLength_ = value; }
    bool IsLengthStored() const { return length_ != defaultLength_; }

    // Moves the mark box and the arrow's end up by Length + Distance, the arrow's start by
    // Distance.
    void ApplyArrowLength(TSeriesMarkPosition& position) const;

private:
    int length_ = 8;
    int defaultLength_ = 8;
};

#endif
