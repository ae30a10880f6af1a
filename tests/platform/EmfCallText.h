#ifndef ZENDRIK_TESTS_PLATFORM_EMFCALLTEXT_H
#define ZENDRIK_TESTS_PLATFORM_EMFCALLTEXT_H

#include "platform/gdi/GdiTypes.h"

#include <QImage>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

// The words the EMF reader decodes a call into and the recording is expected to say: one spelling
// for both sides, so that a difference is one of the files, never of the wording.
namespace emfread::text {

inline QString Hex(uint32_t colour)
{
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0'));
}

inline QString PenText(uint32_t style, int64_t width, uint32_t colour)
{
    return QStringLiteral("pen %1/%2/%3")
        .arg(style & gdi::PS_STYLE_MASK)
        .arg(std::max<int64_t>(1, width))
        .arg(Hex(colour));
}

inline uint32_t Checksum(const QImage& source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    uint32_t sum = 0;
    uint32_t n = 1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            sum += (image.pixel(x, y) & 0xFFFFFF) * n++;
    return sum;
}

inline QString PatternText(const QImage& image)
{
    return QStringLiteral("brush pattern %1x%2 %3")
        .arg(image.width())
        .arg(image.height())
        .arg(Checksum(image));
}

inline QString FontText(int32_t height, int32_t escapement, int32_t weight, const QString& face)
{
    return QStringLiteral("font %1 %2 %3 %4").arg(height).arg(escapement).arg(weight).arg(face);
}

inline QString Points(const std::vector<gdi::Point>& pts)
{
    QString s = QString::number(pts.size()) + QLatin1Char(':');
    for (const gdi::Point& p : pts)
        s += QStringLiteral(" %1,%2").arg(p.x).arg(p.y);
    return s;
}

inline QString Numbers(std::initializer_list<int64_t> values)
{
    QStringList parts;
    for (int64_t v : values)
        parts << QString::number(v);
    return parts.join(QLatin1Char(' '));
}

inline QString Rects(const std::vector<std::array<int32_t, 4>>& rects)
{
    if (rects.empty())
        return QStringLiteral("Clip empty");
    QString s = QStringLiteral("Clip");
    for (const auto& r : rects)
        s += QStringLiteral(" %1,%2,%3,%4").arg(r[0]).arg(r[1]).arg(r[2]).arg(r[3]);
    return s;
}

inline QString Modes(uint32_t rop2)
{
    return QStringLiteral("r%1").arg(rop2);
}

// Figures run counter-clockwise unless the direction says otherwise.
inline QString Direction(uint32_t arcDirection)
{
    return arcDirection == gdi::AD_CLOCKWISE ? QStringLiteral(" cw") : QString();
}

} // namespace emfread::text

#endif
