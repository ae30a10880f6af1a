// Fills and shapes of the raster device context: brushes, rectangles, polygons and the ellipse
// family. Shapes are rasterised by ShapeRaster.h, so their pixels, their one-pixel outlines and the
// regions of the same name agree.

#include "platform/gdi/RasterDCImpl.h"
#include "platform/gdi/ShapeRaster.h"

#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <unordered_set>

namespace gdi {

namespace raster {

namespace {

QBrush QtBrush(const Brush& brush, COLORREF textColor, COLORREF bkColor)
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

} // namespace

void FillWithBrush(QPainter& p, const QPainterPath& path, const Brush& brush, int rop, int bkMode, COLORREF bkColor,
                   COLORREF textColor)
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

} // namespace raster

using namespace raster;
using shapes::ShapeRow;
using shapes::Span;

namespace {

struct Box {
    int32_t l, t, r, b;   // right and bottom exclusive
    int64_t Width() const { return int64_t{r} - l; }
    int64_t Height() const { return int64_t{b} - t; }
    bool Empty() const { return r <= l || b <= t; }
};

Box Ordered(int32_t l, int32_t t, int32_t r, int32_t b)
{
    if (l > r)
        std::swap(l, r);
    if (t > b)
        std::swap(t, b);
    return Box{l, t, r, b};
}

bool Exact(const Box& box)
{
    return box.Width() <= shapes::kMaxExactSize && box.Height() <= shapes::kMaxExactSize;
}

// The line a wide pen's centre runs along, right and bottom exclusive: through the outermost
// pixels, or pulled in so that an inside-frame pen covers exactly the box's outer pixels.
QRectF PenBox(const Box& box, const Pen& pen)
{
    double l = box.l, t = box.t, r = box.r - 1, b = box.b - 1;
    if ((pen.style & PS_STYLE_MASK) == PS_INSIDEFRAME && pen.width > 1) {
        l += pen.width / 2;
        t += pen.width / 2;
        r -= (pen.width - 1) / 2;
        b -= (pen.width - 1) / 2;
        if (r < l)
            r = l;
        if (b < t)
            b = t;
    }
    return QRectF(QPointF(l, t), QPointF(r, b));
}

// The centre and radii of the ellipse through the box's outermost pixel centres, and the
// parametric angle of a point seen from its centre, counter-clockwise from three o'clock.
struct Frame {
    double cx, cy, a, b;
};

Frame FrameOf(const Box& box)
{
    return Frame{(box.l + box.r - 1) / 2.0, (box.t + box.b - 1) / 2.0, std::max(0.5, (box.Width() - 1) / 2.0),
                 std::max(0.5, (box.Height() - 1) / 2.0)};
}

double AngleOf(const Frame& f, double x, double y)
{
    const double a = std::atan2(-(y - f.cy) / f.b, (x - f.cx) / f.a);
    return a < 0 ? a + 2 * std::numbers::pi : a;
}

// How far along the drawing direction angle lies from start, in 0 .. 2 pi.
double Along(double start, double angle, bool clockwise)
{
    double d = clockwise ? start - angle : angle - start;
    d = std::fmod(d, 2 * std::numbers::pi);
    return d < 0 ? d + 2 * std::numbers::pi : d;
}

// Fills spans with the brush, the mix mode and the clip.
void FillSpans(RasterDC::Impl& d, QImage& image, const DcState& s, const Brush& brush, int rop,
               const std::vector<Span>& spans)
{
    if (spans.empty() || brush.style == BS_NULL || rop == R2_NOP)
        return;
    const int w = image.width();
    if (brush.style == BS_SOLID && rop == R2_COPYPEN && (!d.hasClip || d.clipIsRect)) {
        // Solid copies without a shaped clip go straight into the pixels.
        Painter(d, image);   // keeps the painter and the pixels in step
        uchar* bits = image.bits();
        const qsizetype bpl = image.bytesPerLine();
        const QRgb colour = 0xFF000000u | ToImageRgb(brush.color);
        const QRect visible = d.hasClip ? d.clipBounds.intersected(image.rect()) : image.rect();
        for (const Span& span : spans) {
            if (span.y < visible.top() || span.y > visible.bottom())
                continue;
            const int32_t x0 = std::max(span.x0, visible.left());
            const int32_t x1 = std::min(span.x1, visible.right() + 1);
            if (x1 > x0) {
                auto* line = reinterpret_cast<QRgb*>(bits + span.y * bpl);
                FillPixels(line + x0, x1 - x0, colour);
            }
        }
        return;
    }
    // Other brushes and mix modes: the spans become one path of whole-pixel rectangles (rows with
    // the same span merged), which the painter fills exactly.
    QPainterPath area;
    area.setFillRule(Qt::WindingFill);
    for (size_t i = 0; i < spans.size();) {
        const Span& first = spans[i];
        size_t j = i + 1;
        while (j < spans.size() && spans[j].y == spans[j - 1].y + 1 && spans[j].x0 == first.x0 && spans[j].x1 == first.x1)
            ++j;
        const int32_t x0 = std::max(first.x0, -1), x1 = std::min(first.x1, w + 1);
        if (x1 > x0)
            area.addRect(QRectF(x0, first.y, x1 - x0, static_cast<double>(j - i)));
        i = j;
    }
    QPainter& p = Painter(d, image);
    PainterScope scope(p);
    FillWithBrush(p, area, brush, rop, s.bkMode, s.bkColor, s.textColor);
}

std::vector<Span> RectSpans(int64_t l, int64_t t, int64_t r, int64_t b, const QImage& image)
{
    std::vector<Span> spans;
    const int64_t top = std::max<int64_t>(t, 0), bottom = std::min<int64_t>(b, image.height());
    const auto x0 = static_cast<int32_t>(std::clamp<int64_t>(l, -1, image.width() + 1));
    const auto x1 = static_cast<int32_t>(std::clamp<int64_t>(r, -1, image.width() + 1));
    if (x1 <= x0)
        return spans;
    for (int64_t y = top; y < bottom; ++y)
        spans.push_back(Span{static_cast<int32_t>(y), x0, x1});
    return spans;
}

// The interior of a shape (inside its one-pixel outline) or the whole of it.
std::vector<Span> RowSpans(const std::vector<ShapeRow>& rows, bool whole)
{
    std::vector<Span> spans;
    spans.reserve(rows.size());
    for (const ShapeRow& r : rows) {
        const int32_t x0 = whole ? r.outerLeft : r.innerLeft + 1;
        const int32_t x1 = whole ? r.outerRight + 1 : r.innerRight;
        if (x1 > x0)
            spans.push_back(Span{r.y, x0, x1});
    }
    return spans;
}

// The one-pixel outline of a shape, each pixel once.
std::vector<QPoint> OutlinePixels(const std::vector<ShapeRow>& rows)
{
    std::vector<QPoint> pixels;
    for (const ShapeRow& r : rows) {
        const bool joined = r.innerLeft + 1 >= r.innerRight;
        for (int32_t x = r.outerLeft; x <= (joined ? r.outerRight : r.innerLeft); ++x)
            pixels.emplace_back(x, r.y);
        if (!joined) {
            for (int32_t x = r.innerRight; x <= r.outerRight; ++x)
                pixels.emplace_back(x, r.y);
        }
    }
    return pixels;
}

// Orders outline pixels along the drawing direction from the angle start, so a styled pen's
// pattern runs along the curve.
void OrderAlong(std::vector<QPoint>& pixels, const Frame& f, double start, bool clockwise)
{
    std::vector<std::pair<double, QPoint>> keyed;
    keyed.reserve(pixels.size());
    for (const QPoint& p : pixels)
        keyed.emplace_back(Along(start, AngleOf(f, p.x(), p.y()), clockwise), p);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        pixels[i] = keyed[i].second;
}

// Puts down a one-pixel figure in order: its style pattern runs along it, and a pixel met twice
// is drawn once, so mix modes such as XOR leave no holes.
void PlotFigure(RasterDC::Impl& d, QImage& image, const DcState& s, const std::vector<QPoint>& pixels)
{
    if (IsNullPen(s.pen) || s.rop2 == R2_NOP)
        return;
    Painter(d, image);
    PixelPen pen(d, image, s);
    std::unordered_set<uint64_t> seen;
    seen.reserve(pixels.size());
    uint64_t step = 0;
    for (const QPoint& p : pixels) {
        const uint64_t key = (static_cast<uint64_t>(static_cast<uint32_t>(p.y())) << 32) | static_cast<uint32_t>(p.x());
        if (!seen.insert(key).second)
            continue;
        pen.Plot(p.x(), p.y(), step++);
    }
}

} // namespace

void RasterDC::FillRect(const Rect& rect, const Brush& brush)
{
    // A rectangle given the wrong way round is filled the right way round.
    const Box box = Ordered(rect.left, rect.top, rect.right, rect.bottom);
    if (box.Empty())
        return;
    FillSpans(*d_, image_, State(), brush, R2_COPYPEN, RectSpans(box.l, box.t, box.r, box.b, image_));
}

void RasterDC::PatBlt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop)
{
    const DcState& s = State();
    if (w == 0 || h == 0)
        return;
    // A negative extent runs back from the start: the start pixel is filled, the far edge is not.
    const int64_t l = w > 0 ? int64_t{x} : int64_t{x} + w + 1;
    const int64_t t = h > 0 ? int64_t{y} : int64_t{y} + h + 1;
    const int64_t r = l + std::llabs(w), b = t + std::llabs(h);
    switch (rop) {
    case PATCOPY: FillSpans(*d_, image_, s, s.brush, R2_COPYPEN, RectSpans(l, t, r, b, image_)); break;
    case PATINVERT: FillSpans(*d_, image_, s, s.brush, R2_XORPEN, RectSpans(l, t, r, b, image_)); break;
    case DSTINVERT: {
        Brush white;
        white.color = 0xFFFFFF;
        FillSpans(*d_, image_, s, white, R2_XORPEN, RectSpans(l, t, r, b, image_));
        break;
    }
    case BLACKNESS:
    case WHITENESS: {
        Brush solid;
        solid.color = rop == BLACKNESS ? 0 : 0xFFFFFF;
        FillSpans(*d_, image_, s, solid, R2_COPYPEN, RectSpans(l, t, r, b, image_));
        break;
    }
    default: break;
    }
}

