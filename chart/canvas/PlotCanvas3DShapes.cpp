// The depth-aware shapes of the device-context canvas: planes, solids, pies and pictures at depth.
// Every shape is built from projected points and drawn with the flat primitives and the current
// pen and brush, so a flat canvas draws the same calls as 2D shapes.
#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotGradient.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>

// ---- planes and simple solids

void TPlotCanvas3D::DrawQuadBuffer()
{
    Polygon(TPointArray(QuadBuffer.begin(), QuadBuffer.end()), 3);
}

void TPlotCanvas3D::RectangleAtDepth(const TRect& rect, int32_t z)
{
    QuadBuffer = {ProjectToScreen(rect.Left, rect.Top, z), ProjectToScreen(rect.Right, rect.Top, z),
                  ProjectToScreen(rect.Right, rect.Bottom, z), ProjectToScreen(rect.Left, rect.Bottom, z)};
    DrawQuadBuffer();
}

void TPlotCanvas3D::DepthPlane(const TPoint& p1, const TPoint& p2, int32_t z0, int32_t z1)
{
    QuadBuffer = {ProjectToScreen(p1.X, p1.Y, z0), ProjectToScreen(p2.X, p2.Y, z0), ProjectToScreen(p2.X, p2.Y, z1),
                  ProjectToScreen(p1.X, p1.Y, z1)};
    DrawQuadBuffer();
}

void TPlotCanvas3D::QuadAtDepth(const TPoint& p1, const TPoint& p2, const TPoint& p3, const TPoint& p4, int32_t z)
{
    QuadBuffer = {ProjectToScreen(p1.X, p1.Y, z), ProjectToScreen(p2.X, p2.Y, z), ProjectToScreen(p3.X, p3.Y, z),
                  ProjectToScreen(p4.X, p4.Y, z)};
    DrawQuadBuffer();
}

void TPlotCanvas3D::QuadBetweenDepths(const TFourPoints& p, int32_t z0, int32_t z1)
{
    QuadBuffer = {ProjectToScreenFloat(p[0].X, p[0].Y, z0), ProjectToScreenFloat(p[1].X, p[1].Y, z0),
                  ProjectToScreenFloat(p[2].X, p[2].Y, z1), ProjectToScreenFloat(p[3].X, p[3].Y, z1)};
    DrawQuadBuffer();
}

void TPlotCanvas3D::HorizontalPlane(int32_t left, int32_t y, int32_t z0, int32_t z1, int32_t right)
{
    QuadBuffer = {ProjectToScreen(left, y, z1), ProjectToScreen(right, y, z1), ProjectToScreen(right, y, z0),
                  ProjectToScreen(left, y, z0)};
    DrawQuadBuffer();
}

void TPlotCanvas3D::SidePlane(int32_t x, int32_t top, int32_t z0, int32_t z1, int32_t bottom)
{
    QuadBuffer = {ProjectToScreen(x, top, z1), ProjectToScreen(x, top, z0), ProjectToScreen(x, bottom, z0),
                  ProjectToScreen(x, bottom, z1)};
    DrawQuadBuffer();
}

void TPlotCanvas3D::Polygon3D(const TPoint3DArray& points, int lastIndex)
{
    const int count = std::min<int>(lastIndex + 1, static_cast<int>(points.size()));
    if (count <= 0)
        return;
    TPointArray p;
    p.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        p.push_back(ProjectToScreen(points[static_cast<size_t>(i)].X, points[static_cast<size_t>(i)].Y,
                                    points[static_cast<size_t>(i)].Z));
    Polygon(p, count - 1);
}

void TPlotCanvas3D::TriangleAtDepth(const TPoint& p0, const TPoint& p1, const TPoint& p2, int32_t z)
{
    Polygon(TPointArray{ProjectToScreen(p0.X, p0.Y, z), ProjectToScreen(p1.X, p1.Y, z), ProjectToScreen(p2.X, p2.Y, z)},
            2);
}

void TPlotCanvas3D::Triangle3D(const TPoint3D& p0, const TPoint3D& p1, const TPoint3D& p2, TColor c0, TColor, TColor)
{
    if (Brush().Style() != bsClear)
        Brush().SetColor(c0);
    Polygon(TPointArray{ProjectToScreen(p0.X, p0.Y, p0.Z), ProjectToScreen(p1.X, p1.Y, p1.Z),
                        ProjectToScreen(p2.X, p2.Y, p2.Z)},
            2);
}

