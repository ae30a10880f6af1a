#include "AxisTestSupport.h"

#include "chart/engine/EngineStartup.h"
#include "chart/engine/SeriesGroup.h"
#include "chart/engine/SeriesMarksSymbol.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

using axistest::AxisChart;

TEST(AxisParts, GridPenCopiesItsExtrasAndSignalsChanges)
{
    int changes = 0;
    TAxisGridPen grid([&] { ++changes; }, 100.0);
    EXPECT_EQ(grid.Color(), clGray);
    EXPECT_EQ(grid.Style(), psDot);
    EXPECT_EQ(grid.DrawEvery(), 1);
    EXPECT_EQ(grid.ZPosition(), 100.0);
    EXPECT_FALSE(grid.IsZPositionStored());
    grid.SetCentered(true);
    grid.SetCentered(true);
    grid.SetDrawEvery(3);
    grid.SetZPosition(40);
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(grid.IsZPositionStored());
    grid.SetDrawEvery(-4);
    EXPECT_EQ(grid.EffectiveDrawEvery(), 1);
    grid.SetDrawEvery(3);

    TAxisGridPen copy;
    copy.Assign(grid);
    EXPECT_TRUE(copy.Centered());
    EXPECT_EQ(copy.DrawEvery(), 3);
    EXPECT_EQ(copy.ZPosition(), 40.0);
    EXPECT_EQ(copy.DefaultZPosition(), 100.0);
    EXPECT_EQ(copy.Style(), psDot);

    // The axis publishes Centered as GridCentered, and a change repaints the chart.
    AxisChart chart;
    const int before = chart.repaints;
    chart.left->SetGridCentered(true);
    EXPECT_TRUE(chart.left->Grid().Centered());
    EXPECT_GT(chart.repaints, before);
    EXPECT_EQ(chart.top->Grid().ZPosition(), 100.0);
    EXPECT_EQ(chart.bottom->Grid().ZPosition(), 0.0);
}

TEST(AxisParts, ItemsReplaceTheAutomaticLabels)
{
    AxisChart chart;
    TAxisItems& items = chart.bottom->Items();
    EXPECT_TRUE(items.Automatic());
    EXPECT_TRUE(items.Format().Transparent());
    TAxisItem& a = items.Add(10);
    EXPECT_FALSE(items.Automatic());
    EXPECT_TRUE(a.Transparent());
    EXPECT_EQ(a.Owner(), &items);
    TAxisItem& b = items.Add(20, QStringLiteral("twenty"));
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(items[1]->Text(), QStringLiteral("twenty"));
    EXPECT_EQ(items.GetItemAt(0)->Value(), 10.0);
    const int before = chart.repaints;
    b.SetText(QStringLiteral("20"));
    b.SetValue(21);
    b.SetValue(21);
    EXPECT_EQ(chart.repaints, before + 2);

    // Copies take value and text only.
    a.SetColor(clRed);
    a.Font().SetColor(clBlue);
    a.SetText(QStringLiteral("ten"));
    TAxisItems& other = chart.left->Items();
    other.Assign(items);
    ASSERT_EQ(other.Count(), 2);
    EXPECT_EQ(other[0]->Text(), QStringLiteral("ten"));
    EXPECT_EQ(other[1]->Value(), 21.0);
    EXPECT_EQ(other[0]->Color(), clWhite);
    EXPECT_EQ(other[0]->Font().Color(), clBlack);

    items.Clear();
    EXPECT_EQ(items.Count(), 0);
    EXPECT_FALSE(items.Automatic()) << "clearing keeps the list the application's";
}

TEST(AxisParts, ItemsOutsideThePublishedRangeAreNotDrawn)
{
    AxisChart chart;
    TChartAxis& axis = *chart.bottom;
    axis.SetRange(0, 100);
    axis.RecalcPixels();
    axis.RecalcRange();
    axis.Items().Add(50, QStringLiteral("in"));
    axis.Items().Add(150, QStringLiteral("out"));
    axis.Items().Add(70);
    axis.Items().Add(80, QStringLiteral("hidden")).SetVisible(false);
    axis.SetTickOnLabelsOnly(false);
    chart.canvas.Forget();
    axis.DrawAxisLabels();
    QStringList written;
    for (const auto& t : chart.canvas.texts)
        written << t.text;
    EXPECT_EQ(written, (QStringList{QStringLiteral("in"), QStringLiteral("70")}));
    EXPECT_EQ(axis.TickValues(), (std::vector<double>{50, 70, 80}));
}

