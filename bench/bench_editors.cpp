// The series gallery's page: the charts of the "Standard" series types made, laid out and drawn
// once in 3D with smooth drawing (each chart at twice its size, resampled into its cell).
#include "chart/editors/GalleryPanel.h"
#include "chart/series/ChartUnit.h"

#include <QApplication>
#include <QImage>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_GalleryStandardPageSmooth3D(benchmark::State& state)
{
    ChartUnitState unit;
    RegisterStandardSeries(unit);
    const TPlotSeriesTypes& types = PlotSeriesTypes(unit);
    TChartGalleryPanel panel;
    panel.resize(400, 300);
    panel.SetView3D(true);
    panel.SetSmooth(true);
    QImage picture(400, 300, QImage::Format_RGB32);
    for (auto _ : state) {
        panel.FillGalleryPage(types, QStringLiteral("Standard"));
        panel.render(&picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
    state.counters["charts"] = panel.Count();
}

} // namespace

BENCHMARK(BM_GalleryStandardPageSmooth3D)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The panel stores its smooth setting when it goes: never into the user's own options.
    QTemporaryDir settings;
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
