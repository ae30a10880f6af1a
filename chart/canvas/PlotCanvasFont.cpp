// Text measuring and chart-font selection of the surface. The chart font (shadow, outline,
// gradient, picture) is defined with the fonts and gradients; until that unit is present the
// surface measures and draws plain text.
#include "chart/canvas/PlotCanvas.h"

#include "chart/canvas/CanvasGeometry.h"
#include "platform/gdi/DeviceContext.h"

#include <cmath>
#include <cstdlib>

#if __has_include("chart/canvas/PlotFont.h")
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotGradient.h"
#define ZENDRIK_HAVE_PLOTFONT 1
#endif

namespace {

gdi::Size ShadowExtra(TPlotFont* font)
{
#ifdef ZENDRIK_HAVE_PLOTFONT
    if (font && font->HasShadow() && font->Shadow().Visible())
        return gdi::Size{std::abs(font->Shadow().HorizSize()), std::abs(font->Shadow().VertSize())};
#else
    (void)font;
#endif
    return gdi::Size{};
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

// Text is Unicode throughout, so the wide forms measure the same way.
int32_t TPlotCanvas::TextWidthWide(const QString& text) { return TextWidth(text); }
int32_t TPlotCanvas::TextHeightWide(const QString& text) { return TextHeight(text); }

void TPlotCanvas::AssignFont(TPlotFont* font)
{
#ifdef ZENDRIK_HAVE_PLOTFONT
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
#else
    FontObject = font;
#endif
}

void TPlotCanvas::GradientPolygon(const TPointArray& points, int lastIndex, TCustomPlotGradient& gradient)
{
    const int count = lastIndex + 1;
    if (count <= 0 || static_cast<size_t>(count) > points.size())
        return;
    ClipPolygon(points.data(), count, false);
    const TRect bounds = PolygonRect(points.data(), count);
#ifdef ZENDRIK_HAVE_PLOTFONT
    gradient.Draw(*this, bounds, 0);
#else
    (void)gradient;
    (void)bounds;
#endif
    UnClipRectangle();
    if (Pen().Style() != psClear) {
        const TBrushStyle old = Brush().Style();
        Brush().SetStyle(bsClear);
        Polygon(points, lastIndex);
        Brush().SetStyle(old);
    }
}

// ---- text of the device-context canvas

#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"

void TPlotCanvas3D::TextOut(int32_t x, int32_t y, const QString& text)
{
    gdi::DeviceContext* dc = GetHandle();
    if (!dc)
        return;
    referenceCanvas_->RequireFont();
#ifdef ZENDRIK_HAVE_PLOTFONT
    if (FontObject && FontObject->HasShadow() && FontObject->Shadow().Visible() &&
        (FontObject->Shadow().HorizSize() != 0 || FontObject->Shadow().VertSize() != 0))
        DrawShadowedText(*dc, x, y, text);
    // The shadow may have moved the text.
    if (FontObject && FontObject->HasShadow() && FontObject->Shadow().Visible()) {
        if (FontObject->Shadow().HorizSize() < 0)
            x -= FontObject->Shadow().HorizSize();
        if (FontObject->Shadow().VertSize() < 0)
            y -= FontObject->Shadow().VertSize();
    }
#endif
    dc->SetTextColor(ColorToRGB(Font().Color()));
    dc->TextOut(x, y, text);
}

void TPlotCanvas3D::DrawShadowedText(gdi::DeviceContext& dc, int32_t x, int32_t y, const QString& text)
{
#ifdef ZENDRIK_HAVE_PLOTFONT
    const auto& shadow = FontObject->Shadow();
    const int32_t sx = shadow.HorizSize() > 0 ? x + shadow.HorizSize() : x;
    const int32_t sy = shadow.VertSize() > 0 ? y + shadow.VertSize() : y;
    std::unique_ptr<TPlotBlend> blend;
    if (shadow.Transparency() > 0) {
        const gdi::Size ext = dc.GetTextExtentPoint(text);
        blend = BeginBlending(TRect{sx, sy, sx + ext.cx, sy + ext.cy}, shadow.Transparency());
    }
    dc.SetTextColor(ColorToRGB(shadow.Color()));
    dc.TextOut(sx, sy, text);
    if (blend)
        EndBlending(std::move(blend));
#else
    (void)dc;
    (void)x;
    (void)y;
    (void)text;
#endif
}
