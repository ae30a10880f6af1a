#include "coverage/KmlTracks.h"

#include "coverage/KmlWriter.h"
#include "platform/inifile/SaveFileCommit.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QStringList& KmlTracks::Lines(Track track)
{
    switch (track) {
    case B: return KmlTrackLinesB;
    case C: return KmlTrackLinesC;
    default: return KmlTrackLinesA;
    }
}

void KmlTracks::BeginTracks(const QString& nameA, const QString& nameB, const QString& nameC)
{
    KmlWriteHeader(KmlDocumentLines);
    const QString names[3] = {nameA, nameB, nameC};
    for (int t = A; t <= C; ++t) {
        QStringList& lines = Lines(static_cast<Track>(t));
        KmlWriteStyle(lines, QString::fromLatin1(kColors[t]), QString::fromLatin1(kStyleIds[t]));
        KmlBeginPlacemark(lines, names[t], QString::fromLatin1(kStyleIds[t]));
    }
}

void KmlTracks::AddPoint(Track track, const QString& longitude, const QString& latitude, const QString& level)
{
    KmlAddCoordinate(Lines(track), longitude, latitude, level);
}

KmlTracks::WriteResult KmlTracks::WriteFile(const QString& workingFolder, const QString& stamp)
{
    WriteResult result;
    if (KmlTrackLinesA.isEmpty())
        return result;

    const QDir folder(workingFolder);
    if (!folder.mkpath(QStringLiteral("out"))) {
        result.Error = QStringLiteral("cannot create folder ") + folder.filePath(QStringLiteral("out"));
        return result;
    }
    // Two Stops within one second would otherwise overwrite the first file and its tracks.
    QString uniqueStamp = stamp;
    for (int n = 2; QFileInfo::exists(folder.filePath(QStringLiteral("out/out_") + uniqueStamp + ".kml")); ++n)
        uniqueStamp = stamp + QLatin1Char('_') + QString::number(n);
    const QString name = QStringLiteral("out/out_") + uniqueStamp + QStringLiteral(".kml");

    // A document's styles come before its features, so the style part of each track goes first
    // and the placemarks follow; the lists themselves stay untouched until the file is there.
    QStringList document = KmlDocumentLines;
    KmlBeginDocument(document, QStringLiteral("out_") + uniqueStamp);
    QStringList tracks[3] = {KmlTrackLinesA, KmlTrackLinesB, KmlTrackLinesC};
    for (QStringList& t : tracks)
        document << t.mid(0, kKmlStyleLineCount);
    for (QStringList& t : tracks) {
        KmlEndPlacemark(t);
        document << t.mid(kKmlStyleLineCount);
    }
    KmlEndDocument(document);

    QSaveFile file(folder.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        result.Error = QStringLiteral("cannot write ") + name + QStringLiteral(": ") + file.errorString();
        return result;
    }
    const QByteArray bytes = (document.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
    QString reason;
    if (!FinishSaveFile(file, file.write(bytes) == bytes.size(), &reason)) {
        result.Error = QStringLiteral("cannot write ") + name + QStringLiteral(": ") + reason;
        return result;
    }
    KmlDocumentLines.clear();
    KmlTrackLinesA.clear();
    KmlTrackLinesB.clear();
    KmlTrackLinesC.clear();
    result.Written = true;
    result.FileName = name;
    return result;
}
