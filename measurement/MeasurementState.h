#ifndef ZENDRIK_MEASUREMENT_MEASUREMENTSTATE_H
#define ZENDRIK_MEASUREMENT_MEASUREMENTSTATE_H

#include <QString>
#include <cstdint>

class EventPump;

// The run state of the measurement engine, shared with the features that wait on it (peak
// re-measurement, generator sweeps, coverage logging). Owned by the application and passed by
// reference; tests build their own.
struct MeasurementState {
    // 1 = stop. Set by Stop; every loop that waits clears it when it starts (ClearStopRequest),
    // so that one Stop does not shorten the waits of whatever runs next.
    uint8_t StopRequested = 0;
    // 1 = pause before the next segment. Set by the pause button; cleared by Play and Stop.
    uint8_t PauseRequested = 0;
    // Estimate of the run, counted down once a second by the status line while not paused.
    uint32_t RemainingMeasureSeconds = 0;
    // "sweep", "emi", "emi_scan" or "emi_fix"; empty while no loop fits the instrument.
    QString MeasureMode;

    // The combined correction curve: -1 idle, 0 start requested, 1 building, 2 finished.
    int32_t MasterCalcState = -1;
    // Frequency of the next master-curve point in kHz.
    int32_t MasterStepKhz = 0;
    // Span of the master curve in whole kHz, from the selected set's segment table.
    double MasterSpanStartKhz = 0;
    double MasterSpanEndKhz = 0;
    // 1 when the last corrected point came from the master curve.
    uint8_t CorFastPath = 0;
};

// A loop that waits on StopRequested calls this when it starts.
inline void ClearStopRequest(MeasurementState& state) { state.StopRequested = 0; }

// Waits up to ms milliseconds, handling window events, and returns as soon as StopRequested is
// set. The wait blocks on the pump; Stop wakes it.
void WaitMsOrStop(MeasurementState& state, EventPump& pump, uint32_t ms);

#endif
