#include "chart/editors/FunctionEditor.h"

#include "app/NumberText.h"
#include "chart/editors/AxisIncrement.h"
#include "chart/editors/EditorDialogs.h"
#include "chart/editors/EditorRoutines.h"
#include "chart/engine/ChartException.h"
#include "chart/engine/ChartSeries.h"
#include "chart/engine/PlotFunction.h"
#include "chart/engine/PlotMessages.h"
#include "chart/engine/SeriesFunctions.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>
#include <memory>

TBaseFunctionEditor::TBaseFunctionEditor(const EditorDialogs& dialogs, TFunctionEditorOwner& owner, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), owner_(owner)
{
    setObjectName(QStringLiteral("BaseFunctionEditor"));
}

TPlotFunction* TBaseFunctionEditor::Function() const
{
    TChartSeries* series = owner_.FunctionSeries();
    return series ? series->Function() : nullptr;
}

void TBaseFunctionEditor::ApplyFunction(TPlotFunction& function)
{
    (void)function;
}

void TBaseFunctionEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ShowFunction();
}

void TBaseFunctionEditor::Changed()
{
    owner_.EnableApply();
}

bool TBaseFunctionEditor::CloseQuery()
{
    TChartSeries* series = owner_.FunctionSeries();
    if (!series)
        return true;
    try {
        TPlotFunction* function = series->Function();
        std::unique_ptr<TPlotFunction> created;
        if (!function) {
            const TPlotFunctionClass* chosen = owner_.ChosenFunctionClass();
            if (!chosen || !chosen->Create)
                return true;
            created = chosen->Create();
            function = created.get();
        }
        function->BeginUpdate();
        try {
            ApplyFunction(*function);
        } catch (...) {
            function->EndUpdate();
            throw;
        }
        function->EndUpdate();
        // A new function recalculates once, when the series takes it.
        if (created)
            series->SetFunction(std::move(created));
    } catch (const ChartException& e) {
        ShowEditorError(dialogs_, e.Message(), this);
    } catch (const std::exception& e) {
        ShowEditorError(dialogs_, QString::fromStdString(e.what()), this);
    }
    return true;
}

// ---- the period page

TPlotFunctionEditor::TPlotFunctionEditor(const EditorDialogs& dialogs, TFunctionEditorOwner& owner, QWidget* parent)
    : TBaseFunctionEditor(dialogs, owner, parent)
{
    setObjectName(QStringLiteral("PlotFunctionEditor"));
    InitChartMessages();

    auto* styleLabel = new QLabel(QStringLiteral("&Calculate using:"), this);
    styleCombo = new QComboBox(this);
    styleCombo->setObjectName(QStringLiteral("StyleCombo"));
    styleCombo->addItems({QStringLiteral("All points"), QStringLiteral("Every number of points"),
                          QStringLiteral("Every range")});
    styleLabel->setBuddy(styleCombo);
    auto* periodLabel = new QLabel(QStringLiteral("&Number of points:"), this);
    periodEdit = new QLineEdit(this);
    periodEdit->setObjectName(QStringLiteral("PeriodEdit"));
    periodEdit->setEnabled(false);
    periodLabel->setBuddy(periodEdit);
    changeButton = new QPushButton(QStringLiteral("&Change..."), this);
    changeButton->setObjectName(QStringLiteral("ChangeButton"));
    changeButton->setEnabled(false);
    auto* alignLabel = new QLabel(QStringLiteral("&Alignment:"), this);
    alignCombo = new QComboBox(this);
    alignCombo->setObjectName(QStringLiteral("AlignCombo"));
    alignCombo->addItems({QStringLiteral("First"), QStringLiteral("Center"), QStringLiteral("Last")});
    alignLabel->setBuddy(alignCombo);

    auto* grid = new QGridLayout(this);
    grid->addWidget(styleLabel, 0, 0);
    grid->addWidget(styleCombo, 0, 1, 1, 2);
    grid->addWidget(periodLabel, 1, 0);
    grid->addWidget(periodEdit, 1, 1);
    grid->addWidget(changeButton, 1, 2);
    grid->addWidget(alignLabel, 2, 0);
    grid->addWidget(alignCombo, 2, 1, 1, 2);
    grid->setRowStretch(3, 1);
    grid->setColumnStretch(1, 1);

    connect(styleCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_)
            StyleChanged();
    });
    connect(periodEdit, &QLineEdit::textChanged, this, [this] {
        if (!filling_)
            Changed();
    });
    connect(alignCombo, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_)
            Changed();
    });
    connect(changeButton, &QPushButton::clicked, this, &TPlotFunctionEditor::ChangeRange);
}

