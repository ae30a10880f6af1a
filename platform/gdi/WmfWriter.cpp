#include "platform/gdi/WmfWriter.h"

#include "platform/codepage/Windows1252.h"

#include <QSaveFile>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace gdi {

namespace {

// Record functions of the records we write.
enum : uint16_t {
    kEof = 0x0000,
    kSaveDC = 0x001E,
    kSetBkMode = 0x0102,
    kSetMapMode = 0x0103,
    kSetRop2 = 0x0104,
    kSetPolyFillMode = 0x0106,
    kSetTextCharExtra = 0x0108,
    kRestoreDC = 0x0127,
    kSelectObject = 0x012D,
    kSetTextAlign = 0x012E,
    kDibCreatePatternBrush = 0x0142,
    kDeleteObject = 0x01F0,
    kSetBkColor = 0x0201,
    kSetTextColor = 0x0209,
    kSetWindowOrg = 0x020B,
    kSetWindowExt = 0x020C,
    kLineTo = 0x0213,
    kMoveTo = 0x0214,
    kCreatePenIndirect = 0x02FA,
    kCreateFontIndirect = 0x02FB,
    kCreateBrushIndirect = 0x02FC,
    kPolygon = 0x0324,
    kPolyline = 0x0325,
    kIntersectClipRect = 0x0416,
    kEllipse = 0x0418,
    kRectangle = 0x041B,
    kSetPixel = 0x041F,
    kTextOut = 0x0521,
    kRoundRect = 0x061C,
    kPatBlt = 0x061D,
    kArc = 0x0817,
    kPie = 0x081A,
    kChord = 0x0830,
    kStretchDib = 0x0F43,
};

constexpr uint16_t kMmAnisotropic = 8;
constexpr uint16_t kBsDibPatternPt = 6;
constexpr uint8_t kAnsiCharset = 0;
// Objects kept alive at once before the least recently used one is deleted: enough for a
// chart's pens, brushes and fonts, small enough for every player's object table.
constexpr int kObjectBudget = 40;

int16_t C16(int64_t v)
{
    return static_cast<int16_t>(std::clamp<int64_t>(v, -kWmfCoordinateLimit, kWmfCoordinateLimit));
}

bool InBox(const WmfClipBox& box, int64_t x, int64_t y)
{
    return x >= box.left && x <= box.right && y >= box.top && y <= box.bottom;
}

bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const WmfClipBox& box);
Point RoundPoint(double x, double y);

// Little-endian parameter buffer of one record.
class Params {
public:
    Params& W(int32_t v)
    {
        const uint16_t u = static_cast<uint16_t>(v);
        bytes_.append(static_cast<char>(u & 0xFF));
        bytes_.append(static_cast<char>(u >> 8));
        return *this;
    }
    Params& D(uint32_t v)
    {
        W(static_cast<int32_t>(v & 0xFFFF));
        W(static_cast<int32_t>(v >> 16));
        return *this;
    }
    Params& B(uint8_t v)
    {
        bytes_.append(static_cast<char>(v));
        return *this;
    }
    Params& Bytes(const QByteArray& b)
    {
        bytes_.append(b);
        return *this;
    }
    Params& Even()
    {
        if (bytes_.size() % 2)
            bytes_.append('\0');
        return *this;
    }
    const QByteArray& Data() const { return bytes_; }

private:
    QByteArray bytes_;
};

// A packed device-independent bitmap: 24 bits per pixel, rows bottom-up, padded to 4 bytes.
QByteArray PackedDib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int stride = (w * 3 + 3) & ~3;
    Params p;
    p.D(40).D(static_cast<uint32_t>(w)).D(static_cast<uint32_t>(h)).W(1).W(24).D(0);
    p.D(static_cast<uint32_t>(stride * h)).D(3780).D(3780).D(0).D(0);
    QByteArray out = p.Data();
    out.reserve(out.size() + stride * h);
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            out.append(static_cast<char>(qBlue(row[x])));
            out.append(static_cast<char>(qGreen(row[x])));
            out.append(static_cast<char>(qRed(row[x])));
        }
        for (int i = w * 3; i < stride; ++i)
            out.append('\0');
    }
    return out;
}

