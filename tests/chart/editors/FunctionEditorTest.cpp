#include "EditorsTestSupport.h"

#include "app/NumberText.h"
#include "chart/editors/AxisIncrement.h"
#include "chart/editors/EditorRegistry.h"
#include "chart/editors/FunctionEditor.h"
#include "chart/engine/EngineFakes.h"
#include "chart/engine/SeriesFunctions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

using enginetest::FakeChart;

namespace {

// Ends the test program when the guarded calls do not come back in time: a period that never
// advances would otherwise hang the whole run.
class TimeLimit {
public:
    explicit TimeLimit(std::chrono::seconds limit)
        : thread_([this, limit] {
              std::unique_lock lock(mutex_);
              if (!ended_.wait_for(lock, limit, [this] { return done_; })) {
                  std::fputs("time limit exceeded\n", stderr);
                  std::_Exit(EXIT_FAILURE);
              }
          })
    {
    }
    ~TimeLimit()
    {
        {
            const std::lock_guard lock(mutex_);
            done_ = true;
        }
        ended_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable ended_;
    bool done_ = false;
    std::thread thread_;
};

class CountingAverage : public TAverageFunction {
public:
    void AddPoints(TChartSeries* source) override
    {
        ++calculations;
        TAverageFunction::AddPoints(source);
    }
    int calculations = 0;
};

struct FakeOwner : TFunctionEditorOwner {
    TChartSeries* FunctionSeries() const override { return series; }
    const TPlotFunctionClass* ChosenFunctionClass() const override { return chosen; }
    void EnableApply() override { ++applyEnabled; }

    TChartSeries* series = nullptr;
    const TPlotFunctionClass* chosen = nullptr;
    int applyEnabled = 0;
};

// A source of seven points and a series averaging it.
struct FunctionChart {
    FakeChart chart;
    TChartSeries& source = chart.NewSeries();
    TChartSeries& series = chart.NewSeries();
    CountingAverage* function = nullptr;
    FakeOwner owner;

