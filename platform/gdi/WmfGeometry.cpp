#include "platform/gdi/WmfGeometry.h"

#include <array>
#include <cmath>

namespace gdi::wmf {

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const WmfClipBox& box)
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

Point RoundPoint(double x, double y)
{
    return Point{C16(std::llround(x)), C16(std::llround(y))};
}

} // namespace gdi::wmf

namespace gdi {

WmfClipBox WmfFrameBox(int32_t width, int32_t height, int32_t margin)
{
    const int64_t m = std::max(0, margin);
    return WmfClipBox{wmf::C16(-m), wmf::C16(-m), wmf::C16(int64_t{width} + m), wmf::C16(int64_t{height} + m)};
}

std::vector<std::vector<Point>> SplitPolylineForWmf(const Point* points, int count, const WmfClipBox& box)
{
    auto inside = [&](const Point& p) { return wmf::InBox(box, p.x, p.y); };
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
        if (run.size() == static_cast<size_t>(kWmfMaxPolyPoints)) {
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
        double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
        if (!wmf::ClipSegment(x0, y0, x1, y1, box)) {
            flush();
            continue;
        }
        const Point ca = wmf::RoundPoint(x0, y0), cb = wmf::RoundPoint(x1, y1);
        if (run.empty() || !(run.back() == ca)) {
            flush();
            run.push_back(ca);
        }
        push(cb);
        if (!inside(b))
            flush();
    }
    flush();
    return pieces;
}

std::vector<Point> ClipPolygonForWmf(const Point* points, int count, const WmfClipBox& box)
{
    std::vector<Point> out;
    if (!points || count <= 0)
        return out;
    bool inside = true;
    for (int i = 0; i < count && inside; ++i)
        inside = wmf::InBox(box, points[i].x, points[i].y);
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
        const Point q = wmf::RoundPoint(p[0], p[1]);
        if (out.empty() || !(out.back() == q))
            out.push_back(q);
    }
    // The record counts in 16 bits: a longer outline keeps evenly spread points.
    if (out.size() > static_cast<size_t>(kWmfMaxPolyPoints)) {
        std::vector<Point> thin;
        thin.reserve(kWmfMaxPolyPoints);
        const double step = static_cast<double>(out.size()) / kWmfMaxPolyPoints;
        for (int i = 0; i < kWmfMaxPolyPoints; ++i)
            thin.push_back(out[static_cast<size_t>(i * step)]);
        out = std::move(thin);
    }
    return out;
}

} // namespace gdi
