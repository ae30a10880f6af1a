// Text of the drawing surface: measuring, chart-font selection, and the device-context canvas's
// TextOut with the chart font's shadow, outline, gradient and picture.
#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersConvolve.h"
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotGradient.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/RasterDC.h"

#include <cmath>
#include <cstdlib>

namespace {

gdi::Size ShadowExtra(TPlotFont* font)
{
    if (font && font->HasShadow() && font->Shadow().Visible())
        return gdi::Size{std::abs(font->Shadow().HorizSize()), std::abs(font->Shadow().VertSize())};
    return gdi::Size{};
}

// The text's rectangle after the horizontal alignment; vertical flags are not looked at.
TRect TextRect(uint32_t align, int32_t x, int32_t y, const gdi::Size& ext)
{
    switch (align & gdi::TA_HORIZONTAL_MASK) {
    case gdi::TA_RIGHT: return TRect{x - ext.cx, y, x, y + ext.cy};
    case gdi::TA_CENTER: return TRect{x - ext.cx / 2, y, x + ext.cx / 2, y + ext.cy};
    default: return TRect{x, y, x + ext.cx, y + ext.cy};
    }
}

} // namespace

int32_t TPlotCanvas::TextWidth(const QString& text)
{
    return referenceCanvas_->TextExtent(text).cx + ShadowExtra(FontObject).cx;
}

int32_t TPlotCanvas::TextHeight(const QString& text)
{
    return referenceCanvas_->TextExtent(text).cy + ShadowExtra(FontObject).cy;
}

gdi::Size TPlotCanvas::TextExtent(const QString& text)
{
    const gdi::Size extra = ShadowExtra(FontObject);
    const gdi::Size size = referenceCanvas_->TextExtent(text);
    return gdi::Size{size.cx + extra.cx, size.cy + extra.cy};
}

// Text is Unicode throughout, so the wide forms measure the same way.
int32_t TPlotCanvas::TextWidthWide(const QString& text) { return TextWidth(text); }
int32_t TPlotCanvas::TextHeightWide(const QString& text) { return TextHeight(text); }

void TPlotCanvas::AssignFont(TPlotFont* font)
{
    if (!font) {
        FontObject = nullptr;
        return;
    }
    font->SetPixelsPerInch(Font().PixelsPerInch());
    Font().Assign(*font);
    if (FontZoom != 100.0)
        Font().SetSize(static_cast<int32_t>(std::nearbyint(font->Size() * FontZoom * 0.01)));
    if (GetMonochrome())
        Font().SetColor(clBlack);
    if (gdi::DeviceContext* dc = GetHandle()) {
        if (dc->GetTextCharacterExtra() != font->InterCharSize())
            dc->SetTextCharacterExtra(font->InterCharSize());
    }
    FontObject = font;
}

void TPlotCanvas::GradientPolygon(const TPointArray& points, int lastIndex, TCustomPlotGradient& gradient)
{
    const int count = lastIndex + 1;
    if (count <= 0 || static_cast<size_t>(count) > points.size())
        return;
    ClipPolygon(points.data(), count, false);
    gradient.Draw(*this, PolygonRect(points.data(), count), 0);
    UnClipRectangle();
    if (Pen().Style() != psClear) {
        const TBrushStyle old = Brush().Style();
        Brush().SetStyle(bsClear);
        Polygon(points, lastIndex);
        Brush().SetStyle(old);
    }
}

void TPlotCanvas3D::TextOut(int32_t x, int32_t y, const QString& text)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    referenceCanvas_->RequireFont();
    TPlotFont* font = FontObject;
    if (font && font->HasShadow() && font->Shadow().Visible() &&
        (font->Shadow().HorizSize() != 0 || font->Shadow().VertSize() != 0)) {
        const TPlotShadow& shadow = font->Shadow();
        // A negative size moves the text away and leaves the shadow at the given point.
        int32_t sx = x, sy = y;
        if (shadow.HorizSize() < 0)
            x -= shadow.HorizSize();
        else
            sx = x + shadow.HorizSize();
        if (shadow.VertSize() < 0)
            y -= shadow.VertSize();
        else
            sy = y + shadow.VertSize();
        DrawShadowedText(*dc, sx, sy, text);
    }
    dc->SetTextColor(ColorToRGB(Font().Color()));

    const bool outline = font && font->HasOutLine() && font->OutLine().Visible();
    const bool gradient = font && font->HasGradient() && font->Gradient().Visible();
    const bool picture = font && font->HasPicture() && font->Picture().HasGraphic();
    if (!outline && !gradient && !picture) {
        dc->TextOut(x, y, text);
        return;
    }

    // The letters as a path, filled or stroked.
    if (outline)
        AssignVisiblePen(font->OutLine());
    else
        Pen().SetStyle(psClear);
    Brush().SetBitmap(QImage());
    Brush().SetStyle(bsSolid);
    Brush().SetColor(Font().Color());
    SetBackMode(cbmTransparent);
    referenceCanvas_->RequirePen();
    referenceCanvas_->RequireBrush();
    auto buildPath = [&] {
        dc->BeginPath();
        dc->TextOut(x, y, text);
        dc->EndPath();
    };
    const TRect rect = TextRect(dc->GetTextAlign(), x, y, dc->GetTextExtentPoint(text));
    if (gradient || picture) {
        gdi::Region saved;
        const bool hadClip = dc->GetClipRgn(saved) == 1;
        buildPath();
        dc->SelectClipPath(gdi::RGN_AND);
        if (gradient)
            font->Gradient().Draw(*this, rect, 0);
        else
            StretchDraw(rect, font->Picture().FilteredGraphic());
        dc->SelectClipRgn(hadClip ? &saved : nullptr);
        if (outline) {
            referenceCanvas_->RequirePen();
            buildPath();
            dc->StrokePath();
        }
        return;
    }
    buildPath();
    if (Font().Color() == clNone)
        dc->StrokePath();
    else
        dc->StrokeAndFillPath();
}

void TPlotCanvas3D::DrawShadowedText(gdi::DeviceContext& dc, int32_t x, int32_t y, const QString& text)
{
    const TPlotShadow& shadow = FontObject->Shadow();
    const TRect rect = TextRect(dc.GetTextAlign(), x, y, dc.GetTextExtentPoint(text));
    std::unique_ptr<TPlotBlend> blend;
    if (shadow.Transparency() > 0)
        blend = BeginBlending(rect, shadow.Transparency());
    dc.SetTextColor(ColorToRGB(shadow.Color()));
    dc.TextOut(x, y, text);
    if (shadow.Smooth() && shadow.SmoothBlur() > 0 && bitmap_ && referenceCanvas_ == &bitmap_->Canvas()) {
        QImage& image = bitmap_->Device().ImageForWrite();
        const QRect area = QRect(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top)
                               .intersected(image.rect());
        if (!area.isEmpty()) {
            TBlurFilter blur;
            blur.Amount = shadow.SmoothBlur();
            blur.Apply(image, area);
        }
        SetBackMode(cbmTransparent);
    }
    if (blend)
        EndBlending(std::move(blend));
}
