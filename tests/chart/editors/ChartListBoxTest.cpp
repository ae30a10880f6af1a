#include "EditorsTestSupport.h"

#include "chart/editors/ChartListBox.h"
#include "chart/series/Chart.h"
#include "chart/series/ChartUnit.h"
#include "chart/series/LineSeries.h"
#include "chart/series/SeriesReplace.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

// A window with a chart of three line series and the box listing them.
struct ListBoxWindow {
    ListBoxWindow()
    {
        window.resize(400, 200);
        chart = new TChart(&window);
        chart->setGeometry(0, 100, 400, 100);
        for (const char* title : {"One", "Two", "Three"}) {
            series.push_back(&chart->AddNewSeries<TLineSeries>());
            series.back()->SetTitle(QString::fromLatin1(title));
        }
        box = new TChartListBox(t.Hooks, &window);
        box->setGeometry(0, 0, 400, 100);
        box->SetChartUnit(&unit);
        box->SetChart(chart);
        box->OnRefresh = [this] { ++refreshes; };
        window.show();
    }

    QStringList Texts() const
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts << box->item(i)->text();
        return texts;
    }
    QPoint At(int row, int x) const { return {x, box->visualItemRect(box->item(row)).center().y()}; }
    void Press(int row, int x) { QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, At(row, x)); }
    void DoubleClick(int row, int x) { QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, At(row, x)); }

    TestDialogs t;
    ChartUnitState unit;
    QWidget window;
    TChart* chart = nullptr;
    TChartListBox* box = nullptr;
    std::vector<TLineSeries*> series;
    int refreshes = 0;
};

} // namespace

TEST(ChartListBox, FollowsAddedRemovedAndRenamedSeries)
{
    ListBoxWindow w;
    EXPECT_EQ(w.Texts(), QStringList({"One", "Two", "Three"}));
    EXPECT_EQ(w.box->SeriesAt(2), w.series[2]);
    w.box->setCurrentRow(1);
    w.chart->AddNewSeries<TLineSeries>().SetTitle(QStringLiteral("Four"));
    EXPECT_EQ(w.Texts(), QStringList({"One", "Two", "Three", "Four"}));
    EXPECT_EQ(w.box->SelectedSeries(), std::vector<TCustomChartSeries*>{w.series[1]});

    std::vector<TCustomChartSeries*> removed;
    w.box->OnRemovedSeries = [&](TCustomChartSeries* s) { removed.push_back(s); };
    w.chart->ReleaseSeries(w.series[1]).reset();
    EXPECT_EQ(removed, std::vector<TCustomChartSeries*>{w.series[1]});
    w.series[2]->SetTitle(QStringLiteral("Renamed"));
    EXPECT_EQ(w.Texts(), QStringList({"One", "Renamed", "Four"}));
}

TEST(ChartListBox, SectionsAndCheckPresses)
{
    ListBoxWindow w;
    EXPECT_TRUE(w.box->InSection(lbsIcon, 5));
    EXPECT_TRUE(w.box->InSection(lbsCheck, 30));
    EXPECT_TRUE(w.box->InSection(lbsColor, 42));
    EXPECT_TRUE(w.box->InSection(lbsTitle, 380));
    w.Press(0, 30);
    EXPECT_FALSE(w.series[0]->Active());

    w.box->SetShowSeriesIcon(false);
    EXPECT_TRUE(w.box->InSection(lbsCheck, 5));
    EXPECT_FALSE(w.box->InSection(lbsIcon, 5));
    EXPECT_TRUE(w.box->InSection(lbsColor, 16));
    w.Press(0, 5);
    EXPECT_TRUE(w.series[0]->Active());

    // Radio style keeps the first active series; a press leaves only the pressed one active.
    std::vector<TCustomChartSeries*> changed;
    w.box->OnChangeActive = [&](TCustomChartSeries* s) { changed.push_back(s); };
    w.box->SetCheckStyle(cbsRadio);
    EXPECT_TRUE(w.series[0]->Active());
    EXPECT_FALSE(w.series[1]->Active() || w.series[2]->Active());
    w.Press(2, 5);
    EXPECT_FALSE(w.series[0]->Active() || w.series[1]->Active());
    EXPECT_TRUE(w.series[2]->Active());
    EXPECT_EQ(changed, std::vector<TCustomChartSeries*>{w.series[2]});

    // The legend's check boxes bring their style with them.
    w.chart->Legend().SetCheckBoxesStyle(cbsCheck);
    EXPECT_EQ(w.box->CheckStyle(), cbsRadio);
    w.chart->Legend().SetCheckBoxes(true);
    EXPECT_EQ(w.box->CheckStyle(), cbsCheck);
}

