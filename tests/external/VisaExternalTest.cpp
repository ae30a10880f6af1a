// The simulator against VISA and LXI clients we did not write: PyVISA with its pure-Python back
// end (VXI-11 and raw socket) and the lxi command-line tool. Each must get the right
// identification and a whole trace block; PyVISA's status-byte read sees MAV.
#include "tools/sim/Simulator.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <bit>
#include <gtest/gtest.h>

namespace {

constexpr int kClientTimeoutMs = 60000;

struct Result {
    bool ran = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Result RunClient(const QString& program, const QStringList& args)
{
    Result r;
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return r;
    if (!p.waitForFinished(kClientTimeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
        r.err = "timed out";
        return r;
    }
    r.ran = true;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

// The first Python that has PyVISA and its pure-Python back end (the system one; a Python of a
// version manager on the PATH may lack them).
QString PythonWithPyvisa()
{
    for (const QString& py : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        const Result r = RunClient(py, {"-c", "import pyvisa, pyvisa_py"});
        if (r.ran && r.exitCode == 0)
            return py;
    }
    return {};
}

// A simulator on the standard VXI-11 program number, which is what the outside clients look up;
// the registration is shared by all processes, so the simulator takes it in turns (lock file).
std::unique_ptr<Simulator> StartStandardSimulator(const QString& family, QString* error)
{
    SimulatorOptions o;
    o.family = family;
    o.seed = 21;
    o.tcpPort = 0;
    o.vxi11 = true;
    auto sim = std::make_unique<Simulator>(o);
    if (!sim->Start(error))
        return nullptr;
    return sim;
}

const char* kPyvisaScript = R"(
import sys, pyvisa
rm = pyvisa.ResourceManager('@py')
kw = {}
if sys.argv[1].endswith('SOCKET'):
    kw = dict(read_termination='\n', write_termination='\n')
i = rm.open_resource(sys.argv[1], **kw)
i.timeout = 10000
print(i.query('*IDN?').strip())
i.write(':FORM:TRACE:DATA REAL,32')
v = i.query_binary_values(':TRAC:DATA? TRACE1', datatype='f', is_big_endian=True)
print(len(v))
print(' '.join(repr(x) for x in v))
print(i.query('*ESR?').strip())
if not sys.argv[1].endswith('SOCKET'):
    # The status byte by its own call (VXI-11 device_readstb): MAV while an answer waits.
    i.write('*IDN?')
    waiting = i.read_stb() & 16
    i.read()
    print(waiting, i.read_stb() & 16)
i.close()
)";

void CheckPyvisa(Simulator& sim, const QString& python, const QString& resource)
{
    const Result r = RunClient(python, {"-c", kPyvisaScript, resource});
    ASSERT_TRUE(r.ran) << r.err.constData();
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    const bool vxi11 = !resource.endsWith("SOCKET");
    ASSERT_EQ(lines.size(), vxi11 ? 5 : 4) << r.out.constData();
    EXPECT_EQ(QString::fromLatin1(lines[0]), sim.Instrument().Family().idn);
    EXPECT_EQ(lines[1], "601");
    const QList<QByteArray> values = lines[2].split(' ');
    const std::vector<double> expected = sim.Instrument().TraceSnapshot();
    ASSERT_EQ(values.size(), 601);
    for (int k = 0; k < 601; ++k)
        ASSERT_FLOAT_EQ(values[k].toFloat(), static_cast<float>(expected[static_cast<size_t>(k)])) << k;
    // The link is still in step after the block.
    EXPECT_EQ(lines[3], "0");
    if (vxi11) {
        EXPECT_EQ(lines[4], "16 0");
    }
}

// lxi prints "0x23 0x36 ..." for -x.
QByteArray FromHexDump(const QByteArray& dump)
{
    QByteArray bytes;
    for (const QByteArray& token : dump.simplified().split(' ')) {
        bool ok = false;
        const uint v = token.toUInt(&ok, 16); // "0x"-prefixed hex
        if (ok && v <= 0xFF)
            bytes.append(static_cast<char>(v));
    }
    return bytes;
}

} // namespace

TEST(VisaExternal, PyvisaOverVxi11AndRawSocket)
{
    const QString python = PythonWithPyvisa();
    ASSERT_FALSE(python.isEmpty()) << "python3-pyvisa-py is not installed (scripts/setup.sh installs it)";
    QString error;
    auto sim = StartStandardSimulator("dsa815", &error);
    ASSERT_TRUE(sim) << error.toStdString();
    CheckPyvisa(*sim, python, "TCPIP0::127.0.0.1::INSTR");
    CheckPyvisa(*sim, python, QStringLiteral("TCPIP0::127.0.0.1::%1::SOCKET").arg(sim->TcpPort()));
    // Both clients' traffic reached the simulator over the transports it came by.
    bool viaVxi = false, viaTcp = false;
    for (const SimLogEntry& e : sim->Instrument().CommandLog()) {
        viaVxi = viaVxi || (e.transport == "vxi11" && e.message == "*IDN?");
        viaTcp = viaTcp || (e.transport == "tcp" && e.message == "*IDN?");
    }
    EXPECT_TRUE(viaVxi);
    EXPECT_TRUE(viaTcp);
}

TEST(VisaExternal, LxiOverVxi11AndRawSocket)
{
    const QString lxi = QStandardPaths::findExecutable("lxi");
    ASSERT_FALSE(lxi.isEmpty()) << "lxi-tools is not installed (scripts/setup.sh installs it)";
    QString error;
    auto sim = StartStandardSimulator("rsa5065", &error);
    ASSERT_TRUE(sim) << error.toStdString();
    const QString idn = sim->Instrument().Family().idn;

    Result r = RunClient(lxi, {"scpi", "-a", "127.0.0.1", "-t", "10", "*IDN?"});
    ASSERT_TRUE(r.ran) << r.err.constData();
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QString::fromLatin1(r.out.trimmed()), idn);

