#include "instrument/PanelCommands.h"

#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/VisaSession.h"

void ApplyPreAmpChoice(ScpiContext& c, PreAmpChoice choice)
{
    if (choice == PreAmpChoice::PerSegment) {
        c.Device.PreAmpPerSegment = 1;
        return;
    }
    const bool on = choice == PreAmpChoice::On;
    c.Device.PreAmpOn = on ? 1 : 0;
    c.Device.PreAmpPerSegment = 0;
    ScpiSetPreampState(c, on ? QStringLiteral("ON") : QStringLiteral("OFF"));
}

void SelectInstrumentMode(VisaState& visa, DebugLog& debug, const DeviceState& device, InstrumentMode mode)
{
    if (device.DeviceConnected == 0)
        return;
    VisaWriteString(visa, debug, mode == InstrumentMode::Spectrum ? QStringLiteral(":INST:SEL SAN")
                                                                  : QStringLiteral(":INST:SEL REC"));
}
