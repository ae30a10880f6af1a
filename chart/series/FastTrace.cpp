#include "chart/series/FastTrace.h"

#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartValueList.h"
#include "platform/gdi/GdiTypes.h"

#include <algorithm>

ColumnReducer::ColumnReducer(std::vector<TPoint>& path) : path_(path)
{
    const TPoint start = path_.back();
    columnX_ = start.X;
    minY_ = maxY_ = lastY_ = start.Y;
}

void ColumnReducer::StartColumn(int32_t x, int32_t y)
{
    columnX_ = x;
    minY_ = maxY_ = lastY_ = y;
    minSeq_ = maxSeq_ = seq_ = 0;
    path_.push_back(TPoint{x, y});
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

void TracePixelCache::Clear()
{
    valid_ = false;
    pixels_.clear();
    pixels_.shrink_to_fit();
}

const int32_t* TracePixelCache::Pixels(const TChartAxis& axis, const TChartValueList& values, int first, int last)
{
    Key key;
    key.conversion = axis.Conversion();
    key.minimum = axis.CurrentMinimum();
    key.maximum = axis.CurrentMaximum();
    key.start = axis.StartPixel();
    key.end = axis.EndPixel();
    key.limit = axis.Chart().PixelLimit;
    key.horizontal = axis.Horizontal();
    key.inverted = axis.Inverted();
    key.axis = &axis;
    key.values = &values;
    key.generation = values.Generation();
    const std::span<const double> v = values.Values();
    lastConverted_ = 0;
    const int cachedLast = first_ + static_cast<int>(pixels_.size()) - 1;
    if (!valid_ || !(key == key_) || first < first_ || first > cachedLast + 1) {
        // Converted afresh: the points asked for, no others.
        pixels_.resize(static_cast<size_t>(last - first + 1));
        axis.ValuesToPixels(v.subspan(static_cast<size_t>(first), pixels_.size()), pixels_);
        lastConverted_ = static_cast<int>(pixels_.size());
        first_ = first;
        key_ = key;
        valid_ = true;
    } else if (last > cachedLast) {
        // Points appended since (or a range that reaches further): only the new ones.
        const size_t old = pixels_.size();
        pixels_.resize(static_cast<size_t>(last - first_ + 1));
        axis.ValuesToPixels(v.subspan(static_cast<size_t>(cachedLast + 1), pixels_.size() - old),
                            std::span<int32_t>(pixels_).subspan(old));
        lastConverted_ = static_cast<int>(pixels_.size() - old);
    }
    return pixels_.data() + (first - first_);
}
