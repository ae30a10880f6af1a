#ifndef ZENDRIK_CHART_CANVAS_PLOTFILTERSSUPPORT_H
#define ZENDRIK_CHART_CANVAS_PLOTFILTERSSUPPORT_H

#include "chart/canvas/PlotColor.h"

#include <QVariant>

#include <cmath>
#include <cstdint>
#include <memory>

class TPlotFilter;

// Small helpers shared by the filter sources.
namespace filtersupport {

inline int ClampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }
inline int ClampByte(double v) { return v < 0.0 ? 0 : (v > 255.0 ? 255 : static_cast<int>(v)); }

inline int Red(uint32_t p) { return static_cast<int>((p >> 16) & 0xFF); }
inline int Green(uint32_t p) { return static_cast<int>((p >> 8) & 0xFF); }
inline int Blue(uint32_t p) { return static_cast<int>(p & 0xFF); }
inline uint32_t Pack(int r, int g, int b)
{
    return 0xFF000000u | (static_cast<uint32_t>(r) << 16) | (static_cast<uint32_t>(g) << 8) |
           static_cast<uint32_t>(b);
}

// A chart colour (system colours resolved) as a pixel of the filter format.
inline uint32_t ColorToPixel(TColor color)
{
    const uint32_t rgb = ColorToRGB(color);
    return Pack(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// Rounding as the chart code means it: halves to even.
inline int RoundInt(double v) { return static_cast<int>(std::nearbyint(v)); }

template <class T>
std::unique_ptr<TPlotFilter> Make()
{
    return std::make_unique<T>();
}

inline bool SetInt(const QVariant& value, int32_t& target)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (ok)
        target = v;
    return ok;
}

inline bool SetBool(const QVariant& value, bool& target)
{
    if (!value.canConvert<bool>())
        return false;
    target = value.toBool();
    return true;
}

} // namespace filtersupport

#endif
