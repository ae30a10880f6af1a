#ifndef ZENDRIK_DATAFILES_PARAMETERGRIDROWS_H
#define ZENDRIK_DATAFILES_PARAMETERGRIDROWS_H

#include "app/MeasureSet.h"
#include "app/PlausibleRanges.h"
#include "datafiles/ParameterGridModel.h"

#include <QString>
#include <vector>

// The keys of the grids, one place each. The texts are what the grids show and what the logic
// looks rows up by.
namespace gridkeys {
// Main parameter grid (ValueListEditor1).
extern const QString kChartStart;   // "Chart Start[Hz]"
extern const QString kChartStop;    // "Chart Stop[Hz]"
extern const QString kHigh;         // "High[dBuV]"
extern const QString kLow;          // "Low[dBuV]"
extern const QString kLimit1;       // "Limit1"
extern const QString kLimit2;       // "Limit2"
extern const QString kMargin1;      // "Margin1[dB]"
extern const QString kMargin2;      // "Margin2[dB]"
extern const QString kCableCor;     // "Cable Cor"
extern const QString kLisnCor;      // "Lisn/Att Cor"
extern const QString kAmpCor;       // "Amp Cor"
extern const QString kAntCor;       // "Ant Cor"
extern const QString kSegSet1;      // "Seg-Set1"
extern const QString kSegSet2;      // "Seg-Set2"
extern const QString kDetector;     // "Detector"
extern const QString kSweep;        // "Sweep [ms]"
extern const QString kRbw;          // "RBW [Hz]"
extern const QString kSpan;         // "Span [Hz]"
extern const QString kPreAmp;       // "PreAmp"
extern const QString kAttenuator;   // "Attenuator [dB]"
extern const QString kReport;       // "Report"
extern const QString kMaxHold;      // "MaxHold"
extern const QString kMarker;       // "Marker"
// The rows above that each set has one of.
extern const PerSet<QString> kLimits;  // "Limit1", "Limit2"
extern const PerSet<QString> kMargins; // "Margin1[dB]", "Margin2[dB]"
extern const PerSet<QString> kSegSets; // "Seg-Set1", "Seg-Set2"
// Coverage view's grid (ValueListEditor2); it shares "Cable Cor", "Amp Cor", "Ant Cor",
// "Detector", "Sweep [ms]", "RBW [Hz]", "Span [Hz]", "PreAmp" and "Attenuator [dB]".
extern const QString kFreqA;        // "Freq A[Hz]"
extern const QString kFreqB;        // "Freq B[Hz]"
extern const QString kFreqC;        // "Freq C[Hz]"
extern const QString kHighDbm;      // "High[dBm]"
extern const QString kLowDbm;       // "Low[dBm]"
// Generator view's settings grid; it shares "Amp Cor".
extern const QString kTemCor;       // "TEM Cor"
extern const QString kSeptum;       // "SEPTUM[cm]"
extern const QString kTgOff;        // "Tg off"
} // namespace gridkeys

// What the grids' number rows take, whether typed or read from a project: the operator's edit
// and a project value meet the same bound.
namespace gridbounds {
inline constexpr plausible::Range kSweepMs{1, 2'999'999};
inline constexpr plausible::Range kRbwHz{1, 1'000'000};
inline constexpr plausible::Range kSpanHz{1, 3'000'000'000};
inline constexpr plausible::Range kAttenuationDb{0, 50};
inline constexpr plausible::Range kMarginDb{-100, 100};
// The septum heights of TEM cells that are built; the generator grid takes up to 100 cm.
inline constexpr plausible::Range kSeptumCm{0.1, 100};
} // namespace gridbounds

// The text of a row that takes no file.
extern const QString kNoFile; // "none"
// What the grids show for a value they refused.
extern const QString kNotValid; // "not valid"

// The rows of the main parameter grid in order: the range rows, limits and margins, the four
// corrections, the two segment files, the instrument rows, the report header, then "MaxHold"
// and "Marker"; five separators between the groups.
std::vector<ParameterRow> MainParameterRows();
// The coverage view's grid.
std::vector<ParameterRow> CoverageParameterRows();
// The generator view's settings grid ("Amp Cor", "TEM Cor", "SEPTUM[cm]", "Tg off").
std::vector<ParameterRow> GeneratorSettingsRows();

// The file pick lists, each beginning with "none", as RefreshFileLists builds them.
struct DataFileLists {
    QStringList Limit;     // ".\src\*.lim"
    QStringList Cable;     // ".\src\*.cac"
    QStringList Amplifier; // ".\src\*.amp"
    QStringList Lisn;      // ".\src\*.lsc"
    QStringList Segment;   // ".\src\*.seg"
    QStringList Report;    // ".\rep\*.rep"
    QStringList Antenna;   // ".\src\*.ant"
};
// Lists the files of the working folder's "src" and "rep" by name (the masks match the
// extension without regard to case, as the original platform's file lists did).
DataFileLists ListDataFiles(const QString& workingFolder);
// Copies each list into the pick lists of its rows of the main grid.
void ApplyFileLists(ParameterGridModel& mainGrid, const DataFileLists& lists);

// The colours the main grid paints as a legend of the chart.
struct GridPalette {
    TColor ChartBackground = clMedGray;
    TColor Limit1 = 0x0000FF;
    TColor Limit2 = 0xFF0000;
    TColor Cable = 0x000080;
    TColor Lisn = 0xF0CAA6;
    TColor Amplifier = 0x800080;
    TColor Antenna = 0xC0DCC0;
    TColor TraceSet1 = 0x808080; // raw trace of set 1
    TColor TraceSet2 = 0xC0C0C0; // raw trace of set 2
};
// The instrument rows sky blue with black text; the range rows in the chart's background with
// black text on white, white text otherwise; the key cell of each file row in the colour of the
// series it feeds.
void ApplyGridColors(ParameterGridModel& mainGrid, const GridPalette& palette);

#endif
