#include "chart/canvas/PlotCanvas3D.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kDegToRad = std::numbers::pi / 180.0;

// The device's MulDiv: a * b / c rounded half away from zero.
int32_t MulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    return static_cast<int32_t>(std::lround(static_cast<double>(a) * b / c));
}

} // namespace

TPlotCanvas3D::TPlotCanvas3D() = default;

TPlotCanvas3D::~TPlotCanvas3D()
{
    FreeBitmap();
}

// ---- device-context operations

gdi::DeviceContext* TPlotCanvas3D::GetHandle() { return referenceCanvas_->Handle(); }

TColor TPlotCanvas3D::GetBackColor()
{
    gdi::DeviceContext* dc = GetHandle();
    return dc ? static_cast<TColor>(dc->GetBkColor()) : clWhite;
}

int TPlotCanvas3D::GetBackMode()
{
    gdi::DeviceContext* dc = GetHandle();
    return dc ? dc->GetBkMode() : cbmTransparent;
}

TColor TPlotCanvas3D::GetPixel(int32_t x, int32_t y) { return referenceCanvas_->Pixel(x, y); }

uint32_t TPlotCanvas3D::GetTextAlign()
{
    gdi::DeviceContext* dc = GetHandle();
    return dc ? dc->GetTextAlign() : 0;
}

void TPlotCanvas3D::SetBackColor(TColor color)
{
    if (gdi::DeviceContext* dc = GetHandle())
        dc->SetBkColor(ColorToRGB(color));
}

void TPlotCanvas3D::SetBackMode(int mode)
{
    if (gdi::DeviceContext* dc = GetHandle())
        dc->SetBkMode(mode);
}

void TPlotCanvas3D::SetMonochrome(bool value)
{
    if (value == Monochrome)
        return;
    Monochrome = value;
    Dirty = true;
    if (View3DOptions && View3DOptions->InvalidateOwner)
        View3DOptions->InvalidateOwner();
}

void TPlotCanvas3D::SetPixel(int32_t x, int32_t y, TColor color) { referenceCanvas_->SetPixel(x, y, color); }

void TPlotCanvas3D::SetTextAlign(uint32_t flags)
{
    if (gdi::DeviceContext* dc = GetHandle())
        dc->SetTextAlign(flags);
}

void TPlotCanvas3D::SetBufferedDisplay(bool value)
{
    if (value == BufferedDisplay)
        return;
    BufferedDisplay = value;
    if (!value) {
        if (bitmap_ && !KeepBitmap)
            FreeBitmap();
    } else if (bitmap_) {
        SetCanvas(&bitmap_->Canvas());
    }
}

void TPlotCanvas3D::Arc(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    referenceCanvas_->RequirePen();
    dc->Arc(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::Pie(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    referenceCanvas_->RequirePen();
    referenceCanvas_->RequireBrush();
    dc->Pie(x1, y1, x2, y2, x3, y3, x4, y4);
}

void TPlotCanvas3D::Donut(int32_t, int32_t, int32_t, int32_t, double, double, double)
{
    // The ring sector belongs to the 3D shapes, which are not built yet.
}

void TPlotCanvas3D::Draw(int32_t x, int32_t y, const QImage& graphic) { referenceCanvas_->Draw(x, y, graphic); }

void TPlotCanvas3D::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    referenceCanvas_->Ellipse(x1, y1, x2, y2);
}

void TPlotCanvas3D::FillRect(const TRect& rect) { referenceCanvas_->FillRect(rect); }

void TPlotCanvas3D::LineTo(int32_t x, int32_t y) { referenceCanvas_->LineTo(x, y); }

void TPlotCanvas3D::MoveTo(int32_t x, int32_t y) { referenceCanvas_->MoveTo(x, y); }

void TPlotCanvas3D::Rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    referenceCanvas_->Rectangle(x0, y0, x1, y1);
}

void TPlotCanvas3D::RoundRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    referenceCanvas_->RequirePen();
    referenceCanvas_->RequireBrush();
    dc->RoundRect(x1, y1, x2, y2, x3, y3);
}

