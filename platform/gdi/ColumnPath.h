#ifndef ZENDRIK_PLATFORM_GDI_COLUMNPATH_H
#define ZENDRIK_PLATFORM_GDI_COLUMNPATH_H

#include "platform/gdi/GdiTypes.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace gdi {

// A polyline kept to what its device columns can show while its points come in.
//
// A pen that paints the union of its segments' pixels (PenPaintsUnion) draws, inside one column,
// only vertical segments, whose union is the span from the column's lowest to its highest pixel,
// entered at the column's first point and left at its last. So each column keeps its first point,
// its lowest and highest pixels in the order they were first reached, and its last point; the
// segments between columns stay as they were, and a pixel only the last point reached is still
// reached only at the end (where the last pixel of a line is left out). The path is whole after
// every point, so it can be drawn at any time.
class ColumnPath {
public:
    // path holds the start point (the pen position), the first point of its column.
    explicit ColumnPath(const std::vector<Point>& path);
    // Answers the index of the first point it wrote: points before it stay as they were.
    size_t Add(std::vector<Point>& path, Point to);

private:
    void Emit(std::vector<Point>& path, int32_t y) const;

    size_t columnEnd_;   // the path's size after the column's first point
    int32_t x_;
    int32_t minY_;
    int32_t maxY_;
    int32_t lastY_;
    int minSeq_ = 0;
    int maxSeq_ = 0;
    int seq_ = 0;
};

// Whether a pen with this mix mode paints the union of its segments' pixels, whatever their order
// and splitting: opaque copy, solid, one pixel wide or wide with round ends and joins.
bool PenPaintsUnion(const Pen& pen, int rop2);

} // namespace gdi

#endif
