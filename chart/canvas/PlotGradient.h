#ifndef ZENDRIK_CHART_CANVAS_PLOTGRADIENT_H
#define ZENDRIK_CHART_CANVAS_PLOTGRADIENT_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotGraphics.h"

#include <memory>

class TPlotCanvas;
class TCanvas3D;
class TSubGradient;

// A two- or three-colour fill in one of ten directions, optionally rotated, with an optional
// translucent second gradient drawn over it. Setters call OnChange only on a real change.
class TCustomPlotGradient {
public:
    explicit TCustomPlotGradient(TNotifyEvent onChange = {});
    virtual ~TCustomPlotGradient();
    TCustomPlotGradient(const TCustomPlotGradient&) = delete;
    TCustomPlotGradient& operator=(const TCustomPlotGradient&) = delete;

    virtual void Assign(const TCustomPlotGradient& source);

    int32_t Angle() const { return angle_; }
    void SetAngle(int32_t value);
    int32_t Balance() const { return balance_; }
    void SetBalance(int32_t value);
    TGradientDirection Direction() const { return direction_; }
    void SetDirection(TGradientDirection value);
    TColor EndColor() const { return endColor_; }
    void SetEndColor(TColor value);
    // clNone while the middle colour is off; assigning clNone switches it off.
    TColor MidColor() const { return midOn_ ? midColor_ : clNone; }
    void SetMidColor(TColor value);
    bool MiddleColorOn() const { return midOn_; }
    void UseMiddleColor();
    int32_t RadialX() const { return radialX_; }
    void SetRadialX(int32_t value);
    int32_t RadialY() const { return radialY_; }
    void SetRadialY(int32_t value);
    TColor StartColor() const { return startColor_; }
    void SetStartColor(TColor value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // Created on first read with this gradient's change event and Transparency 50.
    TSubGradient& SubGradient();
    bool HasSubGradient() const { return subGradient_ != nullptr; }
    // Copies into the own sub-gradient (creating it); null frees it.
    void SetSubGradient(const TSubGradient* value);

    // Fills the rectangle (clipped to a rounded rectangle when cornerSize > 0).
    void Draw(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize);
    // The concentric-ellipse fill of gdRadial, then a visible sub-gradient.
    void DrawRadial(TPlotCanvas& canvas, const TRect& rect);
    void DrawFourPoints(TPlotCanvas& canvas, const TFourPoints& points);
    void DrawFourPointsZ(TCanvas3D& canvas, const TFourPoints& points, int32_t z);

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    void DrawAngled(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize);
    void DrawFlat(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize);
    void DrawSubGradient(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize);

    int32_t angle_ = 0;
    int32_t balance_ = 50;
    TGradientDirection direction_ = gdTopBottom;
    TColor endColor_ = clYellow;
    TColor midColor_ = clNone;
    int32_t radialX_ = 0;
    int32_t radialY_ = 0;
    TColor startColor_ = clWhite;
    std::unique_ptr<TSubGradient> subGradient_;
    bool visible_ = false;
    bool midOn_ = false;
};

class TSubGradient : public TCustomPlotGradient {
public:
    explicit TSubGradient(TNotifyEvent onChange = {});
    void Assign(const TCustomPlotGradient& source) override;
    int Transparency() const { return transparency_; }
    void SetTransparency(int value); // percent, kept within 0..100

private:
    int transparency_ = 50;
};

// The published gradient of panels, walls, shapes and series.
class TPlotGradient : public TCustomPlotGradient {
public:
    using TCustomPlotGradient::TCustomPlotGradient;
};

// A font's gradient; Outline applies it to the text outline instead of the letters.
class TPlotFontGradient : public TPlotGradient {
public:
    using TPlotGradient::TPlotGradient;
    void Assign(const TCustomPlotGradient& source) override;
    bool Outline() const { return outline_; }
    void SetOutline(bool value);

private:
    bool outline_ = false;
};

// Grey of a colour for monochrome drawing: RGB(m, m, m) with m = (R + G + B) / 3 in integers.
TColor MonochromeColor(TColor color);

#endif
