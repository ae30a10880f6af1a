// The pointer, annotation and magnifier editors, each made by name for objects on a real chart.
#include "EditorsTestSupport.h"

#include "chart/canvas/PlotCanvas3D.h"
#include "chart/editors/AnnotationToolEditor.h"
#include "chart/editors/BrushDialog.h"
#include "chart/editors/EditorRegistry.h"
#include "chart/editors/MagnifyToolEditor.h"
#include "chart/editors/SeriesPointerEditor.h"
#include "chart/editors/ShadowEditor.h"
#include "chart/editors/ShapeEditor.h"
#include "chart/editors/StringsEditor.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/MagnifyTool.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

// A 3D chart with a point series, an annotation and a magnifier; the editors come from a started
// registry whose dialogs are the test's.
class EditedChart : public ::testing::Test {
protected:
    void SetUp() override
    {
        chart.SetView3D(true);
        chart.resize(320, 240);
        chart.AddSeries(&series);
        for (int i = 0; i < 10; ++i)
            series.AddPointXY(i, i * i);
        note.SetParentChart(&chart);
        lens.SetParentChart(&chart);
        unit.Dialogs = t.Hooks;
        StartEditorsUnit(unit);
    }
    void TearDown() override
    {
        StopEditorsUnit(unit);
        chart.RemoveSeries(series);
    }

    template <class Editor, class Object>
    Editor* Create(const char* name, Object* object)
    {
        return dynamic_cast<Editor*>(
            CreateEditorByName(unit, QString::fromLatin1(name), &parent, EditedObject(object)));
    }

    TChart chart;
    TPointSeries series;
    TAnnotationTool note;
    TMagnifyTool lens;
    TestDialogs t;
    EditorsUnit unit;
    QWidget parent;
};

QImage StyleItem(const TSeriesPointerEditor& editor, int row)
{
    QImage image(120, 18, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QStyleOptionViewItem option;
    option.rect = image.rect();
    option.palette = editor.styleCombo->palette();
    option.state = QStyle::State_Enabled;
    QPainter painter(&image);
    editor.styleCombo->itemDelegate()->paint(&painter, option, editor.styleCombo->model()->index(row, 0));
    return image;
}

} // namespace

TEST_F(EditedChart, PointerEditorOnAPointSeries)
{
    auto* editor = Create<TSeriesPointerEditor>("TSeriesPointerEditor", static_cast<TChartSeries*>(&series));
    ASSERT_NE(editor, nullptr);
    TSeriesPointer& pointer = series.Pointer();
    EXPECT_EQ(editor->Pointer(), &pointer);
    const QStringList styles = {"Square", "Circle", "Triangle", "Down Triangle", "Cross", "Diagonal Cross", "Star",
                                "Diamond", "Small Dot", "Nothing", "Left Triangle", "Right Triangle", "Hexagon"};
    ASSERT_EQ(editor->styleCombo->count(), styles.size());
    for (int i = 0; i < styles.size(); ++i)
        EXPECT_EQ(editor->styleCombo->itemText(i), styles[i]);
    EXPECT_FALSE(editor->colorEachCheck->isHidden());
    EXPECT_TRUE(editor->closePanel->isHidden());

    // "&3D" only for the styles with a solid of their own (a sphere needs a rotating canvas).
    for (const auto& [style, solid] : {std::pair{psTriangle, true}, std::pair{psCircle, false},
                                      std::pair{psDiamond, false}, std::pair{psDownTriangle, true},
                                      std::pair{psRectangle, true}}) {
        editor->styleCombo->setCurrentIndex(style);
        EXPECT_EQ(pointer.Style(), style);
        EXPECT_EQ(editor->draw3DCheck->isEnabled(), solid) << style;
    }
    editor->draw3DCheck->setChecked(true);
    EXPECT_TRUE(editor->dark3DCheck->isEnabled());
    editor->draw3DCheck->setChecked(false);
    EXPECT_FALSE(pointer.Draw3D());
    EXPECT_FALSE(editor->dark3DCheck->isEnabled());
    editor->widthSpin->setValue(7);
    EXPECT_EQ(pointer.HorizSize(), 7);

    editor->visibleCheck->setChecked(false);
    EXPECT_FALSE(pointer.Visible());
    for (QWidget* w : std::initializer_list<QWidget*>{editor->styleCombo, editor->widthSpin, editor->draw3DCheck,
                                                       editor->patternButton, editor->defaultCheck})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    editor->visibleCheck->setChecked(true);

    editor->defaultCheck->setChecked(true);
    EXPECT_EQ(pointer.GetColor(), clDefault);
    EXPECT_EQ(pointer.Pen().Color(), clDefault);
    editor->defaultCheck->setChecked(false);
    EXPECT_EQ(pointer.Pen().Color(), clBlack);

    editor->ignoreNullsCheck->setChecked(true);
    EXPECT_EQ(series.TreatNulls(), tnIgnore);
    editor->ignoreNullsCheck->setChecked(false);
    EXPECT_EQ(series.TreatNulls(), tnDontPaint);

    QStringList reached;
    t.Drive = [&](QDialog& d) {
        if (auto* brush = dynamic_cast<TBrushDialog*>(&d); brush && &brush->Brush() == &pointer.Brush())
            reached << "brush";
        if (auto* shadow = dynamic_cast<TPlotShadowEditor*>(&d); shadow && shadow->Shadow() == &pointer.Shadow())
            reached << "shadow";
    };
    editor->patternButton->click();
    editor->shadowButton->click();
    EXPECT_EQ(reached, QStringList({"brush", "shadow"}));

    // The Triangle item draws the pointer's own triangle, apex at (6, 4), base at y = 12.
    pointer.SetColor(clRed);
    const QImage item = StyleItem(*editor, psTriangle);
    const QRgb red = QColor(Qt::red).rgb();
    for (const QPoint inside : {QPoint(6, 8), QPoint(6, 10), QPoint(5, 11), QPoint(7, 11), QPoint(6, 7)})
        EXPECT_EQ(item.pixel(inside), red) << inside.x() << "," << inside.y();
    for (const QPoint outside : {QPoint(2, 5), QPoint(10, 5), QPoint(6, 15)})
        EXPECT_NE(item.pixel(outside), red) << outside.x() << "," << outside.y();
}

