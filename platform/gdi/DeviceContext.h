#ifndef ZENDRIK_PLATFORM_GDI_DEVICECONTEXT_H
#define ZENDRIK_PLATFORM_GDI_DEVICECONTEXT_H

#include "platform/gdi/GdiTypes.h"

#include <QString>

class QImage;

namespace gdi {

// A drawing target with the state and meaning of a classic device context: selected pen, brush and
// font, mix mode, background mode and colour, text alignment, a current position, one clip region
// and a path under construction. The chart canvas draws only through this interface, so that a
// recording back end (metafiles) can stand beside the raster one.
class DeviceContext {
public:
    virtual ~DeviceContext() = default;

    // Device.
    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    virtual int32_t PixelsPerInch() const { return 96; }
    // The image behind a raster target, none for a recording one.
    virtual const QImage* SourceImage() const { return nullptr; }

    // Objects.
    virtual void SelectPen(const Pen& pen) = 0;
    virtual const Pen& GetPen() const = 0;
    virtual void SelectBrush(const Brush& brush) = 0;
    virtual const Brush& GetBrush() const = 0;
    virtual void SelectFont(const Font& font) = 0;
    virtual const Font& GetFont() const = 0;

    // Attributes.
    virtual int SetROP2(int mode) = 0;
    virtual int GetROP2() const = 0;
    virtual int SetBkMode(int mode) = 0;
    virtual int GetBkMode() const = 0;
    virtual COLORREF SetBkColor(COLORREF color) = 0;
    virtual COLORREF GetBkColor() const = 0;
    virtual COLORREF SetTextColor(COLORREF color) = 0;
    virtual COLORREF GetTextColor() const = 0;
    virtual uint32_t SetTextAlign(uint32_t flags) = 0;
    virtual uint32_t GetTextAlign() const = 0;
    virtual int32_t SetTextCharacterExtra(int32_t extra) = 0;
    virtual int32_t GetTextCharacterExtra() const = 0;
    virtual int SetPolyFillMode(int mode) = 0;
    virtual int GetPolyFillMode() const = 0;
    virtual int SetGraphicsMode(int mode) = 0;
    virtual int GetGraphicsMode() const = 0;
    // Arcs, pies and chords run counter-clockwise (AD_COUNTERCLOCKWISE) or clockwise
    // (AD_CLOCKWISE); the direction also decides where a styled outline of a rectangle or ellipse
    // starts its pattern.
    virtual int SetArcDirection(int direction) = 0;
    virtual int GetArcDirection() const = 0;
    virtual int GetMapMode() const { return MM_TEXT; }
    // Logical to device units; the identity in MM_TEXT, the only mapping used here.
    virtual void LPtoDP(Point* points, int count) const { (void)points; (void)count; }

    // The whole state (objects, modes, position, clip region) on a stack: SaveDC answers the new
    // depth (1 for the first save); RestoreDC(level) brings back the state saved at that depth
    // (negative: counted back from the last save) and drops it and every later save. False, and
    // nothing changes, for a level that was never saved.
    virtual int SaveDC() = 0;
    virtual bool RestoreDC(int level) = 0;

    // Lines and shapes.
    virtual void MoveToEx(int32_t x, int32_t y, Point* old = nullptr) = 0;
    virtual Point GetCurrentPosition() const = 0;
    virtual void LineTo(int32_t x, int32_t y) = 0;
    virtual void Polyline(const Point* points, int count) = 0;
    virtual void Polygon(const Point* points, int count) = 0;
    virtual void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) = 0;
    virtual void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h) = 0;
    // Arcs run from the ray through (xs, ys) to the ray through (xe, ye) in the arc direction.
    virtual void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys,
                     int32_t xe, int32_t ye) = 0;
    virtual void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys,
                     int32_t xe, int32_t ye) = 0;
    virtual void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys,
                       int32_t xe, int32_t ye) = 0;
    virtual void FillRect(const Rect& rect, const Brush& brush) = 0;
    virtual void PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) = 0;
    virtual COLORREF SetPixel(int32_t x, int32_t y, COLORREF color) = 0;
    virtual COLORREF GetPixel(int32_t x, int32_t y) const = 0;

    // Text.
    virtual void TextOut(int32_t x, int32_t y, const QString& text) = 0;
    virtual Size GetTextExtentPoint(const QString& text) const = 0;
    virtual TextMetric GetTextMetrics() const = 0;

    // Clipping: one clip region or none.
    virtual int GetClipRgn(Region& out) const = 0;   // 1 with a region, 0 without
    virtual int SelectClipRgn(const Region* region) = 0;  // none removes clipping
    virtual int ExtSelectClipRgn(const Region* region, int mode) = 0;
    virtual Rect GetClipBox() const = 0;
    virtual bool PtVisible(int32_t x, int32_t y) const = 0;

    // Paths.
    virtual void BeginPath() = 0;
    virtual void EndPath() = 0;
    virtual void AbortPath() = 0;
    virtual void CloseFigure() = 0;
    virtual void StrokePath() = 0;
    virtual void FillPath() = 0;
    virtual void StrokeAndFillPath() = 0;
    virtual bool SelectClipPath(int mode) = 0;

    // Block transfers.
    virtual void BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx,
                        int32_t sy, uint32_t rop) = 0;
    virtual void StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop) = 0;
};

} // namespace gdi

#endif
