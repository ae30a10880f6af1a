#ifndef ZENDRIK_COVERAGE_KMLTRACKS_H
#define ZENDRIK_COVERAGE_KMLTRACKS_H

#include <QString>
#include <QStringList>

// The three coverage tracks (frequencies A, B and C) as KML lines, from the first logged point
// to the next Stop, when they are written as one file into the output folder.
class KmlTracks {
public:
    enum Track { A = 0, B = 1, C = 2 };

    // What a write did: the file name relative to the working folder ("out/out_<stamp>.kml"),
    // or why there is none.
    struct WriteResult {
        bool Written = false;
        QString FileName;
        QString Error; // empty when nothing needed writing
    };

    // True once the tracks were begun (the document list holds its head).
    bool Started() const { return !KmlDocumentLines.isEmpty(); }
    // The document head, then each track's style and placemark with its colour and name.
    void BeginTracks(const QString& nameA, const QString& nameB, const QString& nameC);
    // One point of a track; the level's sign is dropped for the height.
    void AddPoint(Track track, const QString& longitude, const QString& latitude, const QString& level);

    // Writes "<outFolder>/out_<stamp>.kml" (CR LF, UTF-8) through a temporary file and empties
    // the lists. An existing file is never replaced: "_2", "_3", ... go after the stamp. Nothing
    // is written while track A is empty. A failed write keeps every list, so the next Stop
    // still has the points.
    WriteResult WriteFile(const QString& workingFolder, const QString& stamp);

    // The file's head, then (while writing) the whole file.
    QStringList KmlDocumentLines;
    QStringList KmlTrackLinesA;
    QStringList KmlTrackLinesB;
    QStringList KmlTrackLinesC;

    // Line colours (alpha, blue, green, red) and style ids of the three tracks.
    static constexpr const char* kColors[3] = {"5000FF14", "50F01E14", "5014F0FF"};
    static constexpr const char* kStyleIds[3] = {"transPurpleLineGreenPolyA", "transPurpleLineGreenPolyB",
                                                 "transPurpleLineGreenPolyC"};

private:
    QStringList& Lines(Track track);
};

#endif
