#include "measurement/WorkState.h"

#include "instrument/InstrumentConnection.h"

void EndWork(WorkState& work, ScpiContext& scpi, RunHost& host)
{
    RunControls& controls = work.Controls;
    controls.PlayEnabled = true;
    controls.StopEnabled = false;
    controls.PauseEnabled = false;
    controls.MeasureMenusEnabled = true;
    controls.Busy = false;
    host.ControlsChanged(controls);
    if (!work.ClosePending)
        return;
    work.ClosePending = false;
    DisconnectInstrument(scpi);
    host.CloseMainWindow();
}
