// The command layer against the analyser simulator: each family is connected and identified,
// one segment is set up as the measurement loops do it, and what the simulator logged is compared
// with the commands the family must receive, in order. The simulator's error queue must stay
// empty: it understood every command. Then the trace (or level) is read back, and every fault the
// simulator can inject is seen through the readers.
#include "common/TestSupport.h"
#include "instrument/InstrumentConnection.h"
#include "instrument/ScpiCommands.h"
#include "instrument/ScpiIo.h"
#include "instrument/TraceTransfer.h"
#include "instrument/visa/Vxi11Transport.h"
#include "tools/sim/Simulator.h"
#include "ScpiFixture.h"
#include "SimScpiFixture.h"

#include <QThread>
#include <cmath>

namespace {

using L = QStringList;

const L kRigolSetupDbuv = {"*CLS", ":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF",
                           ":SENS:SWE:TIME:AUTO OFF"};

// The traces the simulator holds now (dBuV) against the decoded points, whose float and
// text formats keep about 5 significant digits.
void ExpectTrace(const std::vector<tracecodec::Point>& points, const std::vector<double>& truth, double startKhz,
                 double stepKhz)
{
    ASSERT_EQ(points.size(), truth.size());
    for (size_t i = 0; i < points.size(); ++i) {
        ASSERT_NEAR(points[i].y, truth[i], 0.011) << "point " << i;
        ASSERT_EQ(points[i].x, std::nearbyint(startKhz + static_cast<double>(i) * stepKhz)) << "point " << i;
    }
}

} // namespace

TEST(ScpiSimulator, RigolDsaSegment)
{
    SimScpi s("dsa815");
    const ConnectOutcome out = s.Connect();
    ASSERT_TRUE(out.Identified);
    EXPECT_EQ(s.device.DeviceFamily, 1);
    EXPECT_EQ(s.device.DeviceModel, 815);
    EXPECT_EQ(s.device.TracePoints, 601);
    EXPECT_EQ(s.device.RigolFloatBigEndian, 1);
    EXPECT_EQ(s.device.SweepWaitMarginMs, 3000);
    EXPECT_EQ(s.device.DeviceConnected, 1);
    EXPECT_EQ(s.status.Text(StatusBarPanel::Model), "DSA815-119");
    EXPECT_EQ(s.Logged(), L{"*IDN?"});

    s.device.PreAmpPerSegment = 1;
    ScpiPreset(s.c);
    ScpiSetupDbuv(s.c);
    ScpiSetStartFreq(s.c, "150000");
    ScpiSetStopFreq(s.c, "30000000");
    EXPECT_TRUE(ScpiSetRbw(s.c, "9000"));
    ScpiSetVbwAuto(s.c, "OFF");
    ScpiSetVbw(s.c, "27000");
    ScpiSetAttenuation(s.c, "10");
    ScpiSetPreamp(s.c, "OFF");
    ScpiSetDetector(s.c, "POS");
    ScpiContinuousOff(s.c);
    ScpiSetSegmentSweepTime(s.c, "0.1");
    ScpiSingleSweep(s.c);
    QThread::msleep(5);
    ScpiPauseSweep(s.c);
    ScpiRequestTrace(s.c);
    const TraceReadResult r = ReadTraceVisaBinary(s.c, 150000, 30000000);
    const L expected = L({":SYST:PRES:TYPE FACT", ":SYST:PRES"}) + kRigolSetupDbuv +
                       L({":SENS:FREQ:STAR 150000", ":SENS:FREQ:STOP 30000000", ":SENS:BAND:EMIF:STAT?",
                                ":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 9000", ":SENS:BAND:VID:AUTO OFF",
                                ":SENS:BAND:VID 27000", ":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF",
                                ":SENS:DET:FUNC POS", ":INIT:CONT 0", ":SENS:SWE:TIME 0.1", ":INIT:IMM", ":INIT:PAU",
                                ":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1"});
    EXPECT_EQ(s.Logged(), expected);
    EXPECT_EQ(s.lastErrors, "0,\"No error\"");
    EXPECT_EQ(r.Status, TraceStatus::Complete);
    ExpectTrace(r.Points, s.sim->Instrument().TraceSnapshot(), 150, 29850.0 / 600);
    const SimSettings st = s.sim->Instrument().Settings();
    EXPECT_EQ(st.rbwHz, 9000);
    EXPECT_EQ(st.vbwHz, 27000);
    EXPECT_EQ(st.attenuationDb, 10);
    EXPECT_FALSE(st.continuous);
    EXPECT_EQ(st.unit, "DBUV");
}

