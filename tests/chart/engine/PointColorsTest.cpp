#include "chart/engine/ChartSeries.h"
#include "chart/engine/PointColors.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

// Random inserts, deletes, sets and swaps on the runs agree with a plain colour per point.
TEST(PointColors, RunsAgreeWithOneColourPerPoint)
{
    std::mt19937 random(11);
    const TColor palette[] = {clDefault, clDefault, clRed, clBlue, clNone};
    TPointColors runs;
    std::vector<TColor> plain;
    for (int step = 0; step < 20000; ++step) {
        const int n = static_cast<int>(plain.size());
        const TColor color = palette[random() % 5];
        const int at = n == 0 ? 0 : static_cast<int>(random() % (n + 1));
        switch (random() % 5) {
        case 0:
        case 1:
            runs.Insert(at, color);
            plain.insert(plain.begin() + at, color);
            break;
        case 2:
            if (at < n) {
                const int count = std::min(n - at, static_cast<int>(random() % 4) + 1);
                runs.Erase(at, count);
                plain.erase(plain.begin() + at, plain.begin() + at + count);
            }
            break;
        case 3:
            if (at < n) {
                runs.Set(at, color);
                plain[at] = color;
            }
            break;
        default:
            if (n > 1) {
                const int other = static_cast<int>(random() % n);
                const int a = std::min(at, n - 1);
                runs.Swap(a, other);
                std::swap(plain[a], plain[other]);
            }
        }
        if (step % 97 == 0 || step > 19900) {
            for (int i = 0; i < static_cast<int>(plain.size()) + 2; ++i)
                ASSERT_EQ(runs.At(i), i < static_cast<int>(plain.size()) ? plain[i] : clDefault) << step << " " << i;
            for (int r = 1; r < runs.RunCount(); ++r)
                ASSERT_NE(runs.RunColor(r), runs.RunColor(r - 1));
            ASSERT_TRUE(runs.RunCount() == 0 || runs.RunColor(runs.RunCount() - 1) != clDefault);
        }
    }
}

// A trace whose points all come in one colour costs one run, whatever its length.
TEST(PointColors, OneColourTraceIsOneRun)
{
    TChartSeries series;
    std::vector<double> x(100000), y(100000, 50.0);
    for (size_t i = 0; i < x.size(); ++i)
        x[i] = static_cast<double>(i);
    {
        TChartSeries::UpdateScope scope(series);
        series.AddPointsXY(x, y, clYellow);
    }
    series.AddPointXY(200000.0, 1.0, {}, clYellow);
    EXPECT_EQ(series.PointColors().RunCount(), 1);
    EXPECT_EQ(series.GetPointColor(100000), clYellow);
    series.AddNullXY(50.5, 0.0);
    EXPECT_EQ(series.PointColors().RunCount(), 3);
    EXPECT_TRUE(series.IsNull(51));
    EXPECT_EQ(series.GetPointColor(52), clYellow);
    series.Delete(51);
    EXPECT_EQ(series.PointColors().RunCount(), 1);
    EXPECT_LT(series.PointColors().MemoryBytes(), 64u);
}
