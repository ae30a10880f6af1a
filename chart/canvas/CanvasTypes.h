#ifndef ZENDRIK_CHART_CANVAS_CANVASTYPES_H
#define ZENDRIK_CHART_CANVAS_CANVASTYPES_H

#include <array>
#include <cstdint>
#include <vector>

// Plain geometry of the chart library. Drawing treats Right and Bottom as exclusive.
struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

struct TPoint3D {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Z = 0;
    friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

struct TPointFloat {
    double X = 0;
    double Y = 0;
};

// Operations take such an array with its last index, so the count is last index + 1.
using TPointArray = std::vector<TPoint>;
using TFourPoints = std::array<TPoint, 4>;
using TPoint3DArray = std::vector<TPoint3D>;

enum TGradientDirection {
    gdTopBottom,
    gdBottomTop,
    gdLeftRight,
    gdRightLeft,
    gdFromCenter,
    gdFromTopLeft,
    gdFromBottomLeft,
    gdRadial,
    gdDiagonalUp,
    gdDiagonalDown
};

#endif
