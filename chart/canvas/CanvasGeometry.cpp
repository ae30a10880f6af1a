#include "chart/canvas/CanvasGeometry.h"

#include <algorithm>
#include <cmath>

int32_t RoundToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= PixelCoordinateLimit)
        return PixelCoordinateLimit;
    if (value <= -PixelCoordinateLimit)
        return -PixelCoordinateLimit;
    return static_cast<int32_t>(std::nearbyint(value));
}

bool IsBackFaceTriple(const TPoint& p0, const TPoint& p1, const TPoint& p2)
{
    // 64-bit products: pixel coordinates up to the limit would overflow 32 bits.
    const int64_t a = static_cast<int64_t>(p0.X - p1.X) * (p2.Y - p1.Y);
    const int64_t b = static_cast<int64_t>(p2.X - p1.X) * (p0.Y - p1.Y);
    return a - b < 0;
}

bool IsBackFaceQuad(const TFourPoints& points)
{
    return IsBackFaceTriple(points[0], points[1], points[2]);
}

bool PointInRect(const TRect& rect, int32_t x, int32_t y)
{
    return x >= rect.Left && x <= rect.Right && y >= rect.Top && y <= rect.Bottom;
}

TRect OrientRect(const TRect& rect)
{
    TRect r = rect;
    if (r.Left > r.Right)
        std::swap(r.Left, r.Right);
    if (r.Top > r.Bottom)
        std::swap(r.Top, r.Bottom);
    return r;
}

void RectSize(const TRect& rect, int32_t& width, int32_t& height)
{
    width = rect.Right - rect.Left;
    height = rect.Bottom - rect.Top;
}

TPoint RectCenter(const TRect& rect)
{
    return TPoint{(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2};
}

TRect PolygonBounds(const TPointArray& points, int lastIndex)
{
    if (lastIndex < 0 || points.empty())
        return TRect{};
    lastIndex = std::min<int>(lastIndex, static_cast<int>(points.size()) - 1);
    TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (int i = 1; i <= lastIndex; ++i) {
        r.Left = std::min(r.Left, points[i].X);
        r.Right = std::max(r.Right, points[i].X);
        r.Top = std::min(r.Top, points[i].Y);
        r.Bottom = std::max(r.Bottom, points[i].Y);
    }
    return r;
}

TRect PolygonRect(const TPoint* points, int count)
{
    if (count <= 0 || !points)
        return TRect{0, 0, 1, 1};
    if (count < 2)
        return TRect{points[0].X, points[0].Y, points[0].X + 1, points[0].Y + 1};
    TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (int i = 1; i < count; ++i) {
        r.Left = std::min(r.Left, points[i].X);
        r.Right = std::max(r.Right, points[i].X);
        r.Top = std::min(r.Top, points[i].Y);
        r.Bottom = std::max(r.Bottom, points[i].Y);
    }
    ++r.Right;
    ++r.Bottom;
    return r;
}

namespace {

// Quicksort on the keys, moving points along; partitions on the middle element's key.
void SortByKey(TPointArray& points, std::vector<double>& keys, int l, int r)
{
    while (l < r) {
        int i = l;
        int j = r;
        const double pivot = keys[static_cast<size_t>((l + r) / 2)];
        while (i <= j) {
            while (keys[static_cast<size_t>(i)] < pivot)
                ++i;
            while (keys[static_cast<size_t>(j)] > pivot)
                --j;
            if (i <= j) {
                std::swap(keys[static_cast<size_t>(i)], keys[static_cast<size_t>(j)]);
                std::swap(points[static_cast<size_t>(i)], points[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        }
        // Recurse into the smaller part, loop on the larger.
        if (j - l < r - i) {
            SortByKey(points, keys, l, j);
            l = i;
        } else {
            SortByKey(points, keys, i, r);
            r = j;
        }
    }
}

} // namespace

bool ConvexHull(TPointArray& points)
{
    const int count = static_cast<int>(points.size());
    if (count == 3)
        return true;
    if (count < 3)
        return false;

    // (1) pivot: smallest Y, ties the largest X.
    int pivotIndex = 0;
    for (int i = 1; i < count; ++i) {
        const TPoint& p = points[static_cast<size_t>(i)];
        const TPoint& q = points[static_cast<size_t>(pivotIndex)];
        if (p.Y < q.Y || (p.Y == q.Y && p.X > q.X))
            pivotIndex = i;
    }
    const TPoint pivot = points[static_cast<size_t>(pivotIndex)];
    // (2) the last point takes the pivot's place.
    points[static_cast<size_t>(pivotIndex)] = points.back();
    points.pop_back();

    // (3) keys.
    std::vector<double> keys(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const double dx = static_cast<double>(pivot.X) - points[i].X;
        const double dy = static_cast<double>(pivot.Y) - points[i].Y;
        const double d = std::hypot(dx, dy);
        keys[i] = d == 0 ? 0.0 : dx / d;
    }
    // (4) sort.
    SortByKey(points, keys, 0, static_cast<int>(points.size()) - 1);

    // (5) walk; the last point is tested against the pivot too, so no dent survives at the end.
    int i = 1;
    while (i <= static_cast<int>(points.size()) - 1) {
        const int last = static_cast<int>(points.size()) - 1;
        const TPoint next = i == last ? pivot : points[static_cast<size_t>(i + 1)];
        if (i == 0 || IsBackFaceTriple(points[static_cast<size_t>(i - 1)], points[static_cast<size_t>(i)], next)) {
            ++i;
        } else {
            points.erase(points.begin() + i);
            --i;
        }
    }
    // (6)
    points.push_back(pivot);
    return true;
}

void ColorToRGBTriple(TColor color, TRGBTriple& out)
{
    const uint32_t rgb = ColorToRGB(color);
    out.rgbtRed = GetRValue(rgb);
    out.rgbtGreen = GetGValue(rgb);
    out.rgbtBlue = GetBValue(rgb);
}

TColor ColorDarker(TColor color, int amount)
{
    const uint32_t rgb = ColorToRGB(color);
    auto ch = [amount](int v) { return std::max(0, v - amount); };
    return RGBColor(ch(GetRValue(rgb)), ch(GetGValue(rgb)), ch(GetBValue(rgb)));
}

TColor ColorBrighter(TColor color, int amount)
{
    const uint32_t rgb = ColorToRGB(color);
    auto ch = [amount](int v) { return std::min(255, v + amount); };
    return RGBColor(ch(GetRValue(rgb)), ch(GetGValue(rgb)), ch(GetBValue(rgb)));
}
