#include "chart/tools/AntiAliasRaster.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// This file is compiled without contracting a multiplication and an addition into one fused
// step (see CMakeLists.txt): the reference pixels in the tests follow the float operations one by
// one.

namespace antialias {

namespace {

// Mixes the pen into pixels. With SSE2 the three channels (and the unused byte, where pixel and
// pen agree) go at once: the same float products as one channel after the other, converted under
// the processor's default rounding, which rounds halves to even.
class Mixer {
public:
    explicit Mixer(uint32_t penRgb)
#if defined(__SSE2__)
        : pen_(_mm_setr_epi32(static_cast<int>(penRgb & 0xFF), static_cast<int>((penRgb >> 8) & 0xFF),
                              static_cast<int>((penRgb >> 16) & 0xFF), 0xFF))
#else
        : pen_(penRgb)
#endif
    {
    }

    void operator()(uint32_t* px, float weight) const
    {
        const uint32_t old = *px | 0xFF000000u;
#if defined(__SSE2__)
        const __m128i zero = _mm_setzero_si128();
        const __m128i channels =
            _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(old)), zero), zero);
        const __m128 product = _mm_mul_ps(_mm_cvtepi32_ps(_mm_sub_epi32(channels, pen_)), _mm_set1_ps(weight));
        const __m128i mixed = _mm_add_epi32(_mm_cvtps_epi32(product), pen_);
        *px = static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(mixed, mixed), zero)));
#else
        *px = 0xFF000000u | Channel(old, 16, weight) | Channel(old, 8, weight) | Channel(old, 0, weight);
#endif
    }

private:
#if defined(__SSE2__)
    __m128i pen_;
#else
    uint32_t Channel(uint32_t old, int shift, float weight) const
    {
        const int c = static_cast<int>((old >> shift) & 0xFF);
        const int p = static_cast<int>((pen_ >> shift) & 0xFF);
        return static_cast<uint32_t>(static_cast<int>(std::nearbyint(static_cast<float>(c - p) * weight)) + p) << shift;
    }
    uint32_t pen_;
#endif
};

// A line's next pixels lie a row apart (or two rows, pairs of pixels, for a flat line): the
// processor cannot guess them, so they are asked for a few steps ahead.
constexpr int64_t kPrefetchSteps = 12;

inline void Prefetch(const BlendTarget& t, int64_t x, int64_t y)
{
    if (x >= 0 && y >= 0 && x < t.Width() && y < t.Height())
        __builtin_prefetch(t.Pixel(x, y), 1);
}

inline void Plot(const BlendTarget& t, const Mixer& mix, int64_t x, int64_t y, float weight)
{
    if (t.Visible(x, y))
        mix(t.Pixel(x, y), weight);
}

// floor for the minor coordinate, without a library call where the processor has no rounding
// instruction of its own.
inline int64_t Floor(float v)
{
    auto i = static_cast<int64_t>(v);
    return static_cast<float>(i) > v ? i - 1 : i;
}

constexpr double kDegToRad = std::numbers::pi / 180.0;

// Exact at the ends of a quarter, so that a whole quarter reaches its axes.
double SinDegrees(double d) { return d == 0.0 ? 0.0 : d == 90.0 ? 1.0 : std::sin(d * kDegToRad); }
double CosDegrees(double d) { return d == 0.0 ? 1.0 : d == 90.0 ? 0.0 : std::cos(d * kDegToRad); }

// r x sqrt(1 - u^2 / s^2): the distance from the centre along one axis at step u along the other.
inline float QuarterOffset(int64_t u, float s, float r)
{
    const float uf = static_cast<float>(u);
    float q = 1.0f - (uf * uf) / (s * s);
    if (q < 0.0f)
        q = 0.0f;
    return r * std::sqrt(q);
}

