// The chart unit's registries: class names, series types, tool classes and colour palettes.
#include "chart/series/ChartUnit.h"
#include "chart/engine/ChartTools.h"
#include "chart/engine/SeriesFunctions.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartLibrary.h"
#include "chart/series/ColorPalettes.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesReplace.h"

#include <gtest/gtest.h>

namespace {

class BandTool : public TPlotCustomTool {
public:
    QString ClassName() const override { return QStringLiteral("TBandTool"); }
};
class MarkTool : public TPlotCustomToolSeries {
public:
    QString ClassName() const override { return QStringLiteral("TMarkTool"); }
};

} // namespace

TEST(ChartUnit, StartsOnceAndEmptiesAtTheLastStop)
{
    ChartUnitState unit;
    StartChartUnit(unit);
    StartChartUnit(unit);
    ASSERT_TRUE(unit.SeriesTypes && unit.ToolTypes && unit.ColorPalettes);
    EXPECT_EQ(unit.ColorPalettes->size(), 16);
    EXPECT_EQ(unit.ColorPalettes->front(), QStringLiteral("PlotChart"));
    EXPECT_EQ(unit.ColorPalettes->back(), QStringLiteral("Cool"));
    // The seven functions, each with a line series on the page "Functions", once.
    const TPlotSeriesTypes& types = *unit.SeriesTypes;
    ASSERT_EQ(types.Count(), 7);
    EXPECT_EQ(types.Get(0).FunctionClass->ClassName, QStringLiteral("TAddFunction"));
    EXPECT_EQ(types.Get(6).DescriptionText(), QStringLiteral("Average"));
    EXPECT_EQ(types.Get(3).GalleryPageText(), QStringLiteral("Functions"));
    EXPECT_EQ(types.Get(3).SeriesClass, &SeriesClassOf<TLineSeries>());
    EXPECT_EQ(types.FindSeriesClass(SeriesClassOf<TLineSeries>()), nullptr); // only with functions yet

    StopChartUnit(unit);
    EXPECT_TRUE(unit.ColorPalettes);
    StopChartUnit(unit);
    EXPECT_FALSE(unit.ColorPalettes || unit.SeriesTypes || unit.ToolTypes);
    EXPECT_EQ(unit.Classes.Count(), 0);
    StopChartUnit(unit); // one stop too many changes nothing
    EXPECT_EQ(unit.StartCount, 0);
}

// What the library's start registers (the standard series join from the gallery's start, the
// tools from theirs) can all be created by class name, and the last stop empties it again.
TEST(ChartLibrary, EveryRegisteredClassIsCreatedByName)
{
    ChartLibraryState library;
    StartChartLibrary(library);
    StartChartLibrary(library);
    RegisterStandardSeries(library.Chart);
    RegisterToolClasses(library.Chart, {&ToolClassOf<BandTool>(), &ToolClassOf<MarkTool>()});
    EXPECT_EQ(library.Texts[LibText::ToolMagnify], QStringLiteral("Magnify"));
    EXPECT_EQ(library.Engine.StartCount, 2);

    const TPlotSeriesTypes& types = PlotSeriesTypes(library.Chart);
    ASSERT_EQ(types.Count(), 7 + 1 + 9); // functions, arrow, standard series
    QStringList names;
    for (int i = 0; i < types.Count(); ++i) {
        names << types.Get(i).SeriesClass->Name;
        if (types.Get(i).FunctionClass)
            names << types.Get(i).FunctionClass->ClassName;
    }
    for (int i = 0; i < PlotToolTypes(library.Chart).Count(); ++i)
        names << PlotToolTypes(library.Chart).Get(i).Name;
    EXPECT_TRUE(names.contains(QStringLiteral("TArrowSeries")));
    EXPECT_TRUE(names.contains(QStringLiteral("TDivideFunction")));
    for (const QString& name : names) {
        const std::unique_ptr<ChartComponent> part = library.Chart.Classes.Create(name);
        ASSERT_TRUE(part) << name.toStdString();
        EXPECT_EQ(part->ClassName(), name);
    }

    StopChartLibrary(library);
    EXPECT_EQ(PlotSeriesTypes(library.Chart).Count(), 17);
    StopChartLibrary(library);
    EXPECT_TRUE(library.Texts[LibText::ToolMagnify].isEmpty());
    EXPECT_FALSE(library.Chart.SeriesTypes || library.Chart.ToolTypes);
    EXPECT_EQ(library.Chart.Classes.Count(), 0);
    EXPECT_EQ(library.Engine.StartCount, 0);
}

