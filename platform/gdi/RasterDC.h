#ifndef ZENDRIK_PLATFORM_GDI_RASTERDC_H
#define ZENDRIK_PLATFORM_GDI_RASTERDC_H

#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"

#include <QImage>
#include <memory>

namespace gdi {

// The raster back end: draws into a QImage of Format_RGB32 (device-pixel ratio 1, white when
// created). One-pixel (cosmetic) lines and outlines, wide round pens, polygon and ellipse fills
// are rasterised here pixel by pixel, because their pixel rules, styles and mix modes must be
// exact; other wide pens, paths, text and bit transfers go through QPainter.
//
// The code is split by concern: RasterDC.cpp (state, clipping, paths), RasterLines.cpp (lines and
// pens), RasterFills.cpp (fills and shapes), RasterText.cpp, RasterTransfers.cpp (pixels and
// block transfers); RasterDCImpl.h holds what they share.
class RasterDC final : public DeviceContext {
public:
    RasterDC(int32_t width, int32_t height);
    ~RasterDC() override;
    RasterDC(const RasterDC&) = delete;
    RasterDC& operator=(const RasterDC&) = delete;

    // Drops the picture and starts again white at the new size (at least 1 x 1); state is kept,
    // clipping is removed.
    void Resize(int32_t width, int32_t height);
    // The picture; finishes pending painting first.
    const QImage& Image() const;
    // The picture for direct pixel work (blending); pending painting is finished first.
    QImage& ImageForWrite();
    // The same without closing the painter, for pixel work between drawing calls: the painter
    // draws straight into this buffer, as the device's own pixel code relies on.
    QImage& PixelsForWrite();
    // Replaces the picture (converted to RGB32); the size follows the image.
    void SetImage(const QImage& image);
    // A whole picture of this size copied here (BitBlt at the origin, no clip, same resolution)
    // shares its pixels until either side draws. When this picture is about to be replaced in
    // full by such a copy, this stops the sharing without copying (the pixels are then those of
    // an earlier picture), so that the other side draws into its pixels in place.
    void ReleaseSharedPicture();

    int32_t Width() const override { return image_.width(); }
    int32_t Height() const override { return image_.height(); }
    const QImage* SourceImage() const override { return &Image(); }

    void SelectPen(const Pen& pen) override;
    const Pen& GetPen() const override { return s_.pen; }
    void SelectBrush(const Brush& brush) override;
    const Brush& GetBrush() const override { return s_.brush; }
    void SelectFont(const Font& font) override;
    const Font& GetFont() const override { return s_.font; }

    int SetROP2(int mode) override;
    int GetROP2() const override { return s_.rop2; }
    int SetBkMode(int mode) override;
    int GetBkMode() const override { return s_.bkMode; }
    COLORREF SetBkColor(COLORREF color) override;
    COLORREF GetBkColor() const override { return s_.bkColor; }
    COLORREF SetTextColor(COLORREF color) override;
    COLORREF GetTextColor() const override { return s_.textColor; }
    uint32_t SetTextAlign(uint32_t flags) override;
    uint32_t GetTextAlign() const override { return s_.textAlign; }
    int32_t SetTextCharacterExtra(int32_t extra) override;
    int32_t GetTextCharacterExtra() const override { return s_.charExtra; }
    int SetPolyFillMode(int mode) override;
    int GetPolyFillMode() const override { return s_.fillMode; }
    int SetGraphicsMode(int mode) override;
    int GetGraphicsMode() const override { return s_.graphicsMode; }
    int SetArcDirection(int direction) override;
    int GetArcDirection() const override { return s_.arcDirection; }

    int SaveDC() override;
    bool RestoreDC(int level) override;

    void MoveToEx(int32_t x, int32_t y, Point* old = nullptr) override;
    Point GetCurrentPosition() const override { return s_.pos; }
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(const Point* points, int count) override;
    void Polygon(const Point* points, int count) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h) override;
    void Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
             int32_t ye) override;
    void Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
             int32_t ye) override;
    void Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
               int32_t ye) override;
    void FillRect(const Rect& rect, const Brush& brush) override;
    void PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) override;
    COLORREF SetPixel(int32_t x, int32_t y, COLORREF color) override;
    COLORREF GetPixel(int32_t x, int32_t y) const override;

    void TextOut(int32_t x, int32_t y, const QString& text) override;
    Size GetTextExtentPoint(const QString& text) const override;
    TextMetric GetTextMetrics() const override;

    int GetClipRgn(Region& out) const override;
    int SelectClipRgn(const Region* region) override;
    int ExtSelectClipRgn(const Region* region, int mode) override;
    Rect GetClipBox() const override;
    bool PtVisible(int32_t x, int32_t y) const override;

    void BeginPath() override;
    void EndPath() override;
    void AbortPath() override;
    void CloseFigure() override;
    void StrokePath() override;
    void FillPath() override;
    void StrokeAndFillPath() override;
    bool SelectClipPath(int mode) override;

    void BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                uint32_t rop) override;
    void StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop) override;

    // Painter, clipping, path and style state; defined in RasterDCImpl.h.
    struct Impl;

private:
    enum class ArcKind { Open, Pie, Chord };
    void ArcFigure(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                   int32_t ye, ArcKind kind);

    std::unique_ptr<Impl> d_;
    QImage image_;
    DcState s_;
};

} // namespace gdi

#endif
