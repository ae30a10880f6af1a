#include "EditorsTestSupport.h"

#include "common/PictureSupport.h"

#include "chart/canvas/LibrarySettings.h"
#include "chart/editors/GalleryPanel.h"
#include "chart/series/ArrowSeries.h"
#include "chart/series/ChartUnit.h"
#include "chart/series/FastLineSeries.h"
#include "chart/series/LineSeries.h"
#include "chart/series/PieSeries.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Series types of their own, for pages the standard types do not fill.
template <int N>
class TNumberedSeries : public TLineSeries {
public:
    QString ClassName() const override { return QStringLiteral("TNumberedSeries%1").arg(N); }
};

// A type that takes no series as its source: shown disabled when a current series is checked.
class TRefusingSeries : public TLineSeries {
public:
    QString ClassName() const override { return QStringLiteral("TRefusingSeries"); }
    bool IsValidSourceOf(const ChartComponent*) const override { return false; }
};

int DistinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

template <int... N>
void RegisterNumbered(ChartUnitState& unit, std::integer_sequence<int, N...>)
{
    (RegisterPlotSeries(unit, SeriesClassOf<TNumberedSeries<N>>(), PlotMsg::SeriesLine, PlotMsg::PageExtended, 1),
     ...);
}

struct PanelFixture : ::testing::Test {
    PanelFixture()
    {
        QSettings(QStringLiteral("Zendrik"), QStringLiteral("PlotChart")).clear();
        RegisterStandardSeries(unit);
        panel = std::make_unique<TChartGalleryPanel>();
        panel->resize(400, 300);
    }
    const TPlotSeriesTypes& Types() { return PlotSeriesTypes(unit); }

    ChartUnitState unit;
    std::unique_ptr<TChartGalleryPanel> panel;
};

} // namespace

TEST_F(PanelFixture, CellsFollowTheGridAndTooFewColumnsNeverDivideByZero)
{
    EXPECT_EQ(panel->CellWidth(), (400 - panel->FrameWidth()) / 4);
    EXPECT_EQ(panel->CellHeight(), (300 - panel->FrameWidth()) / 3);
    const int w = panel->CellWidth();
    const int h = panel->CellHeight();
    EXPECT_EQ(panel->CellRect(0), QRect(0, 0, w, h));
    EXPECT_EQ(panel->CellRect(5), QRect(w, h, w, h));
    EXPECT_EQ(panel->CellRect(11), QRect(3 * w, 2 * h, w, h));
    // Beyond the last row the cell is clipped to the panel.
    EXPECT_EQ(panel->CellRect(12), QRect(0, 3 * h, w, 300 - 3 * h));

    RegisterNumbered(unit, std::make_integer_sequence<int, 13>());
    panel->FillGalleryPage(Types(), QStringLiteral("Extended"));
    EXPECT_EQ(panel->Count(), 13);
    EXPECT_EQ(panel->NumRows(), 4);
    EXPECT_EQ(panel->Chart(12)->geometry(), QRect(0, 3 * (299 / 4), 399 / 4, 299 / 4));

    EXPECT_EQ(GalleryRowsFor(13, 4), 4);
    EXPECT_EQ(GalleryRowsFor(13, 0), 13);
    panel->SetNumCols(0);
    panel->FillGalleryPage(Types(), QStringLiteral("Extended"));
    EXPECT_EQ(panel->Count(), 13);
    EXPECT_EQ(panel->CellWidth(), 0);
    EXPECT_TRUE(panel->CellRect(3).isEmpty());
    panel->HandleKey(Qt::Key_Down, Qt::AltModifier);   // the pop-up counts rows with NumCols too
    if (panel->SubPopup())
        panel->SubPopup()->Cancel();
}