// One pass of an arc quarter: steps u = from .. to along one axis (signed direction su on the
// screen), the exact offset along the other (direction so) from QuarterOffset(u, s, r). along
// tells whether u runs along x.
void QuarterPass(BlendTarget& t, int32_t xc, int32_t yc, bool alongX, int su, int so, float s, float r, int64_t from,
                 int64_t to)
{
    // Only the steps that fall on the picture are walked; whether a step is drawn depends on the
    // step before it only, so the first visible step asks its predecessor.
    const int64_t centre = alongX ? xc : yc;
    const int64_t limit = alongX ? t.Width() : t.Height();
    const int64_t a = su > 0 ? -centre : centre - (limit - 1);
    const int64_t b = su > 0 ? limit - 1 - centre : centre;
    from = std::max(from, a);
    to = std::min(to, b);
    if (from > to)
        return;
    bool havePrevious = from > 0;
    int64_t previous = havePrevious ? static_cast<int64_t>(QuarterOffset(from - 1, s, r)) : 0;
    for (int64_t u = from; u <= to; ++u) {
        const float p = QuarterOffset(u, s, r);
        const float whole = std::trunc(p);
        const auto i = static_cast<int64_t>(whole);
        const bool draw = !havePrevious || std::llabs(i - previous) < 2;
        previous = i;
        havePrevious = true;
        const int64_t step = centre + su * u;
        if (!draw || !t.PatternOn(step))
            continue;
        const float f = p - whole;
        const int64_t near = (alongX ? yc : xc) + so * i;
        if (alongX) {
            t.Blend(step, near, f);
            t.Blend(step, near + so, 1.0f - f);
        } else {
            t.Blend(near, step, f);
            t.Blend(near + so, step, 1.0f - f);
        }
    }
}

// Quarter q (0 upper right, then counter-clockwise) between the angles lo and hi measured from the
// quarter's first axis.
void ArcQuarter(BlendTarget& t, int32_t xc, int32_t yc, float a, float b, int q, double lo, double hi)
{
    const int sx = q == 0 || q == 3 ? 1 : -1;
    const int sy = q < 2 ? -1 : 1;
    double xLo, xHi, yLo, yHi;
    if (q % 2 == 0) {
        xLo = a * CosDegrees(hi);
        xHi = a * CosDegrees(lo);
        yLo = b * SinDegrees(lo);
        yHi = b * SinDegrees(hi);
    } else {
        xLo = a * SinDegrees(lo);
        xHi = a * SinDegrees(hi);
        yLo = b * CosDegrees(hi);
        yHi = b * CosDegrees(lo);
    }
    QuarterPass(t, xc, yc, true, sx, sy, a, b, static_cast<int64_t>(std::ceil(xLo)), static_cast<int64_t>(std::floor(xHi)));
    QuarterPass(t, xc, yc, false, sy, sx, b, a, static_cast<int64_t>(std::ceil(yLo)), static_cast<int64_t>(std::floor(yHi)));
}

} // namespace

BlendTarget::BlendTarget(QImage& image, const QRegion* clip)
    : bits_(image.bits()), bpl_(image.bytesPerLine()), width_(image.width()), height_(image.height()),
      hasClip_(clip != nullptr)
{
    if (clip) {
        clip_ = *clip;
        const QRect bounds = clip->boundingRect();
        clipLeft_ = bounds.left();
        clipTop_ = bounds.top();
        clipRight_ = bounds.right();
        clipBottom_ = bounds.bottom();
        clipIsRect_ = clip->rectCount() <= 1;
    }
}

void BlendTarget::Blend(int64_t x, int64_t y, float weight)
{
    Plot(*this, Mixer(PenRgb), x, y, weight);
}

void BlendTarget::Put(int64_t x, int64_t y)
{
    if (Visible(x, y))
        reinterpret_cast<uint32_t*>(bits_ + y * bpl_)[x] = 0xFF000000u | PenRgb;
}

void BlendLine(BlendTarget& t, int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    const int64_t dx = static_cast<int64_t>(x1) - x0;
    const int64_t dy = static_cast<int64_t>(y1) - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    if (t.PatternOn(xMajor ? x0 : y0))
        t.Put(x0, y0);
    // From the end with the lower major coordinate; the other end is not drawn.
    int64_t lowMajor = xMajor ? x0 : y0, lowMinor = xMajor ? y0 : x0;
    int64_t highMajor = xMajor ? x1 : y1, highMinor = xMajor ? y1 : x1;
    if (highMajor < lowMajor) {
        std::swap(lowMajor, highMajor);
        std::swap(lowMinor, highMinor);
    }
    const float slope = static_cast<float>(highMinor - lowMinor) / static_cast<float>(highMajor - lowMajor);
    const float base = static_cast<float>(lowMinor);
    const int64_t limit = xMajor ? t.Width() : t.Height();
    const int64_t from = std::max<int64_t>(lowMajor + 1, 0);
    const int64_t to = std::min<int64_t>(highMajor - 1, limit - 1);
    const Mixer mix(t.PenRgb);
    for (int64_t k = from; k <= to; ++k) {
        if (!t.PatternOn(k))
            continue;
        if (k + kPrefetchSteps <= to) {
            const int64_t ahead = Floor(base + slope * static_cast<float>(k + kPrefetchSteps - lowMajor));
            if (xMajor) {
                Prefetch(t, k + kPrefetchSteps, ahead);
                Prefetch(t, k + kPrefetchSteps, ahead + 1);
            } else {
                Prefetch(t, ahead, k + kPrefetchSteps);
            }
        }
        const float m = base + slope * static_cast<float>(k - lowMajor);
        const int64_t i = Floor(m);
        const float f = m - static_cast<float>(i);
        if (xMajor) {
            Plot(t, mix, k, i, f);
            Plot(t, mix, k, i + 1, 1.0f - f);
        } else {
            Plot(t, mix, i, k, f);
            Plot(t, mix, i + 1, k, 1.0f - f);
        }
    }
}

