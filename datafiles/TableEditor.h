#ifndef ZENDRIK_DATAFILES_TABLEEDITOR_H
#define ZENDRIK_DATAFILES_TABLEEDITOR_H

#include "chart/canvas/PlotColor.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

class AxisBounds;
class TChartSeries;
struct DataFileContext;

// The table editor ("Edit Lim") without its widgets: which kind of table it edits, the grid's
// headings per kind, the file list, loading and saving through the readers and writers of the
// kind, the verify step with its preview, and the plot-range fields. The window shows the
// TableBuffer and calls these.

// The editor's kind (EditorKind) is a TableKind: none before the first launch, then the kind of
// the last launcher. A TC table has no launcher.

// What a launcher of the Setup menu sets up.
struct EditorKindInfo {
    TableKind Kind = TableKind::Limit;
    QString Mask;              // ".\src\*.lim"
    QString Caption;           // "Edit Limit"
    QStringList ColumnTitles;  // headings of columns 1 up
    std::vector<int> ColumnWidths; // pixels, column 0 first
    bool Preview = false;      // the verify button draws the table on the main chart
    bool BoldCells = false;    // the editor draws the cells itself, bold in their mark's colour
};

// Nothing for a kind without a launcher.
const EditorKindInfo* EditorKindInfoOf(TableKind kind);

// A launcher: a grid holding another kind's table is emptied (its name back to the first one);
// when editorKind differs from kind, editorKind becomes kind and the grid gets the kind's
// headings ("Freq" + n down column 0 for tables, the segment number for segment tables). True
// when the kind changed.
bool PrepareEditorKind(std::optional<TableKind>& editorKind, TableKind kind, TableBuffer& grid);

// The file names of the kind in ".\src", sorted as a file list shows them, and the count label.
QStringList ListEditorFiles(const QString& workingFolder, TableKind kind);
QString FileCountText(int count);

// A click on a file of the list: its reader with the load question. False when nothing was read.
bool LoadEditorFile(TableKind kind, TableBuffer& grid, const QString& fileName,
                    const DataFileContext& context);
// "Save File": the save dialog's settings and the writer of the kind.
SaveDialogSettings EditorSaveDialog(TableKind kind, const QString& tableName);
bool SaveEditorFile(TableKind kind, const TableBuffer& grid, const QString& chosenPath,
                    const DataFileContext& context);
// Before the save dialog asks for a name: a grid the kind's reader would refuse is not saved. The
// cell at fault turns red, and an error box and the message log say "Error: Cable table \"name\" not
// saved (row 3: the level 4x6 is no number)", the reason "Verify&Show" gives. True when refused.
bool RefuseEditorSave(TableKind kind, TableBuffer& grid, const DataFileContext& context);

// The verify button for the table kinds (a segment table does nothing): each row with a text
// turns its frequency and level cells green when both are numbers, else the cell that is not a
// number red (a level is read as it stands, so "56,5" is red although the preview draws it);
// then the table is drawn into the preview series (when there is one), and with autoscale the
// grid's plot range follows the table. A number beyond what the kind can hold (PointRangeFault) is
// red too. A grid the kind's reader would refuse (GridTableFault: an empty cell before the last
// row, a text that is no number, a number beyond the kind, a frequency of 0 or one below the row
// before) has its cell at fault red; the message log then says "Error: Amplifier table \"name\"
// not drawn (row ...)", and the preview is emptied instead of drawn.
void VerifyTable(TableKind kind, TableBuffer& grid, TChartSeries* preview, TColor color, bool autoscale,
                 const DataFileContext& context);

// The four plot-range fields: Edit1 and Edit2 in Hz for the frequency axis (kHz), Edit4 and
// Edit5 in dBuV for the level axis.
enum class PlotRangeField { StartHz, StopHz, LevelMin, LevelMax };
// The font colour a field shows after its text changed: green when the axis took the value, red
// when the text is no number or would cross the other end; Unchanged for an empty text.
enum class FieldMark { Unchanged, Green, Red };
FieldMark ApplyPlotRangeField(PlotRangeField field, const QString& text, AxisBounds& frequency, AxisBounds& level);
// All four at once, as the verify step's autoscale sets them: each axis as one pair when both of
// its fields are good, so a new range beyond the old one is not refused half-way.
struct PlotRangeMarks {
    FieldMark StartHz = FieldMark::Unchanged;
    FieldMark StopHz = FieldMark::Unchanged;
    FieldMark LevelMin = FieldMark::Unchanged;
    FieldMark LevelMax = FieldMark::Unchanged;
};
PlotRangeMarks ApplyPlotRange(const TableBuffer::PlotRange& range, AxisBounds& frequency, AxisBounds& level);
// The fields' texts when the window is created: the axes' ends (frequency times 1000), general
// format with 10 digits.
TableBuffer::PlotRange PlotRangeOfAxes(const AxisBounds& frequency, const AxisBounds& level);

// The pick list of a grid column of a segment table (SegmentColumns.h); empty for a column
// without one or a column that is no segment column.
QStringList SegmentColumnPicks(int gridColumn);
// Whether a grid column of a segment table takes typed text (one that has a pick list may not).
bool SegmentColumnTakesTyping(int gridColumn);

#endif
