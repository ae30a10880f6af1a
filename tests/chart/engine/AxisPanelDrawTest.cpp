#include "AxisTestSupport.h"

#include "chart/engine/SeriesMarks.h"

#include <gtest/gtest.h>

#include <stdexcept>

using axistest::AxisChart;

namespace {

using Log = QStringList;

// A chart that writes every step of its drawing into a log, and its recording canvas the clips.
class StepChart : public AxisChart {
public:
    explicit StepChart(Log& log) : log_(log) { canvas.steps = &log; }
    ~StepChart() override { canvas.steps = nullptr; }
    void DrawBackImageAndShadow(const TRect& rect) override
    {
        log_ << QStringLiteral("background");
        AxisChart::DrawBackImageAndShadow(rect);
    }

protected:
    void CalcWallsRect() override
    {
        log_ << QStringLiteral("walls rect");
        CalcSize3DWalls();
    }
    void DrawWalls() override { log_ << QStringLiteral("walls"); }
    void DrawTitlesAndLegend(bool before) override
    {
        log_ << (before ? QStringLiteral("titles before") : QStringLiteral("titles after"));
    }

private:
    Log& log_;
};

class StepSeries : public TChartSeries {
public:
    StepSeries(Log& log, QString name) : log_(log) { SetName(std::move(name)); }
    void DoBeforeDrawChart() override { log_ << QStringLiteral("prepare ") + Name(); }
    void DoBeforeDrawValues() override
    {
        log_ << QStringLiteral("before values ") + Name();
        TChartSeries::DoBeforeDrawValues();
    }
    void DrawValue(int valueIndex) override
    {
        if (valueIndex == FirstValueIndex)
            log_ << QStringLiteral("values ") + Name();
    }
    void DrawMarks() override
    {
        log_ << QStringLiteral("marks ") + Name();
        TChartSeries::DrawMarks();
    }
    void DoAfterDrawValues() override
    {
        log_ << QStringLiteral("after values ") + Name();
        TChartSeries::DoAfterDrawValues();
    }

private:
    Log& log_;
};

class StepTool : public TPlotCustomTool {
public:
    explicit StepTool(Log& log) : log_(log) {}
    void ChartEvent(TChartToolEvent kind) override { log_ << QStringLiteral("tool %1").arg(kind); }

private:
    Log& log_;
};

// Two series on the bottom and left axes, one with marks; every event and hook logs itself.
struct StepScene {
    Log log;
    StepChart chart{log};
    StepSeries first{log, QStringLiteral("S1")};
    StepSeries second{log, QStringLiteral("S2")};
    StepTool tool{log};

    StepScene()
    {
        chart.AddSeries(&first);
        chart.AddSeries(&second);
        for (int i = 0; i < 10; ++i) {
            first.AddPointXY(i, i);
            second.AddPointXY(i, 9 - i);
        }
        first.Marks().SetVisible(true);
        tool.SetParentChart(&chart);
        chart.OnBeforeDrawChart = [this] { log << QStringLiteral("OnBeforeDrawChart"); };
        chart.OnBeforeDrawAxes = [this] { log << QStringLiteral("OnBeforeDrawAxes"); };
        chart.OnBeforeDrawSeries = [this] { log << QStringLiteral("OnBeforeDrawSeries"); };
        chart.OnAfterDraw = [this] { log << QStringLiteral("OnAfterDraw"); };
        for (TChartAxis* axis : {chart.bottom, chart.top, chart.left, chart.right})
            axis->OnDrawAxisLine = [this](TChartAxis& a) {
                log << (a.Horizontal() ? QStringLiteral("axis horizontal") : QStringLiteral("axis vertical"));
            };
    }
    ~StepScene()
    {
        tool.SetParentChart(nullptr);
        chart.RemoveSeries(first);
        chart.RemoveSeries(second);
    }
    Log Draw()
    {
        log.clear();
        chart.ChartRect = TRect{100, 50, 1100, 450};
        chart.RecalcChartBounds();
        chart.DrawChartContents();
        return log;
    }
};

Log Steps(std::initializer_list<const char*> steps)
{
    Log log;
    for (const char* s : steps)
        log << QString::fromLatin1(s);
    return log;
}

} // namespace

TEST(AxisPanelDraw, StepsInTheirOrderWithAxesBehindOrInFront)
{
    StepScene scene;
    const Log head = Steps({"background", "tool 2", "OnBeforeDrawChart", "prepare S1", "prepare S2",
                            "titles before", "walls rect", "walls"});
    const Log axes = Steps({"tool 3", "OnBeforeDrawAxes", "axis horizontal", "axis vertical"});
    const Log series = Steps({"tool 1", "OnBeforeDrawSeries", "before values S1", "clip", "values S1", "unclip",
                              "marks S1", "after values S1", "before values S2", "clip", "values S2", "unclip",
                              "after values S2", "tool 4"});
    const Log tail = Steps({"titles after", "tool 0", "OnAfterDraw"});
    EXPECT_EQ(scene.Draw(), head + axes + series + tail);

    scene.chart.SetAxisBehind(false);
    EXPECT_EQ(scene.Draw(), head + series + axes + tail);
    scene.chart.SetClipPoints(false);
    EXPECT_FALSE(scene.Draw().contains(QStringLiteral("clip")));

    // Only the axes the series use are drawn; without series every side axis is.
    EXPECT_TRUE(scene.chart.IsAxisVisible(*scene.chart.bottom));
    EXPECT_FALSE(scene.chart.IsAxisVisible(*scene.chart.top));
    EXPECT_FALSE(scene.chart.IsAxisVisible(*scene.chart.DepthAxis()));
    scene.chart.RemoveSeries(scene.first);
    scene.chart.RemoveSeries(scene.second);
    scene.Draw();
    EXPECT_TRUE(scene.chart.IsAxisVisible(*scene.chart.top));
    EXPECT_TRUE(scene.chart.IsAxisVisible(*scene.chart.right));
    EXPECT_EQ(scene.chart.BottomAxis()->CurrentMaximum(), 0.0);
}

