#include "EditorsTestSupport.h"

#include "chart/canvas/PlotGradient.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/GalleryPanel.h"
#include "chart/editors/GradientEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TPlotGradientEditor& AsEditor(QDialog& d) { return dynamic_cast<TPlotGradientEditor&>(d); }

} // namespace

TEST(GradientEditor, PresetsApplyTheirTableValuesWhateverTheListOrder)
{
    TPlotGradient gradient;
    gradient.SetVisible(true);
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TPlotGradientEditor& e = AsEditor(d);
        EXPECT_EQ(e.pages->currentWidget(), e.colorsPage);
        EXPECT_EQ(e.pages->count(), 5);
        ASSERT_EQ(e.presetList->count(), 17);
        for (int row = 0; row < e.presetList->count(); ++row) {
            if (row > 0) {
                EXPECT_LT(e.presetList->item(row - 1)->text().compare(e.presetList->item(row)->text(),
                                                                         Qt::CaseInsensitive), 0);
            }
            const int index = e.presetList->item(row)->data(Qt::UserRole).toInt();
            const TGradientPreset& p = GradientPresets().at(static_cast<size_t>(index));
            EXPECT_EQ(e.presetList->item(row)->text(), QString::fromLatin1(p.name));
            e.presetList->setCurrentRow(row);
            EXPECT_EQ(gradient.StartColor(), p.startColor) << p.name;
            EXPECT_EQ(gradient.MidColor(), p.midColor) << p.name;
            EXPECT_EQ(gradient.EndColor(), p.endColor) << p.name;
            EXPECT_EQ(gradient.Balance(), p.balance) << p.name;
            EXPECT_EQ(gradient.Direction(), p.direction) << p.name;
            EXPECT_EQ(e.noMiddleCheck->isChecked(), p.midColor == clNone) << p.name;
            EXPECT_EQ(e.balanceLabel->text(), QStringLiteral("%1 %").arg(p.balance));
        }
        const auto hot = e.presetList->findItems(QStringLiteral("Hot"), Qt::MatchExactly);
        ASSERT_EQ(hot.size(), 1);
        e.presetList->setCurrentItem(hot.front());
        EXPECT_EQ(gradient.MidColor(), clNone);
        EXPECT_TRUE(e.noMiddleCheck->isChecked());
        ClickOk(d);
    };
    EXPECT_TRUE(ShowGradientEditor(t.Hooks, nullptr, gradient));
    EXPECT_EQ(gradient.StartColor(), 0x0000FF);
}

TEST(GradientEditor, MiddleSwapDirectionsAndPreview)
{
    TPlotGradient gradient;   // no middle colour, not visible
    gradient.SetStartColor(clRed);
    gradient.SetEndColor(clBlue);
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TPlotGradientEditor& e = AsEditor(d);
        EXPECT_FALSE(e.startButton->isEnabled());   // hidden gradient
        EXPECT_FALSE(e.presetList->isEnabled());
        e.visibleCheck->setChecked(true);
        EXPECT_TRUE(e.startButton->isEnabled());
        EXPECT_TRUE(e.preview->Gradient().Visible());
        EXPECT_TRUE(e.noMiddleCheck->isChecked());
        e.noMiddleCheck->setChecked(false);
        EXPECT_EQ(gradient.MidColor(), clWhite);
        EXPECT_EQ(e.preview->Gradient().MidColor(), clWhite);
        e.swapButton->click();
        EXPECT_EQ(gradient.StartColor(), clBlue);
        EXPECT_EQ(gradient.EndColor(), clRed);
        EXPECT_EQ(e.preview->Gradient().StartColor(), clBlue);
        EXPECT_FALSE(e.radialXTrack->isEnabled());
        e.presetList->setCurrentRow(0);
        e.directionCombo->setCurrentIndex(gdRadial);
        EXPECT_EQ(e.presetList->currentRow(), -1);
        EXPECT_TRUE(e.radialXTrack->isEnabled());
        e.radialYTrack->setValue(-120);
        EXPECT_EQ(gradient.RadialY(), -120);
        EXPECT_EQ(e.radialYLabel->text(), QStringLiteral("-120"));
        e.directionCombo->setCurrentIndex(gdFromCenter);
        EXPECT_FALSE(e.middleButton->isEnabled());
        EXPECT_FALSE(e.noMiddleCheck->isEnabled());
        EXPECT_EQ(e.preview->Gradient().Direction(), gdFromCenter);
        e.directionCombo->setCurrentIndex(gdLeftRight);
        EXPECT_TRUE(e.middleButton->isEnabled());
        t.NextColor = clGreen;
        e.middleButton->click();
        EXPECT_EQ(gradient.MidColor(), clGreen);
        EXPECT_FALSE(e.noMiddleCheck->isChecked());
        ClickOk(d);
    };
    EXPECT_TRUE(ShowGradientEditor(t.Hooks, nullptr, gradient));
    EXPECT_EQ(gradient.Direction(), gdLeftRight);
}

TEST(GradientEditor, FlagHidesEndAndSwapAndKeepsColoursEditable)
{
    TPlotGradient gradient;
    TestDialogs t;
    t.Drive = [](QDialog& d) {
        TPlotGradientEditor& e = AsEditor(d);
        EXPECT_TRUE(e.endButton->isHidden());
        EXPECT_TRUE(e.swapButton->isHidden());
        EXPECT_TRUE(e.visibleCheck->isHidden());
        EXPECT_TRUE(e.startButton->isEnabled());
        EXPECT_TRUE(e.middleButton->isEnabled());
        EXPECT_TRUE(e.directionCombo->isEnabled());
    };
    ShowGradientEditor(t.Hooks, nullptr, gradient, true, true);
}

