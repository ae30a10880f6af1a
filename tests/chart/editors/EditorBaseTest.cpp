#include "EditorsTestSupport.h"

#include "chart/canvas/ChartPen.h"
#include "chart/canvas/PlotCanvas3D.h"
#include "chart/canvas/PlotColorHls.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/editors/Draw3D.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/EditorRegistry.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/editors/MarginsEditor.h"
#include "chart/editors/PenDialog.h"
#include "chart/editors/ShadowEditor.h"
#include "chart/engine/SeriesMarks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

QImage Grab(QWidget& w)
{
    static QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    w.setStyle(fusion);
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ShadowEditor, LuminanceBarSmoothAndUntouchedShow)
{
    int changes = 0;
    TPlotShadow shadow([&] { ++changes; });
    shadow.SetColor(RGBColor(200, 40, 40));
    shadow.SetSmooth(false);
    shadow.SetVisible(false);
    changes = 0;
    TestDialogs t;
    t.Drive = [&](QDialog& d) {
        auto& se = dynamic_cast<TPlotShadowEditor&>(d);
        EXPECT_TRUE(se.okButton->isVisibleTo(&se));
        EXPECT_EQ(changes, 0);
        EXPECT_FALSE(se.horizSpin->isEnabled());
        EXPECT_FALSE(se.blurTrack->isEnabled());
        EXPECT_FALSE(se.clipCheck->isEnabled());
        int hue = 0, lum = 0, sat = 0;
        ColorToHLS(shadow.Color(), hue, lum, sat);
        EXPECT_EQ(se.colorTrack->value(), lum);
        se.colorTrack->setValue(120);
        EXPECT_EQ(shadow.Color(), HLSToColor(hue, 120, sat));
        se.smoothCheck->setChecked(true);
        EXPECT_TRUE(shadow.Smooth());
        EXPECT_TRUE(se.blurTrack->isEnabled());
        EXPECT_TRUE(se.clipCheck->isEnabled());
        se.visibleCheck->setChecked(true);
        EXPECT_TRUE(se.vertSpin->isEnabled());
        se.vertSpin->setValue(-7);
        EXPECT_EQ(shadow.VertSize(), -7);
        ClickOk(d);
    };
    EXPECT_TRUE(ShowShadowEditor(t.Hooks, nullptr, shadow));

    changes = 0;
    QWidget page;
    TPlotShadowEditor* embedded = CreateShadowEditorPage(t.Hooks, &page, shadow);
    EXPECT_EQ(embedded->parentWidget(), &page);
    EXPECT_FALSE(embedded->okButton->isVisibleTo(&page));
    EXPECT_EQ(changes, 0);
}

TEST(MarginsEditor, UnitsAndMarginsAreWrittenAsTheyChange)
{
    int changes = 0;
    TMargins margins([&] { ++changes; });
    QTabWidget tabs;
    auto* page = new QWidget;
    tabs.addTab(new QWidget, QStringLiteral("Other"));
    tabs.addTab(page, QStringLiteral("Margins"));
    ASSERT_TRUE(page->isHidden());   // not the current page
    TMarginsEditor* editor = CreateMarginsEditorPage(page, margins);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(page->isHidden());
    EXPECT_FALSE(editor->isHidden());
    EXPECT_EQ(editor->leftSpin->value(), 10);
    EXPECT_TRUE(editor->percentFontRadio->isChecked());
    editor->pixelsRadio->click();
    EXPECT_EQ(margins.Units(), maPixels);
    editor->bottomSpin->setValue(-32000);
    editor->topSpin->setValue(99999);   // beyond the range: the range's end
    EXPECT_EQ(margins.Bottom(), -32000);
    EXPECT_EQ(margins.Top(), 32000);
    editor->percentSizeRadio->click();
    EXPECT_EQ(margins.Units(), maPercentSize);
}

TEST(EditorRoutines, CursorNamesAndQuestions)
{
    EXPECT_EQ(CursorFromName(crCross, QStringLiteral("HandPoint")), crHandPoint);
    EXPECT_EQ(CursorFromName(crCross, QStringLiteral("PlotHand")), 2020);
    EXPECT_EQ(CursorFromName(crCross, QStringLiteral("NoSuchCursor")), crCross);

    QComboBox combo;
    combo.addItem(QStringLiteral("left over"));
    FillCursorCombo(combo, 2020);
    EXPECT_EQ(combo.currentText(), QStringLiteral("PlotHand"));
    EXPECT_EQ(combo.findText(QStringLiteral("left over")), -1);
    EXPECT_NE(combo.findText(QStringLiteral("SizeAll")), -1);
    EXPECT_LT(combo.findText(QStringLiteral("Arrow")), combo.findText(QStringLiteral("Cross")));
    FillCursorCombo(combo, 4711);
    EXPECT_EQ(combo.currentIndex(), -1);

    TestDialogs t;
    t.Answer = false;
    EXPECT_FALSE(AskDeleteConfirmation(t.Hooks, QStringLiteral("Series1")));
    t.Answer = true;
    EXPECT_TRUE(AskYesNo(t.Hooks, QStringLiteral("Apply Changes ?")));
    EXPECT_EQ(t.Questions, QStringList({QStringLiteral("Delete Series1 ?"), QStringLiteral("Apply Changes ?")}));

    EXPECT_EQ(FormatPercentLabel(50), QStringLiteral("50 %"));
    EXPECT_EQ(FormatPercentLabel(12.5), QStringLiteral("12.5 %"));
    EXPECT_EQ(FormatPercentLabel(0.125), QStringLiteral("0.12 %"));
}

