#ifndef ZENDRIK_PLATFORM_GDI_WMFRECORDS_H
#define ZENDRIK_PLATFORM_GDI_WMFRECORDS_H

// The byte format of a Windows metafile; not for use outside platform/gdi/Wmf*.cpp.

#include <QByteArray>
#include <cstdint>
#include <initializer_list>

namespace gdi::wmf {

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

inline constexpr uint16_t kMmAnisotropic = 8;
inline constexpr uint16_t kBsDibPatternPt = 6;
inline constexpr uint8_t kAnsiCharset = 0;

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

// The records of one picture in the order they are added, each sized in 16-bit words.
class RecordList {
public:
    void Add(uint16_t function, const Params& p);
    void Add(uint16_t function, std::initializer_list<int32_t> words);
    // The whole file: placeable header (a frame of width x height at 96 units per inch), metafile
    // header, the records and the end-of-file record. objectSlots is the size of the object table
    // the player must provide.
    QByteArray Finish(int16_t width, int16_t height, size_t objectSlots);

private:
    QByteArray body_;
    uint32_t maxRecord_ = 0;
};

// The pen style a metafile can hold.
uint16_t WmfPenStyle(uint32_t style);

} // namespace gdi::wmf

#endif
