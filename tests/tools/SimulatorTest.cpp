// The analyser simulator: status and error handling, sweeps in scaled time, the families'
// identification and trace answers, the spectrum, faults, the command line and the program.
#include "common/TestSupport.h"
#include "tools/sim/SimTraces.h"
#include "tools/sim/Simulator.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <bit>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <cmath>
#include <set>
#include <gtest/gtest.h>

namespace {

QByteArray Send(SimInstrument& inst, const QByteArray& message) { return inst.Execute(message, "test").bytes; }

std::unique_ptr<SimInstrument> Make(const QString& family, uint64_t seed = 1, double scale = 0.001)
{
    return std::make_unique<SimInstrument>(*FindSimFamily(family), seed, scale);
}

float Float(const QByteArray& b, qsizetype at, bool bigEndian)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        const uint32_t byte = static_cast<uint8_t>(b[at + i]);
        bits |= bigEndian ? byte << (24 - 8 * i) : byte << (8 * i);
    }
    return std::bit_cast<float>(bits);
}

// Rows of a reference file below tests/data/visa, split at ";", comments skipped.
QList<QStringList> Reference(const QString& name)
{
    QList<QStringList> rows;
    QFile f(testsupport::DataPath("visa/" + name));
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (!line.isEmpty() && !line.startsWith('#'))
            rows << QString::fromUtf8(line).split(';');
    return rows;
}

} // namespace

TEST(SimStatus, ErrorQueueAndEventStatus)
{
    auto inst = Make("dsa815");
    EXPECT_EQ(Send(*inst, ":SYST:ERR?"), "0,\"No error\"\n");
    EXPECT_EQ(Send(*inst, ":NO:SUCH:THING 1"), "");
    EXPECT_EQ(Send(*inst, ":SENS:FREQ:STAR abc"), "");
    EXPECT_EQ(Send(*inst, ":INIT:IMM?"), ""); // a command that has no query form
    EXPECT_EQ(Send(*inst, "*STB?"), "4\n");    // error queue not empty
    EXPECT_EQ(Send(*inst, "*ESR?"), "32\n");   // command errors
    EXPECT_EQ(Send(*inst, "*ESR?"), "0\n");    // read clears it
    EXPECT_EQ(Send(*inst, ":SYST:ERR?;:SYST:ERR?"), "-113,\"Undefined header\";-104,\"Data type error\"\n");
    EXPECT_EQ(Send(*inst, "SYSTEM:ERROR:NEXT?"), "-113,\"Undefined header\"\n");
    EXPECT_EQ(Send(*inst, ":SYST:ERR?"), "0,\"No error\"\n");
    Send(*inst, ":BAD");
    Send(*inst, "*CLS");
    EXPECT_EQ(Send(*inst, "*ESR?;:SYST:ERR?"), "0;0,\"No error\"\n");
    Send(*inst, "*ESE 32");
    Send(*inst, ":BAD");
    EXPECT_EQ(Send(*inst, "*ESE?;*STB?"), "32;36\n");
}

TEST(SimStatus, RelativeHeadersAfterASemicolon)
{
    auto inst = Make("hms3010");
    Send(*inst, ":SENS:FREQ:STAR 1000;STOP 2000000");
    EXPECT_EQ(Send(*inst, ":SENS:FREQ:STOP?;STAR?"), "2000000;1000\n");
    EXPECT_EQ(Send(*inst, "*ESR?"), "0\n");
    // Centre and span move both ends; an end that would leave the range narrows the span.
    Send(*inst, ":SENS:FREQ:CENT 10 MHz;:SENS:FREQ:SPAN 2 MHz");
    EXPECT_EQ(Send(*inst, ":FREQ:STAR?;:FREQ:STOP?;:FREQ:CENT?;:FREQ:SPAN?"), "9000000;11000000;10000000;2000000\n");
    Send(*inst, ":FREQ:CENT 500 kHz");
    EXPECT_EQ(Send(*inst, ":FREQ:STAR?;:FREQ:STOP?"), "0;1000000\n");
    EXPECT_EQ(Send(*inst, "*ESR?"), "0\n");
}

