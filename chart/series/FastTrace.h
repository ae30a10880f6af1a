#ifndef ZENDRIK_CHART_SERIES_FASTTRACE_H
#define ZENDRIK_CHART_SERIES_FASTTRACE_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/engine/ChartAxis.h"

#include <cstdint>
#include <span>
#include <vector>

class TChartValueList;

// Drawing a trace of hundreds of thousands of points, where a pixel column holds hundreds of them.
//
// A polyline drawn with an opaque solid pen (a one-pixel line, or a wide pen with round ends and
// joins) paints the union of its segments' pixels. Inside one pixel column every segment is
// vertical, and the union of the vertical segments of consecutive points in that column is the
// span from their lowest to their highest pixel, entered at the first point and left at the last.
// So the column's points can be reduced to the first, the lowest, the highest (these two in the
// order they come) and the last, and the pixels stay the same to the last one: the segments
// between columns are kept as they were, and a point only the last one reached is still reached
// only at the end. Repeated points are dropped as a segment of no length draws nothing.

// Builds the reduced polyline. The path given holds the starting point (the pen position), which
// counts as the first point of its column.
class ColumnReducer {
public:
    explicit ColumnReducer(std::vector<TPoint>& path);
    // True when the point starts a new column.
    bool Add(int32_t x, int32_t y)
    {
        if (x != columnX_) {
            Flush();
            StartColumn(x, y);
            return true;
        }
        ++seq_;
        if (y < minY_) {
            minY_ = y;
            minSeq_ = seq_;
        }
        if (y > maxY_) {
            maxY_ = y;
            maxSeq_ = seq_;
        }
        lastY_ = y;
        return false;
    }
    // A whole column at once (a pixel X no point before had): its first pixel, its lowest and
    // highest pixels with the offsets from the first point where each was first reached, and
    // its last pixel, as count points would have given them one by one. Of the offsets only
    // whether each is 0 (the first point) and which is smaller count.
    void AddColumn(int32_t x, int32_t firstY, int32_t minY, int minOffset, int32_t maxY, int maxOffset, int32_t lastY,
                   int count);
    // Ends the last column; the path is complete.
    void Finish() { Flush(); }
    int32_t ColumnX() const { return columnX_; }
    // The path's length before the current column's first point.
    size_t ColumnPathStart() const { return columnPathStart_; }

private:
    void StartColumn(int32_t x, int32_t y);
    void Flush();
    void Emit(int32_t y);

    std::vector<TPoint>& path_;
    int32_t columnX_ = 0;
    int32_t minY_ = 0;
    int32_t maxY_ = 0;
    int32_t lastY_ = 0;
    int minSeq_ = 0;
    int maxSeq_ = 0;
    int seq_ = 0;
    size_t columnPathStart_ = 0;
};

// What a drawing of a series keeps for the next one, and how it finds the columns.
//
// The reduced polyline of the run last drawn stays valid while both axes keep their scale and
// place and the X and Y values stay (appends do not count): the next drawing shows it again, and
// points appended since are reduced from the last column on, which may have grown.
//
// On ascending X values with a monotone conversion, each column's end is mapped back to an X
// value once and searched among the X values instead of converting every X, and a column of many
// points is summed up from its Y values alone: lowest and highest value, which of their pixels
// is reached first (found by the values between the pixels' ends), first and last; only those
// are converted. So a zoom, on a logarithmic axis too, takes one exp per column, not a log per
// point.
class TraceDrawCache {
public:
    // The reduced polyline from start through the points from..to. With keep the result is the
    // run kept (reused and extended when it matches); without, it is computed apart.
    const std::vector<TPoint>& ReducedRun(const TChartAxis& xAxis, const TChartAxis& yAxis, const TChartValueList& xs,
                                          const TChartValueList& ys, int from, int to, TPoint start, bool keep);
    void Clear();
    size_t MemoryBytes() const;
    // Points the last call went through (0 when the kept run was shown as it was).
    int PointsReduced() const { return pointsReduced_; }
    // Columns the last call summed up from their values.
    int ColumnsSummed() const { return columnsSummed_; }

private:
    struct AxisKey {
        AxisConversion conversion = AxisConversion::Center;
        double minimum = 0, maximum = 0;
        int start = 0, end = 0, low = 0, high = 0;
        bool horizontal = false, inverted = false;
        const TChartAxis* axis = nullptr;
        friend bool operator==(const AxisKey&, const AxisKey&) = default;
    };
    struct RunKey {
        AxisKey x, y;
        const TChartValueList* xs = nullptr;
        const TChartValueList* ys = nullptr;
        uint64_t xGeneration = 0, yGeneration = 0;
        int from = 0;
        int32_t startX = 0, startY = 0;
        friend bool operator==(const RunKey&, const RunKey&) = default;
    };
    static AxisKey KeyOf(const TChartAxis& axis);
    bool AscendingUpTo(const TChartValueList& xs, int last);
    void Reduce(std::vector<TPoint>& path, const TChartAxis& xAxis, const TChartAxis& yAxis, const TChartValueList& xs,
                const TChartValueList& ys, int from, int to, bool track);
    void ReducePointByPoint(ColumnReducer& reducer, const TChartAxis& xAxis, const TChartAxis& yAxis,
                            std::span<const double> xv, std::span<const double> yv, int from, int to, bool track);
    void ReduceByColumns(ColumnReducer& reducer, const TChartAxis& xAxis, const TChartAxis& yAxis,
                         std::span<const double> xv, std::span<const double> yv, int from, int to, bool track);
    void NoteColumnStart(const ColumnReducer& reducer, int index, bool track);

    bool valid_ = false;
    RunKey key_;
    int to_ = -1;
    std::vector<TPoint> path_;
    size_t lastColumnPathSize_ = 1;
    int lastColumnStart_ = 0;
    std::vector<TPoint> scratch_;
    // X values known to ascend from the first up to this index (for the list and generation).
    const TChartValueList* orderValues_ = nullptr;
    uint64_t orderGeneration_ = 0;
    int ascendingTo_ = -1;
    int pointsReduced_ = 0;
    int columnsSummed_ = 0;
};

#endif
