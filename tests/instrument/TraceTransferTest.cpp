// Trace decoding against answers built independently (tests/data/scpi/make_traces.py packs
// them with Python's struct and text formatting), sizes that do not match, and bad values.
#include "common/TestSupport.h"
#include "instrument/TraceTransfer.h"
#include "ScpiFixture.h"

#include <QFile>
#include <bit>
#include <cstring>

namespace {

struct Expected {
    std::vector<double> x, y;
};

Expected ReadExpected(const QString& name)
{
    Expected e;
    const QByteArray text = testsupport::ReadAll(testsupport::DataPath("scpi/" + name + ".expected"));
    for (const QByteArray& line : text.split('\n')) {
        if (line.isEmpty())
            continue;
        const QList<QByteArray> f = line.split(',');
        e.x.push_back(f.value(0).toDouble());
        e.y.push_back(f.value(1).toDouble());
    }
    return e;
}

QByteArray Answer(const QString& file) { return testsupport::ReadAll(testsupport::DataPath("scpi/" + file)); }

void ExpectPoints(const std::vector<tracecodec::Point>& points, const Expected& e)
{
    ASSERT_EQ(points.size(), e.x.size());
    for (size_t i = 0; i < e.x.size(); ++i) {
        ASSERT_EQ(points[i].x, e.x[i]) << "point " << i;
        ASSERT_EQ(points[i].y, e.y[i]) << "point " << i;
    }
}

struct Reader : ScriptedScpi {
    std::vector<tracecodec::Point> points; // what the last read decoded
    Reader(int32_t family, int32_t model, int32_t series, int32_t tracePoints) : ScriptedScpi(family, model, series)
    {
        device.TracePoints = tracePoints;
        device.DeviceConnected = 1;
        status.SetText(InstrumentStatus::kConnectionPanel, "TCPIP0::fake::INSTR");
    }
    void Queue(const QByteArray& answer) { peer->answers.push_back(answer); }
    TraceReadResult Take(TraceReadResult r)
    {
        points = r.Points;
        return r;
    }
    // A level no analyser reports: no point, one line naming it, the analyser stays connected.
    void ExpectImpossible(const TraceReadResult& r, const QString& dbm)
    {
        EXPECT_TRUE(r.Status == TraceStatus::OutOfRange && r.Points.empty() && device.DeviceConnected == 1);
        EXPECT_EQ(messages.Lines(), QStringList{"Error: the analyser sent a level of " + dbm + " dBm; the trace is refused"});
    }
    void ExpectWrongSize(const TraceReadResult& r)
    {
        EXPECT_EQ(r.Status, TraceStatus::WrongSize);
        EXPECT_TRUE(r.Points.empty());
        EXPECT_EQ(messages.Lines(), QStringList{"Error: Visa RD Error Maxsample"});
        EXPECT_EQ(device.DeviceConnected, 0);
        EXPECT_EQ(status.Text(InstrumentStatus::kConnectionPanel), "");
    }
};

void SetFloat(QByteArray& block, int header, int index, float v, bool bigEndian)
{
    uint32_t bits = std::bit_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) {
        const int shift = bigEndian ? 24 - 8 * i : 8 * i;
        block[header + 4 * index + i] = static_cast<char>((bits >> shift) & 0xFF);
    }
}

} // namespace

TEST(TraceTransfer, ByteOrderRule)
{
    EXPECT_TRUE(RigolTraceBigEndian({dfRigol, 5000}, 0, false));
    EXPECT_TRUE(RigolTraceBigEndian({dfRigol, 5000}, -1, false));
    EXPECT_FALSE(RigolTraceBigEndian({dfRigol, 815}, 0, true));
    EXPECT_TRUE(RigolTraceBigEndian({dfRigol, 815}, 1, false));
    EXPECT_TRUE(RigolTraceBigEndian({dfRigol, 815}, 7, false));
    EXPECT_TRUE(RigolTraceBigEndian({dfRigol, 815}, -1, true));
    EXPECT_FALSE(RigolTraceBigEndian({dfRigol, 815}, -1, false));
}

