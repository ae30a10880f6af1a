// The smoothing canvas: its pixels are exactly those tests/data/tools/make_antialias_reference.py
// computes from the rules; the pen's share of each pixel pair adds up to one and centres on the
// line; what it must leave to the device (axis-parallel lines, fills, text, XOR drawing) is the
// device's to the byte; polylines keep their vertices; whole circles mirror.
#include "chart/canvas/ChartPen.h"
#include "chart/tools/AntiAliasCanvas.h"
#include "platform/gdi/RasterDC.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

TColor FromRgb(uint32_t rgb) { return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF)); }

// A canvas drawing a buffered picture of w x h into its own bitmap, filled with bg (0xRRGGBB).
template <class Canvas>
struct Picture {
    Picture(int w, int h, uint32_t bg)
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, w, h});
        canvas.Bitmap()->Device().ImageForWrite().fill(QColor::fromRgb(bg));
    }
    QImage Image() { return canvas.Bitmap()->Image().copy(); }
    uint32_t At(int x, int y) { return canvas.Bitmap()->Image().pixel(x, y) & 0xFFFFFFu; }
    Canvas canvas;
};
using Smoothed = Picture<TAntiAliasCanvas>;
using Plain = Picture<TPlotCanvas3D>;

void SetPen(TPlotCanvas3D& canvas, const QString& style, uint32_t rgb)
{
    if (style == QLatin1String("smalldots")) {
        TChartPen pen;
        pen.SetSmallDots(true);
        pen.SetColor(FromRgb(rgb));
        canvas.AssignVisiblePen(pen);
        return;
    }
    static const std::map<QString, TPenStyle> styles = {{"solid", psSolid},     {"dash", psDash},
                                                        {"dot", psDot},         {"dashdot", psDashDot},
                                                        {"dashdotdot", psDashDotDot}};
    canvas.Pen().SetStyle(styles.at(style));
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(FromRgb(rgb));
}

