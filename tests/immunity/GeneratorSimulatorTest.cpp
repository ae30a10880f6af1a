// The generator against the analyser simulator: the commands each family receives for a fixed
// row, its second click and manual stepping, read from the simulator's command log, and the
// state the simulated generator is left in.
#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "common/TestSupport.h"
#include "immunity/GeneratorController.h"
#include "immunity/GeneratorSettings.h"
#include "instrument/DeviceState.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"
#include "tools/sim/Simulator.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

using L = QStringList;

struct SimGenerator {
    VisaState visa;
    DeviceState device;
    AdvancedSettings options;
    DebugLog debug;
    MessageLog messages;
    VirtualEventPump pump;
    InstrumentStatus status;
    ScpiContext c{visa, device, options, debug, messages, pump, status};
    std::unique_ptr<Simulator> sim;
    GeneratorViewModel view = DefaultGeneratorView();
    GeneratorState state;
    GeneratorSettings settings;
    QStringList errors;
    std::unique_ptr<GeneratorController> controller;

    explicit SimGenerator(const QString& family)
    {
        SimulatorOptions o;
        o.family = family;
        o.tcpPort = 0;
        o.timeScale = 0.0001;
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
        LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>());
        const QString resource = "TCPIP0::127.0.0.1::" + QString::number(sim->TcpPort()) + "::SOCKET";
        EXPECT_TRUE(ConnectInstrument(c, resource, true).Identified);
        GeneratorHooks hooks;
        hooks.ShowError = [this](const QString& t) { errors << t; };
        controller = std::make_unique<GeneratorController>(c, view, state, settings, std::move(hooks));
        Logged();
    }
    ~SimGenerator()
    {
        CloseVisaSessions(visa);
        sim->Stop();
    }

    // What the simulator received since the last call. A query goes first so that every write
    // has arrived; its answer is the simulator's first error (lastError) and it is left out.
    L Logged()
    {
        VisaWriteString(visa, debug, ":SYST:ERR?");
        lastError = VisaReadReply(visa, QString());
        L out;
        for (const SimLogEntry& e : sim->Instrument().CommandLog())
            out << QString::fromLatin1(e.message);
        if (!out.isEmpty() && out.last() == ":SYST:ERR?")
            out.removeLast();
        sim->Instrument().ClearCommandLog();
        return out;
    }
    QString lastError;
};

const QString kNoError = QStringLiteral("0,\"No error\"");

} // namespace

TEST(GeneratorSimulator, FixedRowOnRigolDsa)
{
    SimGenerator s("dsa815");
    s.controller->Click(GeneratorAction::FixedFrequency2);
    EXPECT_EQ(s.Logged(), (L{":SYST:PRES:TYPE FACT", ":SYST:PRES", "*CLS", ":UNIT:POW DBM",
                             ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF", ":SENS:SWE:TIME:AUTO OFF",
                             ":SENS:FREQ:SPAN 0", ":SOUR:POW:LEV:IMM:AMPL -20", ":OUTP 1", ":SENS:FREQ:CENT 300000", ":SENS:FREQ:CENT?"}));
    EXPECT_EQ(s.lastError, kNoError);
    SimSettings st = s.sim->Instrument().Settings();
    EXPECT_TRUE(st.sourceOn);
    EXPECT_EQ(st.sourceLevelDbm, -20);

    s.controller->Click(GeneratorAction::FixedFrequency2);
    EXPECT_EQ(s.Logged(), (L{":SOUR:POW:LEV:IMM:AMPL -20", ":OUTP 1", ":OUTP 0", "*OPC?"}));
    EXPECT_FALSE(s.sim->Instrument().Settings().sourceOn);
}

