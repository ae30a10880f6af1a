#include "platform/gdi/EmfWriter.h"

#include "platform/gdi/RasterDC.h"

#include <QSaveFile>
#include <QTransform>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>

namespace gdi {

namespace {

// Record types of the records we write.
enum : uint32_t {
    kHeader = 1,
    kPolygon = 3,
    kPolyline = 4,
    kEof = 14,
    kSetPixelV = 15,
    kSetBkMode = 18,
    kSetPolyFillMode = 19,
    kSetRop2 = 20,
    kSetTextAlign = 22,
    kSetTextColor = 24,
    kSetBkColor = 25,
    kMoveToEx = 27,
    kSelectObject = 37,
    kCreatePen = 38,
    kCreateBrushIndirect = 39,
    kDeleteObject = 40,
    kEllipse = 42,
    kRectangle = 43,
    kRoundRect = 44,
    kArc = 45,
    kChord = 46,
    kPie = 47,
    kLineTo = 54,
    kBeginPath = 59,
    kEndPath = 60,
    kCloseFigure = 61,
    kFillPath = 62,
    kStrokeAndFillPath = 63,
    kStrokePath = 64,
    kSelectClipPath = 67,
    kAbortPath = 68,
    kExtSelectClipRgn = 75,
    kBitBlt = 76,
    kStretchDiBits = 81,
    kExtCreateFontIndirectW = 82,
    kExtTextOutW = 84,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kCreateDibPatternBrushPt = 94,
    kExtCreatePen = 95,
};

constexpr uint32_t kSignature = 0x464D4520; // " EMF"
constexpr uint32_t kVersion = 0x00010000;
// The reference device: 1920 x 1440 pixels on 508 x 381 mm is exactly 96 dots per inch.
constexpr int32_t kDeviceWidth = 1920;
constexpr int32_t kDeviceHeight = 1440;
constexpr int32_t kDeviceWidthMm = 508;
constexpr int32_t kDeviceHeightMm = 381;
constexpr uint32_t kHeaderSize = 108; // up to and including the micrometre extension
constexpr char16_t kDescription[] = u"Zendrik\0Chart\0"; // the array adds the final NUL
constexpr uint32_t kDescriptionChars = sizeof(kDescription) / sizeof(char16_t);
constexpr uint32_t kRgnRectangles = 1;
constexpr uint32_t kDibRgbColors = 0;
constexpr uint32_t kEtoNone = 0;
constexpr uint32_t kBitmapInfoSize = 40;
// The character height a font of height 0 gets from the raster back end, which measured the text.
constexpr int32_t kDefaultFontHeight = -16;

struct Box {
    int64_t left = 0, top = 0, right = -1, bottom = -1;
    bool empty = true;
    void Add(int64_t x, int64_t y)
    {
        if (empty) {
            left = right = x;
            top = bottom = y;
            empty = false;
            return;
        }
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    void Add(const Box& b)
    {
        if (!b.empty) {
            Add(b.left, b.top);
            Add(b.right, b.bottom);
        }
    }
};

// A growing little-endian byte buffer of whole records.
class Out {
public:
    char* Grow(size_t n)
    {
        const qsizetype at = bytes_.size();
        if (at + static_cast<qsizetype>(n) > bytes_.capacity())
            bytes_.reserve(std::max<qsizetype>(bytes_.capacity() * 2, at + static_cast<qsizetype>(n)));
        bytes_.resize(at + static_cast<qsizetype>(n));
        return bytes_.data() + at;
    }
    void U32(uint32_t v) { qToLittleEndian(v, Grow(4)); }
    void I32(int32_t v) { qToLittleEndian(v, Grow(4)); }
    void U16(uint16_t v) { qToLittleEndian(v, Grow(2)); }
    void U8(uint8_t v) { *Grow(1) = static_cast<char>(v); }
    void F32(float v)
    {
        uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        U32(bits);
    }
    void Bytes(const QByteArray& b)
    {
        std::memcpy(Grow(static_cast<size_t>(b.size())), b.constData(), b.size());
    }
    void Rect(int64_t l, int64_t t, int64_t r, int64_t b)
    {
        I32(Clamp(l));
        I32(Clamp(t));
        I32(Clamp(r));
        I32(Clamp(b));
    }
    void Rect(const Box& b) { Rect(b.left, b.top, b.right, b.bottom); }
    void Pad4()
    {
        while (bytes_.size() % 4)
            bytes_.append('\0');
    }
    void Patch32(qsizetype at, uint32_t v) { qToLittleEndian(v, bytes_.data() + at); }
    qsizetype Size() const { return bytes_.size(); }
    QByteArray Take() { return std::move(bytes_); }