    // The RSA's "#6" block in dBm, as hex so that no byte is lost on the way.
    r = RunClient(lxi, {"scpi", "-a", "127.0.0.1", "-t", "10", "-x", ":TRAC:DATA? TRACE1"});
    ASSERT_TRUE(r.ran) << r.err.constData();
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    const QByteArray block = FromHexDump(r.out);
    ASSERT_GE(block.size(), 601 * 4 + 8) << r.out.left(200).constData();
    EXPECT_TRUE(block.startsWith("#6002404"));
    const std::vector<double> expected = sim->Instrument().TraceSnapshot();
    for (int k = 0; k < 601; k += 60) {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = bits << 8 | static_cast<uint8_t>(block[8 + 4 * k + i]);
        EXPECT_NEAR(std::bit_cast<float>(bits) + 106.99, expected[static_cast<size_t>(k)], 1e-3) << k;
    }

    r = RunClient(lxi, {"scpi", "-a", "127.0.0.1", "-r", "-p", QString::number(sim->TcpPort()), "-t", "10", "*IDN?"});
    ASSERT_TRUE(r.ran) << r.err.constData();
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QString::fromLatin1(r.out.trimmed()), idn);
}

TEST(VisaExternal, SimulatorProgramServesPyvisaAsAChildProcess)
{
    const QString python = PythonWithPyvisa();
    ASSERT_FALSE(python.isEmpty()) << "python3-pyvisa-py is not installed";
    const QString exe = QStringLiteral(ZENDRIK_BINARY_DIR "/tools/sim/zendrik-sim");
    ASSERT_TRUE(QFile::exists(exe)) << "build the zendrik-sim target first";
    // Find a free port for the program, as run.sh gives it 5025.
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    QProcess sim;
    sim.start(exe, {"--tcp", QString::number(port), "--family", "sva1032x", "--time-scale", "0.01"});
    ASSERT_TRUE(sim.waitForStarted(5000));
    ASSERT_TRUE(sim.waitForReadyRead(10000)) << sim.readAllStandardError().constData();
    const QString script = QStringLiteral(
        "import pyvisa\n"
        "rm = pyvisa.ResourceManager('@py')\n"
        "i = rm.open_resource('TCPIP0::127.0.0.1::%1::SOCKET', read_termination='\\n', write_termination='\\n')\n"
        "i.timeout = 10000\n"
        "print(i.query('*IDN?').strip())\n"
        "v = i.query(':TRACe:DATA? 1')\n"
        "print(len(v.split(',')))\n").arg(port);
    const Result r = RunClient(python, {"-c", script});
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
    ASSERT_TRUE(r.ran) << r.err.constData();
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Siglent Technologies,SVA1032X,SVA1XAB1234567,2.1.1.2");
    EXPECT_EQ(lines[1], "751");
}
