#include "EditorsTestSupport.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/editors/ChartListBox.h"
#include "chart/editors/Gallery.h"
#include "chart/editors/GalleryAlternate.h"
#include "chart/editors/GalleryPanel.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartUnit.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TExtendedSeries : public TLineSeries {
public:
    QString ClassName() const override { return QStringLiteral("TExtendedSeries"); }
};
class THiddenSeries : public TLineSeries {
public:
    QString ClassName() const override { return QStringLiteral("THiddenSeries"); }
};

QString Key(const char* name) { return QString::fromLatin1(name); }

QStringList TabTexts(const QTabBar& bar)
{
    QStringList texts;
    for (int i = 0; i < bar.count(); ++i)
        texts << bar.tabText(i);
    return texts;
}

struct GalleryFixture : ::testing::Test {
    GalleryFixture()
    {
        QSettings(QStringLiteral("Zendrik"), QStringLiteral("PlotChart")).clear();
        RegisterPlotSeries(unit, SeriesClassOf<THiddenSeries>(), PlotMsg::SeriesLine, PlotMsg::PageOther, 0);
        RegisterPlotSeries(unit, SeriesClassOf<TExtendedSeries>(), PlotMsg::SeriesLine, PlotMsg::PageExtended, 1);
        StartGalleryUnit(gallery, unit, t.Hooks);
    }
    ~GalleryFixture() override { StopGalleryUnit(gallery); }

    TestDialogs t;
    ChartUnitState unit;
    GalleryUnitState gallery;
};

} // namespace

TEST_F(GalleryFixture, TabbedGalleryShowsPagesWithGallerySeriesStandardFirst)
{
    QStringList pages;
    QStringList types;
    t.Drive = [&](QDialog& d) {
        auto* g = dynamic_cast<TPlotGallery*>(&d);
        ASSERT_NE(g, nullptr);
        EXPECT_EQ(g->windowTitle(), QStringLiteral("PlotChart Gallery"));
        types = TabTexts(*g->typeTabs);
        pages = TabTexts(*g->pageTabs);
    };
    GalleryRequest request;
    request.WithFunctions = true;
    GalleryChoice choice;
    EXPECT_FALSE(ShowSeriesGallery(t.Hooks, unit, nullptr, request, choice));
    EXPECT_EQ(t.ModalRuns, 1);
    EXPECT_EQ(types, QStringList{"Series"});   // no calculated types registered
    EXPECT_EQ(pages, (QStringList{"Standard", "Extended"}));

    // With the chart unit's functions registered, they get their tab when offered.
    StartChartUnit(unit);
    ShowSeriesGallery(t.Hooks, unit, nullptr, request, choice);
    EXPECT_EQ(types, (QStringList{"Series", "Functions"}));
    request.WithFunctions = false;
    ShowSeriesGallery(t.Hooks, unit, nullptr, request, choice);
    EXPECT_EQ(types, QStringList{"Series"});
    StopChartUnit(unit);
}

TEST_F(GalleryFixture, EnterChoosesTheFocusedTypeAndTheChartTakesThe3DAndPaletteChoice)
{
    StartChartUnit(unit);   // the palette names
    TChart chart;
    t.Drive = [&](QDialog& d) {
        auto& g = dynamic_cast<TPlotGallery&>(d);
        g.view3DCheck->setChecked(false);
        g.paletteCombo->setCurrentIndex(g.paletteCombo->findData(3));
        g.panel->HandleKey(Qt::Key_Right, Qt::NoModifier);
        g.panel->HandleKey(Qt::Key_Return, Qt::NoModifier);   // closes with OK
    };
    const int before = chart.SeriesCount();
    TChartSeries* series = unit.AddSeriesHook(nullptr, chart);
    ASSERT_NE(series, nullptr);
    EXPECT_EQ(series->ClassName(), QStringLiteral("TBarSeries"));   // the second type registered
    EXPECT_EQ(chart.SeriesCount(), before + 1);
    EXPECT_EQ(chart.Series(before), series);
    EXPECT_FALSE(chart.View3D());
    EXPECT_EQ(chart.ColorPaletteIndex(), 3);

    t.Drive = [](QDialog& d) { ClickCancel(d); };
    EXPECT_EQ(unit.AddSeriesHook(nullptr, chart), nullptr);
    EXPECT_EQ(chart.SeriesCount(), before + 1);
    StopChartUnit(unit);
}

