#ifndef ZENDRIK_CHART_SERIES_FASTTRACE_H
#define ZENDRIK_CHART_SERIES_FASTTRACE_H

#include "chart/canvas/CanvasTypes.h"
#include "chart/engine/ChartAxis.h"

#include <cstdint>
#include <vector>

class TChartValueList;
namespace gdi {
struct Pen;
}

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

// Builds the reduced polyline. The path given holds the starting point (the pen position).
class ColumnReducer {
public:
    explicit ColumnReducer(std::vector<TPoint>& path);
    void Add(int32_t x, int32_t y)
    {
        if (x != columnX_) {
            Flush();
            StartColumn(x, y);
            return;
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
    }
    // Ends the last column; the path is complete.
    void Finish() { Flush(); }

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
};

// Whether a pen paints the union of its segments' pixels whatever the order and the splitting of
// the segments: opaque copy, solid, one pixel wide or wide with round ends and joins.
bool PenReducesExactly(const gdi::Pen& pen, int rop2);

// The pixel X of a series' points, kept while the series' X values and the axis' scale stay the
// same. Appended points extend it; any other change of the values, or of the axis' range or
// place, converts again (only the points asked for, so a zoom converts the points in view).
class TracePixelCache {
public:
    // Pixels of the points first..last; the pointer is to the pixel of first and stays valid
    // until the next call.
    const int32_t* Pixels(const TChartAxis& axis, const TChartValueList& values, int first, int last);
    void Clear();
    size_t MemoryBytes() const { return pixels_.capacity() * sizeof(int32_t); }
    // Points converted by the last call (0 when everything was reused).
    int LastConverted() const { return lastConverted_; }

private:
    struct Key {
        AxisConversion conversion = AxisConversion::Center;
        double minimum = 0, maximum = 0;
        int start = 0, end = 0, limit = 0;
        bool horizontal = false, inverted = false;
        const TChartAxis* axis = nullptr;
        const TChartValueList* values = nullptr;
        uint64_t generation = 0;
        friend bool operator==(const Key&, const Key&) = default;
    };

    bool valid_ = false;
    Key key_;
    int first_ = 0;
    std::vector<int32_t> pixels_;   // pixels_[i] is the pixel of point first_ + i
    int lastConverted_ = 0;
};

#endif