void RasterDC::Polygon(const Point* points, int count)
{
    const DcState& s = State();
    if (!points || count < 2)
        return;
    if (InPath()) {
        QPolygonF poly;
        for (int i = 0; i < count; ++i)
            poly << QPointF(points[i].x, points[i].y);
        d_->path.addPolygon(poly);
        d_->path.closeSubpath();
        return;
    }
    FillSpans(*d_, image_, s, s.brush, s.rop2,
              shapes::PolygonSpans(points, count, s.fillMode == WINDING, 0, image_.height()));
    if (IsCosmetic(s.pen)) {
        Painter(*d_, image_);
        CosmeticFigure(*d_, image_, s, points, static_cast<size_t>(count), true);
        return;
    }
    QPainterPath outline;
    outline.moveTo(points[0].x, points[0].y);
    for (int i = 1; i < count; ++i)
        outline.lineTo(points[i].x, points[i].y);
    outline.closeSubpath();
    WideFigure(*d_, image_, s, outline);
}

void RasterDC::Rectangle(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const DcState& s = State();
    const Box box = Ordered(left, top, right, bottom);
    const bool clockwise = s.arcDirection == AD_CLOCKWISE;
    // One closed figure from the top-right corner, counter-clockwise (or from the bottom-right
    // corner, clockwise): where a styled outline starts its pattern.
    auto corners = [&](double l, double t, double r, double b) {
        return clockwise ? std::array<QPointF, 4>{QPointF(r, b), QPointF(l, b), QPointF(l, t), QPointF(r, t)}
                         : std::array<QPointF, 4>{QPointF(r, t), QPointF(l, t), QPointF(l, b), QPointF(r, b)};
    };
    auto figure = [&](const QRectF& r) {
        const auto c = corners(r.left(), r.top(), r.right(), r.bottom());
        QPainterPath path;
        path.moveTo(c[0]);
        for (size_t i = 1; i < c.size(); ++i)
            path.lineTo(c[i]);
        path.closeSubpath();
        return path;
    };
    if (InPath()) {
        d_->path.addPath(figure(QRectF(QPointF(box.l, box.t), QPointF(box.r, box.b))));
        return;
    }
    if (box.Empty())
        return;
    if (IsNullPen(s.pen) || s.rop2 == R2_NOP) {
        // Without a pen the interior stops one pixel short of right and bottom.
        FillSpans(*d_, image_, s, s.brush, s.rop2, RectSpans(box.l, box.t, int64_t{box.r} - 1, int64_t{box.b} - 1, image_));
        return;
    }
    FillSpans(*d_, image_, s, s.brush, s.rop2,
              RectSpans(int64_t{box.l} + 1, int64_t{box.t} + 1, int64_t{box.r} - 1, int64_t{box.b} - 1, image_));
    if (!IsCosmetic(s.pen)) {
        WideFigure(*d_, image_, s, figure(PenBox(box, s.pen)));
        return;
    }
    const int32_t r = box.r - 1, b = box.b - 1;
    if (r == box.l && b == box.t)
        return;   // a 1 x 1 rectangle's outline has no length
    Painter(*d_, image_);
    if (r == box.l || b == box.t) {
        // One pixel wide or high: a single line covers it, drawn once for mix modes.
        d_->styleCount = 0;
        CosmeticLine(*d_, image_, s, box.l, box.t, r == box.l ? r : r + 1, r == box.l ? b + 1 : b);
        return;
    }
    const auto c = corners(box.l, box.t, r, b);
    Point points[4];
    for (size_t i = 0; i < 4; ++i)
        points[i] = Point{static_cast<int32_t>(c[i].x()), static_cast<int32_t>(c[i].y())};
    CosmeticFigure(*d_, image_, s, points, 4, true);
}

