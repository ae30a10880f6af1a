// The GPS receiver over the built-in VISA back end against the simulated NMEA receiver on a
// pseudo-terminal: connect, polls along the simulated drive, every fault, a scripted port at
// 4800 baud, and analysers connected beside it. (The decoder's agreement with python3-nmea2 on
// the stored sentences of tests/data/gps is an external test.)
#include "common/TestSupport.h"
#include "instrument/GpsReceiver.h"
#include "instrument/InstrumentConnection.h"
#include "tools/sim/Simulator.h"
#include "ScpiFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>

namespace {

// The program's instrument state with a receiver, over the built-in back end.
struct Receiver {
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
    int timerStops = 0;
    int beeps = 0;

    explicit Receiver(std::unique_ptr<VisaBackEnd> backEnd = std::make_unique<BuiltinVisaBackEnd>())
    {
        debug.DebugMode = 1;
        debug.TimeText = [] { return QStringLiteral("T"); };
        LoadVisaLibrary(visa, debug, std::move(backEnd));
        visa.ShowErrorDialog = [this](const QString& t) { dialogs << t; };
        visa.StopCoverageTimer = [this](const QString&) { ++timerStops; };
        gps.Beep = [this](int hz, int ms) { beeps += hz == 2000 && ms == 300; };
        device.ConnectionKind = LinkKind::GpsReceiver;
    }
    ~Receiver()
    {
        CloseGpsReceiver(c, gps);
        CloseVisaSessions(visa);
    }
    // Poll answers come at once; a receiver that says nothing should not hold a test for 2 s.
    void ShortTimeout() { visa.VisaLibrary->viSetAttribute(visa.GpsSession, visa::VI_ATTR_TMO_VALUE, 300); }
};

std::unique_ptr<Simulator> StartReceiver(bool gps = true, const QString& family = "dsa815")
{
    SimulatorOptions o;
    o.pty = true;
    o.gps = gps;
    o.family = family;
    auto sim = std::make_unique<Simulator>(o);
    QString error;
    EXPECT_TRUE(sim->Start(&error)) << error.toStdString();
    return sim;
}

QStringList Logged(NmeaReceiver& r)
{
    QStringList out;
    for (const SimLogEntry& e : r.SentenceLog())
        out << e.transport + " " + QString::fromLatin1(e.message);
    return out;
}

// A back end whose serial ports all run at 4800 baud and record what is written to them.
class SlowPortBackEnd final : public VisaBackEnd {
public:
    std::shared_ptr<ScriptedPeer> peer = std::make_shared<ScriptedPeer>();
    ViStatus viOpen(ViSession rm, const char* r, ViUInt32, ViUInt32, ViSession* s) override
    {
        return inner_.OpenWithTransport(rm, r, std::make_unique<ScriptedTransport>(peer), s);
    }
    ViStatus viOpenDefaultRM(ViSession* rm) override { return inner_.viOpenDefaultRM(rm); }
    ViStatus viFindRsrc(ViSession rm, const char* e, ViFindList* l, ViUInt32* n, char* d) override
    {
        return inner_.viFindRsrc(rm, e, l, n, d);
    }
    ViStatus viFindNext(ViFindList l, char* d) override { return inner_.viFindNext(l, d); }
    ViStatus viWrite(ViSession s, const ViByte* b, ViUInt32 n, ViUInt32* w) override { return inner_.viWrite(s, b, n, w); }
    ViStatus viRead(ViSession s, ViByte* b, ViUInt32 n, ViUInt32* r) override { return inner_.viRead(s, b, n, r); }
    ViStatus viClose(ViObject o) override { return inner_.viClose(o); }
    ViStatus viFlush(ViSession s, ViUInt16 m) override { return inner_.viFlush(s, m); }
    ViStatus viGetAttribute(ViObject o, ViAttr a, void* v) override
    {
        if (a != visa::VI_ATTR_ASRL_BAUD)
            return inner_.viGetAttribute(o, a, v);
        *static_cast<ViUInt32*>(v) = 4800;
        return visa::VI_SUCCESS;
    }
    ViStatus viSetAttribute(ViObject o, ViAttr a, ViAttrState v) override { return inner_.viSetAttribute(o, a, v); }
    ViStatus viClear(ViSession s) override { return inner_.viClear(s); }
    uintptr_t Handle() const override { return 1; }
    uintptr_t EntryPointAddress(int) const override { return 0; }
    QString Description() const override { return "4800 baud"; }

private:
    BuiltinVisaBackEnd inner_;
};

} // namespace