TEST(ChartListBox, DeleteAsksOnceAndFreesEverySelectedSeries)
{
    ListBoxWindow w;
    w.box->selectAll();
    w.t.Answer = false;
    QTest::keyClick(w.box, Qt::Key_Delete);
    EXPECT_EQ(w.t.Questions, QStringList({"Delete (Selected Series) ?"}));
    EXPECT_EQ(w.chart->SeriesCount(), 3);

    w.t.Answer = true;
    QTest::keyClick(w.box, Qt::Key_Delete);
    EXPECT_EQ(w.t.Questions.size(), 2);
    EXPECT_EQ(w.chart->SeriesCount(), 0);
    EXPECT_EQ(w.box->count(), 0);

    w.chart->AddNewSeries<TLineSeries>();
    w.box->AskDelete = false;
    QTest::keyClick(w.box, Qt::Key_Delete);
    EXPECT_EQ(w.t.Questions.size(), 2);
    EXPECT_EQ(w.chart->SeriesCount(), 0);
}

TEST(ChartListBox, InsertGoesThroughTheGalleryHook)
{
    ListBoxWindow w;
    w.box->selectAll();
    const int refreshes = w.refreshes;
    QTest::keyClick(w.box, Qt::Key_Insert);
    EXPECT_EQ(w.chart->SeriesCount(), 3);
    EXPECT_EQ(w.refreshes, refreshes);

    w.unit.AddSeriesHook = [](QWidget*, TCustomAxisPanel& chart) -> TChartSeries* {
        return &chart.AddNewSeries<TPointSeries>();
    };
    QTest::keyClick(w.box, Qt::Key_Insert);
    ASSERT_EQ(w.chart->SeriesCount(), 4);
    EXPECT_EQ(w.box->SelectedSeries(), std::vector<TCustomChartSeries*>{w.chart->Series(3)});
    EXPECT_GT(w.refreshes, refreshes);
}

