// Charts as a user sees them: drawn through the chart control, written to test-pictures/ and read
// back pixel by pixel.
#include "common/PictureSupport.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/View3DOptions.h"
#include "chart/engine/AxisTitle.h"
#include "chart/engine/ChartAxis.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/engine/SeriesPointer.h"
#include "chart/series/BarSeries.h"
#include "chart/series/Chart.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"
#include "platform/gdi/MetafilePlayer.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <tuple>

namespace {

// Text in blue on a pale green fill framed in black: colours no other part of these charts uses.
constexpr TColor kInk = clBlue;
constexpr TColor kFill = 0xC8FFC8;
const QRgb kInkRgb = qRgb(0, 0, 255);
const QRgb kFillRgb = qRgb(200, 255, 200);
const QRgb kRedRgb = qRgb(255, 0, 0);

void Frame(TPlotCustomShape& shape)
{
    shape.SetTransparent(false);
    shape.SetColor(kFill);
    shape.Pen().SetVisible(true);
    shape.Pen().SetColor(clBlack);
    shape.Font().SetColor(kInk);
}

QImage Draw(TChart& chart, const QString& name)
{
    chart.RepaintNow();
    const QImage image = chart.WindowImage().copy();
    picture::Save(image, name);
    return image;
}

// The bounds of the pixels in area (all of the image when empty) of text in a colour of full and
// empty channels blended into any grey: its full channels stand 40 above its empty ones.
QRect Ink(const QImage& image, TColor colour, QRect area = {})
{
    const TColor c = ColorToRGB(colour);
    const QRgb w = qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    QRect bounds;
    area = area.isEmpty() ? image.rect() : area & image.rect();
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int r = qRed(image.pixel(x, y)), g = qGreen(image.pixel(x, y)), b = qBlue(image.pixel(x, y));
            const int full = std::min({qRed(w) ? r : 255, qGreen(w) ? g : 255, qBlue(w) ? b : 255});
            const int empty = std::max({qRed(w) ? 0 : r, qGreen(w) ? 0 : g, qBlue(w) ? 0 : b});
            bounds |= full - empty >= 40 ? QRect(x, y, 1, 1) : QRect();
        }
    return bounds;
}

// A chart drawn flat, 420 by 320 pixels, without a legend.
struct FlatChart : ::testing::Test {
    FlatChart()
    {
        chart.resize(420, 320);
        chart.Legend().Hide();
        chart.SetView3D(false);
    }
    // Puts a pie of three slices without marks on the chart.
    void AddPie(TPieSeries& pie)
    {
        chart.AddSeries(&pie);
        for (double v : {20.0, 30.0, 50.0})
            pie.AddPie(v);
        pie.Marks().SetVisible(false);
    }
    TChart chart;
};

// A text case: two lines of different width in each of Boxes boxes, aligned by Align.
struct TextCase {
    const char* Name;
    int Boxes;
    TAlignment Align;
    std::function<void(TChart&, std::unique_ptr<TChartSeries>&)> Build;
};

void PrintTo(const TextCase& c, std::ostream* os)
{
    *os << c.Name;
}

void BarMark(TChart& chart, std::unique_ptr<TChartSeries>& series, TAlignment align)
{
    chart.SetView3D(false);
    auto bar = std::make_unique<TBarSeries>();
    chart.AddSeries(bar.get());
    bar->Add(70, QStringLiteral("<b>Wide</b> first line\rshort"));
    TSeriesMarks& marks = bar->Marks();
    Frame(marks);
    marks.SetTextFormat(ttfHtml);
    marks.SetTextAlign(align);
    series = std::move(bar);
}

void TwoLineTitle(TChart& chart, TAlignment align)
{
    TChartTitle& title = chart.Title();
    Frame(title);
    title.SetTextFormat(ttfHtml);
    title.SetAlignment(align);
    title.SetText({QStringLiteral("<b>Bold title</b> line one"), QStringLiteral("line two")});
}

void PieMarks(TChart& chart, std::unique_ptr<TChartSeries>& series, bool html)
{
    auto pie = std::make_unique<TPieSeries>();
    chart.AddSeries(pie.get());
    const TColor colours[] = {clRed, clYellow, 0x0080FF, clPurple, clOlive};
    for (int i = 0; i < 5; ++i) {
        const QString name = html ? QStringLiteral("<b>Slice</b> %1").arg(i + 1) : QStringLiteral("Slice %1").arg(i + 1);
        pie->AddPie(10 + 6 * i, name + QChar(13) + QString::number(10 + 6 * i), colours[i]);
    }
    Frame(pie->Marks());
    if (html)
        pie->Marks().SetTextFormat(ttfHtml);
    series = std::move(pie);
}

