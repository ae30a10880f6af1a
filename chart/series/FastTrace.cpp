#include "chart/series/FastTrace.h"

#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartValueList.h"
#include "platform/gdi/GdiTypes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

ColumnReducer::ColumnReducer(std::vector<TPoint>& path) : path_(path)
{
    const TPoint start = path_.back();
    columnX_ = start.X;
    minY_ = maxY_ = lastY_ = start.Y;
}

void ColumnReducer::StartColumn(int32_t x, int32_t y)
{
    columnPathStart_ = path_.size();
    columnX_ = x;
    minY_ = maxY_ = lastY_ = y;
    minSeq_ = maxSeq_ = seq_ = 0;
    path_.push_back(TPoint{x, y});
}

void ColumnReducer::AddColumn(int32_t x, int32_t firstY, int32_t minY, int minOffset, int32_t maxY, int maxOffset,
                              int32_t lastY, int count)
{
    Flush();
    StartColumn(x, firstY);
    minY_ = minY;
    minSeq_ = minOffset;
    maxY_ = maxY;
    maxSeq_ = maxOffset;
    lastY_ = lastY;
    seq_ = count - 1;
}

void ColumnReducer::Emit(int32_t y)
{
    const TPoint& back = path_.back();
    if (back.X != columnX_ || back.Y != y)
        path_.push_back(TPoint{columnX_, y});
}

// The column's first point went out when the column started; the extremes follow in the order
// they came (the first one of several equal pixels), then the last point.
void ColumnReducer::Flush()
{
    if (seq_ == 0)
        return;
    if (minSeq_ > 0 && maxSeq_ > 0) {
        if (minSeq_ < maxSeq_) {
            Emit(minY_);
            Emit(maxY_);
        } else {
            Emit(maxY_);
            Emit(minY_);
        }
    } else if (minSeq_ > 0) {
        Emit(minY_);
    } else if (maxSeq_ > 0) {
        Emit(maxY_);
    }
    Emit(lastY_);
    seq_ = 0;
}

bool PenReducesExactly(const gdi::Pen& pen, int rop2)
{
    if (rop2 != gdi::R2_COPYPEN)
        return false;
    const uint32_t kind = pen.style & gdi::PS_STYLE_MASK;
    if (kind != gdi::PS_SOLID && kind != gdi::PS_INSIDEFRAME)
        return false;
    if (pen.width <= 1)
        return true;
    return (pen.style & gdi::PS_ENDCAP_MASK) == gdi::PS_ENDCAP_ROUND &&
           (pen.style & gdi::PS_JOIN_MASK) == gdi::PS_JOIN_ROUND;
}

TraceDrawCache::AxisKey TraceDrawCache::KeyOf(const TChartAxis& axis)
{
    AxisKey key;
    key.conversion = axis.Conversion();
    key.minimum = axis.CurrentMinimum();
    key.maximum = axis.CurrentMaximum();
    key.start = axis.StartPixel();
    key.end = axis.EndPixel();
    key.limit = axis.Chart().PixelLimit;
    key.horizontal = axis.Horizontal();
    key.inverted = axis.Inverted();
    key.axis = &axis;
    return key;
}

void TraceDrawCache::Clear()
{
    valid_ = false;
    path_ = {};
    scratch_ = {};
    orderValues_ = nullptr;
    ascendingTo_ = -1;
}

size_t TraceDrawCache::MemoryBytes() const
{
    return (path_.capacity() + scratch_.capacity()) * sizeof(TPoint);
}

bool TraceDrawCache::AscendingUpTo(const TChartValueList& xs, int last)
{
    if (orderValues_ != &xs || orderGeneration_ != xs.Generation()) {
        orderValues_ = &xs;
        orderGeneration_ = xs.Generation();
        ascendingTo_ = 0;
    }
    const std::span<const double> v = xs.Values();
    while (ascendingTo_ < last && v[static_cast<size_t>(ascendingTo_)] <= v[static_cast<size_t>(ascendingTo_) + 1])
        ++ascendingTo_;
    return ascendingTo_ >= last;
}

