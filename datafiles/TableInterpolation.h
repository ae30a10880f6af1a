#ifndef ZENDRIK_DATAFILES_TABLEINTERPOLATION_H
#define ZENDRIK_DATAFILES_TABLEINTERPOLATION_H

#include <QString>
#include <cstdint>
#include <vector>

class TableBuffer;

// A table turned into a trace on the 4 kHz grid: one point every 4 kHz from each corner up to the
// next corner, and the last corner itself, so that the curve reaches every row of the table. Two
// rows at one frequency (whole kHz) with different levels are a step: the trace holds both, the
// earlier first, and every lookup reads the later one above that frequency. Pure: the series step
// (GridSeries.h) copies the arrays into a chart series.
struct GridTrace {
    std::vector<double> X; // kHz
    std::vector<double> Y; // level unit of the table
    // Extremes over the corners of a table of two rows or more (Hz and level units).
    double LowestFreq = 10000.0;
    double HighestFreq = 0.0;
    double LowestLevel = 0.0;
    double HighestLevel = 0.0;
    // Set when the table makes no curve (RowFault below): the trace is then empty, never a curve
    // that stops short of the table's end.
    bool DataError = false;
    QString Fault; // "row 5: the frequency 0 Hz is not above 0 Hz"
};

// More points than a 44 GHz span on the 4 kHz grid: a typing slip such as "3.000.000.000.000" Hz
// would otherwise ask for hundreds of millions of points.
inline constexpr int64_t kMaxGridTracePoints = 11'000'000;

struct GridInterpolationOptions {
    bool LevelLinear = true;   // the "Level lin/log" check box: checked = linear
    bool FlatSegments = false; // limit lines: a pair with slope exactly 0 gives its two corners only
};

// One row of a table as the interpolation reads it.
struct TableCorner {
    double Hz = 0.0;
    double Level = 0.0;
};

// Why a table makes no curve, naming the row and the value ("row 3: the level 1,5,0 is no
// number"), with the grid cell at fault (column 1 the frequency, 2 the level); no Text when it
// makes one.
struct RowFault {
    QString Text;
    int Row = 0;
    int Column = 0;
};

// Reads a row's texts into corner: the frequency without its dots, the level with "," or "." as
// its decimal sign. An empty cell, a text that is no number, a frequency of 0 or below or one
// below the corner before refuse the row; before is nullptr for the first row.
RowFault ReadCorner(int row, const QString& frequency, const QString& level, const TableCorner* before,
                    TableCorner& corner);
// Why corners that each are good still make no curve: a logarithmic level that would start at
// 0 kHz, or more than kMaxGridTracePoints points.
RowFault CurveFault(const std::vector<TableCorner>& corners, const GridInterpolationOptions& options);
// The last row with a text in column 1 or 2 (blanks are none); 0 for an empty grid.
int LastTableRow(const TableBuffer& grid);
// The same over the grid: rows 1 to the last row with a text in column 1 or 2, every one of them.
RowFault GridFault(const TableBuffer& grid, const GridInterpolationOptions& options);

// Fills out from columns 1 (frequency text, Hz) and 2 (level text) of the grid's table rows.
// out's arrays are cleared but keep their capacity, so a caller that reuses out allocates nothing.
void InterpolateGrid(const TableBuffer& grid, const GridInterpolationOptions& options, GridTrace& out);

#endif
