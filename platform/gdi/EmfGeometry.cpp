// The drawing records of the enhanced metafile with their bounds: lines, polygons and shapes,
// block transfers, text placed and measured as the raster back end does it, and paths.

#include "platform/gdi/EmfEncoder.h"
#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/PackedDib.h"

#include <QTransform>
#include <cmath>

namespace gdi::emf {

namespace {

constexpr uint32_t kEtoNone = 0;

Box Bounds(const Point* pts, size_t count)
{
    Box box;
    for (size_t i = 0; i < count; ++i)
        box.Add(pts[i].x, pts[i].y);
    return box;
}

bool Within(const Box& box, const ClipBox& visible)
{
    return box.empty
        || (box.left >= visible.left && box.right <= visible.right && box.top >= visible.top
            && box.bottom <= visible.bottom);
}

} // namespace

void TextMeasure::Use(const Font& font, int32_t extra)
{
    if (!dc_)
        dc_ = std::make_unique<RasterDC>(1, 1);
    else if (dc_->GetFont() == font && dc_->GetTextCharacterExtra() == extra)
        return;
    dc_->SetTextCharacterExtra(extra);
    dc_->SelectFont(font);
}

std::vector<int32_t> TextMeasure::Advances(const QString& text) const
{
    const qsizetype n = text.size();
    std::vector<int32_t> dx(static_cast<size_t>(n), 0);
    // Widths of growing prefixes are exact but cost n^2; long texts are measured by character.
    constexpr qsizetype kPrefixLimit = 512;
    int32_t before = 0;
    for (qsizetype i = 0; i < n;) {
        const qsizetype len
            = (text.at(i).isHighSurrogate() && i + 1 < n && text.at(i + 1).isLowSurrogate()) ? 2 : 1;
        if (n <= kPrefixLimit) {
            const int32_t upTo = dc_->GetTextExtentPoint(text.left(i + len)).cx;
            dx[static_cast<size_t>(i)] = upTo - before;
            before = upTo;
        } else {
            dx[static_cast<size_t>(i)] = dc_->GetTextExtentPoint(text.mid(i, len)).cx;
            before += dx[static_cast<size_t>(i)];
        }
        i += len;
    }
    if (n > kPrefixLimit && n > 0)
        dx[static_cast<size_t>(n - 1)] += dc_->GetTextExtentPoint(text).cx - before;
    return dx;
}

void Encoder::Poly(uint32_t type32, uint32_t type16, const Point* pts, size_t count, const Box& box)
{
    const bool small
        = box.empty || (box.left >= INT16_MIN && box.right <= INT16_MAX && box.top >= INT16_MIN && box.bottom <= INT16_MAX);
    if (inPath_)
        pathBox_.Add(box);
    const qsizetype at = Begin(small ? type16 : type32);
    out_.Rect(box);
    out_.U32(static_cast<uint32_t>(count));
    char* q = out_.Grow(count * (small ? 4 : 8));
    if (small) {
        for (size_t i = 0; i < count; ++i) {
            qToLittleEndian(static_cast<int16_t>(pts[i].x), q);
            qToLittleEndian(static_cast<int16_t>(pts[i].y), q + 2);
            q += 4;
        }
    } else {
        for (size_t i = 0; i < count; ++i) {
            qToLittleEndian(pts[i].x, q);
            qToLittleEndian(pts[i].y, q + 4);
            q += 8;
        }
    }
    End(at);
}

// Within a path a cut would end the figure, and a filled path closes every figure: there the line
// stays whole. Elsewhere it goes in pieces readers can count, each cut to what can show unless it
// lies inside (a trace, mostly), as the bounds every record states tell.
void Encoder::Polyline(const std::vector<Point>& pts)
{
    const size_t piece = kEmfMaxPolyPoints;
    const ClipBox visible = StrokeBox();
    auto write = [&](const Point* from, size_t count, const Box& box) {
        if (!inPath_) {
            SyncAttributes();
            SyncPen();
        }
        Poly(kPolyline, kPolyline16, from, count, box);
    };
    const size_t whole = inPath_ ? pts.size() : piece;
    for (size_t start = 0;; start += whole - 1) {
        const size_t count = std::min(whole, pts.size() - start);
        const Box box = Bounds(pts.data() + start, count);
        if (inPath_ || Within(box, visible))
            write(pts.data() + start, count, box);
        else
            for (const std::vector<Point>& cut : SplitPolyline(pts.data() + start, static_cast<int>(count), visible, piece))
                write(cut.data(), cut.size(), Bounds(cut.data(), cut.size()));
        if (start + count >= pts.size())
            break;
    }
}

void Encoder::MoveDeviceTo(const Point& at)
{
    if (!devPos_ || !(*devPos_ == at))
        Simple(kMoveToEx, {static_cast<uint32_t>(at.x), static_cast<uint32_t>(at.y)});
    devPos_ = at;
}

// Outside a path only the part of the line that can show is written, so the reader's current
// position may differ from ours: a move goes first whenever it does.
void Encoder::LineTo(const Point& to)
{
    const Point from = pos_;
    pos_ = to;
    if (inPath_) {
        pathBox_.Add(from.x, from.y);
        pathBox_.Add(to.x, to.y);
        Simple(kLineTo, {static_cast<uint32_t>(to.x), static_cast<uint32_t>(to.y)});
        devPos_ = to;
        return;
    }
    const auto cut = ClipLine(from, to, StrokeBox());
    if (!cut)
        return;
    SyncAttributes();
    SyncPen();
    MoveDeviceTo(cut->first);
    Simple(kLineTo, {static_cast<uint32_t>(cut->second.x), static_cast<uint32_t>(cut->second.y)});
    devPos_ = cut->second;
}

// Rectangle-bounded shapes: the box as the call gave it, then `points` more points.
void Encoder::Shape(uint32_t type, const int32_t* a, int points)
{
    // The direction picks the side an arc, pie or chord covers and where a styled outline starts.
    SetAttr(eArcDirection_, arcDirection_, kSetArcDirection);
    if (inPath_) {
        pathBox_.Add(a[0], a[1]);
        pathBox_.Add(a[2], a[3]);
    }
    const qsizetype at = Begin(type);
    out_.Rect(a[0], a[1], a[2], a[3]);
    for (int i = 0; i < 2 * points; ++i)
        out_.I32(a[4 + i]);
    End(at);
}

// A block transfer without a source: the brush and the destination only.
void Encoder::Blt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop)
{
    const qsizetype at = Begin(kBitBlt);
    out_.Rect(x, y, int64_t {x} + w - 1, int64_t {y} + h - 1);
    out_.I32(x);
    out_.I32(y);
    out_.I32(w);
    out_.I32(h);
    out_.U32(rop);
    out_.I32(0);
    out_.I32(0);
    for (float v : {1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f})
        out_.F32(v);
    for (int i = 0; i < 6; ++i) // background colour, usage, header and bits: none
        out_.U32(0);
    End(at);
}

