#include "measurement/ScpiGridInstrument.h"

#include "datafiles/ParameterGridRows.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/DeviceState.h"
#include "instrument/ScpiCommands.h"

namespace {

// A row's commands own the analyser for their time: the window keeps working while they wait,
// and an analyser that is silent or gone ends them with one line naming the row. The grid is the
// run's: a paused run takes its rows, every other holder refuses them.
void SendRow(ScpiContext& c, const QString& key, const std::function<void()>& send)
{
    RunAnalyserCommand(c, {QStringLiteral("\"") + key + QStringLiteral("\""), QStringLiteral("not sent"),
                           AnalyserHolder::EmissionRun},
                       send);
}

} // namespace

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
    SendRow(context_, gridkeys::kDetector, [&] { ScpiSetDetector(context_, name); });
}

void ScpiGridInstrument::SetSweepTime(const QString& seconds)
{
    SendRow(context_, gridkeys::kSweep, [&] { ScpiSetSweepTimeText(context_, seconds); });
}

void ScpiGridInstrument::SetRbw(const QString& hz)
{
    // The result only says whether a Rigol or Siglent sequence completed; the grid shows the
    // value either way, as the instrument's own error queue keeps any refusal.
    SendRow(context_, gridkeys::kRbw, [&] { (void)ScpiSetRbw(context_, hz); });
}

void ScpiGridInstrument::SetSpan(const QString& hz)
{
    SendRow(context_, gridkeys::kSpan, [&] { ScpiSetSpan(context_, hz); });
}

void ScpiGridInstrument::SetAttenuation(const QString& db)
{
    SendRow(context_, gridkeys::kAttenuator, [&] { ScpiSetAttenuation(context_, db); });
}

void ScpiGridInstrument::SetPreamp(const QString& state)
{
    SendRow(context_, gridkeys::kPreAmp, [&] { ScpiSetPreamp(context_, state); });
}