const TextCase kTextCases[] = {
    {"BarMarkCentred", 1, taCenter, [](TChart& c, auto& s) { BarMark(c, s, taCenter); }},
    {"BarMarkRight", 1, taRightJustify, [](TChart& c, auto& s) { BarMark(c, s, taRightJustify); }},
    {"TitleCentred", 1, taCenter, [](TChart& c, auto&) { TwoLineTitle(c, taCenter); }},
    {"TitleRight", 1, taRightJustify, [](TChart& c, auto&) { TwoLineTitle(c, taRightJustify); }},
    {"LegendTitle", 1, taCenter,
     [](TChart& c, auto& s) {
         auto bar = std::make_unique<TBarSeries>();
         c.AddSeries(bar.get());
         bar->Add(3, QStringLiteral("one"));
         bar->Add(5, QStringLiteral("two"));
         bar->Marks().SetVisible(false);
         s = std::move(bar);
         TChartLegend& legend = c.Legend();
         legend.SetVisible(true);
         legend.SetColor(kFill);
         TLegendTitle& title = legend.Title();
         title.SetVisible(true);
         title.Font().SetColor(kInk);
         title.SetTextFormat(ttfHtml);
         title.SetTextAlignment(taCenter);
         title.SetText({QStringLiteral("<b>Series</b> list"), QStringLiteral("two")});
     }},
    {"PieMarks3D", 5, taCenter, [](TChart& c, auto& s) { PieMarks(c, s, false); }},
    {"PieHtmlMarks3D", 5, taCenter, [](TChart& c, auto& s) { PieMarks(c, s, true); }},
};

class TextPictures : public ::testing::TestWithParam<TextCase> {};

} // namespace

// Every line of text stands inside its box, on its own rows, aligned as asked.
TEST_P(TextPictures, TextStaysInItsBoxOnItsOwnLines)
{
    const TextCase& c = GetParam();
    TChart chart;
    chart.resize(420, 320);
    chart.Legend().Hide();
    std::unique_ptr<TChartSeries> series;
    c.Build(chart, series);
    const picture::InkReport ink = picture::FindInk(Draw(chart, QStringLiteral("text_") + c.Name), kFillRgb, kInkRgb);
    if (series)
        chart.RemoveSeries(*series);

    ASSERT_GT(ink.Ink, 0);
    EXPECT_EQ(ink.Loose, 0) << "ink outside its box";
    ASSERT_EQ(static_cast<int>(ink.Boxes.size()), c.Boxes);
    for (const picture::InkBox& box : ink.Boxes)
        ASSERT_NO_FATAL_FAILURE(picture::ExpectTwoAlignedLines(box, c.Align == taCenter));
}

INSTANTIATE_TEST_SUITE_P(Chart, TextPictures, ::testing::ValuesIn(kTextCases),
                         [](const auto& p) { return std::string(p.param.Name); });

// A red-to-blue gradient from bottom to top on every wall of a 3D chart: the upper end of each
// wall face is blue, the lower end red.
TEST(ChartPictures, ThreeDimensionalWallsShowTheirGradient)
{
    TChart chart;
    chart.resize(420, 320);
    chart.Legend().Hide();
    chart.SetAxisVisible(false);
    chart.View3DOptions().SetOrthogonal(false);
    chart.View3DOptions().SetRotation(340);
    chart.View3DOptions().SetElevation(340);
    chart.SetChart3DPercent(60);
    for (TCustomChartWall* wall : {static_cast<TCustomChartWall*>(&chart.BackWall()),
                                   static_cast<TCustomChartWall*>(&chart.LeftWall()),
                                   static_cast<TCustomChartWall*>(&chart.BottomWall())}) {
        wall->SetTransparent(false);
        wall->Gradient().SetVisible(true);
        wall->Gradient().SetDirection(gdTopBottom); // the end colour at the top
        wall->Gradient().SetStartColor(clRed);
        wall->Gradient().SetEndColor(clBlue);
    }
    const QImage image = Draw(chart, QStringLiteral("walls_3d_gradient"));
    const TRect r = chart.ChartRect;
    const int depth = chart.Width3D;
    ASSERT_GT(depth, 20);
    TPlotCanvas3D& canvas = chart.Canvas();
    struct Face {
        const char* Name;
        TPoint3D Upper, Lower;
    };
    const int middle = (r.Left + r.Right) / 2;
    const Face faces[] = {
        {"back", {middle, r.Top + 6, depth}, {middle, r.Bottom - 6, depth}},
        {"left", {r.Left, r.Top + 6, depth / 2}, {r.Left, r.Bottom - 6, depth / 2}},
        {"bottom", {middle, r.Bottom, depth - 4}, {middle, r.Bottom, 4}},
    };
    for (const Face& f : faces) {
        const TPoint up = canvas.ProjectToScreen(f.Upper.X, f.Upper.Y, f.Upper.Z);
        const TPoint down = canvas.ProjectToScreen(f.Lower.X, f.Lower.Y, f.Lower.Z);
        ASSERT_LT(up.Y, down.Y) << f.Name;
        const QRgb top = image.pixel(up.X, up.Y);
        const QRgb bottom = image.pixel(down.X, down.Y);
        EXPECT_GT(qBlue(top), qRed(top) + 40) << f.Name;
        EXPECT_GT(qRed(bottom), qBlue(bottom) + 40) << f.Name;
        EXPECT_EQ(qGreen(top), 0) << f.Name;
    }
}