void TPlotCanvas3D::StretchDraw(const TRect& rect, const QImage& graphic)
{
    referenceCanvas_->StretchDraw(rect, graphic);
}

void TPlotCanvas3D::Polyline(const TPointArray& points, int lastIndex)
{
    const int count = std::min<int>(lastIndex + 1, static_cast<int>(points.size()));
    if (count > 0)
        referenceCanvas_->Polyline(points.data(), count);
}

void TPlotCanvas3D::Polygon(const TPointArray& points, int lastIndex)
{
    const int count = std::min<int>(lastIndex + 1, static_cast<int>(points.size()));
    if (count > 0)
        referenceCanvas_->Polygon(points.data(), count);
}

// ---- clipping

void TPlotCanvas3D::SaveClipOnce()
{
    // One level: every clip replaces what an unclip will restore.
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    HasSavedClip = dc->GetClipRgn(SavedClipRegion) == 1;
}

void TPlotCanvas3D::ClipRectangle(const TRect& rect)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    SaveClipOnce();
    gdi::Point p[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
    dc->LPtoDP(p, 2);
    const gdi::Region r = gdi::CreateRectRgn(p[0].x, p[0].y, p[1].x, p[1].y);
    dc->ExtSelectClipRgn(&r, gdi::RGN_AND);
}

void TPlotCanvas3D::ClipRoundRectangle(const TRect& rect, int32_t size)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    SaveClipOnce();
    gdi::Point p[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
    dc->LPtoDP(p, 2);
    const gdi::Region r = gdi::CreateRoundRectRgn(p[0].x, p[0].y, p[1].x, p[1].y, size, size);
    dc->ExtSelectClipRgn(&r, gdi::RGN_AND);
}

void TPlotCanvas3D::ClipEllipse(const TRect& rect, bool inverted)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    if (inverted) {
        const gdi::Region r = gdi::CreateEllipticRgn(rect.Left, rect.Top, rect.Right, rect.Bottom);
        dc->ExtSelectClipRgn(&r, gdi::RGN_XOR);
        return;
    }
    SaveClipOnce();
    gdi::Point p[2] = {{rect.Left, rect.Top}, {rect.Right, rect.Bottom}};
    dc->LPtoDP(p, 2);
    const gdi::Region r = gdi::CreateEllipticRgn(p[0].x, p[0].y, p[1].x, p[1].y);
    dc->ExtSelectClipRgn(&r, gdi::RGN_AND);
}

void TPlotCanvas3D::ClipPolygon(const TPoint* points, int count, bool inverted)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc || !points || count <= 0)
        return;
    SaveClipOnce();
    std::vector<gdi::Point> pts(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        pts[static_cast<size_t>(i)] = gdi::Point{points[i].X, points[i].Y};
    if (dc->GetMapMode() != gdi::MM_TEXT)
        dc->LPtoDP(pts.data(), count);
    const gdi::Region r = gdi::CreatePolygonRgn(pts.data(), count, gdi::ALTERNATE);
    dc->ExtSelectClipRgn(&r, inverted ? gdi::RGN_DIFF : gdi::RGN_AND);
}

void TPlotCanvas3D::UnClipRectangle()
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    if (HasSavedClip)
        dc->SelectClipRgn(&SavedClipRegion);
    else
        dc->SelectClipRgn(nullptr);
    HasSavedClip = false;
}

void TPlotCanvas3D::ClipBox(const TRect& rect, int32_t z0, int32_t z1)
{
    if (!Is3D) {
        ClipRectangle(TRect{rect.Left + 1, rect.Top + 1, rect.Right, rect.Bottom - 1});
        return;
    }
    TPointArray corners = {
        ProjectToScreen(rect.Left, rect.Top, z0),     ProjectToScreen(rect.Right, rect.Top, z0),
        ProjectToScreen(rect.Right, rect.Bottom, z0), ProjectToScreen(rect.Left, rect.Bottom, z0),
        ProjectToScreen(rect.Left, rect.Top, z1),     ProjectToScreen(rect.Right, rect.Top, z1),
        ProjectToScreen(rect.Right, rect.Bottom, z1), ProjectToScreen(rect.Left, rect.Bottom, z1)};
    if (ConvexHull(corners))
        ClipPolygon(corners.data(), static_cast<int>(corners.size()), false);
}

