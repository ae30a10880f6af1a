#include "chart/editors/EditorRegistry.h"

#include "chart/editors/MarginsEditor.h"
#include "chart/editors/ShadowEditor.h"
#include "chart/engine/SeriesMarks.h"
#include "chart/canvas/PlotShadow.h"

namespace {

// The object as a pointer to T, null when it holds something else.
template <class T>
T* ObjectAs(const EditedObject& object)
{
    const auto* p = std::any_cast<T*>(&object);
    return p ? *p : nullptr;
}

struct EditorClass {
    const char* name;
    EditorFactory factory;
};

std::vector<EditorClass> LibraryEditorClasses()
{
    return {
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
}

void StopEditorsUnit(EditorsUnit& unit)
{
    if (unit.StartCount == 0 || --unit.StartCount > 0)
        return;
    for (const EditorClass& c : LibraryEditorClasses())
        UnregisterEditorClass(unit, QString::fromLatin1(c.name));
}
