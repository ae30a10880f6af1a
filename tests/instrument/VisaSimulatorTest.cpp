// The VISA layer against the analyser simulator over the two LAN transports: identification,
// whole trace blocks, and every injected fault ending in the expected status within the
// time-out.
#include "app/Log.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "instrument/visa/Vxi11Transport.h"
#include "tools/sim/Simulator.h"
#include "SimScpiFixture.h"

#include <QElapsedTimer>
#include <netdb.h>
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

// Host names that resolve to nothing, without asking any server.
int NoNames(const std::string&, visaio::Address*) { return EAI_NONAME; }

// A simulator on ports of its own, reached without the portmapper, and a back end for it.
struct Direct {
    std::unique_ptr<Simulator> sim;
    VisaState state;
    DebugLog debug;
    QString instr;
    QString socket;

    explicit Direct(SimFaults faults = {}, const QHostAddress& address = QHostAddress(QHostAddress::LocalHost))
    {
        SimulatorOptions o;
        o.address = address;
        o.tcpPort = 0;
        o.vxi11 = true;
        o.vxi11Register = false;
        o.faults = faults;
        sim = std::make_unique<Simulator>(o);
        QString error;
        EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
        BuiltinVisaOptions vo;
        vo.timeoutMs = kTestTimeoutMs;
        vo.hostLookup = NoNames;
        vo.vxi11.port = sim->Vxi11Port();
        LoadVisaLibrary(state, debug, std::make_unique<BuiltinVisaBackEnd>(vo));
        EXPECT_EQ(state.VisaLibrary->viOpenDefaultRM(&state.VisaResourceManager), visa::VI_SUCCESS);
        const QString host = address.protocol() == QAbstractSocket::IPv6Protocol ? "[" + address.toString() + "]"
                                                                                 : address.toString();
        instr = "TCPIP0::" + host + "::INSTR";
        socket = "TCPIP0::" + host + "::" + QString::number(sim->TcpPort()) + "::SOCKET";
    }
    ~Direct() { CloseVisaSessions(state); }