TEST(EditorRegistry, CountedStartAndEditorsByName)
{
    EditorsUnit unit;
    StartEditorsUnit(unit);
    StartEditorsUnit(unit);
    StopEditorsUnit(unit);
    ASSERT_TRUE(IsEditorClassRegistered(unit, QStringLiteral("TMarginsEditor")));
    TMargins margins;
    margins.SetRight(33);
    TPlotShadow shadow;
    QWidget parent;
    QWidget* editor = CreateEditorByName(unit, QStringLiteral("TMarginsEditor"), &parent, EditedObject(&margins));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(dynamic_cast<TMarginsEditor&>(*editor).rightSpin->value(), 33);
    EXPECT_EQ(CreateEditorByName(unit, QStringLiteral("TMarginsEditor"), &parent, EditedObject(&shadow)), nullptr);
    EXPECT_NE(CreateEditorByName(unit, QStringLiteral("TPlotShadowEditor"), &parent, EditedObject(&shadow)), nullptr);
    EXPECT_EQ(CreateEditorByName(unit, QStringLiteral("TNoSuchEditor"), &parent, EditedObject(&shadow)), nullptr);
    StopEditorsUnit(unit);
    EXPECT_TRUE(unit.Classes.empty());
    StopEditorsUnit(unit);   // one stop too many changes nothing
    EXPECT_EQ(unit.StartCount, 0);
}

TEST(ButtonPen, ClickRunsTheDialogThenOnClick)
{
    TButtonPen button;
    TestDialogs t;
    button.Dialogs = &t.Hooks;
    QStringList order;
    button.OnClick = [&] { order << QStringLiteral("click"); };
    button.click();
    EXPECT_EQ(order, QStringList{QStringLiteral("click")});
    EXPECT_EQ(t.ModalRuns, 0);

    TChartPen pen;
    button.LinkPen(&pen);
    button.HideColor = true;
    t.Drive = [&](QDialog& d) {
        order << QStringLiteral("dialog");
        EXPECT_EQ(button.OpenDialog(), &d);
        EXPECT_TRUE(dynamic_cast<TPenDialog&>(d).colorButton->isHidden());
        dynamic_cast<TPenDialog&>(d).widthSpin->setValue(4);
        ClickOk(d);
    };
    button.click();
    EXPECT_EQ(order, QStringList({QStringLiteral("click"), QStringLiteral("dialog"), QStringLiteral("click")}));
    EXPECT_EQ(pen.Width(), 4);
    EXPECT_EQ(button.OpenDialog(), nullptr);
    t.Drive = ClickCancel;   // no OnClick after Cancel
    button.click();
    EXPECT_EQ(order.size(), 3);
}

TEST(ButtonPen, SampleLineOfThePenAtMostSixPixelsWide)
{
    int changes = 0;
    TChartPen pen([&] { ++changes; });
    pen.SetColor(clRed);
    TButtonPen button;
    button.resize(75, 25);
    button.LinkPen(&pen);
    const int y = 25 / 2;
    QImage image = Grab(button);
    const QRgb red = qRgb(255, 0, 0);
    EXPECT_EQ(image.pixel(75 - 17, y), red);
    EXPECT_EQ(image.pixel(75 - 7, y), red);
    EXPECT_NE(image.pixel(75 - 6, y), red);
    EXPECT_NE(image.pixel(75 - 18, y), red);
    EXPECT_NE(image.pixel(75 - 12, y - 1), red);

    pen.SetWidth(7);
    changes = 0;
    image = Grab(button);
    int thick = 0;
    for (int row = 0; row < image.height(); ++row)
        thick += image.pixel(75 - 12, row) == red;
    EXPECT_EQ(thick, 6);
    EXPECT_EQ(pen.Width(), 7);
    EXPECT_EQ(changes, 0);
}

TEST(Draw3D, OnPaintDrawsAfterTheBackgroundAndRepaintingComesBack)
{
    TDraw3D panel;
    panel.resize(60, 40);
    panel.SetColor(clWhite);
    panel.SetBevelOuter(bvNone);
    TRect seen;
    panel.OnPaint = [&](TPlotCanvas3D& canvas, const TRect& rect) {
        seen = rect;
        canvas.Brush().SetColor(clBlue);
        canvas.FillRect(TRect{10, 10, 20, 20});
    };
    const QImage picture = panel.CreateBitmap();
    EXPECT_EQ(seen, (TRect{0, 0, 60, 40}));
    EXPECT_EQ(picture.pixel(15, 15), qRgb(0, 0, 255));
    EXPECT_EQ(picture.pixel(30, 30), qRgb(255, 255, 255));
    EXPECT_TRUE(panel.RepaintOnChange());

    panel.OnPaint = [](TPlotCanvas3D&, const TRect&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(panel.CreateBitmap(), std::runtime_error);
    EXPECT_TRUE(panel.RepaintOnChange());
}
