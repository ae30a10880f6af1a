#ifndef ZENDRIK_TESTS_COVERAGE_COVERAGERIG_H
#define ZENDRIK_TESTS_COVERAGE_COVERAGERIG_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "common/TestSupport.h"
#include "coverage/CoverageView.h"
#include "datafiles/TableBuffer.h"
#include "instrument/DeviceState.h"
#include "instrument/GpsReceiver.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// What the window would do, recorded.
struct RecordingHost final : CoverageHost {
    bool timerOn = false;
    int interval = 0;
    int timerStarts = 0;
    QStringList errors;
    QStringList questions;
    bool answer = true;
    int beeps = 0;

    void StartTimer(int ms) override
    {
        timerOn = true;
        interval = ms;
        ++timerStarts;
    }
    void StopTimer() override { timerOn = false; }
    void ShowError(const QString& t) override { errors << t; }
    bool ConfirmOkCancel(const QString& t) override
    {
        questions << t;
        return answer;
    }
    void Beep(int, int) override { ++beeps; }
};

// The program's instrument and receiver state on the in-process simulator (analyser on a
// loopback socket, receiver on a pseudo-terminal), a virtual clock, and the coverage view over
// them with its working folder in a temporary directory.
struct CoverageRig {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c {visa, device, options, debug, messages, pump, status};
    GpsReceiverState gps;
    TableBuffer tables;
    RecordingHost host;
    QTemporaryDir dir;
    std::unique_ptr<Simulator> sim;
    std::unique_ptr<CoverageView> view;
    QStringList dialogs;
    // What the analyser's marker would answer (dBm), by centre frequency, sampled during waits.
    QMap<double, double> probed;

    explicit CoverageRig(const QString& family, bool receiver = false, SimFaults faults = {})
    {
        SimulatorOptions o;
        o.family = family;
        o.seed = 5;
        o.timeScale = 0.001;
        o.tcpPort = 0;
        o.pty = receiver;
        o.gps = receiver;
        o.faults = faults;
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("T"); };
        visa.ShowErrorDialog = [this](const QString& t) { dialogs << t; };
        LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>());
        const QString resource = "TCPIP0::127.0.0.1::" + QString::number(sim->TcpPort()) + "::SOCKET";
        EXPECT_TRUE(ConnectInstrument(c, resource, true).Identified);
        if (receiver) {
            EXPECT_TRUE(ConnectGpsReceiver(c, gps, sim->PtyPath()).Connected);
            visa.VisaLibrary->viSetAttribute(visa.GpsSession, visa::VI_ATTR_TMO_VALUE, 300);
        }
        sim->Instrument().ClearCommandLog();
        view = std::make_unique<CoverageView>(c, gps, tables, host, dir.path());
        view->TimeText = [] { return QStringLiteral("T"); };
        view->KmlStamp = [] { return QStringLiteral("stamp"); };
    }
    ~CoverageRig()
    {
        view.reset();
        CloseGpsReceiver(c, gps);
        CloseVisaSessions(visa);
        sim->Stop();
    }

    // The commands the analyser received since the last call, with an empty error queue checked.
    QStringList Logged()
    {
        VisaWriteString(visa, debug, ":SYST:ERR?");
        EXPECT_TRUE(VisaReadReply(visa, QString()).startsWith("0,")) << "the simulator refused a command";
        QStringList out;
        for (const SimLogEntry& e : sim->Instrument().CommandLog())
            if (e.transport != QLatin1String("probe"))
                out << QString::fromLatin1(e.message);
        if (!out.isEmpty() && out.last() == ":SYST:ERR?")
            out.removeLast();
        sim->Instrument().ClearCommandLog();
        return out;
    }

    // Samples the marker answer every 20 virtual ms, so that each frequency's last sample is
    // what the tick read.
    void Probe()
    {
        const SimSettings s = sim->Instrument().Settings();
        const QByteArray query = device.DeviceFamily == dfHameg ? ":MARK1:LEV?" : ":CALC:MARK1:Y?";
        probed[(s.startHz + s.stopHz) / 2]
            = sim->Instrument().Execute(query, "probe").bytes.trimmed().toDouble();
        pump.Schedule(20, [this] { Probe(); });
    }

    // The shipped correction tables in the working folder's "src".
    void CopyShippedTables()
    {
        ASSERT_TRUE(QDir().mkpath(dir.filePath("src")));
        for (const char* name : {"cable_rg58_5m.cac", "preamp_20db.amp", "antenna_biconilog.ant"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(ZENDRIK_SOURCE_DIR "/data/src/") + name,
                dir.filePath(QStringLiteral("src/") + name)));
    }

    QByteArray Table() { return testsupport::ReadAll(dir.filePath("out/coverage.txt")); }
};

#endif
