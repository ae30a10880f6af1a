#ifndef ZENDRIK_DATAFILES_TABLEINTERPOLATION_H
#define ZENDRIK_DATAFILES_TABLEINTERPOLATION_H

#include <QString>
#include <cstdint>
#include <vector>

class TableBuffer;

// A table turned into a trace on the 4 kHz grid: one point every 4 kHz from each corner up to
// (not including) the next corner. Pure: the series step (GridSeries.h) copies the arrays into a
// chart series.
struct GridTrace {
    std::vector<double> X; // kHz
    std::vector<double> Y; // level unit of the table
    // Extremes over every pair that had four texts (Hz and level units).
    double LowestFreq = 10000.0;
    double HighestFreq = 0.0;
    double LowestLevel = 0.0;
    double HighestLevel = 0.0;
    // Set when a pair could not be interpolated ("error in data definition"): equal frequencies,
    // a frequency of 0 or below, a non-finite result, or a table asking for more than
    // kMaxGridTracePoints points. The points of the pairs before it are kept; later pairs are not
    // drawn.
    bool DataError = false;
};

// More points than a 44 GHz span on the 4 kHz grid: a typing slip such as "3.000.000.000.000" Hz
// would otherwise ask for hundreds of millions of points.
inline constexpr int64_t kMaxGridTracePoints = 11'000'000;

struct GridInterpolationOptions {
    bool LevelLinear = true;   // the "Level lin/log" check box: checked = linear
    bool FlatSegments = false; // limit lines: a pair with slope exactly 0 gives its two corners only
};

// Fills out from columns 1 (frequency text, Hz) and 2 (level text) of the grid, rows 1 to the last.
// out's arrays are cleared but keep their capacity, so a caller that reuses out allocates nothing.
void InterpolateGrid(const TableBuffer& grid, const GridInterpolationOptions& options, GridTrace& out);

// The text of the failure box.
inline const QString kDataDefinitionError = QStringLiteral("error in data definition");

#endif