void BlendArc(BlendTarget& t, int32_t xc, int32_t yc, float a, float b, double startDegrees, double endDegrees)
{
    if (!std::isfinite(startDegrees) || !std::isfinite(endDegrees) || !(a > 0.0f) || !(b > 0.0f))
        return;
    double start = std::fmod(startDegrees, 360.0);
    if (start < 0.0)
        start += 360.0;
    if (start >= 360.0)
        start -= 360.0;
    double span = std::fmod(endDegrees - startDegrees, 360.0);
    if (span <= 0.0)
        span += 360.0;
    int q = static_cast<int>(std::floor(start / 90.0));
    // A whole ellipse is four whole quarters: split at the start angle, the quarter it lies in
    // would draw the step at the split twice.
    double lo = span >= 360.0 ? 0.0 : start - 90.0 * q;
    double remaining = span;
    // A residue of the angle arithmetic is no further quarter.
    for (int sections = 0; remaining > 1e-9 && sections < 5; ++sections) {
        const double hi = std::min(90.0, lo + remaining);
        ArcQuarter(t, xc, yc, a, b, q % 4, lo, hi);
        remaining -= hi - lo;
        lo = 0.0;
        ++q;
    }
}

namespace {

// One midpoint of the ellipse in its four quarters (once where quarters share it); region 1 runs
// mostly across, so its outer neighbour lies above or below.
void EllipsePoint(BlendTarget& t, int64_t xc, int64_t yc, int64_t x, int64_t y, bool across)
{
    static constexpr int kSigns[4][2] = {{1, -1}, {-1, -1}, {-1, 1}, {1, 1}};
    for (const auto& s : kSigns) {
        if ((x == 0 && s[0] < 0) || (y == 0 && s[1] > 0))
            continue;
        const int64_t px = xc + s[0] * x;
        const int64_t py = yc + s[1] * y;
        if (!t.PatternOn(across ? px : py))
            continue;
        t.Blend(px, py, kEllipseInner);
        if (across)
            t.Blend(px, py + s[1], kEllipseOuter);
        else
            t.Blend(px + s[0], py, kEllipseOuter);
    }
}

} // namespace

void BlendEllipse(BlendTarget& t, int32_t xc, int32_t yc, int32_t rx, int32_t ry)
{
    if (rx <= 0 || ry <= 0)
        return;
    // The decision terms are kept four times over, so that they stay integers.
    const int64_t a2 = static_cast<int64_t>(rx) * rx;
    const int64_t b2 = static_cast<int64_t>(ry) * ry;
    int64_t x = 0;
    int64_t y = ry;
    int64_t dx = 0;
    int64_t dy = 2 * a2 * y;
    int64_t d1 = 4 * b2 - 4 * a2 * ry + a2;
    while (dx < dy) {
        EllipsePoint(t, xc, yc, x, y, true);
        ++x;
        dx += 2 * b2;
        if (d1 < 0) {
            d1 += 4 * (dx + b2);
        } else {
            --y;
            dy -= 2 * a2;
            d1 += 4 * (dx - dy + b2);
        }
    }
    int64_t d2 = b2 * (2 * x + 1) * (2 * x + 1) + 4 * a2 * (y - 1) * (y - 1) - 4 * a2 * b2;
    while (y >= 0) {
        EllipsePoint(t, xc, yc, x, y, false);
        --y;
        dy -= 2 * a2;
        if (d2 > 0) {
            d2 += 4 * (a2 - dy);
        } else {
            ++x;
            dx += 2 * b2;
            d2 += 4 * (dx - dy + a2);
        }
    }
}

} // namespace antialias
