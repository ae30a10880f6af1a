#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "platform/gdi/WmfWriter.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <gtest/gtest.h>
#include <set>

namespace {

constexpr QRgb kHighlight = 0xFFFFFF;   // clBtnHighlight in the fixed scheme
constexpr QRgb kShadow = 0x808080;      // clBtnShadow

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// A panel that counts its renders.
class CountingPanel : public TCustomPlotPanelExtended {
public:
    int renders = 0;

protected:
    void InternalDraw(const TRect& rect) override
    {
        ++renders;
        TCustomPlotPanelExtended::InternalDraw(rect);
    }
};

} // namespace

TEST(Panel, NewPanelGeometryFromMargins)
{
    TCustomPlotPanelExtended panel;
    EXPECT_EQ(panel.width(), 400);
    EXPECT_EQ(panel.height(), 250);
    EXPECT_EQ(panel.AllowPanning(), pmBoth);
    EXPECT_TRUE(panel.AllowZoom());
    EXPECT_FALSE(panel.Border().Visible());
    EXPECT_EQ(panel.Border().EndStyle(), esFlat);
    panel.SetBevelOuter(bvNone);
    panel.Repaint();
    EXPECT_EQ(panel.ChartBounds, (TRect{0, 0, 400, 250}));
    EXPECT_EQ(panel.ChartRect, (TRect{12, 10, 388, 240}));
    EXPECT_EQ(panel.ChartWidth, 376);
    EXPECT_EQ(panel.ChartXCenter, 200);

    // Frame: raised outer bevel 2, lowered inner bevel 2, border width 3 and a 2-pixel border pen.
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelInner(bvLowered);
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(3);
    panel.Border().SetWidth(2);
    panel.Border().SetVisible(true);
    panel.SetMarginUnits(muPixels);
    panel.SetMarginLeft(5);
    panel.SetMarginTop(6);
    panel.SetMarginRight(7);
    panel.SetMarginBottom(8);
    panel.Repaint();
    EXPECT_EQ(panel.ChartRect, (TRect{9 + 5, 9 + 6, 400 - 9 - 7, 250 - 9 - 8}));

    // A shadow takes twice its size from the side it falls on.
    panel.Shadow().SetHorizSize(4);
    panel.Shadow().SetVertSize(-3);
    panel.Repaint();
    EXPECT_EQ(panel.ChartRect, (TRect{14, 15 + 6, 384 - 8, 233}));
}

TEST(Panel, PaintsBackgroundBevelsBorderAndGradient)
{
    TCustomPlotPanelExtended panel;
    panel.SetColor(clYellow);
    panel.SetBevelWidth(2);
    panel.Repaint();
    const QImage& img = panel.WindowImage();
    EXPECT_EQ(At(img, 200, 125), 0xFFFF00u);   // clYellow (0x00FFFF) as red, green, blue
    EXPECT_EQ(At(img, 0, 100), kHighlight);
    EXPECT_EQ(At(img, 1, 100), kHighlight);
    EXPECT_EQ(At(img, 399, 100), kShadow);
    EXPECT_EQ(At(img, 398, 100), kShadow);
    EXPECT_EQ(At(img, 100, 249), kShadow);
    EXPECT_EQ(At(img, 100, 0), kHighlight);
    EXPECT_EQ(At(img, 2, 100), 0xFFFF00u);

    panel.SetBevelOuter(bvLowered);
    panel.Repaint();
    EXPECT_EQ(At(panel.WindowImage(), 0, 100), kShadow);
    EXPECT_EQ(At(panel.WindowImage(), 399, 100), kHighlight);

    panel.SetBevelOuter(bvNone);
    panel.Border().SetColor(clRed);
    panel.Border().SetWidth(1);
    panel.Border().SetVisible(true);
    panel.Repaint();
    EXPECT_EQ(At(panel.WindowImage(), 0, 100), 0xFF0000u);
    EXPECT_EQ(At(panel.WindowImage(), 399, 100), 0xFF0000u);
    EXPECT_EQ(At(panel.WindowImage(), 1, 100), 0xFFFF00u);

    panel.Border().SetVisible(false);
    panel.Gradient().SetStartColor(clWhite);
    panel.Gradient().SetEndColor(clBlue);
    panel.Gradient().SetVisible(true);
    panel.Repaint();
    const QRgb top = At(panel.WindowImage(), 200, 1);
    const QRgb bottom = At(panel.WindowImage(), 200, 248);
    EXPECT_NE(top, bottom);
    // Top to bottom: the end colour at the top, the start colour at the bottom.
    EXPECT_LT(qRed(top), 10);
    EXPECT_GT(qRed(bottom), 245);
}

