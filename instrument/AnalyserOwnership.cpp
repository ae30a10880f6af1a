#include "instrument/AnalyserOwnership.h"

#include "app/FlagScope.h"
#include "app/Log.h"
#include "instrument/ScpiContext.h"
#include "instrument/ScpiIo.h"
#include "instrument/visa/VisaSession.h"

AnalyserOwnership::AnalyserOwnership(ScpiContext& c, std::function<bool()> stopped)
    : visa_(c.Visa), before_(c.Visa.Waits), silenceWasLoss_(c.Visa.SilenceIsLoss)
{
    visa_.Waits.Pump = &c.Pump;
    visa_.Waits.Cancelled = std::move(stopped);
    visa_.SilenceIsLoss = true;
}

AnalyserOwnership::~AnalyserOwnership()
{
    visa_.Waits = before_;
    visa_.SilenceIsLoss = silenceWasLoss_;
}

PumpedWaits::PumpedWaits(ScpiContext& c) : hooks_(c.Visa.Waits), before_(c.Visa.Waits)
{
    if (!hooks_.Pump)
        hooks_.Pump = &c.Pump;
}

PumpedWaits::~PumpedWaits() { hooks_ = before_; }

AnalyserCommandEnd RunAnalyserCommand(ScpiContext& c, const AnalyserCommand& command,
                                      const std::function<void()>& work)
{
    VisaState& visa = c.Visa;
    if (visa.CommandUnderWay)
        return AnalyserCommandEnd::Refused;
    if (!RefuseWhileHeld(c, command.Name + QStringLiteral(" not sent"), command.Own).isEmpty())
        return AnalyserCommandEnd::Held;
    FlagScope under(visa.CommandUnderWay);
    visa.CommandStopRequested = false;
    {
        AnalyserOwnership owned(c, [&visa] { return visa.CommandStopRequested; });
        work();
    }
    if (!scpiio::LinkLost(c))
        return AnalyserCommandEnd::Done;
    c.Messages.Append(QStringLiteral("Error: the link to the analyser was lost, ") + command.Name + QLatin1Char(' ')
                      + command.Ended);
    return AnalyserCommandEnd::Lost;
}
