#include "platform/gdi/ShapeRaster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace gdi::shapes {

namespace {

int32_t Clamp32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// ceil(n / d) for d > 0, exactly.
int64_t CeilDiv(__int128 n, __int128 d)
{
    __int128 q = n / d;
    if (n % d != 0 && n > 0)
        ++q;
    return static_cast<int64_t>(std::clamp<__int128>(q, INT64_MIN, INT64_MAX));
}

} // namespace

std::vector<ShapeRow> EllipseRows(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    std::vector<ShapeRow> rows;
    const int64_t w = int64_t{right} - left;
    const int64_t h = int64_t{bottom} - top;
    if (w <= 0 || h <= 0)
        return rows;
    // Offsets from the centre: columns u = fx, fx + 1, ... up to a; rows v = fy, fy + 1, ... up
    // to b (half-integers for an even size, whose centre lies between two pixels). One quarter is
    // computed and mirrored, so the ellipse is symmetric whatever the rounding does.
    const double a = static_cast<double>(w - 1) / 2.0;
    const double b = static_cast<double>(h - 1) / 2.0;
    const double fx = w % 2 == 0 ? 0.5 : 0.0;
    const double fy = h % 2 == 0 ? 0.5 : 0.0;
    const int64_t nu = (w + 1) / 2;
    const int64_t nv = (h + 1) / 2;
    std::vector<int64_t> uMin(static_cast<size_t>(nv), nu);
    std::vector<int64_t> uMax(static_cast<size_t>(nv), -1);
    auto mark = [&](int64_t i, int64_t j) {
        auto& lo = uMin[static_cast<size_t>(j)];
        auto& hi = uMax[static_cast<size_t>(j)];
        lo = std::min(lo, i);
        hi = std::max(hi, i);
    };
    // In every column the row nearest the curve, and in every row the column nearest it: the
    // first keeps the flat parts connected, the second the steep ones, and together they reach
    // the box on all four sides.
    for (int64_t i = 0; i < nu; ++i) {
        const double q = a > 0 ? (fx + static_cast<double>(i)) / a : 0.0;
        const double v = b * std::sqrt(std::max(0.0, 1.0 - q * q));
        mark(i, std::clamp<int64_t>(std::llround(v - fy), 0, nv - 1));
    }
    for (int64_t j = 0; j < nv; ++j) {
        const double q = b > 0 ? (fy + static_cast<double>(j)) / b : 0.0;
        const double u = a * std::sqrt(std::max(0.0, 1.0 - q * q));
        mark(std::clamp<int64_t>(std::llround(u - fx), 0, nu - 1), j);
    }
    auto xRight = [&](int64_t i) { return Clamp32(left + w / 2 + i); };
    auto xLeft = [&](int64_t i) { return Clamp32(left + w - 1 - w / 2 - i); };
    auto row = [&](int64_t y, int64_t j) {
        const size_t k = static_cast<size_t>(j);
        return ShapeRow{Clamp32(y), xLeft(uMax[k]), xLeft(uMin[k]), xRight(uMin[k]), xRight(uMax[k])};
    };
    rows.reserve(static_cast<size_t>(h));
    for (int64_t j = nv - 1; j >= 0; --j)
        rows.push_back(row(top + h - 1 - h / 2 - j, j));
    for (int64_t j = h % 2 == 1 ? 1 : 0; j < nv; ++j)
        rows.push_back(row(top + h / 2 + j, j));
    return rows;
}

