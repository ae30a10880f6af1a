#ifndef ZENDRIK_CHART_TOOLS_CURSORSNAP_H
#define ZENDRIK_CHART_TOOLS_CURSORSNAP_H

#include <cstdint>
#include <span>

class TChartValueList;

// What a snap measures between the cursor and a point, in axis units.
enum class SnapMeasure { XAndY, XOnly, YOnly };

// The distance of point (xi, yi) from the cursor (x, y) in that measure.
double SnapDistance(double x, double y, double xi, double yi, SnapMeasure measure);

// The index of the point of first..last nearest to (x, y): the first one with the smallest
// distance, -1 for none (an empty range, or no finite distance). With xAscending, measures
// involving X search outward from the cursor's X and stop on each side where the X difference
// alone exceeds the best distance; the result is the same as scanning every point.
int SnapPointIndex(std::span<const double> xs, std::span<const double> ys, int first, int last, double x, double y,
                   SnapMeasure measure, bool xAscending);

// Whether a value list is in ascending order, checked once per change: appends at the end only
// have their own values checked.
class AscendingCheck {
public:
    bool IsAscending(const TChartValueList& list);
    // Forgets what was checked (the list went away or another one takes its place).
    void Reset() { list_ = nullptr; }

private:
    const TChartValueList* list_ = nullptr;
    uint64_t generation_ = 0;
    int checked_ = 0;
    bool ascending_ = true;
};

#endif
