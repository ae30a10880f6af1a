#ifndef ZENDRIK_MEASUREMENT_ANALYSEROWNERSHIP_H
#define ZENDRIK_MEASUREMENT_ANALYSEROWNERSHIP_H

#include "instrument/visa/PumpedVisaBackEnd.h"

struct MeasurementState;
struct ScpiContext;
struct VisaState;

// For the time of a run or a peak re-measurement: every wait on the analyser goes through the
// run's pump and ends at Stop, and an analyser that leaves a call unanswered within the session's
// time-out counts as gone, as one whose link closed does. What was set before comes back after.
class AnalyserOwnership {
public:
    AnalyserOwnership(ScpiContext& c, const MeasurementState& state);
    ~AnalyserOwnership();
    AnalyserOwnership(const AnalyserOwnership&) = delete;
    AnalyserOwnership& operator=(const AnalyserOwnership&) = delete;

private:
    VisaState& visa_;
    VisaWaitHooks before_;
    bool silenceWasLoss_;
};

#endif