void TPlotCanvas3D::EllipseAtDepth(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t z)
{
    if (!Is3D) {
        Ellipse(x1, y1, x2 + 1, y2 + 1);
        return;
    }
    if (IsOrthogonal) {
        const TPoint a = ProjectToScreen(x1, y1, z);
        const TPoint b = ProjectToScreen(x2, y2, z);
        Ellipse(a.X, a.Y, b.X, b.Y);
        return;
    }
    const double cx = (x1 + x2) * 0.5;
    const double cy = (y1 + y2) * 0.5;
    const double rx = (x2 - x1) * 0.5;
    const double ry = (y2 - y1) * 0.5;
    TPointArray p(64);
    p[0] = ProjectToScreenFloat(cx + rx, cy, z);
    for (int i = 1; i < 64; ++i) {
        const double a = i * 2 * std::numbers::pi / 63;
        p[static_cast<size_t>(i)] = ProjectToScreenFloat(cx + rx * std::cos(a), cy - ry * std::sin(a), z);
    }
    if (Brush().Style() != bsClear) {
        const TPoint centre = ProjectToScreenFloat(cx, cy, z);
        const TPenStyle oldStyle = Pen().Style();
        Pen().SetStyle(psClear);
        // 63 wedges for the 63 arcs between the 64 points, the first one above angle 0 included.
        for (int i = 0; i < 63; ++i)
            Polygon(TPointArray{centre, p[static_cast<size_t>(i)], p[static_cast<size_t>(i + 1)]}, 2);
        Pen().SetStyle(oldStyle);
    }
    if (Pen().Style() != psClear)
        Polyline(p, 63);
}

void TPlotCanvas3D::Sphere(int32_t x, int32_t y, int32_t z, double radius)
{
    const int32_t r = RoundToPixel(radius);
    EllipseAtDepth(x - r, y - r, x + r, y + r, z);
}

void TPlotCanvas3D::Cube(int32_t left, int32_t right, int32_t top, int32_t bottom, int32_t z0, int32_t z1,
                         bool darkSides)
{
    const TColor entry = Brush().Color();
    const bool clear = Brush().Style() == bsClear;
    auto faceVisible = [&] {
        const double ax = QuadBuffer[0].X - QuadBuffer[1].X, ay = QuadBuffer[0].Y - QuadBuffer[1].Y;
        const double bx = QuadBuffer[2].X - QuadBuffer[1].X, by = QuadBuffer[2].Y - QuadBuffer[1].Y;
        return clear || ax * by - bx * ay > 0;
    };
    // Corners listed clockwise as seen from outside the box; projected, a face towards the viewer
    // then runs the other way round on screen, which gives the positive product.
    auto quad = [&](TPoint3D a, TPoint3D b, TPoint3D c, TPoint3D d) {
        QuadBuffer = {ProjectToScreen(d.X, d.Y, d.Z), ProjectToScreen(c.X, c.Y, c.Z), ProjectToScreen(b.X, b.Y, b.Z),
                      ProjectToScreen(a.X, a.Y, a.Z)};
    };
    // Front (Z0) or, when it is turned away, back (Z1), in the brush colour.
    quad({left, bottom, z0}, {left, top, z0}, {right, top, z0}, {right, bottom, z0});
    if (!faceVisible())
        quad({right, bottom, z1}, {right, top, z1}, {left, top, z1}, {left, bottom, z1});
    DrawQuadBuffer();
    const struct {
        TPoint3D a, b, c, d;
        int dark;
    } sides[4] = {
        {{left, top, z0}, {left, top, z1}, {right, top, z1}, {right, top, z0}, 128},            // top
        {{right, top, z0}, {right, top, z1}, {right, bottom, z1}, {right, bottom, z0}, 128},    // right
        {{right, bottom, z0}, {right, bottom, z1}, {left, bottom, z1}, {left, bottom, z0}, 64}, // bottom
        {{left, bottom, z0}, {left, bottom, z1}, {left, top, z1}, {left, top, z0}, 64},         // left
    };
    for (const auto& s : sides) {
        quad(s.a, s.b, s.c, s.d);
        if (!faceVisible())
            continue;
        if (darkSides)
            SetBrushDarker(entry, s.dark);
        DrawQuadBuffer();
    }
    if (darkSides && !clear)
        Brush().SetColor(entry);
}

