#ifndef ZENDRIK_MEASUREMENT_MEASUREMENTSTATE_H
#define ZENDRIK_MEASUREMENT_MEASUREMENTSTATE_H

#include "measurement/MeasureMode.h"

#include <QString>
#include <cstdint>
#include <optional>

class EventPump;

// The steps of building the combined correction curve, one timer tick each: Play asks for it, the
// next tick clears the curve and starts it, later ticks add a point each until the span is done.
enum class MasterCalcPhase : int32_t {
    Idle = -1,
    StartRequested = 0,
    Building = 1,
    Finished = 2,
};

// The run state of the measurement engine, shared with the features that wait on it (peak
// re-measurement, generator sweeps, coverage logging). Owned by the application and passed by
// reference; tests build their own.
struct MeasurementState {
    // Set by Stop; every loop that waits clears it when it starts (ClearStopRequest),
    // so that one Stop does not shorten the waits of whatever runs next.
    bool StopRequested = false;
    // Pause before the next segment. Set by the pause button; cleared by Play and Stop.
    bool PauseRequested = false;
    // Estimate of the run, counted down once a second by the status line while not paused.
    uint32_t RemainingMeasureSeconds = 0;
    // Nothing while no loop fits the instrument.
    std::optional<::MeasureMode> MeasureMode;

    // The combined correction curve.
    MasterCalcPhase MasterCalcState = MasterCalcPhase::Idle;
    // Frequency of the next master-curve point in kHz.
    int32_t MasterStepKhz = 0;
    // Span of the master curve in whole kHz, from the selected set's segment table.
    double MasterSpanStartKhz = 0;
    double MasterSpanEndKhz = 0;
    // The last corrected point came from the master curve.
    bool CorFastPath = false;
};

// A loop that waits on StopRequested calls this when it starts.
inline void ClearStopRequest(MeasurementState& state) { state.StopRequested = false; }

// Waits up to ms milliseconds, handling window events, and returns as soon as StopRequested is
// set. The wait blocks on the pump; Stop wakes it.
void WaitMsOrStop(MeasurementState& state, EventPump& pump, uint32_t ms);

#endif
