#include "AxisTestSupport.h"

#include "chart/engine/PlotMessages.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using axistest::AxisChart;
using axistest::Prepare;

namespace {

QStringList DataLines(const QString& name)
{
    QFile file(testsupport::DataPath(QStringLiteral("axes/") + name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text)) << name.toStdString();
    QStringList lines;
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

double Num(const QString& s)
{
    bool ok = false;
    const double v = s.toDouble(&ok);
    EXPECT_TRUE(ok) << s.toStdString();
    return v;
}

// Places the axis of the chart between two pixels along its direction.
TChartAxis& AxisBetween(AxisChart& chart, bool horizontal, int start, int end)
{
    chart.ChartRect = horizontal ? TRect{start, 10, end, 500} : TRect{10, start, 900, end};
    return horizontal ? *chart.bottom : *chart.left;
}

template <typename F>
void ExpectThrowsText(F&& f, const QString& text)
{
    try {
        f();
        ADD_FAILURE() << "no exception, expected " << text.toStdString();
    } catch (const AxisException& e) {
        EXPECT_EQ(e.Message(), text);
    }
}

} // namespace

TEST(AxisRange, RejectedValuesRaiseTheTableTextAndKeepTheOldValue)
{
    AxisChart chart;
    TChartAxis& axis = *chart.bottom;
    axis.SetRange(0, 10);
    ExpectThrowsText([&] { axis.SetMinimum(11); }, QStringLiteral("Axis Minimum Value must be <= Maximum"));
    EXPECT_EQ(axis.Minimum(), 0.0);
    ExpectThrowsText([&] { axis.SetMaximum(-1); }, QStringLiteral("Axis Maximum Value must be >= Minimum"));
    EXPECT_EQ(axis.Maximum(), 10.0);
    ExpectThrowsText([&] { axis.SetIncrement(-1); }, QStringLiteral("Axis increment must be >= 0"));
    EXPECT_EQ(axis.Increment(), 0.0);
    ExpectThrowsText([&] { axis.SetLabelsSeparation(-1); }, QStringLiteral("Labels Separation % must be greater than 0"));
    EXPECT_EQ(axis.LabelsSeparation(), 10);
    axis.SetLabelsSeparation(0);
    EXPECT_EQ(axis.LabelsSeparation(), 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    ExpectThrowsText([&] { axis.SetMinimum(nan); }, QStringLiteral("Axis Minimum Value must be <= Maximum"));
    ExpectThrowsText([&] { axis.SetMaximum(nan); }, QStringLiteral("Axis Maximum Value must be >= Minimum"));
    ExpectThrowsText([&] { axis.SetRange(nan, 5); }, QStringLiteral("Axis Minimum Value must be <= Maximum"));
    ExpectThrowsText([&] { axis.SetRange(5, nan); }, QStringLiteral("Axis Maximum Value must be >= Minimum"));
    const QString notFinite =
        QStringLiteral("Axis Minimum and Maximum must be finite numbers with a finite difference");
    for (const auto& [low, high] : {std::pair{0.0, INFINITY}, {-INFINITY, 0.0}, {-1e308, 1e308}})
        ExpectThrowsText([&] { axis.SetRange(low, high); }, notFinite);
    ExpectThrowsText([&] { axis.SetMaximum(INFINITY); }, notFinite);
    EXPECT_EQ(axis.Minimum(), 0.0);
    EXPECT_EQ(axis.Maximum(), 10.0);
    // A base at or below 1 makes no rising powers.
    for (const double base : {1.0, 0.5, 0.0, -2.0, nan}) {
        ExpectThrowsText([&] { axis.SetLogarithmicBase(base); },
                         QStringLiteral("Axis Logarithmic Base should be > 1"));
        EXPECT_EQ(axis.LogarithmicBase(), 10.0);
    }
    axis.SetLogarithmicBase(2);
    EXPECT_EQ(axis.LogarithmicBase(), 2.0);

    // While the chart is read, the cross-check waits.
    chart.loading = true;
    axis.SetMinimum(11);
    EXPECT_EQ(axis.Minimum(), 11.0);
}

TEST(AxisRange, LogarithmicNeedsNonNegativeLimitsAndNoDates)
{
    AxisChart chart;
    TChartAxis& axis = *chart.left;
    // One rule and one text, whether turned logarithmic or set after: nothing below 0.
    const QString negative = QStringLiteral("Logarithmic Axis Min and Max values should be >= 0");
    axis.SetRange(-5, 100);
    axis.RecalcPixels();
    ExpectThrowsText([&] { axis.SetLogarithmic(true); }, negative);
    EXPECT_FALSE(axis.Logarithmic());
    EXPECT_EQ(axis.Conversion(), AxisConversion::LinearClamped);

    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(1, 46000.5);
    series.YValues().SetDateTime(true);
    axis.SetRange(46000, 46001);
    ExpectThrowsText([&] { axis.SetLogarithmic(true); }, QStringLiteral("DateTime Axis cannot be Logarithmic"));
    EXPECT_FALSE(axis.Logarithmic());

    series.YValues().SetDateTime(false);
    axis.SetLogarithmic(true);
    EXPECT_TRUE(axis.Logarithmic());
    ExpectThrowsText([&] { axis.SetRange(-5, 50); }, negative);
    ExpectThrowsText([&] { axis.SetMinimum(-5); }, negative);
    EXPECT_EQ(axis.Minimum(), 46000.0);
    EXPECT_EQ(axis.Maximum(), 46001.0);
    axis.SetMinimum(0);   // as a range from 0 is turned logarithmic
    EXPECT_EQ(axis.Minimum(), 0.0);
    EXPECT_EQ(axis.Conversion(), AxisConversion::Logarithmic);
    axis.SetLogarithmic(false);
    EXPECT_EQ(axis.Conversion(), AxisConversion::LinearClamped);
}

TEST(AxisRange, SetRangeSwapsWidensAndTurnsAutomaticOff)
{
    AxisChart chart;
    TChartAxis& axis = *chart.bottom;
    axis.SetRange(5, 5);
    EXPECT_EQ(axis.Minimum(), 5.0);
    EXPECT_EQ(axis.Maximum(), 5.0 + 1e-10);
    EXPECT_FALSE(axis.Automatic());
    EXPECT_FALSE(axis.AutomaticMinimum());
    EXPECT_FALSE(axis.AutomaticMaximum());
    axis.SetRange(10, 2);
    EXPECT_EQ(axis.Minimum(), 2.0);
    EXPECT_EQ(axis.Maximum(), 10.0);

    const int before = chart.repaints;
    axis.SetRange(2, 10);
    EXPECT_EQ(chart.repaints, before) << "an unchanged range repaints nothing";
    axis.SetAutomatic(true);
    EXPECT_TRUE(axis.AutomaticMinimum() && axis.AutomaticMaximum());
    axis.SetAutomaticMaximum(false);
    EXPECT_FALSE(axis.Automatic());
    axis.SetAutomaticMaximum(true);
    EXPECT_TRUE(axis.Automatic());
    axis.SetZPosition(0);
    EXPECT_EQ(axis.ZPosition(), 0.01);
    axis.SetLabelsAngle(-90);
    EXPECT_EQ(axis.LabelsAngle(), 270);
}

TEST(AxisRange, LinkedAxesFollowInChainsAndCyclesEnd)
{
    AxisChart chart;
    TChartAxis& a = chart.NewCustomAxis(false);
    TChartAxis& b = chart.NewCustomAxis(false);
    TChartAxis& c = chart.NewCustomAxis(false);
    b.SetMasterAxis(&a);
    c.SetMasterAxis(&b);
    a.SetRange(3, 30);
    EXPECT_EQ(c.Minimum(), 3.0);
    EXPECT_EQ(c.Maximum(), 30.0);

    // A cycle of links would pass the range round for ever.
    a.SetMasterAxis(&c);
    b.SetRange(-7, 9);
    EXPECT_EQ(a.Minimum(), -7.0);
    EXPECT_EQ(c.Maximum(), 9.0);
    a.SetRange(1, 2);
    EXPECT_EQ(b.Minimum(), 1.0);
    EXPECT_EQ(c.Minimum(), 1.0);
}

TEST(AxisRange, AutomaticRangeComesFromTheSeriesOnTheAxis)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(9, -3);
    series.AddPointXY(3000000, 72.5);
    chart.bottom->RecalcPixels();
    chart.bottom->RecalcRange();
    EXPECT_EQ(chart.bottom->CurrentMinimum(), 9.0);
    EXPECT_EQ(chart.bottom->CurrentMaximum(), 3000000.0);
    chart.left->SetAutomaticMinimum(false);
    chart.left->InternalSetMinimum(-10);
    chart.left->RecalcPixels();
    chart.left->RecalcRange();
    EXPECT_EQ(chart.left->CurrentMinimum(), -10.0);
    EXPECT_EQ(chart.left->CurrentMaximum(), 72.5);

    // Rounding to the label step.
    chart.left->SetMaximumRound(true);
    chart.left->SetIncrement(5);
    chart.left->RecalcRange();
    EXPECT_EQ(chart.left->CurrentMaximum(), 75.0);

    // Scrolling with limits moves only towards data beyond the range.
    chart.bottom->SetRange(0, 4000000);
    chart.bottom->Scroll(5, true);
    EXPECT_EQ(chart.bottom->Maximum(), 4000000.0);
    chart.bottom->Scroll(0, true);
    EXPECT_EQ(chart.bottom->Minimum(), 0.0);
    chart.bottom->Scroll(-5, true);
    EXPECT_EQ(chart.bottom->Minimum(), 0.0) << "no series value lies below the minimum";
    chart.bottom->SetRange(100, 200);
    chart.bottom->Scroll(-5, true);
    EXPECT_EQ(chart.bottom->Minimum(), 95.0);
    chart.bottom->SetAutomatic(true);
    chart.bottom->Scroll(5, false);
    EXPECT_FALSE(chart.bottom->Automatic());
    EXPECT_EQ(chart.bottom->Maximum(), 200.0);
    EXPECT_EQ(chart.bottom->Minimum(), 100.0);
}

TEST(AxisConversion, ValueToPixelMatchesIndependentReference)
{
    int checked = 0;
    for (const QString& line : DataLines(QStringLiteral("conversions.txt"))) {
        const QStringList f = line.split(' ');
        if (f[0] == QStringLiteral("pixel"))
            continue;
        AxisChart chart;
        const bool horizontal = f[1] == QStringLiteral("1");
        TChartAxis* axis = nullptr;
        if (f[0] == QStringLiteral("depth")) {
            chart.Width3D = f[4].toInt();
            axis = chart.depth;
        } else {
            axis = &AxisBetween(chart, horizontal, f[3].toInt(), f[4].toInt());
        }
        chart.Axes().FastCalc = f[0] == QStringLiteral("fast");
        axis->SetInverted(f[2] == QStringLiteral("1"));
        Prepare(*axis, Num(f[5]), Num(f[6]));
        if (f[0] == QStringLiteral("log"))
            axis->SetLogarithmic(true);
        const double value = Num(f[7]);
        const int expected = f[8].toInt();
        EXPECT_EQ(axis->ValueToPixel(value), expected) << line.toStdString();
        int32_t batch = 0;
        axis->ValuesToPixels(std::span<const double>(&value, 1), std::span<int32_t>(&batch, 1));
        EXPECT_EQ(batch, expected) << "batch " << line.toStdString();
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

TEST(AxisConversion, PixelToValueMatchesIndependentReference)
{
    int checked = 0;
    for (const QString& line : DataLines(QStringLiteral("conversions.txt"))) {
        const QStringList f = line.split(' ');
        if (f[0] != QStringLiteral("pixel"))
            continue;
        AxisChart chart;
        const bool horizontal = f[2] == QStringLiteral("1");
        TChartAxis& axis = AxisBetween(chart, horizontal, f[4].toInt(), f[5].toInt());
        axis.SetInverted(f[3] == QStringLiteral("1"));
        Prepare(axis, Num(f[6]), Num(f[7]));
        if (f[1] == QStringLiteral("log"))
            axis.SetLogarithmic(true);
        EXPECT_DOUBLE_EQ(axis.PixelToValue(f[8].toInt()), Num(f[9])) << line.toStdString();
        ++checked;
    }
    EXPECT_EQ(checked, 40);
}

TEST(AxisConversion, EdgeCasesOfTheScales)
{
    AxisChart chart;
    // The pixel limit bounds the clamped routine before rounding.
    TChartAxis& h = AxisBetween(chart, true, 0, 1000);
    Prepare(h, 0, 1);
    EXPECT_EQ(h.ValueToPixel(1e9), 67108863);
    EXPECT_EQ(h.ValueToPixel(-1e9), -67108863);
    EXPECT_EQ(h.ValueToPixel(std::numeric_limits<double>::infinity()), 67108863);
    chart.PixelLimit = 32767;
    h.RecalcPixels();
    EXPECT_EQ(h.ValueToPixel(1e9), 32767);

    // A zero range maps to the centre.
    h.InternalSetMinimum(5);
    h.InternalSetMaximum(5);
    h.RecalcRange();
    EXPECT_EQ(h.Conversion(), AxisConversion::Center);
    EXPECT_EQ(h.ValueToPixel(-1e300), 500);
    EXPECT_EQ(h.PixelToValue(250), 5.0);

    // Logarithmic: non-positive values go to the axis end, a zero log range to the centre.
    AxisChart chart2;
    TChartAxis& v = AxisBetween(chart2, false, 20, 420);
    Prepare(v, 1, 1000);
    v.SetLogarithmic(true);
    EXPECT_EQ(v.ValueToPixel(0), 420);
    EXPECT_EQ(v.ValueToPixel(-3), 420);
    EXPECT_EQ(v.ValueToPixel(std::nan("")), 420);
    v.SetInverted(true);
    EXPECT_EQ(v.ValueToPixel(0), 20);
    v.InternalSetMinimum(10);
    v.InternalSetMaximum(10);
    v.RecalcRange();
    EXPECT_EQ(v.ValueToPixel(10), 220);
    EXPECT_EQ(v.ValueToPixel(12345), 220);

    AxisChart chart3;
    TChartAxis& lh = AxisBetween(chart3, true, 37, 1037);
    Prepare(lh, 9, 3000000);
    lh.SetLogarithmic(true);
    EXPECT_EQ(lh.PixelToValue(37), 9.0);
    EXPECT_EQ(lh.PixelToValue(1037), 3000000.0);
    lh.SetInverted(true);
    EXPECT_EQ(lh.PixelToValue(37), 3000000.0);
}

TEST(AxisConversion, BatchEqualsSingleConversionsOnEveryRoutine)
{
    std::vector<double> values;
    for (int i = -50; i < 1200; ++i)
        values.push_back(i * 2.5 + 0.125 * (i % 7));
    values.push_back(0.0);
    values.push_back(std::numeric_limits<double>::infinity());
    values.push_back(-1e308);
    for (int variant = 0; variant < 4; ++variant) {
        for (const bool inverted : {false, true}) {
            AxisChart chart;
            chart.Axes().FastCalc = variant == 1;
            TChartAxis& axis = AxisBetween(chart, variant != 2, 13, 913);
            axis.SetInverted(inverted);
            Prepare(axis, variant >= 2 ? 1.0 : -100.0, 3000.0);
            if (variant >= 2)
                axis.SetLogarithmic(true);
            std::vector<int32_t> pixels(values.size());
            axis.ValuesToPixels(values, pixels);
            for (size_t i = 0; i < values.size(); ++i)
                ASSERT_EQ(pixels[i], axis.ValueToPixel(values[i])) << variant << " " << values[i];
        }
    }
}

TEST(AxisConversion, ShrinkRangeToRectKeepsTheOldEndsOnTheShrunkAxis)
{
    AxisChart chart;
    TChartAxis& axis = AxisBetween(chart, true, 0, 1000);
    Prepare(axis, 0, 100);
    axis.ShrinkRangeToRect(TRect{100, 0, 100, 0});
    EXPECT_EQ(axis.StartPixel(), 0);
    EXPECT_EQ(axis.EndPixel(), 1000);
    EXPECT_DOUBLE_EQ(axis.CurrentMinimum(), -12.5);
    EXPECT_DOUBLE_EQ(axis.CurrentMaximum(), 112.5);
    EXPECT_EQ(axis.ValueToPixel(0), 100);
    EXPECT_EQ(axis.ValueToPixel(100), 900);
}

TEST(AxisSteps, OneTwoFiveAndLogarithmicStepsMatchReference)
{
    for (const QString& line : DataLines(QStringLiteral("steps.txt"))) {
        const QStringList f = line.split(' ');
        AxisChart chart;
        TChartAxis& axis = *chart.bottom;
        Prepare(axis, Num(f[1]), Num(f[2]));
        if (f[0] == QStringLiteral("log")) {
            axis.SetLogarithmicBase(Num(f[4]));
            axis.SetLogarithmic(true);
            EXPECT_DOUBLE_EQ(axis.StepForLabelCount(f[3].toInt()), Num(f[5])) << line.toStdString();
        } else {
            EXPECT_DOUBLE_EQ(axis.StepForLabelCount(f[3].toInt()), Num(f[4])) << line.toStdString();
        }
    }
}

TEST(AxisSteps, LabelSizeGivesRoomAndStep)
{
    AxisChart chart;
    TChartAxis& axis = AxisBetween(chart, true, 100, 600);
    Prepare(axis, 0, 100);
    // 40 pixels plus 10 % separation: 500 / 44 gives room for 11 labels, so the step is 10.
    EXPECT_EQ(axis.StepForLabelSize(40), 10.0);
    EXPECT_EQ(axis.StepForLabelSize(0), axis.StepForLabelCount(1));
    EXPECT_EQ(axis.StepForLabelCount(0), 1e-12);
    axis.SetIncrement(7);
    EXPECT_EQ(axis.StepForLabelCount(3), 50.0) << "the increment grows along 1-2-5 when labels do not fit";
    axis.SetIncrement(0);
    // A series with few points keeps the step at 1 or more.
    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(0, 1);
    series.AddPointXY(2, 1);
    Prepare(axis, 0, 2);
    EXPECT_EQ(axis.StepForLabelCount(40), 1.0);

    // A real label step from measured texts.
    Prepare(axis, 0, 100);
    const double step = axis.LabelStep();
    EXPECT_GT(step, 0.0);
    EXPECT_EQ(std::fmod(100.0, step), 0.0) << step;
    axis.SetLabelsAlternate(true);
    // Alternate rows halve the step found for the widest of the middle, top and bottom texts.
    chart.canvas.AssignFont(&axis.LabelsFont());
    int widest = 0;
    for (const double v : {12.5, 100.0, 0.0})
        widest = std::max(widest, axis.LabelSizeAlong(axis.LabelTextOfValue(v)));
    EXPECT_DOUBLE_EQ(axis.LabelStep(), axis.StepForLabelSize(widest) * 0.5);
}

TEST(AxisSteps, NonFiniteRangesGiveNoStep)
{
    AxisChart chart;
    TChartAxis& axis = *chart.bottom;
    axis.RecalcPixels();
    axis.SetAutomatic(false);
    axis.InternalSetMinimum(-std::numeric_limits<double>::infinity());
    axis.InternalSetMaximum(std::numeric_limits<double>::infinity());
    axis.RecalcRange();
    EXPECT_EQ(axis.LabelStep(), 0.0);
    axis.InternalSetMinimum(0);
    axis.InternalSetMaximum(std::numeric_limits<double>::infinity());
    axis.RecalcRange();
    EXPECT_EQ(axis.LabelStep(), 0.0);
    axis.InternalSetMaximum(std::nan(""));
    axis.RecalcRange();
    EXPECT_EQ(axis.LabelStep(), 0.0);
    axis.DrawAxisLabels();
    EXPECT_TRUE(axis.TickPositions().empty());
}

TEST(AxisSteps, DateTimeStepsFollowTheTable)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(46000, 1);
    series.XValues().SetDateTime(true);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 46000, 46010);
    axis.RefreshShowsDateTime();
    ASSERT_TRUE(axis.ShowsDateTime());
    EXPECT_DOUBLE_EQ(axis.StepForLabelCount(4), 3.0) << "10 days in 4 labels: 3 days";
    EXPECT_DOUBLE_EQ(axis.StepForLabelCount(0), 1.0 / 86400000000.0);
    Prepare(axis, 46000, 46000 + 1.0 / 24);
    EXPECT_DOUBLE_EQ(axis.StepForLabelCount(6), 10.0 / 1440) << "an hour in 6 labels: 10 minutes";
    Prepare(axis, 40000, 46000);
    EXPECT_DOUBLE_EQ(axis.StepForLabelCount(10), 730.0) << "beyond a year the step doubles";
}