TEST(TraceTransfer, DsaLittleAndBigEndianBlocks)
{
    Reader old(dfRigol, 815, 0, 601);
    old.Queue(Answer("dsa_le_601.bin"));
    const TraceReadResult r = old.Take(ReadTraceVisaBinary(old.c, 150000, 30000000));
    EXPECT_EQ(r.Status, TraceStatus::Complete);
    ASSERT_EQ(r.Count(), 601);
    EXPECT_EQ(r.Received, 2416);
    ExpectPoints(old.points, ReadExpected("dsa_le_601"));
    EXPECT_EQ(old.points[1].x, 200.0); // 199.75 rounded
    EXPECT_EQ(old.device.DeviceConnected, 1);

    Reader fresh(dfRigol, 815, 0, 601);
    fresh.device.RigolFloatBigEndian = 1;
    fresh.Queue(Answer("dsa_be_601.bin"));
    EXPECT_EQ(fresh.Take(ReadTraceVisaBinary(fresh.c, 150000, 30000000)).Count(), 601);
    ExpectPoints(fresh.points, ReadExpected("dsa_be_601"));

    // The settings file overrides the firmware both ways.
    Reader forcedBig(dfRigol, 815, 0, 601);
    forcedBig.options.OptInvertIeee = 1;
    forcedBig.Queue(Answer("dsa_be_601.bin"));
    forcedBig.Take(ReadTraceVisaBinary(forcedBig.c, 150000, 30000000));
    ExpectPoints(forcedBig.points, ReadExpected("dsa_be_601"));
    Reader forcedLittle(dfRigol, 815, 0, 601);
    forcedLittle.options.OptInvertIeee = 0;
    forcedLittle.device.RigolFloatBigEndian = 1;
    forcedLittle.Queue(Answer("dsa_le_601.bin"));
    forcedLittle.Take(ReadTraceVisaBinary(forcedLittle.c, 150000, 30000000));
    ExpectPoints(forcedLittle.points, ReadExpected("dsa_le_601"));
}

TEST(TraceTransfer, RsaBlocksAreBigEndianWithTheDbmOffset)
{
    Reader rsa(dfRigol, 5000, 0, 601);
    rsa.options.OptInvertIeee = 0;
    rsa.Queue(Answer("rsa_be_601.bin"));
    EXPECT_EQ(rsa.Take(ReadTraceVisaBinary(rsa.c, 9000, 150000)).Count(), 601);
    ExpectPoints(rsa.points, ReadExpected("rsa_be_601"));
}

TEST(TraceTransfer, LongTracesAndHighFrequencies)
{
    // 5001 points: the fixed 2500-byte buffer cut every trace above 622 points.
    Reader rsa(dfRigol, 5000, 0, 5001);
    rsa.Queue(Answer("rsa_be_5001.bin"));
    EXPECT_EQ(rsa.Take(ReadTraceVisaBinary(rsa.c, 30000000, 1000000000)).Count(), 5001);
    ExpectPoints(rsa.points, ReadExpected("rsa_be_5001"));

    // A stop frequency above 4.29 GHz does not fit 32 bits.
    Reader dsa(dfRigol, 815, 0, 1001);
    dsa.Queue(Answer("dsa_le_1001.bin"));
    EXPECT_EQ(dsa.Take(ReadTraceVisaBinary(dsa.c, 30000000, 6500000000LL)).Count(), 1001);
    ExpectPoints(dsa.points, ReadExpected("dsa_le_1001"));
}

TEST(TraceTransfer, BinaryAnswersOfTheWrongSize)
{
    const QByteArray good = Answer("dsa_le_601.bin");
    for (const QByteArray& bad : {good.left(2415), good + "x", QByteArray(), good.left(12)}) {
        Reader r(dfRigol, 815, 0, 601);
        r.Queue(bad);
        r.ExpectWrongSize(ReadTraceVisaBinary(r.c, 150000, 30000000));
    }
    // The right size without a block header.
    QByteArray noHash = good;
    noHash[0] = '9';
    Reader r(dfRigol, 815, 0, 601);
    r.Queue(noHash);
    r.ExpectWrongSize(ReadTraceVisaBinary(r.c, 150000, 30000000));
    // An RSA answer with the DSA's header size is one too short... for the RSA rule it is too long.
    Reader rsa(dfRigol, 5000, 0, 601);
    rsa.Queue(good);
    rsa.ExpectWrongSize(ReadTraceVisaBinary(rsa.c, 150000, 30000000));
}

