#ifndef ZENDRIK_PLATFORM_GDI_METAFILEPLAYER_H
#define ZENDRIK_PLATFORM_GDI_METAFILEPLAYER_H

#include "platform/gdi/Metafile.h"

#include <QRectF>

class QPainter;

namespace gdi {

// Replays a recorded picture onto any painter (printer, PDF, image): the frame is scaled into
// target, so pens, text and pictures grow with it. Drawing is clipped to target and stays within
// the painter's own clip. Mix modes other than copy, XOR and no-operation draw as copy; XOR needs
// a raster target.
void PlayMetafile(const Metafile& picture, QPainter& painter, const QRectF& target);

} // namespace gdi

#endif