TEST(Panel, PaintEventOnlyCopiesTheSurface)
{
    CountingPanel panel;
    panel.SetBevelOuter(bvNone);
    panel.SetColor(clGreen);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    QApplication::processEvents();
    const int before = panel.renders;
    EXPECT_GE(before, 1);
    // Uncovering the window paints from the surface without drawing the chart again.
    panel.repaint();
    panel.repaint();
    EXPECT_EQ(panel.renders, before);
    EXPECT_EQ(panel.grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(50, 50) & 0xFFFFFF, 0x008000u);

    // Many changes give one render once the loop runs; none happens before.
    for (int i = 0; i < 50; ++i)
        panel.SetMarginLeft(i);
    EXPECT_EQ(panel.renders, before);
    QApplication::processEvents();
    EXPECT_EQ(panel.renders, before + 1);

    // With RepaintOnChange off nothing is invalidated until the caller repaints.
    panel.SetRepaintOnChange(false);
    panel.SetColor(clRed);
    QApplication::processEvents();
    EXPECT_EQ(panel.renders, before + 1);
    EXPECT_FALSE(panel.Canvas().Dirty);
    panel.SetRepaintOnChange(true);
    panel.Repaint();
    EXPECT_EQ(panel.renders, before + 2);
    EXPECT_EQ(At(panel.WindowImage(), 50, 50), 0xFF0000u);
}

TEST(Panel, RoundBorderSetsTheWindowRegion)
{
    TCustomPlotPanelExtended panel;
    EXPECT_TRUE(panel.mask().isEmpty());
    panel.BeginLoading();
    panel.SetBorderRound(10);
    EXPECT_TRUE(panel.mask().isEmpty());   // not while loading
    panel.Loaded();
    EXPECT_FALSE(panel.mask().isEmpty());
    panel.SetBorderRound(0);
    panel.SetBorderRound(10);
    EXPECT_FALSE(panel.mask().isEmpty());
    EXPECT_FALSE(panel.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(panel.mask().contains(QPoint(200, 125)));
    EXPECT_TRUE(panel.mask().contains(QPoint(10, 0)));
    panel.show();
    panel.resize(300, 200);
    QApplication::processEvents();
    EXPECT_FALSE(panel.mask().contains(QPoint(299, 199)));
    EXPECT_TRUE(panel.mask().contains(QPoint(295, 150)));
    panel.SetBorderRound(0);
    EXPECT_TRUE(panel.mask().isEmpty());
}

TEST(Panel, BitmapsAndMetafilesOfTheChart)
{
    TCustomPlotPanelExtended panel;
    panel.SetColor(clAqua);
    int drawnOnMetafile = 0;
    panel.OnAfterDraw = [&] {
        if (panel.Canvas().Metafiling)
            ++drawnOnMetafile;
        panel.Canvas().Pen().SetColor(clBlack);
        panel.Canvas().MoveTo(10, 100);
        panel.Canvas().LineTo(300, 100);
        panel.Canvas().TextOut(20, 20, QStringLiteral("Zendrik"));
    };
    panel.Repaint();
    const QImage bitmap = panel.CreateBitmap();
    EXPECT_EQ(bitmap.size(), QSize(400, 250));
    EXPECT_EQ(At(bitmap, 200, 50), 0x00FFFFu);   // clAqua (0xFFFF00) as red, green, blue
    EXPECT_EQ(At(bitmap, 100, 100), 0u);
    // After a picture the window surface is still the one the canvas draws on.
    EXPECT_EQ(&panel.Canvas().Pen(), &panel.WindowCanvas().Pen());
    EXPECT_TRUE(panel.Canvas().Dirty);

    EXPECT_EQ(panel.CreateBitmapRect(clWhite, TRect{3, 3, 3, 3}, QImage::Format_RGB32).size(), QSize(1, 1));
    const gdi::Metafile empty = panel.CreateChartMetafile(true, TRect{5, 5, 5, 5});
    EXPECT_EQ(empty.Width, 1);
    EXPECT_EQ(empty.Height, 1);
    EXPECT_TRUE(empty.Enhanced);
    EXPECT_FALSE(panel.Canvas().Metafiling);

    const gdi::Metafile meta = panel.CreateChartMetafile(false, TRect{0, 0, 400, 250});
    EXPECT_FALSE(meta.Enhanced);
    EXPECT_EQ(drawnOnMetafile, 2);
    EXPECT_EQ(meta.Count(gdi::MetaOp::TextOut), 1);
    EXPECT_GE(meta.Count(gdi::MetaOp::LineTo), 1);
    EXPECT_EQ(meta.Count(gdi::MetaOp::StretchBlt), 0);   // drawn as figures, not as a picture

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("test.wmf"));
    QString error;
    ASSERT_TRUE(panel.SaveChartAsWmf(file, &error)) << error.toStdString();
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_GT(bytes.size(), 40);
    EXPECT_EQ(static_cast<uint8_t>(bytes[0]), 0xD7);   // placeable key, little-endian
    EXPECT_EQ(qFromLittleEndian<int16_t>(bytes.constData() + 10), 400);
    EXPECT_EQ(qFromLittleEndian<int16_t>(bytes.constData() + 12), 250);
    EXPECT_FALSE(panel.SaveChartAsWmf(dir.filePath(QStringLiteral("no/such/folder.wmf")), &error));
}