TEST(SimStatus, NumbersAsEachFamilyWritesThem)
{
    // Rigol and Siglent answer in exponent form, the others in plain digits.
    for (const char* family : {"dsa815", "rsa5065", "ssa3032x", "sva1032x"}) {
        auto inst = Make(family);
        Send(*inst, ":SENS:FREQ:STAR 150000;:SENS:SWE:TIME:AUTO OFF;:SENS:SWE:TIME 0.125");
        EXPECT_EQ(Send(*inst, ":SENS:FREQ:STAR?;:SENS:SWE:TIME?"), "1.500000e+05;1.250000e-01\n") << family;
    }
    for (const char* family : {"hms3010", "fpc1000", "fph"}) {
        auto inst = Make(family);
        Send(*inst, ":SENS:FREQ:STAR 150000;:SENS:SWE:TIME 0.125");
        EXPECT_EQ(Send(*inst, ":SENS:FREQ:STAR?;:SENS:SWE:TIME?"), "150000;0.125\n") << family;
    }
    // R&S list their options with commas on one line.
    EXPECT_EQ(Send(*Make("fpc1000"), "*OPT?"), "K43,B22\n");
}

TEST(SimStatus, StrictHeadersAndOutOfRangeParameters)
{
    auto inst = Make("dsa815");
    // A header between the short and the long form is no header.
    Send(*inst, ":SENS:FREQU:STAR 1000");
    EXPECT_EQ(Send(*inst, ":SYST:ERR?"), "-113,\"Undefined header\"\n");
    EXPECT_EQ(Send(*inst, ":SENS:FREQ:STAR?"), "1.500000e+05\n");
    // Beyond the DSA815's 1.5 GHz, an RBW it does not have, a 40 dB attenuator: -222, the old
    // value stays.
    for (const char* bad : {":SENS:FREQ:STOP 2 GHz", ":SENS:BAND:RES 3000000", ":SENS:POW:RF:ATT 40",
                            ":SENS:SWE:TIME -1", ":SOUR:POW:LEV:IMM:AMPL 5"}) {
        Send(*inst, bad);
        EXPECT_EQ(Send(*inst, ":SYST:ERR?"), "-222,\"Data out of range\"\n") << bad;
    }
    const SimSettings st = inst->Settings();
    EXPECT_EQ(st.stopHz, 30e6);
    EXPECT_EQ(st.rbwHz, 9000);
    EXPECT_EQ(st.attenuationDb, 10);
    EXPECT_EQ(st.sourceLevelDbm, -20);
    // Within the range it is taken.
    Send(*inst, ":SENS:FREQ:STOP 1.5 GHz;:SENS:POW:RF:ATT 30");
    EXPECT_EQ(Send(*inst, ":SYST:ERR?"), "0,\"No error\"\n");
    EXPECT_EQ(inst->Settings().stopHz, 1.5e9);
}

TEST(SimStatus, SweepTimeFollowsSpanRbwAndTheQuasiPeakDwell)
{
    auto inst = Make("ssa3032x", 1, 1.0);
    auto sweep = [&] { return Send(*inst, ":SENS:SWE:TIME?").trimmed().toDouble(); };
    // Automatic: 2.5 span / RBW^2, 10 ms at least.
    Send(*inst, ":SENS:FREQ:STAR 0;:SENS:FREQ:STOP 30 MHz;:SENS:BWID:RES 1000");
    EXPECT_DOUBLE_EQ(sweep(), 75.0);
    Send(*inst, ":SENS:BWID:RES 10000");
    EXPECT_DOUBLE_EQ(sweep(), 0.75);
    Send(*inst, ":SENS:BWID:RES 1000000");
    EXPECT_DOUBLE_EQ(sweep(), 0.01);
    // A set time holds until automatic is on again.
    Send(*inst, ":SENS:SWE:TIME 2 s");
    EXPECT_DOUBLE_EQ(sweep(), 2.0);
    // Quasi-peak dwells on each of the 751 points.
    Send(*inst, ":SENS:DET:TRAC1 QUAS;:SENS:SWE:TIME:AUTO ON;:QPD:DWEL:TIME 4 ms");
    EXPECT_NEAR(sweep(), 0.01 + 751 * 0.004, 1e-9);
    Send(*inst, ":INIT:IMM");
    EXPECT_NEAR(inst->SweepEndMs() - inst->NowMs(), 3014.0, 50.0);
}