TEST(GpsSentence, AnswersOfAnotherKindAreToldApart)
{
    EXPECT_EQ(DecodeGprmc("$GPRMC,093000.00,A*1C\r\n").Result, GprmcDecode::Outcome::MissingValues);
    EXPECT_EQ(DecodeGprmc("").Result, GprmcDecode::Outcome::MissingValues);
    const GprmcDecode other = DecodeGprmc(NmeaReceiver::Sentence("GPGGA,093000.00,4808.0000,N,01134.0000,E,1,08,0.9,,"));
    EXPECT_EQ(other.Result, GprmcDecode::Outcome::WrongSentence);
    EXPECT_EQ(other.SentenceName, "$GPGGA");
}

TEST(GpsSentence, APlaceOffTheGlobeIsNoPosition)
{
    auto decode = [](const char* lat, const char* ns, const char* lon, const char* ew) {
        return DecodeGprmc(NmeaReceiver::Sentence(QByteArray("GPRMC,093000.00,A,") + lat + ',' + ns + ',' + lon + ',' +
                                                  ew + ",0.0,0.0,140326,,,A"));
    };
    EXPECT_NEAR(*decode("8959.9999", "S", "17959.9999", "W").Longitude, -(179 + 59.9999 / 60), 1e-9);
    for (const GprmcDecode& d : {decode("9000.5000", "N", "01134.0000", "E"), decode("4808.0000", "N", "18000.5000", "E"),
                                 decode("4860.0000", "N", "01134.0000", "E"), decode("4808.0000", "N", "121581.436", "W")}) {
        EXPECT_EQ(d.Result, GprmcDecode::Outcome::Position);
        EXPECT_FALSE(d.Latitude.has_value());
        EXPECT_EQ(d.Display.Status, "nofix");
    }
    // A speed no vehicle drives reads as none, as one that is no number does.
    for (const char* knots : {"1e308", "-5", "1000.1", "x"})
        EXPECT_EQ(DecodeGprmc(NmeaReceiver::Sentence(QByteArray("GPRMC,0,A,4808.0,N,01134.0,E,") + knots + ",0,1,,,A"))
                      .Display.Speed, "0") << knots;
}

TEST(GpsReceiver, PortNamesAndTheSerialDevicesPresent)
{
    EXPECT_EQ(SerialResourceName("COM1"), "ASRL1::INSTR");
    EXPECT_EQ(SerialResourceName("com12"), "ASRL12::INSTR");
    EXPECT_EQ(SerialResourceName("/dev/ttyUSB0"), "ASRL/dev/ttyUSB0::INSTR");
    EXPECT_EQ(SerialResourceName("ttyUSB0"), "");
    QTemporaryDir dev;
    for (const char* name : {"ttyUSB1", "ttyUSB0", "ttyACM0", "ttyS0", "serial/by-id/usb-u-blox_GNSS-if00"})
        ASSERT_TRUE(testsupport::WriteAll(dev.filePath(name), ""));
    const QStringList ports = SerialPortChoices(dev.path());
    ASSERT_EQ(ports.size(), 23);
    EXPECT_EQ(ports.mid(17, 2), QStringList({"COM18", "COM20"}));
    EXPECT_EQ(ports.mid(19), QStringList({dev.filePath("ttyACM0"), dev.filePath("ttyUSB0"), dev.filePath("ttyUSB1"),
                                          dev.filePath("serial/by-id/usb-u-blox_GNSS-if00")}));
}

