#include "chart/canvas/PlotGraphics.h"
#include "platform/gdi/RasterDC.h"

#include <gtest/gtest.h>

TEST(CanvasObjects, PenModesMapToTheMixModeTable)
{
    const std::pair<TPenMode, int> table[] = {
        {pmBlack, gdi::R2_BLACK},         {pmWhite, gdi::R2_WHITE},           {pmNop, gdi::R2_NOP},
        {pmNot, gdi::R2_NOT},             {pmCopy, gdi::R2_COPYPEN},          {pmNotCopy, gdi::R2_NOTCOPYPEN},
        {pmMergePenNot, gdi::R2_MERGEPENNOT}, {pmMaskPenNot, gdi::R2_MASKPENNOT}, {pmMergeNotPen, gdi::R2_MERGENOTPEN},
        {pmMaskNotPen, gdi::R2_MASKNOTPEN}, {pmMerge, gdi::R2_MERGEPEN},      {pmNotMerge, gdi::R2_NOTMERGEPEN},
        {pmMask, gdi::R2_MASKPEN},        {pmNotMask, gdi::R2_NOTMASKPEN},    {pmXor, gdi::R2_XORPEN},
        {pmNotXor, gdi::R2_NOTXORPEN}};
    for (const auto& [mode, rop] : table)
        EXPECT_EQ(PenModeToROP2(mode), rop) << mode;
    EXPECT_EQ(PenStyleToDevice(psInsideFrame), gdi::PS_INSIDEFRAME);
    EXPECT_EQ(PenStyleToDevice(psClear), gdi::PS_NULL);
}

TEST(CanvasObjects, FontSizeAndHeightFollowTheResolution)
{
    TFont f;
    EXPECT_EQ(f.Size(), 8);
    EXPECT_EQ(f.Height(), -11);   // 8 points at 96 pixels per inch, rounded
    f.SetSize(12);
    EXPECT_EQ(f.Height(), -16);
    f.SetHeight(-13);
    EXPECT_EQ(f.Size(), 10);      // 9.75 points rounds to 10

    TFont printer;
    printer.SetPixelsPerInch(600);
    printer.Assign(f);            // the size in points carries over
    EXPECT_EQ(printer.Size(), 10);
    EXPECT_EQ(printer.Height(), -83);

    int changes = 0;
    TFont watched([&changes] { ++changes; });
    watched.SetName(QStringLiteral("Arial"));
    watched.SetSize(8);
    EXPECT_EQ(changes, 0);
    watched.SetStyle(fsBold | fsItalic);
    EXPECT_EQ(changes, 1);
    const gdi::Font d = watched.DeviceFont();
    EXPECT_EQ(d.weight, gdi::FW_BOLD);
    EXPECT_TRUE(d.italic);
    EXPECT_FALSE(d.underline);
    EXPECT_EQ(d.height, -11);
}

TEST(CanvasObjects, BrushesMapToDeviceBrushes)
{
    TBrush b;
    EXPECT_EQ(b.DeviceBrush().style, gdi::BS_SOLID);
    EXPECT_EQ(b.DeviceBrush().color, 0xFFFFFFu);
    const std::pair<TBrushStyle, int32_t> hatches[] = {{bsHorizontal, gdi::HS_HORIZONTAL}, {bsVertical, gdi::HS_VERTICAL},
                                                       {bsFDiagonal, gdi::HS_FDIAGONAL},   {bsBDiagonal, gdi::HS_BDIAGONAL},
                                                       {bsCross, gdi::HS_CROSS},           {bsDiagCross, gdi::HS_DIAGCROSS}};
    for (const auto& [style, hatch] : hatches) {
        b.SetStyle(style);
        EXPECT_EQ(b.DeviceBrush().style, gdi::BS_HATCHED);
        EXPECT_EQ(b.DeviceBrush().hatch, hatch);
    }
    b.SetStyle(bsClear);
    EXPECT_EQ(b.DeviceBrush().style, gdi::BS_NULL);
    QImage pattern(2, 2, QImage::Format_RGB32);
    b.SetBitmap(pattern);
    EXPECT_EQ(b.DeviceBrush().style, gdi::BS_PATTERN);   // a bitmap wins over the style
    b.SetColor(clBtnFace);
    EXPECT_EQ(b.DeviceBrush().color, 0xC0C0C0u);         // system colours resolve
}

TEST(CanvasObjects, PenHandleStandsInUntilAPropertyChanges)
{
    int changes = 0;
    TPen pen([&changes] { ++changes; });
    gdi::Pen extended;
    extended.style = gdi::PS_GEOMETRIC | gdi::PS_ENDCAP_FLAT;
    extended.width = 4;
    pen.SetHandle(extended);
    EXPECT_EQ(pen.DevicePen(), extended);
    TPen copy;
    copy.Assign(pen);
    ASSERT_TRUE(copy.Handle().has_value());
    EXPECT_EQ(*copy.Handle(), extended);
    pen.SetColor(clRed);
    EXPECT_FALSE(pen.Handle().has_value());
    EXPECT_EQ(pen.DevicePen().style, gdi::PS_SOLID);
    EXPECT_EQ(pen.DevicePen().color, 0x0000FFu);
    EXPECT_EQ(changes, 2);
    pen.SetWidth(-2);   // refused
    EXPECT_EQ(pen.Width(), 1);
}

TEST(CanvasObjects, CanvasSelectsChangedObjectsBeforeItDraws)
{
    gdi::RasterDC dc(20, 10);
    TCanvas canvas(&dc);
    canvas.Pen().SetColor(clRed);
    canvas.MoveTo(0, 2);
    canvas.LineTo(10, 2);
    EXPECT_EQ(dc.GetPixel(5, 2), 0x0000FFu);
    canvas.Pen().SetColor(clBlue);
    canvas.Pen().SetMode(pmXor);
    canvas.MoveTo(0, 2);
    canvas.LineTo(10, 2);
    EXPECT_EQ(dc.GetPixel(5, 2), 0xFF00FFu);   // red XOR blue
    EXPECT_EQ(dc.GetROP2(), gdi::R2_XORPEN);

    canvas.Brush().SetColor(clLime);
    canvas.FrameRect(TRect{12, 1, 18, 8});
    EXPECT_EQ(dc.GetPixel(12, 1), 0x00FF00u);
    EXPECT_EQ(dc.GetPixel(17, 7), 0x00FF00u);
    EXPECT_EQ(dc.GetPixel(14, 4), 0xFFFFFFu);
    EXPECT_EQ(dc.GetPixel(18, 4), 0xFFFFFFu);

    QImage src(4, 4, QImage::Format_RGB32);
    src.fill(qRgb(1, 2, 3));
    src.setPixel(3, 3, qRgb(9, 9, 9));
    canvas.CopyRect(TRect{0, 6, 2, 8}, src, TRect{2, 2, 4, 4});
    EXPECT_EQ(dc.GetPixel(0, 6), gdi::RGB(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(1, 7), gdi::RGB(9, 9, 9));
    canvas.Draw(0, 0, QImage());   // an empty graphic draws nothing
    EXPECT_EQ(canvas.Pixel(-1, 0), clNone);

    TCanvas detached;
    detached.LineTo(5, 5);   // no device: nothing, no crash
    EXPECT_EQ(detached.TextWidth(QStringLiteral("x")), 0);
}