TEST_F(EditedChart, PointerEditorOnABarePointerAndFromTheAnnotation)
{
    TSeriesPointer bare(nullptr, &chart);
    bare.SetAllowChangeSize(false);
    auto* editor = Create<TSeriesPointerEditor>("TSeriesPointerEditor", &bare);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->colorEachCheck->isHidden());
    EXPECT_TRUE(editor->ignoreNullsCheck->isHidden());
    EXPECT_TRUE(editor->widthSpin->isHidden());
    EXPECT_FALSE(editor->draw3DCheck->isEnabled());   // no series, no 3D chart to draw a cube in
    EXPECT_EQ(Create<TSeriesPointerEditor>("TSeriesPointerEditor", &note), nullptr);

    auto* notes = Create<TAnnotationToolEdit>("TAnnotationToolEdit", static_cast<TPlotCustomTool*>(&note));
    ASSERT_NE(notes, nullptr);
    bool shown = false;
    t.Drive = [&](QDialog& d) {
        auto& pointerEditor = dynamic_cast<TSeriesPointerEditor&>(d);
        shown = true;
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Pointer"));
        EXPECT_EQ(pointerEditor.Pointer(), &note.Callout());
        EXPECT_TRUE(pointerEditor.inflateMarginsCheck->isHidden());
        EXPECT_TRUE(pointerEditor.colorEachCheck->isHidden());
        EXPECT_FALSE(pointerEditor.closePanel->isHidden());
        pointerEditor.visibleCheck->setChecked(true);
        pointerEditor.closeButton->click();
    };
    notes->pointerButton->click();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(note.Callout().Visible());
}

