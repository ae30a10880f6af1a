#include "platform/gdi/GdiTypes.h"

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

Region CreateEllipticRgn(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const QRect r = Ordered(left, top, right, bottom);
    if (r.isEmpty())
        return Region();
    return Region(QRegion(r, QRegion::Ellipse));
}

Region CreateRoundRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    const QRect r = Ordered(left, top, right, bottom);
    if (r.isEmpty())
        return Region();
    QPainterPath path;
    path.addRoundedRect(QRectF(r), std::abs(w) / 2.0, std::abs(h) / 2.0);
    QRegion region;
    for (const QPolygonF& poly : path.toFillPolygons())
        region = region.united(QRegion(poly.toPolygon(), Qt::WindingFill));
    return Region(region);
}

Region CreatePolygonRgn(const Point* points, int count, int fillMode)
{
    if (!points || count < 3)
        return Region();
    QPolygon poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i)
        poly << QPoint(points[i].x, points[i].y);
    return Region(QRegion(poly, fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill));
}

} // namespace gdi