TEST(Panel, PrintingLeavesThePageWhiteBehindTheChart)
{
    TCustomPlotPanelExtended panel;
    panel.SetColor(clRed);
    panel.Printing = true;
    const QImage page = panel.CreateBitmapRect(clWhite, TRect{0, 0, 400, 250}, QImage::Format_RGB32);
    EXPECT_EQ(At(page, 200, 125), 0xFFFFFFu);
    EXPECT_EQ(At(page, 0, 100), 0xFFFFFFu);   // no bevel either
    panel.Settings.PrintPanelBackground = true;
    const QImage withBack = panel.CreateBitmapRect(clWhite, TRect{0, 0, 400, 250}, QImage::Format_RGB32);
    EXPECT_EQ(At(withBack, 200, 125), 0xFF0000u);
    panel.Printing = false;
}

TEST(Panel, StreamingCopyingAndLibraryRoutines)
{
    TCustomPlotPanelExtended a;
    EXPECT_FALSE(a.IsPrintMarginsStored());
    EXPECT_TRUE(a.ReadLegacyProperty(QStringLiteral("PrintMargins"), QVariantList{15, 15, 15, 16}));
    EXPECT_TRUE(a.IsPrintMarginsStored());
    EXPECT_FALSE(a.ReadLegacyProperty(QStringLiteral("PrintMargins"), QVariantList{1, 2}));
    EXPECT_TRUE(a.ReadLegacyProperty(QStringLiteral("BorderStyle"), QStringLiteral("bsSingle")));
    EXPECT_TRUE(a.Border().Visible());
    EXPECT_TRUE(a.ReadLegacyProperty(QStringLiteral("AllowZoom"), false));
    EXPECT_FALSE(a.Zoom().Allow);
    EXPECT_TRUE(a.ReadLegacyProperty(QStringLiteral("AnimatedZoomSteps"), 12));
    EXPECT_EQ(a.Zoom().AnimatedSteps, 12);

    a.SetMarginLeft(9);
    a.SetBorderRound(6);
    a.Gradient().SetVisible(true);
    a.Zoom().Pen().SetColor(clRed);
    a.SetAllowPanning(pmNone);
    TCustomPlotPanelExtended b;
    b.Assign(a);
    EXPECT_EQ(b.MarginLeft(), 9);
    EXPECT_EQ(b.BorderRound(), 6);
    EXPECT_TRUE(b.Gradient().Visible());
    EXPECT_EQ(b.Zoom().Pen().Color(), clRed);
    EXPECT_EQ(b.AllowPanning(), pmNone);
    EXPECT_EQ(b.PrintMargins(), (TRect{15, 15, 15, 16}));
    EXPECT_FALSE(b.mask().isEmpty());

    TPlotLibrarySettings settings;
    EXPECT_EQ(GetDefaultColor(settings, 0), settings.ColorPalette[0]);
    EXPECT_EQ(GetDefaultColor(settings, 23), settings.ColorPalette[3]);
    EXPECT_EQ(IntegerToString(-42), QStringLiteral("-42"));
}

