#include "chart/tools/AntiAliasCanvas.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/tools/AntiAliasRaster.h"
#include "chart/tools/AntiAliasTool.h"
#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

namespace {

constexpr double kRadToDeg = 57.29577951308232;
// Larger ellipses are the device's: the midpoint terms stay well inside 64 bits.
constexpr int64_t kMaxEllipseRadius = 16384;

bool AxisParallel(int64_t x0, int64_t y0, int64_t x1, int64_t y1) { return x0 == x1 || y0 == y1; }

// The angle of a point seen from a centre, counter-clockwise on the screen, in degrees 0 .. 360.
double AngleDegrees(double cx, double cy, int32_t x, int32_t y)
{
    double a = std::atan2(-(y - cy), x - cx);
    if (a < 0)
        a += 2 * std::numbers::pi;
    return a * kRadToDeg;
}

} // namespace

// Operations that other operations are built of (the ring of a donut, the lines of a diagonal
// gradient) run plain while this is alive.
class TAntiAliasCanvas::PlainScope {
public:
    explicit PlainScope(TAntiAliasCanvas& canvas) : canvas_(canvas) { ++canvas_.plainDepth_; }
    ~PlainScope() { --canvas_.plainDepth_; }
    PlainScope(const PlainScope&) = delete;
    PlainScope& operator=(const PlainScope&) = delete;

private:
    TAntiAliasCanvas& canvas_;
};

// The bitmap's rows and clip region, taken once for an operation on its first blend. Device
// drawing in between (axis-parallel runs, the inner lines of a wide pen) writes into the same
// rows.
class TAntiAliasCanvas::BlendSession {
public:
    explicit BlendSession(gdi::RasterDC& dc) : dc_(dc) {}

    antialias::BlendTarget& Target(const Stroke& stroke)
    {
        if (!target_) {
            gdi::Region clip;
            const bool clipped = dc_.GetClipRgn(clip) == 1;
            target_.emplace(dc_.PixelsForWrite(), clipped ? &clip.Pixels() : nullptr);
        }
        target_->PenRgb = stroke.Rgb;
        target_->Pattern = stroke.Pattern;
        return *target_;
    }
    gdi::RasterDC& Device() { return dc_; }

private:
    gdi::RasterDC& dc_;
    std::optional<antialias::BlendTarget> target_;
};

TAntiAliasCanvas::~TAntiAliasCanvas()
{
    if (tool_)
        tool_->CanvasGone(this);
}

bool TAntiAliasCanvas::Smoothing()
{
    if (Disabled || plainDepth_ > 0 || Metafiling || !BufferedDisplay)
        return false;
    TBitmap* bitmap = Bitmap();
    return bitmap && referenceCanvas_ == &bitmap->Canvas();
}

bool TAntiAliasCanvas::PenStroke(Stroke& stroke)
{
    TPen& pen = Pen();
    if (pen.Mode() != pmCopy)
        return false;
    const gdi::Pen device = pen.DevicePen();
    const uint32_t style = device.style & gdi::PS_STYLE_MASK;
    switch (style) {
    case gdi::PS_NULL: return false;
    case gdi::PS_DASH: stroke.Pattern = antialias::kPatternDash; break;
    case gdi::PS_DOT: stroke.Pattern = antialias::kPatternDot; break;
    case gdi::PS_DASHDOT:
    case gdi::PS_DASHDOTDOT: stroke.Pattern = antialias::kPatternDashDot; break;
    case gdi::PS_ALTERNATE: stroke.Pattern = antialias::kPatternSmallDots; break;
    // A user style comes from a chart pen's small dots with a space; set as a style of its own
    // it has no pattern here.
    case gdi::PS_USERSTYLE:
        stroke.Pattern = pen.Handle() ? antialias::kPatternSmallDots : antialias::kPatternSolid;
        break;
    default: stroke.Pattern = antialias::kPatternSolid; break;
    }
    stroke.Rgb = gdi::ToQRgb(device.color) & 0xFFFFFFu;
    stroke.Width = std::max(1, device.width);
    stroke.FromBrush = false;
    return true;
}

