#ifndef ZENDRIK_CHART_TOOLS_ANTIALIASRASTER_H
#define ZENDRIK_CHART_TOOLS_ANTIALIASRASTER_H

#include <QRect>
#include <QRegion>
#include <cstdint>

class QImage;

// The pixel rules of the smoothed canvas, apart from the canvas so that they can be measured and
// checked on their own. They blend a pen colour straight into the rows of an RGB32 picture.
//
// A weight w mixes a pixel channel c with the pen's channel p into round((c - p) x w) + p, halves
// to even, in 32-bit floats: w = 0 gives the pen colour, w = 1 keeps the pixel. A pixel is touched
// only inside the picture (0 <= x < width, 0 <= y < height) and inside the clip region.
namespace antialias {

// Dash patterns of eight pixels, indexed by the line's major coordinate modulo 8: bit k set means
// the pixel at k is drawn.
inline constexpr uint8_t kPatternSolid = 0xFF;       // every pixel
inline constexpr uint8_t kPatternSmallDots = 0x55;   // 1,0,1,0,1,0,1,0
inline constexpr uint8_t kPatternDash = 0x77;        // 1,1,1,0,1,1,1,0
inline constexpr uint8_t kPatternDot = 0x33;         // 1,1,0,0,1,1,0,0
inline constexpr uint8_t kPatternDashDot = 0x57;     // 1,1,1,0,1,0,1,0 (also dash-dot-dot)

// Weights of the two pixels of an ellipse point: the one on the curve, the one outside it.
inline constexpr float kEllipseInner = 0.4f;
inline constexpr float kEllipseOuter = 0.6f;

// A picture and the clip region of one drawing operation, with the pen it draws in.
class BlendTarget {
public:
    // The rows of image (Format_RGB32) are taken here, once; clip null means no clip region.
    BlendTarget(QImage& image, const QRegion* clip);

    uint32_t PenRgb = 0;                  // 0x00RRGGBB
    uint8_t Pattern = kPatternSolid;

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    bool PatternOn(int64_t major) const { return (Pattern >> (major & 7)) & 1; }
    bool Visible(int64_t x, int64_t y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return false;
        if (!hasClip_)
            return true;
        if (x < clipLeft_ || y < clipTop_ || x > clipRight_ || y > clipBottom_)
            return false;
        return clipIsRect_ || clip_.contains(QPoint(static_cast<int>(x), static_cast<int>(y)));
    }
    void Blend(int64_t x, int64_t y, float weight);
    // The pen colour itself (weight 0).
    void Put(int64_t x, int64_t y);
    // The pixel at a visible position.
    uint32_t* Pixel(int64_t x, int64_t y) const { return reinterpret_cast<uint32_t*>(bits_ + y * bpl_) + x; }

private:
    uchar* bits_;
    qsizetype bpl_;
    int32_t width_;
    int32_t height_;
    bool hasClip_;
    bool clipIsRect_ = true;
    // The clip region's bounds, all four edges inside.
    int64_t clipLeft_ = 0, clipTop_ = 0, clipRight_ = -1, clipBottom_ = -1;
    QRegion clip_;
};

// A one-pixel line from (x0, y0) to (x1, y1), neither horizontal nor vertical. The start pixel is
// drawn in the pen colour and the end pixel is left out, as a device line does, so that the
// vertices of a polyline are drawn once. In between, along the major axis (x when |dx| >= |dy|),
// the exact minor coordinate m = m_low + slope x (k - k_low) from the end with the lower major
// coordinate is split at i = floor(m), f = m - i: pixel i gets weight f, pixel i + 1 weight 1 - f.
void BlendLine(BlendTarget& target, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// The arc of the ellipse with centre (xc, yc) and radii a, b (both above 0) from startDegrees
// counter-clockwise to endDegrees (equal angles: the whole ellipse), in 90-degree sections. In
// each section one pass steps along x (y = b sqrt(1 - x^2/a^2)) and one along y; an exact
// distance p from the centre puts weight p - trunc(p) on the pixel trunc(p) from the centre and
// weight 1 minus that on its neighbour one further out, so the four quadrants mirror each other.
// A step is drawn only where that pixel moved by less than 2 from the step before; the other pass
// covers the steep parts.
void BlendArc(BlendTarget& target, int32_t xc, int32_t yc, float a, float b, double startDegrees,
              double endDegrees);

// The midpoint ellipse of centre (xc, yc) and radii rx, ry (both above 0): each point is drawn as
// the pixel on the curve with weight kEllipseInner and its neighbour outside with kEllipseOuter.
void BlendEllipse(BlendTarget& target, int32_t xc, int32_t yc, int32_t rx, int32_t ry);

} // namespace antialias

#endif
