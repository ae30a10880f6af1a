#ifndef ZENDRIK_MEASUREMENT_RUNPARAMETERS_H
#define ZENDRIK_MEASUREMENT_RUNPARAMETERS_H

#include "app/MeasureSet.h"
#include "chart/canvas/PlotColor.h"

#include <QString>
#include <cstdint>

// The rows of the main parameter grid that a run reads (the grid's keys are in
// datafiles/ParameterGridRows.h). The grid validates them (bad numbers never reach this struct)
// and keeps them current, also while a run is paused, so a run reads them when it needs them.
struct RunParameters {
    PerSet<int32_t> MarginDb{}; // "Margin1[dB]", "Margin2[dB]": -100 .. 100
    bool MaxHold = false;  // "MaxHold": "on" repeats the whole pass until Stop, which clears it
    // "Limit1" / "Limit2" name a limit file that is not there or gave no line: the message that
    // refuses the set ("Limit File not found: " or "Limit File not usable: " and the file); empty
    // while the set has the limit line it names.
    PerSet<QString> MissingLimit;
    // A correction row names a table that is not there or gave no curve: the message that refuses
    // either set, whose corrected traces would read it as 0 dB; empty otherwise.
    QString MissingCorrection;
    // "Seg-Set1" / "Seg-Set2" name a segment file that is not there or gave no segment: the line
    // that says so ("SEG1 File not found: " and the file, ...); empty otherwise.
    PerSet<QString> MissingSegments;
};

// The main window's switches and the colour settings that a run reads.
struct RunSwitches {
    MeasureSet SelectedSet = MeasureSet::Set1; // "Set1" (RadioButton1), "Set2" (RadioButton2)
    bool Beep = false;            // "Beep" (CheckBox17)
    bool EmiZeroSpan = false;     // "EMI(ZeroSpan)" (CheckBox21)
    bool MaxPeakZeroSpan = false; // "mPk" (CheckBox22): take the max. value in zero span
    bool MaxFilter = false;       // "MaxFilter" (CheckBox3): one peak per run of exceeding points
    bool UseCompensation = false; // "use compensation" (CheckBox37)
    bool VbwAuto = true;          // "auto"; off: "1:3" (VBW three times the RBW)
    // Colours of the points added to the raw and the corrected traces.
    PerSet<TColor> RawColor{clGray, clSilver};
    PerSet<TColor> CorrectedColor{clLime, clFuchsia};
};

#endif