TEST(SimStatus, OperationCompleteOnlyAfterTheVirtualSweepTime)
{
    // 100 ms of real time per sweep: a slow machine (the sanitizers) still asks long before its end.
    auto inst = Make("rsa5065", 1, 0.001);
    Send(*inst, ":SENS:SWE:TIME 100");
    const double started = inst->NowMs();
    Send(*inst, ":INIT:IMM");
    Send(*inst, "*CLS;*OPC");
    EXPECT_EQ(Send(*inst, "*ESR?"), "0\n");
    const SimReply opc = inst->Execute("*OPC?", "test");
    EXPECT_GE(opc.readyAtMs, inst->SweepEndMs());
    EXPECT_GE(inst->SweepEndMs() - started, 100000.0);
    QThread::msleep(100);
    EXPECT_EQ(Send(*inst, "*ESR?"), "1\n");
    EXPECT_EQ(Send(*inst, "*ESR?"), "0\n");

    // The receivers' form: "*ESE 1", a sweep, then "*OPC;*ESR?" polled.
    Send(*inst, "*ESE 1");
    Send(*inst, ":INIT:IMM");
    EXPECT_EQ(Send(*inst, "*OPC;*ESR?"), "0\n");
    QThread::msleep(100);
    EXPECT_EQ(Send(*inst, "*OPC;*ESR?"), "1\n");

    // *WAI holds the answer of the query that follows it until the sweep ends, also when the
    // query comes in a message of its own: the analyser executes in order.
    Send(*inst, ":INIT:IMM");
    const SimReply w = inst->Execute(":INIT;*WAI;:CALC:MARK1:Y?", "test");
    EXPECT_GE(w.readyAtMs, inst->SweepEndMs());
    const SimReply later = inst->Execute(":INIT;*WAI", "test");
    const SimReply held = inst->Execute(":CALC:MARK1:Y?", "test");
    EXPECT_GE(held.readyAtMs, inst->SweepEndMs());
    // Once the sweep is over, answers come at once again.
    QThread::msleep(100);
    const SimReply free = inst->Execute(":CALC:MARK1:Y?", "test");
    EXPECT_LE(free.readyAtMs, inst->NowMs());
    EXPECT_TRUE(later.bytes.isEmpty());
}

TEST(SimFamilies, IdentificationMatchesTheIndependentReference)
{
    const auto rows = Reference("sim_identification.txt");
    QStringList listed;
    for (const QStringList& r : rows)
        listed << r.value(0);
    ASSERT_EQ(listed, SimFamilyNames()) << "a row per simulated model, in the simulator's order";
    for (const QStringList& r : rows) {
        ASSERT_EQ(r.size(), 8);
        const auto fam = FindSimFamily(r[0]);
        ASSERT_TRUE(fam) << r[0].toStdString();
        auto inst = Make(r[0]);
        EXPECT_EQ(Send(*inst, "*IDN?"), r[7].toLatin1() + "\n");
        EXPECT_EQ(fam->points, r[6].toInt()) << r[0].toStdString();
        EXPECT_NE(r[1].toInt(), 0) << "every simulated analyser must be recognised: " << r[0].toStdString();
        if (r[1] == "1" && r[2] != "5000") {
            EXPECT_EQ(fam->bigEndian, r[4] == "1") << r[0].toStdString();
        }
        if (r[2] == "5000") {
            EXPECT_TRUE(fam->bigEndian);
        }
        if (r[1] == "1") {
            EXPECT_NE(r[2].toInt(), 0) << "Rigol model not recognised: " << r[0].toStdString();
        }
        if (r[1] == "2") {
            EXPECT_NE(r[3].toInt(), 0) << "Siglent series not recognised: " << r[0].toStdString();
        }
    }
}

