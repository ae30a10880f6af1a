// The logging tick: what goes into the coverage table and the tracks while the receiver drives
// through standstills, the latch, and every way a tick can be cut short or go wrong.
#include "CoverageRig.h"

#include "chart/canvas/PlotColor.h"
#include "coverage/KmlWriter.h"
#include "instrument/AnalyserHold.h"

#include <QRegularExpression>

namespace {

GpsDisplay Fix(const QString& speed, const QString& status = "fix")
{
    GpsDisplay d;
    d.Status = status;
    d.Date = "140326";
    d.Utc = "093000.00";
    d.LatDec = "48.1333333333";
    d.Ns = "N";
    d.LonDec = "11.5666666667";
    d.Ew = "E";
    d.Speed = speed;
    return d;
}

QList<QByteArray> Lines(const QByteArray& table)
{
    QList<QByteArray> lines = table.split('\n');
    EXPECT_TRUE(lines.takeLast().isEmpty());
    for (const QByteArray& l : lines)
        EXPECT_TRUE(l.endsWith('\r'));
    return lines;
}

// Coordinate lines of a track list (those without indentation).
int Coordinates(const QStringList& track)
{
    int n = 0;
    for (const QString& l : track)
        n += !l.startsWith(' ');
    return n;
}

} // namespace

TEST(CoverageLogging, TheDriveFillsTableTracksAndLevelsAndLatches)
{
    CoverageRig r("dsa815", true);
    CoverageView& v = *r.view;
    v.Grid().SetValue(coveragegrid::kFreqB, "none");
    v.Grid().SetValue(coveragegrid::kFreqC, "1.000.000"); // thousands dots make no number
    v.InitAnalyser();
    r.Logged();
    v.LatchPointsChanged("10");
    ASSERT_TRUE(v.Start());

    // Steps 0 to 2 of the drive stand still and are not logged; each tick's level points take
    // the previous poll's speed and fix: tick 1 had none (red point), ticks 2 to 4 stood.
    for (int tick = 1; tick <= 5; ++tick)
        v.Tick();
    EXPECT_EQ(r.Logged().filter(":SENS:FREQ:CENT ").size(), 5); // A only, every tick
    TChartSeries& a = v.Chart().Level[0];
    ASSERT_EQ(a.Count(), 2);
    EXPECT_EQ(a.GetValueColor(0), clRed);
    EXPECT_EQ(a.GetValueColor(1), clGreen);
    EXPECT_EQ(v.Chart().Level[1].Count(), 0);

    QList<QByteArray> lines = Lines(r.Table());
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0],
        "Index;Fix;Date;UTC;Lat;NS;Long;EW;Speed[km/h];FreqA[Hz];LevA[dBm];FreqB[Hz];LevB[dBm];FreqC[Hz];"
        "LevC[dBm]\r");
    const QStringList first = QString::fromLatin1(lines[1].chopped(1)).split(';');
    ASSERT_EQ(first.size(), 15);
    EXPECT_EQ(first.mid(0, 4), QStringList({"0", "fix", "140326", "093003.00"}));
    EXPECT_EQ(first.mid(8, 2), QStringList({"18.52", "140000000"}));
    EXPECT_TRUE(first[10].startsWith("-"));
    EXPECT_EQ(first.mid(11), QStringList({"none", "", "1.000.000", ""}));
    EXPECT_EQ(QString::fromLatin1(lines[2]).section(';', 0, 0), "1");
    EXPECT_EQ(v.Globals().CoverageIndex, 2);
    // Tracks B and C carry their style and placemark but no point.
    EXPECT_EQ(Coordinates(v.Tracks().KmlTrackLinesA), 2);
    EXPECT_EQ(Coordinates(v.Tracks().KmlTrackLinesB) + Coordinates(v.Tracks().KmlTrackLinesC), 0);

    // The tenth written line sets the latch; the next tick writes the tracks, pauses 1 s and
    // starts again from 0.
    while (v.Globals().CoverageIndex < 10 && r.gps.View.Memo.size() < 100)
        v.Tick();
    EXPECT_EQ(v.Globals().CoverageLatchPending, 1);
    const uint32_t before = r.pump.TickCount();
    v.Tick();
    EXPECT_EQ(r.pump.TickCount() - before, 1000u);
    EXPECT_EQ(v.Fields().RecentKml, "out/out_stamp.kml");
    EXPECT_EQ(testsupport::ReadAll(r.dir.filePath("out/out_stamp.kml")).count("\r\n11."), 10);
    EXPECT_EQ(r.host.timerStarts, 2);
    EXPECT_EQ(r.host.beeps, 2);
    EXPECT_EQ(v.Globals().CoverageIndex, 0);

    // "0" never latches.
    v.LatchPointsChanged("0");
    for (int tick = 0; tick < 3; ++tick)
        v.Tick();
    EXPECT_GT(v.Globals().CoverageIndex, 0);
    EXPECT_EQ(v.Globals().CoverageLatchPending, 0);

    // Without the receiver the fields stay as set: "0" is skipped entirely, "0.0" is logged.
    r.gps.GpsConnected = 0;
    const int written = Lines(r.Table()).size();
    const int points = a.Count();
    const int index = v.Globals().CoverageIndex;
    r.gps.View.Display = Fix("0");
    v.Tick();
    EXPECT_EQ(Lines(r.Table()).size(), written);
    EXPECT_EQ(a.Count(), points);
    EXPECT_EQ(v.Globals().CoverageIndex, index);
    r.gps.View.Display = Fix("0.0");
    v.Tick();
    EXPECT_EQ(Lines(r.Table()).size(), written + 1);
    EXPECT_TRUE(r.dialogs.isEmpty()) << r.dialogs.join("|").toStdString();
}