    static int32_t Clamp(int64_t v)
    {
        return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    }

private:
    QByteArray bytes_;
};

// The text metrics the recording context measured with: its raster back end, one pixel large.
class TextMeasure {
public:
    void Use(const Font& font, int32_t extra)
    {
        if (!dc_) {
            dc_ = std::make_unique<RasterDC>(1, 1);
            dc_->SetTextCharacterExtra(extra);
            dc_->SelectFont(font);
        } else if (!(dc_->GetFont() == font) || dc_->GetTextCharacterExtra() != extra) {
            dc_->SetTextCharacterExtra(extra);
            dc_->SelectFont(font);
        }
    }
    // One advance per UTF-16 unit; the second unit of a surrogate pair advances 0. The advances add
    // up to the width of the whole text.
    std::vector<int32_t> Advances(const QString& text) const
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
    TextMetric Metrics() const { return dc_->GetTextMetrics(); }

private:
    std::unique_ptr<RasterDC> dc_;
};

// A device-independent bitmap of 24 bits per pixel, rows bottom-up and padded to 4 bytes: the
// header and the bits.
void WriteDibHeader(Out& out, const QImage& image)
{
    const uint32_t stride = (static_cast<uint32_t>(image.width()) * 3 + 3) & ~3u;
    out.U32(kBitmapInfoSize);
    out.I32(image.width());
    out.I32(image.height());
    out.U16(1);
    out.U16(24);
    out.U32(0); // uncompressed
    out.U32(stride * static_cast<uint32_t>(image.height()));
    out.I32(3780); // 96 dpi in pixels per metre
    out.I32(3780);
    out.U32(0);
    out.U32(0);
}

uint32_t DibBitsSize(const QImage& image)
{
    return ((static_cast<uint32_t>(image.width()) * 3 + 3) & ~3u) * static_cast<uint32_t>(image.height());
}

void WriteDibBits(Out& out, const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t {3};
    char* p = out.Grow(stride * static_cast<size_t>(image.height()));
    for (int y = image.height() - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        char* q = p;
        for (int x = 0; x < w; ++x) {
            *q++ = static_cast<char>(qBlue(row[x]));
            *q++ = static_cast<char>(qGreen(row[x]));
            *q++ = static_cast<char>(qRed(row[x]));
        }
        std::memset(q, 0, stride - static_cast<size_t>(w) * 3);
        p += stride;
    }
}

// A pen the plain pen record can say as the raster back end draws it: solid, empty or
// inside-frame pens, and the styled dashes of one-pixel pens. Wide styled pens, end caps, joins,
// alternate and user styles need the extended record.
bool PlainPen(const Pen& pen)
{
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    if (kind == PS_NULL)
        return true;
    const bool wide = pen.width > 1;
    if (wide && (pen.style & (PS_ENDCAP_MASK | PS_JOIN_MASK)) != 0)
        return false;
    if (kind == PS_SOLID || kind == PS_INSIDEFRAME)
        return true;
    return !wide && kind >= PS_DASH && kind <= PS_DASHDOTDOT;
}

class Encoder {
public:
    explicit Encoder(const Metafile& m)
        : m_(m)
    {
    }
    QByteArray Run();

private:
    enum Kind { kPenObject, kBrushObject, kFontObject };
    struct Selected {
        uint32_t handle = 0; // 0: the device's own object, none of ours
        uint32_t type = 0;
        QByteArray payload;
    };