TEST(SimTraces, AnswerSizesPerFamily)
{
    // A row for every kind with a swept trace answer; the Hameg and the receivers have none.
    std::set<SimKind> swept, listed;
    for (const SimFamily& f : SimFamilies())
        if (f.kind != SimKind::Hameg && f.kind != SimKind::RsFpc && f.kind != SimKind::RsFph)
            swept.insert(f.kind);
    for (const QStringList& r : Reference("trace_sizes.txt")) {
        const SimKind kind = FindSimFamily(r[0]).value().kind;
        listed.insert(kind);
        auto inst = Make(r[0]);
        const bool siglent = kind == SimKind::SiglentSsa || kind == SimKind::SiglentSva;
        const QByteArray a = Send(*inst, siglent ? ":TRAC1:MODE VIEW;:FORM:BORD NORM;:TRACe:DATA? 1"
                                                : ":FORM:TRACE:DATA REAL,32;:TRAC:DATA? TRACE1");
        EXPECT_EQ(a.size(), r[1].toInt()) << r[0].toStdString();
        EXPECT_TRUE(a.endsWith('\n'));
    }
    EXPECT_EQ(listed, swept);
}

TEST(SimTraces, SiglentFixedWidthFields)
{
    for (const char* family : {"ssa3032x", "sva1032x"}) {
        auto inst = Make(family);
        QByteArray a = Send(*inst, ":TRACe:DATA? 1");
        const bool sva = QByteArray(family).startsWith("sva");
        a.chop(1);
        if (!sva)
            a.chop(1); // the comma after the last SSA value
        const QList<QByteArray> f = a.split(',');
        ASSERT_EQ(f.size(), 751) << family;
        for (const QByteArray& v : f) {
            ASSERT_EQ(v.size(), sva ? 13 : 16) << family << " " << v.constData();
            ASSERT_TRUE(v.contains('e'));
        }
    }
}

TEST(SimTraces, ByteOrderAndLevelOffsets)
{
    // Same seed, same sweep: the old and new DSA815 firmware differ only in byte order.
    auto newer = Make("dsa815", 9);
    auto older = Make("dsa815-old", 9);
    const QByteArray a = Send(*newer, ":TRAC:DATA? TRACE1");
    const QByteArray b = Send(*older, ":TRAC:DATA? TRACE1");
    ASSERT_EQ(a.size(), b.size());
    ASSERT_NE(a, b);
    for (int i = 0; i < 601; ++i)
        ASSERT_EQ(Float(a, 11 + 4 * i, true), Float(b, 11 + 4 * i, false));

    // The RSA answers in dBm, which the program turns back by adding 106.99.
    auto rsa = Make("rsa5065", 9);
    const QByteArray r = Send(*rsa, ":TRAC:DATA? TRACE1");
    ASSERT_TRUE(r.startsWith("#6002404"));
    for (int i = 0; i < 601; i += 50)
        EXPECT_NEAR(Float(r, 8 + 4 * i, true) + 106.99, Float(a, 11 + 4 * i, true), 1e-3);

    // Siglent: dBm, +106.98 in the program.
    auto ssa = Make("ssa3032x", 9);
    Send(*ssa, ":SENS:FREQ:STAR 150000 Hz;:SENS:FREQ:STOP 30000000 Hz");
    const QList<QByteArray> f = Send(*ssa, ":TRACe:DATA? 1").split(',');
    const auto levels = ssa->TraceDbuv();
    for (int i = 0; i < 751; i += 75)
        EXPECT_NEAR(f[i].toDouble() + 106.98, levels[static_cast<size_t>(i)], 1e-6);
}

TEST(SimTraces, ReceiverScanListAndFixedLevel)
{
    auto fpc = Make("fpc1000");
    Send(*fpc, ":INST:SEL REC;:SENS:FREQ:MODE SCAN;:FORM:DATA ASC");
    Send(*fpc, ":SENS:SCAN:STAR 150000Hz;:SENS:SCAN:STOP 30000000Hz;:SENS:SCAN:STEP 49751Hz");
    QByteArray a = Send(*fpc, ":TRAC:DATA?");
    ASSERT_TRUE(a.endsWith('\n'));
    a.chop(1);
    // (30000000 - 150000) / 49751 = 599.99...: 599 steps, 600 points.
    EXPECT_EQ(a.split(',').size(), 600);
    Send(*fpc, ":SENS:FREQ:MODE FIX;:SENS:FREQ:CENT 1000000 Hz");
    QByteArray one = Send(*fpc, ":TRACE:DATA?");
    one.chop(1);
    EXPECT_FALSE(one.contains(','));
    bool ok = false;
    one.toDouble(&ok);
    EXPECT_TRUE(ok) << one.constData();
}