TEST(ChartUnit, SeriesTypesAreEnteredOncePerClassPair)
{
    ChartUnitState unit;
    RegisterPlotSeries(unit, SeriesClassOf<TLineSeries>(), PlotMsg::SeriesLine);
    RegisterPlotSeries(unit, SeriesClassOf<TLineSeries>(), PlotMsg::SeriesArea, PlotMsg::PageExtended, 1);
    ASSERT_EQ(PlotSeriesTypes(unit).Count(), 1);
    const TPlotSeriesType& line = PlotSeriesTypes(unit).Get(0);
    EXPECT_EQ(line.DescriptionText(), QStringLiteral("Line"));
    EXPECT_EQ(line.GalleryPageText(), QStringLiteral("Standard"));
    EXPECT_EQ(line.NumGallerySeries, 2);
    // Another sub-index is another entry of the same pair; a function makes another pair.
    RegisterPlotSeriesFunction(
        unit, SeriesClassOf<TLineSeries>(), nullptr, PlotMsg::SeriesLine, PlotMsg::PageStandard, 2, 1);
    const TPlotFunctionClass& high = *FindPlotFunctionClass(QStringLiteral("THighFunction"));
    RegisterPlotSeriesFunction(
        unit, SeriesClassOf<TLineSeries>(), &high, high.Description, PlotMsg::PageFunctions, 1);
    RegisterPlotSeriesFunction(
        unit, SeriesClassOf<TLineSeries>(), &high, high.Description, PlotMsg::PageFunctions, 1);
    EXPECT_EQ(PlotSeriesTypes(unit).Count(), 3);
    EXPECT_EQ(
        PlotSeriesTypes(unit).FindSeriesClass(QStringLiteral("tlineseries")), &PlotSeriesTypes(unit).Get(0));

    // Both classes are known by name from now on, in any case.
    const auto series = unit.Classes.CreateAs<TChartSeries>(QStringLiteral("TLINESERIES"));
    ASSERT_TRUE(series);
    EXPECT_EQ(series->ClassName(), QStringLiteral("TLineSeries"));
    EXPECT_TRUE(unit.Classes.CreateAs<TPlotFunction>(QStringLiteral("THighFunction")));
    EXPECT_FALSE(unit.Classes.CreateAs<TPlotCustomTool>(QStringLiteral("TLineSeries")));
    EXPECT_FALSE(unit.Classes.Create(QStringLiteral("TNoSuchSeries")));
}

TEST(ChartUnit, ToolClassesJoinAndLeaveTheListAndTheNames)
{
    ChartUnitState unit;
    StartChartUnit(unit);
    RegisterToolClasses(unit, {&ToolClassOf<BandTool>(), &ToolClassOf<MarkTool>(), &ToolClassOf<BandTool>()});
    const TPlotToolTypes& tools = PlotToolTypes(unit);
    ASSERT_EQ(tools.Count(), 2);
    EXPECT_EQ(&tools.Get(1), &ToolClassOf<MarkTool>());
    const auto tool = unit.Classes.CreateAs<TPlotCustomToolSeries>(QStringLiteral("TMarkTool"));
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->ClassName(), QStringLiteral("TMarkTool"));

    // A stored chart's parts by name: series and tools go on the chart, a function to its series.
    TChart chart;
    RegisterStandardSeries(unit);
    ChartComponent* series
        = CreateChartPart(unit.Classes, chart, QStringLiteral("TPointSeries"), QStringLiteral("Series4"));
    ASSERT_TRUE(series);
    EXPECT_EQ(chart.Series(0), series);
    EXPECT_TRUE(chart.OwnsSeries(chart.Series(0)));
    EXPECT_EQ(series->Name(), QStringLiteral("Series4"));
    ChartComponent* band
        = CreateChartPart(unit.Classes, chart, QStringLiteral("TBandTool"), QStringLiteral("Band1"));
    ASSERT_EQ(chart.Tools().Count(), 1);
    EXPECT_EQ(chart.Tools()[0], band);
    ChartComponent* function = CreateChartPart(unit.Classes, chart, QStringLiteral("TAddFunction"),
        QStringLiteral("PlotFunction1"), chart.ChartSeries(0));
    ASSERT_TRUE(function);
    EXPECT_EQ(chart.ChartSeries(0)->Function(), function);
    EXPECT_FALSE(CreateChartPart(unit.Classes, chart, QStringLiteral("TAddFunction"), QStringLiteral("x")));
    EXPECT_FALSE(CreateChartPart(unit.Classes, chart, QStringLiteral("TNoSuchTool"), QStringLiteral("x")));

    UnregisterToolClasses(unit, {&ToolClassOf<BandTool>()});
    EXPECT_EQ(tools.Count(), 1);
    EXPECT_FALSE(unit.Classes.IsRegistered(QStringLiteral("TBandTool")));
    EXPECT_TRUE(unit.Classes.IsRegistered(QStringLiteral("TMarkTool")));
    StopChartUnit(unit);
}