TEST(CoverageLogging, NestedTicksStopAndLatchPausesEndCleanly)
{
    CoverageRig r("dsa815");
    CoverageView& v = *r.view;
    v.InitAnalyser();
    r.Logged();
    r.gps.View.Display = Fix("5");

    // A tick arriving during the sweep wait is counted and skipped: the analyser sees one tick.
    r.pump.Schedule(10, [&] { v.Tick(); });
    v.Tick();
    EXPECT_EQ(v.Globals().CoverageTickErrors, 1);
    EXPECT_EQ(r.Logged().size(), 3 * 7);
    EXPECT_EQ(Lines(r.Table()).size(), 2);

    // Stop inside a tick: the tick ends at its wait, logs nothing, and only then are the tracks
    // written, with the earlier point and without this tick's.
    bool fileDuringStop = true;
    r.pump.Schedule(10, [&] {
        v.Stop();
        fileDuringStop = QFile::exists(r.dir.filePath("out/out_stamp.kml"));
    });
    const uint32_t before = r.pump.TickCount();
    v.Tick();
    EXPECT_LT(r.pump.TickCount() - before, 50u);
    EXPECT_FALSE(fileDuringStop);
    EXPECT_EQ(r.Logged(),
        QStringList({":SENS:FREQ:CENT 140000000", ":SENS:FREQ:CENT?", ":CALC:MARK1:STAT OFF", ":CALC:MARK1:STAT ON",
            ":INIT:IMM", ":SENS:SWE:TIME?"}));
    EXPECT_EQ(Lines(r.Table()).size(), 2);
    EXPECT_EQ(v.Fields().RecentKml, "out/out_stamp.kml");
    const QByteArray kml = testsupport::ReadAll(r.dir.filePath("out/out_stamp.kml"));
    EXPECT_EQ(kml.count("\r\n11.5666666667,48.1333333333,"), 3); // A, B and C of the first tick
    EXPECT_FALSE(v.Tracks().Started());

    // A Stop during the latch's pause has the last word: logging stays stopped.
    r.gps.GpsConnected = 1; // Start asks only whether a receiver is there
    ASSERT_TRUE(v.Start());
    r.pump.Schedule(500, [&] { v.Stop(); });
    v.Latch();
    EXPECT_FALSE(r.host.timerOn);
    EXPECT_EQ(r.host.timerStarts, 1);
    EXPECT_FALSE(v.Logging());
}