TEST(GradientEditor, CancelPutsAFontGradientBackWithOneChangeEvent)
{
    int changes = 0;
    TPlotFontGradient gradient([&] { ++changes; });
    gradient.SetVisible(true);
    gradient.SetOutline(true);
    gradient.SetBalance(30);
    gradient.SubGradient().SetTransparency(70);
    gradient.SubGradient().SetVisible(true);
    changes = 0;
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TPlotGradientEditor& e = AsEditor(d);
        EXPECT_EQ(e.subTransparencyBar->value(), 70);
        e.presetList->setCurrentRow(3);
        e.balanceBar->setValue(90);
        e.angleSpin->setValue(45);
        e.subTransparencyBar->setValue(10);
        e.subVisibleCheck->setChecked(false);
        e.visibleCheck->setChecked(false);
        gradient.SetOutline(false);   // as the font editor would
        changes = 0;
        ClickCancel(d);
    };
    EXPECT_FALSE(ShowGradientEditor(t.Hooks, nullptr, gradient));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(gradient.Visible());
    EXPECT_TRUE(gradient.Outline());
    EXPECT_EQ(gradient.Balance(), 30);
    EXPECT_EQ(gradient.Angle(), 0);
    EXPECT_EQ(gradient.StartColor(), clWhite);
    EXPECT_EQ(gradient.SubGradient().Transparency(), 70);
    EXPECT_TRUE(gradient.SubGradient().Visible());

    // Shown and confirmed untouched: no event, and no sub-gradient made.
    TPlotGradient plain([&] { ++changes; });
    changes = 0;
    t.Drive = ClickOk;
    EXPECT_TRUE(ShowGradientEditor(t.Hooks, nullptr, plain));
    t.Drive = ClickCancel;
    EXPECT_FALSE(ShowGradientEditor(t.Hooks, nullptr, plain));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(plain.HasSubGradient());
}

TEST(ButtonGradient, FrameGreyWhileHiddenBlackWhileVisible)
{
    TPlotGradient gradient;
    gradient.SetStartColor(clYellow);
    gradient.SetEndColor(clYellow);
    TButtonGradient button;
    static QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    button.setStyle(fusion);
    button.resize(75, 25);
    button.LinkGradient(&gradient);
    const QRect r = button.SymbolRect();
    auto frame = [&] { return button.grab().toImage().pixel(r.left(), r.center().y()) & 0xFFFFFF; };
    auto inside = [&] { return button.grab().toImage().pixel(r.center()) & 0xFFFFFF; };
    EXPECT_EQ(frame(), 0x808080u);
    EXPECT_EQ(inside(), 0xFFFF00u);
    gradient.SetVisible(true);
    EXPECT_EQ(frame(), 0x000000u);

    TestDialogs t;
    button.Dialogs = &t.Hooks;
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    t.Drive = [&](QDialog& d) {
        EXPECT_EQ(button.OpenDialog(), &d);
        AsEditor(d).swapButton->click();
        ClickOk(d);
    };
    button.Flag = false;
    gradient.SetEndColor(clRed);
    button.click();
    EXPECT_EQ(gradient.StartColor(), clRed);
    EXPECT_EQ(clicks, 1);
}

TEST(GradientEditor, DirectionChartsChooseTheDirectionAndFollowTheColours)
{
    TPlotGradient gradient;
    gradient.SetVisible(true);
    gradient.SetStartColor(clRed);
    gradient.SetEndColor(clBlue);
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        TPlotGradientEditor& e = AsEditor(d);
        e.show();
        e.pages->setCurrentWidget(e.directionsPage);
        TChartGalleryPanel* charts = e.DirectionCharts();
        EXPECT_TRUE(charts->isVisible());
        ASSERT_EQ(charts->Count(), 10);
        EXPECT_TRUE(charts->Chart(9)->isVisible());
        EXPECT_EQ(charts->NumRows(), 2);
        EXPECT_EQ(charts->NumCols(), 5);
        TGalleryChart* radial = charts->Chart(7);
        EXPECT_FALSE(radial->View3D());
        EXPECT_EQ(radial->toolTip(), QStringLiteral("Radial"));
        EXPECT_EQ(radial->BackWall().Gradient().Direction(), gdRadial);
        EXPECT_FALSE(radial->BackWall().Transparent());
        EXPECT_EQ(radial->MarginTop(), 22);
        EXPECT_EQ(radial->BackWall().Gradient().StartColor(), clRed);
        QTest::mouseClick(radial, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        EXPECT_EQ(gradient.Direction(), gdRadial);
        EXPECT_EQ(e.directionCombo->currentText(), QStringLiteral("Radial"));
        EXPECT_TRUE(e.radialXTrack->isEnabled());
        e.swapButton->click();
        for (int i = 0; i < charts->Count(); ++i) {
            EXPECT_EQ(charts->Chart(i)->BackWall().Gradient().StartColor(), clBlue);
            EXPECT_EQ(charts->Chart(i)->BackWall().Gradient().EndColor(), clRed);
        }
        e.directionCombo->setCurrentIndex(gdLeftRight);
        EXPECT_EQ(charts->SelectedChart(), charts->Chart(gdLeftRight));
        ClickOk(d);
    };
    EXPECT_TRUE(ShowGradientEditor(t.Hooks, nullptr, gradient));
    EXPECT_EQ(gradient.Direction(), gdLeftRight);
}
