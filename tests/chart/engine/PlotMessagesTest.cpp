#include "chart/engine/PlotMessages.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

QString Msg(PlotMsg id)
{
    return PlotMessage(id);
}

TEST(PlotMessages, TableHasBannerPlusAllTexts)
{
    InitChartMessages();
    InitChartMessages(); // a second start-up must not disturb the texts
    EXPECT_EQ(PlotMessageCount(), 339);
    for (int i = 1; i < PlotMessageCount(); ++i)
        EXPECT_FALSE(PlotMessage(static_cast<PlotMsg>(i)).isEmpty()) << "row " << i;
    EXPECT_TRUE(PlotMessage(PlotMsg::Count).isEmpty());
    EXPECT_TRUE(PlotMessage(static_cast<PlotMsg>(-1)).isEmpty());
}

// First and last text of every group, so that a row slipped in or lost anywhere in between
// shows up as a mismatch at the next group boundary.
TEST(PlotMessages, GroupBoundariesHoldTheirTexts)
{
    const std::vector<std::pair<PlotMsg, const char*>> expected = {
        {PlotMsg::ErrLegendFirstValue, "First Legend Value must be > 0"},
        {PlotMsg::ErrColorDepth, "16k Color or greater required to get better look"},
        {PlotMsg::FmtOf, "%s of %s"},
        {PlotMsg::FmtDegree, "\xC2\xB0"},
        {PlotMsg::NameAxisTitle, "Axis Title"},
        {PlotMsg::NameArial, "Arial"},
        {PlotMsg::SeriesLine, "Line"},
        {PlotMsg::SeriesHorizArea, "Horizontal\rArea"},
        {PlotMsg::GalleryNormal, "Normal"},
        {PlotMsg::GallerySmallDots, "Small Dots"},
        {PlotMsg::PageStandard, "Standard"},
        {PlotMsg::PageOther, "Other"},
        {PlotMsg::FunctionAdd, "Add"},
        {PlotMsg::FunctionCalculateEvery, "Calculate %s every:"},
        {PlotMsg::SampleCars, "Cars"},
        {PlotMsg::SampleEndY, "EndY"},
        {PlotMsg::ExportAsBitmap, "as &Bitmap"},
        {PlotMsg::ExportChartFiles, "PlotChart files"},
        {PlotMsg::FilterAntialias, "Antialias"},
        {PlotMsg::FilterZoom, "Zoom"},
        {PlotMsg::PaletteDefault, "Default"},
        {PlotMsg::PaletteCool, "Cool"},
        {PlotMsg::ViewOrthoRight, "Ortho Right"},
        {PlotMsg::View3DLeft, "3D Left"},
        {PlotMsg::EditorTest, "Test..."},
        {PlotMsg::EditorRecordVideo, "&Record Video !"},
    };
    for (const auto& [id, text] : expected)
        EXPECT_EQ(Msg(id), QString::fromUtf8(text)) << static_cast<int>(id);
    // The groups follow each other without gaps: 29 + 8 + 16 + 15 + 40 + 8 + 16 + 31 + 34 + 30
    // + 17 + 5 + 89 texts after the banner.
    EXPECT_EQ(static_cast<int>(PlotMsg::FmtOf), 1 + 29);
    EXPECT_EQ(static_cast<int>(PlotMsg::FilterAntialias), 1 + 29 + 8 + 16 + 15 + 40 + 8 + 16 + 31 + 34);
    EXPECT_EQ(static_cast<int>(PlotMsg::EditorRecordVideo), 338);
}

TEST(PlotMessages, AxisValidationTextsAreExact)
{
    EXPECT_EQ(Msg(PlotMsg::ErrAxisMinimum), "Axis Minimum Value must be <= Maximum");
    EXPECT_EQ(Msg(PlotMsg::ErrAxisMaximum), "Axis Maximum Value must be >= Minimum");
    EXPECT_EQ(Msg(PlotMsg::ErrAxisIncrement), "Axis increment must be >= 0");
    EXPECT_EQ(Msg(PlotMsg::ErrAxisLabelsSeparation), "Labels Separation % must be greater than 0");
    EXPECT_EQ(Msg(PlotMsg::ErrAxisLogarithmicBase), "Axis Logarithmic Base should be > 1");
    EXPECT_EQ(Msg(PlotMsg::ErrAxisDateTimeLogarithmic), "DateTime Axis cannot be Logarithmic");
    EXPECT_EQ(Msg(PlotMsg::ErrAxisLogarithmicNegative), "Logarithmic Axis Min and Max values should be >= 0");
    EXPECT_EQ(Msg(PlotMsg::ErrSeriesDeleteIndex), "Series Delete: ValueIndex %d out of bounds (0 to %d).");
    EXPECT_EQ(Msg(PlotMsg::Err3DPercent), "3D effect percent must be between %d and %d");
}

