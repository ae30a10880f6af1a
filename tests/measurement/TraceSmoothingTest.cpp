// The fader's smoothing and its undoing, and the trace arithmetic, against values computed here
// by other means.
#include "app/Log.h"
#include "chart/engine/ChartSeries.h"
#include "measurement/SmoothRangeStore.h"
#include "measurement/TraceArithmetic.h"
#include "measurement/TraceSmoothing.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace {

std::vector<double> Ys(const TChartSeries& s) { return {s.YValues().Values().begin(), s.YValues().Values().end()}; }
std::vector<double> Xs(const TChartSeries& s) { return {s.XValues().Values().begin(), s.XValues().Values().end()}; }

void Fill(TChartSeries& s, const std::vector<double>& xs, const std::vector<double>& ys)
{
    s.Clear();
    for (size_t i = 0; i < xs.size(); ++i)
        s.AddPointXY(xs[i], ys[i]);
}

// The level of a polyline at x by a plain walk over its segments, 0 outside it.
double WalkLevel(const std::vector<double>& xs, const std::vector<double>& ys, double x)
{
    if (xs.empty() || x < xs.front() || x > xs.back())
        return 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i)
        if (x >= xs[i] && x <= xs[i + 1])
            return ys[i] + (ys[i + 1] - ys[i]) * (x - xs[i]) / (xs[i + 1] - xs[i]);
    return ys.back();
}

struct Smoothing : testing::Test {
    TChartSeries trace, overlay, compensation;
    DebugLog debug;
};

} // namespace

TEST_F(Smoothing, ElevenPointsBecomeTheLineBetweenTheirEnds)
{
    Fill(trace, {99, 100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111},
         {0, 10, 30, 5, 12, 40, 15, 16, 0, 18, 25, 20, 0});
    const std::vector<double> before = Ys(trace);
    SmoothTraceStretch(trace, overlay, compensation, 99.6, 110.4, clBlack, debug);
    EXPECT_EQ(Ys(trace), (std::vector<double>{0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 0}));
    ASSERT_EQ(overlay.Count(), 11);
    ASSERT_EQ(compensation.Count(), 11);
    for (int k = 0; k < 11; ++k) {
        EXPECT_DOUBLE_EQ(overlay.GetPointX(k), 99.6 + k * 10.8 / 10);
        EXPECT_EQ(overlay.GetPointY(k), before[static_cast<size_t>(k + 1)]);
        EXPECT_EQ(overlay.GetPointColor(k), clBlue);
        const double expected = k == 0 || k == 10 ? 0.0 : 10 + k - before[static_cast<size_t>(k + 1)];
        EXPECT_EQ(compensation.GetPointY(k), expected);
    }
    // Ends that do not map to two points change nothing.
    for (auto [from, to] : {std::pair{104.2, 104.4}, std::pair{80.0, 105.0}, std::pair{105.0, 200.0}})
        SmoothTraceStretch(trace, overlay, compensation, from, to, clBlack, debug);
    EXPECT_EQ(overlay.Count(), 11);
}

TEST_F(Smoothing, RestoreGivesBackTheTraceExactlyInEitherOrder)
{
    // A sweep's trace: X every 0.25 kHz, so only every fourth point lies on a whole kHz.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> level(-20, 80);
    std::vector<double> xs, ys;
    for (int i = 0; i < 4000; ++i) {
        xs.push_back(150 + 0.25 * i);
        ys.push_back(level(rng));
    }
    Fill(trace, xs, ys);
    SmoothTraceStretch(trace, overlay, compensation, 300.3, 420.7, clBlack, debug);
    SmoothTraceStretch(trace, overlay, compensation, 500.5, 900.2, clBlack, debug);
    // The smoothed ranges end on the points at the rounded ends: 300 and 421 kHz, 500 (a half
    // rounds to even) and 900 kHz.
    EXPECT_EQ(trace.GetPointY(599), ys[599]);
    EXPECT_NE(trace.GetPointY(601), ys[601]);
    EXPECT_NE(trace.GetPointY(1083), ys[1083]);
    EXPECT_EQ(trace.GetPointY(1085), ys[1085]);
    EXPECT_EQ(overlay.Count(), (1084 - 600 + 1) + (3000 - 1400 + 1));
    UnsmoothTrace(trace, overlay, compensation, 300.3, 420.7, debug);
    UnsmoothTrace(trace, overlay, compensation, 500.5, 900.2, debug);
    EXPECT_EQ(Ys(trace), ys);
    EXPECT_EQ(Xs(trace), xs);
    EXPECT_EQ(overlay.Count(), 0);
    EXPECT_EQ(compensation.Count(), 0);

    // Last first, and a trace cleared meanwhile keeps what it holds.
    SmoothTraceStretch(trace, overlay, compensation, 160, 170, clBlack, debug);
    SmoothTraceStretch(trace, overlay, compensation, 200, 260, clBlack, debug);
    UnsmoothTrace(trace, overlay, compensation, 200, 260, debug);
    UnsmoothTrace(trace, overlay, compensation, 160, 170, debug);
    EXPECT_EQ(Ys(trace), ys);
    SmoothTraceStretch(trace, overlay, compensation, 160, 170, clBlack, debug);
    overlay.Clear();
    const std::vector<double> smoothed = Ys(trace);
    UnsmoothTrace(trace, overlay, compensation, 160, 170, debug);
    EXPECT_EQ(Ys(trace), smoothed);
    EXPECT_EQ(compensation.Count(), 0);
}

