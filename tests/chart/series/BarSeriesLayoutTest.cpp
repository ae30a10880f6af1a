// Where the bars of one or several bar series land, pixel for pixel: the test lays the bars out
// itself from the axis ends and values, paints the rectangles it expects and compares them with
// what the chart drew; the hit test must answer the same rectangles.
#include "chart/engine/ChartAxis.h"
#include "chart/series/BarSeries.h"
#include "chart/series/Chart.h"

#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {

struct Layout {
    TMultiBar multi = mbSide;
    int seriesCount = 2;
    int percent = 70;
    int offset = 0;
    bool sideMargins = true;
    bool invertCategory = false;
    bool invertValue = false;
    bool horizontal = false;
    int pen = 0;   // 0: hidden, else the pen's width
    std::vector<int> groups {};   // stack group of each series (0 when missing)
};

constexpr int kPoints = 8;

double ValueOf(int s, int i)
{
    // Mixed signs in every series, and index 5 is 0 everywhere (a stacked-100 total of 0).
    if (i == 5)
        return 0.0;
    const double v = 10.0 + 7.0 * ((s * 3 + i * 5) % 11);
    return (s + i) % 4 == 3 ? -v / 2 : v;
}

TColor ColorOf(int s, int i)
{
    return RGBColor(30 + 40 * s, 20 + 25 * i, 90 + 15 * s);
}