TEST(ColorPalettes, CountsFirstAndLastColours)
{
    struct Expected {
        int count;
        TColor first, last;
    };
    const Expected expected[] = {
        {22, 0xFF9999, 0xCC99FF},
        {11, 0xA1A55D, 0x846401},
        {14, 0xFFFFCC, 0xCCFFCC},
        {8, 0xFF0000, 0xFFFFFF},
        {12, 0xFF0000, 0x008080},
        {9, 0x00A5FF, 0x408080},
        {14, 0x6699FF, 0xFFCCCC},
        {25, 0x000099, 0xFF00CC},
        {13, 0xFE9B82, 0x7B715F},
        {16, 0xFFFFFF, 0x000000},
        {15, 0xD21F00, 0xD99596},
        {15, 0xF0F0F0, 0x101010},
        {12, 0xA36644, 0xB4B4B4},
        {8, 0x8DEAF3, 0x0E08B3},
        {8, 0x6B402B, 0x637B1D},
    };
    for (int index = 1; index <= 15; ++index) {
        const std::vector<TColor>& colors = ColorPaletteColors(index);
        const Expected& e = expected[index - 1];
        ASSERT_EQ(static_cast<int>(colors.size()), e.count) << index;
        EXPECT_EQ(colors.front(), e.first) << index;
        EXPECT_EQ(colors.back(), e.last) << index;
    }
    for (const int outside : {0, 16, -1, -1000})
        EXPECT_TRUE(ColorPaletteColors(outside).empty()) << outside;
}

TEST(ColorPalettes, NamesWithTheirIndexesAfterDefault)
{
    ChartUnitState unit;
    std::vector<ColorPaletteItem> items;
    StartChartUnit(unit);
    FillColorPaletteNames(unit, items, true);
    ASSERT_EQ(items.size(), 17u);
    EXPECT_EQ(items[0].Text, QStringLiteral("Default"));
    EXPECT_EQ(items[0].Index, 0);
    EXPECT_EQ(items[10].Text, QStringLiteral("Win. XP"));
    EXPECT_EQ(items[10].Index, 9);
    EXPECT_EQ(items[16].Text, QStringLiteral("Cool"));
    EXPECT_EQ(items[16].Index, 15);
    items.clear();
    FillColorPaletteNames(unit, items, false);
    EXPECT_EQ(items.front().Text, QStringLiteral("PlotChart"));
    StopChartUnit(unit);
}

// Index 16 and a stored -1 behave like 0: the chart's own colours, nothing read past the table.
TEST(ColorPalettes, OutsideTheTableTheChartKeepsItsOwnColours)
{
    TChart chart;
    SetColorPalette(chart, 5);
    EXPECT_EQ(chart.ColorPaletteIndex(), 5);
    EXPECT_EQ(chart.GetDefaultColor(13), 0x00FF00); // cycles: 13 % 12 = 1
    for (const int index : {16, -1, 0}) {
        SetColorPalette(chart, 2);
        SetColorPalette(chart, index);
        EXPECT_TRUE(chart.ColorPalette().empty()) << index;
        EXPECT_EQ(chart.ColorPaletteIndex(), index);
        EXPECT_EQ(chart.GetDefaultColor(0), LibraryPaletteColor(0));
    }
    EXPECT_TRUE(chart.ReadLegacyProperty(QStringLiteral("ColorPaletteIndex"), 8));
    EXPECT_EQ(chart.ColorPalette(), ColorPaletteColors(8));
}

// New series take the palette's colours in turn, skipping the back wall's; past the palette
// the chart repeats its last colour, and point colours cycle through it.
TEST(ColorPalettes, SeriesTakeThePaletteColoursInTurn)
{
    TChart chart;
    chart.SetColorPaletteIndex(8); // 25 distinct colours, none the chart's background
    const std::vector<TColor>& rainbow = ColorPaletteColors(8);
    std::vector<std::unique_ptr<TLineSeries>> series;
    for (int i = 0; i < 30; ++i) {
        series.push_back(std::make_unique<TLineSeries>());
        chart.AddSeries(series.back().get());
        const size_t expected = std::min<size_t>(static_cast<size_t>(i), rainbow.size() - 1);
        EXPECT_EQ(series.back()->SeriesColor(), rainbow[expected]) << i;
    }
    series[0]->SetColorEachPoint(true);
    for (int i = 0; i < 30; ++i)
        series[0]->AddPointXY(i, i);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(series[0]->GetValueColor(i), rainbow[static_cast<size_t>(i) % rainbow.size()]) << i;
    for (auto& s : series)
        chart.RemoveSeries(*s);
}
