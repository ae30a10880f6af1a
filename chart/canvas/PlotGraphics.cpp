#include "chart/canvas/PlotGraphics.h"

#include "platform/gdi/RasterDC.h"

#include <algorithm>
#include <cmath>

int PenModeToROP2(TPenMode mode)
{
    switch (mode) {
    case pmBlack: return gdi::R2_BLACK;
    case pmWhite: return gdi::R2_WHITE;
    case pmNop: return gdi::R2_NOP;
    case pmNot: return gdi::R2_NOT;
    case pmCopy: return gdi::R2_COPYPEN;
    case pmNotCopy: return gdi::R2_NOTCOPYPEN;
    case pmMergePenNot: return gdi::R2_MERGEPENNOT;
    case pmMaskPenNot: return gdi::R2_MASKPENNOT;
    case pmMergeNotPen: return gdi::R2_MERGENOTPEN;
    case pmMaskNotPen: return gdi::R2_MASKNOTPEN;
    case pmMerge: return gdi::R2_MERGEPEN;
    case pmNotMerge: return gdi::R2_NOTMERGEPEN;
    case pmMask: return gdi::R2_MASKPEN;
    case pmNotMask: return gdi::R2_NOTMASKPEN;
    case pmXor: return gdi::R2_XORPEN;
    case pmNotXor: return gdi::R2_NOTXORPEN;
    }
    return gdi::R2_COPYPEN;
}

uint32_t PenStyleToDevice(TPenStyle style)
{
    switch (style) {
    case psSolid: return gdi::PS_SOLID;
    case psDash: return gdi::PS_DASH;
    case psDot: return gdi::PS_DOT;
    case psDashDot: return gdi::PS_DASHDOT;
    case psDashDotDot: return gdi::PS_DASHDOTDOT;
    case psClear: return gdi::PS_NULL;
    case psInsideFrame: return gdi::PS_INSIDEFRAME;
    case psUserStyle: return gdi::PS_USERSTYLE;
    case psAlternate: return gdi::PS_ALTERNATE;
    }
    return gdi::PS_SOLID;
}

// ---- TPen

TPen::TPen(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TPen::~TPen() = default;

void TPen::Changed()
{
    handle_.reset();
    if (OnChange)
        OnChange();
}

void TPen::Assign(const TPen& source)
{
    if (&source == this)
        return;
    const bool same = color_ == source.color_ && width_ == source.width_ && style_ == source.style_ &&
                      mode_ == source.mode_ && handle_ == source.handle_;
    color_ = source.color_;
    width_ = source.width_;
    style_ = source.style_;
    mode_ = source.mode_;
    if (!same) {
        Changed();
        handle_ = source.handle_;
    }
}

void TPen::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Changed();
    }
}

void TPen::SetWidth(int32_t value)
{
    if (value >= 0 && value != width_) {
        width_ = value;
        Changed();
    }
}

void TPen::SetStyle(TPenStyle value)
{
    if (value != style_) {
        style_ = value;
        Changed();
    }
}

void TPen::SetMode(TPenMode value)
{
    if (value != mode_) {
        mode_ = value;
        Changed();
    }
}

void TPen::SetHandle(const gdi::Pen& pen)
{
    handle_ = pen;
    if (OnChange)
        OnChange();
}

gdi::Pen TPen::DevicePen() const
{
    if (handle_)
        return *handle_;
    gdi::Pen p;
    p.style = PenStyleToDevice(style_);
    p.width = width_;
    p.color = ColorToRGB(color_);
    return p;
}

// ---- TBrush

TBrush::TBrush(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TBrush::~TBrush() = default;

void TBrush::Changed()
{
    if (OnChange)
        OnChange();
}

void TBrush::Assign(const TBrush& source)
{
    if (&source == this)
        return;
    const bool same = color_ == source.color_ && style_ == source.style_ && bitmap_ == source.bitmap_;
    color_ = source.color_;
    style_ = source.style_;
    bitmap_ = source.bitmap_;
    if (!same)
        Changed();
}

void TBrush::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Changed();
    }
}

void TBrush::SetStyle(TBrushStyle value)
{
    if (value != style_) {
        style_ = value;
        Changed();
    }
}

void TBrush::SetBitmap(const QImage& value)
{
    if (value.isNull() && bitmap_.isNull())
        return;
    bitmap_ = value;
    Changed();
}

