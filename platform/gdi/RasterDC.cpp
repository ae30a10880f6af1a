#include "platform/gdi/RasterDC.h"

#include <QFont>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPolygonF>
#include <QTransform>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace gdi {

namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFF;

// The mix of a pen colour p into a destination d, both 0x00RRGGBB.
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

// 0x00BBGGRR -> 0x00RRGGBB (the image's channel order).
constexpr uint32_t ToImageRgb(COLORREF c) { return ToQRgb(c) & kRgbMask; }

// Dash and gap lengths in pixels of the styled one-pixel pens; an "on" length of 0 draws one
// pixel taken from the gap after it.
std::vector<uint32_t> CosmeticPattern(const Pen& pen)
{
    std::vector<uint32_t> p;
    switch (pen.style & PS_STYLE_MASK) {
    case PS_DASH: p = {18, 6}; break;
    case PS_DOT: p = {3, 3}; break;
    case PS_DASHDOT: p = {9, 6, 3, 6}; break;
    case PS_DASHDOTDOT: p = {9, 3, 3, 3, 3, 3}; break;
    case PS_ALTERNATE: p = {1, 1}; break;
    case PS_USERSTYLE: p = pen.userStyle; break;
    default: return {};
    }
    if (p.size() % 2 == 1)
        p.insert(p.end(), p.begin(), p.end());   // odd lists repeat with on and off swapped
    for (size_t i = 0; i + 1 < p.size(); i += 2) {
        if (p[i] == 0) {
            p[i] = 1;
            if (p[i + 1] > 0)
                --p[i + 1];
        }
    }
    uint32_t total = 0;
    for (uint32_t v : p)
        total += v;
    if (total == 0)
        return {};
    return p;
}

bool IsCosmetic(const Pen& pen)
{
    return pen.width <= 1;
}

} // namespace

struct RasterDC::Impl {
    std::unique_ptr<QPainter> painter;
    QRegion clip;
    bool hasClip = false;
    QRect clipBounds;
    bool clipIsRect = true;
    bool inPath = false;
    bool pathReady = false;
    QPainterPath path;
    // Position in the style pattern of a one-pixel pen: runs on across LineTo, restarts at MoveTo.
    uint32_t styleCount = 0;
    std::vector<uint32_t> pattern;
    uint32_t patternTotal = 0;
    QFont qfont;
    std::unique_ptr<QFontMetrics> metrics;
    // The stroke set-up last given to the painter outside save/restore pairs, so runs of LineTo
    // calls with one wide pen do not set it up again for every segment.
    bool strokeReady = false;
    Pen strokePen;
    int strokeRop = 0;
};

RasterDC::RasterDC(int32_t width, int32_t height) : d_(std::make_unique<Impl>())
{
    Resize(width, height);
    SelectFont(font_);
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
}

// ---- painter helpers (private to this file through Impl access)

namespace {

struct PainterScope {
    QPainter& p;
    explicit PainterScope(QPainter& painter) : p(painter) { p.save(); }
    ~PainterScope() { p.restore(); }
};

} // namespace

static QPainter& Painter(RasterDC::Impl& d, QImage& image)
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

void RasterDC::SelectPen(const Pen& pen)
{
    pen_ = pen;
    d_->pattern = CosmeticPattern(pen_);
    d_->patternTotal = 0;
    for (uint32_t v : d_->pattern)
        d_->patternTotal += v;
}

void RasterDC::SelectBrush(const Brush& brush) { brush_ = brush; }

void RasterDC::SelectFont(const Font& font)
{
    font_ = font;
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
    f.setLetterSpacing(QFont::AbsoluteSpacing, charExtra_);
    d_->qfont = f;
    d_->metrics = std::make_unique<QFontMetrics>(f, &image_);
}

int RasterDC::SetROP2(int mode)
{
    const int old = rop2_;
    if (mode >= R2_BLACK && mode <= R2_WHITE)
        rop2_ = mode;
    return old;
}

int RasterDC::SetBkMode(int mode)
{
    const int old = bkMode_;
    if (mode == TRANSPARENT || mode == OPAQUE)
        bkMode_ = mode;
    return old;
}

COLORREF RasterDC::SetBkColor(COLORREF color)
{
    const COLORREF old = bkColor_;
    bkColor_ = color & kRgbMask;
    return old;
}

COLORREF RasterDC::SetTextColor(COLORREF color)
{
    const COLORREF old = textColor_;
    textColor_ = color & kRgbMask;
    return old;
}

uint32_t RasterDC::SetTextAlign(uint32_t flags)
{
    const uint32_t old = textAlign_;
    textAlign_ = flags;
    return old;
}

int32_t RasterDC::SetTextCharacterExtra(int32_t extra)
{
    const int32_t old = charExtra_;
    if (extra != charExtra_) {
        charExtra_ = extra;
        SelectFont(font_);
    }
    return old;
}

int RasterDC::SetPolyFillMode(int mode)
{
    const int old = fillMode_;
    if (mode == ALTERNATE || mode == WINDING)
        fillMode_ = mode;
    return old;
}

int RasterDC::SetGraphicsMode(int mode)
{
    const int old = graphicsMode_;
    if (mode == GM_COMPATIBLE || mode == GM_ADVANCED)
        graphicsMode_ = mode;
    return old;
}

// ---- pixels

