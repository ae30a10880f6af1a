#ifndef ZENDRIK_CHART_CANVAS_PLOTSHAPE_H
#define ZENDRIK_CHART_CANVAS_PLOTSHAPE_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotFilters.h"
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotShadow.h"

#include <QString>
#include <QVariant>

#include <memory>

class TCanvas3D;

// What a framed shape needs of the chart that owns it: a repaint request and the canvas to draw
// on. The chart panel implements it.
class PlotShapeOwner {
public:
    virtual ~PlotShapeOwner() = default;
    virtual void Invalidate() = 0;
    virtual TCanvas3D& ShapeCanvas() = 0;
};

enum TBevelCut : uint8_t { bvNone, bvLowered, bvRaised, bvSpace };
enum TChartObjectShapeStyle : uint8_t { fosRectangle, fosRoundRectangle, fosEllipse };
enum TTextFormat : uint8_t { ttfNormal, ttfHtml };

// The four corners (Left,Top), (Right,Top), (Right,Bottom), (Left,Bottom) rotated about the
// rectangle's centre by an angle in degrees.
TFourPoints RectRotatedPoints(const TRect& rect, double angle);

// A brush, a frame pen and a visible flag, repainting the owner chart on changes.
class TPlotCustomShapeBrushPen {
public:
    explicit TPlotCustomShapeBrushPen(PlotShapeOwner* parentChart = nullptr);
    virtual ~TPlotCustomShapeBrushPen();
    TPlotCustomShapeBrushPen(const TPlotCustomShapeBrushPen&) = delete;
    TPlotCustomShapeBrushPen& operator=(const TPlotCustomShapeBrushPen&) = delete;

    virtual void Assign(const TPlotCustomShapeBrushPen& source);
    virtual void SetParentChart(PlotShapeOwner* value) { parent_ = value; }
    PlotShapeOwner* ParentChart() const { return parent_; }

    TChartBrush& Brush() { return *brush_; }
    TChartPen& Pen() { return *pen_; }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    void Hide() { SetVisible(false); }
    void Repaint();

protected:
    // Stores a value; with a parent chart, repaints it when the value changed.
    template <class T>
    void SetAndRepaint(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        if (parent_)
            Repaint();
    }

private:
    PlotShapeOwner* parent_ = nullptr;
    std::unique_ptr<TChartBrush> brush_;
    std::unique_ptr<TChartPen> pen_;
    bool visible_ = true;
};

// The framed shape every chart part draws: rectangle, rounded rectangle or ellipse, optionally
// rotated; filled with a picture, a gradient or the brush; with shadow, bevel and translucency.
class TPlotCustomShape : public TPlotCustomShapeBrushPen {
public:
    explicit TPlotCustomShape(PlotShapeOwner* parentChart = nullptr);
    ~TPlotCustomShape() override;

    void Assign(const TPlotCustomShapeBrushPen& source) override;

    TBevelCut Bevel() const { return bevel_; }
    void SetBevel(TBevelCut value);
    int32_t BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int32_t value);
    TColor Color() const { return color_; }
    void SetColor(TColor value) { SetAndRepaint(color_, value); }
    TPlotFont& Font() { return *font_; }
    int32_t RoundSize() const { return roundSize_; }
    void SetRoundSize(int32_t value);
    // Made with the shape (black, 3); recreated with those defaults after a null assignment.
    TPlotShadow& Shadow();
    bool HasShadow() const { return shadow_ != nullptr; }
    void SetShadow(const TPlotShadow* value);
    TChartObjectShapeStyle ShapeStyle() const { return shapeStyle_; }
    void SetShapeStyle(TChartObjectShapeStyle value);
    TTextFormat TextFormat() const { return textFormat_; }
    void SetTextFormat(TTextFormat value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { SetAndRepaint(transparent_, value); }
    bool DefaultTransparent() const { return defaultTransparent_; }
    void SetDefaultTransparent(bool value) { defaultTransparent_ = value; }
    bool IsTransparentStored() const { return transparent_ != defaultTransparent_; }
    int Transparency() const { return transparency_; }
    void SetTransparency(int value); // percent, kept within 0..100

    // Created on first read.
    TPlotGradient& Gradient();
    bool HasGradient() const { return gradient_ != nullptr; }
    void SetGradient(const TCustomPlotGradient* value);
    TPlotPicture& Picture();
    bool HasPicture() const { return picture_ != nullptr; }
    void SetPicture(const TPlotPicture* value);

    TRect ShapeBounds;
    int32_t GetWidth() const { return ShapeBounds.Right - ShapeBounds.Left + 1; }
    int32_t GetHeight() const { return ShapeBounds.Bottom - ShapeBounds.Top + 1; }
    void SetWidth(int32_t w) { ShapeBounds.Right = ShapeBounds.Left + w - 1; }
    void SetHeight(int32_t h) { ShapeBounds.Bottom = ShapeBounds.Top + h - 1; }

    void Draw() { DrawRectRotated(ShapeBounds, 0, 0); }
    void DrawRectRotated(const TRect& rect, double angle, int32_t z);
    void DrawOnCanvas(TCanvas3D& canvas, const TRect& rect, int32_t z, double angle);

    // Older stream properties, read and never written: "ShadowColor" (a colour identifier or an
    // integer) and "ShadowSize". Answers false for a value it cannot use.
    bool ReadLegacyProperty(const QString& name, const QVariant& value);

protected:
    // The gradient class of a subclass; asked on first read of Gradient. Subclasses with other
    // shadow defaults call Shadow().InitDefaults in their constructor.
    virtual std::unique_ptr<TPlotGradient> CreateGradient();

private:
    void DrawOutline(TCanvas3D& canvas, const TRect& rect, int32_t z, double angle, const TFourPoints& corners);

    TBevelCut bevel_ = bvNone;
    int32_t bevelWidth_ = 2;
    TColor color_ = clWhite;
    std::unique_ptr<TPlotFont> font_;
    int32_t roundSize_ = 16;
    std::unique_ptr<TPlotShadow> shadow_;
    TChartObjectShapeStyle shapeStyle_ = fosRectangle;
    TTextFormat textFormat_ = ttfNormal;
    bool transparent_ = false;
    bool defaultTransparent_ = false;
    std::unique_ptr<TPlotGradient> gradient_;
    std::unique_ptr<TPlotPicture> picture_;
    int transparency_ = 0;
};

// The published shape; no behaviour of its own.
class TPlotShape : public TPlotCustomShape {
public:
    using TPlotCustomShape::TPlotCustomShape;
};

// A chart colour by its identifier ("clRed", "clBtnFace", ...); false when unknown.
bool IdentToPlotColor(const QString& ident, TColor& color);

#endif
