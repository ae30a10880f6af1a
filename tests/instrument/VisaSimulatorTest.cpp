// The VISA layer against the analyser simulator over the two LAN transports: identification,
// whole trace blocks, and every injected fault ending in the expected status within the
// time-out.
#include "app/Log.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "instrument/visa/Vxi11Transport.h"
#include "tools/sim/Simulator.h"

#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

enum class Link { Socket, Vxi11 };

std::string LinkName(const testing::TestParamInfo<Link>& p) { return p.param == Link::Socket ? "Socket" : "Vxi11"; }

// A program number of the transient range, different for every simulator of every process, so
// that parallel test runs never meet in the portmapper.
uint32_t UniqueProgram()
{
    static std::atomic<uint32_t> counter{0};
    return 0x40000000u | ((static_cast<uint32_t>(::getpid()) << 6 | counter++) & 0x1FFFFFFFu);
}

bool PortmapperReachable(QString* reason)
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

float DecodeFloat(const QByteArray& b, qsizetype at, bool bigEndian)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        const uint32_t byte = static_cast<uint8_t>(b[at + i]);
        bits |= bigEndian ? byte << (24 - 8 * i) : byte << (8 * i);
    }
    return std::bit_cast<float>(bits);
}

class VisaOverSimulator : public testing::TestWithParam<Link> {
protected:
    std::unique_ptr<Simulator> sim;
    VisaState state;
    DebugLog debug;

    // Starts a simulator and opens VisaSession to it over the link of the test.
    void Open(const QString& family, SimFaults faults = {}, double timeScale = 0.001)
    {
        SimulatorOptions o;
        o.family = family;
        o.seed = 7;
        o.timeScale = timeScale;
        o.faults = faults;
        BuiltinVisaOptions vo;
        if (GetParam() == Link::Socket) {
            o.tcpPort = 0;
        } else {
            QString reason;
            ASSERT_TRUE(PortmapperReachable(&reason))
                << "VXI-11 tests need rpcbind: " << reason.toStdString() << " (start it with: rpcbind -w)";
            o.vxi11 = true;
            o.vxi11Program = UniqueProgram();
            vo.vxi11.program = o.vxi11Program;
        }
        CloseVisaSessions(state);
        state.VisaLibrary.reset();
        sim.reset();
        sim = std::make_unique<Simulator>(o);
        QString error;
        ASSERT_TRUE(sim->Start(&error)) << error.toStdString();
        LoadVisaLibrary(state, debug, std::make_unique<BuiltinVisaBackEnd>(vo));
        ASSERT_EQ(state.VisaLibrary->viOpenDefaultRM(&state.VisaResourceManager), visa::VI_SUCCESS);
        const QByteArray rsrc = GetParam() == Link::Socket
                                    ? QByteArray("TCPIP0::127.0.0.1::") + QByteArray::number(sim->TcpPort()) + "::SOCKET"
                                    : QByteArray("TCPIP0::127.0.0.1::inst0::INSTR");
        ASSERT_EQ(state.VisaLibrary->viOpen(state.VisaResourceManager, rsrc.constData(), 0, 0, &state.VisaSession),
                  visa::VI_SUCCESS)
            << rsrc.constData();
    }

    QString Query(const QString& q)
    {
        EXPECT_EQ(VisaWriteString(state, debug, q), visa::VI_SUCCESS) << q.toStdString();
        return VisaReadReply(state, "");
    }

    ViStatus Trace(QByteArray* answer, ViUInt32 buffer = 2500)
    {
        EXPECT_EQ(ScpiWrite(state, debug, ":FORM:TRACE:DATA REAL,32"), visa::VI_SUCCESS);
        EXPECT_EQ(ScpiWrite(state, debug, ":TRAC:DATA? TRACE1"), visa::VI_SUCCESS);
        return VisaReadAnswer(state, state.VisaSession, buffer, answer);
    }

    void TearDown() override
    {
        CloseVisaSessions(state);
        if (sim)
            sim->Stop();
    }
};

} // namespace

