// The chart legend: its layout worked out here from the canvas' text measures and compared pixel
// by pixel with what the chart draws, the hit test, the check boxes, and its edge cases.
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/engine/ChartPage.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesGroup.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartLegend.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace {

const QStringList kTitles = {"Raw", "Limit EN 55011", "Corrected", "Cable", "Antenna factor", "LISN", "Margin"};
const TColor kColors[] = {clRed, clGreen, clBlue, clMaroon, clNavy, clPurple, clTeal};

int Even(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

struct Case {
    TLegendAlignment alignment;
    bool title = false, checkBoxes = false, inverted = false, squared = false, pixels = false, dividers = false;
    int vertSpacing = 0;
    bool noSymbol = false;
};

// Where the legend's parts must be, worked out from the settings and the canvas' measures.
struct Expected {
    TRect box, chartRect;
    int itemsTop = 0, itemHeight = 0, rows = 0, columns = 0;
    struct Item {
        QString text;
        int textX, y, checkY, x;
        TRect symbol;
        bool divider;
    };
    std::vector<Item> items;   // in drawing order
    QStringList titleLines;
    int titleY = 0, titleX = 0;
};

class Legend : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.resize(600, 400);
        chart.SetView3D(false);
        chart.SetAxisVisible(false);
        legend().Font().SetName(QStringLiteral("Liberation Sans"));
        legend().Title().Font().SetName(QStringLiteral("Liberation Sans"));
        for (int i = 0; i < kTitles.size(); ++i) {
            auto& s = chart.AddNewSeries<TChartSeries>();
            s.SetTitle(kTitles[i]);
            s.SetSeriesColor(kColors[i]);
            s.AddPointXY(1.0, i * 1.5);
            series.push_back(&s);
        }
        chart.OnBeforeDrawChart = [this] { startRect = chart.ChartRect; };
    }

    TChartLegend& legend() { return chart.Legend(); }
    void Render()
    {
        chart.Invalidate();
        chart.RepaintNow();
    }
    QImage Picture() { return chart.WindowImage().copy(); }
    int Width(const QString& text, TPlotFont& font)
    {
        chart.Canvas().AssignFont(&font);
        return chart.Canvas().TextWidth(text);
    }
    int Height(TPlotFont& font)
    {
        chart.Canvas().AssignFont(&font);
        return chart.Canvas().FontHeight();
    }

    void Apply(const Case& c)
    {
        legend().SetAlignment(c.alignment);
        legend().Title().SetText(c.title ? QStringList{"Traces", "of set 1"} : QStringList{});
        legend().SetCheckBoxes(c.checkBoxes);
        legend().SetInverted(c.inverted);
        legend().Symbol().SetSquared(c.squared);
        legend().Symbol().SetWidthUnits(c.pixels ? lcsPixels : lcsPercent);
        legend().Symbol().SetWidth(c.pixels ? 31 : 20);
        legend().DividingLines().SetVisible(c.dividers);
        legend().DividingLines().SetWidth(c.dividers ? 2 : 1);
        legend().SetVertSpacing(c.vertSpacing);
        legend().Symbol().SetVisible(!c.noSymbol);
    }

    // The layout rules, for the seven series titles in one column (the default frame is 1 pixel
    // wide, the legend's shadow 3 pixels, the chart's shadow none).
    Expected Compute(const Case& c, const TRect& r)
    {
        Expected e;
        const bool vertical = c.alignment == laLeft || c.alignment == laRight;
        const int n = static_cast<int>(kTitles.size());
        const int fw = 1;
        const int fontHeight = Height(legend().Font());
        const int textHeight = c.checkBoxes ? std::max(fontHeight, 17) : fontHeight;
        const int ih = textHeight + c.vertSpacing + (vertical && c.dividers ? 2 : 0);
        int tw = 0;
        for (const QString& t : kTitles)
            tw = std::max(tw, Width(t, legend().Font()));
        int titleHeight = 0, titleWidth = 0;
        if (c.title) {
            e.titleLines = legend().Title().Text();
            titleHeight = 2 * Height(legend().Title().Font());
            for (const QString& line : e.titleLines)
                titleWidth = std::max(titleWidth, Width(line, legend().Title().Font()));
            titleWidth += Width(QStringLiteral("W"), legend().Title().Font());
        }
        const int titleSpace = c.title ? titleHeight + 2 : 0;
        auto symbolWidth = [&](int of) { return c.squared ? ih - 5 : c.pixels ? 31 : Even(20 * of * 0.01); };
        int sw = 0, width = 0, shown = 0;
        TRect& b = e.box;
        if (vertical) {
            const TRect& bounds = chart.ChartBounds;
            b.Top = bounds.Top + Even(10 * bounds.Height() * 0.01);
            e.rows = std::min((r.Bottom - 2 * fw - (b.Top + titleSpace)) / ih, n);
            shown = e.rows;
            sw = c.noSymbol ? 0 : symbolWidth(tw + 12);
            // Without a symbol the text stands where the symbol would, 6 pixels from either side.
            width = std::max((c.noSymbol ? 6 : 12 + sw) + tw + 6 + (c.checkBoxes ? 15 : 0), titleWidth);
            b.Left = c.alignment == laLeft ? r.Left + fw + 1 : r.Right - 3 - (fw + 1) - width;
        } else {
            sw = symbolWidth(tw);
            const int itemWidth = sw + tw + 8 + (c.checkBoxes ? 27 : 0);
            e.columns = std::min((r.Width() - 2 * fw - 8) / itemWidth, n);
            e.rows = std::min((n + e.columns - 1) / e.columns, 10);
            shown = std::min(n, e.rows * e.columns);
            width = (e.columns - 1) * 6 + 4 + itemWidth * e.columns + 8 + 2 * e.columns +
                    (c.checkBoxes ? 15 * e.columns + 4 : 0);
            width = std::min(std::max(width, titleWidth), r.Width());
            b.Left = r.Left + r.Width() / 2 - width / 2 + Even(10 * (chart.ChartBounds.Width() - width) * 0.01);
        }
        const int height = ih * e.rows + 2 + 2 * Even(ih * 0.1) + (c.title ? titleHeight + 4 : 0);
        if (c.alignment == laTop)
            b.Top = r.Top + fw + 1;
        else if (c.alignment == laBottom)
            b.Top = r.Bottom - (fw + 1 + 3) - height;
        b.Right = b.Left + width;
        b.Bottom = b.Top + height;
        e.itemsTop = b.Top + titleSpace;
        e.itemHeight = ih;
        e.titleX = b.Left + 2 + Width(QStringLiteral("W"), legend().Title().Font()) / 2;
        e.titleY = b.Top + 2;

        for (int p = 0; p < shown; ++p) {
            const int index = c.inverted ? shown - 1 - p : p;
            const int row = vertical ? p : p / e.columns;
            const int column = vertical ? 0 : p % e.columns;
            Expected::Item item;
            item.text = kTitles[index];
            item.x = b.Left + column * (tw + sw + (c.checkBoxes ? 23 : 8));
            item.y = e.itemsTop + 1 + row * ih + c.vertSpacing / 2;
            const int symbolX = item.x + (c.checkBoxes ? 15 : 0) + 6;
            item.textX = c.noSymbol ? symbolX : symbolX + sw + 6;
            item.checkY = item.y + (textHeight - 13) / 2;
            item.symbol = TRect{symbolX, item.y + 2, symbolX + sw, item.y + ih + 1 - (c.vertSpacing + 3)};
            item.divider = c.dividers && p > 0 && (vertical || row == 0);
            e.items.push_back(item);
        }
        e.chartRect = r;
        const int sideGap = r.Width() * 3 / 100, topGap = r.Height() * 4 / 100;
        switch (c.alignment) {
        case laLeft: e.chartRect.Left = b.Right + sideGap; break;
        case laRight: e.chartRect.Right = b.Left - sideGap; break;
        case laTop: e.chartRect.Top = b.Bottom + topGap; break;
        case laBottom: e.chartRect.Bottom = b.Top - topGap; break;
        }
        return e;
    }

    // The same parts drawn with the canvas' own primitives at the places worked out above.
    void DrawExpected(const Case& c, const Expected& e)
    {
        TPlotCanvas3D& canvas = chart.Canvas();
        canvas.AssignVisiblePen(legend().Pen());
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(clWhite);
        canvas.RectangleRect(e.box);
        canvas.SetBackMode(cbmTransparent);
        canvas.SetTextAlign(gdi::TA_LEFT | gdi::TA_TOP);
        canvas.AssignFont(&legend().Title().Font());
        for (int i = 0; i < e.titleLines.size(); ++i)
            canvas.TextOut(e.titleX, e.titleY + i * canvas.FontHeight(), e.titleLines[i]);
        for (const Expected::Item& item : e.items) {
            const int index = static_cast<int>(kTitles.indexOf(item.text));
            canvas.AssignFont(&legend().Font());
            canvas.TextOut(item.textX, item.y, item.text);
            if (c.checkBoxes)
                DrawCheckBox(item.x + 4, item.checkY, *canvas.ReferenceCanvas(), true, series[index]->Active());
            canvas.AssignVisiblePen(series[index]->Pen());
            canvas.AssignBrushColor(series[index]->Brush(), kColors[index], clWhite);
            if (!c.noSymbol)
                canvas.RectangleRect(item.symbol);
            if (item.divider) {
                canvas.AssignVisiblePen(legend().DividingLines());
                if (c.alignment == laLeft || c.alignment == laRight) {
                    canvas.MoveTo(e.box.Left, item.y - c.vertSpacing / 2);
                    canvas.LineTo(e.box.Right, item.y - c.vertSpacing / 2);
                } else {
                    const int x = item.x + (c.checkBoxes ? 3 : 4);
                    canvas.MoveTo(x, e.box.Top);
                    canvas.LineTo(x, e.box.Bottom);
                }
            }
        }
    }

    TChart chart;
    std::vector<TChartSeries*> series;
    TRect startRect;
};

