#ifndef ZENDRIK_COVERAGE_COVERAGEVIEW_H
#define ZENDRIK_COVERAGE_COVERAGEVIEW_H

#include "app/DateTimeText.h"
#include "coverage/CoverageGrid.h"
#include "coverage/CoverageModel.h"
#include "coverage/KmlTracks.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

struct ScpiContext;
struct GpsReceiverState;
class TableBuffer;

// The RF coverage view's logic: logging ticks (levels at up to three frequencies, the GPS fix,
// the coverage table and the KML tracks), Start, Stop and the latch, the analyser set-up, the
// settings grid, the corrections and the drive-test calculators. It works on its own models
// (grid, fields, chart data, globals, tracks) and on the program's instrument and receiver
// state; the window shows the models and calls the operations.
//
// Waits pump the window's events, so the operator's Stop or Latch and the next timer tick can
// run inside a tick. A nested tick is counted in "T3-Err" and skipped; Stop, Latch and closing
// end the running tick at its next wait, and the KML file is written once the tick has returned.
// An analyser that is lost during a tick (its link closed, or silent while the window running the
// tick lets silence count as a loss) ends the logging in the same way, with one line; so does a
// tick that finds none connected, and Start refuses to log without one. A tick whose row is not
// written shows none of its levels; a row never repeats the Index of the row before.
class CoverageView {
public:
    CoverageView(ScpiContext& scpi, GpsReceiverState& gps, TableBuffer& tableGrid, CoverageHost& host,
        const QString& workingFolder);
    ~CoverageView();
    CoverageView(const CoverageView&) = delete;
    CoverageView& operator=(const CoverageView&) = delete;

    // Models.
    CoverageGrid& Grid() { return grid_; }
    CoverageFields& Fields() { return fields_; }
    CoverageChart& Chart() { return chart_; }
    CoverageGlobals& Globals() { return globals_; }
    KmlTracks& Tracks() { return kml_; }
    // The view's memo (shared with the receiver's debug lines).
    QStringList& Memo();
    // True from Start to Stop (the timer runs).
    bool Logging() const { return logging_; }

    // Logging.
    bool Start(); // "Start": false with an error box when logging cannot start
    void Stop(); // "Stop"
    void Latch(); // "Latch FILE"
    void Tick(); // the coverage timer
    void MeasureLevels(); // one level measurement at A, B and C (inside a tick)
    void LatchPointsChanged(const QString& text);
    // The window closes: logging stops as with Stop, and logged points are written.
    void Close();

    // View controls.
    void InitAnalyser(); // "Init SA"
    void GridValueEdited(const QString& key); // validation after the operator edited a row
    void ShowCorrectionData(); // "Get Cor Data"
    void ClearMasterLogfile(); // "clr master logfile"
    void RecalculateDrive(); // the calculators, from the combo box texts

    // The clock of the memo lines (long time format) and of the KML file names; tests fix them.
    std::function<QString()> TimeText;
    std::function<QString()> KmlStamp;
    DateTimeTexts Texts;

private:
    struct TickScope;
    bool Wait(uint32_t ms, uint64_t generation);
    bool Measure(uint64_t generation);
    bool AnalyserLost(uint64_t generation);
    bool AnalyserReady() const;
    void ShowLevelsLine();
    void RunTick(uint64_t generation);
    void WriteKml();
    // An error line of the logging: the message log and the view's memo.
    void Say(const QString& line);
    void LoadCorrection(const QString& key);
    // Why a correction table the grid names gave its series no curve, as Play says it ("Cable File
    // not usable: ..."); empty while each named table is there (a missing file corrects nothing).
    QString RefusedCorrection() const;
    QString Now() const;

    ScpiContext& scpi_;
    GpsReceiverState& gps_;
    TableBuffer& tableGrid_;
    CoverageHost& host_;
    QString workingFolder_;

    CoverageGrid grid_;
    CoverageFields fields_;
    CoverageChart chart_;
    CoverageGlobals globals_;
    KmlTracks kml_;

    bool logging_ = false;
    // Counts Stops (and closes): a tick or latch pause that sees it change ends early.
    uint64_t stopGeneration_ = 0;
    bool kmlAfterTick_ = false;
    bool pollFailed_ = false;
    // Which levels this tick measured (they alone go into the tracks).
    bool measured_[3] = {false, false, false};
    // A frequency the analyser did not tune to is said once, until it tunes to it again.
    bool untunedSaid_[3] = {false, false, false};
    // The memo's line of this tick's levels, and the Index of the last row written since the
    // level chart was last emptied ("Init SA").
    QString levelsLine_;
    int32_t lastRowIndex_ = -1;
};

#endif
