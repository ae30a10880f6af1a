#include "chart/canvas/PlotShadow.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/CanvasGradientFill.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

TPlotShadow::TPlotShadow(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}

void TPlotShadow::Changed()
{
    if (OnChange)
        OnChange();
}

void TPlotShadow::Assign(const TPlotShadow& source)
{
    if (&source == this)
        return;
    color_ = source.color_;
    horizSize_ = source.horizSize_;
    smooth_ = source.smooth_;
    smoothBlur_ = source.smoothBlur_;
    transparency_ = source.transparency_;
    vertSize_ = source.vertSize_;
    visible_ = source.visible_;
    Changed();
}

void TPlotShadow::InitDefaults(TColor color, int32_t size)
{
    color_ = color;
    defaultColor_ = color;
    horizSize_ = size;
    vertSize_ = size;
    defaultSize_ = size;
}

int32_t TPlotShadow::GetSize() const
{
    return std::max(std::abs(horizSize_), std::abs(vertSize_));
}

void TPlotShadow::SetSize(int32_t value)
{
    if (horizSize_ == value && vertSize_ == value)
        return;
    horizSize_ = value;
    vertSize_ = value;
    Changed();
}

void TPlotShadow::SetClip(bool value)
{
    if (clip_ != value) {
        clip_ = value;
        Changed();
    }
}

void TPlotShadow::SetColor(TColor value)
{
    if (color_ != value) {
        color_ = value;
        Changed();
    }
}

void TPlotShadow::SetHorizSize(int32_t value)
{
    if (horizSize_ != value) {
        horizSize_ = value;
        Changed();
    }
}

void TPlotShadow::SetSmooth(bool value)
{
    if (smooth_ != value) {
        smooth_ = value;
        Changed();
    }
}

void TPlotShadow::SetSmoothBlur(int32_t value)
{
    if (smoothBlur_ != value) {
        smoothBlur_ = value;
        Changed();
    }
}

void TPlotShadow::SetTransparency(int value)
{
    value = std::clamp(value, 0, 100);
    if (transparency_ != value) {
        transparency_ = value;
        Changed();
    }
}

void TPlotShadow::SetVertSize(int32_t value)
{
    if (vertSize_ != value) {
        vertSize_ = value;
        Changed();
    }
}

void TPlotShadow::SetVisible(bool value)
{
    if (visible_ != value) {
        visible_ = value;
        Changed();
    }
}

bool TPlotShadow::HasSomethingToDraw() const
{
    return color_ != clNone && (horizSize_ != 0 || vertSize_ != 0);
}

TPlotCanvas3D* TPlotShadow::BlurCanvas(TCanvas3D& canvas)
{
    auto* dc = dynamic_cast<TPlotCanvas3D*>(&canvas);
    if (!dc || dc->Metafiling || !dc->Bitmap())
        return nullptr;
    // Only while the canvas really draws into its bitmap.
    if (dc->GetHandle() != &dc->Bitmap()->Device())
        return nullptr;
    return dc;
}

namespace {

// Saves the canvas pen's style and colour and puts them back when it goes.
class PenKeeper {
public:
    explicit PenKeeper(TPlotCanvas& canvas)
        : pen_(canvas.Pen()), style_(pen_.Style()), color_(pen_.Color())
    {
    }
    ~PenKeeper()
    {
        pen_.SetStyle(style_);
        pen_.SetColor(color_);
    }

private:
    TPen& pen_;
    TPenStyle style_;
    TColor color_;
};

TRect Offset(const TRect& r, int32_t dx, int32_t dy)
{
    return TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
}

void SolidNoPen(TPlotCanvas& canvas, TColor color)
{
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.Pen().SetStyle(psClear);
}

} // namespace

