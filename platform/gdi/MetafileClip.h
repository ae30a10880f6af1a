#ifndef ZENDRIK_PLATFORM_GDI_METAFILECLIP_H
#define ZENDRIK_PLATFORM_GDI_METAFILECLIP_H

// Geometry cut to what a metafile can show, for the WMF and the EMF writer alike. Readers take a
// picture's extent from the coordinates of its records and do their own arithmetic on them: a
// zoomed trace with vertices far outside the frame shrinks the picture in some, and coordinates
// of tens of millions overflow in others and come out mirrored. What cannot show is therefore
// cut away before it is written.

#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Metafile.h"

#include <optional>
#include <utility>
#include <vector>

namespace gdi {

// The box geometry is cut to, every side inclusive.
struct ClipBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The frame of width x height, or the part of it the clip rectangle leaves, widened by margin.
ClipBox VisibleBox(int32_t width, int32_t height, const std::optional<Rect>& clip, int32_t margin);
bool InBox(const ClipBox& box, int64_t x, int64_t y);

// Liang-Barsky: the part of segment a-b inside the box, or nothing.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const ClipBox& box);
// The part of the line from-to inside the box, in whole units.
std::optional<std::pair<Point, Point>> ClipLine(Point from, Point to, const ClipBox& box);
// A polyline cut to the box: each piece lies inside it and has at most maxPoints points;
// consecutive pieces of one unbroken run share their joining point.
std::vector<std::vector<Point>> SplitPolyline(const Point* points, int count, const ClipBox& box, int maxPoints);
// A polygon clipped to the box (empty when nothing is left).
std::vector<Point> ClipPolygon(const Point* points, int count, const ClipBox& box);
// The rectangle from (left, top) to (right, bottom) cut to the box: edges cut away lie beyond
// what shows. False when nothing is left, or when the corners are given backwards.
bool CutRectangle(int64_t left, int64_t top, int64_t right, int64_t bottom, const ClipBox& box, Rect& cut);
// The rectangle a FillRect or PatBlt record fills, as the raster back end fills it: FillRect's
// corners in either order, PatBlt's extents running back from its start when negative.
Rect FillArea(const MetaRecord& r);
// That rectangle cut to the box; false when nothing is left.
bool CutFill(const MetaRecord& r, const ClipBox& box, Rect& cut);
// Whether the bounding rectangle in a lies wholly outside the box: a curve cannot be cut.
bool OutsideBox(const int32_t* a, const ClipBox& box);

} // namespace gdi

#endif
