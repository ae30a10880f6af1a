// The built-in back end below the session functions: answer framing on byte streams, VISA's read
// rules, attributes, resource names and expressions, discovery, and the usbtmc and serial
// transports.
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/MessageFramer.h"
#include "instrument/visa/ScriptedTransport.h"
#include "instrument/visa/UsbtmcTransport.h"
#include "instrument/visa/VisaResource.h"
#include "tools/sim/Simulator.h"
#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

// Feeds a stream to the framer in pieces of `piece` bytes and returns the answers it finds.
QList<QByteArray> Frame(const QByteArray& stream, int piece)
{
    MessageFramer f;
    QList<QByteArray> answers;
    QByteArray cur;
    qsizetype at = 0;
    while (at < stream.size()) {
        const qsizetype n = std::min<qsizetype>(piece, stream.size() - at);
        qsizetype used = 0;
        while (used < n) {
            bool end = false;
            const size_t k = f.Scan(reinterpret_cast<const uint8_t*>(stream.constData() + at + used),
                                    static_cast<size_t>(n - used), &end);
            cur.append(stream.constData() + at + used, static_cast<qsizetype>(k));
            used += static_cast<qsizetype>(k);
            if (end) {
                answers << cur;
                cur.clear();
            }
        }
        at += n;
    }
    if (!cur.isEmpty())
        answers << cur + "<unfinished>";
    return answers;
}

QByteArray BinaryBlockWithLineFeeds()
{
    QByteArray data;
    for (int i = 0; i < 40; ++i)
        data.append(static_cast<char>(i % 3 == 0 ? 0x0A : i));
    return "#240" + data + "\n";
}

struct Session {
    BuiltinVisaBackEnd lib;
    std::shared_ptr<ScriptedPeer> peer = std::make_shared<ScriptedPeer>();
    ViSession rm = 0;
    ViSession vi = 0;
    Session()
    {
        EXPECT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
        EXPECT_EQ(lib.OpenWithTransport(rm, "TCPIP0::x::INSTR", std::make_unique<ScriptedTransport>(peer), &vi),
                  visa::VI_SUCCESS);
    }
    ViStatus Read(ViUInt32 max, QByteArray* out)
    {
        out->resize(max);
        ViUInt32 n = 0;
        const ViStatus st = lib.viRead(vi, reinterpret_cast<ViByte*>(out->data()), max, &n);
        out->resize(n);
        return st;
    }
};

bool MakeLink(const QString& target, const QString& link)
{
    return QFile::link(target, link);
}

} // namespace

TEST(VisaFraming, TextAnswersEndAtTheLineFeed)
{
    for (int piece : {1, 3, 1000}) {
        const auto a = Frame("*IDN answer\n1\n-40.5\n", piece);
        ASSERT_EQ(a.size(), 3) << piece;
        EXPECT_EQ(a[0], "*IDN answer\n");
        EXPECT_EQ(a[1], "1\n");
        EXPECT_EQ(a[2], "-40.5\n");
    }
}

TEST(VisaFraming, DefiniteBlocksAreReadByTheirLengthNotByLineFeeds)
{
    const QByteArray block = BinaryBlockWithLineFeeds();
    ASSERT_GT(block.count('\n'), 5);
    for (int piece : {1, 2, 5, 4096}) {
        const auto a = Frame(block + "next\n", piece);
        ASSERT_EQ(a.size(), 2) << piece;
        EXPECT_EQ(a[0], block);
        EXPECT_EQ(a[1], "next\n");
    }
    // A "#9" header as the Rigol sends it.
    QByteArray big = "#9000000012" + QByteArray(12, '\n') + "\n";
    const auto b = Frame(big + "1\n", 1);
    ASSERT_EQ(b.size(), 2);
    EXPECT_EQ(b[0].size(), 11 + 12 + 1);
}