uint16_t WmfPenStyle(uint32_t style)
{
    uint32_t kind = style & PS_STYLE_MASK;
    if (kind == PS_USERSTYLE)
        kind = PS_DASH;
    else if (kind == PS_ALTERNATE)
        kind = PS_DOT;
    else if (kind > PS_INSIDEFRAME)
        kind = PS_SOLID;
    return static_cast<uint16_t>(kind | (style & (PS_ENDCAP_MASK | PS_JOIN_MASK)));
}

// The emitted device state that selecting objects and setting attributes changes. SaveDC and
// RestoreDC bring it back on playback, so the writer keeps a copy with the saved level.
struct DeviceState {
    int pen = -1;
    int brush = -1;
    int font = -1;
    std::optional<int32_t> rop2, bkMode, bkColor, textColor, textAlign, charExtra, fillMode;
};

class Encoder {
public:
    explicit Encoder(const Metafile& m) : m_(m) {}
    QByteArray Run();

private:
    enum class Kind { Pen, Brush, Font };
    struct Slot {
        bool used = false;
        Kind kind = Kind::Pen;
        QByteArray key;
        uint64_t lastUse = 0;
    };

    void Record(uint16_t function, const Params& p);
    void Record(uint16_t function, std::initializer_list<int32_t> words);
    void SetAttr(std::optional<int32_t>& emitted, int32_t value, uint16_t function, bool dword);
    int UseObject(Kind kind, const QByteArray& key, uint16_t function, const Params& params);
    void Select(Kind kind, int slot, int& selected);
    void SyncPen(const Pen& pen);
    void SyncBrush(const Brush& brush);
    void SyncFont();
    void SyncAttributes();
    void SyncText(COLORREF color);
    void SetClip(const Region* region, bool nothing);
    void Draw(const MetaRecord& r, bool strokeOnly, bool fillOnly);
    void EmitPath(MetaOp how);
    void Polyline(const std::vector<Point>& pts);
    void Polygon(const std::vector<Point>& pts);
    void Box(uint16_t function, const int32_t* a, int extra);
    void LineTo(const Point& to);
    void StretchDib(const MetaRecord& r);
    // What can show: the frame, or the part of it the clip leaves, widened by margin.
    WmfClipBox VisibleBox(int32_t margin) const;
    // Strokes are cut one pen width outside what can show, fills one pixel outside.
    WmfClipBox StrokeBox() const { return VisibleBox(std::max(1, pen_.width)); }
    WmfClipBox FrameBox() const { return VisibleBox(1); }

    const Metafile& m_;
    QByteArray body_;
    uint32_t maxRecord_ = 0;
    std::vector<Slot> slots_;
    size_t maxSlots_ = 0;
    uint64_t clock_ = 0;
    std::map<std::pair<int, QByteArray>, int> cache_;

    // What the recording has selected.
    Pen pen_;
    Brush brush_;
    Font font_;
    int32_t rop2_ = R2_COPYPEN, bkMode_ = OPAQUE, bkColor_ = 0xFFFFFF, textColor_ = 0, textAlign_ = 0,
            charExtra_ = 0, fillMode_ = ALTERNATE;
    Point pos_;
    int32_t arcDirection_ = AD_COUNTERCLOCKWISE;
    // The player's current position, as far as the records have set it.
    std::optional<Point> devPos_;

    DeviceState dev_;
    std::optional<DeviceState> saved_;
    std::optional<Rect> clipBox_;   // the written clip rectangle, while there is one
    bool inPath_ = false;
    std::vector<const MetaRecord*> path_;
};

