#include "chart/canvas/PlotBlend.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "platform/gdi/RasterDC.h"

#include <QFile>
#include <QTextStream>
#include <gtest/gtest.h>

namespace {

struct BitmapCanvas {
    TPlotCanvas3D canvas;
    explicit BitmapCanvas(int w, int h)
    {
        canvas.InitWindow(nullptr, nullptr, clWhite, false, TRect{0, 0, w, h});
        canvas.ResetState();
    }
    gdi::COLORREF Px(int x, int y) { return canvas.Bitmap()->Device().GetPixel(x, y); }
};

QImage FromHex(const QStringList& values, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, 0xFF000000u | values[y * w + x].toUInt(nullptr, 16));
    return img;
}

} // namespace

TEST(Blend, PixelLoopMatchesTheReference)
{
    QFile f(QStringLiteral(ZENDRIK_TEST_DATA "/canvas/blend.txt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly | QIODevice::Text));
    QTextStream in(&f);
    int cases = 0;
    while (!in.atEnd()) {
        const QStringList head = in.readLine().split(' ', Qt::SkipEmptyParts);
        if (head.size() != 8 || head[0] != QLatin1String("case"))
            continue;
        const int sw = head[1].toInt(), sh = head[2].toInt(), dw = head[3].toInt(), dh = head[4].toInt();
        const TPoint offset{head[5].toInt(), head[6].toInt()};
        const double percent = head[7].toDouble();
        const QStringList src = in.readLine().split(' ', Qt::SkipEmptyParts).mid(1);
        const QStringList dst = in.readLine().split(' ', Qt::SkipEmptyParts).mid(1);
        const QStringList res = in.readLine().split(' ', Qt::SkipEmptyParts).mid(1);
        QImage destination = FromHex(dst, dw, dh);
        BlendBitmaps(FromHex(src, sw, sh), destination, offset, percent);
        EXPECT_EQ(destination, FromHex(res, dw, dh)) << "case " << cases;
        ++cases;
    }
    EXPECT_EQ(cases, 4);
}

TEST(Blend, WhiteOverBlackAtHalfTransparency)
{
    QImage under(1, 1, QImage::Format_RGB32);
    under.fill(qRgb(0, 0, 0));
    QImage drawn(1, 1, QImage::Format_RGB32);
    drawn.fill(qRgb(255, 255, 255));
    BlendBitmaps(under, drawn, TPoint{0, 0}, 100 - 50);
    EXPECT_EQ(drawn.pixel(0, 0), qRgb(127, 128, 128));
}

TEST(Blend, TransparencyZeroKeepsTheDrawingAndHundredRestoresTheBackground)
{
    for (int transparency : {0, 100}) {
        BitmapCanvas bc(20, 20);
        bc.canvas.Brush().SetColor(clBlue);
        bc.canvas.FillRect(TRect{0, 0, 20, 20});
        auto blend = bc.canvas.BeginBlending(TRect{5, 5, 15, 15}, transparency);
        EXPECT_EQ(bc.canvas.BlendTransparency, transparency);
        bc.canvas.Brush().SetColor(clRed);
        bc.canvas.FillRect(TRect{0, 0, 20, 20});
        bc.canvas.EndBlending(std::move(blend));
        const auto inside = bc.Px(10, 10);
        if (transparency == 0)
            EXPECT_EQ(inside, ColorToRGB(clRed));
        else
            EXPECT_EQ(inside, ColorToRGB(clBlue));
        EXPECT_EQ(bc.Px(2, 2), ColorToRGB(clRed));   // outside the blend rectangle: the new drawing
    }
}

TEST(Blend, RectangleIsCutToTheBoundsAndRepaired)
{
    BitmapCanvas bc(20, 10);
    TPlotBlend partly(bc.canvas, TRect{15, -5, 40, 8});
    EXPECT_TRUE(partly.Valid());
    EXPECT_EQ(partly.Rectangle(), (TRect{15, 0, 20, 8}));
    EXPECT_EQ(partly.Captured().size(), QSize(5, 8));
    TPlotBlend left(bc.canvas, TRect{-30, 2, -10, 6});
    EXPECT_EQ(left.Rectangle(), (TRect{0, 2, 1, 6}));
    EXPECT_TRUE(left.Valid());
    TPlotBlend inverted(bc.canvas, TRect{8, 6, 3, 1});
    EXPECT_EQ(inverted.Rectangle(), (TRect{3, 1, 8, 6}));
    TPlotBlend beyond(bc.canvas, TRect{25, 2, 30, 6});   // right of the bounds: nothing left
    EXPECT_FALSE(beyond.Valid());
    beyond.DoBlend(50);   // an invalid blend does nothing
    EXPECT_EQ(bc.Px(19, 3), 0xFFFFFFu);
}

TEST(Blend, NothingHappensWhileDrawingAMetafile)
{
    BitmapCanvas bc(10, 10);
    auto blend = bc.canvas.BeginBlending(TRect{0, 0, 10, 10}, 100);
    bc.canvas.Brush().SetColor(clRed);
    bc.canvas.FillRect(TRect{0, 0, 10, 10});
    bc.canvas.Metafiling = true;
    bc.canvas.EndBlending(std::move(blend));
    EXPECT_EQ(bc.Px(5, 5), ColorToRGB(clRed));
}

TEST(Blend, WorksOnADirectCanvasToo)
{
    gdi::RasterDC screen(10, 10);
    TCanvas screenCanvas(&screen);
    TPlotCanvas3D c;
    c.SetBufferedDisplay(false);
    c.InitWindow(&screenCanvas, nullptr, clWhite, false, TRect{0, 0, 10, 10});
    c.Brush().SetColor(clBlack);
    c.FillRect(TRect{0, 0, 10, 10});
    auto blend = c.BeginBlending(TRect{0, 0, 10, 10}, 50);
    c.Brush().SetColor(clWhite);
    c.FillRect(TRect{0, 0, 10, 10});
    c.EndBlending(std::move(blend));
    EXPECT_EQ(screen.GetPixel(4, 4), gdi::RGB(127, 128, 128));
}