// A half pie leaves the lower half of its circle to the circle background: the gradient, light
// in the middle and darker towards the rim.
TEST_F(FlatChart, PieDrawsItsCircleBackground)
{
    TPieSeries pie;
    AddPie(pie);
    pie.SetAngleSize(180);
    pie.Shadow().SetVisible(false);
    pie.Gradient().SetVisible(true);
    pie.Gradient().SetStartColor(clWhite);
    pie.Gradient().SetEndColor(0x804000); // RGB(0, 64, 128)
    const QImage image = Draw(chart, QStringLiteral("pie_circle_background"));
    const QRgb background = image.pixel(3, image.height() / 2);
    const int cx = pie.CircleXCenter(), cy = pie.CircleYCenter(), ry = pie.YRadius();
    chart.RemoveSeries(pie);

    const QRgb inner = image.pixel(cx, cy + ry / 4);
    const QRgb outer = image.pixel(cx, cy + ry * 7 / 8);
    EXPECT_NE(inner, background);
    EXPECT_NE(outer, background);
    EXPECT_GT(qRed(inner), qRed(outer) + 60) << "light in the middle, dark at the rim";
    EXPECT_GT(qBlue(outer), qRed(outer));
    EXPECT_EQ(image.pixel(cx, cy + ry + 6), background) << "nothing outside the circle";
    EXPECT_TRUE(Ink(image, 0x804000, QRect(0, 0, image.width(), cy - 1)).isNull()) << "a ring round the rim";
}

// Bar marks stand 20 pixels above their bars and pie marks 8 beyond the rim, each joined to its
// point by the white arrow line (near the mark the mark's soft shadow may dim it a little).
class MarkArrows : public FlatChart, public ::testing::WithParamInterface<bool> {};

TEST_P(MarkArrows, JoinEveryMarkToItsPoint)
{
    const bool pieCase = GetParam();
    std::unique_ptr<TChartSeries> series;
    if (pieCase)
        series = std::make_unique<TPieSeries>();
    else
        series = std::make_unique<TBarSeries>();
    chart.AddSeries(series.get());
    for (double v : {30.0, 60.0, 45.0, 20.0})
        series->Add(v, QStringLiteral("mark"));
    const QImage image = Draw(chart, pieCase ? QStringLiteral("arrows_pie") : QStringLiteral("arrows_bar"));
    const QRgb arrow = ColorToRGB(series->Marks().Callout().Arrow().Color()) | 0xFF000000u;
    for (int i = 0; i < series->Count(); ++i) {
        const TSeriesMarkPosition* p = series->Marks().Positions().Position(i);
        ASSERT_NE(p, nullptr);
        EXPECT_GE(std::abs(p->ArrowTo.X - p->ArrowFrom.X) + std::abs(p->ArrowTo.Y - p->ArrowFrom.Y), 8) << i;
        const QPoint middle((p->ArrowFrom.X + p->ArrowTo.X) / 2, (p->ArrowFrom.Y + p->ArrowTo.Y) / 2);
        bool found = false;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                found = found || picture::Distance(image.pixel(middle + QPoint(dx, dy)), arrow) <= 30;
        EXPECT_TRUE(found) << "no arrow line half way to mark " << i;
    }
    chart.RemoveSeries(*series);
}

INSTANTIATE_TEST_SUITE_P(Chart, MarkArrows, ::testing::Bool(),
                         [](const auto& p) { return p.param ? "Pie" : "Bar"; });

// A 3D pie is seen from above, at its own elevation and at the gallery's: its rim (the slice
// colour darkened) shows at the front, below the top face, and nothing of it above the top face.
class PieRim : public ::testing::TestWithParam<int> {};

