#ifndef ZENDRIK_DATAFILES_SEGMENTFILES_H
#define ZENDRIK_DATAFILES_SEGMENTFILES_H

#include "datafiles/SegmentColumns.h"

#include <QString>
#include <QStringList>

struct DataFileContext;
class TableBuffer;

// Segment files (".seg"): one measurement set as a list of segments, in the editor's grid one
// column per SegmentColumn (SegmentColumns.h), which also names each column's file key. The
// run-time parser is LoadSegmentFile (SegmentLoader.h), which parses with ParseSegmentFile
// (SegmentTable.h).

// A column's file key ("FRQa__", "BW____", ...), before the segment number.
QString SegmentColumnKey(SegmentColumn column);

// The detector names the writer keeps; anything else is written as an empty value.
const QStringList& SegmentWriterDetectors();

// Always asks "Load Segment File \"path\"" first. Fills every segment column and the name; each
// column ends at its first missing or empty key. The grid grows for files longer than its rows.
void LoadSegmentFileIntoEditor(TableBuffer& grid, const QString& path, const DataFileContext& context);

// Writes the rows down to the first empty start cell, atomically (the old file stays on
// failure, with an error box). Returns false when the file could not be written.
bool SaveSegmentFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);

#endif