TEST(SimEmissions, RepeatableFromTheSeed)
{
    const SimEmissions a(42), b(42), c(43);
    ASSERT_EQ(a.Lines().size(), b.Lines().size());
    for (size_t i = 0; i < a.Lines().size(); ++i) {
        EXPECT_EQ(a.Lines()[i].frequencyHz, b.Lines()[i].frequencyHz);
        EXPECT_EQ(a.Lines()[i].levelDbuv, b.Lines()[i].levelDbuv);
        EXPECT_GE(a.Lines()[i].frequencyHz, 150e3);
        EXPECT_LE(a.Lines()[i].frequencyHz, 1e9);
        EXPECT_GE(a.Lines()[i].levelDbuv, 30.0);
        EXPECT_LE(a.Lines()[i].levelDbuv, 70.0);
        EXPECT_EQ(std::fmod(a.Lines()[i].frequencyHz, 1000.0), 0.0);
    }
    bool differs = false;
    for (size_t i = 0; i < a.Lines().size(); ++i)
        differs = differs || a.Lines()[i].frequencyHz != c.Lines()[i].frequencyHz;
    EXPECT_TRUE(differs);

    // Two analysers with one seed and one command history answer byte for byte alike.
    auto x = Make("dsa832", 5), y = Make("dsa832", 5);
    for (const char* m : {":INIT:IMM", ":SENS:BAND:RES 120000", ":INIT:IMM"}) {
        Send(*x, m);
        Send(*y, m);
    }
    EXPECT_EQ(Send(*x, ":TRAC:DATA? TRACE1"), Send(*y, ":TRAC:DATA? TRACE1"));
}

TEST(SimEmissions, LinesStandAboveTheFloorWhereTheyAre)
{
    const SimEmissions s(3);
    SimEmissions::Settings st;
    const double floor = SimEmissions::FloorDbuv(st);
    EXPECT_NEAR(floor, -5.0, 1e-9);
    for (const auto& l : s.Lines()) {
        // In the bin that holds it, the line shows at its level (the floor adds a little).
        EXPECT_NEAR(s.PeakDbuv(l.frequencyHz - 100, l.frequencyHz + 100, st, 0), l.levelDbuv, 0.05);
        // Ten RBWs away only the floor is left, unless another line is near.
        bool neighbour = false;
        for (const auto& o : s.Lines())
            neighbour = neighbour || (o.frequencyHz != l.frequencyHz && std::fabs(o.frequencyHz - l.frequencyHz) < 200e3);
        if (!neighbour) {
            EXPECT_LT(s.PeakDbuv(l.frequencyHz + 90e3, l.frequencyHz + 91e3, st, 0), floor + 2.5);
        }
    }
    // A wider RBW raises the floor by 10 log(ratio).
    SimEmissions::Settings wide = st;
    wide.rbwHz = 120000;
    EXPECT_NEAR(SimEmissions::FloorDbuv(wide) - floor, 10.0 * std::log10(120000.0 / 9000.0), 1e-9);
}

TEST(SimMarkers, PeakSearchAndLevelsInTheFamilysUnit)
{
    auto ssa = Make("ssa3032x", 11);
    const auto line = ssa->Spectrum().Lines()[0];
    Send(*ssa, ":SENS:FREQ:CENT " + QByteArray::number(line.frequencyHz, 'f', 0) + " Hz;:SENS:FREQ:SPAN 100000 Hz");
    Send(*ssa, ":CALC:MARK1:STAT ON;:CALC:MARK1:MAX");
    const double x = Send(*ssa, ":CALC:MARK1:X?").trimmed().toDouble();
    EXPECT_NEAR(x, line.frequencyHz, 100000.0 / 750 / 2 + 1); // the nearest of the points, which end at the stop
    const double y = Send(*ssa, ":CALC:MARK1:Y?").trimmed().toDouble();
    EXPECT_NEAR(y + 106.98, line.levelDbuv, 0.1);

    auto hameg = Make("hms3010", 11);
    Send(*hameg, ":FREQ:CENT " + QByteArray::number(line.frequencyHz, 'f', 0) + ";:FREQ:SPAN 100000");
    Send(*hameg, ":MARK1:STAT ON;:MARK1:MAX:PEAK");
    EXPECT_NEAR(Send(*hameg, ":MARK1:LEV?").trimmed().toDouble(), line.levelDbuv, 0.1);

    // The Siglent names its quasi-peak detector as the program looks for it.
    Send(*ssa, ":SENS:DET:TRAC1 QUAS");
    EXPECT_EQ(Send(*ssa, ":SENSe:DETector:TRACe1:FUNCtion?"), "QUASi\n");
    Send(*ssa, ":SENS:DET:TRAC1 POS");
    EXPECT_EQ(Send(*ssa, ":SENSe:DETector:TRACe1:FUNCtion?"), "POSitive\n");
    // The Rigol's EMI filter state reads back as 0 or 1.
    auto dsa = Make("dsa815");
    EXPECT_EQ(Send(*dsa, ":SENS:BAND:EMIF:STAT?"), "0\n");
    Send(*dsa, ":SENS:BAND:EMIF:STAT ON");
    EXPECT_EQ(Send(*dsa, ":SENS:BAND:EMIF:STAT?"), "1\n");
}

