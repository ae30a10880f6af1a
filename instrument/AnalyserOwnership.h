#ifndef ZENDRIK_INSTRUMENT_ANALYSEROWNERSHIP_H
#define ZENDRIK_INSTRUMENT_ANALYSEROWNERSHIP_H

#include "instrument/visa/PumpedVisaBackEnd.h"

#include <functional>

struct ScpiContext;
struct VisaState;

// For the time of a run, a peak re-measurement or a generator action: every wait on the analyser
// goes through the context's pump and ends when `stopped` says so, and an analyser that leaves a
// call unanswered within the session's time-out counts as gone, as one whose link closed does.
// What was set before comes back after, so that an owner may nest inside another.
class AnalyserOwnership {
public:
    AnalyserOwnership(ScpiContext& c, std::function<bool()> stopped);
    ~AnalyserOwnership();
    AnalyserOwnership(const AnalyserOwnership&) = delete;
    AnalyserOwnership& operator=(const AnalyserOwnership&) = delete;

private:
    VisaState& visa_;
    VisaWaitHooks before_;
    bool silenceWasLoss_;
};

#endif