TEST(CoverageLogging, FaultsLogNothingFalseAndLeaveNoTickRunning)
{
    for (const bool huge : {false, true}) {
        // The marker answers "nan", or a level no analyser reports: no level, no point, no
        // coordinate, an empty field, one line naming it; the analyser stays connected.
        SimFaults f;
        f.nanValue = !huge;
        f.hugeValue = huge;
        CoverageRig r(huge ? "dsa815" : "fpc1000", false, f);
        CoverageView& v = *r.view;
        v.InitAnalyser();
        r.gps.View.Display = Fix("5");
        v.Tick();
        EXPECT_EQ(v.Chart().Level[0].Count(), 0);
        const QStringList line = QString::fromLatin1(Lines(r.Table()).value(1).chopped(1)).split(';');
        EXPECT_EQ(QStringList({line[10], line[12], line[14]}), QStringList({"", "", ""}));
        EXPECT_EQ(Coordinates(v.Tracks().KmlTrackLinesA), 0);
        EXPECT_TRUE(r.messages.Lines().contains("Error: the analyser sent a level of " +
                                                QString(huge ? "1e+308" : "nan") + " dBm; the marker level is refused"));
        EXPECT_EQ(r.gps.View.Memo.last(), "T: A -- B -- C -- dBm");
        EXPECT_EQ(r.device.DeviceConnected, 1);
        // A row without a point of its own on "FRQ A" has no Index, rather than the row before's.
        r.sim->Instrument().SetFaults({}), v.Tick(), r.sim->Instrument().SetFaults(f), v.Tick();
        EXPECT_EQ(QString(r.Table()).remove(QRegularExpression(";.*")), "Index\n\n0\n\n"); // the Index column
    }
    CoverageRig r("dsa815", true);
    CoverageView& v = *r.view;
    v.InitAnalyser();
    r.Logged();

    // 145.5 MHz is a number of hertz too: the analyser gets it whole, the tick ends normally.
    v.Grid().SetValue(coveragegrid::kFreqA, "145.5e6");
    v.Grid().SetValue(coveragegrid::kFreqB, "145,5e6");
    v.MeasureLevels();
    const QStringList sent = r.Logged();
    EXPECT_EQ(sent.filter(":SENS:FREQ:CENT 145500000").size(), 2);
    EXPECT_FALSE(v.Fields().Level[1].isEmpty());

    // An unwritable output folder: one error line per tick, nothing counted, no track begun.
    ASSERT_TRUE(testsupport::WriteAll(r.dir.filePath("out"), "x"));
    r.gps.View.SkipNonMoving = false;
    v.Tick();
    EXPECT_EQ(r.messages.Lines().filter("Error: ").size(), 1);
    EXPECT_EQ(v.Globals().CoverageIndex, 0);
    EXPECT_FALSE(v.Tracks().Started());
    ASSERT_TRUE(QFile::remove(r.dir.filePath("out")));
    v.Tick();
    EXPECT_EQ(Lines(r.Table()).size(), 2);
    EXPECT_EQ(v.Globals().CoverageIndex, 1);

    // A failed poll stops the timer; the tick logs no row nor level point, the tracks are written.
    ASSERT_TRUE(v.Start());
    NmeaFaults silent;
    silent.noAnswer = true;
    r.sim->Gps()->SetFaults(silent);
    const int points = v.Chart().Level[0].Count();
    v.Tick();
    EXPECT_EQ(r.dialogs, QStringList({"ViRead GPS: could not read gps data!"}));
    EXPECT_FALSE(r.host.timerOn);
    EXPECT_FALSE(v.Logging());
    EXPECT_EQ(Lines(r.Table()).size(), 2);
    EXPECT_EQ(v.Chart().Level[0].Count(), points);
    EXPECT_EQ(v.Fields().RecentKml, "out/out_stamp.kml");
    EXPECT_EQ(v.Globals().CoverageTickBusy, 0);

    // Over 10000 level points nothing is measured until "Init SA"; no old level is logged.
    r.sim->Gps()->SetFaults({});
    r.Logged();
    TChartSeries& a = v.Chart().Level[0];
    for (int i = 0; i <= CoverageChart::kMaxLevelPoints; ++i)
        a.AddPointXY(a.Count(), -80);
    v.Tick();
    EXPECT_EQ(r.Logged(), QStringList());
    EXPECT_TRUE(r.gps.View.Memo.contains("TWarning!!!, out of points "));
    EXPECT_EQ(QString::fromLatin1(Lines(r.Table()).last()).section(';', 10, 10), "");
    v.InitAnalyser();
    v.Tick();
    EXPECT_EQ(a.Count(), 1);
}

