#ifndef ZENDRIK_PLATFORM_GDI_EMFWRITER_H
#define ZENDRIK_PLATFORM_GDI_EMFWRITER_H

#include "platform/gdi/Metafile.h"

#include <QByteArray>
#include <QString>

namespace gdi {

// Enhanced metafile output. The reference device is 96 dots per inch (1920 x 1440 pixels on
// 508 x 381 mm), so one logical unit of the recording is one device unit and no mapping records
// are needed. Coordinates keep their 32 bits, but outside paths geometry is cut to what can show
// as in the WMF (MetafileClip.h): some readers turn lines tens of millions of units long over.
// Text is UTF-16 with the advance of every character as the recording context measured it; clip
// regions keep their rectangles and paths stay paths. Objects live only while selected: a new one
// takes the lowest free handle, the one it replaces is deleted. Polylines outside paths longer
// than kEmfMaxPolyPoints are written as pieces of that many points sharing their joints, because
// readers count points in 16 bits.
QByteArray EncodeEmf(const Metafile& picture);

inline constexpr int kEmfMaxPolyPoints = 32767;

// Writes the file through a temporary file that replaces the target only when complete. On
// failure the old file is kept and error (when given) receives the reason.
bool SaveEmf(const Metafile& picture, const QString& fileName, QString* error = nullptr);

} // namespace gdi

#endif