TEST_P(PieRim, ShowsBelowTheTopFace)
{
    TChart chart;
    chart.resize(420, 320);
    chart.Legend().Hide();
    TPieSeries pie;
    chart.AddSeries(&pie);
    chart.View3DOptions().SetElevation(GetParam());
    chart.SetChart3DPercent(60);
    pie.AddPie(1, QString(), RGBColor(0, 200, 0));
    pie.Marks().SetVisible(false);
    pie.Shadow().SetVisible(false);
    const QImage image = Draw(chart, QStringLiteral("pie_rim_%1").arg(GetParam()));
    // Left of the centre, clear of the slice's own edge along angle 0.
    const int x = pie.CircleXCenter() - pie.XRadius() / 3;
    const TPoint low = chart.Canvas().ProjectToScreen(x, pie.CircleYCenter() + pie.YRadius(), pie.StartZ());
    const TPoint high = chart.Canvas().ProjectToScreen(x, pie.CircleYCenter() + pie.YRadius(), pie.EndZ());
    const int thickness = low.Y - high.Y;
    chart.RemoveSeries(pie);

    ASSERT_GE(thickness, 6) << "the pie's depth runs up the screen";
    const QRgb top = qRgb(0, 200, 0), rim = qRgb(0, 168, 0);
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        if (image.pixel(x, y) == top) {
            first = first < 0 ? y : first;
            last = y;
        }
    ASSERT_GE(first, 0);
    int below = 0, above = 0;
    for (int y = last + 1; y <= std::min(image.height() - 1, last + thickness + 2); ++y)
        below += image.pixel(x, y) == rim;
    for (int y = std::max(0, first - thickness - 2); y < first; ++y)
        above += image.pixel(x, y) == rim;
    EXPECT_GE(below, thickness - 3);
    EXPECT_EQ(above, 0);
}

INSTANTIATE_TEST_SUITE_P(Chart, PieRim, ::testing::Values(315, 350),
                         [](const auto& p) { return "Elevation" + std::to_string(p.param); });

// Zoomed to 80 % and moved 30 pixels, or turned to 345 degrees both ways, a 3D chart's ticks
// (outside, inside and minor) on the bottom and left axes touch the axis line where it is drawn.
class AxisTicks3D : public FlatChart, public ::testing::WithParamInterface<int> {};

TEST_P(AxisTicks3D, TouchTheirProjectedAxisLine)
{
    const int turn = GetParam();
    chart.SetView3D(true);
    TView3DOptions& view = chart.View3DOptions();
    view.SetZoom(turn ? 100 : 80);
    view.SetHorizOffset(turn ? 0 : 30);
    view.SetOrthogonal(!turn);
    view.SetRotation(turn);
    view.SetElevation(turn);
    TLineSeries line;
    chart.AddSeries(&line);
    for (int i = 0; i <= 15; ++i)
        line.AddPointXY(i * 100, i);
    for (TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis()}) {
        axis->Grid().SetVisible(false);
        axis->TicksInner().SetVisible(true);
        for (TChartPen* ticks : {&axis->Ticks(), &axis->TicksInner(), &axis->MinorTicks()})
            ticks->SetColor(clRed);
        axis->SetTickLength(8);
        axis->SetTickInnerLength(8);
        axis->SetMinorTickLength(6);
    }
    const QImage image = Draw(chart, QStringLiteral("axis_ticks_3d_%1").arg(turn));
    for (const TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis()}) {
        const bool left = axis == chart.LeftAxis();
        // Red within two pixels of the projection of the point d pixels outside the axis at p.
        auto red = [&](int p, int d) {
            const int across = left ? axis->AxisPixel() - axis->WallSize() - d : axis->AxisPixel() + axis->WallSize() + d;
            const TPoint at = chart.Canvas().ProjectToScreen(left ? across : p, left ? p : across, axis->DepthOffset());
            for (int n = 0; n < 25; ++n)
                if (const QPoint q(at.X + n % 5 - 2, at.Y + n / 5 - 2); image.valid(q) && picture::Distance(image.pixel(q), kRedRgb) <= 40)
                    return true;
            return false;
        };
        const std::vector<int>& ticks = axis->TickPositions();
        ASSERT_GE(ticks.size(), 3u);
        for (size_t i = 1; i + 1 < ticks.size(); ++i)
            EXPECT_TRUE(red(ticks[i], 2) && red(ticks[i], 6) && red(ticks[i], -5)) << left << " " << ticks[i];
        EXPECT_TRUE(red((ticks[0] * 3 + ticks[1]) / 4, 4)) << left << " minor";
    }
}

INSTANTIATE_TEST_SUITE_P(Chart, AxisTicks3D, ::testing::Values(0, 345));

// A flat pie's soft shadow, whole or exploded, lies on screen where the exported bitmap has it:
// along the lower right of the circle and in the gaps between the slices too.
class PieShadow : public FlatChart, public ::testing::WithParamInterface<int> {};

