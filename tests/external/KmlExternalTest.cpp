// The coverage track file read by programs we did not write: xmllint (well-formed, and valid
// against the OGC KML 2.2 schema when ZENDRIK_KML_SCHEMA_DIR names a folder holding
// ogckml22.xsd with the Atom and xAL schemas it imports), GDAL's ogrinfo (three line features
// with exactly the points written) and Python's XML parser (each track's own style and colour).
#include "coverage/KmlTracks.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct ToolRun {
    bool ran = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun Execute(const QString& program, const QStringList& args)
{
    ToolRun r;
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000))
        return r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        return r;
    }
    r.ran = true;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

struct Point {
    double lon, lat, height;
};

// Track A with three points, B with one, C never measured and named so that it needs escaping.
const Point kTrackA[] = {{11.5166666667, 48.1173, 67.25}, {-0.0012345678, 51.4778000001, 0.5}, {153.0251, -27.4698, 3.2}};
const Point kTrackB[] = {{11.5170000000, 48.1180000000, 101.5}};
const char* const kNames[] = {"145000000Hz", "433000000Hz", "A&B<1>"};

QString Text(double v) { return QString::number(v, 'f', 10); }

QString WriteTracks(const QTemporaryDir& dir)
{
    KmlTracks k;
    k.BeginTracks(kNames[0], kNames[1], kNames[2]);
    const double levels[] = {-67.25, -0.5, 3.2};
    for (size_t i = 0; i < std::size(kTrackA); ++i)
        k.AddPoint(KmlTracks::A, Text(kTrackA[i].lon), Text(kTrackA[i].lat), QString::number(levels[i]));
    k.AddPoint(KmlTracks::B, Text(kTrackB[0].lon), Text(kTrackB[0].lat), "-101.5");
    const KmlTracks::WriteResult r = k.WriteFile(dir.path(), "ext");
    return r.Written ? dir.filePath(r.FileName) : QString();
}

} // namespace

TEST(KmlExternal, XmllintAcceptsTheFile)
{
    QTemporaryDir dir;
    const QString file = WriteTracks(dir);
    ASSERT_FALSE(file.isEmpty());
    ASSERT_FALSE(QStandardPaths::findExecutable("xmllint").isEmpty()) << "libxml2-utils is not installed";
    const ToolRun r = Execute("xmllint", {"--noout", file});
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
}

TEST(KmlExternal, XmllintValidatesAgainstTheKmlSchema)
{
    const QString schemaDir = qEnvironmentVariable("ZENDRIK_KML_SCHEMA_DIR");
    if (schemaDir.isEmpty())
        GTEST_SKIP() << "ZENDRIK_KML_SCHEMA_DIR is not set: no folder with ogckml22.xsd (and the Atom and xAL "
                        "schemas it imports) to validate against; Debian ships none";
    QTemporaryDir dir;
    const QString file = WriteTracks(dir);
    ASSERT_FALSE(file.isEmpty());
    const ToolRun r = Execute("xmllint", {"--noout", "--schema", schemaDir + "/ogckml22.xsd", file});
    ASSERT_TRUE(r.ran);
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
}

TEST(KmlExternal, OgrinfoReadsThreeTracksWithExactlyThePointsWritten)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("ogrinfo").isEmpty()) << "gdal-bin is not installed";
    QTemporaryDir dir;
    const QString file = WriteTracks(dir);
    ASSERT_FALSE(file.isEmpty());
    const ToolRun r = Execute("ogrinfo", {"-ro", "-al", file});
    ASSERT_TRUE(r.ran);
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    const QString out = QString::fromUtf8(r.out);

    QStringList names;
    QList<QList<Point>> tracks;
    static const QRegularExpression nameRx("^\\s*Name \\(String\\) = (.*)$", QRegularExpression::MultilineOption);
    static const QRegularExpression lineRx("^\\s*LINESTRING(?: Z)? (?:EMPTY|\\((.*)\\))$",
                                           QRegularExpression::MultilineOption);
    for (auto it = nameRx.globalMatch(out); it.hasNext();)
        names << it.next().captured(1);
    for (auto it = lineRx.globalMatch(out); it.hasNext();) {
        QList<Point> points;
        const QString coords = it.next().captured(1);
        for (const QString& p : coords.split(',', Qt::SkipEmptyParts)) {
            const QStringList v = p.trimmed().split(' ');
            if (v.size() == 3)
                points.append({v[0].toDouble(), v[1].toDouble(), v[2].toDouble()});
        }
        tracks << points;
    }
    EXPECT_EQ(names, QStringList({kNames[0], kNames[1], kNames[2]})) << out.toStdString();
    ASSERT_EQ(tracks.size(), 3) << out.toStdString();
    const QList<Point> expected[] = {QList<Point>(std::begin(kTrackA), std::end(kTrackA)),
                                     QList<Point>(std::begin(kTrackB), std::end(kTrackB)), {}};
    for (int t = 0; t < 3; ++t) {
        ASSERT_EQ(tracks[t].size(), expected[t].size()) << t;
        for (qsizetype i = 0; i < tracks[t].size(); ++i) {
            // ogrinfo prints 15 significant digits; the written texts have 10 decimals.
            EXPECT_NEAR(tracks[t][i].lon, expected[t][i].lon, 1e-11) << t << " " << i;
            EXPECT_NEAR(tracks[t][i].lat, expected[t][i].lat, 1e-11) << t << " " << i;
            EXPECT_DOUBLE_EQ(tracks[t][i].height, expected[t][i].height) << t << " " << i;
        }
    }
}

TEST(KmlExternal, EachPlacemarkPointsAtAStyleOfItsOwnWithItsColour)
{
    QTemporaryDir dir;
    const QString file = WriteTracks(dir);
    ASSERT_FALSE(file.isEmpty());
    const char* script = R"(
import sys, xml.etree.ElementTree as ET
ns = {'k': 'http://www.opengis.net/kml/2.2'}
doc = ET.parse(sys.argv[1]).getroot().find('k:Document', ns)
styles = {s.get('id'): s.find('k:LineStyle/k:color', ns).text for s in doc.findall('k:Style', ns)}
ids = [s.get('id') for s in doc.findall('k:Style', ns)]
print(len(ids), len(set(ids)))
for p in doc.findall('k:Placemark', ns):
    url = p.find('k:styleUrl', ns).text
    print(p.find('k:name', ns).text + '|' + url + '|' + styles.get(url[1:], 'missing'))
)";
    const ToolRun r = Execute("python3", {"-c", script, file});
    ASSERT_TRUE(r.ran);
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(QString::fromUtf8(r.out).trimmed().split('\n'),
              QStringList({"3 3", "145000000Hz|#transPurpleLineGreenPolyA|5000FF14",
                           "433000000Hz|#transPurpleLineGreenPolyB|50F01E14", "A&B<1>|#transPurpleLineGreenPolyC|5014F0FF"}));
}
