#include "datafiles/TableFiles.h"

#include "app/Log.h"
#include "app/NumberText.h"
#include "app/PlausibleRanges.h"
#include "app/TextRoutines.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/DataFilePaths.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableInterpolation.h"
#include "platform/inifile/IniFile.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>
#include <optional>

namespace {

const QString kGeneral = QStringLiteral("General");
const QString kData = QStringLiteral("Data");
const QString kNameKey = QStringLiteral("Name");
const QString kFreqModeKey = QStringLiteral("Freq_Interplot_Mode");
const QString kLevelModeKey = QStringLiteral("Level_Interplot_Mode");
const QString kFreqPrefix = QStringLiteral("Freq");
const QString kLevelPrefix = QStringLiteral("Lev");
const QString kLin = QStringLiteral("lin");
const QString kLog = QStringLiteral("log");

// "lin" checks, "log" unchecks, any other text (other case included) leaves the flag as it was.
void ApplyMode(const QString& text, bool current, bool& out)
{
    if (text == kLin)
        out = true;
    else if (text == kLog)
        out = false;
    else
        out = current;
}

// The points of a table file, to the last row a "Freq" or "Lev" key numbers. A row without a
// frequency before that is read too and ends the reading: it refuses the table (TableFault), where
// ending the table there would drop the rows after it without a word. A key number from the file
// never sizes the grid: rows are counted, and a table longer than the grid can hold is cut there
// (cut is set).
std::vector<datafiles::TablePoint> ReadTablePoints(const IniFile& ini, bool& cut)
{
    std::vector<datafiles::TablePoint> points;
    const int64_t last = datafiles::LastNumberedKey(ini, kData, {kFreqPrefix, kLevelPrefix});
    for (int64_t n = 1; n <= last; ++n) {
        if (n >= TableBuffer::kMaxRows) {
            cut = true;
            break;
        }
        // A frequency of nothing but dots is as empty as a missing one once they are gone.
        QString f = RemoveDots(ini.ReadString(kData, kFreqPrefix + QString::number(n), QString()));
        const bool gap = f.isEmpty();
        points.push_back({std::move(f), ini.ReadString(kData, kLevelPrefix + QString::number(n), QString())});
        if (gap)
            break;
    }
    return points;
}

} // namespace

QString TableKindExtension(TableKind kind)
{
    switch (kind) {
    case TableKind::Limit: return QStringLiteral("lim");
    case TableKind::Cable: return QStringLiteral("cac");
    case TableKind::Lisn: return QStringLiteral("lsc");
    case TableKind::Amplifier: return QStringLiteral("amp");
    case TableKind::Antenna: return QStringLiteral("ant");
    case TableKind::Tc: return QStringLiteral("tc");
    case TableKind::Segment: return QStringLiteral("seg");
    }
    return {};
}

QString TableKindWord(TableKind kind)
{
    switch (kind) {
    case TableKind::Limit: return QStringLiteral("Limit");
    case TableKind::Cable: return QStringLiteral("Cable");
    case TableKind::Lisn: return QStringLiteral("LISN");
    case TableKind::Amplifier: return QStringLiteral("Amplifier");
    case TableKind::Antenna: return QStringLiteral("Antenna");
    case TableKind::Tc: return QStringLiteral("TC");
    case TableKind::Segment: return QStringLiteral("Segment");
    }
    return {};
}

SaveDialogSettings TableSaveDialog(const QString& extension, const QString& tableName)
{
    SaveDialogSettings dialog;
    dialog.Title = QStringLiteral("Save file");
    dialog.Folder = QStringLiteral(".\\src");
    dialog.Filter = extension + QStringLiteral("|*.") + extension;
    dialog.DefaultExt = extension;
    dialog.FileName = tableName;
    dialog.AskOverwrite = true;
    return dialog;
}

