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

TraceDrawCache::AxisKey TraceDrawCache::KeyOf(const TChartAxis& axis)
{
    AxisKey key;
    key.conversion = axis.Conversion();
    key.minimum = axis.CurrentMinimum();
    key.maximum = axis.CurrentMaximum();
    key.start = axis.StartPixel();
    key.end = axis.EndPixel();
    key.low = axis.ClampLow();
    key.high = axis.ClampHigh();
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

// Where the pixel columns of an axis end, as X values: the rounding boundary between a column
// and the next one mapped back through the axis' scale once (one exp per column on a logarithmic
// axis, shared by every trace on it), so that the points of a column are found by searching the
// ascending X values rather than by converting them. A value within a hair of a boundary is left
// to the axis' conversion itself.
class ColumnEdges {
public:
    explicit ColumnEdges(const TChartAxis& axis) : axis_(axis), step_(axis.ColumnStep())
    {
        ends_ = axis.ColumnEnds(first_);
        const AxisConversion c = axis.Conversion();
        logarithmic_ = c == AxisConversion::Logarithmic;
        usable_ = (logarithmic_ && axis.PixelsPerLogUnit() > 0) ||
                  (c == AxisConversion::LinearClamped && axis.PixelsPerUnit() > 0);
        // A hair: a millionth of a pixel, and a few units in the last place of the values.
        hair_ = usable_ ? 1e-6 / (logarithmic_ ? axis.PixelsPerLogUnit() : axis.PixelsPerUnit()) : 0.0;
        reference_ = logarithmic_ ? 0.0 : std::fabs(axis.CurrentMinimum());
    }
    bool Usable() const { return usable_; }
    // +1 or -1: the way the pixels go as X grows.
    int Step() const { return step_; }
    // The X value between column c and the next one; not finite where the conversion clamps.
    double End(int32_t c) const
    {
        const int64_t at = int64_t{c} - first_;
        return at >= 0 && at < static_cast<int64_t>(ends_.size()) ? ends_[static_cast<size_t>(at)] : axis_.ColumnEnd(c);
    }
    // How near a value must be to an end for the axis' conversion to decide.
    double Hair(double end) const
    {
        if (logarithmic_)
            return hair_ * std::fabs(end) + 1e-14 * std::fabs(end);
        return hair_ + 1e-14 * (std::fabs(end) + reference_);
    }

private:
    const TChartAxis& axis_;
    std::span<const double> ends_;
    int first_ = 0;
    int step_ = 1;
    bool usable_ = false;
    bool logarithmic_ = false;
    double hair_ = 0, reference_ = 0;
};

// The values an axis converts to one pixel, as far as its edges tell, widened by a hair on both
// sides: a value inside may still convert to a neighbour, one outside never converts to it.
struct PixelValues {
    PixelValues(const ColumnEdges& edges, int32_t pixel)
    {
        if (!edges.Usable())
            return;
        const double a = edges.End(pixel - edges.Step());
        const double b = edges.End(pixel);
        if (!std::isfinite(a) || !std::isfinite(b))
            return;
        low = std::min(a, b) - edges.Hair(std::min(a, b));
        high = std::max(a, b) + edges.Hair(std::max(a, b));
    }
    bool Known() const { return low <= high; }
    double low = 1, high = 0;
};

// Which of two ranges the first of count values inside one of them (for which the check, the
// axis' own conversion, agrees) lies in: 0 for the first range, 1 for the second, -1 for none.
// Two values at a time until one is inside either range.
template <class CheckFirst, class CheckSecond>
int FirstRangeReached(const double* v, int count, const PixelValues& a, const PixelValues& b,
                      const CheckFirst& inA, const CheckSecond& inB)
{
    int k = 0;
    auto scalar = [&](int at) {
        const double x = v[at];
        if (x >= a.low && x <= a.high && inA(at))
            return 0;
        if (x >= b.low && x <= b.high && inB(at))
            return 1;
        return -1;
    };
#ifdef __SSE2__
    const __m128d aLow = _mm_set1_pd(a.low), aHigh = _mm_set1_pd(a.high);
    const __m128d bLow = _mm_set1_pd(b.low), bHigh = _mm_set1_pd(b.high);
    for (; k + 2 <= count; k += 2) {
        const __m128d x = _mm_loadu_pd(v + k);
        const __m128d hitA = _mm_and_pd(_mm_cmpge_pd(x, aLow), _mm_cmple_pd(x, aHigh));
        const __m128d hitB = _mm_and_pd(_mm_cmpge_pd(x, bLow), _mm_cmple_pd(x, bHigh));
        if (_mm_movemask_pd(_mm_or_pd(hitA, hitB)) != 0) {
            for (int at : {k, k + 1})
                if (const int which = scalar(at); which >= 0)
                    return which;
        }
    }
#endif
    for (; k < count; ++k)
        if (const int which = scalar(k); which >= 0)
            return which;
    return -1;
}

} // namespace