void Encoder::Record(uint16_t function, const Params& p)
{
    const uint32_t words = 3 + static_cast<uint32_t>((p.Data().size() + 1) / 2);
    Params head;
    head.D(words).W(function);
    body_.append(head.Data());
    body_.append(p.Data());
    if (p.Data().size() % 2)
        body_.append('\0');
    maxRecord_ = std::max(maxRecord_, words);
}

void Encoder::Record(uint16_t function, std::initializer_list<int32_t> words)
{
    Params p;
    for (int32_t w : words)
        p.W(w);
    Record(function, p);
}

void Encoder::SetAttr(std::optional<int32_t>& emitted, int32_t value, uint16_t function, bool dword)
{
    if (emitted && *emitted == value)
        return;
    Params p;
    if (dword)
        p.D(static_cast<uint32_t>(value));
    else
        p.W(value);
    Record(function, p);
    emitted = value;
}

// Finds or creates the object; new objects take the lowest free slot, as players fill their
// object table. When the budget is used up the least recently used object that is neither
// selected nor held by a saved state is deleted first.
int Encoder::UseObject(Kind kind, const QByteArray& key, uint16_t function, const Params& params)
{
    const auto found = cache_.find({static_cast<int>(kind), key});
    if (found != cache_.end()) {
        slots_[static_cast<size_t>(found->second)].lastUse = ++clock_;
        return found->second;
    }
    int live = 0;
    for (const Slot& s : slots_)
        live += s.used ? 1 : 0;
    if (live >= kObjectBudget) {
        auto pinned = [&](int i) {
            return i == dev_.pen || i == dev_.brush || i == dev_.font ||
                   (saved_ && (i == saved_->pen || i == saved_->brush || i == saved_->font));
        };
        int victim = -1;
        for (int i = 0; i < static_cast<int>(slots_.size()); ++i) {
            const Slot& s = slots_[static_cast<size_t>(i)];
            if (s.used && !pinned(i) && (victim < 0 || s.lastUse < slots_[static_cast<size_t>(victim)].lastUse))
                victim = i;
        }
        if (victim >= 0) {
            Record(kDeleteObject, {victim});
            Slot& s = slots_[static_cast<size_t>(victim)];
            cache_.erase({static_cast<int>(s.kind), s.key});
            s = Slot{};
        }
    }
    size_t index = 0;
    while (index < slots_.size() && slots_[index].used)
        ++index;
    if (index == slots_.size())
        slots_.push_back(Slot{});
    slots_[index] = Slot{true, kind, key, ++clock_};
    maxSlots_ = std::max(maxSlots_, slots_.size());
    Record(function, params);
    cache_[{static_cast<int>(kind), key}] = static_cast<int>(index);
    return static_cast<int>(index);
}

void Encoder::Select(Kind, int slot, int& selected)
{
    if (selected == slot)
        return;
    Record(kSelectObject, {slot});
    selected = slot;
}

void Encoder::SyncPen(const Pen& pen)
{
    Params p;
    p.W(WmfPenStyle(pen.style)).W(std::clamp(pen.width, 0, kWmfCoordinateLimit)).W(0).D(pen.color & 0xFFFFFF);
    Select(Kind::Pen, UseObject(Kind::Pen, p.Data(), kCreatePenIndirect, p), dev_.pen);
}

void Encoder::SyncBrush(const Brush& brush)
{
    if (brush.style == BS_PATTERN && !brush.pattern.isNull()) {
        Params p;
        p.W(kBsDibPatternPt).W(0).Bytes(PackedDib(brush.pattern));
        Select(Kind::Brush, UseObject(Kind::Brush, p.Data(), kDibCreatePatternBrush, p), dev_.brush);
        return;
    }
    const uint16_t style = brush.style == BS_PATTERN ? BS_SOLID : static_cast<uint16_t>(brush.style);
    Params p;
    p.W(style).D(brush.color & 0xFFFFFF).W(brush.hatch);
    Select(Kind::Brush, UseObject(Kind::Brush, p.Data(), kCreateBrushIndirect, p), dev_.brush);
}