int DifferentPixels(const QImage& a, const QImage& b, const TRect& r)
{
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

TEST_F(Legend, DrawsEveryPartWhereTheLayoutRulesPutIt)
{
    // alignment, title, check boxes, inverted, squared, pixel width, dividing lines, spacing
    const Case cases[] = {
        {laRight},
        {laRight, true, true},
        {laRight, false, false, true, true, false, true, 4},
        {laLeft, true, true, false, false, true, false, -3},
        {laLeft, false, false, false, false, false, true, 0},
        {laTop},
        {laTop, true, true, false, false, false, true},
        {laBottom, false, false, true, true, false, false, 2},
        {laBottom, true, true, false, false, true, true, 0},
        {laRight, false, false, false, false, false, false, 0, true},
        {laLeft, true, true, false, false, false, true, 2, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "alignment " << c.alignment << " title " << c.title << " checks "
                                        << c.checkBoxes << " inverted " << c.inverted << " squared " << c.squared
                                        << " pixels " << c.pixels << " spacing " << c.vertSpacing << " no symbol " << c.noSymbol);
        Apply(c);
        // Check boxes list the inactive series too, unticked.
        series[2]->SetActive(!c.checkBoxes);
        legend().SetVisible(true);
        chart.OnAfterDraw = nullptr;
        Render();
        const QImage drawn = Picture();
        const Expected e = Compute(c, startRect);
        EXPECT_EQ(legend().ShapeBounds, e.box);
        EXPECT_EQ(chart.ChartRect, e.chartRect);
        legend().Hide();
        chart.OnAfterDraw = [&] { DrawExpected(c, e); };
        Render();
        EXPECT_EQ(DifferentPixels(drawn, Picture(), e.box), 0);
        EXPECT_EQ(chart.ChartRect, startRect);   // a hidden legend takes no room
    }
}

// A value legend's two text columns: the value right-aligned before the label, or the label
// before the right-aligned value; an item the program named shows its own texts.
TEST_F(Legend, TwoColumnsAlignAsTheTextStyleSays)
{
    for (int i = 1; i < 7; ++i)
        series[i]->SetActive(false);
    TChartSeries& s = *series[0];
    s.SetXLabel(0, QStringLiteral("Average"));
    s.AddPointXY(2.0, 112.5, QStringLiteral("Peak"), clFuchsia);
    s.AddPointXY(3.0, 7.0, {}, clOlive);
    s.AddPointXY(4.0, -31.25, QStringLiteral("Quasi peak"), clNavy);
    legend().Items()[2].SetText(QStringLiteral("named"));
    legend().Items()[2].SetText2(QStringLiteral("item"));
    chart.OnGetLegendPos = [](TCustomChart*, int index, int&, int& y, int&) { y += index == 1 ? 2 : 0; };
    chart.OnGetLegendRect = [](TCustomChart*, TRect& r) { r.Right += 10; };
    for (const TLegendTextStyle style : {ltsLeftValue, ltsRightValue}) {
        legend().SetTextStyle(style);
        legend().SetFontSeriesColor(style == ltsRightValue);
        legend().SetVisible(true);
        chart.OnAfterDraw = nullptr;
        Render();
        const QImage drawn = Picture();
        const TRect box = legend().ShapeBounds;

        std::vector<QStringList> texts;
        std::array<int, 2> widths{0, 0};
        for (int i = 0; i < 4; ++i) {
            QStringList t = i == 2 ? QStringList{"named", "item"}
                                   : s.LegendString(i, style).split(QChar(6));
            for (int c = 0; c < 2; ++c)
                widths[c] = std::max(widths[c], Width(t.value(c), legend().Font()));
            texts.push_back(t);
        }
        const int tw = widths[0] + 4 + widths[1];
        const int sw = Even(20 * (tw + 12) * 0.01);
        const int ih = Height(legend().Font());
        const int width = tw + 12 + sw + 6;
        EXPECT_EQ(box.Right - box.Left, width + 10);
        EXPECT_EQ(box.Left, startRect.Right - 3 - 2 - width);
        const int textX = box.Left + 6 + sw + 6;
        auto y = [&](int i) { return box.Top + 1 + i * ih + (i == 1 ? 2 : 0); };
        legend().SetVisible(false);
        chart.OnAfterDraw = [&] {
            TPlotCanvas3D& canvas = chart.Canvas();
            canvas.Brush().SetColor(clWhite);
            canvas.RectangleRect(box);
            canvas.SetBackMode(cbmTransparent);
            for (int i = 0; i < 4; ++i) {
                canvas.AssignFont(&legend().Font());
                if (legend().FontSeriesColor())
                    canvas.Font().SetColor(s.GetPointColor(i) == clDefault ? s.SeriesColor() : s.GetPointColor(i));
                const bool rightFirst = style == ltsLeftValue;
                const QString& a = texts[i][0];
                const QString b = texts[i].value(1);
                canvas.TextOut(rightFirst ? textX + widths[0] - canvas.TextWidth(a) : textX, y(i), a);
                const int x2 = textX + widths[0] + 4;
                canvas.TextOut(rightFirst ? x2 : x2 + widths[1] - canvas.TextWidth(b), y(i), b);
            }
        };
        Render();
        const QImage expected = Picture();
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(DifferentPixels(drawn, expected, TRect{textX, y(i), box.Right - 1, y(i) + ih}), 0)
                << "style " << style << " item " << i;
    }
}

// Every pixel row of a vertical legend and every pixel column of a horizontal one: the item of
// the band it falls in, -1 outside the box, above the items and below the last row.
TEST_F(Legend, ClickedAnswersTheItemOfEachBand)
{
    for (const Case& c : {Case{laRight, true, false, true}, Case{laLeft, false, true, false, false, false, false, 3},
                          Case{laTop, false, false, true}, Case{laBottom, true, true}}) {
        Apply(c);
        Render();
        const Expected e = Compute(c, startRect);
        const TRect& b = e.box;
        const int shown = static_cast<int>(e.items.size());
        auto item = [&](int position) {
            return position < shown ? (c.inverted ? shown - 1 - position : position) : -1;
        };
        if (c.alignment == laLeft || c.alignment == laRight) {
            const int x = (b.Left + b.Right) / 2;
            for (int y = b.Top - 2; y < b.Bottom + 2; ++y) {
                const int row = y > e.itemsTop ? (y - e.itemsTop - 1) / e.itemHeight : -1;
                const int expected = y >= b.Bottom || row < 0 ? -1 : item(row);
                ASSERT_EQ(legend().Clicked(x, y), expected) << "y " << y << " alignment " << c.alignment;
            }
            EXPECT_EQ(legend().Clicked(b.Left - 1, e.itemsTop + 2), -1);
            EXPECT_EQ(legend().Clicked(b.Right, e.itemsTop + 2), -1);
        } else {
            const int band = b.Width() / e.columns;
            for (int row = 0; row <= e.rows; ++row) {
                const int y = e.itemsTop + 1 + row * e.itemHeight + e.itemHeight / 2;
                for (int x = b.Left - 2; x < b.Right + 2; ++x) {
                    const int column = (x - b.Left) / band;
                    const bool inside = x >= b.Left && x < b.Right && y < b.Bottom && column < e.columns;
                    const int expected = inside && row < e.rows ? item(row * e.columns + column) : -1;
                    ASSERT_EQ(legend().Clicked(x, y), expected) << "x " << x << " row " << row;
                }
            }
        }
    }
    // The legend's own hook widens a vertical legend and narrows what a click may hit.
    Apply(Case{laRight});
    Render();
    const TRect plain = legend().ShapeBounds;
    legend().RectHook = [](TLegendRectUse use, TRect& r) {
        if (use == lruVerticalWidth)
            r.Right += 20;
        else if (use == lruHitTest)
            r.Right = (r.Left + r.Right) / 2;
    };
    Render();
    const TRect wide = legend().ShapeBounds;
    EXPECT_EQ(wide.Width(), plain.Width() + 20);
    const int y = legend().Items()[0].TextTop + 1;
    EXPECT_EQ(legend().Clicked(wide.Left + 2, y), 0);
    EXPECT_EQ(legend().Clicked(wide.Right - 2, y), -1);
    legend().RectHook = nullptr;

    // The chart's hit test finds the legend, and a click on an item switches its series.
    Apply(Case{laRight, false, true});
    Render();
    const TLegendItem& first = legend().Items()[0];
    EXPECT_EQ(chart.CalcClickedPart(first.TextLeft + 1, first.TextTop + 2).Part, cpLegend);
    int clicks = 0;
    chart.OnClickLegend = [&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++clicks; };
    chart.MouseDown(mbLeft, 0, first.TextLeft + 1, first.TextTop + 2);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(series[0]->Active());
}

TEST_F(Legend, CheckBoxesSwitchSeriesAndGroups)
{
    legend().SetCheckBoxes(true);
    EXPECT_TRUE(legend().DoCheckBox(1));
    EXPECT_FALSE(series[1]->Active());
    EXPECT_TRUE(legend().DoCheckBox(1));
    EXPECT_TRUE(series[1]->Active());
    EXPECT_FALSE(legend().DoCheckBox(-1));
    EXPECT_FALSE(legend().DoCheckBox(7));

    legend().SetCheckBoxesStyle(cbsRadio);   // only the first active one stays on
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(series[i]->Active(), i == 0) << i;
    series[6]->SetShowInLegend(false);
    series[6]->SetActive(true);
    EXPECT_TRUE(legend().DoCheckBox(3));   // item 3 is series 3; series 6 is not in the legend
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(series[i]->Active(), i == 3 || i == 6) << i;

    TSeriesGroup& low = chart.SeriesGroups().Add();
    TSeriesGroup& high = chart.SeriesGroups().Add();
    low.Series().Add(series[0]), low.Series().Add(series[1]);
    high.Series().Add(series[2]), high.Series().Add(series[3]);
    legend().SetLegendStyle(lsSeriesGroups);
    EXPECT_TRUE(legend().DoCheckBox(0));
    EXPECT_EQ(low.Active(), gaYes);
    EXPECT_EQ(high.Active(), gaNo);
    legend().SetCheckBoxesStyle(cbsCheck);
    EXPECT_TRUE(legend().DoCheckBox(1));
    EXPECT_EQ(high.Active(), gaYes);
    EXPECT_TRUE(legend().DoCheckBox(1));
    EXPECT_EQ(high.Active(), gaNo);
    Render();
    EXPECT_EQ(legend().Layout().TotalItems, 2);
    EXPECT_EQ(legend().Clicked(legend().Items()[1].TextLeft, legend().Items()[1].TextTop + 1), 1);

    // Listing points: check boxes are neither drawn nor switch anything.
    legend().SetLegendStyle(lsValues);
    EXPECT_FALSE(legend().HasCheckBoxes());
    EXPECT_FALSE(legend().DoCheckBox(0));
}

TEST_F(Legend, StyleFollowsTheActiveSeriesAndPages)
{
    for (int i = 1; i < 7; ++i)
        series[i]->SetActive(false);
    TChartSeries& points = *series[0];
    for (int i = 0; i < 39; ++i)
        points.AddPointXY(i + 2.0, i * 0.25, QStringLiteral("P%1").arg(i));
    Render();
    EXPECT_EQ(legend().CalcLegendStyle(), lsValues);   // one active series: its points
    EXPECT_EQ(legend().Layout().TotalItems, 40);
    series[1]->SetActive(true);
    EXPECT_EQ(legend().CalcLegendStyle(), lsSeries);
    series[1]->SetActive(false);

    // Forty points in three columns of at most ten rows: thirty are listed.
    legend().SetAlignment(laTop);
    legend().SetTextStyle(ltsPlain);
    legend().Symbol().SetWidthUnits(lcsPixels);
    int widest = 0;
    for (int i = 0; i < 40; ++i)
        widest = std::max(widest, Width(points.XLabel(i), legend().Font()));
    legend().Symbol().SetWidth((startRect.Width() - 10) / 3 - widest - 10);
    Render();
    EXPECT_EQ(legend().Layout().Columns, 3);
    EXPECT_EQ(legend().Layout().LastValue - legend().Layout().FirstValue + 1, 30);

    // With paging the legend lists the current page, and its items answer their point index.
    legend().SetAlignment(laRight);
    chart.Pages().SetMaxPointsPerPage(8);
    chart.Pages().SetCurrent(2);
    Render();
    EXPECT_EQ(legend().Layout().FirstValue, 8);
    EXPECT_EQ(legend().Layout().TotalItems, 8);
    QStringList texts;
    chart.OnGetLegendText = [&](TCustomAxisPanel*, TLegendStyle style, int index, QString& text) {
        EXPECT_EQ(style, lsValues);
        text += QStringLiteral("!");
        texts << QString::number(index) + text;
    };
    Render();
    EXPECT_EQ(texts.first(), QStringLiteral("8P7!"));
    const TLegendItem& item = legend().Items()[0];
    EXPECT_EQ(legend().Clicked(item.TextLeft, item.TextTop + 1), 8);
    legend().SetFirstValue(0);
    EXPECT_THROW(legend().SetFirstValue(-1), LegendException);
    try {
        legend().SetFirstValue(-1);
    } catch (const LegendException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("First Legend Value must be > 0"));
    }
    EXPECT_EQ(legend().FirstValue(), 0);
}