void TPlotShadow::DrawShape(TCanvas3D& canvas, const TRect& rect, int32_t cornerSize, int32_t z)
{
    if (!HasSomethingToDraw())
        return;
    PenKeeper keep(canvas);
    TPlotCanvas3D* blurCanvas = BlurCanvas(canvas);
    const bool blurred = smooth_ && blurCanvas;
    if (!blurred)
        SolidNoPen(canvas, color_);
    // The canvas keeps one blend transparency; an owner blending around this shadow gets its
    // own back afterwards.
    const int outerTransparency = canvas.BlendTransparency;
    std::unique_ptr<TPlotBlend> blend;
    if (transparency_ > 0)
        blend = canvas.BeginBlending(canvas.CalcRect3DPolygon(Offset(rect, horizSize_, vertSize_), z), transparency_);

    if (blurred)
        DrawBlurred(*blurCanvas, rect, cornerSize >= 1 ? BlurShape::RoundRectangle : BlurShape::Rectangle, cornerSize,
                    {});
    else if (smooth_ && !canvas.GetSupportsFeature())
        DrawLines(canvas, rect, cornerSize, z);
    else
        DrawHard(canvas, rect, cornerSize, z);

    if (blend) {
        canvas.EndBlending(std::move(blend));
        canvas.BlendTransparency = outerTransparency;
    }
}

void TPlotShadow::DrawHard(TCanvas3D& canvas, const TRect& r, int32_t cornerSize, int32_t z)
{
    const int32_t h = horizSize_;
    const int32_t v = vertSize_;
    if (cornerSize >= 1) {
        canvas.RoundRect(r.Left + h, r.Top + v, r.Right + h, r.Bottom + v, cornerSize, cornerSize);
        return;
    }
    if (canvas.FlatDepth > 0) {
        if (v != 0) {
            if (v > 0)
                canvas.Rectangle(r.Left + h, r.Bottom, r.Right + h, r.Bottom + v + 1);
            else
                canvas.Rectangle(r.Left + h, r.Top + 1, r.Right + h, r.Top + v);
        }
        if (h != 0) {
            if (h > 0)
                canvas.Rectangle(r.Right, r.Top + v, r.Right + h + 1, r.Bottom + v + 1);
            else
                canvas.Rectangle(r.Left + 1, r.Top + v, r.Left + h, r.Bottom + v + 1);
        }
        return;
    }
    if (v != 0)
        canvas.RectangleZCoords(r.Left + h, r.Bottom, r.Right + h, r.Bottom + v, z);
    if (h != 0)
        canvas.RectangleZCoords(r.Right, r.Top + v, r.Right + h, r.Bottom + v, z);
}

void TPlotShadow::DrawLines(TCanvas3D& canvas, const TRect& r, int32_t cornerSize, int32_t z)
{
    if (cornerSize > 0)
        return;
    const uint32_t rgb = ColorToRGB(color_);
    const double grey = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3.0;
    auto step = [grey](int32_t n) { return static_cast<int>(std::nearbyint((255.0 - grey) / n)); };
    const bool flat = canvas.FlatDepth > 0;
    auto line = [&canvas, flat, z](int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        if (flat)
            canvas.Line(x0, y0, x1, y1);
        else
            canvas.LineAtDepth(x0, y0, x1, y1, z);
    };
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetColor(color_);
    if (vertSize_ > 0) {
        const int s = step(vertSize_);
        TColor c = color_;
        for (int32_t i = 1; i <= vertSize_; ++i) {
            line(r.Left + horizSize_, r.Bottom + i - 1, r.Right + horizSize_ - vertSize_ + i - 1, r.Bottom + i - 1);
            c = ColorBrighter(c, s);
            canvas.Pen().SetColor(c);
        }
    }
    canvas.Pen().SetColor(color_);
    if (horizSize_ > 0) {
        const int s = step(horizSize_);
        TColor c = color_;
        for (int32_t i = 1; i <= horizSize_; ++i) {
            line(r.Right + i - 1, r.Top + vertSize_, r.Right + i - 1, r.Bottom + vertSize_ - horizSize_ + i - 1);
            c = ColorBrighter(c, s);
            canvas.Pen().SetColor(c);
        }
    }
}

