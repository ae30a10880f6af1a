#ifndef ZENDRIK_PLATFORM_GDI_METAFILE_H
#define ZENDRIK_PLATFORM_GDI_METAFILE_H

#include "platform/gdi/GdiTypes.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

namespace gdi {

// One device-context call as a recording device context saw it. Clip changes are kept as the
// resulting clip region (or none), so players need not repeat the region arithmetic.
enum class MetaOp : uint8_t {
    SelectPen,          // index: pens
    SelectBrush,        // index: brushes
    SelectFont,         // index: fonts
    SetROP2,            // a[0]
    SetBkMode,          // a[0]
    SetBkColor,         // a[0]
    SetTextColor,       // a[0]
    SetTextAlign,       // a[0]
    SetTextCharExtra,   // a[0]
    SetPolyFillMode,    // a[0]
    SetGraphicsMode,    // a[0]
    MoveTo,             // a[0..1]
    LineTo,             // a[0..1]
    Polyline,           // points
    Polygon,            // points
    Rectangle,          // a[0..3]
    Ellipse,            // a[0..3]
    RoundRect,          // a[0..5]
    Arc,                // a[0..7]
    Pie,                // a[0..7]
    Chord,              // a[0..7]
    FillRect,           // a[0..3], index: brushes
    PatBlt,             // a[0..3] x, y, w, h; a[4] raster operation
    SetPixel,           // a[0..1], a[2] colour
    TextOut,            // a[0..1], text
    SelectClip,         // index: regions, -1 for no clipping
    BeginPath,
    EndPath,
    AbortPath,
    CloseFigure,
    StrokePath,
    FillPath,
    StrokeAndFillPath,
    SelectClipPath,     // a[0] combination mode
    StretchBlt,         // a[0..3] destination rectangle, a[4..7] source rectangle, index: images; rop in rop
    SetArcDirection,    // a[0]
};

struct MetaRecord {
    MetaOp op = MetaOp::MoveTo;
    int32_t a[8] = {};
    uint32_t rop = 0;
    int32_t index = -1;
    std::vector<Point> points;
    QString text;
};

// A recorded picture: a frame of Width x Height logical pixels (96 per inch) and the calls in the
// order they were made, with the objects they refer to.
struct Metafile {
    int32_t Width = 1;
    int32_t Height = 1;
    bool Enhanced = false;
    std::vector<MetaRecord> Records;
    std::vector<Pen> Pens;
    std::vector<Brush> Brushes;
    std::vector<Font> Fonts;
    std::vector<Region> Regions;
    std::vector<QImage> Images;

    // How many records of one kind the picture holds (tests and diagnostics).
    int Count(MetaOp op) const;
};

} // namespace gdi

#endif
