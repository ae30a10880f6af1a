#ifndef ZENDRIK_CHART_CANVAS_CANVASGRADIENTFILL_H
#define ZENDRIK_CHART_CANVAS_CANVASGRADIENTFILL_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"

#include <cstdint>

class TCanvas3D;

// Colour of step i of n between two colours. Balance 50: channel0 + d * i / n (integer
// division); otherwise round(d * pow((1 + i) / (1 + n), balance * 0.015 + 0.5)) + channel0.
// Packed as 0x00BBGGRR.
// roundedSteps makes balance 50 give channel0 + round(i * d / n) (the radial routine's rule).
class GradientSteps {
public:
    GradientSteps(TColor c0, TColor c1, int32_t balance, int32_t steps, bool roundedSteps = false);
    uint32_t Rgb(int32_t i) const;

private:
    int32_t balance_;
    int32_t steps_;
    bool rounded_;
    int r0_, g0_, b0_, dr_, dg_, db_;
};

// The radial routine: fills the rectangle in the end colour, then draws up to 255 concentric
// ellipses from the outside in, centred at the rectangle's centre moved by (radialX + 1,
// radialY + 1), clipped to the rectangle. Uses steps with the given balance.
void DrawRadialGradient(TCanvas3D& canvas, const TRect& rect, TColor startColor, TColor endColor, int32_t balance,
                        int32_t radialX, int32_t radialY);

#endif