void TraceDrawCache::NoteColumnStart(const ColumnReducer& reducer, int index, bool track)
{
    if (track) {
        lastColumnPathSize_ = reducer.ColumnPathStart();
        lastColumnStart_ = index;
    }
}

void TraceDrawCache::ReducePointByPoint(ColumnReducer& reducer, const TChartAxis& xAxis, const TChartAxis& yAxis,
                                        std::span<const double> xv, std::span<const double> yv, int from, int to,
                                        bool track)
{
    constexpr int kChunk = 512;
    std::array<int32_t, kChunk> px{};
    std::array<int32_t, kChunk> py{};
    for (int start = from; start <= to; start += kChunk) {
        const size_t n = static_cast<size_t>(std::min(kChunk, to - start + 1));
        const size_t at = static_cast<size_t>(start);
        xAxis.ValuesToPixels(xv.subspan(at, n), std::span<int32_t>(px.data(), n));
        yAxis.ValuesToPixels(yv.subspan(at, n), std::span<int32_t>(py.data(), n));
        for (size_t k = 0; k < n; ++k)
            if (reducer.Add(px[k], py[k]))
                NoteColumnStart(reducer, start + static_cast<int>(k), track);
    }
}

namespace {

// Lowest and highest of count values, false when one is NaN (then low and high mean nothing).
// Two values at a time in two lanes each, so the pass runs at the speed of memory.
bool ValueRange(const double* v, int count, double& low, double& high)
{
    int k = 0;
#ifdef __SSE2__
    __m128d lo0 = _mm_set1_pd(v[0]), lo1 = lo0, hi0 = lo0, hi1 = lo0;
    __m128d unordered = _mm_setzero_pd();
    for (; k + 4 <= count; k += 4) {
        const __m128d a = _mm_loadu_pd(v + k);
        const __m128d b = _mm_loadu_pd(v + k + 2);
        unordered = _mm_or_pd(unordered, _mm_or_pd(_mm_cmpunord_pd(a, a), _mm_cmpunord_pd(b, b)));
        lo0 = _mm_min_pd(lo0, a);
        lo1 = _mm_min_pd(lo1, b);
        hi0 = _mm_max_pd(hi0, a);
        hi1 = _mm_max_pd(hi1, b);
    }
    if (_mm_movemask_pd(unordered) != 0)
        return false;
    double lanes[4];
    _mm_storeu_pd(lanes, _mm_min_pd(lo0, lo1));
    _mm_storeu_pd(lanes + 2, _mm_max_pd(hi0, hi1));
    double lo = std::min(lanes[0], lanes[1]);
    double hi = std::max(lanes[2], lanes[3]);
#else
    double lo = v[0], hi = v[0];
#endif
    bool nan = v[0] != v[0];
    for (; k < count; ++k) {
        const double x = v[k];
        nan = nan || x != x;
        lo = x < lo ? x : lo;
        hi = x > hi ? x : hi;
    }
    low = lo;
    high = hi;
    return !nan;
}

} // namespace