void Encoder::SyncFont()
{
    const Font& f = font_;
    QByteArray face = codepage::ToWindows1252Shown(f.faceName).left(31);
    face.append(QByteArray(32 - face.size(), '\0'));
    Params p;
    p.W(C16(f.height)).W(C16(f.width)).W(f.escapement).W(f.orientation).W(f.weight);
    p.B(f.italic ? 1 : 0).B(f.underline ? 1 : 0).B(f.strikeOut ? 1 : 0).B(kAnsiCharset);
    p.B(f.outPrecision).B(0).B(f.quality).B(0).Bytes(face);
    Select(Kind::Font, UseObject(Kind::Font, p.Data(), kCreateFontIndirect, p), dev_.font);
}

void Encoder::SyncAttributes()
{
    SetAttr(dev_.rop2, rop2_, kSetRop2, false);
    SetAttr(dev_.bkMode, bkMode_, kSetBkMode, false);
    SetAttr(dev_.bkColor, bkColor_, kSetBkColor, true);
    SetAttr(dev_.fillMode, fillMode_, kSetPolyFillMode, false);
}

void Encoder::SyncText(COLORREF color)
{
    SyncFont();
    SetAttr(dev_.textColor, static_cast<int32_t>(color), kSetTextColor, true);
    SetAttr(dev_.textAlign, textAlign_, kSetTextAlign, false);
    SetAttr(dev_.charExtra, charExtra_, kSetTextCharExtra, false);
}

// One clip level: the previous one is restored, then a new level with the region's bounding
// rectangle (or nothing at all) is opened.
void Encoder::SetClip(const Region* region, bool nothing)
{
    if (saved_) {
        Record(kRestoreDC, {-1});
        dev_ = *saved_;
        saved_.reset();
    }
    clipBox_.reset();
    if (!region && !nothing)
        return;
    saved_ = dev_;
    Record(kSaveDC, Params());
    Rect box{0, 0, 0, 0};
    if (region && !region->IsEmpty()) {
        const WmfClipBox frame = FrameBox();
        box = region->Box();
        box = Rect{std::clamp(box.left, frame.left, frame.right), std::clamp(box.top, frame.top, frame.bottom),
                   std::clamp(box.right, frame.left, frame.right), std::clamp(box.bottom, frame.top, frame.bottom)};
    }
    Record(kIntersectClipRect, {box.bottom, box.right, box.top, box.left});
    clipBox_ = box;
}

void Encoder::Polyline(const std::vector<Point>& pts)
{
    for (const std::vector<Point>& piece : SplitPolylineForWmf(pts.data(), static_cast<int>(pts.size()), StrokeBox())) {
        if (piece.size() < 2)
            continue;
        Params p;
        p.W(static_cast<int32_t>(piece.size()));
        for (const Point& q : piece)
            p.W(q.x).W(q.y);
        Record(kPolyline, p);
    }
}

void Encoder::Polygon(const std::vector<Point>& pts)
{
    const std::vector<Point> clipped = ClipPolygonForWmf(pts.data(), static_cast<int>(pts.size()), StrokeBox());
    if (clipped.size() < 2)
        return;
    Params p;
    p.W(static_cast<int32_t>(clipped.size()));
    for (const Point& q : clipped)
        p.W(q.x).W(q.y);
    Record(kPolygon, p);
}

// Bounding-box records list their words from the last argument to the first.
void Encoder::Box(uint16_t function, const int32_t* a, int extra)
{
    Params p;
    for (int i = extra - 1; i >= 0; --i)
        p.W(C16(a[4 + i]));
    p.W(C16(a[3])).W(C16(a[2])).W(C16(a[1])).W(C16(a[0]));
    Record(function, p);
}

