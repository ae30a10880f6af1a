#include "platform/gdi/MetafilePlayer.h"

#include "platform/gdi/RasterDCImpl.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace gdi {

namespace {

QColor Colour(int32_t c) { return QColor::fromRgb(ToQRgb(static_cast<COLORREF>(c))); }

QPen QtPen(const Pen& pen)
{
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    if (kind == PS_NULL)
        return QPen(Qt::NoPen);
    QPen p(Colour(static_cast<int32_t>(pen.color)));
    p.setWidthF(std::max(1, pen.width));
    const bool wide = pen.width > 1;
    switch (kind) {
    case PS_DASH: p.setStyle(Qt::DashLine); break;
    case PS_DOT:
    case PS_ALTERNATE: p.setStyle(Qt::DotLine); break;
    case PS_DASHDOT: p.setStyle(Qt::DashDotLine); break;
    case PS_DASHDOTDOT: p.setStyle(Qt::DashDotDotLine); break;
    case PS_USERSTYLE:
        if (!pen.userStyle.empty()) {
            QList<qreal> dashes;
            for (uint32_t v : pen.userStyle)
                dashes.append(std::max<qreal>(1.0, v) / std::max(1, pen.width));
            if (dashes.size() % 2)
                dashes.append(dashes.back());
            p.setDashPattern(dashes);
        }
        break;
    default: p.setStyle(Qt::SolidLine); break;
    }
    if (!wide) {
        p.setCapStyle(Qt::FlatCap);
        p.setJoinStyle(Qt::MiterJoin);
        return p;
    }
    switch (pen.style & PS_ENDCAP_MASK) {
    case PS_ENDCAP_SQUARE: p.setCapStyle(Qt::SquareCap); break;
    case PS_ENDCAP_FLAT: p.setCapStyle(Qt::FlatCap); break;
    default: p.setCapStyle(Qt::RoundCap); break;
    }
    switch (pen.style & PS_JOIN_MASK) {
    case PS_JOIN_BEVEL: p.setJoinStyle(Qt::BevelJoin); break;
    case PS_JOIN_MITER: p.setJoinStyle(Qt::MiterJoin); break;
    default: p.setJoinStyle(Qt::RoundJoin); break;
    }
    return p;
}

QBrush QtBrush(const Brush& brush)
{
    switch (brush.style) {
    case BS_NULL: return QBrush(Qt::NoBrush);
    case BS_HATCHED: {
        static constexpr Qt::BrushStyle hatches[] = {Qt::HorPattern, Qt::VerPattern, Qt::FDiagPattern,
                                                     Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
        const int h = std::clamp(brush.hatch, 0, 5);
        return QBrush(Colour(static_cast<int32_t>(brush.color)), hatches[h]);
    }
    case BS_PATTERN:
        if (!brush.pattern.isNull())
            return QBrush(brush.pattern);
        [[fallthrough]];
    default: return QBrush(Colour(static_cast<int32_t>(brush.color)));
    }
}

// Angle in degrees (counter-clockwise, y up) of a point seen from the ellipse's centre, measured
// on the circle the ellipse is stretched from, as Qt's arc angles are.
double ArcAngle(const QRectF& r, int32_t x, int32_t y)
{
    const double dx = (x - r.center().x()) / std::max(1e-9, r.width() / 2);
    const double dy = (y - r.center().y()) / std::max(1e-9, r.height() / 2);
    return std::atan2(-dy, dx) * 180.0 / std::numbers::pi;
}

class Player {
public:
    // The painter's clip when the player starts (the caller's clip and the frame) is the widest
    // any clip of the picture may reach.
    Player(const Metafile& m, QPainter& p) : m_(m), p_(p), baseClip_(p.clipPath()) {}
    void Run();

private:
    QRectF ShapeBox(const int32_t* a) const
    {
        const double l = std::min(a[0], a[2]), r = std::max(a[0], a[2]);
        const double t = std::min(a[1], a[3]), b = std::max(a[1], a[3]);
        // The outline runs through the centres of the outermost pixels.
        return QRectF(l + 0.5, t + 0.5, std::max(0.0, r - l - 1), std::max(0.0, b - t - 1));
    }
    void Mode()
    {
        if (rop2_ == R2_XORPEN || rop2_ == R2_NOT)
            p_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        else
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    void Fill(const QPainterPath& path, const Brush& brush)
    {
        if (brush.style == BS_NULL)
            return;
        if (brush.style == BS_HATCHED && bkMode_ == OPAQUE)
            p_.fillPath(path, Colour(bkColor_));
        p_.fillPath(path, QtBrush(brush));
    }
    void Stroke(const QPainterPath& path)
    {
        if ((pen_.style & PS_STYLE_MASK) == PS_NULL)
            return;
        QPainterPath shifted = path;
        shifted.translate(0.5, 0.5);
        p_.strokePath(shifted, QtPen(pen_));
    }
    // Long lines go to the painter in short pieces: its stroker slows down far more than
    // linearly with the length of one figure.
    void StrokeLine(const std::vector<QPointF>& pts) { StrokeLine(pts, QtPen(pen_)); }
    void StrokeLine(const std::vector<QPointF>& pts, const QPen& pen)
    {
        if ((pen_.style & PS_STYLE_MASK) == PS_NULL || pts.size() < 2)
            return;
        p_.setPen(pen);
        p_.setBrush(Qt::NoBrush);
        constexpr size_t kPiece = 256;
        for (size_t start = 0; start + 1 < pts.size(); start += kPiece) {
            const size_t n = std::min(kPiece + 1, pts.size() - start);
            p_.drawPolyline(pts.data() + start, static_cast<int>(n));
        }
    }
    // Lines drawn one LineTo after the other (a trace is thousands of them) go to the painter as
    // polylines, so a printer or PDF gets a few long paths instead of a path a segment. The joins
    // add nothing the single lines would not show: round ends get round joins (the same outline),
    // flat ends bevels (which only close the notch between two ends). Styled pens (the style
    // starts again at every LineTo), XOR (a vertex would be mixed twice) and square ends (which
    // stick out past every vertex) keep their single lines.
    bool JoinsLines() const
    {
        const uint32_t kind = pen_.style & PS_STYLE_MASK;
        return (kind == PS_SOLID || kind == PS_INSIDEFRAME) && rop2_ != R2_XORPEN && rop2_ != R2_NOT &&
               (pen_.width <= 1 || (pen_.style & PS_ENDCAP_MASK) != PS_ENDCAP_SQUARE);
    }
    void ExtendLines(QPointF from, QPointF to)
    {
        if (lines_.empty())
            lines_.push_back(from);
        if (lines_.size() == 2 && lines_[0] == lines_[1])
            lines_.pop_back();   // a line of no length before it adds nothing to this one
        else if (lines_.size() >= 2 && to == lines_.back())
            return;
        lines_.push_back(to);
    }
    // Whether a record leaves the lines being gathered open: another LineTo, a move to where the
    // last one ended, the pen selected again.
    bool KeepsLines(const MetaRecord& r) const
    {
        switch (r.op) {
        case MetaOp::LineTo: return true;
        case MetaOp::MoveTo: return QPointF(r.a[0], r.a[1]) == pos_;
        case MetaOp::SelectPen: return m_.Pens[static_cast<size_t>(r.index)] == pen_;
        default: return false;
        }
    }
    void FlushLines()
    {
        if (lines_.empty())
            return;
        QPen pen = QtPen(pen_);
        pen.setJoinStyle(pen.capStyle() == Qt::RoundCap ? Qt::RoundJoin : Qt::BevelJoin);
        StrokeLine(lines_, pen);
        lines_.clear();
    }
    void Shape(const QPainterPath& path)
    {
        if (rop2_ == R2_NOP)
            return;
        Mode();
        Fill(path, brush_);
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        Mode();
        QPainterPath outline = path;
        outline.translate(-0.5, -0.5);   // Stroke shifts back to pixel centres
        Stroke(outline);
        p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
    }
    QPainterPath ArcPath(const int32_t* a, int kind) const;
    void Text(const MetaRecord& r);
    void Draw(const MetaRecord& r);

    const Metafile& m_;
    QPainter& p_;
    const QPainterPath baseClip_;
    Pen pen_;
    Brush brush_;
    QFont font_ = raster::MakeQFont(Font{}, 0);
    Font logFont_;
    int32_t rop2_ = R2_COPYPEN, bkMode_ = OPAQUE, bkColor_ = 0xFFFFFF, textColor_ = 0, charExtra_ = 0;
    uint32_t textAlign_ = 0;
    int fillMode_ = ALTERNATE;
    int arcDirection_ = AD_COUNTERCLOCKWISE;
    QPointF pos_;
    bool inPath_ = false;
    QPainterPath path_;
    std::vector<QPointF> lines_;   // LineTo ends gathered for one polyline, the start first
};

QPainterPath Player::ArcPath(const int32_t* a, int kind) const
{
    const QRectF box = ShapeBox(a);
    const double start = ArcAngle(box, a[4], a[5]);
    double span = ArcAngle(box, a[6], a[7]) - start;
    if (arcDirection_ == AD_CLOCKWISE) {
        while (span >= 0)
            span -= 360.0;   // equal rays give the whole ellipse
    } else {
        while (span <= 0)
            span += 360.0;
    }
    QPainterPath path;
    if (kind == 2) {
        path.moveTo(box.center());
        path.arcTo(box, start, span);
        path.closeSubpath();
        return path;
    }
    path.arcMoveTo(box, start);
    path.arcTo(box, start, span);
    if (kind == 1)
        path.closeSubpath();
    return path;
}

void Player::Text(const MetaRecord& r)
{
    if (r.text.isEmpty())
        return;
    const QFontMetricsF fm(font_);
    const double width = fm.horizontalAdvance(r.text);
    QPointF at(r.a[0], r.a[1]);
    if (textAlign_ & TA_UPDATECP)
        at = pos_;
    double dx = 0;
    switch (textAlign_ & TA_HORIZONTAL_MASK) {
    case TA_RIGHT: dx = -width; break;
    case TA_CENTER: dx = -std::floor(width / 2); break;
    default: break;
    }
    double base = fm.ascent();
    switch (textAlign_ & TA_VERTICAL_MASK) {
    case TA_BASELINE: base = 0; break;
    case TA_BOTTOM: base = -fm.descent(); break;
    default: break;
    }
    QTransform local;
    local.translate(at.x(), at.y());
    if (logFont_.escapement != 0)
        local.rotate(-logFont_.escapement / 10.0);
    if ((textAlign_ & TA_UPDATECP) && (textAlign_ & TA_HORIZONTAL_MASK) == TA_LEFT)
        pos_ = local.map(QPointF(width, 0));
    if (inPath_) {
        QPainterPath glyphs;
        glyphs.addText(QPointF(dx, base), font_, r.text);
        path_.addPath(local.map(glyphs));
        return;
    }
    p_.save();
    p_.setTransform(local, true);
    if (bkMode_ == OPAQUE)
        p_.fillRect(QRectF(dx, base - fm.ascent(), width, fm.ascent() + fm.descent()), Colour(bkColor_));
    p_.setFont(font_);
    p_.setPen(Colour(textColor_));
    p_.drawText(QPointF(dx, base), r.text);
    p_.restore();
}

void Player::Draw(const MetaRecord& r)
{
    const int32_t* a = r.a;
    switch (r.op) {
    case MetaOp::MoveTo:
        pos_ = QPointF(a[0], a[1]);
        if (inPath_)
            path_.moveTo(pos_);
        break;
    case MetaOp::LineTo: {
        const QPointF to(a[0], a[1]);
        if (inPath_) {
            path_.lineTo(to);
        } else if (rop2_ != R2_NOP && JoinsLines()) {
            ExtendLines(pos_ + QPointF(0.5, 0.5), to + QPointF(0.5, 0.5));
        } else if (rop2_ != R2_NOP) {
            Mode();
            StrokeLine({pos_ + QPointF(0.5, 0.5), to + QPointF(0.5, 0.5)});
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        pos_ = to;
        break;
    }
    case MetaOp::Polyline:
    case MetaOp::Polygon: {
        if (r.op == MetaOp::Polyline && !inPath_) {
            if (rop2_ == R2_NOP)
                break;
            std::vector<QPointF> pts;
            pts.reserve(r.points.size());
            for (const Point& q : r.points)
                pts.emplace_back(q.x + 0.5, q.y + 0.5);
            Mode();
            StrokeLine(pts);
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
        }
        QPainterPath path;
        path.moveTo(r.points.front().x, r.points.front().y);
        for (size_t i = 1; i < r.points.size(); ++i)
            path.lineTo(r.points[i].x, r.points[i].y);
        if (r.op == MetaOp::Polygon)
            path.closeSubpath();
        path.setFillRule(fillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
        if (inPath_) {
            path_.addPath(path);
        } else {
            QPainterPath fill = path;
            fill.translate(0.5, 0.5);
            Shape(fill);
        }
        break;
    }
    case MetaOp::Rectangle:
    case MetaOp::Ellipse:
    case MetaOp::RoundRect: {
        QPainterPath path;
        const QRectF box = ShapeBox(a);
        if (r.op == MetaOp::Rectangle)
            path.addRect(box);
        else if (r.op == MetaOp::Ellipse)
            path.addEllipse(box);
        else
            path.addRoundedRect(box, std::abs(a[4]) / 2.0, std::abs(a[5]) / 2.0);
        if (inPath_)
            path_.addPath(path);
        else
            Shape(path);
        break;
    }
    case MetaOp::Arc:
        if (inPath_) {
            path_.addPath(ArcPath(a, 0));
        } else if (rop2_ != R2_NOP) {
            Mode();
            QPainterPath arc = ArcPath(a, 0);
            arc.translate(-0.5, -0.5);
            Stroke(arc);
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
        }
        break;
    case MetaOp::Pie:
    case MetaOp::Chord:
        if (inPath_)
            path_.addPath(ArcPath(a, r.op == MetaOp::Pie ? 2 : 1));
        else
            Shape(ArcPath(a, r.op == MetaOp::Pie ? 2 : 1));
        break;
    case MetaOp::FillRect: {
        QPainterPath path;
        path.addRect(QRectF(a[0], a[1], a[2] - a[0], a[3] - a[1]));
        Fill(path, m_.Brushes[static_cast<size_t>(r.index)]);
        break;
    }
    case MetaOp::PatBlt: {
        const QRectF area(a[0], a[1], a[2], a[3]);
        switch (r.rop) {
        case PATCOPY: {
            QPainterPath path;
            path.addRect(area);
            Fill(path, brush_);
            break;
        }
        case PATINVERT:
        case DSTINVERT:
            p_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
            p_.fillRect(area, r.rop == DSTINVERT ? QBrush(Qt::white) : QtBrush(brush_));
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            break;
        case BLACKNESS: p_.fillRect(area, Qt::black); break;
        case WHITENESS: p_.fillRect(area, Qt::white); break;
        default: break;
        }
        break;
    }
    case MetaOp::SetPixel: p_.fillRect(QRectF(a[0], a[1], 1, 1), Colour(a[2])); break;
    case MetaOp::TextOut: Text(r); break;
    case MetaOp::StretchBlt: {
        const QImage& image = m_.Images[static_cast<size_t>(r.index)];
        p_.save();
        if (r.rop == SRCINVERT)
            p_.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        p_.setRenderHint(QPainter::SmoothPixmapTransform, true);
        p_.drawImage(QRectF(a[0], a[1], a[2] - a[0], a[3] - a[1]), image, QRectF(a[4], a[5], a[6] - a[4], a[7] - a[5]));
        p_.restore();
        break;
    }
    default: break;
    }
}

void Player::Run()
{
    for (const MetaRecord& r : m_.Records) {
        if (!lines_.empty() && !KeepsLines(r))
            FlushLines();
        switch (r.op) {
        case MetaOp::SelectPen: pen_ = m_.Pens[static_cast<size_t>(r.index)]; break;
        case MetaOp::SelectBrush: brush_ = m_.Brushes[static_cast<size_t>(r.index)]; break;
        case MetaOp::SelectFont:
            logFont_ = m_.Fonts[static_cast<size_t>(r.index)];
            font_ = raster::MakeQFont(logFont_, charExtra_);
            break;
        case MetaOp::SetROP2: rop2_ = r.a[0]; break;
        case MetaOp::SetBkMode: bkMode_ = r.a[0]; break;
        case MetaOp::SetBkColor: bkColor_ = r.a[0]; break;
        case MetaOp::SetTextColor: textColor_ = r.a[0]; break;
        case MetaOp::SetTextAlign: textAlign_ = static_cast<uint32_t>(r.a[0]); break;
        case MetaOp::SetTextCharExtra:
            charExtra_ = r.a[0];
            font_ = raster::MakeQFont(logFont_, charExtra_);
            break;
        case MetaOp::SetPolyFillMode: fillMode_ = r.a[0]; break;
        case MetaOp::SetGraphicsMode: break;
        case MetaOp::SetArcDirection: arcDirection_ = r.a[0]; break;
        case MetaOp::SelectClip: {
            // The picture's clip lies within the caller's own clip and the frame, never beside it.
            p_.setClipPath(baseClip_);
            if (r.index >= 0) {
                QPainterPath clip;
                clip.addRegion(m_.Regions[static_cast<size_t>(r.index)].Pixels());
                p_.setClipPath(clip, Qt::IntersectClip);
            }
            break;
        }
        case MetaOp::BeginPath:
            inPath_ = true;
            path_ = QPainterPath();
            path_.moveTo(pos_);
            break;
        case MetaOp::EndPath: inPath_ = false; break;
        case MetaOp::AbortPath:
            inPath_ = false;
            path_ = QPainterPath();
            break;
        case MetaOp::CloseFigure:
            if (inPath_)
                path_.closeSubpath();
            break;
        case MetaOp::StrokePath:
            Mode();
            Stroke(path_);
            p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
            path_ = QPainterPath();
            break;
        case MetaOp::FillPath:
        case MetaOp::StrokeAndFillPath:
            path_.setFillRule(fillMode_ == WINDING ? Qt::WindingFill : Qt::OddEvenFill);
            Fill(path_, brush_);
            if (r.op == MetaOp::StrokeAndFillPath)
                Stroke(path_);
            path_ = QPainterPath();
            break;
        case MetaOp::SelectClipPath:
            path_.setFillRule(Qt::OddEvenFill);
            p_.setClipPath(path_, Qt::IntersectClip);
            path_ = QPainterPath();
            break;
        default: Draw(r); break;
        }
    }
    FlushLines();
}

} // namespace

void PlayMetafile(const Metafile& picture, QPainter& painter, const QRectF& target)
{
    if (target.isEmpty() || picture.Width <= 0 || picture.Height <= 0)
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / picture.Width, target.height() / picture.Height);
    painter.setClipRect(QRectF(0, 0, picture.Width, picture.Height), Qt::IntersectClip);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    Player player(picture, painter);
    player.Run();
    painter.restore();
}

} // namespace gdi