TEST_F(Smoothing, PointIndexAtOrAWholeKhzAbove)
{
    Fill(trace, {10, 10.5, 11.5, 12, 13.25, 14}, {0, 0, 0, 0, 0, 0});
    EXPECT_EQ(FindPointIndexByX(trace, 10.5), 1);
    EXPECT_EQ(FindPointIndexByX(trace, 11), 3);    // 12 is the next whole-kHz step
    EXPECT_EQ(FindPointIndexByX(trace, 12.25), 4); // 13.25
    EXPECT_EQ(FindPointIndexByX(trace, 12.5), -1); // 13.5 is no point; 14 is the largest X
    EXPECT_EQ(FindPointIndexByX(trace, 14), 5);
    EXPECT_EQ(FindPointIndexByX(trace, 9.99), -1);
    EXPECT_EQ(FindPointIndexByX(trace, 14.01), -1);
    EXPECT_EQ(FindPointIndexByX(overlay, 10), -1);
}

TEST_F(Smoothing, LoadingAChartResetsTheSetsFader)
{
    Fill(trace, {1, 2, 3, 4}, {4, 3, 2, 1});
    SmoothTraceStretch(trace, overlay, compensation, 1, 4, clBlack, debug);
    SmoothRangeStore store;
    store.Count = 2;
    store.Range(1) = {1, 1, 4};
    ResetFadeOverlays(overlay, compensation, store);
    EXPECT_EQ(overlay.Count() + compensation.Count(), 0);
    EXPECT_EQ((std::vector{store.Count, store.Range(1).State, store.Range(2).State}), (std::vector{2, -1, -1}));
}

TEST(TraceArithmetic, FourOperationsAgainstAWalkOverTheSecondTrace)
{
    TChartSeries a, b, result;
    std::vector<double> ax, ay, bx, by;
    for (int i = 0; i <= 40; ++i) {
        ax.push_back(i * 0.5 + 0.3); // rounded to whole kHz before the look-up
        ay.push_back(std::sin(i * 0.7) * 30 + 20);
    }
    for (int i = 0; i <= 5; ++i) {
        bx.push_back(5 + 2 * i);
        by.push_back(i == 2 ? 0.0 : 3.0 * i - 4.0);
    }
    Fill(a, ax, ay);
    Fill(b, bx, by);
    for (char op : {'-', '+', '*', '/'}) {
        CombineSeries(a, b, result, QLatin1Char(op));
        std::vector<double> ex, ey;
        for (size_t i = 0; i < ax.size(); ++i) {
            const double v = WalkLevel(bx, by, std::nearbyint(ax[i]));
            if (op == '/' && v == 0)
                continue;
            ex.push_back(ax[i]);
            ey.push_back(op == '-' ? ay[i] - v : op == '+' ? ay[i] + v : op == '*' ? ay[i] * v : ay[i] / v);
        }
        ASSERT_EQ(result.Count(), static_cast<int>(ex.size())) << op;
        EXPECT_EQ(Xs(result), ex) << op;
        for (size_t i = 0; i < ey.size(); ++i)
            EXPECT_NEAR(result.GetPointY(static_cast<int>(i)), ey[i], 1e-12) << op << " at " << ex[i];
        EXPECT_EQ(result.GetPointColor(0), clRed);
    }
    // "Calc" with "S1" - "S1": zeros over the corrected trace's points (on the kHz grid).
    TChartSeries corrected;
    Fill(corrected, bx, ay);
    MathSeries math;
    math.Operands[6] = &corrected;
    math.Result = &result;
    ASSERT_TRUE(CalcMath(math, 6, 0, 6));
    EXPECT_EQ(Xs(result), bx);
    for (double y : Ys(result))
        EXPECT_NEAR(y, 0.0, 1e-12);
    EXPECT_FALSE(CalcMath(math, 0, 0, 6)); // no series behind "T1S1"
}
