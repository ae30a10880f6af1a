#ifndef ZENDRIK_MEASUREMENT_TRACESMOOTHING_H
#define ZENDRIK_MEASUREMENT_TRACESMOOTHING_H

#include "chart/canvas/PlotColor.h"

class DebugLog;
class TChartSeries;
struct SmoothRangeStore;

// The fader: a frequency range of a set's corrected trace replaced by a straight line between its
// levels at the range ends. What the line replaced goes into the set's overlay series (so that
// it can be put back), and the line minus the former level into the set's compensation series,
// which the correction chain can apply to later measurements.

// The index of the point at x kHz: the point exactly at x, else the first point whose X lies a
// whole number of kHz above x (below the largest X); -1 when x lies outside the series or no
// point fits. The X values must ascend.
int FindPointIndexByX(TChartSeries& series, double x);

// Smooths [xFrom, xTo] (kHz) of series: the points between the first and the last point of the
// range (both found at the rounded ends) get the straight line between the levels at the rounded
// ends. The former points go into overlay (in blue) at X spread evenly over [xFrom, xTo], the
// differences into compensation (in colour), 0 at both ends. A range whose ends do not map to two
// different points changes nothing.
void SmoothTraceStretch(TChartSeries& series, TChartSeries& overlay, TChartSeries& compensation, double xFrom,
                        double xTo, TColor colour, DebugLog& debug);

// Undoes SmoothTraceStretch of the same range: the former levels come back from the overlay
// exactly, and the range's points leave overlay and compensation (one range deletion each).
// When the overlay no longer holds the range (the trace was replaced meanwhile) the trace is
// left as it is.
void UnsmoothTrace(TChartSeries& series, TChartSeries& overlay, TChartSeries& compensation, double xFrom, double xTo,
                   DebugLog& debug);

// After a chart file was loaded: the overlay and compensation of the chosen set emptied and every
// stored range of it marked undone (its trace is no longer the one that was smoothed).
void ResetFadeOverlays(TChartSeries& overlay, TChartSeries& compensation, SmoothRangeStore& store);

#endif
