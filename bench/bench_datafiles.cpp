#include "chart/engine/ChartParent.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/ChartSeriesList.h"
#include "chart/engine/ChartTools.h"
#include "datafiles/DataFileContext.h"
#include "datafiles/GridSeries.h"
#include "datafiles/TableBuffer.h"
#include "datafiles/TableFiles.h"
#include "datafiles/TableInterpolation.h"
#include "platform/inifile/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

// A 9 kHz - 3 GHz limit line (749,998 points on the 4 kHz grid) with its margin line.
namespace {

class BenchChart : public ChartParent {
public:
    void Repaint() override { ++repaints; }
    TChartSeriesList& SeriesList() override { return list; }
    TChartTools& Tools() override { return tools; }
    TChartSeriesList list;
    TChartTools tools;
    int repaints = 0;
};

void FillLimit(TableBuffer& grid, bool linear)
{
    // A sloped line in every pair, so the flat-segment shortcut does not apply.
    const char* rows[][2] = {{"9.000", "110"},          {"150.000", "80"},          {"500.000", "66"},
                             {"30.000.000", "60"},      {"230.000.000", "47"},     {"1.000.000.000", "57"},
                             {"3.000.000.000", "74"}};
    for (int i = 0; i < 7; ++i) {
        grid.SetCell(i + 1, 1, QLatin1String(rows[i][0]));
        grid.SetCell(i + 1, 2, QLatin1String(rows[i][1]));
    }
    grid.SetLevelLinear(linear);
}

void BM_InterpolateGridArrays(benchmark::State& state)
{
    TableBuffer grid;
    FillLimit(grid, state.range(0) != 0);
    GridTrace trace;
    for (auto _ : state) {
        InterpolateGrid(grid, GridInterpolationOptions{grid.LevelLinear(), true}, trace);
        benchmark::DoNotOptimize(trace.Y.data());
    }
    state.counters["points"] = static_cast<double>(trace.X.size());
}
BENCHMARK(BM_InterpolateGridArrays)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ShowGridAsSeriesWithMargin(benchmark::State& state)
{
    TableBuffer grid;
    FillLimit(grid, state.range(0) != 0);
    BenchChart chart;
    TChartSeries limit;
    TChartSeries margin;
    limit.SetParentChart(&chart);
    margin.SetParentChart(&chart);
    DataFileContext context;
    for (auto _ : state) {
        ShowGridAsSeries(grid, limit, margin, 0x0000FF, 0x00FF00, 6, 2, context);
        benchmark::DoNotOptimize(margin.Count());
    }
    state.counters["points"] = static_cast<double>(limit.Count());
    state.counters["repaints_per_fill"] = static_cast<double>(chart.repaints) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ShowGridAsSeriesWithMargin)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Loading a settings file of 40,000 sections (1.6 MB) and reading one key of the last section:
// section lookup must not scan every section.
void BM_LoadIniOfFortyThousandSections(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("many.ini"));
    {
        QByteArray text;
        for (int i = 0; i < 40000; ++i)
            text += "[Section" + QByteArray::number(i) + "]\r\nKey=" + QByteArray::number(i) + "\r\nOther=abcdefgh\r\n";
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) {
            state.SkipWithError("cannot write the file");
            return;
        }
        state.counters["bytes"] = static_cast<double>(text.size());
    }
    for (auto _ : state) {
        IniFile ini(path);
        benchmark::DoNotOptimize(ini.ReadInteger(QStringLiteral("Section39999"), QStringLiteral("Key"), 0));
        benchmark::DoNotOptimize(ini.ReadSections().size());
    }
}
BENCHMARK(BM_LoadIniOfFortyThousandSections)->Unit(benchmark::kMillisecond);

// A limit line at the table reader's own limit of 999,999 points, written as the table writer
// writes it (dotted frequencies, interleaved Freq/Lev keys, CRLF), loaded through the reader the
// editor and the project loader use. Each iteration reads into a fresh grid, as a first load does.
void BM_LoadTableFileAtReaderLimit(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString name = QStringLiteral("limit999999.lim");
    constexpr int kPoints = TableBuffer::kMaxRows - 1;
    {
        QByteArray text = "[Application]\r\nSoftware=Morvak QZ-W32-D7\r\nVersion=Release\r\n"
                          "Date=01.02.2026 10:00:00\r\n\r\n[General]\r\nName=Huge\r\n"
                          "Freq_Interplot_Mode=log\r\nLevel_Interplot_Mode=lin\r\n\r\n[Data]\r\n";
        text.reserve(60 * kPoints);
        for (int n = 1; n <= kPoints; ++n) {
            // 9 kHz upwards in 3 kHz steps, with the thousands dots an operator types.
            const QByteArray hz = QByteArray::number(9000 + 3000LL * n);
            QByteArray dotted;
            for (qsizetype i = 0; i < hz.size(); ++i) {
                if (i > 0 && (hz.size() - i) % 3 == 0)
                    dotted += '.';
                dotted += hz[i];
            }
            const QByteArray num = QByteArray::number(n);
            text += "Freq" + num + '=' + dotted + "\r\nLev" + num + '=' + QByteArray::number(40 + n % 50) +
                    ".5\r\n";
        }
        QFile f(dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) {
            state.SkipWithError("cannot write the file");
            return;
        }
        state.counters["bytes"] = static_cast<double>(text.size());
    }
    DataFileContext context;
    context.WorkingFolder = dir.path();
    for (auto _ : state) {
        TableBuffer grid;
        if (!LoadLimitFile(grid, name, QLatin1Char('n'), context) || grid.Cell(kPoints, 2) != QLatin1String("89.5")) {
            state.SkipWithError("the table was not read whole");
            return;
        }
    }
    state.counters["points"] = kPoints;
}
BENCHMARK(BM_LoadTableFileAtReaderLimit)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