TEST(AxisPanelDraw, ChangesDuringTheDrawingAskForNoOtherAndAThrowRestoresTheSwitch)
{
    StepScene scene;
    scene.chart.repaints = 0;
    scene.chart.OnBeforeDrawSeries = [&] { scene.chart.bottom->SetMinorTickCount(7); };
    scene.Draw();
    EXPECT_EQ(scene.chart.repaints, 0);
    EXPECT_TRUE(scene.chart.RepaintOnChange());

    scene.chart.OnAfterDraw = [] { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(scene.Draw(), std::runtime_error);
    EXPECT_TRUE(scene.chart.RepaintOnChange());
}

TEST(AxisPanelDraw, AxesTakeTheirRoomAndSymbolsWidenAutomaticRanges)
{
    StepScene scene;
    scene.second.SetActive(false);
    // A series type whose symbols need room: 10 pixels at both ends of the bottom axis.
    class Symbols : public TChartSeries {
    public:
        int margin = 10;
        void CalcHorizMargins(int& left, int& right) const override { left = right = margin; }
    } symbols;
    scene.chart.AddSeries(&symbols);
    symbols.AddPointXY(0, 0);
    symbols.AddPointXY(100, 9);
    scene.Draw();
    const TRect r = scene.chart.ChartRect;
    EXPECT_LT(r.Bottom, 450) << "the bottom axis took its labels and ticks";
    EXPECT_GT(r.Left, 100) << "the left axis too";
    EXPECT_EQ(r.Top, 50);
    EXPECT_EQ(r.Right, 1100);
    TChartAxis& bottom = *scene.chart.bottom;
    EXPECT_EQ(bottom.StartPixel(), r.Left);
    EXPECT_EQ(bottom.ValueToPixel(0), r.Left + 10);
    EXPECT_EQ(bottom.ValueToPixel(100), r.Right - 10);

    // A fixed range leaves the ends alone; the offsets still apply.
    bottom.SetRange(0, 100);
    bottom.SetMinimumOffset(5);
    scene.Draw();
    EXPECT_EQ(bottom.ValueToPixel(0), scene.chart.ChartRect.Left + 5);
    EXPECT_EQ(bottom.ValueToPixel(100), scene.chart.ChartRect.Right);
    scene.chart.RemoveSeries(symbols);
}

// Labels stand centred on their values: those on the ends of an axis hang half their width past
// it. The rectangle gives way where they would cross the panel's frame, and only there.
TEST(AxisPanelDraw, LabelsOnTheEndsOfAnAxisStayInsideThePanel)
{
    StepScene scene;
    AxisChart& chart = scene.chart;
    chart.ChartBounds = TRect{0, 0, 1120, 500};
    chart.SetBevelOuter(bvRaised); // one pixel of frame, and one of air inside it
    TChartAxis& bottom = *chart.bottom;
    bottom.SetRange(0, 9);
    scene.Draw();
    EXPECT_EQ(chart.ChartRect.Right, 1100) << "short labels fit in the margin";
    EXPECT_EQ(chart.ChartRect.Top, 50);

    // A wide text on the maximum (as "30.000 MHz" on a narrow picture).
    for (const bool inverted : {false, true}) {
        bottom.SetInverted(inverted);
        chart.OnGetAxisLabel = [](TChartAxis* axis, TChartSeries*, int, QString& text) {
            if (axis->Horizontal())
                text = text == QStringLiteral("9") ? QStringLiteral("nine units and a long tail") : text + " u";
        };
        chart.canvas.Forget();
        scene.Draw();
        chart.canvas.AssignFont(&bottom.LabelsFont());
        const int wide = chart.canvas.TextWidth(QStringLiteral("nine units and a long tail"));
        const TRect r = chart.ChartRect;
        // Inverted, the wide text stands on the left, where the level axis' labels make room anyway.
        EXPECT_EQ(r.Right, inverted ? 1100 : 1118 - (wide + 1) / 2);
        int drawn = 0;
        for (const auto& t : chart.canvas.texts) {
            if (t.y < r.Bottom)
                continue; // the level axis' labels
            const int width = chart.canvas.TextWidth(t.text);
            EXPECT_GE(t.x - width / 2, 1) << t.text.toStdString();
            EXPECT_LE(t.x - width / 2 + width, 1119) << t.text.toStdString();
            ++drawn;
        }
        EXPECT_GE(drawn, 2);
    }
}