void TPlotCanvas3D::Arrow(bool filled, const TPoint& from, const TPoint& to, int32_t z, int32_t headLength,
                          int32_t headWidth, int32_t headSize)
{
    const double dx = static_cast<double>(to.X) - from.X;
    const double dy = static_cast<double>(from.Y) - to.Y;
    const double length = std::hypot(dx, dy);
    if (length == 0)
        return;
    const double s = dy / length;
    const double c = dx / length;
    const double along = to.X * c - to.Y * s;
    const double across = to.X * s + to.Y * c;
    auto back = [&](double a, double cc) {
        return ProjectToScreen(RoundToPixel(a * c + cc * s), RoundToPixel(cc * c - a * s), z);
    };
    const double head = std::min<double>(headLength, RoundToPixel(length));
    const double base = along - head;
    const TPoint tip = back(along, across);
    const TPoint left = back(base, across - headWidth / 2.0);
    const TPoint right = back(base, across + headWidth / 2.0);
    if (filled) {
        const double half = headWidth * 0.005 * headSize;
        const double tail = along - length;
        Polygon(TPointArray{tip, left, back(base, across - half), back(tail, across - half), back(tail, across + half),
                            back(base, across + half), right},
                6);
    } else {
        const TPoint f = ProjectToScreen(from.X, from.Y, z);
        MoveTo(f.X, f.Y);
        LineTo(tip.X, tip.Y);
        LineTo(left.X, left.Y);
        MoveTo(tip.X, tip.Y);
        LineTo(right.X, right.Y);
    }
}


// ---- solids of revolution, pyramids, pies

int PieArcPointCount(double startAngle, double endAngle)
{
    const double degrees = std::fabs(endAngle - startAngle) * 180.0 / std::numbers::pi;
    if (!std::isfinite(degrees))
        return 96;
    return static_cast<int>(std::min<double>(94, std::nearbyint(degrees / 2))) + 2;
}

namespace {

// Signed area test of a projected face: true when it is turned towards the viewer.
bool Faces(const TPoint& a, const TPoint& b, const TPoint& c) { return !IsBackFaceTriple(a, b, c); }

} // namespace

void TPlotCanvas3D::Cone(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                         int32_t z1, bool darkSides, int32_t conePercent)
{
    const int sides = std::max(3, CylinderSides);
    const double narrow = std::clamp(conePercent, 0, 100) * 0.01;
    const double cz = (z0 + z1) * 0.5;
    const double rz = (z1 - z0) * 0.5;
    // The round section lies across the axis; the base is at the bottom (vertical) or the left
    // end, the far end narrows to the cone percentage.
    const double cAcross = vertical ? (left + right) * 0.5 : (top + bottom) * 0.5;
    const double rAcross = vertical ? (right - left) * 0.5 : (bottom - top) * 0.5;
    const double baseAt = vertical ? bottom : left;
    const double tipAt = vertical ? top : right;
    auto point = [&](double along, double angle, double scale) {
        const double across = cAcross + rAcross * scale * std::cos(angle);
        const double depth = cz + rz * scale * std::sin(angle);
        return vertical ? ProjectToScreenFloat(across, along, depth) : ProjectToScreenFloat(along, across, depth);
    };
    std::vector<TPoint> base(static_cast<size_t>(sides));
    std::vector<TPoint> tip(static_cast<size_t>(sides));
    for (int i = 0; i < sides; ++i) {
        const double a = i * 2 * std::numbers::pi / sides;
        base[static_cast<size_t>(i)] = point(baseAt, a, 1.0);
        tip[static_cast<size_t>(i)] = point(tipAt, a, narrow);
    }
    const TColor entry = Brush().Color();
    for (int i = 0; i < sides; ++i) {
        const size_t a = static_cast<size_t>(i);
        const size_t b = static_cast<size_t>((i + 1) % sides);
        QuadBuffer = {base[a], base[b], tip[b], tip[a]};
        // A quad that narrowed to a point is tested on its other corners.
        const bool facing = QuadBuffer[0] != QuadBuffer[1] ? Faces(QuadBuffer[0], QuadBuffer[1], QuadBuffer[2])
                                                           : Faces(QuadBuffer[1], QuadBuffer[2], QuadBuffer[3]);
        if (!facing)
            continue;
        if (darkSides)
            SetBrushDarker(entry, i < sides / 2 ? 64 : 32);
        DrawQuadBuffer();
    }
    if (darkSides)
        Brush().SetColor(entry);
    // The end caps that face the viewer.
    const std::vector<TPoint>* caps[2] = {&base, narrow > 0 ? &tip : nullptr};
    for (const std::vector<TPoint>* cap : caps) {
        if (!cap)
            continue;
        TPointArray poly(cap->begin(), cap->end());
        const bool facing = Faces(poly[0], poly[1], poly[2]);
        // The base faces outwards the other way round from the far end.
        if (facing == (cap == &tip))
            Polygon(poly, static_cast<int>(poly.size()) - 1);
    }
}

