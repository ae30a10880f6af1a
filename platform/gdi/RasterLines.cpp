// Lines and pens of the raster device context: one-pixel lines stepped here, wide round pens as
// capsules (RasterCapsules.cpp), other wide pens through QPainter's stroker.

#include "platform/gdi/RasterDCImpl.h"

#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>

namespace gdi {

namespace raster {

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

namespace {

// A place in the style pattern of a one-pixel pen: part k (dashes are the even parts, gaps the odd
// ones) and how far into it.
struct StylePlace {
    const std::vector<uint32_t>& pattern;
    size_t k = 0;
    uint32_t pos = 0;

    // The place of a step counted from the start of the pattern, which is total pixels long.
    void Seek(uint64_t step, uint32_t total)
    {
        k = 0;
        pos = static_cast<uint32_t>(step % total);
        while (pos >= pattern[k]) {
            pos -= pattern[k];
            k = k + 1 == pattern.size() ? 0 : k + 1;
        }
    }
    // The start of the next part.
    void NextPart()
    {
        pos = 0;
        k = k + 1 == pattern.size() ? 0 : k + 1;
    }
    // One pixel on; parts of no length are passed over.
    void Step()
    {
        if (++pos < pattern[k])
            return;
        do
            NextPart();
        while (pattern[k] == 0);
    }
    bool On() const { return k % 2 == 0; }
    // Pixels left in the part, this one included.
    uint32_t Left() const { return pattern[k] - pos; }
};

} // namespace

PixelPen::PixelPen(RasterDC::Impl& d, QImage& image, const DcState& s)
    : d_(d), image_(image), bits_(image.bits()), bpl_(image.bytesPerLine()), rop_(s.rop2),
      opaque_(s.bkMode == OPAQUE), styled_(!d.pattern.empty()), penRgb_(ToImageRgb(s.pen.color)),
      bkRgb_(ToImageRgb(s.bkColor))
{
}

void PixelPen::Plot(int64_t x, int64_t y, uint64_t step)
{
    bool on = true;
    if (styled_) {
        StylePlace place{d_.pattern};
        place.Seek(step, d_.patternTotal);
        on = place.On();
    }
    if ((!on && !opaque_) || !VisibleAt(d_, image_, x, y))
        return;
    QRgb& px = reinterpret_cast<QRgb*>(bits_ + y * bpl_)[x];
    px = 0xFF000000u | MixRop2(rop_, on ? penRgb_ : bkRgb_, px & kRgbMask);
}

namespace {

// Steps a line from (x0, y0) towards (x1, y1) without its last pixel, calling plot(x, y, step) for
// the steps whose major coordinate lies inside origin .. origin + limit - 1 (the picture's width
// for lines that run mostly across, its height otherwise). Steps before that window are not walked but jumped:
// the error term after them is computed directly, so the pixels are those of the whole walk and a
// line from far outside costs no more than one across the picture. total receives the number of
// steps of the whole line.
//
// A line through the exact middle between two pixels takes the upper one when it runs mostly
// across and the right one when it runs mostly up or down, whichever way it is drawn, so a line
// and its reverse light the same pixels.
template <typename Plot>
void StepLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int64_t width, int64_t height, int64_t& total,
              Plot&& plot, int64_t originX = 0, int64_t originY = 0)
{
    const int64_t dx = std::llabs(static_cast<int64_t>(x1) - x0);
    const int64_t dy = std::llabs(static_cast<int64_t>(y1) - y0);
    const int64_t sx = x0 < x1 ? 1 : -1;
    const int64_t sy = y0 < y1 ? 1 : -1;
    const bool xMajor = dx >= dy;
    const int64_t major = xMajor ? dx : dy;
    const int64_t minor = xMajor ? dy : dx;
    const int64_t m0 = static_cast<int64_t>(xMajor ? x0 : y0) - (xMajor ? originX : originY);
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
        return;
    // Exact ties only occur for an even major length; there the minor step is taken early when it
    // moves towards the pixel the tie belongs to.
    const bool tieEarly = major % 2 == 0 && (xMajor ? sy < 0 : sx > 0);
    const int64_t half = major / 2 - (tieEarly ? 1 : 0);
    // After i steps the error is half - i * minor + k * major with k the minor steps taken so far,
    // the one k that keeps it within 0 .. major - 1.
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
}

// QPainter's strokes are nudged by a 32nd of a pixel down and to the right (StrokeShift): a pixel
// centre exactly on a stroke's edge then counts as inside on its top and left edges and outside on
// its bottom and right ones, the device's rule for filled shapes.
constexpr double kNudge = 1.0 / 32.0;

Qt::PenCapStyle CapOf(uint32_t style)
{
    switch (style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: return Qt::SquareCap;
    case PS_ENDCAP_FLAT: return Qt::FlatCap;
    default: return Qt::RoundCap;
    }
}

Qt::PenJoinStyle JoinOf(uint32_t style)
{
    switch (style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: return Qt::BevelJoin;
    case PS_JOIN_MITER: return Qt::MiterJoin;
    default: return Qt::RoundJoin;
    }
}

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

// Wide polylines: Qt's stroker slows down sharply on very long polylines, so long ones go in
// pieces with flat ends that overlap by two segments, so every inner vertex lies inside some piece
// and gets its join; the two real ends get their caps drawn on their own. Mix modes that are not
// idempotent draw in one piece.
void WidePolyline(QPainter& p, const Pen& pen, int rop, const Point* points, int count)
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
    for (int start = 0;; start += kPiece - 2) {
        const int end = std::min(count - 1, start + kPiece);
        poly.clear();
        for (int i = start; i <= end; ++i)
            poly << at(i);
        if (dashed)
            q.setDashOffset(travelled / std::max(1, pen.width));
        p.setPen(q);
        p.drawPolyline(poly);
        if (end == count - 1)
            break;
        for (int i = start; i < start + kPiece - 2; ++i)
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

// A solid one-pixel copy line whose visible pixels all lie in one box (the picture, or the
// picture cut to a rectangular clip): one test against the box a pixel, no region lookup.
struct PixelBox {
    uchar* bits;
    qsizetype bpl;
    int width, height;
    QRect box; // the picture, or the picture cut to the clip
};

PixelBox SolidLineBox(RasterDC::Impl& d, QImage& image)
{
    return PixelBox{image.bits(), image.bytesPerLine(), image.width(), image.height(),
                    d.hasClip ? d.clipBounds.intersected(image.rect()) : image.rect()};
}

void SolidLineInBox(const PixelBox& p, uint32_t rgb, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const QRect& box = p.box;
    if (box.isEmpty())
        return;
    uchar* bits = p.bits;
    const qsizetype bpl = p.bpl;
    const QRgb colour = 0xFF000000u | rgb;
    const int64_t left = box.left(), top = box.top(), right = box.right(), bottom = box.bottom();
    if (x0 == x1) {
        // Straight down or up, the last pixel left out: a run of one column.
        if (x0 < left || x0 > right || y0 == y1)
            return;
        const int64_t first = y0 < y1 ? y0 : static_cast<int64_t>(y1) + 1;
        const int64_t last = y0 < y1 ? static_cast<int64_t>(y1) - 1 : y0;
        uchar* at = bits + x0 * static_cast<qsizetype>(sizeof(QRgb));
        for (int64_t y = std::max(first, top), end = std::min(last, bottom); y <= end; ++y)
            *reinterpret_cast<QRgb*>(at + y * bpl) = colour;
        return;
    }
    int64_t total = 0;
    StepLine(x0, y0, x1, y1, p.width, p.height, total, [&](int64_t x, int64_t y, int64_t) {
        if (x >= left && y >= top && x <= right && y <= bottom)
            reinterpret_cast<QRgb*>(bits + y * bpl)[x] = colour;
    });
}

// Pixels first .. last (first <= last) of one column.
void SolidColumnInBox(const PixelBox& p, uint32_t rgb, int64_t x, int64_t first, int64_t last)
{
    const QRect& box = p.box;
    if (box.isEmpty() || x < box.left() || x > box.right())
        return;
    const QRgb colour = 0xFF000000u | rgb;
    uchar* at = p.bits + x * static_cast<qsizetype>(sizeof(QRgb));
    for (int64_t y = std::max<int64_t>(first, box.top()), end = std::min<int64_t>(last, box.bottom()); y <= end; ++y)
        *reinterpret_cast<QRgb*>(at + y * p.bpl) = colour;
}

// A solid one-pixel polyline, each pixel set once: a run of segments straight up and down one
// column (as long traces give, several per column) lights one span, the union of what its
// segments light; each starts where the one before ended, so no pixel inside is missed.
void SolidPolylineInBox(const PixelBox& box, uint32_t rgb, const Point* points, int count)
{
    int i = 1;
    while (i < count) {
        const int64_t x = points[i - 1].x;
        if (points[i].x != x) {
            SolidLineInBox(box, rgb, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
            ++i;
            continue;
        }
        int64_t low = std::numeric_limits<int64_t>::max(), high = std::numeric_limits<int64_t>::min();
        for (; i < count && points[i].x == x; ++i) {
            // Each segment lights its start and leaves out its end; one of no length lights nothing.
            const int64_t from = points[i - 1].y, to = points[i].y;
            if (to > from) {
                low = std::min(low, from);
                high = std::max(high, to - 1);
            } else if (to < from) {
                low = std::min(low, to + 1);
                high = std::max(high, from);
            }
        }
        if (low <= high)
            SolidColumnInBox(box, rgb, x, low, high);
    }
}

} // namespace

// Draws a one-pixel line without its last pixel, honouring style, background mode, mix mode and
// clipping. Lines far outside the image are cut to it first so huge coordinates cost nothing.
void CosmeticLine(RasterDC::Impl& d, QImage& image, const DcState& s, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    if (s.rop2 == R2_NOP || IsNullPen(s.pen))
        return;
    const int w = image.width();
    const int h = image.height();
    const bool styled = !d.pattern.empty();
    const uint32_t styleStart = d.styleCount;
    int64_t total = 0;
    auto finishStyle = [&] {
        d.styleCount = styled ? static_cast<uint32_t>((styleStart + total) % d.patternTotal) : 0;
    };
    // Entirely off the image on one side: only the style position moves.
    if (std::max(x0, x1) < 0 || std::max(y0, y1) < 0 || std::min(x0, x1) >= w || std::min(y0, y1) >= h) {
        total = std::max(std::llabs(static_cast<int64_t>(x1) - x0), std::llabs(static_cast<int64_t>(y1) - y0));
        finishStyle();
        return;
    }
    if ((!d.hasClip || d.clipIsRect) && !styled && s.rop2 == R2_COPYPEN) {
        SolidLineInBox(SolidLineBox(d, image), ToImageRgb(s.pen.color), x0, y0, x1, y1);
        d.styleCount = 0;
        return;
    }
    if ((!d.hasClip || d.clipIsRect) && styled && s.rop2 == R2_COPYPEN) {
        // A styled copy (a dotted grid line): the place in the pattern is found once and then
        // moved on pixel by pixel, as the steps come one after the other.
        const PixelBox box = SolidLineBox(d, image);
        const QRgb penColour = 0xFF000000u | ToImageRgb(s.pen.color);
        const QRgb bkColour = 0xFF000000u | ToImageRgb(s.bkColor);
        const bool opaque = s.bkMode == OPAQUE;
        const int64_t left = box.box.left(), top = box.box.top(), right = box.box.right(), bottom = box.box.bottom();
        StylePlace place{d.pattern};
        auto placeAt = [&](int64_t step) { place.Seek(styleStart + static_cast<uint64_t>(step), d.patternTotal); };
        if (x0 == x1 || y0 == y1) {
            // Straight across or up and down (a grid line): the pattern's dashes become spans.
            const bool across = y0 == y1;
            const int64_t from = across ? x0 : y0;
            const int64_t n = std::llabs((across ? int64_t{x1} : int64_t{y1}) - from);
            const int64_t dir = (across ? x1 : y1) > from ? 1 : -1;
            const int64_t at = across ? y0 : x0;
            const int64_t low = across ? left : top, high = across ? right : bottom;
            total = n;
            // Steps lo .. hi - 1 fall inside the box.
            const int64_t lo = std::max<int64_t>(0, dir > 0 ? low - from : from - high);
            const int64_t hi = std::min<int64_t>(n, dir > 0 ? high - from + 1 : from - low + 1);
            if (lo < hi && at >= (across ? top : left) && at <= (across ? bottom : right)) {
                placeAt(lo);
                for (int64_t i = lo; i < hi;) {
                    const int64_t end = std::min<int64_t>(hi, i + place.Left());
                    const bool on = place.On();
                    if ((on || opaque) && end > i) {
                        const QRgb colour = on ? penColour : bkColour;
                        const int64_t a = std::min(from + dir * i, from + dir * (end - 1));
                        const int64_t b = std::max(from + dir * i, from + dir * (end - 1));
                        if (across) {
                            FillPixels(reinterpret_cast<QRgb*>(box.bits + at * box.bpl) + a, b - a + 1, colour);
                        } else {
                            for (int64_t y = a; y <= b; ++y)
                                reinterpret_cast<QRgb*>(box.bits + y * box.bpl)[at] = colour;
                        }
                    }
                    i = end;
                    place.NextPart();
                }
            }
            finishStyle();
            return;
        }
        bool started = false;
        StepLine(x0, y0, x1, y1, w, h, total, [&](int64_t x, int64_t y, int64_t step) {
            if (!started) {
                placeAt(step);
                started = true;
            } else {
                place.Step();
            }
            const bool on = place.On();
            if ((on || opaque) && x >= left && y >= top && x <= right && y <= bottom)
                reinterpret_cast<QRgb*>(box.bits + y * box.bpl)[x] = on ? penColour : bkColour;
        });
        finishStyle();
        return;
    }
    PixelPen pen(d, image, s);
    StepLine(x0, y0, x1, y1, w, h, total,
             [&](int64_t x, int64_t y, int64_t step) { pen.Plot(x, y, styleStart + static_cast<uint64_t>(step)); });
    finishStyle();
}

void LinePixels(int32_t x0, int32_t y0, int32_t x1, int32_t y1, std::vector<QPoint>& out)
{
    int64_t total = 0;
    const int64_t originX = std::min(x0, x1), originY = std::min(y0, y1);
    const int64_t width = std::max<int64_t>(1, std::llabs(int64_t{x1} - x0) + 1);
    const int64_t height = std::max<int64_t>(1, std::llabs(int64_t{y1} - y0) + 1);
    StepLine(x0, y0, x1, y1, width, height, total,
             [&](int64_t x, int64_t y, int64_t) { out.emplace_back(static_cast<int>(x), static_cast<int>(y)); },
             originX, originY);
}

void CosmeticFigure(RasterDC::Impl& d, QImage& image, const DcState& s, const Point* points, size_t count, bool closed)
{
    if (count < 2 || IsNullPen(s.pen))
        return;
    d.styleCount = 0;
    for (size_t i = 1; i < count; ++i)
        CosmeticLine(d, image, s, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    if (closed)
        CosmeticLine(d, image, s, points[count - 1].x, points[count - 1].y, points[0].x, points[0].y);
}

void WideFigure(RasterDC::Impl& d, QImage& image, const DcState& s, const QPainterPath& figure)
{
    if (IsNullPen(s.pen) || s.rop2 == R2_NOP)
        return;
    QPainter& p = Painter(d, image);
    PainterScope scope(p);
    p.setCompositionMode(CompositionFor(s.rop2));
    p.setPen(QtPen(s.pen, s.rop2));
    p.setBrush(Qt::NoBrush);
    p.translate(StrokeShift(s.pen), StrokeShift(s.pen));
    p.drawPath(figure);
}

// A QPen of the device pen; wide pens dash in multiples of their width.
QPen QtPen(const Pen& pen, int rop)
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

// Qt draws one-pixel aliased strokes to the right of and below the geometry and wide ones centred
// on it, sampling pixel centres half a pixel off the device coordinates: wide strokes move by that
// half to centre on the pixels the coordinates name, less the nudge.
double StrokeShift(const Pen& pen)
{
    return pen.width > 1 ? 0.5 - kNudge : 0.0;
}

} // namespace raster

using namespace raster;

void RasterDC::LineTo(int32_t x, int32_t y)
{
    const DcState& s = State();
    const Point from = s.pos;
    MovedTo(Point{x, y});
    if (InPath()) {
        if (d_->path.elementCount() == 0)
            d_->path.moveTo(from.x, from.y);
        d_->path.lineTo(x, y);
        return;
    }
    if (IsCosmetic(s.pen)) {
        Painter(*d_, image_);
        d_->styleCount = 0;   // every LineTo starts the style pattern afresh
        CosmeticLine(*d_, image_, s, from.x, from.y, x, y);
        return;
    }
    if (CapsulePen(s.pen)) {
        Painter(*d_, image_);
        CapsuleLine(*d_, image_, s.pen, s.rop2, from.x, from.y, x, y);
        return;
    }
    QPainter& p = Painter(*d_, image_);
    const QPen q = QtPen(s.pen, s.rop2);
    const double shift = StrokeShift(s.pen);
    if (from == s.pos) {
        // A line of no length is a dot in the pen's width, round or square after its cap.
        if (q.style() == Qt::NoPen || q.capStyle() == Qt::FlatCap)
            return;
        PainterScope scope(p);
        p.setCompositionMode(CompositionFor(s.rop2));
        const double half = s.pen.width / 2.0;
        QPainterPath dot;
        if (q.capStyle() == Qt::RoundCap)
            dot.addEllipse(QPointF(x + shift, y + shift), half, half);
        else
            dot.addRect(QRectF(x + shift - half, y + shift - half, s.pen.width, s.pen.width));
        p.fillPath(dot, q.color());
        return;
    }
    if (!d_->strokeReady || !(d_->strokePen == s.pen) || d_->strokeRop != s.rop2) {
        p.setCompositionMode(CompositionFor(s.rop2));
        p.setPen(q);
        p.setBrush(Qt::NoBrush);
        d_->strokePen = s.pen;
        d_->strokeRop = s.rop2;
        d_->strokeReady = true;
    }
    p.drawLine(QPointF(from.x + shift, from.y + shift), QPointF(x + shift, y + shift));
}

void RasterDC::Polyline(const Point* points, int count)
{
    const DcState& s = State();
    if (!points || count < 2)
        return;
    if (InPath()) {
        d_->path.moveTo(points[0].x, points[0].y);
        for (int i = 1; i < count; ++i)
            d_->path.lineTo(points[i].x, points[i].y);
        return;
    }
    if (IsCosmetic(s.pen) && d_->pattern.empty() && s.rop2 == R2_COPYPEN && (!d_->hasClip || d_->clipIsRect) &&
        !IsNullPen(s.pen)) {
        // A long solid polyline: the picture and its box are looked up once for all segments.
        Painter(*d_, image_);
        SolidPolylineInBox(SolidLineBox(*d_, image_), ToImageRgb(s.pen.color), points, count);
        d_->styleCount = 0;
        return;
    }
    if (IsCosmetic(s.pen)) {
        Painter(*d_, image_);
        CosmeticFigure(*d_, image_, s, points, static_cast<size_t>(count), false);
        return;
    }
    if (CapsulePen(s.pen) && IdempotentRop(s.rop2)) {
        Painter(*d_, image_);
        for (int i = 1; i < count; ++i)
            CapsuleLine(*d_, image_, s.pen, s.rop2, points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
        return;
    }
    WidePolyline(Painter(*d_, image_), s.pen, s.rop2, points, count);
}

} // namespace gdi