TEST(AxisParts, TitleAndAxisPen)
{
    AxisChart chart;
    EXPECT_EQ(chart.left->Title().Angle(), 90);
    EXPECT_EQ(chart.right->Title().Angle(), 270);
    EXPECT_EQ(chart.bottom->Title().Angle(), 0);
    EXPECT_TRUE(chart.bottom->Title().Transparent());
    TChartAxisTitle& title = chart.left->Title();
    title.SetAngle(450);
    EXPECT_EQ(title.Angle(), 90);
    EXPECT_FALSE(title.IsAngleStored());
    title.SetAngle(0);
    EXPECT_TRUE(title.IsAngleStored());

    title.ShapeBounds = TRect{10, 20, 60, 40};
    EXPECT_FALSE(title.Clicked(30, 30)) << "no caption, no hit";
    title.SetCaption(QStringLiteral("Level"));
    EXPECT_TRUE(title.Clicked(30, 30));
    EXPECT_FALSE(title.Clicked(70, 30));
    title.SetAngle(90);
    EXPECT_TRUE(title.Clicked(35, 10)) << "the rotated box stands upright around its centre";
    EXPECT_FALSE(title.Clicked(12, 30));
    title.SetVisible(false);
    EXPECT_FALSE(title.Clicked(35, 30));

    TChartAxisTitle copy(nullptr, 0);
    title.SetVisible(true);
    copy.Assign(title);
    EXPECT_EQ(copy.Caption(), QStringLiteral("Level"));
    EXPECT_EQ(copy.Angle(), 90);

    TChartAxisPen& pen = chart.bottom->Axis();
    EXPECT_EQ(pen.Width(), 2);
    const int before = chart.repaints;
    pen.SetLineMode(lmCylinder);
    EXPECT_EQ(chart.repaints, before + 1);
    TChartAxisPen other;
    other.Assign(pen);
    EXPECT_EQ(other.LineMode(), lmCylinder);
}

TEST(AxisParts, SeriesGroupsSwitchTheirSeriesTogether)
{
    AxisChart chart;
    TSeriesGroups groups(&chart);
    TSeriesGroup& first = groups.Add();
    TSeriesGroup& second = groups.Add();
    EXPECT_EQ(first.Name(), QStringLiteral("Group1"));
    EXPECT_EQ(second.Name(), QStringLiteral("Group2"));
    EXPECT_EQ(first.Active(), gaYes) << "an empty group counts as active";
    EXPECT_FALSE(first.IsSeriesStored());

    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    TChartSeries& c = chart.NewSeries();
    for (TChartSeries* s : {&a, &b, &c})
        first.Series().Add(s);
    c.SetActive(false);
    EXPECT_EQ(first.Active(), gaSome);
    first.SetActive(gaSome);
    EXPECT_TRUE(a.Active() && b.Active());
    EXPECT_FALSE(c.Active());
    first.SetActive(gaYes);
    EXPECT_TRUE(c.Active());
    EXPECT_EQ(first.Active(), gaYes);
    first.SetActive(gaNo);
    EXPECT_FALSE(a.Active() || b.Active() || c.Active());
    EXPECT_EQ(first.Active(), gaNo);

    second.Series().Add(&c);
    EXPECT_EQ(groups.IndexOfSeries(&c), 0);
    EXPECT_EQ(groups.IndexOfSeries(&b), 0);
    TChartSeries& d = chart.NewSeries();
    EXPECT_EQ(groups.IndexOfSeries(&d), -1);
    second.Series().Add(&d);
    EXPECT_EQ(groups.IndexOfSeries(&d), 1);

    TSeriesGroup copy(groups);
    copy.Assign(first);
    EXPECT_EQ(copy.Name(), QStringLiteral("Group1"));
    EXPECT_EQ(copy.Series().Count(), 3);
    EXPECT_EQ(copy.Series()[2], &c);
    groups.RemoveSeries(&c);
    EXPECT_EQ(first.Series().Count(), 2);
    EXPECT_EQ(second.Series().Count(), 1);
    EXPECT_EQ(groups.IndexOfSeries(&c), -1);
    EXPECT_EQ(first.Chart(), &chart);
}

TEST(AxisParts, MarksSymbolStartsHiddenAndOpaque)
{
    TSeriesMarksSymbol symbol;
    EXPECT_FALSE(symbol.Visible());
    EXPECT_FALSE(symbol.Transparent());
    EXPECT_FALSE(symbol.IsTransparentStored());
    EXPECT_EQ(symbol.Shadow().GetSize(), 1);
    EXPECT_FALSE(symbol.ShouldDraw());
    symbol.SetVisible(true);
    EXPECT_TRUE(symbol.ShouldDraw());
    symbol.SetTransparent(true);
    EXPECT_FALSE(symbol.ShouldDraw());
}

