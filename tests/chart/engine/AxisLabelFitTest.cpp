// Value labels as the chart shows them on every zoom: never overlapping, never repeating a text,
// inside the axis, with the ends labelled when they fall on the step.
#include "AxisTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>

using axistest::AxisChart;

namespace {

struct Drawn {
    int pixel;      // along the axis
    int from, to;   // extent of the text along the axis
    QString text;
    double value;
};

// Lays the axis out over the given range and draws its labels; what the canvas received, in
// the order of the pixels along the axis.
std::vector<Drawn> DrawLabels(AxisChart& chart, TChartAxis& axis, double minimum, double maximum)
{
    axis.SetRange(minimum, maximum);
    axis.RecalcPixels();
    axis.RecalcRange();
    TRect r = chart.ChartRect;
    axis.LayoutAxis(r, false);
    chart.canvas.Forget();
    axis.DrawAxisLabels();
    chart.canvas.AssignFont(&axis.LabelsFont());
    const int height = chart.canvas.FontHeight();
    std::vector<Drawn> drawn;
    EXPECT_EQ(chart.canvas.texts.size(), static_cast<size_t>(axis.Items().Count()));
    for (size_t i = 0; i < chart.canvas.texts.size() && i < static_cast<size_t>(axis.Items().Count()); ++i) {
        const auto& t = chart.canvas.texts[i];
        const int width = chart.canvas.TextWidth(t.text);
        Drawn d;
        d.text = t.text;
        d.value = axis.Items()[static_cast<int>(i)]->Value();
        if (axis.Horizontal()) {
            d.pixel = t.x;
            d.from = t.x - width / 2;
            d.to = d.from + width;
        } else {
            d.pixel = t.y + height / 2;
            d.from = t.y;
            d.to = t.y + height;
        }
        drawn.push_back(d);
    }
    std::sort(drawn.begin(), drawn.end(), [](const Drawn& a, const Drawn& b) { return a.pixel < b.pixel; });
    return drawn;
}

// A multiple of the step but for the rounding of the value itself.
bool OnStep(double value, double step)
{
    return std::fabs(value - std::nearbyint(value / step) * step) <= 1e-12 * std::fabs(value);
}

} // namespace

TEST(AxisLabelFit, RandomRangesAndLengthsGiveClearDistinctLabelsInsideTheAxis)
{
    std::mt19937 random(20240613);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int endsChecked = 0;
    for (int run = 0; run < 400; ++run) {
        const bool horizontal = run % 2 == 0;
        const int length = 100 + static_cast<int>(unit(random) * 1900);
        AxisChart chart(horizontal ? TRect{20, 20, 20 + length, 300} : TRect{80, 20, 600, 20 + length});
        chart.NewSeries();
        TChartAxis& axis = horizontal ? *chart.bottom : *chart.left;

        const double width = std::pow(10.0, -12 + 24 * unit(random));
        double offset = (unit(random) * 2 - 1) * std::pow(10.0, 9 * unit(random));
        if (run % 3 == 0) {
            // Ends on a 1-2-5 grid, so that they fall on the label step now and then.
            static constexpr double kMantissa[] = {1, 2, 5};
            const double grid = kMantissa[run % 9 / 3] * std::pow(10.0, std::floor(std::log10(width)) - 1);
            offset = std::nearbyint(offset / grid) * grid;
        }
        SCOPED_TRACE(testing::Message() << "range " << offset << " + " << width << " on " << length << " px "
                                        << (horizontal ? "horizontal" : "vertical"));
        const std::vector<Drawn> drawn = DrawLabels(chart, axis, offset, offset + width);
        ASSERT_FALSE(drawn.empty());

        std::set<QString> texts;
        for (size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_TRUE(texts.insert(drawn[i].text).second) << "repeated " << drawn[i].text.toStdString();
            EXPECT_GE(drawn[i].pixel, axis.StartPixel());
            EXPECT_LE(drawn[i].pixel, axis.EndPixel());
            if (i > 0) {
                EXPECT_LE(drawn[i - 1].to, drawn[i].from)
                    << drawn[i - 1].text.toStdString() << " overlaps " << drawn[i].text.toStdString();
            }
        }
        if (drawn.size() < 2)
            continue;
        const double step = std::fabs(drawn[1].value - drawn[0].value);
        for (const double end : {axis.CurrentMinimum(), axis.CurrentMaximum()}) {
            if (!OnStep(end, step))
                continue;
            ++endsChecked;
            const QString text = axis.LabelTextOfValue(end);
            EXPECT_TRUE(std::any_of(drawn.begin(), drawn.end(), [&](const Drawn& d) { return d.text == text; }))
                << "end " << text.toStdString() << " on the step " << step << " is not labelled";
        }
    }
    EXPECT_GT(endsChecked, 40);
}

TEST(AxisLabelFit, FaultyRangesOfTheOldLoop)
{
    AxisChart chart(TRect{50, 20, 1250, 400});
    chart.NewSeries();
    TChartAxis& axis = *chart.bottom;
    auto texts = [](const std::vector<Drawn>& drawn) {
        QStringList list;
        for (const Drawn& d : drawn)
            list << d.text;
        return list;
    };

    // A zoom onto one point: one label, at the centre.
    std::vector<Drawn> drawn = DrawLabels(chart, axis, 9000, 9000);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, QStringLiteral("9,000"));
    EXPECT_EQ(drawn[0].pixel, axis.CenterPixel());
    EXPECT_EQ(axis.TickPositions().size(), 1u);

    // The ends of -1..1 survive the steps down from 1.
    drawn = DrawLabels(chart, axis, -1, 1);
    EXPECT_EQ(texts(drawn).front(), QStringLiteral("-1"));
    EXPECT_EQ(texts(drawn).back(), QStringLiteral("1"));

    // Steps finer than the format shows would print 0.001 three times; 0.009 ends the row.
    drawn = DrawLabels(chart, axis, 0.001, 0.009);
    EXPECT_EQ(texts(drawn).front(), QStringLiteral("0.001"));
    EXPECT_EQ(texts(drawn).back(), QStringLiteral("0.009"));

    drawn = DrawLabels(chart, axis, 0, 1e-6);
    EXPECT_EQ(texts(drawn), QStringList{QStringLiteral("0")});
}