TEST(ScpiSimulator, RigolRsaSegmentWithHandshake)
{
    SimScpi s("rsa5065");
    ASSERT_TRUE(s.Connect().Identified);
    EXPECT_EQ(s.device.DeviceModel, 5000);
    EXPECT_EQ(s.device.TracePoints, 601);
    EXPECT_EQ(s.device.GeneratorLevelMin, -40);
    EXPECT_EQ(s.status.Text(StatusBarPanel::Model), "RSA5065");
    s.Logged();

    ScpiPreset(s.c);
    ScpiSetupDbuv(s.c);
    ScpiSetStartFreq(s.c, "1000000");
    ScpiSetStopFreq(s.c, "1600000");
    ScpiSetRbw(s.c, "1000");
    ScpiSetAttenuation(s.c, "-1");
    ScpiSetPreamp(s.c, "ON");
    ScpiSetDetector(s.c, "RMS");
    ScpiContinuousOff(s.c);
    ScpiSetSegmentSweepTime(s.c, "0.18");
    ScpiSingleSweep(s.c);
    ScpiWrite(s.visa, s.debug, "*CLS;*OPC");
    for (int i = 0; i < 200; ++i) {
        ScpiWrite(s.visa, s.debug, "*ESR?");
        if (VisaReadBlock(s.visa).trimmed().toInt() & 1)
            break;
        QThread::msleep(2);
    }
    ScpiPauseSweep(s.c);
    ScpiRequestTrace(s.c);
    const TraceReadResult r = ReadTraceVisaBinary(s.c, 1000000, 1600000);
    EXPECT_EQ(r.Count(), 601);
    // The RSA answers in dBm; the reader adds 106.99 where the simulator took it off.
    ExpectTrace(r.Points, s.sim->Instrument().TraceSnapshot(), 1000, 1.0);
    ScpiContinuousOn(s.c);
    EXPECT_EQ(s.Logged(),
              L({":SYST:PRES:TYPE FACT", ":SYST:PRES", ":INST:SEL SA", ":CONF:SAN", ":SENS:SWE:POIN 601", "*CLS",
                 "DISP:WIND:TRAC:Y:RLEV -20", ":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF",
                 ":SENS:SWE:TIME:AUTO OFF", ":SENS:FREQ:STAR 1000000", ":SENS:FREQ:STOP 1600000",
                 ":SENS:BAND:EMIF:STAT OFF", ":SENS:BAND:RES 1000", ":SENS:POW:RF:ATT:AUTO ON", ":SENS:POW:GAIN OFF",
                 ":SENS:DET:FUNC RMS", ":INIT:CONT 0", ":SENS:SWE:TIME 0.18", ":INIT:IMM", "*CLS;*OPC", "*ESR?",
                 ":INIT:PAU", ":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1", ":INIT:CONT 1"}));
    EXPECT_EQ(s.lastErrors, "0,\"No error\"");
}

