// The smoothing tool in a chart: smoothing only while active and switched on, the canvas staying
// in the chart; metafiles untouched; a destroyed tool or a tool that moves on leaves its chart
// drawing plain and nothing freed twice; the trace's pixel-column drawing gives the same picture
// as every segment; filters run over the finished picture and travel in the chart stream.
#include "ToolsTestSupport.h"

#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotFiltersStream.h"
#include "chart/series/ChartUnit.h"
#include "chart/tools/AntiAliasCanvas.h"
#include "chart/tools/AntiAliasTool.h"
#include "platform/gdi/Metafile.h"

#include <QVariant>
#include <memory>
#include <random>

using toolstest::DifferentPixels;
using toolstest::ToolChart;

namespace {

int Different(const QImage& a, const QImage& b) { return DifferentPixels(a, b, a.rect()); }

// Records that differ between two pictures, objects included; -1 for a different record count.
int DifferentRecords(const gdi::Metafile& a, const gdi::Metafile& b)
{
    if (a.Records.size() != b.Records.size() || a.Pens != b.Pens || a.Brushes != b.Brushes || a.Fonts != b.Fonts)
        return -1;
    int n = 0;
    for (size_t i = 0; i < a.Records.size(); ++i) {
        const gdi::MetaRecord& r = a.Records[i];
        const gdi::MetaRecord& s = b.Records[i];
        n += r.op != s.op || !std::equal(r.a, r.a + 8, s.a) || r.rop != s.rop || r.index != s.index ||
             r.points != s.points || r.text != s.text;
    }
    return n;
}

class AntiAliasChart : public ToolChart {
protected:
    void SetUp() override
    {
        ToolChart::SetUp();
        plain = Render();
    }
    QImage plain;
};

} // namespace

TEST_F(AntiAliasChart, SmoothsOnlyWhileActiveAndSwitchedOnTheCanvasStays)
{
    TAntiAliasTool tool;
    tool.SetParentChart(&chart);
    ASSERT_EQ(&chart.Canvas(), tool.Canvas());
    const QImage smooth = Render();
    EXPECT_GT(Different(smooth, plain), 200);

    tool.SetActive(false);
    EXPECT_FALSE(tool.AntiAlias());
    EXPECT_EQ(&chart.Canvas(), tool.Canvas());
    EXPECT_EQ(Different(Render(), plain), 0);
    tool.SetActive(true);
    EXPECT_EQ(Different(Render(), smooth), 0);

    tool.SetAntiAlias(false);
    EXPECT_EQ(Different(Render(), plain), 0);
    tool.SetAntiAlias(true);
    EXPECT_EQ(Different(Render(), smooth), 0);
}

TEST_F(AntiAliasChart, MetafileRecordsTheSameCallsWithTheTool)
{
    const gdi::Metafile without = chart.CreateChartMetafile(true, chart.GetRectangle());
    TAntiAliasTool tool;
    tool.SetParentChart(&chart);
    const gdi::Metafile with = chart.CreateChartMetafile(true, chart.GetRectangle());
    EXPECT_GT(without.Records.size(), 50u);
    EXPECT_EQ(DifferentRecords(without, with), 0);
    EXPECT_GT(Different(Render(), plain), 200);   // the metafile left the tool smoothing
}

TEST_F(AntiAliasChart, DestroyedToolLeavesItsCanvasDisabled)
{
    auto tool = std::make_unique<TAntiAliasTool>();
    tool->SetParentChart(&chart);
    EXPECT_GT(Different(Render(), plain), 200);
    tool.reset();
    auto* canvas = dynamic_cast<TAntiAliasCanvas*>(&chart.Canvas());
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(canvas->Disabled);
    EXPECT_EQ(canvas->Tool(), nullptr);
    EXPECT_EQ(Different(Render(), plain), 0);
}