    ViStatus Open(const QString& resource, ViSession* session)
    {
        return state.VisaLibrary->viOpen(state.VisaResourceManager, resource.toLatin1().constData(), 0, 0, session);
    }
    QString Query(const QString& q)
    {
        VisaWriteString(state, debug, q);
        return VisaReadReply(state, "");
    }
};

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
        vo.timeoutMs = kTestTimeoutMs;
        if (GetParam() == Link::Socket) {
            o.tcpPort = 0;
        } else {
            QString reason;
            ASSERT_TRUE(PortmapperReachable(&reason))
                << "VXI-11 tests need rpcbind: " << reason.toStdString() << " (start it with: rpcbind -w)";
            o.vxi11 = true;
            o.vxi11Program = TestRpcProgram();
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

TEST_P(VisaOverSimulator, NoAnswerEndsInTimeOutWithinTheSessionTime)
{
    SimFaults f;
    f.noAnswer = true;
    Open("dsa815", f);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(Query("*IDN?"), "0");
    // The time-out and the clear's grace, no more.
    const qint64 ms = t.elapsed();
    EXPECT_GE(ms, kTestTimeoutMs - 10);
    EXPECT_LT(ms, kTestTimeoutMs * 2 + 1000);
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
    const ViStatus st = Trace(&a);
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
    EXPECT_EQ(Query("*OPC?"), "0");
}

TEST_P(VisaOverSimulator, DroppedConnectionEndsInConnectionLost)
{
    SimFaults f;
    f.dropAfter = 1; // answers one message, then drops the link at the next
    Open("dsa815", f);
    EXPECT_EQ(Query("*IDN?"), sim->Instrument().Family().idn);
    ViStatus st = VisaWriteString(state, debug, "*IDN?");
    if (st == visa::VI_SUCCESS) {
        QByteArray a;
        st = VisaReadAnswer(state, state.VisaSession, 2048, &a);
    }
    EXPECT_EQ(st, visa::VI_ERROR_CONN_LOST);
    // Later calls fail as well.
    EXPECT_EQ(VisaWriteString(state, debug, "*IDN?"), visa::VI_ERROR_CONN_LOST);
    EXPECT_EQ(VisaReadReply(state, ""), "0");
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
    vo.timeoutMs = kTestTimeoutMs;
    vo.hostLookup = NoNames;
    vo.vxi11.program = TestRpcProgram(); // registered by nobody
    BuiltinVisaBackEnd lib(vo);
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::127.0.0.1::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    // "xxx.xxx.xxx.xxx" (the address file's default) is neither an address nor a name that
    // resolves; hislip and port-less sockets are refused before anything goes out.
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::xxx.xxx.xxx.xxx::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::127.0.0.1::hislip0::INSTR", 0, 0, &vi), visa::VI_ERROR_NSUP_OPER);
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::127.0.0.1::SOCKET", 0, 0, &vi), visa::VI_ERROR_INV_RSRC_NAME);
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
    vo.timeoutMs = kTestTimeoutMs;
    BuiltinVisaBackEnd lib(vo);
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::127.0.0.1::INSTR", 0, 0, &vi), visa::VI_ERROR_TMO);
    EXPECT_LT(t.elapsed(), 2000);
    // The raw socket to the same silent peer opens, and its read times out.
    const QByteArray rsrc = "TCPIP0::127.0.0.1::" + QByteArray::number(ntohs(a.sin_port)) + "::SOCKET";
    ASSERT_EQ(lib.viOpen(rm, rsrc.constData(), 0, 0, &vi), visa::VI_SUCCESS);
    char buf[16];
    ViUInt32 n = 0;
    t.restart();
    EXPECT_EQ(lib.viRead(vi, reinterpret_cast<ViByte*>(buf), sizeof buf, &n), visa::VI_ERROR_TMO);
    EXPECT_GE(t.elapsed(), kTestTimeoutMs - 10);
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

TEST(VisaVxi11, CreateLinkErrorsAreDistinctStatuses)
{
    Direct d;
    std::vector<ViSession> links;
    for (int i = 0; i < 8; ++i) {
        ViSession vi = 0;
        ASSERT_EQ(d.Open(d.instr, &vi), visa::VI_SUCCESS) << i;
        links.push_back(vi);
    }
    // The instrument has no link left: not "not found", which would send the operator looking
    // for a wrong address.
    ViSession vi = 0;
    EXPECT_EQ(d.Open(d.instr, &vi), visa::VI_ERROR_ALLOC);
    ASSERT_EQ(d.state.VisaLibrary->viClose(links.back()), visa::VI_SUCCESS);
    EXPECT_EQ(d.Open(d.instr, &vi), visa::VI_SUCCESS);
    // A device name the instrument does not have.
    EXPECT_EQ(d.Open("TCPIP0::127.0.0.1::gpib0,5::INSTR", &vi), visa::VI_ERROR_RSRC_NFOUND);
}

TEST(VisaVxi11, ACallPastItsTimeOutIsAbortedAndTheLinkServesAgain)
{
    // The instrument ignores the read's time-out: only the abort channel ends the call, and
    // until it ends the core channel serves nothing else.
    SimFaults f;
    f.readHang = true;
    Direct d(f);
    ASSERT_EQ(d.Open(d.instr, &d.state.VisaSession), visa::VI_SUCCESS);
    EXPECT_EQ(d.Query("*CLS"), "0");
    EXPECT_EQ(d.Query("*IDN?"), d.sim->Instrument().Family().idn);
    EXPECT_EQ(d.Query("*IDN?"), d.sim->Instrument().Family().idn);
}

TEST(VisaVxi11, ADeviceThatTakesPartOfAWriteGetsTheRest)
{
    SimFaults f;
    f.shortWrite = true;
    Direct d(f);
    ASSERT_EQ(d.Open(d.instr, &d.state.VisaSession), visa::VI_SUCCESS);
    const QString message = ":SENS:FREQ:STAR 1000000;:SENS:FREQ:STOP 2000000;*IDN?";
    EXPECT_EQ(d.Query(message), d.sim->Instrument().Family().idn);
    const auto log = d.sim->Instrument().CommandLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].message, message.toLatin1());
    EXPECT_EQ(d.sim->Instrument().Settings().stopHz, 2e6);
}

