// The simulated NMEA receiver: which sentences it takes, what it answers, its drive, its faults,
// its log, and its options on the command line.
#include "tools/sim/NmeaReceiver.h"
#include "tools/sim/Simulator.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

QByteArray Ask(NmeaReceiver& r, const QByteArray& body) { return r.Receive(NmeaReceiver::Sentence(body)); }

} // namespace

TEST(NmeaReceiver, AnswersOnlyWholeSentencesWithTheirChecksum)
{
    NmeaReceiver r;
    EXPECT_EQ(Ask(r, "PERDOUT,GGA,0"), "");
    EXPECT_EQ(Ask(r, "PERDDBG,NMEA,OFF"), "");
    EXPECT_EQ(Ask(r, "PERDINFO"), "$PERDINFO,OPUS3PVT,zendrik-sim receiver,1.00*40\r\n");
    // Without CR LF, with a wrong or missing checksum: ignored.
    EXPECT_EQ(r.Receive("$PERDINFO*0D\n"), "");
    EXPECT_EQ(r.Receive("$PERDINFO*0C\r\n"), "");
    EXPECT_EQ(r.Receive("$PERDINFO\r\n"), "");
    // Half a sentence waits for its line end; a fragment before a "$" is dropped.
    EXPECT_EQ(r.Receive("$GPGPQ,RM"), "");
    EXPECT_EQ(r.Receive("C*21\r"), "");
    EXPECT_EQ(r.Receive("\n"), "$GPRMC,093000.00,A,4808.0000,N,01134.0000,E,0.0,0.0,140326,,,A*55\r\n");
    EXPECT_EQ(r.Receive("$PERDIN$GPGPQ,RMC*21\r\n").left(17), "$GPRMC,093001.00,");
    EXPECT_EQ(r.Steps(), 2);

    QStringList log;
    for (const SimLogEntry& e : r.SentenceLog())
        log << e.transport + " " + QString::fromLatin1(e.message);
    EXPECT_EQ(log, QStringList({"pty $PERDOUT,GGA,0*3C", "pty $PERDDBG,NMEA,OFF*0A", "pty $PERDINFO*0D",
                                "pty-ignored $PERDINFO*0D", "pty-ignored $PERDINFO*0C", "pty-ignored $PERDINFO",
                                "pty $GPGPQ,RMC*21", "pty $PERDIN$GPGPQ,RMC*21"}));
}

TEST(NmeaReceiver, TheDriveRepeatsWithStretchesOfStandstill)
{
    NmeaReceiver a, b;
    for (int step = 0; step < 50; ++step)
        ASSERT_EQ(Ask(a, "GPGPQ,RMC"), Ask(b, "GPGPQ,RMC")) << step;
    // Standing for 3 s, then east at 10 knots: one knot is a minute of latitude per hour.
    const NmeaFix f0 = NmeaReceiver::RouteAt(0), f3 = NmeaReceiver::RouteAt(3), f11 = NmeaReceiver::RouteAt(11);
    EXPECT_EQ(NmeaReceiver::RouteAt(2).longitude, f0.longitude);
    EXPECT_EQ(f3.speedKnots, 10);
    EXPECT_EQ(f3.longitude, f0.longitude);
    EXPECT_DOUBLE_EQ(f11.latitude, f0.latitude);
    EXPECT_NEAR((f11.longitude - f0.longitude) * 60 * std::cos(f0.latitude * M_PI / 180), 8 * 10 / 3600.0, 1e-9);
    EXPECT_EQ(f11.speedKnots, 0);
    EXPECT_EQ(NmeaReceiver::RouteAt(23).speedKnots, 0); // the round starts again, from where it ended
    EXPECT_NE(NmeaReceiver::RouteAt(23).latitude, f0.latitude);
}

TEST(NmeaReceiver, FaultsChangeTheAnswers)
{
    NmeaReceiver r;
    auto with = [&](const char* names) {
        NmeaFaults f;
        QString error;
        EXPECT_TRUE(f.Parse(names, &error)) << error.toStdString();
        r.SetFaults(f);
        return Ask(r, "GPGPQ,RMC");
    };
    EXPECT_EQ(with("no-answer"), "");
    EXPECT_EQ(with("few-fields"), "$GPRMC,093001.00,A*2F\r\n");
    EXPECT_TRUE(with("other-sentence").startsWith("$GPGGA,093002.00,"));
    EXPECT_EQ(with("no-fix"), "$GPRMC,093003.00,V,,,,,,,140326,,,N*76\r\n");
    const QByteArray damaged = with("bad-checksum");
    EXPECT_TRUE(damaged.startsWith("$GPRMC,093004.00,A,4808.0000,N,"));
    EXPECT_NE(damaged, NmeaReceiver::Sentence(NmeaReceiver::RmcBody(NmeaReceiver::RouteAt(4))));
    with("foreign-id");
    EXPECT_FALSE(Ask(r, "PERDINFO").contains("OPUS3PVT"));
    r.SetFaults(NmeaFaults{.noAnswer = true});
    EXPECT_EQ(Ask(r, "PERDINFO"), "");
    QString error;
    EXPECT_FALSE(NmeaFaults().Parse("no-such", &error));
    EXPECT_TRUE(error.contains("few-fields"));
}

TEST(NmeaReceiver, CommandLineOptions)
{
    SimulatorOptions o;
    QString log, message;
    EXPECT_TRUE(ParseSimulatorArguments({"--pty", "--gps", "--gps-fault", "no-fix,bad-checksum"}, &o, &log, &message));
    EXPECT_TRUE(o.gps && o.pty && o.gpsFaults.noFix && o.gpsFaults.badChecksum && !o.gpsFaults.fewFields);
    SimulatorOptions p;
    EXPECT_FALSE(ParseSimulatorArguments({"--gps"}, &p, &log, &message));
    EXPECT_EQ(message, "--gps needs --pty");
    EXPECT_FALSE(ParseSimulatorArguments({"--pty", "--gps-fault", "late"}, &p, &log, &message));
    EXPECT_TRUE(SimulatorUsage().contains("--gps-fault"));
}