void TPlotFunctionEditor::ShowFunction()
{
    const FillGuard guard(filling_);
    const TPlotFunction* function = Function();
    PeriodChoice choice = AllPoints;
    TFunctionPeriodAlign align = paCenter;
    if (function) {
        if (function->PeriodStyle() == psRange)
            choice = EveryRange;
        else if (function->Period() != 0.0)
            choice = EveryNumberOfPoints;
        align = function->PeriodAlign();
    }
    styleCombo->setCurrentIndex(choice);
    alignCombo->setCurrentIndex(align);
    ShowPeriod();
}

// The edit as the chosen style shows the function's period: nothing for all points, a whole
// number of points, or the span of X.
void TPlotFunctionEditor::ShowPeriod()
{
    const int choice = styleCombo->currentIndex();
    const TPlotFunction* function = Function();
    const double period = function ? function->Period() : 0.0;
    if (choice == EveryNumberOfPoints)
        periodEdit->setText(QString::number(std::nearbyint(std::max(period, 0.0)), 'f', 0));
    else if (choice == EveryRange)
        periodEdit->setText(FloatToStr(period));
    else
        periodEdit->clear();
    periodEdit->setEnabled(choice != AllPoints);
    changeButton->setEnabled(choice == EveryRange);
}

void TPlotFunctionEditor::StyleChanged()
{
    ShowPeriod();
    if (periodEdit->isEnabled())
        periodEdit->setFocus();
    Changed();
}

double TPlotFunctionEditor::ShownPeriod() const
{
    double period = 0.0;
    if (TryStrToFloat(periodEdit->text(), period))
        return period;
    const TPlotFunction* function = Function();
    return function ? function->Period() : 0.0;
}

bool TPlotFunctionEditor::SourceIsDateTime() const
{
    TChartSeries* series = owner_.FunctionSeries();
    if (!series || series->DataSources().Count() == 0)
        return false;
    const auto* source = dynamic_cast<TChartSeries*>(series->DataSources()[0]);
    return source && source->XValues().DateTime();
}

void TPlotFunctionEditor::ChangeRange()
{
    auto form = CreateEditorForm<TAxisIncrement>(this, dialogs_);
    form->setWindowTitle(PlotMessage(PlotMsg::FunctionPeriodRange));
    form->IsDateTime = SourceIsDateTime();
    form->IsExact = true;
    form->Increment = ShownPeriod();
    form->StepIndex = FindDateTimeStepIndex(form->Increment);
    if (form->Execute())
        periodEdit->setText(FloatToStr(form->Increment));
}

// A number of points is applied as the page shows it, rounded to a whole number: a fraction
// below one half would otherwise give periods of no points.
void TPlotFunctionEditor::ApplyFunction(TPlotFunction& function)
{
    function.SetPeriodAlign(static_cast<TFunctionPeriodAlign>(std::max(0, alignCombo->currentIndex())));
    const int choice = styleCombo->currentIndex();
    function.SetPeriodStyle(choice == EveryRange ? psRange : psNumPoints);
    double period = 0.0;
    if (choice == AllPoints || !TryStrToFloat(periodEdit->text(), period))
        period = 0.0;
    else if (choice == EveryNumberOfPoints)
        period = std::nearbyint(period) + 0.0;   // + 0.0: no negative zero
    try {
        function.SetPeriod(period);
    } catch (const ChartException& e) {
        ShowEditorError(dialogs_, e.Message(), this);
    }
}
