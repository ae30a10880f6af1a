// The raster device context's state: picture, objects, modes, saved levels, clipping and paths.

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
    SelectFont(s_.font);
}

RasterDC::~RasterDC()
{
    if (d_->painter)
        d_->painter->end();
}

void RasterDC::Resize(int32_t width, int32_t height)
{
    if (d_->painter) {
        d_->painter->end();
        d_->painter.reset();
    }
    // A zero-size window would give a null image: keep at least one pixel.
    image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image_.setDevicePixelRatio(1.0);
    image_.fill(0xFFFFFFFF);
    d_->hasClip = false;
    d_->clip = QRegion();
    d_->madeFonts.clear();   // fonts are measured on the picture
}

const QImage& RasterDC::Image() const
{
    if (d_->painter) {
        d_->painter->end();
        d_->painter.reset();
    }
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
    if (d_->painter) {
        d_->painter->end();
        d_->painter.reset();
    }
    if (image.isNull()) {
        Resize(1, 1);
        return;
    }
    image_ = image.convertToFormat(QImage::Format_RGB32);
    image_.setDevicePixelRatio(1.0);
    d_->madeFonts.clear();
}

// ---- objects and attributes

void RasterDC::SelectPen(const Pen& pen)
{
    s_.pen = pen;
    d_->pattern = CosmeticPattern(pen);
    d_->patternTotal = 0;
    for (uint32_t v : d_->pattern)
        d_->patternTotal += v;
}

void RasterDC::SelectBrush(const Brush& brush) { s_.brush = brush; }

void RasterDC::SelectFont(const Font& font)
{
    constexpr size_t kMadeFonts = 8;
    s_.font = font;
    std::vector<Impl::MadeFont>& made = d_->madeFonts;
    auto hit = std::find_if(made.begin(), made.end(), [&](const Impl::MadeFont& m) {
        return m.charExtra == s_.charExtra && m.font == font;
    });
    if (hit == made.end()) {
        if (made.size() == kMadeFonts)
            made.pop_back();
        made.insert(made.begin(), Impl::MadeFont{font, s_.charExtra, MakeQFont(font, s_.charExtra), nullptr, nullptr});
        made.front().metrics = std::make_shared<const QFontMetrics>(made.front().qfont, &image_);
        made.front().texts = std::make_shared<Impl::TextShapes>();
    } else {
        std::rotate(made.begin(), hit, hit + 1);
    }
    d_->qfont = made.front().qfont;
    d_->metrics = made.front().metrics;
    d_->texts = made.front().texts;
}

int RasterDC::SetROP2(int mode)
{
    const int old = s_.rop2;
    if (mode >= R2_BLACK && mode <= R2_WHITE)
        s_.rop2 = mode;
    return old;
}

int RasterDC::SetBkMode(int mode)
{
    const int old = s_.bkMode;
    if (mode == TRANSPARENT || mode == OPAQUE)
        s_.bkMode = mode;
    return old;
}

COLORREF RasterDC::SetBkColor(COLORREF color)
{
    const COLORREF old = s_.bkColor;
    s_.bkColor = color & kRgbMask;
    return old;
}

COLORREF RasterDC::SetTextColor(COLORREF color)
{
    const COLORREF old = s_.textColor;
    s_.textColor = color & kRgbMask;
    return old;
}

uint32_t RasterDC::SetTextAlign(uint32_t flags)
{
    const uint32_t old = s_.textAlign;
    s_.textAlign = flags;
    return old;
}

int32_t RasterDC::SetTextCharacterExtra(int32_t extra)
{
    const int32_t old = s_.charExtra;
    if (extra != s_.charExtra) {
        s_.charExtra = extra;
        SelectFont(s_.font);
    }
    return old;
}

int RasterDC::SetPolyFillMode(int mode)
{
    const int old = s_.fillMode;
    if (mode == ALTERNATE || mode == WINDING)
        s_.fillMode = mode;
    return old;
}

int RasterDC::SetGraphicsMode(int mode)
{
    const int old = s_.graphicsMode;
    if (mode == GM_COMPATIBLE || mode == GM_ADVANCED)
        s_.graphicsMode = mode;
    return old;
}

int RasterDC::SetArcDirection(int direction)
{
    if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE)
        return 0;
    const int old = s_.arcDirection;
    s_.arcDirection = direction;
    return old;
}

// ---- saved levels