TEST(CoverageLogging, StartNamesWhatIsMissing)
{
    CoverageRig r("dsa815");
    CoverageView& v = *r.view;
    EXPECT_FALSE(v.Start());
    EXPECT_EQ(r.host.errors.last(), "No GPS device found");
    r.gps.GpsConnected = 1;
    const AnalyserHold generator{[] { return AnalyserHolder::Generator; }};
    r.c.Hold = &generator;
    EXPECT_FALSE(v.Start());
    EXPECT_EQ(r.host.errors.last(), "Warning: coverage logging not started, the analyser is in use by the generator: stop it first");
    r.c.Hold = nullptr;
    for (const char* interval : {"0", "1.5"}) {
        v.Fields().IntervalMs = interval;
        EXPECT_FALSE(v.Start()) << interval;
        EXPECT_TRUE(r.host.errors.last().startsWith("\"Interval [ms]\"")) << interval;
    }
    v.Fields().IntervalMs = "500";
    v.LatchPointsChanged("ten");
    EXPECT_FALSE(v.Start());
    EXPECT_TRUE(r.host.errors.last().startsWith("\"Latch Points\""));
    EXPECT_EQ(r.host.timerStarts, 0);
    v.LatchPointsChanged("10");
    // A correction table refused: Start refuses as Play does; a tick stops logging when it is meanwhile.
    ASSERT_TRUE(QDir().mkpath(r.dir.filePath("src")));
    ASSERT_TRUE(testsupport::WriteAll(r.dir.filePath("src/bad.cac"), "[Data]\r\nFreq1=1000\r\nLev1=1,5,0\r\n"));
    const QString refused = "Cable File not usable: .\\src\\bad.cac (row 1: the level 1,5,0 is no number)";
    const auto cable = [&v](const char* file) {
        v.Grid().SetValue(coveragegrid::kCableCor, file), v.GridValueEdited(coveragegrid::kCableCor);
    };
    cable("bad.cac");
    EXPECT_FALSE(v.Start());
    EXPECT_EQ(r.host.errors.last() + r.messages.Lines().last(), refused + "Warning: coverage logging refused: " + refused);
    cable("none");
    v.Globals().CoverageIndex = 7;
    EXPECT_TRUE(v.Start());
    cable("bad.cac"), v.Tick();
    EXPECT_TRUE(!v.Logging() && r.messages.Lines().last() == "Warning: coverage logging stopped: " + refused);
    cable("none");
    ASSERT_TRUE(v.Start());
    EXPECT_EQ(r.host.interval, 500);
    EXPECT_EQ(v.Globals().CoverageIndex, 0);
    // The analyser gone between two ticks: the next one ends the logging with one line, no row.
    r.device.DeviceConnected = 0;
    v.Tick();
    EXPECT_FALSE(v.Logging() || QFile::exists(r.dir.filePath("out/coverage.txt")));
    EXPECT_TRUE(r.messages.Lines().endsWith("Error: no analyser is connected, coverage logging stopped"));
}