void RasterDC::Ellipse(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    const DcState& s = State();
    const Box box = Ordered(left, top, right, bottom);
    if (InPath()) {
        d_->path.addEllipse(QRectF(box.l, box.t, box.Width(), box.Height()));
        return;
    }
    if (box.Empty())
        return;
    const bool noPen = IsNullPen(s.pen) || s.rop2 == R2_NOP;
    if (!Exact(box)) {
        // Far larger than any picture: the painter's curve is close enough.
        QPainterPath area;
        area.addEllipse(QRectF(box.l, box.t, box.Width(), box.Height()));
        QPainter& p = Painter(*d_, image_);
        {
            PainterScope scope(p);
            FillWithBrush(p, area, s.brush, s.rop2, s.bkMode, s.bkColor, s.textColor);
        }
        QPainterPath curve;
        curve.addEllipse(PenBox(box, s.pen));
        WideFigure(*d_, image_, s, curve);
        return;
    }
    const std::vector<ShapeRow> rows = shapes::EllipseRows(box.l, box.t, box.r, box.b);
    // A null pen does not make an ellipse smaller: its fill covers what the outline would.
    FillSpans(*d_, image_, s, s.brush, s.rop2, RowSpans(rows, noPen));
    if (noPen)
        return;
    if (!IsCosmetic(s.pen)) {
        QPainterPath curve;
        curve.addEllipse(PenBox(box, s.pen));
        WideFigure(*d_, image_, s, curve);
        return;
    }
    // The figure starts at three o'clock and runs in the arc direction.
    std::vector<QPoint> outline = OutlinePixels(rows);
    OrderAlong(outline, FrameOf(box), 0.0, s.arcDirection == AD_CLOCKWISE);
    PlotFigure(*d_, image_, s, outline);
}

