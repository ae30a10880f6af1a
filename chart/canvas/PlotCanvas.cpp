#include "chart/canvas/PlotCanvas.h"

#include "chart/canvas/CanvasGeometry.h"
#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotHtml.h"
#include "chart/canvas/View3DOptions.h"
#include "platform/gdi/DeviceContext.h"

#include <cmath>
#include <numbers>

// ---- TPlotCanvas

TPlotCanvas::TPlotCanvas()
    : HtmlTextOut(&::HtmlTextOut), HtmlTextExtent(&::HtmlTextExtent), ownCanvas_(std::make_unique<TCanvas>())
{
    referenceCanvas_ = ownCanvas_.get();
}

TPlotCanvas::~TPlotCanvas() = default;

void TPlotCanvas::SetCanvas(TCanvas* canvas)
{
    referenceCanvas_ = canvas ? canvas : ownCanvas_.get();
}

void TPlotCanvas::AssignVisiblePenColor(TPen& pen, TColor color)
{
    if (GetMonochrome())
        color = clBlack;
    TPen& target = Pen();
    auto* chart = dynamic_cast<TChartPen*>(&pen);
    if (chart && !chart->Visible()) {
        target.SetStyle(psClear);
        return;
    }
    if (chart && PlatformIsNT && !GetAvoidExtendedPens()) {
        if (chart->SmallDots()) {
            target.Assign(pen);
            target.SetColor(color);
            gdi::Pen dots;
            dots.color = ColorToRGB(color);
            dots.width = 1;
            if (chart->SmallSpace() >= 1) {
                dots.style = gdi::PS_COSMETIC | gdi::PS_USERSTYLE;
                dots.userStyle = {0, static_cast<uint32_t>(chart->SmallSpace()) + 1};
            } else {
                dots.style = gdi::PS_COSMETIC | gdi::PS_ALTERNATE;
            }
            target.SetHandle(dots);
            return;
        }
        target.Assign(pen);
        if (target.Color() != color)
            target.SetColor(color);
        if (pen.Width() >= 2) {
            uint32_t endJoin = gdi::PS_ENDCAP_ROUND | gdi::PS_JOIN_ROUND;
            if (chart->EndStyle() == esSquare)
                endJoin = gdi::PS_ENDCAP_SQUARE | gdi::PS_JOIN_BEVEL;
            else if (chart->EndStyle() == esFlat)
                endJoin = gdi::PS_ENDCAP_FLAT | gdi::PS_JOIN_MITER;
            gdi::Pen geometric;
            geometric.style = gdi::PS_GEOMETRIC | PenStyleToDevice(pen.Style()) | endJoin;
            geometric.width = pen.Width();
            geometric.color = ColorToRGB(color);
            target.SetHandle(geometric);
        }
        return;
    }
    target.Assign(pen);
    target.SetColor(color);
}

void TPlotCanvas::AssignBrushColor(TBrush& brush, TColor color, TColor backColor)
{
    if (GetMonochrome())
        color = clWhite;
    TBrush& target = Brush();
    auto* chart = dynamic_cast<TChartBrush*>(&brush);
    QImage pattern;
    if (chart && chart->HasImage())
        pattern = chart->Image().Graphic();
    else if (!brush.Bitmap().isNull())
        pattern = brush.Bitmap();
    if (!pattern.isNull()) {
        target.SetStyle(bsClear);
        target.SetBitmap(pattern);
        if (gdi::DeviceContext* dc = GetHandle())
            dc->SetTextColor(ColorToRGB(color));
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
        return;
    }
    target.SetBitmap(QImage());
    if (target.Color() != color)
        target.SetColor(color);
    if (target.Style() != brush.Style())
        target.SetStyle(brush.Style());
    if (backColor != clNone) {
        SetBackMode(cbmOpaque);
        SetBackColor(backColor);
    } else {
        SetBackMode(cbmTransparent);
    }
}

std::unique_ptr<TPlotBlend> TPlotCanvas::BeginBlending(const TRect& rect, int transparency)
{
    BlendTransparency = transparency & 127;
    return std::make_unique<TPlotBlend>(*this, rect);
}

