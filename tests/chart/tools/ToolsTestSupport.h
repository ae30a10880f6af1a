#ifndef ZENDRIK_TESTS_CHART_TOOLS_TOOLSTESTSUPPORT_H
#define ZENDRIK_TESTS_CHART_TOOLS_TOOLSTESTSUPPORT_H

#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"

#include <QImage>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

namespace toolstest {

// A shown 2D chart of 640 x 400 pixels with one line series; the mouse is driven through the
// chart's own handlers, which the window's mouse events reach the same way.
class ToolChart : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.SetView3D(false);
        chart.Legend().SetVisible(false); // the tools draw over the series alone
        chart.resize(640, 400);
        chart.AddSeries(&series);
        for (int i = 0; i <= 200; ++i)
            series.AddPointXY(i * 5.0, 50.0 + 40.0 * std::sin(i * 0.1));
        chart.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&chart));
        Render();
    }
    void TearDown() override { chart.RemoveSeries(series); }

    // Draws the chart afresh and answers what the window shows.
    QImage Render()
    {
        chart.Invalidate();
        chart.RepaintNow();
        return chart.WindowImage().copy();
    }
    void Down(int x, int y, TShiftState shift = 0) { chart.MouseDown(mbLeft, shift | ssLeft, x, y); }
    void Move(int x, int y) { chart.MouseMove(0, x, y); }
    void Up(int x, int y) { chart.MouseUp(mbLeft, 0, x, y); }
    Qt::CursorShape Shape() const { return chart.cursor().shape(); }

    TChart chart;
    TLineSeries series;
};

// Pixels of an area (QRect: right and bottom included) that differ between two pictures.
inline int DifferentPixels(const QImage& a, const QImage& b, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

} // namespace toolstest

#endif