bool LoadTableFile(TableKind kind, TableBuffer& grid, const QString& path, QChar ask,
                   const DataFileContext& context)
{
    if (kind == TableKind::Segment)
        return false;
    if (ask == QLatin1Char('y')) {
        const QString question = QStringLiteral("Load ") + TableKindWord(kind) + QStringLiteral(" File \"") +
                                 path + QLatin1Char('"');
        if (!context.Confirm(question))
            return false;
    }
    const QString file = datafiles::ResolveDataPath(context.WorkingFolder, path);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return false;

    const IniFile ini(file);
    if (!ini.Loaded()) {
        datafiles::ReportUnreadDataFile(ini, context);
        return false;
    }

    context.LogDebug(QStringLiteral("zeile1 "));
    const QString freqMode = ini.ReadString(kGeneral, kFreqModeKey, QString());
    const QString levelMode = ini.ReadString(kGeneral, kLevelModeKey, QString());
    const QString name = ini.ReadString(kGeneral, kNameKey, QString());
    context.LogDebug(QStringLiteral("zeile1 ") + freqMode);
    context.LogDebug(QStringLiteral("zeile1 ") + levelMode);

    // The points are read aside first: a file that makes no curve is refused with the grid as it
    // was, where an empty grid would read as a correction of 0 dB or a missing limit.
    bool cut = false;
    std::vector<datafiles::TablePoint> points = ReadTablePoints(ini, cut);
    if (cut && context.Messages != nullptr)
        context.Messages->Append(QStringLiteral("Warning: ") + path + QStringLiteral(" has more than ") +
                                 QString::number(TableBuffer::kMaxRows - 1) +
                                 QStringLiteral(" points; the rest is not read"));
    bool freqLinear = grid.FreqLinear();
    bool levelLinear = grid.LevelLinear();
    ApplyMode(freqMode, grid.FreqLinear(), freqLinear);
    ApplyMode(levelMode, grid.LevelLinear(), levelLinear);
    const QString fault = datafiles::TableFault(kind, points, levelLinear);
    if (!fault.isEmpty()) {
        datafiles::ShowAndLog(context, QStringLiteral("Error: ") + TableKindWord(kind) +
                                QStringLiteral(" File not usable: ") + datafiles::QuoteInMessage(path) +
                                QStringLiteral(" (") + fault + QLatin1Char(')'));
        return false;
    }

    grid.SetName(name);
    grid.SetFreqLinear(freqLinear);
    grid.SetLevelLinear(levelLinear);
    TableBuffer::BulkChange bulk(grid);
    grid.ClearColumns(1, 2);
    for (size_t i = 0; i < points.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid.SetCell(row, 1, points[i].Frequency);
        if (!points[i].Level.isEmpty())
            grid.SetCell(row, 2, points[i].Level);
    }
    grid.SetHolds(TableKindExtension(kind));
    return true;
}