COLORREF RasterDC::SetPixel(int32_t x, int32_t y, COLORREF color)
{
    if (!PtVisible(x, y))
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

bool RasterDC::PtVisible(int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
        return false;
    if (!d_->hasClip)
        return true;
    if (!d_->clipBounds.contains(x, y))
        return false;
    return d_->clipIsRect || d_->clip.contains(QPoint(x, y));
}

// ---- one-pixel lines

namespace {

// Steps a line from (x0, y0) towards (x1, y1) without its last pixel, calling plot(x, y, step) for the
// steps whose major coordinate lies inside 0 .. limit - 1 (the picture's width for lines that run
// mostly across, its height otherwise). Steps before that window are not walked but jumped: the
// error term after them is computed directly, so the pixels are those of the whole walk and a
// line from far outside costs no more than one across the picture. Answers the number of steps
// before the window; total receives the number of steps of the whole line.
template <typename Plot>
int64_t StepLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int64_t width, int64_t height, int64_t& total,
                 Plot&& plot)
{
    const int64_t dx = std::llabs(static_cast<int64_t>(x1) - x0);
    const int64_t dy = std::llabs(static_cast<int64_t>(y1) - y0);
    const int64_t sx = x0 < x1 ? 1 : -1;
    const int64_t sy = y0 < y1 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy;
    const int64_t minor = xMajor ? dy : dx;
    const int64_t m0 = xMajor ? x0 : y0;
    const int64_t sm = xMajor ? sx : sy;
    const int64_t limit = xMajor ? width : height;
    total = major;
    int64_t lo, hi;   // steps lo .. hi - 1 fall inside the window
    if (sm > 0) {
        lo = std::max<int64_t>(0, -m0);
        hi = std::min<int64_t>(major, limit - m0);
    } else {
        lo = std::max<int64_t>(0, m0 - (limit - 1));
        hi = std::min<int64_t>(major, m0 + 1);
    }
    if (lo >= hi)
        return std::min(lo, major);
    // After i steps the error is half - i * minor + k * major with k the minor steps taken so far,
    // the one k that keeps it within 0 .. major - 1.
    const int64_t half = major / 2;
    const int64_t deficit = lo * minor - half;
    const int64_t k = deficit > 0 ? (deficit + major - 1) / major : 0;
    int64_t err = half - lo * minor + k * major;
    int64_t x = x0 + (xMajor ? sx * lo : sx * k);
    int64_t y = y0 + (xMajor ? sy * k : sy * lo);
    for (int64_t i = lo; i < hi; ++i) {
        plot(x, y, i);
        if (xMajor)
            x += sx;
        else
            y += sy;
        err -= minor;
        if (err < 0) {
            if (xMajor)
                y += sy;
            else
                x += sx;
            err += major;
        }
    }
    return lo;
}

} // namespace

// A solid one-pixel copy line whose visible pixels all lie in one box (the picture, or the
// picture cut to a rectangular clip): one test against the box a pixel, no region lookup.
struct PixelBox {
    uchar* bits;
    qsizetype bpl;
    int width, height;
    QRect box;   // the picture, or the picture cut to the clip
};

static PixelBox SolidLineBox(RasterDC::Impl& d, QImage& image)
{
    return PixelBox{image.bits(), image.bytesPerLine(), image.width(), image.height(),
                    d.hasClip ? d.clipBounds.intersected(image.rect()) : image.rect()};
}

static void SolidLineInBox(const PixelBox& p, uint32_t rgb, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const QRect& box = p.box;
    if (box.isEmpty())
        return;
    uchar* bits = p.bits;
    const qsizetype bpl = p.bpl;
    const int64_t left = box.left(), top = box.top(), right = box.right(), bottom = box.bottom();
    if (x0 == x1) {
        // Straight down or up, the last pixel left out: a run of one column.
        if (x0 < left || x0 > right || y0 == y1)
            return;
        const int64_t first = y0 < y1 ? y0 : static_cast<int64_t>(y1) + 1;
        const int64_t last = y0 < y1 ? static_cast<int64_t>(y1) - 1 : y0;
        uchar* at = bits + x0 * static_cast<qsizetype>(sizeof(QRgb));
        for (int64_t y = std::max(first, top), end = std::min(last, bottom); y <= end; ++y)
            *reinterpret_cast<QRgb*>(at + y * bpl) = 0xFF000000u | rgb;
        return;
    }
    int64_t total = 0;
    StepLine(x0, y0, x1, y1, p.width, p.height, total, [&](int64_t x, int64_t y, int64_t) {
        if (x >= left && y >= top && x <= right && y <= bottom)
            reinterpret_cast<QRgb*>(bits + y * bpl)[x] = 0xFF000000u | rgb;
    });
}

// Draws a one-pixel line without its last pixel, honouring style, background mode, mix mode and
// clipping. Lines far outside the image are cut to it first so huge coordinates cost nothing.
static void CosmeticLine(RasterDC::Impl& d, QImage& image, const Pen& pen, int rop, int bkMode, COLORREF bkColor,
                         int32_t x0, int32_t y0, int32_t x1, int32_t y1, bool (*visible)(const RasterDC::Impl&, const QImage&, int64_t, int64_t))
{
    if (rop == R2_NOP || (pen.style & PS_STYLE_MASK) == PS_NULL)
        return;
    const uint32_t penRgb = ToImageRgb(pen.color);
    const uint32_t bkRgb = ToImageRgb(bkColor);
    const int w = image.width();
    const int h = image.height();
    const bool styled = !d.pattern.empty();
    const uint32_t styleStart = d.styleCount;
    int64_t total = 0;
    // Entirely off the image on one side: only the style position moves.
    const bool off = (std::max(x0, x1) < 0) || (std::max(y0, y1) < 0) || (std::min(x0, x1) >= w) ||
                     (std::min(y0, y1) >= h);
    auto finishStyle = [&] {
        d.styleCount = styled ? static_cast<uint32_t>((styleStart + total) % d.patternTotal) : 0;
    };
    if (off) {
        total = std::max(std::llabs(static_cast<int64_t>(x1) - x0), std::llabs(static_cast<int64_t>(y1) - y0));
        finishStyle();
        return;
    }
    if ((!d.hasClip || d.clipIsRect) && !styled && rop == R2_COPYPEN) {
        SolidLineInBox(SolidLineBox(d, image), penRgb, x0, y0, x1, y1);
        d.styleCount = 0;
        return;
    }
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    // The style position of each plotted step follows from its index along the whole line.
    StepLine(x0, y0, x1, y1, w, h, total, [&](int64_t x, int64_t y, int64_t step) {
        bool on = true;
        if (styled) {
            uint32_t pos = static_cast<uint32_t>((styleStart + step) % d.patternTotal);
            size_t k = 0;
            while (pos >= d.pattern[k]) {
                pos -= d.pattern[k];
                k = (k + 1) % d.pattern.size();
            }
            on = (k % 2) == 0;
        }
        if (!on && bkMode != OPAQUE)
            return;
        if (!visible(d, image, x, y))
            return;
        QRgb& px = reinterpret_cast<QRgb*>(bits + y * bpl)[x];
        const uint32_t src = on ? penRgb : bkRgb;
        px = 0xFF000000u | MixRop2(rop, src, px & kRgbMask);
    });
    finishStyle();
}