TEST(ScpiSimulator, SiglentSsaSegment)
{
    SimScpi s("ssa3032x");
    ASSERT_TRUE(s.Connect().Identified);
    EXPECT_EQ(s.device.DeviceFamily, 2);
    EXPECT_EQ(s.device.SiglentSeries, 1);
    EXPECT_EQ(s.device.TracePoints, 751);
    EXPECT_EQ(s.device.SweepWaitMarginMs, 8000);
    EXPECT_EQ(s.status.Text(StatusBarPanel::Model), "Siglent SSA-3225");
    s.Logged();

    s.device.PreAmpPerSegment = 1;
    ScpiPreset(s.c);
    ScpiSetupDbuv(s.c);
    ScpiSetStartFreq(s.c, "150000");
    ScpiSetStopFreq(s.c, "30000000");
    ScpiSetRbw(s.c, "9000");
    ScpiSetAttenuation(s.c, "10");
    ScpiSetPreamp(s.c, "OFF");
    ScpiSetDetector(s.c, "POS");
    ScpiContinuousOff(s.c);
    ScpiSetSegmentSweepTime(s.c, "0.125");
    ScpiSingleSweep(s.c);
    ScpiSetRbw(s.c, "9000");
    ScpiSetStopFreq(s.c, "30000000");
    ScpiSingleSweep(s.c);
    const ScpiAnswer sweep = ScpiReadSweepTime(s.c);
    ScpiPauseSweep(s.c);
    ScpiRequestTrace(s.c);
    const TraceReadResult r = ReadTraceVisaAscii(s.c, 150000, 30000000);
    EXPECT_EQ(r.Count(), 751);
    EXPECT_EQ(s.Logged(),
              L({":SYST:PRESet", "*CLS", ":UNIT:POW DBUV", ":DISP:WIND:TRAC:X:SPAC LIN", ":SENS:CAL:STAT OFF",
                 ":SENS:SWE:MODE SWE", ":SENS:FREQ:STAR 150000 Hz", ":SENS:FREQ:STOP 30000000 Hz",
                 ":SENSe:FILTer:TYPE EMI", ":SENS:BWID:RES 9000", ":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF",
                 ":SENS:DET:TRAC1 POS", ":INIT:CONT 0", ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO OFF",
                 ":SENS:SWE:TIME 0.125s", ":TRAC1:MODE WRIT", ":INIT:IMM", ":SENSe:FILTer:TYPE EMI",
                 ":SENS:BWID:RES 9000", ":SENS:FREQ:STOP 30000000 Hz", ":TRAC1:MODE WRIT", ":INIT:IMM",
                 ":SENS:SWE:TIME?", ":TRAC1:MODE VIEW", ":FORM:BORD NORM", ":TRACe:DATA? 1"}));
    EXPECT_EQ(s.lastErrors, "0,\"No error\"");
    EXPECT_EQ(sweep, QString("1.250000e-01"));
    ExpectTrace(r.Points, s.sim->Instrument().TraceSnapshot(), 150, 29850.0 / 750);
}

