// The peaks: the lists the peaks panel shows (the peak commands' once they exist), "Displ. peaks",
// "Clear peaks" and the re-measurement of the selected peaks.
#include "forms/MainWindowRun.h"

#include "app/AppContext.h"
#include "app/CaughtErrors.h"
#include "datafiles/ParameterGridModel.h"
#include "forms/PeaksPanel.h"
#include "measurement/PeakLists.h"
#include "measurement/PeakRemeasure.h"

void MainWindow::ShowPeakLists(PeakLists& set1, PeakLists& set2)
{
    sets_[MeasureSet::Set1].shownPeaks = &set1;
    sets_[MeasureSet::Set2].shownPeaks = &set2;
    peaksPanel_->showPeakLists({&set1, &set2});
}

// "Displ. peaks": the selected set's corrected trace and peaks anew from its raw trace, with the
// grid's margin and the window's switches as they stand.
void MainWindow::DisplayPeaks()
{
    SyncRunSettings();
    RunLoggingErrors(app_.Messages, [&] {
        run_->peakCommands->DisplayPeaks();
    });
}

void MainWindow::ClearPeaks()
{
    if (!RunActive())
        run_->peakCommands->ClearPeaks();
}

// "Measure (consider drift)" and "Measure (ignore drift)": the rows selected in the chosen set's
// peak list, measured again with the grid's values.
void MainWindow::MeasurePeaks(bool considerDrift)
{
    SyncRunSettings();
    if (OtherInstrumentOwner())
        return;
    const std::vector<int> rows = peaksPanel_->selectedRows(run_->switches.SelectedSet);
    RunLoggingErrors(app_.Messages, [&] {
        run_->peakCommands->MeasurePeaks(considerDrift ? DriftHandling::Consider : DriftHandling::Ignore,
                                         rows, ReadRemeasureGrid(*parameterModel_));
    });
}