TEST(Panel, CheckBoxesAreDrawnTheSameEveryTime)
{
    TBitmap bitmap(40, 20);
    DrawCheckBox(2, 2, bitmap.Canvas(), true, false);
    DrawCheckBox(20, 2, bitmap.Canvas(), true, true);
    const QImage img = bitmap.Image();
    const QImage off = img.copy(2, 2, 13, 13);
    const QImage on = img.copy(20, 2, 13, 13);
    EXPECT_NE(off, on);
    EXPECT_EQ(At(img, 1, 1), 0xFFFFFFu);   // nothing outside the 13 x 13 cell
    EXPECT_EQ(At(img, 16, 8), 0xFFFFFFu);
    TBitmap again(40, 20);
    DrawCheckBox(2, 2, again.Canvas(), true, false);
    EXPECT_EQ(again.Image().copy(2, 2, 13, 13), off);
    TBitmap radio(20, 20);
    DrawCheckBox(2, 2, radio.Canvas(), false, false);
    EXPECT_NE(radio.Image().copy(2, 2, 13, 13), off);
}

TEST(Panel, BackImageInItsFourModes)
{
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 0));
    picture.setPixel(0, 0, qRgb(0, 0, 255));
    TCustomPlotPanelExtended panel;
    panel.SetBevelOuter(bvNone);
    panel.SetColor(clWhite);
    panel.BackImage().SetGraphic(picture);
    auto pixel = [&](int x, int y) { return At(panel.WindowImage(), x, y); };

    panel.Repaint();   // stretched over the whole panel: the corner pixel becomes 40 x 25
    EXPECT_EQ(pixel(200, 125), 0xFF0000u);
    EXPECT_EQ(pixel(39, 24), 0x0000FFu);
    EXPECT_EQ(pixel(40, 24), 0xFF0000u);
    EXPECT_EQ(pixel(39, 25), 0xFF0000u);

    panel.SetBackImageMode(pbmTile);
    panel.Repaint();
    for (const QPoint p : {QPoint(0, 0), QPoint(10, 0), QPoint(20, 10), QPoint(390, 240)})
        EXPECT_EQ(pixel(p.x(), p.y()), 0x0000FFu) << p.x() << "," << p.y();
    EXPECT_EQ(pixel(5, 5), 0xFF0000u);
    EXPECT_EQ(pixel(399, 249), 0xFF0000u);

    panel.SetBackImageMode(pbmCenter);   // at ((400 - 10) / 2, (250 - 10) / 2)
    panel.Repaint();
    EXPECT_EQ(pixel(195, 120), 0x0000FFu);
    EXPECT_EQ(pixel(204, 129), 0xFF0000u);
    EXPECT_EQ(pixel(194, 120), 0xFFFFFFu);
    EXPECT_EQ(pixel(205, 129), 0xFFFFFFu);

    panel.SetBackImageMode(pbmCustom);
    panel.BackImage().SetLeft(7);
    panel.BackImage().SetTop(9);
    panel.Repaint();
    EXPECT_EQ(pixel(7, 9), 0x0000FFu);
    EXPECT_EQ(pixel(16, 18), 0xFF0000u);
    EXPECT_EQ(pixel(6, 9), 0xFFFFFFu);
    EXPECT_EQ(pixel(195, 120), 0xFFFFFFu);

    // Inside the chart rectangle is the chart's business, not the panel background's.
    panel.SetBackImageInside(true);
    panel.Repaint();
    EXPECT_EQ(pixel(7, 9), 0xFFFFFFu);
}

TEST(Panel, MetafilesGetNoBlendingBlurOrPixelCopies)
{
    TCustomPlotPanelExtended panel;
    panel.Shadow().SetHorizSize(6);
    panel.Shadow().SetVertSize(6);
    panel.Shadow().SetSmooth(true);
    panel.Shadow().SetTransparency(40);
    panel.Shadow().SetColor(clBlack);
    panel.Repaint();
    // On screen the shadow is blurred: its edge fades in several steps.
    std::set<QRgb> greys;
    for (int y = 0; y < 30; ++y)
        greys.insert(At(panel.WindowImage(), 396, y));
    EXPECT_GT(greys.size(), 3u);

    const gdi::Metafile meta = panel.CreateChartMetafile(false, TRect{0, 0, 400, 250});
    EXPECT_EQ(meta.Count(gdi::MetaOp::StretchBlt), 0);
    EXPECT_EQ(meta.Count(gdi::MetaOp::SetPixel), 0);
    EXPECT_GT(meta.Records.size(), 5u);

    EXPECT_TRUE(panel.CanClip());
    panel.Printing = true;
    panel.Settings.ClipWhenPrinting = false;
    EXPECT_FALSE(panel.CanClip());
    panel.Printing = false;
    panel.View3DOptions().SetOrthogonal(false);
    EXPECT_FALSE(panel.CanClip());
    panel.SetView3D(false);
    EXPECT_TRUE(panel.CanClip());
}
