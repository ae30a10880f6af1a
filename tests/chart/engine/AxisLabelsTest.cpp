#include "AxisTestSupport.h"

#include "app/NumberText.h"
#include "app/DateTimeText.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using axistest::AxisChart;
using axistest::Prepare;

namespace {

std::vector<double> ItemValues(TChartAxis& axis)
{
    std::vector<double> values;
    for (int i = 0; i < axis.Items().Count(); ++i)
        values.push_back(axis.Items()[i]->Value());
    return values;
}

QStringList ItemTexts(TChartAxis& axis)
{
    QStringList texts;
    for (int i = 0; i < axis.Items().Count(); ++i)
        texts << axis.Items()[i]->Text();
    return texts;
}

// A series on the bottom and left axes, so that the axes show value labels.
TChartSeries& AddSeries(AxisChart& chart, double x0, double x1)
{
    TChartSeries& s = chart.NewSeries();
    s.AddPointXY(x0, 0);
    s.AddPointXY(x1, 1);
    return s;
}

void Layout(TChartAxis& axis)
{
    TRect r = axis.Chart().ChartRect;
    axis.LayoutAxis(r, true);
    r = axis.Chart().ChartRect;
    axis.LayoutAxis(r, false);
}

} // namespace

TEST(AxisLabels, LinearLabelsRunFromTheTopValueDown)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.bottom;
    axis.SetIncrement(10);
    Prepare(axis, 0, 100);
    Layout(axis);
    axis.DrawAxisLabels();
    const std::vector<double> expected{100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 0};
    EXPECT_EQ(ItemValues(axis), expected);
    ASSERT_EQ(axis.TickPositions().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(axis.TickPositions()[i], axis.ValueToPixel(expected[i]));
    EXPECT_EQ(ItemTexts(axis).front(), QStringLiteral("100"));
    EXPECT_EQ(axis.TickPositions().front(), 1100);

    // The first label is the maximum rounded down to the step.
    Prepare(axis, 3, 97);
    axis.DrawAxisLabels();
    EXPECT_EQ(ItemValues(axis), (std::vector<double>{90, 80, 70, 60, 50, 40, 30, 20, 10}));
}

TEST(AxisLabels, ZeroRangeGivesOneLabelAtTheCentre)
{
    AxisChart chart;
    AddSeries(chart, 0, 0);
    TChartAxis& axis = *chart.bottom;
    axis.SetAutomatic(false);
    axis.RecalcPixels();
    axis.RecalcRange();
    axis.DrawAxisLabels();
    EXPECT_EQ(ItemValues(axis), std::vector<double>{0.0});
    ASSERT_EQ(axis.TickPositions().size(), 1u);
    EXPECT_EQ(axis.TickPositions()[0], axis.CenterPixel());
}

TEST(AxisLabels, LogarithmicDecadesAndTheFallbackInsideOneDecade)
{
    struct Case {
        double lo, hi;
        std::vector<double> labels;
    };
    std::vector<double> twenties, thirtyFives;
    for (int v = 20; v <= 50; ++v)
        twenties.push_back(v);
    for (int v = 35; v <= 90; ++v)
        thirtyFives.push_back(v);
    const std::vector<Case> cases{
        {30, 3000, {100, 1000}},
        {20, 50, twenties},
        // The start at the power below the minimum: a range inside one decade above its
        // middle still gets labels.
        {35, 90, thirtyFives},
        {9, 3000000, {10, 100, 1000, 10000, 100000, 1000000}},
    };
    for (const Case& c : cases) {
        AxisChart chart;
        AddSeries(chart, c.lo, c.hi);
        TChartAxis& axis = *chart.bottom;
        Prepare(axis, c.lo, c.hi);
        axis.SetLogarithmic(true);
        Layout(axis);
        axis.DrawAxisLabels();
        const std::vector<double> got = ItemValues(axis);
        ASSERT_EQ(got.size(), c.labels.size()) << c.lo << ".." << c.hi;
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.labels[i], 1e-9 * c.labels[i]) << c.lo << ".." << c.hi;
    }
}

