#ifndef ZENDRIK_DATAFILES_GRIDSERIES_H
#define ZENDRIK_DATAFILES_GRIDSERIES_H

#include "chart/canvas/PlotColor.h"

#include <QString>

struct DataFileContext;
class TableBuffer;
class TChartSeries;

// Filling chart series from the table grid on the 4 kHz grid (see TableInterpolation.h for the
// arithmetic). Both routines add every point with repainting held off and let the series repaint
// once at the end. A grid that makes no curve (TableInterpolation.h) leaves the targets empty and
// shows an error box, with the same line in the message log, naming the table, the row and the
// value ("Error: Cable table \"name\" not drawn (row 3: ...)"); the log lines and the range update
// are skipped. The calling window shows the busy cursor around the call.
//
// mainSeriesNumber names the target in the "Info: graph ..." line: n for Series<n> of the main
// chart, 0 for any other series (empty key).

// The key of a main-chart series in the log line (the table's GraphKey: "lim1", "cac", ...);
// empty for others. Only with withGeneratorAmp does Series23 get its "amptrck", which only
// InterpolateGridToSeries knows.
QString GridSeriesKey(int mainSeriesNumber, bool withGeneratorAmp);

// Clears target and fills it from the grid (level mode from the grid's "Level lin/log"), each
// point in color. With rangeFlag the grid's plot-range texts are set from the table's extremes.
void InterpolateGridToSeries(TableBuffer& grid, TChartSeries& target, TColor color, bool rangeFlag,
                             int mainSeriesNumber, const DataFileContext& context);

// A limit line with its margin line: both series are cleared; flat pairs give their two corners
// only; with marginDb not 0 every limit point is repeated marginDb lower in the margin series.
// Never touches the plot range.
void ShowGridAsSeries(const TableBuffer& grid, TChartSeries& limit, TChartSeries& margin, TColor color,
                      TColor marginColor, int marginDb, int mainSeriesNumber, const DataFileContext& context);

#endif