TEST(ScpiSimulator, SiglentSvaSegmentInQuasiPeak)
{
    SimScpi s("sva1032x-2111");
    ASSERT_TRUE(s.Connect().Identified);
    EXPECT_EQ(s.device.SiglentSeries, 2);
    EXPECT_EQ(s.device.SvaPresetFirst, 1);
    s.Logged();

    ScpiPreset(s.c);
    ScpiSetupDbuv(s.c);
    ScpiSetStartFreq(s.c, "30000000");
    ScpiSetStopFreq(s.c, "300000000");
    ScpiSetRbw(s.c, "120000");
    ScpiWrite(s.visa, s.debug, ":SENS:SWE:MODE SWE");
    ScpiSetVbwAuto(s.c, "OFF");
    ScpiSetVbw(s.c, "360000");
    ScpiSetAttenuation(s.c, "AUTO");
    ScpiSetPreamp(s.c, "ON");
    ScpiSetDetector(s.c, "QPEAK");
    ScpiSetSegmentSweepTime(s.c, "3");
    ScpiSetRbw(s.c, "120000");
    ScpiSetStopFreq(s.c, "300000000");
    ScpiSetVbwAuto(s.c, "OFF");
    ScpiSetVbw(s.c, "1000000");
    ScpiContinuousOn(s.c);
    ScpiReadSweepTime(s.c);
    ScpiContinuousOff(s.c);
    ScpiRequestTrace(s.c);
    const TraceReadResult r = ReadTraceVisaAscii(s.c, 30000000, 300000000);
    EXPECT_EQ(r.Count(), 751);
    EXPECT_EQ(s.Logged(),
              L({":SYST:PRESet", "*CLS", ":INST:SEL SA", ":UNIT:POW DBUV", ":DISP:WIND:TRAC:X:SPAC LIN",
                 ":SENS:CAL:STAT OFF", ":SENS:SWE:MODE SWE", ":SENS:FREQ:STAR 30000000 Hz",
                 ":SENS:FREQ:STOP 300000000 Hz", ":SENSe:FILTer:TYPE EMI", ":SENS:BWID:RES 120000",
                 ":SENS:SWE:MODE SWE", ":SENS:BWID:VID:AUTO OFF", ":SENS:BWID:VID 360000",
                 ":SENS:POW:RF:ATT:AUTO ON", ":SENS:POW:GAIN OFF", ":SENS:DET:TRAC1 QUAS",
                 ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO ON", ":QPD:DWEL:TIME 4 ms",
                 ":SENSe:FILTer:TYPE EMI", ":SENS:BWID:RES 120000", ":SENS:FREQ:STOP 300000000 Hz",
                 ":SENS:BWID:VID:AUTO OFF", ":SENS:BWID:VID 1000000", ":INIT:CONT 1", ":SENS:SWE:TIME?",
                 ":INIT:CONT 0", ":TRAC1:MODE VIEW", ":FORM:BORD NORM", ":TRACe:DATA? 1"}));
    EXPECT_EQ(s.lastErrors, "0,\"No error\"");
    EXPECT_EQ(s.device.Echo.SweepText, "~3");
    ExpectTrace(r.Points, s.sim->Instrument().TraceSnapshot(), 30000, 270000.0 / 750);
}

TEST(ScpiSimulator, HamegSegmentWithMarker)
{
    SimScpi s("hms3010");
    ASSERT_TRUE(s.Connect().Identified);
    EXPECT_EQ(s.device.DeviceFamily, 3);
    EXPECT_EQ(s.device.TracePoints, 501);
    EXPECT_EQ(s.status.Text(StatusBarPanel::Model), "Hameg HMS ");
    s.Logged();

    s.device.PreAmpPerSegment = 1;
    ScpiPreset(s.c);
    ScpiSetupDbuv(s.c);
    ScpiSetStartFreq(s.c, "150000");
    ScpiSetStopFreq(s.c, "30000000");
    ScpiSetRbw(s.c, "9kHz");
    ScpiSetVbwAuto(s.c, "OFF");
    ScpiSetVbw(s.c, "30000");
    ScpiSetAttenuation(s.c, "10");
    ScpiSetPreamp(s.c, "OFF");
    ScpiSetDetector(s.c, "QPEAK");
    ScpiSetSegmentSweepTime(s.c, "0.1");
    ScpiSingleSweep(s.c);
    ScpiMarkerPeak(s.c);
    const ScpiAnswer level = ScpiReadMarkerLevel(s.c);
    const ScpiAnswer freq = ScpiReadMarkerFreq(s.c);
    ScpiRequestTrace(s.c);
    QByteArray block;
    EXPECT_EQ(VisaReadAnswer(s.visa, s.visa.VisaSession, 4096, &block), visa::VI_SUCCESS);
    EXPECT_EQ(s.Logged(),
              L({":SYST:PRES", "*CLS", ":AMPL:UNIT dBuV", ":SWE:TIME:AUTO OFF", ":INST:SEL REC", ":FREQ:STAR 150000",
                 ":FREQ:STOP 30000000", ":BAND:RBW C9k", ":BAND:VBW:AUTO OFF", ":BAND:VBW 30000", ":MEAS:PAMP OFF",
                 ":RMOD:DET QPE", ":SWE:TIME:AUTO OFF", ":SWE:TIME 0.1", ":SWE:MODE SING", ":MARK1:STAT ON",
                 ":MARK1:MAX:PEAK", ":MARK1:LEV?", ":MARK1:FREQ?", "TRAC:DATA:FORM BIN", ":TRAC:DATA?"}));
    EXPECT_EQ(s.lastErrors, "0,\"No error\"");
    const std::vector<double> trace = s.sim->Instrument().TraceSnapshot();
    ASSERT_TRUE(level.has_value());
    EXPECT_NEAR(level->toDouble(), *std::max_element(trace.begin(), trace.end()), 0.006);
    ASSERT_TRUE(freq.has_value());
    EXPECT_GE(freq->toDouble(), 150000);
    EXPECT_EQ(block.size(), 501 * 4 + 7); // "#42004", the floats, the line end
}

