#include "chart/canvas/PlotColorHls.h"

#include "chart/canvas/PlotFiltersColor.h"

#include <algorithm>

void ColorToHLS(TColor color, int& hue, int& luminance, int& saturation)
{
    const uint32_t rgb = ColorToRGB(color);
    const HlsColor hls = RGBToHLS(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    hue = hls.hue;
    luminance = hls.luminance;
    saturation = hls.saturation;
}

TColor HLSToColor(int hue, int luminance, int saturation)
{
    int r = 0, g = 0, b = 0;
    HLSToRGB(HlsColor{std::clamp(hue, 0, 240), std::clamp(luminance, 0, 240), std::clamp(saturation, 0, 240)}, r, g,
             b);
    return RGBColor(r, g, b);
}