void TPlotShadow::DrawEllipse(TCanvas3D& canvas, const TRect& rect, int32_t z)
{
    if (!HasSomethingToDraw())
        return;
    PenKeeper keep(canvas);
    TPlotCanvas3D* blurCanvas = BlurCanvas(canvas);
    const bool blurred = smooth_ && blurCanvas;
    if (!blurred)
        SolidNoPen(canvas, color_);
    const TRect shifted = canvas.CalcRect3D(Offset(rect, horizSize_, vertSize_), z);
    // The canvas keeps one blend transparency; an owner blending around this shadow gets its
    // own back afterwards.
    const int outerTransparency = canvas.BlendTransparency;
    std::unique_ptr<TPlotBlend> blend;
    if (transparency_ > 0)
        blend = canvas.BeginBlending(shifted, transparency_);
    if (blurred) {
        DrawBlurred(*blurCanvas, canvas.CalcRect3D(rect, z), BlurShape::Ellipse, 0, {});
    } else if (smooth_) {
        // Soft edges without a blur: the shadow's own colour in the middle, lighter outwards, as
        // the blurred shadow looks. A much darker middle shows as a black smear wherever the
        // shape leaves the shadow open (the gaps of an exploded pie).
        canvas.ClipEllipse(shifted, false);
        DrawRadialGradient(canvas, shifted, color_, ColorBrighter(color_, 32), 50, 0, 0);
        canvas.UnClipRectangle();
    } else {
        canvas.EllipseRectAtDepth(Offset(rect, horizSize_, vertSize_), z);
    }
    if (blend) {
        canvas.EndBlending(std::move(blend));
        canvas.BlendTransparency = outerTransparency;
    }
}

void TPlotShadow::DrawPolygon(TCanvas3D& canvas, const TPointArray& points, int lastIndex)
{
    const int count = std::min<int>(lastIndex + 1, static_cast<int>(points.size()));
    if (!HasSomethingToDraw() || count <= 0)
        return;
    PenKeeper keep(canvas);
    TPointArray shifted(points.begin(), points.begin() + count);
    for (TPoint& p : shifted) {
        p.X += horizSize_;
        p.Y += vertSize_;
    }
    TPlotCanvas3D* blurCanvas = BlurCanvas(canvas);
    const bool blurred = smooth_ && blurCanvas;
    if (!blurred)
        SolidNoPen(canvas, color_);
    // The canvas keeps one blend transparency; an owner blending around this shadow gets its
    // own back afterwards.
    const int outerTransparency = canvas.BlendTransparency;
    std::unique_ptr<TPlotBlend> blend;
    if (transparency_ > 0)
        blend = canvas.BeginBlending(PolygonBounds(shifted, count - 1), transparency_);
    if (blurred) {
        TPointArray original(points.begin(), points.begin() + count);
        DrawBlurred(*blurCanvas, PolygonBounds(original, count - 1), BlurShape::Polygon, 0, original);
    } else {
        canvas.Polygon(shifted, count - 1);
    }
    if (blend) {
        canvas.EndBlending(std::move(blend));
        canvas.BlendTransparency = outerTransparency;
    }
}

std::vector<int64_t> ShadowBlurWeights(int32_t radius, int32_t smoothBlur)
{
    constexpr int64_t kCentre = 100000;
    // Bases below 1 make the weights grow away from the centre; the cap keeps a row's sum of
    // weight times 255 far inside 64 bits.
    constexpr double kCap = 1e9;
    radius = std::abs(radius);
    if (radius == 0)
        return {kCentre};
    const double f = (smoothBlur + 180) * 0.01;
    std::vector<int64_t> weights(static_cast<size_t>(2 * radius + 1));
    for (int32_t d = -radius; d <= radius; ++d) {
        int64_t w = 0;
        if (d == 0) {
            w = kCentre;
        } else if (f > 0.0) {
            const double v = 100000.0 * std::pow(f, -static_cast<double>(d) * d / radius);
            w = !(v < kCap) ? static_cast<int64_t>(kCap) : static_cast<int64_t>(std::nearbyint(v));
        }
        weights[static_cast<size_t>(d + radius)] = w;
    }
    return weights;
}

