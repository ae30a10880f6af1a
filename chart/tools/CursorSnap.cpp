#include "chart/tools/CursorSnap.h"

#include "chart/engine/ChartValueList.h"

#include <algorithm>
#include <cmath>
#include <limits>

double SnapDistance(double x, double y, double xi, double yi, SnapMeasure measure)
{
    switch (measure) {
    case SnapMeasure::XOnly: return std::fabs(x - xi);
    case SnapMeasure::YOnly: return std::fabs(y - yi);
    case SnapMeasure::XAndY: break;
    }
    const double dx = x - xi;
    const double dy = y - yi;
    return std::sqrt(dx * dx + dy * dy);
}

namespace {

// The distance a point has at least, whatever its Y: the same formula with Y equal, so that the
// bound holds in floating point too (rounding is monotone: adding dy² never makes the sum
// smaller, and a square root never goes down).
double LeastDistance(double x, double xi, SnapMeasure measure)
{
    return SnapDistance(x, 0.0, xi, 0.0, measure == SnapMeasure::XAndY ? SnapMeasure::XAndY : SnapMeasure::XOnly);
}

int Scan(std::span<const double> xs, std::span<const double> ys, int first, int last, double x, double y,
         SnapMeasure measure)
{
    double best = std::numeric_limits<double>::infinity();
    int index = -1;
    for (int i = first; i <= last; ++i) {
        const double d = SnapDistance(x, y, xs[static_cast<size_t>(i)], ys[static_cast<size_t>(i)], measure);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return index;
}

} // namespace

// Left of the cursor's X the X difference grows with every step down, right of it with every
// step up. A tie goes to the lower index, as in the scan: the left side is searched first and
// keeps going while a tie is still possible (the bound equals the best), the right side stops as
// soon as the bound reaches the best, since its points all come after every point seen before.
int SnapPointIndex(std::span<const double> xs, std::span<const double> ys, int first, int last, double x, double y,
                   SnapMeasure measure, bool xAscending)
{
    const int count = static_cast<int>(std::min(xs.size(), ys.size()));
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first > last)
        return -1;
    if (!xAscending || measure == SnapMeasure::YOnly)
        return Scan(xs, ys, first, last, x, y, measure);

    const auto begin = xs.begin() + first;
    const int start = static_cast<int>(std::lower_bound(begin, xs.begin() + last + 1, x) - xs.begin());
    double best = std::numeric_limits<double>::infinity();
    int index = -1;
    for (int i = start - 1; i >= first; --i) {
        const double xi = xs[static_cast<size_t>(i)];
        if (LeastDistance(x, xi, measure) > best)
            break;
        const double d = SnapDistance(x, y, xi, ys[static_cast<size_t>(i)], measure);
        if (d < best || (d == best && index >= 0)) {
            best = d;
            index = i;
        }
    }
    for (int i = start; i <= last; ++i) {
        const double xi = xs[static_cast<size_t>(i)];
        if (LeastDistance(x, xi, measure) >= best)
            break;
        const double d = SnapDistance(x, y, xi, ys[static_cast<size_t>(i)], measure);
        if (d < best) {
            best = d;
            index = i;
        }
    }
    return index;
}

bool AscendingCheck::IsAscending(const TChartValueList& list)
{
    const std::span<const double> v = list.Values();
    const int count = static_cast<int>(v.size());
    if (&list != list_ || list.Generation() != generation_ || count < checked_) {
        list_ = &list;
        generation_ = list.Generation();
        checked_ = 0;
        ascending_ = true;
    }
    for (int i = std::max(checked_, 1); i < count && ascending_; ++i)
        ascending_ = v[static_cast<size_t>(i - 1)] <= v[static_cast<size_t>(i)];
    checked_ = count;
    return ascending_;
}