void Encoder::Text(const MetaRecord& r)
{
    // Text anchored further out than the frame is wide cannot reach into it.
    const Point at = (textAlign_ & TA_UPDATECP) ? pos_ : Point {r.a[0], r.a[1]};
    const ClipBox reach = VisibleBox(m_.Width, m_.Height, std::nullopt, std::max(m_.Width, m_.Height));
    if (r.text.isEmpty() || (!inPath_ && !InBox(reach, at.x, at.y)))
        return;
    if (!inPath_)
        SyncAttributes();
    SyncFont();
    SetAttr(eTextColor_, textColor_, kSetTextColor);
    SetAttr(eTextAlign_, textAlign_, kSetTextAlign);
    const Font& font = CurrentFont();
    measure_.Use(font, charExtra_);
    const std::vector<int32_t> dx = measure_.Advances(r.text);
    int64_t width = 0;
    for (int32_t v : dx)
        width += v;
    const TextMetric tm = measure_.Metrics();

    // The cell the text covers, for the bounds, placed as the raster back end places it.
    double left = 0;
    switch (textAlign_ & TA_HORIZONTAL_MASK) {
    case TA_RIGHT:
        left = -static_cast<double>(width);
        break;
    case TA_CENTER:
        left = -static_cast<double>(width / 2);
        break;
    default:
        break;
    }
    double top = 0;
    switch (textAlign_ & TA_VERTICAL_MASK) {
    case TA_BASELINE:
        top = -tm.ascent;
        break;
    case TA_BOTTOM:
        top = -(tm.ascent + tm.descent);
        break;
    default:
        break;
    }
    QTransform toDevice;
    toDevice.translate(at.x, at.y);
    if (font.escapement != 0)
        toDevice.rotate(-font.escapement / 10.0);
    const QRectF cell
        = toDevice.mapRect(QRectF(left, top, static_cast<double>(width), tm.ascent + tm.descent));
    Box box;
    if (width > 0) {
        box.Add(static_cast<int64_t>(std::floor(cell.left())), static_cast<int64_t>(std::floor(cell.top())));
        box.Add(static_cast<int64_t>(std::ceil(cell.right())) - 1,
            static_cast<int64_t>(std::ceil(cell.bottom())) - 1);
    }
    if (inPath_)
        pathBox_.Add(box);
    if ((textAlign_ & TA_UPDATECP) && (textAlign_ & TA_HORIZONTAL_MASK) == TA_LEFT)
        pos_.x = static_cast<int32_t>(std::lround(toDevice.map(QPointF(static_cast<double>(width), 0)).x()));

    if (textAlign_ & TA_UPDATECP) {
        MoveDeviceTo(at);
        devPos_.reset(); // the reader moves it on by the text's width
    }
    const uint32_t chars = static_cast<uint32_t>(r.text.size());
    const uint32_t stringBytes = (chars * 2 + 3) & ~3u;
    const qsizetype start = Begin(kExtTextOutW);
    out_.Rect(box);
    out_.U32(GM_COMPATIBLE); // escapement turns the text, as on the raster back end
    out_.F32(2540.0f / 96.0f); // page units to 0.01 mm
    out_.F32(2540.0f / 96.0f);
    out_.I32(r.a[0]);
    out_.I32(r.a[1]);
    out_.U32(chars);
    out_.U32(76); // the string follows the fixed part
    out_.U32(kEtoNone);
    out_.Rect(0, 0, -1, -1); // no opaquing or clipping rectangle
    out_.U32(76 + stringBytes);
    char* s = out_.Grow(stringBytes);
    std::memset(s, 0, stringBytes);
    for (uint32_t i = 0; i < chars; ++i)
        qToLittleEndian(static_cast<uint16_t>(r.text.at(i).unicode()), s + 2 * i);
    char* d = out_.Grow(dx.size() * 4);
    for (int32_t v : dx) {
        qToLittleEndian(v, d);
        d += 4;
    }
    End(start);
}

