// Gradient fills of the device-context canvas: linear bands, rings from the centre, fronts from a
// corner, diagonal lines and the radial ellipses.
#include "chart/canvas/CanvasGradientFill.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/DeviceContext.h"

#include <algorithm>
#include <cmath>

namespace {

struct Channels {
    int r = 0, g = 0, b = 0;
};

Channels Split(TColor c)
{
    const uint32_t rgb = ColorToRGB(c);
    return Channels{GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

} // namespace

GradientSteps::GradientSteps(TColor c0, TColor c1, int32_t balance, int32_t steps, bool roundedSteps)
    : balance_(balance), steps_(steps), rounded_(roundedSteps)
{
    const Channels a = Split(c0);
    const Channels b = Split(c1);
    r0_ = a.r;
    g0_ = a.g;
    b0_ = a.b;
    dr_ = b.r - a.r;
    dg_ = b.g - a.g;
    db_ = b.b - a.b;
}

uint32_t GradientSteps::Rgb(int32_t i) const
{
    int r, g, b;
    if (balance_ == 50 && rounded_ && steps_ > 0) {
        r = r0_ + static_cast<int>(std::nearbyint(i * (static_cast<double>(dr_) / steps_)));
        g = g0_ + static_cast<int>(std::nearbyint(i * (static_cast<double>(dg_) / steps_)));
        b = b0_ + static_cast<int>(std::nearbyint(i * (static_cast<double>(db_) / steps_)));
    } else if (balance_ == 50 || steps_ <= 0) {
        const int64_t n = std::max(1, steps_);
        r = r0_ + static_cast<int>(static_cast<int64_t>(dr_) * i / n);
        g = g0_ + static_cast<int>(static_cast<int64_t>(dg_) * i / n);
        b = b0_ + static_cast<int>(static_cast<int64_t>(db_) * i / n);
    } else {
        const double p = std::pow((1.0 + i) / (1.0 + steps_), balance_ * 0.015 + 0.5);
        r = static_cast<int>(std::nearbyint(dr_ * p)) + r0_;
        g = static_cast<int>(std::nearbyint(dg_ * p)) + g0_;
        b = static_cast<int>(std::nearbyint(db_ * p)) + b0_;
    }
    r = std::clamp(r, 0, 255);
    g = std::clamp(g, 0, 255);
    b = std::clamp(b, 0, 255);
    return static_cast<uint32_t>(r + g * 256 + b * 65536);
}

namespace {

// Paints bands with PATCOPY, changing the device brush only when the colour changes.
class BandPainter {
public:
    explicit BandPainter(gdi::DeviceContext& dc) : dc_(dc), old_(dc.GetBrush()) {}
    ~BandPainter() { dc_.SelectBrush(old_); }

    void Fill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb)
    {
        if (w <= 0 || h <= 0)
            return;
        if (!selected_ || rgb != current_) {
            gdi::Brush b;
            b.style = gdi::BS_SOLID;
            b.color = rgb;
            dc_.SelectBrush(b);
            current_ = rgb;
            selected_ = true;
        }
        dc_.PatBlt(x, y, w, h, gdi::PATCOPY);
    }

private:
    gdi::DeviceContext& dc_;
    gdi::Brush old_;
    uint32_t current_ = 0;
    bool selected_ = false;
};

} // namespace

void TPlotCanvas3D::GradientFill(const TRect& rect, TColor c0, TColor c1, TGradientDirection direction,
                                 int32_t balance, int32_t radialX, int32_t radialY)
{
    const TRect r = OrientRect(rect);
    if (direction == gdRadial) {
        DrawRadialGradient(*this, r, c0, c1, balance, radialX, radialY);
        return;
    }
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    if (direction == gdBottomTop || direction == gdRightLeft || direction == gdFromCenter ||
        direction == gdFromTopLeft || direction == gdFromBottomLeft)
        std::swap(c0, c1);
    const int32_t w = r.Right - r.Left;
    const int32_t h = r.Bottom - r.Top;

    switch (direction) {
    case gdTopBottom:
    case gdBottomTop:
    case gdLeftRight:
    case gdRightLeft: {
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const int32_t length = vertical ? h : w;
        const int32_t bands = std::min(length, 256);
        const int32_t n = bands - 1;
        if (n < 1)
            return;
        const GradientSteps steps(c0, c1, balance, n);
        BandPainter painter(*dc);
        for (int32_t i = 0; i < bands; ++i) {
            const int32_t from = static_cast<int32_t>(static_cast<int64_t>(i) * length / bands);
            const int32_t to = static_cast<int32_t>(static_cast<int64_t>(i + 1) * length / bands);
            if (vertical)
                painter.Fill(r.Left, r.Bottom - to, w, to - from, steps.Rgb(i));
            else
                painter.Fill(r.Right - to, r.Top, to - from, h, steps.Rgb(i));
        }
        break;
    }
    case gdFromCenter: {
        const int32_t hw = w / 2;
        const int32_t hh = h / 2;
        const GradientSteps steps(c0, c1, balance, std::max(1, hw + hh));
        BandPainter painter(*dc);
        int32_t dx = 0;
        int32_t dy = 0;
        while (dx < hw || dy < hh) {
            const uint32_t rgb = steps.Rgb(dx + dy);
            painter.Fill(r.Left + dx, r.Top + dy, 1, h - 2 * dy, rgb);
            painter.Fill(r.Right - dx - 1, r.Top + dy, 1, h - 2 * dy, rgb);
            painter.Fill(r.Left + dx, r.Top + dy, w - 2 * dx, 1, rgb);
            painter.Fill(r.Left + dx, r.Bottom - dy - 1, w - 2 * dx, 1, rgb);
            if (dy < hh)
                ++dy;
            if (dx < hw)
                ++dx;
        }
        break;
    }
    case gdFromTopLeft:
    case gdFromBottomLeft: {
        if (w <= 0 || h <= 0)
            return;
        const bool top = direction == gdFromTopLeft;
        const GradientSteps steps(c0, c1, balance, std::max(1, w + h));
        BandPainter painter(*dc);
        int32_t x = 0;
        int32_t y = 0;
        for (;;) {
            const uint32_t rgb = steps.Rgb(x + y);
            if (top) {
                painter.Fill(r.Left + x, r.Top, 1, y + 1, rgb);
                painter.Fill(r.Left, r.Top + y, x + 1, 1, rgb);
            } else {
                painter.Fill(r.Left + x, r.Bottom - 1 - y, 1, y + 1, rgb);
                painter.Fill(r.Left, r.Bottom - 1 - y, x + 1, 1, rgb);
            }
            if (x >= w - 1 && y >= h - 1)
                break;
            if (x < w - 1)
                ++x;
            if (y < h - 1)
                ++y;
        }
        break;
    }
    case gdDiagonalUp:
    case gdDiagonalDown: {
        if (w <= 0 || h <= 0)
            return;
        const bool up = direction == gdDiagonalUp;
        const int32_t total = w + h;
        const int32_t n = std::max(1, std::min(255, total - 1));
        const GradientSteps steps(c0, c1, balance, n);
        TPen saved;
        saved.Assign(Pen());   // with any extended pen the canvas selected
        Pen().SetWidth(1);
        Pen().SetStyle(psSolid);
        Pen().SetMode(pmCopy);
        const int32_t bottom = up ? r.Bottom : r.Bottom - 1;
        TPoint p{r.Left, up ? bottom : r.Top};
        TPoint q = p;
        for (int32_t i = 0; i < total; ++i) {
            Pen().SetColor(static_cast<TColor>(steps.Rgb(static_cast<int32_t>(static_cast<int64_t>(n) * i / total))));
            MoveTo(p.X, p.Y);
            LineTo(q.X, q.Y);
            // LineTo leaves out its end; where that end lies inside the rectangle (the top row
            // going down) it would stay unpainted, so it is set on its own.
            if (q.X >= r.Left && q.X < r.Right && q.Y >= r.Top && q.Y < r.Bottom)
                SetPixel(q.X, q.Y, Pen().Color());
            if (q.X < r.Right)
                ++q.X;
            else
                q.Y += up ? -1 : 1;
            if (up ? p.Y > r.Top : p.Y < bottom)
                p.Y += up ? -1 : 1;
            else
                ++p.X;
        }
        Pen().Assign(saved);
        break;
    }
    case gdRadial: break;
    }
    referenceCanvas_->ForgetSelection();
}

void DrawRadialGradient(TCanvas3D& canvas, const TRect& rect, TColor startColor, TColor endColor, int32_t balance,
                        int32_t radialX, int32_t radialY)
{
    const int32_t w = rect.Right - rect.Left;
    const int32_t h = rect.Bottom - rect.Top;
    if (w <= 0 || h <= 0)
        return;
    canvas.ClipRectangle(rect);
    int32_t n = std::min(255, std::max(w, h));
    if (w % 2 == 1 || h % 2 == 1)
        --n;
    n = std::max(1, n);
    const TPenStyle oldPen = canvas.Pen().Style();
    const TColor oldBrush = canvas.Brush().Color();
    const TBrushStyle oldBrushStyle = canvas.Brush().Style();
    canvas.Pen().SetStyle(psClear);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(endColor);
    canvas.FillRect(rect);
    const double cx = radialX + 1 + (rect.Left + rect.Right) * 0.5;
    const double cy = radialY + 1 + (rect.Top + rect.Bottom) * 0.5;
    const double rx = w * 0.5 / n;
    const double ry = h * 0.5 / n;
    const GradientSteps steps(startColor, endColor, balance, n, true);
    for (int32_t i = n; i >= 0; --i) {
        canvas.Brush().SetColor(static_cast<TColor>(steps.Rgb(i)));
        canvas.Ellipse(RoundToPixel(cx - i * rx), RoundToPixel(cy - i * ry), RoundToPixel(cx + i * rx),
                       RoundToPixel(cy + i * ry));
    }
    canvas.Pen().SetStyle(oldPen);
    canvas.Brush().SetColor(oldBrush);
    canvas.Brush().SetStyle(oldBrushStyle);
    canvas.UnClipRectangle();
}
