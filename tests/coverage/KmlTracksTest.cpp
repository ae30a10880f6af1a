// The KML track file: its exact lines, the time stamp of its name, and what happens when there is
// nothing to write, when a name is taken and when the folder cannot be written.
#include "app/DateTimeText.h"
#include "common/TestSupport.h"
#include "coverage/KmlTracks.h"
#include "coverage/KmlWriter.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Two points on A (one level negative, one positive), one on B, none on C; C's name needs
// escaping.
KmlTracks ThreeTracks()
{
    KmlTracks k;
    k.BeginTracks("145000000Hz", "433000000Hz", "A&B<1>");
    k.AddPoint(KmlTracks::A, "11.5166666667", "48.1173000000", "-0.5");
    k.AddPoint(KmlTracks::A, "11.5170000000", "48.1180000000", "3.2");
    k.AddPoint(KmlTracks::B, "11.5166666667", "48.1173000000", "-67.25");
    return k;
}

// One track's style and placemark, exactly as the file holds them.
QStringList Style(const QString& id, const QString& color)
{
    return {"  <Style id=\"" + id + "\">", "  <LineStyle>", "  <color>" + color + "</color>", "     <width>4</width>",
            "     </LineStyle>", "     <PolyStyle>", "       <color>7f00ff00</color>", "     </PolyStyle>", "  </Style>"};
}
QStringList Placemark(const QString& name, const QString& id, const QStringList& coordinates)
{
    return QStringList{"  <Placemark>", "     <name>" + name + "</name>", "     <visibility>1</visibility> ",
                       "     <description></description>", "     <styleUrl>#" + id + "</styleUrl>", "     <LineString>",
                       "        <tessellate>1</tessellate>", "        <altitudeMode>absolute</altitudeMode>",
                       "        <coordinates> "} +
           coordinates + QStringList{"         </coordinates>", "     </LineString> ", "  </Placemark>"};
}

} // namespace

TEST(KmlTracks, WritesStylesThenPlacemarksLineForLineWithCrLf)
{
    QTemporaryDir dir;
    KmlTracks k = ThreeTracks();
    const KmlTracks::WriteResult r = k.WriteFile(dir.path(), "stamp");
    ASSERT_TRUE(r.Written) << r.Error.toStdString();
    EXPECT_EQ(r.FileName, "out/out_stamp.kml");
    const QString a = "transPurpleLineGreenPolyA", b = "transPurpleLineGreenPolyB", c = "transPurpleLineGreenPolyC";
    const QStringList expected =
        QStringList{R"(<?xml version="1.0" encoding="UTF-8"?>)", R"(<kml xmlns="http://www.opengis.net/kml/2.2">)",
                    "<Document>", "  <name>out_stamp</name>"} +
        Style(a, "5000FF14") + Style(b, "50F01E14") + Style(c, "5014F0FF") +
        Placemark("145000000Hz", a, {"11.5166666667,48.1173000000,0.5", "11.5170000000,48.1180000000,3.2"}) +
        Placemark("433000000Hz", b, {"11.5166666667,48.1173000000,67.25"}) + Placemark("A&amp;B&lt;1&gt;", c, {}) +
        QStringList{"</Document>", "</kml>"};
    EXPECT_EQ(testsupport::ReadAll(dir.filePath(r.FileName)), (expected.join("\r\n") + "\r\n").toUtf8());
    // Everything was handed over: the next Stop starts from nothing.
    EXPECT_FALSE(k.Started());
    EXPECT_TRUE(k.KmlTrackLinesA.isEmpty() && k.KmlTrackLinesB.isEmpty() && k.KmlTrackLinesC.isEmpty());
}

TEST(KmlTracks, NothingLoggedWritesNothingAndATakenNameGetsANumber)
{
    QTemporaryDir dir;
    KmlTracks empty;
    const KmlTracks::WriteResult none = empty.WriteFile(dir.path(), "stamp");
    EXPECT_FALSE(none.Written);
    EXPECT_TRUE(none.Error.isEmpty());
    EXPECT_FALSE(QDir(dir.filePath("out")).exists() && !QDir(dir.filePath("out")).isEmpty());

    // Three Stops within one second: three files, none replaced.
    for (const char* expected : {"out/out_stamp.kml", "out/out_stamp_2.kml", "out/out_stamp_3.kml"}) {
        KmlTracks k = ThreeTracks();
        const KmlTracks::WriteResult r = k.WriteFile(dir.path(), "stamp");
        ASSERT_TRUE(r.Written);
        EXPECT_EQ(r.FileName, expected);
    }
    EXPECT_TRUE(testsupport::ReadAll(dir.filePath("out/out_stamp_3.kml")).contains("<name>out_stamp_3</name>"));
    EXPECT_EQ(testsupport::ReadAll(dir.filePath("out/out_stamp.kml")).count("<Placemark>"), 3);
}

TEST(KmlTracks, AFailedWriteKeepsEveryPointForTheNextStop)
{
    QTemporaryDir dir;
    // "out" is a file here, so no folder can be made for the tracks.
    ASSERT_TRUE(testsupport::WriteAll(dir.filePath("blocked/out"), "x"));
    KmlTracks k = ThreeTracks();
    const QStringList before = k.KmlTrackLinesA + k.KmlTrackLinesB + k.KmlTrackLinesC + k.KmlDocumentLines;
    const KmlTracks::WriteResult failed = k.WriteFile(dir.filePath("blocked"), "stamp");
    EXPECT_FALSE(failed.Written);
    EXPECT_FALSE(failed.Error.isEmpty());
    EXPECT_EQ(k.KmlTrackLinesA + k.KmlTrackLinesB + k.KmlTrackLinesC + k.KmlDocumentLines, before);

    k.AddPoint(KmlTracks::C, "1", "2", "-3");
    const KmlTracks::WriteResult r = k.WriteFile(dir.path(), "stamp");
    ASSERT_TRUE(r.Written);
    const QByteArray file = testsupport::ReadAll(dir.filePath(r.FileName));
    EXPECT_TRUE(file.contains("\r\n11.5170000000,48.1180000000,3.2\r\n"));
    EXPECT_TRUE(file.contains("\r\n1,2,3\r\n"));
}

TEST(KmlTracks, TimeStampsOfAnyLocaleGivePlainFileNames)
{
    EXPECT_EQ(KmlTimeStamp("06.12.2026 10:53:31"), "06122026_105331");
    DateTimeTexts us;
    us.ShortDateFormat = "mm/dd/yyyy";
    us.LongTimeFormat = "hh:nn:ss AM/PM";
    us.DateSeparator = QChar('/');
    const double value = QDate(2026, 12, 6).toJulianDay() - 2415019 + (22 * 3600 + 53 * 60 + 31) / 86400.0;
    EXPECT_EQ(KmlTimeStamp(FormatDateTimeText("ddddd tt", value, us)), "12062026_105331_pm");
    EXPECT_EQ(KmlTimeStamp("2026/12/06 \"10h53\" <x>|*?"), "20261206_10h53_x");
    EXPECT_TRUE(QRegularExpression("^\\d{8}_\\d{6}_(am|pm)$").match(KmlTimeStampNow(us)).hasMatch())
        << KmlTimeStampNow(us).toStdString();
}