    qsizetype Begin(uint32_t type);
    void End(qsizetype start);
    void Simple(uint32_t type, std::initializer_list<uint32_t> values);
    void SetAttr(std::optional<uint32_t>& emitted, uint32_t value, uint32_t type);
    uint32_t FreeHandle();
    void Use(Kind kind, uint32_t type, const QByteArray& payload);
    void SyncPen();
    void SyncBrush(int32_t index);
    void SyncFont();
    void SyncAttributes();
    void Clip(const Region* region);
    void Poly(uint32_t type32, uint32_t type16, const Point* pts, size_t count);
    void Polyline(const std::vector<Point>& pts);
    void Shape(uint32_t type, const int32_t* a, int points);
    void Blt(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rop);
    void Text(const MetaRecord& r);
    void Stretch(const MetaRecord& r);
    void PathOp(uint32_t type, bool pen, bool brush);
    void Draw(const MetaRecord& r);

    const Pen& CurrentPen() const
    {
        static const Pen none;
        return pen_ >= 0 ? m_.Pens[static_cast<size_t>(pen_)] : none;
    }
    const Font& CurrentFont() const
    {
        static const Font none;
        return font_ >= 0 ? m_.Fonts[static_cast<size_t>(font_)] : none;
    }

    const Metafile& m_;
    Out out_;
    uint32_t records_ = 0;
    std::vector<bool> used_; // handle i + 1
    uint32_t handles_ = 1; // the table's entry 0 is the metafile itself
    std::array<Selected, 3> sel_;
    // The recording's objects the selected ones were made from (-1: the defaults), so that a run
    // of drawing calls does not rebuild an object to compare it.
    int32_t penFrom_ = -2, brushFrom_ = -2, fontFrom_ = -2;
    COLORREF brushTextColor_ = 0, brushBkColor_ = 0;

    // What the recording has selected and set.
    int32_t pen_ = -1, brush_ = -1, font_ = -1;
    uint32_t rop2_ = R2_COPYPEN, bkMode_ = OPAQUE, bkColor_ = 0xFFFFFF, textColor_ = 0, textAlign_ = 0,
             fillMode_ = ALTERNATE;
    int32_t charExtra_ = 0;
    Point pos_;
    bool inPath_ = false;
    Box pathBox_;

    // What the records written so far have set.
    std::optional<uint32_t> eRop2_, eBkMode_, eBkColor_, eTextColor_, eTextAlign_, eFillMode_;