void TPlotCanvas3D::Cylinder(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                             int32_t z1, bool darkSides)
{
    Cone(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}

void TPlotCanvas3D::Pyramid(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                            int32_t z1, bool darkSides)
{
    const TColor entry = Brush().Color();
    const int32_t zm = (z0 + z1) / 2;
    // The apex lies at the centre of the end opposite the base: base at the bottom (vertical) or
    // the left end; a pyramid pointing the other way inverts the facing test.
    TPoint apex;
    TPoint corners[4];
    bool inverted;
    if (vertical) {
        apex = ProjectToScreen((left + right) / 2, top, zm);
        corners[0] = ProjectToScreen(left, bottom, z0);
        corners[1] = ProjectToScreen(right, bottom, z0);
        corners[2] = ProjectToScreen(right, bottom, z1);
        corners[3] = ProjectToScreen(left, bottom, z1);
        inverted = top > bottom;
    } else {
        apex = ProjectToScreen(right, (top + bottom) / 2, zm);
        corners[0] = ProjectToScreen(left, bottom, z0);
        corners[1] = ProjectToScreen(left, top, z0);
        corners[2] = ProjectToScreen(left, top, z1);
        corners[3] = ProjectToScreen(left, bottom, z1);
        inverted = left > right;
    }
    for (int i = 0; i < 4; ++i) {
        const TPoint& a = corners[i];
        const TPoint& b = corners[(i + 1) % 4];
        if (Faces(a, b, apex) == inverted)
            continue;
        if (darkSides && i > 0)
            SetBrushDarker(entry, 128);
        Polygon(TPointArray{a, b, apex}, 2);
    }
    if (darkSides)
        Brush().SetColor(entry);
    // The base: seen from below (vertical) or from the left.
    if (Faces(corners[3], corners[2], corners[1]) != inverted) {
        if (vertical)
            HorizontalPlane(left, bottom, z0, z1, right);
        else
            SidePlane(left, top, z0, z1, bottom);
    }
}

void TPlotCanvas3D::TruncatedPyramid(const TRect& rect, int32_t z0, int32_t z1, int32_t amountA, int32_t amountB)
{
    // The bottom face spans the rectangle's width and the depth; the top face is narrowed by
    // amountA on each side across and amountB on each side in depth.
    const double ax = std::max(0, std::min(amountA, (rect.Right - rect.Left) / 2));
    const double az = std::max(0, std::min(amountB, (z1 - z0) / 2));
    auto p = [&](double x, double y, double z) { return ProjectToScreenFloat(x, y, z); };
    const TPoint b[4] = {p(rect.Left, rect.Bottom, z0), p(rect.Right, rect.Bottom, z0), p(rect.Right, rect.Bottom, z1),
                         p(rect.Left, rect.Bottom, z1)};
    const TPoint t[4] = {p(rect.Left + ax, rect.Top, z0 + az), p(rect.Right - ax, rect.Top, z0 + az),
                         p(rect.Right - ax, rect.Top, z1 - az), p(rect.Left + ax, rect.Top, z1 - az)};
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        QuadBuffer = {b[i], b[j], t[j], t[i]};
        if (!IsBackFaceQuad(QuadBuffer))
            DrawQuadBuffer();
    }
    QuadBuffer = {t[0], t[1], t[2], t[3]};
    if (IsBackFaceQuad(QuadBuffer))
        DrawQuadBuffer();
}

