#include "chart/editors/EditorRegistry.h"

#include "chart/canvas/PlotFont.h"
#include "chart/canvas/PlotPanelExtended.h"
#include "chart/canvas/PlotShadow.h"
#include "chart/editors/AnnotationToolEditor.h"
#include "chart/editors/AntiAliasEditor.h"
#include "chart/editors/BackImageEditor.h"
#include "chart/editors/FiltersEditor.h"
#include "chart/editors/FontEditor.h"
#include "chart/editors/FunctionEditor.h"
#include "chart/editors/GradientEditor.h"
#include "chart/editors/MagnifyToolEditor.h"
#include "chart/editors/MarginsEditor.h"
#include "chart/editors/SeriesPointerEditor.h"
#include "chart/editors/ShadowEditor.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/series/LineSeries.h"
#include "chart/tools/MagnifyTool.h"

namespace {

// The object as a pointer to T, null when it holds something else.
template <class T>
T* ObjectAs(const EditedObject& object)
{
    const auto* p = std::any_cast<T*>(&object);
    return p ? *p : nullptr;
}

// Gradients come in several classes; the editor takes each of them.
TCustomPlotGradient* GradientOf(const EditedObject& object)
{
    if (auto* g = ObjectAs<TCustomPlotGradient>(object))
        return g;
    if (auto* g = ObjectAs<TPlotGradient>(object))
        return g;
    if (auto* g = ObjectAs<TPlotFontGradient>(object))
        return g;
    return ObjectAs<TSubGradient>(object);
}

// The object as T*, whichever of the listed classes it was handed as (each a class derived from T,
// or a base that a chart part keeps it as); null when it is none of them or not a T.
template <class T, class... Handed>
T* ObjectAsOneOf(const EditedObject& object)
{
    T* found = nullptr;
    ((found = found ? found : dynamic_cast<T*>(ObjectAs<Handed>(object))), ...);
    return found;
}

// The pointer editor of a point series, or of a pointer on its own (a callout's).
QWidget* NewSeriesPointerEditor(const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object)
{
    auto* series = ObjectAsOneOf<TCustomSeries, TCustomSeries, TPointSeries, TLineSeries, TChartSeries>(object);
    auto* pointer = ObjectAsOneOf<TSeriesPointer, TSeriesPointer, TCallout, TAnnotationCallout, TMarksCallout>(object);
    if (!series && !pointer)
        return nullptr;
    auto* editor = new TSeriesPointerEditor(dialogs, parent);
    editor->setWindowFlags(Qt::Widget);
    if (series)
        editor->RefreshControls(*series);
    else
        editor->RefreshControls(*pointer);
    return editor;
}

// Editors of tools take the tool as the chart keeps it, or as its own class.
QWidget* NewAnnotationToolEdit(const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object)
{
    auto* tool = ObjectAsOneOf<TAnnotationTool, TAnnotationTool, TRectangleTool, TPlotCustomTool>(object);
    if (!tool)
        return nullptr;
    auto* editor = new TAnnotationToolEdit(dialogs, parent);
    editor->RefreshControls(*tool);
    return editor;
}

QWidget* NewMagnifyToolEditor(const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object)
{
    auto* tool = ObjectAsOneOf<TMagnifyTool, TMagnifyTool, TPlotCustomTool>(object);
    if (!tool)
        return nullptr;
    auto* editor = new TMagnifyToolEditor(dialogs, parent);
    editor->RefreshControls(*tool);
    return editor;
}

struct EditorClass {
    const char* name;
    EditorFactory factory;
};

// A function page for the series editor that the object names.
template <class Page>
EditorFactory FunctionPageFactory()
{
    return [](const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object) -> QWidget* {
        auto* owner = ObjectAs<TFunctionEditorOwner>(object);
        if (!owner)
            return nullptr;
        return new Page(dialogs, *owner, parent);
    };
}

std::vector<EditorClass> LibraryEditorClasses()
{
    return {
        {"TBaseFunctionEditor", FunctionPageFactory<TBaseFunctionEditor>()},
        {"TAntiAliasEditor", CreateAntiAliasEditor},
        {"TPlotFunctionEditor", FunctionPageFactory<TPlotFunctionEditor>()},
        {"TSeriesPointerEditor", NewSeriesPointerEditor},
        {"TAnnotationToolEdit", NewAnnotationToolEdit},
        {"TMagnifyToolEditor", NewMagnifyToolEditor},
        {"TPlotShadowEditor",
         [](const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object) -> QWidget* {
             auto* shadow = ObjectAs<TPlotShadow>(object);
             if (!shadow)
                 return nullptr;
             auto* editor = new TPlotShadowEditor(dialogs, parent);
             editor->setWindowFlags(Qt::Widget);
             editor->RefreshControls(*shadow);
             return editor;
         }},
        {"TMarginsEditor",
         [](const EditorDialogs&, QWidget* parent, const EditedObject& object) -> QWidget* {
             auto* margins = ObjectAs<TMargins>(object);
             if (!margins)
                 return nullptr;
             auto* editor = new TMarginsEditor(parent);
             editor->RefreshControls(*margins);
             return editor;
         }},
        {"TPlotGradientEditor",
         [](const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object) -> QWidget* {
             auto* gradient = GradientOf(object);
             if (!gradient)
                 return nullptr;
             auto* editor = new TPlotGradientEditor(dialogs, false, false, parent);
             editor->setWindowFlags(Qt::Widget);
             editor->HideButtonPanel();
             editor->RefreshControls(*gradient);
             return editor;
         }},
        {"TPlotFontEditor",
         [](const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object) -> QWidget* {
             auto* font = ObjectAs<TPlotFont>(object);
             if (!font)
                 return nullptr;
             auto* editor = new TPlotFontEditor(dialogs, parent);
             editor->RefreshControls(*font);
             return editor;
         }},
        {"TBackImageEditor",
         [](const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object) -> QWidget* {
             auto* image = ObjectAs<TBackImage>(object);
             auto* picture = ObjectAs<TPlotPicture>(object);
             if (!image && !picture)
                 return nullptr;
             auto* editor = new TBackImageEditor(dialogs, parent);
             if (image)
                 editor->RefreshControls(*image);
             else
                 editor->RefreshControls(*picture);
             return editor;
         }},
    };
}

} // namespace