TEST(SimFaults, ParseAndEffects)
{
    SimFaults f;
    QString error;
    ASSERT_TRUE(f.Parse("no-answer, nan,drop=3,freeze=2,sweep-time=3599", &error));
    EXPECT_EQ(f.sweepTimeAnswerS, 3599);
    EXPECT_TRUE(f.noAnswer);
    EXPECT_TRUE(f.nanValue);
    EXPECT_EQ(f.dropAfter, 3);
    EXPECT_EQ(f.freezeAfter, 2);
    EXPECT_FALSE(SimFaults().Parse("sometimes", &error));
    EXPECT_TRUE(error.contains("sometimes"));
    EXPECT_FALSE(SimFaults().Parse("drop=-1", &error));
    EXPECT_FALSE(SimFaults().Parse("freeze=x", &error));
    EXPECT_FALSE(SimFaults().Parse("sweep-time=-1", &error));

    auto inst = Make("dsa815");
    SimFaults g;
    g.noAnswer = true;
    inst->SetFaults(g);
    EXPECT_EQ(Send(*inst, "*IDN?"), "");
    g = {};
    g.longAnswer = true;
    inst->SetFaults(g);
    const QByteArray idn = Send(*inst, "*IDN?");
    EXPECT_GT(idn.size(), 2048);
    EXPECT_TRUE(idn.startsWith("Rigol Technologies,DSA815"));
    g = {};
    g.threeDigitEsr = true;
    inst->SetFaults(g);
    EXPECT_EQ(Send(*inst, "*OPC;*ESR?"), "129\n");
    g = {};
    g.blockShort = true;
    inst->SetFaults(g);
    EXPECT_EQ(Send(*inst, ":TRAC:DATA? TRACE1").size(), 600 * 4 + 12);
    g = {};
    g.dropAfter = 2;
    inst->SetFaults(g);
    EXPECT_FALSE(inst->Execute("*CLS", "t").dropLink);
    EXPECT_FALSE(inst->Execute("*CLS", "t").dropLink);
    EXPECT_TRUE(inst->Execute("*IDN?", "t").dropLink);
    EXPECT_FALSE(inst->Execute("*IDN?", "t").dropLink);
    g = {};
    g.sweepNeverCompletes = true;
    inst->SetFaults(g);
    Send(*inst, ":INIT:IMM;*OPC");
    QThread::msleep(20);
    EXPECT_EQ(Send(*inst, "*ESR?"), "0\n");
    inst->SetFaults({});
    EXPECT_EQ(Send(*inst, "*ESR?"), "1\n"); // the sweep ends once the fault is gone
}

