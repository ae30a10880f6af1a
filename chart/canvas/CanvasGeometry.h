#ifndef ZENDRIK_CHART_CANVAS_CANVASGEOMETRY_H
#define ZENDRIK_CHART_CANVAS_CANVASGEOMETRY_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/canvas/PlotColor.h"

#include <cstdint>

// Free geometry and colour routines of the drawing surface. Integers are 32-bit signed; integer
// division truncates toward zero.

// The pixel coordinate limit (the platform counts as the NT family, so +-67,108,863).
inline constexpr int32_t PixelCoordinateLimit = 67108863;

// Converts a floating-point coordinate to a pixel: rounds halves to even, saturates at
// +-PixelCoordinateLimit and maps NaN to 0 (converting NaN or a huge value to int is undefined).
int32_t RoundToPixel(double value);

bool IsBackFaceTriple(const TPoint& p0, const TPoint& p1, const TPoint& p2);
bool IsBackFaceQuad(const TFourPoints& points);
inline TPoint MakePoint(int32_t x, int32_t y) { return TPoint{x, y}; }
inline TRect MakeRect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return TRect{left, top, right, bottom}; }
bool PointInRect(const TRect& rect, int32_t x, int32_t y);
inline bool PointInRectPt(const TRect& rect, const TPoint& p) { return PointInRect(rect, p.X, p.Y); }
TRect OrientRect(const TRect& rect);
void RectSize(const TRect& rect, int32_t& width, int32_t& height);
TPoint RectCenter(const TRect& rect);
TRect PolygonBounds(const TPointArray& points, int lastIndex);
TRect PolygonRect(const TPoint* points, int count);
// Replaces the points by their convex hull; False for fewer than three points.
bool ConvexHull(TPointArray& points);

struct TRGBTriple {
    uint8_t rgbtBlue = 0;
    uint8_t rgbtGreen = 0;
    uint8_t rgbtRed = 0;
};
void ColorToRGBTriple(TColor color, TRGBTriple& out);
TColor ColorDarker(TColor color, int amount);
TColor ColorBrighter(TColor color, int amount);

#endif