void TPlotCanvas::EndBlending(std::unique_ptr<TPlotBlend> blend)
{
    if (blend)
        blend->DoBlend(BlendTransparency);
}

void TPlotCanvas::ArcAngles(int32_t x1, int32_t y1, int32_t x2, int32_t y2, double startAngle, double endAngle)
{
    const int32_t rx = (x2 - x1) / 2;
    const int32_t ry = (y2 - y1) / 2;
    const int32_t xc = x1 + rx;
    const int32_t yc = y1 + ry;
    const double k = std::numbers::pi / 180.0;
    const int32_t xs = xc + RoundToPixel(rx * std::cos(startAngle * k));
    const int32_t ys = yc - RoundToPixel(ry * std::sin(startAngle * k));
    const int32_t xe = xc + RoundToPixel(rx * std::cos(endAngle * k));
    const int32_t ye = yc - RoundToPixel(ry * std::sin(endAngle * k));
    Arc(x1, y1, x2, y2, xs, ys, xe, ye);
}

void TPlotCanvas::Frame3D(TRect& rect, TColor topColor, TColor bottomColor, int32_t width)
{
    Pen().SetWidth(1);
    Pen().SetStyle(psSolid);
    --rect.Right;
    --rect.Bottom;
    for (int32_t i = 0; i < width; ++i) {
        Pen().SetColor(topColor);
        TPointArray top{{rect.Left, rect.Bottom}, {rect.Left, rect.Top}, {rect.Right, rect.Top}};
        Polyline(top, 2);
        Pen().SetColor(bottomColor);
        TPointArray bottom{{rect.Right, rect.Top}, {rect.Right, rect.Bottom}, {rect.Left - 1, rect.Bottom}};
        Polyline(bottom, 2);
        ++rect.Left;
        ++rect.Top;
        --rect.Right;
        --rect.Bottom;
    }
    ++rect.Right;
    ++rect.Bottom;
}

void TPlotCanvas::ClipRoundRectangle(const TRect& rect, int32_t)
{
    ClipRectangle(rect);
}

void TPlotCanvas::ClipEllipse(const TRect& rect, bool)
{
    ClipRectangle(rect);
}

void TPlotCanvas::ClipPolygon(const TPoint* points, int count, bool)
{
    ClipRectangle(PolygonRect(points, count));
}

void TPlotCanvas::HorizLine(int32_t x0, int32_t x1, int32_t y)
{
    MoveTo(x0, y);
    LineTo(x1, y);
}

void TPlotCanvas::VertLine(int32_t x, int32_t y0, int32_t y1)
{
    MoveTo(x, y0);
    LineTo(x, y1);
}

void TPlotCanvas::Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    MoveTo(x0, y0);
    LineTo(x1, y1);
}

void TPlotCanvas::ResetState()
{
    Pen().SetColor(clBlack);
    Pen().SetWidth(1);
    Pen().SetStyle(psSolid);
    Pen().SetMode(pmCopy);
    Brush().SetBitmap(QImage());
    Brush().SetColor(clWhite);
    Brush().SetStyle(bsSolid);
    Font().SetColor(clBlack);
    Font().SetStyle(0);
    Font().SetCharset(gdi::DEFAULT_CHARSET);
    Font().SetName(DefaultFontName());
    Font().SetSize(DefaultFontSize());
    BlendTransparency = 0;
    FontObject = nullptr;
    SetBackColor(clWhite);
    SetBackMode(cbmTransparent);
    SetTextAlign(0);
}

void TPlotCanvas::TextOutFormat(int32_t x, int32_t y, const QString& text, bool html)
{
    if (html && HtmlTextOut) {
        // A title with a stray "<" must not end the chart's drawing. Measuring first finds the
        // fault before anything is drawn, so the plain text does not land on half a rendering.
        try {
            if (HtmlTextExtent)
                HtmlTextExtent(*this, text);
            HtmlTextOut(*this, x, y, text);
        } catch (const HtmlParserException&) {
            TextOut(x, y, text);
        }
        return;
    }
    TextOut(x, y, text);
}