void TPlotCanvas3D::Pie3D(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, int32_t z0, int32_t z1,
                          double startAngle, double endAngle, bool darkSides, bool drawSides, int32_t donutPercent,
                          TCustomPlotGradient* gradient)
{
    const int n = PieArcPointCount(startAngle, endAngle);
    const double step = (endAngle - startAngle) / (n - 1);
    const double inner = donutPercent > 0 ? 0.01 * std::min(donutPercent, 100) : 0.0;
    std::vector<TPoint> outer0(static_cast<size_t>(n)), outer1(static_cast<size_t>(n));
    std::vector<TPoint> inner0(static_cast<size_t>(n)), inner1(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double a = startAngle + i * step;
        const double c = std::cos(a), s = std::sin(a);
        const size_t k = static_cast<size_t>(i);
        outer0[k] = ProjectToScreenFloat(xCenter + xRadius * c, yCenter - yRadius * s, z0);
        outer1[k] = ProjectToScreenFloat(xCenter + xRadius * c, yCenter - yRadius * s, z1);
        inner0[k] = ProjectToScreenFloat(xCenter + inner * xRadius * c, yCenter - inner * yRadius * s, z0);
        inner1[k] = ProjectToScreenFloat(xCenter + inner * xRadius * c, yCenter - inner * yRadius * s, z1);
    }
    // A pie lies on its start depth z0 and its top face is the cap at z1: the series raises a
    // slice by moving its end depth, puts every mark at that depth and draws the slices that
    // stand higher on the screen first, as the farther ones. The pie's depth thus points towards
    // the viewer, the reverse of a box's depth, so each of its faces shows where a box's face
    // turned the same way would be hidden: the rim shows below the top, at the front, as on a
    // pie seen from above. Only a view turned round past the pie's edge shows the cap at z0.
    const bool topAtEnd = !IsBackFaceTriple(ProjectToScreenFloat(xCenter, yCenter, z0),
                                            ProjectToScreenFloat(xCenter + xRadius, yCenter, z0),
                                            ProjectToScreenFloat(xCenter, yCenter - yRadius, z0));
    const TColor entry = Brush().Color();
    // The rim band always gives the pie its thickness; drawSides only asks for the two cut
    // faces, which a whole unexploded pie hides behind its neighbours.
    if (z1 != z0) {
        if (darkSides)
            SetBrushDarker(entry, 32);
        // The side bands where they face the viewer. Each run of facing steps is one polygon, so
        // the pen outlines the band and not every step of it.
        auto band = [this, n](const std::vector<TPoint>& near, const std::vector<TPoint>& far, bool outside) {
            auto faces = [&](int i) {
                const size_t a = static_cast<size_t>(i), b = a + 1;
                const TFourPoints quad = outside ? TFourPoints{near[a], far[a], far[b], near[b]}
                                                 : TFourPoints{near[b], far[b], far[a], near[a]};
                return !IsBackFaceQuad(quad);
            };
            for (int i = 0; i + 1 < n;) {
                if (!faces(i)) {
                    ++i;
                    continue;
                }
                int j = i;
                while (j + 1 < n && faces(j))
                    ++j;
                TPointArray run(near.begin() + i, near.begin() + j + 1);
                run.insert(run.end(), std::make_reverse_iterator(far.begin() + j + 1),
                           std::make_reverse_iterator(far.begin() + i));
                Polygon(run, static_cast<int>(run.size()) - 1);
                i = j;
            }
        };
        band(outer1, outer0, true);
        if (inner > 0)
            band(inner1, inner0, false);
        // The two cut faces, each when its end lies on the visible side of the centre: seen from
        // the top's side, the start face looks to the front when the slice starts right of the
        // centre, the end face when it ends left of it.
        const TPoint c0 = ProjectToScreen(xCenter, yCenter, z0);
        const TPoint c1 = ProjectToScreen(xCenter, yCenter, z1);
        const size_t last = static_cast<size_t>(n - 1);
        const bool startVisible = drawSides && outer1[0].X > XCenterOffset;
        const bool endVisible = drawSides && outer1[last].X < XCenterOffset;
        if (darkSides)
            SetBrushDarker(entry, 64);
        if (startVisible) {
            QuadBuffer = {inner > 0 ? inner0[0] : c0, outer0[0], outer1[0], inner > 0 ? inner1[0] : c1};
            DrawQuadBuffer();
        }
        if (endVisible) {
            QuadBuffer = {inner > 0 ? inner0[last] : c0, outer0[last], outer1[last], inner > 0 ? inner1[last] : c1};
            DrawQuadBuffer();
        }
        if (darkSides)
            Brush().SetColor(entry);
    }
    // The top: the sector, or the ring sector with a hole.
    const std::vector<TPoint>& outerTop = topAtEnd ? outer1 : outer0;
    const std::vector<TPoint>& innerTop = topAtEnd ? inner1 : inner0;
    TPointArray top;
    if (inner > 0) {
        top.assign(outerTop.begin(), outerTop.end());
        top.insert(top.end(), innerTop.rbegin(), innerTop.rend());
    } else {
        top.push_back(ProjectToScreen(xCenter, yCenter, topAtEnd ? z1 : z0));
        top.insert(top.end(), outerTop.begin(), outerTop.end());
    }
    if (gradient && gradient->Visible())
        GradientPolygon(top, static_cast<int>(top.size()) - 1, *gradient);
    else
        Polygon(top, static_cast<int>(top.size()) - 1);
}