static bool VisibleAt(const RasterDC::Impl& d, const QImage& image, int64_t x, int64_t y)
{
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height())
        return false;
    if (!d.hasClip)
        return true;
    if (!d.clipBounds.contains(static_cast<int>(x), static_cast<int>(y)))
        return false;
    return d.clipIsRect || d.clip.contains(QPoint(static_cast<int>(x), static_cast<int>(y)));
}

// Wide solid pens with round caps and joins (the chart's usual wide pen) are drawn here as
// capsules: every pixel whose centre lies within half the width of the segment, once per segment.
// The union of capsules along a polyline is the round-joined stroke, so no stroker is needed; Qt's
// stroker costs about two microseconds a segment, which long traces cannot afford.
static bool CapsulePen(const Pen& pen)
{
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    return pen.width >= 2 && (kind == PS_SOLID || kind == PS_INSIDEFRAME) && (pen.style & PS_ENDCAP_MASK) == PS_ENDCAP_ROUND &&
           (pen.style & PS_JOIN_MASK) == PS_JOIN_ROUND;
}

// The same sampling offset as the shifted QPainter strokes, so both paths agree on edges.
constexpr double kCapsuleOffset = 1.0 / 32.0;

// Whether the pixel centre (cx, cy), relative to the segment's start, lies within the pen's
// half width of the segment (dx, dy).
static inline bool InCapsule(double cx, double cy, double dx, double dy, double len2, double r2)
{
    double t = len2 > 0 ? (cx * dx + cy * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = cx - t * dx;
    const double ey = cy - t * dy;
    return ex * ex + ey * ey <= r2;
}

// A row meets the capsule (a convex shape) in one span: from and to close in from the candidate
// range to its first and last pixels inside, tested exactly as pixel by pixel would, so wide
// rows are filled without testing their middle. An empty row leaves from > to.
static void CapsuleRowSpan(double cy, int32_t x0, double dx, double dy, double len2, double r2, int& from, int& to)
{
    while (from <= to && !InCapsule(from + kCapsuleOffset - x0, cy, dx, dy, len2, r2))
        ++from;
    while (to >= from && !InCapsule(to + kCapsuleOffset - x0, cy, dx, dy, len2, r2))
        --to;
}

static void CapsuleLine(RasterDC::Impl& d, QImage& image, const Pen& pen, int rop, int32_t x0, int32_t y0, int32_t x1,
                        int32_t y1)
{
    if (rop == R2_NOP)
        return;
    constexpr double kOffset = kCapsuleOffset;
    const double r = pen.width / 2.0;
    const double r2 = r * r;
    QRect area(QPoint(static_cast<int>(std::floor(std::min(x0, x1) - r - 1)),
                      static_cast<int>(std::floor(std::min(y0, y1) - r - 1))),
               QPoint(static_cast<int>(std::ceil(std::max(x0, x1) + r + 1)),
                      static_cast<int>(std::ceil(std::max(y0, y1) + r + 1))));
    area = area.intersected(image.rect());
    if (d.hasClip)
        area = area.intersected(d.clipBounds);
    if (area.isEmpty())
        return;
    const uint32_t penRgb = ToImageRgb(pen.color);
    const double dx = static_cast<double>(x1) - x0;
    const double dy = static_cast<double>(y1) - y0;
    const double len2 = dx * dx + dy * dy;
    uchar* bits = image.bits();
    const qsizetype bpl = image.bytesPerLine();
    const bool checkClip = d.hasClip && !d.clipIsRect;
    for (int py = area.top(); py <= area.bottom(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(bits + py * bpl);
        const double cy = py + kOffset - y0;
        int from = area.left();
        int to = area.right();
        // Only the part of the segment within r of this row can reach it: its x range, widened
        // by r, bounds the pixels worth testing.
        {
            double tLo = 0, tHi = 1;
            if (dy == 0) {
                if (std::fabs(cy) > r)
                    continue;
            } else {
                tLo = std::max(std::min((cy - r) / dy, (cy + r) / dy), 0.0);
                tHi = std::min(std::max((cy - r) / dy, (cy + r) / dy), 1.0);
                if (tLo > tHi)
                    continue;
            }
            const double uLo = std::min(tLo * dx, tHi * dx) - r;
            const double uHi = std::max(tLo * dx, tHi * dx) + r;
            from = std::max(from, static_cast<int>(std::floor(uLo - kOffset + x0)));
            to = std::min(to, static_cast<int>(std::ceil(uHi - kOffset + x0)));
        }
        if (!checkClip) {
            CapsuleRowSpan(cy, x0, dx, dy, len2, r2, from, to);
            for (int px = from; px <= to; ++px)
                line[px] = 0xFF000000u | MixRop2(rop, penRgb, line[px] & kRgbMask);
            continue;
        }
        for (int px = from; px <= to; ++px) {
            if (!InCapsule(px + kCapsuleOffset - x0, cy, dx, dy, len2, r2))
                continue;
            if (!d.clip.contains(QPoint(px, py)))
                continue;
            line[px] = 0xFF000000u | MixRop2(rop, penRgb, line[px] & kRgbMask);
        }
    }
}

// ---- QPainter set-up

static Qt::PenCapStyle CapOf(uint32_t style)
{
    switch (style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: return Qt::SquareCap;
    case PS_ENDCAP_FLAT: return Qt::FlatCap;
    default: return Qt::RoundCap;
    }
}

static Qt::PenJoinStyle JoinOf(uint32_t style)
{
    switch (style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: return Qt::BevelJoin;
    case PS_JOIN_MITER: return Qt::MiterJoin;
    default: return Qt::RoundJoin;
    }
}

// A QPen of the device pen; wide pens dash in multiples of their width.
static QPen QtPen(const Pen& pen, int rop)
{
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    if (kind == PS_NULL || rop == R2_NOP)
        return QPen(Qt::NoPen);
    QColor color = QColor::fromRgb(ToQRgb(pen.color));
    if (rop == R2_BLACK)
        color = Qt::black;
    else if (rop == R2_WHITE)
        color = Qt::white;
    const int width = std::max(1, pen.width);
    QPen q(color, width);
    q.setCapStyle(width > 1 ? CapOf(pen.style) : Qt::FlatCap);
    q.setJoinStyle(width > 1 ? JoinOf(pen.style) : Qt::MiterJoin);
    switch (kind) {
    case PS_DASH: q.setStyle(Qt::DashLine); break;
    case PS_DOT: q.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: q.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: q.setStyle(Qt::DashDotDotLine); break;
    case PS_ALTERNATE: q.setDashPattern({1.0, 1.0}); break;
    case PS_USERSTYLE: {
        QList<qreal> dashes;
        for (uint32_t v : pen.userStyle)
            dashes << std::max<qreal>(v, 0.01) / width;
        if (dashes.size() % 2 == 1)
            dashes << dashes;
        if (!dashes.isEmpty())
            q.setDashPattern(dashes);
        break;
    }
    default: break;
    }
    return q;
}

// Qt draws one-pixel aliased strokes to the right of and below the geometry, wide ones centred on
// it; the (almost) half-pixel shift centres wide pens on the pixels the coordinates name. Slightly
// less than a half keeps pixel centres off the edges, where ties would be broken unevenly.
constexpr double kCentreShift = 0.5 - 1.0 / 32.0;
static double StrokeShift(const Pen& pen) { return pen.width > 1 ? kCentreShift : 0.0; }

static QBrush QtBrush(const Brush& brush, COLORREF textColor, COLORREF bkColor)
{
    const QColor color = QColor::fromRgb(ToQRgb(brush.color));
    switch (brush.style) {
    case BS_NULL: return QBrush(Qt::NoBrush);
    case BS_HATCHED: {
        Qt::BrushStyle s = Qt::HorPattern;
        switch (brush.hatch) {
        case HS_VERTICAL: s = Qt::VerPattern; break;
        case HS_FDIAGONAL: s = Qt::FDiagPattern; break;
        case HS_BDIAGONAL: s = Qt::BDiagPattern; break;
        case HS_CROSS: s = Qt::CrossPattern; break;
        case HS_DIAGCROSS: s = Qt::DiagCrossPattern; break;
        default: break;
        }
        return QBrush(color, s);
    }
    case BS_PATTERN: {
        if (brush.pattern.isNull())
            return QBrush(Qt::NoBrush);
        if (brush.pattern.format() == QImage::Format_Mono || brush.pattern.format() == QImage::Format_MonoLSB) {
            // Monochrome patterns: clear bits in the text colour, set bits in the background colour.
            QImage mono = brush.pattern.convertToFormat(QImage::Format_Mono);
            mono.setColorCount(2);
            mono.setColor(0, ToQRgb(textColor));
            mono.setColor(1, ToQRgb(bkColor));
            return QBrush(mono.convertToFormat(QImage::Format_RGB32));
        }
        return QBrush(brush.pattern.convertToFormat(QImage::Format_RGB32));
    }
    default: return QBrush(color);
    }
}

// Fills a path (device coordinates, no shift) with the brush, hatches over the background colour
// when the background is opaque.
static void FillWithBrush(QPainter& p, const QPainterPath& path, const Brush& brush, int rop, int bkMode,
                          COLORREF bkColor, COLORREF textColor)
{
    if (brush.style == BS_NULL || rop == R2_NOP)
        return;
    p.setCompositionMode(CompositionFor(rop));
    p.setPen(Qt::NoPen);
    if (brush.style == BS_HATCHED && bkMode == OPAQUE)
        p.fillPath(path, QColor::fromRgb(ToQRgb(bkColor)));
    QBrush b = QtBrush(brush, textColor, bkColor);
    if (rop == R2_BLACK)
        b = QBrush(Qt::black, b.style() == Qt::TexturePattern ? Qt::SolidPattern : b.style());
    else if (rop == R2_WHITE)
        b = QBrush(Qt::white, b.style() == Qt::TexturePattern ? Qt::SolidPattern : b.style());
    p.fillPath(path, b);
}

// ---- lines

void RasterDC::MoveToEx(int32_t x, int32_t y, Point* old)
{
    if (old)
        *old = pos_;
    pos_ = Point{x, y};
    d_->styleCount = 0;
    if (d_->inPath)
        d_->path.moveTo(x, y);
}

void RasterDC::LineTo(int32_t x, int32_t y)
{
    const Point from = pos_;
    pos_ = Point{x, y};
    if (d_->inPath) {
        if (d_->path.elementCount() == 0)
            d_->path.moveTo(from.x, from.y);
        d_->path.lineTo(x, y);
        return;
    }
    if (IsCosmetic(pen_)) {
        Painter(*d_, image_);
        CosmeticLine(*d_, image_, pen_, rop2_, bkMode_, bkColor_, from.x, from.y, x, y, &VisibleAt);
        return;
    }
    if (CapsulePen(pen_)) {
        Painter(*d_, image_);
        CapsuleLine(*d_, image_, pen_, rop2_, from.x, from.y, x, y);
        return;
    }
    QPainter& p = Painter(*d_, image_);
    const QPen q = QtPen(pen_, rop2_);
    const double shift = StrokeShift(pen_);
    if (from == pos_) {
        // A line of no length is a dot in the pen's width, round or square after its cap.
        if (q.style() == Qt::NoPen || q.capStyle() == Qt::FlatCap)
            return;
        PainterScope scope(p);
        p.setCompositionMode(CompositionFor(rop2_));
        const double half = pen_.width / 2.0;
        QPainterPath dot;
        if (q.capStyle() == Qt::RoundCap)
            dot.addEllipse(QPointF(x + shift, y + shift), half, half);
        else
            dot.addRect(QRectF(x + shift - half, y + shift - half, pen_.width, pen_.width));
        p.fillPath(dot, q.color());
        return;
    }
    if (!d_->strokeReady || !(d_->strokePen == pen_) || d_->strokeRop != rop2_) {
        p.setCompositionMode(CompositionFor(rop2_));
        p.setPen(q);
        p.setBrush(Qt::NoBrush);
        d_->strokePen = pen_;
        d_->strokeRop = rop2_;
        d_->strokeReady = true;
    }
    p.drawLine(QPointF(from.x + shift, from.y + shift), QPointF(x + shift, y + shift));
}

namespace {

// Mix modes for which drawing a pixel twice gives what drawing it once gives.
bool IdempotentRop(int rop)
{
    return rop == R2_COPYPEN || rop == R2_NOTCOPYPEN || rop == R2_BLACK || rop == R2_WHITE || rop == R2_MASKPEN ||
           rop == R2_MERGEPEN || rop == R2_NOP;
}

// The cap of a polyline end at e, the line arriving from b.
void AddCap(QPainterPath& path, QPointF b, QPointF e, double width, Qt::PenCapStyle cap)
{
    const double half = width / 2.0;
    if (cap == Qt::RoundCap) {
        path.addEllipse(e, half, half);
        return;
    }
    const double len = std::hypot(e.x() - b.x(), e.y() - b.y());
    if (cap != Qt::SquareCap || len == 0)
        return;
    const QPointF d((e.x() - b.x()) / len * half, (e.y() - b.y()) / len * half);
    const QPointF n(-d.y(), d.x());
    QPolygonF quad;
    quad << e + n << e + n + d << e - n + d << e - n << e + n;
    path.addPolygon(quad);
}

} // namespace

// Wide polylines: Qt's stroker slows down sharply on very long polylines, so long ones go in
// overlapping pieces with flat ends (the joins inside stay exact), and the two real ends get
// their caps drawn on their own. Mix modes that are not idempotent draw in one piece.
static void WidePolyline(QPainter& p, const Pen& pen, int rop, const Point* points, int count)
{
    constexpr int kPiece = 64;
    const double shift = StrokeShift(pen);
    QPen q = QtPen(pen, rop);
    if (q.style() == Qt::NoPen)
        return;
    PainterScope scope(p);
    p.setCompositionMode(CompositionFor(rop));
    p.setBrush(Qt::NoBrush);
    auto at = [&](int i) { return QPointF(points[i].x + shift, points[i].y + shift); };
    if (count <= kPiece || !IdempotentRop(rop)) {
        QPolygonF poly;
        poly.reserve(count);
        for (int i = 0; i < count; ++i)
            poly << at(i);
        p.setPen(q);
        p.drawPolyline(poly);
        return;
    }
    const Qt::PenCapStyle cap = q.capStyle();
    q.setCapStyle(Qt::FlatCap);
    const bool dashed = q.style() != Qt::SolidLine;
    double travelled = 0;   // in pixels, for the dash phase of each piece
    QPolygonF poly;
    poly.reserve(kPiece + 1);
    for (int start = 0; start < count - 1; start += kPiece - 1) {
        const int end = std::min(count - 1, start + kPiece);
        poly.clear();
        for (int i = start; i <= end; ++i)
            poly << at(i);
        if (dashed)
            q.setDashOffset(travelled / std::max(1, pen.width));
        p.setPen(q);
        p.drawPolyline(poly);
        for (int i = start; i < start + kPiece - 1 && i < end; ++i)
            travelled += std::hypot(double(points[i + 1].x) - points[i].x, double(points[i + 1].y) - points[i].y);
    }
    if (cap != Qt::FlatCap) {
        QPainterPath caps;
        int first = 1;
        while (first < count - 1 && points[first].x == points[0].x && points[first].y == points[0].y)
            ++first;
        int last = count - 2;
        while (last > 0 && points[last].x == points[count - 1].x && points[last].y == points[count - 1].y)
            --last;
        AddCap(caps, at(first), at(0), pen.width, cap);
        AddCap(caps, at(last), at(count - 1), pen.width, cap);
        caps.setFillRule(Qt::WindingFill);
        p.fillPath(caps, q.color());
    }
}

void RasterDC::Polyline(const Point* points, int count)
{
    if (!points || count < 2)
        return;
    if (d_->inPath) {
        d_->path.moveTo(points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            d_->path.lineTo(points[i].x, points[i].y);
        return;
    }
    if (IsCosmetic(pen_) && d_->pattern.empty() && rop2_ == R2_COPYPEN && (!d_->hasClip || d_->clipIsRect) &&
        (pen_.style & PS_STYLE_MASK) != PS_NULL) {
        // A long solid polyline: the picture and its box are looked up once for all segments.
        Painter(*d_, image_);
        const PixelBox box = SolidLineBox(*d_, image_);
        const uint32_t rgb = ToImageRgb(pen_.color);
        for (int i = 1; i < count; ++i)
            SolidLineInBox(box, rgb, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        d_->styleCount = 0;
        return;
    }
    if (IsCosmetic(pen_)) {
        Painter(*d_, image_);
        d_->styleCount = 0;
        for (int i = 1; i < count; ++i)
            CosmeticLine(*d_, image_, pen_, rop2_, bkMode_, bkColor_, points[i - 1].x, points[i - 1].y, points[i].x,
                         points[i].y, &VisibleAt);
        return;
    }
    if (CapsulePen(pen_) && IdempotentRop(rop2_)) {
        Painter(*d_, image_);
        for (int i = 1; i < count; ++i)
            CapsuleLine(*d_, image_, pen_, rop2_, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        return;
    }
    WidePolyline(Painter(*d_, image_), pen_, rop2_, points, count);
}

// Strokes a closed or open outline with the current pen: pixel stepping for one-pixel pens.
static void StrokeOutline(RasterDC::Impl& d, QImage& image, const Pen& pen, int rop, int bkMode, COLORREF bkColor,
                          const std::vector<Point>& pts, bool closed)
{
    if (pts.size() < 2 || (pen.style & PS_STYLE_MASK) == PS_NULL)
        return;
    if (IsCosmetic(pen)) {
        d.styleCount = 0;
        for (size_t i = 1; i < pts.size(); ++i)
            CosmeticLine(d, image, pen, rop, bkMode, bkColor, pts[i - 1].x, pts[i - 1].y, pts[i].x, pts[i].y, &VisibleAt);
        if (closed)
            CosmeticLine(d, image, pen, rop, bkMode, bkColor, pts.back().x, pts.back().y, pts.front().x,
                         pts.front().y, &VisibleAt);
        return;
    }
    QPolygonF poly;
    for (const Point& pt : pts)
        poly << QPointF(pt.x, pt.y);
    QPainter& p = Painter(d, image);
    PainterScope scope(p);
    p.setCompositionMode(CompositionFor(rop));
    p.setPen(QtPen(pen, rop));
    p.setBrush(Qt::NoBrush);
    p.translate(StrokeShift(pen), StrokeShift(pen));
    if (closed)
        p.drawPolygon(poly);
    else
        p.drawPolyline(poly);
}

void RasterDC::Polygon(const Point* points, int count)
{
    if (!points || count < 2)
        return;
    QPolygonF poly;
    poly.reserve(count);
    for (int i = 0; i < count; ++i)
        poly << QPointF(points[i].x, points[i].y);
    if (d_->inPath) {
        d_->path.addPolygon(poly);
        d_->path.closeSubpath();
        return;
    }
    QPainterPath area;
    area.addPolygon(poly);
    area.closeSubpath();
    area.setFillRule(fillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    QPainter& p = Painter(*d_, image_);
    {
        PainterScope scope(p);
        FillWithBrush(p, area, brush_, rop2_, bkMode_, bkColor_, textColor_);
    }
    StrokeOutline(*d_, image_, pen_, rop2_, bkMode_, bkColor_, std::vector<Point>(points, points + count), true);
}

// ---- shapes

namespace {

struct Box {
    int32_t l, t, r, b;
};

Box Ordered(int32_t l, int32_t t, int32_t r, int32_t b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    return Box{l, t, r, b};
}

// The box a shape's pen runs along: right and bottom exclusive, pulled in for inside-frame pens.
QRectF PenBox(const Box& box, const Pen& pen)
{
    double l = box.l, t = box.t, r = box.r - 1, b = box.b - 1;
    if ((pen.style & PS_STYLE_MASK) == PS_INSIDEFRAME && pen.width > 1) {
        const int half = pen.width / 2;
        l += half;
        t += half;
        r -= half;
        b -= half;
        if (r < l)
            r = l;
        if (b < t)
            b = t;
    }
    return QRectF(QPointF(l, t), QPointF(r, b));
}

} // namespace

// Fills and outlines a closed shape given by its outline path in pen coordinates.
static void DrawShape(RasterDC::Impl& d, QImage& image, const Pen& pen, const Brush& brush, int rop, int bkMode,
                      COLORREF bkColor, COLORREF textColor, const QPainterPath& outline, bool nullPenSmaller)
{
    QPainter& p = Painter(d, image);
    PainterScope scope(p);
    const bool noPen = (pen.style & PS_STYLE_MASK) == PS_NULL;
    // Fill: the outline shifted to pixel centres; without a pen the shape keeps its one-pixel
    // smaller extent on the right and bottom, as the device always drew it.
    {
        PainterScope fillScope(p);
        p.translate(nullPenSmaller && noPen ? 0.0 : kCentreShift, nullPenSmaller && noPen ? 0.0 : kCentreShift);
        FillWithBrush(p, outline, brush, rop, bkMode, bkColor, textColor);
    }
    if (noPen)
        return;
    p.setCompositionMode(CompositionFor(rop));
    p.setPen(QtPen(pen, rop));
    p.setBrush(Qt::NoBrush);
    p.translate(StrokeShift(pen), StrokeShift(pen));
    p.drawPath(outline);
}

void RasterDC::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const Box box = Ordered(left, top, right, bottom);
    if (d_->inPath) {
        d_->path.addRect(QRectF(box.l, box.t, box.r - box.l, box.b - box.t));
        return;
    }
    if (box.r <= box.l || box.b <= box.t)
        return;
    const bool noPen = (pen_.style & PS_STYLE_MASK) == PS_NULL || rop2_ == R2_NOP;
    if (noPen) {
        // Without a pen the interior stops one pixel short of right and bottom.
        if (box.r - box.l > 1 && box.b - box.t > 1) {
            QPainterPath area;
            area.addRect(QRectF(box.l, box.t, box.r - box.l - 1, box.b - box.t - 1));
            QPainter& p = Painter(*d_, image_);
            PainterScope scope(p);
            FillWithBrush(p, area, brush_, rop2_, bkMode_, bkColor_, textColor_);
        }
        return;
    }
    if (IsCosmetic(pen_)) {
        if (box.r - box.l > 2 && box.b - box.t > 2) {
            QPainterPath area;
            area.addRect(QRectF(box.l + 1, box.t + 1, box.r - box.l - 2, box.b - box.t - 2));
            QPainter& p = Painter(*d_, image_);
            PainterScope scope(p);
            FillWithBrush(p, area, brush_, rop2_, bkMode_, bkColor_, textColor_);
        }
        const int32_t r = box.r - 1, b = box.b - 1;
        if (r == box.l || b == box.t) {
            // One pixel wide or high: a single line covers it, drawn once for mix modes.
            CosmeticLine(*d_, image_, pen_, rop2_, bkMode_, bkColor_, box.l, box.t, r + (r == box.l ? 0 : 1),
                         b + (r == box.l ? 1 : 0), &VisibleAt);
            return;
        }
        StrokeOutline(*d_, image_, pen_, rop2_, bkMode_, bkColor_, {{box.l, box.t}, {r, box.t}, {r, b}, {box.l, b}},
                      true);
        return;
    }
    QPainterPath outline;
    outline.addRect(PenBox(box, pen_));
    DrawShape(*d_, image_, pen_, brush_, rop2_, bkMode_, bkColor_, textColor_, outline, false);
}

void RasterDC::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const Box box = Ordered(left, top, right, bottom);
    if (d_->inPath) {
        d_->path.addEllipse(QRectF(box.l, box.t, box.r - box.l, box.b - box.t));
        return;
    }
    if (box.r <= box.l || box.b <= box.t)
        return;
    QPainterPath outline;
    outline.addEllipse(PenBox(box, pen_));
    DrawShape(*d_, image_, pen_, brush_, rop2_, bkMode_, bkColor_, textColor_, outline, true);
}

void RasterDC::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    const Box box = Ordered(left, top, right, bottom);
    const double rx = std::abs(w) / 2.0;
    const double ry = std::abs(h) / 2.0;
    if (d_->inPath) {
        d_->path.addRoundedRect(QRectF(box.l, box.t, box.r - box.l, box.b - box.t), rx, ry);
        return;
    }
    if (box.r <= box.l || box.b <= box.t)
        return;
    QPainterPath outline;
    outline.addRoundedRect(PenBox(box, pen_), rx, ry);
    DrawShape(*d_, image_, pen_, brush_, rop2_, bkMode_, bkColor_, textColor_, outline, true);
}

namespace {

// Angle in degrees (counter-clockwise, screen y down) of the point on the ellipse that the ray
// from the centre through (x, y) meets, in the ellipse's own parameter.
double ParamAngle(const QRectF& r, int32_t x, int32_t y)
{
    const double cx = r.center().x();
    const double cy = r.center().y();
    const double rx = std::max(r.width() / 2.0, 1e-9);
    const double ry = std::max(r.height() / 2.0, 1e-9);
    const double a = std::atan2(-(y - cy) / ry, (x - cx) / rx) * 180.0 / std::numbers::pi;
    return a < 0 ? a + 360.0 : a;
}

enum class ArcKind { Open, Pie, Chord };

QPainterPath ArcPath(const QRectF& r, int32_t xs, int32_t ys, int32_t xe, int32_t ye, ArcKind kind)
{
    const double a0 = ParamAngle(r, xs, ys);
    const double a1 = ParamAngle(r, xe, ye);
    double span = a1 - a0;
    while (span <= 0)
        span += 360.0;   // equal rays give the whole ellipse
    QPainterPath path;
    if (kind == ArcKind::Pie) {
        path.moveTo(r.center());
        path.arcTo(r, a0, span);
        path.closeSubpath();
    } else {
        path.arcMoveTo(r, a0);
        path.arcTo(r, a0, span);
        if (kind == ArcKind::Chord)
            path.closeSubpath();
    }
    return path;
}

} // namespace

void RasterDC::Arc(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                   int32_t ye)
{
    const Box box = Ordered(left, top, right, bottom);
    if (box.r <= box.l || box.b <= box.t)
        return;
    const QPainterPath path = ArcPath(PenBox(box, pen_), xs, ys, xe, ye, ArcKind::Open);
    if (d_->inPath) {
        d_->path.addPath(path);
        return;
    }
    if ((pen_.style & PS_STYLE_MASK) == PS_NULL || rop2_ == R2_NOP)
        return;
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    p.setCompositionMode(CompositionFor(rop2_));
    p.setPen(QtPen(pen_, rop2_));
    p.setBrush(Qt::NoBrush);
    p.translate(StrokeShift(pen_), StrokeShift(pen_));
    p.drawPath(path);
}

void RasterDC::Pie(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                   int32_t ye)
{
    const Box box = Ordered(left, top, right, bottom);
    if (box.r <= box.l || box.b <= box.t)
        return;
    const QPainterPath path = ArcPath(PenBox(box, pen_), xs, ys, xe, ye, ArcKind::Pie);
    if (d_->inPath) {
        d_->path.addPath(path);
        return;
    }
    DrawShape(*d_, image_, pen_, brush_, rop2_, bkMode_, bkColor_, textColor_, path, true);
}

void RasterDC::Chord(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t xs, int32_t ys, int32_t xe,
                     int32_t ye)
{
    const Box box = Ordered(left, top, right, bottom);
    if (box.r <= box.l || box.b <= box.t)
        return;
    const QPainterPath path = ArcPath(PenBox(box, pen_), xs, ys, xe, ye, ArcKind::Chord);
    if (d_->inPath) {
        d_->path.addPath(path);
        return;
    }
    DrawShape(*d_, image_, pen_, brush_, rop2_, bkMode_, bkColor_, textColor_, path, true);
}

void RasterDC::FillRect(const Rect& rect, const Brush& brush)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top || brush.style == BS_NULL)
        return;
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    QPainterPath area;
    area.addRect(QRectF(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top));
    FillWithBrush(p, area, brush, R2_COPYPEN, bkMode_, bkColor_, textColor_);
}

void RasterDC::PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop)
{
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    if (w == 0 || h == 0)
        return;
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    const QRect area(x, y, w, h);
    switch (rop) {
    case PATCOPY: {
        QPainterPath path;
        path.addRect(area);
        FillWithBrush(p, path, brush_, R2_COPYPEN, bkMode_, bkColor_, textColor_);
        break;
    }
    case PATINVERT: {
        QPainterPath path;
        path.addRect(area);
        FillWithBrush(p, path, brush_, R2_XORPEN, bkMode_, bkColor_, textColor_);
        break;
    }
    case DSTINVERT:
        p.setCompositionMode(QPainter::RasterOp_NotDestination);
        p.fillRect(area, Qt::black);
        break;
    case BLACKNESS: p.fillRect(area, Qt::black); break;
    case WHITENESS: p.fillRect(area, Qt::white); break;
    default: break;
    }
}