TEST_P(PieShadow, OnScreenWhereTheExportHasIt)
{
    TPieSeries pie;
    AddPie(pie);
    pie.SetCustomXRadius(100);
    pie.SetCustomYRadius(100);
    pie.SetExplodeBiggest(GetParam());
    pie.Shadow().SetSize(12);
    pie.Shadow().SetColor(clBlack);
    const QImage screen = Draw(chart, QStringLiteral("pie_shadow_%1").arg(GetParam()));
    const QImage exported = chart.CreateBitmap();
    picture::Save(exported, QStringLiteral("pie_shadow_%1_exported").arg(GetParam()));
    pie.Shadow().SetVisible(false);
    const QImage bare = Draw(chart, QStringLiteral("pie_shadow_%1_none").arg(GetParam()));
    // Both shadows darken the same pixels to half the background or more, bar a pixel or two at the edge.
    auto dark = [&bare](const QImage& image, int x, int y) { return 2 * qGray(image.pixel(x, y)) <= qGray(bare.pixel(x, y)); };
    int both = 0, exportOnly = 0, astray = 0;
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x) {
            const bool onScreen = dark(screen, x, y), inExport = dark(exported, x, y);
            both += onScreen && inExport;
            exportOnly += inExport && !onScreen;
            bool near = inExport;
            for (int n = 0; n < 25 && onScreen && !near; ++n)
                near = bare.valid(x + n % 5 - 2, y + n / 5 - 2) && dark(exported, x + n % 5 - 2, y + n / 5 - 2);
            astray += onScreen && !near;
        }
    ASSERT_GT(both, 1000);
    EXPECT_LT(exportOnly, both / 20) << "of " << both << " shadowed pixels missing on screen";
    EXPECT_EQ(astray, 0) << "pixels shadowed on screen away from the exported shadow";
}

INSTANTIATE_TEST_SUITE_P(Chart, PieShadow, ::testing::Values(0, 25));

// The value axis keeps room for the tallest bar's mark of two lines: it stands inside the plot.
TEST_F(FlatChart, TallestBarKeepsItsTwoLineMarkInsideThePlot)
{
    TBarSeries bar;
    chart.AddSeries(&bar);
    bar.Add(40, QStringLiteral("low"));
    bar.Add(90, QStringLiteral("first line\rsecond line"));
    Frame(bar.Marks());
    const picture::InkReport ink = picture::FindInk(Draw(chart, QStringLiteral("bar_two_line_mark")), kFillRgb, kInkRgb);
    ASSERT_EQ(ink.Boxes.size(), 2u);
    for (const picture::InkBox& box : ink.Boxes)
        EXPECT_GT(box.Box.top(), chart.ChartRect.Top);
}

// An area's shadow is a band of the shadow's colour: the area lines leave no black stubs on it.
TEST_F(FlatChart, AreaShadowHasNoStubs)
{
    TAreaSeries area;
    chart.AddSeries(&area);
    for (double v : {30.0, 70.0, 45.0, 90.0, 20.0, 60.0})
        area.Add(v);
    area.Marks().SetVisible(false);
    area.Shadow().SetColor(clGray);
    area.Shadow().SetSize(10);
    area.Shadow().SetVisible(false);
    const QImage bare = Draw(chart, QStringLiteral("area_shadow_none"));
    area.Shadow().SetVisible(true);
    const QImage shadowed = Draw(chart, QStringLiteral("area_shadow"));
    int stubs = 0, shadow = 0;
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x) {
            stubs += qGray(shadowed.pixel(x, y)) < 40 && qGray(bare.pixel(x, y)) >= 40;
            shadow += shadowed.pixel(x, y) == qRgb(128, 128, 128) && bare.pixel(x, y) != shadowed.pixel(x, y);
        }
    EXPECT_GT(shadow, 500);
    EXPECT_EQ(stubs, 0);
}

// Slanted and two-line labels keep to their axis' room: below it and above its title, left of it.
class LabelRoom : public FlatChart, public ::testing::WithParamInterface<int> {};

TEST_P(LabelRoom, LabelsStayBetweenAxisAndTitle)
{
    chart.resize(640, 400);
    TBarSeries bar;
    chart.AddSeries(&bar);
    for (int i = 1; i <= 6; ++i)
        bar.Add(10 * i, QStringLiteral("Month") + QChar(GetParam() == 0 ? 13 : ' ') + QString::number(i), clYellow);
    for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()}) {
        axis->SetLabelsAngle(GetParam());
        axis->LabelsFont().SetColor(axis == chart.BottomAxis() ? clBlue : clGreen);
    }
    chart.BottomAxis()->Title().SetCaption(QStringLiteral("AXIS TITLE"));
    chart.BottomAxis()->Title().Font().SetColor(clRed);
    const QImage image = Draw(chart, QStringLiteral("label_room_%1").arg(GetParam()));
    chart.RemoveSeries(bar);
    const QRect labels = Ink(image, clBlue), title = Ink(image, clRed);
    EXPECT_TRUE(labels.top() > chart.BottomAxis()->AxisPixel() && labels.bottom() < title.top()) << "off their room";
    EXPECT_LT(Ink(image, clGreen).right(), chart.LeftAxis()->AxisPixel()) << "left labels in the plot";
}

INSTANTIATE_TEST_SUITE_P(Chart, LabelRoom, ::testing::Values(0, 45, 30, 315));