    FunctionChart()
    {
        for (int i = 0; i < 7; ++i)
            source.AddPointXY(i, i * 2.0);
        auto f = std::make_unique<CountingAverage>();
        function = f.get();
        series.SetFunction(std::move(f));
        series.SetDataSource(&source);
        owner.series = &series;
    }
};

} // namespace

TEST(AxisIncrement, DateTimeIncrementsAsTextAndBack)
{
    EXPECT_EQ(DateTimeIncrementText(1.5), QStringLiteral("1 12:00:00"));
    EXPECT_EQ(DateTimeIncrementText(0), QStringLiteral("00:00:01"));
    EXPECT_EQ(DateTimeIncrementText(2), QStringLiteral("2"));
    EXPECT_EQ(DateTimeIncrementText(0.25), QStringLiteral("06:00:00"));

    TestDialogs t;
    TAxisIncrement dialog(t.Hooks);
    dialog.IsDateTime = true;
    dialog.Increment = 1.5;
    t.Drive = [&](QDialog& d) {
        EXPECT_TRUE(dialog.customRadio->isChecked());
        EXPECT_FALSE(dialog.exactCheck->isEnabled());
        EXPECT_EQ(dialog.incrementEdit->text(), QStringLiteral("1 12:00:00"));
        d.show();
        dialog.incrementEdit->setText(QStringLiteral("x"));
        ClickOk(d);
        EXPECT_TRUE(d.isVisible());
        dialog.incrementEdit->setText(QStringLiteral("2 06:00:00"));
        ClickOk(d);
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_DOUBLE_EQ(dialog.Increment, 2.25);
    ASSERT_EQ(t.Errors.size(), 1);
    EXPECT_TRUE(t.Errors[0].startsWith(QStringLiteral("Incorrect value. Reason: "))) << t.Errors[0].toStdString();

    // "&Standard:" turns the exact date on and starts at the first step.
    dialog.StepIndex = DateTimeStepCount;
    t.Drive = [&](QDialog& d) {
        dialog.standardRadio->setChecked(true);
        EXPECT_TRUE(dialog.exactCheck->isChecked());
        EXPECT_TRUE(dialog.exactCheck->isEnabled());
        EXPECT_TRUE(dialog.IsExact);
        EXPECT_EQ(dialog.StepIndex, 0);
        EXPECT_FALSE(dialog.incrementEdit->isEnabled());
        dialog.stepCombo->setCurrentIndex(2);
        EXPECT_EQ(dialog.StepIndex, 2);
        ClickOk(d);
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_DOUBLE_EQ(dialog.Increment, 1.0 / 86400);

    // Shown again it is a standard step; unchecking the exact date goes back to custom.
    t.Drive = [&](QDialog& d) {
        EXPECT_TRUE(dialog.standardRadio->isChecked());
        EXPECT_EQ(dialog.stepCombo->currentIndex(), 2);
        EXPECT_TRUE(dialog.incrementEdit->text().isEmpty());
        dialog.exactCheck->setChecked(false);
        EXPECT_TRUE(dialog.customRadio->isChecked());
        EXPECT_FALSE(dialog.IsExact);
        EXPECT_EQ(dialog.incrementEdit->text(), QStringLiteral("00:00:01"));
        ClickCancel(d);
    };
    EXPECT_FALSE(dialog.Execute());
}

TEST(AxisIncrement, NumericAxisUsesTheDecimalMark)
{
    const ScopedDecimalSeparator comma(QLatin1Char(','));
    TestDialogs t;
    TAxisIncrement dialog(t.Hooks);
    dialog.Increment = 0.5;
    t.Drive = [&](QDialog& d) {
        EXPECT_FALSE(dialog.incrementGroup->isVisibleTo(&d));
        EXPECT_FALSE(dialog.stepCombo->isVisibleTo(&d));
        EXPECT_EQ(dialog.incrementEdit->text(), QStringLiteral("0,5"));
        dialog.incrementEdit->setText(QStringLiteral("2,5"));
        ClickOk(d);
    };
    EXPECT_TRUE(dialog.Execute());
    EXPECT_DOUBLE_EQ(dialog.Increment, 2.5);
}

TEST(FunctionEditor, ShowsTheFunctionsPeriodStyle)
{
    FunctionChart c;
    TestDialogs t;
    TPlotFunctionEditor page(t.Hooks, c.owner);
    c.function->SetPeriodStyle(psRange);
    c.function->SetPeriod(2);
    page.ShowFunction();
    EXPECT_EQ(page.styleCombo->currentIndex(), TPlotFunctionEditor::EveryRange);
    EXPECT_EQ(page.periodEdit->text(), QStringLiteral("2"));
    EXPECT_TRUE(page.changeButton->isEnabled());

    c.function->SetPeriodStyle(psNumPoints);
    c.function->SetPeriod(3);
    page.ShowFunction();
    EXPECT_EQ(page.styleCombo->currentIndex(), TPlotFunctionEditor::EveryNumberOfPoints);
    EXPECT_EQ(page.periodEdit->text(), QStringLiteral("3"));
    EXPECT_TRUE(page.periodEdit->isEnabled());
    EXPECT_FALSE(page.changeButton->isEnabled());

    c.function->SetPeriod(0);
    page.ShowFunction();
    EXPECT_EQ(page.styleCombo->currentIndex(), TPlotFunctionEditor::AllPoints);
    EXPECT_FALSE(page.periodEdit->isEnabled());
    EXPECT_EQ(c.owner.applyEnabled, 0);
}

TEST(FunctionEditor, ApplyWritesThePeriodOnceAndRefusesBadOnes)
{
    FunctionChart c;
    TestDialogs t;
    TPlotFunctionEditor page(t.Hooks, c.owner);
    page.ShowFunction();
    page.styleCombo->setCurrentIndex(TPlotFunctionEditor::EveryRange);
    EXPECT_GT(c.owner.applyEnabled, 0);
    page.periodEdit->setText(QStringLiteral("2.5"));
    page.alignCombo->setCurrentIndex(paLast);
    c.function->calculations = 0;
    EXPECT_TRUE(page.CloseQuery());
    EXPECT_EQ(c.function->PeriodAlign(), paLast);
    EXPECT_EQ(c.function->PeriodStyle(), psRange);
    EXPECT_DOUBLE_EQ(c.function->Period(), 2.5);
    EXPECT_EQ(c.function->calculations, 1);

    page.periodEdit->setText(QStringLiteral("-1"));
    page.CloseQuery();
    EXPECT_EQ(t.Errors, QStringList({"Function Period should be >= 0"}));
    EXPECT_DOUBLE_EQ(c.function->Period(), 2.5);

    // A number of points is applied as a whole number; a fraction below one half is no points
    // per period, which means all points.
    page.styleCombo->setCurrentIndex(TPlotFunctionEditor::EveryNumberOfPoints);
    page.periodEdit->setText(QStringLiteral("2.5"));
    page.CloseQuery();
    EXPECT_EQ(c.function->PeriodStyle(), psNumPoints);
    EXPECT_DOUBLE_EQ(c.function->Period(), 2);
    page.periodEdit->setText(QStringLiteral("0.3"));
    {
        const TimeLimit limit(std::chrono::seconds(30));
        EXPECT_TRUE(page.CloseQuery());
    }
    EXPECT_EQ(c.function->Period(), 0.0);
    EXPECT_EQ(c.series.Count(), 1);
}

TEST(FunctionEditor, NewFunctionOfTheChosenClassAndRangeDialog)
{
    FunctionChart c;
    FakeOwner owner;
    TChartSeries& bare = c.chart.NewSeries();
    bare.SetDataSource(&c.source);
    owner.series = &bare;
    TestDialogs t;
    TPlotFunctionEditor page(t.Hooks, owner);
    page.ShowFunction();
    page.CloseQuery();
    EXPECT_EQ(bare.Function(), nullptr);   // no class chosen, nothing made

    const TPlotFunctionClass* high = FindPlotFunctionClass(QStringLiteral("THighFunction"));
    ASSERT_NE(high, nullptr);
    owner.chosen = high;
    page.styleCombo->setCurrentIndex(TPlotFunctionEditor::EveryNumberOfPoints);
    page.periodEdit->setText(QStringLiteral("3"));
    page.CloseQuery();
    ASSERT_NE(bare.Function(), nullptr);
    EXPECT_EQ(bare.Function()->ClassName(), high->Create()->ClassName());
    EXPECT_DOUBLE_EQ(bare.Function()->Period(), 3);
    EXPECT_EQ(bare.Count(), 2);   // periods of points 0-2 and 3-5

    page.styleCombo->setCurrentIndex(TPlotFunctionEditor::EveryRange);
    c.source.XValues().SetDateTime(true);
    t.Drive = [](QDialog& d) {
        auto& range = dynamic_cast<TAxisIncrement&>(d);
        EXPECT_EQ(range.windowTitle(), QStringLiteral("Period range"));
        EXPECT_TRUE(range.IsDateTime);
        EXPECT_EQ(range.StepIndex, 18);   // the period of 3 is "Three Days"
        range.customRadio->setChecked(true);
        range.incrementEdit->setText(QStringLiteral("2 06:00:00"));
        ClickOk(d);
    };
    page.changeButton->click();
    EXPECT_EQ(page.periodEdit->text(), QStringLiteral("2.25"));
}

TEST(FunctionEditor, RegisteredByName)
{
    EditorsUnit unit;
    StartEditorsUnit(unit);
    FunctionChart c;
    QWidget parent;
    QWidget* editor = CreateEditorByName(unit, QStringLiteral("TPlotFunctionEditor"), &parent,
                                         EditedObject(static_cast<TFunctionEditorOwner*>(&c.owner)));
    ASSERT_NE(dynamic_cast<TPlotFunctionEditor*>(editor), nullptr);
    EXPECT_EQ(CreateEditorByName(unit, QStringLiteral("TPlotFunctionEditor"), &parent, EditedObject(&c.series)), nullptr);
    StopEditorsUnit(unit);
}