QRgb Rgb(TColor color)
{
    const uint32_t c = ColorToRGB(color);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

int Rnd(double x)
{
    return static_cast<int>(std::nearbyint(x));
}

// A chart of bar series in one layout, and the bars it should show.
class BarChart {
public:
    void Build(const Layout& layout)
    {
        layout_ = layout;
        chart.resize(420, 320);
        chart.SetView3D(false);
        chart.SetAxisVisible(false);
        chart.Legend().Hide();
        for (int s = 0; s < layout.seriesCount; ++s) {
            TCustomBarSeries* series = layout.horizontal ? static_cast<TCustomBarSeries*>(&chart.AddNewSeries<THorizBarSeries>())
                                                         : &chart.AddNewSeries<TBarSeries>();
            series->Marks().Hide();
            if (layout.pen == 0)
                series->Pen().Hide();
            else
                series->Pen().SetWidth(layout.pen);
            series->Pen().SetColor(clBlack);
            series->SetBarWidthPercent(layout.percent);
            series->SetOffsetPercent(layout.offset);
            series->SetStackGroup(s < static_cast<int>(layout.groups.size()) ? layout.groups[s] : 0);
            for (int i = 0; i < kPoints; ++i) {
                if (layout.horizontal)
                    series->AddPointXY(ValueOf(s, i), i, {}, ColorOf(s, i));
                else
                    series->AddPointXY(i, ValueOf(s, i), {}, ColorOf(s, i));
            }
            bars.push_back(series);
        }
        bars.front()->SetMultiBar(layout.multi);
        bars.front()->SetSideMargins(layout.sideMargins);
        category()->SetInverted(layout.invertCategory);
        value()->SetInverted(layout.invertValue);
        chart.RepaintNow();
    }

    TChartAxis* category() { return static_cast<TChartAxis*>(layout_.horizontal ? chart.LeftAxis() : chart.BottomAxis()); }
    TChartAxis* value() { return static_cast<TChartAxis*>(layout_.horizontal ? chart.BottomAxis() : chart.LeftAxis()); }

    // The stacking base of a point as the layout defines it.
    double Origin(int s, int i, bool all) const
    {
        if (layout_.multi == mbSelfStack) {
            double sum = 0;
            for (int k = 0; k < i; ++k)
                sum += ValueOf(s, k);
            return sum;
        }
        if (layout_.multi != mbStacked && layout_.multi != mbStacked100)
            return 0.0;
        auto group = [&](int k) { return k < static_cast<int>(layout_.groups.size()) ? layout_.groups[k] : 0; };
        double sum = 0;
        for (int k = 0; k < (all ? layout_.seriesCount : s); ++k) {
            const double v = ValueOf(k, i);
            if (group(k) == group(s) && (ValueOf(s, i) < 0 ? v < 0 : v >= 0))
                sum += v;
        }
        return sum;
    }

    // The rectangle of bar (s, i): left, top, right, bottom as the canvas gets them.
    TRect Expected(int s, int i)
    {
        const Layout& l = layout_;
        TChartAxis* a = category();
        TChartAxis* v = value();
        int count = l.seriesCount, order = s + 1;
        if (l.multi == mbNone || l.multi == mbSelfStack)
            count = 1;
        std::vector<int> seen;
        for (int k = 0; k < l.seriesCount; ++k) {
            const int g = k < static_cast<int>(l.groups.size()) ? l.groups[k] : 0;
            if (std::find(seen.begin(), seen.end(), g) == seen.end())
                seen.push_back(g);
        }
        if (l.multi == mbStacked || l.multi == mbStacked100) {
            count = static_cast<int>(seen.size());
            const int g = s < static_cast<int>(l.groups.size()) ? l.groups[s] : 0;
            order = static_cast<int>(std::find(seen.begin(), seen.end(), g) - seen.begin()) + 1;
        }
        const int maxPoints = l.multi == mbSelfStack ? 1 : kPoints + (l.sideMargins ? 1 : 0);
        int size = Rnd(l.percent * 0.01 * ((a->EndPixel() - a->StartPixel()) / maxPoints)) / count;
        size += size % 2;
        auto pixel = [&](double x) { return a->ValueToPixel(x); };
        auto position = [&](int k) {
            int p;
            if (l.multi == mbSideAll)
                p = pixel(s * kPoints + k) - size / 2;
            else if (l.multi == mbSelfStack)
                p = pixel(s) - size / 2;
            else if (l.multi == mbNone)
                p = pixel(k) - size / 2;
            else
                p = pixel(k) + Rnd(size * (order - count * 0.5 - 1));
            return p + Rnd(l.offset * size * 0.01);
        };
        double end = ValueOf(s, i) + Origin(s, i, false);
        double start = Origin(s, i, false);
        if (l.multi == mbStacked100) {
            const double total = Origin(s, i, true);
            end = total == 0 ? 0 : end * 100 / total;
            start = total == 0 ? 0 : start * 100 / total;
        }
        const bool touching = l.percent == 100 && l.multi != mbSelfStack;
        const int p = l.pen;
        TRect r;
        if (!l.horizontal) {
            r.Left = position(i);
            r.Top = v->ValueToPixel(end);
            r.Bottom = v->ValueToPixel(start);
            r.Right = r.Left + size + 1;
            const int w = p > 0 ? std::max(1, p) : 0;
            if (touching && l.invertCategory)
                r.Right = i > 0 ? position(i - 1) : r.Left + size + w;
            else if (touching)
                r.Right = i < kPoints - 1 ? position(i + 1) + 1 - w / 2 : r.Left + size + 1 - w / 2;
            if (p == 0) {
                ++(r.Top > r.Bottom ? r.Top : r.Bottom);
                ++r.Right;
            }
        } else {
            r.Top = position(i);
            r.Bottom = r.Top + size - 1;
            if (touching && !l.invertCategory)
                r.Bottom = i > 0 ? position(i - 1) : r.Top + size - p;
            else if (touching)
                r.Bottom = i < kPoints - 1 ? position(i + 1) : r.Top + size - p;
            r.Right = v->ValueToPixel(end);
            r.Left = v->ValueToPixel(start);
            if (p == 0) {
                if (r.Left >= r.Right)
                    ++r.Left, --r.Right;
                else
                    ++r.Right;
                ++r.Bottom;
            }
        }
        return r;
    }

    // The picture the chart should show: each rectangle painted in drawing order (pen band, then
    // the fill inside it), clipped as the chart clips its series.
    QImage ExpectedImage()
    {
        QImage image(chart.WindowImage().size(), QImage::Format_RGB32);
        image.fill(Qt::white);
        const TRect& area = chart.ChartRect;
        const int p = layout_.pen;
        auto paint = [&](int l, int t, int r, int b, QRgb c) {   // inclusive
            for (int y = std::max(t, area.Top); y <= std::min(b, area.Bottom - 1); ++y)
                for (int x = std::max(l, area.Left + 1); x <= std::min(r, area.Right - 1); ++x)
                    image.setPixel(x, y, c);
        };
        for (int s = 0; s < layout_.seriesCount; ++s)
            for (int i = 0; i < kPoints; ++i) {
                const TRect e = Expected(s, i);
                const int l = std::min(e.Left, e.Right), r = std::max(e.Left, e.Right);
                const int t = std::min(e.Top, e.Bottom), b = std::max(e.Top, e.Bottom);
                if (r - l < 1 || b - t < 1 || (p > 0 && (r - l < p || b - t < p)))
                    continue;   // no fill: cases with one of their own
                if (p == 0) {
                    paint(l, t, r - 2, b - 2, Rgb(ColorOf(s, i)));
                } else {
                    paint(l - p / 2, t - p / 2, r - 1 + p / 2, b - 1 + p / 2, qRgb(0, 0, 0));
                    const int inset = (p + 1) / 2;
                    paint(l + inset, t + inset, r - 1 - inset, b - 1 - inset, Rgb(ColorOf(s, i)));
                }
            }
        return image;
    }

    void ExpectPixelExact(const char* what)
    {
        std::map<QRgb, bool> barColors;
        for (int s = 0; s < layout_.seriesCount; ++s)
            for (int i = 0; i < kPoints; ++i)
                barColors[Rgb(ColorOf(s, i))] = true;
        const QImage drawn = chart.WindowImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected = ExpectedImage();
        int wrong = 0, filled = 0;
        for (int y = 0; y < drawn.height(); ++y)
            for (int x = 0; x < drawn.width(); ++x) {
                const QRgb a = drawn.pixel(x, y) | 0xFF000000u, e = expected.pixel(x, y) | 0xFF000000u;
                const bool aBar = barColors.count(a) > 0, eBar = barColors.count(e) > 0;
                filled += eBar;
                if ((aBar || eBar) && a != e && ++wrong <= 3)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y << " drawn " << std::hex << a << " expected " << e;
            }
        EXPECT_EQ(wrong, 0) << what;
        EXPECT_GT(filled, 0) << what;
    }

    TChart chart;
    std::vector<TCustomBarSeries*> bars;
    Layout layout_;
};

} // namespace