// Readers take the picture's extent from the coordinates of its records, pen widths included, and
// scale that extent into the frame; geometry that the clip hides is therefore cut as well, or a
// clipped trace of a zoomed chart would still shrink the picture.
WmfClipBox Encoder::VisibleBox(int32_t margin) const
{
    Rect r{0, 0, m_.Width, m_.Height};
    if (clipBox_)
        r = Rect{std::max(r.left, clipBox_->left), std::max(r.top, clipBox_->top), std::min(r.right, clipBox_->right),
                 std::min(r.bottom, clipBox_->bottom)};
    auto lim = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -kWmfCoordinateLimit, kWmfCoordinateLimit)); };
    return WmfClipBox{lim(int64_t{r.left} - margin), lim(int64_t{r.top} - margin), lim(int64_t{r.right} + margin),
                      lim(int64_t{r.bottom} + margin)};
}

// Only the part of the line inside the stroke box is written, so the player's current position
// may differ from ours: a move goes first whenever it does.
void Encoder::LineTo(const Point& to)
{
    const Point from = pos_;
    pos_ = to;
    double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
    if (!ClipSegment(x0, y0, x1, y1, StrokeBox()))
        return;
    const Point a = RoundPoint(x0, y0), b = RoundPoint(x1, y1);
    SyncAttributes();
    SyncPen(pen_);
    if (!devPos_ || !(*devPos_ == a))
        Record(kMoveTo, {a.y, a.x});
    Record(kLineTo, {b.y, b.x});
    devPos_ = b;
}

// A picture is cut to the frame, its source in proportion.
void Encoder::StretchDib(const MetaRecord& r)
{
    const int32_t* a = r.a;
    const QImage& image = m_.Images[static_cast<size_t>(r.index)];
    const WmfClipBox box = FrameBox();
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
    Record(kStretchDib, p);
}

