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
        for (const MainSeriesRow& row : kMainChartSeries) {
            auto s = std::make_unique<LineTrace>();
            s->SetName(QLatin1String(row.DesignerName));
            Context.Series[row.Role] = AddSeries(std::move(s));
        }
        Context.BottomAxis = BottomAxis();
        Context.LeftAxis = LeftAxis();
    }

    TChartSeries& Series(int n) const { return *Context.Series.Number(n); }

    ChartFileContext Context;

protected:
    void CalcWallsRect() override { CalcSize3DWalls(); }
    int GetWallSize(const TChartAxis&) const override { return 0; }
    void DrawTitlesAndLegend(bool) override {}
    void DrawWalls() override {}
    bool IsFreeSeriesColor(TColor, bool, const TChartSeries*) override { return true; }
};

} // namespace reportstest

#endif
