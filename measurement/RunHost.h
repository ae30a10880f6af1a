#ifndef ZENDRIK_MEASUREMENT_RUNHOST_H
#define ZENDRIK_MEASUREMENT_RUNHOST_H

#include "app/RunEnding.h"

#include <QString>
#include <cstdint>
#include <functional>

// The main window's run controls as the engine sets them; the window shows them and, while Busy,
// disables everything that would re-enter the instrument or the traces (parameter grid commands,
// Device menu, "Displ. peaks", "Clear peaks", loading projects and charts).
struct RunControls {
    bool PlayEnabled = true;          // "Play" (BitBtn1)
    bool StopEnabled = false;         // "Stop" (BitBtn2)
    bool PauseEnabled = false;        // "Pause" (BitBtn3)
    bool MeasureMenusEnabled = true;  // "Measure (consider drift)" (Meassure1), "Measure (ignore drift)" (Measure21)
    bool GridLocked = false;          // parameter grid (ValueListEditor1)
    bool Busy = false;                // a run or a recalculation owns the instrument and the traces
    QString PassText;                 // pass counter (Label3)
    QString EstimateText;             // estimated time, "hh:mm:ss" (Label4)
    QString RemainingText;            // time left, "hh:mm:ss" (Label5)
    int ProgressPosition = 0;         // ProgressBar1
    int ProgressMax = 100;
    int ProgressStep = 1;

    bool operator==(const RunControls&) const = default;
};

// What the engine asks of the main window. Nothing here may start a run again.
class RunHost {
public:
    virtual ~RunHost() = default;
    virtual void ControlsChanged(const RunControls& controls) = 0;
    // An error box: error icon, one OK button.
    virtual void ShowErrorBox(const QString& text) = 0;
    // A plain box with one OK button.
    virtual void ShowMessageBox(const QString& text) { ShowErrorBox(text); }
    virtual void Beep(int frequencyHz, int durationMs) = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    virtual void RepaintChart() = 0;
    // The main chart's automatic repaint after every point change.
    virtual void SetChartAutoRepaint(bool on) = 0;
    // The mail notices: after segment `segment` of `count`, and at the end of every pass.
    virtual void NotifySegmentDone(int segment, int count) = 0;
    virtual void NotifyRunEnd(const RunEnd& end) = 0;
    // The switches a run follows while it goes ("MaxFilter", "Beep", "use compensation") are
    // read anew into RunSwitches.
    virtual void ReadRunSwitches() {}
    // A close that waited for the run to return may go on now.
    virtual void CloseMainWindow() = 0;
    // Stop switched "MaxHold" off: the parameter grid's row shows "off" from now on.
    virtual void MaxHoldCleared() {}
};

// The host's busy cursor for the time of a scope.
class HostBusyCursor {
public:
    explicit HostBusyCursor(RunHost& host) : host_(host) { host_.SetBusyCursor(true); }
    ~HostBusyCursor() { host_.SetBusyCursor(false); }
    HostBusyCursor(const HostBusyCursor&) = delete;
    HostBusyCursor& operator=(const HostBusyCursor&) = delete;

private:
    RunHost& host_;
};

// The correction-curve timer (Timer2): calls OnTick every interval while started.
class TickTimer {
public:
    virtual ~TickTimer() = default;
    virtual void Start(uint32_t intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
    std::function<void()> OnTick;
};

#endif
