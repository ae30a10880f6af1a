#ifndef ZENDRIK_MEASUREMENT_MAINCHARTSERIES_H
#define ZENDRIK_MEASUREMENT_MAINCHARTSERIES_H

#include "chart/canvas/PlotColor.h"

class TChartSeries;

// The series of the main chart that the measurement engine reads and writes, by role (X in kHz,
// Y in dBuV). The main window fills them; the name in the comment is the series' Name.
struct MainChartSeries {
    TChartSeries* Raw1 = nullptr;          // Series1: raw trace, set 1
    TChartSeries* Limit1 = nullptr;        // Series2: limit line, set 1
    TChartSeries* Cable = nullptr;         // Series3: cable correction
    TChartSeries* Lisn = nullptr;          // Series4: LISN or attenuator correction
    TChartSeries* Limit2 = nullptr;        // Series5: limit line, set 2
    TChartSeries* Corrected1 = nullptr;    // Series7: corrected trace, set 1
    TChartSeries* Raw2 = nullptr;          // Series8: raw trace, set 2
    TChartSeries* Corrected2 = nullptr;    // Series9: corrected trace, set 2
    TChartSeries* Amplifier = nullptr;     // Series10: amplifier gain
    TChartSeries* Antenna = nullptr;       // Series11: antenna factor
    TChartSeries* Margin1 = nullptr;       // Series14: margin line, set 1
    TChartSeries* Margin2 = nullptr;       // Series15: margin line, set 2
    TChartSeries* Master = nullptr;        // Series16: combined correction (master) curve
    TChartSeries* Marks1 = nullptr;        // Series17: segment marks, set 1
    TChartSeries* Marks2 = nullptr;        // Series18: segment marks, set 2
    TChartSeries* Compensation1 = nullptr; // Series26: zero compensation, set 1
    TChartSeries* Compensation2 = nullptr; // Series29: zero compensation, set 2

    // Colours of the points added to the corrected traces (colour settings).
    TColor CorrectedColor1 = clLime;
    TColor CorrectedColor2 = clFuchsia;
};

#endif
