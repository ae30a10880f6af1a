#ifndef ZENDRIK_CHART_CANVAS_PLOTSHADOW_H
#define ZENDRIK_CHART_CANVAS_PLOTSHADOW_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"
#include "chart/canvas/PlotGraphics.h"

#include <QImage>

#include <cstdint>
#include <functional>
#include <vector>

class TCanvas3D;
class TPlotCanvas3D;

// A drop shadow: hard strips, lines that fade to white, or a blurred shadow multiplied into the
// canvas's off-screen bitmap. Setters call OnChange only on a real change.
class TPlotShadow {
public:
    explicit TPlotShadow(TNotifyEvent onChange = {});

    // Copies everything but Clip and the streaming defaults.
    void Assign(const TPlotShadow& source);
    // Sets colour and both sizes together with their streaming defaults.
    void InitDefaults(TColor color, int32_t size);
    int32_t GetSize() const;
    void SetSize(int32_t value);

    bool Clip() const { return clip_; }
    void SetClip(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int32_t HorizSize() const { return horizSize_; }
    void SetHorizSize(int32_t value);
    bool Smooth() const { return smooth_; }
    void SetSmooth(bool value);
    int32_t SmoothBlur() const { return smoothBlur_; }
    void SetSmoothBlur(int32_t value);
    int Transparency() const { return transparency_; }
    void SetTransparency(int value); // percent, kept within 0..100
    int32_t VertSize() const { return vertSize_; }
    void SetVertSize(int32_t value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // Streaming: Color, the sizes and Visible are written only when they differ from the
    // defaults the owner declared.
    bool IsColorStored() const { return color_ != defaultColor_; }
    bool IsSizeStored() const { return horizSize_ != defaultSize_ || vertSize_ != defaultSize_; }
    bool IsVisibleStored() const { return visible_ != defaultVisible_; }
    void SetDefaultVisible(bool value) { defaultVisible_ = value; }

    // Drawing on a chart canvas.
    void DrawShape(TCanvas3D& canvas, const TRect& rect, int32_t cornerSize, int32_t z);
    void DrawRect(TCanvas3D& canvas, const TRect& rect) { DrawShape(canvas, rect, 0, 0); }
    void DrawEllipse(TCanvas3D& canvas, const TRect& rect, int32_t z);
    void DrawPolygon(TCanvas3D& canvas, const TPointArray& points, int lastIndex);

    // The canvas that can take a blurred shadow: the device-context canvas drawing into its
    // off-screen bitmap, not into a metafile. Null otherwise.
    static TPlotCanvas3D* BlurCanvas(TCanvas3D& canvas);

    TNotifyEvent OnChange;

private:
    enum class BlurShape { Rectangle, RoundRectangle, Ellipse, Polygon };

    void Changed();
    bool HasSomethingToDraw() const;
    void DrawHard(TCanvas3D& canvas, const TRect& rect, int32_t cornerSize, int32_t z);
    void DrawLines(TCanvas3D& canvas, const TRect& rect, int32_t cornerSize, int32_t z);
    void DrawBlurred(TPlotCanvas3D& canvas, const TRect& rect, BlurShape shape, int32_t cornerSize,
                     const TPointArray& polygon);

    bool clip_ = false;
    TColor color_ = 0xC0C0C0;
    int32_t horizSize_ = 0;
    bool smooth_ = true;
    int32_t smoothBlur_ = 0;
    int transparency_ = 0;
    int32_t vertSize_ = 0;
    bool visible_ = true;
    TColor defaultColor_ = 0xC0C0C0;
    int32_t defaultSize_ = 0;
    bool defaultVisible_ = true;
};

// Integer weights of the shadow blur for one direction: 2 r + 1 entries for d = -r .. r,
// round(100000 * f^(-d^2 / r)) with f = (smoothBlur + 180) * 0.01. A radius 0 gives the single
// weight 100000; a base f of 0 or less gives 0 away from the centre. Weights are capped so that
// sums over a row cannot overflow.
std::vector<int64_t> ShadowBlurWeights(int32_t radius, int32_t smoothBlur);

// Blurs the work bitmap (horizontally, then vertically) and multiplies it into target with its
// top-left at origin. With bandOnly only the band a shadow offset uncovers is worked: a
// rectangle covers the rest of its own shadow, a round shape does not. visible (may be empty)
// tells whether a target point lies inside the clip region. Exposed for the tests; the shadow
// drawing uses it.
void MultiplyBlurredShadow(const QImage& work, int32_t horizSize, int32_t vertSize, int32_t smoothBlur, bool bandOnly,
                           QImage& target, TPoint origin, const std::function<bool(int32_t, int32_t)>& visible);

#endif