TEST(ScpiSimulator, ReceiverScanOfFpcAndFph)
{
    for (const char* family : {"fpc1000", "fph"}) {
        SCOPED_TRACE(family);
        SimScpi s(family);
        ASSERT_TRUE(s.Connect().Identified);
        const bool fph = QString(family) == "fph";
        EXPECT_EQ(s.device.DeviceFamily, fph ? 5 : 4);
        EXPECT_EQ(s.device.TracePoints, fph ? 700 : 600);
        s.Logged();

        s.device.PreAmpPerSegment = 1;
        ScpiPreset(s.c);
        ScpiSetupDbuv(s.c);
        ScpiReceiverScanMode(s.c);
        ScpiSetAsciiFormat(s.c);
        ScpiContinuousOff(s.c);
        ScpiSetSegmentSweepTime(s.c, "0.001");
        ScpiSetAttenuation(s.c, "10");
        ScpiSetPreamp(s.c, "OFF");
        ScpiSetDetector(s.c, "QPEAK");
        ScpiSetRbw(s.c, "9000");
        ScpiSetScanStart(s.c, "150000");
        ScpiSetScanStop(s.c, "30000000");
        const int64_t step = (30000000 - 150000) / s.device.TracePoints + 1;
        ScpiSetScanStep(s.c, QString::number(step));
        if (fph)
            ScpiSetDetector(s.c, "QPEAK");
        s.ReceiverHandshake();
        ScpiQueryScanData(s.c);
        const TraceReadResult r = ReadReceiverScan(s.c, 150000, 30000000);
        L expected = {":SYST:PRES", "*CLS", ":INST:SEL REC", ":UNIT:POW DBUV", ":SENS:FREQ:MODE SCAN",
                      ":DISP:TRAC:STYL POLY", ":FORM:DATA ASC", ":INIT:CONT 0", ":SENS:SWE:TIME 0.001",
                      ":INP:ATT 10", ":INP:GAIN:STAT OFF", ":SENS:DET:FUNC QPE", ":SENS:BAND:CISP:AUTO OFF",
                      ":SENS:BAND:RES:CISP 9000", ":SENS:SCAN:STAR 150000Hz", ":SENS:SCAN:STOP 30000000Hz",
                      ":SENS:SCAN:STEP " + QString::number(step) + "Hz"};
        if (fph)
            expected << ":SENS:DET:FUNC QPE";
        expected << "*ESE 1" << ":INIT:IMM" << "*ESR?" << "*OPC;*ESR?";
        expected << ":TRAC:DATA?";
        EXPECT_EQ(s.Logged(), expected);
        EXPECT_EQ(s.lastErrors, "0,\"No error\"");
        // The scan holds floor(span / step) + 1 values; the last is not converted.
        const int values = static_cast<int>((30000000 - 150000) / step) + 1;
        EXPECT_EQ(r.Count(), values - 1);
        EXPECT_EQ(step, fph ? 42643 : 49751);
        for (int i = 0; i < r.Count(); ++i)
            ASSERT_EQ(r.Points[static_cast<size_t>(i)].x, std::nearbyint(150 + i * step / 1000.0));
    }
}

