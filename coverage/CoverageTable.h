#ifndef ZENDRIK_COVERAGE_COVERAGETABLE_H
#define ZENDRIK_COVERAGE_COVERAGETABLE_H

#include <QString>
#include <QStringList>

struct CoverageFields;
struct GpsDisplay;

// ".\out\coverage.txt": the growing coverage log, one line of 15 texts separated by ";" per
// logged tick, CR LF, with a header line when the file is begun.

inline constexpr const char* kCoverageTableName = "out/coverage.txt";
inline constexpr const char* kCoverageTableHeader
    = "Index;Fix;Date;UTC;Lat;NS;Long;EW;Speed[km/"
      "h];FreqA[Hz];LevA[dBm];FreqB[Hz];LevB[dBm];FreqC[Hz];LevC[dBm]";

// The 15 fields of one line, from the view's fields and the receiver's.
QStringList CoverageLineFields(const CoverageFields& fields, const GpsDisplay& gps);

// Appends one line below workingFolder, with the header first when the file is missing or empty.
// A new table is written whole beside and renamed into place; a grown one is appended to and cut
// back to its old end when the disk refuses part of the line. So the file never holds half a line
// and a failed first line leaves no empty file. Returns the empty text, or why the line was not
// written ("cannot write <path>: " and the system's reason).
QString AppendCoverageLine(const QString& workingFolder, const QString& line);

// The table's path below workingFolder.
QString CoverageTablePath(const QString& workingFolder);

#endif
