#ifndef ZENDRIK_INSTRUMENT_DEVICESTATE_H
#define ZENDRIK_INSTRUMENT_DEVICESTATE_H

#include <QString>
#include <cstdint>

// The texts last sent per setting, in the order the status line shows them.
struct InstrumentSettingsEcho {
    QString StartText;
    QString StopText;
    QString CenterText;
    QString SpanText;
    QString RbwText;
    QString DetectorText;
    QString SweepText;  // at most 6 characters
    QString PreAmpText; // at most 3 characters

    void Clear() { *this = InstrumentSettingsEcho(); }
};

// Analyser families as the identification sets them.
enum DeviceFamilyCode : int32_t {
    dfNone = 0,
    dfRigol = 1,
    dfSiglent = 2,
    dfHameg = 3,
    dfRsFpc = 4,
    dfRsFph = 5,
};

// The connected instrument as identification left it, and what the command layer remembers of
// it. Owned by the program and passed by reference; tests build their own.
struct DeviceState {
    // 0 none chosen yet, 1 WinUSB test, 2 VISA USB, 3 VISA TCP/IP, 4 GPS receiver, 5 serial analyser.
    int32_t ConnectionKind = 0;
    int32_t DeviceFamily = dfNone;
    // Rigol only: 815, 832, 875, 1030, 700, 5000 (RSA models), 0 unknown.
    int32_t DeviceModel = 0;
    // 1 SSA, 2 SVA.
    int32_t SiglentSeries = 0;
    uint8_t SvaPresetFirst = 0;
    uint8_t RigolFloatBigEndian = 0;
    int32_t TracePoints = 601;
    int32_t SweepWaitMarginMs = 3000;
    uint8_t DeviceConnected = 0;
    int32_t GeneratorLevelMin = -20;
    int32_t GeneratorLevelMax = 0;

    // The main window's preamplifier choice, which ScpiSetPreamp follows unless the segment
    // table carries it.
    uint8_t PreAmpPerSegment = 0;
    uint8_t PreAmpOn = 0;

    InstrumentSettingsEcho Echo;

    bool IsRigolRsa() const { return DeviceFamily == dfRigol && DeviceModel == 5000; }
};

#endif
