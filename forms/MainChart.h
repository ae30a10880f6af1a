#ifndef ZENDRIK_FORMS_MAINCHART_H
#define ZENDRIK_FORMS_MAINCHART_H

#include "chart/canvas/PlotColor.h"
#include "datafiles/ProjectTargets.h"
#include "measurement/MainChartSeries.h"
#include "reports/ChartSeriesByRole.h"

#include <QString>
#include <array>

class QWidget;
class TChart;
class TChartSeries;
class TCustomSeries;
class TLineSeries;
class TPointSeries;

// The main chart (Chart1) with its 29 series in their start-up state: X in kHz, Y in dBuV, each
// series' Name its designer name ("Series1" .. "Series29", which chart files store). It is also
// the one place that hands the series by role to the structs of the data-file, measurement and
// report logic.
class MainChart {
public:
    static constexpr int kSeriesCount = 29;

    // The chart is a child of parent and owns its series.
    explicit MainChart(QWidget* parent);
    MainChart(const MainChart&) = delete;
    MainChart& operator=(const MainChart&) = delete;

    // SeriesN for n in 1..29, null for any other number.
    TCustomSeries* Series(int number) const;
    // The series of that Name, null when the chart holds none.
    TChartSeries* SeriesNamed(const QString& name) const;

    // The logic's views of the same series.
    ProjectSeries ForProject() const;
    MainChartSeries ForMeasurement(TColor corrected1, TColor corrected2) const;
    ChartSeriesByRole ForReports() const;

    TChart* chart = nullptr;                        // Chart1
    TLineSeries* rawTrace1 = nullptr;               // Series1: raw data, set 1
    TLineSeries* limitLine1 = nullptr;              // Series2: limit line, set 1
    TLineSeries* cableCorrection = nullptr;         // Series3
    TLineSeries* lisnCorrection = nullptr;          // Series4: LISN or attenuator correction
    TLineSeries* limitLine2 = nullptr;              // Series5: limit line, set 2
    TLineSeries* tablePreview = nullptr;            // Series6: the table editor's curve
    TLineSeries* correctedTrace1 = nullptr;         // Series7: corrected data, set 1
    TLineSeries* rawTrace2 = nullptr;               // Series8: raw data, set 2
    TLineSeries* correctedTrace2 = nullptr;         // Series9: corrected data, set 2
    TLineSeries* amplifierCorrection = nullptr;     // Series10
    TLineSeries* antennaFactor = nullptr;           // Series11
    TLineSeries* reference1Set1 = nullptr;          // Series12: reference trace 1, set 1
    TLineSeries* reference1Set2 = nullptr;          // Series13: reference trace 1, set 2
    TLineSeries* marginLine1 = nullptr;             // Series14: margin line, set 1
    TLineSeries* marginLine2 = nullptr;             // Series15: margin line, set 2 (stairs)
    TLineSeries* masterCorrection = nullptr;        // Series16: the combined correction curve
    TPointSeries* segmentMarks1 = nullptr;          // Series17: segment marks, set 1
    TPointSeries* segmentMarks2 = nullptr;          // Series18: segment marks, set 2
    TLineSeries* reference2Set1 = nullptr;          // Series19
    TLineSeries* reference2Set2 = nullptr;          // Series20
    TLineSeries* reference3Set1 = nullptr;          // Series21
    TLineSeries* reference3Set2 = nullptr;          // Series22
    TLineSeries* generatorAmpCorrection = nullptr;  // Series23: the generator's "Amp Cor", debug only
    TLineSeries* temCellCorrection = nullptr;       // Series24: the generator's "TEM Cor", debug only
    TLineSeries* smoothing1 = nullptr;              // Series25: smoothing overlay, set 1, debug only
    TLineSeries* compensation1 = nullptr;           // Series26: zero compensation, set 1
    TLineSeries* arithmeticResult = nullptr;        // Series27: trace arithmetic ("Math")
    TLineSeries* smoothing2 = nullptr;              // Series28: smoothing overlay, set 2, debug only
    TLineSeries* compensation2 = nullptr;           // Series29: zero compensation, set 2

private:
    std::array<TCustomSeries*, kSeriesCount> series_{};
};

#endif
