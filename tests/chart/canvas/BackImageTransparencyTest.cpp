#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotCursors.h"
#include "chart/canvas/PlotPanelExtended.h"

#include <gtest/gtest.h>

namespace {

QRgb At(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

} // namespace

TEST(BackImageTransparency, BottomLeftColourLetsThePanelShowThrough)
{
    // Green picture with a yellow bottom-left key colour and one more yellow pixel inside.
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(qRgb(0, 128, 0));
    picture.setPixel(0, 9, qRgb(255, 255, 0));
    picture.setPixel(4, 4, qRgb(255, 255, 0));
    TCustomPlotPanelExtended panel;
    panel.SetBevelOuter(bvNone);
    panel.SetColor(clBlue);
    panel.BackImage().SetGraphic(picture);
    panel.SetBackImageMode(pbmCustom);
    panel.BackImage().SetLeft(20);
    panel.BackImage().SetTop(30);
    int changes = 0;
    panel.BackImage().OnChange = [&] { ++changes; };
    panel.BackImage().SetTransparent(true);
    panel.BackImage().SetTransparent(true);
    EXPECT_EQ(changes, 1);
    panel.Repaint();
    const QImage& shown = panel.WindowImage();
    EXPECT_EQ(At(shown, 24, 34), 0x0000FFu);   // key colour: the panel
    EXPECT_EQ(At(shown, 20, 39), 0x0000FFu);
    EXPECT_EQ(At(shown, 25, 34), 0x008000u);   // the picture
    EXPECT_EQ(At(shown, 29, 30), 0x008000u);

    panel.SetBackImageMode(pbmStretch);   // stretched, the key colour still shows the panel
    panel.Repaint();
    EXPECT_EQ(At(panel.WindowImage(), 2, 248), 0x0000FFu);
    EXPECT_EQ(At(panel.WindowImage(), 200, 20), 0x008000u);

    TBackImage copy;
    copy.Assign(panel.BackImage());
    EXPECT_TRUE(copy.Transparent());
    panel.BackImage().SetTransparent(false);
    panel.Repaint();
    EXPECT_EQ(At(panel.WindowImage(), 2, 248), 0xFFFF00u);
}

TEST(CursorTable, NamesNumbersAndQtCursors)
{
    TCursor cursor = crDefault;
    EXPECT_TRUE(IdentToCursor(QStringLiteral("crhandpoint"), cursor));
    EXPECT_EQ(cursor, crHandPoint);
    QString name;
    EXPECT_TRUE(CursorToIdent(crPlotHand, name));
    EXPECT_EQ(name, QStringLiteral("crPlotHand"));
    EXPECT_FALSE(CursorToIdent(12345, name));
    EXPECT_FALSE(IdentToCursor(QStringLiteral("crNothing"), cursor));

    TPlotLibrarySettings settings;
    EXPECT_EQ(CursorForNumber(crHandPoint, settings).shape(), Qt::PointingHandCursor);
    EXPECT_EQ(CursorForNumber(crVSplit, settings).shape(), Qt::SplitVCursor);
    EXPECT_EQ(CursorForNumber(crNoDrop, settings).shape(), Qt::ForbiddenCursor);
    EXPECT_EQ(CursorForNumber(crPlotHand, settings).hotSpot(), QPoint(6, 0));   // the library's hand
    EXPECT_EQ(CursorForNumber(777, settings).shape(), Qt::ArrowCursor);
}