bool TAntiAliasCanvas::OutlineStroke(Stroke& stroke)
{
    if (Pen().Mode() != pmCopy)
        return false;
    if (Pen().Style() != psClear)
        return PenStroke(stroke);
    if (Brush().Style() == bsClear)
        return false;
    stroke.Rgb = gdi::ToQRgb(ColorToRGB(Brush().Color())) & 0xFFFFFFu;
    stroke.Pattern = antialias::kPatternSolid;
    stroke.Width = 1;
    stroke.FromBrush = true;
    return true;
}

template <class Fill>
void TAntiAliasCanvas::FillWithoutPen(Fill&& fill)
{
    TPen saved;
    saved.Assign(Pen());
    Pen().SetStyle(psClear);
    {
        PlainScope plain(*this);
        fill();
    }
    Pen().Assign(saved);
}

// ---- lines

// A pen of n pixels is n one-pixel lines side by side across the major direction, placed where
// the device puts a horizontal or vertical line of that width (n / 2 rounded down before the
// line); the two outer ones are smoothed, the inner ones are plain.
void TAntiAliasCanvas::StrokeLine(BlendSession& session, const Stroke& stroke, int32_t x0, int32_t y0, int32_t x1,
                                  int32_t y1)
{
    if (stroke.Width <= 1) {
        antialias::BlendLine(session.Target(stroke), x0, y0, x1, y1);
        return;
    }
    const bool xMajor = std::llabs(static_cast<int64_t>(x1) - x0) >= std::llabs(static_cast<int64_t>(y1) - y0);
    const int32_t first = -(stroke.Width / 2);
    gdi::Pen thin = Pen().DevicePen();
    thin.style &= gdi::PS_STYLE_MASK;
    thin.width = 1;
    for (int32_t o = 0; o < stroke.Width; ++o) {
        const int32_t shift = first + o;
        const int32_t ox = xMajor ? 0 : shift;
        const int32_t oy = xMajor ? shift : 0;
        if (o == 0 || o == stroke.Width - 1) {
            antialias::BlendLine(session.Target(stroke), x0 + ox, y0 + oy, x1 + ox, y1 + oy);
            continue;
        }
        gdi::RasterDC& dc = session.Device();
        const gdi::Pen old = dc.GetPen();
        dc.SelectPen(thin);
        dc.MoveToEx(x0 + ox, y0 + oy);
        dc.LineTo(x1 + ox, y1 + oy);
        dc.SelectPen(old);
    }
}

void TAntiAliasCanvas::LineTo(int32_t x, int32_t y)
{
    gdi::DeviceContext* dc = GetHandle();
    Stroke stroke;
    if (!dc || !Smoothing()) {
        TPlotCanvas3D::LineTo(x, y);
        return;
    }
    const gdi::Point from = dc->GetCurrentPosition();
    if (AxisParallel(from.x, from.y, x, y) || !PenStroke(stroke)) {
        TPlotCanvas3D::LineTo(x, y);
        return;
    }
    BlendSession session(Bitmap()->Device());
    StrokeLine(session, stroke, from.x, from.y, x, y);
    dc->MoveToEx(x, y);
}

