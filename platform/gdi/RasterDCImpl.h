#ifndef ZENDRIK_PLATFORM_GDI_RASTERDCIMPL_H
#define ZENDRIK_PLATFORM_GDI_RASTERDCIMPL_H

// What the parts of the raster device context share; not for use outside platform/gdi/Raster*.cpp.

#include "platform/gdi/RasterDC.h"

#include <QFont>
#include <QGlyphRun>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <memory>
#include <unordered_map>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace gdi {

struct RasterDC::Impl {
    std::unique_ptr<QPainter> painter;
    // The context's clip region as the pixel loops read it, with its bounds and whether it is one
    // rectangle; kept in step by every clip change.
    QRegion clip;
    bool hasClip = false;
    QRect clipBounds;
    bool clipIsRect = true;
    // The figures of the path under construction (or finished).
    QPainterPath path;
    // Position in the style pattern of a one-pixel pen: each LineTo starts afresh, a Polyline or a
    // closed outline carries it across its vertices.
    uint32_t styleCount = 0;
    std::vector<uint32_t> pattern;
    uint32_t patternTotal = 0;
    QFont qfont;
    std::shared_ptr<const QFontMetrics> metrics;
    // Texts in one font as measuring and drawing need them again: measuring shapes the text,
    // and a chart measures and draws the same labels on every drawing. The glyphs shaping
    // placed, drawn as they are, light the pixels drawing the text lights.
    struct ShapedText {
        int width = -1;   // not measured yet
        bool shaped = false;
        qreal ascent = 0;
        QList<QGlyphRun> runs;
    };
    using TextShapes = std::unordered_map<QString, ShapedText>;
    // Fonts selected lately and what was made of them, the latest first. A formatted text goes
    // back and forth between a few fonts run by run; a font made afresh looks up its glyph engine
    // again for every use, one made before has it at hand.
    struct MadeFont {
        Font font;
        int32_t charExtra = 0;
        QFont qfont;
        std::shared_ptr<const QFontMetrics> metrics;
        std::shared_ptr<TextShapes> texts;
    };
    std::vector<MadeFont> madeFonts;
    std::shared_ptr<TextShapes> texts;
    // The width of a text in the selected font, measured once.
    int TextWidth(const QString& text);
    // The text shaped once in the selected font (without underline or strike-out, which drawing
    // adds by other rules).
    const ShapedText& Shaped(const QString& text);
    // The stroke set-up last given to the painter outside save/restore pairs, so runs of LineTo
    // calls with one wide pen do not set it up again for every segment.
    bool strokeReady = false;
    Pen strokePen;
    int strokeRop = 0;
    // The picture this context had before it took another one's pixels shared (BitBlt of a whole
    // picture), kept to go back to when those are drawn over anew (ReleaseSharedPicture).
    QImage spare;
};

namespace raster {

constexpr uint32_t kRgbMask = 0x00FFFFFF;

// 0x00BBGGRR -> 0x00RRGGBB (the image's channel order).
constexpr uint32_t ToImageRgb(COLORREF c) { return ToQRgb(c) & kRgbMask; }

// Sets count pixels from line on to one colour. Sixteen bytes a store, four stores a turn: the
// plain loop the compiler makes of std::fill stores one pixel at a time, four times slower, and
// every drawing fills the whole picture at least once.
inline void FillPixels(QRgb* line, int64_t count, QRgb colour)
{
    int64_t x = 0;
#ifdef __SSE2__
    const __m128i c = _mm_set1_epi32(static_cast<int>(colour));
    for (; x + 16 <= count; x += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + x), c);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + x + 4), c);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + x + 8), c);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + x + 12), c);
    }
    for (; x + 4 <= count; x += 4)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(line + x), c);
#endif
    for (; x < count; ++x)
        line[x] = colour;
}

// The mix of a pen colour p into a destination d, both 0x00RRGGBB.
uint32_t MixRop2(int rop, uint32_t p, uint32_t d);
QPainter::CompositionMode CompositionFor(int rop);

