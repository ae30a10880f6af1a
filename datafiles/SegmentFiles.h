#ifndef ZENDRIK_DATAFILES_SEGMENTFILES_H
#define ZENDRIK_DATAFILES_SEGMENTFILES_H

#include <QString>
#include <QStringList>

struct DataFileContext;
class TableBuffer;

// Segment files (".seg"): one measurement set as a list of segments. In the editor's grid a
// segment occupies columns 1 start [Hz], 2 stop [Hz], 3 RBW [Hz], 4 sweep [ms], 5 attenuation
// [dB], 6 preamplifier, 7 detector. The run-time parser is LoadSegmentFile (SegmentTable.h).

namespace segkeys {
extern const QString kStart;    // "FRQa__"
extern const QString kStop;     // "FRQb__"
extern const QString kRbw;      // "BW____"
extern const QString kSweep;    // "Sweep_"
extern const QString kAtt;      // "Att___"
extern const QString kPreAmp;   // "PreAmp"
extern const QString kDetector; // "Detector"
} // namespace segkeys

// The detector names the writer keeps; anything else is written as an empty value.
const QStringList& SegmentWriterDetectors();

// Always asks "Load Segment File \"path\"" first. Fills columns 1 to 7 and the name; each
// column ends at its first missing or empty key. The grid grows for files longer than its rows.
void LoadSegmentFileIntoEditor(TableBuffer& grid, const QString& path, const DataFileContext& context);

// Writes the rows down to the first empty start cell, atomically (the old file stays on
// failure, with an error box). Returns false when the file could not be written.
bool SaveSegmentFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);

#endif
