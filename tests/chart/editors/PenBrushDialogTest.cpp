#include "EditorsTestSupport.h"

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotControls.h"
#include "chart/editors/BrushDialog.h"
#include "chart/editors/PenDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TPenDialog& AsPen(QDialog& d) { return dynamic_cast<TPenDialog&>(d); }
TBrushDialog& AsBrush(QDialog& d) { return dynamic_cast<TBrushDialog&>(d); }

QImage Rgb(const QImage& image) { return image.convertToFormat(QImage::Format_RGB32); }

} // namespace

TEST(PenDialog, SmallDotsComeAndGoWithTheSpaceControls)
{
    int changes = 0;
    TChartPen pen([&] { ++changes; });
    TestDialogs t;
    t.Drive = [](QDialog& d) {
        TPenDialog& pd = AsPen(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Border Editor"));
        ASSERT_EQ(pd.styleCombo->count(), 6);
        EXPECT_EQ(pd.styleCombo->itemText(5), QStringLiteral("Small Dots"));
        EXPECT_FALSE(pd.spaceSpin->isEnabled());
        pd.styleCombo->setCurrentIndex(5);
        EXPECT_TRUE(pd.Pen().Width() == 1 && dynamic_cast<TChartPen&>(pd.Pen()).SmallDots());
        EXPECT_TRUE(pd.spaceSpin->isEnabled());
        EXPECT_FALSE(pd.widthSpin->isEnabled());
        pd.styleCombo->setCurrentIndex(psDash);
        EXPECT_FALSE(pd.spaceSpin->isEnabled());
        EXPECT_TRUE(pd.widthSpin->isEnabled());
        ClickOk(d);
    };
    EXPECT_TRUE(ShowPenEditor(t.Hooks, nullptr, pen));
    EXPECT_FALSE(pen.SmallDots());
    EXPECT_EQ(pen.Style(), psDash);
    EXPECT_GT(changes, 0);
}

TEST(PenDialog, CancelPutsEveryPropertyBackWithOneChangeEvent)
{
    int changes = 0;
    TChartPen pen([&] { ++changes; });
    pen.SetColor(clRed);
    pen.SetWidth(3);
    pen.SetStyle(psDot);
    pen.SetEndStyle(esSquare);
    pen.SetSmallSpace(4);
    changes = 0;
    TestDialogs t;
    t.NextColor = clBlue;
    t.Drive = [&](QDialog& d) {
        TPenDialog& pd = AsPen(d);
        pd.visibleCheck->setChecked(false);
        pd.widthSpin->setValue(9);
        pd.endStyleCombo->setCurrentIndex(esFlat);
        pd.styleCombo->setCurrentIndex(5);
        pd.spaceSpin->setValue(20);
        pd.colorButton->click();
        EXPECT_EQ(pen.Color(), clBlue);
        EXPECT_TRUE(pd.Modified());
        changes = 0;
        ClickCancel(d);
    };
    EXPECT_FALSE(ShowPenEditor(t.Hooks, nullptr, pen));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(pen.Visible());
    EXPECT_EQ(pen.Color(), clRed);
    EXPECT_EQ(pen.Width(), 3);
    EXPECT_EQ(pen.Style(), psDot);
    EXPECT_EQ(pen.EndStyle(), esSquare);
    EXPECT_FALSE(pen.SmallDots());
    EXPECT_EQ(pen.SmallSpace(), 4);
}

TEST(PenDialog, UntouchedPensStayAsTheyWereWithoutEvents)
{
    int changes = 0;
    TChartPen pen([&] { ++changes; });   // SmallSpace 0 lies below the space range 1..100
    TestDialogs t;
    t.Drive = ClickOk;
    EXPECT_TRUE(ShowPenEditor(t.Hooks, nullptr, pen));
    t.Drive = ClickCancel;
    EXPECT_FALSE(ShowPenEditor(t.Hooks, nullptr, pen));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(pen.SmallSpace(), 0);
    EXPECT_EQ(t.ModalRuns, 2);

    TPen plain;
    plain.SetStyle(psDashDot);
    t.Drive = [](QDialog& d) {
        TPenDialog& pd = AsPen(d);
        EXPECT_TRUE(pd.visibleCheck->isHidden());
        EXPECT_EQ(pd.styleCombo->count(), 5);
        EXPECT_EQ(pd.styleCombo->currentIndex(), psDashDot);
    };
    ShowPenEditor(t.Hooks, nullptr, plain, true);
}

TEST(PenDialog, HideColorHidesTheColourButton)
{
    TChartPen pen;
    TestDialogs t;
    bool hidden = false;
    t.Drive = [&](QDialog& d) { hidden = AsPen(d).colorButton->isHidden(); };
    ShowPenEditor(t.Hooks, nullptr, pen, true);
    EXPECT_TRUE(hidden);
}

TEST(BrushDialog, ItemsSetStylesPatternsAndTextures)
{
    int changes = 0;
    TChartBrush brush([&] { ++changes; });
    brush.Image().SetGraphic(QImage(4, 4, QImage::Format_RGB32));
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TBrushDialog& bd = AsBrush(d);
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Pattern Color Editor"));
        ASSERT_EQ(bd.styleList->count(), 27);
        EXPECT_EQ(bd.styleList->currentRow(), -1);   // an image: no style chosen
        EXPECT_EQ(bd.imageButton->text(), QStringLiteral("Clea&r"));
        bd.styleList->setCurrentRow(3);
        EXPECT_EQ(brush.Style(), bsVertical);
        EXPECT_FALSE(brush.HasImage());
        EXPECT_EQ(bd.imageButton->text(), QStringLiteral("&Image..."));
        const std::pair<int, const char*> loads[] = {{8, "PlotBrush1"}, {19, "PlotBrush12"}, {20, "Metal"}};
        for (auto [row, name] : loads) {
            bd.styleList->setCurrentRow(row);
            ASSERT_TRUE(brush.HasImage()) << name;
            EXPECT_EQ(Rgb(brush.Image().Graphic()), Rgb(QImage(QStringLiteral(":/editors/%1.png").arg(name)))) << name;
        }
        EXPECT_EQ(brush.Image().Graphic().format(), QImage::Format_RGB32);   // the texture
        bd.styleList->setCurrentRow(8);
        EXPECT_EQ(brush.Image().Graphic().format(), QImage::Format_Mono);    // a pattern
        ClickOk(d);
    };
    EXPECT_TRUE(ShowBrushEditor(t.Hooks, nullptr, brush));
    EXPECT_GT(changes, 0);
}

