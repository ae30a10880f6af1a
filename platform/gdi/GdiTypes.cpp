#include "platform/gdi/GdiTypes.h"

#include "platform/gdi/ShapeRaster.h"

#include <QPainterPath>
#include <QPolygon>
#include <algorithm>

namespace gdi {

namespace {

int RegionKind(const QRegion& r)
{
    if (r.isEmpty())
        return NULLREGION;
    return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

QRect Ordered(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    return QRect(left, top, right - left, bottom - top);
}

} // namespace

Rect Region::Box() const
{
    const QRect b = region_.boundingRect();
    if (b.isEmpty())
        return Rect{};
    return Rect{b.left(), b.top(), b.left() + b.width(), b.top() + b.height()};
}

int Region::Combine(const Region& a, const Region& b, int mode)
{
    switch (mode) {
    case RGN_AND: region_ = a.region_.intersected(b.region_); break;
    case RGN_OR: region_ = a.region_.united(b.region_); break;
    case RGN_XOR: region_ = a.region_.xored(b.region_); break;
    case RGN_DIFF: region_ = a.region_.subtracted(b.region_); break;
    case RGN_COPY: region_ = a.region_; break;
    default: return RGN_ERROR;
    }
    return RegionKind(region_);
}

Region CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return Region(QRegion(Ordered(left, top, right, bottom)));
}

namespace {

QRegion RegionOfRows(const std::vector<shapes::ShapeRow>& rows)
{
    std::vector<QRect> rects;
    rects.reserve(rows.size());
    for (const shapes::ShapeRow& r : rows)
        rects.emplace_back(r.outerLeft, r.y, r.outerRight - r.outerLeft + 1, 1);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

} // namespace

// The elliptic and rounded regions cover the pixels Ellipse and RoundRect fill in a box one pixel
// smaller on the right and bottom, as the platform's regions always did.
Region CreateEllipticRgn(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const QRect r = Ordered(left, top, right, bottom);
    if (r.width() < 2 || r.height() < 2)
        return Region();
    if (r.width() > shapes::kMaxExactSize || r.height() > shapes::kMaxExactSize)
        return Region(QRegion(r.adjusted(0, 0, -1, -1), QRegion::Ellipse));
    return Region(RegionOfRows(shapes::EllipseRows(r.left(), r.top(), r.left() + r.width() - 1, r.top() + r.height() - 1)));
}

Region CreateRoundRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    const QRect r = Ordered(left, top, right, bottom);
    if (r.width() < 2 || r.height() < 2)
        return Region();
    if (r.width() > shapes::kMaxExactSize || r.height() > shapes::kMaxExactSize)
        return Region(QRegion(r.adjusted(0, 0, -1, -1)));
    return Region(RegionOfRows(
        shapes::RoundRectRows(r.left(), r.top(), r.left() + r.width() - 1, r.top() + r.height() - 1, w, h)));
}

// The pixels Polygon fills.
Region CreatePolygonRgn(const Point* points, int count, int fillMode)
{
    if (!points || count < 3)
        return Region();
    int32_t top = INT32_MAX, bottom = INT32_MIN;
    for (int i = 0; i < count; ++i) {
        top = std::min(top, points[i].y);
        bottom = std::max(bottom, points[i].y);
    }
    std::vector<QRect> rects;
    for (const shapes::Span& span : shapes::PolygonSpans(points, count, fillMode == WINDING, top, bottom))
        rects.emplace_back(span.x0, span.y, span.x1 - span.x0, 1);
    QRegion region;
    region.setRects(rects.data(), static_cast<int>(rects.size()));   // rows top down, each left to right
    return Region(region);
}

} // namespace gdi
