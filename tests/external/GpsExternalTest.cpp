// The GPS receiver against python3-nmea2: its reading of the stored "$GPRMC" sentences equals
// our decoder's, and every sentence our program sends, as the simulator program logs it, parses
// there with a valid checksum.
#include "app/AdvancedSettings.h"
#include "app/Log.h"
#include "common/TestSupport.h"
#include "instrument/GpsReceiver.h"
#include "instrument/InstrumentStatus.h"
#include "instrument/ScpiContext.h"
#include "instrument/DeviceState.h"
#include "instrument/visa/BuiltinVisaBackEnd.h"
#include "instrument/visa/VisaSession.h"
#include "platform/system/EventPump.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The system Python, where Debian installs python3-nmea2 (a Python of a version manager on the
// PATH may lack it).
QString PythonWithNmea2()
{
    for (const QString& py : {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")}) {
        QProcess p;
        p.start(py, {"-c", "import pynmea2"});
        if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
            return py;
    }
    return {};
}

QByteArray RunPython(const QString& python, const QStringList& args, QByteArray* err)
{
    QProcess p;
    p.start(python, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        *err = p.readAllStandardError();
        return {};
    }
    return p.readAllStandardOutput();
}

} // namespace

TEST(GpsExternal, DecoderAgreesWithNmea2OnTheStoredSentences)
{
    const QString python = PythonWithNmea2();
    ASSERT_FALSE(python.isEmpty()) << "python3-nmea2 is not installed (scripts/setup.sh installs it)";
    QByteArray err;
    const QByteArray live = RunPython(python, {testsupport::DataPath("gps/make_rmc_reference.py")}, &err);
    ASSERT_FALSE(live.isEmpty()) << err.constData();
    // The stored expectations are what the library says today.
    EXPECT_EQ(live, testsupport::ReadAll(testsupport::DataPath("gps/rmc_reference.txt")));
    for (const QByteArray& line : live.split('\n')) {
        if (line.isEmpty())
            continue;
        const QStringList e = QString::fromLatin1(line).split('\t');
        const GprmcDecode d = DecodeGprmc(e[0].toLatin1());
        const GpsDisplay& s = d.Display;
        const QStringList ours = d.Result == GprmcDecode::Outcome::BadChecksum
                                     ? QStringList({e[0], "badchecksum"})
                                     : QStringList({e[0], "position", s.Utc, s.Date, s.Status, s.Ns, s.Ew, s.Speed,
                                                    s.LatDec, s.LonDec});
        EXPECT_EQ(ours, e);
    }
}

TEST(GpsExternal, EverySentenceTheProgramSendsParsesInNmea2)
{
    const QString python = PythonWithNmea2();
    ASSERT_FALSE(python.isEmpty()) << "python3-nmea2 is not installed (scripts/setup.sh installs it)";
    const QString exe = QStringLiteral(ZENDRIK_BINARY_DIR "/tools/sim/zendrik-sim");
    ASSERT_TRUE(QFile::exists(exe)) << "build the zendrik-sim target first";
    QTemporaryDir dir;
    const QString log = dir.filePath("nmea.log");
    QProcess sim;
    sim.start(exe, {"--pty", "--gps", "--log", log});
    ASSERT_TRUE(sim.waitForStarted(5000));
    QByteArray banner;
    static const QRegularExpression resource("ASRL(\\S+)::INSTR");
    while (!resource.match(QString::fromLatin1(banner)).hasMatch() && sim.waitForReadyRead(10000))
        banner += sim.readAllStandardOutput();
    const QString pty = resource.match(QString::fromLatin1(banner)).captured(1);
    ASSERT_FALSE(pty.isEmpty()) << banner.constData() << sim.readAllStandardError().constData();

    {
        VisaState visa;
        DeviceState device;
        AdvancedSettings options;
        DebugLog debug;
        MessageLog messages;
        VirtualEventPump pump;
        InstrumentStatus status;
        ScpiContext c{visa, device, options, debug, messages, pump, status};
        GpsReceiverState gps;
        QStringList dialogs;
        visa.ShowErrorDialog = [&](const QString& t) { dialogs << t; };
        LoadVisaLibrary(visa, debug, std::make_unique<BuiltinVisaBackEnd>());
        ASSERT_TRUE(ConnectGpsReceiver(c, gps, pty).Connected) << dialogs.join("|").toStdString();
        for (int i = 0; i < 3; ++i)
            PollGpsReceiver(c, gps);
        EXPECT_EQ(gps.View.Display.Status, "fix");
        EXPECT_EQ(GpsReceiverInfoLines(c, gps).value(0), "$PERDINFO,OPUS3PVT,zendrik-sim receiver,1.00*40");
        CloseGpsReceiver(c, gps);
        EXPECT_TRUE(dialogs.isEmpty()) << dialogs.join("|").toStdString();
    }
    sim.terminate();
    ASSERT_TRUE(sim.waitForFinished(10000));

    // "<time>\t<transport>\t<sentence>": the transport says "pty-ignored" for a sentence without
    // CR LF or with a wrong checksum.
    const char* script = R"(
import sys, pynmea2
for line in open(sys.argv[1]):
    t, transport, sentence = line.rstrip('\n').split('\t')
    m = pynmea2.parse(sentence, check=True)
    print(transport, type(m).__name__, sentence)
)";
    QByteArray err;
    const QByteArray parsed = RunPython(python, {"-c", script, log}, &err);
    ASSERT_FALSE(parsed.isEmpty()) << err.constData();
    const QStringList lines = QString::fromLatin1(parsed).trimmed().split('\n');
    ASSERT_EQ(lines.size(), 12) << parsed.constData();
    EXPECT_EQ(lines[0], "pty ProprietarySentence $PERDOUT,GGA,0*3C");
    EXPECT_EQ(lines[6], "pty ProprietarySentence $PERDDBG,NMEA,OFF*0A");
    EXPECT_EQ(lines[7], "pty ProprietarySentence $PERDINFO*0D");
    for (int i = 8; i < 11; ++i)
        EXPECT_EQ(lines[i], "pty QuerySentence $GPGPQ,RMC*21");
    EXPECT_EQ(lines[11], "pty ProprietarySentence $PERDINFO*0D");
}