TEST(BrushDialog, TransparentBackAndCancel)
{
    int changes = 0;
    TChartBrush brush([&] { ++changes; });
    brush.SetColor(clRed);
    brush.SetBackColor(clYellow);
    brush.SetStyle(bsCross);
    changes = 0;
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TBrushDialog& bd = AsBrush(d);
        EXPECT_EQ(bd.styleList->currentRow(), bsCross);
        EXPECT_TRUE(bd.transparentCheck->isEnabled());
        bd.transparentCheck->setChecked(true);
        EXPECT_EQ(brush.BackColor(), clNone);
        EXPECT_FALSE(bd.transparentCheck->isEnabled());
        t.NextColor = clAqua;
        bd.backButton->click();
        EXPECT_EQ(brush.BackColor(), clAqua);
        EXPECT_FALSE(bd.transparentCheck->isChecked());
        EXPECT_TRUE(bd.transparentCheck->isEnabled());
        t.NextColor = clLime;
        bd.colorButton->click();
        bd.styleList->setCurrentRow(1);   // "None": no colours to choose
        EXPECT_FALSE(bd.colorButton->isEnabled());
        EXPECT_FALSE(bd.backButton->isEnabled());
        bd.styleList->setCurrentRow(22);
        changes = 0;
        ClickCancel(d);
    };
    EXPECT_FALSE(ShowBrushEditor(t.Hooks, nullptr, brush));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(brush.Style(), bsCross);
    EXPECT_EQ(brush.Color(), clRed);
    EXPECT_EQ(brush.BackColor(), clYellow);
    EXPECT_FALSE(brush.HasImage());

    // Untouched, with an image and a transparent back: nothing changes.
    brush.SetBackColor(clNone);
    brush.Image().SetGraphic(BrushItemPicture(12));
    const QImage before = brush.Image().Graphic();
    changes = 0;
    t.Drive = [](QDialog& d) {
        EXPECT_TRUE(AsBrush(d).transparentCheck->isChecked());
        EXPECT_FALSE(AsBrush(d).transparentCheck->isEnabled());
        ClickOk(d);
    };
    EXPECT_TRUE(ShowBrushEditor(t.Hooks, nullptr, brush));
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(brush.Image().Graphic(), before);
}

TEST(BrushDialog, PicturesThatCannotBeReadKeepTheOldImage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("good.png"));
    QImage picture(5, 3, QImage::Format_RGB32);
    picture.fill(Qt::green);
    ASSERT_TRUE(picture.save(good));
    const QString bad = dir.filePath(QStringLiteral("bad.png"));
    QFile text(bad);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no picture here\n");
    text.close();

    TChartBrush brush;
    brush.SetStyle(bsCross);
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TBrushDialog& bd = AsBrush(d);
        t.NextPictureFile = bad;
        bd.imageButton->click();
        EXPECT_FALSE(brush.HasImage());
        EXPECT_EQ(brush.Style(), bsCross);
        EXPECT_EQ(bd.imageButton->text(), QStringLiteral("&Image..."));
        t.NextPictureFile = good;
        bd.imageButton->click();
        ASSERT_TRUE(brush.HasImage());
        EXPECT_EQ(brush.Image().Graphic().size(), QSize(5, 3));
        EXPECT_EQ(bd.styleList->currentRow(), -1);
        EXPECT_EQ(bd.imageButton->text(), QStringLiteral("Clea&r"));
        bd.imageButton->click();
        EXPECT_FALSE(brush.HasImage());
        EXPECT_EQ(bd.styleList->currentRow(), bsCross);
        ClickOk(d);
    };
    ShowBrushEditor(t.Hooks, nullptr, brush);
    ASSERT_EQ(t.Errors.size(), 1);
    EXPECT_TRUE(t.Errors.front().startsWith(bad)) << t.Errors.front().toStdString();
}