TEST(GeneratorSimulator, FixedRowOnRigolRsaAndSiglent)
{
    {
        SimGenerator s("rsa5065");
        s.view.Fixed[0].Amplitude.Text = "-35";
        s.controller->Click(GeneratorAction::FixedFrequency1);
        const L log = s.Logged();
        EXPECT_EQ(log.first(), ":SYST:PRES:TYPE FACT");
        EXPECT_EQ(log.mid(log.size() - 5),
                  (L{":SENS:FREQ:SPAN 0", ":SOUR:POW:LEV:IMM:AMPL -35", ":OUTP 1", ":SENS:FREQ:CENT 100000", ":SENS:FREQ:CENT?"}));
        EXPECT_EQ(s.lastError, kNoError);
        s.controller->Click(GeneratorAction::FixedFrequency1);
        EXPECT_EQ(s.Logged(), (L{":SOUR:POW:LEV:IMM:AMPL -20", ":OUTP 1", ":SOUR:POW:LEV:IMM:AMPL -40", ":OUTP 1",
                                 ":OUTP 0", "*OPC?"}));
        EXPECT_FALSE(s.sim->Instrument().Settings().sourceOn);
        EXPECT_EQ(s.sim->Instrument().Settings().sourceLevelDbm, -40);
    }
    SimGenerator s("ssa3032x");
    s.controller->Click(GeneratorAction::FixedFrequency12);
    EXPECT_EQ(s.Logged(), (L{":SYST:PRESet", "*CLS", ":UNIT:POW DBM", ":SENS:CAL:STAT OFF", ":SENSe:MODE SWEep",
                             ":SENS:FREQ:SPAN 0 Hz", ":SOUR:POW:LEV:IMM:AMPL -20", ":OUTP 1",
                             ":SENS:FREQ:CENT 900000000 Hz", ":SENS:FREQ:CENT?"}));
    EXPECT_EQ(s.lastError, kNoError);
    s.controller->Click(GeneratorAction::FixedFrequency12);
    EXPECT_EQ(s.Logged(), (L{":SOUR:POW:LEV:IMM:AMPL -20", ":OUTP 1", ":OUTP 0", "*OPC?"}));
    EXPECT_FALSE(s.sim->Instrument().Settings().sourceOn);
}

TEST(GeneratorSimulator, FamiliesWithoutGeneratorGetNothing)
{
    for (const char* family : {"hms3010", "fpc1000", "fph"}) {
        SimGenerator s(family);
        s.controller->Click(GeneratorAction::FixedFrequency1);
        s.controller->Click(GeneratorAction::PowerRamp);
        s.controller->Click(GeneratorAction::ManualStepping);
        EXPECT_EQ(s.errors, L(3, "Generator not supported by this device")) << family;
        EXPECT_EQ(s.Logged(), L{}) << family;
    }
}

TEST(GeneratorSimulator, ManualSteppingSendsZeroSpanFirstAndClampsTheTypedLevel)
{
    SimGenerator s("dsa815");
    s.controller->FrequencyUp();
    s.controller->EnterAmplitude();
    EXPECT_EQ(s.Logged(), L{}); // stepping off: the boxes change, nothing is sent
    EXPECT_EQ(s.view.Manual.Frequency.Text, "250.000");

    s.controller->Click(GeneratorAction::ManualStepping);
    EXPECT_EQ(s.Logged(), (L{":SENS:FREQ:SPAN 0", ":SOUR:POW:LEV:IMM:AMPL -15", ":OUTP 1", ":SENS:FREQ:CENT 250000", ":SENS:FREQ:CENT?"}));
    s.controller->FrequencyDown();
    EXPECT_EQ(s.Logged(), (L{":SOUR:POW:LEV:IMM:AMPL -15", ":OUTP 1", ":SENS:FREQ:CENT 150000", ":SENS:FREQ:CENT?"}));
    s.controller->AmplitudeUp();
    EXPECT_EQ(s.Logged(), (L{":SENS:FREQ:CENT 150000", ":SOUR:POW:LEV:IMM:AMPL -14", ":OUTP 1", ":SENS:FREQ:CENT?"}));
    s.view.Manual.Frequency.Text = "2000000";
    s.controller->EnterFrequency();
    EXPECT_EQ(s.Logged(), (L{":SOUR:POW:LEV:IMM:AMPL -14", ":OUTP 1", ":SENS:FREQ:CENT 2000000", ":SENS:FREQ:CENT?"}));
    EXPECT_EQ(s.view.Manual.Frequency.Text, "2.000.000");
    s.view.Manual.Amplitude.Text = "+30";
    s.controller->EnterAmplitude();
    EXPECT_EQ(s.Logged(), (L{":SENS:FREQ:CENT 2000000", ":SOUR:POW:LEV:IMM:AMPL 0", ":OUTP 1", ":SENS:FREQ:CENT?"}));
    EXPECT_EQ(s.view.Manual.Amplitude.Text, "0");
    EXPECT_TRUE(s.view.Manual.Amplitude.Red);
    EXPECT_EQ(s.view.MarkerLevel, "0");
    EXPECT_EQ(s.lastError, kNoError);
    SimSettings st = s.sim->Instrument().Settings();
    EXPECT_TRUE(st.sourceOn);
    EXPECT_EQ(st.sourceLevelDbm, 0);

    s.controller->Click(GeneratorAction::ManualStepping);
    EXPECT_EQ(s.Logged(), (L{":OUTP 0", "*OPC?"}));
    EXPECT_FALSE(s.sim->Instrument().Settings().sourceOn);
}
