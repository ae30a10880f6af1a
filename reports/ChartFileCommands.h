#ifndef ZENDRIK_REPORTS_CHARTFILECOMMANDS_H
#define ZENDRIK_REPORTS_CHARTFILECOMMANDS_H

#include "reports/ChartFiles.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>

// The commands of the "Utilities" menu for chart, compensation and reference files, and the
// "use compensation" box, as the main window's handlers call them once the file dialog has been
// answered (an empty name: cancelled). They change the plain view below; the main window shows it.

// The main window's texts and boxes these commands change.
struct ChartFileView {
    QString ChartLabel;                          // Label1: "Chart: " and the file name
    std::array<QString, 3> TraceLabels = {QStringLiteral("Trace1:"), QStringLiteral("Trace2:"),
                                          QStringLiteral("Trace3:")}; // Label7, Label9, Label10
    QString CaptionProjectText;
    QString CaptionFileText;
    bool UseCompensation = false;                // CheckBox37 "use compensation"
    bool CompensationLoaded = false;             // a compensation file was loaded

    // The main window's caption: "Zendrik " + project text + " " + file text.
    QString Caption() const;
};

// What the commands ask of the main window and the measurement engine.
struct ChartFileHooks {
    std::function<void()> ClearPeaks;        // "Clear peaks": the lists and grids of both sets
    std::function<void()> ResetFadeOverlays; // the smoothing overlays
    std::function<void()> RepaintChart;
};

// "Save Chart" and "Save Zero Compensation".
bool SaveChartCommand(const QString& fileName, const ChartFileContext& chart);
bool SaveCompensationCommand(const QString& fileName, const ChartFileContext& chart);

// "Load Chart": refused while a run is active (running or paused), since the run fills the very
// traces a load replaces. After a load the peaks of the old measurement go, in both sets.
bool LoadChartCommand(const QString& fileName, bool runActive, ChartFileContext& chart, ChartFileView& view,
                      const ChartFileHooks& hooks);

// "Load Zero Compensation": follows the parameter grid's lock (refused while a run is measuring,
// allowed while it is paused), as any change of the correction chain does.
bool LoadCompensationCommand(const QString& fileName, bool gridLocked, ChartFileContext& chart,
                             ChartFileView& view);

// "use compensation" was clicked; view.UseCompensation holds the box's new state.
void UseCompensationClicked(const ChartFileContext& chart, const ChartFileView& view);

// "Trace1", "Trace2", "Trace 3" of "Load Reference Trace" (slot 1..3). The live traces and their
// peak lists stay as they are.
bool LoadReferenceCommand(int slot, const QString& fileName, ChartFileContext& chart, ChartFileView& view);
// "Clear traces": the three slots emptied.
void ClearReferenceTraces(ChartFileContext& chart, ChartFileView& view, const ChartFileHooks& hooks);

#endif
