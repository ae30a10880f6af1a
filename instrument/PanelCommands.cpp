#include "instrument/PanelCommands.h"

#include "instrument/AnalyserOwnership.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/VisaSession.h"

void ApplyPreAmpChoice(ScpiContext& c, PreAmpChoice choice)
{
    const AnalyserCommand preAmp{QStringLiteral("\"PreAmp\""), QStringLiteral("not sent")};
    // A holder's set-up would follow the choice, not what the analyser was told; "seg" too would
    // change what a run sends from its next segment on.
    if (!RefuseWhileHeld(c, preAmp.Name + QStringLiteral(" not sent")).isEmpty())
        return;
    if (choice == PreAmpChoice::PerSegment) {
        c.Device.PreAmpPerSegment = true;
        return;
    }
    const bool on = choice == PreAmpChoice::On;
    c.Device.PreAmpOn = on;
    c.Device.PreAmpPerSegment = false;
    RunAnalyserCommand(c, preAmp,
                       [&] { ScpiSetPreampState(c, on ? QStringLiteral("ON") : QStringLiteral("OFF")); });
}

PreAmpChoice PreAmpChoiceOf(const DeviceState& device)
{
    if (device.PreAmpPerSegment)
        return PreAmpChoice::PerSegment;
    return device.PreAmpOn ? PreAmpChoice::On : PreAmpChoice::Off;
}

void SelectInstrumentMode(VisaState& visa, DebugLog& debug, const DeviceState& device, InstrumentMode mode)
{
    if (!device.DeviceConnected)
        return;
    VisaWriteString(visa, debug, mode == InstrumentMode::Spectrum ? QStringLiteral(":INST:SEL SAN")
                                                                  : QStringLiteral(":INST:SEL REC"));
}
