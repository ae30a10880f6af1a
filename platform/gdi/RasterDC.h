#ifndef ZENDRIK_PLATFORM_GDI_RASTERDC_H
#define ZENDRIK_PLATFORM_GDI_RASTERDC_H

#include "platform/gdi/DeviceContextBase.h"

#include <QImage>
#include <memory>

namespace gdi {

// The raster back end: draws into a QImage of Format_RGB32 (device-pixel ratio 1, white when
// created). One-pixel (cosmetic) lines and outlines, wide round pens, polygon and ellipse fills
// are rasterised here pixel by pixel, because their pixel rules, styles and mix modes must be
// exact; other wide pens, paths, text and bit transfers go through QPainter.
//
// The state and its rules are DeviceContextBase's. The code is split by concern: RasterDC.cpp
// (the picture, what follows a state change, paths), RasterLines.cpp (lines and pens),
// RasterFills.cpp (fills and shapes), RasterText.cpp, RasterTransfers.cpp (pixels and block
// transfers); RasterDCImpl.h holds what they share.
class RasterDC final : public DeviceContextBase {
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

    // Lines and pens (RasterLines.cpp).
    void LineTo(int32_t x, int32_t y) override;
    void Polyline(const Point* points, int count) override;

    // Fills and shapes (RasterFills.cpp); arcs, pies and chords are ArcFigure.
    void FillRect(const Rect& rect, const Brush& brush) override;
    void PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop) override;
    void Polygon(const Point* points, int count) override;
    void Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom) override;
    void RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h) override;

    // Text (RasterText.cpp).
    void TextOut(int32_t x, int32_t y, const QString& text) override;
    Size GetTextExtentPoint(const QString& text) const override;
    TextMetric GetTextMetrics() const override;

    // Pixels and block transfers (RasterTransfers.cpp).
    COLORREF SetPixel(int32_t x, int32_t y, COLORREF color) override;
    COLORREF GetPixel(int32_t x, int32_t y) const override;
    void BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                uint32_t rop) override;
    void StretchBlt(const Rect& dest, const QImage& source, const Rect& src, uint32_t rop) override;

    // Painter, clipping, path and style state; defined in RasterDCImpl.h.
    struct Impl;

private:
    void StateChanged(DcField field) override;
    void PathStep(PathCall call) override;
    bool ClipToPath(int mode) override;
    // The Qt font of the selected font and character extra, made or taken from those made lately.
    void UseFont();
    void StrokeCurrentPath();
    void FillCurrentPath();
    void ArcFigure(ArcKind kind, const Rect& bounds, Point startRay, Point endRay) override;

    std::unique_ptr<Impl> d_;
    QImage image_;
};

} // namespace gdi

#endif