TEST(AxisLabels, LogarithmicZeroMinimumLeavesTheScaleAlone)
{
    AxisChart chart;
    AddSeries(chart, 0, 1000);
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 1000);
    axis.SetLogarithmic(true);
    const double logMin = axis.LogOfMinimum();
    axis.DrawAxisLabels();
    EXPECT_EQ(axis.CurrentMinimum(), 0.0);
    EXPECT_EQ(axis.LogOfMinimum(), logMin);
    const std::vector<double> got = ItemValues(axis);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_DOUBLE_EQ(got.front(), 0.1);
    EXPECT_DOUBLE_EQ(got.back(), 1000.0);
}

TEST(AxisLabels, NextLabelEventSuppliesValuesOrFallsBack)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.bottom;
    axis.SetIncrement(25);
    Prepare(axis, 0, 100);
    int calls = 0;
    chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double&, bool& stop) {
        ++calls;
        stop = true;
    };
    axis.DrawAxisLabels();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(ItemValues(axis), (std::vector<double>{100, 75, 50, 25, 0}));

    const std::vector<double> supplied{10, 20, 50, 99};
    chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& value, bool& stop) {
        stop = index >= static_cast<int>(supplied.size());
        if (!stop)
            value = supplied[static_cast<size_t>(index)];
    };
    axis.DrawAxisLabels();
    EXPECT_EQ(ItemValues(axis), supplied);

    // A value outside the range ends the loop; an endless handler stops after 2000 labels.
    chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& value, bool& stop) {
        stop = false;
        value = index == 2 ? 500 : index;
    };
    axis.DrawAxisLabels();
    EXPECT_EQ(ItemValues(axis), (std::vector<double>{0, 1}));
    // Values below the range before the first one inside it are passed over (a decade count
    // that starts below the minimum); one below it after that ends the loop.
    Prepare(axis, 15, 100);
    for (const bool dipAfter : {false, true}) {
        chart.OnGetNextAxisLabel = [&](TChartAxis*, int index, double& value, bool& stop) {
            const double values[] = {1, 10, 20, 40, dipAfter ? 5.0 : 80.0, 160};
            stop = index >= 6;
            if (!stop)
                value = values[index];
        };
        axis.DrawAxisLabels();
        EXPECT_EQ(ItemValues(axis), dipAfter ? (std::vector<double>{20, 40}) : (std::vector<double>{20, 40, 80}));
    }
    chart.OnGetNextAxisLabel = [&](TChartAxis*, int, double& value, bool& stop) {
        stop = false;
        value = 50;
    };
    axis.DrawAxisLabels();
    EXPECT_EQ(axis.Items().Count(), 2001);
}

