// A run against the simulated analyser of each family: the commands of the first segment in
// order, the raw trace equal to what the analyser measured, the corrected trace equal to raw
// minus the correction sum, and the peak list equal to the simulator's emissions that come
// within the margin of the limit.
#include "RunFixture.h"
#include "LevelRecorder.h"
#include "measurement/CorrectionChain.h"

#include <cmath>

using enum MeasureSet;

namespace {

using L = QStringList;

struct FamilyCase {
    const char* name; // simulator family
    bool zeroSpan;    // "EMI(ZeroSpan)": the point-by-point loops
    // Commands from Play to the end of the first segment's read, repeated status polls merged;
    // for the point loops up to the first point's reading.
    L firstSegment;
};

// The program's texts: repeated completion polls as one.
L Merged(const L& log)
{
    L out;
    for (const QString& m : log)
        if (!((m == "*ESR?" || m == "*OPC;*ESR?") && !out.isEmpty() && out.last() == m))
            out << m;
    return out;
}

const L kRigolPass = {":SYST:PRES:TYPE FACT", ":SYST:PRES", "*CLS", ":UNIT:POW DBUV",
                      ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF", ":SENS:SWE:TIME:AUTO OFF"};
const L kSiglentPreset = {":SYST:PRESet", "*CLS"};
const L kSiglentSetUp = {":UNIT:POW DBUV", ":DISP:WIND:TRAC:X:SPAC LIN", ":SENS:CAL:STAT OFF", ":SENS:SWE:MODE SWE"};
const L kSiglentStart = {":SENS:FREQ:STAR 150000 Hz", ":SENS:FREQ:STOP 10000000 Hz", ":SENSe:FILTer:TYPE EMI",
                         ":SENS:BWID:RES 9000"};
const L kSvaVbw = {":SENS:SWE:MODE SWE", ":SENS:BWID:VID:AUTO OFF", ":SENS:BWID:VID 27000", ":SENS:POW:RF:ATT 10",
                   ":SENS:POW:GAIN OFF", ":SENS:DET:TRAC1 POS"};
const L kSvaSweepTime = {":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO OFF",
                         ":SENS:SWE:TIME 0.12495840266223s"};
const L kSiglentAgain = {":SENSe:FILTer:TYPE EMI", ":SENS:BWID:RES 9000", ":SENS:FREQ:STOP 10000000 Hz"};
// What the analyser measured over, asked before its trace.
const L kRangeQuery = {":SENS:FREQ:STAR?", ":SENS:FREQ:STOP?"};
const L kSiglentTrace = kRangeQuery + L{":TRAC1:MODE VIEW", ":FORM:BORD NORM", ":TRACe:DATA? 1"};
const L kRsPass = {":SYST:PRES", "*CLS", ":INST:SEL REC", ":UNIT:POW DBUV"};
const L kRsInput = {":INP:ATT 10", ":INP:GAIN:STAT OFF", ":SENS:DET:FUNC POS"};
const L kRsRbw = {":SENS:BAND:CISP:AUTO OFF", ":SENS:BAND:RES:CISP 9000"};
const L kRsScanStart = {":SENS:FREQ:MODE SCAN", ":DISP:TRAC:STYL POLY", ":FORM:DATA ASC", ":INIT:CONT 0",
                        ":SENS:SWE:TIME 0.000166666666666667"};
const L kRsScanRange = {":SENS:SCAN:STAR 150000Hz", ":SENS:SCAN:STOP 10000000Hz"};
const L kRsHandshake = {"*ESE 1", ":INIT:IMM", "*ESR?", "*OPC;*ESR?"};

const FamilyCase kCases[] = {
    {"dsa815", false,
     kRigolPass + L{":SENS:FREQ:STAR 150000", ":SENS:FREQ:STOP 10000000", ":SENS:BAND:EMIF:STAT?",
                    ":SENS:BAND:EMIF:STAT ON", ":SENS:BAND:RES 9000", ":SENS:BAND:VID:AUTO OFF", ":SENS:BAND:VID 27000",
                    ":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF", ":SENS:DET:FUNC POS", ":INIT:CONT 0",
                    ":SENS:SWE:TIME 0.1", ":INIT:IMM", ":INIT:PAU"} +
         kRangeQuery + L{":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1"}},
    {"rsa5065", false,
     L{":SYST:PRES:TYPE FACT", ":SYST:PRES", ":INST:SEL SA", ":CONF:SAN", ":SENS:SWE:POIN 601", "*CLS",
       "DISP:WIND:TRAC:Y:RLEV -20", ":UNIT:POW DBUV", ":DISP:WIN:TRAC:X:SCAL:SPAC LIN;", ":CAL:AUTO OFF",
       ":SENS:SWE:TIME:AUTO OFF", ":SENS:FREQ:STAR 150000", ":SENS:FREQ:STOP 10000000", ":SENS:BAND:EMIF:STAT ON",
       ":SENS:BAND:RES 9000", ":SENS:BAND:VID:AUTO OFF", ":SENS:BAND:VID 27000", ":SENS:POW:RF:ATT 10",
       ":SENS:POW:GAIN OFF", ":SENS:DET:FUNC POS", ":INIT:CONT 0", ":SENS:SWE:TIME 0.18", ":INIT:IMM", "*CLS;*OPC",
       "*ESR?", ":INIT:PAU"} +
         kRangeQuery + L{":FORM:BORD NORM", ":FORM:TRACE:DATA REAL,32", ":TRAC:DATA? TRACE1", ":INIT:CONT 1"}},
    {"ssa3032x", false,
     kSiglentPreset + kSiglentSetUp + kSiglentStart +
         L{":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF", ":SENS:DET:TRAC1 POS", ":INIT:CONT 0",
           ":SENSe:DETector:TRACe1:FUNCtion?", ":SENS:SWE:TIME:AUTO OFF", ":SENS:SWE:TIME 0.125s", ":TRAC1:MODE WRIT",
           ":INIT:IMM"} +
         kSiglentAgain + L{":TRAC1:MODE WRIT", ":INIT:IMM", ":SENS:SWE:TIME?"} + kSiglentTrace},
    {"sva1032x", false,
     kSiglentPreset + L{":INST:SEL SA"} + kSiglentSetUp + kSiglentStart + kSvaVbw + L{":INIT:CONT 0"} + kSvaSweepTime +
         L{":TRAC1:MODE WRIT", ":INIT:IMM"} + kSiglentAgain +
         L{":TRAC1:MODE WRIT", ":INIT:IMM", ":SENS:BWID:VID:AUTO OFF", ":SENS:BWID:VID 30000", ":SENS:SWE:TIME?"} +
         kSiglentTrace},
    {"sva1032x-2111", false,
     kSiglentPreset + L{":INST:SEL SA"} + kSiglentSetUp + kSiglentPreset + L{":INST:SEL SA"} + kSiglentSetUp +
         kSiglentStart + kSvaVbw + kSvaSweepTime + kSiglentAgain +
         L{":SENS:BWID:VID:AUTO OFF", ":SENS:BWID:VID 30000", ":INIT:CONT 1", ":SENS:SWE:TIME?", ":INIT:CONT 0"} +
         kSiglentTrace},
    {"fpc1000", false,
     kRsPass + kRsScanStart + kRsInput + kRsRbw + kRsScanRange + L{":SENS:SCAN:STEP 16417Hz"} + kRsHandshake +
         L{":SENS:SCAN:STAR?", ":SENS:SCAN:STOP?", ":TRAC:DATA?"}},
    {"fph", false,
     kRsPass + kRsScanStart + kRsInput + kRsRbw + kRsScanRange + L{":SENS:SCAN:STEP 14072Hz", ":SENS:DET:FUNC POS"} +
         kRsHandshake + L{":SENS:SCAN:STAR?", ":SENS:SCAN:STOP?", ":TRAC:DATA?"}},
    {"fpc1000", true,
     kRsPass + L{":SENS:FREQ:MODE FIX", ":FORM:DATA ASC", ":INIT:CONT 0"} + kRsRbw + kRsInput +
         L{":SENS:SWE:TIME 0.000166666666666667", ":SENS:FREQ:CENT 330000 Hz", ":SENS:FREQ:CENT?"} + kRsHandshake +
         L{":TRACE:DATA?"}},
    {"dsa815", true,
     kRigolPass + L{":SENS:POW:RF:ATT 10", ":SENS:POW:GAIN OFF", ":SENS:BAND:EMIF:STAT?", ":SENS:BAND:EMIF:STAT ON",
                    ":SENS:BAND:RES 9000", ":SENS:DET:FUNC POS", ":SENS:FREQ:CENT 330000", ":INIT:CONT 0",
                    ":SENS:FREQ:SPAN 0", ":SENS:SWE:TIME 0.030", ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON",
                    ":CALC:MARK1:X 0", ":SENS:FREQ:CENT 330000", ":SENS:FREQ:CENT?", ":INIT:IMM", ":CALC:MARK1:Y?"}},
};

class FamilyRun : public ::testing::TestWithParam<FamilyCase> {};

std::string CaseName(const ::testing::TestParamInfo<FamilyCase>& info)
{
    std::string n = std::string(info.param.name) + (info.param.zeroSpan ? "_points" : "");
    for (char& ch : n)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return n;
}

} // namespace

TEST_P(FamilyRun, SegmentsAreMeasuredCorrectedAndTheirPeaksListed)
{
    const FamilyCase& fc = GetParam();
    RunFixture f;
    f.options.OptVbwBox = true; // with VBW "1:3" the Rigol runners set VBW = 3 x RBW
    f.switches.VbwAuto = false;
    f.switches.EmiZeroSpan = fc.zeroSpan;
    f.switches.MaxFilter = true;
    ASSERT_NO_FATAL_FAILURE(f.Connect(fc.name));
    FillLine(f.chart.cable, {{100, -0.5}, {1100000, -2.5}});
    FillLine(f.chart.antenna, {{100, 1}, {1100000, 11}});
    FillLine(f.chart.limit1, {{100, 50}, {1100000, 50}});
    f.parameters.MarginDb[MeasureSet::Set1] = 5;
    const int points = f.device.TracePoints;
    if (fc.zeroSpan) {
        // One reading every 5 kHz, so that the emissions sit on (or next to) a point.
        f.AddSegment(Set1, 330000, 330000 + 5000 * points);
    } else {
        f.AddSegment(Set1, 150000, 10000000);
        f.AddSegment(Set1, 10000000, 30000000);
    }
    size_t firstDone = 0;
    QObject::connect(&f.messages, &MessageLog::LineAppended, [&](const QString& line) {
        if (line.startsWith("Info: measurement done  seg 1 "))
            firstDone = f.sim->Instrument().CommandLog().size();
    });
    LevelRecorder recorder(f.sim->Instrument());

    f.run->Play();

    const L log = f.SimLog(0, firstDone);
    EXPECT_EQ(Merged(fc.zeroSpan ? log.mid(0, log.indexOf(fc.firstSegment.last()) + 1) : log), fc.firstSegment);
    const int segments = f.table1.Count;
    EXPECT_EQ(f.Lines("Info: measurement done  seg ").size(), segments);
    EXPECT_EQ(f.host.notices, fc.zeroSpan ? L() : segments == 2 ? L({"1/2", "2/2", "done 2/2"}) : L());
    EXPECT_TRUE(f.host.errorBoxes.isEmpty()) << f.host.errorBoxes.join("|").toStdString();
    EXPECT_TRUE(f.Lines("Error").isEmpty()) << f.Lines("Error").join("|").toStdString();

    // Raw = what the analyser measured; corrected = raw - correction sum.
    const std::vector<double> truth = recorder.Levels();
    TChartSeries& raw = f.chart.raw1;
    ASSERT_EQ(static_cast<size_t>(raw.Count()), truth.size());
    ASSERT_EQ(f.chart.corrected1.Count(), raw.Count());
    CorrectionChain chain(f.chart.series, f.switches);
    for (int i = 0; i < raw.Count(); ++i) {
        ASSERT_NEAR(raw.GetPointY(i), truth[static_cast<size_t>(i)], 0.011) << i;
        ASSERT_EQ(f.chart.corrected1.GetPointX(i), raw.GetPointX(i)) << i;
        ASSERT_NEAR(f.chart.corrected1.GetPointY(i), raw.GetPointY(i) - chain.Sum(raw.GetPointX(i)), 1e-9) << i;
    }

    // The correction-curve timer ran during the waits.
    EXPECT_GT(f.chart.master.Count(), 100);

    // One peak per emission above limit - margin, within half a point spacing (the wider segment's).
    const double first = f.table1.Segment(1).StartHz / 1000.0;
    const double last = f.table1.Segment(segments).StopHz / 1000.0;
    QStringList expected;
    for (const SimEmissions::Line& line : f.sim->Instrument().Spectrum().Lines()) {
        const double khz = line.frequencyHz / 1000.0;
        if (khz < first || khz >= last)
            continue;
        const double corrected = line.levelDbuv - chain.Sum(khz);
        ASSERT_GT(std::fabs(corrected - 45), 1.0) << "the emission at " << khz << " kHz is too close to call";
        if (corrected > 45)
            expected << QString::number(khz);
    }
    const L freqs = f.peakCommands.Peaks(Set1).Freqs.stringList();
    ASSERT_EQ(freqs.size(), expected.size()) << f.peakCommands.Peaks(Set1).Lines.stringList().join("|").toStdString();
    const double halfKhz = (f.table1.Segment(segments).StopHz - f.table1.Segment(segments).StartHz) / 2000.0 / (points - 1);
    for (int k = 0; k < freqs.size(); ++k)
        EXPECT_NEAR(freqs[k].toDouble(), expected[k].toDouble(), halfKhz + 0.5) << k;
    EXPECT_GE(expected.size(), 3);

    // Idle again: Play on, the rest off, the grid unlocked.
    const RunControls& c = f.work.Controls;
    EXPECT_TRUE(c.PlayEnabled && !c.StopEnabled && !c.PauseEnabled && c.MeasureMenusEnabled && !c.GridLocked && !c.Busy);
}

INSTANTIATE_TEST_SUITE_P(Families, FamilyRun, ::testing::ValuesIn(kCases), CaseName);