TEST_F(GalleryFixture, CreatedSeriesTakesTheSubStyleChosenInThePopup)
{
    TChart chart;
    t.Drive = [&](QDialog& d) {
        auto& g = dynamic_cast<TPlotGallery&>(d);
        ASSERT_TRUE(g.panel->SelectType(&SeriesClassOf<TFastLineSeries>(), nullptr));
        g.panel->HandleKey(Qt::Key_Down, Qt::AltModifier);
        ASSERT_NE(g.panel->SubPopup(), nullptr);
        QTest::keyClick(g.panel->SubPopup(), Qt::Key_Right);
        QTest::keyClick(g.panel->SubPopup(), Qt::Key_Right);
        QTest::keyClick(g.panel->SubPopup(), Qt::Key_Return);
        ClickOk(d);
    };
    auto* series = dynamic_cast<TFastLineSeries*>(unit.AddSeriesHook(nullptr, chart));
    ASSERT_NE(series, nullptr);
    EXPECT_TRUE(series->LinePen().SmallDots());
}

TEST_F(GalleryFixture, ChangingTheTypeKeepsNamePlacePointsAndTitle)
{
    TChart chart;
    chart.AddNewSeries<TLineSeries>().SetName(QStringLiteral("First"));
    TChartSeries* series = &chart.AddNewSeries<TLineSeries>();
    series->SetName(QStringLiteral("Trace"));
    series->SetTitle(QStringLiteral("Raw trace"));
    series->AddPointXY(1, 10);
    series->AddPointXY(2, 20);
    series->AddPointXY(3, 15);

    const TChartSeriesClass* preselected = nullptr;
    t.Drive = [&](QDialog& d) {
        auto& g = dynamic_cast<TPlotGallery&>(d);
        preselected = g.panel->SelectedChart() ? g.panel->SelectedChart()->SeriesClass : nullptr;
        ClickOk(d);   // the series' own type, no sub-style
    };
    TChartSeries* const original = series;
    EXPECT_EQ(unit.ChangeSeriesTypeHook(series), &SeriesClassOf<TLineSeries>());
    EXPECT_EQ(preselected, &SeriesClassOf<TLineSeries>());
    EXPECT_EQ(series, original);

    t.Drive = [&](QDialog& d) {
        auto& g = dynamic_cast<TPlotGallery&>(d);
        ASSERT_TRUE(g.panel->SelectType(&SeriesClassOf<TPointSeries>(), nullptr));
        ClickOk(d);
    };
    EXPECT_EQ(unit.ChangeSeriesTypeHook(series), &SeriesClassOf<TPointSeries>());
    ASSERT_NE(dynamic_cast<TPointSeries*>(series), nullptr);
    EXPECT_EQ(series->Name(), QStringLiteral("Trace"));
    EXPECT_EQ(series->Title(), QStringLiteral("Raw trace"));
    EXPECT_EQ(chart.SeriesCount(), 2);
    EXPECT_EQ(chart.Series(1), series);
    ASSERT_EQ(series->Count(), 3);
    EXPECT_EQ(series->GetPointY(1), 20);

    // A series on no chart and of no owner cannot be replaced; that is no success.
    TLineSeries loose;
    TChartSeries* looseSeries = &loose;
    EXPECT_EQ(unit.ChangeSeriesTypeHook(looseSeries), nullptr);
    EXPECT_EQ(looseSeries, &loose);
}

TEST_F(GalleryFixture, UnitStartsAreCountedAndTheLastStopEmptiesTheHooks)
{
    StartGalleryUnit(gallery, unit, t.Hooks);
    StopGalleryUnit(gallery);
    EXPECT_TRUE(unit.AddSeriesHook);
    EXPECT_TRUE(unit.ChangeSeriesTypeHook);
    const int types = PlotSeriesTypes(unit).Count();
    StopGalleryUnit(gallery);
    EXPECT_FALSE(unit.AddSeriesHook);
    EXPECT_FALSE(unit.ChangeSeriesTypeHook);
    StartGalleryUnit(gallery, unit, t.Hooks);   // registers nothing twice
    EXPECT_EQ(PlotSeriesTypes(unit).Count(), types);
}