// A spacing far below the font height leaves rows of one pixel: counted and hit without a fault.
TEST_F(Legend, NegativeSpacingKeepsRowsOfOnePixel)
{
    legend().SetVertSpacing(-100);
    EXPECT_EQ(legend().ItemHeight(), 1);
    Render();
    const TLegendLayout& l = legend().Layout();
    EXPECT_EQ(l.Rows, 7);
    for (int y = legend().ShapeBounds.Top; y < legend().ShapeBounds.Bottom; ++y)
        EXPECT_LT(legend().Clicked(legend().ShapeBounds.Left + 3, y), 7);
    EXPECT_EQ(legend().Clicked(legend().ShapeBounds.Left + 3, l.ItemsTop + 1 + 6), 6);
}

TEST_F(Legend, CustomPlaceInPercentLeavesTheChartRectangle)
{
    legend().SetCustomPosition(true);
    legend().SetPositionUnits(muPercent);
    legend().SetLeftPercent(25);
    legend().SetTopPercent(33);
    Render();
    EXPECT_EQ(legend().ShapeBounds.Left, Even(25 * chart.width() * 0.01));
    EXPECT_EQ(legend().ShapeBounds.Top, Even(33 * chart.height() * 0.01));
    EXPECT_EQ(chart.ChartRect, startRect);
}