std::vector<ShapeRow> RoundRectRows(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    std::vector<ShapeRow> rows;
    const int64_t width = int64_t{right} - left;
    const int64_t height = int64_t{bottom} - top;
    if (width <= 0 || height <= 0)
        return rows;
    const int64_t cw = std::min<int64_t>(std::llabs(w), width);
    const int64_t ch = std::min<int64_t>(std::llabs(h), height);
    const int32_t r = right - 1;
    const auto full = [&](int64_t y) { return ShapeRow{Clamp32(y), left, r, left, r}; };
    const auto sides = [&](int64_t y) { return ShapeRow{Clamp32(y), left, left, r, r}; };
    if (cw < 2 || ch < 2) {
        // No corner to round: a rectangle.
        for (int64_t y = top; y < bottom; ++y)
            rows.push_back(y == top || y == bottom - 1 ? full(y) : sides(y));
        return rows;
    }
    // The corner ellipse's quarters are pulled apart to the box's corners; where the ellipse has
    // no interior (its top and bottom rows) the straight edge joins them.
    const std::vector<ShapeRow> corner = EllipseRows(0, 0, static_cast<int32_t>(cw), static_cast<int32_t>(ch));
    const int64_t shiftX = width - cw;
    const int64_t shiftY = height - ch;
    auto place = [&](const ShapeRow& e, int64_t y) {
        ShapeRow out{Clamp32(y), Clamp32(left + e.outerLeft), Clamp32(left + e.innerLeft),
                     Clamp32(left + shiftX + e.innerRight), Clamp32(left + shiftX + e.outerRight)};
        if (e.innerRight - e.innerLeft <= 1) {
            out.innerLeft = out.outerRight;
            out.innerRight = out.outerLeft;
        }
        return out;
    };
    const int64_t topRows = (ch + 1) / 2;
    for (int64_t k = 0; k < topRows; ++k)
        rows.push_back(place(corner[static_cast<size_t>(k)], top + k));
    for (int64_t y = top + topRows; y < top + shiftY + ch / 2; ++y)
        rows.push_back(sides(y));
    for (int64_t k = ch / 2; k < ch; ++k) {
        const int64_t y = top + shiftY + k;
        if (y > rows.back().y)
            rows.push_back(place(corner[static_cast<size_t>(k)], y));
    }
    return rows;
}

std::vector<Span> PolygonSpans(const Point* points, int count, bool winding, int32_t rowFrom, int32_t rowTo)
{
    std::vector<Span> spans;
    if (!points || count < 3 || rowFrom >= rowTo)
        return spans;
    struct Edge {
        int64_t x0, y0, x1, y1;   // y0 < y1
        int dir;
    };
    std::vector<Edge> edges;
    edges.reserve(static_cast<size_t>(count));
    int64_t yMin = INT64_MAX, yMax = INT64_MIN;
    for (int i = 0; i < count; ++i) {
        const Point& p = points[i];
        const Point& q = points[(i + 1) % count];
        if (p.y == q.y)
            continue;
        const bool down = p.y < q.y;
        edges.push_back(down ? Edge{p.x, p.y, q.x, q.y, 1} : Edge{q.x, q.y, p.x, p.y, -1});
        yMin = std::min<int64_t>(yMin, std::min(p.y, q.y));
        yMax = std::max<int64_t>(yMax, std::max(p.y, q.y));
    }
    if (edges.empty())
        return spans;
    std::sort(edges.begin(), edges.end(), [](const Edge& a, const Edge& b) { return a.y0 < b.y0; });
    const int64_t first = std::max<int64_t>(yMin, rowFrom);
    const int64_t last = std::min<int64_t>(yMax, rowTo);   // exclusive: the bottom edge is outside
    std::vector<const Edge*> active;
    std::vector<std::pair<int64_t, int>> crossings;
    size_t next = 0;
    for (int64_t y = first; y < last; ++y) {
        while (next < edges.size() && edges[next].y0 <= y)
            active.push_back(&edges[next++]);
        std::erase_if(active, [y](const Edge* e) { return e->y1 <= y; });
        crossings.clear();
        for (const Edge* e : active) {
            // The first pixel at or right of the edge: a point on it belongs to the span it starts.
            const __int128 dy = e->y1 - e->y0;
            const __int128 n = static_cast<__int128>(e->x0) * dy + static_cast<__int128>(y - e->y0) * (e->x1 - e->x0);
            crossings.emplace_back(CeilDiv(n, dy), e->dir);
        }
        std::sort(crossings.begin(), crossings.end());
        int inside = 0;
        int64_t start = 0;
        for (size_t k = 0; k < crossings.size(); ++k) {
            const bool was = winding ? inside != 0 : (inside & 1) != 0;
            inside += winding ? crossings[k].second : 1;
            const bool is = winding ? inside != 0 : (inside & 1) != 0;
            if (!was && is)
                start = crossings[k].first;
            else if (was && !is && crossings[k].first > start)
                spans.push_back(Span{Clamp32(y), Clamp32(start), Clamp32(crossings[k].first)});
        }
    }
    return spans;
}

} // namespace gdi::shapes