// Columns of ascending X on a monotone axis: the points of one pixel X are next to each other,
// so a column ends at the first point at or beyond the column's end value.
void TraceDrawCache::ReduceByColumns(ColumnReducer& reducer, const TChartAxis& xAxis, const TChartAxis& yAxis,
                                     std::span<const double> xv, std::span<const double> yv, int from, int to,
                                     bool track)
{
    // The last X converted is remembered: a check at a column's end may convert the first point
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
    const int32_t clampLow = yAxis.ClampLow(), clampHigh = yAxis.ClampHigh();
    // Columns of fewer points go point by point; summing is cheaper from about this many on.
    constexpr int kDense = 8;
    const double* x = xv.data();
    const ColumnEdges edges(xAxis);
    const ColumnEdges yEdges(yAxis);
    int previousCount = 0;
    // The first point after i at or beyond value, searched near where a column as long as the
    // one before would end (evenly spaced X give columns of about the same length).
    auto firstAtOrBeyond = [&](int i, double value) {
        const int guess = std::clamp(i + previousCount, i + 1, to + 1);
        // Mostly the guess or next to it: a few predictable tests instead of a search.
        for (int j : {guess, guess + 1, guess - 1})
            if (j > i && j <= to + 1 && !(x[j - 1] >= value) && (j > to || x[j] >= value))
                return j;
        int low = i + 1, high = to + 1;   // the answer lies in low..high
        int step = 1;
        if (guess <= to && x[guess] < value) {
            low = guess + 1;
            while (low + step <= to && x[low + step] < value) {
                low += step + 1;
                step *= 2;
            }
            high = std::min(to + 1, low + step);
        } else {
            high = guess;
            while (high - step > i + 1 && x[high - step] >= value) {
                high -= step;
                step *= 2;
            }
            low = std::max(i + 1, high - step);
        }
        return static_cast<int>(std::lower_bound(x + low, x + high, value) - x);
    };
    // The end of the column of pixel c that starts at i (one past its last point), from the
    // column's end value; values within a hair of it are converted.
    auto columnEndAt = [&](int i, int32_t c, double end) {
        const double hair = edges.Hair(end);
        int j = firstAtOrBeyond(i, end);
        while (j <= to && x[j] <= end + hair && fx(j) == c)
            ++j;
        while (j > i + 1 && x[j - 1] >= end - hair && fx(j - 1) != c)
            --j;
        return j;
    };
    // Without an end value (a constant or clamped conversion): galloping and halving.
    auto columnEndBySearch = [&](int i, int32_t c) {
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
    int32_t c = fx(i);
    double end = edges.Usable() ? edges.End(c) : std::numeric_limits<double>::quiet_NaN();
    while (i <= to) {
        const bool byEdge = std::isfinite(end);
        const int columnEnd = byEdge ? columnEndAt(i, c, end) : columnEndBySearch(i, c);   // one past the column
        const int count = columnEnd - i;
        previousCount = count;
        // The search of the next column's end reads X where this one's length says it will be;
        // X is read nowhere else, so that memory is asked for now.
        __builtin_prefetch(x + std::min(to, columnEnd + count));
        bool perPoint = count < kDense || c == reducer.ColumnX();
        double low = 0, high = 0;
        // NaN goes to pixel 0, off the order of the values: such a column goes point by point.
        if (!perPoint)
            perPoint = !ValueRange(yv.data() + i, static_cast<size_t>(count), low, high);
        if (perPoint) {
            for (int k = i; k < columnEnd; ++k)
                if (reducer.Add(c, fy(k)))
                    NoteColumnStart(reducer, k, track);
        } else {
            const int32_t a = yAxis.ValueToPixel(low);
            const int32_t b = yAxis.ValueToPixel(high);
            const int32_t minP = std::min(a, b);
            const int32_t maxP = std::max(a, b);
            const double minValue = minP == a ? low : high;
            const double maxValue = minP == a ? high : low;
            // The first points that reach the two extreme pixels. What the path needs of them is
            // whether the first point is one (then it stands for it) and otherwise which comes
            // first: the first value between the ends of either pixel tells.
            const int32_t firstY = fy(i);
            int minOffset = firstY == minP ? 0 : -1, maxOffset = firstY == maxP ? 0 : -1;
            const PixelValues minRange(yEdges, minP), maxRange(yEdges, maxP);
            if (minOffset == 0 || maxOffset == 0) {
                // The other one, unless the column is one pixel high, comes later.
                minOffset = minOffset < 0 ? 1 : minOffset;
                maxOffset = maxOffset < 0 ? 1 : maxOffset;
            } else if (minRange.Known() && maxRange.Known()) {
                const int first = FirstRangeReached(yv.data() + i, count, minRange, maxRange,
                                                    [&](int k) { return fy(i + k) == minP; },
                                                    [&](int k) { return fy(i + k) == maxP; });
                minOffset = first == 0 ? 1 : 2;
                maxOffset = first == 0 ? 2 : 1;
            } else {
                const bool anyMin = minP == clampLow || minP == clampHigh;
                const bool anyMax = maxP == clampLow || maxP == clampHigh;
                for (int k = i; k < columnEnd && (minOffset < 0 || maxOffset < 0); ++k) {
                    const double v = yv[static_cast<size_t>(k)];
                    if (minOffset < 0 && (anyMin || std::fabs(v - minValue) <= apart) && fy(k) == minP)
                        minOffset = k - i;
                    if (maxOffset < 0 && (anyMax || std::fabs(v - maxValue) <= apart) && fy(k) == maxP)
                        maxOffset = k - i;
                }
            }
            reducer.AddColumn(c, firstY, minP, std::max(0, minOffset), maxP, std::max(0, maxOffset), fy(columnEnd - 1),
                              count);
            NoteColumnStart(reducer, i, track);
            ++columnsSummed_;
        }
        i = columnEnd;
        if (i > to)
            break;
        // The next point lies in the next column unless it also lies beyond that one's end.
        const double next = byEdge ? edges.End(c + edges.Step()) : std::numeric_limits<double>::quiet_NaN();
        if (std::isfinite(next) && x[i] < next - edges.Hair(next) && (x[i] > end + edges.Hair(end) || fx(i) != c)) {
            c += edges.Step();
            end = next;
        } else {
            c = fx(i);
            end = edges.Usable() ? edges.End(c) : std::numeric_limits<double>::quiet_NaN();
        }
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