TEST(ScpiSimulator, ZeroSpanLevelsOfASiglent)
{
    SimScpi s("ssa3032x");
    ASSERT_TRUE(s.Connect().Identified);
    const SimEmissions::Line line = s.sim->Instrument().Spectrum().Lines()[2];
    ScpiSetCenterFreq(s.c, QString::number(std::llround(line.frequencyHz)));
    ScpiSetSpan(s.c, "0");
    ScpiSetSweepTime(s.c, "1.1");
    ScpiMarkerReset(s.c);
    ScpiSingleSweep(s.c);
    const ScpiAnswer level = ScpiReadMarkerLevelSweep(s.c);
    ASSERT_TRUE(level.has_value());
    EXPECT_NEAR(level->toDouble(), line.levelDbuv, 1.0);
    EXPECT_EQ(s.Errors(), "0,\"No error\"");
}

TEST(ScpiSimulator, GeneratorAndDbmSetUp)
{
    for (const char* family : {"dsa815", "sva1032x", "fpc1000", "fph", "hms3010"}) {
        SCOPED_TRACE(family);
        SimScpi s(family);
        ASSERT_TRUE(s.Connect().Identified);
        ScpiSetupDbm(s.c);
        ScpiSourceOn(s.c, "-10");
        ScpiSourceOff(s.c);
        ScpiAutoCalOn(s.c);
        ScpiReceiverFixMode(s.c);
        ScpiMarkerToFreq(s.c, "1000000");
        ScpiMarkerOff(s.c);
        ScpiSetSweepTimeText(s.c, "AUTO");
        EXPECT_EQ(s.Errors(), "0,\"No error\"");
        const SimSettings st = s.sim->Instrument().Settings();
        EXPECT_EQ(st.unit, "DBM");
        EXPECT_TRUE(st.sweepAuto);
        if (s.device.DeviceFamily <= 2) {
            EXPECT_EQ(st.sourceLevelDbm, -10);
        }
    }
}

TEST(ScpiSimulator, ConnectionOverVxi11AndReconnectingReleasesTheLink)
{
    SimScpi s("sva1032x", Link::Vxi11);
    // A VXI-11 instrument has a few links only: connecting again and again must not use them up.
    for (int i = 0; i < 12; ++i) {
        const ConnectOutcome out = s.Connect();
        ASSERT_TRUE(out.Identified) << i;
        EXPECT_EQ(s.device.SiglentSeries, 2);
        EXPECT_EQ(s.device.SvaPresetFirst, 0);
    }
    ScpiSetupDbuv(s.c);
    ScpiRequestTrace(s.c);
    EXPECT_EQ(ReadTraceVisaAscii(s.c, 150000, 30000000).Count(), 751);
    EXPECT_EQ(s.Errors(), "0,\"No error\"");
    DisconnectInstrument(s.c);
    EXPECT_EQ(s.device.DeviceConnected, 0);
    EXPECT_EQ(s.visa.VisaResourceManager, 0u);
}

class ScpiFaults : public testing::TestWithParam<Link> {};