void MultiplyBlurredShadow(const QImage& workIn, int32_t horizSize, int32_t vertSize, int32_t smoothBlur, bool bandOnly,
                           QImage& target, TPoint origin, const std::function<bool(int32_t, int32_t)>& visible)
{
    const QImage work = workIn.format() == QImage::Format_RGB32 ? workIn : workIn.convertToFormat(QImage::Format_RGB32);
    const int w = work.width();
    const int h = work.height();
    if (w <= 0 || h <= 0 || target.isNull())
        return;
    if (target.format() != QImage::Format_RGB32)
        target = target.convertToFormat(QImage::Format_RGB32);
    const int rh = std::abs(horizSize);
    const int rv = std::abs(vertSize);
    const std::vector<int64_t> wh = ShadowBlurWeights(rh, smoothBlur);
    const std::vector<int64_t> wv = ShadowBlurWeights(rv, smoothBlur);
    // A rectangle covers everything but the band its offset uncovers; a negative offset uncovers
    // the top or left instead, and then, as for round shapes, the whole bitmap is worked.
    const bool all = !bandOnly || horizSize < 0 || vertSize < 0;
    const int bandX = all ? 0 : std::max(0, w - (2 * rh + 1));
    const int bandY = all ? 0 : std::max(0, h - (2 * rv + 1));
    auto firstColumn = [&](int y) { return y >= bandY ? 0 : bandX; };

    // Horizontal pass: weighted means, neighbours outside the bitmap left out (so the weight
    // total depends on the column only).
    std::vector<int64_t> totalH(static_cast<size_t>(w), 0);
    for (int x = 0; x < w; ++x)
        for (int xx = std::max(0, x - rh); xx <= std::min(w - 1, x + rh); ++xx)
            totalH[static_cast<size_t>(x)] += wh[static_cast<size_t>(xx - x + rh)];
    std::vector<uint32_t> mid(static_cast<size_t>(w) * static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(work.constScanLine(y));
        uint32_t* out = &mid[static_cast<size_t>(y) * static_cast<size_t>(w)];
        const int x0 = firstColumn(y);
        std::copy(row, row + x0, out);
        for (int x = x0; x < w; ++x) {
            const int64_t total = totalH[static_cast<size_t>(x)];
            if (total <= 0) {
                out[x] = row[x];
                continue;
            }
            int64_t r = 0, g = 0, b = 0;
            const int from = std::max(0, x - rh), to = std::min(w - 1, x + rh);
            const int64_t* weight = &wh[static_cast<size_t>(from - x + rh)];
            for (int xx = from; xx <= to; ++xx, ++weight) {
                const uint32_t p = row[xx];
                r += *weight * ((p >> 16) & 0xFF);
                g += *weight * ((p >> 8) & 0xFF);
                b += *weight * (p & 0xFF);
            }
            out[x] = 0xFF000000u | (static_cast<uint32_t>(r / total) << 16) | (static_cast<uint32_t>(g / total) << 8) |
                     static_cast<uint32_t>(b / total);
        }
    }

    // Vertical pass, row by row into accumulators, multiplied straight into the target.
    std::vector<int64_t> accR(static_cast<size_t>(w)), accG(static_cast<size_t>(w)), accB(static_cast<size_t>(w));
    for (int y = 0; y < h; ++y) {
        const int ty = origin.Y + y;
        if (ty < 0 || ty >= target.height())
            continue;
        const int xFrom = std::max(firstColumn(y), -origin.X);
        const int xTo = std::min(w - 1, target.width() - 1 - origin.X);
        if (xFrom > xTo)
            continue;
        const int from = std::max(0, y - rv), to = std::min(h - 1, y + rv);
        int64_t total = 0;
        std::fill(accR.begin() + xFrom, accR.begin() + xTo + 1, 0);
        std::fill(accG.begin() + xFrom, accG.begin() + xTo + 1, 0);
        std::fill(accB.begin() + xFrom, accB.begin() + xTo + 1, 0);
        for (int yy = from; yy <= to; ++yy) {
            const int64_t wt = wv[static_cast<size_t>(yy - y + rv)];
            total += wt;
            if (wt == 0)
                continue;
            const uint32_t* src = &mid[static_cast<size_t>(yy) * static_cast<size_t>(w)];
            for (int x = xFrom; x <= xTo; ++x) {
                const uint32_t p = src[x];
                accR[static_cast<size_t>(x)] += wt * ((p >> 16) & 0xFF);
                accG[static_cast<size_t>(x)] += wt * ((p >> 8) & 0xFF);
                accB[static_cast<size_t>(x)] += wt * (p & 0xFF);
            }
        }
        if (total <= 0)
            continue;
        const int64_t white = total * 255;
        const double scale = 1.0 / static_cast<double>(white);
        auto mul = [scale](uint32_t channel, int64_t sum) {
            return static_cast<uint32_t>(std::nearbyint(channel * static_cast<double>(sum) * scale));
        };
        auto* dest = reinterpret_cast<uint32_t*>(target.scanLine(ty));
        for (int x = xFrom; x <= xTo; ++x) {
            const int64_t r = accR[static_cast<size_t>(x)];
            const int64_t g = accG[static_cast<size_t>(x)];
            const int64_t b = accB[static_cast<size_t>(x)];
            if (r == white && g == white && b == white)
                continue; // multiplying by 1 changes nothing
            const int tx = origin.X + x;
            if (visible && !visible(tx, ty))
                continue;
            const uint32_t d = dest[tx];
            // A grey shadow has equal sums and scales every channel alike.
            dest[tx] = 0xFF000000u | (mul((d >> 16) & 0xFF, r) << 16) | (mul((d >> 8) & 0xFF, g) << 8) |
                       mul(d & 0xFF, b);
        }
    }
}

