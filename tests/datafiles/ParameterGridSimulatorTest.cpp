// The parameter grid's instrument rows reach a simulated analyser through the SCPI command layer:
// the simulator's log holds exactly the commands of each accepted edit, nothing for a refused one,
// and its error queue stays empty.
#include "ProjectFixture.h"

#include "app/AdvancedSettings.h"
#include "common/TestSupport.h"
#include "datafiles/ParameterGridValidation.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "measurement/ScpiGridInstrument.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

namespace {

using namespace gridkeys;

struct SimulatedAnalyser {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    std::unique_ptr<Simulator> sim;

    explicit SimulatedAnalyser(const QString& family)
    {
        SimulatorOptions o;
        o.family = family;
        o.tcpPort = 0;
        o.timeScale = 0.0001;
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
        debug.TimeText = [] { return QStringLiteral("T"); };
        LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>());
        const QString resource = "TCPIP0::127.0.0.1::" + QString::number(sim->TcpPort()) + "::SOCKET";
        EXPECT_TRUE(ConnectInstrument(c, resource, true).Identified);
    }
    ~SimulatedAnalyser()
    {
        CloseVisaSessions(visa);
        sim->Stop();
    }

    // What the simulator received since the last call. The error query goes last, so every
    // command before it has arrived; its answer is the first entry of the error queue.
    QStringList Received(QString* errors)
    {
        VisaWriteString(visa, debug, ":SYST:ERR?");
        *errors = VisaReadReply(visa, QString());
        QStringList out;
        for (const SimLogEntry& e : sim->Instrument().CommandLog())
            out << QString::fromLatin1(e.message);
        out.removeAll(":SYST:ERR?");
        sim->Instrument().ClearCommandLog();
        return out;
    }
};

TEST(ParameterGridSimulator, RigolRowsSendTheirCommands)
{
    SimulatedAnalyser a("dsa815");
    ProjectFixture f;
    ScpiGridInstrument instrument(a.c);
    f.t.Instrument = &instrument;
    AttachGridValidation(f.t);
    a.device.PreAmpPerSegment = 1; // the grid's own choice is sent
    QString errors;
    a.Received(&errors);

    struct Case {
        QString key, typed, cell;
        QStringList commands;
    };
    const std::vector<Case> cases = {
        {kDetector, "QPEAK", "QPEAK", {":SENS:DET:FUNC QPE"}},
        {kRbw, "120.000", "120000", {":SENS:BAND:EMIF:STAT?", ":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 120000"}},
        {kRbw, "3M", "9000", {}},
        // A DSA815 ends at 1.5 GHz: wider spans are covered by the recording instrument.
        {kSpan, "1.250.000.000", "1250000000", {":SENS:FREQ:SPAN 1250000000"}},
        {kSweep, "1500", "1500", {":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 1.5"}},
        {kSweep, "auto", "auto", {":SENS:SWE:TIME:AUTO ON"}},
        {kAttenuator, "20", "20", {":SENS:POW:RF:ATT 20"}},
        {kAttenuator, "auto", "auto", {":SENS:POW:RF:ATT:AUTO ON"}},
        {kAttenuator, "60", "0", {}},
        {kPreAmp, "on", "on", {":SENS:POW:GAIN ON"}},
    };
    for (const Case& e : cases) {
        SCOPED_TRACE((e.key + " <- " + e.typed).toStdString());
        f.mainGrid.setData(f.mainGrid.index(f.mainGrid.RowOf(e.key), 1), e.typed);
        EXPECT_EQ(f.mainGrid.Value(e.key), e.cell);
        EXPECT_EQ(a.Received(&errors), e.commands);
        EXPECT_EQ(errors, "0,\"No error\"");
    }
    EXPECT_EQ(a.device.Echo.SpanText, "1250000000");
    EXPECT_EQ(a.device.Echo.DetectorText, "QPEAK");

    // A device that counts as disconnected (a failed trace transfer clears the flag while the
    // session stays open) gets nothing; the cells are checked all the same.
    a.device.DeviceConnected = 0;
    f.mainGrid.setData(f.mainGrid.index(f.mainGrid.RowOf(kDetector), 1), "RMS");
    f.mainGrid.setData(f.mainGrid.index(f.mainGrid.RowOf(kRbw), 1), "10k");
    EXPECT_EQ(f.mainGrid.Value(kRbw), "10000");
    EXPECT_EQ(a.Received(&errors), QStringList());
}

} // namespace