TEST_P(VisaOverSimulator, IdentifiesAndReadsAWholeBinaryTrace)
{
    Open("dsa815");
    EXPECT_EQ(Query("*IDN?"), "Rigol Technologies,DSA815,DSA8A1234567890,00.01.19.00.02");
    // Centre the span on a known emission so that the trace must show it at its bin.
    const SimEmissions::Line line = sim->Instrument().Spectrum().Lines()[3];
    // 1 kHz bins with the line in the middle of one, and an RBW narrow enough to set it apart.
    const double start = line.frequencyHz - 300500.0, stop = start + 601000.0;
    ScpiWrite(state, debug, ":SENS:BAND:RES 1000");
    ScpiWrite(state, debug, ":SENS:FREQ:STAR " + QString::number(start, 'f', 0));
    ScpiWrite(state, debug, ":SENS:FREQ:STOP " + QString::number(stop, 'f', 0));
    QByteArray a;
    ASSERT_EQ(Trace(&a), visa::VI_SUCCESS);
    ASSERT_EQ(a.size(), 601 * 4 + 12);
    EXPECT_TRUE(a.startsWith("#9000002404"));
    EXPECT_EQ(a.back(), '\n');
    int peak = 0;
    for (int i = 1; i < 601; ++i)
        if (DecodeFloat(a, 11 + 4 * i, true) > DecodeFloat(a, 11 + 4 * peak, true))
            peak = i;
    const double bin = (stop - start) / 601.0;
    EXPECT_EQ(peak, static_cast<int>((line.frequencyHz - start) / bin));
    EXPECT_NEAR(DecodeFloat(a, 11 + 4 * peak, true), line.levelDbuv, 0.5);
    // Binary data holds line feeds; the next answer must still be the next answer.
    EXPECT_EQ(Query("*ESR?"), "0");
}

TEST_P(VisaOverSimulator, ReadsTheOtherTraceFormats)
{
    Open("ssa3032x");
    ASSERT_EQ(ScpiWrite(state, debug, ":TRACe:DATA? 1"), visa::VI_SUCCESS);
    QByteArray a;
    ASSERT_EQ(VisaReadAnswer(state, state.VisaSession, 12800, &a), visa::VI_SUCCESS);
    EXPECT_EQ(a.size(), 751 * 17 + 1);
    EXPECT_EQ(a.count(','), 751);

    Open("rsa5065");
    ASSERT_EQ(Trace(&a), visa::VI_SUCCESS);
    EXPECT_EQ(a.size(), 601 * 4 + 9);
    EXPECT_TRUE(a.startsWith("#6002404"));
}

TEST_P(VisaOverSimulator, NoAnswerEndsInTimeOutWithinTheDefaultTime)
{
    SimFaults f;
    f.noAnswer = true;
    Open("dsa815", f);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(Query("*IDN?"), "0");
    const qint64 ms = t.elapsed();
    EXPECT_GE(ms, 1900);
    EXPECT_LT(ms, 3500);
    QByteArray a;
    EXPECT_EQ(VisaReadAnswer(state, state.VisaSession, 2048, &a), visa::VI_ERROR_TMO);
}

TEST_P(VisaOverSimulator, LongAnswerFailsAndLaterAnswersStayInStep)
{
    SimFaults f;
    f.longAnswer = true;
    Open("dsa815", f);
    EXPECT_EQ(Query("*IDN?"), "0");
    sim->Instrument().SetFaults({});
    EXPECT_EQ(Query("*IDN?"), sim->Instrument().Family().idn);
    EXPECT_EQ(Query(":SENS:FREQ:STAR?"), "1.500000e+05");
}