// Legend rows of HTML text are as far apart as it is high: each below the last, clear of the frame.
TEST_F(FlatChart, LegendRowsHoldTheirHtmlText)
{
    TChartLegend& legend = chart.Legend();
    legend.SetVisible(true);
    legend.SetTextFormat(ttfHtml);
    legend.SetFontSeriesColor(true);
    TLineSeries line;
    chart.AddSeries(&line);
    const TColor colours[] = {clRed, clGreen, clNavy};
    for (int i = 0; i < 3; ++i)
        line.Add(i, QStringList{"V<sub>rms</sub>", "P<super>2</super>", "dBuV"}[i], colours[i]);
    const QImage image = Draw(chart, QStringLiteral("legend_html_rows"));
    const QRect box(legend.ShapeBounds.Left, legend.ShapeBounds.Top, legend.ShapeBounds.Width(), image.height());
    int above = box.top();
    for (int i = 0; i < 3; ++i) {
        const QRect text = Ink(image, colours[i], box.adjusted(legend.Items().Item(i).TextLeft - box.left(), 0, 0, 0));
        EXPECT_GT(text.top(), above) << "item " << i << " overlaps what stands above it";
        EXPECT_GE(legend.ShapeBounds.Right - text.right(), 4) << "item " << i << " touches the frame";
        above = text.bottom();
    }
    chart.RemoveSeries(line);
}

// Marks stay whole inside the panel, the highest inside the plot, the arrows from their points.
TEST_F(FlatChart, LineMarksStayInsideThePanel)
{
    chart.resize(640, 400);
    TLineSeries line;
    chart.AddSeries(&line);
    for (int i = 0; i < 10; ++i)
        line.Add(i == 5 ? 100 : 10 + 3 * i, QStringLiteral("point %1").arg(i));
    Frame(line.Marks());
    line.Marks().SetVisible(true);
    EXPECT_EQ(picture::FindInk(Draw(chart, QStringLiteral("line_marks")), kFillRgb, kInkRgb).Boxes.size(), 10u);
    const TSeriesMarkPosition& last = *line.Marks().Positions().Position(9);
    EXPECT_EQ(last.ArrowFrom, (TPoint{line.XToPixel(9), line.YToPixel(9)}));
    EXPECT_LE(last.LeftTop.X + last.Width + line.Marks().Pen().Width(), chart.width());
    EXPECT_GT(line.Marks().Positions().Position(5)->LeftTop.Y, chart.ChartRect.Top);
    chart.RemoveSeries(line);
}

// A value that is no number is no point: no line to it, bar, slice or legend row. An empty legend is
// not drawn.
TEST_F(FlatChart, ValuesThatAreNoNumberAreNoPoint)
{
    const double nan = NAN, inf = INFINITY;
    chart.Legend().SetVisible(true);
    chart.Legend().SetColor(clAqua);
    chart.LeftAxis()->SetRange(0, 30);
    chart.BottomAxis()->SetRange(-1, 10);
    TLineSeries line;
    chart.AddSeries(&line);
    for (int i = 0; i < 10; ++i)
        line.AddPointXY(i, i == 3 ? nan : i == 6 ? inf : i == 8 ? -inf : 10 + i, QString(), clRed);
    line.AddPointXY(nan, 15, QString(), clRed);
    QImage image = Draw(chart, QStringLiteral("no_number_line"));
    const QRect plot(chart.ChartRect.Left, chart.ChartRect.Top, chart.ChartWidth, chart.ChartHeight);
    EXPECT_TRUE(plot.adjusted(6, 6, 0, -6).contains(Ink(image, clRed, plot))) << "lines to the plot's edges";
    EXPECT_TRUE(Ink(image, clRed, QRect(line.XToPixel(3) - 2, plot.top(), 5, plot.height())).isNull());
    EXPECT_EQ(chart.Legend().Layout().TotalItems, 7);
    chart.RemoveSeries(line);
    TBarSeries bar;
    chart.AddSeries(&bar);
    for (double v : {10.0, nan, 12.0, inf})
        bar.Add(v, QString(), clRed);
    image = Draw(chart, QStringLiteral("no_number_bar"));
    for (int i : {1, 2, 3})
        EXPECT_EQ(Ink(image, clRed, QRect(bar.CalcPointPos(i).x() - 2, plot.top(), 5, plot.height())).isNull(), i != 2);
    chart.RemoveSeries(bar);
    TPieSeries pie;
    chart.AddSeries(&pie);
    const TColor colours[] = {clRed, clGreen, clBlue, clYellow};
    for (int i = 0; i < 4; ++i)
        pie.AddPie(i == 1 ? nan : 20.0 + 10 * i, QString(), colours[i]);
    image = Draw(chart, QStringLiteral("no_number_pie"));
    for (int i : {0, 2, 3})
        EXPECT_GT(Ink(image, colours[i]).width(), 50) << i;
    EXPECT_EQ(pie.CountLegendItems(), 3);
    pie.Clear();
    EXPECT_TRUE(Ink(Draw(chart, QStringLiteral("no_number_pie_empty")), clAqua).isNull()) << "an empty legend";
    chart.RemoveSeries(pie);
}