TEST(AxisParts, EngineStartupRunsOnceAndSetsThePixelLimit)
{
    EngineUnitState state;
    StartEngineUnit(state, true);
    EXPECT_EQ(state.PixelCoordinateLimit, 67108863);
    EXPECT_EQ(state.RegisteredClasses,
              (QStringList{QStringLiteral("TChartAxisTitle"), QStringLiteral("TChartAxis"),
                           QStringLiteral("TChartDepthAxis"), QStringLiteral("TSeriesMarks")}));
    EXPECT_EQ(state.ClassGroups, QStringList{QStringLiteral("TControl")});
    StartEngineUnit(state, false);
    EXPECT_EQ(state.PixelCoordinateLimit, 67108863) << "a second start changes nothing";
    StopEngineUnit(state);
    EXPECT_EQ(state.RegisteredClasses.size(), 4);
    StopEngineUnit(state);
    EXPECT_TRUE(state.RegisteredClasses.isEmpty());
    StopEngineUnit(state);
    EXPECT_EQ(state.StartCount, 0);

    EngineUnitState old;
    StartEngineUnit(old, false);
    EXPECT_EQ(old.PixelCoordinateLimit, 32767);
}

TEST(AxisParts, DestroyedCustomAxisReleasesItsSeriesLinksAndTools)
{
    AxisChart chart;
    TChartAxis& custom = chart.NewCustomAxis(false);
    TChartAxis& follower = chart.NewCustomAxis(false);
    follower.SetMasterAxis(&custom);
    TChartSeries& series = chart.NewSeries();
    series.SetCustomVertAxis(&custom);
    TPlotCustomToolAxis tool;
    tool.SetAxis(&custom);
    EXPECT_EQ(series.GetVertAxis(), &custom);
    EXPECT_EQ(tool.ParentChart(), &chart);
    const int count = chart.Axes().Count();
    chart.CustomAxes().Delete(0);
    EXPECT_EQ(chart.Axes().Count(), count - 1);
    EXPECT_EQ(series.VertAxis(), aLeftAxis);
    EXPECT_EQ(series.GetVertAxis(), chart.left);
    EXPECT_EQ(follower.MasterAxis(), nullptr);
    EXPECT_EQ(tool.Axis(), nullptr);
}

TEST(AxisParts, PictureIsDrawnAtThePoint)
{
    AxisChart chart;
    TPicture picture;
    QImage red(3, 3, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    picture.SetGraphic(red);
    DrawPictureAt(chart.canvas, 10, 12, picture);
    gdi::RasterDC& device = chart.canvas.Bitmap()->Device();
    EXPECT_EQ(device.GetPixel(11, 13), 0x0000FFu);
    EXPECT_EQ(device.GetPixel(13, 13), 0xFFFFFFu);
    EXPECT_EQ(device.GetPixel(9, 12), 0xFFFFFFu);
    TPicture empty;
    DrawPictureAt(chart.canvas, 30, 30, empty);
    EXPECT_EQ(device.GetPixel(30, 30), 0xFFFFFFu);
}

TEST(AxisParts, AssignCopiesThePublishedSettings)
{
    AxisChart chart;
    TChartAxis& source = *chart.bottom;
    source.SetRange(9, 3000000);
    source.SetLogarithmicBase(2);
    source.SetIncrement(5);
    source.SetAxisValuesFormat(QStringLiteral("###0.###"));
    source.SetLabelsAngle(90);
    source.SetMinorTickCount(8);
    source.Title().SetCaption(QStringLiteral("f / kHz"));
    source.Grid().SetDrawEvery(2);
    source.SetLabels(false);
    source.SetInverted(true);
    TChartAxis& copy = chart.NewCustomAxis(false);
    copy.Assign(source);
    EXPECT_TRUE(copy.Horizontal());
    EXPECT_EQ(copy.Minimum(), 9.0);
    EXPECT_EQ(copy.Maximum(), 3000000.0);
    EXPECT_FALSE(copy.Automatic());
    EXPECT_EQ(copy.LogarithmicBase(), 2.0);
    EXPECT_EQ(copy.Increment(), 5.0);
    EXPECT_EQ(copy.AxisValuesFormat(), QStringLiteral("###0.###"));
    EXPECT_EQ(copy.LabelsAngle(), 90);
    EXPECT_EQ(copy.MinorTickCount(), 8);
    EXPECT_EQ(copy.Title().Caption(), QStringLiteral("f / kHz"));
    EXPECT_EQ(copy.Grid().DrawEvery(), 2);
    EXPECT_FALSE(copy.Labels());
    EXPECT_TRUE(copy.Inverted());
}
