#include "datafiles/TableEditor.h"

#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "app/Log.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/AxisBounds.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/GridSeries.h"
#include "datafiles/SegmentFiles.h"
#include "datafiles/TableInterpolation.h"

#include <QDir>

#include <array>
#include <optional>

namespace {

const QString kLimitColumn = QStringLiteral("Limit[Hz]");
const QString kDb = QStringLiteral("dB");

constexpr int kTitleColumnWidth = 45;

EditorKindInfo SegmentKind()
{
    EditorKindInfo info{TableKind::Segment, QStringLiteral(".\\src\\*.seg"), QStringLiteral("Edit segments"),
                        {}, {kTitleColumnWidth}, false, true};
    for (const SegmentColumnInfo& column : kSegmentColumns) {
        info.ColumnTitles << QString::fromLatin1(column.Heading);
        info.ColumnWidths.push_back(column.Width);
    }
    return info;
}

// In the order of the Setup menu's launchers.
const std::array<EditorKindInfo, 6>& KindTable()
{
    static const std::array<EditorKindInfo, 6> kinds = {
        EditorKindInfo{TableKind::Limit, QStringLiteral(".\\src\\*.lim"), QStringLiteral("Edit Limit"),
                       {kLimitColumn, QStringLiteral("dBuV")}, {kTitleColumnWidth, 80, 80}, true, true},
        EditorKindInfo{TableKind::Cable, QStringLiteral(".\\src\\*.cac"), QStringLiteral("Edit cable factor"),
                       {kLimitColumn, kDb}, {kTitleColumnWidth, 80, 80}, true, true},
        EditorKindInfo{TableKind::Lisn, QStringLiteral(".\\src\\*.lsc"), QStringLiteral("Edit lisn factor"),
                       {kLimitColumn, kDb}, {kTitleColumnWidth, 80, 80}, true, true},
        SegmentKind(),
        EditorKindInfo{TableKind::Amplifier, QStringLiteral(".\\src\\*.amp"),
                       QStringLiteral("Edit gain factor"), {kLimitColumn, kDb}, {kTitleColumnWidth, 80, 80},
                       true, false},
        EditorKindInfo{TableKind::Antenna, QStringLiteral(".\\src\\*.ant"),
                       QStringLiteral("Edit antenna factor"), {kLimitColumn, kDb},
                       {kTitleColumnWidth, 80, 80}, true, false},
    };
    return kinds;
}

bool IsTableOfPoints(TableKind kind)
{
    return kind != TableKind::Segment;
}

// The bare mask ("*.lim") of a kind's ".\src\*.lim".
QString BareMask(const EditorKindInfo& info)
{
    return info.Mask.mid(info.Mask.lastIndexOf(QLatin1Char('\\')) + 1);
}

std::optional<double> FrequencyField(const QString& text)
{
    double v = 0.0;
    if (!TryStrToFloat(text, v))
        return std::nullopt;
    return v / 1000.0;
}

std::optional<double> LevelField(const QString& text)
{
    int32_t v = 0;
    if (!TryStrToInt(RemoveDots(text), v))
        return std::nullopt;
    return static_cast<double>(v);
}

// The cell a refusal names turns red; one that names none (a segment's line) marks nothing.
void MarkFault(TableBuffer& grid, const RowFault& fault)
{
    if (fault.Row > 0 && fault.Column > 0)
        grid.SetMark(fault.Row, fault.Column, TableBuffer::CellMark::Red);
}

} // namespace

const EditorKindInfo* EditorKindInfoOf(TableKind kind)
{
    for (const EditorKindInfo& info : KindTable()) {
        if (info.Kind == kind)
            return &info;
    }
    return nullptr;
}