namespace datafiles {

namespace {

// As the interpolation reads them: the frequency without its dots, "," or "." in the level.
std::optional<double> FrequencyOf(const TablePoint& p) { return ParseMachine(p.Frequency.trimmed()); }
std::optional<double> LevelOf(const TablePoint& p)
{
    return ParseMachine(QString(p.Level).replace(QLatin1Char(','), QLatin1Char('.')).trimmed());
}

plausible::Range LevelRange(TableKind kind)
{
    return kind == TableKind::Limit ? plausible::kLimitDbuv : plausible::kCorrectionDb;
}

} // namespace

QString PointRangeFault(TableKind kind, int row, const TablePoint& p)
{
    const bool limit = kind == TableKind::Limit;
    const plausible::Range levels = LevelRange(kind);
    const std::optional<double> f = FrequencyOf(p);
    const std::optional<double> l = LevelOf(p);
    const QString at = QStringLiteral("row ") + QString::number(row) + QStringLiteral(": ");
    if (f && !plausible::kFrequencyHz.Holds(*f))
        return at + QStringLiteral("the frequency ") + p.Frequency.trimmed() + QStringLiteral(" Hz lies outside ") +
               plausible::kFrequencyHz.Text() + QStringLiteral(" Hz");
    if (l && !levels.Holds(*l))
        return at + QStringLiteral("the level ") + p.Level.trimmed() + QStringLiteral(" lies outside ") +
               levels.Text() + (limit ? QStringLiteral(" dBuV") : QStringLiteral(" dB"));
    return {};
}

RowFault TableRowFault(TableKind kind, const std::vector<TablePoint>& points, bool levelLinear)
{
    if (points.empty())
        return {QStringLiteral("it holds no point")};
    // A number no cable or limit can have would be measured with; a cell that is no number, a
    // frequency of 0 or one below the row before would end the curve short of the table's end.
    // One such row refuses the table.
    std::vector<TableCorner> corners;
    corners.reserve(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        TableCorner corner;
        const RowFault rowFault = ReadCorner(row, points[i].Frequency, points[i].Level,
                                             corners.empty() ? nullptr : &corners.back(), corner);
        // A number beyond the kind's range is named as such first; the texts are read again only
        // for a row at fault, so a long table is converted once.
        if (!rowFault.Text.isEmpty() || !LevelRange(kind).Holds(corner.Level)) {
            const QString range = PointRangeFault(kind, row, points[i]);
            if (range.isEmpty())
                return rowFault;
            const bool frequencyBad = !PointRangeFault(kind, row, {points[i].Frequency, QString()}).isEmpty();
            return {range, row, frequencyBad ? 1 : 2};
        }
        corners.push_back(corner);
    }
    return CurveFault(corners, GridInterpolationOptions{levelLinear, kind == TableKind::Limit});
}

QString TableFault(TableKind kind, const std::vector<TablePoint>& points, bool levelLinear)
{
    return TableRowFault(kind, points, levelLinear).Text;
}

RowFault GridTableFault(TableKind kind, const TableBuffer& grid)
{
    const int last = LastTableRow(grid);
    if (last == 0)
        return {};
    std::vector<TablePoint> points;
    points.reserve(static_cast<size_t>(last));
    for (int r = 1; r <= last; ++r)
        points.push_back({RemoveDots(grid.Cell(r, 1)), grid.Cell(r, 2)});
    return TableRowFault(kind, points, grid.LevelLinear());
}

QString TableNotUsedText(TableKind kind, const QString& name, const QString& what, const QString& fault)
{
    return QStringLiteral("Error: ") + TableKindWord(kind) + QStringLiteral(" table \"") + name +
           QStringLiteral("\" not ") + what + QStringLiteral(" (") + fault + QLatin1Char(')');
}

QString TableFileFault(TableKind kind, const QString& path, bool levelLinear, const QString& workingFolder)
{
    const QString file = ResolveDataPath(workingFolder, path);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return {};
    const IniFile ini(file);
    if (!ini.Loaded())
        return ini.LoadError();
    bool cut = false;
    const std::vector<TablePoint> points = ReadTablePoints(ini, cut);
    ApplyMode(ini.ReadString(kGeneral, kLevelModeKey, QString()), levelLinear, levelLinear);
    return TableFault(kind, points, levelLinear);
}

QString UnusableTableFile(TableKind kind, const QString& path, bool levelLinear, const QString& workingFolder)
{
    const QString file = ResolveDataPath(workingFolder, path);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return {};
    const QString fault = TableFileFault(kind, path, levelLinear, workingFolder);
    return TableKindWord(kind) + QStringLiteral(" File not usable: ") + QuoteInMessage(path) +
           (fault.isEmpty() ? QString() : QStringLiteral(" (") + fault + QLatin1Char(')'));
}

} // namespace datafiles

