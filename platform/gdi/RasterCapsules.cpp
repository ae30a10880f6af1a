// Wide solid pens with round caps and joins of the raster device context, drawn as capsules.

#include "platform/gdi/RasterDCImpl.h"

#include <algorithm>
#include <cmath>

namespace gdi {

namespace raster {

// Wide solid pens with round caps and joins (the chart's usual wide pen) are drawn here as
// capsules: every pixel whose centre lies within half the width of the segment, once per segment.
// The union of capsules along a polyline is the round-joined stroke, so no stroker is needed; Qt's
// stroker costs about two microseconds a segment, which long traces cannot afford.
bool CapsulePen(const Pen& pen)
{
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    return pen.width >= 2 && (kind == PS_SOLID || kind == PS_INSIDEFRAME) &&
           (pen.style & PS_ENDCAP_MASK) == PS_ENDCAP_ROUND && (pen.style & PS_JOIN_MASK) == PS_JOIN_ROUND;
}

namespace {

// QPainter's strokes follow the device's rule for filled shapes (StrokeShift): a pixel centre
// exactly on an edge counts as inside on the top and left edges only. Round caps must look the
// same at both ends of a line, which that rule would not give them, so a capsule samples the
// exact pixel centres and counts a centre on its edge as inside. A line across or up and down
// with an even width would then have an odd number of rows or columns (both edges pass through
// pixel centres): it lies half a pixel up or to the left, the rows the fill rule gives a band of
// that width.
// Whether the pixel centre (cx, cy), relative to the segment's start, lies within the pen's half
// width r (r2 = r * r) of the segment (dx, dy); a centre on the edge counts as inside.
inline bool InCapsule(double cx, double cy, double dx, double dy, double len2, double r2)
{
    double t = len2 > 0 ? (cx * dx + cy * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = cx - t * dx;
    const double ey = cy - t * dy;
    return ex * ex + ey * ey <= r2;
}

// Puts the pen on pixels from .. to of one row.
inline void PaintSpan(QRgb* line, int from, int to, int rop, uint32_t penRgb)
{
    if (from > to)
        return;
    if (rop == R2_COPYPEN) {
        FillPixels(line + from, to - from + 1, 0xFF000000u | penRgb);
        return;
    }
    for (int px = from; px <= to; ++px)
        line[px] = 0xFF000000u | MixRop2(rop, penRgb, line[px] & kRgbMask);
}

// ceil(v / 2) and floor(v / 2) for whole numbers of either sign.
constexpr int64_t CeilHalf(int64_t v) { return -((-v) >> 1); }
constexpr int64_t FloorHalf(int64_t v) { return v >> 1; }

// The largest m with m * m <= v (v >= 0).
int64_t FloorSqrt(int64_t v)
{
    auto m = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
    while (m > 0 && m * m > v)
        --m;
    while ((m + 1) * (m + 1) <= v)
        ++m;
    return m;
}

// Coordinates, picture sides and widths up to which a capsule across or up and down is decided
// exactly.
constexpr int32_t kExactAxisCoordinate = 1 << 22;
constexpr int32_t kExactAxisWidth = 1 << 16;

// A capsule across or up and down, or a dot: most segments of a trace reduced to pixel columns.
// For these InCapsule gets the distance across the segment without rounding; only the part along
// it rounds (the projection of the centre), by about 2^-29 of a pixel at most for coordinates within
// kExactAxisCoordinate, and that error squared vanishes when added to the square of any distance
// across of half a pixel or more. So whole numbers give the same pixels: in half pixels, a centre
// is inside when its squared distance to the segment's box (a line or a point) is at most the width
// squared. Each row is one span; only rows beyond the ends need a square root. False when the
// segment is not of this kind.
bool AxisCapsuleLine(RasterDC::Impl& d, QImage& image, const Pen& pen, int rop, int32_t ix0, int32_t iy0,
                     int32_t ix1, int32_t iy1)
{
    if (ix0 != ix1 && iy0 != iy1)
        return false;
    for (const int32_t v : {ix0, iy0, ix1, iy1}) {
        if (v < -kExactAxisCoordinate || v > kExactAxisCoordinate)
            return false;
    }
    if (pen.width > kExactAxisWidth || image.width() > kExactAxisCoordinate ||
        image.height() > kExactAxisCoordinate)
        return false;
    const bool even = pen.width % 2 == 0;
    const int64_t gx = even && ix0 == ix1 ? 1 : 0;   // the half-pixel moves of CapsuleLine, doubled
    const int64_t gy = even && iy0 == iy1 ? 1 : 0;
    const int64_t xLo = 2 * int64_t{std::min(ix0, ix1)} - gx;
    const int64_t xHi = 2 * int64_t{std::max(ix0, ix1)} - gx;
    const int64_t yLo = 2 * int64_t{std::min(iy0, iy1)} - gy;
    const int64_t yHi = 2 * int64_t{std::max(iy0, iy1)} - gy;
    const int64_t w = pen.width;
    QRect bounds = image.rect();
    if (d.hasClip)
        bounds = bounds.intersected(d.clipBounds);
    if (bounds.isEmpty())
        return true;
    const int64_t top = std::max<int64_t>(bounds.top(), CeilHalf(yLo - w));
    const int64_t bottom = std::min<int64_t>(bounds.bottom(), FloorHalf(yHi + w));
    const uint32_t penRgb = ToImageRgb(pen.color);
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const bool checkClip = d.hasClip && !d.clipIsRect;
    auto spanFrom = [&](int64_t reach) {
        return static_cast<int>(std::max<int64_t>(bounds.left(), CeilHalf(xLo - reach)));
    };
    auto spanTo = [&](int64_t reach) {
        return static_cast<int>(std::min<int64_t>(bounds.right(), FloorHalf(xHi + reach)));
    };
    // Rows level with the segment all reach the full width out.
    const int bandFrom = spanFrom(w), bandTo = spanTo(w);
    for (int64_t py = top; py <= bottom; ++py) {
        const int64_t ey = std::max({yLo - 2 * py, int64_t{0}, 2 * py - yHi});
        int from = bandFrom, to = bandTo;
        if (ey > 0) {
            const int64_t reach = FloorSqrt(w * w - ey * ey);
            from = spanFrom(reach);
            to = spanTo(reach);
        }
        auto* line = reinterpret_cast<QRgb*>(bits + py * bpl);
        if (!checkClip) {
            PaintSpan(line, from, to, rop, penRgb);
            continue;
        }
        for (int px = from; px <= to; ++px) {
            if (d.clip.contains(QPoint(px, static_cast<int>(py))))
                line[px] = 0xFF000000u | MixRop2(rop, penRgb, line[px] & kRgbMask);
        }
    }
    return true;
}

} // namespace

void CapsuleLine(RasterDC::Impl& d, QImage& image, const Pen& pen, int rop, int32_t ix0, int32_t iy0, int32_t ix1,
                 int32_t iy1)
{
    if (rop == R2_NOP || AxisCapsuleLine(d, image, pen, rop, ix0, iy0, ix1, iy1))
        return;
    const bool even = pen.width % 2 == 0;
    const double gx = even && ix0 == ix1 ? -0.5 : 0.0;
    const double gy = even && iy0 == iy1 ? -0.5 : 0.0;
    const double x0 = ix0 + gx, y0 = iy0 + gy, x1 = ix1 + gx, y1 = iy1 + gy;
    const double r = pen.width / 2.0;
    const double r2 = r * r;
    QRect area(QPoint(static_cast<int>(std::floor(std::min(x0, x1) - r - 1)),
                      static_cast<int>(std::floor(std::min(y0, y1) - r - 1))),
               QPoint(static_cast<int>(std::ceil(std::max(x0, x1) + r + 1)),
                      static_cast<int>(std::ceil(std::max(y0, y1) + r + 1))));
    area = area.intersected(image.rect());
    if (d.hasClip)
        area = area.intersected(d.clipBounds);
    if (area.isEmpty())
        return;
    const uint32_t penRgb = ToImageRgb(pen.color);
    const double dx = x1 - x0;
    const double dy = y1 - y0;
    const double len2 = dx * dx + dy * dy;
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const bool checkClip = d.hasClip && !d.clipIsRect;
    for (int py = area.top(); py <= area.bottom(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(bits + py * bpl);
        const double cy = py - y0;
        int from = area.left();
        int to = area.right();
        // Only the part of the segment within r of this row can reach it: its x range, widened
        // by r, bounds the pixels worth testing.
        {
            double tLo = 0, tHi = 1;
            if (dy == 0) {
                if (std::fabs(cy) > r)
                    continue;
            } else {
                tLo = std::max(std::min((cy - r) / dy, (cy + r) / dy), 0.0);
                tHi = std::min(std::max((cy - r) / dy, (cy + r) / dy), 1.0);
                if (tLo > tHi)
                    continue;
            }
            const double uLo = std::min(tLo * dx, tHi * dx) - r;
            const double uHi = std::max(tLo * dx, tHi * dx) + r;
            from = std::max(from, static_cast<int>(std::floor(uLo + x0)));
            to = std::min(to, static_cast<int>(std::ceil(uHi + x0)));
        }
        if (!checkClip) {
            // A row meets the capsule (a convex shape) in one span: close in on its first and last
            // inside pixels, tested exactly as pixel by pixel would, and fill between them.
            while (from <= to && !InCapsule(from - x0, cy, dx, dy, len2, r2))
                ++from;
            while (to >= from && !InCapsule(to - x0, cy, dx, dy, len2, r2))
                --to;
            PaintSpan(line, from, to, rop, penRgb);
            continue;
        }
        for (int px = from; px <= to; ++px) {
            if (!InCapsule(px - x0, cy, dx, dy, len2, r2) || !d.clip.contains(QPoint(px, py)))
                continue;
            line[px] = 0xFF000000u | MixRop2(rop, penRgb, line[px] & kRgbMask);
        }
    }
}

} // namespace raster

} // namespace gdi
