#include "instrument/AnalyserOwnership.h"

#include "instrument/ScpiContext.h"
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