// ---- text

namespace {

struct TextPlacement {
    QTransform toDevice;    // text space (origin at the reference point) to device
    QPointF baseline;       // start of the baseline in text space
    QRectF cell;            // the text's cell in text space
};

} // namespace

static TextPlacement PlaceText(const QFontMetrics& m, uint32_t align, int32_t escapement, int32_t x, int32_t y,
                               const QString& text)
{
    TextPlacement t;
    const int width = m.horizontalAdvance(text);
    double dx = 0;
    switch (align & TA_HORIZONTAL_MASK) {
    case TA_RIGHT: dx = -width; break;
    case TA_CENTER: dx = -(width / 2); break;
    default: break;
    }
    double base = m.ascent();
    switch (align & TA_VERTICAL_MASK) {
    case TA_BASELINE: base = 0; break;
    case TA_BOTTOM: base = -m.descent(); break;
    default: break;
    }
    t.baseline = QPointF(dx, base);
    t.cell = QRectF(dx, base - m.ascent(), width, m.ascent() + m.descent());
    t.toDevice.translate(x, y);
    if (escapement != 0)
        t.toDevice.rotate(-escapement / 10.0);
    return t;
}

void RasterDC::TextOut(int32_t x, int32_t y, const QString& text)
{
    if (textAlign_ & TA_UPDATECP) {
        x = pos_.x;
        y = pos_.y;
    }
    const QFontMetrics& m = *d_->metrics;
    const TextPlacement t = PlaceText(m, textAlign_, font_.escapement, x, y, text);
    if (textAlign_ & TA_UPDATECP) {
        const QPointF end = t.toDevice.map(QPointF(t.cell.right(), 0));
        if ((textAlign_ & TA_HORIZONTAL_MASK) == TA_LEFT)
            pos_ = Point{static_cast<int32_t>(std::lround(end.x())), pos_.y};
    }
    if (d_->inPath) {
        QPainterPath glyphs;
        glyphs.addText(t.baseline, d_->qfont, text);
        d_->path.addPath(t.toDevice.map(glyphs));
        return;
    }
    if (text.isEmpty())
        return;
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    p.setTransform(t.toDevice);
    if (bkMode_ == OPAQUE)
        p.fillRect(t.cell, QColor::fromRgb(ToQRgb(bkColor_)));
    p.setFont(d_->qfont);
    p.setPen(QColor::fromRgb(ToQRgb(textColor_)));
    p.drawText(t.baseline, text);
}