void TAntiAliasCanvas::StrokeSegments(BlendSession& session, const Stroke& stroke, const TPoint* points, int count,
                                      bool closed)
{
    gdi::RasterDC& device = Bitmap()->Device();
    const gdi::Point position = device.GetCurrentPosition();
    referenceCanvas_->RequirePen();
    const gdi::Pen canvasPen = device.GetPen();
    if (stroke.FromBrush) {
        gdi::Pen own;
        own.color = ColorToRGB(Brush().Color());
        device.SelectPen(own);
    }
    // Horizontal and vertical runs keep the device's own pattern across their corners.
    std::vector<gdi::Point> run;
    auto flush = [&] {
        if (run.size() > 1)
            session.Device().Polyline(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    const int segments = closed ? count : count - 1;
    for (int s = 0; s < segments; ++s) {
        const TPoint& a = points[s];
        const TPoint& b = points[(s + 1) % count];
        if (AxisParallel(a.X, a.Y, b.X, b.Y)) {
            if (run.empty())
                run.push_back(gdi::Point{a.X, a.Y});
            run.push_back(gdi::Point{b.X, b.Y});
            continue;
        }
        flush();
        StrokeLine(session, stroke, a.X, a.Y, b.X, b.Y);
    }
    flush();
    if (stroke.FromBrush)
        device.SelectPen(canvasPen);
    device.MoveToEx(position.x, position.y);
}

void TAntiAliasCanvas::Polyline(const TPointArray& points, int lastIndex)
{
    const int count = std::min<int>(lastIndex + 1, static_cast<int>(points.size()));
    Stroke stroke;
    if (count < 2 || !Smoothing() || !PenStroke(stroke)) {
        TPlotCanvas3D::Polyline(points, lastIndex);
        return;
    }
    BlendSession session(Bitmap()->Device());
    StrokeSegments(session, stroke, points.data(), count, false);
}

// ---- filled shapes

void TAntiAliasCanvas::Polygon(const TPointArray& points, int lastIndex)
{
    const int count = std::min<int>(lastIndex + 1, static_cast<int>(points.size()));
    Stroke stroke;
    if (count < 2 || !Smoothing() || !OutlineStroke(stroke)) {
        TPlotCanvas3D::Polygon(points, lastIndex);
        return;
    }
    FillWithoutPen([&] { TPlotCanvas3D::Polygon(points, lastIndex); });
    BlendSession session(Bitmap()->Device());
    StrokeSegments(session, stroke, points.data(), count, true);
}

void TAntiAliasCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    Stroke stroke;
    if (!Smoothing() || !OutlineStroke(stroke) || stroke.Width > 1) {
        TPlotCanvas3D::Ellipse(x1, y1, x2, y2);
        return;
    }
    // The outline runs through the device ellipse's outermost pixels (its box leaves out the
    // right column and the bottom row).
    const int64_t left = std::min(x1, x2);
    const int64_t top = std::min(y1, y2);
    const int64_t rx = (std::max<int64_t>(x1, x2) - left - 1) / 2;
    const int64_t ry = (std::max<int64_t>(y1, y2) - top - 1) / 2;
    if (rx <= 0 || ry <= 0 || rx > kMaxEllipseRadius || ry > kMaxEllipseRadius) {
        TPlotCanvas3D::Ellipse(x1, y1, x2, y2);
        return;
    }
    FillWithoutPen([&] { TPlotCanvas3D::Ellipse(x1, y1, x2, y2); });
    BlendSession session(Bitmap()->Device());
    antialias::BlendEllipse(session.Target(stroke), static_cast<int32_t>(left + rx), static_cast<int32_t>(top + ry),
                            static_cast<int32_t>(rx), static_cast<int32_t>(ry));
}

// ---- arcs

bool TAntiAliasCanvas::ArcSmoothable(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Stroke& stroke)
{
    // A box without width or height has no radius to divide by: the device draws it.
    return x1 != x2 && y1 != y2 && Smoothing() && PenStroke(stroke) && stroke.Width <= 1;
}

void TAntiAliasCanvas::StrokeArc(BlendSession& session, const Stroke& stroke, int64_t x1, int64_t y1, int64_t x2,
                                 int64_t y2, double startDegrees, double endDegrees)
{
    if (x1 == x2 || y1 == y2)
        return;
    const int64_t xc = x1 + (x2 - x1) / 2;
    const int64_t yc = y1 + (y2 - y1) / 2;
    const float a = static_cast<float>(std::llabs(x2 - x1)) * 0.5f;
    const float b = static_cast<float>(std::llabs(y2 - y1)) * 0.5f;
    if (xc < INT32_MIN || xc > INT32_MAX || yc < INT32_MIN || yc > INT32_MAX)
        return;
    gdi::DeviceContext* dc = GetHandle();
    if (dc && dc->GetArcDirection() == gdi::AD_CLOCKWISE)
        std::swap(startDegrees, endDegrees);
    antialias::BlendArc(session.Target(stroke), static_cast<int32_t>(xc), static_cast<int32_t>(yc), a, b, startDegrees,
                        endDegrees);
}

void TAntiAliasCanvas::ArcAngles(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double startAngle, double endAngle)
{
    Stroke stroke;
    if (!ArcSmoothable(x1, y1, x2, y2, stroke)) {
        TPlotCanvas3D::ArcAngles(x1, y1, x2, y2, startAngle, endAngle);
        return;
    }
    BlendSession session(Bitmap()->Device());
    StrokeArc(session, stroke, x1, y1, x2, y2, startAngle, endAngle);
}

void TAntiAliasCanvas::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
                           int32_t y4)
{
    Stroke stroke;
    if (!ArcSmoothable(x1, y1, x2, y2, stroke)) {
        TPlotCanvas3D::Arc(x1, y1, x2, y2, x3, y3, x4, y4);
        return;
    }
    const double cx = (static_cast<double>(x1) + x2) / 2;
    const double cy = (static_cast<double>(y1) + y2) / 2;
    BlendSession session(Bitmap()->Device());
    StrokeArc(session, stroke, x1, y1, x2, y2, AngleDegrees(cx, cy, x3, y3), AngleDegrees(cx, cy, x4, y4));
}