void RasterDC::RoundRect(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h)
{
    const DcState& s = State();
    const Box box = Ordered(left, top, right, bottom);
    const double rx = std::abs(w) / 2.0;
    const double ry = std::abs(h) / 2.0;
    if (InPath()) {
        d_->path.addRoundedRect(QRectF(box.l, box.t, box.Width(), box.Height()), rx, ry);
        return;
    }
    if (box.Empty())
        return;
    if (!Exact(box)) {
        Rectangle(box.l, box.t, box.r, box.b);
        return;
    }
    const bool noPen = IsNullPen(s.pen) || s.rop2 == R2_NOP;
    const std::vector<ShapeRow> rows = shapes::RoundRectRows(box.l, box.t, box.r, box.b, w, h);
    FillSpans(*d_, image_, s, s.brush, s.rop2, RowSpans(rows, noPen));
    if (noPen)
        return;
    if (!IsCosmetic(s.pen)) {
        QPainterPath curve;
        curve.addRoundedRect(PenBox(box, s.pen), rx, ry);
        WideFigure(*d_, image_, s, curve);
        return;
    }
    std::vector<QPoint> outline = OutlinePixels(rows);
    OrderAlong(outline, FrameOf(box), 0.0, s.arcDirection == AD_CLOCKWISE);
    PlotFigure(*d_, image_, s, outline);
}

