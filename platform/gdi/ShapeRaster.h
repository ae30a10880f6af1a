#ifndef ZENDRIK_PLATFORM_GDI_SHAPERASTER_H
#define ZENDRIK_PLATFORM_GDI_SHAPERASTER_H

#include "platform/gdi/GdiTypes.h"

#include <cstdint>
#include <vector>

// The pixels of the shapes the raster device context draws and the regions GdiTypes builds, so
// that a region and the shape of the same name cover the same pixels. Pure functions.
namespace gdi::shapes {

// Shapes larger than this on either side are not rasterised here (the work and memory grow with
// the size); callers draw them as curves instead.
inline constexpr int64_t kMaxExactSize = 1 << 16;

// One row of a shape outlined with a one-pixel pen: the outline covers outerLeft..innerLeft and
// innerRight..outerRight (the two may overlap where the outline runs along the row); the interior
// lies strictly between innerLeft and innerRight. The whole shape is outerLeft..outerRight.
struct ShapeRow {
    int32_t y = 0;
    int32_t outerLeft = 0;
    int32_t innerLeft = 0;
    int32_t innerRight = 0;
    int32_t outerRight = 0;
};

// The ellipse in the box left..right-1 x top..bottom-1 (a normalised box; empty when it has no
// pixel): the curve through the centres of the box's outermost pixels, outlined by the pixel
// nearest to it in every column and in every row. It is symmetric and touches all four sides.
std::vector<ShapeRow> EllipseRows(int32_t left, int32_t top, int32_t right, int32_t bottom);

// A rectangle whose corners are the quarters of a w x h ellipse (each at most the box's size).
std::vector<ShapeRow> RoundRectRows(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h);

// Row y, pixels x0 .. x1 - 1.
struct Span {
    int32_t y = 0;
    int32_t x0 = 0;
    int32_t x1 = 0;
};

// The pixels a polygon fills, pixel (x, y) sampled at the point (x, y): a point exactly on a left
// or top edge is inside, on a right or bottom edge outside. Only rows rowFrom .. rowTo - 1.
std::vector<Span> PolygonSpans(const Point* points, int count, bool winding, int32_t rowFrom, int32_t rowTo);

} // namespace gdi::shapes

#endif
