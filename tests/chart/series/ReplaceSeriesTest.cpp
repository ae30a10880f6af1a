// Copying series through the engine's Assign, and replacing a series by one of another class.
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"

#include <gtest/gtest.h>

// The engine copies through its own Assign; the series types must take part in that one call,
// with the points, labels and colours of the base and their own settings.
TEST(SeriesAssign, TheEngineCallReachesTheSeriesTypes)
{
    TLineSeries line;
    line.SetTitle(QStringLiteral("trace"));
    line.SetSeriesColor(clBlue);
    line.SetTreatNulls(tnSkip);
    line.SetStairs(true);
    line.AddPointXY(1, 10, QStringLiteral("a"), clRed);
    line.AddPointXY(2, 20);

    TPointSeries points;
    TChartSeries& asBase = points;
    asBase.Assign(line);
    EXPECT_EQ(points.Count(), 2);
    EXPECT_EQ(points.XLabel(0), QStringLiteral("a"));
    EXPECT_EQ(points.GetPointColor(0), clRed);
    EXPECT_EQ(points.Title(), QStringLiteral("trace"));
    EXPECT_EQ(points.SeriesColor(), clBlue);
    EXPECT_EQ(points.TreatNulls(), tnSkip);
    EXPECT_TRUE(points.Stairs());
    EXPECT_TRUE(points.Pointer().Visible());   // still a point series
    EXPECT_FALSE(points.DrawLine());

    TFastLineSeries fast;
    static_cast<TChartSeries&>(fast).Assign(points);
    EXPECT_EQ(fast.Count(), 2);
    EXPECT_EQ(fast.YValues().Value(1), 20);
    EXPECT_EQ(fast.TreatNulls(), tnSkip);
    EXPECT_EQ(fast.LinePen().Color(), clBlue);
}