// Columns of ascending X on a monotone axis: the points of one pixel X are next to each other,
// so a column ends at the first point with another pixel, found by galloping and halving.
void TraceDrawCache::ReduceByColumns(ColumnReducer& reducer, const TChartAxis& xAxis, const TChartAxis& yAxis,
                                     std::span<const double> xv, std::span<const double> yv, int from, int to,
                                     bool track)
{
    // The last X converted is remembered: the check of a column's end converts the first point
    // of the next column, which that column then needs again.
    int memoIndex = -1;
    int32_t memoPixel = 0;
    auto fx = [&](int i) {
        if (i != memoIndex) {
            memoIndex = i;
            memoPixel = xAxis.ValueToPixel(xv[static_cast<size_t>(i)]);
        }
        return memoPixel;
    };
    auto fy = [&](int i) { return yAxis.ValueToPixel(yv[static_cast<size_t>(i)]); };
    const double ppu = yAxis.PixelsPerUnit();
    // Values farther apart than this never share a pixel (unless the axis clamps them).
    const double apart = ppu > 0 ? (1.0 + 1e-6) / ppu : std::numeric_limits<double>::infinity();
    const int32_t limit = yAxis.Chart().PixelLimit;
    constexpr int kDense = 24;
    const bool logarithmic = xAxis.Conversion() == AxisConversion::Logarithmic;
    const int direction = fx(to) >= fx(from) ? 1 : -1;
    const double* x = xv.data();
    // The end of the column of pixel c that starts at i: the first point after it with another
    // pixel. A guess from the value between the two pixels, found among the X values without
    // converting them, is checked (and moved a few points) with the axis' own conversion;
    // failing that, galloping and halving find it.
    int previousCount = 0;
    // Whether j is the end of the column of pixel c that starts at i.
    auto endsAt = [&](int i, int j, int32_t c) { return j > i && fx(j - 1) == c && (j > to || fx(j) != c); };
    auto columnEnd = [&](int i, int32_t c) {
        // Columns of evenly spaced X hold about as many points as the one before.
        const int guess = std::clamp(i + previousCount, i + 1, to + 1);
        if (previousCount > 1)
            for (int j : {guess, guess + 1, guess - 1})
                if (j <= to + 1 && endsAt(i, j, c))
                    return j;
        // The first X at or beyond the value between the two pixels, searched near the guess.
        const double v0 = xAxis.PixelToValue(c);
        const double v1 = xAxis.PixelToValue(c + direction);
        const double between = logarithmic ? std::sqrt(v0 * v1) : (v0 + v1) / 2;
        int low = i + 1, high = to + 1;   // the answer lies in low..high
        int step = 1;
        if (guess <= to && x[guess] < between) {
            low = guess + 1;
            while (low + step <= to && x[low + step] < between) {
                low += step + 1;
                step *= 2;
            }
            high = std::min(to + 1, low + step);
        } else {
            high = guess;
            while (high - step > i + 1 && x[high - step] >= between) {
                high -= step;
                step *= 2;
            }
            low = std::max(i + 1, high - step);
        }
        int j = static_cast<int>(std::lower_bound(x + low, x + high, between) - x);
        for (int tries = 0; tries < 8; ++tries) {
            if (j <= to && fx(j) == c)
                ++j;
            else if (j > i + 1 && fx(j - 1) != c)
                --j;
            else
                return j;
        }
        int stride = 1;
        int inside = i;
        int beyond = i + 1;
        while (beyond <= to && fx(beyond) == c) {
            inside = beyond;
            stride *= 2;
            beyond = std::min(to + 1, inside + stride);
        }
        while (beyond - inside > 1) {
            const int middle = inside + (beyond - inside) / 2;
            if (fx(middle) == c)
                inside = middle;
            else
                beyond = middle;
        }
        return beyond;
    };
    int i = from;
    while (i <= to) {
        const int32_t c = fx(i);
        const int end = columnEnd(i, c);   // one past the column
        const int count = end - i;
        previousCount = count;
        bool perPoint = count < kDense || c == reducer.ColumnX();
        double low = 0, high = 0;
        // NaN goes to pixel 0, off the order of the values: such a column goes point by point.
        if (!perPoint)
            perPoint = !ValueRange(yv.data() + i, count, low, high);
        if (perPoint) {
            for (int k = i; k < end; ++k)
                if (reducer.Add(c, fy(k)))
                    NoteColumnStart(reducer, k, track);
            i = end;
            continue;
        }
        const int32_t a = yAxis.ValueToPixel(low);
        const int32_t b = yAxis.ValueToPixel(high);
        const int32_t minP = std::min(a, b);
        const int32_t maxP = std::max(a, b);
        const double minValue = minP == a ? low : high;
        const double maxValue = minP == a ? high : low;
        // The first points that reach the two extreme pixels, among those whose value can lie on
        // them (within a pixel of the extreme value, or any value where the axis clamps).
        const bool anyMin = minP == limit || minP == -limit;
        const bool anyMax = maxP == limit || maxP == -limit;
        int minOffset = -1, maxOffset = -1;
        for (int k = i; k < end && (minOffset < 0 || maxOffset < 0); ++k) {
            const double v = yv[static_cast<size_t>(k)];
            if (minOffset < 0 && (anyMin || std::fabs(v - minValue) <= apart) && fy(k) == minP)
                minOffset = k - i;
            if (maxOffset < 0 && (anyMax || std::fabs(v - maxValue) <= apart) && fy(k) == maxP)
                maxOffset = k - i;
        }
        reducer.AddColumn(c, fy(i), minP, std::max(0, minOffset), maxP, std::max(0, maxOffset), fy(end - 1), count);
        NoteColumnStart(reducer, i, track);
        ++columnsSummed_;
        i = end;
    }
}