TEST(GpsReceiver, ConnectsOnCom12AndFollowsTheDriveThroughStandstills)
{
    auto sim = StartReceiver();
    QTemporaryDir dev;
    // COM12 is the twelfth serial port, /dev/ttyS11: here the simulator's pseudo-terminal.
    ASSERT_TRUE(QFile::link(sim->PtyPath(), dev.filePath("ttyS11")));
    BuiltinVisaOptions o;
    o.devRoot = dev.path();
    Receiver r(std::make_unique<BuiltinVisaBackEnd>(o));
    const SerialConnectOutcome out = ConnectSerial(r.c, r.gps, "COM12");
    EXPECT_EQ(out.Resource, "ASRL12::INSTR");
    ASSERT_TRUE(out.Connected) << r.dialogs.join("|").toStdString();
    EXPECT_EQ(r.gps.GpsConnected, 1);
    EXPECT_EQ(Logged(*sim->Gps()),
              QStringList({"pty $PERDOUT,GGA,0*3C", "pty $PERDOUT,GLL,0*3A", "pty $PERDOUT,GSA,0*28",
                           "pty $PERDOUT,GSV,0*3F", "pty $PERDOUT,RMC,0*21", "pty $PERDOUT,ZDA,0*22",
                           "pty $PERDDBG,NMEA,OFF*0A", "pty $PERDINFO*0D"}));
    EXPECT_TRUE(r.debug.Lines().contains("T: Info: viRead:  " + QString::fromLatin1(NmeaReceiver::Identification(false))));
    EXPECT_EQ(r.pump.TickCount(), 2000u);

    // One full round of the drive: standstill, 10 knots, standstill, 25.5 knots, 5 knots.
    r.gps.View.Beep = true;
    size_t points = 0;
    for (int step = 0; step < 23; ++step) {
        PollGpsReceiver(r.c, r.gps);
        const NmeaFix fix = NmeaReceiver::RouteAt(step);
        const GpsDisplay& s = r.gps.View.Display;
        EXPECT_EQ(s.Status, "fix") << step;
        EXPECT_EQ(s.Utc, QStringLiteral("0930%1.00").arg(step, 2, 10, QChar('0'))) << step;
        EXPECT_EQ(s.Date, "140326");
        EXPECT_EQ(s.Ns + s.Ew, "NE");
        // Four decimals of a minute are 1.7e-6 degrees.
        EXPECT_NEAR(s.LatDec.toDouble(), fix.latitude, 1e-6) << step;
        EXPECT_NEAR(s.LonDec.toDouble(), fix.longitude, 1e-6) << step;
        EXPECT_EQ(s.LatDec.size(), 13);
        EXPECT_EQ(s.Speed, fix.speedKnots == 10 ? "18.52" : fix.speedKnots == 0 ? "0" : QString::number(fix.speedKnots * 1.852));
        // Standing still adds no point and no beep while "skip non moving" is checked.
        if (fix.speedKnots > 0) {
            ASSERT_EQ(r.gps.View.Track.size(), ++points) << step;
            EXPECT_NEAR(r.gps.View.Track.back().Longitude, s.LonDec.toDouble(), 1e-10);
            EXPECT_NEAR(r.gps.View.Track.back().Latitude, s.LatDec.toDouble(), 1e-10);
        }
        EXPECT_EQ(r.gps.View.Track.size(), points) << step;
    }
    EXPECT_EQ(points, 18u);
    EXPECT_EQ(r.beeps, 18);
    EXPECT_EQ(r.gps.View.Memo.last(), "T;093022.00;fix;" + r.gps.View.Display.LatDec + ";N;" +
                                          r.gps.View.Display.LonDec + ";E;9.26;140326");
    // Unchecked, the next standstill is a point too.
    r.gps.View.SkipNonMoving = false;
    PollGpsReceiver(r.c, r.gps);
    EXPECT_EQ(r.gps.View.Display.Speed, "0");
    EXPECT_EQ(r.gps.View.Track.size(), 19u);
    EXPECT_TRUE(r.dialogs.isEmpty()) << r.dialogs.join("|").toStdString();
    EXPECT_EQ(r.timerStops, 0);
}