// The legend's own series is freed while the legend lists its points: it falls back to the
// chart's first active series, and with none left lists nothing.
TEST_F(Legend, ForgetsItsSeriesWhenItIsFreed)
{
    for (TChartSeries* s : series)
        s->SetActive(false);
    auto doomed = std::make_unique<TChartSeries>();
    chart.AddSeries(doomed.get());
    for (int i = 0; i < 5; ++i)
        doomed->AddPointXY(i, i);
    legend().SetSeries(doomed.get());
    legend().SetLegendStyle(lsValues);
    Render();
    EXPECT_EQ(legend().Layout().TotalItems, 5);
    const TLegendItem& item = legend().Items()[2];
    const int x = item.TextLeft, y = item.TextTop + 1;
    EXPECT_EQ(legend().Clicked(x, y), 2);
    doomed.reset();
    EXPECT_EQ(legend().Series(), nullptr);
    EXPECT_EQ(legend().Clicked(x, y), -1);
    Render();
    EXPECT_EQ(legend().Layout().TotalItems, 0);
    EXPECT_EQ(legend().Clicked(x, y), -1);
    legend().SetCheckBoxes(true);   // drawn with nothing active: an empty box
    Render();
    EXPECT_EQ(legend().Clicked(x, y), -1);
    series[0]->SetActive(true);
    Render();
    EXPECT_EQ(legend().Layout().TotalItems, 1);
}

