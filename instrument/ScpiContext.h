#ifndef ZENDRIK_INSTRUMENT_SCPICONTEXT_H
#define ZENDRIK_INSTRUMENT_SCPICONTEXT_H

#include <QString>
#include <optional>

struct AdvancedSettings;
struct AnalyserHold;
struct DeviceState;
struct VisaState;
class DebugLog;
class EventPump;
class InstrumentStatus;
class MessageLog;

// What the command layer, the trace readers and the connection work on: the VISA sessions, the
// identified device, the settings file's options, the two logs, the pump every wait goes
// through, the status-bar texts, and who holds the analyser (none: nobody). Everything is owned
// elsewhere.
struct ScpiContext {
    VisaState& Visa;
    DeviceState& Device;
    const AdvancedSettings& Options;
    DebugLog& Debug;
    MessageLog& Messages;
    EventPump& Pump;
    InstrumentStatus& Status;
    const AnalyserHold* Hold = nullptr;
};

// An answer that may be missing: nothing when the read failed, or, for a reader that promises a
// number, when the answer was no number.
using ScpiAnswer = std::optional<QString>;

#endif