TEST(BarLayout, SideBySideWithOneToFourSeriesAndEveryPen)
{
    for (int n = 1; n <= 4; ++n)
        for (int pen : {0, 1, 3}) {
            BarChart t;
            t.Build({.multi = mbSide, .seriesCount = n, .pen = pen});
            t.ExpectPixelExact(("side " + std::to_string(n) + " pen " + std::to_string(pen)).c_str());
        }
}

TEST(BarLayout, EveryLayoutInBothClasses)
{
    const std::vector<std::pair<const char*, Layout>> cases = {
        {"side all", {.multi = mbSideAll, .seriesCount = 2}},
        {"none", {.multi = mbNone, .seriesCount = 2}},
        {"stacked groups", {.multi = mbStacked, .seriesCount = 3, .groups = {0, 1, 0}}},
        {"stacked 100", {.multi = mbStacked100, .seriesCount = 3}},
        {"self stack", {.multi = mbSelfStack, .seriesCount = 2}},
        {"width 100", {.multi = mbSide, .seriesCount = 2, .percent = 100}},
        {"width 100 inverted", {.multi = mbSide, .seriesCount = 1, .percent = 100, .invertCategory = true}},
        {"offset", {.multi = mbSide, .seriesCount = 2, .offset = 30}},
        {"no side margins", {.multi = mbSide, .seriesCount = 2, .sideMargins = false}},
        {"inverted", {.multi = mbStacked, .seriesCount = 2, .invertCategory = true, .invertValue = true}},
    };
    for (bool horizontal : {false, true})
        for (int pen : {0, 1, 3})
            for (auto [name, layout] : cases) {
                layout.horizontal = horizontal;
                layout.pen = pen;
                BarChart t;
                t.Build(layout);
                t.ExpectPixelExact((std::string(name) + (horizontal ? " horizontal" : "") + " pen " + std::to_string(pen)).c_str());
            }
}

// The hit test answers exactly the pixels each bar filled.
TEST(BarLayout, ClickedAnswersTheFilledRectangles)
{
    for (bool horizontal : {false, true})
        for (int pen : {0, 1}) {
            BarChart t;
            t.Build({.multi = mbSide, .seriesCount = 2, .horizontal = horizontal, .pen = pen});
            const TRect& area = t.chart.ChartRect;
            int hits = 0;
            for (int s = 0; s < 2; ++s)
                for (int y = area.Top; y < area.Bottom; ++y)
                    for (int x = area.Left; x < area.Right; ++x) {
                        int expected = -1;
                        for (int i = 0; i < kPoints && expected < 0; ++i) {
                            const TRect e = t.Expected(s, i);
                            const int shrink = pen ? 1 : 2;
                            if (x >= std::min(e.Left, e.Right) && x <= std::max(e.Left, e.Right) - shrink
                                && y >= std::min(e.Top, e.Bottom) && y <= std::max(e.Top, e.Bottom) - shrink)
                                expected = i;
                        }
                        hits += expected >= 0;
                        ASSERT_EQ(t.bars[s]->Clicked(x, y), expected) << x << "," << y << " series " << s;
                    }
            EXPECT_GT(hits, 100);
        }
}