// ---- window, buffer, projection

TRect TPlotCanvas3D::InitWindow(TCanvas* destination, TView3DOptions* options, TColor, bool is3D,
                                const TRect& chartRect)
{
    Bounds = chartRect;
    View3DOptions = options;
    if (options)
        FontZoom = options->FontZoom();
    Is3D = is3D;
    IsOrthogonal = false;
    ZoomFactor = 1.0;
    if (is3D && options) {
        IsOrthogonal = options->Orthogonal();
        if (IsOrthogonal) {
            int32_t a = options->OrthoAngle();
            if (a <= 90) {
                OrthoDX = 1.0;
            } else {
                OrthoDX = -1.0;
                a = 180 - a;
            }
            const double s = std::sin(a * kDegToRad);
            const double c = std::cos(a * kDegToRad);
            OrthoDY = c >= 0.01 ? s / c : 1.0;
        }
    }
    if (is3D && !IsOrthogonal) {
        const long double e = -(options ? options->ElevationFloat() : 0.0) * kDegToRad;
        const long double r = -(options ? options->RotationFloat() : 0.0) * kDegToRad;
        const long double t = (options ? options->Tilt() : 0) * kDegToRad;
        SinElevation = std::sin(e);
        CosElevation = std::cos(e);
        SinRotation = std::sin(r);
        CosRotation = std::cos(r);
        SinTilt = std::sin(t);
        CosTilt = std::cos(t);
        IsTilted = options && options->Tilt() != 0;
        IsPerspective = false;
        PerspectiveFactor = 0;
        K[0] = static_cast<double>(SinTilt * CosRotation);
        K[1] = std::max(static_cast<double>(CosTilt * CosRotation), 0.00001);
        K[2] = std::max(static_cast<double>(CosTilt * CosElevation + SinTilt * SinRotation * SinElevation), 0.00001);
        K[3] = static_cast<double>(SinRotation * SinElevation * CosTilt - SinTilt * CosElevation);
        K[4] = static_cast<double>(SinTilt * SinRotation * CosElevation - SinElevation * CosTilt);
        K[5] = static_cast<double>(SinTilt * SinElevation + SinRotation * CosTilt * CosElevation);
    }
    if (BufferedDisplay) {
        const int32_t w = chartRect.Right - chartRect.Left;
        const int32_t h = chartRect.Bottom - chartRect.Top;
        if (!bitmap_)
            bitmap_ = std::make_unique<TBitmap>(w, h);
        else
            bitmap_->SetSize(w, h);
        SetCanvas(&bitmap_->Canvas());
        return TRect{0, 0, std::max(0, w), std::max(0, h)};
    }
    SetCanvas(destination);
    return chartRect;
}

void TPlotCanvas3D::SetProjectionCentre(int32_t depth, const TRect& chartRect)
{
    const TPoint c = RectCenter(chartRect);
    XCenter = c.X + RoundToPixel(CentreShift.X);
    YCenter = c.Y + RoundToPixel(CentreShift.Y);
    ZCenter = RoundToPixel(depth * 0.5 + CentreShift.Z);
    XCenterOffset = XCenter;
    YCenterOffset = YCenter;
    if (View3DOptions) {
        XCenterOffset += View3DOptions->HorizOffset();
        YCenterOffset += View3DOptions->VertOffset();
        if (Is3D) {
            ZoomFactor = View3DOptions->Zoom() * 0.01;
            ZoomText = View3DOptions->ZoomText();
        }
        IsPerspective = View3DOptions->Perspective() > 0;
        if (IsPerspective)
            PerspectiveFactor = View3DOptions->Perspective() * ZoomFactor * (1.0 / 150.0) /
                                std::max(1, chartRect.Right - chartRect.Left);
    }
}

