// Peak detection on its own: the margin's edge, runs cut after 16 points, the limit listed with a
// maximum, and the run still open when the walk ends.
#include "measurement/PeakLists.h"
#include "measurement/PeakWalk.h"

#include <gtest/gtest.h>

TEST(PeakWalk, MaximaOfRunsCutAfterSixteenPointsAndAtTheEnd)
{
    PeakLists peaks(MeasureSet::Set1);
    PeakWalk walk(peaks, 6.0, true);
    for (int i = 0; i < 20; ++i)
        walk.Point(1000 + i, 50 + i, 50);
    walk.Point(1020, 44, 50); // exactly at limit - margin: ends the run, is no peak
    walk.Point(1021, 47, 50);
    walk.Point(1022, 46, 51);
    walk.Finish();
    EXPECT_EQ(peaks.Freqs.stringList(), QStringList({"1015.00", "1019.00", "1021.00"}));
    EXPECT_EQ(peaks.Grid.Cell(4, 3), "50.00");
    walk.Finish();
    EXPECT_EQ(peaks.Count(), 3);
}

TEST(PeakWalk, WithoutTheFilterEveryExceedingPointIsListed)
{
    PeakLists peaks(MeasureSet::Set2);
    PeakWalk walk(peaks, 0.0, false);
    double x = 100;
    for (const double level : {49.0, 51.0, 50.0, 52.0})
        walk.Point(x++, level, 50);
    walk.Finish();
    EXPECT_EQ(peaks.Levels.stringList(), QStringList({"51.00", "52.00"}));
}
