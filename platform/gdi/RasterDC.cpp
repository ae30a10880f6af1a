// The raster device context's picture, what it does when its state changes, and its paths.

#include "platform/gdi/RasterDCImpl.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace gdi {

namespace raster {

uint32_t MixRop2(int rop, uint32_t p, uint32_t d)
{
    switch (rop) {
    case R2_BLACK: return 0;
    case R2_NOTMERGEPEN: return ~(p | d) & kRgbMask;
    case R2_MASKNOTPEN: return (~p & d) & kRgbMask;
    case R2_NOTCOPYPEN: return ~p & kRgbMask;
    case R2_MASKPENNOT: return (p & ~d) & kRgbMask;
    case R2_NOT: return ~d & kRgbMask;
    case R2_XORPEN: return (p ^ d) & kRgbMask;
    case R2_NOTMASKPEN: return ~(p & d) & kRgbMask;
    case R2_MASKPEN: return p & d;
    case R2_NOTXORPEN: return ~(p ^ d) & kRgbMask;
    case R2_NOP: return d;
    case R2_MERGENOTPEN: return (~p | d) & kRgbMask;
    case R2_MERGEPENNOT: return (p | ~d) & kRgbMask;
    case R2_MERGEPEN: return p | d;
    case R2_WHITE: return kRgbMask;
    case R2_COPYPEN:
    default: return p;
    }
}

QPainter::CompositionMode CompositionFor(int rop)
{
    switch (rop) {
    case R2_NOTMERGEPEN: return QPainter::RasterOp_NotSourceAndNotDestination;
    case R2_MASKNOTPEN: return QPainter::RasterOp_NotSourceAndDestination;
    case R2_NOTCOPYPEN: return QPainter::RasterOp_NotSource;
    case R2_MASKPENNOT: return QPainter::RasterOp_SourceAndNotDestination;
    case R2_NOT: return QPainter::RasterOp_NotDestination;
    case R2_XORPEN: return QPainter::RasterOp_SourceXorDestination;
    case R2_NOTMASKPEN: return QPainter::RasterOp_NotSourceOrNotDestination;
    case R2_MASKPEN: return QPainter::RasterOp_SourceAndDestination;
    case R2_NOTXORPEN: return QPainter::RasterOp_NotSourceXorDestination;
    case R2_MERGENOTPEN: return QPainter::RasterOp_NotSourceOrDestination;
    case R2_MERGEPENNOT: return QPainter::RasterOp_SourceOrNotDestination;
    case R2_MERGEPEN: return QPainter::RasterOp_SourceOrDestination;
    default: return QPainter::CompositionMode_SourceOver;
    }
}

QPainter& Painter(RasterDC::Impl& d, QImage& image)
{
    if (!d.painter) {
        image.bits();   // detach first, so the painter and direct pixel access share one buffer
        d.painter = std::make_unique<QPainter>(&image);
        d.strokeReady = false;
        d.painter->setRenderHint(QPainter::Antialiasing, false);
        d.painter->setRenderHint(QPainter::TextAntialiasing, true);
        if (d.hasClip)
            d.painter->setClipRegion(d.clip);
    }
    return *d.painter;
}

void EndPainter(RasterDC::Impl& d)
{
    if (d.painter) {
        d.painter->end();
        d.painter.reset();
    }
}

void SetClip(RasterDC::Impl& d, const QRegion* region)
{
    if (region) {
        d.clip = *region;
        d.hasClip = true;
        d.clipBounds = region->boundingRect();
        d.clipIsRect = region->rectCount() <= 1;
    } else {
        d.clip = QRegion();
        d.hasClip = false;
    }
    if (d.painter) {
        if (d.hasClip)
            d.painter->setClipRegion(d.clip);
        else
            d.painter->setClipping(false);
    }
}

bool VisibleAt(const RasterDC::Impl& d, const QImage& image, int64_t x, int64_t y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    if (!d.hasClip)
        return true;
    if (!d.clipBounds.contains(static_cast<int>(x), static_cast<int>(y)))
        return false;
    return d.clipIsRect || d.clip.contains(QPoint(static_cast<int>(x), static_cast<int>(y)));
}

// The Qt font of a logical font, the character extra as letter spacing.
QFont MakeQFont(const Font& font, int32_t charExtra)
{
    QFont f(font.faceName.isEmpty() ? QStringLiteral("Arial") : font.faceName);
    int32_t px = 16;
    if (font.height < 0) {
        px = -font.height;
    } else if (font.height > 0) {
        // A positive height is the cell (ascent + descent): scale from a large probe size.
        QFont probe(f);
        probe.setPixelSize(1000);
        const QFontMetricsF m(probe);
        const double cell = m.ascent() + m.descent();
        px = cell > 0 ? std::max(1, static_cast<int>(std::nearbyint(font.height * 1000.0 / cell))) : font.height;
    }
    f.setPixelSize(std::max(1, px));
    f.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight == 0 ? FW_NORMAL : font.weight, 100, 900)));
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setKerning(false);
    if (font.quality == NONANTIALIASED_QUALITY)
        f.setStyleStrategy(QFont::NoAntialias);
    else if (font.quality == ANTIALIASED_QUALITY)
        f.setStyleStrategy(QFont::PreferAntialias);
    f.setLetterSpacing(QFont::AbsoluteSpacing, charExtra);
    return f;
}

} // namespace raster