void Encoder::Draw(const MetaRecord& r, bool strokeOnly, bool fillOnly)
{
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
        // Edges cut away lie beyond the frame and the pen, where nothing of them shows.
        const WmfClipBox box = StrokeBox();
        int32_t a[4] = {std::clamp(std::min(r.a[0], r.a[2]), box.left, box.right),
                        std::clamp(std::min(r.a[1], r.a[3]), box.top, box.bottom),
                        std::clamp(std::max(r.a[0], r.a[2]), box.left, box.right),
                        std::clamp(std::max(r.a[1], r.a[3]), box.top, box.bottom)};
        if (a[0] == a[2] || a[1] == a[3])
            break;
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
        const WmfClipBox box = StrokeBox();
        if (std::max(r.a[0], r.a[2]) < box.left || std::min(r.a[0], r.a[2]) > box.right ||
            std::max(r.a[1], r.a[3]) < box.top || std::min(r.a[1], r.a[3]) > box.bottom)
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
        // A PatBlt's rectangle is x, y, width, height; FillRect's left, top, right, bottom.
        const bool fill = r.op == MetaOp::FillRect;
        const WmfClipBox box = FrameBox();
        const int64_t right = fill ? r.a[2] : int64_t{r.a[0]} + r.a[2];
        const int64_t bottom = fill ? r.a[3] : int64_t{r.a[1]} + r.a[3];
        const int32_t l = static_cast<int32_t>(std::clamp<int64_t>(r.a[0], box.left, box.right));
        const int32_t t = static_cast<int32_t>(std::clamp<int64_t>(r.a[1], box.top, box.bottom));
        const int32_t rr = static_cast<int32_t>(std::clamp<int64_t>(right, box.left, box.right));
        const int32_t b = static_cast<int32_t>(std::clamp<int64_t>(bottom, box.top, box.bottom));
        if (rr <= l || b <= t)
            break;
        SyncAttributes();
        SyncBrush(fill ? m_.Brushes[static_cast<size_t>(r.index)] : brush_);
        Params p;
        p.D(fill ? PATCOPY : r.rop).W(b - t).W(rr - l).W(t).W(l);
        Record(kPatBlt, p);
        break;
    }
    case MetaOp::SetPixel: {
        if (!InBox(FrameBox(), r.a[0], r.a[1]))
            break;
        Params p;
        p.D(static_cast<uint32_t>(r.a[2])).W(r.a[1]).W(r.a[0]);
        Record(kSetPixel, p);
        break;
    }
    case MetaOp::TextOut: {
        // Text anchored further out than the frame is wide cannot reach into it.
        const bool fromPosition = (textAlign_ & TA_UPDATECP) != 0;
        const Point at = fromPosition ? pos_ : Point{r.a[0], r.a[1]};
        const WmfClipBox reach = WmfFrameBox(m_.Width, m_.Height, std::max(m_.Width, m_.Height));
        if (!InBox(reach, at.x, at.y) || r.text.isEmpty())
            break;
        SyncAttributes();
        SyncText(strokeOnly ? (pen_.color & 0xFFFFFF) : static_cast<COLORREF>(textColor_));
        if (fromPosition && (!devPos_ || !(*devPos_ == at)))
            Record(kMoveTo, {at.y, at.x});
        const QByteArray text = codepage::ToWindows1252Shown(r.text).left(0x7FFF);
        Params p;
        p.W(static_cast<int32_t>(text.size())).Bytes(text).Even().W(at.y).W(at.x);
        Record(kTextOut, p);
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
    Record(kSetMapMode, {kMmAnisotropic});
    Record(kSetWindowOrg, {0, 0});
    Record(kSetWindowExt, {C16(m_.Height), C16(m_.Width)});
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
        Record(kRestoreDC, {-1});
    for (int i = 0; i < static_cast<int>(slots_.size()); ++i) {
        if (slots_[static_cast<size_t>(i)].used)
            Record(kDeleteObject, {i});
    }
    Record(kEof, Params());

    Params placeable;
    placeable.D(0x9AC6CDD7u).W(0).W(0).W(0).W(C16(m_.Width)).W(C16(m_.Height)).W(96).D(0);
    uint16_t checksum = 0;
    for (int i = 0; i < 20; i += 2)
        checksum ^= qFromLittleEndian<uint16_t>(placeable.Data().constData() + i);
    placeable.W(checksum);

    Params header;
    const uint32_t totalWords = 9 + static_cast<uint32_t>(body_.size() / 2);
    header.W(1).W(9).W(0x0300).D(totalWords).W(static_cast<int32_t>(maxSlots_)).D(maxRecord_).W(0);
    return placeable.Data() + header.Data() + body_;
}

// Liang-Barsky: the part of segment a-b inside the box, or nothing.
bool ClipSegment(double& x0, double& y0, double& x1, double& y1, const WmfClipBox& box)
{
    double t0 = 0, t1 = 1;
    const double dx = x1 - x0, dy = y1 - y0;
    const std::array<double, 4> p{-dx, dx, -dy, dy};
    const std::array<double, 4> q{x0 - box.left, box.right - x0, y0 - box.top, box.bottom - y0};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double nx0 = x0 + t0 * dx, ny0 = y0 + t0 * dy;
    x1 = x0 + t1 * dx;
    y1 = y0 + t1 * dy;
    x0 = nx0;
    y0 = ny0;
    return true;
}

Point RoundPoint(double x, double y)
{
    return Point{C16(std::llround(x)), C16(std::llround(y))};
}

} // namespace

QByteArray EncodeWmf(const Metafile& picture)
{
    Encoder e(picture);
    return e.Run();
}

bool SaveWmf(const Metafile& picture, const QString& fileName, QString* error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = EncodeWmf(picture);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

WmfClipBox WmfFrameBox(int32_t width, int32_t height, int32_t margin)
{
    const int64_t m = std::max(0, margin);
    auto lim = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -kWmfCoordinateLimit, kWmfCoordinateLimit)); };
    return WmfClipBox{lim(-m), lim(-m), lim(int64_t{width} + m), lim(int64_t{height} + m)};
}

