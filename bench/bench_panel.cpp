// Chart panel and metafile benchmarks: a full-window render, a 250,000-point trace written as a
// Windows metafile and as an enhanced metafile (target: at most twice the time of the former), and
// the replay of that metafile onto a printer-sized page.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "platform/gdi/EmfWriter.h"
#include "platform/gdi/MetafilePlayer.h"
#include "platform/gdi/RecordingDC.h"
#include "platform/gdi/WmfWriter.h"

#include <QApplication>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kWidth = 1340;
constexpr int kHeight = 706;
constexpr int kPoints = 250000;

std::vector<gdi::Point> MakeTrace()
{
    std::vector<gdi::Point> pts(kPoints);
    uint32_t seed = 12345;
    for (int i = 0; i < kPoints; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = static_cast<int>((seed >> 8) % 60);
        const int peak = (i % 5000) < 40 ? 250 : 0;
        pts[static_cast<size_t>(i)] = gdi::Point{static_cast<int32_t>(static_cast<int64_t>(i) * (kWidth - 1) / (kPoints - 1)),
                                                 500 - noise - peak};
    }
    return pts;
}

gdi::Metafile TraceMetafile()
{
    static const std::vector<gdi::Point> trace = MakeTrace();
    gdi::RecordingDC dc(kWidth, kHeight);
    gdi::Pen pen;
    pen.color = gdi::RGB(0, 0, 255);
    dc.SelectPen(pen);
    dc.Polyline(trace.data(), static_cast<int>(trace.size()));
    dc.TextOut(10, 10, QStringLiteral("Level dBuV"));
    return dc.TakePicture();
}

void BM_PanelRender(benchmark::State& state)
{
    TCustomPlotPanelExtended panel;
    panel.resize(kWidth, kHeight);
    panel.Gradient().SetStartColor(clWhite);
    panel.Gradient().SetEndColor(clSkyBlue);
    panel.Gradient().SetVisible(true);
    for (auto _ : state) {
        panel.Repaint();
        benchmark::DoNotOptimize(panel.WindowImage().constBits());
    }
}
BENCHMARK(BM_PanelRender)->Unit(benchmark::kMillisecond);

void BM_RecordTrace(benchmark::State& state)
{
    for (auto _ : state) {
        const gdi::Metafile m = TraceMetafile();
        benchmark::DoNotOptimize(m.Records.data());
    }
}
BENCHMARK(BM_RecordTrace)->Unit(benchmark::kMillisecond);

void BM_EncodeWmfTrace(benchmark::State& state)
{
    const gdi::Metafile m = TraceMetafile();
    int64_t bytes = 0;
    for (auto _ : state) {
        const QByteArray wmf = gdi::EncodeWmf(m);
        bytes = wmf.size();
        benchmark::DoNotOptimize(wmf.constData());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodeWmfTrace)->Unit(benchmark::kMillisecond);

void BM_EncodeEmfTrace(benchmark::State& state)
{
    const gdi::Metafile m = TraceMetafile();
    int64_t bytes = 0;
    for (auto _ : state) {
        const QByteArray emf = gdi::EncodeEmf(m);
        bytes = emf.size();
        benchmark::DoNotOptimize(emf.constData());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_EncodeEmfTrace)->Unit(benchmark::kMillisecond);

void BM_ReplayTraceOnA4At300Dpi(benchmark::State& state)
{
    const gdi::Metafile m = TraceMetafile();
    QImage page(2480, 1306, QImage::Format_RGB32);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter p(&page);
        gdi::PlayMetafile(m, p, QRectF(0, 0, page.width(), page.height()));
        p.end();
        benchmark::DoNotOptimize(page.constBits());
    }
}
BENCHMARK(BM_ReplayTraceOnA4At300Dpi)->Unit(benchmark::kMillisecond);

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