int Count(const QImage& a, const QImage& b)
{
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

TEST(AntiAliasCanvas, DrawsTheReferencePixelsOfLinesArcsAndEllipses)
{
    QFile file(QStringLiteral(ZENDRIK_TEST_DATA "/tools/antialias.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&file);
    int cases = 0, lines = 0;
    std::unique_ptr<Smoothed> pic;
    QImage expected;
    QString name;
    while (!in.atEnd()) {
        const QStringList f = in.readLine().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (f.isEmpty() || f[0].startsWith(QLatin1Char('#')))
            continue;
        auto i = [&](int k) { return f[k].toInt(); };
        if (f[0] == QLatin1String("case")) {
            name = f[1];
            const uint32_t bg = f[4].toUInt(nullptr, 16);
            pic = std::make_unique<Smoothed>(i(2), i(3), bg);
            pic->canvas.Brush().SetStyle(bsClear);
            if (f.size() > 5)
                pic->canvas.ClipRectangle(TRect{i(6), i(7), i(8), i(9)});
            expected = pic->Image();
        } else if (f[0] == QLatin1String("pen")) {
            SetPen(pic->canvas, f[1], f[2].toUInt(nullptr, 16));
        } else if (f[0] == QLatin1String("line")) {
            pic->canvas.MoveTo(i(1), i(2));
            pic->canvas.LineTo(i(3), i(4));
            ++lines;
        } else if (f[0] == QLatin1String("arc")) {
            pic->canvas.ArcAngles(i(1), i(2), i(3), i(4), f[5].toDouble(), f[6].toDouble());
        } else if (f[0] == QLatin1String("ellipse")) {
            pic->canvas.Ellipse(i(1), i(2), i(3), i(4));
        } else if (f[0] == QLatin1String("px")) {
            expected.setPixel(i(1), i(2), 0xFF000000u | f[3].toUInt(nullptr, 16));
        } else if (f[0] == QLatin1String("end")) {
            const QImage got = pic->Image();
            int wrong = 0;
            for (int y = 0; y < got.height(); ++y)
                for (int x = 0; x < got.width(); ++x)
                    if (got.pixel(x, y) != expected.pixel(x, y) && ++wrong <= 3)
                        ADD_FAILURE() << name.toStdString() << " pixel " << x << "," << y << ": " << std::hex
                                      << (got.pixel(x, y) & 0xFFFFFF) << " expected "
                                      << (expected.pixel(x, y) & 0xFFFFFF);
            EXPECT_EQ(wrong, 0) << name.toStdString();
            ++cases;
        }
    }
    EXPECT_EQ(cases, 28);
    EXPECT_EQ(lines, 240);
}

// Measured on the picture alone: along a solid line, per major coordinate, the pen's shares of
// the changed pixels sum to one and their weighted centre lies on the exact line. Red runs from
// 255 (background) to 0 (pen), so each share is known to half of 1/255.
TEST(AntiAliasCanvas, PenSharesSumToOneAndCentreOnTheLine)
{
    std::mt19937 rnd(5);
    std::uniform_int_distribution<int> coord(5, 115);
    int checked = 0;
    for (int n = 0; n < 60; ++n) {
        const int x0 = coord(rnd), y0 = coord(rnd), x1 = coord(rnd), y1 = coord(rnd);
        if (x0 == x1 || y0 == y1)
            continue;
        Smoothed pic(121, 121, 0xFFD040);
        SetPen(pic.canvas, QStringLiteral("solid"), 0x0020A0);
        pic.canvas.MoveTo(x0, y0);
        pic.canvas.LineTo(x1, y1);
        const bool xMajor = std::abs(x1 - x0) >= std::abs(y1 - y0);
        const int k0 = xMajor ? x0 : y0, k1 = xMajor ? x1 : y1;
        for (int k = std::min(k0, k1) + 1; k < std::max(k0, k1); ++k) {
            double sum = 0, moment = 0;
            for (int j = 0; j < 121; ++j) {
                const uint32_t v = xMajor ? pic.At(k, j) : pic.At(j, k);
                const double share = (255.0 - (v >> 16)) / 255.0;
                sum += share;
                moment += share * j;
            }
            const double ideal = xMajor ? y0 + (k - x0) * double(y1 - y0) / (x1 - x0)
                                        : x0 + (k - y0) * double(x1 - x0) / (y1 - y0);
            ASSERT_NEAR(sum, 1.0, 1.0 / 255 + 1e-9) << x0 << "," << y0 << " " << x1 << "," << y1 << " at " << k;
            ASSERT_NEAR(moment / sum, ideal, 0.05) << x0 << "," << y0 << " " << x1 << "," << y1 << " at " << k;
            ++checked;
        }
    }
    EXPECT_GT(checked, 1000);
}

TEST(AntiAliasCanvas, LeavesAxisParallelLinesFillsTextAndXorToTheDevice)
{
    Smoothed smooth(200, 120, 0x3070C0);
    Plain plain(200, 120, 0x3070C0);
    for (TPlotCanvas3D* c : {static_cast<TPlotCanvas3D*>(&smooth.canvas), static_cast<TPlotCanvas3D*>(&plain.canvas)}) {
        c->Pen().SetColor(clYellow);
        for (TPenStyle style : {psSolid, psDash, psDot}) {
            c->Pen().SetStyle(style);
            for (int width : {1, 3}) {
                c->Pen().SetWidth(width);
                c->HorizLine(3, 190, 5 + 10 * style + width);
                c->VertLine(10 + 20 * style + width, 2, 110);
            }
        }
        c->Pen().SetWidth(1);
        c->Pen().SetStyle(psDash);
        c->Polyline(TPointArray{{20, 100}, {60, 100}, {60, 70}, {120, 70}}, 3);   // pattern across corners
        c->Pen().SetStyle(psSolid);
        c->Brush().SetColor(clRed);
        c->Rectangle(120, 10, 170, 40);
        c->FillRect(TRect{130, 50, 180, 60});
        c->GradientFill(TRect{100, 75, 190, 115}, clBlue, clWhite, gdDiagonalUp, 50, 0, 0);
        c->Font().SetColor(clWhite);
        c->TextOut(40, 40, QStringLiteral("Vary 0.5 dBµV"));
        // Boxes without width or height have no radius to divide by.
        c->ArcAngles(50, 20, 50, 60, 10.0, 200.0);
        c->Arc(20, 90, 90, 90, 90, 60, 20, 95);
        c->Ellipse(60, 5, 61, 40);
        // XOR lines drawn twice give every pixel back; once they must show.
        c->Pen().SetMode(pmXor);
        c->Pen().SetColor(clWhite);
        c->Line(5, 115, 190, 20);
        c->Line(5, 115, 190, 20);
        c->Line(7, 3, 150, 100);
        c->Pen().SetMode(pmCopy);
    }
    EXPECT_EQ(Count(smooth.Image(), plain.Image()), 0);

    // The one XOR line left is the device's: drawn once more it is gone again.
    const QImage before = smooth.Image();
    smooth.canvas.Pen().SetMode(pmXor);
    smooth.canvas.Line(7, 3, 150, 100);
    smooth.canvas.Line(7, 3, 150, 100);
    EXPECT_EQ(Count(smooth.Image(), before), 0);
}

TEST(AntiAliasCanvas, DashDotEqualsDashDotDot)
{
    Smoothed a(80, 60, 0x204060), b(80, 60, 0x204060);
    SetPen(a.canvas, QStringLiteral("dashdot"), 0xF0E010);
    SetPen(b.canvas, QStringLiteral("dashdotdot"), 0xF0E010);
    for (Smoothed* p : {&a, &b}) {
        p->canvas.Line(2, 3, 77, 40);
        p->canvas.Line(5, 58, 30, 1);
    }
    EXPECT_EQ(Count(a.Image(), b.Image()), 0);
    EXPECT_GT(Count(a.Image(), Smoothed(80, 60, 0x204060).Image()), 100);
}

// The start of each segment is drawn and its end left out, as the device does: a polyline shows
// every vertex but the last in the pen colour, and a trace of one-pixel steps does not vanish.
TEST(AntiAliasCanvas, PolylineKeepsItsVertices)
{
    std::mt19937 rnd(9);
    std::uniform_int_distribution<int> y(5, 95);
    TPointArray points;
    for (int x = 4; x < 190; x += 7 + static_cast<int>(rnd() % 9))
        points.push_back(TPoint{x, y(rnd)});
    for (int i = 0; i < 12; ++i)   // a dense stretch: one pixel per step
        points.push_back(TPoint{points.back().X + 1, points.back().Y + (i % 2 ? 1 : -1)});
    Smoothed pic(200, 100, 0x40A040);
    SetPen(pic.canvas, QStringLiteral("solid"), 0x101080);
    pic.canvas.MoveTo(0, 0);
    pic.canvas.Polyline(points, static_cast<int>(points.size()) - 1);
    for (size_t i = 0; i + 1 < points.size(); ++i)
        EXPECT_EQ(pic.At(points[i].X, points[i].Y), 0x101080u) << "vertex " << i;
    EXPECT_EQ(pic.At(points.back().X, points.back().Y), 0x40A040u);
    // A polyline leaves the pen position alone, as the device's does.
    EXPECT_EQ(pic.canvas.GetHandle()->GetCurrentPosition(), (gdi::Point{0, 0}));
}

TEST(AntiAliasCanvas, WholeCirclesMirrorAboutTheirIntegerCentre)
{
    for (const auto& [rx, ry, start] : {std::tuple{20, 20, 0.0}, std::tuple{17, 11, 30.0}, std::tuple{9, 24, -75.0}}) {
        Smoothed pic(81, 81, 0xC08020);
        SetPen(pic.canvas, QStringLiteral("solid"), 0x2040F0);
        pic.canvas.ArcAngles(40 - rx, 40 - ry, 40 + rx, 40 + ry, start, start + 360.0);
        int drawn = 0, asymmetric = 0;
        for (int y = 0; y <= 80; ++y)
            for (int d = 0; d <= 40; ++d) {
                drawn += pic.At(40 + d, y) != 0xC08020u;
                asymmetric += pic.At(40 + d, y) != pic.At(40 - d, y);
                asymmetric += pic.At(y, 40 + d) != pic.At(y, 40 - d);
            }
        EXPECT_EQ(asymmetric, 0) << rx << "x" << ry;
        EXPECT_GT(drawn, 2 * (rx + ry)) << rx << "x" << ry;
    }
}
