#include "mainwindow/FaderSmoothing.h"

#include "measurement/TraceSmoothing.h"

SetSmoothing FaderSmoothing(TChartSeries& corrected, TChartSeries& overlay, TChartSeries& compensation,
                            DebugLog& debug)
{
    SetSmoothing s;
    s.Smooth = [&corrected, &overlay, &compensation, &debug](double from, double to) {
        SmoothTraceStretch(corrected, overlay, compensation, from, to, clBlack, debug);
    };
    s.Unsmooth = [&corrected, &overlay, &compensation, &debug](double from, double to) {
        UnsmoothTrace(corrected, overlay, compensation, from, to, debug);
    };
    return s;
}