TEST_P(ScpiFaults, SeenThroughTheReaders)
{
    {
        SimScpi s("dsa815", GetParam());
        ASSERT_TRUE(s.Connect().Identified);
        s.SetFaults([](SimFaults& f) { f.blockShort = true; });
        ScpiRequestTrace(s.c);
        EXPECT_EQ(ReadTraceVisaBinary(s.c, 150000, 30000000).Status, TraceStatus::WrongSize);
        EXPECT_EQ(s.messages.Lines(), QStringList{"Error: Visa RD Error Maxsample"});
        EXPECT_EQ(s.device.DeviceConnected, 0);

        s.SetFaults([](SimFaults& f) { f.nanValue = true; });
        ScpiRequestTrace(s.c);
        const TraceReadResult r = ReadTraceVisaBinary(s.c, 150000, 30000000);
        EXPECT_EQ(r.Status, TraceStatus::NotANumber);
        EXPECT_EQ(r.Count(), 0);
        EXPECT_FALSE(ScpiReadMarkerLevel(s.c).has_value());
        s.SetFaults([](SimFaults&) {});
        EXPECT_EQ(s.Errors(), "0,\"No error\"");
    }
    {
        SimScpi s("ssa3032x", GetParam());
        ASSERT_TRUE(s.Connect().Identified);
        for (int fault = 0; fault < 3; ++fault) {
            SimFaults f;
            f.blockShort = fault == 0;
            f.nanValue = fault == 1;
            f.blockLengthWrong = fault == 2;
            s.sim->Instrument().SetFaults(f);
            ScpiRequestTrace(s.c);
            const TraceReadResult r = ReadTraceVisaAscii(s.c, 150000, 30000000);
            EXPECT_NE(r.Status, TraceStatus::Complete) << fault;
            EXPECT_LT(r.Count(), 751) << fault;
            for (const tracecodec::Point& p : r.Points)
                ASSERT_TRUE(std::isfinite(p.y));
        }
    }
    {
        // The marker level of a receiver waits for a sweep that never ends: no value, not 0.
        SimScpi s("fpc1000", GetParam());
        ASSERT_TRUE(s.Connect().Identified);
        s.SetFaults([](SimFaults& f) { f.sweepNeverCompletes = true; });
        ScpiSingleSweep(s.c);
        EXPECT_FALSE(ScpiReadMarkerLevelSweep(s.c).has_value());
        EXPECT_EQ(s.messages.Lines().value(0), "Warning: no marker level from the analyser");
    }
    {
        // An identification longer than one read is no identification.
        SimFaults f;
        f.longAnswer = true;
        SimScpi s("ssa3032x", GetParam(), f);
        EXPECT_FALSE(s.Connect().Opened);
        EXPECT_EQ(s.device.DeviceConnected, 0);
        s.device.DeviceFamily = dfSiglent;
        s.device.SiglentSeries = ssSsa;
        EXPECT_FALSE(ScpiReadMarkerLevel(s.c).has_value());
    }
    {
        SimScpi s("dsa815", GetParam());
        ASSERT_TRUE(s.Connect().Identified);
        // A link that closes is no wrong size: the analyser is simply gone.
        s.SetFaults([](SimFaults& f) { f.dropAfter = 1; });
        ScpiSetCenterFreq(s.c, "1000000");
        ScpiRequestTrace(s.c);
        EXPECT_EQ(ReadTraceVisaBinary(s.c, 150000, 30000000).Status, TraceStatus::LinkLost);
        EXPECT_TRUE(VisaLinkLost(s.visa));
        EXPECT_EQ(s.device.DeviceConnected, 0);
        EXPECT_FALSE(s.messages.Lines().contains("Error: Visa RD Error Maxsample"));
        EXPECT_FALSE(ScpiReadMarkerLevel(s.c).has_value());
    }
}

INSTANTIATE_TEST_SUITE_P(Links, ScpiFaults, testing::Values(Link::Socket, Link::Vxi11), LinkName);