TEST_F(EditedChart, AnnotationEditorWritesEveryPage)
{
    note.SetText(QStringLiteral("A\rB"));
    auto* editor = Create<TAnnotationToolEdit>("TAnnotationToolEdit", &note);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->pages->currentWidget(), editor->optionsPage);
    EXPECT_EQ(editor->pages->indexOf(editor->ShapeEditor()->formatPage), 5);
    EXPECT_EQ(editor->textMemo->blockCount(), 2);
    EXPECT_EQ(editor->textMemo->toPlainText(), QStringLiteral("A\nB"));
    editor->textMemo->setPlainText(QStringLiteral("A\r\nB"));
    EXPECT_EQ(note.Text(), QStringLiteral("A\rB"));
    EXPECT_EQ(AnnotationTextToMemo(QStringLiteral("1\r\n2\r3\n")), QStringLiteral("1\n2\n3"));

    t.Drive = [](QDialog& d) {
        dynamic_cast<TStringsEditor&>(d).memo->setPlainText(QStringLiteral("X\nY\nZ"));
        ClickOk(d);
    };
    editor->editButton->click();
    EXPECT_EQ(note.Text(), QStringLiteral("X\rY\rZ"));

    editor->alignmentCombo->setCurrentText(QStringLiteral("Center"));
    EXPECT_EQ(note.TextAlignment(), taCenter);
    editor->cursorCombo->setCurrentText(QStringLiteral("HandPoint"));
    EXPECT_EQ(note.Cursor(), crHandPoint);

    note.SetLeft(250);   // a position of its own, in pixels
    editor->RefreshControls(note);
    EXPECT_TRUE(editor->customCheck->isChecked());
    editor->unitsCombo->setCurrentText(QStringLiteral("Percent"));
    EXPECT_EQ(note.PositionUnits(), muPercent);
    EXPECT_EQ(note.Left(), 100);
    editor->customCheck->setChecked(false);
    EXPECT_FALSE(note.Shape().CustomPosition());
    for (QWidget* w : std::initializer_list<QWidget*>{editor->leftSpin, editor->topSpin, editor->unitsCombo})
        EXPECT_FALSE(w->isEnabled());
    editor->leftSpin->setValue(40);
    EXPECT_EQ(note.Left(), 100);
    editor->positionCombo->setCurrentText(QStringLiteral("Right bottom"));
    EXPECT_EQ(note.Position(), ppRightBottom);

    EXPECT_FALSE(editor->widthSpin->isEnabled());
    editor->widthSpin->setValue(77);
    EXPECT_TRUE(note.AutoSize());
    editor->autoSizeCheck->setChecked(false);
    EXPECT_TRUE(editor->widthSpin->isEnabled());
    EXPECT_TRUE(editor->heightSpin->isEnabled());
    editor->widthSpin->setValue(120);
    editor->heightSpin->setValue(45);
    EXPECT_EQ(note.Width(), 120);
    EXPECT_EQ(note.Height(), 45);

    editor->xEdit->setText(QStringLiteral("37"));
    editor->xEdit->setText(QStringLiteral("abc"));
    EXPECT_EQ(note.Callout().XPosition(), 37);
    editor->zEdit->setText(QStringLiteral("-4"));
    EXPECT_EQ(note.Callout().ZPosition(), -4);
    editor->arrowHeadCombo->setCurrentText(QStringLiteral("Solid"));
    EXPECT_EQ(note.Callout().ArrowHead(), ahSolid);
}

TEST_F(EditedChart, MagnifierEditorWritesStraightBack)
{
    lens.SetWheelZoom(-7);
    auto* editor = Create<TMagnifyToolEditor>("TMagnifyToolEditor", static_cast<TPlotCustomTool*>(&lens));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Create<TMagnifyToolEditor>("TMagnifyToolEditor", static_cast<TPlotCustomTool*>(&note)), nullptr);
    QStringList shownPages;
    for (int i = 0; i < editor->pages->count(); ++i)
        if (editor->pages->isTabVisible(i))
            shownPages << editor->pages->tabText(i);
    EXPECT_EQ(shownPages, QStringList({"Options", "Format"}));
    EXPECT_EQ(editor->pages->currentWidget(), editor->magnifierPage);
    EXPECT_EQ(editor->zoomTrack->value(), 50);
    EXPECT_EQ(editor->wheelZoomSpin->value(), 7);
    EXPECT_TRUE(editor->allowDragCheck->isChecked());

    chart.Canvas().Dirty = false;   // as a finished drawing leaves it
    editor->zoomTrack->setValue(75);
    EXPECT_EQ(lens.Percent(), 75.0);
    EXPECT_TRUE(chart.Canvas().Dirty);
    editor->circledCheck->setChecked(true);
    editor->wheelZoomSpin->setValue(12);
    editor->followMouseCheck->setChecked(true);
    editor->allowResizeCheck->setChecked(false);
    EXPECT_TRUE(lens.Circled());
    EXPECT_EQ(lens.WheelZoom(), 12);
    EXPECT_TRUE(lens.FollowMouse());
    EXPECT_FALSE(lens.AllowResize());
    EXPECT_EQ(editor->cursorCombo->parentWidget(), editor->magnifierPage);
    editor->cursorCombo->setCurrentText(QStringLiteral("Cross"));
    EXPECT_EQ(lens.Cursor(), crCross);
}