bool PrepareEditorKind(std::optional<TableKind>& editorKind, TableKind kind, TableBuffer& grid)
{
    const EditorKindInfo* info = EditorKindInfoOf(kind);
    if (info == nullptr)
        return false;
    // Project loads read every table through this buffer, the limit lines last: what another
    // kind left here would be shown under this kind's caption and saved into this kind's file.
    const QString own = BareMask(*info).mid(2);
    if (!grid.Holds().isEmpty() && grid.Holds() != own) {
        grid.ClearData();
        grid.SetName(TableBuffer::kInitialName);
    }
    grid.SetHolds(own);
    if (editorKind == kind)
        return false;
    editorKind = kind;
    TableBuffer::BulkChange bulk(grid);
    if (kind == TableKind::Segment)
        grid.ClearData();
    for (int c = 1; c < TableBuffer::kColumns; ++c)
        grid.SetCell(0, c, c <= info->ColumnTitles.size() ? info->ColumnTitles[c - 1] : QString());
    for (int r = 1; r < grid.Rows(); ++r) {
        const QString number = QString::number(r);
        grid.SetCell(r, 0, kind == TableKind::Segment ? number : QStringLiteral("Freq") + number);
    }
    return true;
}

QStringList ListEditorFiles(const QString& workingFolder, TableKind kind)
{
    const EditorKindInfo* info = EditorKindInfoOf(kind);
    if (info == nullptr)
        return {};
    return QDir(workingFolder + QStringLiteral("/src"))
        .entryList({BareMask(*info)}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QString FileCountText(int count)
{
    return QStringLiteral("Files ") + QString::number(count);
}

bool LoadEditorFile(TableKind kind, TableBuffer& grid, const QString& fileName,
                    const DataFileContext& context)
{
    if (EditorKindInfoOf(kind) == nullptr)
        return false;
    const QString path = QStringLiteral(".\\src\\") + fileName;
    if (kind == TableKind::Segment) {
        LoadSegmentFileIntoEditor(grid, path, context);
        return true;
    }
    return LoadTableFile(kind, grid, path, QLatin1Char('y'), context);
}

SaveDialogSettings EditorSaveDialog(TableKind kind, const QString& tableName)
{
    return TableSaveDialog(TableKindExtension(kind), tableName);
}

bool SaveEditorFile(TableKind kind, const TableBuffer& grid, const QString& chosenPath,
                    const DataFileContext& context)
{
    if (EditorKindInfoOf(kind) == nullptr)
        return false;
    if (kind == TableKind::Segment)
        return SaveSegmentFile(grid, chosenPath, context);
    return SaveTableFile(kind, grid, chosenPath, context);
}

bool RefuseEditorSave(TableKind kind, TableBuffer& grid, const DataFileContext& context)
{
    if (EditorKindInfoOf(kind) == nullptr)
        return false;
    const RowFault fault =
        kind == TableKind::Segment ? SegmentGridFault(grid) : datafiles::GridTableFault(kind, grid);
    if (fault.Text.isEmpty())
        return false;
    MarkFault(grid, fault);
    const QString text = datafiles::TableNotUsedText(kind, grid.Name(), QStringLiteral("saved"), fault.Text);
    datafiles::ShowAndLog(context, text);
    return true;
}

void VerifyTable(TableKind kind, TableBuffer& grid, TChartSeries* preview, TColor color, bool autoscale,
                 const DataFileContext& context)
{
    if (EditorKindInfoOf(kind) == nullptr || !IsTableOfPoints(kind))
        return;
    for (int r = 1; r < grid.Rows(); ++r) {
        grid.SetMark(r, 1, TableBuffer::CellMark::Black);
        grid.SetMark(r, 2, TableBuffer::CellMark::Black);
        const QString freq = RemoveDots(grid.Cell(r, 1));
        const QString level = grid.Cell(r, 2);
        if (freq.isEmpty() && level.isEmpty())
            continue;
        const bool freqOk = ParseStrictFloat(freq).has_value();
        const bool levelOk = ParseStrictFloat(level).has_value();
        if (!freqOk)
            grid.SetMark(r, 1, TableBuffer::CellMark::Red);
        if (!levelOk)
            grid.SetMark(r, 2, TableBuffer::CellMark::Red);
        if (freqOk && levelOk) {
            grid.SetMark(r, 1, TableBuffer::CellMark::Green);
            grid.SetMark(r, 2, TableBuffer::CellMark::Green);
        }
        // A number no table of the kind can hold is red like a text that is none: the file reader
        // would refuse it, and Play with it.
        if (!datafiles::PointRangeFault(kind, r, {freq, level}).isEmpty()) {
            const bool frequencyBad = !datafiles::PointRangeFault(kind, r, {freq, QString()}).isEmpty();
            grid.SetMark(r, frequencyBad ? 1 : 2, TableBuffer::CellMark::Red);
        }
    }
    // A row the reader would refuse (a cell that is empty or no number, a number beyond the kind, a
    // frequency of 0 or one below the row before) would end the curve short of the table's end, so
    // the table is not drawn; the line names it as loading the saved file would.
    const RowFault fault = datafiles::GridTableFault(kind, grid);
    if (!fault.Text.isEmpty()) {
        MarkFault(grid, fault);
        if (context.Messages != nullptr)
            context.Messages->Append(
                datafiles::TableNotUsedText(kind, grid.Name(), QStringLiteral("drawn"), fault.Text));
        if (preview != nullptr)
            preview->Clear();
        return;
    }
    if (preview != nullptr)
        InterpolateGridToSeries(grid, *preview, color, autoscale, 6, context);
}

FieldMark ApplyPlotRangeField(PlotRangeField field, const QString& text, AxisBounds& frequency, AxisBounds& level)
{
    if (text.isEmpty())
        return FieldMark::Unchanged;
    switch (field) {
    case PlotRangeField::StartHz: {
        const auto v = FrequencyField(text);
        if (!v || !(*v < frequency.Maximum()))
            return FieldMark::Red;
        frequency.SetMinimum(*v);
        return FieldMark::Green;
    }
    case PlotRangeField::StopHz: {
        const auto v = FrequencyField(text);
        if (!v || !(*v > frequency.Minimum()))
            return FieldMark::Red;
        frequency.SetMaximum(*v);
        return FieldMark::Green;
    }
    case PlotRangeField::LevelMin: {
        const auto v = LevelField(text);
        if (!v || !(*v < level.Maximum()))
            return FieldMark::Red;
        level.SetMinimum(*v);
        return FieldMark::Green;
    }
    case PlotRangeField::LevelMax: {
        const auto v = LevelField(text);
        if (!v || !(*v > level.Minimum()))
            return FieldMark::Red;
        level.SetMaximum(*v);
        return FieldMark::Green;
    }
    }
    return FieldMark::Unchanged;
}

PlotRangeMarks ApplyPlotRange(const TableBuffer::PlotRange& range, AxisBounds& frequency, AxisBounds& level)
{
    PlotRangeMarks marks;
    const auto start = FrequencyField(range.StartHz);
    const auto stop = FrequencyField(range.StopHz);
    if (start && stop && *start < *stop) {
        datafiles::SetAxisPair(frequency, *start, *stop);
        marks.StartHz = marks.StopHz = FieldMark::Green;
    } else {
        marks.StartHz = ApplyPlotRangeField(PlotRangeField::StartHz, range.StartHz, frequency, level);
        marks.StopHz = ApplyPlotRangeField(PlotRangeField::StopHz, range.StopHz, frequency, level);
    }
    const auto low = LevelField(range.LevelMin);
    const auto high = LevelField(range.LevelMax);
    if (low && high && *low < *high) {
        datafiles::SetAxisPair(level, *low, *high);
        marks.LevelMin = marks.LevelMax = FieldMark::Green;
    } else {
        marks.LevelMin = ApplyPlotRangeField(PlotRangeField::LevelMin, range.LevelMin, frequency, level);
        marks.LevelMax = ApplyPlotRangeField(PlotRangeField::LevelMax, range.LevelMax, frequency, level);
    }
    return marks;
}

TableBuffer::PlotRange PlotRangeOfAxes(const AxisBounds& frequency, const AxisBounds& level)
{
    const auto general = [](double v) { return FloatToStrF(v, FloatFormat::ffGeneral, 10, 0); };
    TableBuffer::PlotRange r;
    r.StartHz = general(frequency.Minimum() * 1000.0);
    r.StopHz = general(frequency.Maximum() * 1000.0);
    r.LevelMin = general(level.Minimum());
    r.LevelMax = general(level.Maximum());
    return r;
}

QStringList SegmentColumnPicks(int gridColumn)
{
    QStringList picks;
    if (const SegmentColumnInfo* info = SegmentColumnAt(gridColumn))
        for (const char* pick : info->Picks)
            picks << QString::fromLatin1(pick);
    return picks;
}

bool SegmentColumnTakesTyping(int gridColumn)
{
    const SegmentColumnInfo* info = SegmentColumnAt(gridColumn);
    return info == nullptr || info->Typed;
}
