#ifndef ZENDRIK_DATAFILES_TABLEFILES_H
#define ZENDRIK_DATAFILES_TABLEFILES_H

#include "datafiles/TableInterpolation.h"

#include <QChar>
#include <QString>
#include <vector>

class IniFile;
struct DataFileContext;
class TableBuffer;

// The data files of ".\src" that pass through the table editor's grid. Table files, limit lines
// and transducer corrections, are one list of points each: one reader and one writer serve every
// one of those kinds and differ only in the word of the load question and the extension. A
// segment table has columns of its own and its own reader and writer (SegmentFiles.h).
enum class TableKind { Limit, Cable, Lisn, Amplifier, Antenna, Tc, Segment };

// The bare extension ("lim", "cac", "lsc", "amp", "ant", "tc", "seg").
QString TableKindExtension(TableKind kind);
// The word of the load question ("Limit", "Cable", "LISN", "Amplifier", "Antenna", "TC",
// "Segment").
QString TableKindWord(TableKind kind);

// What the editor's save dialog is opened with for a table or segment file.
struct SaveDialogSettings {
    QString Title;         // "Save file"
    QString Folder;        // ".\src"
    QString Filter;        // "lim|*.lim"
    QString DefaultExt;    // "lim"
    QString FileName;      // the table name
    bool AskOverwrite = true;
};
SaveDialogSettings TableSaveDialog(const QString& extension, const QString& tableName);

// Reads a table file into columns 1 and 2 of the grid, its name and its two flags. With ask 'y'
// the operator is asked first ("Load Limit File \"path\"", "Load"/"Abort"). Returns true when
// the file existed and was read; an aborted question or a missing file change nothing. The grid
// grows for tables longer than its rows. The table's rows end with the last row a "Freq" or "Lev"
// key numbers. A file whose curve would not reach every one of its rows (no point at all, a cell
// that is empty or missing or no number, a frequency of 0 or below or one below the row before),
// or that holds a point no table of its kind can have, is refused: the grid stays as
// it was, an error box and the message log say "Error: Cable File not usable: " (the kind's word),
// the path and why, naming the row and the value, and the result is false.
// Nothing is read for TableKind::Segment.
bool LoadTableFile(TableKind kind, TableBuffer& grid, const QString& path, QChar ask,
                   const DataFileContext& context);
bool LoadLimitFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context);
bool LoadCableFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context);
bool LoadLisnFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context);
bool LoadAmplifierFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context);
bool LoadAntennaFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context);
bool LoadTcFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context);

// Writes the grid, name and flags to the file the operator chose in the save dialog. The new
// file replaces the old one only once it is complete; on failure the old file stays, an error
// box says why and the result is false. A grid the reader of the kind would refuse is not written:
// an error box and the message log say "Error: Cable table \"name\" not saved (row 3: ...)".
// An empty grid is written as a table without points.
bool SaveTableFile(TableKind kind, const TableBuffer& grid, const QString& chosenPath,
                   const DataFileContext& context);
bool SaveLimitFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);
bool SaveCableFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);
bool SaveLisnFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);
bool SaveAmplifierFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);
bool SaveAntennaFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context);


namespace datafiles {
// One point of a table file as read: the frequency without its dots, the level as stored.
struct TablePoint {
    QString Frequency;
    QString Level;
};
// Why a table's points are of no use (see LoadTableFile), naming the row and the value; empty when
// they make a curve through every row. levelLinear is the level mode the table is drawn with.
QString TableFault(TableKind kind, const std::vector<TablePoint>& points, bool levelLinear);
// The same with the cell at fault (row 0 for a table without points).
RowFault TableRowFault(TableKind kind, const std::vector<TablePoint>& points, bool levelLinear);
// The same for the grid's rows 1 to the last with a text, as the reader would say it of the file the
// writer makes of them; nothing for an empty grid.
RowFault GridTableFault(TableKind kind, const TableBuffer& grid);
// "Error: Cable table \"name\" not saved (row 3: ...)", what being "saved" or "drawn".
QString TableNotUsedText(TableKind kind, const QString& name, const QString& what, const QString& fault);
// The same for a table file as it now is, read again (a level mode the file does not name stays
// levelLinear); empty when the file is missing or has no fault. Play uses it to say why a table
// the project named is not there.
QString TableFileFault(TableKind kind, const QString& path, bool levelLinear, const QString& workingFolder);
// What Play and the views say of a table file that is there while the series it fills holds no
// point: "Cable File not usable: " (the kind's word) and the file, with its fault in brackets as
// the file now reads. Empty when the file is not there.
QString UnusableTableFile(TableKind kind, const QString& path, bool levelLinear, const QString& workingFolder);
// Why one point lies beyond what a table of the kind can hold ("row 3: the level 1e308 lies
// outside -200..200 dB"); empty when it does not, or when its texts are no numbers.
QString PointRangeFault(TableKind kind, int row, const TablePoint& p);
// A file that could not be written or read, or a table refused: an error box and the same line in
// the message log.
void ShowAndLog(const DataFileContext& context, const QString& text);
// The path a writer saves to: relative paths are taken below the working folder.
QString AbsoluteSavePath(const QString& workingFolder, const QString& chosenPath);
// The text of the error box for a failed save.
QString SaveErrorText(const QString& path, const QString& reason);
// Writes a data file built in memory; on failure shows and logs the error and returns false
// (the previous file stays as it was).
bool CommitDataFile(IniFile& ini, const QString& path, const DataFileContext& context);
// For a data file that exists but was not read (too large, a line too long, a read error): shows
// and logs the reason, naming the file, and returns true. False, saying nothing, otherwise.
bool ReportUnreadDataFile(const IniFile& ini, const DataFileContext& context);
} // namespace datafiles

#endif
