#include "measurement/ScpiGridInstrument.h"

#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"

bool ScpiGridInstrument::Connected() const
{
    return context_.Device.DeviceConnected;
}

int32_t ScpiGridInstrument::SweepWaitMarginMs() const
{
    return context_.Device.SweepWaitMarginMs;
}

void ScpiGridInstrument::SetDetector(const QString& name)
{
    ScpiSetDetector(context_, name);
}

void ScpiGridInstrument::SetSweepTime(const QString& seconds)
{
    ScpiSetSweepTimeText(context_, seconds);
}

void ScpiGridInstrument::SetRbw(const QString& hz)
{
    // The result only says whether a Rigol or Siglent sequence completed; the grid shows the
    // value either way, as the instrument's own error queue keeps any refusal.
    (void)ScpiSetRbw(context_, hz);
}

void ScpiGridInstrument::SetSpan(const QString& hz)
{
    ScpiSetSpan(context_, hz);
}

void ScpiGridInstrument::SetAttenuation(const QString& db)
{
    ScpiSetAttenuation(context_, db);
}

void ScpiGridInstrument::SetPreamp(const QString& state)
{
    ScpiSetPreamp(context_, state);
}