int RasterDC::SaveDC()
{
    d_->saved.push_back(Impl::Saved{s_, d_->hasClip, d_->clip});
    return static_cast<int>(d_->saved.size());
}

bool RasterDC::RestoreDC(int level)
{
    const auto index = SavedLevelIndex(d_->saved.size(), level);
    if (!index)
        return false;
    Impl::Saved saved = std::move(d_->saved[*index]);
    d_->saved.resize(*index);
    // Selecting the objects again rebuilds what depends on them (pen pattern, font metrics).
    const Font font = saved.state.font;
    const Pen pen = saved.state.pen;
    s_ = saved.state;
    SelectPen(pen);
    SelectFont(font);
    SetClip(*d_, saved.hasClip ? &saved.clip : nullptr);
    return true;
}

// ---- clipping

int RasterDC::GetClipRgn(Region& out) const
{
    if (!d_->hasClip)
        return 0;
    out = Region(d_->clip);
    return 1;
}

int RasterDC::SelectClipRgn(const Region* region)
{
    if (!region) {
        SetClip(*d_, nullptr);
        return SIMPLEREGION;
    }
    const QRegion r = region->Pixels();
    SetClip(*d_, &r);
    return r.isEmpty() ? NULLREGION : (r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION);
}

int RasterDC::ExtSelectClipRgn(const Region* region, int mode)
{
    if (mode == RGN_COPY)
        return SelectClipRgn(region);
    if (!region)
        return RGN_ERROR;
    const Region base(d_->hasClip ? d_->clip : QRegion(0, 0, image_.width(), image_.height()));
    Region result;
    const int kind = result.Combine(base, *region, mode);
    if (kind == RGN_ERROR)
        return RGN_ERROR;
    const QRegion r = result.Pixels();
    SetClip(*d_, &r);
    return kind;
}

Rect RasterDC::GetClipBox() const
{
    if (!d_->hasClip)
        return Rect{0, 0, image_.width(), image_.height()};
    return Region(d_->clip).Box();
}

bool RasterDC::PtVisible(int32_t x, int32_t y) const { return VisibleAt(*d_, image_, x, y); }

// ---- paths

void RasterDC::BeginPath()
{
    d_->inPath = true;
    d_->pathReady = false;
    d_->path = QPainterPath();
    d_->path.moveTo(s_.pos.x, s_.pos.y);
}

void RasterDC::EndPath()
{
    if (!d_->inPath)
        return;
    d_->inPath = false;
    d_->pathReady = true;
}

void RasterDC::AbortPath()
{
    d_->inPath = false;
    d_->pathReady = false;
    d_->path = QPainterPath();
}

void RasterDC::CloseFigure()
{
    if (d_->inPath)
        d_->path.closeSubpath();
}

void RasterDC::StrokePath()
{
    if (!d_->pathReady)
        return;
    d_->pathReady = false;
    if (!IsNullPen(s_.pen) && s_.rop2 != R2_NOP) {
        QPainter& p = Painter(*d_, image_);
        PainterScope scope(p);
        p.setCompositionMode(CompositionFor(s_.rop2));
        p.setPen(QtPen(s_.pen, s_.rop2));
        p.setBrush(Qt::NoBrush);
        p.translate(StrokeShift(s_.pen), StrokeShift(s_.pen));
        p.drawPath(d_->path);
    }
    d_->path = QPainterPath();
}

void RasterDC::FillPath()
{
    if (!d_->pathReady)
        return;
    d_->pathReady = false;
    d_->path.setFillRule(s_.fillMode == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    FillWithBrush(p, d_->path, s_.brush, s_.rop2, s_.bkMode, s_.bkColor, s_.textColor);
    d_->path = QPainterPath();
}

void RasterDC::StrokeAndFillPath()
{
    if (!d_->pathReady)
        return;
    const QPainterPath path = d_->path;
    FillPath();
    d_->path = path;
    d_->pathReady = true;
    StrokePath();
}

bool RasterDC::SelectClipPath(int mode)
{
    if (!d_->pathReady)
        return false;
    d_->pathReady = false;
    QRegion region;
    for (const QPolygonF& poly : d_->path.toSubpathPolygons())
        region = region.xored(QRegion(poly.toPolygon(), Qt::OddEvenFill));
    d_->path = QPainterPath();
    const Region r(region);
    return ExtSelectClipRgn(&r, mode) != RGN_ERROR;
}

} // namespace gdi
