#include "platform/gdi/MetafileClip.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace gdi {

namespace {

int32_t ClampTo32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A point the cut left inside the box: rounding keeps it there.
Point RoundPoint(double x, double y)
{
    return Point{static_cast<int32_t>(std::llround(x)), static_cast<int32_t>(std::llround(y))};
}

} // namespace

ClipBox VisibleBox(int32_t width, int32_t height, const std::optional<Rect>& clip, int32_t margin)
{
    Rect r{0, 0, width, height};
    if (clip)
        r = Rect{std::max(r.left, clip->left), std::max(r.top, clip->top), std::min(r.right, clip->right),
                 std::min(r.bottom, clip->bottom)};
    return ClipBox{ClampTo32(int64_t{r.left} - margin), ClampTo32(int64_t{r.top} - margin),
                   ClampTo32(int64_t{r.right} + margin), ClampTo32(int64_t{r.bottom} + margin)};
}

bool InBox(const ClipBox& box, int64_t x, int64_t y)
{
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const ClipBox& box)
{
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    return true;
}

std::optional<std::pair<Point, Point>> ClipLine(Point from, Point to, const ClipBox& box)
{
    double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
    if (!ClipSegment(x0, y0, x1, y1, box))
        return std::nullopt;
    return std::pair{RoundPoint(x0, y0), RoundPoint(x1, y1)};
}

std::vector<std::vector<Point>> SplitPolyline(const Point* points, int count, const ClipBox& box, int maxPoints)
{
    auto inside = [&](const Point& p) { return InBox(box, p.x, p.y); };
    std::vector<std::vector<Point>> pieces;
    if (!points || count <= 0)
        return pieces;
    std::vector<Point> run;
    auto flush = [&] {
        if (run.size() >= 2 || (run.size() == 1 && count == 1))
            pieces.push_back(run);
        run.clear();
    };
    auto push = [&](Point p) {
        if (run.size() == static_cast<size_t>(maxPoints)) {
            const Point last = run.back();
            flush();
            run.push_back(last);
        }
        if (run.empty() || !(run.back() == p) || run.size() == 1)
            run.push_back(p);
    };
    if (count == 1) {
        if (inside(points[0]))
            pieces.push_back({points[0]});
        return pieces;
    }
    for (int i = 0; i + 1 < count; ++i) {
        const Point a = points[i], b = points[i + 1];
        if (inside(a) && inside(b)) {
            if (run.empty())
                run.push_back(a);
            push(b);
            continue;
        }
        const auto cut = ClipLine(a, b, box);
        if (!cut) {
            flush();
            continue;
        }
        if (run.empty() || !(run.back() == cut->first)) {
            flush();
            run.push_back(cut->first);
        }
        push(cut->second);
        if (!inside(b))
            flush();
    }
    flush();
    return pieces;
}

std::vector<Point> ClipPolygon(const Point* points, int count, const ClipBox& box)
{
    std::vector<Point> out;
    if (!points || count <= 0)
        return out;
    bool inside = true;
    for (int i = 0; i < count && inside; ++i)
        inside = InBox(box, points[i].x, points[i].y);
    std::vector<std::array<double, 2>> poly;
    poly.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        poly.push_back({static_cast<double>(points[i].x), static_cast<double>(points[i].y)});
    if (!inside) {
        // Sutherland-Hodgman against the four edges of the box.
        const double bounds[4] = {static_cast<double>(box.left), static_cast<double>(box.right),
                                  static_cast<double>(box.top), static_cast<double>(box.bottom)};
        for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
            const int axis = edge / 2;
            const double bound = bounds[edge];
            auto in = [&](const std::array<double, 2>& p) { return (edge % 2) ? p[axis] <= bound : p[axis] >= bound; };
            std::vector<std::array<double, 2>> next;
            for (size_t i = 0; i < poly.size(); ++i) {
                const auto& cur = poly[i];
                const auto& prev = poly[(i + poly.size() - 1) % poly.size()];
                const bool cin = in(cur), pin = in(prev);
                if (cin != pin) {
                    const double t = (bound - prev[axis]) / (cur[axis] - prev[axis]);
                    std::array<double, 2> x{prev[0] + t * (cur[0] - prev[0]), prev[1] + t * (cur[1] - prev[1])};
                    x[axis] = bound;
                    next.push_back(x);
                }
                if (cin)
                    next.push_back(cur);
            }
            poly = std::move(next);
        }
    }
    for (const auto& p : poly) {
        const Point q = RoundPoint(p[0], p[1]);
        if (out.empty() || !(out.back() == q))
            out.push_back(q);
    }
    return out;
}

bool CutRectangle(int64_t left, int64_t top, int64_t right, int64_t bottom, const ClipBox& box, Rect& cut)
{
    auto along = [](int64_t v, int32_t low, int32_t high) { return static_cast<int32_t>(std::clamp<int64_t>(v, low, high)); };
    cut = Rect{along(left, box.left, box.right), along(top, box.top, box.bottom), along(right, box.left, box.right),
               along(bottom, box.top, box.bottom)};
    return cut.right > cut.left && cut.bottom > cut.top;
}

Rect FillArea(const MetaRecord& r)
{
    const int32_t* a = r.a;
    if (r.op == MetaOp::FillRect)
        return Rect{std::min(a[0], a[2]), std::min(a[1], a[3]), std::max(a[0], a[2]), std::max(a[1], a[3])};
    auto from = [](int32_t start, int32_t extent) {
        return ClampTo32(extent >= 0 ? int64_t{start} : int64_t{start} + extent + 1);
    };
    const int32_t left = from(a[0], a[2]), top = from(a[1], a[3]);
    return Rect{left, top, ClampTo32(int64_t{left} + std::llabs(a[2])), ClampTo32(int64_t{top} + std::llabs(a[3]))};
}

bool CutFill(const MetaRecord& r, const ClipBox& box, Rect& cut)
{
    const Rect area = FillArea(r);
    return CutRectangle(area.left, area.top, area.right, area.bottom, box, cut);
}

bool OutsideBox(const int32_t* a, const ClipBox& box)
{
    return std::max(a[0], a[2]) < box.left || std::min(a[0], a[2]) > box.right || std::max(a[1], a[3]) < box.top ||
           std::min(a[1], a[3]) > box.bottom;
}

} // namespace gdi
