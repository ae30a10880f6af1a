// Drawing-surface benchmarks: long traces through LineTo and Polyline, and the projection.
#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotFiltersResample.h"
#include "chart/canvas/PlotGradient.h"
#include "chart/canvas/PlotHtml.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/canvas/View3DOptions.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int kWidth = 1340;
constexpr int kHeight = 706;
constexpr int kPoints = 100000;

// A measured-looking trace: noise floor with peaks, spread over the whole width.
TPointArray MakeTrace()
{
    TPointArray pts(kPoints);
    uint32_t seed = 12345;
    for (int i = 0; i < kPoints; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = static_cast<double>(seed >> 8) / (1u << 24);
        const double peak = (i % 5000) < 40 ? 250.0 : 0.0;
        pts[static_cast<size_t>(i)] = TPoint{static_cast<int32_t>(static_cast<int64_t>(i) * (kWidth - 1) / (kPoints - 1)),
                                             static_cast<int32_t>(500 - noise * 60 - peak)};
    }
    return pts;
}

void PrepareCanvas(TPlotCanvas3D& canvas, int penWidth)
{
    canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, kWidth, kHeight});
    canvas.ResetState();
    canvas.Pen().SetWidth(penWidth);
    canvas.Pen().SetColor(clBlue);
}

void BM_TraceLineTo(benchmark::State& state)
{
    const TPointArray pts = MakeTrace();
    TPlotCanvas3D canvas;
    PrepareCanvas(canvas, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        canvas.MoveTo(pts[0].X, pts[0].Y);
        for (size_t i = 1; i < pts.size(); ++i)
            canvas.LineTo(pts[i].X, pts[i].Y);
        benchmark::DoNotOptimize(canvas.GetPixel(10, 10));
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_TraceLineTo)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_TracePolyline(benchmark::State& state)
{
    const TPointArray pts = MakeTrace();
    TPlotCanvas3D canvas;
    PrepareCanvas(canvas, static_cast<int>(state.range(0)));
    for (auto _ : state) {
        canvas.Polyline(pts, kPoints - 1);
        benchmark::DoNotOptimize(canvas.GetPixel(10, 10));
    }
    state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(BM_TracePolyline)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// 0 flat, 1 orthogonal (the default 3D view), 2 rotated with tilt and perspective.
void BM_Project(benchmark::State& state)
{
    TView3DOptions options;
    const int kind = static_cast<int>(state.range(0));
    if (kind == 2) {
        options.SetOrthogonal(false);
        options.SetElevation(340);
        options.SetRotation(330);
        options.SetTilt(10);
        options.SetPerspective(30);
    }
    TPlotCanvas3D canvas;
    canvas.InitWindow(nullptr, &options, clWhite, kind != 0, TRect{0, 0, kWidth, kHeight});
    canvas.SetProjectionCentre(100, TRect{0, 0, kWidth, kHeight});
    constexpr int kCount = 1000000;
    for (auto _ : state) {
        int64_t sum = 0;
        for (int i = 0; i < kCount; ++i) {
            const TPoint p = canvas.ProjectToScreen(i % kWidth, (i / kWidth) % kHeight, i % 100);
            sum += p.X + p.Y;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}
BENCHMARK(BM_Project)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

// Speed of the picture filters, shadows, blending and gradients on chart-sized buffers.
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

// A mark text of 40 characters with four tags: bold, subscript, italic and a coloured font.
void BM_HtmlTextOut(benchmark::State& state)
{
    const QString text =
        QStringLiteral("Peak <B>48.3</B> dBuV<SUB>QP</SUB> at <I>152.4 kHz</I>: <FONT color=red>margin 2.1</FONT>");
    TPlotCanvas3D canvas;
    canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, 400, 60});
    canvas.ResetState();
    for (auto _ : state) {
        HtmlTextOut(canvas, 10, 20, text);
        benchmark::DoNotOptimize(canvas.GetPixel(12, 25));
    }
}
BENCHMARK(BM_HtmlTextOut)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