// Equal rays give the whole ellipse.
void RasterDC::ArcFigure(ArcKind kind, const Rect& bounds, Point startRay, Point endRay)
{
    const DcState& s = State();
    const Box box = Ordered(bounds.left, bounds.top, bounds.right, bounds.bottom);
    if (box.Empty())
        return;
    const bool clockwise = s.arcDirection == AD_CLOCKWISE;
    const Frame f = FrameOf(box);
    const double start = AngleOf(f, startRay.x, startRay.y);
    double span = Along(start, AngleOf(f, endRay.x, endRay.y), clockwise);
    if (span == 0)
        span = 2 * std::numbers::pi;
    const double end = clockwise ? start - span : start + span;
    // The curve through the outer pixel centres, for paths, wide pens and huge boxes.
    auto curve = [&](const QRectF& r) {
        const double degStart = start * 180 / std::numbers::pi;
        const double degSpan = (clockwise ? -span : span) * 180 / std::numbers::pi;
        QPainterPath path;
        if (kind == ArcKind::Pie) {
            path.moveTo(r.center());
            path.arcTo(r, degStart, degSpan);
            path.closeSubpath();
        } else {
            path.arcMoveTo(r, degStart);
            path.arcTo(r, degStart, degSpan);
            if (kind == ArcKind::Chord)
                path.closeSubpath();
        }
        return path;
    };
    if (InPath()) {
        d_->path.addPath(curve(PenBox(box, s.pen)));
        return;
    }
    const bool noPen = IsNullPen(s.pen) || s.rop2 == R2_NOP;
    if (!Exact(box)) {
        if (kind != ArcKind::Open) {
            QPainter& p = Painter(*d_, image_);
            PainterScope scope(p);
            FillWithBrush(p, curve(QRectF(box.l, box.t, box.Width(), box.Height())), s.brush, s.rop2, s.bkMode,
                          s.bkColor, s.textColor);
        }
        WideFigure(*d_, image_, s, curve(PenBox(box, s.pen)));
        return;
    }
    const std::vector<ShapeRow> rows = shapes::EllipseRows(box.l, box.t, box.r, box.b);
    auto onArc = [&](double x, double y) {
        const double along = Along(start, AngleOf(f, x, y), clockwise);
        return along <= span + 1e-9 || along >= 2 * std::numbers::pi - 1e-9;
    };
    // The ends of the arc, and the pixel the pie closes through.
    const QPoint from(static_cast<int>(std::lround(f.cx + (box.Width() - 1) / 2.0 * std::cos(start))),
                      static_cast<int>(std::lround(f.cy - (box.Height() - 1) / 2.0 * std::sin(start))));
    const QPoint to(static_cast<int>(std::lround(f.cx + (box.Width() - 1) / 2.0 * std::cos(end))),
                    static_cast<int>(std::lround(f.cy - (box.Height() - 1) / 2.0 * std::sin(end))));
    const QPoint centre(static_cast<int>(std::lround(f.cx)), static_cast<int>(std::lround(f.cy)));
    const bool whole = span >= 2 * std::numbers::pi - 1e-12;
    if (kind != ArcKind::Open) {
        // The fill: the ellipse's pixels within the sector (pie) or on the arc's side of the chord.
        const double mid = clockwise ? start - span / 2 : start + span / 2;
        const double mx = f.cx + f.a * std::cos(mid) - from.x(), my = f.cy - f.b * std::sin(mid) - from.y();
        const double vx = to.x() - from.x(), vy = to.y() - from.y();
        const double arcSide = vx * my - vy * mx;
        auto inside = [&](int32_t x, int32_t y) {
            if (whole)
                return true;
            if (kind == ArcKind::Pie)
                return onArc(x, y);
            const double side = vx * (y - from.y()) - vy * (x - from.x());
            return side == 0 || (side > 0) == (arcSide > 0);
        };
        std::vector<Span> spans;
        for (const Span& row : RowSpans(rows, noPen)) {
            int32_t x = row.x0;
            while (x < row.x1) {
                while (x < row.x1 && !inside(x, row.y))
                    ++x;
                const int32_t x0 = x;
                while (x < row.x1 && inside(x, row.y))
                    ++x;
                if (x > x0)
                    spans.push_back(Span{row.y, x0, x});
            }
        }
        FillSpans(*d_, image_, s, s.brush, s.rop2, spans);
    }
    if (noPen)
        return;
    if (!IsCosmetic(s.pen)) {
        WideFigure(*d_, image_, s, curve(PenBox(box, s.pen)));
        return;
    }
    std::vector<QPoint> outline = OutlinePixels(rows);
    std::erase_if(outline, [&](const QPoint& p) { return !onArc(p.x(), p.y()); });
    OrderAlong(outline, f, start, clockwise);
    if (!whole && kind == ArcKind::Pie) {
        LinePixels(to.x(), to.y(), centre.x(), centre.y(), outline);
        LinePixels(centre.x(), centre.y(), from.x(), from.y(), outline);
    } else if (!whole && kind == ArcKind::Chord) {
        LinePixels(to.x(), to.y(), from.x(), from.y(), outline);
    }
    PlotFigure(*d_, image_, s, outline);
}

} // namespace gdi