void Encoder::Stretch(const MetaRecord& r)
{
    const int32_t* a = r.a;
    const QImage& image = m_.Images[static_cast<size_t>(r.index)];
    if (image.isNull())
        return;
    SyncAttributes();
    Box box;
    box.Add(std::min(a[0], a[2]), std::min(a[1], a[3]));
    box.Add(int64_t {std::max(a[0], a[2])} - 1, int64_t {std::max(a[1], a[3])} - 1);
    const QByteArray dib = PackedDib(image);
    const qsizetype at = Begin(kStretchDiBits);
    out_.Rect(box);
    out_.I32(a[0]);
    out_.I32(a[1]);
    out_.I32(a[4]);
    out_.I32(a[5]);
    out_.I32(a[6] - a[4]);
    out_.I32(a[7] - a[5]);
    out_.U32(80); // header after the record's 80 fixed bytes, then the bits
    out_.U32(kDibHeaderSize);
    out_.U32(80 + kDibHeaderSize);
    out_.U32(static_cast<uint32_t>(dib.size()) - kDibHeaderSize);
    out_.U32(kDibRgbColors);
    out_.U32(r.rop == 0 ? SRCCOPY : r.rop);
    out_.I32(a[2] - a[0]);
    out_.I32(a[3] - a[1]);
    out_.Bytes(dib);
    End(at);
}