Size RasterDC::GetTextExtentPoint(const QString& text) const
{
    const QFontMetrics& m = *d_->metrics;
    return Size{m.horizontalAdvance(text), m.ascent() + m.descent()};
}

TextMetric RasterDC::GetTextMetrics() const
{
    const QFontMetrics& m = *d_->metrics;
    TextMetric tm;
    tm.ascent = m.ascent();
    tm.descent = m.descent();
    tm.height = tm.ascent + tm.descent;
    tm.internalLeading = std::max(0, tm.height - d_->qfont.pixelSize());
    tm.externalLeading = m.leading();
    tm.aveCharWidth = m.averageCharWidth();
    tm.maxCharWidth = m.maxWidth();
    return tm;
}

// ---- clipping

static void SetClip(RasterDC::Impl& d, const QRegion* region)
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

// ---- paths

void RasterDC::BeginPath()
{
    d_->inPath = true;
    d_->pathReady = false;
    d_->path = QPainterPath();
    d_->path.moveTo(pos_.x, pos_.y);
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
    if ((pen_.style & PS_STYLE_MASK) != PS_NULL && rop2_ != R2_NOP) {
        QPainter& p = Painter(*d_, image_);
        PainterScope scope(p);
        p.setCompositionMode(CompositionFor(rop2_));
        p.setPen(QtPen(pen_, rop2_));
        p.setBrush(Qt::NoBrush);
        p.translate(StrokeShift(pen_), StrokeShift(pen_));
        p.drawPath(d_->path);
    }
    d_->path = QPainterPath();
}