TEST(AxisLabels, DateTimeLabelsFallOnCalendarStarts)
{
    QFile file(testsupport::DataPath(QStringLiteral("axes/dates.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    int cases = 0;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (f.size() < 4 || f[0] == QStringLiteral("text"))
            continue;
        AxisChart chart;
        TChartSeries& series = AddSeries(chart, f[1].toDouble(), f[2].toDouble());
        series.XValues().SetDateTime(true);
        TChartAxis& axis = *chart.bottom;
        axis.SetDateTimeFormat(QStringLiteral("dd.mm.yyyy"));
        axis.SetIncrement(f[3].toDouble());
        Prepare(axis, f[1].toDouble(), f[2].toDouble());
        axis.RefreshShowsDateTime();
        Layout(axis);
        axis.DrawAxisLabels();
        EXPECT_EQ(ItemTexts(axis), f.mid(4)) << f[0].toStdString();
        ++cases;
    }
    EXPECT_EQ(cases, 3);
}

TEST(AxisLabels, DateTextsMatchCalendarReference)
{
    QFile file(testsupport::DataPath(QStringLiteral("axes/dates.txt")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    int cases = 0;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (f.size() != 4 || f[0] != QStringLiteral("text"))
            continue;
        const double v = f[1].toDouble();
        EXPECT_EQ(FormatDateTimeText(QStringLiteral("dd.mm.yyyy"), v), f[2]);
        EXPECT_EQ(FormatDateTimeText(QStringLiteral("hh:nn:ss.zzz"), v), f[3]);
        ++cases;
    }
    EXPECT_EQ(cases, 6);
    EXPECT_EQ(FormatDateTimeText(QStringLiteral("d mmm yy, h:mm am/pm"), 46363.75), QStringLiteral("7 Dec 26, 6:00 pm"));
    EXPECT_EQ(FormatDateTimeText(QStringLiteral("dddd 'at' t"), 46363.75), QStringLiteral("Monday at 18:00"));
    EXPECT_EQ(DateTimeDefaultFormat(1.0), QStringLiteral("hh:nn"));
    EXPECT_EQ(DateTimeDefaultFormat(1.5), QStringLiteral("dd.mm.yyyy"));
}

TEST(AxisLabels, LabelTextFollowsFormatMarksEventAndLines)
{
    AxisChart chart;
    TChartAxis& axis = *chart.bottom;
    EXPECT_EQ(axis.AxisValuesFormat(), QStringLiteral("#,##0.###"));
    EXPECT_FALSE(axis.IsAxisValuesFormatStored());
    EXPECT_EQ(axis.LabelTextOfValue(1234.5), QStringLiteral("1,234.5"));
    {
        ScopedDecimalSeparator comma(QChar(','));
        const QChar oldThousands = ThousandSeparator();
        SetThousandSeparator(QChar('.'));
        EXPECT_EQ(axis.LabelTextOfValue(1234567.125), QStringLiteral("1.234.567,125"));
        SetThousandSeparator(oldThousands);
    }
    axis.SetAxisValuesFormat(QStringLiteral("###0.###"));
    EXPECT_EQ(axis.LabelTextOfValue(3000000), QStringLiteral("3000000"));
    chart.OnGetAxisLabel = [](TChartAxis*, TChartSeries* series, int index, QString& text) {
        EXPECT_EQ(series, nullptr);
        EXPECT_EQ(index, -1);
        text += QStringLiteral(" kHz");
    };
    axis.SetLabelsMultiLine(true);
    EXPECT_EQ(axis.LabelTextOfValue(9), QStringLiteral("9") + QChar(13) + QStringLiteral("kHz"));
}

TEST(AxisLabels, MultiLineLabelWritesTheFirstWordAbove)
{
    AxisChart chart;
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 10);
    Layout(axis);
    chart.canvas.Forget();
    axis.DrawLabelText(500, 460, 0, QStringLiteral("two") + QChar(13) + QStringLiteral("words"));
    ASSERT_EQ(chart.canvas.texts.size(), 2u);
    EXPECT_EQ(chart.canvas.texts[0].text, QStringLiteral("two"));
    EXPECT_EQ(chart.canvas.texts[1].text, QStringLiteral("words"));
    EXPECT_EQ(chart.canvas.texts[0].y, 460) << "the first line starts at the anchor below a bottom axis";
    EXPECT_EQ(chart.canvas.texts[1].y, 460 + chart.canvas.FontHeight());
    EXPECT_EQ(chart.canvas.texts[0].align, 6u) << "centred under the tick";
}

TEST(AxisLabels, ExponentWriterRaisesTheExponentInASmallerFont)
{
    AxisChart chart;
    TChartAxis& axis = *chart.right;   // labels of a right axis are left aligned
    Prepare(axis, 0, 10);
    axis.SetLabelsExponent(true);
    chart.canvas.AssignFont(&axis.LabelsFont());
    const int height = chart.canvas.FontHeight();
    const int mantissaWidth = chart.canvas.TextWidth(QStringLiteral("1.5"));
    const int size = chart.canvas.Font().Size();
    chart.canvas.Forget();
    axis.DrawLabelText(200, 300, 0, QStringLiteral("1.5E+3"));
    ASSERT_EQ(chart.canvas.texts.size(), 2u);
    const auto& mantissa = chart.canvas.texts[0];
    const auto& exponent = chart.canvas.texts[1];
    EXPECT_EQ(mantissa.text, QStringLiteral("1.5"));
    EXPECT_EQ(mantissa.x, 200);
    EXPECT_EQ(exponent.text, QStringLiteral("+3"));
    EXPECT_EQ(exponent.x, 200 + mantissaWidth + 1);
    EXPECT_EQ(exponent.y, mantissa.y - (height - 1) / 2 + 2);
    EXPECT_EQ(exponent.fontSize, size - size / 4);
    EXPECT_EQ(chart.canvas.Font().Size(), size) << "the font size is restored";

    chart.canvas.Forget();
    axis.DrawLabelText(200, 300, 0, QStringLiteral("1500"));
    ASSERT_EQ(chart.canvas.texts.size(), 1u);
    EXPECT_EQ(chart.canvas.texts[0].text, QStringLiteral("1500"));
}

TEST(AxisLabels, DrawLabelEventCanMoveRewriteOrDrop)
{
    AxisChart chart;
    TChartAxis& axis = *chart.left;
    Prepare(axis, 0, 10);
    axis.OnDrawLabel = [](TChartAxis*, int& x, int&, int&, QString& text, bool& draw) {
        draw = text != QStringLiteral("drop");
        x += 7;
        text = text.toUpper();
    };
    chart.canvas.Forget();
    axis.DrawLabelText(90, 200, 0, QStringLiteral("keep"));
    axis.DrawLabelText(90, 220, 0, QStringLiteral("drop"));
    ASSERT_EQ(chart.canvas.texts.size(), 1u);
    EXPECT_EQ(chart.canvas.texts[0].text, QStringLiteral("KEEP"));
    EXPECT_EQ(chart.canvas.texts[0].x, 97);
    EXPECT_EQ(chart.canvas.texts[0].align, 2u) << "left-axis labels are right aligned";
}

TEST(AxisLabels, MarkLabelsSkipOverlapsUnlessSeparationIsZero)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    for (int i = 0; i < 100; ++i)
        series.AddPointXY(i, 1000 + i);
    TChartAxis& axis = *chart.bottom;
    axis.SetLabelStyle(talMark);
    Prepare(axis, 0, 99);
    Layout(axis);
    axis.DrawAxisLabels();
    const int spaced = axis.Items().Count();
    EXPECT_GT(spaced, 5);
    EXPECT_LT(spaced, 100);
    for (int i = 1; i < spaced; ++i)
        EXPECT_GT(axis.Items()[i]->Value(), axis.Items()[i - 1]->Value());
    axis.SetLabelsSeparation(0);
    axis.DrawAxisLabels();
    EXPECT_EQ(axis.Items().Count(), 100);
    EXPECT_EQ(axis.Items()[3]->Text(), QStringLiteral("1,003"));
}

TEST(AxisLabels, AutomaticStyleFollowsTheSeries)
{
    AxisChart chart;
    EXPECT_EQ(chart.bottom->CalcLabelStyle(), talNone);
    TChartSeries& series = AddSeries(chart, 1, 2);
    EXPECT_EQ(chart.bottom->CalcLabelStyle(), talValue);
    series.SetXLabel(1, QStringLiteral("B"));
    EXPECT_EQ(chart.bottom->CalcLabelStyle(), talText);
    EXPECT_EQ(chart.left->CalcLabelStyle(), talValue) << "labels run along the bottom axis only";
    EXPECT_EQ(chart.depth->CalcLabelStyle(), talText);
    series.SetActive(false);
    EXPECT_EQ(chart.bottom->CalcLabelStyle(), talNone);
}

TEST(AxisLabels, WidestLabelIsMeasuredOnceUntilSomethingChanges)
{
    AxisChart chart;
    AddSeries(chart, 0, 1000);
    TChartAxis& axis = *chart.left;
    axis.SetIncrement(1);
    Prepare(axis, 0, 1000);
    axis.SetLabelsSeparation(0);
    chart.canvas.widthCalls = 0;
    const int first = axis.WidestLabel();
    const int measured = chart.canvas.widthCalls;
    EXPECT_GT(measured, 20) << "every label at the step is measured";
    chart.canvas.widthCalls = 0;
    EXPECT_EQ(axis.WidestLabel(), first);
    EXPECT_LT(chart.canvas.widthCalls, 20) << "the second layout reuses the measurement";

    axis.SetAxisValuesFormat(QStringLiteral("0.000000"));
    EXPECT_GT(axis.WidestLabel(), first);
    axis.SetAxisValuesFormat(QStringLiteral("#,##0.###"));
    EXPECT_EQ(axis.WidestLabel(), first);
    Prepare(axis, 0, 1000000);
    EXPECT_GT(axis.WidestLabel(), first) << "a wider range gives wider labels";

    // Custom items: the widest item text.
    axis.Items().Add(5, QStringLiteral("a rather long label"));
    chart.canvas.AssignFont(&axis.Items()[0]->Font());
    EXPECT_EQ(axis.WidestLabel(), chart.canvas.TextWidth(QStringLiteral("a rather long label")));
}

TEST(AxisLabels, LabelLoopsAreBounded)
{
    // Powers of 1.001 from 1 to 1e9 would be twenty thousand labels.
    {
        AxisChart chart;
        AddSeries(chart, 1, 1e9);
        TChartAxis& axis = *chart.bottom;
        Prepare(axis, 1, 1e9);
        axis.SetLogarithmicBase(1.001);
        axis.SetLogarithmic(true);
        axis.SetLabelsSeparation(0);   // no thinning: the loop's own bound counts
        axis.DrawAxisLabels();
        EXPECT_EQ(axis.Items().Count(), 10000);
    }
    // Inside one power of a large base the fallback would step 1e-6 at a time for ever.
    {
        AxisChart chart;
        AddSeries(chart, 2, 900000);
        TChartAxis& axis = *chart.bottom;
        Prepare(axis, 2, 900000);
        axis.SetLogarithmicBase(1e6);
        axis.SetLogarithmic(true);
        axis.DrawAxisLabels();
        EXPECT_EQ(axis.Items().Count(), 0);
    }
}

TEST(AxisLabels, DateIncrementOutsideTheStepTableStepsLinearly)
{
    AxisChart chart;
    TChartSeries& series = AddSeries(chart, 46000, 46200);
    series.XValues().SetDateTime(true);
    TChartAxis& axis = *chart.bottom;
    axis.SetIncrement(45);   // no entry of the step table
    Prepare(axis, 46000, 46200);
    axis.RefreshShowsDateTime();
    axis.DrawAxisLabels();
    const std::vector<double> values = ItemValues(axis);
    ASSERT_EQ(values.size(), 4u);
    EXPECT_EQ(values[0], std::trunc(46200 / 45.0) * 45.0);
    for (size_t i = 1; i < values.size(); ++i)
        EXPECT_EQ(values[i - 1] - values[i], 45.0);
}

TEST(AxisLabels, AlignmentAndShiftFollowTheAngle)
{
    struct Case {
        bool bottom;   // bottom axis, else left axis
        int angle;
        uint32_t align;
    };
    // Text alignment values: left 0, right 2, centre 6, bottom 8.
    const std::vector<Case> cases{
        {true, 0, 6}, {true, 90, 2}, {true, 180, 14}, {true, 270, 0},
        {false, 0, 2}, {false, 90, 14}, {false, 180, 0}, {false, 270, 6},
        {true, 30, 2}, {false, 45, 2}, {true, 315, 0}, {false, 135, 0},
    };
    for (const Case& c : cases) {
        AxisChart chart;
        TChartAxis& axis = c.bottom ? *chart.bottom : *chart.left;
        chart.canvas.AssignFont(&axis.LabelsFont());
        const int h = chart.canvas.FontHeight();
        chart.canvas.Forget();
        axis.DrawLabelText(300, 200, c.angle, QStringLiteral("123"));
        ASSERT_EQ(chart.canvas.texts.size(), 1u);
        const auto& t = chart.canvas.texts[0];
        EXPECT_EQ(t.align, c.align) << c.bottom << " " << c.angle;
        EXPECT_EQ(t.angle, c.angle);
        if (c.bottom && c.angle == 90) {
            EXPECT_EQ(t.x, 300 - h / 2);   // half a line left, then one line out and back
            EXPECT_EQ(t.y, 200);
        }
        if (!c.bottom && c.angle == 0) {
            EXPECT_EQ(t.x, 300);
            EXPECT_EQ(t.y, 200 - h / 2 - static_cast<int>(std::nearbyint(h * 0.5 * 2)) + h);
        }
    }
    // 45 degrees under a bottom axis: the text ends at the tick, the middle of its end on it, its
    // top corner on the line the labels start from.
    AxisChart chart;
    chart.canvas.AssignFont(&chart.bottom->LabelsFont());
    const int half = static_cast<int>(std::nearbyint(chart.canvas.FontHeight() * 0.5 * std::sqrt(0.5)));
    chart.canvas.Forget();
    chart.bottom->DrawLabelText(300, 200, 45, QStringLiteral("123"));
    ASSERT_EQ(chart.canvas.texts.size(), 1u);
    EXPECT_EQ(chart.canvas.texts[0].x, 300 - half);
    EXPECT_EQ(chart.canvas.texts[0].y, 200);
}

TEST(AxisLabels, AlternateRowsAndTitle)
{
    AxisChart chart;
    AddSeries(chart, 0, 100);
    TChartAxis& axis = *chart.bottom;
    axis.SetIncrement(10);
    axis.SetLabelsAlternate(true);
    Prepare(axis, 0, 100);
    Layout(axis);
    chart.canvas.AssignFont(&axis.LabelsFont());
    const int h = chart.canvas.FontHeight();
    chart.canvas.Forget();
    axis.DrawAxisLabels();
    ASSERT_GE(chart.canvas.texts.size(), 3u);
    EXPECT_EQ(chart.canvas.texts[0].y, axis.LabelsPixel()) << "the first label stands in the inner row";
    EXPECT_EQ(chart.canvas.texts[1].y, axis.LabelsPixel() + h);
    EXPECT_EQ(chart.canvas.texts[2].y, axis.LabelsPixel());

    // The title is centred on the axis at its own pixel, with exponents off.
    axis.SetLabelsExponent(true);
    axis.Title().SetCaption(QStringLiteral("Level E-field"));
    Layout(axis);
    chart.canvas.Forget();
    axis.Draw(false);
    const auto title = std::find_if(chart.canvas.texts.begin(), chart.canvas.texts.end(),
                                    [](const auto& t) { return t.text == QStringLiteral("Level E-field"); });
    ASSERT_NE(title, chart.canvas.texts.end());
    EXPECT_EQ(title->x, axis.CenterPixel());
    EXPECT_EQ(title->y, axis.TitlePixel());
    EXPECT_EQ(title->align, 6u);
}

TEST(AxisLabels, PointLabelsAreRewrittenByTheChart)
{
    AxisChart chart;
    TChartSeries& series = chart.NewSeries();
    series.AddPointXY(10, 1, QStringLiteral("ten"));
    series.AddPointXY(20, 2, QStringLiteral("twenty"));
    series.AddPointXY(30, 3);
    series.AddPointXY(400, 4, QStringLiteral("outside"));
    TChartAxis& axis = *chart.bottom;
    Prepare(axis, 0, 100);
    EXPECT_EQ(axis.CalcLabelStyle(), talText);
    std::vector<int> indexes;
    // Value texts (for the step and the widest label) come with no series and index -1.
    chart.OnGetAxisLabel = [&](TChartAxis*, TChartSeries* s, int index, QString& text) {
        if (!s) {
            EXPECT_EQ(index, -1);
            return;
        }
        EXPECT_EQ(s, &series);
        indexes.push_back(index);
        if (!text.isEmpty())
            text = text.toUpper();
    };
    Layout(axis);
    indexes.clear();
    axis.DrawAxisLabels();
    EXPECT_EQ(ItemTexts(axis), (QStringList{QStringLiteral("TEN"), QStringLiteral("TWENTY")}));
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 3}));
}