TEST(GpsReceiver, EachFaultGivesItsDialogAndStopsTheLogging)
{
    auto sim = StartReceiver();
    Receiver r;
    ASSERT_TRUE(ConnectGpsReceiver(r.c, r.gps, sim->PtyPath()).Connected);
    r.ShortTimeout();
    r.gps.View.SkipNonMoving = false;
    r.visa.SilenceIsLoss = true; // as in a coverage tick: the receiver's silence is no lost link
    PollGpsReceiver(r.c, r.gps);
    ASSERT_EQ(r.gps.View.Display.Status, "fix");
    const GpsDisplay fix = r.gps.View.Display;

    const struct {
        const char* fault;
        const char* dialog;
    } faults[] = {{"no-answer", "ViRead GPS: could not read gps data!"},
                  {"few-fields", "ViRead GPS NMEA: missing values ,try to connect GPS again!"},
                  {"other-sentence", "ViRead GPS wrong NMEA: $GPGGA try to connect GPS again!"}};
    for (const auto& f : faults) {
        NmeaFaults n;
        ASSERT_TRUE(n.Parse(f.fault, nullptr));
        sim->Gps()->SetFaults(n);
        const int stops = r.timerStops;
        r.dialogs.clear();
        PollGpsReceiver(r.c, r.gps);
        EXPECT_EQ(r.dialogs, QStringList({f.dialog})) << f.fault;
        EXPECT_EQ(r.timerStops, stops + 1) << f.fault;
        EXPECT_EQ(r.gps.View.Display.Utc, fix.Utc) << f.fault; // nothing taken
    }
    EXPECT_EQ(r.gps.View.Track.size(), 1u);

    // No fix: the texts follow the receiver, but there is no position and no point.
    r.dialogs.clear();
    sim->Gps()->SetFaults(NmeaFaults{.noFix = true});
    PollGpsReceiver(r.c, r.gps);
    EXPECT_EQ(r.gps.View.Display.Status, "nofix");
    EXPECT_NE(r.gps.View.Display.Utc, fix.Utc);
    EXPECT_TRUE(r.gps.View.Display.LatDec.isEmpty() && r.gps.View.Display.LonDec.isEmpty());
    EXPECT_EQ(r.gps.View.Track.size(), 1u);

    // A damaged sentence: nothing of it, a debug line, and logging goes on.
    sim->Gps()->SetFaults(NmeaFaults{});
    PollGpsReceiver(r.c, r.gps);
    ASSERT_EQ(r.gps.View.Display.Status, "fix");
    const QString utc = r.gps.View.Display.Utc;
    const int stops = r.timerStops;
    sim->Gps()->SetFaults(NmeaFaults{.badChecksum = true});
    PollGpsReceiver(r.c, r.gps);
    EXPECT_EQ(r.gps.View.Display.Status, "nofix");
    EXPECT_EQ(r.gps.View.Display.Utc, utc);
    EXPECT_TRUE(r.gps.View.Display.LatDec.isEmpty() && r.gps.View.Display.LonDec.isEmpty());
    EXPECT_EQ(r.gps.View.Track.size(), 2u);
    EXPECT_TRUE(r.debug.Lines().last().startsWith("T: Warning: GPS checksum error: $GPRMC,"));
    EXPECT_EQ(r.timerStops, stops);
    EXPECT_TRUE(r.dialogs.isEmpty());

    // A foreign receiver is refused at connect.
    sim->Gps()->SetFaults(NmeaFaults{.foreignId = true});
    EXPECT_FALSE(ConnectGpsReceiver(r.c, r.gps, sim->PtyPath()).Connected);
    EXPECT_EQ(r.dialogs.last(), "unknown gps receiver, eMD3620 required");
    EXPECT_EQ(r.gps.GpsConnected, 0);
    const size_t writes = sim->Gps()->SentenceLog().size();
    PollGpsReceiver(r.c, r.gps); // not connected: nothing is sent
    EXPECT_EQ(sim->Gps()->SentenceLog().size(), writes);
}

