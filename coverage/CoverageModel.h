#ifndef ZENDRIK_COVERAGE_COVERAGEMODEL_H
#define ZENDRIK_COVERAGE_COVERAGEMODEL_H

#include "chart/series/LineSeries.h"

#include <QString>
#include <cstdint>

// What the coverage view holds apart from its widgets. The receiver's fields ("Status", "UTC",
// "Lat dec", ...), the check boxes the poll reads, the GPS track and the view's memo are the GPS
// receiver's view (GpsView), which the poll fills.

// The logger's globals.
struct CoverageGlobals {
    int32_t CoverageIndex = 0; // lines written since Start (or the last "Latch Points" change)
    bool CoverageTickBusy = false;     // while a tick runs
    bool CoverageLatchPending = false; // the next tick must cut the log
    int32_t CoverageTickErrors = 0; // ticks that found the previous one still running
};

// The view's own display fields and the texts of its combo boxes; A, B, C are index 0, 1, 2.
struct CoverageFields {
    QString Index; // "Index"
    QString Freq[3]; // "Freq A [Hz]" ... (copied from the grid by "Init SA")
    QString Level[3]; // "Level A [dBm]" ...
    QString TickErrors; // "T3-Err"
    QString RecentKml; // "recent kml file"
    QString IntervalMs; // "Interval [ms]"
    QString LatchPoints; // "Latch Points"
    QString SpeedKmh; // "Speed [km/h]" of the calculator
    QString LengthKm; // "Length [km]"
    QString Resolution; // "Resulution [m]"
    QString Points; // "Points"

    CoverageFields();
};

// The level chart's data: one level series per frequency (X the point index, Y in dBm) and the
// three correction series the levels are corrected with (X in kHz), with the left axis range.
// Drawing them is the chart's business; this is what it will draw.
struct CoverageChart {
    TLineSeries Level[3]; // "FRQ A", "FRQ B", "FRQ C"
    TLineSeries Cable; // subtracted
    TLineSeries Amplifier; // subtracted
    TLineSeries Antenna; // added
    double LeftMinimum = -110;
    double LeftMaximum = -10;

    CoverageChart();
    // Points beyond this many in "FRQ A" stop the measurement until "Init SA".
    static constexpr int kMaxLevelPoints = 10000;
};

// What the logic needs of the window it runs in. The frame implements it; tests record the calls.
class CoverageHost {
public:
    virtual ~CoverageHost() = default;
    // The coverage timer: one tick per interval.
    virtual void StartTimer(int intervalMs) = 0;
    virtual void StopTimer() = 0;
    // An error box with one OK button.
    virtual void ShowError(const QString& text) = 0;
    // An information box with OK and Cancel; true for OK.
    virtual bool ConfirmOkCancel(const QString& text) = 0;
    // The PC's tone; the platform may play it at its own pitch and length.
    virtual void Beep(int hz, int ms) = 0;
    // The fields, series or memo changed during a long operation: show them now.
    virtual void Refresh() { }
};

#endif
