#include "chart/canvas/PlotGradient.h"

#include "chart/canvas/CanvasGradientFill.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersResample.h"

#include <algorithm>
#include <cmath>
#include <numbers>

TColor MonochromeColor(TColor color)
{
    if (color == clNone)
        return color;
    const uint32_t rgb = ColorToRGB(color);
    const int m = (GetRValue(rgb) + GetGValue(rgb) + GetBValue(rgb)) / 3;
    return RGBColor(m, m, m);
}

TCustomPlotGradient::TCustomPlotGradient(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TCustomPlotGradient::~TCustomPlotGradient() = default;

void TCustomPlotGradient::Changed()
{
    if (OnChange)
        OnChange();
}

void TCustomPlotGradient::Assign(const TCustomPlotGradient& source)
{
    if (&source == this)
        return;
    angle_ = source.angle_;
    balance_ = source.balance_;
    direction_ = source.direction_;
    endColor_ = source.endColor_;
    midColor_ = source.midColor_;
    midOn_ = source.midOn_;
    radialX_ = source.radialX_;
    radialY_ = source.radialY_;
    startColor_ = source.startColor_;
    visible_ = source.visible_;
    if (source.subGradient_)
        SubGradient().Assign(*source.subGradient_);
    else
        subGradient_.reset();
    Changed();
}

void TCustomPlotGradient::SetAngle(int32_t value)
{
    if (angle_ != value) {
        angle_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetBalance(int32_t value)
{
    if (balance_ != value) {
        balance_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetDirection(TGradientDirection value)
{
    if (direction_ != value) {
        direction_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetEndColor(TColor value)
{
    if (endColor_ != value) {
        endColor_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetMidColor(TColor value)
{
    if (value == clNone) {
        if (midOn_) {
            midOn_ = false;
            Changed();
        }
        return;
    }
    if (!midOn_ || midColor_ != value) {
        midOn_ = true;
        midColor_ = value;
        Changed();
    }
}

void TCustomPlotGradient::UseMiddleColor()
{
    if (!midOn_) {
        midOn_ = true;
        Changed();
    }
}

void TCustomPlotGradient::SetRadialX(int32_t value)
{
    if (radialX_ != value) {
        radialX_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetRadialY(int32_t value)
{
    if (radialY_ != value) {
        radialY_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetStartColor(TColor value)
{
    if (startColor_ != value) {
        startColor_ = value;
        Changed();
    }
}

void TCustomPlotGradient::SetVisible(bool value)
{
    if (visible_ != value) {
        visible_ = value;
        Changed();
    }
}

TSubGradient& TCustomPlotGradient::SubGradient()
{
    if (!subGradient_)
        subGradient_ = std::make_unique<TSubGradient>([this] { Changed(); });
    return *subGradient_;
}

void TCustomPlotGradient::SetSubGradient(const TSubGradient* value)
{
    if (!value) {
        if (subGradient_) {
            subGradient_.reset();
            Changed();
        }
        return;
    }
    if (value != subGradient_.get())
        SubGradient().Assign(*value);
}

void TCustomPlotGradient::Draw(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize)
{
    if (angle_ != 0)
        DrawAngled(canvas, rect, cornerSize);
    else
        DrawFlat(canvas, rect, cornerSize);
}

void TCustomPlotGradient::DrawFlat(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize)
{
    TColor start = startColor_;
    TColor end = endColor_;
    TColor mid = MidColor();
    if (canvas.GetMonochrome()) {
        start = MonochromeColor(start);
        end = MonochromeColor(end);
        mid = MonochromeColor(mid);
    }
    if (cornerSize > 0)
        canvas.ClipRoundRectangle(rect, cornerSize);

    if (direction_ == gdRadial) {
        canvas.GradientFill(rect, start, end, gdRadial, balance_, radialX_, radialY_);
    } else if (!midOn_ || direction_ == gdDiagonalUp || direction_ == gdDiagonalDown) {
        canvas.GradientFill(rect, start, end, direction_, balance_, 0, 0);
    } else {
        const int32_t midY = (rect.Top + rect.Bottom) / 2;
        const int32_t midX = (rect.Left + rect.Right) / 2;
        const TRect upper{rect.Left, rect.Top, rect.Right, midY};
        const TRect lower{rect.Left, midY, rect.Right, rect.Bottom};
        const TRect left{rect.Left, rect.Top, midX, rect.Bottom};
        const TRect right{midX, rect.Top, rect.Right, rect.Bottom};
        switch (direction_) {
        case gdTopBottom:
            canvas.GradientFill(upper, mid, end, direction_, 50, 0, 0);
            canvas.GradientFill(lower, start, mid, direction_, 50, 0, 0);
            break;
        case gdBottomTop:
            canvas.GradientFill(upper, start, mid, direction_, 50, 0, 0);
            canvas.GradientFill(lower, mid, end, direction_, 50, 0, 0);
            break;
        case gdLeftRight:
            canvas.GradientFill(left, mid, end, direction_, 50, 0, 0);
            canvas.GradientFill(right, start, mid, direction_, 50, 0, 0);
            break;
        case gdRightLeft:
            canvas.GradientFill(left, start, mid, direction_, 50, 0, 0);
            canvas.GradientFill(right, mid, end, direction_, 50, 0, 0);
            break;
        default:
            // From the centre and from a corner the middle colour plays no part.
            canvas.GradientFill(rect, start, end, direction_, 50, 0, 0);
            break;
        }
    }

    if (cornerSize > 0)
        canvas.UnClipRectangle();
    DrawSubGradient(canvas, rect, cornerSize);
}

void TCustomPlotGradient::DrawSubGradient(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize)
{
    if (!subGradient_ || !subGradient_->Visible())
        return;
    const int outerTransparency = canvas.BlendTransparency;
    std::unique_ptr<TPlotBlend> blend = canvas.BeginBlending(rect, subGradient_->Transparency());
    if (subGradient_->Direction() == gdRadial)
        subGradient_->DrawRadial(canvas, rect);
    else
        subGradient_->Draw(canvas, rect, cornerSize);
    canvas.EndBlending(std::move(blend));
    canvas.BlendTransparency = outerTransparency;
}

void TCustomPlotGradient::DrawRadial(TPlotCanvas& canvas, const TRect& rect)
{
    TColor start = startColor_;
    TColor end = endColor_;
    if (canvas.GetMonochrome()) {
        start = MonochromeColor(start);
        end = MonochromeColor(end);
    }
    if (auto* canvas3D = dynamic_cast<TCanvas3D*>(&canvas))
        DrawRadialGradient(*canvas3D, rect, start, end, balance_, radialX_, radialY_);
    else
        canvas.GradientFill(rect, start, end, gdRadial, balance_, radialX_, radialY_);
    DrawSubGradient(canvas, rect, 0);
}

void TCustomPlotGradient::DrawAngled(TPlotCanvas& canvas, const TRect& rect, int32_t cornerSize)
{
    (void)cornerSize;
    const int32_t w = rect.Right - rect.Left;
    const int32_t h = rect.Bottom - rect.Top;
    const double a = (360.0 - angle_) * std::numbers::pi / 180.0;
    const double s = std::sin(a);
    const double c = std::cos(a);
    const double sign = s * c > 0 ? 1.0 : -1.0;
    const double bwReal = std::abs(std::nearbyint(w * c + sign * h * s)) + 2;
    const double bhReal = std::abs(std::nearbyint(w * s + sign * h * c)) + 2;
    // A rotated fill bigger than any canvas cannot be meant; it is not drawn.
    if (!(bwReal <= 32767 && bhReal <= 32767))
        return;
    const auto bw = static_cast<int32_t>(bwReal);
    const auto bh = static_cast<int32_t>(bhReal);

    TBitmap bitmap(bw, bh);
    {
        TPlotCanvas3D work;
        work.SetBufferedDisplay(false);
        work.InitWindow(&bitmap.Canvas(), nullptr, clWhite, false, TRect{0, 0, bw, bh});
        work.SetMonochrome(canvas.GetMonochrome());
        // The angle goes back even when drawing throws.
        struct AngleKeeper {
            int32_t& angle;
            int32_t saved;
            ~AngleKeeper() { angle = saved; }
        } keep{angle_, angle_};
        angle_ = 0;
        DrawFlat(work, TRect{0, 0, bw, bh}, 0);
    }
    QImage rotated = bitmap.Image().copy();
    RotateBitmap(rotated, angle_);

    canvas.ClipRectangle(rect);
    canvas.Draw(rect.Left - (rotated.width() - w) / 2, rect.Top - (rotated.height() - h) / 2, rotated);
    const TBrushStyle oldStyle = canvas.Brush().Style();
    canvas.Brush().SetStyle(bsClear);
    canvas.Rectangle(rect.Left, rect.Top, rect.Right, rect.Bottom);
    canvas.Brush().SetStyle(oldStyle);
    canvas.UnClipRectangle();
}

void TCustomPlotGradient::DrawFourPoints(TPlotCanvas& canvas, const TFourPoints& points)
{
    canvas.Pen().SetStyle(psClear);
    const TPointArray polygon(points.begin(), points.end());
    canvas.GradientPolygon(polygon, 3, *this);
}

void TCustomPlotGradient::DrawFourPointsZ(TCanvas3D& canvas, const TFourPoints& points, int32_t z)
{
    TFourPoints projected;
    for (size_t i = 0; i < 4; ++i)
        projected[i] = canvas.ProjectToScreen(points[i].X, points[i].Y, z);
    DrawFourPoints(canvas, projected);
}

TSubGradient::TSubGradient(TNotifyEvent onChange) : TCustomPlotGradient(std::move(onChange)) {}

void TSubGradient::Assign(const TCustomPlotGradient& source)
{
    if (const auto* sub = dynamic_cast<const TSubGradient*>(&source))
        transparency_ = sub->transparency_;
    TCustomPlotGradient::Assign(source);
}

void TSubGradient::SetTransparency(int value)
{
    value = std::clamp(value, 0, 100);
    if (transparency_ != value) {
        transparency_ = value;
        Changed();
    }
}

void TPlotFontGradient::Assign(const TCustomPlotGradient& source)
{
    if (const auto* font = dynamic_cast<const TPlotFontGradient*>(&source))
        outline_ = font->outline_;
    TPlotGradient::Assign(source);
}

void TPlotFontGradient::SetOutline(bool value)
{
    if (outline_ != value) {
        outline_ = value;
        Changed();
    }
}