gdi::Brush TBrush::DeviceBrush() const
{
    gdi::Brush b;
    b.color = ColorToRGB(color_);
    if (!bitmap_.isNull()) {
        b.style = gdi::BS_PATTERN;
        b.pattern = bitmap_;
        return b;
    }
    switch (style_) {
    case bsSolid: b.style = gdi::BS_SOLID; break;
    case bsClear: b.style = gdi::BS_NULL; break;
    case bsHorizontal: b.style = gdi::BS_HATCHED; b.hatch = gdi::HS_HORIZONTAL; break;
    case bsVertical: b.style = gdi::BS_HATCHED; b.hatch = gdi::HS_VERTICAL; break;
    case bsFDiagonal: b.style = gdi::BS_HATCHED; b.hatch = gdi::HS_FDIAGONAL; break;
    case bsBDiagonal: b.style = gdi::BS_HATCHED; b.hatch = gdi::HS_BDIAGONAL; break;
    case bsCross: b.style = gdi::BS_HATCHED; b.hatch = gdi::HS_CROSS; break;
    case bsDiagCross: b.style = gdi::BS_HATCHED; b.hatch = gdi::HS_DIAGCROSS; break;
    }
    return b;
}

// ---- TFont

TFont::TFont(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TFont::~TFont() = default;

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TFont::Assign(const TFont& source)
{
    if (&source == this)
        return;
    const bool same = name_ == source.name_ && height_ == source.height_ && color_ == source.color_ &&
                      style_ == source.style_ && charset_ == source.charset_ &&
                      pixelsPerInch_ == source.pixelsPerInch_;
    name_ = source.name_;
    // The height is kept in the target's resolution, as the size in points is what carries over.
    const int32_t points = source.Size();
    height_ = source.pixelsPerInch_ == pixelsPerInch_
                  ? source.height_
                  : -static_cast<int32_t>(std::nearbyint(points * static_cast<double>(pixelsPerInch_) / 72.0));
    color_ = source.color_;
    style_ = source.style_;
    charset_ = source.charset_;
    if (!same)
        Changed();
}

void TFont::SetName(const QString& value)
{
    if (!value.isEmpty() && value != name_) {
        name_ = value;
        Changed();
    }
}

int32_t TFont::Size() const
{
    // Height -> points, rounded halves to even as the chart library rounds.
    return -static_cast<int32_t>(std::nearbyint(height_ * 72.0 / pixelsPerInch_));
}

void TFont::SetSize(int32_t value)
{
    SetHeight(-static_cast<int32_t>(std::nearbyint(value * static_cast<double>(pixelsPerInch_) / 72.0)));
}

void TFont::SetHeight(int32_t value)
{
    if (value != height_) {
        height_ = value;
        Changed();
    }
}

void TFont::SetColor(TColor value)
{
    if (value != color_) {
        color_ = value;
        Changed();
    }
}

void TFont::SetStyle(TFontStyles value)
{
    if (value != style_) {
        style_ = value;
        Changed();
    }
}

void TFont::SetCharset(uint8_t value)
{
    if (value != charset_) {
        charset_ = value;
        Changed();
    }
}

gdi::Font TFont::DeviceFont() const
{
    gdi::Font f;
    f.height = height_;
    f.weight = (style_ & fsBold) ? gdi::FW_BOLD : gdi::FW_NORMAL;
    f.italic = (style_ & fsItalic) != 0;
    f.underline = (style_ & fsUnderline) != 0;
    f.strikeOut = (style_ & fsStrikeOut) != 0;
    f.charSet = charset_;
    f.faceName = name_;
    return f;
}

// ---- TPicture

TPicture::TPicture(TNotifyEvent onChange) : OnChange(std::move(onChange)) {}
TPicture::~TPicture() = default;

void TPicture::Assign(const TPicture* source)
{
    SetGraphic(source ? source->graphic_ : QImage());
}

void TPicture::SetGraphic(const QImage& image)
{
    graphic_ = image;
    if (OnChange)
        OnChange();
}

// ---- TCanvas

TCanvas::TCanvas(gdi::DeviceContext* handle)
    : handle_(handle), pen_([this] { penDirty_ = true; }), brush_([this] { brushDirty_ = true; }),
      font_([this] { fontDirty_ = true; })
{
}

TCanvas::~TCanvas() = default;

void TCanvas::SetHandle(gdi::DeviceContext* handle)
{
    handle_ = handle;
    penDirty_ = brushDirty_ = fontDirty_ = true;
    if (handle_)
        font_.SetPixelsPerInch(handle_->PixelsPerInch());
}

void TCanvas::RequirePen()
{
    if (!handle_ || !penDirty_)
        return;
    handle_->SelectPen(pen_.DevicePen());
    handle_->SetROP2(PenModeToROP2(pen_.Mode()));
    penDirty_ = false;
}

void TCanvas::RequireBrush()
{
    if (!handle_ || !brushDirty_)
        return;
    handle_->SelectBrush(brush_.DeviceBrush());
    brushDirty_ = false;
}

void TCanvas::RequireFont()
{
    if (!handle_ || !fontDirty_)
        return;
    handle_->SelectFont(font_.DeviceFont());
    fontDirty_ = false;
}

void TCanvas::RequireAll()
{
    RequirePen();
    RequireBrush();
    RequireFont();
}

void TCanvas::MoveTo(int32_t x, int32_t y)
{
    if (handle_)
        handle_->MoveToEx(x, y);
}

void TCanvas::LineTo(int32_t x, int32_t y)
{
    if (!handle_)
        return;
    RequirePen();
    handle_->LineTo(x, y);
}

void TCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!handle_)
        return;
    RequirePen();
    RequireBrush();
    handle_->Rectangle(x1, y1, x2, y2);
}

void TCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2)
{
    if (!handle_)
        return;
    RequirePen();
    RequireBrush();
    handle_->Ellipse(x1, y1, x2, y2);
}

void TCanvas::FillRect(const TRect& rect)
{
    if (!handle_)
        return;
    handle_->FillRect(gdi::Rect{rect.Left, rect.Top, rect.Right, rect.Bottom}, brush_.DeviceBrush());
}

void TCanvas::FrameRect(const TRect& rect)
{
    if (!handle_ || rect.Right <= rect.Left || rect.Bottom <= rect.Top)
        return;
    const gdi::Brush b = brush_.DeviceBrush();
    handle_->FillRect(gdi::Rect{rect.Left, rect.Top, rect.Right, rect.Top + 1}, b);
    handle_->FillRect(gdi::Rect{rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom}, b);
    handle_->FillRect(gdi::Rect{rect.Left, rect.Top, rect.Left + 1, rect.Bottom}, b);
    handle_->FillRect(gdi::Rect{rect.Right - 1, rect.Top, rect.Right, rect.Bottom}, b);
}

void TCanvas::Polyline(const TPoint* points, int count)
{
    if (!handle_ || count <= 0)
        return;
    RequirePen();
    static_assert(sizeof(TPoint) == sizeof(gdi::Point));
    handle_->Polyline(reinterpret_cast<const gdi::Point*>(points), count);
}

void TCanvas::Polygon(const TPoint* points, int count)
{
    if (!handle_ || count <= 0)
        return;
    RequirePen();
    RequireBrush();
    handle_->Polygon(reinterpret_cast<const gdi::Point*>(points), count);
}

void TCanvas::TextOut(int32_t x, int32_t y, const QString& text)
{
    if (!handle_)
        return;
    RequireFont();
    RequireBrush();
    handle_->TextOut(x, y, text);
}

gdi::Size TCanvas::TextExtent(const QString& text)
{
    if (!handle_)
        return {};
    RequireFont();
    return handle_->GetTextExtentPoint(text);
}

void TCanvas::Draw(int32_t x, int32_t y, const QImage& graphic)
{
    if (!handle_ || graphic.isNull())
        return;
    handle_->BitBlt(x, y, graphic.width(), graphic.height(), graphic, 0, 0, gdi::SRCCOPY);
}

void TCanvas::StretchDraw(const TRect& rect, const QImage& graphic)
{
    if (!handle_ || graphic.isNull())
        return;
    handle_->StretchBlt(gdi::Rect{rect.Left, rect.Top, rect.Right, rect.Bottom}, graphic,
                        gdi::Rect{0, 0, graphic.width(), graphic.height()}, gdi::SRCCOPY);
}

void TCanvas::CopyRect(const TRect& dest, const QImage& source, const TRect& sourceRect)
{
    if (!handle_ || source.isNull())
        return;
    handle_->StretchBlt(gdi::Rect{dest.Left, dest.Top, dest.Right, dest.Bottom}, source,
                        gdi::Rect{sourceRect.Left, sourceRect.Top, sourceRect.Right, sourceRect.Bottom},
                        gdi::SRCCOPY);
}

TColor TCanvas::Pixel(int32_t x, int32_t y) const
{
    if (!handle_)
        return clNone;
    const gdi::COLORREF c = handle_->GetPixel(x, y);
    return c == gdi::CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixel(int32_t x, int32_t y, TColor color)
{
    if (handle_)
        handle_->SetPixel(x, y, ColorToRGB(color));
}

// ---- TBitmap

TBitmap::TBitmap(int32_t width, int32_t height)
    : dc_(std::make_unique<gdi::RasterDC>(std::max(1, width), std::max(1, height))),
      canvas_(std::make_unique<TCanvas>(dc_.get()))
{
}

TBitmap::~TBitmap() = default;

int32_t TBitmap::Width() const { return dc_->Width(); }
int32_t TBitmap::Height() const { return dc_->Height(); }

void TBitmap::SetSize(int32_t width, int32_t height)
{
    width = std::max(1, width);
    height = std::max(1, height);
    if (width == dc_->Width() && height == dc_->Height())
        return;
    dc_->Resize(width, height);
    canvas_->SetHandle(dc_.get());
}

const QImage& TBitmap::Image() const { return dc_->Image(); }
