#ifndef ZENDRIK_PLATFORM_GDI_WMFWRITER_H
#define ZENDRIK_PLATFORM_GDI_WMFWRITER_H

#include "platform/gdi/Metafile.h"
#include "platform/gdi/MetafileClip.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace gdi {

// Windows metafile output: an Aldus placeable header (96 units per inch, the frame as bounding
// box), the metafile header, the records and the end-of-file record. Geometry is cut to what can
// show (the frame, or the part of it the clip leaves) widened by the pen's width before it is
// written: readers take the extent of the drawing from the coordinates in the records, so a
// zoomed trace with vertices far outside the frame would otherwise shrink the whole picture. Polylines are split into pieces of at most 32,767 points;
// text is written in code page 1252. What the format cannot hold is simplified: clip regions
// become their bounding rectangle, path brackets are drawn as plain figures and text.
QByteArray EncodeWmf(const Metafile& picture);

// Writes the file through a temporary file that replaces the target only when complete. On
// failure the old file is kept and error (when given) receives the reason.
bool SaveWmf(const Metafile& picture, const QString& fileName, QString* error = nullptr);

inline constexpr int32_t kWmfCoordinateLimit = 32767;
inline constexpr int kWmfMaxPolyPoints = 32767;

// Every coordinate the format holds.
inline constexpr ClipBox kWmfCoordinateBox{-kWmfCoordinateLimit, -kWmfCoordinateLimit, kWmfCoordinateLimit,
                                           kWmfCoordinateLimit};
// A frame of width x height widened by margin on every side.
ClipBox WmfFrameBox(int32_t width, int32_t height, int32_t margin);

// SplitPolyline with pieces of at most kWmfMaxPolyPoints points.
std::vector<std::vector<Point>> SplitPolylineForWmf(const Point* points, int count, const ClipBox& box = kWmfCoordinateBox);
// A polygon clipped to the box (empty when nothing is left); the record counts in 16 bits, so a
// longer outline keeps kWmfMaxPolyPoints evenly spread points.
std::vector<Point> ClipPolygonForWmf(const Point* points, int count, const ClipBox& box = kWmfCoordinateBox);

} // namespace gdi

#endif