TEST(ScpiSimulator, EveryModelUnderstandsEveryOperationAndAnswersEveryQuery)
{
    for (const QString& model : SimFamilyNames()) {
        SCOPED_TRACE(model.toStdString());
        SimScpi s(model, Link::Vxi11);
        const ConnectOutcome out = s.Connect();
        ASSERT_TRUE(out.Identified);
        ASSERT_NE(s.device.DeviceFamily, 0) << out.Identity.UnsupportedMessage.toStdString();
        const bool rs = s.device.IsRsReceiver();
        s.device.PreAmpPerSegment = 1;

        // Set-up, the whole command table.
        ScpiPreset(s.c);
        ScpiSetupDbm(s.c);
        ScpiSetupDbuv(s.c);
        ScpiAutoCalOn(s.c);
        ScpiContinuousOn(s.c);
        ScpiContinuousOff(s.c);
        ScpiSetStartFreq(s.c, "1000000");
        ScpiSetStopFreq(s.c, "2000000");
        ScpiSetCenterFreq(s.c, "1500000");
        ScpiSetSpan(s.c, "1000000");
        for (const char* r : {"9000", "9kHz", "120000", "120kHz", "200", "1000"})
            ScpiSetRbw(s.c, r);
        for (const char* a : {"10", "-1", "AUTO"})
            ScpiSetAttenuation(s.c, a);
        ScpiSetPreamp(s.c, "ON");
        ScpiSetPreampState(s.c, "OFF");
        ScpiSetVbwAuto(s.c, "ON");
        ScpiSetVbwAuto(s.c, "OFF");
        ScpiSetVbw(s.c, "30000");
        for (const char* d : {"NEG", "NEGPEAK", "NORM", "NORMAL", "POS", "POSPEAK", "RMS", "SAMP", "VAV", "QPEAK"})
            ScpiSetDetector(s.c, d);
        ScpiSetSegmentSweepTime(s.c, "0.2");
        ScpiSetDetector(s.c, "POS");
        ScpiSetSegmentSweepTime(s.c, "0.2");
        ScpiSetSweepTime(s.c, "0.2");
        ScpiSetSweepTimeText(s.c, "0,2");
        ScpiSetSweepTimeText(s.c, "auto");
        ScpiSourceOn(s.c, "-10");
        ScpiSourceOff(s.c);
        ScpiMarkerOff(s.c);
        ScpiMarkerReset(s.c);
        ScpiMarkerToFreq(s.c, "1500000");
        ScpiSingleSweep(s.c);
        ScpiPauseSweep(s.c);
        ScpiMarkerPeak(s.c);
        EXPECT_EQ(s.Errors(), "0,\"No error\"");

        // Every reader gets a number.
        if (rs)
            ScpiReceiverFixMode(s.c);
        ScpiSetCenterFreq(s.c, "1500000");
        for (const ScpiAnswer& a : {ScpiReadMarkerLevel(s.c), ScpiReadMarkerLevelSweep(s.c), ScpiReadMarkerFreq(s.c),
                                    ScpiReadSweepTime(s.c)}) {
            ASSERT_TRUE(a.has_value());
            EXPECT_TRUE(scpiio::AnswerNumber(*a).has_value()) << a->toStdString();
        }
        EXPECT_TRUE(s.messages.Lines().isEmpty());

        // Every trace reader of the family reads a whole trace (a family added must name its own).
        switch (s.device.DeviceFamily) {
        case dfRigol:
            ScpiRequestTrace(s.c);
            EXPECT_EQ(ReadTraceVisaBinary(s.c, 1000000, 2000000).Count(), s.device.TracePoints);
            break;
        case dfSiglent:
            ScpiRequestTrace(s.c);
            EXPECT_EQ(ReadTraceVisaAscii(s.c, 1000000, 2000000).Count(), s.device.TracePoints);
            break;
        case dfRsFpc:
        case dfRsFph:
            ScpiReceiverScanMode(s.c);
            ScpiSetAsciiFormat(s.c);
            ScpiSetScanStart(s.c, "1000000");
            ScpiSetScanStop(s.c, "2000000");
            ScpiSetScanStep(s.c, QString::number(1000000 / s.device.TracePoints + 1));
            ScpiSingleSweep(s.c);
            ScpiQueryScanData(s.c);
            EXPECT_EQ(ReadReceiverScan(s.c, 1000000, 2000000).Count(), s.device.TracePoints - 1);
            break;
        case dfHameg: // no run reads its trace
        case dfNone: break;
        }
        EXPECT_EQ(s.device.DeviceConnected, 1);

        // The service queries of the connection window.
        const QStringList info = InstrumentInfoLines(s.c);
        EXPECT_EQ(info.value(0), out.Answer);
        s.debug.DebugMode = 1;
        const QStringList status = InstrumentStatusLines(s.c);
        EXPECT_EQ(status.value(0), "ERR:0,\"No error\"");
        EXPECT_GE(status.size(), 4);
        EXPECT_TRUE(s.dialogs.isEmpty());
        EXPECT_EQ(s.Errors(), "0,\"No error\"");
    }
}
