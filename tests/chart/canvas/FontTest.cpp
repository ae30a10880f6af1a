#include "chart/canvas/LibrarySettings.h"
#include "chart/canvas/PlotFont.h"

#include <gtest/gtest.h>

namespace {

TEST(PlotFont, DefaultsAndLazyParts)
{
    int changes = 0;
    TPlotFont f([&changes] { ++changes; });
    EXPECT_EQ(f.Color(), clBlack);
    EXPECT_EQ(f.Charset(), 1);
    EXPECT_EQ(f.Name(), DefaultFontName());
    EXPECT_EQ(f.Size(), DefaultFontSize());
    EXPECT_EQ(f.InterCharSize(), 0);
    EXPECT_FALSE(f.IsColorStored());
    EXPECT_FALSE(f.IsHeightStored());
    EXPECT_FALSE(f.IsNameStored());
    EXPECT_FALSE(f.IsStyleStored());
    EXPECT_FALSE(f.HasGradient());
    EXPECT_FALSE(f.HasOutLine());
    EXPECT_FALSE(f.HasPicture());
    EXPECT_FALSE(f.OutLine().Visible()); // a hidden pen until switched on
    EXPECT_TRUE(f.HasOutLine());
    EXPECT_EQ(changes, 0);

    f.OutLine().SetVisible(true);
    f.Gradient().SetVisible(true);
    f.Picture().SetGraphic(QImage(2, 2, QImage::Format_RGB32));
    f.SetInterCharSize(2);
    f.SetInterCharSize(2);
    EXPECT_EQ(changes, 4);
    f.SetSize(f.Size() + 2);
    EXPECT_TRUE(f.IsHeightStored());
}

TEST(PlotFont, AssignCopiesExtrasAndFreesMissingOnes)
{
    TPlotFont source;
    source.SetName("Courier New");
    source.SetColor(clRed);
    source.SetInterCharSize(3);
    source.Shadow().SetSize(4);
    source.Gradient().SetOutline(true);
    source.OutLine().SetVisible(true);

    TPlotFont target;
    target.Picture();
    target.Assign(source);
    EXPECT_EQ(target.Name(), "Courier New");
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_EQ(target.InterCharSize(), 3);
    ASSERT_TRUE(target.HasShadow());
    EXPECT_EQ(target.Shadow().HorizSize(), 4);
    EXPECT_NE(&target.Shadow(), &source.Shadow());
    EXPECT_TRUE(target.Gradient().Outline());
    EXPECT_TRUE(target.OutLine().Visible());
    EXPECT_FALSE(target.HasPicture()); // the source has none

    target.SetShadow(nullptr);
    EXPECT_FALSE(target.HasShadow());

    TFont plain;
    plain.SetName("DejaVu Sans");
    target.Assign(plain); // a platform font carries only the platform properties
    EXPECT_EQ(target.Name(), "DejaVu Sans");
    EXPECT_EQ(target.InterCharSize(), 3);
}

} // namespace
