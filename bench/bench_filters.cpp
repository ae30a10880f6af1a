// Speed of the picture filters, shadows, blending and gradients on chart-sized buffers.
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersResample.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotShadow.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

QImage Noise(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    uint32_t state = 12345;
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            state = state * 1103515245u + 12345u;
            row[x] = 0xFF000000u | (state >> 8);
        }
    }
    return img;
}

struct Surface {
    Surface(int w, int h) { canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, w, h}); }
    TPlotCanvas3D canvas;
};

// A blurred drop shadow under a shape that fills the 1200 x 800 buffer: only the band the offset
// uncovers is blurred.
void BM_ShadowBlur1200x800(benchmark::State& state)
{
    Surface s(1200, 800);
    TPlotShadow shadow;
    shadow.SetColor(0x404040);
    shadow.SetSize(static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        shadow.DrawRect(s.canvas, TRect{10, 10, 1180, 780});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShadowBlur1200x800)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond);

// A negative offset uncovers the top and left, so the whole work bitmap is blurred.
void BM_ShadowBlurWhole1200x800(benchmark::State& state)
{
    Surface s(1200, 800);
    TPlotShadow shadow;
    shadow.SetColor(0x404040);
    shadow.SetSize(-static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        shadow.DrawRect(s.canvas, TRect{20, 20, 1180, 780});
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ShadowBlurWhole1200x800)->Arg(5)->Arg(15)->Unit(benchmark::kMillisecond);

void BM_BlendBitmaps1200x800(benchmark::State& state)
{
    const QImage source = Noise(1200, 800);
    QImage dest = Noise(1200, 800);
    for (auto _ : state) {
        BlendBitmaps(source, dest, TPoint{0, 0}, 50.0);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BlendBitmaps1200x800)->Unit(benchmark::kMillisecond);

void BM_LanczosZoom151To302(benchmark::State& state)
{
    const QImage source = Noise(151, 151);
    QImage dest(302, 302, QImage::Format_RGB32);
    for (auto _ : state) {
        SmoothStretch(source, dest);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LanczosZoom151To302)->Unit(benchmark::kMillisecond);

void BM_RadialGradient800x600(benchmark::State& state)
{
    Surface s(800, 600);
    TPlotGradient g;
    g.SetDirection(gdRadial);
    g.SetStartColor(clNavy);
    g.SetEndColor(clYellow);
    for (auto _ : state) {
        g.Draw(s.canvas, TRect{0, 0, 800, 600}, 0);
        benchmark::DoNotOptimize(s.canvas.Bitmap()->Image().constBits());
    }
}
BENCHMARK(BM_RadialGradient800x600)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