TEST(VisaFraming, IndefiniteAndMalformedBlocksEndAtTheLineFeed)
{
    auto a = Frame("#0abc\n#x\n#2a\n", 1);
    ASSERT_EQ(a.size(), 3);
    EXPECT_EQ(a[0], "#0abc\n");
    EXPECT_EQ(a[1], "#x\n");
    EXPECT_EQ(a[2], "#2a\n"); // a non-digit in the length: not a block
    // "#" only opens a block at the start of an answer.
    a = Frame("12,#3\n", 1);
    ASSERT_EQ(a.size(), 1);
    EXPECT_EQ(a[0], "12,#3\n");
    // A block that is cut off is not an answer yet.
    a = Frame("#15abc", 1);
    ASSERT_EQ(a.size(), 1);
    EXPECT_TRUE(a[0].endsWith("<unfinished>"));
}

TEST(VisaRead, EndFullBufferAndTermination)
{
    Session s;
    s.peer->chunk = 3;
    s.peer->answers = {"abcdefgh\n", "x;y\nz\n"};
    QByteArray out;
    EXPECT_EQ(s.Read(4, &out), visa::VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(out, "abcd");
    EXPECT_EQ(s.Read(100, &out), visa::VI_SUCCESS);
    EXPECT_EQ(out, "efgh\n");
    // With the termination character on, a read ends after it even before END.
    ASSERT_EQ(s.lib.viSetAttribute(s.vi, visa::VI_ATTR_TERMCHAR, ';'), visa::VI_SUCCESS);
    ASSERT_EQ(s.lib.viSetAttribute(s.vi, visa::VI_ATTR_TERMCHAR_EN, 1), visa::VI_SUCCESS);
    EXPECT_EQ(s.Read(100, &out), visa::VI_SUCCESS_TERM_CHAR);
    EXPECT_EQ(out, "x;");
    EXPECT_EQ(s.Read(100, &out), visa::VI_SUCCESS);
    EXPECT_EQ(out, "y\nz\n");
    // Nothing left: time-out, nothing returned.
    EXPECT_EQ(s.Read(100, &out), visa::VI_ERROR_TMO);
    EXPECT_TRUE(out.isEmpty());
}

TEST(VisaRead, PartOfAnAnswerBeforeATimeOutIsCounted)
{
    Session s;
    // The instrument stops after "abc" without ending the answer.
    s.peer->unterminated = true;
    s.peer->chunk = 2;
    s.peer->answers = {"abc"};
    QByteArray out;
    EXPECT_EQ(s.Read(10, &out), visa::VI_ERROR_TMO);
    EXPECT_EQ(out, "abc");
    s.peer->dropped = true;
    EXPECT_EQ(s.Read(10, &out), visa::VI_ERROR_CONN_LOST);
    EXPECT_TRUE(out.isEmpty());
}

TEST(VisaRead, ClearForgetsWhatTheSessionHeldAndClearsTheDevice)
{
    Session s;
    s.peer->chunk = 3;
    s.peer->answers = {"stale answer\n", "more\n"};
    QByteArray out;
    EXPECT_EQ(s.Read(4, &out), visa::VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(s.lib.viClear(s.vi), visa::VI_SUCCESS);
    EXPECT_EQ(s.peer->clears, 1);
    EXPECT_EQ(s.Read(100, &out), visa::VI_ERROR_TMO);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(s.lib.viClear(s.rm), visa::VI_ERROR_INV_OBJECT);
}

TEST(VisaRead, FlushDiscardsWhatWasNotRead)
{
    Session s;
    s.peer->chunk = 2;
    s.peer->answers = {"stale answer\n", "more\n"};
    QByteArray out;
    EXPECT_EQ(s.Read(3, &out), visa::VI_SUCCESS_MAX_CNT);
    EXPECT_EQ(s.lib.viFlush(s.vi, visa::VI_READ_BUF_DISCARD), visa::VI_SUCCESS);
    EXPECT_EQ(s.peer->discards, 1);
    EXPECT_EQ(s.Read(100, &out), visa::VI_ERROR_TMO);
    EXPECT_EQ(s.lib.viFlush(s.vi, 0), visa::VI_ERROR_INV_MASK);
    EXPECT_EQ(s.lib.viFlush(s.vi, visa::VI_READ_BUF | visa::VI_READ_BUF_DISCARD), visa::VI_ERROR_INV_MASK);
    EXPECT_EQ(s.lib.viFlush(s.vi, visa::VI_WRITE_BUF), visa::VI_SUCCESS);
}

TEST(VisaAttributes, DefaultsAndRules)
{
    Session s;
    ViUInt32 v32 = 0;
    EXPECT_EQ(s.lib.viGetAttribute(s.vi, visa::VI_ATTR_TMO_VALUE, &v32), visa::VI_SUCCESS);
    EXPECT_EQ(v32, 2000u);
    EXPECT_EQ(s.lib.viSetAttribute(s.vi, visa::VI_ATTR_TMO_VALUE, 500), visa::VI_SUCCESS);
    EXPECT_EQ(s.lib.viGetAttribute(s.vi, visa::VI_ATTR_TMO_VALUE, &v32), visa::VI_SUCCESS);
    EXPECT_EQ(v32, 500u);
    EXPECT_EQ(s.lib.viGetAttribute(s.rm, visa::VI_ATTR_RSRC_SPEC_VERSION, &v32), visa::VI_SUCCESS);
    EXPECT_EQ(v32, 0x00500000u);
    char name[256];
    EXPECT_EQ(s.lib.viGetAttribute(s.vi, visa::VI_ATTR_RSRC_NAME, name), visa::VI_SUCCESS);
    EXPECT_STREQ(name, "TCPIP0::x::INSTR");
    EXPECT_EQ(s.lib.viGetAttribute(s.vi, visa::VI_ATTR_RSRC_CLASS, name), visa::VI_SUCCESS);
    EXPECT_STREQ(name, "INSTR");
    EXPECT_EQ(s.lib.viSetAttribute(s.vi, visa::VI_ATTR_RSRC_NAME, 0), visa::VI_ERROR_ATTR_READONLY);
    // Serial settings on a session whose transport has none.
    EXPECT_EQ(s.lib.viGetAttribute(s.vi, visa::VI_ATTR_ASRL_BAUD, &v32), visa::VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(s.lib.viGetAttribute(s.rm, visa::VI_ATTR_TMO_VALUE, &v32), visa::VI_ERROR_NSUP_ATTR);
    EXPECT_EQ(s.lib.viGetAttribute(12345, visa::VI_ATTR_TMO_VALUE, &v32), visa::VI_ERROR_INV_OBJECT);
}

TEST(VisaSessions, ClosingTheResourceManagerClosesItsSessions)
{
    Session s;
    ViUInt32 v = 0;
    EXPECT_EQ(s.lib.viClose(s.rm), visa::VI_SUCCESS);
    EXPECT_EQ(s.lib.viGetAttribute(s.vi, visa::VI_ATTR_TMO_VALUE, &v), visa::VI_ERROR_INV_OBJECT);
    EXPECT_EQ(s.lib.viClose(s.vi), visa::VI_ERROR_INV_OBJECT);
    ViUInt32 n = 0;
    EXPECT_EQ(s.lib.viWrite(s.vi, reinterpret_cast<const ViByte*>("x"), 1, &n), visa::VI_ERROR_INV_OBJECT);
    ViSession fresh = 0;
    EXPECT_EQ(s.lib.viOpen(s.rm, "TCPIP0::127.0.0.1::INSTR", 0, 0, &fresh), visa::VI_ERROR_INV_OBJECT);
}

TEST(VisaResourceNames, ParsesTheFourKinds)
{
    VisaResource r;
    ASSERT_EQ(ParseVisaResource("TCPIP0::192.168.1.5::INSTR", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.kind, VisaResource::Kind::TcpipInstr);
    EXPECT_EQ(r.host, "192.168.1.5");
    EXPECT_EQ(r.lanDevice, "inst0");
    ASSERT_EQ(ParseVisaResource("tcpip::dsa.local::inst1::instr", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.host, "dsa.local");
    EXPECT_EQ(r.lanDevice, "inst1");
    ASSERT_EQ(ParseVisaResource("TCPIP0::10.0.0.2::gpib0,5", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.lanDevice, "gpib0,5");
    ASSERT_EQ(ParseVisaResource("TCPIP0::127.0.0.1::5025::SOCKET", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.kind, VisaResource::Kind::TcpipSocket);
    EXPECT_EQ(r.port, 5025);
    // IPv6 addresses in brackets, whose colons are no separators.
    ASSERT_EQ(ParseVisaResource("TCPIP0::[fe80::1%eth0]::inst0::INSTR", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.kind, VisaResource::Kind::TcpipInstr);
    EXPECT_EQ(r.host, "fe80::1%eth0");
    ASSERT_EQ(ParseVisaResource("TCPIP0::[::1]::5025::SOCKET", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.host, "::1");
    EXPECT_EQ(r.port, 5025);
    ASSERT_EQ(ParseVisaResource("TCPIP::[::1]", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.lanDevice, "inst0");
    ASSERT_EQ(ParseVisaResource("USB0::0x1AB1::0x0960::DSA8A123456::INSTR", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.kind, VisaResource::Kind::UsbInstr);
    EXPECT_EQ(r.usbVendor, 0x1AB1);
    EXPECT_EQ(r.usbProduct, 0x0960);
    EXPECT_EQ(r.usbSerial, "DSA8A123456");
    EXPECT_EQ(r.usbInterface, -1);
    ASSERT_EQ(ParseVisaResource("USB::6833::2400::SN1::2::INSTR", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.usbVendor, 6833);
    EXPECT_EQ(r.usbInterface, 2);
    ASSERT_EQ(ParseVisaResource("ASRL12::INSTR", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.kind, VisaResource::Kind::AsrlInstr);
    EXPECT_EQ(r.asrlPort, 12);
    ASSERT_EQ(ParseVisaResource("ASRL/dev/ttyUSB0::INSTR", &r), visa::VI_SUCCESS);
    EXPECT_EQ(r.asrlPath, "/dev/ttyUSB0");
}

TEST(VisaResourceNames, RefusesBrokenNames)
{
    VisaResource r;
    for (const char* bad : {"", "TCPIP0", "TCPIP0::", "TCPIP0::h::0::SOCKET", "TCPIP0::h::70000::SOCKET",
                            "TCPIP0::h::x::SOCKET", "USB0::0x1AB1::INSTR", "USB0::0x1G00::1::s::INSTR",
                            "USB0::0x10000::1::s::INSTR", "ASRL0::INSTR", "ASRLx::INSTR", "ASRL1::SOCKET",
                            "xxx.xxx.xxx.xxx", "TCPIPX::h::INSTR", "TCPIP0::h::SOCKET", "TCPIP0::[::1::INSTR",
                            "TCPIP0::[]::INSTR", "TCPIP0::[::1]x::INSTR", "TCPIP0::h::a::b::INSTR"})
        EXPECT_EQ(ParseVisaResource(bad, &r), visa::VI_ERROR_INV_RSRC_NAME) << bad;
    EXPECT_EQ(ParseVisaResource("GPIB0::5::INSTR", &r), visa::VI_ERROR_RSRC_NFOUND);
    // HiSLIP is a protocol of its own, not a VXI-11 device name.
    EXPECT_EQ(ParseVisaResource("TCPIP0::h::hislip0::INSTR", &r), visa::VI_ERROR_NSUP_OPER);
    EXPECT_EQ(ParseVisaResource("TCPIP0::h::HiSLIP1", &r), visa::VI_ERROR_NSUP_OPER);
}

TEST(VisaExpressions, MatchLikeVisa)
{
    struct Case {
        const char* expr;
        const char* name;
        bool match;
    } cases[] = {
        {"USB?*", "USB0::0x1AB1::0x0960::DSA8A1::INSTR", true},
        {"USB?*", "usb0::1::2::3::INSTR", true},
        {"USB?*", "ASRL1::INSTR", false},
        {"USB?*", "USB", true}, // "*" repeats the "?" zero or more times
        {"USB?+", "USB", false}, // "+" needs at least one
        {"?*INSTR", "ASRL3::INSTR", true},
        {"?*INSTR", "TCPIP0::h::5025::SOCKET", false},
        {"(USB|ASRL)?*", "ASRL/dev/ttyUSB0::INSTR", true},
        {"(USB|ASRL)?*", "TCPIP0::h::INSTR", false},
        {"ASRL[0-9]*::?*INSTR", "ASRL12::INSTR", true},
        {"ASRL[0-9]*::?*INSTR", "ASRL/dev/x::INSTR", false},
        {"ASRL[^/]+::INSTR", "ASRL1::INSTR", true},
        {"ASRL[^/]+::INSTR", "ASRL/dev/x::INSTR", false},
        {"TCPIP0::1.2.3.4::INSTR", "TCPIP0::1x2.3.4::INSTR", false}, // "." is literal
        {"A\\?B", "A?B", true},
        {"A\\?B", "AxB", false},
    };
    for (const Case& c : cases) {
        const auto rx = VisaExpressionToRegex(c.expr);
        ASSERT_TRUE(rx) << c.expr;
        EXPECT_EQ(rx->match(c.name).hasMatch(), c.match) << c.expr << " vs " << c.name;
    }
    for (const char* bad : {"", "*USB", "USB[", "(USB", "USB)", "USB?*{VI_ATTR_MANF_ID==0x1AB1}", "A\\"})
        EXPECT_FALSE(VisaExpressionToRegex(bad)) << bad;
}

TEST(VisaDiscovery, FindsUsbtmcDevicesAndSerialPortsBelowSys)
{
    QTemporaryDir root;
    QDir d(root.path());
    // A USB device with a USBTMC interface, as sysfs shows it.
    ASSERT_TRUE(d.mkpath("devices/usb1/1-1/1-1:1.0"));
    ASSERT_TRUE(testsupport::WriteAll(root.filePath("devices/usb1/1-1/idVendor"), "1ab1\n"));
    ASSERT_TRUE(testsupport::WriteAll(root.filePath("devices/usb1/1-1/idProduct"), "0960\n"));
    ASSERT_TRUE(testsupport::WriteAll(root.filePath("devices/usb1/1-1/serial"), "DSA8A1234567890\n"));
    ASSERT_TRUE(testsupport::WriteAll(root.filePath("devices/usb1/1-1/1-1:1.0/bInterfaceNumber"), "00\n"));
    ASSERT_TRUE(d.mkpath("class/usbmisc/usbtmc0"));
    ASSERT_TRUE(MakeLink(root.filePath("devices/usb1/1-1/1-1:1.0"), root.filePath("class/usbmisc/usbtmc0/device")));
    // A real UART (type 4), an absent one (type 0) and a USB serial adapter.
    for (const char* n : {"ttyS0", "ttyS1", "ttyUSB0"})
        ASSERT_TRUE(d.mkpath(QString("class/tty/") + n + "/device"));
    ASSERT_TRUE(testsupport::WriteAll(root.filePath("class/tty/ttyS0/type"), "4\n"));
    ASSERT_TRUE(testsupport::WriteAll(root.filePath("class/tty/ttyS1/type"), "0\n"));

    BuiltinVisaOptions o;
    o.sysRoot = root.path();
    o.devRoot = root.filePath("dev");
    BuiltinVisaBackEnd lib(o);
    EXPECT_EQ(lib.ListResources(), QStringList({"USB0::0x1AB1::0x0960::DSA8A1234567890::INSTR", "ASRL1::INSTR",
                                                "ASRL" + root.filePath("dev") + "/ttyUSB0::INSTR"}));

    ViSession rm = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    ViFindList list = 0;
    ViUInt32 count = 0;
    char desc[256] = {};
    ASSERT_EQ(lib.viFindRsrc(rm, "USB?*", &list, &count, desc), visa::VI_SUCCESS);
    EXPECT_EQ(count, 1u);
    EXPECT_STREQ(desc, "USB0::0x1AB1::0x0960::DSA8A1234567890::INSTR");
    EXPECT_EQ(lib.viFindNext(list, desc), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(lib.viClose(list), visa::VI_SUCCESS);

    ASSERT_EQ(lib.viFindRsrc(rm, "ASRL?*", &list, &count, desc), visa::VI_SUCCESS);
    EXPECT_EQ(count, 2u);
    EXPECT_STREQ(desc, "ASRL1::INSTR");
    ASSERT_EQ(lib.viFindNext(list, desc), visa::VI_SUCCESS);
    EXPECT_TRUE(QString(desc).endsWith("/ttyUSB0::INSTR"));

    EXPECT_EQ(lib.viFindRsrc(rm, "GPIB?*", &list, &count, desc), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(lib.viFindRsrc(rm, "USB[", &list, &count, desc), visa::VI_ERROR_INV_EXPR);
    // The device node is missing here: opening the found resource fails cleanly.
    ViSession vi = 0;
    EXPECT_EQ(lib.viOpen(rm, "USB0::0x1AB1::0x0960::DSA8A1234567890::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    EXPECT_EQ(lib.viOpen(rm, "USB0::0x1AB1::0x0961::DSA8A1234567890::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
}

TEST(VisaUsbtmc, MessagesMapToDriverReadsAndWrites)
{
    // A datagram socket pair behaves like the driver: one write is one message, one read returns
    // one message.
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
    UsbtmcTransport t(fds[0]);
    size_t n = 0;
    // Pieces of one message reach the device as one.
    EXPECT_EQ(t.Write(reinterpret_cast<const uint8_t*>(":TRAC"), 5, false, 1000, &n), visa::VI_SUCCESS);
    EXPECT_EQ(t.Write(reinterpret_cast<const uint8_t*>(":DATA?"), 6, true, 1000, &n), visa::VI_SUCCESS);
    char got[64] = {};
    EXPECT_EQ(::read(fds[1], got, sizeof got), 11);
    EXPECT_EQ(QByteArray(got, 11), ":TRAC:DATA?");

    const QByteArray answer = "#14\n\n\n\n\n";
    ASSERT_EQ(::write(fds[1], answer.constData(), answer.size()), answer.size());
    uint8_t buf[64];
    bool end = false;
    EXPECT_EQ(t.Read(buf, 3, 1000, &n, &end), visa::VI_SUCCESS);
    EXPECT_EQ(n, 3u);
    EXPECT_FALSE(end);
    EXPECT_EQ(t.Read(buf, 64, 1000, &n, &end), visa::VI_SUCCESS);
    EXPECT_EQ(n, static_cast<size_t>(answer.size() - 3));
    EXPECT_TRUE(end);
    EXPECT_EQ(t.Read(buf, 64, 50, &n, &end), visa::VI_ERROR_TMO);

    // An answer of exactly one driver read ends there, and is not taken for the first part of
    // a longer one (whose next part would never come).
    const QByteArray exact(65536, 'x');
    ASSERT_EQ(::write(fds[1], exact.constData(), exact.size()), exact.size());
    std::vector<uint8_t> big(70000);
    EXPECT_EQ(t.Read(big.data(), big.size(), 5000, &n, &end), visa::VI_SUCCESS);
    EXPECT_EQ(n, 65536u);
    EXPECT_TRUE(end);
    ::close(fds[1]);
    EXPECT_EQ(t.Read(buf, 64, 1000, &n, &end), visa::VI_ERROR_CONN_LOST);
}

TEST(VisaSerial, PseudoTerminalWithLineSettings)
{
    SimulatorOptions o;
    o.pty = true;
    o.family = "ssa3032x";
    Simulator sim(o);
    QString error;
    ASSERT_TRUE(sim.Start(&error)) << error.toStdString();

    // Another program left the line with software flow control on.
    const QByteArray tty = sim.PtyPath().toLocal8Bit();
    const int other = ::open(tty.constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    termios t{};
    ASSERT_EQ(::tcgetattr(other, &t), 0);
    t.c_iflag |= IXON | IXOFF | IXANY;
    ASSERT_EQ(::tcsetattr(other, TCSANOW, &t), 0);

    BuiltinVisaBackEnd lib;
    ViSession rm = 0, vi = 0;
    ASSERT_EQ(lib.viOpenDefaultRM(&rm), visa::VI_SUCCESS);
    const QByteArray rsrc = ("ASRL" + sim.PtyPath() + "::INSTR").toLatin1();
    ASSERT_EQ(lib.viOpen(rm, rsrc.constData(), 0, 0, &vi), visa::VI_SUCCESS);
    // Flow control is off: an XOFF byte in an answer would otherwise stop the line.
    ASSERT_EQ(::tcgetattr(other, &t), 0);
    EXPECT_EQ(t.c_iflag & (IXON | IXOFF | IXANY), 0u);
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    ::close(other);
    ViUInt32 baud = 0;
    ASSERT_EQ(lib.viGetAttribute(vi, visa::VI_ATTR_ASRL_BAUD, &baud), visa::VI_SUCCESS);
    EXPECT_EQ(baud, 9600u);
    ViUInt16 bits = 0;
    ASSERT_EQ(lib.viGetAttribute(vi, visa::VI_ATTR_ASRL_DATA_BITS, &bits), visa::VI_SUCCESS);
    EXPECT_EQ(bits, 8);
    ASSERT_EQ(lib.viSetAttribute(vi, visa::VI_ATTR_ASRL_BAUD, 4800), visa::VI_SUCCESS);
    ASSERT_EQ(lib.viGetAttribute(vi, visa::VI_ATTR_ASRL_BAUD, &baud), visa::VI_SUCCESS);
    EXPECT_EQ(baud, 4800u);
    EXPECT_EQ(lib.viSetAttribute(vi, visa::VI_ATTR_ASRL_BAUD, 12345), visa::VI_ERROR_NSUP_ATTR_STATE);
    EXPECT_EQ(lib.viSetAttribute(vi, visa::VI_ATTR_ASRL_STOP_BITS, 15), visa::VI_ERROR_NSUP_ATTR_STATE);
    ViUInt16 intf = 0;
    ASSERT_EQ(lib.viGetAttribute(vi, visa::VI_ATTR_INTF_TYPE, &intf), visa::VI_SUCCESS);
    EXPECT_EQ(intf, visa::VI_INTF_ASRL);

    // Serial writes go out as given: the line end is the caller's.
    const QByteArray q = "*IDN?\n";
    ViUInt32 n = 0;
    ASSERT_EQ(lib.viWrite(vi, reinterpret_cast<const ViByte*>(q.constData()), q.size(), &n), visa::VI_SUCCESS);
    EXPECT_EQ(n, static_cast<ViUInt32>(q.size()));
    char buf[256];
    ASSERT_EQ(lib.viRead(vi, reinterpret_cast<ViByte*>(buf), sizeof buf, &n), visa::VI_SUCCESS);
    EXPECT_EQ(QByteArray(buf, n), sim.Instrument().Family().idn.toLatin1() + "\n");
    EXPECT_EQ(lib.viClose(vi), visa::VI_SUCCESS);

    EXPECT_EQ(lib.viOpen(rm, "ASRL/nonexistent/tty::INSTR", 0, 0, &vi), visa::VI_ERROR_RSRC_NFOUND);
    // A file that is no terminal is no serial port.
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::WriteAll(dir.filePath("plain"), "x"));
    EXPECT_EQ(lib.viOpen(rm, ("ASRL" + dir.filePath("plain") + "::INSTR").toLatin1().constData(), 0, 0, &vi),
              visa::VI_ERROR_RSRC_NFOUND);
}