bool LoadLimitFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context)
{
    return LoadTableFile(TableKind::Limit, grid, path, ask, context);
}
bool LoadCableFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context)
{
    return LoadTableFile(TableKind::Cable, grid, path, ask, context);
}
bool LoadLisnFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context)
{
    return LoadTableFile(TableKind::Lisn, grid, path, ask, context);
}
bool LoadAmplifierFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context)
{
    return LoadTableFile(TableKind::Amplifier, grid, path, ask, context);
}
bool LoadAntennaFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context)
{
    return LoadTableFile(TableKind::Antenna, grid, path, ask, context);
}
bool LoadTcFile(TableBuffer& grid, const QString& path, QChar ask, const DataFileContext& context)
{
    return LoadTableFile(TableKind::Tc, grid, path, ask, context);
}

namespace datafiles {

void ShowAndLog(const DataFileContext& context, const QString& text)
{
    context.Error(text);
    if (context.Messages != nullptr)
        context.Messages->Append(text);
}

QString AbsoluteSavePath(const QString& workingFolder, const QString& chosenPath)
{
    QString p = chosenPath;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (QDir::isAbsolutePath(p))
        return QDir::cleanPath(p);
    const QString base = workingFolder.isEmpty() ? QDir::currentPath() : workingFolder;
    return QDir::cleanPath(base + QLatin1Char('/') + p);
}

QString SaveErrorText(const QString& path, const QString& reason)
{
    return QStringLiteral("Error: file not saved: ") + path + QStringLiteral(" (") + reason +
           QStringLiteral("); the previous file is unchanged");
}

bool CommitDataFile(IniFile& ini, const QString& path, const DataFileContext& context)
{
    QString reason;
    if (ini.UpdateFile(&reason))
        return true;
    ShowAndLog(context, SaveErrorText(path, reason));
    return false;
}

bool ReportUnreadDataFile(const IniFile& ini, const DataFileContext& context)
{
    if (ini.LoadError().isEmpty())
        return false;
    ShowAndLog(context, QStringLiteral("Error: ") + ini.LoadError());
    return true;
}

} // namespace datafiles

bool SaveTableFile(TableKind kind, const TableBuffer& grid, const QString& chosenPath,
                   const DataFileContext& context)
{
    // What is saved is read again by the same reader: a grid it would refuse is not written.
    if (const RowFault fault = datafiles::GridTableFault(kind, grid); !fault.Text.isEmpty()) {
        datafiles::ShowAndLog(
            context, datafiles::TableNotUsedText(kind, grid.Name(), QStringLiteral("saved"), fault.Text));
        return false;
    }
    const QString file = datafiles::AbsoluteSavePath(context.WorkingFolder, chosenPath);
    // Built from nothing so that no key of an older, longer table survives; the old file is
    // replaced only by a complete new one.
    IniFile ini(file);
    ini.Clear();
    datafiles::WriteDataFileHeader(ini);
    ini.WriteString(kGeneral, kNameKey, grid.Name());
    ini.WriteString(kGeneral, kFreqModeKey, grid.FreqLinear() ? kLin : kLog);
    ini.WriteString(kGeneral, kLevelModeKey, grid.LevelLinear() ? kLin : kLog);
    for (int n = 1, last = LastTableRow(grid); n <= last; ++n) {
        ini.WriteString(kData, kFreqPrefix + QString::number(n), grid.Cell(n, 1));
        ini.WriteString(kData, kLevelPrefix + QString::number(n), grid.Cell(n, 2));
    }
    return datafiles::CommitDataFile(ini, file, context);
}

bool SaveLimitFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    return SaveTableFile(TableKind::Limit, grid, chosenPath, context);
}
bool SaveCableFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    return SaveTableFile(TableKind::Cable, grid, chosenPath, context);
}
bool SaveLisnFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    return SaveTableFile(TableKind::Lisn, grid, chosenPath, context);
}
bool SaveAmplifierFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    return SaveTableFile(TableKind::Amplifier, grid, chosenPath, context);
}
bool SaveAntennaFile(const TableBuffer& grid, const QString& chosenPath, const DataFileContext& context)
{
    return SaveTableFile(TableKind::Antenna, grid, chosenPath, context);
}
