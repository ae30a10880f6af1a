#ifndef ZENDRIK_CHART_CANVAS_PLOTBLEND_H
#define ZENDRIK_CHART_CANVAS_PLOTBLEND_H

#include "chart/canvas/CanvasTypes.h"

#include <QImage>

class TPlotCanvas;

// The platform counts as the NT family (so the pixel coordinate limit is +-67,108,863). There is
// no platform alpha-blend routine here: blending always runs the integer pixel loop.
inline constexpr bool PlatformIsNT = true;
inline constexpr bool AlphaBlendAvailable = false;
// The device context recolours its selected brush without creating objects, which is what the
// gradient code asks of a DC brush.
inline constexpr bool HasSetDCBrushColor = true;

// Translucency over a rectangle: captures what lies under it when created, and mixes the new
// drawing with that capture when DoBlend runs.
class TPlotBlend {
public:
    TPlotBlend(TPlotCanvas& canvas, const TRect& rect);
    ~TPlotBlend();
    TPlotBlend(const TPlotBlend&) = delete;
    TPlotBlend& operator=(const TPlotBlend&) = delete;

    void SetRectangle(const TRect& rect);
    void DoBlend(int transparency);

    bool Valid() const { return valid_; }
    const TRect& Rectangle() const { return rect_; }
    const QImage& Captured() const { return captured_; }

private:
    QImage captured_;
    TPlotCanvas& canvas_;
    TRect rect_;
    bool valid_ = false;
};

// Mixes source into destination at offset: each destination channel d becomes
// d + ((s - d) * t) / 100 (integer division) with t = 100 - round(percent); a pure-white
// destination pixel first gets red 254. Both images are RGB32; negative offsets count as 0.
void BlendBitmaps(const QImage& source, QImage& destination, TPoint offset, double percent);

#endif
