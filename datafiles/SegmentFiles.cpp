#include "datafiles/SegmentFiles.h"

#include "app/Log.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/SegmentTable.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kData = QStringLiteral("Data");
const QString kNameKey = QStringLiteral("Name");

// A column's text of segment n as the editor shows it, before the detector names are mapped.
QString ColumnText(const IniFile& ini, const SegmentColumnInfo& info, int n)
{
    const QString key = QString::fromLatin1(info.Key) + QString::number(n);
    const QString value = ini.ReadString(kData, key, QString());
    return info.Form == SegmentCellForm::Frequency ? RemoveDots(value) : value;
}

void ReadColumn(const IniFile& ini, TableBuffer& grid, const SegmentColumnInfo& info)
{
    const int column = GridColumn(info.Column);
    // Segments are counted, never sized by a number from the file; the run-time loader stops at
    // 500 anyway, the editor at the grid's limit.
    for (int n = 1; n < TableBuffer::kMaxRows; ++n) {
        QString value = ColumnText(ini, info, n);
        // A value of nothing but dots ends the column as a missing one does (GapFault refuses a
        // file with keys after it).
        if (value.isEmpty())
            return;
        if (info.Form == SegmentCellForm::Detector) {
            if (value == QLatin1String("POSPEAK"))
                value = QStringLiteral("POS");
            else if (value == QLatin1String("NEGPEAK"))
                value = QStringLiteral("NEG");
        }
        grid.SetCell(n, column, value);
    }
}

// A column read to its first empty key while keys numbered after it follow: the grid would show the
// segments before the gap only, and the next save would lose the rest without a word. Said as the
// run says it.
QString GapFault(const IniFile& ini)
{
    for (const SegmentColumnInfo& info : kSegmentColumns) {
        int n = 1;
        while (n < TableBuffer::kMaxRows && !ColumnText(ini, info, n).isEmpty())
            ++n;
        if (datafiles::LastNumberedKey(ini, kData, {QString::fromLatin1(info.Key)}) > n)
            return SegmentGapText(info, n);
    }
    return {};
}

// The first number of the file that no analyser can be set to, as the run's reader refuses it.
// A text the run cannot read at all is shown as it stands, for the operator to mend (the run
// refuses it at load and at Play).
QString BoundFault(const IniFile& ini)
{
    for (const SegmentColumnInfo& info : kSegmentColumns)
        for (int n = 1; n < TableBuffer::kMaxRows; ++n) {
            const QString key = QString::fromLatin1(info.Key) + QString::number(n);
            const QString value = ini.ReadString(kData, key, QString());
            if (value.isEmpty())
                break;
            QString text = value;
            SegmentRecord taken;
            if (!info.Take(text, taken))
                continue;
            if (QString fault = SegmentBoundFault(info, n, value, taken); !fault.isEmpty())
                return fault;
        }
    return {};
}

// A cell as the writer stores it.
QString StoredText(const SegmentColumnInfo& info, const QString& cell)
{
    switch (info.Form) {
    case SegmentCellForm::OnOff:
        return cell == QLatin1String("on") ? QStringLiteral("on") : QStringLiteral("off");
    case SegmentCellForm::Detector: return SegmentWriterDetectors().contains(cell) ? cell : QString();
    case SegmentCellForm::Frequency:
    case SegmentCellForm::Text: break;
    }
    return cell;
}

} // namespace

QString SegmentColumnKey(SegmentColumn column)
{
    return QString::fromLatin1(InfoOf(column).Key);
}

const QStringList& SegmentWriterDetectors()
{
    static const QStringList names = {QStringLiteral("NEG"),  QStringLiteral("NORM"), QStringLiteral("NORMAL"),
                                      QStringLiteral("POS"),  QStringLiteral("RMS"),  QStringLiteral("SAMP"),
                                      QStringLiteral("VAV"),  QStringLiteral("QPEAK")};
    return names;
}

