#ifndef ZENDRIK_CHART_CANVAS_PLOTGRAPHICS_H
#define ZENDRIK_CHART_CANVAS_PLOTGRAPHICS_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"
#include "platform/gdi/GdiTypes.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace gdi {
class DeviceContext;
class RasterDC;
}

// The window-system drawing objects the chart library builds on: pen, brush and font objects with
// change events, a picture, a bitmap and the canvas that binds them to a device context.

using TNotifyEvent = std::function<void()>;

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame, psUserStyle, psAlternate };
enum TPenMode {
    pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
    pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// The mix mode of a pen mode (pmCopy -> R2_COPYPEN ...).
int PenModeToROP2(TPenMode mode);
// The device style word of a pen style (psDash -> PS_DASH ...).
uint32_t PenStyleToDevice(TPenStyle style);

class TPen {
public:
    explicit TPen(TNotifyEvent onChange = {});
    virtual ~TPen();
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;

    virtual void Assign(const TPen& source);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    int32_t Width() const { return width_; }
    void SetWidth(int32_t value);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle value);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode value);

    // A device pen that stands in for the one the properties describe (extended pens made by the
    // canvas); changing any property drops it.
    const std::optional<gdi::Pen>& Handle() const { return handle_; }
    void SetHandle(const gdi::Pen& pen);
    // The device pen to select: the handle, or one built from the properties.
    gdi::Pen DevicePen() const;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    TColor color_ = clBlack;
    int32_t width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    std::optional<gdi::Pen> handle_;
};

class TBrush {
public:
    explicit TBrush(TNotifyEvent onChange = {});
    virtual ~TBrush();
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;

    virtual void Assign(const TBrush& source);

    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle value);
    // A pattern image; a null image means none.
    const QImage& Bitmap() const { return bitmap_; }
    void SetBitmap(const QImage& value);

    gdi::Brush DeviceBrush() const;

    TNotifyEvent OnChange;

protected:
    void Changed();
    // Lets derived brushes set the colour without firing (their own defaults).
    void InitColor(TColor value) { color_ = value; }

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    QImage bitmap_;
};

class TFont {
public:
    explicit TFont(TNotifyEvent onChange = {});
    virtual ~TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    virtual void Assign(const TFont& source);

    const QString& Name() const { return name_; }
    void SetName(const QString& value);
    // Size in points; Height is the same in pixels, negative (character height).
    int32_t Size() const;
    void SetSize(int32_t value);
    int32_t Height() const { return height_; }
    void SetHeight(int32_t value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles value);
    uint8_t Charset() const { return charset_; }
    void SetCharset(uint8_t value);
    int32_t PixelsPerInch() const { return pixelsPerInch_; }
    void SetPixelsPerInch(int32_t value) { pixelsPerInch_ = value > 0 ? value : 96; }

    gdi::Font DeviceFont() const;

    TNotifyEvent OnChange;

protected:
    void Changed();

private:
    QString name_ = QStringLiteral("Arial");
    int32_t height_ = -11;   // 8 points at 96 pixels per inch
    TColor color_ = clBlack;
    TFontStyles style_ = 0;
    uint8_t charset_ = 1;
    int32_t pixelsPerInch_ = 96;
};

// A picture: holds one graphic (an image) or none.
class TPicture {
public:
    explicit TPicture(TNotifyEvent onChange = {});
    virtual ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    virtual void Assign(const TPicture* source);
    bool HasGraphic() const { return !graphic_.isNull(); }
    const QImage& Graphic() const { return graphic_; }
    void SetGraphic(const QImage& image);
    int32_t Width() const { return graphic_.width(); }
    int32_t Height() const { return graphic_.height(); }

    TNotifyEvent OnChange;

private:
    QImage graphic_;
};

// Binds a pen, a brush and a font to a device context and selects them into it before it draws.
class TCanvas {
public:
    explicit TCanvas(gdi::DeviceContext* handle = nullptr);
    virtual ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;

    gdi::DeviceContext* Handle() const { return handle_; }
    void SetHandle(gdi::DeviceContext* handle);

    TPen& Pen() { return pen_; }
    TBrush& Brush() { return brush_; }
    TFont& Font() { return font_; }

    // Select the objects into the device when they changed since the last drawing.
    void RequirePen();
    void RequireBrush();
    void RequireFont();
    void RequireAll();
    // Marks pen, brush and font as not selected, after something selected other objects directly.
    void ForgetSelection() { penDirty_ = brushDirty_ = fontDirty_ = true; }

    void MoveTo(int32_t x, int32_t y);
    void LineTo(int32_t x, int32_t y);
    void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void FillRect(const TRect& rect);
    void FrameRect(const TRect& rect);
    void Polyline(const TPoint* points, int count);
    void Polygon(const TPoint* points, int count);
    void TextOut(int32_t x, int32_t y, const QString& text);
    gdi::Size TextExtent(const QString& text);
    int32_t TextWidth(const QString& text) { return TextExtent(text).cx; }
    int32_t TextHeight(const QString& text) { return TextExtent(text).cy; }
    void Draw(int32_t x, int32_t y, const QImage& graphic);
    void StretchDraw(const TRect& rect, const QImage& graphic);
    // Copies a rectangle of an image into a rectangle of this canvas.
    void CopyRect(const TRect& dest, const QImage& source, const TRect& sourceRect);
    TColor Pixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, TColor color);

private:
    gdi::DeviceContext* handle_ = nullptr;
    TPen pen_;
    TBrush brush_;
    TFont font_;
    bool penDirty_ = true;
    bool brushDirty_ = true;
    bool fontDirty_ = true;
};

// An off-screen bitmap with its own canvas: a raster device context of Format_RGB32.
class TBitmap {
public:
    TBitmap(int32_t width = 1, int32_t height = 1);
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    int32_t Width() const;
    int32_t Height() const;
    // Sizes the picture (at least 1 x 1); a new size starts white, the same size keeps the content.
    void SetSize(int32_t width, int32_t height);
    TCanvas& Canvas() { return *canvas_; }
    gdi::RasterDC& Device() { return *dc_; }
    const QImage& Image() const;

private:
    std::unique_ptr<gdi::RasterDC> dc_;
    std::unique_ptr<TCanvas> canvas_;
};

#endif
