#ifndef ZENDRIK_TESTS_REPORTS_REPORTCHART_H
#define ZENDRIK_TESTS_REPORTS_REPORTCHART_H

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/engine/AxisPanel.h"
#include "chart/engine/ChartSeries.h"
#include "reports/ChartFiles.h"

#include <QString>
#include <memory>

namespace reportstest {

// A line series: what the main chart's traces draw per point.
class LineTrace : public TChartSeries {
public:
    void DrawValue(int valueIndex) override
    {
        TCanvas3D& canvas = static_cast<TCustomAxisPanel*>(ParentChart()->AxisPanel())->Canvas();
        canvas.Pen().SetColor(SeriesColor());
        const int x = XToPixel(valueIndex);
        const int y = YToPixel(valueIndex);
        if (valueIndex == FirstValueIndex)
            canvas.MoveTo(x, y);
        else
            canvas.LineTo(x, y);
    }
};

// A flat chart holding the main chart's 29 line series (Series1 .. Series29).
class ReportChart : public TCustomAxisPanel {
public:
    ReportChart()
    {
        SetView3D(false);
        resize(800, 400);
        for (int n = 1; n <= ChartSeriesByRole::kCount; ++n) {
            auto s = std::make_unique<LineTrace>();
            s->SetName(QStringLiteral("Series%1").arg(n));
            series_[n] = AddSeries(std::move(s));
        }
        Context.BottomAxis = BottomAxis();
        Context.LeftAxis = LeftAxis();
        auto members = [this](int n) { return series_[n]; };
        ChartSeriesByRole& r = Context.Series;
        r.Raw1 = members(1), r.Limit1 = members(2), r.Cable = members(3), r.Lisn = members(4);
        r.Limit2 = members(5), r.TablePreview = members(6), r.Corrected1 = members(7), r.Raw2 = members(8);
        r.Corrected2 = members(9), r.Amplifier = members(10), r.Antenna = members(11);
        r.Reference1Set1 = members(12), r.Reference1Set2 = members(13), r.Margin1 = members(14);
        r.Margin2 = members(15), r.Master = members(16), r.SegmentMarks1 = members(17);
        r.SegmentMarks2 = members(18), r.Reference2Set1 = members(19), r.Reference2Set2 = members(20);
        r.Reference3Set1 = members(21), r.Reference3Set2 = members(22), r.GeneratorAmplifier = members(23);
        r.TemCell = members(24), r.Smoothing1 = members(25), r.Compensation1 = members(26);
        r.Arithmetic = members(27), r.Smoothing2 = members(28), r.Compensation2 = members(29);
    }

    TChartSeries& Series(int n) const { return *series_[n]; }

    ChartFileContext Context;

protected:
    void CalcWallsRect() override { CalcSize3DWalls(); }
    int GetWallSize(const TChartAxis&) const override { return 0; }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
    bool IsFreeSeriesColor(TColor, bool, const TChartSeries*) override { return true; }

private:
    TChartSeries* series_[ChartSeriesByRole::kCount + 1] = {};
};

} // namespace reportstest

#endif
