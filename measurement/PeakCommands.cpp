#include "measurement/PeakCommands.h"

#include "app/CaughtErrors.h"
#include "app/FlagScope.h"
#include "instrument/AnalyserOwnership.h"
#include "instrument/ScpiContext.h"
#include "measurement/CorrectedTrace.h"
#include "measurement/MeasurementContext.h"
#include "measurement/MeasurementState.h"
#include "measurement/PeakRemeasure.h"
#include "measurement/RunParameters.h"
#include "measurement/WorkState.h"

PeakCommands::PeakCommands(MeasurementContext& context, WorkState& work)
    : c_(context), work_(work), controls_(work.Controls)
{
}

void PeakCommands::Publish() { c_.Host.ControlsChanged(controls_); }

void PeakCommands::DisplayPeaks()
{
    if (work_.Running())
        return;
    const MeasureSet set = c_.Switches.SelectedSet;
    const SetSeries series = SeriesOfSet(c_, set);
    if (!series.Complete())
        return;
    HostBusyCursor busy(c_.Host);
    {
        FlagScope recalculating(work_.Recalculating);
        // Stop may end a long recalculation; nothing else may start meanwhile.
        controls_.Busy = true;
        controls_.PlayEnabled = false;
        controls_.StopEnabled = true;
        controls_.PauseEnabled = false;
        Publish();
        const int32_t marginDb = c_.Parameters.MarginDb[set];
        SetTraces traces{*series.Raw, *series.Corrected, series.CorrectedColor, *series.Limit,
                         static_cast<double>(marginDb), Peaks(set)};
        CorrectionPass pass{c_.State, c_.Series, c_.Switches, c_.Scpi.Messages, c_.Scpi.Debug, c_.Host, c_.Scpi.Pump};
        RunLoggingErrors(c_.Scpi.Messages, [&] {
            RecalcCorrectedTrace(pass, traces, [this](int position, int maximum) {
                controls_.ProgressPosition = position;
                controls_.ProgressMax = maximum;
                controls_.ProgressStep = 1;
                Publish();
            });
        });
    }
    EndWork(work_, c_.Scpi, c_.Host);
}

void PeakCommands::ClearPeaks()
{
    HostBusyCursor busy(c_.Host);
    for (PeakLists& peaks : peaks_)
        peaks.ClearLists();
    c_.Host.RepaintChart();
}

void PeakCommands::MeasurePeaks(DriftHandling drift, const std::vector<int>& selectedRows, const RemeasureGrid& grid)
{
    if (work_.Running())
        return;
    PeakRemeasureContext pc{c_.Scpi, c_.State, c_.Host, c_.Series, c_.Switches, c_.Now};
    if (!RemeasureAllowed(pc, drift) || selectedRows.empty())
        return;
    const MeasureSet set = c_.Switches.SelectedSet;
    {
        FlagScope remeasuring(work_.Remeasuring);
        HostBusyCursor busy(c_.Host);
        AnalyserOwnership owned(c_.Scpi, [&s = c_.State] { return s.StopRequested; });
        controls_.Busy = true;
        controls_.PlayEnabled = false;
        controls_.StopEnabled = true;
        controls_.MeasureMenusEnabled = false;
        Publish();
        RunLoggingErrors(c_.Scpi.Messages,
                         [&] { RemeasurePeaks(pc, grid, drift, set, Peaks(set), selectedRows); });
    }
    EndWork(work_, c_.Scpi, c_.Host);
}
