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
    // A NaN or infinite angle names no direction at all.
    if (!dc || !std::isfinite(angle))
        return;
    if (angle >= 360.0)
        angle = std::fmod(angle, 360.0);   // the same as taking 360 off while it is 360 or more
    Brush().SetStyle(bsClear);
    referenceCanvas_->RequireFont();
    gdi::Font f = Font().DeviceFont();
    // Huge negative angles are not reduced; tenths of a degree saturate instead of overflowing.
    f.escapement = RoundToPixel(angle * 10);
    f.orientation = TextAngleBase != 0 ? RoundToPixel(TextAngleBase * 10) : f.escapement;
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