TEST(TraceTransfer, ABadBinaryValueMakesTheWholeTraceFaulty)
{
    // No number (infinity neither): one line, no box, the device stays. A level no analyser
    // reports (-200 and +200 dBm are -93 and 307 dBuV) is named. Neither keeps a point.
    for (const float bad : {NAN, INFINITY, -3.4e38f, 100000.5f, 307.5f, -93.5f, 306.5f, -92.5f}) {
        QByteArray block = Answer("dsa_le_601.bin");
        SetFloat(block, 11, 5, bad, false);
        Reader r(dfRigol, 815, 0, 601);
        r.Queue(block);
        const TraceReadResult res = r.Take(ReadTraceVisaBinary(r.c, 150000, 30000000));
        if (bad >= -93.0f && bad <= 307.0f) {
            ASSERT_EQ(res.Count(), 601);
            EXPECT_EQ(r.points[5].y, bad);
        } else if (std::isfinite(bad)) {
            r.ExpectImpossible(res, QString::number(static_cast<double>(bad) - 107, 'g', 6));
        } else {
            EXPECT_EQ(res.Count() + r.dialogs.size(), 0);
            EXPECT_EQ(r.device.DeviceConnected, 1);
            EXPECT_EQ(r.messages.Lines(), QStringList{"Error: IEEE-Conversion-ERROR:1, check DSA firmware version"});
        }
    }
}

TEST(TraceTransfer, SiglentFixedWidthTexts)
{
    Reader ssa(dfSiglent, 0, 1, 751);
    ssa.Queue(Answer("ssa_751.txt"));
    EXPECT_EQ(ssa.Take(ReadTraceVisaAscii(ssa.c, 150000, 30000000)).Count(), 751);
    ExpectPoints(ssa.points, ReadExpected("ssa_751"));

    Reader sva(dfSiglent, 0, 2, 751);
    sva.debug.DebugMode = 1;
    sva.Queue(Answer("sva_751.txt"));
    EXPECT_EQ(sva.Take(ReadTraceVisaAscii(sva.c, 30000000, 300000000)).Count(), 751);
    ExpectPoints(sva.points, ReadExpected("sva_751"));
    EXPECT_TRUE(sva.debug.Lines().contains("T: Read VISA: 30000000-300000000 Bytes:10514"));
    EXPECT_TRUE(sva.debug.Lines().contains("T: Samples  Count: 751"));
}

TEST(TraceTransfer, SiglentWrongSizesAndBadTexts)
{
    const QByteArray ssaText = Answer("ssa_751.txt");
    for (const QByteArray& bad : {ssaText.left(ssaText.size() - 1), ssaText + "\n", QByteArray()}) {
        Reader r(dfSiglent, 0, 1, 751);
        r.Queue(bad);
        r.ExpectWrongSize(ReadTraceVisaAscii(r.c, 150000, 30000000));
    }
    // An SSA answer read as an SVA one has the wrong size.
    Reader sva(dfSiglent, 0, 2, 751);
    sva.Queue(ssaText);
    sva.ExpectWrongSize(ReadTraceVisaAscii(sva.c, 150000, 30000000));

    // A value text that is no number: one line, none of the trace's points.
    QByteArray broken = ssaText;
    broken.replace(17 * 10, 16, "   not a number ");
    Reader r(dfSiglent, 0, 1, 751);
    r.Queue(broken);
    const TraceReadResult res = ReadTraceVisaAscii(r.c, 150000, 30000000);
    EXPECT_EQ(res.Status, TraceStatus::NotANumber);
    EXPECT_EQ(res.Count(), 0);
    EXPECT_EQ(r.messages.Lines(), QStringList{"Error: trace value is no number after point 10"});
    EXPECT_EQ(r.device.DeviceConnected, 1);
    // The analyser's "no value" markers, in the format's width, are named and refused.
    for (const QByteArray& bad : {QByteArray(" 1.00000000e+308"), QByteArray(" -1.0000000e+308")}) {
        Reader h(dfSiglent, 0, 1, 751);
        h.Queue(QByteArray(ssaText).replace(17 * 10, 16, bad));
        h.ExpectImpossible(ReadTraceVisaAscii(h.c, 150000, 30000000), bad.startsWith(" -") ? "-1e+308" : "1e+308");
    }
}

TEST(TraceTransfer, TracesLongerThanTheOldAsciiBuffer)
{
    // 1001 SSA values are 17,018 bytes, past the 12,800 the reader used to take.
    QByteArray text;
    for (int i = 0; i < 1001; ++i)
        text += "-5.000000000e+01,";
    text += "\n";
    Reader r(dfSiglent, 0, 1, 1001);
    r.Queue(text);
    ASSERT_EQ(r.Take(ReadTraceVisaAscii(r.c, 0, 1000000)).Count(), 1001);
    EXPECT_EQ(r.points[1000].y, -50.0 + 106.98);
    EXPECT_EQ(r.points[1000].x, 1000.0);
}

