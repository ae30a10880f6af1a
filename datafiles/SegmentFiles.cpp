#include "datafiles/SegmentFiles.h"

#include "app/Log.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "platform/inifile/IniFile.h"

#include <QFileInfo>

namespace segkeys {
const QString kStart = QStringLiteral("FRQa__");
const QString kStop = QStringLiteral("FRQb__");
const QString kRbw = QStringLiteral("BW____");
const QString kSweep = QStringLiteral("Sweep_");
const QString kAtt = QStringLiteral("Att___");
const QString kPreAmp = QStringLiteral("PreAmp");
const QString kDetector = QStringLiteral("Detector");
} // namespace segkeys

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kData = QStringLiteral("Data");
const QString kNameKey = QStringLiteral("Name");

enum class CellForm { AsStored, WithoutDots, Detector };

void ReadColumn(const IniFile& ini, TableBuffer& grid, const QString& prefix, int column, CellForm form)
{
    // Segments are counted, never sized by a number from the file; the run-time loader stops at
    // 500 anyway, the editor at the grid's limit.
    for (int n = 1; n < TableBuffer::kMaxRows; ++n) {
        QString value = ini.ReadString(kData, prefix + QString::number(n), QString());
        if (form == CellForm::WithoutDots)
            value = RemoveDots(value);
        // A value of nothing but dots ends the column as a missing one does: read on past its
        // empty cell, the rows after it would be lost by the next save.
        if (value.isEmpty())
            return;
        if (form == CellForm::Detector) {
            if (value == QLatin1String("POSPEAK"))
                value = QStringLiteral("POS");
            else if (value == QLatin1String("NEGPEAK"))
                value = QStringLiteral("NEG");
        }
        grid.SetCell(n, column, value);
    }
}

} // namespace

const QStringList& SegmentWriterDetectors()
{
    static const QStringList names = {QStringLiteral("NEG"),  QStringLiteral("NORM"), QStringLiteral("NORMAL"),
                                      QStringLiteral("POS"),  QStringLiteral("RMS"),  QStringLiteral("SAMP"),
                                      QStringLiteral("VAV"),  QStringLiteral("QPEAK")};
    return names;
}

void LoadSegmentFileIntoEditor(TableBuffer& grid, const QString& path, const DataFileContext& context)
{
    if (!context.Confirm(QStringLiteral("Load Segment File \"") + path + QLatin1Char('"')))
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
    grid.SetName(ini.ReadString(kGeneral, kNameKey, QString()));

    TableBuffer::BulkChange bulk(grid);
    grid.ClearColumns(1, 7);
    ReadColumn(ini, grid, segkeys::kStart, 1, CellForm::WithoutDots);
    ReadColumn(ini, grid, segkeys::kStop, 2, CellForm::WithoutDots);
    ReadColumn(ini, grid, segkeys::kRbw, 3, CellForm::AsStored);
    ReadColumn(ini, grid, segkeys::kSweep, 4, CellForm::AsStored);
    ReadColumn(ini, grid, segkeys::kAtt, 5, CellForm::AsStored);
    ReadColumn(ini, grid, segkeys::kPreAmp, 6, CellForm::AsStored);
    ReadColumn(ini, grid, segkeys::kDetector, 7, CellForm::Detector);
    grid.SetHolds(QStringLiteral("seg"));
}

bool SaveSegmentFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    const QString file = datafiles::AbsoluteSavePath(context.WorkingFolder, chosenPath);
    IniFile ini(file);
    ini.Clear();
    datafiles::WriteDataFileHeader(ini);
    ini.WriteString(kGeneral, kNameKey, grid.Name());
    for (int n = 1; n < grid.Rows() && !grid.Cell(n, 1).isEmpty(); ++n) {
        const QString num = QString::number(n);
        ini.WriteString(kData, segkeys::kStart + num, grid.Cell(n, 1));
        ini.WriteString(kData, segkeys::kStop + num, grid.Cell(n, 2));
        ini.WriteString(kData, segkeys::kRbw + num, grid.Cell(n, 3));
        ini.WriteString(kData, segkeys::kSweep + num, grid.Cell(n, 4));
        ini.WriteString(kData, segkeys::kAtt + num, grid.Cell(n, 5));
        ini.WriteString(kData, segkeys::kPreAmp + num,
                        grid.Cell(n, 6) == QLatin1String("on") ? QStringLiteral("on") : QStringLiteral("off"));
        const QString& det = grid.Cell(n, 7);
        ini.WriteString(kData, segkeys::kDetector + num, SegmentWriterDetectors().contains(det) ? det : QString());
    }
    return datafiles::CommitDataFile(ini, file, context);
}