void TraceDrawCache::Reduce(std::vector<TPoint>& path, const TChartAxis& xAxis, const TChartAxis& yAxis,
                            const TChartValueList& xs, const TChartValueList& ys, int from, int to, bool track)
{
    ColumnReducer reducer(path);
    const std::span<const double> xv = xs.Values();
    const std::span<const double> yv = ys.Values();
    const AxisConversion xc = xAxis.Conversion();
    const AxisConversion yc = yAxis.Conversion();
    // Conversions that keep the order of the values: a linear one that clamps, a logarithmic one
    // over values above 0, or a constant one.
    const bool xMonotone = xc == AxisConversion::LinearClamped || xc == AxisConversion::Center ||
                           (xc == AxisConversion::Logarithmic && xv[static_cast<size_t>(from)] > 0.0);
    const bool yMonotone = yc == AxisConversion::LinearClamped || yc == AxisConversion::Center;
    if (xMonotone && yMonotone && AscendingUpTo(xs, to))
        ReduceByColumns(reducer, xAxis, yAxis, xv, yv, from, to, track);
    else
        ReducePointByPoint(reducer, xAxis, yAxis, xv, yv, from, to, track);
    reducer.Finish();
    pointsReduced_ += to - from + 1;
}

const std::vector<TPoint>& TraceDrawCache::ReducedRun(const TChartAxis& xAxis, const TChartAxis& yAxis,
                                                      const TChartValueList& xs, const TChartValueList& ys, int from,
                                                      int to, TPoint start, bool keep)
{
    pointsReduced_ = 0;
    columnsSummed_ = 0;
    if (!keep) {
        scratch_.clear();
        scratch_.push_back(start);
        Reduce(scratch_, xAxis, yAxis, xs, ys, from, to, false);
        return scratch_;
    }
    RunKey key;
    key.x = KeyOf(xAxis);
    key.y = KeyOf(yAxis);
    key.xs = &xs;
    key.ys = &ys;
    key.xGeneration = xs.Generation();
    key.yGeneration = ys.Generation();
    key.from = from;
    key.startX = start.X;
    key.startY = start.Y;
    if (valid_ && key == key_ && to == to_)
        return path_;
    if (valid_ && key == key_ && to > to_) {
        // Appended points: the last column may go on, so it is reduced again with them.
        path_.resize(lastColumnPathSize_);
        Reduce(path_, xAxis, yAxis, xs, ys, lastColumnStart_, to, true);
        to_ = to;
        return path_;
    }
    path_.clear();
    path_.push_back(start);
    lastColumnPathSize_ = 1;
    lastColumnStart_ = from;
    Reduce(path_, xAxis, yAxis, xs, ys, from, to, true);
    key_ = key;
    to_ = to;
    valid_ = true;
    return path_;
}
