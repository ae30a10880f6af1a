#ifndef ZENDRIK_MEASUREMENT_WORKSTATE_H
#define ZENDRIK_MEASUREMENT_WORKSTATE_H

#include "measurement/RunHost.h"

struct ScpiContext;

// Which work of the engine is going and what the window's run controls show for it, shared by
// the run (RunControl) and the peak commands (PeakCommands): each sees the other's work, so that
// neither starts while the other goes, and a close asked for during any of it waits for its end.
struct WorkState {
    bool InLoop = false;        // the loop of a run ("Play")
    bool Recalculating = false; // "Displ. peaks"
    bool Remeasuring = false;   // "Measure (consider drift)", "Measure (ignore drift)"
    // The main window asked to close while work went on: it closes once that work has returned.
    bool ClosePending = false;
    RunControls Controls;

    bool Running() const { return InLoop || Recalculating || Remeasuring; }
};

// The end of any piece of work, once it has returned: the controls as they are between commands
// (Play and the measure menus on; Stop, Pause and Busy off) go to the window, and a close the
// window asked for meanwhile goes on, the instrument sessions closed first.
void EndWork(WorkState& work, ScpiContext& scpi, RunHost& host);

#endif