void TPlotShadow::DrawBlurred(TPlotCanvas3D& canvas, const TRect& rect, BlurShape shape, int32_t cornerSize,
                              const TPointArray& polygon)
{
    const int32_t ah = std::abs(horizSize_);
    const int32_t av = std::abs(vertSize_);
    const int64_t width = static_cast<int64_t>(rect.Right) - rect.Left;
    const int64_t height = static_cast<int64_t>(rect.Bottom) - rect.Top;
    const int64_t bw = std::max<int64_t>(1, width + 1 + 2 * static_cast<int64_t>(ah));
    const int64_t bh = std::max<int64_t>(1, height + 1 + 2 * static_cast<int64_t>(av));
    // A shadow larger than any canvas cannot be meant; it is not drawn.
    if (bw > 32767 || bh > 32767)
        return;
    TBitmap work(static_cast<int32_t>(bw), static_cast<int32_t>(bh));
    TCanvas& wc = work.Canvas();
    wc.Brush().SetStyle(bsSolid);
    wc.Brush().SetColor(color_);
    wc.Pen().SetStyle(psClear);
    const int32_t x0 = ah;
    const int32_t y0 = av;
    const int32_t x1 = ah + static_cast<int32_t>(width) + 1;
    const int32_t y1 = av + static_cast<int32_t>(height) + 1;
    switch (shape) {
    case BlurShape::Polygon: {
        TPointArray moved = polygon;
        for (TPoint& p : moved) {
            p.X += ah - rect.Left;
            p.Y += av - rect.Top;
        }
        wc.Polygon(moved.data(), static_cast<int>(moved.size()));
        break;
    }
    case BlurShape::Ellipse: wc.Ellipse(x0, y0, x1, y1); break;
    case BlurShape::RoundRectangle:
        wc.RequireAll();
        work.Device().RoundRect(x0, y0, x1, y1, cornerSize, cornerSize);
        break;
    case BlurShape::Rectangle: wc.Rectangle(x0, y0, x1, y1); break;
    }
    gdi::RasterDC& device = canvas.Bitmap()->Device();
    const TPoint origin{rect.Left + horizSize_ - ah, rect.Top + vertSize_ - av};
    MultiplyBlurredShadow(work.Image(), horizSize_, vertSize_, smoothBlur_, shape == BlurShape::Rectangle,
                          device.ImageForWrite(), origin,
                          [&device](int32_t x, int32_t y) { return device.PtVisible(x, y); });
}
