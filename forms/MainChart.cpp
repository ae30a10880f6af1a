#include "forms/MainChart.h"

#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "mainwindow/ChartOverlays.h"
#include "mainwindow/LevelUnits.h"

#include <memory>

namespace {

// The segment marks: a small left triangle at each segment's stop, numbered by point index, each
// point in its own colour; the paint shows the numbers that stay apart (ArrangeSegmentNumbers).
void SetUpSegmentMarks(TPointSeries& marks)
{
    marks.Pointer().SetStyle(psLeftTriangle);
    marks.Pointer().SetHorizSize(3);
    marks.Pointer().SetVertSize(3);
    marks.Marks().SetStyle(smsPointIndex);
    marks.Marks().SetVisible(true);
    marks.SetColorEachPoint(true);
    marks.OnGetMarkText = SegmentNumberText;
}

} // namespace

MainChart::MainChart(QWidget* parent)
{
    chart = new TChart(parent);
    chart->setObjectName(QStringLiteral("Chart1"));
    chart->SetView3D(false);
    // The legend stays hidden, so the chart rectangle keeps its whole width.
    chart->Legend().SetVisible(false);
    // The plot area shows the background colour of the colour settings.
    chart->BackWall().SetTransparent(false);
    for (const MainSeriesRow& row : kMainChartSeries) {
        const SeriesLook& look = row.Look;
        std::unique_ptr<TCustomSeries> made;
        if (look.Points) {
            auto marks = std::make_unique<TPointSeries>();
            SetUpSegmentMarks(*marks);
            made = std::move(marks);
        } else {
            made = std::make_unique<TLineSeries>();
        }
        TCustomSeries& s = *made;
        s.SetName(QLatin1String(row.DesignerName));
        if (look.Color)
            s.SetSeriesColor(*look.Color);
        if (look.PenWidth > 0)
            s.LinePen().SetWidth(look.PenWidth);
        s.LinePen().SetStyle(look.Dotted ? psDot : psSolid);
        if (look.LineHidden)
            s.LinePen().Hide();
        s.SetStairs(look.Stairs);
        s.SetActive(look.Active);
        series_[IndexOf(row.Role)] = &s;
        byRole_[row.Role] = &s;
        chart->AddSeries(std::move(made));
    }

    // The level axis speaks dBuV; the frequency axis' title is a blank so that its labels keep
    // the room below them.
    chart->LeftAxis()->Title().SetCaption(LevelAxisTitleOf(LevelUnit::dBuV));
    chart->BottomAxis()->Title().SetCaption(QStringLiteral(" "));
    chart->BottomAxis()->SetAxisValuesFormat(QStringLiteral("###0.###"));
    chart->SetAllowZoom(true);
    chart->SetAllowPanning(pmNone);
    chart->setFocusPolicy(Qt::ClickFocus);
}

TCustomSeries* MainChart::Series(int number) const
{
    const std::optional<SeriesRole> role = RoleOfNumber(number);
    return role ? Series(*role) : nullptr;
}