TPoint TPlotCanvas3D::ProjectToScreenFloat(double x, double y, double z)
{
    if (!Is3D)
        return TPoint{RoundToPixel(x), RoundToPixel(y)};
    if (IsOrthogonal) {
        return TPoint{RoundToPixel((x - XCenter + z * OrthoDX) * ZoomFactor) + XCenterOffset,
                      RoundToPixel((y - YCenter - z * OrthoDY) * ZoomFactor) + YCenterOffset};
    }
    const long double px = x - XCenter;
    const long double py = y - YCenter;
    const long double pz = z - ZCenter;
    const long double t = pz * CosRotation - px * SinRotation;
    const long double u = px * CosRotation + pz * SinRotation;
    long double f = ZoomFactor;
    if (IsPerspective)
        f = ZoomFactor / ((CosElevation * t + py * SinElevation) * PerspectiveFactor + 1);
    const long double v = py * CosElevation - SinElevation * t;
    if (!IsTilted) {
        return TPoint{RoundToPixel(static_cast<double>(u * f)) + XCenterOffset,
                      RoundToPixel(static_cast<double>(v * f)) + YCenterOffset};
    }
    return TPoint{RoundToPixel(static_cast<double>((CosTilt * u - SinTilt * v) * f)) + XCenterOffset,
                  RoundToPixel(static_cast<double>((CosTilt * v + SinTilt * u) * f)) + YCenterOffset};
}

TPoint TPlotCanvas3D::ProjectToScreen(int32_t x, int32_t y, int32_t z)
{
    if (!Is3D)
        return TPoint{x, y};
    return ProjectToScreenFloat(x, y, z);
}

void TPlotCanvas3D::UnprojectPoint(int32_t& x, int32_t& y, int32_t z)
{
    if (ZoomFactor == 0)
        return;
    const double q = 1.0 / ZoomFactor;
    if (!Is3D)
        return;
    if (IsOrthogonal) {
        x = RoundToPixel((static_cast<double>(x) - XCenterOffset) * q - z * OrthoDX) + XCenter;
        y = RoundToPixel((static_cast<double>(y) - YCenterOffset) * q + z * OrthoDY) + YCenter;
        return;
    }
    const double zz = static_cast<double>(z) - ZCenter;
    const double x0 = x;
    const double y0 = y;
    x = RoundToPixel(((x0 - XCenterOffset) * q - zz * K[4] - (y0 - YCenter) * K[0]) / K[2]) + XCenter;
    y = RoundToPixel(((y0 - YCenterOffset) * q - zz * K[5] - (x0 - XCenter) * K[3]) / K[1]) + YCenter;
}

void TPlotCanvas3D::ShowBuffer(TCanvas* destination, TCanvas* reference, const TRect& rect)
{
    if (BufferedDisplay && bitmap_) {
        CopyBufferTo(rect.Left, rect.Top, destination);
        Dirty = false;
    }
    SetCanvas(reference);
}

bool TPlotCanvas3D::RepaintFromBuffer()
{
    if (Dirty || !bitmap_)
        return false;
    CopyBufferTo(0, 0, referenceCanvas_);
    return true;
}

void TPlotCanvas3D::SetBitmap(std::unique_ptr<TBitmap> bitmap)
{
    const bool attached = bitmap_ && referenceCanvas_ == &bitmap_->Canvas();
    bitmap_ = std::move(bitmap);
    if (attached)
        SetCanvas(bitmap_ ? &bitmap_->Canvas() : nullptr);
}

void TPlotCanvas3D::FreeBitmap()
{
    if (!bitmap_)
        return;
    if (referenceCanvas_ == &bitmap_->Canvas())
        SetCanvas(nullptr);
    bitmap_.reset();
    Dirty = true;
}

void TPlotCanvas3D::CopyBufferTo(int32_t x, int32_t y, TCanvas* destination)
{
    if (!bitmap_ || !destination || !destination->Handle() || destination == &bitmap_->Canvas())
        return;
    const QImage& image = bitmap_->Image();
    destination->Handle()->BitBlt(x, y, image.width(), image.height(), image, 0, 0, gdi::SRCCOPY);
}

void TPlotCanvas3D::Suspend3D()
{
    Saved3D = Is3D;
    Is3D = false;
}

