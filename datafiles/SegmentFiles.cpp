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

void ReadColumn(const IniFile& ini, TableBuffer& grid, const SegmentColumnInfo& info)
{
    const QString prefix = QString::fromLatin1(info.Key);
    const int column = GridColumn(info.Column);
    // Segments are counted, never sized by a number from the file; the run-time loader stops at
    // 500 anyway, the editor at the grid's limit.
    for (int n = 1; n < TableBuffer::kMaxRows; ++n) {
        QString value = ini.ReadString(kData, prefix + QString::number(n), QString());
        if (info.Form == SegmentCellForm::Frequency)
            value = RemoveDots(value);
        // A value of nothing but dots ends the column as a missing one does: read on past its
        // empty cell, the rows after it would be lost by the next save.
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

// The first number of the file that no analyser can be set to, as the run's reader refuses it.
// A text the run cannot read at all is shown as it stands, for the operator to mend (the run
// refuses it at load and at Play).
QString BoundFault(const IniFile& ini)
{
    for (const SegmentColumnInfo& info : kSegmentColumns)
        for (int n = 1; n < TableBuffer::kMaxRows; ++n) {
            const QString value = ini.ReadString(kData, QString::fromLatin1(info.Key) + QString::number(n), QString());
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
    if (const QString fault = BoundFault(ini); !fault.isEmpty()) {
        const QString text = QStringLiteral("Error: ") + TableKindWord(TableKind::Segment) +
                             QStringLiteral(" File not usable: ") + datafiles::QuoteInMessage(path) +
                             QStringLiteral(" (") + fault + QLatin1Char(')');
        context.Error(text);
        if (context.Messages != nullptr)
            context.Messages->Append(text);
        return;
    }
    grid.SetName(ini.ReadString(kGeneral, kNameKey, QString()));

    TableBuffer::BulkChange bulk(grid);
    grid.ClearColumns(GridColumn(kSegmentColumns.front().Column), GridColumn(kSegmentColumns.back().Column));
    for (const SegmentColumnInfo& info : kSegmentColumns)
        ReadColumn(ini, grid, info);
    grid.SetHolds(TableKindExtension(TableKind::Segment));
}

bool SaveSegmentFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    const QString file = datafiles::AbsoluteSavePath(context.WorkingFolder, chosenPath);
    IniFile ini(file);
    ini.Clear();
    datafiles::WriteDataFileHeader(ini);
    ini.WriteString(kGeneral, kNameKey, grid.Name());
    const int start = GridColumn(SegmentColumn::Start);
    for (int n = 1; n < grid.Rows() && !grid.Cell(n, start).isEmpty(); ++n) {
        const QString num = QString::number(n);
        for (const SegmentColumnInfo& info : kSegmentColumns)
            ini.WriteString(kData, QString::fromLatin1(info.Key) + num,
                            StoredText(info, grid.Cell(n, GridColumn(info.Column))));
    }
    return datafiles::CommitDataFile(ini, file, context);
}