std::vector<std::vector<Point>> SplitPolylineForWmf(const Point* points, int count, const WmfClipBox& box)
{
    auto inside = [&](const Point& p) { return InBox(box, p.x, p.y); };
    std::vector<std::vector<Point>> pieces;
    if (!points || count <= 0)
        return pieces;
    std::vector<Point> run;
    auto flush = [&] {
        if (run.size() >= 2 || (run.size() == 1 && count == 1))
            pieces.push_back(run);
        run.clear();
    };
    auto push = [&](Point p) {
        if (run.size() == static_cast<size_t>(kWmfMaxPolyPoints)) {
            const Point last = run.back();
            flush();
            run.push_back(last);
        }
        if (run.empty() || !(run.back() == p) || run.size() == 1)
            run.push_back(p);
    };
    if (count == 1) {
        if (inside(points[0]))
            pieces.push_back({points[0]});
        return pieces;
    }
    for (int i = 0; i + 1 < count; ++i) {
        const Point a = points[i], b = points[i + 1];
        if (inside(a) && inside(b)) {
            if (run.empty())
                run.push_back(a);
            push(b);
            continue;
        }
        double x0 = a.x, y0 = a.y, x1 = b.x, y1 = b.y;
        if (!ClipSegment(x0, y0, x1, y1, box)) {
            flush();
            continue;
        }
        const Point ca = RoundPoint(x0, y0), cb = RoundPoint(x1, y1);
        if (run.empty() || !(run.back() == ca)) {
            flush();
            run.push_back(ca);
        }
        push(cb);
        if (!inside(b))
            flush();
    }
    flush();
    return pieces;
}

std::vector<Point> ClipPolygonForWmf(const Point* points, int count, const WmfClipBox& box)
{
    std::vector<Point> out;
    if (!points || count <= 0)
        return out;
    bool inside = true;
    for (int i = 0; i < count && inside; ++i)
        inside = InBox(box, points[i].x, points[i].y);
    std::vector<std::array<double, 2>> poly;
    poly.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        poly.push_back({static_cast<double>(points[i].x), static_cast<double>(points[i].y)});
    if (!inside) {
        // Sutherland-Hodgman against the four edges of the box.
        const double bounds[4] = {static_cast<double>(box.left), static_cast<double>(box.right),
                                  static_cast<double>(box.top), static_cast<double>(box.bottom)};
        for (int edge = 0; edge < 4 && !poly.empty(); ++edge) {
            const int axis = edge / 2;
            const double bound = bounds[edge];
            auto in = [&](const std::array<double, 2>& p) { return (edge % 2) ? p[axis] <= bound : p[axis] >= bound; };
            std::vector<std::array<double, 2>> next;
            for (size_t i = 0; i < poly.size(); ++i) {
                const auto& cur = poly[i];
                const auto& prev = poly[(i + poly.size() - 1) % poly.size()];
                const bool cin = in(cur), pin = in(prev);
                if (cin != pin) {
                    const double t = (bound - prev[axis]) / (cur[axis] - prev[axis]);
                    std::array<double, 2> x{prev[0] + t * (cur[0] - prev[0]), prev[1] + t * (cur[1] - prev[1])};
                    x[axis] = bound;
                    next.push_back(x);
                }
                if (cin)
                    next.push_back(cur);
            }
            poly = std::move(next);
        }
    }
    for (const auto& p : poly) {
        const Point q = RoundPoint(p[0], p[1]);
        if (out.empty() || !(out.back() == q))
            out.push_back(q);
    }
    // The record counts in 16 bits: a longer outline keeps evenly spread points.
    if (out.size() > static_cast<size_t>(kWmfMaxPolyPoints)) {
        std::vector<Point> thin;
        thin.reserve(kWmfMaxPolyPoints);
        const double step = static_cast<double>(out.size()) / kWmfMaxPolyPoints;
        for (int i = 0; i < kWmfMaxPolyPoints; ++i)
            thin.push_back(out[static_cast<size_t>(i * step)]);
        out = std::move(thin);
    }
    return out;
}

} // namespace gdi
