#include "measurement/MeasurementState.h"

#include "platform/system/EventPump.h"

void WaitMsOrStop(MeasurementState& state, EventPump& pump, uint32_t ms)
{
    const uint32_t start = pump.TickCount();
    for (;;) {
        if (state.StopRequested)
            return;
        // Unsigned difference: a wrap of the tick counter neither ends nor extends the wait.
        const uint32_t elapsed = pump.TickCount() - start;
        if (elapsed >= ms)
            return;
        pump.WaitEvents(ms - elapsed);
    }
}