TEST_F(GalleryFixture, SizeAndSmoothAreRemembered)
{
    WriteEditorInteger(Key(kEditorGalleryWidth), 640);
    WriteEditorInteger(Key(kEditorGalleryHeight), 480);
    QSize opened;
    t.Drive = [&](QDialog& d) {
        auto& g = dynamic_cast<TPlotGallery&>(d);
        opened = g.size();
        g.resize(700, 520);
        g.smoothCheck->setChecked(true);
        EXPECT_TRUE(g.panel->Smooth());
    };
    GalleryRequest request;
    GalleryChoice choice;
    ShowSeriesGallery(t.Hooks, unit, nullptr, request, choice);
    EXPECT_EQ(opened, QSize(640, 480));
    EXPECT_EQ(ReadEditorInteger(Key(kEditorGalleryWidth), 0), 700);
    EXPECT_EQ(ReadEditorInteger(Key(kEditorGalleryHeight), 0), 520);
    EXPECT_TRUE(ReadEditorBoolean(Key(kEditorSmoothGallery), false));

    // Not remembered: neither read nor written.
    WriteEditorBoolean(Key(kEditorRememberGallerySize), false);
    t.Drive = [&](QDialog& d) {
        opened = d.size();
        d.resize(720, 530);
    };
    ShowSeriesGallery(t.Hooks, unit, nullptr, request, choice);
    EXPECT_NE(opened, QSize(700, 520));
    EXPECT_EQ(ReadEditorInteger(Key(kEditorGalleryWidth), 0), 700);

    WriteEditorBoolean(Key(kEditorRememberGallerySize), true);
    WriteEditorInteger(Key(kEditorGalleryWidth), 2000000000);
    ShowSeriesGallery(t.Hooks, unit, nullptr, request, choice);
    EXPECT_TRUE(opened.width() > 100 && opened.width() <= 16384); // no screen is wider
}

TEST_F(GalleryFixture, AlternateGalleryListsTypesByPageAndOffersTheirVariants)
{
    WriteEditorInteger(Key(kEditorGalleryMode), 1);
    TChart chart;
    QStringList pages;
    QStringList standard;
    QStringList all;
    t.Drive = [&](QDialog& d) {
        auto* g = dynamic_cast<TPlotGalleryForm*>(&d);
        ASSERT_NE(g, nullptr);
        for (int i = 0; i < g->pageCombo->count(); ++i)
            pages << g->pageCombo->itemText(i);
        EXPECT_EQ(g->pageCombo->currentText(), QStringLiteral("Standard"));
        for (int i = 0; i < g->seriesList->count(); ++i)
            standard << g->seriesList->item(i)->text();
        g->pageCombo->setCurrentIndex(0);
        for (int i = 0; i < g->seriesList->count(); ++i)
            all << g->seriesList->item(i)->text();
        const auto fast = g->seriesList->findItems(QStringLiteral("Fast Line"), Qt::MatchExactly);
        ASSERT_EQ(fast.size(), 1);
        g->seriesList->setCurrentItem(fast.front());
        ASSERT_EQ(g->panel->Count(), 4);
        EXPECT_EQ(g->panel->Chart(3)->Title().Caption(), QStringLiteral("Stairs"));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(g, Qt::Key_Right);   // keys on the form go to the panel
        QTest::keyClick(g, Qt::Key_Return);
    };
    auto* series = dynamic_cast<TFastLineSeries*>(unit.AddSeriesHook(nullptr, chart));
    ASSERT_NE(series, nullptr);
    EXPECT_TRUE(series->Stairs());
    EXPECT_EQ(pages, (QStringList{"(all)", "Extended", "Standard"}));
    EXPECT_EQ(standard, (QStringList{"Area", "Bar", "Fast Line", "Horizontal Area", "Horizontal Bar", "Horizontal Line",
                                     "Line", "Pie", "Point"}));
    EXPECT_EQ(all.size(), 10);   // the standard types and "Extended"; the type without gallery series is left out
}