TEST(SimCommandLine, Options)
{
    SimulatorOptions o;
    QString log, msg;
    ASSERT_TRUE(ParseSimulatorArguments({"--tcp", "5025"}, &o, &log, &msg)) << msg.toStdString();
    EXPECT_EQ(o.tcpPort, 5025);
    EXPECT_FALSE(o.vxi11);

    SimulatorOptions p;
    ASSERT_TRUE(ParseSimulatorArguments({"--vxi11", "--family", "FPH", "--seed", "0x10", "--time-scale", "0.01",
                                         "--fault", "nan,esr-3digit", "--log", "/tmp/x.log", "--pty"},
                                        &p, &log, &msg))
        << msg.toStdString();
    EXPECT_TRUE(p.vxi11);
    EXPECT_TRUE(p.pty);
    EXPECT_EQ(p.family, "FPH");
    EXPECT_EQ(p.seed, 16u);
    EXPECT_DOUBLE_EQ(p.timeScale, 0.01);
    EXPECT_TRUE(p.faults.nanValue && p.faults.threeDigitEsr);
    EXPECT_EQ(log, "/tmp/x.log");

    for (const QStringList& bad : QList<QStringList>{{},
                                                     {"--tcp"},
                                                     {"--tcp", "70000"},
                                                     {"--tcp", "1", "--family", "dsa9999"},
                                                     {"--tcp", "1", "--time-scale", "0"},
                                                     {"--tcp", "1", "--fault", "bogus"},
                                                     {"--tcp", "1", "--frobnicate"}}) {
        SimulatorOptions q;
        EXPECT_FALSE(ParseSimulatorArguments(bad, &q, &log, &msg)) << bad.join(' ').toStdString();
        EXPECT_FALSE(msg.isEmpty());
    }
}

TEST(SimTransport, ScaledTimeOverTcp)
{
    for (double scale : {0.001, 1.0}) {
        SimulatorOptions o;
        o.tcpPort = 0;
        o.family = "fpc1500";
        o.timeScale = scale;
        Simulator sim(o);
        QString error;
        ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
        QTcpSocket s;
        s.connectToHost(QHostAddress::LocalHost, sim.TcpPort());
        ASSERT_TRUE(s.waitForConnected(2000));
        s.write(scale < 0.5 ? ":SENS:SWE:TIME 10\n" : ":SENS:SWE:TIME 0.3\n");
        s.write(":INIT:IMM\n*OPC?\n");
        QElapsedTimer t;
        t.start();
        QByteArray got;
        while (!got.endsWith('\n') && t.elapsed() < 5000 && s.waitForReadyRead(5000))
            got += s.readAll();
        EXPECT_EQ(got, "1\n");
        if (scale < 0.5)
            EXPECT_LT(t.elapsed(), 500); // 10 virtual seconds in 10 ms
        else
            EXPECT_GE(t.elapsed(), 250);
    }
}

// Frozen after one message, the analyser keeps its link open and answers nothing, not even what
// it owed; thawed, it goes on where it stopped, as a stopped process does when it continues.
TEST(SimTransport, AFrozenAnalyserHoldsEverythingUntilItThaws)
{
    SimulatorOptions o;
    o.tcpPort = 0;
    o.faults.freezeAfter = 1;
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, sim.TcpPort());
    ASSERT_TRUE(s.waitForConnected(2000));
    s.write("*IDN?\n:SENS:FREQ:STAR?\n");
    EXPECT_FALSE(s.waitForReadyRead(300));
    EXPECT_EQ(s.state(), QAbstractSocket::ConnectedState);
    sim.Instrument().SetFaults({});
    QByteArray got;
    while (got.count('\n') < 2 && s.waitForReadyRead(3000))
        got += s.readAll();
    EXPECT_EQ(got, sim.Instrument().Family().idn.toLatin1() + "\n1.500000e+05\n");
}

TEST(SimTransport, APtyReaderThatStopsReadingHoldsUpNothing)
{
    SimulatorOptions o;
    o.pty = true;
    o.tcpPort = 0;
    o.family = "ssa3032x";
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
    // A serial client asks for more traces than the line holds and never reads them.
    const QByteArray tty = sim.PtyPath().toLocal8Bit();
    const int fd = ::open(tty.constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(::write(fd, ":TRACe:DATA? 1\n", 15), 15);
    // The simulator still serves its other clients.
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, sim.TcpPort());
    ASSERT_TRUE(s.waitForConnected(2000));
    s.write("*IDN?\n");
    QByteArray got;
    while (!got.endsWith('\n') && s.waitForReadyRead(3000))
        got += s.readAll();
    EXPECT_EQ(got, sim.Instrument().Family().idn.toLatin1() + "\n");
    ::close(fd);
}

