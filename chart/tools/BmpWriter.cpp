#include "chart/tools/BmpWriter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr int32_t kPixelsPerMetre = 3780; // 96 dots per inch

int BitCount(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return 1;
    case pf4bit:
        return 4;
    case pf8bit:
        return 8;
    case pf15bit:
    case pf16bit:
        return 16;
    case pf24bit:
        return 24;
    case pfDevice:
    case pf32bit:
        break;
    }
    return 32;
}

const QVector<QRgb>& BlackAndWhite()
{
    static const QVector<QRgb> palette = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return palette;
}

// The 16 colours of the VGA palette, in the window system's order.
const QVector<QRgb>& Vga16()
{
    static const QVector<QRgb> palette = {qRgb(0, 0, 0), qRgb(128, 0, 0), qRgb(0, 128, 0), qRgb(128, 128, 0),
        qRgb(0, 0, 128), qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192), qRgb(128, 128, 128),
        qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(255, 255, 0), qRgb(0, 0, 255), qRgb(255, 0, 255),
        qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return palette;
}

// 8 bit: entries 0..215 the colour cube with the levels 0, 51, ... 255 (red slowest), entries
// 216..255 forty grays evenly between black and white, none of them a level of the cube.
constexpr int kCubeSize = 216;
constexpr int kGrayCount = 40;

constexpr int GrayLevel(int k)
{
    return ((k + 1) * 2 * 255 + 41) / 82;
}

const QVector<QRgb>& Cube256()
{
    static const QVector<QRgb> palette = [] {
        QVector<QRgb> p;
        p.reserve(256);
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.push_back(qRgb(r * 51, g * 51, b * 51));
        for (int k = 0; k < kGrayCount; ++k)
            p.push_back(qRgb(GrayLevel(k), GrayLevel(k), GrayLevel(k)));
        return p;
    }();
    return palette;
}

int Distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return dr * dr + dg * dg + db * db;
}

