#ifndef ZENDRIK_COVERAGE_KMLWRITER_H
#define ZENDRIK_COVERAGE_KMLWRITER_H

#include <QString>
#include <QStringList>

struct DateTimeTexts;

// The lines of a KML 2.2 track file, appended to plain line lists. Every text that goes into the
// file is escaped for XML here; callers pass the texts as the operator and the receiver gave them.

// The XML declaration and the root element's start tag.
void KmlWriteHeader(QStringList& list);
// "<Document>" and the document's name.
void KmlBeginDocument(QStringList& list, const QString& name);
// One line style with its own id, so that each track keeps its colour.
void KmlWriteStyle(QStringList& list, const QString& color, const QString& styleId);
// The placemark of one track up to its open coordinate list.
void KmlBeginPlacemark(QStringList& list, const QString& name, const QString& styleId);
// One point "longitude,latitude,height", unindented; the height is the level text without "-".
void KmlAddCoordinate(QStringList& list, const QString& longitude, const QString& latitude, const QString& level);
void KmlEndPlacemark(QStringList& list);
void KmlEndDocument(QStringList& list);

// The lines KmlWriteStyle adds; a track list begins with them.
inline constexpr int kKmlStyleLineCount = 9;

// "&", "<", ">" and both quotes as XML entities.
QString KmlEscape(const QString& text);

// The date-time text of a file name: "." and ":" deleted, blanks turned into "_", and then
// everything but letters, digits, "_" and "-" deleted, so that no locale's separators ("/" in
// particular) reach the file name. "06.12.2026 10:53:31" gives "06122026_105331".
QString KmlTimeStamp(const QString& dateTimeText);
// The current date and time in the short date and long time formats, as a time stamp.
QString KmlTimeStampNow(const DateTimeTexts& texts);

#endif
