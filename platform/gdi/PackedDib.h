#ifndef ZENDRIK_PLATFORM_GDI_PACKEDDIB_H
#define ZENDRIK_PLATFORM_GDI_PACKEDDIB_H

#include <QByteArray>
#include <cstdint>

class QImage;

namespace gdi {

// The bitmap header that leads a packed device-independent bitmap.
inline constexpr uint32_t kDibHeaderSize = 40;

// A picture as both metafile formats store pictures and pattern brushes: the header, then 24 bits
// per pixel, rows bottom-up, each padded to 4 bytes, at 96 dots per inch.
QByteArray PackedDib(const QImage& source);

} // namespace gdi

#endif