void RasterDC::FillPath()
{
    if (!d_->pathReady)
        return;
    d_->pathReady = false;
    d_->path.setFillRule(fillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    FillWithBrush(p, d_->path, brush_, rop2_, bkMode_, bkColor_, textColor_);
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

// ---- block transfers

static QPainter::CompositionMode BltMode(uint32_t rop)
{
    switch (rop) {
    case SRCPAINT: return QPainter::RasterOp_SourceOrDestination;
    case SRCAND: return QPainter::RasterOp_SourceAndDestination;
    case SRCINVERT: return QPainter::RasterOp_SourceXorDestination;
    case NOTSRCCOPY: return QPainter::RasterOp_NotSource;
    default: return QPainter::CompositionMode_Source;
    }
}

void RasterDC::BitBlt(int32_t x, int32_t y, int32_t w, int32_t h, const QImage& source, int32_t sx, int32_t sy,
                      uint32_t rop)
{
    if (source.isNull() || w <= 0 || h <= 0)
        return;
    // A copy when the source is this picture, so the transfer reads the old pixels.
    const QImage src = (source.constBits() == image_.constBits()) ? source.copy()
                       : source.format() == QImage::Format_RGB32 ? source
                                                                  : source.convertToFormat(QImage::Format_RGB32);
    QPainter& p = Painter(*d_, image_);
    PainterScope scope(p);
    p.setCompositionMode(BltMode(rop));
    p.drawImage(QRect(x, y, w, h), src, QRect(sx, sy, w, h));
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