// Nearest entry of a small palette; the lowest index wins a tie.
uint8_t NearestInTable(const QVector<QRgb>& palette, QRgb colour)
{
    int best = 0;
    int bestDistance = Distance(colour, palette[0]);
    for (int i = 1; i < palette.size() && bestDistance > 0; ++i) {
        const int d = Distance(colour, palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<uint8_t>(best);
}

// Nearest entry of the 8-bit palette without a search: the cube's nearest point is each
// channel's nearest level; the nearest gray is the one nearest to the channels' mean. The lower
// index (the cube's) wins a tie, as in a search from the start.
uint8_t NearestIn256(QRgb colour)
{
    const int r = qRed(colour);
    const int g = qGreen(colour);
    const int b = qBlue(colour);
    const int lr = (r + 25) / 51;
    const int lg = (g + 25) / 51;
    const int lb = (b + 25) / 51;
    int best = lr * 36 + lg * 6 + lb;
    int bestDistance = Distance(colour, qRgb(lr * 51, lg * 51, lb * 51));
    const int guess = ((r + g + b) * 41 + 3 * 255 / 2) / (3 * 255) - 1;
    for (int k = std::max(0, guess - 1); k <= std::min(kGrayCount - 1, guess + 1); ++k) {
        const int level = GrayLevel(k);
        const int d = Distance(colour, qRgb(level, level, level));
        if (d < bestDistance) {
            best = kCubeSize + k;
            bestDistance = d;
        }
    }
    return static_cast<uint8_t>(best);
}

// Charts repeat a few colours over long runs: the last answer is kept.
class IndexCache {
public:
    explicit IndexCache(std::function<uint8_t(QRgb)> nearest)
        : nearest_(std::move(nearest))
    {
    }
    uint8_t operator()(QRgb colour)
    {
        colour &= 0xFFFFFF;
        if (colour != last_) {
            last_ = colour;
            index_ = nearest_(colour);
        }
        return index_;
    }

private:
    std::function<uint8_t(QRgb)> nearest_;
    QRgb last_ = 0xFF000000; // never a masked colour
    uint8_t index_ = 0;
};

void Put16(uchar* p, uint32_t v)
{
    p[0] = static_cast<uchar>(v);
    p[1] = static_cast<uchar>(v >> 8);
}

void Put32(uchar* p, uint32_t v)
{
    Put16(p, v);
    Put16(p + 2, v >> 16);
}

struct Layout {
    int width = 0;
    int height = 0;
    int bits = 0;
    int stride = 0;
    int offset = 0;
};

// A file of the right size with both headers, the colour table or the bit masks, and zeroed
// pixel rows (the row padding stays zero).
QByteArray StartFile(Layout& layout, const QVector<QRgb>& palette, bool bitfields)
{
    layout.stride = ((layout.width * layout.bits + 31) / 32) * 4;
    layout.offset
        = kFileHeaderSize + kInfoHeaderSize + static_cast<int>(palette.size()) * 4 + (bitfields ? 12 : 0);
    const qsizetype imageSize = static_cast<qsizetype>(layout.stride) * layout.height;
    QByteArray file(layout.offset + imageSize, '\0');
    auto* p = reinterpret_cast<uchar*>(file.data());
    p[0] = 'B';
    p[1] = 'M';
    Put32(p + 2, static_cast<uint32_t>(file.size()));
    Put32(p + 10, static_cast<uint32_t>(layout.offset));
    uchar* info = p + kFileHeaderSize;
    Put32(info, kInfoHeaderSize);
    Put32(info + 4, static_cast<uint32_t>(layout.width));
    Put32(info + 8, static_cast<uint32_t>(layout.height)); // positive: rows bottom-up
    Put16(info + 12, 1);
    Put16(info + 14, static_cast<uint32_t>(layout.bits));
    Put32(info + 16, bitfields ? kBiBitfields : kBiRgb);
    Put32(info + 20, static_cast<uint32_t>(imageSize));
    Put32(info + 24, kPixelsPerMetre);
    Put32(info + 28, kPixelsPerMetre);
    Put32(info + 32, static_cast<uint32_t>(palette.size()));
    uchar* table = info + kInfoHeaderSize;
    for (const QRgb c : palette) {
        table[0] = static_cast<uchar>(qBlue(c));
        table[1] = static_cast<uchar>(qGreen(c));
        table[2] = static_cast<uchar>(qRed(c));
        table += 4;
    }
    if (bitfields) {
        Put32(table, 0xF800);
        Put32(table + 4, 0x07E0);
        Put32(table + 8, 0x001F);
    }
    return file;
}

// Writes every pixel through put(row start, x, colour), rows from the bottom up.
template <class Put>
QByteArray WriteRows(const QImage& picture, int bits, const QVector<QRgb>& palette, bool bitfields, Put put)
{
    const QImage image
        = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    Layout layout;
    layout.width = image.width();
    layout.height = image.height();
    layout.bits = bits;
    QByteArray file = StartFile(layout, palette, bitfields);
    auto* pixels = reinterpret_cast<uchar*>(file.data()) + layout.offset;
    for (int row = 0; row < layout.height; ++row) {
        const auto* source = reinterpret_cast<const QRgb*>(image.constScanLine(layout.height - 1 - row));
        uchar* out = pixels + static_cast<qsizetype>(row) * layout.stride;
        for (int x = 0; x < layout.width; ++x)
            put(out, x, source[x]);
    }
    return file;
}

template <class Index>
QByteArray WritePalette(const QImage& picture, int bits, const QVector<QRgb>& palette, Index index)
{
    return WriteRows(picture, bits, palette, false, [&](uchar* out, int x, QRgb c) {
        const uchar i = index(c);
        switch (bits) {
        case 1:
            out[x >> 3] |= static_cast<uchar>(i << (7 - (x & 7)));
            break;
        case 4:
            out[x >> 1] |= static_cast<uchar>((x & 1) ? i : i << 4);
            break;
        default:
            out[x] = i;
            break;
        }
    });
}

} // namespace

QVector<QRgb> BmpPalette(TPixelFormat format)
{
    switch (format) {
    case pf1bit:
        return BlackAndWhite();
    case pf4bit:
        return Vga16();
    case pf8bit:
        return Cube256();
    default:
        return {};
    }
}

QByteArray EncodeBmp(const QImage& picture, TPixelFormat format)
{
    switch (format) {
    case pf1bit:
    case pf4bit: {
        const QVector<QRgb>& palette = format == pf1bit ? BlackAndWhite() : Vga16();
        return WritePalette(picture, BitCount(format), palette,
            IndexCache([&palette](QRgb c) { return NearestInTable(palette, c); }));
    }
    case pf8bit:
        return WritePalette(picture, 8, Cube256(), IndexCache(&NearestIn256));
    case pf15bit:
        return WriteRows(picture, 16, {}, false, [](uchar* out, int x, QRgb c) {
            Put16(out + 2 * x,
                static_cast<uint32_t>((qRed(c) >> 3) << 10 | (qGreen(c) >> 3) << 5 | qBlue(c) >> 3));
        });
    case pf16bit:
        return WriteRows(picture, 16, {}, true, [](uchar* out, int x, QRgb c) {
            Put16(out + 2 * x,
                static_cast<uint32_t>((qRed(c) >> 3) << 11 | (qGreen(c) >> 2) << 5 | qBlue(c) >> 3));
        });
    case pf24bit:
        return WriteRows(picture, 24, {}, false, [](uchar* out, int x, QRgb c) {
            out[3 * x] = static_cast<uchar>(qBlue(c));
            out[3 * x + 1] = static_cast<uchar>(qGreen(c));
            out[3 * x + 2] = static_cast<uchar>(qRed(c));
        });
    case pfDevice:
    case pf32bit:
        break;
    }
    // The fourth byte is unused in an uncompressed 32-bit bitmap and stays zero.
    return WriteRows(picture, 32, {}, false, [](uchar* out, int x, QRgb c) {
        out[4 * x] = static_cast<uchar>(qBlue(c));
        out[4 * x + 1] = static_cast<uchar>(qGreen(c));
        out[4 * x + 2] = static_cast<uchar>(qRed(c));
    });
}

QByteArray EncodeMonochromeBmp(const QImage& picture, QRgb backColor)
{
    const QRgb back = backColor & 0xFFFFFF;
    return WritePalette(
        picture, 1, BlackAndWhite(), [back](QRgb c) { return (c & 0xFFFFFF) == back ? 1 : 0; });
}
