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

// A box within the 16 bits.
inline ClipBox C16(const ClipBox& b)
{
    return ClipBox{C16(b.left), C16(b.top), C16(b.right), C16(b.bottom)};
}

} // namespace gdi::wmf

#endif
