#ifndef ZENDRIK_MEASUREMENT_TRACEPOINTS_H
#define ZENDRIK_MEASUREMENT_TRACEPOINTS_H

#include "chart/canvas/PlotColor.h"

struct ScpiContext;
struct TraceReadResult;
class TChartSeries;

// Adds what a trace reader decoded to series, in order and in color, then shows the reader's
// error dialog. Returns the number of points added.
int AddTracePoints(ScpiContext& c, TChartSeries& series, TColor color, const TraceReadResult& read);
// Adds one measured point at frequencyHz / 1000 rounded to whole kHz.
void AddTracePoint(ScpiContext& c, TChartSeries& series, TColor color, double frequencyHz, double level);

#endif
