#ifndef ZENDRIK_MEASUREMENT_PEAKCOMMANDS_H
#define ZENDRIK_MEASUREMENT_PEAKCOMMANDS_H

#include "measurement/PeakLists.h"

#include <vector>

enum class DriftHandling;
struct MeasurementContext;
struct RemeasureGrid;
struct RunControls;
struct WorkState;

// The peak lists of both sets and the commands on them: "Displ. peaks", "Clear peaks" and the
// re-measurement of listed peaks. A run lists its peaks into the same lists. Everything runs on
// the GUI thread; Stop (RunControl) ends a long recalculation or re-measurement.
class PeakCommands {
public:
    PeakCommands(MeasurementContext& context, WorkState& work);
    PeakCommands(const PeakCommands&) = delete;
    PeakCommands& operator=(const PeakCommands&) = delete;

    // "Displ. peaks" (Button8): the corrected trace and peaks of the selected set anew.
    void DisplayPeaks();
    // "Clear peaks" (Button6): the peak lists of both sets emptied.
    void ClearPeaks();
    // "Measure (consider drift)" (Meassure1), "Measure (ignore drift)" (Measure21): the selected
    // rows of the selected set's peak list measured again with the grid's values. Stop ends it.
    void MeasurePeaks(DriftHandling drift, const std::vector<int>& selectedRows, const RemeasureGrid& grid);

    PeakLists& Peaks(MeasureSet set) { return peaks_[set]; }

private:
    void Publish();

    MeasurementContext& c_;
    WorkState& work_;
    // The window's run controls, shared with the run: work_.Controls.
    RunControls& controls_;
    PerSet<PeakLists> peaks_{{{PeakLists(MeasureSet::Set1), PeakLists(MeasureSet::Set2)}}};
};

#endif