void LoadSegmentFileIntoEditor(TableBuffer& grid, const QString& path, const DataFileContext& context)
{
    const QString question =
        QStringLiteral("Load ") + TableKindWord(TableKind::Segment) + QStringLiteral(" File \"") + path + '"';
    if (!context.Confirm(question))
        return;
    const QString file = datafiles::ResolveDataPath(context.WorkingFolder, path);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return;
    const IniFile ini(file);
    if (!ini.Loaded()) {
        datafiles::ReportUnreadDataFile(ini, context);
        return;
    }
    context.LogDebug(QStringLiteral("zeile1 "));
    // Refused with the grid as it was, as a table with a level no cable can have is.
    QString fault = GapFault(ini);
    if (fault.isEmpty())
        fault = BoundFault(ini);
    if (!fault.isEmpty()) {
        datafiles::ShowAndLog(context, QStringLiteral("Error: ") + TableKindWord(TableKind::Segment) +
                                           QStringLiteral(" File not usable: ") +
                                           datafiles::QuoteInMessage(path) + QStringLiteral(" (") + fault +
                                           QLatin1Char(')'));
        return;
    }
    grid.SetName(ini.ReadString(kGeneral, kNameKey, QString()));

    TableBuffer::BulkChange bulk(grid);
    grid.ClearColumns(GridColumn(kSegmentColumns.front().Column), GridColumn(kSegmentColumns.back().Column));
    for (const SegmentColumnInfo& info : kSegmentColumns)
        ReadColumn(ini, grid, info);
    grid.SetHolds(TableKindExtension(TableKind::Segment));
}

namespace {

// The rows down to the last one with a typed text: a cell only a pick list fills holds what the list
// wrote when it was merely opened, so it makes no segment of its own.
int LastSegmentRow(const TableBuffer& grid)
{
    for (int r = grid.Rows() - 1; r >= 1; --r)
        for (const SegmentColumnInfo& info : kSegmentColumns)
            if (info.Typed && !grid.Cell(r, GridColumn(info.Column)).trimmed().isEmpty())
                return r;
    return 0;
}

// The "Data" keys of those rows, as the writer stores them.
void WriteSegmentRows(const TableBuffer& grid, IniFile& ini)
{
    for (int n = 1, last = LastSegmentRow(grid); n <= last; ++n) {
        const QString num = QString::number(n);
        for (const SegmentColumnInfo& info : kSegmentColumns)
            ini.WriteString(kData, QString::fromLatin1(info.Key) + num,
                            StoredText(info, grid.Cell(n, GridColumn(info.Column))));
    }
}

} // namespace

RowFault SegmentGridFault(const TableBuffer& grid)
{
    const int start = GridColumn(SegmentColumn::Start);
    const int last = LastSegmentRow(grid);
    for (int n = 1; n <= last; ++n)
        if (RemoveDots(grid.Cell(n, start)).trimmed().isEmpty())
            return {SegmentGapText(InfoOf(SegmentColumn::Start), n), n, start};
    IniFile rows{QString()};
    WriteSegmentRows(grid, rows);
    return {ParseSegmentIni(rows, 0).Error};
}

bool SaveSegmentFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    // What is saved is read again by the run: a grid it would refuse is not written.
    if (const QString fault = SegmentGridFault(grid).Text; !fault.isEmpty()) {
        datafiles::ShowAndLog(context, datafiles::TableNotUsedText(TableKind::Segment, grid.Name(),
                                                                   QStringLiteral("saved"), fault));
        return false;
    }
    const QString file = datafiles::AbsoluteSavePath(context.WorkingFolder, chosenPath);
    IniFile ini(file);
    ini.Clear();
    datafiles::WriteDataFileHeader(ini);
    ini.WriteString(kGeneral, kNameKey, grid.Name());
    WriteSegmentRows(grid, ini);
    return datafiles::CommitDataFile(ini, file, context);
}
