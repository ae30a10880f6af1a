#include "AxisTestSupport.h"

#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"

#include <gtest/gtest.h>

using axistest::AxisChart;
using axistest::Prepare;

namespace {

// A chart whose bottom axis runs 0..100 and left axis 0..100 over the fixture's rectangle.
void PrepareAxes(AxisChart& chart)
{
    Prepare(*chart.bottom, 0, 100);
    Prepare(*chart.left, 0, 100);
}

TSeriesMarkPosition Box(int left, int top, int width, int height)
{
    TSeriesMarkPosition p;
    p.LeftTop = {left, top};
    p.Width = width;
    p.Height = height;
    return p;
}

} // namespace

TEST(SeriesMarks, DefaultsMarginsAndStoredPositions)
{
    TChartSeries series;
    TSeriesMarks& marks = series.Marks();
    EXPECT_FALSE(marks.Visible());
    EXPECT_EQ(marks.Style(), smsLabel);
    EXPECT_EQ(marks.DrawEvery(), 1);
    EXPECT_EQ(marks.Color(), clInfoBk);
    EXPECT_EQ(marks.Margins().Left(), 20);
    EXPECT_FALSE(marks.Margins().IsLeftStored());

    marks.Margins().Calculate(100, 20, 10);
    EXPECT_EQ(marks.Margins().SizeLeft, 4);
    EXPECT_EQ(marks.Margins().SizeTop, 1);
    marks.Margins().SetUnits(maPercentSize);
    marks.Margins().Calculate(100, 20, 10);
    EXPECT_EQ(marks.Margins().SizeRight, 20);
    EXPECT_EQ(marks.Margins().SizeBottom, 1);

    TSeriesMarksPositions& positions = marks.Positions();
    positions.SetPosition(5, Box(10, 10, 30, 12));
    ASSERT_EQ(positions.Count(), 6);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(positions.Position(i), nullptr);
    EXPECT_TRUE(positions.Position(5)->Custom);
    EXPECT_EQ(positions.Position(9), nullptr);
    // A redraw keeps a custom box; only the arrow follows the point.
    TSeriesMarkPosition redraw = Box(60, 60, 30, 12);
    redraw.ArrowFrom = {70, 80};
    positions.Store(5, redraw);
    EXPECT_EQ(positions.Position(5)->LeftTop, (TPoint{10, 10}));
    EXPECT_EQ(positions.Position(5)->ArrowFrom, (TPoint{70, 80}));
    positions.Store(2, redraw);
    EXPECT_FALSE(positions.Position(2)->Custom);
    EXPECT_EQ(positions.Position(2)->LeftTop, (TPoint{60, 60}));
}

TEST(SeriesMarks, ClickedAndAntiOverlap)
{
    TChartSeries series;
    TSeriesMarks& marks = series.Marks();
    marks.Positions().Store(0, Box(10, 10, 40, 20));
    marks.Positions().Store(1, Box(30, 15, 40, 20));
    marks.Positions().Store(3, Box(200, 200, 10, 10));
    EXPECT_EQ(marks.Clicked(35, 20), 1) << "the later of two overlapping marks";
    EXPECT_EQ(marks.Clicked(12, 12), 0);
    EXPECT_EQ(marks.Clicked(5, 5), -1);
    marks.SetDrawEvery(2);
    EXPECT_EQ(marks.Clicked(35, 20), 0);
    marks.SetDrawEvery(1);
    // A mark turned by 90 degrees about its centre (30, 20) stands upright.
    marks.SetAngle(90);
    EXPECT_EQ(marks.Clicked(30, 36), 0);
    EXPECT_EQ(marks.Clicked(12, 12), -1);
    marks.SetAngle(0);

    // Overlapping a mark above moves the new one down under it; one below moves it up.
    marks.Pen().SetVisible(false);
    marks.Shadow().SetVisible(false);
    TSeriesMarkPosition fresh = Box(20, 25, 20, 10);
    fresh.ArrowTo = {30, 35};
    marks.AntiOverlap(0, 1, fresh);
    EXPECT_EQ(fresh.LeftTop.Y, 30);
    EXPECT_EQ(fresh.ArrowTo.Y, 40);
    TSeriesMarkPosition above = Box(200, 195, 10, 10);
    marks.AntiOverlap(0, 4, above);
    EXPECT_EQ(above.LeftTop.Y, 190);
}