    TextMeasure measure_;
};

qsizetype Encoder::Begin(uint32_t type)
{
    const qsizetype start = out_.Size();
    out_.U32(type);
    out_.U32(0);
    return start;
}

void Encoder::End(qsizetype start)
{
    out_.Pad4();
    out_.Patch32(start + 4, static_cast<uint32_t>(out_.Size() - start));
    ++records_;
}

void Encoder::Simple(uint32_t type, std::initializer_list<uint32_t> values)
{
    const qsizetype at = Begin(type);
    for (uint32_t v : values)
        out_.U32(v);
    End(at);
}

void Encoder::SetAttr(std::optional<uint32_t>& emitted, uint32_t value, uint32_t type)
{
    if (emitted && *emitted == value)
        return;
    Simple(type, {value});
    emitted = value;
}

uint32_t Encoder::FreeHandle()
{
    size_t i = 0;
    while (i < used_.size() && used_[i])
        ++i;
    if (i == used_.size())
        used_.push_back(true);
    used_[i] = true;
    handles_ = std::max(handles_, static_cast<uint32_t>(i + 2));
    return static_cast<uint32_t>(i + 1);
}

// Selects the object, creating it in the lowest free handle unless it is the one selected; the
// object it replaces is no longer selected and is deleted.
void Encoder::Use(Kind kind, uint32_t type, const QByteArray& payload)
{
    Selected& s = sel_[kind];
    if (s.handle != 0 && s.type == type && s.payload == payload)
        return;
    const uint32_t handle = FreeHandle();
    const qsizetype at = Begin(type);
    out_.U32(handle);
    out_.Bytes(payload);
    End(at);
    Simple(kSelectObject, {handle});
    if (s.handle != 0) {
        Simple(kDeleteObject, {s.handle});
        used_[s.handle - 1] = false;
    }
    s = Selected {handle, type, payload};
}

void Encoder::SyncPen()
{
    if (penFrom_ == pen_)
        return;
    penFrom_ = pen_;
    const Pen& pen = CurrentPen();
    Out p;
    if (PlainPen(pen)) {
        p.U32(pen.style & PS_STYLE_MASK);
        p.I32(std::max(0, pen.width));
        p.I32(0);
        p.U32(pen.color & 0xFFFFFF);
        Use(kPenObject, kCreatePen, p.Take());
        return;
    }
    const uint32_t kind = pen.style & PS_STYLE_MASK;
    const bool wide = pen.width > 1;
    uint32_t style = (kind > PS_ALTERNATE) ? PS_SOLID : kind;
    if (wide) {
        // The alternate style belongs to one-pixel pens; wide ones draw it as dots.
        if (style == PS_ALTERNATE)
            style = PS_DOT;
        style |= PS_GEOMETRIC | (pen.style & (PS_ENDCAP_MASK | PS_JOIN_MASK));
    }
    const bool user = kind == PS_USERSTYLE && !pen.userStyle.empty();
    if (kind == PS_USERSTYLE && !user)
        style = (style & ~PS_STYLE_MASK) | PS_SOLID;
    p.U32(0); // no brush bitmap: offset and size of its header and bits
    p.U32(0);
    p.U32(0);
    p.U32(0);
    p.U32(style);
    p.U32(static_cast<uint32_t>(std::max(1, pen.width)));
    p.U32(BS_SOLID);
    p.U32(pen.color & 0xFFFFFF);
    p.U32(0);
    p.U32(user ? static_cast<uint32_t>(pen.userStyle.size()) : 0);
    if (user) {
        for (uint32_t v : pen.userStyle)
            p.U32(v);
    }
    Use(kPenObject, kExtCreatePen, p.Take());
}

void Encoder::SyncBrush(int32_t index)
{
    static const Brush defaultBrush;
    const Brush& brush = index >= 0 ? m_.Brushes[static_cast<size_t>(index)] : defaultBrush;
    const bool mono = brush.style == BS_PATTERN && !brush.pattern.isNull()
        && (brush.pattern.format() == QImage::Format_Mono
            || brush.pattern.format() == QImage::Format_MonoLSB);
    if (brushFrom_ == index && (!mono || (brushTextColor_ == textColor_ && brushBkColor_ == bkColor_)))
        return;
    brushFrom_ = index;
    brushTextColor_ = textColor_;
    brushBkColor_ = bkColor_;
    Out p;
    if (brush.style == BS_PATTERN && !brush.pattern.isNull()) {
        QImage pattern = brush.pattern;
        if (mono) {
            // Clear bits take the text colour, set bits the background colour, as they are when
            // the brush paints.
            pattern = pattern.convertToFormat(QImage::Format_Mono);
            pattern.setColorCount(2);
            pattern.setColor(0, ToQRgb(textColor_));
            pattern.setColor(1, ToQRgb(bkColor_));
        }
        const QImage rgb = pattern.convertToFormat(QImage::Format_RGB32);
        p.U32(kDibRgbColors);
        p.U32(32); // header after the record's 32 fixed bytes
        p.U32(kBitmapInfoSize);
        p.U32(32 + kBitmapInfoSize);
        p.U32(DibBitsSize(rgb));
        WriteDibHeader(p, rgb);
        WriteDibBits(p, rgb);
        Use(kBrushObject, kCreateDibPatternBrushPt, p.Take());
        return;
    }
    // A pattern brush without a pattern paints nothing on the raster back end.
    const uint32_t style = brush.style == BS_PATTERN ? BS_NULL : brush.style;
    p.U32(style);
    p.U32(brush.color & 0xFFFFFF);
    p.U32(style == BS_HATCHED ? static_cast<uint32_t>(std::clamp(brush.hatch, HS_HORIZONTAL, HS_DIAGCROSS))
                              : 0);
    Use(kBrushObject, kCreateBrushIndirect, p.Take());
}

void Encoder::SyncFont()
{
    if (fontFrom_ == font_)
        return;
    fontFrom_ = font_;
    const Font& f = CurrentFont();
    Out p;
    p.I32(f.height == 0 ? kDefaultFontHeight : f.height);
    p.I32(f.width);
    p.I32(f.escapement);
    p.I32(f.orientation);
    p.I32(f.weight);
    p.U8(f.italic ? 1 : 0);
    p.U8(f.underline ? 1 : 0);
    p.U8(f.strikeOut ? 1 : 0);
    p.U8(f.charSet);
    p.U8(f.outPrecision);
    p.U8(0); // clip precision
    p.U8(f.quality);
    p.U8(0); // pitch and family
    const QString face = f.faceName.left(31);
    for (qsizetype i = 0; i < 32; ++i)
        p.U16(i < face.size() ? face.at(i).unicode() : 0);
    Use(kFontObject, kExtCreateFontIndirectW, p.Take());
}

void Encoder::SyncAttributes()
{
    SetAttr(eRop2_, rop2_, kSetRop2);
    SetAttr(eBkMode_, bkMode_, kSetBkMode);
    SetAttr(eBkColor_, bkColor_, kSetBkColor);
    SetAttr(eFillMode_, fillMode_, kSetPolyFillMode);
}

// A region is selected as the default clip intersected with the region: readers may ignore the
// data of a copy, which the format allows them to leave out.
void Encoder::Clip(const Region* region)
{
    const qsizetype reset = Begin(kExtSelectClipRgn);
    out_.U32(0);
    out_.U32(RGN_COPY);
    End(reset);
    if (!region)
        return;
    const QRegion& pixels = region->Pixels();
    const uint32_t count = static_cast<uint32_t>(pixels.rectCount());
    const qsizetype at = Begin(kExtSelectClipRgn);
    out_.U32(32 + 16 * count);
    out_.U32(RGN_AND);
    out_.U32(32);
    out_.U32(kRgnRectangles);
    out_.U32(count);
    out_.U32(16 * count);
    const Rect b = region->Box();
    out_.Rect(b.left, b.top, b.right, b.bottom);
    for (const QRect& r : pixels)
        out_.Rect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    End(at);
}

void Encoder::Poly(uint32_t type32, uint32_t type16, const Point* pts, size_t count)
{
    Box box;
    bool small = true;
    for (size_t i = 0; i < count; ++i) {
        const Point& p = pts[i];
        box.Add(p.x, p.y);
        small = small && p.x >= INT16_MIN && p.x <= INT16_MAX && p.y >= INT16_MIN && p.y <= INT16_MAX;
    }
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
// stays whole.
void Encoder::Polyline(const std::vector<Point>& pts)
{
    const size_t piece = kEmfMaxPolyPoints;
    if (inPath_ || pts.size() <= piece) {
        Poly(kPolyline, kPolyline16, pts.data(), pts.size());
        return;
    }
    for (size_t start = 0; start + 1 < pts.size(); start += piece - 1)
        Poly(kPolyline, kPolyline16, pts.data() + start, std::min(piece, pts.size() - start));
}

// Rectangle-bounded shapes: the box as the call gave it, then `points` more points.
void Encoder::Shape(uint32_t type, const int32_t* a, int points)
{
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
    if (r.text.isEmpty())
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
    const Point at = (textAlign_ & TA_UPDATECP) ? pos_ : Point {r.a[0], r.a[1]};
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
    const uint32_t bits = DibBitsSize(image);
    const qsizetype at = Begin(kStretchDiBits);
    out_.Rect(box);
    out_.I32(a[0]);
    out_.I32(a[1]);
    out_.I32(a[4]);
    out_.I32(a[5]);
    out_.I32(a[6] - a[4]);
    out_.I32(a[7] - a[5]);
    out_.U32(80); // header after the record's 80 fixed bytes, then the bits
    out_.U32(kBitmapInfoSize);
    out_.U32(80 + kBitmapInfoSize);
    out_.U32(bits);
    out_.U32(kDibRgbColors);
    out_.U32(r.rop == 0 ? SRCCOPY : r.rop);
    out_.I32(a[2] - a[0]);
    out_.I32(a[3] - a[1]);
    WriteDibHeader(out_, image);
    WriteDibBits(out_, image);
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
    switch (r.op) {
    case MetaOp::MoveTo:
        pos_ = Point {a[0], a[1]};
        if (inPath_)
            pathBox_.Add(a[0], a[1]);
        Simple(kMoveToEx, {static_cast<uint32_t>(a[0]), static_cast<uint32_t>(a[1])});
        break;
    case MetaOp::LineTo:
        line();
        if (inPath_) {
            pathBox_.Add(pos_.x, pos_.y);
            pathBox_.Add(a[0], a[1]);
        }
        pos_ = Point {a[0], a[1]};
        Simple(kLineTo, {static_cast<uint32_t>(a[0]), static_cast<uint32_t>(a[1])});
        break;
    case MetaOp::Polyline:
        line();
        Polyline(r.points);
        break;
    case MetaOp::Polygon:
        shape();
        Poly(kPolygon, kPolygon16, r.points.data(), r.points.size());
        break;
    case MetaOp::Rectangle:
        shape();
        Shape(kRectangle, a, 0);
        break;
    case MetaOp::Ellipse:
        shape();
        Shape(kEllipse, a, 0);
        break;
    case MetaOp::RoundRect:
        shape();
        Shape(kRoundRect, a, 1);
        break;
    case MetaOp::Arc:
        line();
        Shape(kArc, a, 2);
        break;
    case MetaOp::Pie:
        shape();
        Shape(kPie, a, 2);
        break;
    case MetaOp::Chord:
        shape();
        Shape(kChord, a, 2);
        break;
    case MetaOp::FillRect:
        // The brush of the call is selected for it; the next call that paints with the selected
        // brush brings that one back.
        SyncAttributes();
        SyncBrush(r.index);
        Blt(a[0], a[1], a[2] - a[0], a[3] - a[1], PATCOPY);
        break;
    case MetaOp::PatBlt:
        SyncAttributes();
        SyncBrush(brush_);
        Blt(a[0], a[1], a[2], a[3], r.rop);
        break;
    case MetaOp::SetPixel:
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

QByteArray Encoder::Run()
{
    const int32_t w = std::max(1, m_.Width);
    const int32_t h = std::max(1, m_.Height);
    // The header; the counts are filled in at the end.
    const qsizetype head = Begin(kHeader);
    out_.Rect(0, 0, w - 1, h - 1);
    out_.Rect(0, 0, std::llround(w * 2540.0 / 96.0) - 1, std::llround(h * 2540.0 / 96.0) - 1);
    out_.U32(kSignature);
    out_.U32(kVersion);
    out_.U32(0); // bytes
    out_.U32(0); // records
    out_.U16(0); // handles
    out_.U16(0);
    out_.U32(kDescriptionChars);
    out_.U32(kHeaderSize);
    out_.U32(0); // palette entries
    out_.I32(kDeviceWidth);
    out_.I32(kDeviceHeight);
    out_.I32(kDeviceWidthMm);
    out_.I32(kDeviceHeightMm);
    out_.U32(0); // no pixel format
    out_.U32(0);
    out_.U32(0); // no OpenGL records
    out_.U32(kDeviceWidthMm * 1000);
    out_.U32(kDeviceHeightMm * 1000);
    for (char16_t c : kDescription)
        out_.U16(c);
    End(head);

    for (const MetaRecord& r : m_.Records) {
        switch (r.op) {
        case MetaOp::SelectPen:
            pen_ = r.index;
            break;
        case MetaOp::SelectBrush:
            brush_ = r.index;
            break;
        case MetaOp::SelectFont:
            font_ = r.index;
            break;
        case MetaOp::SetROP2:
            rop2_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetBkMode:
            bkMode_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetBkColor:
            bkColor_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetTextColor:
            textColor_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetTextAlign:
            textAlign_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetTextCharExtra:
            charExtra_ = r.a[0];
            break; // in the advances of the text
        case MetaOp::SetPolyFillMode:
            fillMode_ = static_cast<uint32_t>(r.a[0]);
            break;
        case MetaOp::SetGraphicsMode:
            break; // no world transforms: the mode changes nothing
        case MetaOp::SelectClip:
            Clip(r.index >= 0 ? &m_.Regions[static_cast<size_t>(r.index)] : nullptr);
            break;
        case MetaOp::BeginPath:
            inPath_ = true;
            pathBox_ = Box {};
            Simple(kBeginPath, {});
            break;
        case MetaOp::EndPath:
            inPath_ = false;
            Simple(kEndPath, {});
            break;
        case MetaOp::AbortPath:
            inPath_ = false;
            pathBox_ = Box {};
            Simple(kAbortPath, {});
            break;
        case MetaOp::CloseFigure:
            Simple(kCloseFigure, {});
            break;
        case MetaOp::StrokePath:
            PathOp(kStrokePath, true, false);
            break;
        case MetaOp::FillPath:
            PathOp(kFillPath, false, true);
            break;
        case MetaOp::StrokeAndFillPath:
            PathOp(kStrokeAndFillPath, true, true);
            break;
        case MetaOp::SelectClipPath:
            SetAttr(eFillMode_, fillMode_, kSetPolyFillMode);
            Simple(kSelectClipPath, {static_cast<uint32_t>(r.a[0])});
            pathBox_ = Box {};
            break;
        default:
            Draw(r);
            break;
        }
    }
    for (Selected& s : sel_) {
        if (s.handle == 0)
            continue;
        // The device's own object is selected back first, so that ours is free to go.
        static constexpr uint32_t kStock[]
            = {0x80000007 /* black pen */, 0x80000000 /* white brush */, 0x8000000D /* system font */};
        Simple(kSelectObject, {kStock[&s - sel_.data()]});
        Simple(kDeleteObject, {s.handle});
    }
    const qsizetype eof = Begin(kEof);
    out_.U32(0); // no palette
    out_.U32(16); // where it would start
    out_.U32(20); // this record's size, last
    End(eof);

    out_.Patch32(48, static_cast<uint32_t>(out_.Size()));
    out_.Patch32(52, records_);
    QByteArray bytes = out_.Take();
    qToLittleEndian(static_cast<uint16_t>(std::min<uint32_t>(handles_, 0xFFFF)), bytes.data() + 56);
    return bytes;
}

} // namespace

QByteArray EncodeEmf(const Metafile& picture)
{
    Encoder e(picture);
    return e.Run();
}

bool SaveEmf(const Metafile& picture, const QString& fileName, QString* error)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = EncodeEmf(picture);
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    return true;
}

} // namespace gdi
