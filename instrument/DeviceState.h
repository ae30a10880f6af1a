#ifndef ZENDRIK_INSTRUMENT_DEVICESTATE_H
#define ZENDRIK_INSTRUMENT_DEVICESTATE_H

#include "instrument/AnalyserKind.h"

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
    // The unit levels were last set to (ScpiSetupDbm, ScpiSetupDbuv): what the analysers that
    // answer in the unit set give their levels in.
    bool LevelsInDbm = false;

    void Clear() { *this = InstrumentSettingsEcho(); }
};

// How the connection window reaches the instrument, in the order of the "Device" menu.
enum class LinkKind : int32_t {
    None = 0,           // none chosen yet
    WinUsb = 1,         // the WinUSB test
    VisaUsb = 2,        // "SA USB"
    VisaTcp = 3,        // "SA TCP"
    GpsReceiver = 4,    // "GPS USB": the NMEA receiver on a serial resource
    SerialAnalyser = 5, // "SA SER": an analyser on a serial resource
};

// Everything identification decides about one analyser. Each identification starts again from
// these values, so that nothing of an analyser connected before stays; a field added here is
// reset with the others.
struct AnalyserIdentity : AnalyserKind {
    // Firmware 2111 of the SVA needs its preset before the set-up of every segment.
    bool SvaPresetFirst = false;
    // DSA815 firmware from 119 on sends its binary traces big-endian.
    bool RigolFloatBigEndian = false;
    int32_t TracePoints = 601;
    int32_t SweepWaitMarginMs = 3000;
    int32_t GeneratorLevelMin = -20;
    int32_t GeneratorLevelMax = 0;
};

// The connected instrument: its identity as identification left it, how it is reached, and
// what the command layer remembers of it. Owned by the program and passed by reference; tests
// build their own.
struct DeviceState : AnalyserIdentity {
    LinkKind ConnectionKind = LinkKind::None;
    bool DeviceConnected = false;

    // The main window's preamplifier choice, which ScpiSetPreamp follows unless the segment
    // table carries it.
    bool PreAmpPerSegment = false;
    bool PreAmpOn = false;

    InstrumentSettingsEcho Echo;
};

#endif