TEST_P(VisaOverSimulator, WrongBlockSizesAndNaN)
{
    SimFaults f;
    f.blockShort = true;
    Open("dsa815", f);
    QByteArray a;
    ASSERT_EQ(Trace(&a), visa::VI_SUCCESS);
    EXPECT_EQ(a.size(), 600 * 4 + 12);

    f = {};
    f.nanValue = true;
    sim->Instrument().SetFaults(f);
    ASSERT_EQ(Trace(&a), visa::VI_SUCCESS);
    ASSERT_EQ(a.size(), 601 * 4 + 12);
    EXPECT_TRUE(std::isnan(DecodeFloat(a, 11 + 4 * 300, true)));
    EXPECT_FALSE(std::isnan(DecodeFloat(a, 11 + 4 * 299, true)));

    // A header that claims more than follows: the raw socket waits for the missing bytes and
    // times out; VXI-11 has its own END and delivers what came.
    f = {};
    f.blockLengthWrong = true;
    sim->Instrument().SetFaults(f);
    QElapsedTimer t;
    t.start();
    const ViStatus st = Trace(&a);
    EXPECT_LT(t.elapsed(), 3500);
    if (GetParam() == Link::Socket) {
        EXPECT_EQ(st, visa::VI_ERROR_TMO);
    } else {
        EXPECT_EQ(st, visa::VI_SUCCESS);
        EXPECT_TRUE(a.startsWith("#9000002408"));
        EXPECT_EQ(a.size(), 601 * 4 + 12);
    }
}

TEST_P(VisaOverSimulator, SweepCompletionAndItsFaults)
{
    Open("rsa5065");
    // A 10 s sweep in scaled time: *ESR? reports completion only after it.
    ScpiWrite(state, debug, ":SENS:SWE:TIME 10");
    ScpiWrite(state, debug, ":INIT:IMM");
    ScpiWrite(state, debug, "*CLS;*OPC");
    EXPECT_EQ(Query("*ESR?"), "0");
    QThread::msleep(30);
    EXPECT_EQ(Query("*ESR?"), "1");

    SimFaults f;
    f.sweepNeverCompletes = true;
    sim->Instrument().SetFaults(f);
    ScpiWrite(state, debug, ":INIT:IMM");
    ScpiWrite(state, debug, "*CLS;*OPC");
    for (int i = 0; i < 3; ++i) {
        QThread::msleep(20);
        EXPECT_EQ(Query("*ESR?"), "0");
    }
    f.threeDigitEsr = true;
    sim->Instrument().SetFaults(f);
    EXPECT_EQ(Query("*ESR?"), "128");
    // *OPC? waits for a sweep that never ends: a time-out, not a hang.
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(Query("*OPC?"), "0");
    EXPECT_LT(t.elapsed(), 3500);
}

TEST_P(VisaOverSimulator, DroppedConnectionEndsInConnectionLost)
{
    SimFaults f;
    f.dropAfter = 1; // answers one message, then drops the link at the next
    Open("dsa815", f);
    EXPECT_EQ(Query("*IDN?"), sim->Instrument().Family().idn);
    QElapsedTimer t;
    t.start();
    ViStatus st = VisaWriteString(state, debug, "*IDN?");
    if (st == visa::VI_SUCCESS) {
        QByteArray a;
        st = VisaReadAnswer(state, state.VisaSession, 2048, &a);
    }
    EXPECT_EQ(st, visa::VI_ERROR_CONN_LOST);
    EXPECT_LT(t.elapsed(), 3500);
    // Later calls fail at once.
    t.restart();
    EXPECT_EQ(VisaWriteString(state, debug, "*IDN?"), visa::VI_ERROR_CONN_LOST);
    EXPECT_EQ(VisaReadReply(state, ""), "0");
    EXPECT_LT(t.elapsed(), 2500);
}

TEST_P(VisaOverSimulator, CommandLogHasEveryMessageWithItsTime)
{
    Open("fpc1000");
    sim->Instrument().ClearCommandLog();
    ScpiWrite(state, debug, "*CLS");
    ScpiWrite(state, debug, ":INIT;*WAI");
    Query(":CALC:MARK1:Y?");
    const auto log = sim->Instrument().CommandLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0].message, "*CLS");
    EXPECT_EQ(log[1].message, ":INIT;*WAI");
    EXPECT_EQ(log[2].message, ":CALC:MARK1:Y?");
    EXPECT_EQ(log[0].transport, GetParam() == Link::Socket ? "tcp" : "vxi11");
    EXPECT_LE(log[0].virtualMs, log[1].virtualMs);
    EXPECT_LE(log[1].virtualMs, log[2].virtualMs);
}

