#ifndef ZENDRIK_TESTS_MEASUREMENT_RUNFIXTURE_H
#define ZENDRIK_TESTS_MEASUREMENT_RUNFIXTURE_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "chart/engine/ChartSeries.h"
#include "common/TestSupport.h"
#include "datafiles/CheckListModel.h"
#include "datafiles/SegmentTable.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/VisaSession.h"
#include "measurement/MeasurementContext.h"
#include "measurement/MeasurementState.h"
#include "measurement/PeakCommands.h"
#include "measurement/RunControl.h"
#include "measurement/RunParameters.h"
#include "measurement/WorkState.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

// The correction-curve timer on the virtual clock of the test pump.
class VirtualTickTimer final : public TickTimer {
public:
    explicit VirtualTickTimer(VirtualEventPump& pump) : pump_(pump) {}
    void Start(uint32_t intervalMs) override
    {
        interval_ = intervalMs;
        active_ = true;
        Arm(++generation_);
    }
    // A start or stop makes the ticks scheduled before it void.
    void Stop() override
    {
        active_ = false;
        ++generation_;
    }
    bool Active() const override { return active_; }

private:
    void Arm(uint64_t generation)
    {
        pump_.Schedule(interval_, [this, generation] {
            if (generation != generation_)
                return;
            if (OnTick)
                OnTick();
            if (generation == generation_)
                Arm(generation);
        });
    }
    VirtualEventPump& pump_;
    uint32_t interval_ = 5;
    bool active_ = false;
    uint64_t generation_ = 0;
};

// The main window as the engine sees it: what it was told, in order.
class RecordingHost final : public RunHost {
public:
    void ControlsChanged(const RunControls&) override {}
    void ShowErrorBox(const QString& text) override { errorBoxes << text; }
    void Beep(int hz, int ms) override { beeps << QString::number(hz) + "/" + QString::number(ms); }
    void SetBusyCursor(bool) override {}
    void RepaintChart() override {}
    void SetChartAutoRepaint(bool) override {}
    void NotifySegmentDone(int segment, int count) override
    {
        notices << QString::number(segment) + "/" + QString::number(count);
    }
    void NotifyRunEnd(const RunEnd& e) override
    {
        notices << QStringList{"done", "stopped", "lost", "failed", "part"}[static_cast<int>(e.Ending)] +
                       QString(" %1/%2").arg(e.LastSegment).arg(e.Count);
    }
    void CloseMainWindow() override { ++closes; }
    void MaxHoldCleared() override { ++maxHoldCleared; }

    QStringList errorBoxes, beeps, notices;
    int closes = 0;
    int maxHoldCleared = 0;
};

// Series of the main chart that the engine uses, by role, owned here.
struct TestChart {
    TChartSeries raw1, limit1, cable, lisn, limit2, corrected1, raw2, corrected2, amplifier, antenna, master,
        compensation1, compensation2;
    MainChartSeries series;

    TestChart()
    {
        const std::pair<SeriesRole, TChartSeries*> used[] = {
            {SeriesRole::rawTrace1, &raw1},          {SeriesRole::limitLine1, &limit1},
            {SeriesRole::cableCorrection, &cable},   {SeriesRole::lisnCorrection, &lisn},
            {SeriesRole::limitLine2, &limit2},       {SeriesRole::correctedTrace1, &corrected1},
            {SeriesRole::rawTrace2, &raw2},          {SeriesRole::correctedTrace2, &corrected2},
            {SeriesRole::amplifierCorrection, &amplifier}, {SeriesRole::antennaFactor, &antenna},
            {SeriesRole::masterCorrection, &master}, {SeriesRole::compensation1, &compensation1},
            {SeriesRole::compensation2, &compensation2}};
        for (const auto& [role, s] : used)
            series[role] = s;
    }
};

void FillLine(TChartSeries& s, std::initializer_list<std::pair<double, double>> points);

// A whole run set-up: program state, chart, tables, host, the run control and the peak commands,
// with a simulator on loopback when Connect is called.
struct RunFixture {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext scpi{visa, device, options, debug, messages, pump, status};
    MeasurementState state;
    TestChart chart;
    SegmentTable table1, table2;
    CheckListModel checks1, checks2;
    RunParameters parameters;
    RunSwitches switches;
    RecordingHost host;
    VirtualTickTimer timer{pump};
    MeasurementContext context{scpi,       state,    chart.series, {&table1, &table2}, {&checks1, &checks2},
                               parameters, switches, host,         timer};
    WorkState work;
    PeakCommands peakCommands{context, work};
    std::unique_ptr<RunControl> run = std::make_unique<RunControl>(context, work, peakCommands);
    std::unique_ptr<Simulator> sim;

    RunFixture();
    ~RunFixture();

    // Starts the simulator of a family (VXI-11, or the raw socket) and connects to it.
    void Connect(const QString& family, bool vxi11 = true, SimFaults faults = {});
    // Connects to a scripted peer instead, as an analyser of the family and model given.
    void ConnectScripted(std::shared_ptr<ScriptedPeer> peer, int32_t family, int32_t model);
    // Appends a segment to a set's table and its check list (checked).
    void AddSegment(MeasureSet set, int64_t startHz, int64_t stopHz, const QString& rbw = "9000",
                    int sweepMs = 100, const QString& detector = "POS");
    // The VISA I/O time-out of the session.
    void SetTimeoutMs(uint32_t ms);
    // The messages the simulator received, in order.
    QStringList SimLog(size_t from = 0, size_t to = SIZE_MAX) const;
    // Message-log lines that begin with prefix.
    QStringList Lines(const QString& prefix) const;
    // The run's own "Info: measurement" lines, without those of the correction chain.
    QStringList RunLines() const;
};

#endif