void TAntiAliasCanvas::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4,
                           int32_t y4)
{
    Stroke stroke;
    const int64_t left = std::min(x1, x2);
    const int64_t top = std::min(y1, y2);
    const int64_t right = std::max<int64_t>(x1, x2) - 1;
    const int64_t bottom = std::max<int64_t>(y1, y2) - 1;
    if (right <= left || bottom <= top || !Smoothing() || !OutlineStroke(stroke) || stroke.Width > 1) {
        TPlotCanvas3D::Pie(x1, y1, x2, y2, x3, y3, x4, y4);
        return;
    }
    FillWithoutPen([&] { TPlotCanvas3D::Pie(x1, y1, x2, y2, x3, y3, x4, y4); });
    const double cx = (static_cast<double>(x1) + x2) / 2;
    const double cy = (static_cast<double>(y1) + y2) / 2;
    double start = AngleDegrees(cx, cy, x3, y3);
    double end = AngleDegrees(cx, cy, x4, y4);
    BlendSession session(Bitmap()->Device());
    StrokeArc(session, stroke, left, top, right, bottom, start, end);
    // The two radii from the centre to the arc's ends.
    const int64_t xc = left + (right - left) / 2;
    const int64_t yc = top + (bottom - top) / 2;
    const double a = (right - left) * 0.5;
    const double b = (bottom - top) * 0.5;
    auto onArc = [&](double degrees) {
        const double r = degrees / kRadToDeg;
        return TPoint{static_cast<int32_t>(xc + RoundToPixel(a * std::cos(r))),
                      static_cast<int32_t>(yc - RoundToPixel(b * std::sin(r)))};
    };
    const TPoint radii[3] = {onArc(start), TPoint{static_cast<int32_t>(xc), static_cast<int32_t>(yc)}, onArc(end)};
    StrokeSegments(session, stroke, radii, 3, false);
}