void RegisterEditorClass(EditorsUnit& unit, const QString& name, EditorFactory factory)
{
    unit.Classes[name] = std::move(factory);
}

void UnregisterEditorClass(EditorsUnit& unit, const QString& name)
{
    unit.Classes.erase(name);
}

bool IsEditorClassRegistered(const EditorsUnit& unit, const QString& name)
{
    return unit.Classes.count(name) > 0;
}

QWidget* CreateEditorByName(EditorsUnit& unit, const QString& name, QWidget* parent, const EditedObject& object)
{
    const auto found = unit.Classes.find(name);
    if (found == unit.Classes.end() || !found->second)
        return nullptr;
    return found->second(unit.Dialogs, parent, object);
}

void StartEditorsUnit(EditorsUnit& unit)
{
    if (unit.StartCount++ > 0)
        return;
    for (EditorClass& c : LibraryEditorClasses())
        RegisterEditorClass(unit, QString::fromLatin1(c.name), std::move(c.factory));
    // The filter editor runs with the unit's own dialogs, whatever set the "&Filters..." button
    // that opens it was given.
    const EditorDialogs* dialogs = &unit.Dialogs;
    unit.Dialogs.Filters = [dialogs](QWidget* owner, const QImage& graphic, TFilterItems& filters) {
        return ShowFiltersEditor(*dialogs, owner, graphic, filters);
    };
}

void StopEditorsUnit(EditorsUnit& unit)
{
    if (unit.StartCount == 0 || --unit.StartCount > 0)
        return;
    for (const EditorClass& c : LibraryEditorClasses())
        UnregisterEditorClass(unit, QString::fromLatin1(c.name));
    unit.Dialogs.Filters = nullptr;
}
