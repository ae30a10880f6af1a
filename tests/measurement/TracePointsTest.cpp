// What the engine does with a reader's points: they join the raw trace after what it holds,
// single receiver points land on whole kHz, and a faulty trace adds none.
#include "RunFixture.h"
#include "instrument/TraceTransfer.h"
#include "measurement/TracePoints.h"

TEST(TracePoints, ReadPointsJoinWhatTheSeriesHolds)
{
    RunFixture f;
    f.chart.raw1.AddPointXY(10.0, 1.0);
    TraceReadResult read;
    read.Points = {{150.0, 40.5}, {200.0, 41.5}};
    EXPECT_EQ(AddTracePoints(f.chart.raw1, clRed, read), 2);
    ASSERT_EQ(f.chart.raw1.Count(), 3);
    EXPECT_EQ(f.chart.raw1.GetPointX(0), 10.0);
    EXPECT_EQ(f.chart.raw1.GetPointX(2), 200.0);
    EXPECT_EQ(f.chart.raw1.GetPointY(2), 41.5);
    EXPECT_EQ(f.chart.raw1.GetPointColor(1), clRed);
    EXPECT_TRUE(f.host.errorBoxes.isEmpty());
}

TEST(TracePoints, SinglePointsRoundToWholeKhzHalvesToEven)
{
    RunFixture f;
    f.debug.DebugMode = 1;
    TChartSeries series;
    AddTracePoint(f.scpi, series, clDefault, 2500.0, 40.0);
    AddTracePoint(f.scpi, series, clDefault, 3500.0, 41.0);
    AddTracePoint(f.scpi, series, clDefault, 29950250.0, 42.0);
    ASSERT_EQ(series.Count(), 3);
    EXPECT_EQ(series.GetPointX(0), 2.0);
    EXPECT_EQ(series.GetPointX(1), 4.0);
    EXPECT_EQ(series.GetPointX(2), 29950.0);
    EXPECT_EQ(series.GetPointY(2), 42.0);
    EXPECT_TRUE(f.debug.Lines().contains("T: Stop  Raw xValue: 29950"));
    EXPECT_TRUE(f.debug.Lines().contains("T: Start Raw  Count: 3"));
}

TEST(TracePoints, ABadBinaryValueIsOneLineAndNoPointsOfItsSegment)
{
    RunFixture f;
    SimFaults faults;
    faults.nanValue = true;
    f.Connect("dsa815", false, faults);
    f.AddSegment(MeasureSet::Set1, 150000, 30000000);
    f.run->Play();
    EXPECT_EQ(f.Lines("Error: "), QStringList{"Error: IEEE-Conversion-ERROR:1, check DSA firmware version"});
    EXPECT_TRUE(f.host.errorBoxes.isEmpty());
    EXPECT_EQ(f.chart.raw1.Count() + f.chart.corrected1.Count(), 0);
    EXPECT_TRUE(f.Lines("Info: measurement done").isEmpty());
}
