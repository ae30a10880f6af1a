#ifndef ZENDRIK_CHART_TOOLS_JPEGENCODER_H
#define ZENDRIK_CHART_TOOLS_JPEGENCODER_H

#include <QByteArray>
#include <QImage>
#include <QString>

// How libjpeg compresses a picture.
struct JpegEncoding {
    int Quality = 95; // 1..100
    bool GrayScale = false; // one luminance channel instead of colour
    bool FastDct = false; // the fast integer transform instead of the accurate one
    bool Progressive = false; // progressive scans instead of a baseline file
};

// Compresses the picture (converted to 24-bit RGB) into a JFIF file. libjpeg's errors come back
// as false with its message; they never end the process.
bool EncodeJpeg(
    const QImage& picture, const JpegEncoding& encoding, QByteArray& out, QString* error = nullptr);

#endif