TEST(PlotMessages, FormatsAndPunctuationAreKept)
{
    EXPECT_EQ(Msg(PlotMsg::FmtValue), "#,##0.###");
    EXPECT_EQ(Msg(PlotMsg::FmtPercent), "##0.## %");
    EXPECT_EQ(Msg(PlotMsg::FmtExponent), "#.0 \"x10\" E+0");
    EXPECT_EQ(Msg(PlotMsg::EditorDeleteQuestion), "Delete %s ?");
    EXPECT_EQ(Msg(PlotMsg::EditorApplyChanges), "Apply Changes ?");
    EXPECT_EQ(Msg(PlotMsg::EditorCustomPrefix), "Custom ");
    EXPECT_EQ(Msg(PlotMsg::EditorNextPage), "&Next >");
    EXPECT_EQ(Msg(PlotMsg::EditorNextRecord), "Next");
    EXPECT_EQ(Msg(PlotMsg::EditorDatasetLabel), "&Dataset:");
    EXPECT_EQ(Msg(PlotMsg::EditorNumber414), "414");
    EXPECT_EQ(Msg(PlotMsg::ExportFilterMetafile), "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
    EXPECT_EQ(Msg(PlotMsg::FilterHueLumSat), "Hue,Lum,Sat");
    EXPECT_EQ(Msg(PlotMsg::FilterGrayScale), "Gray scale");
    EXPECT_EQ(Msg(PlotMsg::PaletteGrayScale), "Gray scale");
    EXPECT_EQ(Msg(PlotMsg::GalleryStack100), "Stack 100%");
}

TEST(PlotMessages, LineBreaksAreSingleCarriageReturns)
{
    const std::vector<PlotMsg> twoLine = {PlotMsg::FmtOfTwoLines, PlotMsg::SeriesHorizBar,
                                          PlotMsg::SeriesHorizLine, PlotMsg::SeriesHorizArea};
    for (PlotMsg id : twoLine) {
        const QString text = Msg(id);
        EXPECT_EQ(text.count(QChar(13)), 1) << static_cast<int>(id);
    }
    EXPECT_EQ(Msg(PlotMsg::FmtOfTwoLines), QString("%s") + QChar(13) + "of %s");
    EXPECT_EQ(Msg(PlotMsg::SeriesHorizBar), QString("Horizontal") + QChar(13) + "Bar");

    int withBreak = 0;
    for (int i = 0; i < PlotMessageCount(); ++i) {
        const QString text = PlotMessage(static_cast<PlotMsg>(i));
        EXPECT_FALSE(text.contains(QChar(10))) << "row " << i;
        if (text.contains(QChar(13)))
            ++withBreak;
    }
    EXPECT_EQ(withBreak, 4);
}

} // namespace

#include "app/NumberText.h"
#include "chart/canvas/PlotFilters.h"

namespace {

TEST(PlotMessages, DefaultValueFormatGroupsThousands)
{
    ScopedDecimalSeparator mark('.');
    const QChar oldThousands = ThousandSeparator();
    SetThousandSeparator(',');
    EXPECT_EQ(FormatFloat(PlotMessage(PlotMsg::FmtValue), 1234.5), "1,234.5");
    EXPECT_EQ(FormatFloat(PlotMessage(PlotMsg::FmtValue), 0.12345), "0.123");
    SetThousandSeparator(oldThousands);
}

// The filters caption themselves with texts of the table; the canvas sits below the engine, so
// they carry the texts themselves and this keeps the two in step.
TEST(PlotMessages, FilterDescriptionsComeFromTheTable)
{
    const std::vector<std::pair<const char*, PlotMsg>> expected = {
        {"TInvertFilter", PlotMsg::FilterInvert},       {"TGrayScaleFilter", PlotMsg::FilterGrayScale},
        {"TMosaicFilter", PlotMsg::FilterMosaic},       {"TFlipFilter", PlotMsg::FilterFlip},
        {"TReverseFilter", PlotMsg::FilterReverse},     {"TBrightnessFilter", PlotMsg::FilterBrightness},
        {"TContrastFilter", PlotMsg::FilterContrast},   {"TColorFilter", PlotMsg::FilterColor},
        {"THueLumSatFilter", PlotMsg::FilterHueLumSat}, {"TBlurFilter", PlotMsg::FilterBlur},
        {"TSharpenFilter", PlotMsg::FilterSharpen},     {"TGammaCorrectionFilter", PlotMsg::FilterGammaCorrection},
        {"TEmbossFilter", PlotMsg::FilterEmboss},       {"TSoftenFilter", PlotMsg::FilterAntialias},
        {"TCropFilter", PlotMsg::FilterCrop},           {"TResizeFilter", PlotMsg::FilterResize},
        {"TRotateFilter", PlotMsg::FilterRotate},       {"TMirrorFilter", PlotMsg::FilterMirror},
        {"TTileFilter", PlotMsg::FilterTile},           {"TBevelFilter", PlotMsg::FilterBevel},
        {"TZoomFilter", PlotMsg::FilterZoom}};
    ASSERT_EQ(RegisteredFilterClasses().size(), expected.size());
    for (const auto& [name, id] : expected) {
        const TPlotFilterClass* c = FindFilterClass(QString::fromLatin1(name));
        ASSERT_NE(c, nullptr) << name;
        EXPECT_EQ(c->create()->Description(), PlotMessage(id)) << name;
    }
}

} // namespace
