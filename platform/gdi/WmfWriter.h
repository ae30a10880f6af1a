#ifndef ZENDRIK_PLATFORM_GDI_WMFWRITER_H
#define ZENDRIK_PLATFORM_GDI_WMFWRITER_H

#include "platform/gdi/Metafile.h"

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

// The box geometry is cut to, every side inclusive; never wider than 16-bit coordinates.
struct WmfClipBox {
    int32_t left = -kWmfCoordinateLimit;
    int32_t top = -kWmfCoordinateLimit;
    int32_t right = kWmfCoordinateLimit;
    int32_t bottom = kWmfCoordinateLimit;
};
// A frame of width x height widened by margin on every side.
WmfClipBox WmfFrameBox(int32_t width, int32_t height, int32_t margin);

// A polyline cut to the box: each piece lies inside it and has at most kWmfMaxPolyPoints points;
// consecutive pieces of one unbroken run share their joining point.
std::vector<std::vector<Point>> SplitPolylineForWmf(const Point* points, int count, const WmfClipBox& box = {});
// A polygon clipped to the box (empty when nothing is left).
std::vector<Point> ClipPolygonForWmf(const Point* points, int count, const WmfClipBox& box = {});

} // namespace gdi

#endif
