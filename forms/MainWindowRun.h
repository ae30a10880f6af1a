#ifndef ZENDRIK_FORMS_MAINWINDOWRUN_H
#define ZENDRIK_FORMS_MAINWINDOWRUN_H

// The main window's share of a run, apart from its controls: the run state and the settings the
// engine reads, the correction-curve timer, the window as the engine's host, the run control and
// the peak commands.
// Only the main window's own files include this.
#include "app/MainChartSeries.h"
#include "forms/MainWindow.h"
#include "mail/SmtpSender.h"
#include "measurement/MeasurementContext.h"
#include "measurement/MeasurementState.h"
#include "measurement/PeakCommands.h"
#include "measurement/QtTickTimer.h"
#include "measurement/RunControl.h"
#include "measurement/RunParameters.h"
#include "measurement/WorkState.h"

#include <memory>

// What the engine asks of the window, answered by the window.
class MainWindow::WindowRunHost final : public RunHost {
public:
    explicit WindowRunHost(MainWindow& window) : w_(window) {}
    void ControlsChanged(const RunControls& controls) override;
    void ShowErrorBox(const QString& text) override;
    void ShowMessageBox(const QString& text) override;
    void Beep(int frequencyHz, int durationMs) override;
    void SetBusyCursor(bool busy) override;
    void RepaintChart() override;
    void SetChartAutoRepaint(bool on) override;
    void NotifySegmentDone(int segment, int count) override;
    void NotifyRunEnd(const RunEnd& end) override;
    void ReadRunSwitches() override;
    void CloseMainWindow() override;
    void MaxHoldCleared() override;

private:
    MainWindow& w_;
};

struct MainWindow::RunWiring {
    explicit RunWiring(MainWindow& window) : host(window) {}

    MeasurementState state;
    RunParameters parameters;
    RunSwitches switches;
    MainChartSeries series;
    QtTickTimer masterTimer; // Timer2
    WindowRunHost host;
    WorkState work;
    std::unique_ptr<MeasurementContext> context;
    std::unique_ptr<PeakCommands> peakCommands;
    std::unique_ptr<RunControl> control;
    bool busyShown = false;
    MailSettings* mail = nullptr;
    MailTransport mailTransport;
    // The mail server left a notice of this run unanswered: no more segment notices until the
    // next Play.
    bool noticeServerSilent = false;
};

#endif
