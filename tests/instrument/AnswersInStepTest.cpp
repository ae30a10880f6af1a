// Every fault that used to put answers out of step, or passed a failure off as an answer, over
// both LAN links: a late answer after a time-out, multi-line answers, a block whose length digits
// lie, an instrument that stays silent, and a failed read of the receiver scan.
#include "instrument/ScpiIo.h"
#include "instrument/TraceTransfer.h"
#include "SimScpiFixture.h"

namespace {

class AnswersInStep : public testing::TestWithParam<Link> {
protected:
    static QString Query(SimScpi& s, const QString& q)
    {
        VisaWriteString(s.visa, s.debug, q);
        return VisaReadReply(s.visa, QString());
    }
};

} // namespace

TEST_P(AnswersInStep, ALateAnswerIsDroppedNotTakenByTheNextQuery)
{
    // Real time, and a sweep that ends 60 ms after the read gave up: the level comes late.
    SimScpi s("fpc1000", GetParam(), {}, 1.0, 300);
    s.debug.DebugMode = 1;
    ASSERT_TRUE(s.Connect().Identified);
    ScpiMarkerToFreq(s.c, "1000000");
    ScpiSetSweepTime(s.c, "0.36");
    EXPECT_FALSE(ScpiReadMarkerLevelSweep(s.c).has_value());
    EXPECT_TRUE(s.debug.Lines().filter("Visa: read time-out, device cleared").size() == 1) << s.debug.Lines().join('\n').toStdString();
    // Each reader gets its own answer, not the one before.
    EXPECT_EQ(ScpiReadSweepTime(s.c), QString("0.36"));
    EXPECT_EQ(ScpiReadMarkerFreq(s.c), QString("1000000"));
    EXPECT_EQ(s.Errors(), "0,\"No error\"");
}

TEST_P(AnswersInStep, MultiLineAnswersAreReadWholeAndLaterAnswersStayInStep)
{
    SimScpi s("dsa815", GetParam());
    ASSERT_TRUE(s.Connect().Identified);
    const QString idn = s.sim->Instrument().Family().idn;
    EXPECT_EQ(InstrumentInfoLines(s.c),
              QStringList({idn, "TG TrackingGenerator", "EMI EMIFilter&Quasi-Peak", "0"}));
    EXPECT_EQ(Query(s, "*IDN?"), idn);
    ScpiWrite(s.visa, s.debug, ":NOT:KNOWN");
    EXPECT_EQ(InstrumentStatusLines(s.c), QStringList({"ERR:-113,\"Undefined header\"", "system messages:", "Nomessage "}));
    EXPECT_EQ(SendFreeCommand(s.c, "SYST:OPT?"), "TG|Tracking Generator\nEMI|EMI Filter & Quasi-Peak\n0\n\n");
    // A reader that takes one answer gets the first line on a byte stream and the whole answer
    // over VXI-11; either way the rest is gone before the next query.
    const QString first = Query(s, "SYST:OPT?");
    EXPECT_TRUE(first.startsWith("TG|Tracking Generator")) << first.toStdString();
    EXPECT_EQ(Query(s, "*IDN?"), idn);
    EXPECT_EQ(Query(s, ":SENS:FREQ:STAR?"), "1.500000e+05");
}

TEST_P(AnswersInStep, ABlockWhoseLengthDigitsDisagreeWithItsDataIsAWrongSize)
{
    SimScpi s("dsa815", GetParam());
    ASSERT_TRUE(s.Connect().Identified);
    // The header counts 2408 bytes, 2404 follow: a raw socket waits for the rest and times out,
    // VXI-11 delivers the block with END; neither is a trace.
    s.SetFaults([](SimFaults& f) { f.blockLengthWrong = true; });
    ScpiRequestTrace(s.c);
    const TraceReadResult r = ReadTraceVisaBinary(s.c, 150000, 30000000);
    EXPECT_EQ(r.Status, TraceStatus::WrongSize);
    EXPECT_TRUE(r.Points.empty());
    EXPECT_EQ(s.device.DeviceConnected, 0);
    s.SetFaults([](SimFaults&) {});
    EXPECT_EQ(Query(s, "*IDN?"), s.sim->Instrument().Family().idn);
}

TEST_P(AnswersInStep, ASilentInstrumentIsNoConnectionAndItsReadsFailVisibly)
{
    SimScpi s("dsa815", GetParam());
    s.SetFaults([](SimFaults& f) { f.noAnswer = true; });
    ConnectOutcome out = s.Connect();
    EXPECT_FALSE(out.Opened);
    EXPECT_FALSE(out.Identified);
    EXPECT_EQ(s.device.DeviceConnected, 0);
    EXPECT_EQ(s.device.DeviceFamily, 0);
    EXPECT_EQ(s.visa.VisaSession, 0u);
    EXPECT_EQ(s.status.Text(InstrumentStatus::kConnectionPanel), "none");
    EXPECT_EQ(s.messages.Lines(), QStringList{"Error: no answer to *IDN? from " + s.resource});

    s.SetFaults([](SimFaults&) {});
    ASSERT_TRUE(s.Connect().Identified);
    s.messages.Clear();
    s.sim->Instrument().ClearCommandLog();
    s.SetFaults([](SimFaults& f) { f.noAnswer = true; });
    // The status lines say the reads failed instead of showing a healthy "0".
    EXPECT_EQ(InstrumentStatusLines(s.c), QStringList{"ERR:no answer (status $BFFF0015)"});
    EXPECT_FALSE(ScpiReadSweepTime(s.c).has_value());
    EXPECT_EQ(s.messages.Lines(), QStringList{"Warning: no sweep time from the analyser"});
    // No answer to the EMI filter query: no filter and no bandwidth command follow.
    EXPECT_FALSE(ScpiSetRbw(s.c, "9000"));
    s.SetFaults([](SimFaults&) {});
    EXPECT_EQ(s.Logged(), QStringList({":SYST:ERR?", ":SYSTem:CONFigure:MESSage?", ":SENS:SWE:TIME?",
                                       ":SENS:BAND:EMIF:STAT?"}));
    EXPECT_EQ(s.lastErrors, "0,\"No error\"");
}

TEST_P(AnswersInStep, AFailedScanReadAddsNothingAndKeepsTheConnection)
{
    SimScpi s("fpc1000", GetParam());
    ASSERT_TRUE(s.Connect().Identified);
    s.SetFaults([](SimFaults& f) { f.noAnswer = true; });
    ScpiQueryScanData(s.c);
    const TraceReadResult r = ReadReceiverScan(s.c, 150000, 30000000);
    EXPECT_EQ(r.Status, TraceStatus::ReadFailed);
    EXPECT_TRUE(r.Points.empty());
    EXPECT_EQ(s.device.DeviceConnected, 1);
    EXPECT_EQ(s.messages.Lines(), QStringList{"Error: no scan data from the analyser"});
}

INSTANTIATE_TEST_SUITE_P(Links, AnswersInStep, testing::Values(Link::Socket, Link::Vxi11), LinkName);
