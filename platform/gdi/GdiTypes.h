#ifndef ZENDRIK_PLATFORM_GDI_GDITYPES_H
#define ZENDRIK_PLATFORM_GDI_GDITYPES_H

#include <QColor>
#include <QImage>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <vector>

// Plain types and constants of the device-context layer. The values are those of the classic
// graphics device interface, because stored files and the chart code pass them through unchanged.
namespace gdi {

using COLORREF = uint32_t;   // $00BBGGRR
inline constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    int32_t cx = 0;
    int32_t cy = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// Right and bottom are exclusive wherever a rectangle is drawn or filled.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

inline constexpr QRgb ToQRgb(COLORREF c)
{
    return 0xFF000000u | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline constexpr COLORREF FromQRgb(QRgb c)
{
    return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
}
inline constexpr COLORREF RGB(int r, int g, int b)
{
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// Pen styles, end caps, joins and pen types (combined in one style word).
inline constexpr uint32_t PS_SOLID = 0;
inline constexpr uint32_t PS_DASH = 1;
inline constexpr uint32_t PS_DOT = 2;
inline constexpr uint32_t PS_DASHDOT = 3;
inline constexpr uint32_t PS_DASHDOTDOT = 4;
inline constexpr uint32_t PS_NULL = 5;
inline constexpr uint32_t PS_INSIDEFRAME = 6;
inline constexpr uint32_t PS_USERSTYLE = 7;
inline constexpr uint32_t PS_ALTERNATE = 8;
inline constexpr uint32_t PS_STYLE_MASK = 0x0000000F;
inline constexpr uint32_t PS_ENDCAP_ROUND = 0x00000000;
inline constexpr uint32_t PS_ENDCAP_SQUARE = 0x00000100;
inline constexpr uint32_t PS_ENDCAP_FLAT = 0x00000200;
inline constexpr uint32_t PS_ENDCAP_MASK = 0x00000F00;
inline constexpr uint32_t PS_JOIN_ROUND = 0x00000000;
inline constexpr uint32_t PS_JOIN_BEVEL = 0x00001000;
inline constexpr uint32_t PS_JOIN_MITER = 0x00002000;
inline constexpr uint32_t PS_JOIN_MASK = 0x0000F000;
inline constexpr uint32_t PS_COSMETIC = 0x00000000;
inline constexpr uint32_t PS_GEOMETRIC = 0x00010000;
inline constexpr uint32_t PS_TYPE_MASK = 0x000F0000;

// Brush styles and hatches.
inline constexpr uint32_t BS_SOLID = 0;
inline constexpr uint32_t BS_NULL = 1;
inline constexpr uint32_t BS_HATCHED = 2;
inline constexpr uint32_t BS_PATTERN = 3;
inline constexpr int32_t HS_HORIZONTAL = 0;
inline constexpr int32_t HS_VERTICAL = 1;
inline constexpr int32_t HS_FDIAGONAL = 2;
inline constexpr int32_t HS_BDIAGONAL = 3;
inline constexpr int32_t HS_CROSS = 4;
inline constexpr int32_t HS_DIAGCROSS = 5;

// Mix modes.
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

// Raster operations of the block transfers.
inline constexpr uint32_t SRCCOPY = 0x00CC0020;
inline constexpr uint32_t SRCPAINT = 0x00EE0086;
inline constexpr uint32_t SRCAND = 0x008800C6;
inline constexpr uint32_t SRCINVERT = 0x00660046;
inline constexpr uint32_t NOTSRCCOPY = 0x00330008;
inline constexpr uint32_t PATCOPY = 0x00F00021;
inline constexpr uint32_t PATINVERT = 0x005A0049;
inline constexpr uint32_t DSTINVERT = 0x00550009;
inline constexpr uint32_t BLACKNESS = 0x00000042;
inline constexpr uint32_t WHITENESS = 0x00FF0062;

// Background modes, fill modes, graphics modes.
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;
inline constexpr int ALTERNATE = 1;
inline constexpr int WINDING = 2;
inline constexpr int GM_COMPATIBLE = 1;
inline constexpr int GM_ADVANCED = 2;
inline constexpr int MM_TEXT = 1;

// Drawing directions of arcs, pies, chords and the outlines of ellipses and rectangles.
inline constexpr int AD_COUNTERCLOCKWISE = 1;
inline constexpr int AD_CLOCKWISE = 2;

// Text alignment flags.
inline constexpr uint32_t TA_NOUPDATECP = 0;
inline constexpr uint32_t TA_UPDATECP = 1;
inline constexpr uint32_t TA_LEFT = 0;
inline constexpr uint32_t TA_RIGHT = 2;
inline constexpr uint32_t TA_CENTER = 6;
inline constexpr uint32_t TA_TOP = 0;
inline constexpr uint32_t TA_BOTTOM = 8;
inline constexpr uint32_t TA_BASELINE = 24;
inline constexpr uint32_t TA_HORIZONTAL_MASK = 6;
inline constexpr uint32_t TA_VERTICAL_MASK = 24;

// Region combination modes and results.
inline constexpr int RGN_AND = 1;
inline constexpr int RGN_OR = 2;
inline constexpr int RGN_XOR = 3;
inline constexpr int RGN_DIFF = 4;
inline constexpr int RGN_COPY = 5;
inline constexpr int RGN_ERROR = 0;
inline constexpr int NULLREGION = 1;
inline constexpr int SIMPLEREGION = 2;
inline constexpr int COMPLEXREGION = 3;

// Font weights, qualities, precisions.
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_BOLD = 700;
inline constexpr uint8_t DEFAULT_CHARSET = 1;
inline constexpr uint8_t DEFAULT_QUALITY = 0;
inline constexpr uint8_t NONANTIALIASED_QUALITY = 3;
inline constexpr uint8_t ANTIALIASED_QUALITY = 4;
inline constexpr uint8_t OUT_TT_ONLY_PRECIS = 7;

// A logical pen. userStyle holds the dash and gap lengths of PS_USERSTYLE pens, starting with a
// dash. A geometric pen of width 0 or 1 draws like width 1.
struct Pen {
    uint32_t style = PS_SOLID;
    int32_t width = 1;
    COLORREF color = 0;
    std::vector<uint32_t> userStyle;
    friend bool operator==(const Pen&, const Pen&) = default;
};

// A logical brush. pattern is used by BS_PATTERN; a one-bit pattern (Format_Mono) paints its
// clear bits in the text colour and its set bits in the background colour.
struct Brush {
    uint32_t style = BS_SOLID;
    COLORREF color = 0xFFFFFF;
    int32_t hatch = HS_HORIZONTAL;
    QImage pattern;
    friend bool operator==(const Brush& a, const Brush& b)
    {
        return a.style == b.style && a.color == b.color && a.hatch == b.hatch && a.pattern == b.pattern;
    }
};

// A logical font. height < 0: character height in pixels; height > 0: cell height; 0: default.
// escapement and orientation are in tenths of a degree, counter-clockwise.
struct Font {
    int32_t height = 0;
    int32_t width = 0;
    int32_t escapement = 0;
    int32_t orientation = 0;
    int32_t weight = FW_NORMAL;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = DEFAULT_CHARSET;
    uint8_t outPrecision = 0;
    uint8_t quality = DEFAULT_QUALITY;
    QString faceName = QStringLiteral("Arial");
    friend bool operator==(const Font&, const Font&) = default;
};

struct TextMetric {
    int32_t height = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internalLeading = 0;
    int32_t externalLeading = 0;
    int32_t aveCharWidth = 0;
    int32_t maxCharWidth = 0;
};

// A region in device pixels, a value.
class Region {
public:
    Region() = default;
    explicit Region(const QRegion& r) : region_(r) {}

    const QRegion& Pixels() const { return region_; }
    bool IsEmpty() const { return region_.isEmpty(); }
    bool Contains(int32_t x, int32_t y) const { return region_.contains(QPoint(x, y)); }
    Rect Box() const;
    // Combines a and b into this region; answers NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Combine(const Region& a, const Region& b, int mode);
    void Offset(int32_t dx, int32_t dy) { region_.translate(dx, dy); }
    friend bool operator==(const Region& a, const Region& b) { return a.region_ == b.region_; }

private:
    QRegion region_;
};

Region CreateRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom);
Region CreateEllipticRgn(int32_t left, int32_t top, int32_t right, int32_t bottom);
Region CreateRoundRectRgn(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t w, int32_t h);
Region CreatePolygonRgn(const Point* points, int count, int fillMode);

} // namespace gdi

#endif