// A run of 1 to 5 values that are no number at the start, in the middle or at the end of a line
// (0), a line with symbols (1) or a fast line (2) is a gap on screen, in the exported bitmap and
// in the metafile as the report plays it: no series pixel between its neighbours.
class NoNumberRuns : public FlatChart, public ::testing::WithParamInterface<std::tuple<int, int, int>> {};

TEST_P(NoNumberRuns, LeaveAGapInEveryPicture)
{
    const auto [kind, run, at] = GetParam();
    const int first = at == 0 ? 0 : at == 1 ? 9 : 24 - run;
    TLineSeries line;
    TFastLineSeries fast;
    TChartSeries& series = kind == 2 ? static_cast<TChartSeries&>(fast) : line;
    line.Pointer().SetVisible(kind == 1);
    chart.AddSeries(&series);
    series.SetSeriesColor(clRed);
    for (int i = 0; i < 24; ++i)
        series.AddPointXY(i, i >= first && i < first + run ? NAN : 20 + 15 * (i % 3));
    const QImage screen = Draw(chart, QStringLiteral("no_number_run_%1_%2_%3").arg(kind).arg(run).arg(at));
    const gdi::Metafile metafile = chart.CreateChartMetafile(true, chart.GetRectangle());
    QImage played(metafile.Width, metafile.Height, QImage::Format_RGB32);
    played.fill(Qt::white);
    QPainter painter(&played);
    gdi::PlayMetafile(metafile, painter, played.rect());
    painter.end();
    const int from = first > 0 ? series.XToPixel(first - 1) + 6 : chart.ChartRect.Left;
    const int to = first + run < 24 ? series.XToPixel(first + run) - 6 : chart.ChartRect.Right;
    for (const QImage& image : {screen, chart.CreateBitmap(), played}) {
        EXPECT_TRUE(Ink(image, clRed, QRect(from, 0, to - from + 1, chart.height())).isNull()) << from << ".." << to;
        EXPECT_GT(Ink(image, clRed).width(), chart.ChartWidth / 2);
    }
    chart.RemoveSeries(series);
}

INSTANTIATE_TEST_SUITE_P(Chart, NoNumberRuns,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Range(1, 6), ::testing::Values(0, 1, 2)));

// Values up to the largest double, with symbols or as bars: a finite axis, every point in it
// drawn (a bar below its top), the marks whole inside the panel. Limits further apart than the
// largest double narrow to a finite range about their middle, with the points beyond at its ends;
// the axis scrolls. A logarithmic axis from the smallest double starts there, bars standing on it.
struct HugeRange {
    double low, high;
    bool logarithmic;
};
const HugeRange kHugeRanges[] = {{1, 1e306, false}, {1, 1e308, false}, {0, DBL_MAX, false}, {-1e308, 1e308, false},
                                 {5e-324, 1e10, true}};

class HugeValues : public FlatChart, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(HugeValues, GiveAFiniteAxisAndDrawTheirPoints)
{
    const auto [range, bars] = GetParam();
    TLineSeries line;
    TBarSeries bar;
    TChartSeries& series = bars ? static_cast<TChartSeries&>(bar) : line;
    line.Pointer().SetVisible(true);
    chart.AddSeries(&series);
    Frame(series.Marks());
    series.Marks().SetVisible(true);
    for (double v : {kHugeRanges[range].low, 2.0, kHugeRanges[range].high, 3.0, 4.0})
        series.Add(v, QStringLiteral("p"), clRed);
    TChartAxis& axis = *chart.LeftAxis();
    axis.SetLogarithmic(kHugeRanges[range].logarithmic);
    const QImage image = Draw(chart, QStringLiteral("huge_%1_%2").arg(range).arg(bars));
    EXPECT_TRUE(std::isfinite(axis.CurrentMaximum() - axis.CurrentMinimum()) && axis.TickPositions().size() >= 2);
    const int origin = std::clamp(series.CalcYPosValue(0), chart.ChartRect.Top, chart.ChartRect.Bottom);
    int shown = 0;
    for (int i = 0; i < 5; ++i)
        if (const int y = series.YToPixel(i); y >= chart.ChartRect.Top && y <= chart.ChartRect.Bottom && ++shown) {
            const QRect at(series.XToPixel(i) - 2, bars ? std::min(y, origin) + 1 : y - 2, 5, bars ? std::abs(y - origin) - 2 : 5);
            EXPECT_TRUE(at.height() <= 0 || !Ink(image, clRed, at).isNull()) << "point " << i;
        }
    const picture::InkReport marks = picture::FindInk(image, kFillRgb, kInkRgb);
    EXPECT_TRUE(shown == 5 && static_cast<int>(marks.Boxes.size()) >= shown && marks.Loose == 0) << shown;
    // Dragged up with the right button, a linear axis shows lower values; the wheel scrolls it too.
    const double minimum = axis.CurrentMinimum();
    chart.MouseDown(mbRight, {}, 200, 170);
    chart.MouseMove({}, 200, 150);
    chart.MouseUp(mbRight, {}, 200, 150);
    chart.RepaintNow();
    EXPECT_TRUE(kHugeRanges[range].logarithmic || axis.CurrentMinimum() < minimum) << axis.CurrentMinimum();
    const double dragged = axis.CurrentMinimum();
    chart.MouseWheelNotch(true, 200, 150); // up by 3 % of the range
    chart.RepaintNow();
    EXPECT_TRUE(std::isfinite(axis.CurrentMinimum()) && axis.CurrentMinimum() > dragged) << axis.CurrentMinimum();
    chart.RemoveSeries(series);
}

