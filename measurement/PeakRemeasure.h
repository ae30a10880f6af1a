#ifndef ZENDRIK_MEASUREMENT_PEAKREMEASURE_H
#define ZENDRIK_MEASUREMENT_PEAKREMEASURE_H

#include "app/MeasureSet.h"

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class MainChartSeries;
class ParameterGridModel;
class PeakLists;
class RunHost;
struct MeasurementState;
struct RunSwitches;
struct ScpiContext;

// The parameter-grid rows a re-measurement sets the analyser to, as the grid holds them ("not
// valid" where the grid refused a value).
struct RemeasureGrid {
    QString SpanHz;       // "Span [Hz]"
    QString RbwHz;        // "RBW [Hz]"
    QString Detector;     // "Detector"
    QString AttenuatorDb; // "Attenuator [dB]"
    QString PreAmp;       // "PreAmp"
    QString SweepMs;      // "Sweep [ms]": "auto" or milliseconds

    // Whether a value is the grid's text for a value it refused ("not valid").
    static bool NotValid(const QString& value);
};
RemeasureGrid ReadRemeasureGrid(const ParameterGridModel& grid);

// How one peak is measured.
enum class PeakLevelMode {
    MarkerPeak = 0,        // peak search around the frequency (the emission may have drifted)
    MarkerAtFrequency = 1, // marker level at the frequency
    MarkerZeroSweep = 2,   // as MarkerAtFrequency with sweep time "0"
    ReceiverFixed = 3,     // the R&S receivers' fixed-frequency measurement
};

// The answer of one measurement: frequency in Hz and level in dBuV as the analyser gave them;
// both empty when the peak got no result.
struct PeakLevelTexts {
    QString Frequency;
    QString Level;
};

// What a re-measurement works on. Owned elsewhere.
struct PeakRemeasureContext {
    ScpiContext& Scpi;
    MeasurementState& State;
    RunHost& Host;
    const MainChartSeries& Series;
    const RunSwitches& Switches; // "Beep", "use compensation", the selected set
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
};

// Sets the analyser to the grid's values at frequencyHz, sweeps once, waits for the sweep time
// the analyser reports and reads the level. A grid value that is "not valid" stops with an error
// box; so does a missing device. Stop shortens the wait and the result is then dropped. A level
// or frequency no analyser reports gives no result and ends the command as Stop does.
PeakLevelTexts MeasurePeakLevel(PeakRemeasureContext& c, const RemeasureGrid& grid, int64_t frequencyHz,
                                PeakLevelMode mode);

// "Measure (consider drift)" (Meassure1) and "Measure (ignore drift)" (Measure21).
enum class DriftHandling { Consider, Ignore };

// The refusals before anything changes: no device, or a drift search on an R&S receiver.
bool RemeasureAllowed(PeakRemeasureContext& c, DriftHandling drift);

// Re-measures the selected rows of set's peak list one after the other (until Stop) and lists
// each result, corrected with the correction chain, in the set's re-measurement lists and in
// the peak's row of the peak grid; the last command's results stay until the first new one
// comes. A lost link ends it with one line and no "done". Whatever ends it early (Stop, a lost
// link, a refused answer, a sweep that never ends) is followed by one line naming the selected
// peaks that got no result from it. The caller has checked RemeasureAllowed.
void RemeasurePeaks(PeakRemeasureContext& c, const RemeasureGrid& grid, DriftHandling drift, MeasureSet set,
                    PeakLists& peaks, std::vector<int> selectedRows);

#endif