INSTANTIATE_TEST_SUITE_P(Links, VisaOverSimulator, testing::Values(Link::Socket, Link::Vxi11), LinkName);

TEST(VisaVxi11, UnknownHostsProgramsAndDevicesFailCleanly)
{
    QString reason;
    ASSERT_TRUE(PortmapperReachable(&reason)) << "VXI-11 tests need rpcbind: " << reason.toStdString();
    BuiltinVisaOptions vo;
    vo.vxi11.program = UniqueProgram(); // registered by nobody
    BuiltinVisaBackEnd lib(vo);
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::127.0.0.1::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::no-such-host.invalid::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::xxx.xxx.xxx.xxx::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_EQ(vi, 0u);

    // Straight to a port, without the portmapper: the simulator answers on the port it was given.
    SimulatorOptions o;
    o.vxi11 = true;
    o.vxi11Register = false;
    o.vxi11Program = vo.vxi11.program;
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();
    vo.vxi11.port = sim.Vxi11Port();
    BuiltinVisaBackEnd direct(vo);
    ASSERT_EQ(direct.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    ASSERT_EQ(direct.viOpen(rm, "TCPIP0::127.0.0.1::INSTR", 0, 0, &vi), visa::VI_SUCCESS);
    const QByteArray q = "*IDN?";
    ViUInt32 n = 0;
    ASSERT_EQ(direct.viWrite(vi, reinterpret_cast<const ViByte*>(q.constData()), q.size(), &n), visa::VI_SUCCESS);
    char buf[256];
    ASSERT_EQ(direct.viRead(vi, reinterpret_cast<ViByte*>(buf), sizeof buf, &n), visa::VI_SUCCESS);
    EXPECT_EQ(QByteArray(buf, n), sim.Instrument().Family().idn.toLatin1() + "\n");
    EXPECT_EQ(direct.viClose(rm), visa::VI_SUCCESS);
}

TEST(VisaVxi11, APeerThatNeverAnswersEndsInTimeOut)
{
    // A listening socket that nobody serves: the connect succeeds, no RPC reply ever comes.
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    ASSERT_EQ(::listen(fd, 4), 0);
    socklen_t len = sizeof a;
    ASSERT_EQ(::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len), 0);
    BuiltinVisaOptions vo;
    vo.vxi11.port = ntohs(a.sin_port);
    BuiltinVisaBackEnd lib(vo);
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::127.0.0.1::INSTR", 0, 0, &vi), visa::VI_ERROR_TMO);
    EXPECT_LT(t.elapsed(), 5000);
    // The raw socket to the same silent peer opens, and its read times out.
    const QByteArray rsrc = "TCPIP0::127.0.0.1::" + QByteArray::number(ntohs(a.sin_port)) + "::SOCKET";
    ASSERT_EQ(lib.viOpen(rm, rsrc.constData(), 0, 0, &vi), visa::VI_SUCCESS);
    char buf[16];
    ViUInt32 n = 0;
    t.restart();
    EXPECT_EQ(lib.viRead(vi, reinterpret_cast<ViByte*>(buf), sizeof buf, &n), visa::VI_ERROR_TMO);
    EXPECT_GE(t.elapsed(), 1900);
    EXPECT_LT(t.elapsed(), 3500);
    EXPECT_EQ(n, 0u);
    ::close(fd);
}

TEST(VisaSocket, RefusedPortIsResourceNotFound)
{
    // Bind and close a listener to get a port nobody serves.
    SimulatorOptions o;
    o.tcpPort = 0;
    quint16 port = 0;
    {
        Simulator sim(o);
        QString error;
        ASSERT_TRUE(sim.Start(&error));
        port = sim.TcpPort();
    }
    BuiltinVisaBackEnd lib;
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    const QByteArray rsrc = "TCPIP0::127.0.0.1::" + QByteArray::number(port) + "::SOCKET";
    EXPECT_EQ(lib.viOpen(rm, rsrc.constData(), 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
}