INSTANTIATE_TEST_SUITE_P(Chart, HugeValues, ::testing::Combine(::testing::Range(0, 5), ::testing::Bool()));

// The fast line zoomed past a segment's end, between two points, inverted or beyond the largest
// double draws the line series' pixels (both on one chart, one pen hidden: the same axes).
class FastLineViews : public FlatChart, public ::testing::WithParamInterface<std::tuple<int, bool>> {};

TEST_P(FastLineViews, DrawWhatTheLineSeriesDraws)
{
    const auto [view, byColumns] = GetParam();
    const double zooms[][2] = {{2.71, 4.28}, {3.45, 3.53}, {5.6, 3.45}, {0, 0}};   // from right to left: inverted
    const double ys[] = {1, 2, 9, 3, 4, 5, 1, 7}, huge[] = {-1e308, -5e307, 0, 3e307, 1e308};
    TLineSeries line;
    TFastLineSeries fast;
    fast.FastDrawing = byColumns;
    for (TChartSeries* s : {static_cast<TChartSeries*>(&line), static_cast<TChartSeries*>(&fast)}) {
        chart.AddSeries(s);
        s->SetSeriesColor(clRed);
        for (int i = 0; i < (view == 3 ? 5 : 8); ++i)
            s->AddPointXY(view == 3 ? huge[i] : i, ys[i]);
    }
    chart.BottomAxis()->SetInverted(zooms[view][0] > zooms[view][1]);
    if (view != 3)
        chart.BottomAxis()->SetRange(zooms[view][0], zooms[view][1]);
    fast.Pen().SetVisible(false);
    const QImage byLine = Draw(chart, QStringLiteral("fast_line_%1_%2_line").arg(view).arg(byColumns));
    fast.Pen().SetVisible(true);
    line.Pen().SetVisible(false);
    EXPECT_TRUE(Draw(chart, QStringLiteral("fast_line_%1_%2").arg(view).arg(byColumns)) == byLine);
    EXPECT_GE(Ink(byLine, clRed).width(), chart.ChartWidth - 2);
    chart.RemoveSeries(line);
    chart.RemoveSeries(fast);
}

INSTANTIATE_TEST_SUITE_P(Chart, FastLineViews, ::testing::Combine(::testing::Range(0, 4), ::testing::Bool()));

// Logarithmic axes over hundreds of powers label as many as fit: no two labels overlap, none
// leaves the panel, and the ticks and grid stand at the labels alone.
class WideLogarithmicAxes : public FlatChart, public ::testing::WithParamInterface<std::tuple<double, bool>> {};

TEST_P(WideLogarithmicAxes, LabelAsManyPowersAsFit)
{
    const auto [high, horizontal] = GetParam();
    const double low = high == 1e10 ? 5e-324 : 1;
    TLineSeries line;
    chart.AddSeries(&line);
    for (const double v : {low, std::sqrt(low) * std::sqrt(high), high})
        line.AddPointXY(horizontal ? v : line.Count(), horizontal ? line.Count() : v);
    TChartAxis& axis = horizontal ? *chart.BottomAxis() : *chart.LeftAxis();
    axis.SetLogarithmic(true);
    Draw(chart, QStringLiteral("wide_log_%1_%2").arg(high).arg(horizontal));
    ASSERT_TRUE(axis.Items().Count() >= 2 && axis.TickPositions().size() == size_t(axis.Items().Count()));
    chart.Canvas().AssignFont(&axis.LabelsFont());
    QRect before;
    for (int i = 0; i < axis.Items().Count(); ++i) {
        const int at = axis.ValueToPixel(axis.Items().Items(i)->Value());
        const int w = chart.Canvas().TextWidth(axis.Items().Items(i)->Text()), h = chart.Canvas().FontHeight();
        const QRect label = horizontal ? QRect(at - w / 2, 0, w, 1) : QRect(axis.LabelsPixel() - w, at - h / 2, w, h);
        EXPECT_TRUE(chart.rect().contains(label) && !label.intersects(before)) << "label " << i;
        before = label;
    }
    chart.RemoveSeries(line);
}

INSTANTIATE_TEST_SUITE_P(Chart, WideLogarithmicAxes,
                         ::testing::Combine(::testing::Values(1e10, 1e20, 1e200, 1e308), ::testing::Bool()));