TEST(VisaVxi11, TheTerminationCharacterIsPassedToTheDevice)
{
    Direct d;
    Vxi11Endpoint e;
    e.port = d.sim->Vxi11Port();
    std::unique_ptr<VisaTransport> t;
    ASSERT_EQ(OpenVxi11Transport("127.0.0.1", "inst0", e, 1000, &t), visa::VI_SUCCESS);
    size_t n = 0;
    ASSERT_EQ(t->Write(reinterpret_cast<const uint8_t*>("*IDN?"), 5, true, 1000, &n), visa::VI_SUCCESS);
    // The device itself ends the read at the first comma; the rest stays with it.
    t->SetTermChar(true, ',');
    uint8_t buf[256];
    bool end = true;
    ASSERT_EQ(t->Read(buf, sizeof buf, 1000, &n, &end), visa::VI_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buf), static_cast<qsizetype>(n)), "Rigol Technologies,");
    EXPECT_FALSE(end);
    t->SetTermChar(false, ',');
    ASSERT_EQ(t->Read(buf, sizeof buf, 1000, &n, &end), visa::VI_SUCCESS);
    EXPECT_EQ(QByteArray(reinterpret_cast<char*>(buf), static_cast<qsizetype>(n)), "DSA815,DSA8A1234567890,00.01.19.00.02\n");
    EXPECT_TRUE(end);
}

TEST(VisaLan, Ipv6AddressesOverBothLinks)
{
    Direct d({}, QHostAddress(QHostAddress::LocalHostIPv6));
    const QString idn = d.sim->Instrument().Family().idn;
    ASSERT_EQ(d.Open(d.instr, &d.state.VisaSession), visa::VI_SUCCESS) << d.instr.toStdString();
    EXPECT_EQ(d.Query("*IDN?"), idn);
    ASSERT_EQ(d.Open(d.socket, &d.state.VisaSession), visa::VI_SUCCESS) << d.socket.toStdString();
    EXPECT_EQ(d.Query("*IDN?"), idn);
}

TEST(VisaLan, HostLookupRespectsTheTimeOut)
{
    Direct d;
    // A resolver that takes far longer than the session's time-out, and one that knows the
    // simulator's host by name.
    BuiltinVisaOptions slow;
    slow.timeoutMs = kTestTimeoutMs;
    slow.hostLookup = [](const std::string&, visaio::Address*) {
        QThread::msleep(3000);
        return EAI_NONAME;
    };
    BuiltinVisaBackEnd lib(slow);
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(lib.viOpen(rm, "TCPIP0::analyser::INSTR", 0, 0, &vi), visa::VI_ERROR_TMO);
    const QByteArray socket = "TCPIP0::analyser::" + QByteArray::number(d.sim->TcpPort()) + "::SOCKET";
    EXPECT_EQ(lib.viOpen(rm, socket.constData(), 0, 0, &vi), visa::VI_ERROR_TMO);
    EXPECT_LT(t.elapsed(), 2000);

    BuiltinVisaOptions named;
    named.hostLookup = [](const std::string& host, visaio::Address* out) {
        return host == "analyser" ? visaio::SystemLookup("127.0.0.1", out) : EAI_NONAME;
    };
    BuiltinVisaBackEnd known(named);
    ASSERT_EQ(known.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    EXPECT_EQ(known.viOpen(rm, socket.constData(), 0, 0, &vi), visa::VI_SUCCESS);
}
