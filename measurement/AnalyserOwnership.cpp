#include "measurement/AnalyserOwnership.h"

#include "instrument/ScpiContext.h"
#include "instrument/visa/VisaSession.h"
#include "measurement/MeasurementState.h"

AnalyserOwnership::AnalyserOwnership(ScpiContext& c, const MeasurementState& state)
    : visa_(c.Visa), before_(c.Visa.Waits), silenceWasLoss_(c.Visa.SilenceIsLoss)
{
    visa_.Waits.Pump = &c.Pump;
    visa_.Waits.Cancelled = [&state] { return state.StopRequested; };
    visa_.SilenceIsLoss = true;
}

AnalyserOwnership::~AnalyserOwnership()
{
    visa_.Waits = before_;
    visa_.SilenceIsLoss = silenceWasLoss_;
}