void Encoder::PathOp(uint32_t type, bool pen, bool brush)
{
    SyncAttributes();
    if (pen)
        SyncPen();
    if (brush)
        SyncBrush(brush_);
    const qsizetype at = Begin(type);
    out_.Rect(pathBox_);
    End(at);
    pathBox_ = Box {};
}

void Encoder::Draw(const MetaRecord& r)
{
    // Inside a path bracket the figures only make the path; the objects that stroke or fill it
    // are selected by the path operation.
    const bool paint = !inPath_;
    auto line = [&] {
        if (paint) {
            SyncAttributes();
            SyncPen();
        }
    };
    auto shape = [&] {
        if (paint) {
            SyncAttributes();
            SyncPen();
            SyncBrush(brush_);
        }
    };
    const int32_t* a = r.a;
    // A curve cannot be cut; one wholly outside is left out.
    auto curve = [&](uint32_t type, int points, bool filled) {
        if (!inPath_ && OutsideBox(a, StrokeBox()))
            return;
        if (filled)
            shape();
        else
            line();
        Shape(type, a, points);
    };
    switch (r.op) {
    case MetaOp::MoveTo:
        // Outside a path written only when a line or text needs it, so a move far outside leaves
        // no trace; inside it starts a figure.
        pos_ = Point {a[0], a[1]};
        if (inPath_) {
            pathBox_.Add(a[0], a[1]);
            MoveDeviceTo(pos_);
        }
        break;
    case MetaOp::LineTo:
        LineTo(Point {a[0], a[1]});
        break;
    case MetaOp::Polyline:
        Polyline(r.points);
        break;
    case MetaOp::Polygon: {
        const Box box = Bounds(r.points.data(), r.points.size());
        if (inPath_ || Within(box, StrokeBox())) {
            shape();
            Poly(kPolygon, kPolygon16, r.points.data(), r.points.size(), box);
            break;
        }
        const std::vector<Point> cut = ClipPolygon(r.points.data(), static_cast<int>(r.points.size()), StrokeBox());
        if (cut.size() < 2)
            break;
        shape();
        Poly(kPolygon, kPolygon16, cut.data(), cut.size(), Bounds(cut.data(), cut.size()));
        break;
    }
    case MetaOp::Rectangle: {
        // Corners given backwards draw the same rectangle; cut, they go in order.
        Rect cut {a[0], a[1], a[2], a[3]};
        if (!inPath_
            && !CutRectangle(std::min(a[0], a[2]), std::min(a[1], a[3]), std::max(a[0], a[2]), std::max(a[1], a[3]),
                StrokeBox(), cut))
            break;
        shape();
        const int32_t kept[4] = {cut.left, cut.top, cut.right, cut.bottom};
        Shape(kRectangle, kept, 0);
        break;
    }
    case MetaOp::Ellipse:
        curve(kEllipse, 0, true);
        break;
    case MetaOp::RoundRect:
        curve(kRoundRect, 1, true);
        break;
    case MetaOp::Arc:
        curve(kArc, 2, false);
        break;
    case MetaOp::Pie:
        curve(kPie, 2, true);
        break;
    case MetaOp::Chord:
        curve(kChord, 2, true);
        break;
    case MetaOp::FillRect:
    case MetaOp::PatBlt: {
        // The brush of a FillRect is selected for it; the next call that paints with the
        // selected brush brings that one back.
        const bool fill = r.op == MetaOp::FillRect;
        Rect cut;
        if (!CutFill(r, FrameBox(), cut))
            break;
        SyncAttributes();
        SyncBrush(fill ? r.index : brush_);
        Blt(cut.left, cut.top, cut.right - cut.left, cut.bottom - cut.top, fill ? PATCOPY : r.rop);
        break;
    }
    case MetaOp::SetPixel:
        if (!InBox(FrameBox(), a[0], a[1]))
            break;
        Simple(kSetPixelV,
            {static_cast<uint32_t>(a[0]), static_cast<uint32_t>(a[1]),
                static_cast<uint32_t>(a[2]) & 0xFFFFFF});
        break;
    case MetaOp::TextOut:
        Text(r);
        break;
    case MetaOp::StretchBlt:
        Stretch(r);
        break;
    default:
        break;
    }
}

} // namespace gdi::emf
