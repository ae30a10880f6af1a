#include "EngineFakes.h"

#include "chart/engine/LabelsList.h"
#include "chart/engine/SeriesRoutines.h"

#include <gtest/gtest.h>

using enginetest::FakeChart;

TEST(LabelsList, ShortListReadsEmptyPastItsEnd)
{
    TLabelsList labels;
    labels.InsertLabel(0, "");
    EXPECT_TRUE(labels.IsEmpty());
    labels.InsertLabel(5, "five");            // pads 0..4
    EXPECT_EQ(labels.Count(), 6);
    EXPECT_EQ(labels[5], "five");
    EXPECT_EQ(labels[4], "");
    EXPECT_EQ(labels[100], "");
    EXPECT_EQ(labels[-1], "");
    labels.InsertLabel(0, "zero");
    EXPECT_EQ(labels[6], "five");
    labels.DeleteLabel(0);
    EXPECT_EQ(labels[5], "five");
    labels.DeleteLabel(50);                   // nothing there
    EXPECT_EQ(labels.Count(), 6);

    TLabelsList copy;
    copy.InsertLabel(0, "old");
    copy.Assign(labels);
    EXPECT_EQ(copy.Count(), 6);
    EXPECT_EQ(copy[0], "");
    EXPECT_EQ(copy[5], "five");
    labels.Clear();
    EXPECT_TRUE(labels.IsEmpty());
}

TEST(LabelsList, SeriesWithShortLabelList)
{
    TChartSeries s;
    for (int i = 0; i < 1000; ++i)
        s.AddPointXY(i, i);
    EXPECT_TRUE(s.Labels().IsEmpty());
    s.SetXLabel(5, "peak");
    EXPECT_EQ(s.Labels().Count(), 6);         // shorter than the 1000 points
    EXPECT_EQ(s.XLabel(999), "");
    EXPECT_EQ(s.XLabel(5), "peak");
    s.Delete(999);                            // no label entry there: the list stays as it is
    EXPECT_EQ(s.Labels().Count(), 6);
    s.Delete(2);
    EXPECT_EQ(s.XLabel(4), "peak");
    s.AddPointXY(0.5, 1, "first");
    EXPECT_EQ(s.XLabel(0), "");
    EXPECT_EQ(s.XLabel(1), "first");
    EXPECT_EQ(s.XLabel(5), "peak");
    s.SwapValueIndex(5, 900);                 // swapping past the list's end pads it
    EXPECT_EQ(s.XLabel(900), "peak");
    EXPECT_EQ(s.XLabel(5), "");
}

TEST(SeriesRoutines, TitlesItemsAndContentTests)
{
    FakeChart chart;
    TChartSeries& a = chart.NewSeries();
    TChartSeries& b = chart.NewSeries();
    TChartSeries& c = chart.NewSeries();
    a.SetTitle(QString("Line1") + QChar(13) + "Line2");
    EXPECT_EQ(SeriesTitleOrName(a), "Line1 Line2");
    EXPECT_EQ(chart.CountEvents(seChangeTitle), 1);
    b.SetName("Series16");
    EXPECT_EQ(SeriesTitleOrName(b), "Series16");
    EXPECT_EQ(SeriesTitleOrName(c), "Series3");
    c.SetShowInEditor(false);

    std::vector<SeriesItem> items{{"stale", nullptr}};
    FillSeriesItems(items, chart.list, true);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].text, "Line1 Line2");
    EXPECT_EQ(items[0].series, &a);
    EXPECT_EQ(items[1].text, "Series16");
    FillSeriesItems(items, chart.list, false);
    EXPECT_EQ(items[0].text, "");
    EXPECT_EQ(items[1].series, &b);

    EXPECT_FALSE(HasCustomXValues(a));
    for (int i = 0; i < 20; ++i)
        a.Add(i);
    EXPECT_FALSE(HasCustomXValues(a));
    a.SetPointX(7, 7.5);
    EXPECT_TRUE(HasCustomXValues(a));
    a.AllowCustomXValues = false;
    EXPECT_FALSE(HasCustomXValues(a));
    b.AddPointXY(1, 1);
    EXPECT_TRUE(HasCustomXValues(b));         // first X is not 0

    EXPECT_FALSE(HasCustomColors(a));
    a.SetPointColor(3, a.SeriesColor());
    EXPECT_FALSE(HasCustomColors(a));         // the series colour is not custom
    a.SetPointColor(4, clLime);
    EXPECT_TRUE(HasCustomColors(a));

    EXPECT_FALSE(HasLabels(a));
    for (int i = 20; i < 200; ++i)
        a.Add(i);
    a.SetXLabel(150, "");
    EXPECT_FALSE(HasLabels(a));
    a.SetXLabel(150, "far");                  // beyond the first 101 points: not looked at
    EXPECT_FALSE(HasLabels(a));
    a.SetXLabel(100, "near");
    EXPECT_TRUE(HasLabels(a));
}