using namespace raster;

RasterDC::RasterDC(int32_t width, int32_t height) : d_(std::make_unique<Impl>())
{
    Resize(width, height);
    UseFont();
}

RasterDC::~RasterDC()
{
    if (d_->painter)
        d_->painter->end();
}

void RasterDC::Resize(int32_t width, int32_t height)
{
    EndPainter(*d_);
    // A zero-size window would give a null image: keep at least one pixel.
    image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image_.setDevicePixelRatio(1.0);
    image_.fill(0xFFFFFFFF);
    SelectClipRgn(nullptr);
    d_->madeFonts.clear();   // fonts are measured on the picture
}

const QImage& RasterDC::Image() const
{
    EndPainter(*d_);
    return image_;
}

QImage& RasterDC::ImageForWrite()
{
    Image();
    return image_;
}

QImage& RasterDC::PixelsForWrite()
{
    image_.bits();   // unshared, so that these writes and the painter use one buffer
    return image_;
}

void RasterDC::SetImage(const QImage& image)
{
    EndPainter(*d_);
    if (image.isNull()) {
        Resize(1, 1);
        return;
    }
    image_ = image.convertToFormat(QImage::Format_RGB32);
    image_.setDevicePixelRatio(1.0);
    d_->madeFonts.clear();
}

// ---- what follows a state change

void RasterDC::StateChanged(DcField field)
{
    switch (field) {
    case DcField::Pen:
        d_->pattern = CosmeticPattern(State().pen);
        d_->patternTotal = 0;
        for (uint32_t v : d_->pattern)
            d_->patternTotal += v;
        break;
    case DcField::Font:
    case DcField::CharExtra: UseFont(); break;
    case DcField::Position:
        d_->styleCount = 0;
        if (InPath())
            d_->path.moveTo(State().pos.x, State().pos.y);
        break;
    case DcField::Clip: SetClip(*d_, HasClip() ? &ClipRegion().Pixels() : nullptr); break;
    default: break;
    }
}

void RasterDC::UseFont()
{
    constexpr size_t kMadeFonts = 8;
    const Font& font = State().font;
    const int32_t extra = State().charExtra;
    std::vector<Impl::MadeFont>& made = d_->madeFonts;
    auto hit = std::find_if(made.begin(), made.end(),
                            [&](const Impl::MadeFont& m) { return m.charExtra == extra && m.font == font; });
    if (hit == made.end()) {
        if (made.size() == kMadeFonts)
            made.pop_back();
        made.insert(made.begin(), Impl::MadeFont{font, extra, MakeQFont(font, extra), nullptr, nullptr});
        made.front().metrics = std::make_shared<const QFontMetrics>(made.front().qfont, &image_);
        made.front().texts = std::make_shared<Impl::TextShapes>();
    } else {
        std::rotate(made.begin(), hit, hit + 1);
    }
    d_->qfont = made.front().qfont;
    d_->metrics = made.front().metrics;
    d_->texts = made.front().texts;
}

// ---- paths

void RasterDC::PathStep(PathCall call)
{
    switch (call) {
    case PathCall::Begin:
        d_->path = QPainterPath();
        d_->path.moveTo(State().pos.x, State().pos.y);
        break;
    case PathCall::End: break;
    case PathCall::Abort: d_->path = QPainterPath(); break;
    case PathCall::CloseFigure: d_->path.closeSubpath(); break;
    case PathCall::Stroke: StrokeCurrentPath(); break;
    case PathCall::Fill: FillCurrentPath(); break;
    case PathCall::StrokeAndFill: {
        const QPainterPath path = d_->path;
        FillCurrentPath();
        d_->path = path;
        StrokeCurrentPath();
        break;
    }
    }
}

void RasterDC::StrokeCurrentPath()
{
    const DcState& s = State();
    if (!IsNullPen(s.pen) && s.rop2 != R2_NOP) {
        QPainter& p = Painter(*d_, image_);
        PainterScope scope(p);
        p.setCompositionMode(CompositionFor(s.rop2));
        p.setPen(QtPen(s.pen, s.rop2));
        p.setBrush(Qt::NoBrush);
        p.translate(StrokeShift(s.pen), StrokeShift(s.pen));
        p.drawPath(d_->path);
    }
    d_->path = QPainterPath();
}

void RasterDC::FillCurrentPath()
{
    const DcState& s = State();
    d_->path.setFillRule(s.fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    FillWithBrush(p, d_->path, s.brush, s.rop2, s.bkMode, s.bkColor, s.textColor);
    d_->path = QPainterPath();
}

bool RasterDC::ClipToPath(int mode)
{
    QRegion region;
    for (const QPolygonF& poly : d_->path.toSubpathPolygons())
        region = region.xored(QRegion(poly.toPolygon(), Qt::OddEvenFill));
    d_->path = QPainterPath();
    const Region r(region);
    return ExtSelectClipRgn(&r, mode) != RGN_ERROR;
}

} // namespace gdi