void TPlotCanvas3D::Resume3D() { Is3D = Saved3D; }

// ---- pixels at depth

TColor TPlotCanvas3D::GetPixel3D(int32_t x, int32_t y, int32_t z)
{
    const TPoint p = ProjectToScreen(x, y, z);
    return GetPixel(p.X, p.Y);
}

void TPlotCanvas3D::SetPixel3D(int32_t x, int32_t y, int32_t z, TColor color)
{
    const TPoint p = ProjectToScreen(x, y, z);
    if (Pen().Width() != 1) {
        Pen().SetColor(color);
        MoveTo(p.X, p.Y);
        LineTo(p.X, p.Y);
    } else {
        SetPixel(p.X, p.Y, color);
    }
}

// ---- text

void TPlotCanvas3D::RotateLabel(int32_t x, int32_t y, const QString& text, double angle)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc || std::isnan(angle))
        return;
    if (angle >= 360.0)
        angle = std::fmod(angle, 360.0);   // the same as taking 360 off while it is 360 or more
    Brush().SetStyle(bsClear);
    referenceCanvas_->RequireFont();
    gdi::Font f = Font().DeviceFont();
    f.escapement = static_cast<int32_t>(std::nearbyint(angle * 10));
    f.orientation = TextAngleBase != 0 ? static_cast<int32_t>(std::nearbyint(TextAngleBase * 10)) : f.escapement;
    f.outPrecision = gdi::OUT_TT_ONLY_PRECIS;
    if (ZoomText && ZoomFactor != 1) {
        const int32_t size = std::max(static_cast<int32_t>(std::nearbyint(Font().Size() * ZoomFactor)), 1);
        f.height = -MulDiv(size, Font().PixelsPerInch(), 72);
    }
    f.quality = gdi::ANTIALIASED_QUALITY;
    const gdi::Font old = dc->GetFont();
    dc->SelectFont(f);
    int oldMode = 0;
    if (TextAngleBase != 0)
        oldMode = dc->SetGraphicsMode(gdi::GM_ADVANCED);
    TextOut(x, y, text);
    if (TextAngleBase != 0)
        dc->SetGraphicsMode(oldMode);
    dc->SelectFont(old);
}

void TPlotCanvas3D::TextOutAtDepth(int32_t x, int32_t y, int32_t z, const QString& text)
{
    const TPoint p = ProjectToScreen(x, y, z);
    gdi::DeviceContext* dc = GetHandle();
    if (dc && ZoomText && ZoomFactor != 1) {
        const int32_t size = Font().Size();
        const int32_t newSize = std::max(static_cast<int32_t>(std::nearbyint(size * ZoomFactor)), 1);
        if (newSize != size) {
            referenceCanvas_->RequireFont();
            const gdi::Font old = dc->GetFont();
            gdi::Font f = old;
            f.height = -MulDiv(newSize, Font().PixelsPerInch(), 72);
            dc->SelectFont(f);
            TextOut(p.X, p.Y, text);
            dc->SelectFont(old);
            return;
        }
    }
    TextOut(p.X, p.Y, text);
}

void TPlotCanvas3D::RotateLabelAtDepth(int32_t x, int32_t y, int32_t z, const QString& text, double angle)
{
    const TPoint p = ProjectToScreen(x, y, z);
    RotateLabel(p.X, p.Y, text, angle);
}

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
        for (int i = 1; i < 63; ++i)
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

// The following solids belong to the 3D shapes, which are not built yet; they draw nothing.
void TPlotCanvas3D::Cone(bool, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, bool, int32_t) {}
void TPlotCanvas3D::Cylinder(bool vertical, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t z0,
                             int32_t z1, bool darkSides)
{
    Cone(vertical, left, top, right, bottom, z0, z1, darkSides, 100);
}
void TPlotCanvas3D::Pie3D(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, double, double, bool, bool, int32_t) {}
void TPlotCanvas3D::Pyramid(bool, int32_t, int32_t, int32_t, int32_t, int32_t, int32_t, bool) {}
void TPlotCanvas3D::TruncatedPyramid(const TRect&, int32_t, int32_t, int32_t, int32_t) {}