void TPlotCanvas3D::Donut(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, double startAngle,
                          double endAngle, double innerFactor)
{
    // The ring sector as one outline: the outer arc forward, the inner arc back, then filled and
    // outlined.
    const int n = PieArcPointCount(startAngle, endAngle);
    const double step = (endAngle - startAngle) / (n - 1);
    TPointArray ring;
    ring.reserve(static_cast<size_t>(2 * n));
    for (int i = 0; i < n; ++i) {
        const double a = startAngle + i * step;
        ring.push_back(TPoint{RoundToPixel(xCenter + xRadius * std::cos(a)), RoundToPixel(yCenter - yRadius * std::sin(a))});
    }
    const double f = std::clamp(innerFactor, 0.0, 1.0);
    TPointArray inner;
    for (int i = n - 1; i >= 0; --i) {
        const double a = startAngle + i * step;
        inner.push_back(TPoint{RoundToPixel(xCenter + f * xRadius * std::cos(a)),
                               RoundToPixel(yCenter - f * yRadius * std::sin(a))});
    }
    // Without an inner radius the inner arc is a single point: a pie slice.
    if (f > 0)
        ring.insert(ring.end(), inner.begin(), inner.end());
    else
        ring.push_back(TPoint{xCenter, yCenter});
    Polygon(ring, static_cast<int>(ring.size()) - 1);
}

void TPlotCanvas3D::DrawPictureZ(const QImage& graphic, const TRect& rect, int32_t z)
{
    if (graphic.isNull() || rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return;
    const QImage image = graphic.convertToFormat(QImage::Format_RGB32);
    const TPenStyle oldPen = Pen().Style();
    const TColor oldBrush = Brush().Color();
    const TBrushStyle oldStyle = Brush().Style();
    Pen().SetStyle(psClear);
    Brush().SetStyle(bsSolid);
    const double sx = static_cast<double>(rect.Right - rect.Left) / image.width();
    const double sy = static_cast<double>(rect.Bottom - rect.Top) / image.height();
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        const int32_t top = rect.Top + static_cast<int32_t>(y * sy);
        const int32_t bottom = rect.Top + static_cast<int32_t>((y + 1) * sy);
        for (int x = 0; x < image.width(); ++x) {
            const int32_t left = rect.Left + static_cast<int32_t>(x * sx);
            const int32_t right = rect.Left + static_cast<int32_t>((x + 1) * sx);
            Brush().SetColor(RGBColor(qRed(line[x]), qGreen(line[x]), qBlue(line[x])));
            RectangleAtDepth(TRect{left, top, right, bottom}, z);
        }
    }
    Pen().SetStyle(oldPen);
    Brush().SetColor(oldBrush);
    Brush().SetStyle(oldStyle);
}