TEST(SeriesMarks, MarkTextsByStyle)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(1, 10, QStringLiteral("a"));
    series.AddPointXY(2, 30);
    series.AddPointXY(3, -60, QStringLiteral("c"));
    TSeriesMarks& marks = series.Marks();
    auto text = [&](TSeriesMarksStyle style, int index) {
        marks.SetStyle(style);
        return series.GetMarkText(index);
    };
    EXPECT_EQ(text(smsLabel, 1), QStringLiteral("30")) << "an empty label shows the value";
    EXPECT_EQ(text(smsLabelValue, 0), QStringLiteral("a 10"));
    EXPECT_EQ(text(smsPercent, 1), QStringLiteral("30 %"));
    EXPECT_EQ(text(smsPercentTotal, 2), QStringLiteral("60 % of 100"));
    EXPECT_EQ(text(smsXY, 2), QStringLiteral("3 -60"));
    EXPECT_EQ(text(smsPointIndex, 2), QStringLiteral("2"));
    EXPECT_EQ(text(smsPercentRelative, 0), QStringLiteral("100 %"));
    EXPECT_EQ(text(smsPercentRelative, 1), QStringLiteral("300 %"));
    series.SetTitle(QStringLiteral("Trace"));
    EXPECT_EQ(text(smsSeriesTitle, 0), QStringLiteral("Trace"));
    marks.SetMultiLine(true);
    EXPECT_EQ(text(smsLabelPercent, 2), QStringLiteral("c\r60 %"));
    EXPECT_EQ(text(smsLabelPercentTotal, 0), QStringLiteral("a\r10 %\rof 100"));
    marks.SetMultiLine(false);

    marks.Items().Items(1).Text() = QStringList{QStringLiteral("own"), QStringLiteral("text")};
    EXPECT_EQ(text(smsValue, 1), QStringLiteral("own\rtext"));
    series.OnGetMarkText = [](TChartSeries*, int index, QString& t) { t += QString::number(index); };
    EXPECT_EQ(text(smsValue, 0), QStringLiteral("100"));

    TChartSeries zeros;
    zeros.AddPointXY(0, 0);
    zeros.AddPointXY(1, 0);
    zeros.Marks().SetStyle(smsPercent);
    EXPECT_EQ(zeros.GetMarkText(1), QStringLiteral("100 %"));

    EXPECT_EQ(series.LegendString(0, ltsPlain), QStringLiteral("a"));
    EXPECT_EQ(series.LegendString(0, ltsLeftValue), QStringLiteral("10") + QChar(6) + QStringLiteral("a"));
    EXPECT_EQ(series.LegendString(1, ltsRightValue), QStringLiteral("30"));
    EXPECT_EQ(series.LegendString(2, ltsXAndPercent), QStringLiteral("3") + QChar(6) + QStringLiteral("-60 %"));
}

TEST(SeriesMarks, DrawMarksEveryNthVisiblePointAndKeepsPositions)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    for (int i = 0; i < 5; ++i)
        series.AddPointXY(10 + 20 * i, 50);
    PrepareAxes(chart);
    TSeriesMarks& marks = series.Marks();
    marks.SetVisible(true);
    marks.SetStyle(smsPointIndex);
    marks.SetDrawEvery(2);

    // Nothing visible: nothing drawn, nothing stored.
    series.FirstValueIndex = series.LastValueIndex = -1;
    series.DrawMarks();
    EXPECT_EQ(marks.Positions().Count(), 0);

    series.CalcFirstLastVisibleIndex();
    chart.canvas.Forget();
    series.DrawMarks();
    QStringList texts;
    for (const auto& t : chart.canvas.texts)
        texts << t.text;
    EXPECT_EQ(texts, (QStringList{QStringLiteral("0"), QStringLiteral("2"), QStringLiteral("4")}));
    const TSeriesMarkPosition* p = marks.Positions().Position(2);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->ArrowFrom, (TPoint{series.XToPixel(2), series.YToPixel(2)}));
    // Above the point by the callout's length, centred on it.
    EXPECT_EQ(p->LeftTop.Y + p->Height - 1, p->ArrowFrom.Y - marks.Callout().Length());
    EXPECT_EQ(p->LeftTop.X + p->Width / 2, p->ArrowFrom.X);
    EXPECT_EQ(marks.Clicked(p->LeftTop.X + 1, p->LeftTop.Y + 1), 2);
    EXPECT_GT(series.MaxMarkWidth(), 0);
    EXPECT_EQ(chart.MaxMarkWidth(), series.MaxMarkWidth());

    // Turned marks stand each line on a line through the mark's centre, across the text.
    marks.SetAngle(90);
    marks.SetStyle(smsXY);
    marks.SetMultiLine(true);
    marks.SetDrawEvery(1);
    chart.canvas.Forget();
    series.DrawMarks();
    ASSERT_EQ(chart.canvas.texts.size(), 10u);
    const auto& x = chart.canvas.texts[0];
    const auto& value = chart.canvas.texts[1];
    EXPECT_EQ(x.text, QStringLiteral("10"));
    EXPECT_EQ(value.text, QStringLiteral("50"));
    EXPECT_EQ(x.angle, 90.0);
    EXPECT_EQ(x.y, value.y);
    chart.canvas.AssignFont(&marks.Font());
    EXPECT_EQ(value.x - x.x, chart.canvas.FontHeight());
    marks.SetAngle(0);
    marks.SetStyle(smsPointIndex);

    // A point deleted takes its stored position along.
    series.Delete(0);
    EXPECT_EQ(marks.Positions().Position(1), p);
    series.Clear();
    EXPECT_EQ(marks.Positions().Count(), 0);
}

TEST(SeriesMarks, TextsAtDepthStandInTheirBoxes)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(50, 50);
    PrepareAxes(chart);
    chart.SetView3D(true);
    chart.canvas.Is3D = true;
    chart.canvas.IsOrthogonal = true;
    ASSERT_NE(chart.canvas.ProjectToScreen(50, 50, 20), (TPoint{50, 50}));
    TSeriesMarks& marks = series.Marks();
    marks.SetVisible(true);
    marks.SetStyle(smsPointIndex);
    marks.ZPosition = 20;
    series.CalcFirstLastVisibleIndex();
    chart.canvas.Forget();
    series.DrawMarks();
    ASSERT_EQ(chart.canvas.texts.size(), 1u);
    // The box is projected at its depth and the text goes flat into the box on the screen.
    const auto& text = chart.canvas.texts[0];
    const TRect box = chart.canvas.CalcRect3D(marks.Positions().Position(0)->Bounds(), 20);
    EXPECT_EQ(text.z, 0);
    EXPECT_GT(text.x, box.Left);
    EXPECT_LT(text.x, box.Right);
    EXPECT_GE(text.y, box.Top);
    EXPECT_LT(text.y, box.Bottom);
}
