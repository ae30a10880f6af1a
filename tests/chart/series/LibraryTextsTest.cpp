// The library text table: its rows, and when they are filled and emptied.
#include "chart/series/LibraryTexts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool AllEmpty(const TLibraryTexts& texts)
{
    return std::all_of(texts.Texts.begin(), texts.Texts.end(), [](const QString& t) { return t.isEmpty(); });
}

} // namespace

TEST(LibraryTexts, FirstAndLastTextOfEveryGroup)
{
    struct Group {
        LibText first, last;
        const char* firstText;
        const char* lastText;
    };
    const Group groups[] = {
        {LibText::GalleryPolar, LibText::GalleryVolumePipe, "Polar", "VolumePipe"},
        {LibText::ErrPolyDegree, LibText::ErrExpAverageWeight, "Polynomial degree must be between 1 and 20",
            "ExpAverage Weight must be between 0 and 1"},
        {LibText::FunctionErrorBar, LibText::FunctionCount, "Error Bar", "Count"},
        {LibText::OpenChartFile, LibText::ErrSeriesEditorForm, "Open PlotChart...",
            "Cannot find Series editor Form: %s"},
        {LibText::ValueListDate, LibText::ErrBezierPoints, "Date", "Number of Bezier points should be > 1"},
        {LibText::CommanderNormal, LibText::GalleryTriangleSurface, "Normal", "Triangle Surf."},
        {LibText::PageAllSeries, LibText::ToolAnnotation, "All Series", "Annotation"},
        {LibText::ErrDeleteAncestor, LibText::MenuSave, "Can not delete ancestor", "&Save..."},
        {LibText::StyleBar, LibText::ErrSeriesTextFieldIndex, "Bar",
            "SeriesText: Field index should be greater than zero."},
        {LibText::NameOrigin, LibText::ToolVideoCreator, "Origin", "Video creator"},
        {LibText::ToolVideoCreatorDesc, LibText::NameRandom, "Creates an AVI video with Chart images",
            "Random"},
        {LibText::MenuPlay, LibText::GalleryOrgChart, "&Play", "Org.Chart"},
        {LibText::MapWorld, LibText::PageMaps, "World", "Maps"},
        {LibText::GalleryTagCloud, LibText::MpegVideoFilter, "Tag Cloud", "MPEG Video files"},
    };
    // Rows 1-25, 26-30, ... 320-334: each group starts right after the one before.
    const int firstRows[] = {1, 26, 31, 52, 58, 67, 94, 108, 133, 164, 228, 265, 305, 320};
    static_assert(kLibraryTextCount == 334);

    TLibraryTexts texts;
    StartLibraryTexts(texts);
    for (int g = 0; g < 14; ++g) {
        EXPECT_EQ(static_cast<int>(groups[g].first) + 1, firstRows[g]) << g;
        const int nextFirst = g < 13 ? firstRows[g + 1] : kLibraryTextCount + 1;
        EXPECT_EQ(static_cast<int>(groups[g].last) + 1, nextFirst - 1) << g;
        EXPECT_EQ(texts[groups[g].first], QString::fromUtf8(groups[g].firstText)) << g;
        EXPECT_EQ(texts[groups[g].last], QString::fromUtf8(groups[g].lastText)) << g;
    }
    EXPECT_FALSE(
        std::any_of(texts.Texts.begin(), texts.Texts.end(), [](const QString& t) { return t.isEmpty(); }));

    EXPECT_EQ(texts[LibText::GalleryHorizBoxPlot],
        QStringLiteral("Horizontal") + QChar(13) + QStringLiteral("BoxPlot"));
    EXPECT_EQ(texts[LibText::CommanderRotationStatus],
        QStringLiteral("Rotation: %d") + QChar(0xB0) + QStringLiteral(" Elevation: %d") + QChar(0xB0));
    EXPECT_TRUE(
        texts[LibText::ToolMarkTipsDesc].startsWith(QStringLiteral("Displays \"tips\" or \"hints\" when")));
    EXPECT_EQ(texts[LibText::StyleSegment], QStringLiteral("Segment "));
    EXPECT_EQ(texts[LibText::FunnelWithinQuota], QStringLiteral(" within quota"));
    EXPECT_EQ(texts[LibText::ToolMagnify], QStringLiteral("Magnify"));
    EXPECT_EQ(texts[LibText::ToolMagnifyDesc], QStringLiteral("Magnifies a portion of chart"));
    StopLibraryTexts(texts);
}

TEST(LibraryTexts, EmptyBeforeStartAndAfterTheLastStop)
{
    TLibraryTexts texts;
    EXPECT_TRUE(AllEmpty(texts));
    StartLibraryTexts(texts);
    texts[LibText::ToolMagnify] = QStringLiteral("Lupe"); // a translation
    StartLibraryTexts(texts);
    EXPECT_EQ(texts[LibText::ToolMagnify], QStringLiteral("Lupe")); // the second start assigns nothing
    StopLibraryTexts(texts);
    EXPECT_EQ(texts[LibText::PageMaps], QStringLiteral("Maps"));
    StopLibraryTexts(texts);
    EXPECT_TRUE(AllEmpty(texts));
    StopLibraryTexts(texts);
    StartLibraryTexts(texts);
    EXPECT_EQ(texts[LibText::ToolMagnify], QStringLiteral("Magnify"));
}
