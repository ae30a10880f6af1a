#ifndef ZENDRIK_CHART_EDITORS_EDITORREGISTRY_H
#define ZENDRIK_CHART_EDITORS_EDITORREGISTRY_H

#include "chart/editors/EditorDialogs.h"

#include <QString>
#include <any>
#include <functional>
#include <map>

class QWidget;

// The edited object of an editor made by name: a pointer to the object's own class
// (TPlotShadow*, TMargins* ...). A factory answers null for an object of another class.
using EditedObject = std::any;
using EditorFactory = std::function<QWidget*(const EditorDialogs& dialogs, QWidget* parent, const EditedObject& object)>;

// Editor forms by class name, so that a chart part can name the editor that edits it. The
// application owns one and passes it on; the dialogs are those its editors use.
struct EditorsUnit {
    EditorsUnit() = default;
    // Started, the unit's filter hook refers to the unit's own dialogs: it stays where it is.
    EditorsUnit(const EditorsUnit&) = delete;
    EditorsUnit& operator=(const EditorsUnit&) = delete;

    int StartCount = 0;
    EditorDialogs Dialogs;
    std::map<QString, EditorFactory> Classes;
};

void RegisterEditorClass(EditorsUnit& unit, const QString& name, EditorFactory factory);
void UnregisterEditorClass(EditorsUnit& unit, const QString& name);
bool IsEditorClassRegistered(const EditorsUnit& unit, const QString& name);
// A new editor of that class for the object, a child of parent; null for an unknown name or an
// object of the wrong class.
QWidget* CreateEditorByName(EditorsUnit& unit, const QString& name, QWidget* parent, const EditedObject& object);

// Registers the editor classes of this library and installs the filter editor as the dialogs'
// Filters hook on the first start, however many users start it; takes both away when the last
// user stops.
void StartEditorsUnit(EditorsUnit& unit);
void StopEditorsUnit(EditorsUnit& unit);

#endif