gdi::Size TPlotCanvas::TextExtentFormat(const QString& text, bool html)
{
    if (html && HtmlTextExtent) {
        try {
            return HtmlTextExtent(*this, text);
        } catch (const HtmlParserException&) {
            // Measured as the plain text it is then drawn as.
            return gdi::Size{TextWidth(text), TextHeight(text)};
        }
    }
    return gdi::Size{TextWidth(text), TextHeight(text)};
}

void TPlotCanvas::SetBrushDarker(TColor color, int amount)
{
    const TColor darker = ColorDarker(color, amount);
    if (Brush().Style() != bsSolid)
        SetBackColor(darker);
    else
        Brush().SetColor(darker);
}

// ---- TCanvas3D

TCanvas3D::TCanvas3D() = default;
TCanvas3D::~TCanvas3D() = default;

void TCanvas3D::AssignSettings(TCanvas3D& source)
{
    SetMonochrome(source.GetMonochrome());
    View3DOptions = source.View3DOptions;
}

void TCanvas3D::HorizLineAtDepth(int32_t x0, int32_t x1, int32_t y, int32_t z)
{
    MoveToAtDepth(x0, y, z);
    LineToAtDepth(x1, y, z);
}

void TCanvas3D::VertLineAtDepth(int32_t x, int32_t y0, int32_t y1, int32_t z)
{
    MoveToAtDepth(x, y0, z);
    LineToAtDepth(x, y1, z);
}

void TCanvas3D::DepthLine(int32_t x, int32_t y, int32_t z0, int32_t z1)
{
    MoveToAtDepth(x, y, z0);
    LineToAtDepth(x, y, z1);
}

void TCanvas3D::BeginFlatSection()
{
    if (FlatDepth++ == 0)
        Suspend3D();
}

void TCanvas3D::EndFlatSection()
{
    if (FlatDepth <= 0)
        return;
    if (--FlatDepth == 0)
        Resume3D();
}

void TCanvas3D::LineAtDepth(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t z)
{
    MoveToAtDepth(x0, y0, z);
    LineToAtDepth(x1, y1, z);
}

void TCanvas3D::MoveToAtDepth(int32_t x, int32_t y, int32_t z)
{
    const TPoint p = ProjectToScreen(x, y, z);
    MoveTo(p.X, p.Y);
}

void TCanvas3D::LineToAtDepth(int32_t x, int32_t y, int32_t z)
{
    const TPoint p = ProjectToScreen(x, y, z);
    LineTo(p.X, p.Y);
}

void TCanvas3D::PolygonAtDepth(const TPointArray& points, int lastIndex, int32_t z)
{
    Polygon(ProjectPoints(points, lastIndex, z), lastIndex);
}

void TCanvas3D::PolylineAtDepth(const TPointArray& points, int lastIndex, int32_t z)
{
    Polyline(ProjectPoints(points, lastIndex, z), lastIndex);
}

TRect TCanvas3D::CalcRect3D(const TRect& rect, int32_t z)
{
    const TPoint a = ProjectToScreen(rect.Left, rect.Top, z);
    const TPoint b = ProjectToScreen(rect.Right, rect.Bottom, z);
    return TRect{a.X, a.Y, b.X, b.Y};
}

TRect TCanvas3D::CalcRect3DBounds(const TRect& rect, int32_t z)
{
    const TPoint p[4] = {ProjectToScreen(rect.Left, rect.Top, z), ProjectToScreen(rect.Right, rect.Top, z),
                         ProjectToScreen(rect.Right, rect.Bottom, z), ProjectToScreen(rect.Left, rect.Bottom, z)};
    return PolygonRect(p, 4);
}

TPointArray TCanvas3D::ProjectPoints(const TPointArray& points, int lastIndex, int32_t z)
{
    TPointArray out;
    if (lastIndex < 0)
        return out;
    const size_t n = std::min(points.size(), static_cast<size_t>(lastIndex) + 1);
    out.reserve(n);
    for (size_t i = 0; i < n; ++i)
        out.push_back(ProjectToScreen(points[i].X, points[i].Y, z));
    return out;
}