TEST_F(PanelFixture, ArrowsStayInsideTheGridAndSkipNothingDisabledEnterChooses)
{
    panel->FillGalleryPage(Types(), QStringLiteral("Standard"));
    // line, bar, horizontal bar, area, point, pie, fast line, horizontal line and area
    ASSERT_EQ(panel->Count(), 9);
    EXPECT_EQ(panel->NumRows(), 3);
    EXPECT_EQ(panel->SelectedChart(), panel->Chart(0));
    EXPECT_EQ(panel->Chart(0)->objectName().left(16), QStringLiteral("PlotGalleryChart"));
    EXPECT_NE(panel->Chart(0)->objectName(), panel->Chart(1)->objectName());
    EXPECT_EQ(panel->Chart(1)->SeriesCount(), 2);

    for (int i = 0; i < 4; ++i)
        panel->HandleKey(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(panel->SelectedChart(), panel->Chart(3));   // the last column holds it
    panel->HandleKey(Qt::Key_Left, Qt::NoModifier);
    panel->HandleKey(Qt::Key_Left, Qt::NoModifier);
    panel->HandleKey(Qt::Key_Down, Qt::NoModifier);
    EXPECT_EQ(panel->SelectedChart(), panel->Chart(5));
    panel->HandleKey(Qt::Key_Down, Qt::NoModifier);   // no chart below
    EXPECT_EQ(panel->SelectedChart(), panel->Chart(5));
    panel->HandleKey(Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(panel->SelectedChart(), panel->Chart(1));
    EXPECT_TRUE(panel->Chart(1)->IsFocusedChart());
    EXPECT_FALSE(panel->Chart(5)->IsFocusedChart());

    int chosen = 0;
    panel->OnSelectedChart = [&] { ++chosen; };
    EXPECT_TRUE(panel->HandleKey(Qt::Key_Return, Qt::NoModifier));
    EXPECT_EQ(chosen, 1);

    // A type that refuses the current series is disabled, and the arrows do not go onto it.
    RegisterPlotSeries(unit, SeriesClassOf<TNumberedSeries<0>>(), PlotMsg::SeriesLine, PlotMsg::PageExtended, 1);
    RegisterPlotSeries(unit, SeriesClassOf<TRefusingSeries>(), PlotMsg::SeriesLine, PlotMsg::PageExtended, 1);
    TLineSeries current;
    panel->CurrentSeries = &current;
    panel->CheckSeries = true;
    panel->FillGalleryPage(Types(), QStringLiteral("Extended"));
    ASSERT_EQ(panel->Count(), 2);
    EXPECT_TRUE(panel->Chart(0)->GalleryEnabled());
    EXPECT_FALSE(panel->Chart(1)->GalleryEnabled());
    EXPECT_EQ(panel->Chart(1)->Title().Font().Color(), 0x808080);
    panel->HandleKey(Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(panel->SelectedChart(), panel->Chart(0));
}

TEST_F(PanelFixture, FastLineSubStylesApplyThroughThePopup)
{
    panel->FillGalleryPage(Types(), QStringLiteral("Standard"));
    ASSERT_TRUE(panel->SelectType(&SeriesClassOf<TFastLineSeries>(), nullptr));
    TGalleryChart* fast = panel->SelectedChart();
    int subSelected = 0;
    panel->OnSubSelected = [&] { ++subSelected; };

    panel->HandleKey(Qt::Key_Down, Qt::AltModifier);
    TSubGalleryPopup* popup = panel->SubPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Variants(), (QStringList{"Normal", "Marks", "Dotted", "Stairs"}));
    EXPECT_EQ(popup->Panel().Count(), 4);
    EXPECT_EQ(popup->height(), panel->CellHeight() * 1 + 8);
    QTest::keyClick(popup, Qt::Key_Right);
    QTest::keyClick(popup, Qt::Key_Right);
    QTest::keyClick(popup, Qt::Key_Return);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(panel->SubPopup(), nullptr);
    EXPECT_EQ(subSelected, 1);
    EXPECT_EQ(panel->SubIndex(), 2);
    ASSERT_EQ(fast->SeriesCount(), 2);
    for (int i = 0; i < fast->SeriesCount(); ++i)
        EXPECT_TRUE(static_cast<TFastLineSeries*>(fast->ChartSeries(i))->LinePen().SmallDots());

    // Esc chooses nothing.
    panel->HandleKey(Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(panel->SubPopup(), nullptr);
    QTest::keyClick(panel->SubPopup(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(panel->SubPopup(), nullptr);
    EXPECT_EQ(subSelected, 1);
    EXPECT_TRUE(static_cast<TFastLineSeries*>(fast->ChartSeries(0))->LinePen().SmallDots());

    // "Normal" makes the same number of plain series again.
    panel->HandleKey(Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(panel->SubPopup(), nullptr);
    QTest::keyClick(panel->SubPopup(), Qt::Key_Return);
    EXPECT_EQ(subSelected, 2);
    EXPECT_EQ(panel->SubIndex(), 0);
    ASSERT_EQ(fast->SeriesCount(), 2);
    for (int i = 0; i < fast->SeriesCount(); ++i) {
        auto* series = dynamic_cast<TFastLineSeries*>(fast->ChartSeries(i));
        ASSERT_NE(series, nullptr);
        EXPECT_FALSE(series->LinePen().SmallDots());
        EXPECT_GT(series->Count(), 0);
    }

    // The marker of the focused chart opens the pop-up; its strip closes it with OK. The clicks
    // go through the window, as a user's do.
    panel->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    QTest::mouseClick(fast, Qt::LeftButton, Qt::NoModifier, fast->SubMarkerRect().center());
    ASSERT_NE(panel->SubPopup(), nullptr);
    EXPECT_TRUE(panel->SubPopup()->isVisible());
    QTest::keyClick(panel->SubPopup(), Qt::Key_Right);
    QTest::mouseClick(&panel->SubPopup()->Strip(), Qt::LeftButton);
    EXPECT_EQ(subSelected, 3);
    EXPECT_EQ(panel->SubIndex(), 1);
    EXPECT_TRUE(fast->ChartSeries(0)->Marks().Visible());
}

TEST_F(PanelFixture, PopupStaysOnTheScreen)
{
    EXPECT_EQ(PlaceInside({790, 100}, {400, 200}, {0, 0, 800, 600}), QPoint(400, 100));
    EXPECT_EQ(PlaceInside({10, 550}, {400, 200}, {0, 0, 800, 600}), QPoint(10, 400));
    EXPECT_EQ(PlaceInside({-50, 20}, {400, 200}, {0, 0, 800, 600}), QPoint(0, 20));

    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect available = screen->availableGeometry();
    panel->FillGalleryPage(Types(), QStringLiteral("Standard"));
    panel->move(available.right() - 420, available.top() + 10);
    panel->show();
    ASSERT_TRUE(panel->SelectType(&SeriesClassOf<TFastLineSeries>(), nullptr));   // last column
    panel->HandleKey(Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(panel->SubPopup(), nullptr);
    EXPECT_TRUE(available.contains(panel->SubPopup()->geometry())) ;
    panel->SubPopup()->Cancel();
}

TEST_F(PanelFixture, SmoothIsStoredOnlyWhenChangedAndDrawsAResampledPicture)
{
    const QString key = QString::fromLatin1(kEditorSmoothGallery);
    panel.reset();
    EXPECT_FALSE(QSettings(QStringLiteral("Zendrik"), QStringLiteral("PlotChart")).contains(QStringLiteral("Editor/") + key));

    panel = std::make_unique<TChartGalleryPanel>();
    EXPECT_FALSE(panel->Smooth());
    panel->resize(400, 300);
    panel->SetSmooth(true);
    panel->FillGalleryPage(Types(), QStringLiteral("Standard"));
    TGalleryChart* chart = panel->Chart(0);
    const QImage picture = chart->SmoothPicture();
    EXPECT_EQ(picture.size(), chart->size());
    // Lines and walls were drawn, and the chart has its own margins and title back.
    EXPECT_GT(DistinctColours(picture), 8);
    EXPECT_TRUE(chart->Title().Visible());
    EXPECT_EQ(chart->MarginTop(), 4);
    // The pop-up's own panel draws smooth too, and stores nothing.
    panel->HandleKey(Qt::Key_Down, Qt::AltModifier);
    ASSERT_NE(panel->SubPopup(), nullptr);
    EXPECT_TRUE(panel->SubPopup()->Panel().Smooth());
    QTest::keyClick(panel->SubPopup(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(QSettings(QStringLiteral("Zendrik"), QStringLiteral("PlotChart")).contains(QStringLiteral("Editor/") + key));
    panel.reset();
    EXPECT_TRUE(ReadEditorBoolean(key, false));
}

TEST_F(PanelFixture, APieFollowsThePanelsThreeDimensionalChoice)
{
    panel->FillGalleryPage(Types(), QStringLiteral("Standard"));
    TPieSeries* pie = nullptr;
    for (int i = 0; i < panel->Count() && !pie; ++i)
        pie = dynamic_cast<TPieSeries*>(panel->Chart(i)->ChartSeries(0));
    ASSERT_NE(pie, nullptr);
    EXPECT_FALSE(pie->Circled());   // the panel starts in 3D
    panel->SetView3D(false);
    EXPECT_TRUE(pie->Circled());
    panel->SetView3D(true);
    EXPECT_FALSE(pie->Circled());
    EXPECT_EQ(pie->ParentChart()->AxisPanel()->View3DOptions().Elevation(), 305);
}

// The Standard page's pie cell, 129 pixels square, shows its pie: the slices' colours cover at
// least 15 % of the cell (a quarter with these sample values).
TEST_F(PanelFixture, APieCellShowsItsSlices)
{
    panel->resize(4 * 129 + 1, 3 * 129 + 1);
    panel->FillGalleryPage(Types(), QStringLiteral("Standard"));
    TGalleryChart* cell = nullptr;
    for (int i = 0; i < panel->Count() && !cell; ++i)
        if (dynamic_cast<TPieSeries*>(panel->Chart(i)->ChartSeries(0)))
            cell = panel->Chart(i);
    ASSERT_NE(cell, nullptr);
    ASSERT_EQ(cell->size(), QSize(129, 129));
    cell->RepaintNow();
    const QImage image = cell->WindowImage().copy();
    picture::Save(image, QStringLiteral("gallery_pie_cell"));
    picture::Save(panel->grab().toImage(), QStringLiteral("gallery_standard_page"));
    // Slice colours are strong; the cell's background, frame, title and any mark boxes are grey,
    // navy lettering or pale.
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            coloured += std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) >= 64;
        }
    EXPECT_GE(coloured * 100, image.width() * image.height() * 15) << "less than 15 % of the cell";
}

// The Extended page's arrow cell in 2D shows both of its series, each in its own colour.
TEST_F(PanelFixture, TheArrowCellShowsBothSeries)
{
    ArrowUnitState arrows;
    StartArrowUnit(arrows, unit);
    panel->SetView3D(false);
    panel->FillGalleryPage(Types(), QStringLiteral("Extended"));
    int cells = 0;
    for (int i = 0; i < panel->Count(); ++i)
        if (TGalleryChart* cell = panel->Chart(i); dynamic_cast<TArrowSeries*>(cell->ChartSeries(0)) && ++cells) {
            cell->RepaintNow();
            const QImage image = cell->WindowImage().copy();
            picture::Save(image, QStringLiteral("gallery_arrow_cell"));
            for (int s = 0; s < 2; ++s) {
                const QRgb colour = gdi::ToQRgb(ColorToRGB(cell->ChartSeries(s)->SeriesColor()));
                int pixels = 0;
                for (int p = 0; p < image.width() * image.height(); ++p)
                    pixels += picture::Distance(image.pixel(p % image.width(), p / image.width()), colour) <= 30;
                EXPECT_GE(pixels, 20) << "series " << s;
            }
        }
    EXPECT_EQ(cells, 1);
    StopArrowUnit(arrows);
}