// Run under the sanitizers: one canvas in two charts would be freed twice.
TEST(AntiAliasTool, MovesBetweenChartsAndBothChartsGo)
{
    auto first = std::make_unique<TChart>();
    auto second = std::make_unique<TChart>();
    TAntiAliasTool* owned = nullptr;
    {
        auto tool = std::make_unique<TAntiAliasTool>();
        owned = tool.get();
        first->AddTool(std::move(tool));   // the first chart owns it
    }
    for (TChart* c : {first.get(), second.get()}) {
        c->resize(200, 150);
        c->SetView3D(false);
    }
    EXPECT_EQ(&first->Canvas(), owned->Canvas());
    first->Canvas().SetMonochrome(true);
    owned->SetParentChart(second.get());
    EXPECT_EQ(dynamic_cast<TAntiAliasCanvas*>(&first->Canvas()), nullptr);
    EXPECT_TRUE(first->Canvas().Monochrome);   // the plain canvas took the settings over
    EXPECT_EQ(&second->Canvas(), owned->Canvas());
    first->RepaintNow();
    second->RepaintNow();
    owned->SetParentChart(first.get());
    EXPECT_EQ(dynamic_cast<TAntiAliasCanvas*>(&second->Canvas()), nullptr);
    EXPECT_EQ(&first->Canvas(), owned->Canvas());
    second.reset();
    first.reset();

    // A tool that outlives its chart.
    TAntiAliasTool tool;
    auto third = std::make_unique<TChart>();
    tool.SetParentChart(third.get());
    third->RepaintNow();
    third.reset();
    EXPECT_EQ(tool.ParentChart(), nullptr);
    EXPECT_TRUE(tool.AntiAlias());
}

// A long trace drawn by pixel columns must look exactly as drawn segment by segment, also when
// the segments between columns are smoothed.
TEST_F(AntiAliasChart, PixelColumnsDrawTheSamePictureAsEverySegment)
{
    TAntiAliasTool tool;
    tool.SetParentChart(&chart);
    std::mt19937 rnd(3);
    std::normal_distribution<double> step(0.0, 1.5);
    double y = 50;
    {
        TChartSeries::UpdateScope update(series);
        series.Clear();
        for (int i = 0; i < 30000; ++i) {
            y = std::clamp(y + step(rnd), 0.0, 100.0);
            series.AddPointXY(i * 0.01, y);
        }
    }
    for (int width : {1, 2}) {
        series.LinePen().SetWidth(width);
        series.FastDrawing = true;
        const QImage columns = Render();
        series.FastDrawing = false;
        const QImage segments = Render();
        EXPECT_EQ(Different(columns, segments), 0) << "width " << width;
        tool.SetActive(false);
        EXPECT_GT(Different(Render(), segments), 200) << "width " << width;
        tool.SetActive(true);
    }
}

TEST_F(AntiAliasChart, FiltersRunOverTheFinishedPictureAndAreStored)
{
    TAntiAliasTool tool;
    tool.SetParentChart(&chart);
    QImage smooth = Render();
    QByteArray stream;
    tool.WriteStreamProperties(stream);
    EXPECT_TRUE(stream.isEmpty());

    tool.Filters().Add(TInvertFilter::Class());
    TInvertFilter().ApplyToBitmap(smooth);
    EXPECT_EQ(Different(Render(), smooth), 0);
    EXPECT_EQ(Different(chart.CreateBitmap(), plain), 0);   // a picture drawn elsewhere is left alone

    tool.WriteStreamProperties(stream);
    int pos = 0;
    QString name;
    QVariant value;
    ASSERT_TRUE(ReadStreamProperty(stream, pos, name, value));
    EXPECT_EQ(name, QStringLiteral("FilterItems"));
    TAntiAliasTool copy;
    ASSERT_TRUE(copy.ReadFilterItemsProperty(value.toByteArray()));
    ASSERT_EQ(copy.Filters().Count(), 1);
    EXPECT_EQ(&copy.Filters().GetItem(0)->FilterClass(), &TInvertFilter::Class());
    EXPECT_FALSE(copy.ReadFilterItemsProperty(QByteArray("\x01\x02", 2)));
    EXPECT_EQ(copy.Filters().Count(), 1);

    ChartUnitState unit;
    StartAntiAliasUnit(unit);
    EXPECT_TRUE(unit.Classes.IsRegistered(QStringLiteral("TAntiAliasTool")));
    StopAntiAliasUnit(unit);
    EXPECT_FALSE(unit.Classes.IsRegistered(QStringLiteral("TAntiAliasTool")));
}