void TAntiAliasCanvas::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    Stroke stroke;
    const int64_t left = std::min(x1, x2);
    const int64_t top = std::min(y1, y2);
    const int64_t right = std::max<int64_t>(x1, x2) - 1;
    const int64_t bottom = std::max<int64_t>(y1, y2) - 1;
    const int64_t w = std::llabs(x3);
    const int64_t h = std::llabs(y3);
    // Without rounding it is a rectangle, which the device draws exactly.
    if (w < 2 || h < 2 || right <= left || bottom <= top || !Smoothing() || !OutlineStroke(stroke) ||
        stroke.Width > 1) {
        TPlotCanvas3D::RoundRect(x1, y1, x2, y2, x3, y3);
        return;
    }
    FillWithoutPen([&] { TPlotCanvas3D::RoundRect(x1, y1, x2, y2, x3, y3); });
    BlendSession session(Bitmap()->Device());
    if (w >= right - left || h >= bottom - top) {
        // Too small for its corners: an ellipse.
        const int64_t rx = (right - left) / 2;
        const int64_t ry = (bottom - top) / 2;
        if (rx > 0 && ry > 0 && rx <= kMaxEllipseRadius && ry <= kMaxEllipseRadius)
            antialias::BlendEllipse(session.Target(stroke), static_cast<int32_t>(left + rx),
                                    static_cast<int32_t>(top + ry), static_cast<int32_t>(rx),
                                    static_cast<int32_t>(ry));
        return;
    }
    const auto l = static_cast<int32_t>(left), t = static_cast<int32_t>(top);
    const auto r = static_cast<int32_t>(right), b = static_cast<int32_t>(bottom);
    const auto hw = static_cast<int32_t>(w / 2), hh = static_cast<int32_t>(h / 2);
    const TPoint sides[4][2] = {{{l + hw, t}, {r - hw, t}},
                                {{r, t + hh}, {r, b - hh}},
                                {{r - hw, b}, {l + hw, b}},
                                {{l, b - hh}, {l, t + hh}}};
    for (const auto& side : sides)
        StrokeSegments(session, stroke, side, 2, false);
    StrokeArc(session, stroke, right - w, bottom - h, right, bottom, 270, 360);
    StrokeArc(session, stroke, right - w, top, right, top + h, 0, 90);
    StrokeArc(session, stroke, left, top, left + w, top + h, 90, 180);
    StrokeArc(session, stroke, left, bottom - h, left + w, bottom, 180, 270);
}

void TAntiAliasCanvas::Donut(int32_t xCenter, int32_t yCenter, int32_t xRadius, int32_t yRadius, double startAngle,
                             double endAngle, double innerFactor)
{
    Stroke stroke;
    const bool smooth = Smoothing() && PenStroke(stroke) && stroke.Width <= 1 && xRadius != 0 && yRadius != 0;
    {
        PlainScope plain(*this);
        TPlotCanvas3D::Donut(xCenter, yCenter, xRadius, yRadius, startAngle, endAngle, innerFactor);
    }
    if (!smooth)
        return;
    const double start = startAngle * kRadToDeg;
    const double end = endAngle * kRadToDeg;
    BlendSession session(Bitmap()->Device());
    const int64_t xr = std::llabs(xRadius);
    const int64_t yr = std::llabs(yRadius);
    StrokeArc(session, stroke, xCenter - xr, yCenter - yr, xCenter + xr, yCenter + yr, start, end);
    const double f = std::clamp(innerFactor, 0.0, 1.0);
    const auto ixr = static_cast<int64_t>(std::nearbyint(xr * f));
    const auto iyr = static_cast<int64_t>(std::nearbyint(yr * f));
    if (ixr > 0 && iyr > 0)
        StrokeArc(session, stroke, xCenter - ixr, yCenter - iyr, xCenter + ixr, yCenter + iyr, start, end);
}

void TAntiAliasCanvas::GradientFill(const TRect& rect, TColor c0, TColor c1, TGradientDirection direction,
                                    int32_t balance, int32_t radialX, int32_t radialY)
{
    PlainScope plain(*this);
    TPlotCanvas3D::GradientFill(rect, c0, c1, direction, balance, radialX, radialY);
}