TEST(SimProgram, ServesTheDemoPortAndPrintsItsLines)
{
    const QString exe = QStringLiteral(ZENDRIK_BINARY_DIR "/tools/sim/zendrik-sim");
    ASSERT_TRUE(QFile::exists(exe)) << "build the zendrik-sim target first";

    QProcess lines;
    lines.start(exe, {"--lines", "--seed", "5"});
    ASSERT_TRUE(lines.waitForFinished(10000));
    const QList<QByteArray> printed = lines.readAllStandardOutput().trimmed().split('\n');
    const SimEmissions spectrum(5);
    ASSERT_EQ(printed.size(), static_cast<qsizetype>(spectrum.Lines().size()));
    for (size_t i = 0; i < spectrum.Lines().size(); ++i)
        EXPECT_TRUE(printed[static_cast<qsizetype>(i)].startsWith(
            QByteArray::number(spectrum.Lines()[i].frequencyHz, 'f', 0) + " Hz"));

    // Unregistered, its VXI-11 server is offered by port, not as a resource that asks rpcbind.
    QProcess p;
    p.start(exe, {"--tcp", "0", "--family", "hms3010", "--vxi11", "--no-register"});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray out;
    QRegularExpression port("::(\\d+)::SOCKET\\n.*VXI-11: .* port \\d+, not registered");
    QRegularExpressionMatch m;
    QElapsedTimer t;
    t.start();
    while (!(m = port.match(QString::fromLatin1(out))).hasMatch() && t.elapsed() < 10000) {
        p.waitForReadyRead(500);
        out += p.readAllStandardOutput();
    }
    ASSERT_TRUE(m.hasMatch() && !out.contains("::INSTR")) << out.constData();
    QTcpSocket s;
    s.connectToHost(QHostAddress::LocalHost, m.captured(1).toUShort());
    ASSERT_TRUE(s.waitForConnected(2000));
    s.write("*IDN?\n");
    QByteArray got;
    while (!got.endsWith('\n') && s.waitForReadyRead(3000))
        got += s.readAll();
    EXPECT_EQ(got, "Hameg Instruments,HMS3010,012345678,1.501\n");
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0);

    QProcess bad;
    bad.start(exe, {"--family", "nope", "--tcp", "0"});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(bad.readAllStandardError().contains("unknown family"));
}

// Registering waits for another simulator's lock: the wait is told at once with the lock's path,
// ends with an error naming it after the bounded time, and --no-register serves regardless.
TEST(SimProgram, SaysWhichRegistrationLockItWaitsForAndGivesUp)
{
    // A program number of our own, so that no other run shares the lock.
    const uint32_t program = 0x20000000u + static_cast<uint32_t>(::getpid() & 0xffff);
    const QString lockPath = QStringLiteral("/tmp/zendrik-sim-vxi11-%1-1.lock").arg(program, 0, 16);
    const int held = ::open(lockPath.toLocal8Bit().constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);

    SimulatorOptions o;
    o.vxi11 = true;
    o.vxi11Program = program;
    o.vxi11LockWaitMs = 300;
    QStringList notices;
    o.notice = [&notices](const QString& text) { notices << text; };
    QString error;
    EXPECT_FALSE(Simulator(o).Start(&error));
    EXPECT_TRUE(error.contains(lockPath) && error.contains("--no-register")) << error.toStdString();
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices[0].startsWith("waiting for the registration lock " + lockPath)) << notices[0].toStdString();

    o.vxi11Register = false;
    Simulator unregistered(o);
    EXPECT_TRUE(unregistered.Start(&error)) << error.toStdString();
    EXPECT_NE(unregistered.Vxi11Port(), 0);

    // The program says so on its error output before it waits, and a stop ends the wait.
    const QString exe = QStringLiteral(ZENDRIK_BINARY_DIR "/tools/sim/zendrik-sim");
    ASSERT_TRUE(QFile::exists(exe)) << "build the zendrik-sim target first";
    QProcess p;
    p.start(exe, {"--vxi11", "--vxi11-program", QString::number(program)});
    QByteArray said;
    QElapsedTimer t;
    t.start();
    while (!said.contains(lockPath.toLocal8Bit()) && t.elapsed() < 10000) {
        p.waitForReadyRead(200);
        said += p.readAllStandardError();
    }
    EXPECT_TRUE(said.startsWith("zendrik-sim: waiting for the registration lock")) << said.constData();
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(5000));
    ::close(held);
    QFile::remove(lockPath);
}
