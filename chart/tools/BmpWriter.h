#ifndef ZENDRIK_CHART_TOOLS_BMPWRITER_H
#define ZENDRIK_CHART_TOOLS_BMPWRITER_H

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QVector>

// Pixel formats of a bitmap, in the order of the bitmap options' colour list.
enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

// The picture as a Windows bitmap file (bottom-up rows, 40-byte header) at the depth of the
// pixel format; the device format is 32-bit. 1, 4 and 8 bit take each pixel's nearest palette
// colour without dithering (black and white; the 16 VGA colours; a 6 x 6 x 6 colour cube and 40
// grays); 15 bit keeps 5 bits of each colour, 16 bit 5, 6 and 5 bits in bit fields.
QByteArray EncodeBmp(const QImage& picture, TPixelFormat format);

// A 1-bit bitmap as the window system turns colour into monochrome: pixels of the back colour
// become white, every other pixel black, so that light lines stay visible.
QByteArray EncodeMonochromeBmp(const QImage& picture, QRgb backColor);

// The colour table written at a palette depth (1, 4 or 8 bit); empty for the other depths.
QVector<QRgb> BmpPalette(TPixelFormat format);

#endif
