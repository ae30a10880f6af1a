// The smoothing tool's editor: the filter editor is shown the chart drawn plain, and once it has
// added a filter the chart shows its smoothed picture through that filter, the tool active and
// the chart repainting on change again.
#include "EditorsTestSupport.h"

#include "chart/canvas/PlotFiltersColor.h"
#include "chart/editors/AntiAliasEditor.h"
#include "chart/series/Chart.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/AntiAliasTool.h"

#include <QCheckBox>
#include <QPushButton>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

TEST(AntiAliasEditor, FilterEditorSeesThePlainChartThenTheChartShowsItsFilter)
{
    TChart chart;
    TLineSeries series;
    chart.SetView3D(false);
    chart.resize(320, 200);
    chart.AddSeries(&series);
    for (int i = 0; i <= 100; ++i)
        series.AddPointXY(i, 50.0 + 40.0 * std::sin(i * 0.15));
    TAntiAliasTool tool;
    tool.SetParentChart(&chart);
    tool.SetActive(false);
    const QImage plain = chart.CreateBitmap();
    tool.SetActive(true);
    chart.RepaintNow();
    QImage smooth = chart.WindowImage().copy();

    TestDialogs t;
    EditorsUnit unit;
    unit.Dialogs = t.Hooks;
    StartEditorsUnit(unit);
    std::unique_ptr<QWidget> widget(
        CreateEditorByName(unit, QStringLiteral("TAntiAliasEditor"), nullptr, EditedObject(&tool)));
    auto* editor = dynamic_cast<TAntiAliasEditor*>(widget.get());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(CreateEditorByName(unit, QStringLiteral("TAntiAliasEditor"), nullptr, EditedObject(&series)), nullptr);
    EXPECT_TRUE(editor->antiAliasCheck->isChecked());
    ASSERT_TRUE(editor->filtersButton->isEnabled());

    QImage seen;
    unit.Dialogs.Filters = [&](QWidget*, const QImage& graphic, TFilterItems& filters) {
        seen = graphic;
        filters.Add(TInvertFilter::Class());
        return true;
    };
    editor->filtersButton->click();
    EXPECT_EQ(seen, plain);
    TInvertFilter().ApplyToBitmap(smooth);
    EXPECT_EQ(chart.WindowImage(), smooth);
    EXPECT_TRUE(tool.Active());
    EXPECT_TRUE(tool.AntiAlias());
    EXPECT_TRUE(chart.RepaintOnChange());

    editor->antiAliasCheck->setChecked(false);
    EXPECT_FALSE(tool.AntiAlias());
    unit.Dialogs.Filters = nullptr;
    editor->RefreshControls(tool);
    EXPECT_FALSE(editor->antiAliasCheck->isChecked());
    EXPECT_FALSE(editor->filtersButton->isEnabled());
    StopEditorsUnit(unit);
    chart.RemoveSeries(series);
}
