#ifndef ZENDRIK_PLATFORM_GDI_EMFENCODER_H
#define ZENDRIK_PLATFORM_GDI_EMFENCODER_H

// The enhanced metafile encoder behind EncodeEmf, shared by its parts; not for use outside
// platform/gdi/Emf*.cpp. EmfWriter.cpp frames the records, writes the header and runs through the
// recording; EmfState.cpp selects the objects and sets the attributes the drawing needs;
// EmfGeometry.cpp writes the drawing records with their bounds.

#include "platform/gdi/Metafile.h"
#include "platform/gdi/MetafileClip.h"
#include "platform/gdi/RasterDC.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace gdi::emf {

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
    kSetArcDirection = 57,
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

constexpr uint32_t kDibRgbColors = 0;

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
    void Use(const Font& font, int32_t extra);
    // One advance per UTF-16 unit; the second unit of a surrogate pair advances 0. The advances add
    // up to the width of the whole text.
    std::vector<int32_t> Advances(const QString& text) const;
    TextMetric Metrics() const { return dc_->GetTextMetrics(); }

private:
    std::unique_ptr<RasterDC> dc_;
};

// Turns a recording into the bytes of one enhanced metafile, call by call: it follows what the
// recording selects and sets, and writes an object or attribute only when a drawing record needs it.
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

    // Record frames (EmfWriter.cpp).
    qsizetype Begin(uint32_t type);
    void End(qsizetype start);
    void Simple(uint32_t type, std::initializer_list<uint32_t> values);
    // Objects and attributes (EmfState.cpp).
    void SetAttr(std::optional<uint32_t>& emitted, uint32_t value, uint32_t type);
    uint32_t FreeHandle();
    void Use(Kind kind, uint32_t type, const QByteArray& payload);
    void SyncPen();
    void SyncBrush(int32_t index);
    void SyncFont();
    void SyncAttributes();
    void Clip(const Region* region);
    // What can show (the frame, or the part of it the clip leaves), as the WMF writer cuts it:
    // strokes one pen width beyond, the rest one pixel.
    ClipBox StrokeBox() const;
    ClipBox FrameBox() const;
    // Drawing records (EmfGeometry.cpp).
    // A point list with its bounds: in sixteen bits when they fit.
    void Poly(uint32_t type32, uint32_t type16, const Point* pts, size_t count, const Box& box);
    void Polyline(const std::vector<Point>& pts);
    void LineTo(const Point& to);
    // Moves the reader's current position to at unless it is there.
    void MoveDeviceTo(const Point& at);
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
    uint32_t arcDirection_ = AD_COUNTERCLOCKWISE;
    int32_t charExtra_ = 0;
    Point pos_;
    bool inPath_ = false;
    Box pathBox_;
    // The reader's current position, as far as the records have set it: outside paths a move is
    // written only when a cut line or text needs it.
    std::optional<Point> devPos_;
    std::optional<Rect> clipBox_; // the clip region's rectangle, while there is one

    // What the records written so far have set.
    std::optional<uint32_t> eRop2_, eBkMode_, eBkColor_, eTextColor_, eTextAlign_, eFillMode_;
    // A reader's device starts counter-clockwise, so only a change to clockwise needs a record.
    std::optional<uint32_t> eArcDirection_ = AD_COUNTERCLOCKWISE;

    TextMeasure measure_;
};

} // namespace gdi::emf

#endif
