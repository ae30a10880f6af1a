#ifndef ZENDRIK_MEASUREMENT_TRACEPOINTS_H
#define ZENDRIK_MEASUREMENT_TRACEPOINTS_H

#include "chart/canvas/PlotColor.h"

struct ScpiContext;
struct TraceReadResult;
class TChartSeries;

// Empties a raw trace for a pass that adds about `points` points: their room is made at once, so
// that the segments fill it without regrowing it and without the slack growth leaves behind.
void StartRawTrace(TChartSeries& raw, int points);
// Adds what a trace reader decoded to series, in order and in color, as one block. Returns the
// number of points added.
int AddTracePoints(TChartSeries& series, TColor color, const TraceReadResult& read);
// Adds one measured point at frequencyHz / 1000 rounded to whole kHz.
void AddTracePoint(ScpiContext& c, TChartSeries& series, TColor color, double frequencyHz, double level);

#endif
