#ifndef ZENDRIK_CHART_EDITORS_FUNCTIONEDITOR_H
#define ZENDRIK_CHART_EDITORS_FUNCTIONEDITOR_H

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;
class TChartSeries;
class TPlotFunction;
struct EditorDialogs;
struct TPlotFunctionClass;

// What a function page needs of the series editor it sits in.
class TFunctionEditorOwner {
public:
    virtual ~TFunctionEditorOwner() = default;
    // The series whose function the page edits; may be null.
    virtual TChartSeries* FunctionSeries() const = 0;
    // The class chosen in the owner's function list, made for a series that has no function
    // yet; null when none is chosen.
    virtual const TPlotFunctionClass* ChosenFunctionClass() const = 0;
    // Enables the owner's "Apply" button.
    virtual void EnableApply() = 0;
};

// Base of the pages that edit a series' function.
class TBaseFunctionEditor : public QWidget {
    Q_OBJECT
public:
    TBaseFunctionEditor(const EditorDialogs& dialogs, TFunctionEditorOwner& owner, QWidget* parent = nullptr);

    // The series' function; null while it has none.
    TPlotFunction* Function() const;

    // Copies the function into the controls; runs whenever the page is shown.
    virtual void ShowFunction() {}
    // Writes the controls to the function; runs between its begin- and end-update.
    virtual void ApplyFunction(TPlotFunction& function);

    // The page closes: a series without function gets one of the owner's chosen class, the
    // controls are applied with one recalculation, and a new function is attached. Errors are
    // shown; closing is always allowed.
    bool CloseQuery();

protected:
    void showEvent(QShowEvent* event) override;
    // A control changed: the owner may apply.
    void Changed();

    const EditorDialogs& dialogs_;
    TFunctionEditorOwner& owner_;
};

// The period page of a function: all points, every number of points or every range of X, and
// where in its period a result point is placed.
class TPlotFunctionEditor : public TBaseFunctionEditor {
    Q_OBJECT
public:
    enum PeriodChoice { AllPoints, EveryNumberOfPoints, EveryRange };

    TPlotFunctionEditor(const EditorDialogs& dialogs, TFunctionEditorOwner& owner, QWidget* parent = nullptr);

    void ShowFunction() override;
    void ApplyFunction(TPlotFunction& function) override;

    QComboBox* styleCombo;        // "&Calculate using:"
    QLineEdit* periodEdit;        // "&Number of points:"
    QPushButton* changeButton;    // "&Change..."
    QComboBox* alignCombo;        // "&Alignment:"

private:
    void ShowPeriod();
    void StyleChanged();
    void ChangeRange();
    double ShownPeriod() const;
    bool SourceIsDateTime() const;

    bool filling_ = false;
};

#endif
