#ifndef ZENDRIK_CHART_EDITORS_FILTERFORMCREATOR_H
#define ZENDRIK_CHART_EDITORS_FILTERFORMCREATOR_H

#include "chart/canvas/PlotFilters.h"

#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>
#include <map>

class QWidget;
struct EditorDialogs;

// A caption from a property or identifier name: leading lower-case letters dropped, a blank
// before every further capital ("SmoothBlur" -> "Smooth Blur", "gmEye2" -> "Eye2"); the name
// itself when nothing is left ("abc").
QString PropertyCaption(const QString& name);

// Builds the option controls a filter asks for on a page, one row each, and writes every change
// to the filter: its property, then EditorChanged (which reaches the change event the editor
// gave CreateEditor). Filling the controls writes nothing.
class TFilterFormCreator : public TFormCreator {
public:
    TFilterFormCreator(const EditorDialogs& dialogs, QWidget* page);
    ~TFilterFormCreator() override;
    TFilterFormCreator(const TFilterFormCreator&) = delete;
    TFilterFormCreator& operator=(const TFilterFormCreator&) = delete;

    // Takes the controls of the last filter down and lets this one add its own; null leaves
    // the page empty.
    void Edit(TPlotFilter* filter, std::function<void()> onChange);
    // Takes the controls down and detaches the filter from them.
    void Clear();
    TPlotFilter* Instance() const { return instance_; }
    // The control made for a property (its object name is the property's); null when none.
    QWidget* Control(const QString& property) const;

    void AddInteger(const QString& property, int minimum, int maximum) override;
    void AddCheckBox(const QString& property) override;
    void AddColor(const QString& property) override;
    void AddChoice(const QString& property, const QStringList& choices) override;
    void SetIntegerRange(const QString& property, int minimum, int maximum) override;

private:
    QVariant Value(const QString& property) const;
    int IntegerValue(const QString& property) const;
    void Write(const QString& property, const QVariant& value);
    void AddRow(QWidget* label, QWidget* control);

    const EditorDialogs& dialogs_;
    QPointer<QWidget> page_;
    QPointer<QWidget> form_;          // holds the rows of the current filter
    TPlotFilter* instance_ = nullptr;
    std::map<QString, QWidget*> controls_;
    bool updating_ = false;
};

#endif
