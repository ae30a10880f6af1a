#ifndef ZENDRIK_DATAFILES_SEGMENTFILES_H
#define ZENDRIK_DATAFILES_SEGMENTFILES_H

#include "datafiles/SegmentColumns.h"
#include "datafiles/TableInterpolation.h"

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
// column ends at its first missing or empty key. A file with a key numbered after a column's first
// missing one (the rows after it would not show, and the next save would lose them), or with a
// number no analyser can be set to, is refused with the grid as it was: an error box and the
// message log say "Error: Segment File not usable: " the path and the run's reason. The grid grows
// for files longer than its rows.
void LoadSegmentFileIntoEditor(TableBuffer& grid, const QString& path, const DataFileContext& context);

// Why the grid would be saved as a file the run refuses, in the run's words, with the start cell at
// fault for a row without one; no text for a grid the run takes or an empty one. The rows are those
// down to the last one with a typed text (start, stop, RBW, sweep or attenuation).
RowFault SegmentGridFault(const TableBuffer& grid);

// Writes those rows, atomically (the old file stays on failure, with an error box). A grid the run
// would refuse is not written: an error box and the message log say "Error: Segment table \"name\"
// not saved (Segment File Error Seg: ...)". Returns false when nothing was written.
bool SaveSegmentFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);

#endif
