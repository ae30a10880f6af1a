#ifndef ZENDRIK_REPORTS_CHARTSERIESBYROLE_H
#define ZENDRIK_REPORTS_CHARTSERIESBYROLE_H

class TChartSeries;

// The 29 series of the main chart by role (X in kHz, Y in dBuV or dB). The main window fills the
// pointers; a null pointer reads as an empty series and takes nothing. The comment names the
// series' Name, which is also its number in the chart and compensation files.
struct ChartSeriesByRole {
    TChartSeries* Raw1 = nullptr;               // Series1: raw trace, set 1
    TChartSeries* Limit1 = nullptr;             // Series2: limit line, set 1
    TChartSeries* Cable = nullptr;              // Series3: cable correction
    TChartSeries* Lisn = nullptr;               // Series4: LISN or attenuator correction
    TChartSeries* Limit2 = nullptr;             // Series5: limit line, set 2
    TChartSeries* TablePreview = nullptr;       // Series6: the table editor's preview
    TChartSeries* Corrected1 = nullptr;         // Series7: corrected trace, set 1
    TChartSeries* Raw2 = nullptr;               // Series8: raw trace, set 2
    TChartSeries* Corrected2 = nullptr;         // Series9: corrected trace, set 2
    TChartSeries* Amplifier = nullptr;          // Series10: amplifier correction
    TChartSeries* Antenna = nullptr;            // Series11: antenna factor
    TChartSeries* Reference1Set1 = nullptr;     // Series12: reference trace 1, set 1
    TChartSeries* Reference1Set2 = nullptr;     // Series13: reference trace 1, set 2
    TChartSeries* Margin1 = nullptr;            // Series14: margin line, set 1
    TChartSeries* Margin2 = nullptr;            // Series15: margin line, set 2
    TChartSeries* Master = nullptr;             // Series16: combined correction (master) curve
    TChartSeries* SegmentMarks1 = nullptr;      // Series17: segment marks, set 1
    TChartSeries* SegmentMarks2 = nullptr;      // Series18: segment marks, set 2
    TChartSeries* Reference2Set1 = nullptr;     // Series19: reference trace 2, set 1
    TChartSeries* Reference2Set2 = nullptr;     // Series20: reference trace 2, set 2
    TChartSeries* Reference3Set1 = nullptr;     // Series21: reference trace 3, set 1
    TChartSeries* Reference3Set2 = nullptr;     // Series22: reference trace 3, set 2
    TChartSeries* GeneratorAmplifier = nullptr; // Series23: generator amplifier correction
    TChartSeries* TemCell = nullptr;            // Series24: TEM-cell correction
    TChartSeries* Smoothing1 = nullptr;         // Series25: smoothing overlay, set 1
    TChartSeries* Compensation1 = nullptr;      // Series26: zero compensation, set 1
    TChartSeries* Arithmetic = nullptr;         // Series27: trace arithmetic result
    TChartSeries* Smoothing2 = nullptr;         // Series28: smoothing overlay, set 2
    TChartSeries* Compensation2 = nullptr;      // Series29: zero compensation, set 2

    static constexpr int kCount = 29;
    // The series SeriesN (1..29); null for any other number.
    TChartSeries* Number(int n) const;
};

#endif
