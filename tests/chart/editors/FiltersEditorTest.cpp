#include "EditorsTestSupport.h"

#include "chart/canvas/PlotFiltersColor.h"
#include "chart/editors/Draw3D.h"
#include "chart/editors/EditorRegistry.h"
#include "chart/editors/FilterFormCreator.h"
#include "chart/editors/FiltersEditor.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

QImage TestPicture()
{
    QImage picture(120, 80, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(x, y, qRgb(x * 2, y * 3, (x * y) % 256));
    return picture;
}

void AddByMenu(TFiltersEditor& editor, const QString& caption)
{
    for (QAction* action : editor.addMenu->actions())
        if (action->text() == caption) {
            action->trigger();
            return;
        }
    ADD_FAILURE() << caption.toStdString() << " is not in the menu";
}

QStringList ListTexts(const QListWidget& list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

QStringList CollectionTexts(TFilterItems& items)
{
    QStringList texts;
    for (int i = 0; i < items.Count(); ++i)
        texts << items.GetItem(i)->Description();
    return texts;
}

const QImage& Preview(TFiltersEditor& editor)
{
    return editor.preview->BackImage().Graphic();
}

} // namespace

TEST(PropertyCaption, DropsTheLowerCasePrefixAndSeparatesWords)
{
    EXPECT_EQ(PropertyCaption(QStringLiteral("SmoothBlur")), QStringLiteral("Smooth Blur"));
    EXPECT_EQ(PropertyCaption(QStringLiteral("gmEye2")), QStringLiteral("Eye2"));
    EXPECT_EQ(PropertyCaption(QStringLiteral("abc")), QStringLiteral("abc"));
}

TEST(FiltersEditor, PreviewAndOptionsFollowTheFilters)
{
    TestDialogs t;
    const QImage picture = TestPicture();
    TFilterItems filters;
    TFiltersEditor editor(t.Hooks, picture, filters);
    editor.scaledCheck->setChecked(false);
    EXPECT_EQ(editor.filterList->count(), 0);
    EXPECT_TRUE(editor.optionPages->isHidden());
    EXPECT_FALSE(editor.deleteButton->isEnabled());
    EXPECT_EQ(Preview(editor), picture);

    AddByMenu(editor, QStringLiteral("Invert"));
    EXPECT_FALSE(editor.optionPages->isHidden());
    QImage inverted = picture.copy();
    TFilterItems invert;
    invert.Add(TInvertFilter::Class());
    invert.ApplyToBitmap(inverted);
    EXPECT_EQ(Preview(editor), inverted);
    EXPECT_NE(Preview(editor), picture);
    editor.filterList->item(0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(editor.Filters().GetItem(0)->Enabled);
    EXPECT_EQ(Preview(editor), picture);
    editor.filterList->item(0)->setCheckState(Qt::Checked);

    // Brightness: the amount's range follows "Percent", and a value outside the new range is
    // stored as the control shows it.
    AddByMenu(editor, QStringLiteral("Brightness"));
    auto& brightness = dynamic_cast<TBrightnessFilter&>(*editor.SelectedFilter());
    auto* amount = editor.optionsPage->findChild<QSpinBox*>(QStringLiteral("Amount"));
    auto* percent = editor.optionsPage->findChild<QCheckBox*>(QStringLiteral("Percent"));
    ASSERT_TRUE(amount && percent);
    EXPECT_EQ(amount->value(), 5);
    EXPECT_EQ(std::make_pair(amount->minimum(), amount->maximum()), std::make_pair(-100, 100));
    EXPECT_EQ(percent->text(), QStringLiteral("Percent"));
    percent->setChecked(false);
    EXPECT_FALSE(brightness.Percent);
    EXPECT_EQ(std::make_pair(amount->minimum(), amount->maximum()), std::make_pair(-255, 255));
    amount->setValue(200);
    EXPECT_EQ(brightness.Amount, 200);
    QImage expected = picture.copy();
    editor.Filters().ApplyToBitmap(expected);
    EXPECT_EQ(Preview(editor), expected);
    percent->setChecked(true);
    EXPECT_EQ(amount->maximum(), 100);
    EXPECT_EQ(brightness.Amount, 100);

    // Gray scale: the method's items as the filter names them.
    AddByMenu(editor, QStringLiteral("Gray scale"));
    auto* method = editor.optionsPage->findChild<QComboBox*>(QStringLiteral("Method"));
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(editor.optionsPage->findChild<QSpinBox*>(QStringLiteral("Amount")), nullptr);
    QStringList items;
    for (int i = 0; i < method->count(); ++i)
        items << method->itemText(i);
    EXPECT_EQ(items, QStringList({"Simple", "Eye", "Eye 2"}));
    method->setCurrentIndex(2);
    EXPECT_EQ(dynamic_cast<TGrayScaleFilter&>(*editor.SelectedFilter()).Method, gmEye2);

    // Moving changes list and collection alike; the buttons only offer possible moves.
    EXPECT_FALSE(editor.moveDownButton->isEnabled());
    editor.moveUpButton->click();
    editor.moveUpButton->click();
    const QStringList moved{"Gray scale", "Invert", "Brightness"};
    EXPECT_EQ(ListTexts(*editor.filterList), moved);
    EXPECT_EQ(CollectionTexts(editor.Filters()), moved);
    EXPECT_FALSE(editor.moveUpButton->isEnabled());
    editor.moveDownButton->click();
    EXPECT_EQ(ListTexts(*editor.filterList), QStringList({"Invert", "Gray scale", "Brightness"}));
    EXPECT_EQ(CollectionTexts(editor.Filters()), ListTexts(*editor.filterList));

    // A region is made only when it is edited, and limits the filter to it.
    editor.filterList->setCurrentRow(0);
    EXPECT_FALSE(editor.SelectedFilter()->HasRegion());
    editor.regionWidthSpin->setValue(10);
    ASSERT_TRUE(editor.SelectedFilter()->HasRegion());
    EXPECT_EQ(editor.SelectedFilter()->Region().Width, 10);

    // The scaled preview fills the panel.
    editor.scaledCheck->setChecked(true);
    EXPECT_TRUE(editor.scaledAction->isChecked());
    EXPECT_EQ(Preview(editor).size(), editor.preview->size());
    editor.previewCheck->setChecked(false);
    EXPECT_TRUE(Preview(editor).isNull());
    EXPECT_FALSE(editor.scaledCheck->isEnabled());

    EXPECT_EQ(filters.Count(), 0);   // nothing reaches the caller's list before OK
}

TEST(FiltersEditor, DeletingTheOnlyFilterShowsThePicture)
{
    TestDialogs t;
    const QImage picture = TestPicture();
    TFilterItems filters;
    filters.Add(TInvertFilter::Class());
    TFiltersEditor editor(t.Hooks, picture, filters);
    editor.scaledCheck->setChecked(false);
    EXPECT_EQ(editor.filterList->currentRow(), 0);
    EXPECT_NE(Preview(editor), picture);
    editor.deleteButton->click();
    EXPECT_EQ(editor.Filters().Count(), 0);
    EXPECT_EQ(editor.filterList->count(), 0);
    EXPECT_TRUE(editor.optionPages->isHidden());
    EXPECT_FALSE(editor.deleteButton->isEnabled());
    EXPECT_EQ(Preview(editor), picture);
}

TEST(FiltersEditor, StartedUnitOpensItAndOnlyOkWritesBack)
{
    TestDialogs t;
    EditorsUnit unit;
    unit.Dialogs = t.Hooks;
    StartEditorsUnit(unit);
    ASSERT_TRUE(unit.Dialogs.Filters);
    const QImage picture = TestPicture();
    TFilterItems filters;

    unit.Dialogs.RunModal = [](QDialog& d) {
        auto& editor = dynamic_cast<TFiltersEditor&>(d);
        EXPECT_EQ(editor.windowTitle(), QStringLiteral("Filters"));
        AddByMenu(editor, QStringLiteral("Mosaic"));
        AddByMenu(editor, QStringLiteral("Flip"));
        editor.filterList->item(1)->setCheckState(Qt::Unchecked);
        ClickOk(d);
        return d.result();
    };
    EXPECT_TRUE(unit.Dialogs.Filters(nullptr, picture, filters));
    EXPECT_EQ(CollectionTexts(filters), QStringList({"Mosaic", "Flip"}));
    EXPECT_FALSE(filters.GetItem(1)->Enabled);

    unit.Dialogs.RunModal = [](QDialog& d) {
        dynamic_cast<TFiltersEditor&>(d).deleteButton->click();
        d.reject();
        return d.result();
    };
    EXPECT_FALSE(unit.Dialogs.Filters(nullptr, picture, filters));
    EXPECT_EQ(filters.Count(), 2);

    // The picture's own filters; its owner repaints on OK only.
    int repaints = 0;
    TPlotPicture owned([&] { ++repaints; });
    owned.SetGraphic(picture);
    repaints = 0;
    unit.Dialogs.RunModal = [](QDialog& d) {
        AddByMenu(dynamic_cast<TFiltersEditor&>(d), QStringLiteral("Invert"));
        ClickOk(d);
        return d.result();
    };
    EXPECT_TRUE(ShowFiltersEditor(unit.Dialogs, nullptr, owned));
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(owned.Filters().Count(), 1);

    StopEditorsUnit(unit);
    EXPECT_FALSE(unit.Dialogs.Filters);
}
