#include "platform/gdi/PackedDib.h"

#include <QImage>
#include <QtEndian>
#include <cstring>

namespace gdi {

QByteArray PackedDib(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) & ~size_t{3};
    const size_t bitsSize = stride * static_cast<size_t>(h);
    QByteArray out(static_cast<qsizetype>(kDibHeaderSize + bitsSize), Qt::Uninitialized);
    char* p = out.data();
    auto put32 = [&p](uint32_t v) {
        qToLittleEndian(v, p);
        p += 4;
    };
    auto put16 = [&p](uint16_t v) {
        qToLittleEndian(v, p);
        p += 2;
    };
    put32(kDibHeaderSize);
    put32(static_cast<uint32_t>(w));
    put32(static_cast<uint32_t>(h));
    put16(1);  // planes
    put16(24); // bits per pixel
    put32(0);  // uncompressed
    put32(static_cast<uint32_t>(bitsSize));
    put32(3780); // 96 dpi in pixels per metre
    put32(3780);
    put32(0); // colours used and important: none
    put32(0);
    for (int y = h - 1; y >= 0; --y) {
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
    return out;
}

} // namespace gdi
