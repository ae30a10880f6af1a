#ifndef ZENDRIK_MAINWINDOW_FADERSMOOTHING_H
#define ZENDRIK_MAINWINDOW_FADERSMOOTHING_H

#include "mainwindow/ZoomRules.h"

class DebugLog;
class TChartSeries;

// The fader's routines for the zoom rules over one set's corrected trace, smoothing overlay and
// compensation (Series7, Series25, Series26 for set 1; Series9, Series28, Series29 for set 2);
// the compensation points of a rectangle are black. The series and the log must outlive the
// routines.
SetSmoothing FaderSmoothing(TChartSeries& corrected, TChartSeries& overlay, TChartSeries& compensation,
                            DebugLog& debug);

#endif
