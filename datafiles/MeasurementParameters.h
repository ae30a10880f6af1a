#ifndef ZENDRIK_DATAFILES_MEASUREMENTPARAMETERS_H
#define ZENDRIK_DATAFILES_MEASUREMENTPARAMETERS_H

#include <QString>
#include <cstdint>

class ParameterGridModel;
struct GridState;

// What a run reads of the set-up, taken once when it starts so that edits during the run do not
// reach it. The grid's values are the texts of its cells after validation ("not valid" where the
// grid refused a value); each field is named after its row.
struct MeasurementParameters {
    QString Detector;     // "Detector"
    QString SweepMs;      // "Sweep [ms]": "auto" or milliseconds
    QString RbwHz;        // "RBW [Hz]"
    QString SpanHz;       // "Span [Hz]"
    QString AttenuatorDb; // "Attenuator [dB]": "auto" or dB
    QString PreAmp;       // "PreAmp": "on" or "off"
    QString Limit1;       // "Limit1": file name or "none"
    QString Limit2;       // "Limit2"
    int32_t Margin1Db = 0; // "Margin1[dB]" as last accepted
    int32_t Margin2Db = 0; // "Margin2[dB]"
    uint8_t MaxHold = 0;   // "MaxHold"
    uint8_t Marker = 0;    // "Marker": peak numbers shown

    int32_t MeasureSet = 1; // "MeasureSet": 1 for "Set1", 2 for "Set2"
    int32_t VbwMode = 1;    // the "VBW" box: 1 automatic, 0 three times the RBW
    bool OptVbwBox = false; // the advanced option that shows the "VBW" box
    QString MeasureMode;    // "sweep", "emi", "emi_scan", "emi_fix"; empty: no loop for the device
};

// The loop a device family runs: Rigol and Siglent sweep ("emi" with "EMI(ZeroSpan)"), the R&S
// receivers scan ("emi_fix" with "EMI(ZeroSpan)"); no device and Hameg analysers run none.
QString ChooseMeasureMode(int32_t deviceFamily, bool emiZeroSpan);

// The main window's choices that are not grid rows.
struct MeasurementChoices {
    int32_t MeasureSet = 1;
    int32_t VbwMode = 1;
    bool OptVbwBox = false;
    int32_t DeviceFamily = 0;
    bool EmiZeroSpan = false;
};

MeasurementParameters TakeMeasurementParameters(const ParameterGridModel& grid, const GridState& state,
                                                const MeasurementChoices& choices);

#endif
