// The coverage table read by Python's csv module: a drive logged against the simulated analyser
// and NMEA receiver, checked row by row against the route, the analyser's marker answers and the
// shipped correction tables as Python reads them. And the drive-test calculators against
// Python's arithmetic for every choice of the view's combo boxes.
#include "coverage/CoverageCalculators.h"
#include "coverage/CoverageRig.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

QByteArray RunPython(const QStringList& args, bool* ok)
{
    QProcess p;
    p.start(QStringLiteral("python3"), args);
    *ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    return p.readAllStandardOutput() + p.readAllStandardError();
}

} // namespace

TEST(CoverageExternal, PythonCsvReadsTheDriveWithCorrectedLevels)
{
    for (const char* family : {"ssa3032x", "fpc1000"}) {
        SCOPED_TRACE(family);
        CoverageRig r(family, true);
        r.CopyShippedTables();
        CoverageView& v = *r.view;
        using namespace coveragegrid;
        const QString tables[3][3] = {{kCableCor, "cable_rg58_5m.cac", "cable"},
            {kAmpCor, "preamp_20db.amp", "amp"}, {kAntCor, "antenna_biconilog.ant", "ant"}};
        for (const auto& t : tables) {
            v.Grid().SetValue(t[0], t[1]);
            v.GridValueEdited(t[0]);
        }
        v.Grid().SetValue(kFreqC, "145.5e6");
        v.InitAnalyser();
        v.LatchPointsChanged("0");
        ASSERT_TRUE(v.Start());
        r.Probe();

        QJsonArray rows;
        qsizetype written = 0;
        for (int step = 0; step < 16; ++step) {
            v.Tick();
            const qsizetype now = r.Table().count('\n');
            if (now == written)
                continue;
            ASSERT_EQ(now, written + (written == 0 ? 2 : 1)) << step;
            written = now;
            const NmeaFix fix = NmeaReceiver::RouteAt(step);
            QJsonArray freqs, raw;
            for (int x = 0; x < 3; ++x) {
                freqs << v.Fields().Freq[x];
                const double hz = std::nearbyint(v.Fields().Freq[x].toDouble());
                raw << (r.probed.contains(hz) ? QJsonValue(r.probed[hz]) : QJsonValue());
            }
            rows << QJsonObject {{"index", rows.size()}, {"lat", fix.latitude}, {"lon", fix.longitude},
                {"speed", fix.speedKnots == 10 ? "18.52" : QString::number(fix.speedKnots * 1.852)},
                {"freq", freqs}, {"raw", raw}};
        }
        ASSERT_GE(rows.size(), 10); // standstills are not logged
        QJsonObject files;
        for (const auto& t : tables)
            files[t[2]] = r.dir.filePath("src/" + t[1]);
        const QString expected = r.dir.filePath("expected.json");
        ASSERT_TRUE(testsupport::WriteAll(
            expected, QJsonDocument(QJsonObject {{"tables", files}, {"rows", rows}}).toJson()));
        bool ok = false;
        const QByteArray out = RunPython({testsupport::DataPath("coverage/check_coverage_table.py"),
                                             r.dir.filePath("out/coverage.txt"), expected},
            &ok);
        EXPECT_TRUE(ok) << out.constData();
        EXPECT_EQ(out.trimmed(), "ok " + QByteArray::number(rows.size()));
    }
}

TEST(CoverageExternal, CalculatorsAgreeWithPythonForEveryChoice)
{
    QByteArray table;
    for (const QString& interval : CoverageIntervalChoices())
        for (const QString& speed : CoverageSpeedChoices())
            for (const QString& length : CoverageLengthChoices())
                table += (QStringList {interval, speed, length, CalcDriveResolution(interval, speed),
                              CalcDrivePoints(length, interval, speed)}
                              .join('\t')
                    + '\n')
                             .toLatin1();
    QTemporaryDir dir;
    ASSERT_TRUE(testsupport::WriteAll(dir.filePath("calc.tsv"), table));
    const char* script = R"(
import sys
bad = 0
rows = 0
for line in open(sys.argv[1]):
    i, s, l, res, pts = line.rstrip('\n').split('\t')
    r = float(i) / 1000 * float(s) * 1000 / 3600
    want = ('%.2f' % r, '%.0f' % (float(l) * 1000 / r) if r > 0 else '')
    rows += 1
    if (res, pts) != want:
        bad += 1
        print(line.strip(), want)
print('rows', rows, 'bad', bad)
)";
    bool ok = false;
    const QByteArray out = RunPython({"-c", script, dir.filePath("calc.tsv")}, &ok);
    ASSERT_TRUE(ok) << out.constData();
    const qsizetype rows
        = CoverageIntervalChoices().size() * CoverageSpeedChoices().size() * CoverageLengthChoices().size();
    EXPECT_EQ(out.trimmed(), "rows " + QByteArray::number(rows) + " bad 0");
}