TEST(ChartListBox, TitleEditorStoresOnEnterAndDiscardsOnEscape)
{
    ListBoxWindow w;
    w.box->setCurrentRow(1);
    QTest::keyClick(w.box, Qt::Key_F2);
    QLineEdit* editor = w.box->TitleEditor();
    ASSERT_TRUE(editor->isVisible());
    EXPECT_EQ(editor->x(), w.box->SectionLeft(lbsTitle));
    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("Trace A"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(w.series[1]->Title(), QStringLiteral("Trace A"));
    EXPECT_EQ(w.box->item(1)->text(), QStringLiteral("Trace A"));

    QTest::keyClick(w.box, Qt::Key_F2);
    QTest::keyClicks(editor, QStringLiteral("lost"));
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_FALSE(editor->isVisible());
    EXPECT_EQ(w.series[1]->Title(), QStringLiteral("Trace A"));
}

TEST(ChartListBox, DropExchangesSeriesAndDoubleClicksChangeColourAndType)
{
    ListBoxWindow w;
    int orderChanges = 0;
    w.box->OnChangeOrder = [&] { ++orderChanges; };
    w.box->MoveSeries(0, 2);
    EXPECT_EQ(w.chart->Series(0), w.series[2]);
    EXPECT_EQ(w.chart->Series(2), w.series[0]);
    EXPECT_EQ(w.Texts(), QStringList({"Three", "Two", "One"}));
    EXPECT_EQ(orderChanges, 1);
    EXPECT_EQ(w.box->currentRow(), 2);
    EXPECT_EQ(w.box->SelectedSeries(), std::vector<TCustomChartSeries*>{w.series[0]});

    std::vector<TCustomChartSeries*> recoloured;
    w.box->OnChangeColor = [&](TCustomChartSeries* s) { recoloured.push_back(s); };
    w.t.NextColor = clRed;
    w.DoubleClick(1, 50);
    EXPECT_EQ(w.series[1]->SeriesColor(), clRed);
    EXPECT_EQ(recoloured, std::vector<TCustomChartSeries*>{w.series[1]});

    w.DoubleClick(0, 10);   // no change-type hook: nothing
    TChartSeries* asked = nullptr;
    w.unit.ChangeSeriesTypeHook = [&](TChartSeries*& s) -> const TChartSeriesClass* {
        asked = s;
        ReplaceSeriesClass(s, SeriesClassOf<TPointSeries>());
        return &SeriesClassOf<TPointSeries>();
    };
    w.DoubleClick(0, 10);
    EXPECT_EQ(asked, w.series[2]);
    // The item holds the series that took the old one's place.
    EXPECT_NE(dynamic_cast<TPointSeries*>(w.box->SeriesAt(0)), nullptr);
    EXPECT_EQ(w.box->SeriesAt(0), w.chart->Series(0));
    EXPECT_EQ(w.box->currentRow(), 0);
    w.box->viewport()->grab();
}

TEST(ChartListBox, ItemShowsSymbolInsideTheColourSectionAndTitleInSeriesColour)
{
    ListBoxWindow w;
    const TColor green = RGBColor(0, 150, 0);
    w.series[1]->SetSeriesColor(green);
    w.box->SetFontSeriesColor(true);
    w.box->setCurrentRow(0);
    const QImage image = w.box->viewport()->grab().toImage();
    const QRect row = w.box->visualItemRect(w.box->item(1));
    const QRgb seriesRgb = qRgb(0, 150, 0);
    const int colourLeft = w.box->SectionLeft(lbsColor);
    const QRgb back = image.pixel(row.left() + colourLeft, row.top());
    int symbolPixels = 0;
    for (int y = 0; y < row.height(); ++y)
        for (int x = colourLeft; x < colourLeft + 26; ++x) {
            const QRgb pixel = image.pixel(row.left() + x, row.top() + y);
            const bool inside = x >= colourLeft + 4 && x < colourLeft + 22 && y >= 4 && y < row.height() - 4;
            if (pixel != back) {
                EXPECT_TRUE(inside) << x << "," << y;
            }
            symbolPixels += pixel == seriesRgb;
        }
    EXPECT_GT(symbolPixels, 0);
    // The series type's icon comes from the library's resources.
    int iconPixels = 0;
    for (int y = 0; y < row.height(); ++y)
        for (int x = 0; x < w.box->SectionLeft(lbsCheck); ++x)
            iconPixels += image.pixel(row.left() + x, row.top() + y) != back;
    EXPECT_GT(iconPixels, 20);
    // Text is smoothed: its pixels lie between the series colour and the background.
    int titlePixels = 0;
    int otherInk = 0;
    for (int y = 0; y < row.height(); ++y)
        for (int x = w.box->SectionLeft(lbsTitle); x < row.width(); ++x) {
            const QColor pixel = image.pixelColor(row.left() + x, row.top() + y);
            if (pixel.rgb() == back)
                continue;
            const bool greenish = pixel.green() > pixel.red() + 40 && pixel.green() > pixel.blue() + 40;
            (greenish ? titlePixels : otherInk) += 1;
        }
    EXPECT_GT(titlePixels, 10);
    EXPECT_LT(otherInk, titlePixels);
}

TEST(ChartListBox, EitherMayGoFirst)
{
    {
        ListBoxWindow w;
        const int listeners = w.chart->Listeners().Count();
        delete w.box;
        EXPECT_EQ(w.chart->Listeners().Count(), listeners - 1);
        w.series[0]->SetTitle(QStringLiteral("after the box"));
    }
    ListBoxWindow w;
    delete w.chart;
    EXPECT_EQ(w.box->Chart(), nullptr);
    EXPECT_EQ(w.box->count(), 0);
    w.box->FillSeries();
    QTest::keyClick(w.box, Qt::Key_Delete);
    w.box->viewport()->grab();
}
