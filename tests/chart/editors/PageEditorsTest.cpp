#include "EditorsTestSupport.h"

#include "chart/canvas/PlotColorHls.h"
#include "chart/canvas/PlotFiltersColor.h"
#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/canvas/PlotShape.h"
#include "chart/editors/BackImageEditor.h"
#include "chart/editors/BrushDialog.h"
#include "chart/editors/EditorButtons.h"
#include "chart/editors/FontEditor.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/ShadowEditor.h"
#include "chart/editors/ShapeEditor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(FontEditor, FontPageWritesAndLaterPagesComeOnFirstVisit)
{
    int changes = 0;
    TPlotFont font([&] { ++changes; });
    TestDialogs t;
    QTabWidget outer;
    auto* page = new QWidget;
    outer.addTab(page, QStringLiteral("Text"));
    TPlotFontEditor* editor = CreateFontEditorPage(t.Hooks, page, font);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(editor->nameCombo->currentText(), font.Name());
    EXPECT_EQ(editor->sizeSpin->value(), 8);

    editor->sizeSpin->setValue(14);
    editor->boldCheck->setChecked(true);
    editor->underlineCheck->setChecked(true);
    editor->underlineCheck->setChecked(false);
    editor->interCharSpin->setValue(-3);
    EXPECT_EQ(font.Size(), 14);
    EXPECT_EQ(font.Style(), fsBold);
    EXPECT_EQ(font.InterCharSize(), -3);
    const QString other = editor->nameCombo->itemText(editor->nameCombo->currentIndex() == 0 ? 1 : 0);
    editor->nameCombo->setCurrentText(other);
    EXPECT_EQ(font.Name(), other);
    editor->outlineGradientCheck->setChecked(true);
    EXPECT_TRUE(font.Gradient().Outline());

    QFont chosen(QStringLiteral("DejaVu Sans"));
    chosen.setPointSize(20);
    chosen.setItalic(true);
    t.Hooks.Font = [&](QWidget*, const QFont& shown) -> std::optional<QFont> {
        EXPECT_EQ(shown.pointSize(), 14);
        EXPECT_TRUE(shown.bold());
        return chosen;
    };
    editor->editButton->click();
    EXPECT_EQ(font.Name(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(font.Size(), 20);
    EXPECT_EQ(font.Style(), fsItalic);
    EXPECT_EQ(editor->sizeSpin->value(), 20);

    EXPECT_EQ(editor->ShadowEditor(), nullptr);
    EXPECT_EQ(editor->GradientEditor(), nullptr);
    EXPECT_EQ(editor->PictureEditor(), nullptr);
    EXPECT_FALSE(font.HasShadow());
    editor->pages->setCurrentWidget(editor->shadowPage);
    ASSERT_NE(editor->ShadowEditor(), nullptr);
    editor->ShadowEditor()->horizSpin->setValue(5);
    EXPECT_EQ(font.Shadow().HorizSize(), 5);
    editor->pages->setCurrentWidget(editor->gradientPage);
    ASSERT_NE(editor->GradientEditor(), nullptr);
    EXPECT_TRUE(editor->GradientEditor()->buttonPanel->isHidden());
    editor->GradientEditor()->visibleCheck->setChecked(true);
    EXPECT_TRUE(font.Gradient().Visible());
    editor->GradientEditor()->reject();   // Esc on the page: nothing put back, nothing hidden
    EXPECT_TRUE(font.Gradient().Visible());
    EXPECT_FALSE(editor->GradientEditor()->isHidden());
    editor->pages->setCurrentWidget(editor->picturePage);
    ASSERT_NE(editor->PictureEditor(), nullptr);
    EXPECT_EQ(editor->PictureEditor()->Picture(), &font.Picture());
    EXPECT_TRUE(editor->PictureEditor()->styleGroup->isHidden());
    EXPECT_TRUE(editor->PictureEditor()->positionGroup->isHidden());
}

TEST(ShapeEditor, FormatAndBorderRulesAndMovedPages)
{
    TPlotShape shape;
    shape.SetTransparent(true);
    TestDialogs t;
    QTabWidget caller;
    caller.addTab(new QWidget, QStringLiteral("Options"));
    TFormPlotShape* editor = CreateShapeEditorPage(t.Hooks, &caller, shape);
    ASSERT_EQ(caller.count(), 7);
    const QStringList captions = {QStringLiteral("Options"), QStringLiteral("Format"), QStringLiteral("Border"),
                                  QStringLiteral("Text"), QStringLiteral("Gradient"), QStringLiteral("Shadow"),
                                  QStringLiteral("Picture")};
    for (int i = 0; i < caller.count(); ++i)
        EXPECT_EQ(caller.tabText(i), captions[i]);
    EXPECT_EQ(editor->pages->count(), 0);
    EXPECT_TRUE(editor->isHidden());

    EXPECT_TRUE(editor->transparentCheck->isChecked());
    t.NextColor = clFuchsia;
    editor->colorButton->click();
    EXPECT_EQ(shape.Color(), clFuchsia);
    EXPECT_FALSE(shape.Transparent());
    EXPECT_FALSE(editor->transparentCheck->isChecked());

    EXPECT_FALSE(editor->bevelSizeSpin->isEnabled());
    editor->bevelCombo->setCurrentIndex(bvRaised);
    EXPECT_EQ(shape.Bevel(), bvRaised);
    EXPECT_TRUE(editor->bevelSizeSpin->isEnabled());
    editor->bevelSizeSpin->setValue(4);
    EXPECT_EQ(shape.BevelWidth(), 4);
    editor->bevelCombo->setCurrentIndex(bvNone);
    EXPECT_FALSE(editor->bevelSizeSpin->isEnabled());
    EXPECT_FALSE(editor->roundSizeSpin->isEnabled());
    editor->roundCheck->setChecked(true);
    EXPECT_EQ(shape.ShapeStyle(), fosRoundRectangle);
    EXPECT_TRUE(editor->roundSizeSpin->isEnabled());

    // "&Pattern..." edits the shape's brush.
    t.Drive = [](QDialog& d) {
        dynamic_cast<TBrushDialog&>(d).styleList->setCurrentRow(bsDiagCross);
        ClickOk(d);
    };
    editor->patternButton->click();
    EXPECT_EQ(shape.Brush().Style(), bsDiagCross);

    EXPECT_EQ(editor->FontEditor(), nullptr);
    caller.setCurrentWidget(editor->textPage);
    ASSERT_NE(editor->FontEditor(), nullptr);
    EXPECT_EQ(editor->FontEditor()->Font(), &shape.Font());
    caller.setCurrentWidget(editor->shadowPage);
    ASSERT_NE(editor->ShadowEditor(), nullptr);
    EXPECT_EQ(editor->ShadowEditor()->Shadow(), &shape.Shadow());
    EXPECT_EQ(editor->GradientEditor(), nullptr);
}

namespace {

QString WriteFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes)
{
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

} // namespace

TEST(BackImageEditor, LoadPlaceFilterAndClear)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QString png = dir.filePath(QStringLiteral("back.png"));
    ASSERT_TRUE(picture.save(png));
    const QString fake = WriteFile(dir, "text.png", "just a line of text\n");

    int repaints = 0;
    TBackImage image([&] { ++repaints; });
    TestDialogs t;
    QWidget page;
    TBackImageEditor* editor = CreateBackImageEditorPage(t.Hooks, &page, image);
    EXPECT_EQ(editor->sizeLabel->text(), QStringLiteral("0x0"));
    EXPECT_FALSE(editor->styleGroup->isEnabled());
    EXPECT_FALSE(editor->filtersButton->isEnabled());   // no filter editor yet

    t.NextPictureFile = fake;
    editor->browseButton->click();
    ASSERT_EQ(t.Errors.size(), 1);
    EXPECT_FALSE(image.HasGraphic());
    EXPECT_EQ(editor->browseButton->text(), QStringLiteral("B&rowse..."));

    t.NextPictureFile = png;
    editor->browseButton->click();
    ASSERT_TRUE(image.HasGraphic());
    EXPECT_EQ(editor->sizeLabel->text(), QStringLiteral("40x30"));
    EXPECT_EQ(editor->formatLabel->text(), QStringLiteral("png"));
    EXPECT_EQ(editor->browseButton->text(), QStringLiteral("Clea&r"));
    EXPECT_TRUE(editor->styleGroup->isEnabled());

    EXPECT_FALSE(editor->positionGroup->isEnabled());
    editor->leftSpin->setValue(12);
    EXPECT_EQ(image.Left(), 0);
    editor->customRadio->click();
    EXPECT_EQ(image.Mode(), pbmCustom);
    EXPECT_TRUE(editor->positionGroup->isEnabled());
    editor->leftSpin->setValue(13);
    editor->topSpin->setValue(-4);
    EXPECT_EQ(image.Left(), 13);
    EXPECT_EQ(image.Top(), -4);
    editor->transparentCheck->setChecked(true);
    EXPECT_TRUE(image.Transparent());

    t.Hooks.Filters = [](QWidget*, const QImage& graphic, TFilterItems& filters) {
        EXPECT_EQ(graphic.size(), QSize(40, 30));
        filters.Add(TInvertFilter::Class());
        return true;
    };
    editor->RefreshControls(image);
    EXPECT_TRUE(editor->filtersButton->isEnabled());
    repaints = 0;
    editor->filtersButton->click();
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(image.Filters().Count(), 1);

    editor->browseButton->click();
    EXPECT_FALSE(image.HasGraphic());
    EXPECT_EQ(editor->sizeLabel->text(), QStringLiteral("0x0"));
    EXPECT_FALSE(editor->transparentCheck->isEnabled());

    TPlotPicture plain;
    editor->RefreshControls(plain);
    EXPECT_TRUE(editor->styleGroup->isHidden());
    EXPECT_TRUE(editor->positionGroup->isHidden());
}
