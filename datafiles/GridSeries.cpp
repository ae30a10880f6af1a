#include "datafiles/GridSeries.h"

#include "app/Log.h"
#include "app/MainChartSeries.h"
#include "app/NumberText.h"
#include "app/TextRoutines.h"
#include "chart/engine/ChartSeries.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "datafiles/TableInterpolation.h"

namespace {

void LogSummary(const QString& key, int count, const DataFileContext& context)
{
    if (context.Debug != nullptr && context.Debug->DebugMode && context.Messages != nullptr)
        context.Messages->Append(QStringLiteral("Info: graph ") + key + QLatin1Char(' ') +
                                 InsertThousandDots(QString::number(count)) + QStringLiteral(" points"));
}

void LogExtremes(const GridTrace& trace, const DataFileContext& context)
{
    context.LogDebug(QStringLiteral("fmin=") + FloatToStr(trace.LowestFreq) + QStringLiteral(" fmax=") +
                     FloatToStr(trace.HighestFreq));
    context.LogDebug(QStringLiteral("pmin=") + FloatToStr(trace.LowestLevel) + QStringLiteral(" pmax=") +
                     FloatToStr(trace.HighestLevel));
    context.LogDebug(QStringLiteral("-----------"));
}

// A grid that makes no curve draws nothing. The table readers and the editor's verify step
// refuse such a table before it gets here, naming its file; this says which table it was should
// another caller meet one.
void ReportFault(const TableBuffer& grid, const GridTrace& trace, const DataFileContext& context)
{
    QString word;
    for (TableKind kind : {TableKind::Limit, TableKind::Cable, TableKind::Lisn, TableKind::Amplifier,
                           TableKind::Antenna, TableKind::Tc}) {
        if (TableKindExtension(kind) == grid.Holds())
            word = TableKindWord(kind) + QLatin1Char(' ');
    }
    const QString text = QStringLiteral("Error: ") + word + QStringLiteral("table \"") + grid.Name() +
                         QStringLiteral("\" not drawn (") + trace.Fault + QLatin1Char(')');
    context.Error(text);
    if (context.Messages != nullptr)
        context.Messages->Append(text);
}

void Append(TChartSeries& series, const GridTrace& trace, double offset, TColor color)
{
    if (offset == 0.0) {
        series.AddPointsXY(trace.X, trace.Y, color);
        return;
    }
    std::vector<double> shifted(trace.Y.size());
    for (size_t i = 0; i < shifted.size(); ++i)
        shifted[i] = trace.Y[i] - offset;
    series.AddPointsXY(trace.X, shifted, color);
}

} // namespace

QString GridSeriesKey(int mainSeriesNumber, bool withGeneratorAmp)
{
    const std::optional<SeriesRole> role = RoleOfNumber(mainSeriesNumber);
    if (!role || (*role == SeriesRole::generatorAmpCorrection && !withGeneratorAmp))
        return {};
    return QString::fromLatin1(RowOf(*role).GraphKey);
}

void InterpolateGridToSeries(TableBuffer& grid, TChartSeries& target, TColor color, bool rangeFlag,
                             int mainSeriesNumber, const DataFileContext& context)
{
    GridTrace trace;
    InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), false}, trace);
    {
        TChartSeries::UpdateScope hold(target);
        target.Clear();
        Append(target, trace, 0.0, color);
    }
    if (trace.DataError) {
        ReportFault(grid, trace, context);
        return;
    }
    LogSummary(GridSeriesKey(mainSeriesNumber, true), target.Count(), context);
    if (rangeFlag) {
        TableBuffer::PlotRange range;
        range.StartHz = QString::number(RoundHalfEven(trace.LowestFreq));
        range.StopHz = QString::number(RoundHalfEven(1.2 * trace.HighestFreq));
        range.LevelMin = QString::number(RoundHalfEven(1.3 * trace.LowestLevel));
        range.LevelMax = QString::number(RoundHalfEven(1.3 * trace.HighestLevel));
        grid.SetRange(range);
    }
    LogExtremes(trace, context);
}

void ShowGridAsSeries(const TableBuffer& grid, TChartSeries& limit, TChartSeries& margin, TColor color,
                      TColor marginColor, int marginDb, int mainSeriesNumber, const DataFileContext& context)
{
    GridTrace trace;
    InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), true}, trace);
    {
        TChartSeries::UpdateScope holdLimit(limit);
        TChartSeries::UpdateScope holdMargin(margin);
        limit.Clear();
        margin.Clear();
        Append(limit, trace, 0.0, color);
        if (marginDb != 0)
            Append(margin, trace, static_cast<double>(marginDb), marginColor);
    }
    if (trace.DataError) {
        ReportFault(grid, trace, context);
        return;
    }
    LogSummary(GridSeriesKey(mainSeriesNumber, false), limit.Count(), context);
    LogExtremes(trace, context);
}
