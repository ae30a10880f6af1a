#ifndef ZENDRIK_TESTS_INSTRUMENT_SIMSCPIFIXTURE_H
#define ZENDRIK_TESTS_INSTRUMENT_SIMSCPIFIXTURE_H

#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiContext.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "instrument/visa/Vxi11Transport.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <QStringList>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <unistd.h>

// The two LAN links every fault is seen over.
enum class Link { Socket, Vxi11 };
inline std::string LinkName(const testing::TestParamInfo<Link>& p)
{
    return p.param == Link::Socket ? "Socket" : "Vxi11";
}

// The time-out of the sessions in these tests: long enough for any answer on loopback, short
// enough that the faults which end in a time-out keep the tests fast.
inline constexpr ViUInt32 kTestTimeoutMs = 100;

// A program number of the transient range, different for every simulator of every process, so
// that parallel test runs never meet in the portmapper.
inline uint32_t TestRpcProgram()
{
    static std::atomic<uint32_t> counter{0};
    return 0x40000000u | ((static_cast<uint32_t>(::getpid()) << 8 | (counter++ & 0xFF)) & 0x1FFFFFFFu);
}

inline bool PortmapperReachable(QString* reason)
{
    uint16_t port = 0;
    if (!LookupRpcPort("127.0.0.1", 100000, 2, 1000, &port, reason))
        return false;
    if (port != 111) {
        *reason = "the portmapper does not list itself";
        return false;
    }
    return true;
}

// The program's instrument state with a simulator on loopback (raw socket, or VXI-11 through
// rpcbind), sessions with the short time-out.
struct SimScpi {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    std::unique_ptr<Simulator> sim;
    QString resource;
    QStringList dialogs;
    QString lastErrors;

    explicit SimScpi(const QString& family, Link link = Link::Socket, SimFaults faults = {},
                     double timeScale = 0.0001, ViUInt32 timeoutMs = kTestTimeoutMs)
    {
        SimulatorOptions o;
        o.family = family;
        o.seed = 3;
        o.timeScale = timeScale;
        o.faults = faults;
        BuiltinVisaOptions vo;
        vo.timeoutMs = timeoutMs;
        if (link == Link::Vxi11) {
            QString reason;
            EXPECT_TRUE(PortmapperReachable(&reason))
                << "VXI-11 tests need rpcbind: " << reason.toStdString() << " (start it with: rpcbind -w)";
            o.vxi11 = true;
            o.vxi11Program = TestRpcProgram();
            vo.vxi11.program = o.vxi11Program;
        } else {
            o.tcpPort = 0;
        }
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
        resource = link == Link::Vxi11 ? TcpResourceName("127.0.0.1")
                                       : "TCPIP0::127.0.0.1::" + QString::number(sim->TcpPort()) + "::SOCKET";
        debug.TimeText = [] { return QStringLiteral("T"); };
        visa.ShowErrorDialog = [this](const QString& t) { dialogs << t; };
        LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>(vo));
    }
    ~SimScpi()
    {
        CloseVisaSessions(visa);
        sim->Stop();
    }

    ConnectOutcome Connect() { return ConnectInstrument(c, resource, true); }

    void SetFaults(void (*set)(SimFaults&))
    {
        SimFaults f;
        set(f);
        sim->Instrument().SetFaults(f);
    }

    // The messages the simulator received since the last call, repeated status polls merged.
    // Writes need no answer, so a query goes first to be sure the simulator has them all; it
    // also gives the first entry of the error queue (lastErrors), and is left out of the log.
    QStringList Logged()
    {
        lastErrors = Errors(false);
        QStringList out;
        for (const SimLogEntry& e : sim->Instrument().CommandLog()) {
            const QString m = QString::fromLatin1(e.message);
            if ((m == "*ESR?" || m == "*OPC;*ESR?") && !out.isEmpty() && out.last() == m)
                continue;
            out << m;
        }
        if (!out.isEmpty() && out.last() == ":SYST:ERR?")
            out.removeLast();
        sim->Instrument().ClearCommandLog();
        return out;
    }

    QString Errors(bool clearLog = true)
    {
        VisaWriteString(visa, debug, ":SYST:ERR?");
        const QString e = VisaReadReply(visa, QString());
        if (clearLog)
            sim->Instrument().ClearCommandLog();
        return e;
    }

    // The completion handshake of the receiver loops: *ESE 1, one sweep, *ESR?, then *OPC;*ESR?
    // until operation complete.
    void ReceiverHandshake()
    {
        ScpiWrite(visa, debug, "*ESE 1");
        ScpiSingleSweep(c);
        ScpiWrite(visa, debug, "*ESR?");
        VisaReadLine(visa);
        for (int i = 0; i < 200; ++i) {
            ScpiWrite(visa, debug, "*OPC;*ESR?");
            if (VisaReadLine(visa).left(2).toInt() & 1)
                return;
            QThread::msleep(2);
        }
        ADD_FAILURE() << "no operation complete";
    }
};

#endif
