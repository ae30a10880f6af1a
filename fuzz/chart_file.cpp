// Chart, compensation and reference-trace files: read into a chart holding the main chart's 29
// series. A file that is refused changes nothing; a chart that was read is saved and read again
// to the same points.
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "fuzz/FuzzSupport.h"
#include "reports/ChartFiles.h"
#include "reports/ChartRecord.h"

#include <QApplication>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

// A flat chart with Series1 .. Series29 and nothing drawn.
class MainChart final : public TCustomAxisPanel {
public:
    MainChart()
    {
        SetView3D(false);
        for (const MainSeriesRow& row : kMainChartSeries) {
            auto s = std::make_unique<TChartSeries>();
            s->SetName(QLatin1String(row.DesignerName));
            Context.Series[row.Role] = AddSeries(std::move(s));
        }
        // Fixed ranges, as the main chart's: automatic ones would follow every series.
        BottomAxis()->SetRange(0, 100);
        LeftAxis()->SetRange(0, 100);
        Context.BottomAxis = BottomAxis();
        Context.LeftAxis = LeftAxis();
    }
    TChartSeries& Series(int n) const { return *Context.Series.Number(n); }

    // Every X and Y of the series named (all of them when none), and the axis ranges.
    std::vector<double> State(const std::vector<int32_t>& numbers = {}) const
    {
        std::vector<double> v{BottomAxis()->Minimum(), BottomAxis()->Maximum(), LeftAxis()->Minimum(),
                              LeftAxis()->Maximum()};
        for (int n = 1; n <= kMainSeriesCount; ++n) {
            if (!numbers.empty() && std::find(numbers.begin(), numbers.end(), n) == numbers.end())
                continue;
            const TChartSeries& s = Series(n);
            v.push_back(s.Count());
            for (int i = 0; i < s.Count(); ++i)
                v.insert(v.end(), {s.XValues().Value(i), s.YValues().Value(i)});
        }
        return v;
    }

    ChartFileContext Context;

protected:
    void CalcWallsRect() override { CalcSize3DWalls(); }
    int GetWallSize(const TChartAxis&) const override { return 0; }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
    bool IsFreeSeriesColor(TColor, bool, const TChartSeries*) override { return true; }
};

// Equal values (0 and -0 are one axis end), NaN equal to NaN.
bool Same(const std::vector<double>& a, const std::vector<double>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](double x, double y) { return x == y || (std::isnan(x) && std::isnan(y)); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (QCoreApplication::instance() == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zendrik-fuzz";
        static char* argv[] = {name, nullptr};
        static QApplication app(argc, argv);
    }
    const QString path = fuzz::WriteScratchFile(QStringLiteral("chart/fuzz.cht"),
                                                QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    MainChart chart;
    chart.Series(1).AddPointXY(1.0, 2.0);
    chart.Series(26).AddPointXY(3.0, 4.0);
    const std::vector<double> before = chart.State();
    // The kind of file by its count of whole records, so that every kind sees every layout.
    const size_t kind = size / chartfile::kRecordSize % 3;
    bool ok = false;
    switch (kind) {
    case 0: ok = LoadChartFile(path, chart.Context); break;
    case 1: ok = LoadZeroCompensation(path, chart.Context); break;
    default:
        ok = LoadReferenceTrace(path, &chart.Series(12), &chart.Series(13), clRed, clBlue, chart.Context);
        break;
    }
    if (!ok) {
        fuzz::Check(Same(chart.State(), before), "a refused file changes nothing");
        return 0;
    }
    if (kind == 0) {
        const QString copy = fuzz::ScratchFolder() + QStringLiteral("/chart/copy.cht");
        fuzz::Check(SaveChartFile(copy, chart.Context), "a chart read is saved");
        const std::vector<int32_t> written(chartfile::kChartFileSeries.begin(), chartfile::kChartFileSeries.end());
        const std::vector<double> read = chart.State(written);
        MainChart again;
        fuzz::Check(LoadChartFile(copy, again.Context), "a saved chart is read");
        fuzz::Check(Same(again.State(written), read), "a saved chart reads back to the same points and axes");
    }
    return 0;
}
