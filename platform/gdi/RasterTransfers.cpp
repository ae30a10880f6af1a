// Pixels and block transfers of the raster device context.

#include "platform/gdi/RasterDCImpl.h"

namespace gdi {

using namespace raster;

// Outside the picture there is nothing to change, and the colour asked for is the answer, as the
// platform's device contexts give it; a point the clip region hides answers CLR_INVALID.
COLORREF RasterDC::SetPixel(int32_t x, int32_t y, COLORREF color)
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return color & kRgbMask;
    if (!VisibleAt(*d_, image_, x, y))
        return CLR_INVALID;
    Painter(*d_, image_);   // keeps the painter and the pixels in step
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    line[x] = ToQRgb(color);
    return color & kRgbMask;
}

COLORREF RasterDC::GetPixel(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return CLR_INVALID;
    const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
    return FromQRgb(line[x]);
}

namespace {

QPainter::CompositionMode BltMode(uint32_t rop)
{
    switch (rop) {
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    default: return QPainter::CompositionMode_Source;
    }
}

} // namespace

void RasterDC::BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                      uint32_t rop)
{
    if (source.isNull() || w <= 0 || h <= 0)
        return;
    // The whole of a picture like this one (a chart's buffer shown in its window): its pixels are
    // taken shared, and copied only when either side draws next.
    if (rop == SRCCOPY && x == 0 && y == 0 && sx == 0 && sy == 0 && w == image_.width() && h == image_.height() &&
        source.size() == image_.size() && source.format() == QImage::Format_RGB32 && !d_->hasClip &&
        source.devicePixelRatio() == image_.devicePixelRatio() && source.dotsPerMeterX() == image_.dotsPerMeterX() &&
        source.dotsPerMeterY() == image_.dotsPerMeterY() && source.constBits() != image_.constBits()) {
        EndPainter(*d_);
        d_->spare = image_.isDetached() ? std::move(image_) : QImage();
        image_ = source;
        return;
    }
    // A copy when the source is this picture, so the transfer reads the old pixels.
    const QImage src = (source.constBits() == image_.constBits()) ? source.copy()
                       : source.format() == QImage::Format_RGB32 ? source
                                                                  : source.convertToFormat(QImage::Format_RGB32);
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    p.setCompositionMode(BltMode(rop));
    p.drawImage(QRect(x, y, w, h), src, QRect(sx, sy, w, h));
}

void RasterDC::ReleaseSharedPicture()
{
    if (image_.isDetached())
        return;
    EndPainter(*d_);
    if (d_->spare.size() == image_.size() && d_->spare.isDetached()) {
        image_ = std::move(d_->spare);
        d_->spare = QImage();
        return;
    }
    image_ = QImage(image_.size(), QImage::Format_RGB32);
    image_.setDevicePixelRatio(1.0);
    image_.fill(0xFFFFFFFF);
}

void RasterDC::StretchBlt(const Rect& dest, const QImage& source, const Rect& srcRect, uint32_t rop)
{
    if (source.isNull() || dest.right == dest.left || dest.bottom == dest.top)
        return;
    const QImage src = (source.constBits() == image_.constBits()) ? source.copy()
                       : source.format() == QImage::Format_RGB32 ? source
                                                                  : source.convertToFormat(QImage::Format_RGB32);
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setCompositionMode(BltMode(rop));
    p.drawImage(QRectF(dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top), src,
                QRectF(srcRect.left, srcRect.top, srcRect.right - srcRect.left, srcRect.bottom - srcRect.top));
}

} // namespace gdi