// A series' symbol on a canvas of its own, with and without a chart of its own.
TEST(LegendSymbol, DrawnOnAnyCanvas)
{
    TBitmap bitmap;
    bitmap.SetSize(40, 20);
    TChartSeries lone;
    lone.SetSeriesColor(clRed);
    DrawSeriesLegendSymbol(lone, bitmap.Canvas(), TRect{5, 5, 35, 15});
    EXPECT_EQ(bitmap.Canvas().Pixel(20, 10), clRed);
    EXPECT_EQ(bitmap.Canvas().Pixel(5, 5), clBlack);   // the series' pen
    EXPECT_EQ(bitmap.Canvas().Pixel(36, 10), clWhite);
    EXPECT_EQ(lone.ParentChart(), nullptr);

    TChart chart;
    chart.SetView3D(false);
    TChartSeries held;
    chart.AddSeries(&held);
    held.SetSeriesColor(clGreen);
    chart.Legend().Symbol().Gradient().SetVisible(true);   // the chart's symbol painter fills it
    chart.Legend().Symbol().Gradient().SetDirection(gdLeftRight);
    chart.Legend().Symbol().Gradient().SetStartColor(clBlue);
    DrawSeriesLegendSymbol(held, bitmap.Canvas(), TRect{5, 5, 35, 15});
    const QColor left = bitmap.Image().pixelColor(7, 10), right = bitmap.Image().pixelColor(33, 10);
    // From the start colour at one end to the series colour at the other.
    EXPECT_NE(left.blue() > left.green(), right.blue() > right.green());
    EXPECT_GT(std::max(left.green(), right.green()), 100);
    EXPECT_GT(std::max(left.blue(), right.blue()), 200);
    EXPECT_EQ(held.ParentChart(), &chart);
    chart.RemoveSeries(held);
}