TEST(TraceTransfer, ReceiverScanList)
{
    Reader fpc(dfRsFpc, 0, 0, 600);
    fpc.Queue(Answer("fpc_scan_600.txt"));
    EXPECT_EQ(fpc.Take(ReadReceiverScan(fpc.c, 150000, 30000000)).Count(), 600);
    ExpectPoints(fpc.points, ReadExpected("fpc_scan_600"));

    // Three values and a line end give two points: text after the last comma is no value.
    Reader three(dfRsFph, 0, 0, 700);
    three.Queue("10.5,11.5,12.5\n");
    ASSERT_EQ(three.Take(ReadReceiverScan(three.c, 150000, 850000)).Count(), 2);
    EXPECT_EQ(three.points[1].y, 11.5);
    EXPECT_EQ(three.points[1].x, 151.0); // step (700000/700 + 1) Hz = 1.001 kHz
    EXPECT_EQ(three.device.DeviceConnected, 1);

    Reader nan(dfRsFpc, 0, 0, 600);
    nan.Queue("10.5,nan,12.5\n");
    const TraceReadResult r = ReadReceiverScan(nan.c, 150000, 30000000);
    EXPECT_EQ(r.Status, TraceStatus::NotANumber);
    EXPECT_EQ(r.Count(), 0);
    EXPECT_EQ(nan.messages.Lines(), QStringList{"Error: trace value is no number after point 1"});
    Reader huge(dfRsFpc, 0, 0, 600);
    huge.Queue("10.5,1e308,12.5\n");
    huge.ExpectImpossible(ReadReceiverScan(huge.c, 150000, 30000000), "1e+308");
}

TEST(TraceTransfer, PointCountsNoAnalyserHasReadNothing)
{
    // The count of the FPC, FPH and RSA comes from the settings file; it used to size the read.
    for (const int32_t points : {0, -5, 2'000'000'000}) {
        const QString line = "Error: trace points out of range: " + QString::number(points);
        Reader binary(dfRigol, 5000, 0, points);
        binary.Queue(Answer("dsa_le_601.bin"));
        EXPECT_EQ(ReadTraceVisaBinary(binary.c, 150000, 30000000).Status, TraceStatus::WrongSize);
        EXPECT_EQ(binary.messages.Lines(), QStringList({line, "Error: Visa RD Error Maxsample"}));
        Reader ascii(dfSiglent, 0, 2, points);
        ascii.Queue("1.0,2.0\n");
        EXPECT_EQ(ReadTraceVisaAscii(ascii.c, 150000, 30000000).Status, TraceStatus::WrongSize);
        Reader scan(dfRsFpc, 0, 0, points);
        scan.Queue("1.0,2.0\n");
        EXPECT_EQ(ReadReceiverScan(scan.c, 150000, 30000000).Status, TraceStatus::ReadFailed);
        EXPECT_EQ(scan.messages.Lines(), QStringList{line});
        EXPECT_EQ(scan.device.DeviceConnected, 1);
        EXPECT_EQ(binary.peer->reads + ascii.peer->reads + scan.peer->reads, 0);
    }
}

TEST(TraceTransfer, Grids)
{
    const tracecodec::Grid g = tracecodec::TraceGrid(150000, 30000000, 601);
    EXPECT_EQ(g.startX, 150.0);
    EXPECT_DOUBLE_EQ(g.stepKhz, 29850.0 / 600.0);
    EXPECT_EQ(tracecodec::TraceGrid(2500, 10000, 1).startX, 2.0);
    EXPECT_EQ(tracecodec::TraceGrid(2500, 10000, 1).stepKhz, 0.0);
    const tracecodec::Grid s = tracecodec::ScanGrid(150000, 30000000, 600);
    EXPECT_DOUBLE_EQ(s.stepKhz, 49.751);
    // Frequencies whose difference does not fit in 64 bits.
    EXPECT_DOUBLE_EQ(tracecodec::TraceGrid(-9'000'000'000'000'000'000, 9'000'000'000'000'000'000, 1001).stepKhz, 1.8e13);
    EXPECT_DOUBLE_EQ(tracecodec::ScanGrid(-9'000'000'000'000'000'000, 9'000'000'000'000'000'000, 1000).stepKhz,
                     (1.8e16 + 1) / 1000);
}