// The Qt font of a logical font, the character extra as letter spacing; the metafile player
// replays text with the same choice, so it has the screen's metrics.
QFont MakeQFont(const Font& font, int32_t charExtra);

// The painter on the picture, created on first use with the current clip.
QPainter& Painter(RasterDC::Impl& d, QImage& image);
// Ends the painter, if there is one, so that the picture may be read, shared or replaced.
void EndPainter(RasterDC::Impl& d);
void SetClip(RasterDC::Impl& d, const QRegion* region);
// Inside the picture and the clip region.
bool VisibleAt(const RasterDC::Impl& d, const QImage& image, int64_t x, int64_t y);

struct PainterScope {
    QPainter& p;
    explicit PainterScope(QPainter& painter) : p(painter) { p.save(); }
    ~PainterScope() { p.restore(); }
    PainterScope(const PainterScope&) = delete;
    PainterScope& operator=(const PainterScope&) = delete;
};

// ---- pens (RasterLines.cpp)

// Dash and gap lengths of a styled one-pixel pen; empty for solid ones.
std::vector<uint32_t> CosmeticPattern(const Pen& pen);
inline bool IsCosmetic(const Pen& pen) { return pen.width <= 1; }
inline bool IsNullPen(const Pen& pen) { return (pen.style & PS_STYLE_MASK) == PS_NULL; }

// How one-pixel pen pixels are put down: style pattern, background, mix mode and clip.
class PixelPen {
public:
    PixelPen(RasterDC::Impl& d, QImage& image, const DcState& s);
    // Plots pixel (x, y) as the step-th pixel of the figure's style pattern.
    void Plot(int64_t x, int64_t y, uint64_t step);
    bool Styled() const { return styled_; }

private:
    RasterDC::Impl& d_;
    QImage& image_;
    uchar* bits_;
    qsizetype bpl_;
    int rop_;
    bool opaque_;
    bool styled_;
    uint32_t penRgb_;
    uint32_t bkRgb_;
};

// A one-pixel line without its last pixel, its style pattern starting at d.styleCount; moves
// d.styleCount on by the line's length.
void CosmeticLine(RasterDC::Impl& d, QImage& image, const DcState& s, int32_t x0, int32_t y0, int32_t x1,
                  int32_t y1);
// The pixels of a one-pixel line without its last pixel, in drawing order, appended to out.
void LinePixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1, std::vector<QPoint>& out);
// A one-pixel polyline or closed figure, the style pattern carried across its vertices.
void CosmeticFigure(RasterDC::Impl& d, QImage& image, const DcState& s, const Point* points, size_t count,
                    bool closed);
// A wide pen's outline of a figure through QPainter.
void WideFigure(RasterDC::Impl& d, QImage& image, const DcState& s, const QPainterPath& figure);

// A QPen of the device pen.
QPen QtPen(const Pen& pen, int rop);
// The translation from device coordinates to the painter's for strokes of this pen.
double StrokeShift(const Pen& pen);

// ---- wide round pens (RasterCapsules.cpp)

// Wide solid pens with round caps and joins, drawn as capsules instead of through Qt's stroker.
bool CapsulePen(const Pen& pen);
// One segment of such a pen: every pixel whose centre lies within half the pen's width of the
// segment, put down once.
void CapsuleLine(RasterDC::Impl& d, QImage& image, const Pen& pen, int rop, int32_t ix0, int32_t iy0, int32_t ix1,
                 int32_t iy1);

// ---- brushes (RasterFills.cpp)

// Fills a path (device coordinates, exact on whole pixels) with the brush; hatches go over the
// background colour when the background is opaque.
void FillWithBrush(QPainter& p, const QPainterPath& path, const Brush& brush, int rop, int bkMode,
                   COLORREF bkColor, COLORREF textColor);

} // namespace raster

} // namespace gdi

#endif
