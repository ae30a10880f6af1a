#ifndef ZENDRIK_PLATFORM_GDI_WMFGEOMETRY_H
#define ZENDRIK_PLATFORM_GDI_WMFGEOMETRY_H

// Coordinates in the 16 bits a metafile holds; not for use outside platform/gdi/Wmf*.cpp.

#include "platform/gdi/WmfWriter.h"

#include <algorithm>
#include <cstdint>

namespace gdi::wmf {

inline int16_t C16(int64_t v)
{
    return static_cast<int16_t>(std::clamp<int64_t>(v, -kWmfCoordinateLimit, kWmfCoordinateLimit));
}

inline bool InBox(const WmfClipBox& box, int64_t x, int64_t y)
{
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

// Liang-Barsky: the part of segment a-b inside the box, or nothing.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const WmfClipBox& box);
Point RoundPoint(double x, double y);

} // namespace gdi::wmf

#endif
