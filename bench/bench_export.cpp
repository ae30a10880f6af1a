// Chart picture export: the application's 800 x 300 JPEG of a panel holding four drawn traces of
// 250,000 points and two limit lines (drawing, compression and file), the compression and file
// alone, the 8-bit bitmap with its nearest-colour palette, and a chart's line of 1,000,000 points
// written as an enhanced and as a plain metafile (the file's size in the counter "bytes").
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/BmpWriter.h"
#include "chart/tools/JpegEncoder.h"
#include "chart/tools/PlotExport.h"
#include "chart/tools/PlotEmfOptions.h"
#include "chart/tools/PlotJPEG.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kPoints = 250000;
constexpr int kTraces = 4;

// Four noisy traces with peaks across the chart rectangle of the drawing under way, two limit
// lines above them.
class TracePanel : public TCustomPlotPanelExtended {
public:
    TracePanel()
    {
        resize(1340, 706);
        Gradient().SetStartColor(clWhite);
        Gradient().SetEndColor(clSkyBlue);
        Gradient().SetVisible(true);
        OnAfterDraw = [this] { DrawTraces(); };
    }

private:
    void DrawTraces()
    {
        TPlotCanvas3D& c = Canvas();
        const TRect r = ChartRect;
        const TColor colours[kTraces] = {clBlue, clRed, clGreen, clNavy};
        TPointArray trace(kPoints);
        uint32_t seed = 12345;
        for (int t = 0; t < kTraces; ++t) {
            for (int i = 0; i < kPoints; ++i) {
                seed = seed * 1664525u + 1013904223u;
                const int noise = static_cast<int>((seed >> 8) % 40);
                const int peak = (i % 5000) < 40 ? r.Height() / 3 : 0;
                trace[static_cast<size_t>(i)] = TPoint {
                    r.Left + static_cast<int32_t>(static_cast<int64_t>(i) * (r.Width() - 1) / (kPoints - 1)),
                    r.Bottom - r.Height() * (t + 1) / 8 - noise - peak};
            }
            c.Pen().SetColor(colours[t]);
            c.Polyline(trace, kPoints - 1);
        }
        c.Pen().SetColor(clFuchsia);
        c.Pen().SetWidth(2);
        for (const int y : {r.Top + r.Height() / 6, r.Top + r.Height() / 4}) {
            c.MoveTo(r.Left, y);
            c.LineTo(r.Right, y);
        }
        c.Pen().SetWidth(1);
    }
};

void BM_JpegExportOfPanel(benchmark::State& state)
{
    TracePanel panel;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ChartImage.jpg"));
    TJPEGExportFormat format;
    format.Panel = &panel;
    format.Width = 800;
    format.Height = 300;
    for (auto _ : state) {
        QString error;
        if (!format.SaveToFile(file, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
}
BENCHMARK(BM_JpegExportOfPanel)->Unit(benchmark::kMillisecond);

void BM_JpegEncodeAndWrite(benchmark::State& state)
{
    TracePanel panel;
    const QImage bitmap = DrawPanelBitmap(panel, TRect {0, 0, 800, 300}, QImage::Format_RGB888);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ChartImage.jpg"));
    int64_t bytes = 0;
    for (auto _ : state) {
        QByteArray jpeg;
        QString error;
        if (!EncodeJpeg(bitmap, JpegEncoding {}, jpeg, &error) || !WriteExportFile(file, jpeg, &error))
            state.SkipWithError(error.toStdString().c_str());
        bytes = jpeg.size();
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_JpegEncodeAndWrite)->Unit(benchmark::kMillisecond);

void BM_Bitmap8BitEncode(benchmark::State& state)
{
    TracePanel panel;
    const QImage bitmap = DrawPanelBitmap(panel, TRect {0, 0, 800, 300}, QImage::Format_RGB32);
    for (auto _ : state) {
        const QByteArray bmp = EncodeBmp(bitmap, pf8bit);
        benchmark::DoNotOptimize(bmp.constData());
    }
}
BENCHMARK(BM_Bitmap8BitEncode)->Unit(benchmark::kMillisecond);

// A noisy line of 1,000,000 points with a peak every 5,000 on a flat chart of the main window's
// size, written through the metafile format as the user saves it (arg 1: enhanced, 0: plain).
void BM_MetafileExportOfMillionPointLine(benchmark::State& state)
{
    constexpr int kLinePoints = 1000000;
    TChart chart;
    chart.SetView3D(false);
    chart.Legend().Hide();
    chart.resize(1340, 706);
    auto& line = chart.AddNewSeries<TLineSeries>();
    std::vector<double> x(kLinePoints), y(kLinePoints);
    uint32_t seed = 12345;
    for (int i = 0; i < kLinePoints; ++i) {
        seed = seed * 1664525u + 1013904223u;
        x[static_cast<size_t>(i)] = 30000.0 + i;
        y[static_cast<size_t>(i)] = 20.0 + static_cast<double>((seed >> 8) % 1000) / 100.0 + ((i % 5000) < 40 ? 40 : 0);
    }
    {
        TChartSeries::UpdateScope scope(line);
        line.AddPointsXY(x, y);
    }
    TEMFExportFormat format;
    format.Panel = &chart;
    format.EMFOptions()->enhancedBox->setChecked(state.range(0) != 0);
    QTemporaryDir dir;
    const QString file = dir.filePath(state.range(0) != 0 ? QStringLiteral("line.emf") : QStringLiteral("line.wmf"));
    for (auto _ : state) {
        QString error;
        if (!format.SaveToFile(file, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
    state.counters["bytes"] = static_cast<double>(QFileInfo(file).size());
}
BENCHMARK(BM_MetafileExportOfMillionPointLine)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