TEST(GpsReceiver, SimulatedMovingUsesTheInjectedRandomNumbers)
{
    auto sim = StartReceiver();
    Receiver r;
    ASSERT_TRUE(ConnectGpsReceiver(r.c, r.gps, sim->PtyPath()).Connected);
    std::vector<int> asked;
    const int values[] = {999, 0, 7};
    r.gps.Random = [&](int n) {
        asked.push_back(n);
        return values[asked.size() - 1];
    };
    r.gps.View.SimulateMoving = true;
    PollGpsReceiver(r.c, r.gps); // step 0 of the drive: standing at 48 deg 08' N, 11 deg 34' E
    EXPECT_EQ(asked, std::vector<int>({1000, 1000, 100}));
    EXPECT_EQ(r.gps.View.Display.LonDec, QString::number(11.0 + 34.0 / 60.0 + 999 / 99999.0, 'f', 10));
    EXPECT_EQ(r.gps.View.Display.LatDec, "48.1333333333");
    EXPECT_EQ(r.gps.View.Display.Speed, "12.964");
    ASSERT_EQ(r.gps.View.Track.size(), 1u); // the simulated speed moves it
}

TEST(GpsReceiver, AReceiverAt4800BaudIsRefusedBeforeAnythingIsSent)
{
    auto backEnd = std::make_unique<SlowPortBackEnd>();
    auto peer = backEnd->peer;
    Receiver r(std::move(backEnd));
    EXPECT_FALSE(ConnectSerial(r.c, r.gps, "COM3").Connected);
    EXPECT_EQ(r.dialogs, QStringList({"ViRead GPS FAILED! Baud rate is not 9600"}));
    r.device.ConnectionKind = LinkKind::SerialAnalyser;
    EXPECT_FALSE(ConnectSerial(r.c, r.gps, "COM3").Connected);
    EXPECT_EQ(r.dialogs.last(), "ViRead USBSER FAILED! Baud rate is not 9600");
    EXPECT_TRUE(peer->messages.isEmpty());
    EXPECT_EQ(r.gps.GpsConnected, 0);
    EXPECT_EQ(r.device.DeviceConnected, 0);
}

TEST(GpsReceiver, AnalysersComeAndGoBesideTheReceiver)
{
    auto receiver = StartReceiver();
    auto analyser = StartReceiver(false, "dsa815");
    Receiver r;
    ASSERT_TRUE(ConnectGpsReceiver(r.c, r.gps, receiver->PtyPath()).Connected);
    const ViSession firstSession = r.visa.GpsSession;

    // Kind 5: the analyser on its serial port is identified like any other.
    r.device.ConnectionKind = LinkKind::SerialAnalyser;
    const SerialConnectOutcome serial = ConnectSerial(r.c, r.gps, analyser->PtyPath());
    ASSERT_TRUE(serial.Connected) << r.dialogs.join("|").toStdString();
    EXPECT_TRUE(serial.UnsupportedMessage.isEmpty());
    EXPECT_EQ(r.device.DeviceFamily, dfRigol);
    EXPECT_EQ(r.device.DeviceModel, 815);
    EXPECT_EQ(r.device.DeviceConnected, 1);
    EXPECT_EQ(r.status.Text(InstrumentStatus::kModelPanel), "DSA815-119");
    QStringList commands;
    for (const SimLogEntry& e : analyser->Instrument().CommandLog())
        commands << QString::fromLatin1(e.message);
    EXPECT_EQ(commands, QStringList({"*RST", "*IDN?"}));
    EXPECT_EQ(r.gps.GpsConnected, 1);

    // "Disconnect Visa" leaves the receiver readable.
    DisconnectInstrument(r.c);
    EXPECT_EQ(r.device.DeviceConnected, 0);
    PollGpsReceiver(r.c, r.gps);
    EXPECT_EQ(r.gps.View.Display.Status, "fix");
    EXPECT_EQ(r.gps.GpsConnected, 1);
    EXPECT_TRUE(r.dialogs.isEmpty()) << r.dialogs.join("|").toStdString();

    // A second receiver connect replaces the first session instead of leaving it open.
    r.device.ConnectionKind = LinkKind::GpsReceiver;
    ASSERT_TRUE(ConnectSerial(r.c, r.gps, receiver->PtyPath()).Connected);
    EXPECT_EQ(r.visa.VisaLibrary->viClose(firstSession), visa::VI_ERROR_INV_OBJECT);
    PollGpsReceiver(r.c, r.gps);
    EXPECT_EQ(r.gps.View.Display.Status, "fix");
}
