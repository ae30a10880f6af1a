#include "platform/gdi/WmfWriter.h"
#include "platform/gdi/MetafileFile.h"

#include "platform/codepage/Windows1252.h"
#include "platform/gdi/WmfEncoder.h"
#include "platform/gdi/WmfGeometry.h"
#include "platform/gdi/PackedDib.h"

#include <QPainterPath>

#include <cmath>
#include <utility>

namespace gdi::wmf {

void Encoder::PointList(uint16_t function, const std::vector<Point>& pts)
{
    if (pts.size() < 2)
        return;
    Params p;
    p.W(static_cast<int32_t>(pts.size()));
    for (const Point& q : pts)
        p.W(q.x).W(q.y);
    out_.Add(function, p);
}

void Encoder::Polyline(const std::vector<Point>& pts)
{
    for (const std::vector<Point>& piece : SplitPolylineForWmf(pts.data(), static_cast<int>(pts.size()), StrokeBox()))
        PointList(kPolyline, piece);
}

void Encoder::Polygon(const std::vector<Point>& pts)
{
    PointList(kPolygon, ClipPolygonForWmf(pts.data(), static_cast<int>(pts.size()), StrokeBox()));
}

// Bounding-box records list their words from the last argument to the first.
void Encoder::Box(uint16_t function, const int32_t* a, int extra)
{
    Params p;
    for (int i = extra - 1; i >= 0; --i)
        p.W(C16(a[4 + i]));
    p.W(C16(a[3])).W(C16(a[2])).W(C16(a[1])).W(C16(a[0]));
    out_.Add(function, p);
}

// Only the part of the line inside the stroke box is written, so the player's current position
// may differ from ours: a move goes first whenever it does.
void Encoder::LineTo(const Point& to)
{
    const Point from = pos_;
    pos_ = to;
    const auto cut = ClipLine(from, to, StrokeBox());
    if (!cut)
        return;
    const auto [a, b] = *cut;
    SyncAttributes();
    SyncPen(pen_);
    if (!devPos_ || !(*devPos_ == a))
        out_.Add(kMoveTo, {a.y, a.x});
    out_.Add(kLineTo, {b.y, b.x});
    devPos_ = b;
}

// A picture is cut to the frame, its source in proportion.
void Encoder::StretchDib(const MetaRecord& r)
{
    const int32_t* a = r.a;
    const QImage& image = m_.Images[static_cast<size_t>(r.index)];
    const ClipBox box = FrameBox();
    const bool flipX = a[2] < a[0], flipY = a[3] < a[1];
    const double dl = std::min(a[0], a[2]), dr = std::max(a[0], a[2]);
    const double dt = std::min(a[1], a[3]), db = std::max(a[1], a[3]);
    const double cl = std::max<double>(dl, box.left), cr = std::min<double>(dr, box.right);
    const double ct = std::max<double>(dt, box.top), cb = std::min<double>(db, box.bottom);
    if (cl >= cr || ct >= cb)
        return;
    int32_t d[4] = {a[0], a[1], a[2], a[3]};
    int32_t src[4] = {a[4], a[5], a[6], a[7]};
    if (cl > dl || cr < dr || ct > dt || cb < db) {
        // Whole source pixels that cover the kept part, and where they land.
        const double sx = (a[6] - a[4]) / (dr - dl), sy = (a[7] - a[5]) / (db - dt);
        auto toSrcX = [&](double x) { return flipX ? a[6] - (x - dl) * sx : a[4] + (x - dl) * sx; };
        auto toSrcY = [&](double y) { return flipY ? a[7] - (y - dt) * sy : a[5] + (y - dt) * sy; };
        auto toDstX = [&](double u) { return flipX ? dl + (a[6] - u) / sx : dl + (u - a[4]) / sx; };
        auto toDstY = [&](double v) { return flipY ? dt + (a[7] - v) / sy : dt + (v - a[5]) / sy; };
        src[0] = static_cast<int32_t>(std::floor(std::min(toSrcX(cl), toSrcX(cr))));
        src[2] = static_cast<int32_t>(std::ceil(std::max(toSrcX(cl), toSrcX(cr))));
        src[1] = static_cast<int32_t>(std::floor(std::min(toSrcY(ct), toSrcY(cb))));
        src[3] = static_cast<int32_t>(std::ceil(std::max(toSrcY(ct), toSrcY(cb))));
        d[0] = C16(std::llround(toDstX(flipX ? src[2] : src[0])));
        d[2] = C16(std::llround(toDstX(flipX ? src[0] : src[2])));
        d[1] = C16(std::llround(toDstY(flipY ? src[3] : src[1])));
        d[3] = C16(std::llround(toDstY(flipY ? src[1] : src[3])));
        if (flipX)
            std::swap(d[0], d[2]);
        if (flipY)
            std::swap(d[1], d[3]);
    }
    SyncAttributes();
    Params p;
    p.D(r.rop == 0 ? SRCCOPY : r.rop).W(0);
    p.W(src[3] - src[1]).W(src[2] - src[0]).W(src[1]).W(src[0]);
    p.W(d[3] - d[1]).W(d[2] - d[0]).W(d[1]).W(d[0]);
    p.Bytes(PackedDib(image));
    out_.Add(kStretchDib, p);
}

bool Encoder::FillInShapedClip(const MetaRecord& r)
{
    const int32_t* a = r.a;
    Brush brush = brush_;
    Region shape;
    switch (r.op) {
    case MetaOp::Rectangle: shape = CreateRectRgn(a[0], a[1], a[2], a[3]); break;
    case MetaOp::Ellipse: shape = CreateEllipticRgn(a[0], a[1], a[2], a[3]); break;
    case MetaOp::RoundRect: shape = CreateRoundRectRgn(a[0], a[1], a[2], a[3], a[4], a[5]); break;
    case MetaOp::Polygon: shape = CreatePolygonRgn(r.points.data(), static_cast<int>(r.points.size()), fillMode_); break;
    case MetaOp::FillRect:
    case MetaOp::PatBlt: {
        if (r.op == MetaOp::PatBlt && static_cast<uint32_t>(r.rop) != PATCOPY)
            return false;
        const Rect area = FillArea(r);
        shape = CreateRectRgn(area.left, area.top, area.right, area.bottom);
        if (r.op == MetaOp::FillRect)
            brush = m_.Brushes[static_cast<size_t>(r.index)];
        break;
    }
    default: return false;
    }
    if (brush.style == BS_NULL || (shape.Pixels() - shapedClip_->Pixels()).isEmpty())
        return false;
    // The pixels that show, traced along their edges: the polygons fill exactly those.
    QPainterPath path;
    path.addRegion(shape.Pixels() & shapedClip_->Pixels());
    const int32_t fillMode = std::exchange(fillMode_, ALTERNATE);
    SyncAttributes();
    SyncPen(Pen{PS_NULL, 0, 0, {}});
    SyncBrush(brush);
    for (const QPolygonF& polygon : path.simplified().toFillPolygons()) {
        std::vector<Point> pts;
        for (const QPointF& q : polygon)
            pts.push_back(Point{static_cast<int32_t>(std::lround(q.x())), static_cast<int32_t>(std::lround(q.y()))});
        Polygon(pts);
    }
    fillMode_ = fillMode;
    return true;
}

void Encoder::Draw(const MetaRecord& r, bool strokeOnly, bool fillOnly)
{
    if (shapedClip_ && !strokeOnly && FillInShapedClip(r)) {
        const bool outlined = r.op != MetaOp::FillRect && r.op != MetaOp::PatBlt && (pen_.style & 0x0F) != PS_NULL;
        if (outlined && !fillOnly)
            Draw(r, true, false);
        return;
    }
    static const Pen nullPen{PS_NULL, 0, 0, {}};
    static const Brush nullBrush{BS_NULL, 0, 0, QImage()};
    auto shapeObjects = [&] {
        SyncAttributes();
        SyncPen(fillOnly ? nullPen : pen_);
        SyncBrush(strokeOnly ? nullBrush : brush_);
    };
    switch (r.op) {
    case MetaOp::MoveTo:
        // Written only when a line or text needs it, so a move far outside leaves no trace.
        pos_ = Point{r.a[0], r.a[1]};
        break;
    case MetaOp::LineTo: LineTo(Point{r.a[0], r.a[1]}); break;
    case MetaOp::Polyline:
        SyncAttributes();
        SyncPen(pen_);
        Polyline(r.points);
        break;
    case MetaOp::Polygon:
        shapeObjects();
        Polygon(r.points);
        break;
    case MetaOp::Rectangle: {
        Rect cut;
        if (!CutRectangle(std::min(r.a[0], r.a[2]), std::min(r.a[1], r.a[3]), std::max(r.a[0], r.a[2]),
                          std::max(r.a[1], r.a[3]), StrokeBox(), cut))
            break;
        const int32_t a[4] = {cut.left, cut.top, cut.right, cut.bottom};
        shapeObjects();
        Box(kRectangle, a, 0);
        break;
    }
    case MetaOp::Ellipse:
    case MetaOp::RoundRect:
    case MetaOp::Arc:
    case MetaOp::Pie:
    case MetaOp::Chord: {
        // A curve cannot be cut; one wholly outside is left out.
        if (OutsideBox(r.a, StrokeBox()))
            break;
        int32_t a[8];
        std::copy(std::begin(r.a), std::end(r.a), a);
        if (r.op == MetaOp::Arc || r.op == MetaOp::Pie || r.op == MetaOp::Chord) {
            // The radial points only give directions: each is brought onto the bounding box along
            // its ray from the centre. The format knows only counter-clockwise arcs, so a clockwise
            // one runs from its end point to its start point.
            const double cx = (r.a[0] + r.a[2]) / 2.0, cy = (r.a[1] + r.a[3]) / 2.0;
            const double hw = std::max(1.0, std::abs(r.a[2] - r.a[0]) / 2.0);
            const double hh = std::max(1.0, std::abs(r.a[3] - r.a[1]) / 2.0);
            for (int i = 4; i < 8; i += 2) {
                const double dx = a[i] - cx, dy = a[i + 1] - cy;
                const double scale = std::max(std::abs(dx) / hw, std::abs(dy) / hh);
                if (scale > 1.0) {
                    a[i] = static_cast<int32_t>(std::lround(cx + dx / scale));
                    a[i + 1] = static_cast<int32_t>(std::lround(cy + dy / scale));
                }
            }
            if (arcDirection_ == AD_CLOCKWISE) {
                std::swap(a[4], a[6]);
                std::swap(a[5], a[7]);
            }
        }
        // GDI draws a box given right to left or bottom up as the same box; ImageMagick refuses
        // such an ellipse and leaves it out, so the corners go in the order every reader takes.
        if (a[0] > a[2])
            std::swap(a[0], a[2]);
        if (a[1] > a[3])
            std::swap(a[1], a[3]);
        if (r.op == MetaOp::Arc) {
            SyncAttributes();
            SyncPen(pen_);
        } else {
            shapeObjects();
        }
        const uint16_t function = r.op == MetaOp::Ellipse   ? kEllipse
                                  : r.op == MetaOp::RoundRect ? kRoundRect
                                  : r.op == MetaOp::Arc       ? kArc
                                  : r.op == MetaOp::Pie       ? kPie
                                                              : kChord;
        Box(function, a, r.op == MetaOp::Ellipse ? 0 : r.op == MetaOp::RoundRect ? 2 : 4);
        break;
    }
    case MetaOp::FillRect:
    case MetaOp::PatBlt: {
        const bool fill = r.op == MetaOp::FillRect;
        Rect cut;
        if (!CutFill(r, FrameBox(), cut))
            break;
        SyncAttributes();
        SyncBrush(fill ? m_.Brushes[static_cast<size_t>(r.index)] : brush_);
        Params p;
        p.D(fill ? PATCOPY : r.rop).W(cut.bottom - cut.top).W(cut.right - cut.left).W(cut.top).W(cut.left);
        out_.Add(kPatBlt, p);
        break;
    }
    case MetaOp::SetPixel: {
        if (!InBox(FrameBox(), r.a[0], r.a[1]))
            break;
        Params p;
        p.D(static_cast<uint32_t>(r.a[2])).W(r.a[1]).W(r.a[0]);
        out_.Add(kSetPixel, p);
        break;
    }
    case MetaOp::TextOut: {
        // Text anchored further out than the frame is wide cannot reach into it.
        const bool fromPosition = (textAlign_ & TA_UPDATECP) != 0;
        const Point at = fromPosition ? pos_ : Point{r.a[0], r.a[1]};
        const ClipBox reach = WmfFrameBox(m_.Width, m_.Height, std::max(m_.Width, m_.Height));
        if (!InBox(reach, at.x, at.y) || r.text.isEmpty())
            break;
        SyncAttributes();
        SyncText(strokeOnly ? (pen_.color & 0xFFFFFF) : static_cast<COLORREF>(textColor_));
        if (fromPosition && (!devPos_ || !(*devPos_ == at)))
            out_.Add(kMoveTo, {at.y, at.x});
        const QByteArray text = codepage::ToWindows1252Shown(r.text).left(0x7FFF);
        Params p;
        p.W(static_cast<int32_t>(text.size())).Bytes(text).Even().W(at.y).W(at.x);
        out_.Add(kTextOut, p);
        if (fromPosition)
            devPos_.reset();   // the player moves it on by the text's width
        break;
    }
    case MetaOp::StretchBlt: StretchDib(r); break;
    default: break;
    }
}

// The figures of a path bracket, drawn plainly as the path operation asks.
void Encoder::EmitPath(MetaOp how)
{
    const std::vector<const MetaRecord*> figures = std::move(path_);
    path_.clear();
    for (const MetaRecord* r : figures)
        Draw(*r, how == MetaOp::StrokePath, how == MetaOp::FillPath);
}

QByteArray Encoder::Run()
{
    out_.Add(kSetMapMode, {kMmAnisotropic});
    out_.Add(kSetWindowOrg, {0, 0});
    out_.Add(kSetWindowExt, {C16(m_.Height), C16(m_.Width)});
    for (const MetaRecord& r : m_.Records) {
        switch (r.op) {
        case MetaOp::SelectPen: pen_ = m_.Pens[static_cast<size_t>(r.index)]; break;
        case MetaOp::SelectBrush: brush_ = m_.Brushes[static_cast<size_t>(r.index)]; break;
        case MetaOp::SelectFont: font_ = m_.Fonts[static_cast<size_t>(r.index)]; break;
        case MetaOp::SetROP2: rop2_ = r.a[0]; break;
        case MetaOp::SetBkMode: bkMode_ = r.a[0]; break;
        case MetaOp::SetBkColor: bkColor_ = r.a[0]; break;
        case MetaOp::SetTextColor: textColor_ = r.a[0]; break;
        case MetaOp::SetTextAlign: textAlign_ = r.a[0]; break;
        case MetaOp::SetTextCharExtra: charExtra_ = r.a[0]; break;
        case MetaOp::SetPolyFillMode: fillMode_ = r.a[0]; break;
        case MetaOp::SetGraphicsMode: break;
        case MetaOp::SetArcDirection: arcDirection_ = r.a[0]; break;
        case MetaOp::SelectClip:
            SetClip(r.index >= 0 ? &m_.Regions[static_cast<size_t>(r.index)] : nullptr, false);
            break;
        case MetaOp::BeginPath:
            inPath_ = true;
            path_.clear();
            break;
        case MetaOp::EndPath: inPath_ = false; break;
        case MetaOp::AbortPath:
            inPath_ = false;
            path_.clear();
            break;
        case MetaOp::CloseFigure: break;
        case MetaOp::StrokePath:
        case MetaOp::FillPath:
        case MetaOp::StrokeAndFillPath: EmitPath(r.op); break;
        case MetaOp::SelectClipPath:
            // The letters stand in for the clip; what would have filled them is left out.
            EmitPath(MetaOp::StrokeAndFillPath);
            SetClip(nullptr, true);
            break;
        default:
            if (inPath_)
                path_.push_back(&r);
            else
                Draw(r, false, false);
            break;
        }
    }
    if (saved_)
        out_.Add(kRestoreDC, {-1});
    objects_.DeleteAll(out_);
    return out_.Finish(C16(m_.Width), C16(m_.Height), objects_.MaxSlots());
}

} // namespace gdi::wmf

namespace gdi {

QByteArray EncodeWmf(const Metafile& picture)
{
    wmf::Encoder e(picture);
    return e.Run();
}

bool SaveWmf(const Metafile& picture, const QString& fileName, QString* error)
{
    return SaveMetafileBytes(EncodeWmf(picture), fileName, error);
}

} // namespace gdi
